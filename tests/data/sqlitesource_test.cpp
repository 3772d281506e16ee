#include "toolkit/core/datetime.h"
#include "toolkit/core/dateutils.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/sqlitesource.h"
#include "toolkit/data/sqlitesourcesyntax.h"

#include "tests/data/sqlitesource_fixture.h"

#include "tests/support/expect_raises.h"
#include "tests/support/open_files.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

namespace tk {
namespace {

using test::MessageOf;

using test::SqliteFixture;

std::vector<Variant> Row(std::initializer_list<Variant> values)
{
    return std::vector<Variant>(values);
}

using test::DescriptorsOn;

class SqliteSourceTest : public SqliteFixture {
protected:
    // Writable single-table SELECTs are read in windows unless stepping is
    // asked for; the cases about stepping ask for it.
    std::unique_ptr<TSqliteRecordSource> Open(const QString& sql, const TSqlParameters& parameters = {},
                                              TRowFetching fetching = TRowFetching::Windows)
    {
        if (!database_.Active())
            OpenDatabase();
        return std::make_unique<TSqliteRecordSource>(&database_, sql, parameters, fetching);
    }
    std::unique_ptr<TSqliteRecordSource> OpenStepped(const QString& sql)
    {
        return Open(sql, {}, TRowFetching::Stepping);
    }
    // The names of all rows in the source's order.
    static QStringList Names(TSqliteRecordSource& source, int column)
    {
        QStringList names;
        for (qint64 row = 0; source.HasRow(row); ++row)
            names.append(source.Value(row, column).ToString());
        return names;
    }
};

TEST_F(SqliteSourceTest, OpeningALargeTableFetchesOnlyWhatIsAskedAndCountsWithoutFetching)
{
    MakePeople(100000);
    auto source = OpenStepped(QStringLiteral("SELECT * FROM people"));
    EXPECT_LE(source->FetchedRowCount(), 1);
    EXPECT_EQ(source->RowCount(), 100000);
    EXPECT_LE(source->FetchedRowCount(), 1);

    ASSERT_TRUE(source->HasRow(39));
    EXPECT_EQ(source->FetchedRowCount(), 40);
    EXPECT_FALSE(source->IsComplete());
    EXPECT_EQ(source->Value(39, 1).ToString(), QStringLiteral("P40"));

    EXPECT_FALSE(source->HasRow(100000));
    EXPECT_TRUE(source->IsComplete());
    EXPECT_EQ(source->FetchedRowCount(), 100000);
    EXPECT_EQ(source->Value(99999, 0).ToInt64(), 100000);
}

TEST_F(SqliteSourceTest, CountFollowsTheWhereClauseAndTheParameters)
{
    MakePeople(50);
    auto source = Open(QStringLiteral("SELECT name FROM people WHERE id > :low AND name <> :skip ORDER BY id DESC"),
                       {{QStringLiteral("LOW"), Variant(40)}, {QStringLiteral("skip"), Variant("P45")}});
    EXPECT_EQ(source->RowCount(), 9);
    EXPECT_EQ(Names(*source, 0).first(), QStringLiteral("P50"));
    EXPECT_FALSE(Names(*source, 0).contains(QStringLiteral("P45")));
}

TEST_F(SqliteSourceTest, CountingLeavesTheOrderOutButKeepsLimitsAndInnerOrders)
{
    MakePeople(50);
    // The count is the rows' whatever their order; LIMIT and OFFSET still
    // decide how many, and an inner ORDER BY with its LIMIT picks them.
    const struct {
        const char* sql;
        qint64 count;
    } cases[] = {
        {"SELECT * FROM people ORDER BY name DESC", 50},
        {"select * from people order by (id % 7), name limit 10 offset 45;", 5},
        {"SELECT * FROM people ORDER BY id LIMIT 3", 3},
        {"SELECT * FROM (SELECT * FROM people ORDER BY id DESC LIMIT 4) ORDER BY name", 4},
        {"SELECT id, (SELECT count(*) FROM people p ORDER BY 1) FROM people WHERE name <> 'order by' ORDER BY 2", 50},
        {"SELECT * FROM people -- ORDER BY id LIMIT 1\n", 50},
    };
    for (const auto& c : cases) {
        auto source = OpenStepped(QString::fromLatin1(c.sql));
        EXPECT_EQ(source->RowCount(), c.count) << c.sql;
        EXPECT_EQ(Open(QString::fromLatin1(c.sql))->RowCount(), c.count) << c.sql;
        EXPECT_LE(source->FetchedRowCount(), 1) << c.sql;
    }
}

TEST(SqliteSourceSyntax, OrderByColumnNumbersMoveAndEverythingElseStays)
{
    const struct {
        const char* sql;
        const char* shifted;
    } cases[] = {
        {"SELECT a, b FROM t ORDER BY 2", "SELECT a, b FROM t ORDER BY 3"},
        {"SELECT a, b FROM t ORDER BY 2 DESC, a, 1 COLLATE NOCASE ASC LIMIT 5",
         "SELECT a, b FROM t ORDER BY 3 DESC, a, 2 COLLATE NOCASE ASC LIMIT 5"},
        {"SELECT a FROM t ORDER BY 9 NULLS LAST;", "SELECT a FROM t ORDER BY 10 NULLS LAST"},
        // Expressions, constants in functions, limits and inner orders stay.
        {"SELECT a FROM t ORDER BY 2 + 0, abs(1), 2.5 LIMIT 2 OFFSET 1",
         "SELECT a FROM t ORDER BY 2 + 0, abs(1), 2.5 LIMIT 2 OFFSET 1"},
        {"SELECT a FROM t WHERE b = 2 ORDER BY a", "SELECT a FROM t WHERE b = 2 ORDER BY a"},
        {"SELECT a FROM t WHERE b = '-- ORDER BY 1'", "SELECT a FROM t WHERE b = '-- ORDER BY 1'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WithOrderByOrdinalsShifted(QString::fromLatin1(c.sql), 1), QString::fromLatin1(c.shifted)) << c.sql;
}

TEST_F(SqliteSourceTest, OrderByColumnNumbersNameTheSelectsOwnColumns)
{
    MakePeople(300);
    for (TRowFetching fetching : {TRowFetching::Stepping, TRowFetching::Windows}) {
        auto source = Open(QStringLiteral("SELECT name, amount FROM people ORDER BY 2 DESC"), {}, fetching);
        ASSERT_TRUE(source->HasRow(299));
        EXPECT_EQ(source->Value(0, 0).ToString(), QStringLiteral("P300"));
        EXPECT_EQ(source->Value(299, 0).ToString(), QStringLiteral("P1"));
        EXPECT_TRUE(source->CanModify());
    }
}

TEST_F(SqliteSourceTest, AParameterWithoutValueRaises)
{
    MakePeople(1);
    EXPECT_THROW(Open(QStringLiteral("SELECT * FROM people WHERE id = :id")), EDatabaseError);
    EXPECT_THROW(Open(QStringLiteral("SELECT * FROM people WHERE id = :id"), {{QStringLiteral("id"), Variant()}}),
                 EDatabaseError);
    EXPECT_THROW(Open(QStringLiteral("SELECT * FROM people WHERE id = ?")), EDatabaseError);
}

struct TypeCase {
    const char* declared;
    TFieldType type;
    int size;
};

class SqliteSourceTypeTest : public SqliteSourceTest, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(SqliteSourceTypeTest, DeclaredTypeGivesFieldTypeAndSize)
{
    Exec(QStringLiteral("CREATE TABLE t(c %1)").arg(QLatin1String(GetParam().declared)));
    auto source = Open(QStringLiteral("SELECT c FROM t"));
    ASSERT_EQ(source->FieldDefs().size(), 1u);
    EXPECT_EQ(EnumName(source->FieldDefs()[0].DataType), EnumName(GetParam().type));
    EXPECT_EQ(source->FieldDefs()[0].Size, GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Types, SqliteSourceTypeTest,
    ::testing::Values(TypeCase{"INTEGER", ftLargeint, 0}, TypeCase{"int", ftLargeint, 0},
                      TypeCase{"SMALLINT", ftLargeint, 0}, TypeCase{"TINYINT", ftLargeint, 0},
                      TypeCase{"BIGINT", ftLargeint, 0}, TypeCase{"UNSIGNED BIG INT", ftLargeint, 0},
                      TypeCase{"BOOLINT", ftBoolean, 0}, TypeCase{"INTEGER PRIMARY KEY", ftLargeint, 0},
                      TypeCase{"REAL", ftFloat, 0}, TypeCase{"DOUBLE PRECISION", ftFloat, 0},
                      TypeCase{"VARCHAR(40)", ftString, 40}, TypeCase{"TEXT", ftString, 0},
                      TypeCase{"CLOB", ftMemo, 0}, TypeCase{"BLOB", ftBlob, 0}, TypeCase{"DATE", ftDate, 0},
                      TypeCase{"TIME", ftTime, 0}, TypeCase{"DATETIME", ftDateTime, 0},
                      TypeCase{"TIMESTAMP", ftDateTime, 0}, TypeCase{"BOOLEAN", ftBoolean, 0},
                      TypeCase{"DECIMAL(12,2)", ftBCD, 2}, TypeCase{"MONEY", ftBCD, 4},
                      TypeCase{"NUMERIC(18,6)", ftFMTBcd, 6}));

struct NumberDateCase {
    const char* name;
    double number;
    bool julian;  // else Unix seconds
};

class SqliteNumberDateTest : public ::testing::TestWithParam<NumberDateCase> {};

TEST_P(SqliteNumberDateTest, JulianDaysBelowTheLimitUnixSecondsOtherwise)
{
    const NumberDateCase& c = GetParam();
    const std::optional<TDateTime> value = DateTimeFromSqliteNumber(c.number);
    ASSERT_TRUE(value.has_value());
    const TDateTime expected =
        c.julian ? c.number - 2415018.5
                 : DateTimeFromQDateTime(
                       QDateTime::fromMSecsSinceEpoch(qint64(c.number * 1000), Qt::UTC).toLocalTime());
    EXPECT_NEAR(*value, expected, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, SqliteNumberDateTest,
    ::testing::Values(NumberDateCase{"Zero", 0.0, true}, NumberDateCase{"Year2000", 2451544.5, true},
                      NumberDateCase{"JustBelowLimit", 5373484.49, true},
                      NumberDateCase{"Limit", 5373484.5, false}, NumberDateCase{"MinusOne", -1.0, false},
                      NumberDateCase{"MinusHalf", -0.5, false},
                      NumberDateCase{"Unix2024", 1706704215.0, false},
                      NumberDateCase{"LastSecondOf9999", 253402300799.0, false}),
    [](const ::testing::TestParamInfo<NumberDateCase>& info) { return std::string(info.param.name); });

TEST(SqliteNumberDate, EndsOfTheReadableRange)
{
    // Julian day 0 is -4713-11-24 12:00; Unix seconds after 9999 or before
    // that day are no date.
    EXPECT_NEAR(*DateTimeFromSqliteNumber(2451544.5), EncodeDate(2000, 1, 1), 1e-9);
    EXPECT_NEAR(*DateTimeFromSqliteNumber(0.0) - *DateTimeFromSqliteNumber(1.0), -1.0, 1e-9);
    EXPECT_FALSE(DateTimeFromSqliteNumber(253402300800.0).has_value());
    EXPECT_FALSE(DateTimeFromSqliteNumber(-210866760001.0).has_value());
    EXPECT_FALSE(DateTimeFromSqliteNumber(1e300).has_value());
}

TEST_F(SqliteSourceTest, NumericDatesFollowSqlitesAutoRule)
{
    Exec(QStringLiteral("CREATE TABLE n(id INTEGER PRIMARY KEY, at DATETIME, day DATE);"
                        "INSERT INTO n VALUES (1, 2460341.25, 2460341.25), (2, 1706704215, 1706704215),"
                        " (3, 1e15, 1e15)"));
    auto source = Open(QStringLiteral("SELECT at, day FROM n ORDER BY id"));
    source->FetchAll();
    EXPECT_NEAR(source->Value(0, 0).ToDateTime(), EncodeDate(2024, 1, 31) + 0.75, 1e-9);
    EXPECT_EQ(source->Value(0, 1).ToDateTime(), EncodeDate(2024, 1, 31));
    const TDateTime local =
        DateTimeFromQDateTime(QDateTime::fromSecsSinceEpoch(1706704215, Qt::UTC).toLocalTime());
    EXPECT_NEAR(source->Value(1, 0).ToDateTime(), local, 1e-9);
    EXPECT_EQ(source->Value(1, 1).ToDateTime(), DateOf(local));
    EXPECT_TRUE(source->Value(2, 0).IsNull());
    EXPECT_TRUE(source->Value(2, 1).IsNull());
}

TEST_F(SqliteSourceTest, AValueItsFieldCannotHoldStopsTheRowsBeforeIt)
{
    Exec(QStringLiteral("CREATE TABLE m(id INTEGER PRIMARY KEY, price MONEY);"
                        "INSERT INTO m VALUES (1, 12.5), (2, 1e18), (3, 1)"));
    auto source = OpenStepped(QStringLiteral("SELECT price FROM m ORDER BY id"));
    ASSERT_TRUE(source->HasRow(0));
    try {
        source->FetchAll();
        FAIL() << "a value beyond the currency range was stored";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(QLatin1String("'price', row 2")))
            << error.Message().toStdString();
    }
    EXPECT_TRUE(source->IsComplete());
    EXPECT_EQ(source->FetchedRowCount(), 1);
    EXPECT_EQ(source->Value(0, 0).ToBcd().ToString(), QStringLiteral("12.5"));
    EXPECT_FALSE(source->HasRow(1));
}

TEST_F(SqliteSourceTest, ValuesKeepNullsTextBytesDatesAndBooleans)
{
    Exec(QStringLiteral("CREATE TABLE v(id INTEGER PRIMARY KEY, s TEXT, b BLOB, d DATE, dt DATETIME, tm TIME, "
                        "f BOOLEAN, m DECIMAL(10,2))"));
    Exec(QStringLiteral("INSERT INTO v VALUES (1, 'Año ñandú 北京 ✓', x'00FF0041', '2024-02-29', "
                        "'2024-02-29 13:45:10.250', '08:30:00', 1, '12.35')"));
    Exec(QStringLiteral("INSERT INTO v VALUES (2, NULL, NULL, NULL, NULL, NULL, NULL, NULL)"));
    // Julian day numbers (as written by julianday()) and Booleans as text.
    Exec(QStringLiteral("INSERT INTO v VALUES (3, '', x'', julianday('2000-01-01'), julianday('2000-01-01 06:00'), "
                        "NULL, 'false', 7)"));
    Exec(QStringLiteral("INSERT INTO v VALUES (4, 'x', NULL, 'not a date', NULL, NULL, 'true', NULL)"));
    auto source = Open(QStringLiteral("SELECT s, b, d, dt, tm, f, m FROM v ORDER BY id"));
    source->FetchAll();

    EXPECT_EQ(source->Value(0, 0).ToString(), QStringLiteral("Año ñandú 北京 ✓"));
    EXPECT_EQ(source->Value(0, 1).ToBytes(), QByteArray("\x00\xff\x00\x41", 4));
    EXPECT_DOUBLE_EQ(source->Value(0, 2).ToDateTime(), EncodeDate(2024, 2, 29));
    EXPECT_NEAR(source->Value(0, 3).ToDateTime(), EncodeDate(2024, 2, 29) + EncodeTime(13, 45, 10, 250), 1e-9);
    EXPECT_NEAR(source->Value(0, 4).ToDateTime(), EncodeTime(8, 30, 0, 0), 1e-9);
    EXPECT_TRUE(source->Value(0, 5).ToBoolean());
    EXPECT_EQ(source->Value(0, 6).ToBcd().ToString(), QStringLiteral("12.35"));

    for (int column = 0; column < 7; ++column)
        EXPECT_TRUE(source->Value(1, column).IsNull()) << column;

    EXPECT_FALSE(source->Value(2, 0).IsNull());
    EXPECT_EQ(source->Value(2, 0).ToString(), QString());
    EXPECT_FALSE(source->Value(2, 1).IsNull());
    EXPECT_DOUBLE_EQ(source->Value(2, 2).ToDateTime(), EncodeDate(2000, 1, 1));
    EXPECT_NEAR(source->Value(2, 3).ToDateTime(), EncodeDate(2000, 1, 1) + 0.25, 1e-9);
    EXPECT_FALSE(source->Value(2, 5).ToBoolean());
    EXPECT_EQ(source->Value(2, 6).ToBcd().ToString(), QStringLiteral("7"));

    EXPECT_TRUE(source->Value(3, 2).IsNull());
    EXPECT_TRUE(source->Value(3, 5).ToBoolean());
}

TEST_F(SqliteSourceTest, ExpressionColumnsTakeTheirTypeFromTheFirstRowAndAreReadOnly)
{
    MakePeople(3);
    auto source = Open(QStringLiteral("SELECT id, name || '!' AS shout, amount * 2 AS twice, id * 10 AS big "
                                      "FROM people"),
                       {}, TRowFetching::Stepping);
    ASSERT_TRUE(source->CanModify());
    EXPECT_EQ(source->FieldDefs()[1].DataType, ftString);
    EXPECT_EQ(source->FieldDefs()[2].DataType, ftFloat);
    EXPECT_EQ(source->FieldDefs()[3].DataType, ftLargeint);
    EXPECT_TRUE(source->FieldDefs()[1].ReadOnly);
    EXPECT_FALSE(source->FieldDefs()[0].ReadOnly);
    EXPECT_EQ(source->Value(0, 1).ToString(), QStringLiteral("P1!"));
    EXPECT_EQ(source->RowCount(), 3);
    EXPECT_EQ(source->FetchedRowCount(), 1);  // the one row its types needed
    EXPECT_THROW(source->UpdateRow(0, Row({1, "x", 0.0, 0}), {false, true, false, false}), EDatabaseError);
}

TEST_F(SqliteSourceTest, SingleTableSelectsWriteBackByRowid)
{
    MakePeople(5);
    auto source = Open(QStringLiteral("SELECT name, amount, born FROM people WHERE id <= 3"));
    ASSERT_TRUE(source->CanModify());
    EXPECT_EQ(source->TableName(), QStringLiteral("people"));
    ASSERT_TRUE(source->HasRow(1));
    EXPECT_EQ(source->RowIdAt(1), 2);

    source->UpdateRow(1, Row({"Ana", 10.0, Variant::FromDate(EncodeDate(1990, 5, 17))}), {true, false, true});
    EXPECT_EQ(Scalar(QStringLiteral("SELECT name || '/' || amount || '/' || born FROM people WHERE id = 2")),
              QStringLiteral("Ana/3.0/1990-05-17"));
    EXPECT_EQ(source->Value(1, 0).ToString(), QStringLiteral("Ana"));
    EXPECT_DOUBLE_EQ(source->Value(1, 1).ToDouble(), 3.0);  // not written: unchanged

    // An insert leaves out unassigned columns, so the default shows.
    const qint64 at = source->InsertRow(1, Row({"Bea", Variant(), Variant::NullValue()}));
    EXPECT_EQ(at, 1);
    EXPECT_EQ(source->Value(1, 0).ToString(), QStringLiteral("Bea"));
    EXPECT_DOUBLE_EQ(source->Value(1, 1).ToDouble(), 7.5);
    EXPECT_EQ(source->Value(2, 0).ToString(), QStringLiteral("Ana"));
    EXPECT_EQ(source->RowCount(), 4);
    const TRowId bea = source->RowIdAt(1);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT name FROM people WHERE rowid = %1").arg(bea)), QStringLiteral("Bea"));

    const qint64 last = source->InsertRow(-1, Row({"Cid", 1.0, Variant()}));
    EXPECT_EQ(last, 4);

    source->DeleteRow(0);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM people WHERE name = 'P1'")), QStringLiteral("0"));
    EXPECT_EQ(source->RowCount(), 4);
    EXPECT_EQ(source->PositionOf(bea), 0);
    EXPECT_EQ(source->PositionOf(3), 2);
    EXPECT_EQ(source->PositionOf(1), -1);
    EXPECT_EQ(Names(*source, 0), (QStringList{"Bea", "Ana", "P3", "Cid"}));
}

TEST_F(SqliteSourceTest, ReadBackShowsWhatTheColumnAffinityStored)
{
    Exec(QStringLiteral("CREATE TABLE n(id INTEGER PRIMARY KEY, qty INTEGER, code TEXT)"));
    auto source = Open(QStringLiteral("SELECT qty, code FROM n"));
    source->InsertRow(-1, Row({"42", 17}));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT typeof(qty) || typeof(code) FROM n")), QStringLiteral("integertext"));
    EXPECT_EQ(source->Value(0, 0).ToInt64(), 42);
    EXPECT_EQ(source->Value(0, 1).ToString(), QStringLiteral("17"));
}

TEST_F(SqliteSourceTest, ReadOnlyShapesRefuseWrites)
{
    MakePeople(3);
    Exec(QStringLiteral("CREATE TABLE pets(owner INTEGER, pet TEXT)"));
    Exec(QStringLiteral("INSERT INTO pets VALUES (1, 'cat'), (1, 'dog')"));
    Exec(QStringLiteral("CREATE VIEW rich AS SELECT name, amount FROM people WHERE amount > 2"));
    Exec(QStringLiteral("CREATE TABLE codes(k TEXT PRIMARY KEY, v TEXT) WITHOUT ROWID"));
    Exec(QStringLiteral("INSERT INTO codes VALUES ('a', 'x')"));
    for (const char* sql : {"SELECT name, pet FROM people JOIN pets ON owner = id",
                            "SELECT name FROM people, pets WHERE owner = id",
                            "SELECT name FROM people WHERE id IN (SELECT owner FROM pets)",
                            "SELECT count(*) FROM people", "SELECT max(amount), name FROM people",
                            "SELECT DISTINCT name FROM people", "SELECT name FROM people GROUP BY name",
                            "SELECT name FROM people UNION SELECT pet FROM pets", "SELECT * FROM rich",
                            "SELECT * FROM codes"}) {
        auto source = Open(QString::fromUtf8(sql));
        EXPECT_FALSE(source->CanModify()) << sql;
        ASSERT_TRUE(source->HasRow(0)) << sql;
        EXPECT_EQ(source->RowIdAt(0), 0) << sql;  // the fetch ordinal
        EXPECT_EQ(source->PositionOf(0), 0) << sql;
        EXPECT_EQ(MessageOf<EDatabaseError>([&] { source->DeleteRow(0); }),
                  QStringLiteral("Cannot modify a read-only dataset"))
            << sql;
        EXPECT_THROW(source->InsertRow(-1, std::vector<Variant>(source->ColumnNames().size())), EDatabaseError);
    }
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM people")), QStringLiteral("3"));
}

TEST_F(SqliteSourceTest, SingleTableShapesWithAliasesSchemasAndClausesStayWritable)
{
    MakePeople(5);
    for (const char* sql : {"SELECT * FROM people", "SELECT p.name FROM people p WHERE p.id IN (1, 2) ORDER BY p.id",
                            "SELECT name AS label FROM main.people AS x LIMIT 2 OFFSET 1",
                            "SELECT name FROM \"people\" WHERE name <> 'a JOIN b, (SELECT 1)' ORDER BY id DESC, name",
                            "select name from people where (id > 1 and (amount < 100))"}) {
        auto source = Open(QString::fromUtf8(sql));
        EXPECT_TRUE(source->CanModify()) << sql;
        EXPECT_EQ(source->TableName(), QStringLiteral("people")) << sql;
        ASSERT_TRUE(source->HasRow(0)) << sql;
        const TRowId id = source->RowIdAt(0);
        std::vector<bool> changed(source->ColumnNames().size(), false);
        std::vector<Variant> values(source->ColumnNames().size());
        const int name = source->ColumnIndex(source->ColumnIndex(QStringLiteral("label")) >= 0 ? QStringLiteral("label")
                                                                                              : QStringLiteral("name"));
        changed[name] = true;
        values[name] = Variant(QStringLiteral("W%1").arg(id));
        source->UpdateRow(0, values, changed);
        EXPECT_EQ(Scalar(QStringLiteral("SELECT name FROM people WHERE id = %1").arg(id)), QStringLiteral("W%1").arg(id))
            << sql;
    }
}

TEST_F(SqliteSourceTest, AReadOnlyDatabaseGivesReadOnlySources)
{
    MakePeople(2);
    OpenDatabase(true);
    auto source = Open(QStringLiteral("SELECT * FROM people"));
    EXPECT_FALSE(source->CanModify());
    EXPECT_THROW(source->UpdateRow(0, Row({1, "x", 1.0, Variant()}), {false, true, false, false}), EDatabaseError);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT name FROM people WHERE id = 1")), QStringLiteral("P1"));
}

// Each failure comes from SQLite after the source decided to write; the
// cached rows and the file must be as before.
TEST_F(SqliteSourceTest, FailingWritesChangeNeitherTheRowsNorTheFile)
{
    MakePeople(3);
    auto source = Open(QStringLiteral("SELECT id, name, amount FROM people ORDER BY id"));
    source->FetchAll();
    auto expectUnchanged = [&] {
        EXPECT_EQ(source->RowCount(), 3);
        EXPECT_EQ(Names(*source, 1), (QStringList{"P1", "P2", "P3"}));
        EXPECT_EQ(Scalar(QStringLiteral("SELECT group_concat(name) FROM people")), QStringLiteral("P1,P2,P3"));
    };

    // Constraints: UNIQUE on update, NOT NULL on insert.
    try {
        source->UpdateRow(0, Row({1, "P2", 1.5}), {false, true, false});
        ADD_FAILURE() << "duplicate name accepted";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("UNIQUE constraint failed"))) << error.Message().toStdString();
    }
    EXPECT_THROW(source->InsertRow(-1, Row({Variant(), Variant::NullValue(), 1.0})), EDatabaseError);
    expectUnchanged();

    // A value that does not convert to the column's type fails before SQLite.
    EXPECT_THROW(source->UpdateRow(0, Row({1, "Q", "lots"}), {false, true, true}), EConvertError);
    expectUnchanged();

    // Another connection holds the write lock: SQLite answers busy.
    Exec(QStringLiteral("BEGIN EXCLUSIVE"));
    EXPECT_THROW(source->DeleteRow(2), EDatabaseError);
    Exec(QStringLiteral("COMMIT"));
    expectUnchanged();

    // The connection refuses writes (as for a file that cannot be written).
    char* error = nullptr;
    sqlite3_exec(database_.Handle(), "PRAGMA query_only = ON", nullptr, nullptr, &error);
    sqlite3_free(error);
    EXPECT_THROW(source->InsertRow(-1, Row({Variant(), "New", 1.0})), EDatabaseError);
    expectUnchanged();
}

TEST_F(SqliteSourceTest, WritingWhileAReadIsHalfSteppedKeepsEveryRowOnce)
{
    MakePeople(5000);
    auto source = Open(QStringLiteral("SELECT id, name, amount FROM people"));
    auto other = OpenStepped(QStringLiteral("SELECT id, name FROM people ORDER BY id DESC"));
    ASSERT_TRUE(source->HasRow(10));
    ASSERT_TRUE(other->HasRow(10));
    ASSERT_FALSE(other->IsComplete());

    // Moving a fetched row to the end of the rowid order must not make the
    // still-running read return it a second time.
    source->UpdateRow(3, Row({100000, "P4", 1e9}), {true, false, true});
    EXPECT_EQ(source->RowIdAt(3), 100000);
    EXPECT_EQ(source->PositionOf(100000), 3);
    EXPECT_TRUE(source->IsComplete());
    EXPECT_TRUE(other->IsComplete());  // the other read was finished first
    EXPECT_EQ(source->FetchedRowCount(), 5000);
    EXPECT_EQ(other->FetchedRowCount(), 5000);
    EXPECT_DOUBLE_EQ(source->Value(3, 2).ToDouble(), 1e9);
    EXPECT_EQ(source->Value(4, 0).ToInt64(), 5);
    EXPECT_EQ(source->Value(4999, 0).ToInt64(), 5000);
}

TEST_F(SqliteSourceTest, OddTableAndColumnNamesAreQuoted)
{
    Exec(QStringLiteral("CREATE TABLE [my \"odd\" table] (\"select\" TEXT, [two words] INTEGER, rowid TEXT)"));
    Exec(QStringLiteral("INSERT INTO [my \"odd\" table] VALUES ('a', 1, 'not the rowid')"));
    auto source = Open(QStringLiteral("SELECT \"select\", \"two words\", rowid FROM \"my \"\"odd\"\" table\""));
    ASSERT_TRUE(source->CanModify());
    ASSERT_TRUE(source->HasRow(0));
    EXPECT_EQ(source->TableName(), QStringLiteral("my \"odd\" table"));
    EXPECT_EQ(source->RowIdAt(0), 1);
    EXPECT_EQ(source->Value(0, 2).ToString(), QStringLiteral("not the rowid"));
    source->UpdateRow(0, Row({"b", 2, "still text"}), {true, true, true});
    source->InsertRow(-1, Row({"c", 3, Variant()}));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT group_concat(\"select\" || [two words] || ifnull(rowid, '-')) "
                                    "FROM [my \"odd\" table]")),
              QStringLiteral("b2still text,c3-"));
}

TEST_F(SqliteSourceTest, PositionOfFindsUnfetchedRowsAndRejectsMissingOnesWithoutWalking)
{
    MakePeople(20000);
    auto source = OpenStepped(QStringLiteral("SELECT name FROM people WHERE id % 2 = 0 ORDER BY id"));
    ASSERT_TRUE(source->HasRow(0));
    EXPECT_EQ(source->PositionOf(2), 0);
    EXPECT_EQ(source->PositionOf(3), -1);  // outside the WHERE clause
    EXPECT_EQ(source->PositionOf(999999), -1);
    EXPECT_LE(source->FetchedRowCount(), 2);
    EXPECT_EQ(source->PositionOf(200), 99);
    EXPECT_EQ(source->FetchedRowCount(), 100);
}

TEST_F(SqliteSourceTest, SwitchingTheDatabaseOffReleasesTheFileAndKeepsFetchedRows)
{
    MakePeople(1000);
    auto source = OpenStepped(QStringLiteral("SELECT name FROM people ORDER BY id"));
    ASSERT_TRUE(source->HasRow(9));
    sqlite3_close(own_);
    own_ = nullptr;
    database_.Close();
    EXPECT_EQ(DescriptorsOn(path_), 0);
    EXPECT_FALSE(source->Connected());
    EXPECT_EQ(source->Value(9, 0).ToString(), QStringLiteral("P10"));
    EXPECT_FALSE(source->HasRow(10));
    EXPECT_EQ(source->RowCount(), 10);
    EXPECT_FALSE(source->CanModify());
    EXPECT_THROW(source->DeleteRow(0), EDatabaseError);
    sqlite3_open(path_.toUtf8().constData(), &own_);
}

TEST_F(SqliteSourceTest, ASourceOutlivingItsDatabaseKeepsItsRowsAndRaisesOnWrites)
{
    MakePeople(3);
    auto database = std::make_unique<TDatabase>();
    database->SetDatabaseName(path_);
    database->Open();
    TSqliteRecordSource source(database.get(), QStringLiteral("SELECT name FROM people ORDER BY id"), {},
                               TRowFetching::Stepping);
    ASSERT_TRUE(source.HasRow(0));
    database.reset();
    EXPECT_FALSE(source.Connected());
    EXPECT_EQ(source.Value(0, 0).ToString(), QStringLiteral("P1"));
    EXPECT_FALSE(source.HasRow(1));
    EXPECT_THROW(source.InsertRow(-1, Row({"x"})), EDatabaseError);
}

TEST_F(SqliteSourceTest, BadStatementsRaiseWithSqlitesReason)
{
    MakePeople(1);
    try {
        Open(QStringLiteral("SELECT nope FROM people"));
        ADD_FAILURE();
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("no such column: nope")));
    }
    EXPECT_THROW(Open(QStringLiteral("SELECT 1; SELECT 2")), EDatabaseError);
    EXPECT_THROW(Open(QStringLiteral("DELETE FROM people")), EDatabaseError);
    EXPECT_THROW(Open(QStringLiteral("  ;  ")), EDatabaseError);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM people")), QStringLiteral("1"));
    // A trailing semicolon and comment are fine.
    EXPECT_EQ(Open(QStringLiteral("SELECT * FROM people; -- all"))->RowCount(), 1);
    database_.Close();
    EXPECT_THROW(TSqliteRecordSource(&database_, QStringLiteral("SELECT 1")), EDatabaseError);
}

}  // namespace
}  // namespace tk
