#include "toolkit/core/bcd.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/varianterrors.h"

#include <gtest/gtest.h>
#include <ostream>

namespace tk {
namespace {

struct BcdTextCase {
    const char* text;
    const char* expected;  // nullptr: not a decimal (or out of range)
};

void PrintTo(const BcdTextCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class BcdText : public ::testing::TestWithParam<BcdTextCase> {};

TEST_P(BcdText, ReadsExactlyAndPrintsTheShortestText)
{
    const BcdTextCase& c = GetParam();
    TBcd value;
    const bool ok = TBcd::TryFromString(QString::fromUtf8(c.text), value, QLatin1Char(','));
    ASSERT_EQ(ok, c.expected != nullptr);
    if (ok)
        EXPECT_EQ(value.ToString(), QString::fromUtf8(c.expected));
    else
        EXPECT_THROW(TBcd::FromString(QString::fromUtf8(c.text), QLatin1Char(',')), EConvertError);
}

INSTANTIATE_TEST_SUITE_P(
    Bcd, BcdText,
    ::testing::Values(BcdTextCase{"12.5", "12.5"}, BcdTextCase{"12,5", "12.5"}, BcdTextCase{"-0.125", "-0.125"},
                      BcdTextCase{"  +3  ", "3"}, BcdTextCase{"007.100", "7.1"}, BcdTextCase{"1e3", "1000"},
                      BcdTextCase{"1.5E-2", "0.015"}, BcdTextCase{"5.", "5"}, BcdTextCase{".5", "0.5"},
                      // The ninth decimal rounds, halves away from zero.
                      BcdTextCase{"0.000000005", "0.00000001"}, BcdTextCase{"-0.000000005", "-0.00000001"},
                      BcdTextCase{"0.000000004", "0"}, BcdTextCase{"-0.000000004", "0"},
                      BcdTextCase{"1234567890123456789012", "1234567890123456789012"},
                      BcdTextCase{"12345678901234567890123", nullptr},
                      BcdTextCase{"9999999999999999999999.999999995", nullptr}, BcdTextCase{"1e22", nullptr},
                      BcdTextCase{"1e-30", "0"}, BcdTextCase{"abc", nullptr}, BcdTextCase{"1.2.3", nullptr},
                      BcdTextCase{"", nullptr}, BcdTextCase{"-", nullptr}, BcdTextCase{"1e", nullptr},
                      BcdTextCase{"1 2", nullptr}));

TBcd D(const char* text)
{
    return TBcd::FromString(QString::fromUtf8(text));
}

TEST(Bcd, SumsAreExactWhereDoublesDrift)
{
    EXPECT_EQ(D("0.1") + D("0.2"), D("0.3"));
    EXPECT_EQ((D("0.1") + D("0.2")).ToString(), QStringLiteral("0.3"));
    EXPECT_EQ(D("1") - D("0.00000001"), D("0.99999999"));
    EXPECT_EQ(-D("2.5"), D("-2.5"));
    EXPECT_EQ(TBcd::FromDouble(0.1).ToString(), QStringLiteral("0.1"));
    EXPECT_EQ(TBcd::FromCurrency(TCurrency::FromTicks(-12345)).ToString(), QStringLiteral("-1.2345"));
}

TEST(Bcd, ProductsAndQuotientsRoundToEightDecimals)
{
    EXPECT_EQ((D("1.23456789") * D("10")).ToString(), QStringLiteral("12.3456789"));
    EXPECT_EQ((D("0.00000001") * D("0.5")).ToString(), QStringLiteral("0.00000001"));
    EXPECT_EQ((D("-0.00000001") * D("0.5")).ToString(), QStringLiteral("-0.00000001"));
    EXPECT_EQ((D("123456789012.5") * D("-2")).ToString(), QStringLiteral("-246913578025"));
    // Both halves of the split product matter here.
    EXPECT_EQ((D("9999999999.99999999") * D("9999999999.99999999")).ToString(),
              QStringLiteral("99999999999999999800"));
    EXPECT_EQ((D("1") / D("3")).ToString(), QStringLiteral("0.33333333"));
    EXPECT_EQ((D("2") / D("3")).ToString(), QStringLiteral("0.66666667"));
    EXPECT_EQ((D("-2") / D("3")).ToString(), QStringLiteral("-0.66666667"));
    EXPECT_EQ((D("-7.5") / D("-2.5")).ToString(), QStringLiteral("3"));
}

TEST(Bcd, OutOfRangeAndDivisionByZeroRaise)
{
    const TBcd big = D("9999999999999999999999");
    EXPECT_THROW(big + D("1"), EVariantOverflowError);
    EXPECT_THROW(-big - D("1"), EVariantOverflowError);
    EXPECT_THROW(D("10000000000000") * D("1000000000"), EVariantOverflowError);
    EXPECT_NO_THROW(D("1000000000000") * D("1000000000"));
    EXPECT_THROW(D("1") / D("0"), EZeroDivide);
    EXPECT_THROW(D("1000000000000000") / D("0.0000001"), EVariantOverflowError);
    EXPECT_THROW(TBcd::FromDouble(1e25), EVariantOverflowError);
    EXPECT_THROW(big.ToCurrency(), EVariantOverflowError);
    EXPECT_THROW(big.ToInt64(), EVariantOverflowError);
}

TEST(Bcd, ConvertsRoundingHalvesAwayFromZero)
{
    EXPECT_EQ(D("1.23455").ToCurrency(), TCurrency::FromTicks(12346));
    EXPECT_EQ(D("-1.23455").ToCurrency(), TCurrency::FromTicks(-12346));
    EXPECT_EQ(D("2.5").ToInt64(), 3);
    EXPECT_EQ(D("-2.5").ToInt64(), -3);
    EXPECT_EQ(D("2.49999999").ToInt64(), 2);
    EXPECT_DOUBLE_EQ(D("-12.75").ToDouble(), -12.75);
    EXPECT_TRUE(D("0.00000001") > D("0"));
    EXPECT_TRUE(D("-1") < D("-0.5"));
    EXPECT_EQ(D("1.50"), D("1.5"));
    EXPECT_EQ(D("-1.5").ToString(QLatin1Char(',')), QStringLiteral("-1,5"));
}

}  // namespace
}  // namespace tk
