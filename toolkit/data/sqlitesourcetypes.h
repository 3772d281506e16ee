#pragma once
// How SQLite's loose types map onto field types, and how values travel
// between SQLite and Variants.
//
// This is the one mapping every SQLite reader uses: TQuery and TTable
// (sqlitesource.h) and the rows a client dataset copies from a query
// (clientdatasetquery.h).
//
// Declared types (upper-cased, matched by the words they contain, in this
// order):
//   INT (INTEGER, BIGINT, SMALLINT, ...) without BOOL    -> ftLargeint
//   BOOL                                                 -> ftBoolean
//   DATETIME, TIMESTAMP                                  -> ftDateTime
//   DATE -> ftDate;  TIME -> ftTime
//   CLOB, MEMO, LONGTEXT                                 -> ftMemo
//   CHAR(n), VARCHAR(n), TEXT(n)...                      -> ftString, Size n
//   CHAR, VARCHAR, TEXT without a size, unknown names    -> ftString, Size 0
//   BLOB, BINARY                                         -> ftBlob
//   REAL, FLOA, DOUB                                     -> ftFloat
//   NUMERIC(p,s), DECIMAL(p,s), MONEY, CURRENCY          -> ftBCD, Size s (4 when not written);
//                                                           ftFMTBcd when s > 4
// Every integer type is ftLargeint: SQLite stores 64-bit integers whatever
// the declared type says, and a narrower field would cut them.
// TEXT without a size is an ftString of Size 0 (no length limit), not a
// memo: such columns usually hold names and codes that grids show as text.
// Columns without a declared type (expressions) take the type of their
// first row's value (FieldTypeFromStorageClass).
//
// Dates are read from ISO text ("YYYY-MM-DD", "HH:MM[:SS[.fff]]",
// "YYYY-MM-DD HH:MM[:SS[.fff]]", also with "T") or from a number, which
// SQLite's own "auto" rule reads (DateTimeFromSqliteNumber); they are
// written as ISO text. A value that is no date reads as Null.

#include "toolkit/core/datetime.h"
#include "toolkit/core/variant.h"
#include "toolkit/data/columnstore.h"
#include "toolkit/data/recordsource.h"

#include <QString>
#include <optional>
#include <vector>

struct sqlite3_stmt;

namespace tk {

struct TSqlParameter {
    QString Name;  // without the ":" prefix, compared case-insensitively
    Variant Value;
};
using TSqlParameters = std::vector<TSqlParameter>;

// A definition from a column's declared type; rowidAlias marks an INTEGER
// PRIMARY KEY.
TFieldDef FieldDefFromDeclaredType(const QString& name, const QString& declaredType, bool rowidAlias);
// A definition from a value's storage class (SQLITE_INTEGER...), for
// expressions without a declared type.
TFieldType FieldTypeFromStorageClass(int storageClass);

// Parses ISO date, time or date-time text; false when it is none of them.
bool TryParseIsoDateTime(const QString& text, TDateTime& value);
// A number in a date column, read as SQLite's "auto" modifier does: from
// 0.0 up to (not including) 5373484.5 it is a julian day number (naive, no
// time zone); anything else is Unix seconds (UTC, given in local time).
// nullopt for Unix seconds outside the range SQLite's date functions read
// (julian day 0 to the end of 9999).
std::optional<TDateTime> DateTimeFromSqliteNumber(double number);
// The ISO text SQLite's date functions read: date alone for ftDate, time
// alone for ftTime, both otherwise; milliseconds only when not zero.
QString IsoTextFromDateTime(TDateTime value, TFieldType type);

// Binds a field value as the field's type stores it in SQLite. Null and
// Unassigned bind NULL; a value that does not convert raises EConvertError
// naming the field.
void BindFieldValue(sqlite3_stmt* statement, int index, const Variant& value, TFieldType type,
                    const QString& fieldName);
// Binds a parameter value by its own kind (dates as ISO text, Booleans as
// 0/1, BCD as exact text); Null binds NULL.
void BindParameterValue(sqlite3_stmt* statement, int index, const Variant& value);
// Binds every named parameter of the statement (":name", "@name", "$name")
// from parameters; one without a value (absent or Unassigned) raises
// EDatabaseError. Unnamed "?" parameters are left to the caller.
void BindNamedParameters(sqlite3_stmt* statement, const TSqlParameters& parameters);
// Raises EDatabaseError when the statement has "?" parameters, which only
// named values could fill.
void CheckParametersNamed(sqlite3_stmt* statement);

// A result column's text as SQLite converts it (empty for NULL).
QString SqliteColumnText(sqlite3_stmt* statement, int column);
// Stores one result value into a column store slot, converted to the store
// column's type by SQLite's own rules (text "12" in an integer column reads
// 12; dates that do not parse read as Null). A value the type cannot hold
// (a number beyond an ftBCD's range) raises EConvertError.
void StoreSqliteValue(TColumnStore& store, qint64 slot, int column, sqlite3_stmt* statement, int statementColumn);

}  // namespace tk
