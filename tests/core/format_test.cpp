#include "toolkit/core/format.h"

#include "tests/support/expect_raises.h"

#include <gtest/gtest.h>
#include <ostream>

namespace tk {
namespace {

using test::MessageOf;

// A decimal comma, a dot for thousands and the euro after the amount, so
// every separator in the output shows where it came from.
TNumberSettings Euro()
{
    TNumberSettings s;
    s.DecimalSeparator = QLatin1Char(',');
    s.ThousandSeparator = QLatin1Char('.');
    s.CurrencyString = QStringLiteral("€");
    s.CurrencyFormat = 3;
    s.NegCurrFormat = 8;
    s.CurrencyDecimals = 2;
    return s;
}

TNumberSettings Dollar()
{
    TNumberSettings s;
    s.CurrencyFormat = 0;
    s.NegCurrFormat = 0;
    return s;
}

Variant Cur(double value) { return Variant(TCurrency::FromDouble(value)); }

struct FormatCase {
    const char* format;
    std::vector<Variant> args;
    const char* expected;
    TNumberSettings settings = Euro();
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << '"' << c.format << '"';
}

class FormatText : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatText, WritesEachDirective)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(Format(QString::fromUtf8(c.format), c.args, c.settings), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Format, FormatText,
    ::testing::Values(
        // The grid's own formats.
        FormatCase{"%d.", {Variant(5)}, "5."}, FormatCase{"%1:s - %0:s", {Variant("Name"), Variant("Code")}, "Code - Name"},
        FormatCase{"%5d", {Variant(42)}, "   42"}, FormatCase{"%3d", {Variant(1234)}, "1234"},
        FormatCase{"%-5d|", {Variant(42)}, "42   |"}, FormatCase{"%.4d", {Variant(-42)}, "-0042"},
        FormatCase{"%d", {Variant(qint64(-9007199254740993LL))}, "-9007199254740993"},
        FormatCase{"%d", {Variant(quint32(4000000000u))}, "4000000000"},
        FormatCase{"%x", {Variant(255)}, "FF"}, FormatCase{"%.4x", {Variant(26)}, "001A"},
        FormatCase{"%x", {Variant(-1)}, "FFFFFFFF"}, FormatCase{"%x", {Variant(qint64(-1))}, "FFFFFFFFFFFFFFFF"},
        FormatCase{"%u", {Variant(-1)}, "4294967295"}, FormatCase{"%u", {Variant(qint8(-2))}, "4294967294"},
        FormatCase{"%f", {Variant(1.5)}, "1,50"}, FormatCase{"%.3f", {Variant(2.0)}, "2,000"},
        FormatCase{"%.0f", {Variant(2.5)}, "3"}, FormatCase{"%.2f", {Variant(2.675)}, "2,68"},
        FormatCase{"%.2f", {Variant(-0.001)}, "0,00"}, FormatCase{"%.1f", {Variant(9.96)}, "10,0"},
        FormatCase{"%f", {Variant(TBcd::FromString(QStringLiteral("12.345")))}, "12,35"},
        FormatCase{"%.2f", {Cur(1.005)}, "1,01"}, FormatCase{"%n", {Variant(1234567.891)}, "1.234.567,89"},
        FormatCase{"%.0n", {Variant(-999.5)}, "-1.000"}, FormatCase{"%m", {Cur(1234.5)}, "1.234,50 €"},
        FormatCase{"%m", {Cur(-1234.5)}, "-1.234,50 €"}, FormatCase{"%.0m", {Variant(7.0)}, "7 €"},
        FormatCase{"%m", {Variant(-5.0)}, "($5.00)", Dollar()}, FormatCase{"%m", {Variant(5.0)}, "$5.00", Dollar()},
        FormatCase{"%e", {Variant(1234.5)}, "1,23450000000000E+003"},
        FormatCase{"%.3e", {Variant(-0.00012345)}, "-1,23E-004"}, FormatCase{"%.2e", {Variant(0.0)}, "0,0E+000"},
        FormatCase{"%g", {Variant(0.1)}, "0,1"}, FormatCase{"%g", {Variant(100.0)}, "100"},
        FormatCase{"%g", {Variant(1e20)}, "1E20"}, FormatCase{"%g", {Variant(1.5e-10)}, "1,5E-10"},
        FormatCase{"%.3g", {Variant(3.14159)}, "3,14"}, FormatCase{"%g", {Variant(1.0 / 3)}, "0,333333333333333"},
        FormatCase{"%s", {Variant("abc")}, "abc"}, FormatCase{"%.2s", {Variant("abc")}, "ab"},
        FormatCase{"%-4s|%4s", {Variant("ab"), Variant("cd")}, "ab  |  cd"},
        FormatCase{"%*d", {Variant(4), Variant(7)}, "   7"},
        FormatCase{"%-*.*f|", {Variant(6), Variant(1), Variant(2.25)}, "2,3   |"},
        FormatCase{"%%d %d%%", {Variant(5)}, "%d 5%"},
        FormatCase{"%d %d %0:d", {Variant(1), Variant(2)}, "1 2 1"},
        FormatCase{"%1:d %d", {Variant(1), Variant(2), Variant(3)}, "2 3"},
        FormatCase{"%2:-4d|", {Variant(1), Variant(2), Variant(3)}, "3   |"},
        FormatCase{"no directives", {}, "no directives"}));

struct FormatErrorCase {
    const char* format;
    std::vector<Variant> args;
    const char* message;
};

void PrintTo(const FormatErrorCase& c, std::ostream* os)
{
    *os << '"' << c.format << '"';
}

class FormatErrors : public ::testing::TestWithParam<FormatErrorCase> {};

TEST_P(FormatErrors, RaiseConvertErrorsNamingTheDirective)
{
    const FormatErrorCase& c = GetParam();
    EXPECT_EQ(MessageOf<EConvertError>([&] { Format(QString::fromUtf8(c.format), c.args, Euro()); }),
              QString::fromUtf8(c.message));
}

INSTANTIATE_TEST_SUITE_P(
    Format, FormatErrors,
    ::testing::Values(
        // An integer argument to a float directive fails: totals fall back on it.
        FormatErrorCase{"%f", {Variant(1)}, "Format '%f' invalid or incompatible with argument"},
        FormatErrorCase{"%.2m", {Variant(qint64(1))}, "Format '%.2m' invalid or incompatible with argument"},
        FormatErrorCase{"%d", {Variant(1.5)}, "Format '%d' invalid or incompatible with argument"},
        FormatErrorCase{"%d", {Variant("12")}, "Format '%d' invalid or incompatible with argument"},
        FormatErrorCase{"%x", {Variant(true)}, "Format '%x' invalid or incompatible with argument"},
        FormatErrorCase{"%s", {Variant(5)}, "Format '%s' invalid or incompatible with argument"},
        FormatErrorCase{"%f", {Variant::NullValue()}, "Format '%f' invalid or incompatible with argument"},
        FormatErrorCase{"%s", {Variant()}, "Format '%s' invalid or incompatible with argument"},
        FormatErrorCase{"%q", {Variant(1)}, "Format '%q' invalid or incompatible with argument"},
        FormatErrorCase{"%*d", {Variant("x"), Variant(1)}, "Format '%*' invalid or incompatible with argument"},
        FormatErrorCase{"%.d", {Variant(1)}, "Format '%.' invalid or incompatible with argument"},
        FormatErrorCase{"abc %5", {Variant(1)}, "Format '%5' invalid or incompatible with argument"},
        FormatErrorCase{"%d", {}, "No argument for format '%d'"},
        FormatErrorCase{"%d %d", {Variant(1)}, "No argument for format '%d'"},
        FormatErrorCase{"%3:d", {Variant(1)}, "No argument for format '%3:d'"}));

}  // namespace
}  // namespace tk
