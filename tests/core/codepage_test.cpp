#include "toolkit/core/codepage.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

// Restores the process-wide code page whatever a test sets.
class CodePageTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = LegacyCodePage(); }
    void TearDown() override { SetLegacyCodePage(saved_); }

private:
    QString saved_;
};

TEST_F(CodePageTest, DefaultsToWindows1252)
{
    EXPECT_EQ(LegacyCodePage(), QStringLiteral("WINDOWS-1252"));
    EXPECT_EQ(EncodeLegacy(QStringLiteral("Año €")), QByteArray("A\xF1o \x80"));
    EXPECT_EQ(DecodeLegacy(QByteArray("A\xF1o \x80")), QStringLiteral("Año €"));
}

TEST_F(CodePageTest, UnmappableCharactersBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(EncodeLegacy(QStringLiteral("a漢b")), QByteArray("a?b"));
    // A surrogate pair is one character and gives one "?".
    EXPECT_EQ(EncodeLegacy(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QByteArray("x?y"));
    // A lone surrogate cannot be encoded either.
    EXPECT_EQ(EncodeLegacy(QString(QChar(0xD800)) + QStringLiteral("z")), QByteArray("?z"));
}

TEST_F(CodePageTest, UndefinedBytesSurviveARoundTrip)
{
    // 0x81 is undefined in Windows-1252; Windows reads it as U+0081.
    const QByteArray bytes("a\x81\x8D\x8F\x90\x9D"
                           "b");
    const QString text = DecodeLegacy(bytes);
    EXPECT_EQ(text.at(1), QChar(0x81));
    EXPECT_EQ(EncodeLegacy(text), bytes);
    // U+0080 has no byte of its own (0x80 is the euro sign).
    EXPECT_EQ(EncodeLegacy(QString(QChar(0x80))), QByteArray("?"));
}

TEST_F(CodePageTest, LongTextsConvertCompletely)
{
    const QString text = QStringLiteral("Año € ").repeated(5000);
    const QByteArray bytes = EncodeLegacy(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(DecodeLegacy(bytes), text);
}

TEST_F(CodePageTest, SettingChangesTheConversion)
{
    ASSERT_TRUE(SetLegacyCodePage(QStringLiteral("iso-8859-15")));
    EXPECT_EQ(LegacyCodePage(), QStringLiteral("ISO-8859-15"));
    EXPECT_EQ(EncodeLegacy(QStringLiteral("€")), QByteArray("\xA4"));
    EXPECT_EQ(DecodeLegacy(QByteArray("\xA4")), QStringLiteral("€"));
    ASSERT_TRUE(SetLegacyCodePage(QStringLiteral("CP1252")));
    EXPECT_EQ(EncodeLegacy(QStringLiteral("€")), QByteArray("\x80"));
}

TEST_F(CodePageTest, PlainAsciiReadsAsTheCodePageReadsIt)
{
    EXPECT_EQ(DecodeLegacy(QByteArray("C:\\Datos")), QStringLiteral("C:\\Datos"));
    // A code page that gives 0x5C another meaning keeps it for ASCII text.
    ASSERT_TRUE(SetLegacyCodePage(QStringLiteral("SHIFT_JIS")));
    EXPECT_EQ(DecodeLegacy(QByteArray("C:\\Datos")), QStringLiteral("C:\u00a5Datos"));
}

TEST_F(CodePageTest, UnknownNameKeepsTheSetting)
{
    EXPECT_FALSE(SetLegacyCodePage(QStringLiteral("NO-SUCH-CHARSET")));
    EXPECT_FALSE(SetLegacyCodePage(QString()));
    EXPECT_EQ(LegacyCodePage(), QStringLiteral("WINDOWS-1252"));
}

}  // namespace
}  // namespace tk
