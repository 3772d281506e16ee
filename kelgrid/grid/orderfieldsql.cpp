// Reading and rewriting the ORDER BY clause of SQL text.
//
// The lines are joined by LF and tokenized (strings, quoted names and
// comments are single tokens or skipped, so an "ORDER BY" inside them is
// never seen). The statement is the text up to its first ";" outside
// parentheses. Its clause is the last ORDER BY at parenthesis depth 0: an
// ORDER BY of a sub-select, a common table expression or a window lies
// deeper. The clause's items run to the first LIMIT, OFFSET, FOR or FETCH
// at their own depth 0, or to the statement's end; only the items are
// replaced, so whatever follows them stays. Text that ends inside an
// unterminated string, quoted name or comment is never rewritten.

#include "kelgrid/grid/orderfields.h"

#include "toolkit/core/strings.h"
#include "toolkit/core/textutils.h"
#include "toolkit/data/sqlitesourcesyntax.h"

#include <optional>
#include <sqlite3.h>
#include <vector>

namespace kelgrid {

namespace {

using tk::TSqlToken;
using Tokens = std::vector<TSqlToken>;

bool IsWord(const TSqlToken& token, const char* word)
{
    return token.kind == TSqlToken::Word && token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool IsSymbol(const TSqlToken& token, char symbol)
{
    return token.kind == TSqlToken::Symbol && token.text == QLatin1Char(symbol);
}

// Words that end the items of an ORDER BY clause.
bool EndsOrderItems(const TSqlToken& token)
{
    return IsWord(token, "LIMIT") || IsWord(token, "OFFSET") || IsWord(token, "FOR") ||
           IsWord(token, "FETCH");
}

int EndOf(const TSqlToken& token)
{
    return token.start + token.length;
}

// The outermost ORDER BY of the statement: the offsets of ORDER, of the
// end of BY, and of the items; itemsEnd == itemsStart without items.
struct OrderClause {
    int orderStart = 0;
    int byEnd = 0;
    int itemsStart = 0;
    int itemsEnd = 0;
    size_t firstItem = 0;  // token indexes [firstItem, endItems)
    size_t endItems = 0;
};

struct Statement {
    Tokens tokens;
    size_t end = 0;  // index of the first ";" at depth 0, else tokens.size()
    std::optional<OrderClause> clause;
    std::optional<size_t> trailingClause;  // first LIMIT/OFFSET/FOR/FETCH at depth 0
};

Statement Analyze(const QString& sql)
{
    Statement statement;
    statement.tokens = tk::TokenizeSql(sql);
    const Tokens& tokens = statement.tokens;
    statement.end = tokens.size();
    int depth = 0;
    std::optional<size_t> orderAt;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const TSqlToken& token = tokens[i];
        if (IsSymbol(token, '('))
            ++depth;
        else if (IsSymbol(token, ')'))
            depth = qMax(0, depth - 1);
        else if (depth > 0)
            continue;
        else if (IsSymbol(token, ';')) {
            statement.end = i;
            break;
        } else if (IsWord(token, "ORDER") && i + 1 < tokens.size() && IsWord(tokens[i + 1], "BY"))
            orderAt = i;
        else if (!statement.trailingClause && EndsOrderItems(token))
            statement.trailingClause = i;
    }
    if (!orderAt)
        return statement;

    OrderClause clause;
    clause.orderStart = tokens[*orderAt].start;
    clause.byEnd = EndOf(tokens[*orderAt + 1]);
    clause.firstItem = *orderAt + 2;
    size_t j = clause.firstItem;
    int itemDepth = 0;
    for (; j < statement.end; ++j) {
        const TSqlToken& token = tokens[j];
        if (IsSymbol(token, '('))
            ++itemDepth;
        else if (IsSymbol(token, ')') && --itemDepth < 0)
            break;
        else if (itemDepth == 0 && EndsOrderItems(token))
            break;
    }
    clause.endItems = j;
    clause.itemsStart = j > clause.firstItem ? tokens[clause.firstItem].start : clause.byEnd;
    clause.itemsEnd = j > clause.firstItem ? EndOf(tokens[j - 1]) : clause.byEnd;
    statement.clause = clause;
    return statement;
}

// Whether a string or quoted-name token has its closing quote (a doubled
// quote inside is part of the text; brackets do not double).
bool IsClosed(const TSqlToken& token)
{
    const QString& text = token.text;
    if (text.size() < 2)
        return false;
    const QChar open = text[0];
    if (open == QLatin1Char('['))
        return text.endsWith(QLatin1Char(']'));
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i] != open)
            continue;
        if (i + 1 < text.size() && text[i + 1] == open)
            ++i;
        else
            return i == text.size() - 1;
    }
    return false;
}

// Whether the text ends inside an unterminated string, quoted name or block
// comment. Text added at the end would land inside it, and a quote in an
// order item could close it, so SQL written after it would run.
bool EndsInsideQuoteOrComment(const QString& sql, const Tokens& tokens)
{
    if (!tokens.empty()) {
        const TSqlToken& last = tokens.back();
        if ((last.kind == TSqlToken::String || last.kind == TSqlToken::QuotedName) && !IsClosed(last))
            return true;
    }
    // Only blanks and comments follow the last token.
    qsizetype at = tokens.empty() ? 0 : EndOf(tokens.back());
    while (at < sql.size()) {
        if (sql.mid(at, 2) == QLatin1String("--")) {
            at = sql.indexOf(QLatin1Char('\n'), at);
            if (at < 0)
                return false;
        } else if (sql.mid(at, 2) == QLatin1String("/*")) {
            at = sql.indexOf(QLatin1String("*/"), at + 2);
            if (at < 0)
                return true;
            at += 2;
        } else {
            ++at;
        }
    }
    return false;
}

bool IsPlainName(const QString& word)
{
    if (word.isEmpty() || word[0].isDigit())
        return false;
    for (QChar c : word)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_')))
            return false;
    const QByteArray utf8 = word.toUtf8();
    return sqlite3_keyword_check(utf8.constData(), int(utf8.size())) == 0;
}

bool IsDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!c.isDigit() || c.unicode() > 127)
            return false;
    return true;
}

// One name token as SQL: plain names as they are, everything else
// (keywords, quoted names in any quoting) double-quoted afresh.
QString NameTokenAsSql(const TSqlToken& token)
{
    if (token.kind == TSqlToken::Word)
        return IsPlainName(token.text) ? token.text : tk::QuoteIdentifier(token.text);
    return tk::QuoteIdentifier(tk::UnquoteIdentifier(token.text));
}

// The tokens of text are "name(.name)*" covering all of it.
bool IsDottedName(const QString& text, const Tokens& tokens)
{
    if (tokens.empty() || tokens.size() % 2 == 0)
        return false;
    int expected = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const TSqlToken& token = tokens[i];
        const bool wantName = i % 2 == 0;
        const bool isName = token.kind == TSqlToken::Word || token.kind == TSqlToken::QuotedName;
        if (token.start != expected || (wantName ? !isName : !IsSymbol(token, '.')))
            return false;
        expected = EndOf(token);
    }
    return expected == text.size();
}

// An order item's name written as an SQL identifier that cannot carry SQL
// of its own.
QString NameAsSql(const QString& name)
{
    if (IsDigits(name))
        return name;
    const Tokens tokens = tk::TokenizeSql(name);
    if (!IsDottedName(name, tokens))
        return tk::QuoteIdentifier(name);
    QString sql;
    for (size_t i = 0; i < tokens.size(); ++i)
        sql += i % 2 == 0 ? NameTokenAsSql(tokens[i]) : QStringLiteral(".");
    return sql;
}

QString OrderItemsAsSql(const QList<TOrderItem>& items)
{
    QStringList texts;
    for (const TOrderItem& item : items)
        texts.append(NameAsSql(item.name) + (item.descending ? QStringLiteral(" DESC") : QString()));
    return texts.join(QLatin1Char(','));
}

// One ORDER BY item (tokens [from, to)) in order fields form.
QString ItemAsOrderField(const QString& sql, const Tokens& tokens, size_t from, size_t to)
{
    if (from >= to)
        return QString();
    bool descending = false;
    size_t nameEnd = to;
    if (IsWord(tokens[to - 1], "DESC") || IsWord(tokens[to - 1], "ASC")) {
        descending = IsWord(tokens[to - 1], "DESC");
        --nameEnd;
    }
    const QString written = sql.mid(tokens[from].start, EndOf(tokens[to - 1]) - tokens[from].start);
    if (nameEnd == from + 1 &&
        (tokens[from].kind == TSqlToken::Word || tokens[from].kind == TSqlToken::QuotedName)) {
        const QString name = tk::UnquoteIdentifier(tokens[from].text);
        return descending ? name + QStringLiteral(" DESC") : name;
    }
    if (nameEnd > from) {
        const int start = tokens[from].start;
        const QString nameText = sql.mid(start, EndOf(tokens[nameEnd - 1]) - start);
        if (IsDottedName(nameText, tk::TokenizeSql(nameText)))
            return descending ? nameText + QStringLiteral(" DESC") : nameText;
    }
    return written;
}

}  // namespace

QString ExtractOrderFields(const QStringList& lines)
{
    const QString sql = lines.join(QLatin1Char('\n'));
    const Statement statement = Analyze(sql);
    if (!statement.clause)
        return QString();
    const OrderClause& clause = *statement.clause;
    const Tokens& tokens = statement.tokens;
    QStringList items;
    int depth = 0;
    size_t itemStart = clause.firstItem;
    for (size_t i = clause.firstItem; i <= clause.endItems; ++i) {
        if (i < clause.endItems) {
            if (IsSymbol(tokens[i], '('))
                ++depth;
            else if (IsSymbol(tokens[i], ')'))
                --depth;
            if (depth > 0 || !IsSymbol(tokens[i], ','))
                continue;
        }
        const QString item = ItemAsOrderField(sql, tokens, itemStart, i);
        if (!item.isEmpty())
            items.append(item);
        itemStart = i + 1;
    }
    return items.join(QLatin1Char(','));
}

QString ExtractOrderFields(const tk::TStrings* lines)
{
    return lines ? ExtractOrderFields(lines->ToStringList()) : QString();
}

QStringList ModifyOrderFields(const QStringList& lines, const QString& orderFields)
{
    QString order = tk::Trim(orderFields);
    if (order.compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0)
        order.clear();
    const QString items = OrderItemsAsSql(ParseOrderFields(order));

    QString sql = lines.join(QLatin1Char('\n'));
    const Statement statement = Analyze(sql);
    const Tokens& tokens = statement.tokens;
    // SQLite cannot read such a statement anyway; rewritten, an order item
    // could turn it into one that runs.
    if (EndsInsideQuoteOrComment(sql, tokens))
        return lines;

    if (statement.clause) {
        const OrderClause& clause = *statement.clause;
        if (items.isEmpty()) {
            sql.remove(clause.orderStart, clause.itemsEnd - clause.orderStart);
        } else {
            QString replacement = items;
            if (clause.itemsStart == clause.byEnd)
                replacement.prepend(QLatin1Char(' '));
            if (clause.itemsEnd < sql.size() && !sql[clause.itemsEnd].isSpace() &&
                clause.endItems < statement.end)
                replacement.append(QLatin1Char(' '));
            sql.replace(clause.itemsStart, clause.itemsEnd - clause.itemsStart, replacement);
        }
        return sql.split(QLatin1Char('\n'));
    }
    if (items.isEmpty())
        return lines;

    const QString newClause = QStringLiteral("ORDER BY ") + items;
    if (statement.trailingClause) {
        const int at = tokens[*statement.trailingClause].start;
        const QString before = at > 0 && !sql[at - 1].isSpace() ? QStringLiteral(" ") : QString();
        sql.insert(at, before + newClause + QLatin1Char(' '));
        return sql.split(QLatin1Char('\n'));
    }

    QStringList kept = lines;
    while (!kept.isEmpty() && tk::Trim(kept.last()).isEmpty())
        kept.removeLast();
    sql = kept.join(QLatin1Char('\n'));
    const Statement trimmed = Analyze(sql);
    if (trimmed.end == 0)
        return lines;
    if (trimmed.end == trimmed.tokens.size()) {
        kept.append(newClause);
        return kept;
    }
    // The statement ends with ";": the clause goes on a line of its own
    // before it, so a comment on the last line cannot swallow it.
    const int semicolon = trimmed.tokens[trimmed.end].start;
    const QString head = tk::TrimRight(sql.left(semicolon));
    return (head + QLatin1Char('\n') + newClause + sql.mid(semicolon)).split(QLatin1Char('\n'));
}

void ModifyOrderFields(tk::TStrings* lines, const QString& orderFields)
{
    if (!lines)
        return;
    const QStringList before = lines->ToStringList();
    const QStringList after = ModifyOrderFields(before, orderFields);
    if (after != before)
        lines->SetStrings(after);
}

}  // namespace kelgrid
