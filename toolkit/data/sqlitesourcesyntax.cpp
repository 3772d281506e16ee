#include "toolkit/data/sqlitesourcesyntax.h"

#include <QSet>
#include <optional>

namespace tk {

namespace {

bool IsWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c.unicode() > 127;
}

bool IsWordChar(QChar c)
{
    return IsWordStart(c) || c.isDigit() || c == QLatin1Char('$');
}

// The offset just past a quoted run that starts at start with open and ends
// with close; a doubled close inside stands for itself.
int SkipQuoted(const QString& sql, int start, QChar close, bool doubledEscapes)
{
    int i = start + 1;
    while (i < sql.size()) {
        if (sql[i] == close) {
            if (doubledEscapes && i + 1 < sql.size() && sql[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

bool IsKeyword(const TSqlToken& token, const char* keyword)
{
    return token.kind == TSqlToken::Word && token.text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

bool IsSymbol(const TSqlToken& token, char symbol)
{
    return token.kind == TSqlToken::Symbol && token.text == QLatin1Char(symbol);
}

bool IsName(const TSqlToken& token)
{
    return token.kind == TSqlToken::Word || token.kind == TSqlToken::QuotedName;
}

// Functions that fold many rows into one: a SELECT using them has no rows
// of its own to write back.
bool IsAggregateName(const QString& word)
{
    static const QSet<QString> names{QStringLiteral("COUNT"), QStringLiteral("SUM"), QStringLiteral("TOTAL"),
                                     QStringLiteral("AVG"), QStringLiteral("MIN"), QStringLiteral("MAX"),
                                     QStringLiteral("GROUP_CONCAT"), QStringLiteral("STRING_AGG")};
    return names.contains(word.toUpper());
}

// Words that end a FROM table reference instead of naming an alias.
bool IsClauseWord(const TSqlToken& token)
{
    for (const char* word : {"WHERE", "ORDER", "LIMIT", "GROUP", "HAVING", "WINDOW", "UNION", "INTERSECT", "EXCEPT",
                             "JOIN", "INNER", "LEFT", "RIGHT", "FULL", "CROSS", "NATURAL", "OUTER", "INDEXED", "NOT",
                             "ON", "USING"})
        if (IsKeyword(token, word))
            return true;
    return false;
}

}  // namespace

std::vector<TSqlToken> TokenizeSql(const QString& sql)
{
    std::vector<TSqlToken> tokens;
    int i = 0;
    const int n = sql.size();
    while (i < n) {
        const QChar c = sql[i];
        const QChar next = i + 1 < n ? sql[i + 1] : QChar();
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            while (i < n && sql[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const int end = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            continue;
        }
        TSqlToken token{TSqlToken::Symbol, QString(), i, 1};
        int end = i + 1;
        if (c == QLatin1Char('\'')) {
            token.kind = TSqlToken::String;
            end = SkipQuoted(sql, i, c, true);
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`')) {
            token.kind = TSqlToken::QuotedName;
            end = SkipQuoted(sql, i, c, true);
        } else if (c == QLatin1Char('[')) {
            token.kind = TSqlToken::QuotedName;
            end = SkipQuoted(sql, i, QLatin1Char(']'), false);
        } else if (c.isDigit() || (c == QLatin1Char('.') && next.isDigit())) {
            token.kind = TSqlToken::Number;
            while (end < n && (sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('.') ||
                               ((sql[end] == QLatin1Char('+') || sql[end] == QLatin1Char('-')) &&
                                (sql[end - 1] == QLatin1Char('e') || sql[end - 1] == QLatin1Char('E')))))
                ++end;
        } else if ((c == QLatin1Char(':') || c == QLatin1Char('@') || c == QLatin1Char('$')) && IsWordStart(next)) {
            token.kind = TSqlToken::Parameter;
            while (end < n && IsWordChar(sql[end]))
                ++end;
        } else if (c == QLatin1Char('?')) {
            token.kind = TSqlToken::Parameter;
            while (end < n && sql[end].isDigit())
                ++end;
        } else if (IsWordStart(c)) {
            token.kind = TSqlToken::Word;
            while (end < n && IsWordChar(sql[end]))
                ++end;
        }
        token.length = end - i;
        token.text = sql.mid(i, token.length);
        tokens.push_back(token);
        i = end;
    }
    return tokens;
}

QString QuoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString UnquoteIdentifier(const QString& token)
{
    if (token.size() < 2)
        return token;
    const QChar open = token.front();
    if (open == QLatin1Char('['))
        return token.mid(1, token.size() - 2);
    if (open == QLatin1Char('"') || open == QLatin1Char('`')) {
        QString inner = token.mid(1, token.size() - 2);
        inner.replace(QString(2, open), QString(open));
        return inner;
    }
    return token;
}

QString TrimSqlStatement(const QString& sql)
{
    const std::vector<TSqlToken> tokens = TokenizeSql(sql);
    int last = static_cast<int>(tokens.size()) - 1;
    while (last >= 0 && IsSymbol(tokens[last], ';'))
        --last;
    if (last < 0)
        return QString();
    return sql.left(tokens[last].start + tokens[last].length);
}

namespace {

// The index of the ORDER token of the ORDER BY outside every parenthesis.
std::optional<size_t> TopLevelOrderBy(const std::vector<TSqlToken>& tokens)
{
    int depth = 0;
    for (size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (IsSymbol(tokens[i], '('))
            ++depth;
        else if (IsSymbol(tokens[i], ')'))
            --depth;
        if (depth == 0 && IsKeyword(tokens[i], "ORDER") && IsKeyword(tokens[i + 1], "BY"))
            return i;
    }
    return std::nullopt;
}

}  // namespace

QString WithoutTopLevelOrderBy(const QString& sql)
{
    // The clause runs from ORDER BY outside every parenthesis to LIMIT at
    // the same level (kept: it decides how many rows there are) or the end.
    const QString statement = TrimSqlStatement(sql);
    const std::vector<TSqlToken> tokens = TokenizeSql(statement);
    const std::optional<size_t> orderBy = TopLevelOrderBy(tokens);
    if (!orderBy)
        return statement;
    const size_t i = *orderBy;
    int end = statement.size();
    int level = 0;
    for (size_t j = i + 2; j < tokens.size(); ++j) {
        if (IsSymbol(tokens[j], '('))
            ++level;
        else if (IsSymbol(tokens[j], ')'))
            --level;
        else if (level == 0 && IsKeyword(tokens[j], "LIMIT")) {
            end = tokens[j].start;
            break;
        }
    }
    return statement.left(tokens[i].start) + statement.mid(end);
}

QString WithOrderByOrdinalsShifted(const QString& sql, int by)
{
    QString statement = TrimSqlStatement(sql);
    const std::vector<TSqlToken> tokens = TokenizeSql(statement);
    const std::optional<size_t> orderBy = TopLevelOrderBy(tokens);
    if (!orderBy)
        return statement;
    // A term that is an integer alone (COLLATE and the direction may
    // follow) names a result column; any other number is an expression.
    const auto endsTerm = [&](size_t next) {
        if (next == tokens.size() || IsSymbol(tokens[next], ','))
            return true;
        for (const char* word : {"ASC", "DESC", "COLLATE", "NULLS", "LIMIT"})
            if (IsKeyword(tokens[next], word))
                return true;
        return false;
    };
    int shift = 0;  // characters the replacements so far added
    int level = 0;
    for (size_t j = *orderBy + 2; j < tokens.size(); ++j) {
        const TSqlToken& token = tokens[j];
        if (IsSymbol(token, '('))
            ++level;
        else if (IsSymbol(token, ')'))
            --level;
        if (level == 0 && IsKeyword(token, "LIMIT"))
            break;
        const bool startsTerm = j == *orderBy + 2 || IsSymbol(tokens[j - 1], ',');
        if (level != 0 || token.kind != TSqlToken::Number || !startsTerm || !endsTerm(j + 1))
            continue;
        bool integer = false;
        const qint64 ordinal = token.text.toLongLong(&integer);
        if (!integer)
            continue;
        const QString shifted = QString::number(ordinal + by);
        statement.replace(token.start + shift, token.length, shifted);
        shift += static_cast<int>(shifted.size()) - token.length;
    }
    return statement;
}

QStringList SqlParameterNames(const QString& sql)
{
    QStringList names;
    for (const TSqlToken& token : TokenizeSql(sql)) {
        if (token.kind != TSqlToken::Parameter || !token.text.startsWith(QLatin1Char(':')))
            continue;
        const QString name = token.text.mid(1);
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

TSingleTableSelect AnalyzeSingleTableSelect(const QString& sql)
{
    TSingleTableSelect result;
    const QString trimmed = TrimSqlStatement(sql);
    const std::vector<TSqlToken> tokens = TokenizeSql(trimmed);
    const size_t n = tokens.size();
    if (n < 4 || !IsKeyword(tokens[0], "SELECT"))
        return result;
    if (IsKeyword(tokens[1], "DISTINCT"))
        return result;

    // The column list runs to the first FROM outside parentheses. Nested
    // SELECTs, aggregates and window functions anywhere disqualify.
    size_t i = 1;
    int depth = 0;
    for (; i < n; ++i) {
        const TSqlToken& token = tokens[i];
        if (IsSymbol(token, '('))
            ++depth;
        else if (IsSymbol(token, ')'))
            --depth;
        else if (IsKeyword(token, "SELECT") || IsKeyword(token, "OVER"))
            return result;
        else if (token.kind == TSqlToken::Word && i + 1 < n && IsSymbol(tokens[i + 1], '(') &&
                 IsAggregateName(token.text))
            return result;
        else if (depth == 0 && IsKeyword(token, "FROM"))
            break;
    }
    if (i + 1 >= n || !IsName(tokens[i + 1]))
        return result;
    ++i;

    // [schema .] table [[AS] alias]
    result.table = UnquoteIdentifier(tokens[i].text);
    ++i;
    if (i + 1 < n && IsSymbol(tokens[i], '.') && IsName(tokens[i + 1])) {
        result.schema = result.table;
        result.table = UnquoteIdentifier(tokens[i + 1].text);
        i += 2;
    }
    if (i < n && IsKeyword(tokens[i], "AS"))
        ++i;
    if (i < n && IsName(tokens[i]) && !IsClauseWord(tokens[i]))
        ++i;
    if (i < n && !IsKeyword(tokens[i], "WHERE") && !IsKeyword(tokens[i], "ORDER") && !IsKeyword(tokens[i], "LIMIT"))
        return result;
    const int clausesStart = i < n ? tokens[i].start : static_cast<int>(trimmed.size());

    // The clauses after the table may nest parentheses but no second SELECT
    // and nothing that groups or combines rows.
    for (; i < n; ++i) {
        const TSqlToken& token = tokens[i];
        for (const char* word :
             {"SELECT", "GROUP", "HAVING", "UNION", "INTERSECT", "EXCEPT", "WINDOW", "JOIN", "OVER", "FROM"})
            if (IsKeyword(token, word))
                return result;
        if (IsSymbol(token, ';'))
            return result;
    }
    result.columnsStart = tokens[0].start + tokens[0].length;
    result.clausesStart = clausesStart;
    result.matches = true;
    return result;
}

}  // namespace tk
