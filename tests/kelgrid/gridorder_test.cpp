// The grid orders real datasets by its markers: a client dataset and a
// table by IndexFieldNames, a query by its SQL; the current record is found
// again by KeyFields, and a failing reorder is undone with a beep.

#include "kelgrid/grid/keldbgrids.h"
#include "toolkit/core/beep.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/field.h"
#include "toolkit/data/query.h"
#include "toolkit/data/table.h"

#include "tests/data/sqlitesource_fixture.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelgrid {
namespace {

// Counts beeps for the scope of a test.
class BeepCounter {
public:
    BeepCounter()
    {
        previous_ = tk::SetBeepHook([this] { ++count; });
    }
    ~BeepCounter() { tk::SetBeepHook(previous_); }
    int count = 0;

private:
    tk::TBeepHook previous_;
};

// "3 1 2": the values of field over the dataset, from the first record;
// the current record is kept.
QString Walk(tk::TDataSet& dataSet, const char* field)
{
    const tk::Variant bookmark = dataSet.FieldByName(QString::fromLatin1(field))->AsVariant();
    QStringList values;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        values.append(dataSet.FieldByName(QString::fromLatin1(field))->AsString());
    dataSet.Locate(QString::fromLatin1(field), bookmark);
    return values.join(QLatin1Char(' '));
}

class GridOrderTest : public test::GridFixture {
protected:
    void SetUp() override
    {
        test::GridFixture::SetUp();
        grid->SetOptionsEx(grid->OptionsEx() | dgAutoUpdateOrder);
        grid->SetKeyFields(QStringLiteral("Id"));
        grid->OnOrderUpdated = [this](TKelCustomDBGrid*) { ++updated; };
    }
    TKelColumnTitle* TitleOf(const char* fieldName) const
    {
        return grid->FindColumn(QString::fromLatin1(fieldName))->Title();
    }
    int updated = 0;
    BeepCounter beeps;
};

TEST_F(GridOrderTest, ATitleToggleSortsTheClientDataSetAndKeepsTheRecord)
{
    grid->SetOptionsEx(grid->OptionsEx() | dgAutoAscendOrder);
    dataSet.Locate(QStringLiteral("Id"), tk::Variant(3));
    TitleOf("Amount")->ToggleMarker(true);
    EXPECT_EQ(dataSet.IndexFieldNames(), QStringLiteral("Amount"));
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Amount"));
    EXPECT_EQ(dataSet.FieldByName(QStringLiteral("Id"))->AsInteger(), 3);
    EXPECT_EQ(Walk(dataSet, "Id"), QStringLiteral("4 2 3 1 5"));
    EXPECT_EQ(updated, 1);
    // The client dataset's entry sorts ascending only.
    EXPECT_TRUE(grid->Options().testFlag(dgMarkerAscendOnly));
    EXPECT_EQ(beeps.count, 0);
}

TEST_F(GridOrderTest, AFailingIndexIsUndoneWithABeepAndTheMarkersLeftAsTheyWere)
{
    // A customised column whose field the dataset lacks.
    grid->Columns()->SetState(csCustomized);
    grid->Columns()->Add()->SetFieldName(QStringLiteral("Nope"));
    grid->SetOrderFields(QStringLiteral("Owner"));
    ASSERT_EQ(dataSet.IndexFieldNames(), QStringLiteral("Owner"));
    updated = 0;
    grid->SetOrderFields(QStringLiteral("Nope"));
    EXPECT_EQ(beeps.count, 1);
    EXPECT_EQ(dataSet.IndexFieldNames(), QStringLiteral("Owner"));
    EXPECT_TRUE(dataSet.Active());
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Owner"));
    EXPECT_EQ(updated, 1);
}

TEST_F(GridOrderTest, AnOrderSetWhileClosedKeepsOnlyTheColumnsFields)
{
    // Kept in a file so that it opens again with its rows.
    tk::test::TempFolder folder;
    dataSet.SetFileName(folder.File(QStringLiteral("fees.cds")));
    dataSet.SaveToFile();
    dataSet.Close();
    grid->SetOrderFields(QStringLiteral("owner,Id;DROP TABLE x"));
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("owner,Id;DROP TABLE x"));
    dataSet.Open();
    EXPECT_EQ(beeps.count, 1);
    EXPECT_EQ(dataSet.IndexFieldNames(), QStringLiteral("Owner"));
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Owner"));
}

TEST_F(GridOrderTest, WithoutAutoUpdateTheChangeIsOnlyReported)
{
    grid->SetOptionsEx(grid->OptionsEx() & ~TKelDBGridOptionsEx(dgAutoUpdateOrder));
    int changed = 0;
    grid->OnOrderChanged = [&](TKelCustomDBGrid*) { ++changed; };
    TitleOf("Owner")->ToggleMarker(true);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(dataSet.IndexFieldNames(), QString());
    // Marking silently reports nothing.
    grid->SetupOrderFields(QStringLiteral("Amount"));
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Amount"));
    grid->UpdateOrder(false);
    EXPECT_EQ(dataSet.IndexFieldNames(), QStringLiteral("Amount"));
}

// --- SQLite datasets --------------------------------------------------------------------

class GridSqlOrderTest : public tk::test::SqliteFixture {
protected:
    GridSqlOrderTest()
    {
        Exec(QStringLiteral(R"(CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT, amount REAL);
            INSERT INTO t VALUES (1, 'delta', 5), (2, 'alpha', 9), (3, 'echo', 1), (4, 'bravo', 7),
                                 (5, 'charlie', 3), (6, 'foxtrot', 8);)"));
        grid_.resize(400, 200);
        grid_.SetOptionsEx(grid_.OptionsEx() | dgAutoUpdateOrder);
        grid_.SetKeyFields(QStringLiteral("id"));
    }
    ~GridSqlOrderTest() override { grid_.SetDataSource(nullptr); }

    TKelDBGrid grid_;
    tk::TDataSource source_;
    BeepCounter beeps_;
};

TEST_F(GridSqlOrderTest, AQueryIsReorderedByItsSqlAndKeepsTheRecord)
{
    tk::TQuery query;
    query.SetDatabase(&OpenDatabase());
    query.SQL()->SetText(QStringLiteral("SELECT id, name, amount FROM t\nORDER BY id\nLIMIT 4"));
    query.Open();
    source_.SetDataSet(&query);
    grid_.SetDataSource(&source_);
    query.Locate(QStringLiteral("id"), tk::Variant(3));

    grid_.SetOrderFields(QStringLiteral("NAME desc"));
    EXPECT_EQ(query.SQL()->ToStringList().join(u'|'),
              QStringLiteral("SELECT id, name, amount FROM t|ORDER BY name DESC|LIMIT 4"));
    EXPECT_EQ(Walk(query, "id"), FirstColumn(QStringLiteral("SELECT id FROM t ORDER BY name DESC LIMIT 4")));
    EXPECT_EQ(query.FieldByName(QStringLiteral("id"))->AsInteger(), 3);
    EXPECT_EQ(grid_.OrderFields(), QStringLiteral("name DESC"));
    EXPECT_EQ(beeps_.count, 0);

    // A column naming no field of the query: the SQL fails and is restored.
    grid_.Columns()->SetState(csCustomized);
    grid_.Columns()->Add()->SetFieldName(QStringLiteral("nope"));
    grid_.SetOrderFields(QStringLiteral("nope"));
    EXPECT_EQ(beeps_.count, 1);
    EXPECT_TRUE(query.Active());
    EXPECT_EQ(query.SQL()->ToStringList().join(u'|'),
              QStringLiteral("SELECT id, name, amount FROM t|ORDER BY name DESC|LIMIT 4"));
    EXPECT_EQ(grid_.OrderFields(), QStringLiteral("name DESC"));
}

TEST_F(GridSqlOrderTest, AClientDataSetCopiedFromASelectIsReorderedBySqlOnlyWhileItHoldsNoChanges)
{
    tk::TClientDataSet copy;
    copy.SetDatabase(&OpenDatabase());
    copy.SetCommandText(QStringLiteral("SELECT id, name, amount FROM t"));
    copy.Open();
    source_.SetDataSet(&copy);
    grid_.SetDataSource(&source_);

    // Unchanged rows: the SELECT itself is reordered.
    grid_.SetOrderFields(QStringLiteral("amount"));
    EXPECT_EQ(copy.CommandText(), QStringLiteral("SELECT id, name, amount FROM t\nORDER BY amount"));
    EXPECT_EQ(Walk(copy, "id"), QStringLiteral("3 5 1 4 6 2"));

    // A row changed in memory: reopening would lose it, so the rows are
    // sorted where they are and the change stays.
    copy.Locate(QStringLiteral("id"), tk::Variant(3));
    copy.Edit();
    copy.FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("zulu"));
    copy.Post();
    const QString command = copy.CommandText();
    grid_.SetOrderFields(QStringLiteral("name"));
    EXPECT_EQ(copy.CommandText(), command);
    EXPECT_EQ(copy.IndexFieldNames(), QStringLiteral("name"));
    EXPECT_EQ(Walk(copy, "name"), QStringLiteral("alpha bravo charlie delta foxtrot zulu"));
    EXPECT_EQ(copy.FieldByName(QStringLiteral("id"))->AsInteger(), 3);
}

TEST_F(GridSqlOrderTest, TheMarkersFollowTheQuerysOrderWhenAsked)
{
    tk::TQuery query;
    query.SetDatabase(&OpenDatabase());
    query.SQL()->SetText(QStringLiteral("SELECT id, name FROM t ORDER BY \"name\" DESC, id"));
    grid_.SetOptionsEx(grid_.OptionsEx() | dgLoadCurrentOrder);
    source_.SetDataSet(&query);
    grid_.SetDataSource(&source_);
    query.Open();
    EXPECT_EQ(grid_.OrderFields(), QStringLiteral("name DESC,id"));
    EXPECT_EQ(grid_.CurrentDataSetOrder(), QStringLiteral("name DESC,id"));
}

TEST_F(GridSqlOrderTest, ATableIsReorderedByIndexFieldNames)
{
    tk::TTable table;
    table.SetDatabase(&OpenDatabase());
    table.SetTableName(QStringLiteral("t"));
    table.Open();
    source_.SetDataSet(&table);
    grid_.SetDataSource(&source_);
    table.Locate(QStringLiteral("id"), tk::Variant(4));
    grid_.SetOrderFields(QStringLiteral("amount"));
    EXPECT_EQ(table.IndexFieldNames(), QStringLiteral("amount"));
    EXPECT_EQ(Walk(table, "id"), FirstColumn(QStringLiteral("SELECT id FROM t ORDER BY amount")));
    EXPECT_EQ(table.FieldByName(QStringLiteral("id"))->AsInteger(), 4);
}

}  // namespace
}  // namespace kelgrid
