#include "toolkit/core/exceptions.h"
#include "toolkit/core/inifile.h"

#include "tests/support/temp_folder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tk {
namespace {

// A host settings file as written on Windows: cp1252, CR LF, comments,
// mixed-case names, values with commas, quotes and "=".
const QByteArray kWindowsIni = "; Configuraci\xF3n de la aplicaci\xF3n\r\n"
                               "[Anyo]\r\n"
                               "anyo=2026\r\n"
                               "Comunidad=A\xF1o Nuevo\r\n"
                               "\r\n"
                               "[RUTA]\r\n"
                               "modificada = c:\\datos\\, otra=cosa \r\n"
                               "esta_modificada=1\r\n"
                               "lista=\"a\",\"b\"\r\n"
                               "sin igual\r\n"
                               "\r\n"
                               "[CopSeg]\r\n"
                               "ruta=c:\\\r\n"
                               "Fecha=01/02/2026\r\n";

class IniFileTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes) { return folder_.Write(QStringLiteral("HOST.INI"), bytes); }
    QByteArray Bytes() const { return folder_.Read(QStringLiteral("HOST.INI")); }
    QString Path() const { return folder_.File(QStringLiteral("HOST.INI")); }

    test::TempFolder folder_;
};

TEST_F(IniFileTest, ReadsWindowsFileWithoutRegardToCase)
{
    TIniFile ini(Write(kWindowsIni));
    EXPECT_EQ(ini.ReadString("ANYO", "COMUNIDAD", "-"), QStringLiteral("Año Nuevo"));
    EXPECT_EQ(ini.ReadString("ruta", "Modificada", "-"), QStringLiteral("c:\\datos\\, otra=cosa"));
    EXPECT_EQ(ini.ReadString("Ruta", "lista", "-"), QStringLiteral("\"a\",\"b\""));
    EXPECT_EQ(ini.ReadString("copseg", "ruta", "-"), QStringLiteral("c:\\"));
    EXPECT_EQ(ini.ReadString("ruta", "sin igual", "-"), QStringLiteral("-"));
    EXPECT_EQ(ini.ReadString("missing", "anyo", "def"), QStringLiteral("def"));
    EXPECT_EQ(ini.ReadString("anyo", "missing", "def"), QStringLiteral("def"));
    EXPECT_EQ(ini.ReadInteger("ANYO", "anyo", 0), 2026);
}

TEST_F(IniFileTest, ChangingOneValueChangesOnlyItsLine)
{
    TIniFile ini(Write(kWindowsIni));
    ini.WriteString("COPSEG", "fecha", "15/03/2026");
    QByteArray expected = kWindowsIni;
    expected.replace("Fecha=01/02/2026", "Fecha=15/03/2026");
    EXPECT_EQ(Bytes(), expected);

    // The file stays in the legacy code page.
    ini.WriteString("anyo", "COMUNIDAD", "Montaña");
    expected.replace("Comunidad=A\xF1o Nuevo", "Comunidad=Monta\xF1"
                                               "a");
    EXPECT_EQ(Bytes(), expected);

    // Spacing around "=" is the line's own.
    ini.WriteString("ruta", "modificada", "d:\\");
    expected.replace("modificada = c:\\datos\\, otra=cosa ", "modificada = d:\\");
    EXPECT_EQ(Bytes(), expected);
}

TEST_F(IniFileTest, NewKeysFollowTheSectionsLastKey)
{
    TIniFile ini(Write("[A]\r\nx=1\r\n; about B\r\n\r\n[B]\r\ny=2\r\n"));
    ini.WriteString("a", "z", "3");
    EXPECT_EQ(Bytes(), QByteArray("[A]\r\nx=1\r\nz=3\r\n; about B\r\n\r\n[B]\r\ny=2\r\n"));
    ini.WriteString("C", "k", "v");
    EXPECT_EQ(Bytes(), QByteArray("[A]\r\nx=1\r\nz=3\r\n; about B\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nk=v\r\n"));
}

TEST_F(IniFileTest, KeyInSectionWithoutKeysGoesRightAfterTheHeader)
{
    TIniFile ini(Write("[A]\r\n; note\r\n\r\n[B]\r\n"));
    ini.WriteString("A", "k", "v");
    EXPECT_EQ(Bytes(), QByteArray("[A]\r\nk=v\r\n; note\r\n\r\n[B]\r\n"));
}

TEST_F(IniFileTest, NewSectionAfterBlankEndGetsNoSecondBlank)
{
    TIniFile ini(Write("[A]\nx=1\n\n"));
    ini.WriteString("B", "k", "v");
    EXPECT_EQ(Bytes(), QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"));
}

TEST_F(IniFileTest, NewFileIsWrittenInTheLegacyCodePage)
{
    TIniFile ini(Path());
    EXPECT_EQ(ini.FileName(), Path());
    EXPECT_EQ(ini.ReadString("S", "k", "def"), QStringLiteral("def"));
    ini.WriteString("S", "k", "Año");
    EXPECT_EQ(Bytes(), QByteArray("[S]\r\nk=A\xF1o\r\n"));
}

TEST_F(IniFileTest, KeepsTheEncodingItRead)
{
    TIniFile ini(Write("\xEF\xBB\xBF[S]\r\nk=v\r\n"));
    ini.WriteString("S", "k", "ñ");
    EXPECT_EQ(Bytes(), QByteArray("\xEF\xBB\xBF[S]\r\nk=\xC3\xB1\r\n"));

    Write(QByteArray("\xFF\xFE[\0S\0]\0\r\0\n\0", 12));
    ini.WriteString("s", "k", "ñ");
    EXPECT_EQ(Bytes(), QByteArray("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xF1\0\r\0\n\0", 22));
}

TEST_F(IniFileTest, BlanksAroundNamesAndValuesAreTrimmed)
{
    TIniFile ini(Write("  [ Sec ]  \r\n  Key  =  two words  \r\n"));
    EXPECT_EQ(ini.ReadString("sec", "KEY", "-"), QStringLiteral("two words"));
    ini.WriteString(" SEC ", " key ", "new");
    EXPECT_EQ(Bytes(), QByteArray("  [ Sec ]  \r\n  Key  =  new\r\n"));
}

TEST_F(IniFileTest, FirstOccurrenceWinsAndListsAreDistinct)
{
    TIniFile ini(
        Write("k=before any section\r\n[A]\r\nk=1\r\nK=2\r\nj=3\r\n[b]\r\n[a]\r\nk=4\r\nm=5\r\n[Empty]\r\n"));
    EXPECT_EQ(ini.ReadString("a", "k", "-"), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString("a", "m", "-"), QStringLiteral("-"));
    QStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(list, (QStringList{"A", "b", "Empty"}));
    ini.ReadSection("A", list);
    EXPECT_EQ(list, (QStringList{"k", "j"}));
    ini.ReadSectionValues("A", list);
    EXPECT_EQ(list, (QStringList{"k=1", "j=3"}));
    ini.ReadSection("missing", list);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_TRUE(ini.SectionExists("a"));
    EXPECT_FALSE(ini.SectionExists("EMPTY"));  // no keys: does not count
    EXPECT_FALSE(ini.SectionExists("missing"));
    EXPECT_TRUE(ini.ValueExists("A", "J"));
    EXPECT_FALSE(ini.ValueExists("A", "m"));
}

struct IntegerCase {
    const char* text;
    int expected;
};

class IniIntegerTest : public IniFileTest, public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(IniIntegerTest, ReadsDecimalAndHexOrTheDefault)
{
    TIniFile ini(Write(QByteArray("[S]\r\nk=") + GetParam().text + "\r\n"));
    EXPECT_EQ(ini.ReadInteger("S", "k", -99), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(IniFile, IniIntegerTest,
                         ::testing::Values(IntegerCase{"42", 42}, IntegerCase{"-7", -7}, IntegerCase{"+8", 8},
                                           IntegerCase{"0x1F", 31}, IntegerCase{"0X1f", 31},
                                           IntegerCase{"$ff", 255}, IntegerCase{"0xFFFFFFFF", -1},
                                           IntegerCase{"2147483647", 2147483647},
                                           IntegerCase{"-2147483648", -2147483647 - 1},
                                           IntegerCase{"2147483648", -99}, IntegerCase{"0x100000000", -99},
                                           IntegerCase{"abc", -99}, IntegerCase{"12abc", -99},
                                           IntegerCase{"", -99}, IntegerCase{"0x", -99},
                                           IntegerCase{"1 2", -99}, IntegerCase{"1.5", -99}));

TEST_F(IniFileTest, IntegersAndBooleans)
{
    TIniFile ini(Path());
    ini.WriteInteger("S", "i", -12);
    ini.WriteBool("S", "t", true);
    ini.WriteBool("S", "f", false);
    EXPECT_EQ(Bytes(), QByteArray("[S]\r\ni=-12\r\nt=1\r\nf=0\r\n"));
    EXPECT_EQ(ini.ReadInteger("S", "i", 0), -12);
    EXPECT_TRUE(ini.ReadBool("S", "t", false));
    EXPECT_FALSE(ini.ReadBool("S", "f", true));
    EXPECT_TRUE(ini.ReadBool("S", "i", false));
    EXPECT_TRUE(ini.ReadBool("S", "missing", true));
    EXPECT_FALSE(ini.ReadBool("S", "missing", false));
}

TEST_F(IniFileTest, EraseSectionAndDeleteKey)
{
    TIniFile ini(Write(
        "[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n; b note\r\n\r\n[C]\r\nc=1\r\nc=2\r\nd=3\r\n\r\n[D]\r\nd=1\r\n"));
    ini.EraseSection("b");
    EXPECT_EQ(Bytes(), QByteArray("[A]\r\na=1\r\n\r\n[C]\r\nc=1\r\nc=2\r\nd=3\r\n\r\n[D]\r\nd=1\r\n"));
    ini.DeleteKey("c", "C");
    EXPECT_EQ(Bytes(), QByteArray("[A]\r\na=1\r\n\r\n[C]\r\nd=3\r\n\r\n[D]\r\nd=1\r\n"));
    ini.EraseSection("D");
    EXPECT_EQ(Bytes(), QByteArray("[A]\r\na=1\r\n\r\n[C]\r\nd=3\r\n"));
    EXPECT_FALSE(ini.ValueExists("C", "c"));
}

TEST_F(IniFileTest, RemovingWhatIsNotThereDoesNotCreateTheFile)
{
    TIniFile ini(Path());
    ini.EraseSection("S");
    ini.DeleteKey("S", "k");
    EXPECT_FALSE(QFileInfo::exists(Path()));
}

TEST_F(IniFileTest, SeesChangesOtherProgramsMake)
{
    TIniFile ini(Write("[S]\r\nk=1\r\n"));
    EXPECT_EQ(ini.ReadString("S", "k", "-"), QStringLiteral("1"));
    Write("[S]\r\nk=2\r\n");  // same size, same second
    EXPECT_EQ(ini.ReadString("S", "k", "-"), QStringLiteral("2"));
    Write("[S]\r\nk=2\r\nother=x\r\n");
    ini.WriteString("S", "k", "3");
    EXPECT_EQ(Bytes(), QByteArray("[S]\r\nk=3\r\nother=x\r\n"));
    QFile::remove(Path());
    EXPECT_EQ(ini.ReadString("S", "k", "gone"), QStringLiteral("gone"));
}

TEST_F(IniFileTest, FailedWriteRaisesAndNamesTheFile)
{
    const QString inMissingFolder = folder_.File(QStringLiteral("missing/HOST.INI"));
    TIniFile ini(inMissingFolder);
    try {
        ini.WriteString("S", "k", "v");
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Unable to write to %1").arg(inMissingFolder));
    }
}

TEST_F(IniFileTest, UnreadableFileReadsAsEmptyButIsNeverOverwritten)
{
    // A folder in the file's place cannot be read.
    ASSERT_TRUE(QDir().mkdir(Path()));
    folder_.Write(QStringLiteral("HOST.INI/inside"), "x");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("S", "k", "def"), QStringLiteral("def"));
    EXPECT_THROW(ini.WriteString("S", "k", "v"), EInOutError);
    EXPECT_EQ(folder_.Read(QStringLiteral("HOST.INI/inside")), QByteArray("x"));
}

TEST_F(IniFileTest, LineBreaksInValuesCannotSplitTheLine)
{
    TIniFile ini(Path());
    ini.WriteString("S", "k", "one\r\ntwo\n[X]");
    EXPECT_EQ(ini.ReadString("S", "k", "-"), QStringLiteral("one  two [X]"));
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, QStringList{"S"});
}

}  // namespace
}  // namespace tk
