// The order fields text: parsing, production, the index-field templates and
// the scanning helpers layouts use.

#include "kelgrid/grid/orderfields.h"

#include <gtest/gtest.h>

namespace kelgrid {
namespace {

// --- Parsing and production --------------------------------------------------------

struct ParseCase {
    const char* name;
    const char* text;
    const char* formatted;  // FormatOrderFields(ParseOrderFields(text))
};

class OrderFieldsParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(OrderFieldsParseTest, ReadsItemsAndWritesTheGridsForm)
{
    const ParseCase& c = GetParam();
    EXPECT_EQ(FormatOrderFields(ParseOrderFields(QString::fromUtf8(c.text))), QString::fromUtf8(c.formatted));
}

INSTANTIATE_TEST_SUITE_P(
    OrderFieldsTest, OrderFieldsParseTest,
    ::testing::Values(ParseCase{"GridForm", "Name,Amount DESC", "Name,Amount DESC"},
                      ParseCase{"BlanksAroundItems", "  Name ,  Amount DESC  ,", "Name,Amount DESC"},
                      ParseCase{"MarksInAnyCase", "Name desc,Amount Asc,Id", "Name DESC,Amount,Id"},
                      ParseCase{"DescInsideANameIsPartOfIt", "Price DESCRIPTION,Price DESCRIPTION DESC",
                                "Price DESCRIPTION,Price DESCRIPTION DESC"},
                      ParseCase{"ANameThatIsTheWordDesc", "Desc", "Desc"},
                      ParseCase{"EmptyItemsSkipped", ",,Name,,", "Name"}, ParseCase{"Empty", "   ", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Conversions ---------------------------------------------------------------------

struct ConversionCase {
    const char* name;
    const char* orderFields;
    const char* suffix;
    const char* indexFields;  // OrderFieldsToIndexFields(orderFields, suffix)
    const char* backToOrder;  // IndexFieldsToOrderFields(indexFields, suffix)
};

class OrderFieldsConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(OrderFieldsConversionTest, OrderAndIndexTextsConvertBothWays)
{
    const ConversionCase& c = GetParam();
    const QString suffix = QString::fromUtf8(c.suffix);
    EXPECT_EQ(OrderFieldsToIndexFields(QString::fromUtf8(c.orderFields), suffix),
              QString::fromUtf8(c.indexFields));
    EXPECT_EQ(IndexFieldsToOrderFields(QString::fromUtf8(c.indexFields), suffix),
              QString::fromUtf8(c.backToOrder));
}

INSTANTIATE_TEST_SUITE_P(OrderFieldsTest, OrderFieldsConversionTest,
                         ::testing::Values(ConversionCase{"PlainNamesWithoutTemplate", "Name,Id", "",
                                                          "Name;Id", "Name,Id"},
                                           ConversionCase{"DescKeptWithoutTemplate", "Name,Amount DESC", "",
                                                          "Name;Amount DESC", "Name,Amount DESC"},
                                           ConversionCase{"DescendingMarkOfTheTemplate", "Name,Amount desc",
                                                          ":A;:D;:X", "Name;Amount:D", "Name,Amount DESC"},
                                           ConversionCase{"EmptyAscendingMarkIsIgnored", "Name DESC,Id",
                                                          ";-;", "Name-;Id", "Name DESC,Id"},
                                           ConversionCase{"BlanksAroundNames", " Name , Id DESC ", "+;-;",
                                                          "Name;Id-", "Name,Id DESC"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OrderFieldsTest, IndexTextsWithAscendingAndThirdMarksGiveTheNames)
{
    EXPECT_EQ(IndexFieldsToOrderFields(QStringLiteral("Name+; Id* ;Amount-"), QStringLiteral("+;-;*")),
              QStringLiteral("Name,Id,Amount DESC"));
    EXPECT_EQ(IndexFieldsToOrderFields(QStringLiteral("Name:d;Id:A"), QStringLiteral(":a;:D;:x")),
              QStringLiteral("Name DESC,Id"));
}

TEST(OrderFieldsTest, SplitAndUnifyRoundTrip)
{
    QString fields;
    QString desc;
    SplitOrderFields(QStringLiteral("Name, Amount DESC,Id desc"), fields, desc);
    EXPECT_EQ(fields, QStringLiteral("Name;Amount;Id"));
    EXPECT_EQ(desc, QStringLiteral("Amount;Id"));
    EXPECT_EQ(UnifyOrderFields(fields, desc, false), QStringLiteral("Name,Amount DESC,Id DESC"));
    // All descending only when no descending list says otherwise.
    EXPECT_EQ(UnifyOrderFields(fields, QString(), true), QStringLiteral("Name DESC,Amount DESC,Id DESC"));
    EXPECT_EQ(UnifyOrderFields(fields, QStringLiteral("Id"), true), QStringLiteral("Name,Amount,Id DESC"));
    // The descending list matches whole names exactly.
    EXPECT_EQ(UnifyOrderFields(QStringLiteral("Amount;AmountDue"), QStringLiteral("amount;Amount"), false),
              QStringLiteral("Amount DESC,AmountDue"));
}

struct CompareCase {
    const char* name;
    const char* a;
    const char* b;
    bool same;
};

class OrderFieldsCompareTest : public ::testing::TestWithParam<CompareCase> {};

TEST_P(OrderFieldsCompareTest, ComparesItemByItem)
{
    const CompareCase& c = GetParam();
    EXPECT_EQ(CompareOrderFields(QString::fromUtf8(c.a), QString::fromUtf8(c.b)), c.same);
    EXPECT_EQ(CompareOrderFields(QString::fromUtf8(c.b), QString::fromUtf8(c.a)), c.same);
}

INSTANTIATE_TEST_SUITE_P(
    OrderFieldsTest, OrderFieldsCompareTest,
    ::testing::Values(CompareCase{"CaseAndBlanksAroundItems", "name, amount desc", "NAME,AMOUNT DESC", true},
                      CompareCase{"APrefixIsNotTheSame", "Name,Amount", "Name", false},
                      CompareCase{"BlanksInsideAnItemCount", "Amount  DESC", "Amount DESC", false},
                      CompareCase{"OrderMatters", "Name,Id", "Id,Name", false},
                      CompareCase{"EmptyAndBlank", "", "  ", true},
                      CompareCase{"EmptyAndAName", "", "Name", false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Scanning --------------------------------------------------------------------------

TEST(OrderFieldsTest, ScanStrTakesTokensAndTheDelimiterOffTheText)
{
    QString s = QStringLiteral("Name,12,,x");
    EXPECT_EQ(ScanStr(s), QStringLiteral("Name"));
    EXPECT_EQ(s, QStringLiteral("12,,x"));
    EXPECT_EQ(ScanInt(s, -1), 12);
    EXPECT_EQ(ScanInt(s, -1), -1);  // an empty token
    EXPECT_EQ(ScanInt(s, -1), -1);  // not a number
    EXPECT_EQ(s, QString());
    EXPECT_EQ(ScanStr(s), QString());

    QString t = QStringLiteral("a||b");
    EXPECT_EQ(ScanStr(t, QStringLiteral("||")), QStringLiteral("a"));
    EXPECT_EQ(ScanInt(t, 7, QStringLiteral("||")), 7);
    EXPECT_EQ(t, QString());
}

TEST(OrderFieldsTest, CommasAndSemicolonsSwap)
{
    EXPECT_EQ(CommaToSemicolon(QStringLiteral("a,b,,c")), QStringLiteral("a;b;;c"));
    EXPECT_EQ(SemicolonToComma(QStringLiteral("a;b;;c")), QStringLiteral("a,b,,c"));
}

}  // namespace
}  // namespace kelgrid
