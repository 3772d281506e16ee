#pragma once
// The sort order as text, and the small text functions around it.
//
// Order fields text: items separated by ","; each item is a field name,
// optionally followed by " DESC" (descending). The grid writes it without
// blanks around the commas ("Name,Amount DESC"). Reading trims items, takes
// a trailing " DESC" in any case as the descending mark and drops a
// trailing " ASC"; " DESC" elsewhere in an item ("Price DESCRIPTION") is
// part of the name. Empty items are skipped.
//
// Index fields text: the same names separated by ";", with direction marks
// given by a template ("Suffix"): three marks separated by ";" = ascending,
// descending and a third mark, each written directly after a name. An empty
// template means plain names.
//
// The ORDER BY clause of SQL text is read and rewritten by
// ExtractOrderFields and ModifyOrderFields (orderfieldsql.cpp).

#include "kelgrid/kelgridexport.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tk {
class TStrings;
}

namespace kelgrid {

struct TOrderItem {
    QString name;
    bool descending = false;
    bool operator==(const TOrderItem&) const = default;
};

// The items of an order fields text, as described above.
KELGRID_EXPORT QList<TOrderItem> ParseOrderFields(const QString& orderFields);
// The grid's form of items: "Name,Amount DESC".
KELGRID_EXPORT QString FormatOrderFields(const QList<TOrderItem>& items);

// The text of s before the first delimiter (all of s when there is none);
// that text and the delimiter are removed from s. An empty delimiter means
// DefaultDelimiter.
KELGRID_EXPORT QString ScanStr(QString& s, const QString& delimiter = QString());
// ScanStr, then the token (blanks around it ignored) as an integer;
// defaultValue when it is not one.
KELGRID_EXPORT int ScanInt(QString& s, int defaultValue, const QString& delimiter = QString());

KELGRID_EXPORT QString CommaToSemicolon(const QString& s);
KELGRID_EXPORT QString SemicolonToComma(const QString& s);

// fields: every name, ";"-separated; descFields: the descending names.
KELGRID_EXPORT void SplitOrderFields(const QString& orderFields, QString& fields, QString& descFields);
// The order fields text of ";"-separated fields, a name descending when it
// is one of descFields (exact match) or, with descFields empty, when
// allDescending is set.
KELGRID_EXPORT QString UnifyOrderFields(const QString& fields, const QString& descFields, bool allDescending);

// Order fields text -> index fields text with the template suffix: names
// ";"-separated, descending ones followed by the template's second mark
// (with an empty template, or an empty second mark, the names alone).
KELGRID_EXPORT QString OrderFieldsToIndexFields(const QString& orderFields, const QString& suffix);
// Index fields text -> order fields text: an item ending in the descending
// mark (any case) becomes its name + " DESC", one ending in the ascending
// or the third mark its name; empty marks are ignored.
KELGRID_EXPORT QString IndexFieldsToOrderFields(const QString& indexFields, const QString& suffix);

// Whether two order texts name the same items in the same order: items are
// compared trimmed and without regard to case; blanks inside an item count.
KELGRID_EXPORT bool CompareOrderFields(const QString& a, const QString& b);

// --- ORDER BY in SQL text (orderfieldsql.cpp) -----------------------------------
//
// Both work on the statement's outermost ORDER BY clause, found by a
// tokenizer that respects strings, quoted names, comments and parentheses:
// an ORDER BY inside a sub-select, a common table expression or a window
// definition is never taken for it.

// The order fields text of the outermost ORDER BY: an item that is a plain
// or quoted column name with an optional ASC/DESC gives the name (unquoted)
// and " DESC"; any other item its text as written. Empty without a clause.
KELGRID_EXPORT QString ExtractOrderFields(const QStringList& lines);
KELGRID_EXPORT QString ExtractOrderFields(const tk::TStrings* lines);

// The lines with the outermost ORDER BY clause's items replaced by
// orderFields, and everything after them (LIMIT, OFFSET, a locking clause,
// ";", comments) kept. orderFields is trimmed; an empty one, or one that is
// only "DESC", removes the clause. Without a clause one is added: before a
// trailing LIMIT/OFFSET/FOR clause, else as a new last line (trailing blank
// lines dropped; a final ";" moves behind it). Each name is written as an
// SQL identifier: plain names as they are, others (blanks, keywords,
// symbols) double-quoted, so an order text can never add SQL of its own.
// Lines of a clause spread over several lines are joined into one. Text
// ending inside an unterminated string, quoted name or block comment comes
// back unchanged: an order item's quote could otherwise close it.
KELGRID_EXPORT QStringList ModifyOrderFields(const QStringList& lines, const QString& orderFields);
KELGRID_EXPORT void ModifyOrderFields(tk::TStrings* lines, const QString& orderFields);

}  // namespace kelgrid
