// ORDER BY rewriting on real statements: each rewritten statement is run
// through a TQuery and its rows compared with those SQLite returns for the
// same query written by hand with the intended ORDER BY.

#include "kelgrid/grid/orderfields.h"
#include "toolkit/data/field.h"
#include "toolkit/data/query.h"

#include "tests/data/sqlitesource_fixture.h"

#include <gtest/gtest.h>

namespace kelgrid {
namespace {

struct SqlCase {
    const char* name;
    const char* sql;       // lines separated by "\n"
    const char* order;     // the order fields text
    const char* expected;  // the rewritten lines
    const char* intended;  // the same query by hand; nullptr: not run
};

class OrderFieldsSqlTest : public tk::test::SqliteFixture, public ::testing::WithParamInterface<SqlCase> {
protected:
    OrderFieldsSqlTest()
    {
        // Orders by name, amount, "Due Date" and "order" all differ.
        Exec(QStringLiteral(R"(CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT, amount REAL,
                                             "Due Date" TEXT, "order" INTEGER);
            INSERT INTO t VALUES (1, 'delta', 5, '2026-03-01', 2), (2, 'alpha', 9, '2026-01-15', 5),
                                 (3, 'echo', 1, '2026-02-10', 1), (4, 'bravo', 7, '2026-05-30', 4),
                                 (5, 'charlie', 3, '2026-04-04', 3), (6, 'foxtrot', 8, '2026-06-06', 6);)"));
    }

    // The ids a TQuery on the lines returns.
    QString QueryIds(const QStringList& lines)
    {
        tk::TQuery query;
        query.SetDatabase(&OpenDatabase());
        query.SQL()->SetStrings(lines);
        query.Open();
        QStringList ids;
        for (query.First(); !query.Eof(); query.Next())
            ids.append(query.FieldByName(QStringLiteral("id"))->AsString());
        return ids.join(QLatin1Char(' '));
    }
};

TEST_P(OrderFieldsSqlTest, RewritesTheOutermostClauseAndKeepsTheRest)
{
    const SqlCase& c = GetParam();
    const QStringList lines = QString::fromUtf8(c.sql).split(QLatin1Char('\n'));
    const QString order = QString::fromUtf8(c.order);
    const QStringList rewritten = ModifyOrderFields(lines, order);
    EXPECT_EQ(rewritten.join(QLatin1Char('\n')), QString::fromUtf8(c.expected));
    // What was written reads back as the order given ("DESC" alone is none).
    const bool none = order.trimmed().compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    const QString written = none ? QString() : FormatOrderFields(ParseOrderFields(order));
    if (rewritten != lines || written.isEmpty()) {
        EXPECT_EQ(ExtractOrderFields(rewritten), written);
    }
    if (c.intended) {
        const QString ids = QueryIds(rewritten);
        EXPECT_EQ(ids, FirstColumn(QString::fromUtf8(c.intended)));
        EXPECT_FALSE(ids.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    , OrderFieldsSqlTest,
    ::testing::Values(
        SqlCase{"OneLineClauseAtTheEnd", "SELECT id, name FROM t ORDER BY id", "name DESC",
                "SELECT id, name FROM t ORDER BY name DESC", "SELECT id FROM t ORDER BY name DESC"},
        SqlCase{"ClauseOverSeveralLinesBeforeLimit",
                "SELECT id, name\nFROM t\nORDER BY amount,\n  id DESC\nLIMIT 4", "name",
                "SELECT id, name\nFROM t\nORDER BY name\nLIMIT 4", "SELECT id FROM t ORDER BY name LIMIT 4"},
        SqlCase{"LimitAndOffsetOnTheSameLine", "SELECT id FROM t ORDER BY id LIMIT 3 OFFSET 1", "amount DESC",
                "SELECT id FROM t ORDER BY amount DESC LIMIT 3 OFFSET 1",
                "SELECT id FROM t ORDER BY amount DESC LIMIT 3 OFFSET 1"},
        SqlCase{"SubSelectKeepsItsOwnClause",
                "SELECT id, name FROM (SELECT * FROM t ORDER BY amount LIMIT 4) AS s", "name",
                "SELECT id, name FROM (SELECT * FROM t ORDER BY amount LIMIT 4) AS s\nORDER BY name",
                "SELECT id FROM (SELECT * FROM t ORDER BY amount LIMIT 4) ORDER BY name"},
        SqlCase{"OuterClauseAfterASubSelect",
                "SELECT id FROM t WHERE id IN (SELECT id FROM t ORDER BY amount LIMIT 3) ORDER BY id", "name",
                "SELECT id FROM t WHERE id IN (SELECT id FROM t ORDER BY amount LIMIT 3) ORDER BY name",
                "SELECT id FROM t WHERE id IN (3, 5, 1) ORDER BY name"},
        SqlCase{"WindowOrderIsNotTheClause", "SELECT id, row_number() OVER (ORDER BY amount) AS r FROM t",
                "name", "SELECT id, row_number() OVER (ORDER BY amount) AS r FROM t\nORDER BY name",
                "SELECT id FROM t ORDER BY name"},
        SqlCase{"NamesWithBlanksAndKeywordsAreQuoted", "SELECT id, \"Due Date\", \"order\" FROM t",
                "Due Date DESC,order",
                "SELECT id, \"Due Date\", \"order\" FROM t\nORDER BY \"Due Date\" DESC,\"order\"",
                "SELECT id FROM t ORDER BY \"Due Date\" DESC, \"order\""},
        SqlCase{"QuotedClauseReplaced", "SELECT id FROM t ORDER BY [Due Date] DESC", "order",
                "SELECT id FROM t ORDER BY \"order\"", "SELECT id FROM t ORDER BY \"order\""},
        SqlCase{"ClauseWordsInCommentsAndStrings",
                "SELECT id FROM t -- ORDER BY name\nWHERE name <> 'ORDER BY amount'", "amount",
                "SELECT id FROM t -- ORDER BY name\nWHERE name <> 'ORDER BY amount'\nORDER BY amount",
                "SELECT id FROM t ORDER BY amount"},
        SqlCase{"CommentAfterTheItemsStays", "SELECT id FROM t ORDER BY id -- by number", "name",
                "SELECT id FROM t ORDER BY name -- by number", "SELECT id FROM t ORDER BY name"},
        SqlCase{"SemicolonMovesBehindANewClause", "SELECT id FROM t\nWHERE amount > 2;\n\n", "name",
                "SELECT id FROM t\nWHERE amount > 2\nORDER BY name;",
                "SELECT id FROM t WHERE amount > 2 ORDER BY name"},
        SqlCase{"NewClauseBeforeATrailingLimit", "SELECT id FROM t LIMIT 4", "name DESC",
                "SELECT id FROM t ORDER BY name DESC LIMIT 4", "SELECT id FROM t ORDER BY name DESC LIMIT 4"},
        SqlCase{"EmptyOrderRemovesTheClause", "SELECT id FROM t ORDER BY name DESC LIMIT 2", "",
                "SELECT id FROM t  LIMIT 2", "SELECT id FROM t LIMIT 2"},
        SqlCase{"OrderTextCannotAddSql", "SELECT id FROM t ORDER BY id", "id; DROP TABLE t",
                "SELECT id FROM t ORDER BY \"id; DROP TABLE t\"", nullptr},
        // The original algorithm's results where they were right.
        SqlCase{"AppendsAfterTheWhereLine", "SELECT * FROM T\nWHERE X=1;", "Name",
                "SELECT * FROM T\nWHERE X=1\nORDER BY Name;", nullptr},
        SqlCase{"EmptyOrderKeepsTheSemicolon", "SELECT * FROM T ORDER BY Id;", "", "SELECT * FROM T ;",
                nullptr},
        SqlCase{"TheWordDescAloneRemovesTheClause", "SELECT * FROM T order by Id", " desc ",
                "SELECT * FROM T ", nullptr},
        SqlCase{"LowerCaseClauseKeepsItsWords", "select * from T order by Id", "Name,Amount DESC",
                "select * from T order by Name,Amount DESC", nullptr},
        SqlCase{"NoStatementNoClause", "\n  \n", "Name", "\n  \n", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OrderFieldsSqlExtractTest, ReadsNamesAndKeepsOtherItemsAsWritten)
{
    const auto extract = [](const char* sql) {
        return ExtractOrderFields(QString::fromUtf8(sql).split(QLatin1Char('\n')));
    };
    EXPECT_EQ(extract("SELECT * FROM t ORDER BY name, amount DESC, \"Due Date\" asc"),
              QStringLiteral("name,amount DESC,Due Date"));
    EXPECT_EQ(extract("SELECT * FROM t\nORDER BY\n  t.name DESC,\n  lower(x)\nLIMIT 5;"),
              QStringLiteral("t.name DESC,lower(x)"));
    EXPECT_EQ(extract("SELECT * FROM (SELECT * FROM t ORDER BY name)"), QString());
    EXPECT_EQ(extract("SELECT 'ORDER BY name' FROM t"), QString());
}

TEST(OrderFieldsSqlExtractTest, StringListsAreRewrittenInPlace)
{
    tk::TStringList lines;
    lines.SetText(QStringLiteral("SELECT id\nFROM t\nORDER BY id\nLIMIT 3"));
    ModifyOrderFields(&lines, QStringLiteral("name DESC"));
    EXPECT_EQ(lines.ToStringList(),
              QStringList({QStringLiteral("SELECT id"), QStringLiteral("FROM t"),
                           QStringLiteral("ORDER BY name DESC"), QStringLiteral("LIMIT 3")}));
    EXPECT_EQ(ExtractOrderFields(&lines), QStringLiteral("name DESC"));
}

}  // namespace
}  // namespace kelgrid
