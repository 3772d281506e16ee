#include "toolkit/core/dateutils.h"
#include "toolkit/core/numbers.h"
#include "toolkit/core/variant.h"

#include <QDateTime>
#include <QMetaType>
#include <QVariantList>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>

namespace tk {
namespace {

// Decimal comma, so tests show which separator a conversion used.
class CommaLocale {
public:
    CommaLocale() : saved_(NumberSettings())
    {
        NumberSettings().DecimalSeparator = QLatin1Char(',');
        NumberSettings().ThousandSeparator = QLatin1Char('.');
    }
    ~CommaLocale() { NumberSettings() = saved_; }

private:
    TNumberSettings saved_;
};

Variant Cur(double value) { return Variant(TCurrency::FromDouble(value)); }
Variant Dec(const char* text) { return Variant(TBcd::FromString(QString::fromUtf8(text))); }
Variant Arr(VariantArray values) { return Variant::FromArray(std::move(values)); }
Variant Day(int y, int m, int d) { return Variant::FromDate(EncodeDate(y, m, d)); }

void PrintVariant(const Variant& v, std::ostream* os)
{
    *os << qPrintable(VariantKindName(v.Kind()));
    if (!v.IsArray())
        *os << "(" << qPrintable(v.ToString()) << ")";
}

TEST(Variant, KindTestsTellTheKindsApart)
{
    struct Row {
        Variant value;
        VariantKind kind;
        bool ordinal, floating, numeric;
    };
    const Row rows[] = {
        {Variant(), VariantKind::Unassigned, false, false, false},
        {Variant::NullValue(), VariantKind::Null, false, false, false},
        {Variant(qint8(-5)), VariantKind::Int8, true, false, true},
        {Variant(qint16(-5)), VariantKind::Int16, true, false, true},
        {Variant(7), VariantKind::Int32, true, false, true},
        {Variant(quint8(5)), VariantKind::UInt8, true, false, true},
        {Variant(quint16(5)), VariantKind::UInt16, true, false, true},
        {Variant(quint32(5)), VariantKind::UInt32, true, false, true},
        {Variant(qint64(5)), VariantKind::Int64, true, false, true},
        {Variant(1.5f), VariantKind::Single, false, true, true},
        {Variant(2.5), VariantKind::Double, false, true, true},
        {Cur(1), VariantKind::Currency, false, true, true},
        {Day(2026, 3, 5), VariantKind::Date, false, false, false},
        {Variant(true), VariantKind::Boolean, false, false, false},
        {Dec("1.5"), VariantKind::Bcd, false, false, true},
        {Variant("x"), VariantKind::String, false, false, false},
        {Arr({Variant(1), Variant("a")}), VariantKind::Array, false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(qPrintable(VariantKindName(row.kind)));
        EXPECT_EQ(row.value.Kind(), row.kind);
        EXPECT_EQ(row.value.IsOrdinal(), row.ordinal);
        EXPECT_EQ(row.value.IsFloat(), row.floating);
        EXPECT_EQ(row.value.IsNumeric(), row.numeric);
    }
    EXPECT_FALSE(Variant().SameAs(Variant::NullValue()));  // unassigned and null are distinct
}

// --- Conversions ----------------------------------------------------------

struct NumberCase {
    Variant value;
    bool converts;
    double asDouble;
    qint64 asInt64;
    qint64 currencyTicks;
};

void PrintTo(const NumberCase& c, std::ostream* os)
{
    PrintVariant(c.value, os);
}

class VariantToNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(VariantToNumber, ConvertsNumbersAndRaisesForTheRest)
{
    CommaLocale comma;
    const NumberCase& c = GetParam();
    if (!c.converts) {
        EXPECT_THROW(c.value.ToDouble(), EVariantError);
        EXPECT_THROW(c.value.ToInt64(), EVariantError);
        EXPECT_THROW(c.value.ToCurrency(), EVariantError);
        return;
    }
    EXPECT_DOUBLE_EQ(c.value.ToDouble(), c.asDouble);
    EXPECT_EQ(c.value.ToInt64(), c.asInt64);
    EXPECT_EQ(c.value.ToCurrency().ticks, c.currencyTicks);
}

INSTANTIATE_TEST_SUITE_P(
    Variant, VariantToNumber,
    ::testing::Values(NumberCase{Variant(), true, 0, 0, 0}, NumberCase{Variant(-7), true, -7, -7, -70000},
                      NumberCase{Variant(quint32(4000000000u)), true, 4e9, 4000000000LL, 40000000000000LL},
                      NumberCase{Variant(2.5), true, 2.5, 3, 25000}, NumberCase{Variant(-2.5), true, -2.5, -3, -25000},
                      // 1 + 1/32 is exact in binary: the fifth decimal is a true half.
                      NumberCase{Variant(1.03125), true, 1.03125, 1, 10313},
                      NumberCase{Variant(-1.03125), true, -1.03125, -1, -10313},
                      NumberCase{Cur(1.2345), true, 1.2345, 1, 12345}, NumberCase{Dec("12.5"), true, 12.5, 13, 125000},
                      NumberCase{Dec("0.00005"), true, 0.00005, 0, 1}, NumberCase{Variant("12,5"), true, 12.5, 13, 125000},
                      NumberCase{Variant(" 3.25 "), true, 3.25, 3, 32500}, NumberCase{Variant("-8"), true, -8, -8, -80000},
                      NumberCase{Day(1900, 1, 1), true, 2, 2, 20000}, NumberCase{Variant("abc"), false, 0, 0, 0},
                      NumberCase{Variant(""), false, 0, 0, 0}, NumberCase{Variant::NullValue(), false, 0, 0, 0},
                      NumberCase{Variant(true), false, 0, 0, 0}, NumberCase{Arr({Variant(1)}), false, 0, 0, 0}));

TEST(Variant, IntegerConversionsRaiseWhenTheValueDoesNotFit)
{
    EXPECT_THROW(Variant(1e19).ToInt64(), EVariantOverflowError);
    EXPECT_THROW(Variant(qint64(1) << 40).ToInt(), EVariantOverflowError);
    EXPECT_THROW(Variant(1e300).ToCurrency(), EVariantOverflowError);
    EXPECT_EQ(Variant(qint64(9007199254740993LL)).ToInt64(), 9007199254740993LL);  // no trip through double
    EXPECT_EQ(Variant("9007199254740993").ToInt64(), 9007199254740993LL);
}

TEST(Variant, PlainStringsUseTheLocaleSeparatorAndNoNoise)
{
    CommaLocale comma;
    const TDateTime morning = EncodeDate(2026, 3, 5) + EncodeTime(9, 7, 3, 0);
    EXPECT_EQ(Variant().ToString(), QString());
    EXPECT_EQ(Variant::NullValue().ToString(), QString());
    EXPECT_EQ(Variant(1.5).ToString(), QStringLiteral("1,5"));
    EXPECT_EQ(Variant(0.1f).ToString(), QStringLiteral("0,1"));  // a single shows its own 7 digits
    EXPECT_EQ(Variant(0.1 + 0.2).ToString(), QStringLiteral("0,3"));
    EXPECT_EQ(Cur(1.5).ToString(), QStringLiteral("1,5"));
    EXPECT_EQ(Dec("-0.125").ToString(), QStringLiteral("-0,125"));
    EXPECT_EQ(Variant(qint64(-9007199254740993LL)).ToString(), QStringLiteral("-9007199254740993"));
    EXPECT_EQ(Variant(false).ToString(), QStringLiteral("False"));
    EXPECT_EQ(Variant::FromDate(morning).ToString(), DateTimeToStr(morning));
    EXPECT_EQ(Day(2026, 3, 5).ToString(), DateToStr(EncodeDate(2026, 3, 5)));  // midnight: no time
    EXPECT_THROW(Arr({Variant(1)}).ToString(), EVariantError);
}

TEST(Variant, BooleansReadTheirNamesAndNumbers)
{
    EXPECT_TRUE(Variant("true").ToBoolean());
    EXPECT_FALSE(Variant(" FALSE ").ToBoolean());
    EXPECT_TRUE(Variant(-1).ToBoolean());
    EXPECT_FALSE(Variant(0.0).ToBoolean());
    EXPECT_FALSE(Variant().ToBoolean());
    EXPECT_THROW(Variant("yes").ToBoolean(), EVariantTypeCastError);
    EXPECT_THROW(Variant::NullValue().ToBoolean(), EVariantTypeCastError);
}

// --- Comparison -------------------------------------------------------------

constexpr int kRaises = 2;

struct CompareCase {
    Variant a, b;
    int order;  // -1, 0, 1 or kRaises for <, >, Compare
    int equal;  // 0, 1 or kRaises for ==
};

void PrintTo(const CompareCase& c, std::ostream* os)
{
    PrintVariant(c.a, os);
    *os << " vs ";
    PrintVariant(c.b, os);
}

class VariantCompare : public ::testing::TestWithParam<CompareCase> {};

TEST_P(VariantCompare, OrdersComparableValuesAndRaisesForTheRest)
{
    const CompareCase& c = GetParam();
    if (c.order == kRaises) {
        EXPECT_THROW(Compare(c.a, c.b), EVariantError);
        EXPECT_THROW((void)(c.a < c.b), EVariantError);
        EXPECT_THROW((void)(c.a > c.b), EVariantError);
    } else {
        EXPECT_EQ(Compare(c.a, c.b), c.order);
        EXPECT_EQ(Compare(c.b, c.a), -c.order);
        EXPECT_EQ(c.a < c.b, c.order < 0);
        EXPECT_EQ(c.a > c.b, c.order > 0);
        EXPECT_EQ(c.a <= c.b, c.order <= 0);
    }
    if (c.equal == kRaises) {
        EXPECT_THROW((void)(c.a == c.b), EVariantError);
    } else {
        EXPECT_EQ(c.a == c.b, c.equal == 1);
        EXPECT_EQ(c.b != c.a, c.equal == 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Variant, VariantCompare,
    ::testing::Values(
        CompareCase{Variant(1), Variant(1.0), 0, 1}, CompareCase{Variant(qint8(-1)), Variant(quint32(4000000000u)), -1, 0},
        // Beyond 2^53 integers still compare exactly.
        CompareCase{Variant(qint64(9007199254740993LL)), Variant(qint64(9007199254740992LL)), 1, 0},
        CompareCase{Cur(1.5), Dec("1.5"), 0, 1}, CompareCase{Cur(0.0001), Dec("0.00005"), 1, 0},
        CompareCase{Dec("0.1"), Variant(0.1), 0, 1},
        CompareCase{Variant(qint64(922337203685477LL)), Variant(TCurrency::FromTicks(9223372036854775807LL)), -1, 0},
        CompareCase{Day(2026, 3, 5), Variant(EncodeDate(2026, 3, 5) + 0.5), -1, 0},
        CompareCase{Variant("abc"), Variant("abd"), -1, 0}, CompareCase{Variant("B"), Variant("a"), -1, 0},
        CompareCase{Variant("a"), Variant("A"), 1, 0},
        CompareCase{Variant("10"), Variant(9), 1, 0},  // as numbers, not as text
        CompareCase{Variant("x"), Variant(9), kRaises, kRaises}, CompareCase{Variant(false), Variant(true), -1, 0},
        CompareCase{Variant(true), Variant(1), kRaises, kRaises},
        CompareCase{Arr({Variant(1), Variant("a")}), Arr({Variant(1), Variant("b")}), -1, 0},
        CompareCase{Arr({Variant(1)}), Arr({Variant(1), Variant(2)}), -1, 0},
        CompareCase{Arr({Variant(1), Variant("a")}), Arr({Variant(1.0), Variant("a")}), 0, 1},
        CompareCase{Arr({Variant(1), Variant::NullValue()}), Arr({Variant(1), Variant::NullValue()}), kRaises, 1},
        CompareCase{Arr({Variant(1)}), Variant(1), kRaises, kRaises},
        CompareCase{Variant::NullValue(), Variant::NullValue(), kRaises, 1},
        CompareCase{Variant(), Variant(), kRaises, 1}, CompareCase{Variant::NullValue(), Variant(), kRaises, 0},
        CompareCase{Variant::NullValue(), Variant(5), kRaises, 0}, CompareCase{Variant(), Variant(""), kRaises, 0}));

// --- Arithmetic -------------------------------------------------------------

enum class Op { Add, Sub, Mul, Div };

struct ArithmeticCase {
    Variant a;
    Op op;
    Variant b;
    Variant expected;  // same kind and value; Unassigned with `raises`
    const char* raises = nullptr;  // "error", "overflow" or "zero"
};

void PrintTo(const ArithmeticCase& c, std::ostream* os)
{
    PrintVariant(c.a, os);
    *os << " " << "+-*/"[static_cast<int>(c.op)] << " ";
    PrintVariant(c.b, os);
}

Variant Apply(const ArithmeticCase& c)
{
    switch (c.op) {
    case Op::Add: return c.a + c.b;
    case Op::Sub: return c.a - c.b;
    case Op::Mul: return c.a * c.b;
    case Op::Div: return c.a / c.b;
    }
    return Variant();
}

class VariantArithmetic : public ::testing::TestWithParam<ArithmeticCase> {};

TEST_P(VariantArithmetic, KeepsTheExactKindOrRaises)
{
    CommaLocale comma;
    const ArithmeticCase& c = GetParam();
    if (!c.raises) {
        const Variant result = Apply(c);
        EXPECT_TRUE(result.SameAs(c.expected)) << VariantKindName(result.Kind()).toStdString() << " "
                                               << result.ToString().toStdString();
        return;
    }
    const std::string kind = c.raises;
    if (kind == "overflow")
        EXPECT_THROW(Apply(c), EVariantOverflowError);
    else if (kind == "zero")
        EXPECT_THROW(Apply(c), EZeroDivide);
    else
        EXPECT_THROW(Apply(c), EVariantError);
}

const qint64 kMax64 = std::numeric_limits<qint64>::max();

INSTANTIATE_TEST_SUITE_P(
    Variant, VariantArithmetic,
    ::testing::Values(
        ArithmeticCase{Variant(2), Op::Add, Variant(3), Variant(5)},
        ArithmeticCase{Variant(5), Op::Sub, Variant(7), Variant(-2)},
        ArithmeticCase{Variant(6), Op::Mul, Variant(7), Variant(42)},
        ArithmeticCase{Variant(qint8(100)), Op::Add, Variant(qint8(100)), Variant(200)},
        ArithmeticCase{Variant(2147483647), Op::Add, Variant(1), Variant(qint64(2147483648LL))},
        ArithmeticCase{Variant(kMax64), Op::Add, Variant(1), Variant(), "overflow"},
        ArithmeticCase{Variant(kMax64), Op::Mul, Variant(2), Variant(), "overflow"},
        ArithmeticCase{Variant(2147483647), Op::Mul, Variant(2), Variant(qint64(4294967294LL))},
        ArithmeticCase{Variant(qint64(5)), Op::Sub, Variant(7), Variant(qint64(-2))},
        ArithmeticCase{Variant(std::numeric_limits<qint64>::min()), Op::Sub, Variant(qint64(1)), Variant(), "overflow"},
        ArithmeticCase{Variant(1e308), Op::Add, Variant(1e308), Variant(), "overflow"},
        ArithmeticCase{Variant(0.5), Op::Sub, Variant(2.0), Variant(-1.5)},
        ArithmeticCase{Variant(7), Op::Div, Variant(2), Variant(3.5)},
        ArithmeticCase{Variant(qint64(9)), Op::Div, Variant(qint64(0)), Variant(), "zero"},
        ArithmeticCase{Variant(1), Op::Div, Variant(0), Variant(), "zero"},
        ArithmeticCase{Variant(1.0), Op::Div, Variant(0.0), Variant(), "zero"},
        ArithmeticCase{Variant(1e308), Op::Mul, Variant(10.0), Variant(), "overflow"},
        ArithmeticCase{Variant(1.5), Op::Add, Variant(1), Variant(2.5)},
        ArithmeticCase{Variant(1.5f), Op::Add, Variant(1.5f), Variant(3.0)},
        ArithmeticCase{Cur(0.1), Op::Add, Cur(0.2), Cur(0.3)},
        ArithmeticCase{Cur(1.5), Op::Mul, Cur(2), Cur(3)},
        ArithmeticCase{Cur(10), Op::Div, Variant(3), Variant(TCurrency::FromTicks(33333))},
        ArithmeticCase{Cur(10), Op::Add, Variant(2), Cur(12)},
        ArithmeticCase{Cur(1), Op::Div, Cur(0), Variant(), "zero"},
        ArithmeticCase{Cur(1), Op::Add, Variant(0.5), Variant(1.5)},
        ArithmeticCase{Dec("1"), Op::Div, Variant(3), Dec("0.33333333")},
        ArithmeticCase{Dec("0.1"), Op::Add, Cur(0.2), Dec("0.3")},
        ArithmeticCase{Dec("0.1"), Op::Add, Variant(0.2), Variant(0.1 + 0.2)},
        ArithmeticCase{Variant("a"), Op::Add, Variant("b"), Variant("ab")},
        ArithmeticCase{Variant(), Op::Add, Variant("b"), Variant("b")},
        ArithmeticCase{Variant("2"), Op::Add, Variant(3), Variant(qint64(5))},
        ArithmeticCase{Variant("2,5"), Op::Mul, Variant(2), Variant(5.0)},
        ArithmeticCase{Variant("x"), Op::Add, Variant(1), Variant(), "error"},
        ArithmeticCase{Variant("a"), Op::Sub, Variant("b"), Variant(), "error"},
        ArithmeticCase{Variant::NullValue(), Op::Add, Variant(1), Variant::NullValue()},
        ArithmeticCase{Variant(1), Op::Sub, Variant::NullValue(), Variant::NullValue()},
        ArithmeticCase{Variant::NullValue(), Op::Add, Variant(), Variant::NullValue()},
        ArithmeticCase{Variant(1), Op::Div, Variant::NullValue(), Variant::NullValue()},
        ArithmeticCase{Variant::NullValue(), Op::Div, Variant(0), Variant::NullValue()},
        ArithmeticCase{Variant(), Op::Add, Variant(5), Variant(5)},
        ArithmeticCase{Variant(5), Op::Div, Variant(), Variant(), "zero"},
        ArithmeticCase{Day(2026, 2, 28), Op::Add, Variant(1), Day(2026, 3, 1)},
        ArithmeticCase{Day(2026, 3, 1), Op::Sub, Variant(1), Day(2026, 2, 28)},
        ArithmeticCase{Day(2026, 3, 1), Op::Sub, Day(2026, 2, 1), Variant(28.0)},
        ArithmeticCase{Variant(true), Op::Add, Variant(1), Variant(), "error"},
        ArithmeticCase{Arr({Variant(1)}), Op::Add, Variant(1), Variant(), "error"}));

// --- Qt bridge ----------------------------------------------------------------

TEST(Variant, CrossesToQVariantAndBackKeepingKindAndValue)
{
    const Variant values[] = {Variant(),
                              Variant::NullValue(),
                              Variant(qint8(-8)),
                              Variant(qint16(-16)),
                              Variant(-32),
                              Variant(quint8(8)),
                              Variant(quint16(16)),
                              Variant(quint32(4000000000u)),
                              Variant(qint64(-9007199254740993LL)),
                              Variant(0.5f),
                              Variant(0.1),
                              Variant(TCurrency::FromTicks(-12345)),
                              Variant::FromDate(EncodeDate(2026, 7, 14) + EncodeTime(13, 30, 15, 500)),
                              Variant(true),
                              Dec("-123456789012.12345678"),
                              Variant(QStringLiteral("ñandú")),
                              Arr({Variant(1), Variant::NullValue(), Variant("a")}),
                              Variant(QByteArray("\x00\xff\x7f", 3))};
    for (const Variant& v : values) {
        SCOPED_TRACE(qPrintable(VariantKindName(v.Kind())));
        EXPECT_TRUE(Variant::FromQVariant(v.ToQVariant()).SameAs(v));
    }
    // What the data layer gets from Qt: SQL nulls are typed null variants.
    EXPECT_TRUE(Variant::FromQVariant(QVariant(QMetaType::fromType<int>())).IsNull());
    EXPECT_TRUE(Variant::FromQVariant(QVariant::fromValue(nullptr)).IsNull());
    EXPECT_TRUE(Variant::FromQVariant(QVariant()).IsUnassigned());
    EXPECT_TRUE(Variant::FromQVariant(QVariant(QDate(2026, 7, 14))).SameAs(Day(2026, 7, 14)));
    EXPECT_EQ(Variant::FromQVariant(QVariant(qulonglong(1) << 63)).Kind(), VariantKind::Double);
    EXPECT_EQ(Day(2026, 7, 14).ToQVariant().toDateTime(), QDateTime(QDate(2026, 7, 14), QTime(0, 0)));
}

// --- Byte strings ----------------------------------------------------------------

TEST(Variant, ByteStringsKeepEveryByteAndCompareOnlyWithByteStrings)
{
    const QByteArray raw("a\x00\xff", 3);
    const Variant bytes(raw);
    EXPECT_TRUE(bytes.IsBytes());
    EXPECT_EQ(bytes.ToBytes(), raw);
    EXPECT_EQ(bytes.ToString().size(), 3);  // Latin-1: one character per byte, NUL kept
    EXPECT_EQ(Variant(QStringLiteral("ñ")).ToBytes(), QByteArray("\xc3\xb1"));
    EXPECT_TRUE(Variant::NullValue().ToBytes().isEmpty());

    // Unsigned order: 0xff sorts after 'b', a prefix sorts first.
    EXPECT_LT(Compare(Variant(QByteArray("a\x00", 2)), Variant(QByteArray("a\xff", 2))), 0);
    EXPECT_LT(Compare(Variant(QByteArray("ab")), Variant(QByteArray("abc"))), 0);
    EXPECT_TRUE(Variant(QByteArray("ab")) == Variant(QByteArray("ab")));
    EXPECT_FALSE(Variant(QByteArray("ab")) == Variant::NullValue());

    EXPECT_THROW(Compare(bytes, Variant("a")), EVariantError);
    EXPECT_THROW(bytes + bytes, EVariantError);
    EXPECT_THROW(bytes.ToDouble(), EVariantTypeCastError);
    EXPECT_THROW(bytes.ToInt64(), EVariantTypeCastError);
    EXPECT_THROW(bytes.ToBoolean(), EVariantTypeCastError);
    EXPECT_THROW(Variant(1).ToBytes(), EVariantTypeCastError);
}

}  // namespace
}  // namespace tk
