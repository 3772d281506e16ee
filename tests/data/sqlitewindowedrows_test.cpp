// Rows of writable single-table SELECTs read by rowid in windows: what is
// read when, bounded memory, no lock left on the file between calls,
// writes that do not read the rest, and rows changed by other connections.

#include "toolkit/core/exceptions.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/query.h"
#include "toolkit/data/sqlitesource.h"

#include "tests/data/sqlitesource_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace tk {
namespace {

using test::SqliteFixture;

std::vector<Variant> Row(std::initializer_list<Variant> values)
{
    return std::vector<Variant>(values);
}

class WindowedRowsTest : public SqliteFixture {
protected:
    std::unique_ptr<TSqliteRecordSource> Open(const QString& sql, qint64 windowRows = 16,
                                              TRowFetching fetching = TRowFetching::Windows,
                                              const TSqlParameters& parameters = {})
    {
        if (!database_.Active())
            OpenDatabase();
        return std::make_unique<TSqliteRecordSource>(&database_, sql, parameters, fetching, windowRows);
    }

    // Writes through another connection that does not wait for locks.
    int WriteFromOutside(const QString& sql)
    {
        sqlite3* other = nullptr;
        EXPECT_EQ(sqlite3_open(path_.toUtf8().constData(), &other), SQLITE_OK);
        sqlite3_busy_timeout(other, 50);
        const int rc = sqlite3_exec(other, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        sqlite3_close(other);
        return rc;
    }

    void ExpectColumnScanReadsThePositionsAfterOthersWrite(const QString& sql);
};

TEST_F(WindowedRowsTest, OnlyWritableSingleTableSelectsAreWindowed)
{
    MakePeople(3);
    Exec(QStringLiteral("CREATE TABLE pets(owner INTEGER, pet TEXT); CREATE VIEW named AS SELECT name FROM people"));
    EXPECT_TRUE(Open(QStringLiteral("SELECT * FROM people"))->Windowed());
    EXPECT_TRUE(Open(QStringLiteral("SELECT p.name, p.amount * 2 FROM people AS p WHERE id > 1 ORDER BY name"))
                    ->Windowed());
    EXPECT_FALSE(Open(QStringLiteral("SELECT * FROM people"), 16, TRowFetching::Stepping)->Windowed());
    EXPECT_FALSE(Open(QStringLiteral("SELECT name, pet FROM people JOIN pets ON owner = id"))->Windowed());
    EXPECT_FALSE(Open(QStringLiteral("SELECT count(*) FROM people"))->Windowed());
    EXPECT_FALSE(Open(QStringLiteral("SELECT DISTINCT amount FROM people"))->Windowed());
    EXPECT_FALSE(Open(QStringLiteral("SELECT name FROM named"))->Windowed());
    EXPECT_THROW(Open(QStringLiteral("SELECT * FROM people"), 0), EDatabaseError);
    OpenDatabase(true);
    EXPECT_FALSE(Open(QStringLiteral("SELECT * FROM people"))->Windowed());
}

TEST_F(WindowedRowsTest, OpeningReadsTheFirstBlockAndTheRestOnlyWhenAskedFor)
{
    MakePeople(1000);
    auto source = Open(QStringLiteral("SELECT name FROM people ORDER BY id"));
    EXPECT_EQ(source->FetchedRowCount(), 0);
    ASSERT_TRUE(source->HasRow(15));
    EXPECT_EQ(source->FetchedRowCount(), 16);
    EXPECT_FALSE(source->IsComplete());
    EXPECT_FALSE(source->RowCountKnown());
    EXPECT_EQ(source->PositionOf(7), 6);  // found in the first block
    EXPECT_EQ(source->RowCount(), 1000);  // counted, not read
    EXPECT_TRUE(source->RowCountKnown());
    EXPECT_FALSE(source->IsComplete());
    EXPECT_EQ(source->FetchedRowCount(), 16);

    ASSERT_TRUE(source->HasRow(16));
    EXPECT_TRUE(source->IsComplete());
    EXPECT_EQ(source->FetchedRowCount(), 1000);
    EXPECT_EQ(source->RowCount(), 1000);
    EXPECT_FALSE(source->HasRow(1000));
    // The ids are known everywhere, the values are read as windows come.
    EXPECT_EQ(source->RowIdAt(999), 1000);
    EXPECT_EQ(source->Value(999, 0).ToString(), QStringLiteral("P1000"));
}

TEST_F(WindowedRowsTest, APlainTableScanReadsIdsOnlyAsFarAsThePositionsNeed)
{
    MakePeople(1000);
    // (Not "SELECT id, name": the index on name covers it and gives its order.)
    auto source = Open(QStringLiteral("SELECT id, name, amount FROM people"));
    ASSERT_TRUE(source->HasRow(16));
    EXPECT_EQ(source->FetchedRowCount(), 32);  // the first block and as many again
    ASSERT_TRUE(source->HasRow(100));
    EXPECT_EQ(source->FetchedRowCount(), 112);  // to the end of 100's window
    EXPECT_FALSE(source->IsComplete());
    EXPECT_EQ(source->Value(100, 1).ToString(), QStringLiteral("P101"));

    // What others write meanwhile: a deleted row whose id was not read yet
    // is never listed, one whose id was read reads Null; a new row comes
    // at the end.
    ASSERT_EQ(WriteFromOutside(QStringLiteral("DELETE FROM people WHERE id IN (50, 500); "
                                              "INSERT INTO people(id, name) VALUES (2000, 'Late')")),
              SQLITE_OK);
    ASSERT_TRUE(source->HasRow(600));
    EXPECT_EQ(source->Value(600, 0).ToInt64(), 602);
    EXPECT_TRUE(source->Value(49, 0).IsNull());
    EXPECT_FALSE(source->IsComplete());
    EXPECT_EQ(source->PositionOf(2000), 999);  // an id not known reads the rest
    EXPECT_TRUE(source->IsComplete());
    EXPECT_EQ(source->FetchedRowCount(), 1000);  // 50 stays listed until refresh
    EXPECT_EQ(source->Value(999, 1).ToString(), QStringLiteral("Late"));
    EXPECT_EQ(source->PositionOf(501), 499);
    for (qint64 position = 1; position < source->FetchedRowCount(); ++position)
        ASSERT_LT(source->RowIdAt(position - 1), source->RowIdAt(position));
}

// Every value by HasRow and Value, as a walk reads them.
std::vector<QString> ReadByPositions(TSqliteRecordSource& source, int column)
{
    std::vector<QString> values;
    for (qint64 position = 0; source.HasRow(position); ++position)
        values.push_back(source.Value(position, column).IsNull() ? QStringLiteral("null")
                                                                : source.Value(position, column).ToString());
    return values;
}

std::vector<QString> Scan(TSqliteRecordSource& source, int column)
{
    std::vector<QString> values;
    source.ScanColumn(column, [&](const Variant& value) {
        values.push_back(value.IsNull() ? QStringLiteral("null") : value.ToString());
    });
    return values;
}

TEST_F(WindowedRowsTest, AColumnScanReadsWhatThePositionsReadInOnePass)
{
    MakePeople(1000);
    // Plain scans read a table column by itself; expressions, filters and
    // orders step the SELECT.
    for (const char* sql : {"SELECT id, name, amount FROM people", "SELECT id, name FROM people",
                            "SELECT amount * 2 AS twice, name AS called FROM people",
                            "SELECT p.name, p.amount FROM people p", "SELECT name, amount + 1 FROM people",
                            "SELECT id, name FROM people ORDER BY name DESC",
                            "SELECT name, id FROM people WHERE id % 3 = 0"}) {
        auto scanned = Open(QString::fromLatin1(sql));
        auto walked = Open(QString::fromLatin1(sql));
        const std::vector<QString> values = Scan(*scanned, 1);
        EXPECT_TRUE(scanned->IsComplete()) << sql;  // the ids were listed on the way
        EXPECT_EQ(values, ReadByPositions(*walked, 1)) << sql;
        EXPECT_EQ(scanned->FetchedRowCount(), walked->FetchedRowCount()) << sql;
        EXPECT_EQ(scanned->PositionOf(walked->RowIdAt(200)), 200) << sql;
    }
}

TEST_F(WindowedRowsTest, AColumnScanKeepsTheListAndTheCachedWindowsWhenOthersWrite)
{
    for (const char* sql : {"SELECT id, name FROM people ORDER BY name", "SELECT id, name, amount FROM people"}) {
        SCOPED_TRACE(sql);
        Exec(QStringLiteral("DROP TABLE IF EXISTS people"));
        MakePeople(1000);
        ExpectColumnScanReadsThePositionsAfterOthersWrite(QString::fromLatin1(sql));
    }
}

void WindowedRowsTest::ExpectColumnScanReadsThePositionsAfterOthersWrite(const QString& sql)
{
    auto source = Open(sql);
    ASSERT_TRUE(source->HasRow(20));
    const QString shown = source->Value(20, 1).ToString();
    source->FetchAll();  // the list as it is before the writes
    // Renamed in their places (a cached row and one not read yet), one row
    // deleted (the stepped rows stop matching the list there) and one added
    // after the list was read: the scan reads what the positions read.
    ASSERT_EQ(WriteFromOutside(QStringLiteral("UPDATE people SET name = name || '!' WHERE id IN (%1, %2); "
                                              "DELETE FROM people WHERE id = %3; "
                                              "INSERT INTO people(id, name) VALUES (5000, 'Q')")
                                   .arg(source->RowIdAt(20))
                                   .arg(source->RowIdAt(600))
                                   .arg(source->RowIdAt(800))),
              SQLITE_OK);
    const std::vector<QString> values = Scan(*source, 1);
    EXPECT_EQ(values, ReadByPositions(*source, 1));
    ASSERT_EQ(values.size(), 1000u);
    EXPECT_EQ(values[20], shown);  // as cached before the rename
    EXPECT_TRUE(values[600].endsWith(u'!'));
    EXPECT_EQ(values[800], QStringLiteral("null"));
    EXPECT_EQ(std::count(values.begin(), values.end(), QStringLiteral("Q")), 0);
}

TEST_F(WindowedRowsTest, AColumnScanVisitsAValueItsFieldCannotHoldAsNullThenRaises)
{
    Exec(QStringLiteral("CREATE TABLE m(id INTEGER PRIMARY KEY, price MONEY)"));
    Exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40) "
                        "INSERT INTO m SELECT i, CASE i WHEN 30 THEN 1e18 ELSE i END FROM n"));
    auto source = Open(QStringLiteral("SELECT price FROM m"), 8);
    std::vector<QString> values;
    try {
        source->ScanColumn(0, [&](const Variant& value) {
            values.push_back(value.IsNull() ? QStringLiteral("null") : value.ToString());
        });
        ADD_FAILURE() << "the value beyond the field's range was not reported";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("row 30"))) << error.Message().toStdString();
    }
    ASSERT_EQ(values.size(), 40u);
    EXPECT_EQ(values[29], QStringLiteral("null"));
    EXPECT_EQ(values[39], QStringLiteral("40"));
    EXPECT_TRUE(source->IsComplete());
}

TEST_F(WindowedRowsTest, WindowsOfCloseIdsReadOnlyTheirOwnRows)
{
    MakePeople(1000);
    // Every second id, backwards: each window spans its ids' range, with
    // rows of the table between that are not in the result.
    auto source = Open(QStringLiteral("SELECT id, name FROM people WHERE id % 2 = 0 ORDER BY id DESC"));
    qint64 position = 0;
    for (; source->HasRow(position); ++position) {
        const qint64 id = 1000 - 2 * position;
        ASSERT_EQ(source->Value(position, 0).ToInt64(), id) << position;
        ASSERT_EQ(source->Value(position, 1).ToString(), QStringLiteral("P%1").arg(id)) << position;
    }
    EXPECT_EQ(position, 500);
}

TEST_F(WindowedRowsTest, ValuesFollowTheSelectsOrderFilterExpressionsAndParameters)
{
    MakePeople(1000);
    auto source = Open(QStringLiteral("SELECT id, upper(name) AS shout, amount * :factor AS scaled FROM people "
                                      "WHERE id % 3 = 0 ORDER BY amount DESC"),
                       16, TRowFetching::Windows, {{QStringLiteral("factor"), Variant(2)}});
    ASSERT_EQ(source->RowCount(), 333);
    for (qint64 position : {0, 15, 16, 17, 200, 332}) {
        const qint64 id = 999 - 3 * position;
        ASSERT_TRUE(source->HasRow(position));
        EXPECT_EQ(source->RowIdAt(position), id);
        EXPECT_EQ(source->Value(position, 0).ToInt64(), id);
        EXPECT_EQ(source->Value(position, 1).ToString(), QStringLiteral("P%1").arg(id));
        EXPECT_DOUBLE_EQ(source->Value(position, 2).ToDouble(), id * 3.0);
        EXPECT_EQ(source->PositionOf(id), position);  // ids descend: the sorted index answers
    }
    EXPECT_EQ(source->PositionOf(998), -1);  // filtered out
    EXPECT_EQ(source->PositionOf(5000), -1);
    EXPECT_TRUE(source->FieldDefs()[1].ReadOnly);
}

TEST_F(WindowedRowsTest, RowsComeInTheOrderTheSteppedSelectGivesThemWhateverItsPlan)
{
    MakePeople(1000);
    Exec(QStringLiteral("UPDATE people SET name = 'Q' || (1000 - id)"));  // the name index runs against the rowid
    // A plain table scan, a covering index (the UNIQUE one on name), an
    // unordered filter and a sort with ties.
    for (const char* sql : {"SELECT * FROM people", "SELECT name FROM people", "SELECT name FROM people AS p",
                            "SELECT id, name FROM people WHERE name > 'Q5'", "SELECT id FROM people ORDER BY id % 10"}) {
        auto stepped = Open(QString::fromLatin1(sql), 16, TRowFetching::Stepping);
        auto windowed = Open(QString::fromLatin1(sql), 16);
        ASSERT_TRUE(windowed->Windowed()) << sql;
        ASSERT_EQ(windowed->RowCount(), stepped->RowCount()) << sql;
        for (qint64 position = 0; stepped->HasRow(position); ++position) {
            ASSERT_TRUE(windowed->HasRow(position)) << sql;
            ASSERT_EQ(windowed->RowIdAt(position), stepped->RowIdAt(position)) << sql << " at " << position;
            ASSERT_EQ(windowed->Value(position, 0).ToString(), stepped->Value(position, 0).ToString())
                << sql << " at " << position;
        }
    }
}

TEST_F(WindowedRowsTest, WindowsServeAliasesSchemasOddNamesAndLimits)
{
    MakePeople(1000);
    Exec(QStringLiteral("CREATE TABLE \"odd \"\"name\"\"\"(rowid TEXT, \"two words\" INTEGER)"));
    Exec(QStringLiteral("INSERT INTO \"odd \"\"name\"\"\" SELECT 'text ' || id, id FROM people"));
    auto aliased = Open(QStringLiteral("SELECT p.name, p.id FROM main.people AS p WHERE p.id > 10 "
                                       "ORDER BY p.id DESC LIMIT 500 OFFSET 20"));
    ASSERT_TRUE(aliased->Windowed());
    ASSERT_EQ(aliased->RowCount(), 500);
    ASSERT_TRUE(aliased->HasRow(499));
    EXPECT_EQ(aliased->Value(499, 0).ToString(), QStringLiteral("P481"));
    EXPECT_EQ(aliased->Value(100, 1).ToInt64(), 880);

    // A column named rowid: the rowid is reached under another name.
    auto odd = Open(QStringLiteral("SELECT rowid, \"two words\" FROM \"odd \"\"name\"\"\" ORDER BY \"two words\""));
    ASSERT_TRUE(odd->Windowed());
    ASSERT_TRUE(odd->HasRow(700));
    EXPECT_EQ(odd->Value(700, 0).ToString(), QStringLiteral("text 701"));
    EXPECT_EQ(odd->Value(700, 1).ToInt64(), 701);
}

TEST_F(WindowedRowsTest, MemoryStaysBoundedWhereverTheRowsAreRead)
{
    MakePeople(100000);
    Exec(QStringLiteral("UPDATE people SET name = printf('%0100d', id)"));
    const QString sql = QStringLiteral("SELECT name, amount FROM people");
    auto stepped = Open(sql, 16, TRowFetching::Stepping);
    stepped->FetchAll();
    auto windowed = Open(sql, 256);
    for (qint64 position = 0; windowed->HasRow(position); ++position)
        ASSERT_EQ(windowed->Value(position, 0).ToString().size(), 100);
    EXPECT_EQ(windowed->PositionOf(20000), 19999);
    // Ids (8 bytes a row) and at most 32 windows of 256 rows remain.
    EXPECT_LT(windowed->MemoryUsage(), stepped->MemoryUsage() / 3);
    EXPECT_LT(windowed->MemoryUsage(), 100000 * 8 + 32 * 256 * 200);
}

TEST_F(WindowedRowsTest, NoReadLockStaysOnTheFileBetweenCalls)
{
    MakePeople(3000);
    const QString sql = QStringLiteral("SELECT name FROM people ORDER BY id");
    {
        auto stepped = Open(sql, 16, TRowFetching::Stepping);
        ASSERT_TRUE(stepped->HasRow(1500));
        // The half-stepped read holds the file: the same write is refused.
        EXPECT_EQ(WriteFromOutside(QStringLiteral("UPDATE people SET name = 'Busy' WHERE id = 1")), SQLITE_BUSY);
    }
    auto source = Open(sql);
    ASSERT_TRUE(source->HasRow(3));
    EXPECT_EQ(WriteFromOutside(QStringLiteral("UPDATE people SET name = 'First' WHERE id = 1")), SQLITE_OK);
    ASSERT_TRUE(source->HasRow(1500));
    EXPECT_EQ(source->Value(1500, 0).ToString(), QStringLiteral("P1501"));
    EXPECT_EQ(WriteFromOutside(QStringLiteral("UPDATE people SET name = 'Later' WHERE id = 1602")), SQLITE_OK);
    // The window of 1601 was not cached yet: it reads the new value.
    EXPECT_EQ(source->Value(1601, 0).ToString(), QStringLiteral("Later"));
}

TEST_F(WindowedRowsTest, AQueryShowingAMiddleRowLetsOthersWriteAndRefreshShowsIt)
{
    MakePeople(3000);
    OpenDatabase();
    TQuery query;
    query.SetDatabase(&database_);
    query.SQL()->SetText(QStringLiteral("SELECT id, name FROM people ORDER BY name"));
    query.Open();
    ASSERT_TRUE(query.Locate(QStringLiteral("id"), Variant(1700), {}));
    ASSERT_EQ(WriteFromOutside(QStringLiteral("UPDATE people SET name = 'P1700 moved' WHERE id = 1700; "
                                              "DELETE FROM people WHERE id = 1")),
              SQLITE_OK);
    query.Refresh();
    EXPECT_EQ(query.FieldByName(QStringLiteral("id"))->AsInteger(), 1700);
    EXPECT_EQ(query.FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("P1700 moved"));
    EXPECT_EQ(query.RecordCount(), 2999);
}

TEST_F(WindowedRowsTest, WritesOnTheFirstScreenDoNotReadTheOtherRows)
{
    MakePeople(100000);
    Exec(QStringLiteral("UPDATE people SET born = printf('%080d', id)"));
    auto source = Open(QStringLiteral("SELECT id, name, amount, born FROM people ORDER BY id"), 64);
    ASSERT_TRUE(source->HasRow(5));
    source->UpdateRow(5, Row({6, "Renamed", 1.0, Variant()}), {false, true, true, false});
    EXPECT_EQ(source->Value(5, 1).ToString(), QStringLiteral("Renamed"));
    const qint64 inserted = source->InsertRow(2, Row({Variant(), "New", Variant(), Variant()}));
    EXPECT_EQ(inserted, 2);
    EXPECT_EQ(source->Value(2, 1).ToString(), QStringLiteral("New"));
    EXPECT_DOUBLE_EQ(source->Value(2, 2).ToDouble(), 7.5);  // read back: the table's default
    EXPECT_EQ(source->PositionOf(source->RowIdAt(2)), 2);
    source->DeleteRow(0);
    EXPECT_EQ(source->Value(0, 1).ToString(), QStringLiteral("P2"));
    EXPECT_EQ(source->RowCount(), 100000);
    // The ids were read (8 bytes a row, up to twice that as the list grows,
    // and as much again for the index of an order the insert broke); the
    // rows, 100 bytes each, only as far as shown.
    EXPECT_LT(source->MemoryUsage(), 3 * 100000 * 8 + 4 * 64 * 200);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT name FROM people WHERE id = 6")), QStringLiteral("Renamed"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM people")), QStringLiteral("100000"));
}

TEST_F(WindowedRowsTest, InsertsAndDeletesKeepPositionsAndIdsInAnyOrder)
{
    MakePeople(100);
    auto source = Open(QStringLiteral("SELECT id, name FROM people ORDER BY id DESC"), 8);
    ASSERT_EQ(source->RowCount(), 100);
    const qint64 at = source->InsertRow(50, Row({500, "Five hundred"}));
    EXPECT_EQ(at, 50);
    EXPECT_EQ(source->RowIdAt(50), 500);
    EXPECT_EQ(source->Value(49, 0).ToInt64(), 51);
    EXPECT_EQ(source->Value(50, 1).ToString(), QStringLiteral("Five hundred"));
    EXPECT_EQ(source->Value(51, 0).ToInt64(), 50);
    EXPECT_EQ(source->PositionOf(500), 50);
    EXPECT_EQ(source->PositionOf(1), 100);
    EXPECT_EQ(source->InsertRow(-1, Row({Variant(), "Last"})), 101);
    EXPECT_EQ(source->Value(101, 1).ToString(), QStringLiteral("Last"));

    source->DeleteRow(10);  // id 90
    EXPECT_EQ(source->PositionOf(90), -1);
    EXPECT_EQ(source->PositionOf(500), 49);
    EXPECT_EQ(source->Value(10, 0).ToInt64(), 89);
    // Writing the INTEGER PRIMARY KEY moves the row to another rowid.
    source->UpdateRow(0, Row({1000, "P100"}), {true, false});
    EXPECT_EQ(source->RowIdAt(0), 1000);
    EXPECT_EQ(source->PositionOf(1000), 0);
    EXPECT_EQ(source->PositionOf(100), -1);
    EXPECT_EQ(source->Value(0, 0).ToInt64(), 1000);
}

TEST_F(WindowedRowsTest, RowsDeletedByOthersReadNullUntilANewSourceDropsThem)
{
    MakePeople(200);
    const QString sql = QStringLiteral("SELECT id, name FROM people ORDER BY id");
    auto source = Open(sql);
    source->FetchAll();  // the ids, not the rows
    ASSERT_EQ(source->RowCount(), 200);
    ASSERT_EQ(WriteFromOutside(QStringLiteral("DELETE FROM people WHERE id IN (100, 101)")), SQLITE_OK);
    ASSERT_TRUE(source->HasRow(99));
    EXPECT_TRUE(source->Value(99, 0).IsNull());
    EXPECT_TRUE(source->Value(100, 1).IsNull());
    EXPECT_EQ(source->Value(98, 1).ToString(), QStringLiteral("P99"));
    EXPECT_EQ(source->Value(101, 1).ToString(), QStringLiteral("P102"));
    EXPECT_EQ(source->RowCount(), 200);
    EXPECT_THROW(source->UpdateRow(99, Row({100, "Gone"}), {false, true}), EDatabaseError);
    EXPECT_EQ(Open(sql)->RowCount(), 198);
}

TEST_F(WindowedRowsTest, ATableChangedBeforeTheIdsAreReadIsReadAsItIsThen)
{
    MakePeople(100);
    auto source = Open(QStringLiteral("SELECT id FROM people ORDER BY id"), 10);
    ASSERT_TRUE(source->HasRow(0));
    EXPECT_EQ(source->Value(0, 0).ToInt64(), 1);
    ASSERT_EQ(WriteFromOutside(QStringLiteral("DELETE FROM people WHERE id = 1")), SQLITE_OK);
    ASSERT_TRUE(source->HasRow(50));
    // The ids no longer begin as the first block did: every window reads anew.
    EXPECT_EQ(source->RowCount(), 99);
    EXPECT_EQ(source->Value(0, 0).ToInt64(), 2);
    EXPECT_EQ(source->Value(50, 0).ToInt64(), 52);
}

TEST_F(WindowedRowsTest, AValueItsFieldCannotHoldRaisesOnceWhenItsWindowIsReadThenReadsNull)
{
    Exec(QStringLiteral("CREATE TABLE m(id INTEGER PRIMARY KEY, price MONEY)"));
    Exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40) "
                        "INSERT INTO m SELECT i, CASE i WHEN 30 THEN 1e18 ELSE i END FROM n"));
    auto source = Open(QStringLiteral("SELECT price FROM m"), 8);
    ASSERT_TRUE(source->HasRow(20));
    EXPECT_EQ(source->Value(20, 0).ToBcd().ToString(), QStringLiteral("21"));
    try {
        source->HasRow(28);
        FAIL() << "a value beyond the currency range was stored";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(QLatin1String("'price', row 30"))) << error.Message().toStdString();
    }
    // Said once; the value reads Null, its neighbours as they are.
    EXPECT_TRUE(source->HasRow(28));
    EXPECT_TRUE(source->Value(29, 0).IsNull());
    EXPECT_EQ(source->Value(28, 0).ToBcd().ToString(), QStringLiteral("29"));
    EXPECT_TRUE(source->HasRow(39));
    EXPECT_EQ(source->Value(39, 0).ToBcd().ToString(), QStringLiteral("40"));
}

TEST_F(WindowedRowsTest, SwitchingTheDatabaseOffKeepsTheCachedWindowsReadable)
{
    MakePeople(100);
    auto source = Open(QStringLiteral("SELECT name FROM people ORDER BY id"), 10);
    ASSERT_TRUE(source->HasRow(55));
    database_.Close();
    EXPECT_FALSE(source->Connected());
    EXPECT_TRUE(source->HasRow(55));
    EXPECT_EQ(source->Value(55, 0).ToString(), QStringLiteral("P56"));
    EXPECT_FALSE(source->HasRow(70));
    EXPECT_TRUE(source->Value(70, 0).IsNull());
    EXPECT_THROW(source->DeleteRow(0), EDatabaseError);
}

}  // namespace
}  // namespace tk
