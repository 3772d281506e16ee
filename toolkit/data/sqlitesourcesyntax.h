#pragma once
// What the SQLite datasets need to know about SQL text without running it:
// a tokenizer that skips strings, quoted names and comments, identifier
// quoting, the named parameters of a statement, and whether a SELECT reads
// exactly one table (so that its rows can be written back by rowid).

#include <QString>
#include <QStringList>
#include <vector>

namespace tk {

struct TSqlToken {
    enum Kind { Word, QuotedName, String, Number, Parameter, Symbol };
    Kind kind;
    QString text;  // as written (quotes included)
    int start;     // offset in the SQL text
    int length;
};

// Splits SQL into tokens; comments and blanks are dropped. An unterminated
// string, quoted name or comment runs to the end of the text (SQLite reports
// the error when the text is prepared).
std::vector<TSqlToken> TokenizeSql(const QString& sql);

// "name" with embedded quotes doubled: safe for any table or column name,
// including names with blanks, quotes or keywords.
QString QuoteIdentifier(const QString& name);
// The name a word or quoted-name token stands for ("a""b" -> a"b).
QString UnquoteIdentifier(const QString& token);

// The SQL without trailing blanks, comments and semicolons.
QString TrimSqlStatement(const QString& sql);

// The statement without its own ORDER BY clause (one inside parentheses,
// of a subquery, a window or an aggregate, stays; LIMIT and OFFSET stay):
// the same rows in any order, for counting them without sorting.
QString WithoutTopLevelOrderBy(const QString& sql);

// The statement with every column number of its own ORDER BY ("ORDER BY
// 2 DESC") moved by `by`, for the same SELECT with columns put in front.
QString WithOrderByOrdinalsShifted(const QString& sql, int by);

// The names of ":name" parameters, first occurrence order, each once
// (compared case-insensitively), without the colon.
QStringList SqlParameterNames(const QString& sql);

// The shape "SELECT <columns> FROM <table> [[AS] alias] [WHERE ...]
// [ORDER BY ...] [LIMIT ...]" with no join, second table, subquery,
// grouping, compound, DISTINCT, window or aggregate function.
struct TSingleTableSelect {
    bool matches = false;
    QString schema;  // empty when not written
    QString table;
    int columnsStart = 0;  // offset just after SELECT
    // Offset of the first clause after the table and its alias (WHERE,
    // ORDER BY, LIMIT), the text's length when there is none; offsets are
    // in the trimmed statement (TrimSqlStatement).
    int clausesStart = 0;
};
TSingleTableSelect AnalyzeSingleTableSelect(const QString& sql);

}  // namespace tk
