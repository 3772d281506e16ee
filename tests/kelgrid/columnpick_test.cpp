// Pick lists: the mapping between stored values and the texts a cell shows
// and takes, the formatted entries, and lists loaded from SQLite tables.

#include "tests/data/sqlitesource_fixture.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/expect_raises.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/table.h"

namespace kelgrid::test {
namespace {

QStringList Lines(const tk::TStrings* list)
{
    return list ? list->ToStringList() : QStringList();
}

struct MappingRow {
    const char* name;
    const char* values;  // PickList, "|"-separated ("" for none)
    const char* texts;   // PickText
    TKelPickOptions options;
    const char* stored;  // shown as ...
    const char* shown;
    const char* typed;  // stored as ...
    const char* kept;
};

class ColumnPickMappingTest : public GridFixture, public ::testing::WithParamInterface<MappingRow> {};

TEST_P(ColumnPickMappingTest, ValuesAndTextsMapBothWays)
{
    const MappingRow& row = GetParam();
    TKelColumn* column = grid->Columns()->Add();
    column->SetFieldName(QStringLiteral("Owner"));  // a string of size 40
    column->SetPickOptions(row.options);
    auto split = [](const char* text) {
        return *text ? QString::fromUtf8(text).split(QLatin1Char('|')) : QStringList();
    };
    column->PickList()->SetStrings(split(row.values));
    column->PickText()->SetStrings(split(row.texts));
    EXPECT_EQ(grid->ColGetText(column, QString::fromUtf8(row.stored), tkDisplay),
              QString::fromUtf8(row.shown));
    EXPECT_EQ(grid->ColSetText(column, QString::fromUtf8(row.typed)), QString::fromUtf8(row.kept));
}

constexpr TKelPickOptions kDefault(poSelectPickText | poAcceptPickList);
// The 1-based position 2, right-aligned in the Owner field's 40 characters.
constexpr const char* kIndexTwoInForty = "                                       2";

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnPickMappingTest,
    ::testing::Values(
        MappingRow{"StoredValueShowsItsText", "1|2|3", "one|two|three", kDefault, "2", "two", "three", "3"},
        MappingRow{"TextsMatchInAnyCase", "1|2|3", "one|two|three", kDefault, "2", "two", "TWO", "2"},
        MappingRow{"AValueTypedIsAccepted", "1|2|3", "one|two|three", kDefault, "3", "three", "1", "1"},
        MappingRow{"UnknownValuesPassWithoutListItemsOnly", "1|2|3", "one|two|three", kDefault, "9", "9",
                   "nine", "nine"},
        MappingRow{"ListItemsOnlyEmptiesUnknownValues", "1|2|3", "one|two|three",
                   TKelPickOptions(poSelectPickText | poListItemsOnly), "9", "", "nine", ""},
        MappingRow{"StoreItemIndexRightAlignsToTheFieldSize", "a|b|c", "one|two|three",
                   TKelPickOptions(poSelectPickText | poStoreItemIndex), "  2", "two", "two",
                   kIndexTwoInForty},
        MappingRow{"FormattedTextsShowAndAreTaken", "1|2|3", "one|two|three",
                   TKelPickOptions(poSelectPickText | poFormatPickText), "2", "2 - two", "3 - three", "3"},
        MappingRow{"FormatListOnlyShowsThePlainText", "1|2|3", "one|two|three",
                   TKelPickOptions(poSelectPickText | poFormatPickText | poFormatListOnly), "2", "two", "two",
                   "2"},
        MappingRow{"ItemIndexTypedIsAccepted", "a|b|c", "one|two|three",
                   TKelPickOptions(poSelectPickText | poAcceptItemIndex), "c", "three", "2", "b"},
        MappingRow{"TextsWithoutValuesStoreTheText", "", "one|two|three", kDefault, "two", "two", "THREE",
                   "three"},
        MappingRow{"PickListAloneMapsToItsEntry", "Alfa|Beta", "", TKelPickOptions(poListItemsOnly), "Gamma",
                   "", "beta", "Beta"},
        MappingRow{"PickListAloneTakesAnIndex", "Alfa|Beta", "", TKelPickOptions(poAcceptItemIndex), "Beta",
                   "Beta", "2", "Beta"},
        MappingRow{"WithoutSelectPickTextTheTextsAreNotUsed", "1|2|3", "one|two|three",
                   TKelPickOptions(poAcceptPickList), "2", "2", "two", "two"}),
    [](const ::testing::TestParamInfo<MappingRow>& info) { return std::string(info.param.name); });

using ColumnPickTest = GridFixture;

TEST_F(ColumnPickTest, PickDataFollowsTheOptionsAndTheFormat)
{
    TKelColumn* column = grid->Columns()->Add();
    column->PickList()->SetStrings({QStringLiteral("1"), QStringLiteral("2")});
    EXPECT_EQ(Lines(column->PickDataList()), QStringList({"1", "2"}));
    column->PickText()->SetStrings({QStringLiteral("one"), QStringLiteral("two")});
    EXPECT_EQ(Lines(column->PickDataList()), QStringList({"one", "two"}));
    column->SetPickOptions(column->PickOptions() | poFormatPickText);
    EXPECT_EQ(Lines(column->PickDataList()), QStringList({"1 - one", "2 - two"}));
    column->SetPickTextFormat(QStringLiteral("%2:d) %0:s [%1:s]"));
    EXPECT_EQ(Lines(column->PickData()), QStringList({"1) one [1]", "2) two [2]"}));
    // Editing a list drops the formatted entries.
    column->PickText()->Add(QStringLiteral("three"));
    EXPECT_EQ(Lines(column->PickDataList()).last(), QStringLiteral("3) three []"));
    column->SetPickOptions(column->PickOptions() | poFormatListOnly);
    EXPECT_EQ(Lines(column->PickData()), QStringList({"one", "two", "three"}));
    EXPECT_EQ(column->FormatPickText(-1), QString());
    // A format the arguments do not fit shows the plain text.
    column->SetPickTextFormat(QStringLiteral("%0:d"));
    EXPECT_EQ(column->FormatPickText(0), QStringLiteral("one"));

    // Lists loaded from the data have no texts to select.
    column->SetPickOptions(TKelPickOptions(poSelectPickText | poAutoLoadList));
    EXPECT_EQ(column->PickOptions(), TKelPickOptions(poAutoLoadList));
    EXPECT_FALSE(column->PickTextActive());
    column->SetPickList(nullptr);
    EXPECT_FALSE(column->PickListActive());
    EXPECT_FALSE(column->IsPickListStored());
}

TEST_F(ColumnPickTest, AutoNumberColumnsShowTheRowsNumber)
{
    grid->SetOptionsExt(grid->OptionsExt() | dgAutoNumberColumn);
    TKelColumn* number = grid->Columns()->Items(0);
    ASSERT_TRUE(number->AutoNumber());
    dataSet.Next();
    dataSet.Next();
    EXPECT_EQ(grid->ColGetText(number, QString(), tkDisplay), QStringLiteral("3."));
    EXPECT_EQ(grid->ColGetText(number, QStringLiteral("x"), tkReport), QStringLiteral("x"));
}

// --- Loading from SQLite -----------------------------------------------------------------

class ColumnPickLoadTest : public tk::test::SqliteFixture {
protected:
    ColumnPickLoadTest()
    {
        Exec(QStringLiteral("CREATE TABLE towns(code TEXT, name TEXT)"));
        Exec(
            QStringLiteral("INSERT INTO towns VALUES ('VGO', 'Vigo'), ('LUG', 'Lugo'), ('vgo', 'Vigo again'),"
                           " ('', ''), ('OUR', 'Ourense'), (NULL, 'Nowhere')"));
        table.SetDatabase(&OpenDatabase());
        table.SetTableName(QStringLiteral("towns"));
        column = columns.Add();
    }

    tk::TTable table;
    TKelDBGridColumns columns{nullptr};
    TKelColumn* column = nullptr;
};

TEST_F(ColumnPickLoadTest, LoadPickListTakesEveryDistinctTextAndLeavesTheTableAsItWas)
{
    table.Open();
    table.Next();  // on LUG
    column->PickText()->Add(QStringLiteral("dropped"));
    column->LoadPickList(table.FieldByName(QStringLiteral("code")));
    EXPECT_EQ(Lines(column->PickList()), QStringList({"VGO", "LUG", "OUR"}));
    EXPECT_FALSE(column->IsPickTextStored());
    EXPECT_EQ(table.FieldByName(QStringLiteral("code"))->AsString(), QStringLiteral("LUG"));
    EXPECT_FALSE(table.ControlsDisabled());

    // Seeded with the list when appending; sorted on request.
    column->SetPickOptions(column->PickOptions() | poAppendToList);
    column->PickList()->SetStrings({QStringLiteral("Zamora")});
    column->LoadPickList(table.FieldByName(QStringLiteral("name")), true);
    EXPECT_EQ(Lines(column->PickList()),
              QStringList({"Lugo", "Nowhere", "Ourense", "Vigo", "Vigo again", "Zamora"}));
}

TEST_F(ColumnPickLoadTest, LoadPickTextPairsValuesWithTexts)
{
    table.Open();
    column->LoadPickText(table.FieldByName(QStringLiteral("code")), table.FieldByName(QStringLiteral("name")),
                         true);
    // Sorted by value; "vgo" is a value already seen; the empty pair goes.
    EXPECT_EQ(Lines(column->PickList()), QStringList({"", "LUG", "OUR", "VGO"}));
    EXPECT_EQ(Lines(column->PickText()), QStringList({"Nowhere", "Lugo", "Ourense", "Vigo"}));
    column->SetPickOptions(column->PickOptions() | poSortedByText);
    column->LoadPickText(table.FieldByName(QStringLiteral("code")), table.FieldByName(QStringLiteral("name")),
                         true);
    EXPECT_EQ(Lines(column->PickText()), QStringList({"Lugo", "Nowhere", "Ourense", "Vigo"}));

    // Fields of two datasets: nothing to pair, the lists go.
    tk::TClientDataSet other;
    FillFees(other);
    column->LoadPickText(table.FieldByName(QStringLiteral("code")),
                         other.FieldByName(QStringLiteral("Owner")));
    EXPECT_FALSE(column->PickListActive());
    EXPECT_FALSE(column->IsPickTextStored());
}

TEST_F(ColumnPickLoadTest, AFailedReadReenablesAndClosesTheTable)
{
    table.Open();
    tk::TField* name = table.FieldByName(QStringLiteral("name"));
    int read = 0;
    name->OnGetText = [&](tk::TField*, QString& text, bool) {
        if (++read == 3)
            throw tk::EDatabaseError(QStringLiteral("unreadable row"));
        text = QStringLiteral("row");
    };
    table.Next();
    EXPECT_EQ(tk::test::MessageOf([&] { column->LoadPickList(name); }), QStringLiteral("unreadable row"));
    EXPECT_FALSE(table.ControlsDisabled());
    EXPECT_TRUE(table.Active());
    name->OnGetText = nullptr;
    EXPECT_EQ(name->AsString(), QStringLiteral("Lugo"));  // back on its record

    // Without a field or dataset the lists go.
    column->PickList()->Add(QStringLiteral("x"));
    column->LoadPickList(nullptr);
    EXPECT_FALSE(column->PickListActive());
}

}  // namespace
}  // namespace kelgrid::test
