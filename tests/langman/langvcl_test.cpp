#include "safekeep/langman/languagemanager.h"
#include "tests/support/temp_folder.h"
#include "toolkit/core/collection.h"

#include <QDir>
#include <QKeySequence>
#include <QWidget>
#include <gtest/gtest.h>

namespace safekeep {
namespace {

class TTestFont : public tk::TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name MEMBER name)
public:
    using TPersistent::TPersistent;
    QString name = QStringLiteral("Tahoma");
};

class TTestButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
    Q_PROPERTY(QString Hint MEMBER hint)
    Q_PROPERTY(int ShortCut MEMBER shortCut)
    Q_PROPERTY(safekeep::TTestFont* Font READ Font)
public:
    TTestButton(QWidget* parent, const QString& name) : QWidget(parent), font(new TTestFont(this))
    {
        setObjectName(name);
    }
    TTestFont* Font() const { return font; }
    QString caption, hint;
    int shortCut = 0;
    TTestFont* font;
};

class TTestList : public QWidget {
    Q_OBJECT
    Q_PROPERTY(tk::TStrings* Items READ Items)
public:
    TTestList(QWidget* parent, const QString& name) : QWidget(parent), items(new tk::TStringList(this))
    {
        setObjectName(name);
    }
    tk::TStrings* Items() const { return items; }
    tk::TStringList* items;
};

class TTestColumn : public tk::TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
public:
    Q_INVOKABLE explicit TTestColumn(tk::TCollection* collection) : TCollectionItem(collection) {}
    QString caption;
};

class TTestListView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(tk::TCollection* Columns READ Columns)
public:
    TTestListView(QWidget* parent, const QString& name)
        : QWidget(parent), columns(new tk::TCollection(&TTestColumn::staticMetaObject, this))
    {
        setObjectName(name);
    }
    tk::TCollection* Columns() const { return columns; }
    tk::TCollection* columns;
};

class TfrmTest : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
public:
    TfrmTest()
        : ok(new TTestButton(this, QStringLiteral("btnOK"))),
          cancel(new TTestButton(this, QStringLiteral("btnCancel"))),
          list(new TTestList(this, QStringLiteral("lbItems"))),
          view(new TTestListView(this, QStringLiteral("lvFiles")))
    {
        setObjectName(QStringLiteral("frmTest"));
        // Items with IDs 0, 1 and 5: index 2 holds ID 5.
        for (int i = 0; i < 6; ++i)
            view->columns->Add();
        view->columns->Delete(2);
        view->columns->Delete(2);
        view->columns->Delete(2);
    }
    TTestColumn* Column(int index) const { return static_cast<TTestColumn*>(view->columns->Items(index)); }
    QString caption;
    TTestButton* ok;
    TTestButton* cancel;
    TTestList* list;
    TTestListView* view;
};

const char* const kTranslation =
    "[TfrmTest]\r\n"
    "self.Caption=Ventana\r\n"
    "btnOK.Caption=Aceptar\r\n"
    "btnOK.Hint=Pulse\\naquí\r\n"
    "btnOK.Font.Name=Arial\r\n"
    "btnOK.ShortCut=Ctrl+S\r\n"
    "btnGone.Caption=Not in this build\r\n"
    "lbItems.Items.Text=uno\\ndos\r\n"
    "lbItems.Items.Sorted=ignored\r\n"
    "lvFiles.Columns[2].Caption=Tercera\r\n"
    "lvFiles.Columns[1].Caption=Segunda\r\n"
    "[TfrmTest.btnCancel]\r\n"
    "Caption=Cancelar\r\n"
    "[TfrmOther]\r\n"
    "btnOK.Caption=Otro\r\n";

class LangVCLTest : public ::testing::Test {
protected:
    LangVCLTest()
    {
        QDir(folder.Path()).mkdir(QStringLiteral("Langs"));
        manager.SetFolder(folder.File(QStringLiteral("Langs")));
    }
    void Load(const QByteArray& text)
    {
        folder.Write(QStringLiteral("Langs/app.es.lng"), text);
        manager.SetLanguageCode(QStringLiteral("es"));
        ASSERT_EQ(manager.LastError(), QString());
    }
    tk::test::TempFolder folder;
    TLanguageManager manager;
    TfrmTest form;
};

TEST_F(LangVCLTest, NothingLoadedChangesNothing)
{
    EXPECT_TRUE(manager.LangVCL(&form));
    EXPECT_EQ(form.ok->caption, QString());
}

TEST_F(LangVCLTest, TranslatesTheWindowItsComponentsAndTheirParts)
{
    Load(kTranslation);
    manager.SetAllowSpecialProps(true);
    EXPECT_TRUE(manager.LangVCL(&form)) << qPrintable(manager.LastError());
    EXPECT_EQ(form.caption, QStringLiteral("Ventana"));
    EXPECT_EQ(form.ok->caption, QStringLiteral("Aceptar"));
    EXPECT_EQ(form.ok->hint, QStringLiteral("Pulse\r\naquí"));
    EXPECT_EQ(form.ok->font->name, QStringLiteral("Arial"));
    EXPECT_EQ(form.ok->shortCut, QKeySequence(QStringLiteral("Ctrl+S"))[0].toCombined());
    EXPECT_EQ(form.cancel->caption, QStringLiteral("Cancelar"));
    EXPECT_EQ(form.list->items->ToStringList(), (QStringList{"uno", "dos"}));
    EXPECT_EQ(form.Column(2)->caption, QStringLiteral("Tercera"));  // no ID 2: index 2 (ID 5)
    EXPECT_EQ(form.Column(1)->caption, QStringLiteral("Segunda"));
    EXPECT_EQ(form.Column(0)->caption, QString());
}

TEST_F(LangVCLTest, FailuresAreCollectedPerKeyAndTheRestStillApplies)
{
    Load(QByteArray(kTranslation) + "[TfrmTest]\r\nbtnOK.Colour=red\r\nlvFiles.Columns[9].Caption=x\r\n");
    EXPECT_FALSE(manager.LangVCL(&form));
    EXPECT_EQ(form.ok->caption, QStringLiteral("Aceptar"));
    const QString& error = manager.LastError();
    // Without special properties the shortcut text must be a number.
    EXPECT_TRUE(error.startsWith(QStringLiteral("\r\n\r\nTLanguageManager (TFRMTEST.BTNOK.COLOUR):\r\n      Property ")))
        << qPrintable(error);
    EXPECT_TRUE(error.contains(QStringLiteral("\r\n\r\nTLanguageManager (TFRMTEST.BTNOK.SHORTCUT):\r\n      'Ctrl+S' "
                                              "is not a valid integer value")));
    EXPECT_TRUE(error.contains(QStringLiteral("(TFRMTEST.LVFILES.COLUMNS[9].CAPTION):\r\n      ")));
    EXPECT_EQ(error.count(QStringLiteral("TLanguageManager (")), 3);
    EXPECT_EQ(form.ok->shortCut, 0);
}

TEST_F(LangVCLTest, OnlyComponentAndAnotherClassName)
{
    Load(kTranslation);
    manager.SetAllowSpecialProps(true);
    EXPECT_TRUE(manager.LangVCL(&form, QString(), form.ok)) << qPrintable(manager.LastError());
    EXPECT_EQ(form.ok->caption, QStringLiteral("Aceptar"));
    EXPECT_EQ(form.ok->font->name, QStringLiteral("Arial"));  // its sub-objects too
    EXPECT_EQ(form.cancel->caption, QString());
    EXPECT_EQ(form.caption, QString());

    TfrmTest other;
    EXPECT_TRUE(manager.LangVCL(&other, QStringLiteral("TfrmOther")));
    EXPECT_EQ(other.ok->caption, QStringLiteral("Otro"));
    EXPECT_EQ(other.caption, QString());
}

}  // namespace
}  // namespace safekeep

#include "langvcl_test.moc"
