#include "toolkit/core/exceptions.h"
#include "toolkit/core/textfile.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

struct DecodeCase {
    const char* label;
    QByteArray bytes;
    QString text;
    TTextEncoding encoding;
};

void PrintTo(const DecodeCase& c, std::ostream* os)
{
    *os << c.label;
}

class DecodeTextTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTextTest, DetectsEncodingAndDecodes)
{
    const DecodeCase& c = GetParam();
    const TDecodedText decoded = DecodeText(c.bytes);
    EXPECT_EQ(decoded.encoding, c.encoding);
    EXPECT_EQ(decoded.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    TextFile, DecodeTextTest,
    ::testing::Values(
        DecodeCase{"utf8 bom",
                   QByteArray("\xEF\xBB\xBF"
                              "A\xC3\xB1o"),
                   QStringLiteral("Año"), teUtf8Bom},
        DecodeCase{"utf16le bom",
                   QByteArray("\xFF\xFE"
                              "A\0\xF1\0",
                              6),
                   QStringLiteral("Añ"), teUtf16LE},
        DecodeCase{"utf16be bom", QByteArray("\xFE\xFF\0A\0\xF1", 6), QStringLiteral("Añ"), teUtf16BE},
        DecodeCase{"utf16le odd byte",
                   QByteArray("\xFF\xFE"
                              "A\0B",
                              5),
                   QStringLiteral("A\uFFFD"), teUtf16LE},
        DecodeCase{"valid utf8", QByteArray("A\xC3\xB1o \xE2\x82\xAC"), QStringLiteral("Año €"), teUtf8},
        DecodeCase{"utf8 four bytes", QByteArray("\xF0\x9F\x98\x80"), QString::fromUtf8("\xF0\x9F\x98\x80"),
                   teUtf8},
        DecodeCase{"cp1252", QByteArray("A\xF1o \x80"), QStringLiteral("Año €"), teLegacy},
        DecodeCase{"overlong", QByteArray("\xC0\xAF"), QStringLiteral("À¯"), teLegacy},
        DecodeCase{"overlong three bytes", QByteArray("\xE0\x80\xAF"), QStringLiteral("à€¯"), teLegacy},
        DecodeCase{"surrogate", QByteArray("\xED\xA0\x80"), QStringLiteral("\u00ED\u00A0\u20AC"), teLegacy},
        DecodeCase{"above U+10FFFF", QByteArray("\xF4\x90\x80\x80"), QStringLiteral("ô\u0090€€"), teLegacy},
        DecodeCase{"truncated", QByteArray("ab\xC3"), QStringLiteral("abÃ"), teLegacy},
        DecodeCase{"plain ascii", QByteArray("abc"), QStringLiteral("abc"), teLegacy},
        DecodeCase{"empty", QByteArray(), QString(), teLegacy}));

class EncodeTextTest : public ::testing::TestWithParam<TTextEncoding> {};

TEST_P(EncodeTextTest, RoundTripsThroughDetection)
{
    const QString text = QStringLiteral("Año €\r\nline");
    const TDecodedText decoded = DecodeText(EncodeText(text, GetParam()));
    EXPECT_EQ(decoded.encoding, GetParam());
    EXPECT_EQ(decoded.text, text);
}

INSTANTIATE_TEST_SUITE_P(TextFile, EncodeTextTest,
                         ::testing::Values(teLegacy, teUtf8, teUtf8Bom, teUtf16LE, teUtf16BE));

TEST(TextFile, EncodesWithTheRightMarks)
{
    EXPECT_EQ(EncodeText(QStringLiteral("ñ"), teLegacy), QByteArray("\xF1"));
    EXPECT_EQ(EncodeText(QStringLiteral("ñ"), teUtf8), QByteArray("\xC3\xB1"));
    EXPECT_EQ(EncodeText(QStringLiteral("ñ"), teUtf8Bom), QByteArray("\xEF\xBB\xBF\xC3\xB1"));
    EXPECT_EQ(EncodeText(QStringLiteral("ñ"), teUtf16LE), QByteArray("\xFF\xFE\xF1\0", 4));
    EXPECT_EQ(EncodeText(QStringLiteral("ñ"), teUtf16BE), QByteArray("\xFE\xFF\0\xF1", 4));
}

struct SplitCase {
    QString text;
    QStringList lines;
};

class SplitLinesTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLinesTest, SplitsAtEveryKindOfLineBreak)
{
    EXPECT_EQ(SplitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(TextFile, SplitLinesTest,
                         ::testing::Values(SplitCase{"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                                           SplitCase{"a\r\n", {"a"}}, SplitCase{"a\r\n\r\n", {"a", ""}},
                                           SplitCase{"", {}}, SplitCase{"\n", {""}},
                                           SplitCase{"a\r\r\nb", {"a", "", "b"}},
                                           SplitCase{"a\n\rb", {"a", "", "b"}},
                                           SplitCase{"no break", {"no break"}}));

TEST(TextFile, WritesLinesWithBreaksAndReadsThemBack)
{
    test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("inf.txt"));
    WriteTextFile(path, {QStringLiteral("Año"), QStringLiteral("2026")}, teLegacy);
    EXPECT_EQ(folder.Read(QStringLiteral("inf.txt")), QByteArray("A\xF1o\r\n2026\r\n"));
    const TDecodedText read = ReadTextFile(path);
    EXPECT_EQ(read.text, QStringLiteral("Año\r\n2026\r\n"));
    EXPECT_EQ(read.encoding, teLegacy);

    WriteTextFile(path, {QStringLiteral("x")}, teUtf8Bom, QStringLiteral("\n"));
    EXPECT_EQ(folder.Read(QStringLiteral("inf.txt")), QByteArray("\xEF\xBB\xBFx\n"));
}

TEST(TextFile, ReadAndWriteFailuresNameTheFile)
{
    test::TempFolder folder;
    const QString missing = folder.File(QStringLiteral("missing.txt"));
    try {
        ReadTextFile(missing);
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().contains(missing)) << e.Message().toStdString();
    }
    const QString inMissingFolder = folder.File(QStringLiteral("no/such/folder.txt"));
    try {
        WriteTextFile(inMissingFolder, {QStringLiteral("x")}, teLegacy);
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().contains(inMissingFolder)) << e.Message().toStdString();
    }
}

}  // namespace
}  // namespace tk
