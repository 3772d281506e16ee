#include "toolkit/core/exceptions.h"
#include "toolkit/data/field.h"
#include "toolkit/data/table.h"

#include "tests/data/sqlitesource_fixture.h"
#include "tests/support/expect_raises.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

using test::MessageOf;

class TableTest : public test::SqliteFixture {
protected:
    TableTest()
    {
        Exec(QStringLiteral("CREATE TABLE \"order\" (id INTEGER PRIMARY KEY, \"last name\" TEXT, city TEXT, "
                            "\"a\"\"b\" INTEGER)"));
        Exec(QStringLiteral("INSERT INTO \"order\" VALUES (1, 'Ruiz', 'Vigo', 3), (2, 'Abad', 'Lugo', 1), "
                            "(3, 'Mora', 'Lugo', 2), (4, 'Abad', 'Vigo', 4)"));
        table_.SetDatabase(&OpenDatabase());
        table_.SetTableName(QStringLiteral("order"));
    }
    // The values of a field over all records, from the first.
    QStringList Column(const QString& field)
    {
        QStringList values;
        for (table_.First(); !table_.Eof(); table_.Next())
            values.append(table_.FieldByName(field)->AsString());
        return values;
    }

    TTable table_;
};

TEST_F(TableTest, OpensAKeywordNamedTableInRowidOrder)
{
    table_.Open();
    EXPECT_EQ(table_.FieldCount(), 4);
    EXPECT_EQ(Column(QStringLiteral("id")), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(table_.FieldByName(QStringLiteral("a\"b"))->AsInteger(), 4);
}

TEST_F(TableTest, IndexFieldNamesOrderByQuotedColumns)
{
    table_.SetIndexFieldNames(QStringLiteral("last name; CITY"));
    table_.Open();
    EXPECT_EQ(Column(QStringLiteral("id")), (QStringList{"2", "4", "3", "1"}));

    table_.SetIndexFieldNames(QStringLiteral("a\"b"));
    EXPECT_EQ(Column(QStringLiteral("id")), (QStringList{"2", "3", "1", "4"}));
}

TEST_F(TableTest, ChangingIndexFieldNamesWhileOpenKeepsTheCurrentRecord)
{
    table_.Open();
    table_.MoveBy(2);
    ASSERT_EQ(table_.FieldByName(QStringLiteral("id"))->AsInteger(), 3);
    table_.SetIndexFieldNames(QStringLiteral("city;last name"));
    EXPECT_EQ(table_.FieldByName(QStringLiteral("id"))->AsInteger(), 3);
    EXPECT_EQ(table_.RecNo(), 2);  // Abad Lugo, Mora Lugo, ...
}

TEST_F(TableTest, UnknownIndexFieldRaisesFieldNotFoundAndLeavesTheTableAsItWas)
{
    table_.SetIndexFieldNames(QStringLiteral("city"));
    table_.Open();
    table_.Last();
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { table_.SetIndexFieldNames(QStringLiteral("city;nope")); }),
              QStringLiteral("Field 'nope' not found"));
    EXPECT_TRUE(table_.Active());
    EXPECT_EQ(table_.IndexFieldNames(), QStringLiteral("city"));
    EXPECT_EQ(table_.RecNo(), 4);

    table_.Close();
    table_.SetIndexFieldNames(QStringLiteral("nope"));
    EXPECT_THROW(table_.Open(), EDatabaseError);
    EXPECT_FALSE(table_.Active());
}

TEST_F(TableTest, EditsInsertsAndDeletesReachTheFile)
{
    table_.Open();
    table_.Edit();
    table_.FieldByName(QStringLiteral("last name"))->SetAsString(QStringLiteral("Núñez"));
    table_.Post();
    table_.Insert();
    table_.FieldByName(QStringLiteral("last name"))->SetAsString(QStringLiteral("Pardo"));
    table_.Post();
    table_.Last();
    table_.Delete();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT group_concat(\"last name\") FROM (SELECT * FROM \"order\" ORDER BY id)")),
              QStringLiteral("Núñez,Abad,Mora,Pardo"));
    EXPECT_EQ(table_.RecordCount(), 4);
}

TEST_F(TableTest, ReadOnlyTablesAndFailingPostsLeaveTheFileAlone)
{
    Exec(QStringLiteral("CREATE UNIQUE INDEX cities ON \"order\"(city, \"last name\")"));
    table_.Open();
    table_.Edit();
    table_.FieldByName(QStringLiteral("last name"))->SetAsString(QStringLiteral("Abad"));
    table_.FieldByName(QStringLiteral("city"))->SetAsString(QStringLiteral("Lugo"));
    EXPECT_THROW(table_.Post(), EDatabaseError);
    table_.Cancel();
    EXPECT_EQ(table_.FieldByName(QStringLiteral("last name"))->AsString(), QStringLiteral("Ruiz"));
    table_.Close();

    table_.SetReadOnly(true);
    table_.Open();
    EXPECT_FALSE(table_.CanModify());
    EXPECT_THROW(table_.Edit(), EDatabaseError);
    EXPECT_THROW(table_.SetReadOnly(false), EDatabaseError);
    EXPECT_THROW(table_.SetTableName(QStringLiteral("other")), EDatabaseError);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT \"last name\" FROM \"order\" WHERE id = 1")), QStringLiteral("Ruiz"));
}

// What the user typed survives a refused post: the record stays in insert
// state with its values, and posts once the conflict is mended.
TEST_F(TableTest, ARefusedInsertKeepsTheTypedRecordUntilItCanBePosted)
{
    table_.Open();
    table_.Last();
    table_.Append();
    table_.FieldByName(QStringLiteral("id"))->SetAsInteger(2);  // taken
    table_.FieldByName(QStringLiteral("last name"))->SetAsString(QStringLiteral("Nieto"));
    EXPECT_THROW(table_.Post(), EDatabaseError);
    EXPECT_EQ(table_.State(), dsInsert);
    EXPECT_TRUE(table_.Modified());
    EXPECT_EQ(table_.FieldByName(QStringLiteral("last name"))->AsString(), "Nieto");
    EXPECT_EQ(table_.RecordCount(), 4);
    table_.FieldByName(QStringLiteral("id"))->SetAsInteger(9);
    table_.Post();
    EXPECT_EQ(table_.FieldByName(QStringLiteral("id"))->AsInteger(), 9);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT \"last name\" FROM \"order\" WHERE id = 9")), "Nieto");
    EXPECT_EQ(table_.RecordCount(), 5);
}

// Refresh reads what another program changed and stays on the same record.
TEST_F(TableTest, RefreshSeesOutsideChangesAndKeepsTheCurrentRecord)
{
    table_.Open();
    table_.Last();  // every row read: the table no longer holds a read lock
    ASSERT_TRUE(table_.Locate(QStringLiteral("id"), Variant(3)));
    Exec(QStringLiteral("UPDATE \"order\" SET city = 'Ferrol' WHERE id = 3; DELETE FROM \"order\" WHERE id = 1"));
    table_.Refresh();
    EXPECT_EQ(table_.FieldByName(QStringLiteral("id"))->AsInteger(), 3);
    EXPECT_EQ(table_.FieldByName(QStringLiteral("city"))->AsString(), "Ferrol");
    EXPECT_EQ(table_.RecNo(), 2);
    EXPECT_EQ(table_.RecordCount(), 3);
}

TEST_F(TableTest, FieldsANewRecordNeverSetTakeTheTableDefaultsButAChosenNullStays)
{
    Exec(QStringLiteral("CREATE TABLE notes(id INTEGER PRIMARY KEY, kind TEXT DEFAULT 'memo', "
                        "owner TEXT DEFAULT 'nobody')"));
    table_.SetTableName(QStringLiteral("notes"));
    table_.Open();
    table_.Append();
    table_.FieldByName(QStringLiteral("owner"))->Clear();  // chosen: no owner
    EXPECT_TRUE(table_.FieldByName(QStringLiteral("kind"))->IsNull());
    table_.Post();
    EXPECT_EQ(table_.FieldByName(QStringLiteral("kind"))->AsString(), "memo");
    EXPECT_TRUE(table_.FieldByName(QStringLiteral("owner"))->IsNull());
    EXPECT_EQ(Scalar(QStringLiteral("SELECT kind || '/' || (owner IS NULL) FROM notes")), "memo/1");
}

// The row reached the file; a default the field cannot show (far beyond a
// currency's range) must not make the post look failed, or the user would
// post the same record again.
TEST_F(TableTest, APostThatReachedTheFileSucceedsEvenWhenItsReadBackCannotBeShown)
{
    Exec(QStringLiteral("CREATE TABLE prices(id INTEGER PRIMARY KEY, price MONEY DEFAULT 1e20)"));
    table_.SetTableName(QStringLiteral("prices"));
    table_.Open();
    table_.Append();
    table_.FieldByName(QStringLiteral("id"))->SetAsInteger(7);
    EXPECT_NO_THROW(table_.Post());
    EXPECT_EQ(table_.State(), dsBrowse);
    EXPECT_EQ(table_.FieldByName(QStringLiteral("id"))->AsInteger(), 7);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM prices")), "1");
}

TEST_F(TableTest, AMissingTableRaises)
{
    table_.SetTableName(QStringLiteral("missing"));
    EXPECT_THROW(table_.Open(), EDatabaseError);
    table_.SetTableName(QString());
    EXPECT_THROW(table_.Open(), EDatabaseError);
}

}  // namespace
}  // namespace tk
