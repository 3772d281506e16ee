// Total texts: the caption split and the formatting of values by kind,
// which falls back to the plain text instead of failing.

#include "kelgrid/grid/totalformat.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/core/bcd.h"
#include "toolkit/core/currency.h"
#include "toolkit/core/datetime.h"
#include "toolkit/core/format.h"
#include "toolkit/core/numbers.h"

#include <QScopedValueRollback>
#include <gtest/gtest.h>

namespace kelgrid {
namespace {

// The locale's decimal separator in place of "." in expected texts.
QString Dec(QString text)
{
    return text.replace(u'.', tk::NumberSettings().DecimalSeparator);
}

struct FormatCase {
    const char* name;
    tk::Variant value;
    const char* format;
    bool asFloat;
    bool selected;
    QString expected;
};

class TotalFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(TotalFormatTest, FormatsByKindAndFallsBackToThePlainText)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatTotalValue(c.value, QString::fromUtf8(c.format), c.asFloat, c.selected), c.expected);
}

const tk::TDateTime kDay = tk::EncodeDate(2026, 12, 9);

INSTANTIATE_TEST_SUITE_P(
    Table, TotalFormatTest,
    ::testing::Values(
        FormatCase{"UnassignedIsEmpty", tk::Variant(), "%d", false, false, QString()},
        FormatCase{"IntegerWithIntegerDirective", tk::Variant(qint32(42)), "Total: %d", false, false,
                   QStringLiteral("Total: 42")},
        FormatCase{"SmallIntegers", tk::Variant(quint8(7)), "[%3d]", false, false, QStringLiteral("[  7]")},
        FormatCase{"Int64", tk::Variant(qint64(1) << 40), "%d", false, false,
                   QStringLiteral("1099511627776")},
        FormatCase{"FloatDirectiveOnAnIntegerFailsToThePlainText", tk::Variant(qint32(42)), "%.2f", false,
                   false, QStringLiteral("42")},
        FormatCase{"FormatAsFloatMakesItFit", tk::Variant(qint32(42)), "%.2f", true, false, Dec("42.00")},
        FormatCase{"Double", tk::Variant(2.5), "%.1f kg", false, false, Dec("2.5 kg")},
        FormatCase{"BcdBecomesAFloatUnderAFormat", tk::Variant(tk::TBcd::FromString("12.345")), "%.1f", false,
                   false, Dec("12.3")},
        FormatCase{"StringWithStringDirective", tk::Variant("Ana"), "<%s>", false, false,
                   QStringLiteral("<Ana>")},
        FormatCase{"UnknownDirectiveFallsBack", tk::Variant(qint32(5)), "%q", false, false,
                   QStringLiteral("5")},
        FormatCase{"SecondPartWhileSelected", tk::Variant(qint32(3)), "All %d|Selected %d", false, true,
                   QStringLiteral("Selected 3")},
        FormatCase{"FirstPartOtherwise", tk::Variant(qint32(3)), "All %d|Selected %d", false, false,
                   QStringLiteral("All 3")},
        FormatCase{"DateWithPrefixPatternAndEmptySuffix", tk::Variant::FromDate(kDay), "On %yyyy-mm-dd%",
                   false, false, QStringLiteral("On 2026-12-09")},
        FormatCase{"DateWithOnePercentFallsBack", tk::Variant::FromDate(kDay), "On %yyyy", false, false,
                   tk::Variant::FromDate(kDay).ToString()},
        FormatCase{"BooleanTrueText", tk::Variant(true), "(%yes;no%)", false, false, QStringLiteral("(yes)")},
        FormatCase{"BooleanFalseText", tk::Variant(false), "(%yes;no%)", false, false,
                   QStringLiteral("(no)")},
        FormatCase{"BooleanWithoutFalseTextShowsNothing", tk::Variant(false), "%paid%", false, false,
                   QString()},
        FormatCase{"NoFormatGivesThePlainText", tk::Variant(qint32(-8)), "", false, false,
                   QStringLiteral("-8")},
        FormatCase{"ArraysHaveNoText", tk::Variant::FromArray({tk::Variant(1), tk::Variant(2)}), "", false,
                   false, QString()}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(TotalFormat, NullsShowTheNullTextAndCurrencyTheMoneyFormat)
{
    EXPECT_EQ(FormatTotalValue(tk::Variant::NullValue(), QStringLiteral("%d"), false, false), QString());
    {
        QScopedValueRollback<QString> nullText(NullValueString, QStringLiteral("(none)"));
        EXPECT_EQ(FormatTotalValue(tk::Variant::NullValue(), QString(), false, false),
                  QStringLiteral("(none)"));
    }
    const tk::Variant money(tk::TCurrency::FromDouble(1234.5));
    EXPECT_EQ(FormatTotalValue(money, QString(), false, false), tk::Format(QStringLiteral("%m"), {money}));
    EXPECT_NE(FormatTotalValue(money, QString(), false, false), money.ToString());
}

TEST(TotalFormat, CaptionPartsSplitAtTheFirstBar)
{
    EXPECT_EQ(ActiveTotalPart(QStringLiteral("Total|Selected|x"), false), QStringLiteral("Total"));
    EXPECT_EQ(ActiveTotalPart(QStringLiteral("Total|Selected|x"), true), QStringLiteral("Selected|x"));
    EXPECT_EQ(ActiveTotalPart(QStringLiteral("Total"), true), QStringLiteral("Total"));
    EXPECT_EQ(ActiveTotalPart(QStringLiteral("|only selected"), false), QString());
}

}  // namespace
}  // namespace kelgrid
