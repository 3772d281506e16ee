#include "toolkit/core/collection.h"
#include "toolkit/core/component.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/streaming.h"
#include "toolkit/core/strings.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace tk {
namespace {

class TTestFont : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Size", "8")
    Q_CLASSINFO("Default:Style", "[]")
public:
    enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)

    using TPersistent::TPersistent;
    QString Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }
    int Size() const { return size_; }
    void SetSize(int size) { size_ = size; }
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style) { style_ = style; }

private:
    QString name_ = QStringLiteral("Tahoma");
    int size_ = 8;
    TFontStyles style_;
};

class TTestColumn : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(tk::TTestFont* Font READ Font)
    Q_CLASSINFO("Default:Width", "64")
    Q_CLASSINFO("Default:Alignment", "taLeftJustify")
public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)

    Q_INVOKABLE explicit TTestColumn(tk::TCollection* collection)
        : TCollectionItem(collection), font_(new TTestFont(this)) {}
    QString FieldName() const { return fieldName_; }
    void SetFieldName(const QString& name) { fieldName_ = name; }
    int Width() const { return width_; }
    void SetWidth(int width) { width_ = width; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment) { alignment_ = alignment; }
    TTestFont* Font() const { return font_; }

private:
    QString fieldName_;
    int width_ = 64;
    TAlignment alignment_ = taLeftJustify;
    TTestFont* font_;
};

class TTestGrid : public TComponent, public IStreamable {
    Q_OBJECT
    Q_PROPERTY(tk::TCollection* Columns READ Columns)
    Q_PROPERTY(tk::TStrings* Lines READ Lines)
    Q_PROPERTY(tk::TTestGrid* Linked READ Linked WRITE SetLinked)
    Q_PROPERTY(QString Secret READ Secret WRITE SetSecret)
    Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
    Q_CLASSINFO("Default:Ratio", "1")
public:
    Q_INVOKABLE explicit TTestGrid(QObject* owner = nullptr)
        : TComponent(owner), columns_(new TCollection(&TTestColumn::staticMetaObject, this)),
          lines_(new TStringList(this))
    {
    }
    TCollection* Columns() const { return columns_; }
    TStrings* Lines() const { return lines_; }
    TTestGrid* Linked() const { return linked_; }
    void SetLinked(TTestGrid* grid) { linked_ = grid; }
    QString Secret() const { return secret_; }
    void SetSecret(const QString& secret) { secret_ = secret; }
    Q_INVOKABLE bool IsSecretStored() const { return !secret_.startsWith(QLatin1Char('_')); }
    double Ratio() const { return ratio_; }
    void SetRatio(double ratio) { ratio_ = ratio; }

    QString orderFields;
    int loadedCalls = 0;
    bool linkedAtLoaded = false;
    bool loadingWhileRead = false;

    void DefineProperties(TFiler& filer) override
    {
        filer.DefineProperty(
            QStringLiteral("OrderFields"), [this](const TStreamValue& v) { orderFields = v.text; },
            [this] { return TStreamValue::String(orderFields); }, !orderFields.isEmpty());
    }
    void Loaded() override
    {
        TComponent::Loaded();
        ++loadedCalls;
        linkedAtLoaded = linked_ != nullptr;
    }

private:
    TCollection* columns_;
    TStringList* lines_;
    QPointer<TTestGrid> linked_;
    QString secret_;
    double ratio_ = 1;
};

// A form holding two grids; the first links to the second, which comes later.
struct TestForm {
    TComponent form;
    TTestGrid* first;
    TTestGrid* second;

    TestForm()
    {
        form.SetName(QStringLiteral("frmTest"));
        first = new TTestGrid(&form);
        first->SetName(QStringLiteral("grdFirst"));
        second = new TTestGrid(&form);
        second->SetName(QStringLiteral("grdSecond"));
    }
};

void Fill(TestForm& f)
{
    auto* name = static_cast<TTestColumn*>(f.first->Columns()->Add());
    name->SetFieldName(QStringLiteral("Name"));
    name->SetWidth(120);
    name->Font()->SetStyle(TTestFont::TFontStyles(TTestFont::fsBold) | TTestFont::fsItalic);
    auto* amount = static_cast<TTestColumn*>(f.first->Columns()->Add());
    amount->SetFieldName(QStringLiteral("Amount"));
    amount->SetAlignment(TTestColumn::taRightJustify);
    f.first->Lines()->SetStrings({QStringLiteral("it's"), QString(), QStringLiteral("two\tparts")});
    f.first->SetLinked(f.second);
    f.first->SetRatio(0.1 + 0.2);
    f.first->orderFields = QStringLiteral("Name DESC,Amount");
    f.second->SetSecret(QStringLiteral("kept"));
}

TEST(Streaming, WritesOnlyWhatDiffersFromDefaultsAndIsStored)
{
    TestForm f;
    Fill(f);
    f.first->SetSecret(QStringLiteral("_not stored"));
    const QString text = ObjectToText(&f.form);
    EXPECT_TRUE(text.contains(QStringLiteral("object grdFirst: TTestGrid"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Font.Style = [fsBold, fsItalic]")));
    EXPECT_TRUE(text.contains(QStringLiteral("Alignment = taRightJustify")));
    EXPECT_TRUE(text.contains(QStringLiteral("Linked = grdSecond")));
    EXPECT_TRUE(text.contains(QStringLiteral("OrderFields = 'Name DESC,Amount'")));
    EXPECT_TRUE(text.contains(QStringLiteral("Secret = 'kept'")));
    EXPECT_FALSE(text.contains(QStringLiteral("_not stored")));
    EXPECT_FALSE(text.contains(QStringLiteral("Font.Size")));  // holds its default
    EXPECT_FALSE(text.contains(QStringLiteral("Width = 64")));
    EXPECT_EQ(text.count(QStringLiteral("Ratio")), 1);  // only the first grid's differs
}

TEST(Streaming, ReadingRebuildsTheTreeWithForwardReferences)
{
    TestForm source;
    Fill(source);
    const QString text = ObjectToText(&source.form);

    RegisterClass(&TTestGrid::staticMetaObject);
    TComponent target;
    ObjectFromText(&target, text);
    UnRegisterClass(&TTestGrid::staticMetaObject);

    auto* first = qobject_cast<TTestGrid*>(target.FindComponent(QStringLiteral("GRDFIRST")));
    auto* second = qobject_cast<TTestGrid*>(target.FindComponent(QStringLiteral("grdSecond")));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->Linked(), second);
    EXPECT_TRUE(first->linkedAtLoaded);  // references are in before Loaded
    EXPECT_EQ(first->loadedCalls, 1);
    EXPECT_FALSE(first->HasState(TComponentStateFlag::csLoading));
    EXPECT_EQ(first->Ratio(), 0.1 + 0.2);
    EXPECT_EQ(first->orderFields, QStringLiteral("Name DESC,Amount"));
    EXPECT_EQ(first->Lines()->ToStringList(), source.first->Lines()->ToStringList());
    ASSERT_EQ(first->Columns()->Count(), 2);
    auto* name = static_cast<TTestColumn*>(first->Columns()->Items(0));
    EXPECT_EQ(name->Width(), 120);
    EXPECT_EQ(name->Font()->Style(), TTestFont::TFontStyles(TTestFont::fsBold) | TTestFont::fsItalic);
    EXPECT_EQ(static_cast<TTestColumn*>(first->Columns()->Items(1))->Alignment(), TTestColumn::taRightJustify);
    EXPECT_EQ(second->Secret(), QStringLiteral("kept"));
    target.SetName(QStringLiteral("frmTest"));
    EXPECT_EQ(ObjectToText(&target), text);
}

TEST(Streaming, ReadingIntoExistingObjectsReplacesCollections)
{
    TestForm source;
    Fill(source);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    WriteObjectToStream(buffer, source.first);

    TestForm target;
    target.first->Columns()->Add();
    target.first->Columns()->Add();
    target.first->Columns()->Add();
    buffer.seek(0);
    ReadObjectFromStream(buffer, target.first);
    EXPECT_EQ(target.first->Columns()->Count(), 2);
    EXPECT_EQ(target.first->Linked(), target.second);  // resolved within the same owner
}

TEST(Streaming, UnknownPropertiesAreSkippedBadValuesAreNamed)
{
    TTestGrid grid;
    grid.SetName(QStringLiteral("grid1"));
    ObjectFromText(&grid, QStringLiteral("object grid1: TTestGrid\n  FutureOption = 3\n  Font.Nothing = 'x'\n"
                                         "  Secret = 'yes'\nend\n"));
    EXPECT_EQ(grid.Secret(), QStringLiteral("yes"));

    const struct {
        const char* text;
        const char* message;
    } bad[] = {
        {"object grid1: TTestGrid\n  Ratio = 'abc'\nend\n", "Error reading grid1.Ratio: "},
        {"object grid1: TTestGrid\n  Columns = <\n    item\n      Alignment = taNowhere\n    end>\nend\n",
         "Error reading TTestColumn.Alignment: "},
        {"object grid1: TTestGrid\n  object child: TNoSuchClass\n  end\nend\n", "Class TNoSuchClass not found"},
    };
    for (const auto& c : bad) {
        try {
            ObjectFromText(&grid, QString::fromLatin1(c.text));
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EReadError& e) {
            EXPECT_TRUE(e.Message().startsWith(QString::fromLatin1(c.message))) << qPrintable(e.Message());
        }
        EXPECT_FALSE(grid.HasState(TComponentStateFlag::csLoading));
    }
}

}  // namespace
}  // namespace tk

#include "streaming_test.moc"
