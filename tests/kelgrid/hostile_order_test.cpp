// Sort orders from hostile texts: order fields texts with odd names and
// marks, the grid taking them, and the ORDER BY rewriting of mutated SQL
// statements with order texts that try to reach the SQL. SQLite itself
// judges the rewrites: a statement that prepared before prepares after, as
// one statement with the same columns, and its clause reads back as exactly
// the order asked for.

#include "kelgrid/grid/keldbgrids.h"
#include "kelgrid/grid/orderfields.h"
#include "toolkit/core/textutils.h"
#include "toolkit/data/sqlitesourcesyntax.h"

#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/mutator.h"

#include <gtest/gtest.h>
#include <random>
#include <sqlite3.h>

namespace kelgrid::test {
namespace {

const QStringList kHostileNames = {
    QStringLiteral("Owner"), QStringLiteral("Amount"), QStringLiteral("Id"), QStringLiteral("Paid"),
    QStringLiteral("Owner; DROP TABLE fees"), QStringLiteral("x\" ; DELETE FROM fees; --"),
    QStringLiteral("Amount) UNION SELECT 1,2,3,4 --"), QStringLiteral("'"), QStringLiteral("/* open"),
    QStringLiteral("-- comment"), QStringLiteral("order"), QStringLiteral("SELECT"), QStringLiteral("a\"\"b"),
    QStringLiteral("Due Date"), QStringLiteral("ñandú"), QStringLiteral("\t"), QStringLiteral("x\ny"),
    QStringLiteral("DESC"), QStringLiteral("ASC"), QStringLiteral("Price DESCRIPTION"), QStringLiteral("(")};

// A random order text: names from the list, marks in any case, blanks and
// empty items.
QString RandomOrderText(std::mt19937& random)
{
    auto below = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    QStringList items;
    const int count = below(4);
    for (int i = 0; i < count; ++i) {
        QString item = kHostileNames.at(below(int(kHostileNames.size())));
        switch (below(5)) {
        case 0: item += QStringLiteral(" DESC"); break;
        case 1: item += QStringLiteral(" desc "); break;
        case 2: item += QStringLiteral(" ASC"); break;
        case 3: item = QStringLiteral("  ") + item; break;
        default: break;
        }
        items << item;
    }
    if (below(6) == 0)
        items << QString();
    return items.join(QLatin1Char(','));
}

TEST(HostileOrderTextTest, ParsedItemsFormatAndParseBackTheSame)
{
    std::mt19937 random(2141);
    for (int i = 0; i < 1000; ++i) {
        const QString text = RandomOrderText(random);
        SCOPED_TRACE(QStringLiteral("seed 2141, iteration %1: %2").arg(i).arg(text).toStdString());
        const QList<TOrderItem> items = ParseOrderFields(text);
        for (const TOrderItem& item : items)
            ASSERT_FALSE(item.name.isEmpty());
        ASSERT_EQ(ParseOrderFields(FormatOrderFields(items)), items);
    }
}

class HostileGridOrderTest : public GridFixture {};

TEST_F(HostileGridOrderTest, HostileOrderTextsLeaveOnlyItemsNamingColumns)
{
    std::mt19937 random(2143);
    const QStringList columns = grid->Columns()->FieldNames();
    for (int i = 0; i < 300; ++i) {
        const QString text = RandomOrderText(random);
        SCOPED_TRACE(QStringLiteral("seed 2143, iteration %1: %2").arg(i).arg(text).toStdString());
        grid->SetOrderFields(text);
        for (const TOrderItem& item : ParseOrderFields(grid->OrderFields()))
            ASSERT_TRUE(columns.contains(item.name, Qt::CaseInsensitive)) << item.name.toStdString();
        ASSERT_EQ(grid->CheckConsistency(), QString());
    }
}

// What SQLite makes of a text: the statements it prepared, the result
// columns of the last one, and the error that stopped it.
struct SqlVerdict {
    int statements = 0;
    int columns = -1;
    QString error;
    bool OneStatement() const { return error.isEmpty() && statements == 1; }
    // A text SQLite cannot even parse, as opposed to one naming something
    // the database does not have.
    bool SyntaxError() const
    {
        return error.contains(QLatin1String("syntax error")) || error.contains(QLatin1String("unrecognized token")) ||
               error.contains(QLatin1String("incomplete input"));
    }
};

// An in-memory database whose fees table also has a column of every
// hostile name, so that order items name columns it has.
class SqlJudge {
public:
    SqlJudge()
    {
        EXPECT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        QStringList columns = {QStringLiteral("Id INTEGER"), QStringLiteral("Owner TEXT"),
                               QStringLiteral("Amount REAL"), QStringLiteral("Paid INTEGER")};
        QStringList seen = {QStringLiteral("id"), QStringLiteral("owner"), QStringLiteral("amount"),
                            QStringLiteral("paid")};
        for (const QString& name : kHostileNames) {
            const QString trimmed = name.trimmed();
            if (trimmed.isEmpty() || seen.contains(trimmed.toLower()))
                continue;
            seen << trimmed.toLower();
            columns << tk::QuoteIdentifier(trimmed);
        }
        const QByteArray create = QStringLiteral("CREATE TABLE fees(%1)").arg(columns.join(QLatin1Char(','))).toUtf8();
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db_, create.constData(), nullptr, nullptr, &error), SQLITE_OK) << error;
        sqlite3_free(error);
    }
    ~SqlJudge() { sqlite3_close(db_); }

    SqlVerdict Judge(const QString& sql) const
    {
        SqlVerdict verdict;
        const QByteArray text = sql.toUtf8();
        const char* rest = text.constData();
        while (rest && *rest) {
            sqlite3_stmt* statement = nullptr;
            const char* tail = nullptr;
            if (sqlite3_prepare_v2(db_, rest, -1, &statement, &tail) != SQLITE_OK) {
                verdict.error = QString::fromUtf8(sqlite3_errmsg(db_));
                return verdict;
            }
            if (statement) {
                ++verdict.statements;
                verdict.columns = sqlite3_column_count(statement);
                sqlite3_finalize(statement);
            }
            rest = tail;
        }
        return verdict;
    }

private:
    sqlite3* db_ = nullptr;
};

const QStringList kStatements = {
    QStringLiteral("SELECT * FROM fees"),
    QStringLiteral("SELECT Id, Owner FROM fees WHERE Owner <> 'ORDER BY x' ORDER BY Id DESC"),
    QStringLiteral("SELECT * FROM fees\nORDER BY Owner,\n  Amount DESC\nLIMIT 10 OFFSET 2;"),
    QStringLiteral("SELECT * FROM (SELECT * FROM fees ORDER BY Amount) AS f -- ORDER BY trailing"),
    QStringLiteral("WITH c AS (SELECT * FROM fees ORDER BY Id) SELECT * FROM c /* ORDER BY */ LIMIT 3"),
    QStringLiteral("SELECT Id, sum(Amount) OVER (ORDER BY Id) AS running FROM fees ORDER BY \"Due Date\""),
    QStringLiteral("SELECT \"order\", Owner FROM fees WHERE Paid = 1\n\n"),
    QStringLiteral("SELECT Owner FROM fees GROUP BY Owner HAVING count(*) > 1 ORDER BY 1;\n-- done"),
};

const QByteArrayList kSqlTokens = {" ORDER BY ", " ORDER ", " BY ", "(", ")", "'", "\"", "--", "/*", "*/", ";",
                                   " LIMIT 1", " OFFSET 2", " DESC", ",", "\n", " UNION SELECT * FROM fees "};

TEST(HostileOrderSqlTest, RewritesOfMutatedStatementsStayOneStatementWithTheAskedOrder)
{
    SqlJudge judge;
    std::mt19937 random(2147);
    int judged = 0;
    for (int s = 0; s < kStatements.size(); ++s) {
        const QByteArray valid = kStatements.at(s).toUtf8();
        ASSERT_TRUE(judge.Judge(kStatements.at(s)).OneStatement()) << valid.constData();
        tk::test::TMutator mutator(valid, 2150 + unsigned(s), kSqlTokens);
        for (int i = 0; i < 150; ++i) {
            // The first rounds take the statement as written.
            const tk::test::TMutation mutation = i < 10 ? tk::test::TMutation{valid, QStringLiteral("as written")}
                                                        : mutator.Next();
            const QString sql = QString::fromUtf8(mutation.bytes);
            const QString order = RandomOrderText(random);
            SCOPED_TRACE((mutator.Trace(i, mutation) + QStringLiteral(", order: ") + order + QStringLiteral("\n") + sql)
                             .toStdString());
            const QStringList lines = sql.split(QLatin1Char('\n'));
            const QStringList rewritten = ModifyOrderFields(lines, order);
            const QString out = rewritten.join(QLatin1Char('\n'));
            const SqlVerdict before = judge.Judge(sql);
            if (!before.OneStatement()) {
                // SQLite refused the input: the rewrite adds no statement.
                const auto semicolons = [](const QString& text) {
                    int n = 0;
                    for (const tk::TSqlToken& token : tk::TokenizeSql(text))
                        n += token.kind == tk::TSqlToken::Symbol && token.text == QLatin1String(";");
                    return n;
                };
                ASSERT_LE(semicolons(out), semicolons(sql)) << out.toStdString();
                continue;
            }
            // Left as it was (a text ending inside a comment, say): sound.
            if (rewritten == lines)
                continue;
            const SqlVerdict after = judge.Judge(out);
            ASSERT_FALSE(after.SyntaxError()) << after.error.toStdString() << "\n" << out.toStdString();
            if (after.error.isEmpty()) {
                // (A compound SELECT may refuse an order by a column it
                // does not return: a refusal SQLite explains, not damage.)
                ++judged;
                ASSERT_EQ(after.statements, 1) << out.toStdString();
                ASSERT_EQ(after.columns, before.columns) << out.toStdString();
            }
            // An order of only "DESC" removes the clause.
            const bool removes = tk::Trim(order).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
            const QString expected = removes ? QString() : FormatOrderFields(ParseOrderFields(order));
            ASSERT_TRUE(CompareOrderFields(ExtractOrderFields(rewritten), expected))
                << "clause reads " << ExtractOrderFields(rewritten).toStdString() << "\n"
                << out.toStdString();
        }
    }
    EXPECT_GT(judged, 120);
}

// A statement that ends inside a quote or comment: whatever the order
// text, the lines come back as they were, since an order item's quote
// could close the open one and the rest of the item would run as SQL.
TEST(HostileOrderSqlTest, TextsEndingInsideAQuoteOrCommentAreNotRewritten)
{
    const QStringList broken[] = {
        {QStringLiteral("SELECT * FROM fees"), QStringLiteral("WHERE Owner = \"Ana")},
        {QStringLiteral("SELECT * FROM fees WHERE Owner = 'it''s")},
        {QStringLiteral("SELECT * FROM fees WHERE Owner = [Ana")},
        {QStringLiteral("SELECT * FROM fees ORDER BY Id /* note")},
        {QStringLiteral("SELECT * FROM fees LIMIT 3 `x")},
    };
    for (const QStringList& lines : broken) {
        SCOPED_TRACE(lines.join(QLatin1Char('\n')).toStdString());
        EXPECT_EQ(ModifyOrderFields(lines, QStringLiteral("x\"; DROP TABLE fees; --")), lines);
        EXPECT_EQ(ModifyOrderFields(lines, QString()), lines);
    }
    // Closed quotes and comments, also doubled quotes and a line comment at
    // the end, are rewritten as usual.
    EXPECT_EQ(ModifyOrderFields({QStringLiteral("SELECT * FROM fees WHERE Owner = 'it''s' -- note")},
                                QStringLiteral("Id")),
              QStringList({QStringLiteral("SELECT * FROM fees WHERE Owner = 'it''s' -- note"),
                           QStringLiteral("ORDER BY Id")}));
    EXPECT_EQ(ModifyOrderFields({QStringLiteral("SELECT * FROM [fees] /* a */ ORDER BY \"Owner\"")},
                                QStringLiteral("Id DESC")),
              QStringList({QStringLiteral("SELECT * FROM [fees] /* a */ ORDER BY Id DESC")}));
}

}  // namespace
}  // namespace kelgrid::test
