#include "host/sample_installation.h"

#include "safekeep/langman/langfile.h"
#include "safekeep/langman/languagemanager.h"
#include "tests/support/temp_folder.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/textfile.h"

#include <QMap>
#include <QSet>
#include <QWidget>
#include <gtest/gtest.h>

namespace host {

// Stand-ins for the backup window's controls: the published properties the
// language files set, on widgets named as the window's controls.
class TCaptionStub : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
public:
    TCaptionStub(QWidget* parent, const QString& name) : QWidget(parent) { setObjectName(name); }
    QString caption;
};

class TListStub : public QWidget {
    Q_OBJECT
    Q_PROPERTY(tk::TStrings* Items READ Items)
public:
    TListStub(QWidget* parent, const QString& name) : QWidget(parent), items(new tk::TStringList(this))
    {
        setObjectName(name);
    }
    tk::TStrings* Items() const { return items; }
    tk::TStringList* items;
};

class TDialogStub : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Title MEMBER title)
    Q_PROPERTY(QString Filter MEMBER filter)
public:
    TDialogStub(QObject* parent, const QString& name) : QObject(parent) { setObjectName(name); }
    QString title, filter;
};

class TfrmCopiaSeguridad : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
public:
    TfrmCopiaSeguridad()
    {
        for (const char* name : kCaptioned)
            controls.insert(QString::fromUtf8(name), new TCaptionStub(this, QString::fromUtf8(name)));
        tasks = new TListStub(this, QStringLiteral("ListBoxTareas"));
        saveDialog = new TDialogStub(this, QStringLiteral("SaveDialog1"));
        openDialog = new TDialogStub(this, QStringLiteral("dlgOpen1"));
    }
    // Every control of the window that shows a caption.
    static constexpr const char* kCaptioned[] = {"btnClose",
                                                 "lblb1",
                                                 "btn1",
                                                 "btn2",
                                                 "lblb9",
                                                 "JvGroupBoxContraseña",
                                                 "lblb10",
                                                 "lblb2",
                                                 "Label2",
                                                 "Label3",
                                                 "JvXPButtonSeleccionarDestinoCopia",
                                                 "JvXPButtonCrearCopiaSeguridad",
                                                 "Label4",
                                                 "JvGroupBox1",
                                                 "lblb6",
                                                 "Label9",
                                                 "lblb5",
                                                 "lblb3",
                                                 "btnEnviar",
                                                 "lblb7",
                                                 "Label1",
                                                 "Label8",
                                                 "lblb4",
                                                 "JvXPButton1",
                                                 "JvXPButtonRecuperarBK",
                                                 "JvGroupBox2",
                                                 "Label7",
                                                 "Label10",
                                                 "Label6",
                                                 "Label5",
                                                 "btnListarCopSeg",
                                                 "btnRecuperar"};
    QString caption;
    QMap<QString, TCaptionStub*> controls;
    TListStub* tasks;
    TDialogStub* saveDialog;
    TDialogStub* openDialog;
};

namespace {

const QStringList kMessageKeys{QStringLiteral("MIErrorAlActualizarNoTemporal"),
                               QStringLiteral("MINoCopiaSeguridad"), QStringLiteral("ComunidadNoExiste"),
                               QStringLiteral("Correcto")};

// A sample installation's language folder and a manager reading it.
class LanguageFilesTest : public ::testing::Test {
protected:
    LanguageFilesTest() : paths_(LayOutSampleInstallation(folder_.Path()))
    {
        manager_.SetFolder(paths_.langFolder);
    }

    // The window's texts after translating it into a language.
    QMap<QString, QString> Translate(const QString& code)
    {
        manager_.SetLanguageCode(code);
        EXPECT_EQ(manager_.LastError(), QString()) << "loading " << qPrintable(code);
        TfrmCopiaSeguridad window;
        EXPECT_TRUE(manager_.LangVCL(&window)) << qPrintable(manager_.LastError());
        QMap<QString, QString> texts;
        texts.insert(QStringLiteral("self"), window.caption);
        for (auto it = window.controls.cbegin(); it != window.controls.cend(); ++it)
            texts.insert(it.key(), it.value()->caption);
        texts.insert(QStringLiteral("ListBoxTareas"), window.tasks->items->Text());
        texts.insert(QStringLiteral("SaveDialog1.Title"), window.saveDialog->title);
        texts.insert(QStringLiteral("SaveDialog1.Filter"), window.saveDialog->filter);
        texts.insert(QStringLiteral("dlgOpen1.Filter"), window.openDialog->filter);
        return texts;
    }

    tk::test::TempFolder folder_;
    THostPaths paths_;
    safekeep::TLanguageManager manager_;
};

TEST_F(LanguageFilesTest, BothLanguagesAreOfferedAndLoadWithoutErrors)
{
    tk::TStringList languages;
    ASSERT_TRUE(manager_.GetAvailableLanguages(&languages));
    languages.Sort();
    EXPECT_EQ(languages.Text(), QStringLiteral("en=English\r\nes=Español\r\n"));
    for (const QString& code : {QStringLiteral("es"), QStringLiteral("en")}) {
        manager_.SetLanguageCode(code);
        EXPECT_EQ(manager_.LastError(), QString()) << qPrintable(code);
        EXPECT_EQ(manager_.ActiveFiles()->Count(), 2) << "the backup window's and the program's";
    }
}

TEST_F(LanguageFilesTest, EveryCaptionIsTranslatedAndOnlyNamesStayTheSame)
{
    const QMap<QString, QString> spanish = Translate(QStringLiteral("es"));
    const QMap<QString, QString> english = Translate(QStringLiteral("en"));
    QStringList unchanged;
    for (auto it = spanish.cbegin(); it != spanish.cend(); ++it) {
        EXPECT_FALSE(it.value().isEmpty()) << "no Spanish text for " << qPrintable(it.key());
        EXPECT_FALSE(english.value(it.key()).isEmpty()) << "no English text for " << qPrintable(it.key());
        if (english.value(it.key()) == it.value())
            unchanged << it.key();
    }
    // The window's name and the words Spanish borrows from English.
    EXPECT_EQ(unchanged, (QStringList{"Label10", "Label5", "Label9", "lblb3", "self"}));

    // The window's own Spanish, where translation could change it.
    EXPECT_EQ(spanish.value("lblb9"),
              QStringLiteral("Si usted dispone de cuenta de mantenimiento solicite su cuenta "
                             "Lodgeline BackUp para copias de seguridad encriptadas\r\nen "
                             "nuestros servidores."));
    EXPECT_EQ(spanish.value("JvXPButton1"), QStringLiteral("Seleccionar  Copia"));
    EXPECT_EQ(spanish.value("self"), QStringLiteral("Brivora BackUp"));
    // The six steps of a backup, in order, in both languages.
    EXPECT_EQ(
        tk::SplitLines(spanish.value("ListBoxTareas")),
        (QStringList{"Generar directorio para temporales.", "Generar copia en temporal de los archivos.",
                     "Comprimir los archivos en temporal.", "Copiar los archivos a la carpeta seleccionada.",
                     "Copia comprobada y correcta.", "Borrar temporal."}));
    EXPECT_EQ(tk::SplitLines(english.value("ListBoxTareas")).size(), 6);
}

TEST_F(LanguageFilesTest, EveryMessageHasATextThatItsStepNumberCompletes)
{
    for (const QString& code : {QStringLiteral("es"), QStringLiteral("en")}) {
        manager_.SetLanguageCode(code);
        for (const QString& key : kMessageKeys) {
            const QString text = manager_.LangText(key, QString());
            EXPECT_FALSE(text.isEmpty()) << qPrintable(code) << " " << qPrintable(key);
            // A suffix such as " 4" is appended: the text must not end in a
            // blank or a line break that would split it off.
            EXPECT_EQ(text, text.trimmed()) << qPrintable(key);
        }
    }
    manager_.SetLanguageCode(QStringLiteral("es"));
    const QString spanish = manager_.LangText(QStringLiteral("MINoCopiaSeguridad"));
    manager_.SetLanguageCode(QStringLiteral("en"));
    EXPECT_NE(manager_.LangText(QStringLiteral("MINoCopiaSeguridad")), spanish);
}

// The sections and keys of a language file, for comparing two languages.
QSet<QString> KeysOf(const QString& path)
{
    const safekeep::TLangFile file = safekeep::TLangFile::Load(path);
    QSet<QString> keys;
    for (const QString& section : file.SectionNames())
        for (const safekeep::TLangEntry& entry : file.Entries(section))
            keys.insert(section.toLower() + QLatin1Char('/') + entry.name.toLower());
    return keys;
}

TEST_F(LanguageFilesTest, EachFileHasItsCounterpartWithTheSameKeys)
{
    const QStringList shipped = ShippedLanguageFiles();
    EXPECT_GE(shipped.size(), 4);
    for (const QString& name : shipped) {
        if (!name.contains(QLatin1String(".es.")))
            continue;
        QString english = name;
        english.replace(QLatin1String(".es."), QLatin1String(".en."));
        ASSERT_TRUE(shipped.contains(english)) << qPrintable(name);
        const QSet<QString> spanishKeys = KeysOf(paths_.langFolder + QLatin1Char('/') + name);
        const QSet<QString> englishKeys = KeysOf(paths_.langFolder + QLatin1Char('/') + english);
        EXPECT_EQ(QSet<QString>(spanishKeys).subtract(englishKeys), QSet<QString>())
            << "only in " << qPrintable(name);
        EXPECT_EQ(QSet<QString>(englishKeys).subtract(spanishKeys), QSet<QString>())
            << "only in " << qPrintable(english);
    }
}

}  // namespace
}  // namespace host

#include "language_files_test.moc"
