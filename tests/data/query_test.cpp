#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"
#include "toolkit/data/field.h"
#include "toolkit/data/query.h"

#include "tests/data/sqlitesource_fixture.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

class QueryTest : public test::SqliteFixture {
protected:
    QueryTest()
    {
        MakePeople(1000);
        query_.SetDatabase(&OpenDatabase());
    }
    void SetSql(const QString& sql) { query_.SQL()->SetText(sql); }

    TQuery query_;
};

TEST_F(QueryTest, OpensOnDemandWithAnExactRecordCount)
{
    SetSql(QStringLiteral("SELECT id, name FROM people ORDER BY id"));
    query_.Open();
    EXPECT_EQ(query_.FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("P1"));
    EXPECT_EQ(query_.RecordCount(), 1000);
    query_.Last();
    EXPECT_EQ(query_.FieldByName(QStringLiteral("id"))->AsInteger(), 1000);
    EXPECT_EQ(query_.RecNo(), 1000);
}

TEST_F(QueryTest, ParametersBindByNameAndUnknownNamesRaise)
{
    SetSql(QStringLiteral("SELECT name FROM people WHERE id BETWEEN :low AND :HIGH ORDER BY id"));
    ASSERT_EQ(query_.Params()->Count(), 2);
    query_.ParamByName(QStringLiteral("LOW"))->SetValue(Variant(10));
    query_.ParamByName(QStringLiteral("high"))->SetValue(Variant(12));
    EXPECT_THROW(query_.ParamByName(QStringLiteral("nope")), EDatabaseError);
    query_.Open();
    EXPECT_EQ(query_.RecordCount(), 3);
    EXPECT_EQ(query_.FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("P10"));
    query_.Close();

    // A parameter that keeps its name keeps its value (and its object).
    TParam* low = query_.ParamByName(QStringLiteral("low"));
    SetSql(QStringLiteral("SELECT name FROM people WHERE id >= :low AND name <> :skip"));
    EXPECT_EQ(query_.ParamByName(QStringLiteral("low")), low);
    EXPECT_EQ(low->Value().ToInt(), 10);
    EXPECT_THROW(query_.ParamByName(QStringLiteral("high")), EDatabaseError);
    // Opening without a value for :skip fails and leaves the query closed.
    EXPECT_THROW(query_.Open(), EDatabaseError);
    EXPECT_FALSE(query_.Active());
}

TEST_F(QueryTest, ParameterNamesInStringsCommentsAndQuotedNamesDoNotCount)
{
    Exec(QStringLiteral("CREATE TABLE \"odd:col\"(v TEXT)"));
    Exec(QStringLiteral("INSERT INTO \"odd:col\" VALUES (':x'), ('y')"));
    SetSql(QStringLiteral("SELECT v FROM \"odd:col\" -- :comment\n"
                          "WHERE v <> ':x' /* :block */ AND v = :wanted"));
    ASSERT_EQ(query_.Params()->Count(), 1);
    EXPECT_EQ(query_.Params()->Items(0)->Name(), QStringLiteral("wanted"));
    query_.ParamByName(QStringLiteral("wanted"))->SetValue(Variant("y"));
    query_.Open();
    EXPECT_EQ(query_.RecordCount(), 1);
    EXPECT_TRUE(query_.CanModify());
}

TEST_F(QueryTest, ChangingTheSqlWhileOpenReopensOnTheSameRecord)
{
    SetSql(QStringLiteral("SELECT id, name FROM people ORDER BY id"));
    query_.Open();
    query_.MoveBy(41);
    ASSERT_EQ(query_.FieldByName(QStringLiteral("id"))->AsInteger(), 42);
    SetSql(QStringLiteral("SELECT id, name, amount FROM people ORDER BY id DESC"));
    ASSERT_TRUE(query_.Active());
    EXPECT_EQ(query_.FieldCount(), 3);
    EXPECT_EQ(query_.FieldByName(QStringLiteral("id"))->AsInteger(), 42);
    EXPECT_EQ(query_.RecNo(), 1000 - 41);

    // Closed: the text is only kept.
    query_.Close();
    SetSql(QStringLiteral("SELECT broken FROM nowhere"));
    EXPECT_FALSE(query_.Active());
    EXPECT_THROW(query_.Open(), EDatabaseError);
}

TEST_F(QueryTest, SingleTableQueriesEditAndOthersAreReadOnly)
{
    SetSql(QStringLiteral("SELECT id, name, amount FROM people WHERE id <= 3 ORDER BY id"));
    query_.Open();
    ASSERT_TRUE(query_.CanModify());
    query_.Edit();
    query_.FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Zoë"));
    query_.Post();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT name FROM people WHERE id = 1")), QStringLiteral("Zoë"));
    query_.Append();
    query_.FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("New"));
    query_.Post();
    EXPECT_EQ(query_.FieldByName(QStringLiteral("amount"))->AsFloat(), 7.5);  // the column default, read back
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM people")), QStringLiteral("1001"));
    query_.Close();

    SetSql(QStringLiteral("SELECT p.name, count(*) AS n FROM people p JOIN people q ON q.id < p.id "
                          "WHERE p.id < 4 GROUP BY p.name"));
    query_.Open();
    EXPECT_FALSE(query_.CanModify());
    EXPECT_THROW(query_.Edit(), EDatabaseError);
}

TEST_F(QueryTest, IntegersBeyond32BitsReadAndWriteExactlyWhateverTheDeclaredType)
{
    Exec(QStringLiteral(
        "CREATE TABLE big(id INTEGER PRIMARY KEY, n INTEGER, s SMALLINT, label TEXT);"
        "INSERT INTO big VALUES (1, 5000000000, 70000, 'a'), (2, -5000000000, -3000000000, 'b')"));
    SetSql(QStringLiteral("SELECT n, s, label FROM big ORDER BY id"));
    query_.Open();
    TField* n = query_.FieldByName(QStringLiteral("n"));
    TField* s = query_.FieldByName(QStringLiteral("s"));
    EXPECT_EQ(n->AsLargeInt(), 5000000000LL);
    EXPECT_EQ(s->AsLargeInt(), 70000);
    query_.Next();
    EXPECT_EQ(n->AsLargeInt(), -5000000000LL);
    EXPECT_EQ(s->AsLargeInt(), -3000000000LL);

    // Writing another column leaves the wide values as they were.
    query_.Edit();
    query_.FieldByName(QStringLiteral("label"))->SetAsString(QStringLiteral("changed"));
    query_.Post();
    EXPECT_EQ(n->AsLargeInt(), -5000000000LL);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT n || ' ' || s || ' ' || label FROM big WHERE id = 2")),
              QStringLiteral("-5000000000 -3000000000 changed"));
    query_.Edit();
    n->SetAsVariant(Variant(qint64(9000000000LL)));
    query_.Post();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT n FROM big WHERE id = 2")), QStringLiteral("9000000000"));
    query_.Close();  // frees the default fields: look them up again
    query_.Open();
    query_.Last();
    EXPECT_EQ(query_.FieldByName(QStringLiteral("n"))->AsLargeInt(), 9000000000LL);
}

TEST_F(QueryTest, ExecSqlReportsRowsChangedAndSqliteErrors)
{
    SetSql(QStringLiteral("UPDATE people SET amount = :amount WHERE id <= :last"));
    query_.ParamByName(QStringLiteral("amount"))->SetValue(Variant(0.5));
    query_.ParamByName(QStringLiteral("last"))->SetValue(Variant(5));
    EXPECT_EQ(query_.ExecSQL(), 5);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT sum(amount) FROM people WHERE id <= 5")), QStringLiteral("2.5"));

    SetSql(QStringLiteral("INSERT INTO people(name) VALUES ('P1')"));
    try {
        query_.ExecSQL();
        ADD_FAILURE();
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("UNIQUE"))) << error.Message().toStdString();
    }
    SetSql(QStringLiteral("DELETE FROM people WHERE id = 1; DELETE FROM people"));
    EXPECT_THROW(query_.ExecSQL(), EDatabaseError);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM people")), QStringLiteral("1000"));
}

TEST_F(QueryTest, ExecSqlFinishesAnotherQuerysReadFirst)
{
    TQuery reader;
    reader.SetDatabase(&database_);
    reader.SQL()->SetText(QStringLiteral("SELECT id FROM people ORDER BY id"));
    reader.Open();
    reader.Next();
    SetSql(QStringLiteral("UPDATE people SET id = id + 100000 WHERE id <= 10"));
    EXPECT_EQ(query_.ExecSQL(), 10);
    // The reader keeps no statement open; it reads on from the table as the
    // update left it, each row once.
    EXPECT_EQ(reader.RecordCount(), 1000);
    reader.Last();
    EXPECT_EQ(reader.FieldByName(QStringLiteral("id"))->AsInteger(), 100010);
    reader.First();
    EXPECT_EQ(reader.FieldByName(QStringLiteral("id"))->AsInteger(), 11);
}

TEST_F(QueryTest, ExecSqlFinishesAForwardOnlyQuerysReadFirst)
{
    TQuery reader;
    reader.SetDatabase(&database_);
    reader.SetUniDirectional(true);
    reader.SQL()->SetText(QStringLiteral("SELECT id FROM people ORDER BY id"));
    reader.Open();
    reader.Next();
    SetSql(QStringLiteral("UPDATE people SET id = id + 100000 WHERE id <= 10"));
    EXPECT_EQ(query_.ExecSQL(), 10);
    // Stepped rows are read to the end before the update, each row once.
    int count = 1;
    int last = 0;
    for (; !reader.Eof(); reader.Next(), ++count)
        last = reader.FieldByName(QStringLiteral("id"))->AsInteger();
    EXPECT_EQ(count, 1000);
    EXPECT_EQ(last, 1000);
}

TEST_F(QueryTest, SwitchingTheDatabaseOffClosesTheQueryAndDestroyingItClearsTheProperty)
{
    SetSql(QStringLiteral("SELECT * FROM people"));
    query_.Open();
    database_.Close();
    EXPECT_FALSE(query_.Active());
    // Opening switches the database on again.
    query_.Open();
    EXPECT_TRUE(database_.Active());

    auto other = std::make_unique<TDatabase>();
    other->SetDatabaseName(path_);
    other->Open();
    TQuery query;
    query.SetDatabase(other.get());
    query.SQL()->SetText(QStringLiteral("SELECT * FROM people"));
    query.Open();
    other.reset();
    EXPECT_FALSE(query.Active());
    EXPECT_EQ(query.Database(), nullptr);
}

TEST_F(QueryTest, DatabaseCannotChangeWhileOpen)
{
    SetSql(QStringLiteral("SELECT * FROM people"));
    query_.Open();
    TDatabase other;
    EXPECT_THROW(query_.SetDatabase(&other), EDatabaseError);
    EXPECT_EQ(query_.Database(), &database_);
    query_.Close();
    query_.SetDatabase(nullptr);
    EXPECT_THROW(query_.Open(), EDatabaseError);
}

}  // namespace
}  // namespace tk
