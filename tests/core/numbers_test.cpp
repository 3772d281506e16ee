#include "toolkit/core/exceptions.h"
#include "toolkit/core/format.h"
#include "toolkit/core/numbers.h"

#include <gtest/gtest.h>
#include <cmath>
#include <ostream>

namespace tk {
namespace {

TNumberSettings Comma()
{
    TNumberSettings s;
    s.DecimalSeparator = QLatin1Char(',');
    s.ThousandSeparator = QLatin1Char('.');
    return s;
}

struct GeneralCase {
    double value;
    const char* expected;
};

void PrintTo(const GeneralCase& c, std::ostream* os)
{
    *os << c.expected;
}

class FloatToStrGeneral : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(FloatToStrGeneral, ShowsFifteenSignificantDigitsAtMost)
{
    EXPECT_EQ(FloatToStr(GetParam().value, TNumberSettings()), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FloatToStrGeneral,
    ::testing::Values(GeneralCase{0.0, "0"}, GeneralCase{-0.0, "0"}, GeneralCase{0.1, "0.1"},
                      GeneralCase{0.1 + 0.2, "0.3"}, GeneralCase{1.0 / 3, "0.333333333333333"},
                      GeneralCase{2.0 / 3, "0.666666666666667"}, GeneralCase{1234.5, "1234.5"},
                      GeneralCase{-2.5, "-2.5"}, GeneralCase{123456789012345.0, "123456789012345"},
                      GeneralCase{1e15, "1E15"}, GeneralCase{999999999999999.9, "1E15"},
                      GeneralCase{0.00001, "0.00001"}, GeneralCase{0.000001, "1E-6"},
                      GeneralCase{-1.5e-10, "-1.5E-10"}, GeneralCase{1e300, "1E300"},
                      GeneralCase{NAN, "NAN"}, GeneralCase{-INFINITY, "-INF"}));

TEST(Numbers, GeneralFormatUsesTheDecimalSeparatorGiven)
{
    EXPECT_EQ(FloatToStr(1.5, Comma()), QStringLiteral("1,5"));
    EXPECT_EQ(FloatToStr(-1.5e-10, Comma()), QStringLiteral("-1,5E-10"));
    EXPECT_EQ(FloatToStr(1234567.0, Comma()), QStringLiteral("1234567"));  // no grouping
}

struct ParseCase {
    const char* text;
    bool ok;
    double value;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class StrToFloatComma : public ::testing::TestWithParam<ParseCase> {};

TEST_P(StrToFloatComma, ReadsTheLocaleFormOnly)
{
    const ParseCase& c = GetParam();
    double value = -12345;
    EXPECT_EQ(TryStrToFloat(QString::fromUtf8(c.text), value, Comma()), c.ok);
    if (c.ok) {
        EXPECT_DOUBLE_EQ(value, c.value);
        EXPECT_DOUBLE_EQ(StrToFloat(QString::fromUtf8(c.text), Comma()), c.value);
    } else {
        EXPECT_EQ(value, -12345);  // untouched on failure
        EXPECT_THROW(StrToFloat(QString::fromUtf8(c.text), Comma()), EConvertError);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, StrToFloatComma,
    ::testing::Values(ParseCase{"1,5", true, 1.5}, ParseCase{" 12, ", true, 12}, ParseCase{",5", true, 0.5},
                      ParseCase{"-0,25", true, -0.25}, ParseCase{"+3", true, 3}, ParseCase{"1,5E3", true, 1500},
                      ParseCase{"2e-2", true, 0.02}, ParseCase{"1.5", false, 0}, ParseCase{"1,2,3", false, 0},
                      ParseCase{"", false, 0}, ParseCase{"-", false, 0}, ParseCase{",", false, 0},
                      ParseCase{"1e", false, 0}, ParseCase{"inf", false, 0}, ParseCase{"nan", false, 0},
                      ParseCase{"1e999", false, 0}, ParseCase{"0x10", false, 0}, ParseCase{"1 000", false, 0},
                      ParseCase{"1.000,5", false, 0}));

TEST(Numbers, FloatTextReadsBackToTheSameDouble)
{
    for (const double value : {0.1, -2.5, 1.0 / 3, 123456.789, 6.02214076e23, -1.5e-10}) {
        const QString text = FloatToStr(value, Comma());
        EXPECT_NEAR(StrToFloat(text, Comma()), value, std::fabs(value) * 1e-14) << text.toStdString();
    }
}

struct IntCase {
    const char* text;
    bool ok;
    int value;
};

void PrintTo(const IntCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class StrToIntText : public ::testing::TestWithParam<IntCase> {};

TEST_P(StrToIntText, ReadsDecimalAndHexadecimalWithinThirtyTwoBits)
{
    const IntCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(StrToIntDef(text, -99), c.ok ? c.value : -99);
    if (c.ok)
        EXPECT_EQ(StrToInt(text), c.value);
    else
        EXPECT_THROW(StrToInt(text), EConvertError);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, StrToIntText,
    ::testing::Values(IntCase{" 42 ", true, 42}, IntCase{"-7", true, -7}, IntCase{"+7", true, 7},
                      IntCase{"$1F", true, 31}, IntCase{"0x10", true, 16}, IntCase{"$FFFFFFFF", true, -1},
                      IntCase{"-2147483648", true, -2147483647 - 1}, IntCase{"2147483648", false, 0},
                      IntCase{"$100000000", false, 0}, IntCase{"12a", false, 0}, IntCase{"", false, 0},
                      IntCase{"1.0", false, 0}, IntCase{"- 1", false, 0}, IntCase{"$", false, 0}));

TEST(Numbers, IntToStrWritesSixtyFourBits)
{
    EXPECT_EQ(IntToStr(-9223372036854775807LL - 1), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(IntToStr(0), QStringLiteral("0"));
}

TEST(Numbers, LocaleSettingsGiveSeparatorsAndCurrencyLayout)
{
    const TNumberSettings us = NumberSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.DecimalSeparator, QLatin1Char('.'));
    EXPECT_EQ(us.ThousandSeparator, QLatin1Char(','));
    EXPECT_EQ(us.CurrencyString, QStringLiteral("$"));
    // Qt's data for this locale writes negative amounts in parentheses.
    EXPECT_EQ(us.NegCurrFormat, 0);
    EXPECT_EQ(Format(QStringLiteral("%m|%m"), {Variant(1234.5), Variant(-2.0)}, us),
              QStringLiteral("$1,234.50|($2.00)"));

    const TNumberSettings de = NumberSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.DecimalSeparator, QLatin1Char(','));
    EXPECT_EQ(de.ThousandSeparator, QLatin1Char('.'));
    EXPECT_EQ(de.CurrencyDecimals, 2);
    EXPECT_EQ(Format(QStringLiteral("%m|%m"), {Variant(1234.5), Variant(-2.0)}, de),
              QStringLiteral("1.234,50 €|-2,00 €"));
}

struct PictureCase {
    const char* picture;
    double value;
    const char* expected;
};

void PrintTo(const PictureCase& c, std::ostream* os)
{
    *os << c.picture << " " << c.value;
}

class FormatFloatPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(FormatFloatPicture, WritesTheNumberAfterThePicture)
{
    EXPECT_EQ(FormatFloat(QString::fromUtf8(GetParam().picture), GetParam().value, TNumberSettings()),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FormatFloatPicture,
    ::testing::Values(
        PictureCase{"#,##0.00", 1234.5, "1,234.50"}, PictureCase{"#,##0.00", 1234567.891, "1,234,567.89"},
        PictureCase{"#,##0.00", 0.5, "0.50"}, PictureCase{"#,##0.00", -1234.5, "-1,234.50"},
        PictureCase{"#,##0.00", 2.675, "2.68"}, PictureCase{"#,##0.00", -0.001, "0.00"},
        PictureCase{"0.###", 1.5, "1.5"}, PictureCase{"0.###", 2.0, "2"}, PictureCase{"0.###", 0.12345, "0.123"},
        PictureCase{"#.##", 0.5, ".5"}, PictureCase{"#", 0.0, ""}, PictureCase{"0", 0.5, "1"},
        PictureCase{"000", 7, "007"}, PictureCase{"#,##0", 999999.5, "1,000,000"},
        PictureCase{"0.00;(0.00)", -3.5, "(3.50)"}, PictureCase{"0.00;(0.00);'zero'", 0, "zero"},
        PictureCase{"0.00;;'none'", -1, "-1.00"}, PictureCase{"$#,##0.00 'total'", 12, "$12.00 total"},
        PictureCase{"\"#\"0", 5, "#5"}, PictureCase{"000-0000", 5551234, "555-1234"},
        PictureCase{"0.00E+00", 1234.5, "1.23E+03"}, PictureCase{"0.00E-00", 1234.5, "1.23E03"},
        PictureCase{"0.00E+00", 0.000123, "1.23E-04"}, PictureCase{"0.0e+0", 9.99, "1.0e+1"},
        PictureCase{"00.0E+0", 1234.5, "12.3E+2"}, PictureCase{"0.00E+00", 0, "0.00E+00"},
        PictureCase{"0.00", 1e20, "100000000000000000000.00"}, PictureCase{";(0.0)", 2.5, "2.5"},
        PictureCase{";(0.0)", -2.5, "(2.5)"}));

TEST(Numbers, FormatFloatUsesTheSettingsSeparatorsAndFallsBackToGeneral)
{
    EXPECT_EQ(FormatFloat(QStringLiteral("#,##0.00"), 1234.5, Comma()), QStringLiteral("1.234,50"));
    TNumberSettings noGrouping;
    noGrouping.ThousandSeparator = QChar();
    EXPECT_EQ(FormatFloat(QStringLiteral("#,##0"), 1234, noGrouping), QStringLiteral("1234"));
    EXPECT_EQ(FormatFloat(QString(), 1234.5, TNumberSettings()), QStringLiteral("1234.5"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00"), std::nan(""), TNumberSettings()), QStringLiteral("NAN"));
}

}  // namespace
}  // namespace tk
