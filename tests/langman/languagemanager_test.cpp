#include "safekeep/langman/languagemanager.h"
#include "safekeep/langman/langtext.h"
#include "tests/support/temp_folder.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"

#include <QDir>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace safekeep {
namespace {

QByteArray Crlf(const char* text)
{
    return QByteArray(text).replace("\n", "\r\n");
}

// A language folder in a temporary folder, and a manager pointed at it.
class LanguageManagerTest : public ::testing::Test {
protected:
    LanguageManagerTest()
    {
        QDir(folder.Path()).mkdir(QStringLiteral("Langs"));
        manager.SetFolder(folder.File(QStringLiteral("Langs")));
        manager.OnLanguageChanged = [this](QObject* sender) {
            EXPECT_EQ(sender, &manager);
            ++changes;
        };
    }
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.File(QStringLiteral("Langs/") + name);
        QDir().mkpath(QFileInfo(path).path());
        return folder.Write(QStringLiteral("Langs/") + name, bytes);
    }

    tk::test::TempFolder folder;
    TLanguageManager manager;
    int changes = 0;
};

TEST_F(LanguageManagerTest, UserFilesOverrideProductFiles)
{
    Write(QStringLiteral("app.es.lng"), Crlf("[Meridian Language File]\nLanguageName=Español\n"
                                              "[Constants]\nHello = Hola\\nMundo\nBye=Adiós\n@SOk=Vale\n"));
    manager.SetLanguageCode(QStringLiteral("es"));
    EXPECT_EQ(manager.LastError(), QString());
    EXPECT_EQ(manager.LangText(QStringLiteral("HELLO")), QStringLiteral("Hola\r\nMundo"));

    Write(QStringLiteral("app.es.lngu"), Crlf("[constants]\nhello=Buenas\n"));
    manager.Refresh();
    EXPECT_EQ(manager.LangText(QStringLiteral("hello")), QStringLiteral("Buenas"));
    EXPECT_EQ(manager.LangText(QStringLiteral("Bye")), QStringLiteral("Adiós"));
    EXPECT_EQ(manager.Constants()->Count(), 2);  // replaced, not added
    EXPECT_EQ(manager.ActiveFiles()->Count(), 2);
    EXPECT_EQ(manager.LanguageName(), QStringLiteral("Español"));
    EXPECT_EQ(changes, 2);  // Refresh fires again

    // An empty code changes nothing and fires nothing.
    manager.SetLanguageCode(QString());
    EXPECT_EQ(manager.LanguageCode(), QStringLiteral("es"));
    EXPECT_EQ(changes, 2);
}

TEST_F(LanguageManagerTest, LookupRulesForTextsAndResourceStrings)
{
    Write(QStringLiteral("app.es.lng"), Crlf("[Constants]\nSOk=constant\n@SOk=resource\n"
                                              "[TfrmMain]\nbtnOK.Caption=Aceptar\n"));
    manager.SetLanguageCode(QStringLiteral("es"));
    EXPECT_EQ(manager.LangText(QString(), QStringLiteral("a\\tb")), QStringLiteral("a\tb"));
    EXPECT_EQ(manager.LangText(QStringLiteral("missing"), QStringLiteral("x\\ny")), QStringLiteral("x\r\ny"));
    EXPECT_EQ(manager.LangText(QStringLiteral("@sok")), QStringLiteral("resource"));
    EXPECT_EQ(manager.LangText(QStringLiteral("sok")), QStringLiteral("constant"));
    EXPECT_EQ(manager.LangText(QStringLiteral("@missing"), QStringLiteral("d")), QStringLiteral("d"));
    // A full property key is found too.
    EXPECT_EQ(manager.LangText(QStringLiteral("TfrmMain.btnOK.Caption")), QStringLiteral("Aceptar"));
}

TEST_F(LanguageManagerTest, MessagesPairLinesAndUserFilesReplaceTemplates)
{
    Write(QStringLiteral("app.es.lng"), Crlf("[Messages]\n; a comment line\nError * in file *\n"
                                              "Fallo * en el fichero *\nDisk full\nDisco lleno\nOrphan\n"));
    Write(QStringLiteral("app.es.lngu"), Crlf("[Messages]\nDISK FULL\nSin espacio\n"));
    manager.SetLanguageCode(QStringLiteral("es"));
    EXPECT_EQ(manager.LangMess(QStringLiteral("Error 5 in file a.txt")), QStringLiteral("Fallo 5 en el fichero a.txt"));
    EXPECT_EQ(manager.LangMess(QStringLiteral("disk full")), QStringLiteral("Sin espacio"));
    EXPECT_EQ(manager.LangMess(QStringLiteral("Orphan")), QStringLiteral("Orphan"));
    EXPECT_EQ(manager.LangMess(QStringLiteral("Unknown")), QStringLiteral("Unknown"));
}

TEST_F(LanguageManagerTest, UserFilesReplaceTheFirstOfEqualKeysAndAddTheirOwn)
{
    Write(QStringLiteral("app.es.lng"), Crlf("[Constants]\nB=1\na=2\nA=3\nc=4\n[TfrmMain]\nbtn.Caption=Uno\n"
                                              "btn.caption=Dos\n"));
    Write(QStringLiteral("app.es.lngu"),
          Crlf("[constants]\nA=u1\nd=new\nD=new2\n[TFRMMAIN]\nBTN.CAPTION=Usuario\n"));
    Write(QStringLiteral("more.es.lngu"), Crlf("[Constants]\nd=u2\ne=5\n"));
    manager.SetLanguageCode(QStringLiteral("es"));
    ASSERT_EQ(manager.LastError(), QString());
    // Sorted without regard to case; equal product keys stay in file order.
    QStringList rows;
    for (int i = 0; i < manager.Constants()->Count(); ++i)
        rows << manager.Constants()->Strings(i) + QLatin1Char('=') +
                    manager.Constants()->Objects(i).toString();
    EXPECT_EQ(rows, (QStringList{"A=u1", "A=3", "B=1", "C=4", "D=u2", "E=5"}));
    EXPECT_EQ(manager.LangText(QStringLiteral("a")), QStringLiteral("u1"));
    EXPECT_EQ(manager.Properties()->Count(), 2);
    EXPECT_EQ(manager.LangText(QStringLiteral("TfrmMain.btn.Caption")), QStringLiteral("Usuario"));
    EXPECT_EQ(manager.Properties()->Objects(1).toString(), QStringLiteral("Dos"));
    // Loading again gives the same tables, not a second copy.
    manager.Refresh();
    EXPECT_EQ(manager.Constants()->Count(), 6);
    EXPECT_EQ(manager.LangText(QStringLiteral("D")), QStringLiteral("u2"));
}

TEST_F(LanguageManagerTest, SectionsFillThePropertiesInTheOrderOfTheirNames)
{
    // "A" + "B.c" and "A.B" + "c" make the same key, and so do the
    // sections "ß" and "SS" (upper-cased alike, sorted apart): whichever
    // section sorts first gives the key's first text, wherever it stands.
    Write(QStringLiteral("app.es.lng"),
          Crlf("[A.B]\nc=segundo\n[\xC3\x9F]\nx=eszett\n[a]\nB.c=primero\n[SS]\nx=ese\n"));
    manager.SetLanguageCode(QStringLiteral("es"));
    EXPECT_EQ(manager.LangText(QStringLiteral("a.b.c")), QStringLiteral("primero"));
    EXPECT_EQ(manager.LangText(QStringLiteral("SS.X")), QStringLiteral("ese"));
    EXPECT_EQ(manager.Properties()->Count(), 4);
    // A user file replaces that first one.
    Write(QStringLiteral("app.es.lngu"), Crlf("[A]\nb.C=usuario\n"));
    manager.Refresh();
    EXPECT_EQ(manager.LangText(QStringLiteral("A.B.C")), QStringLiteral("usuario"));
    EXPECT_EQ(manager.Properties()->Objects(1).toString(), QStringLiteral("segundo"));
}

TEST_F(LanguageManagerTest, MessagePatternsKeepTheirFileOrder)
{
    Write(QStringLiteral("app.es.lng"),
          Crlf("[Messages]\nError *\nFallo *\nError *\nOtro *\n*full\nlleno\n"));
    Write(QStringLiteral("app.es.lngu"),
          Crlf("[Messages]\nerror *\nFallo de usuario *\nDisk full\nSin espacio\nWarning *\nAviso *\n"
               "WARNING *\nAviso dos *\n"));
    manager.SetLanguageCode(QStringLiteral("es"));
    // A user pattern replaces the template of the first equal pattern...
    EXPECT_EQ(manager.LangMess(QStringLiteral("Error 5")), QStringLiteral("Fallo de usuario 5"));
    // ...and one of its own comes after every product pattern.
    EXPECT_EQ(manager.LangMess(QStringLiteral("Disk full")), QStringLiteral("lleno"));
    EXPECT_EQ(manager.LangMess(QStringLiteral("Warning x")), QStringLiteral("Aviso dos x"));
    manager.Clear(false, false, true);
    EXPECT_EQ(manager.LangMess(QStringLiteral("Error 5")), QStringLiteral("Error 5"));
    manager.Refresh();
    EXPECT_EQ(manager.LangMess(QStringLiteral("Error 5")), QStringLiteral("Fallo de usuario 5"));
}

TEST_F(LanguageManagerTest, HostileMessagePatternsAnswerLikeAnyOther)
{
    const QByteArray brackets = "*" + QByteArray(30000, '[');
    const QByteArray groups = QByteArray("*a?").repeated(20000);
    Write(QStringLiteral("app.es.lng"), "[Messages]\r\n" + brackets + "\r\nCorchetes *\r\n" + groups +
                                            "\r\nGrupos *\r\nError *\r\nFallo *\r\n");
    manager.SetLanguageCode(QStringLiteral("es"));
    ASSERT_EQ(manager.LastError(), QString());
    EXPECT_EQ(manager.LangMess(QStringLiteral("Error 5")), QStringLiteral("Fallo 5"));
    EXPECT_EQ(manager.LangMess(QStringLiteral("[[[[[")), QStringLiteral("[[[[["));
    const QString manyBrackets = QStringLiteral("x") + QStringLiteral("[").repeated(30000);
    EXPECT_EQ(manager.LangMess(manyBrackets), QStringLiteral("Corchetes x"));
    const QString manyGroups = QStringLiteral("xab").repeated(20000);
    EXPECT_EQ(manager.LangMess(manyGroups),
              ApplyMessageTemplate(manyGroups, QString::fromLatin1(groups), QStringLiteral("Grupos *")));
}

TEST_F(LanguageManagerTest, FileNamesFilterAndFileKinds)
{
    Write(QStringLiteral("menu.es.lng"), Crlf("[Constants]\nA=menu\n"));
    Write(QStringLiteral("menu.es.lngu"), Crlf("[Constants]\nB=user\n"));
    Write(QStringLiteral("other.es.lng"), Crlf("[Constants]\nA=other\nC=other\n"));
    Write(QStringLiteral("menu.es.lngz"), QByteArray("\x00\x01 never read", 13));
    Write(QStringLiteral("menu.en.lng"), Crlf("[Constants]\nA=english\n"));
    manager.FileNames()->Add(QStringLiteral("menu"));
    manager.SetLanguageCode(QStringLiteral("es"));
    // A ".lngz" file is listed but not read, and is no error.
    EXPECT_EQ(manager.LastError(), QString());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(manager.LangText(QStringLiteral("A")), QStringLiteral("menu"));
    EXPECT_EQ(manager.LangText(QStringLiteral("B")), QStringLiteral("user"));
    EXPECT_EQ(manager.LangText(QStringLiteral("C"), QStringLiteral("none")), QStringLiteral("none"));
    QStringList names;
    for (int i = 0; i < manager.ActiveFiles()->Count(); ++i)
        names << QFileInfo(manager.ActiveFiles()->Strings(i)).fileName();
    EXPECT_EQ(names, (QStringList{"menu.es.lng", "menu.es.lngz", "menu.es.lngu"}));
}

TEST_F(LanguageManagerTest, SubfoldersComeFirstAndNameTheLanguage)
{
    Write(QStringLiteral("a.es.lng"), Crlf("[Meridian Language File]\nLanguageName=Parent\n"));
    Write(QStringLiteral("sub/b.es.lng"),
          Crlf("[Meridian Language File]\nLanguageName=Child\nrtl=0x1\n[Constants]\nK=child\n"));
    manager.SetLanguageCode(QStringLiteral("es"));
    EXPECT_EQ(manager.LanguageName(), QStringLiteral("Parent"));
    EXPECT_EQ(manager.BiDiMode(), TLanguageManager::bdLeftToRight);
    manager.SetRecursiveFolder(true);
    manager.Refresh();
    EXPECT_EQ(manager.LanguageName(), QStringLiteral("Child"));
    EXPECT_EQ(manager.BiDiMode(), TLanguageManager::bdRightToLeft);
    EXPECT_EQ(manager.LangText(QStringLiteral("K")), QStringLiteral("child"));
}

TEST_F(LanguageManagerTest, EncodingsOfLanguageFiles)
{
    QByteArray utf16("\xFF\xFE", 2);
    const QString text = QStringLiteral("[Constants]\r\nYear=Año\r\n");
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    Write(QStringLiteral("u16.es.lng"), utf16);
    Write(QStringLiteral("ansi.es.lng"), QByteArray("[Constants]\r\nMonth=Mes de a\xF1o\r\n"));
    Write(QStringLiteral("utf8.es.lng"), QByteArray("[Constants]\r\nDay=D\xC3\xAD" "a\r\n"));
    manager.SetLanguageCode(QStringLiteral("es"));
    EXPECT_EQ(manager.LangText(QStringLiteral("Year")), QStringLiteral("Año"));
    EXPECT_EQ(manager.LangText(QStringLiteral("Month")), QStringLiteral("Mes de año"));
    EXPECT_EQ(manager.LangText(QStringLiteral("Day")), QStringLiteral("Día"));
}

TEST_F(LanguageManagerTest, MissingLanguageAndMalformedFiles)
{
    manager.SetLanguageCode(QStringLiteral("xx"));
    EXPECT_EQ(manager.LastError(), QStringLiteral("Language not found"));
    EXPECT_EQ(manager.LanguageCode(), QString());
    EXPECT_EQ(changes, 0);

    Write(QStringLiteral("a.es.lng"), Crlf("[Constants]\nGood=yes\n"));
    const QString broken = Write(QStringLiteral("b.es.lng"), Crlf("[Constants\nBad=yes\n"));
    const QString binary = Write(QStringLiteral("c.es.lng"), QByteArray("[Constants]\nX=\0\0\0", 17));
    Write(QStringLiteral("d.es.lng"), "[Constants]\nLong=" + QByteArray(100000, 'x') + "\n");
    manager.SetLanguageCode(QStringLiteral("es"));
    const QStringList errors = manager.LastError().split(QStringLiteral("\r\n"));
    ASSERT_EQ(errors.size(), 3) << qPrintable(manager.LastError());
    EXPECT_TRUE(errors[0].contains(broken));
    EXPECT_TRUE(errors[1].contains(binary));
    EXPECT_TRUE(errors[2].contains(QStringLiteral("too long")));
    EXPECT_EQ(manager.LangText(QStringLiteral("Good")), QStringLiteral("yes"));
    EXPECT_EQ(manager.LangText(QStringLiteral("Bad"), QStringLiteral("-")), QStringLiteral("-"));
    EXPECT_EQ(manager.ActiveFiles()->Count(), 1);
    EXPECT_EQ(changes, 0);
}

TEST_F(LanguageManagerTest, AvailableLanguagesNeedAName)
{
    Write(QStringLiteral("x.en.lng"), Crlf("[Meridian Language File]\nLanguageName=English\n"));
    Write(QStringLiteral("x.es.lngz"), Crlf("[Meridian Language File]\nLanguageName=Español\n"));
    Write(QStringLiteral("y.de.lng"), Crlf("[Constants]\nA=b\n"));
    Write(QStringLiteral("z.fr.lngu"), Crlf("[Meridian Language File]\nLanguageName=Français\n"));
    tk::TStringList languages;
    languages.Add(QStringLiteral("stale=entry"));
    ASSERT_TRUE(manager.GetAvailableLanguages(&languages));
    EXPECT_EQ(languages.ToStringList(), (QStringList{"en=English", "fr=Français"}));
}

TEST_F(LanguageManagerTest, MutatedFilesNeverCrashTheLoad)
{
    const QByteArray seed = Crlf("[Meridian Language File]\nLanguageName=Test\n[Constants]\nA=Uno\\nDos\n@R=x\n"
                                 "[TfrmMain]\nbtnOK.Caption=Vale\n[Messages]\nError * in *\nFallo * en *\n");
    QRandomGenerator random(424242);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = seed;
        for (int edits = random.bounded(1, 8); edits > 0; --edits) {
            const int at = random.bounded(static_cast<int>(bytes.size()) + 1);
            switch (random.bounded(3)) {
            case 0: bytes.insert(at, static_cast<char>(random.bounded(256))); break;
            case 1: bytes.remove(at, random.bounded(4)); break;
            default: bytes.insert(at, "[]=\\*?\r\n;"[random.bounded(10)]); break;
            }
        }
        Write(QStringLiteral("m.es.lng"), bytes);
        manager.SetLanguageCode(QStringLiteral("es"));
        // Whatever was loaded answers without failing.
        manager.LangText(QStringLiteral("A"));
        manager.LangMess(QStringLiteral("Error 1 in x"));
        ASSERT_LE(manager.ActiveFiles()->Count(), 1);
    }
}

}  // namespace
}  // namespace safekeep

namespace safekeep {
namespace {

TK_RESOURCESTRING(SBenchGreeting, "Hello");

TEST_F(LanguageManagerTest, ResourceStringsAreRedirectedWithArgumentChecks)
{
    QString replacement = QStringLiteral("Hola");
    manager.LangResourceStr(nullptr, &replacement);  // nothing to redirect
    try {
        manager.LangResourceStr(&SBenchGreeting, nullptr);
        FAIL() << "a null text must be refused";
    } catch (const tk::EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("newStr must not be nil"));
    }
    EXPECT_EQ(tk::LoadResString(&SBenchGreeting), QStringLiteral("Hello"));
    manager.LangResourceStr(&SBenchGreeting, &replacement);
    EXPECT_EQ(tk::LoadResString(&SBenchGreeting), QStringLiteral("Hola"));
    tk::SetResourceStringOverride(&SBenchGreeting, nullptr);
}

TEST_F(LanguageManagerTest, PublishedPropertiesDriveTheManager)
{
    Write(QStringLiteral("app.es.lng"), Crlf("[Meridian Language File]\nLanguageName=Español\n"));
    // Setting the code by name loads the language like the setter does.
    tk::SetPropText(&manager, QStringLiteral("languagecode"), QStringLiteral("es"));
    EXPECT_EQ(tk::GetPropText(&manager, QStringLiteral("LanguageName")), QStringLiteral("Español"));
    EXPECT_EQ(tk::GetPropText(&manager, QStringLiteral("BiDiMode")), QStringLiteral("bdLeftToRight"));
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(tk::SetPropText(&manager, QStringLiteral("LastError"), QStringLiteral("x")), tk::EPropertyError);
}

}  // namespace
}  // namespace safekeep
