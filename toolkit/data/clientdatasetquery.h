#pragma once
// Copies the result of one SELECT on an SQLite connection into a memory
// source: the rows a client dataset holds when opened with CommandText.
//
// Field types come from the columns' declared types:
//   INTEGER, BIGINT, INT8, INT64      ftLargeint
//   other names with "INT"            ftInteger (SMALLINT, TINYINT: ftSmallint)
//   BOOL, BOOLEAN                     ftBoolean
//   REAL, FLOAT, DOUBLE               ftFloat
//   MONEY, CURRENCY                   ftBCD (4 decimals)
//   NUMERIC/DECIMAL(p, s)             ftBCD when s <= 4, ftFMTBcd otherwise;
//                                     without a scale ftFloat
//   DATETIME, TIMESTAMP, DATE         ftDateTime;  TIME  ftTime
//   CHAR, VARCHAR(n), TEXT, CLOB...   ftString (size n, or the longest value)
//   BLOB                              ftBlob
// A column without a declared type (an expression) or with a name none of
// these match takes its type from the storage class of its first non-Null
// value (INTEGER ftLargeint, REAL ftFloat, TEXT ftString, BLOB ftBlob;
// ftString when every value is Null).
//
// Date columns accept SQLite's three conventions: ISO text
// ("2024-01-31 12:30:00", "T" allowed, seconds and milliseconds optional),
// REAL Julian days and INTEGER Unix seconds (UTC, shown in local time).
//
// Every column is read-only in the sense of the database (the copy's edits
// stay in memory) but writable in the copy.

#include "toolkit/data/memorysource.h"

#include <QString>
#include <memory>

struct sqlite3;

namespace tk {

// Raises EDatabaseError with SQLite's reason when the text does not
// prepare or fails while stepping, when it holds more than one statement or
// does not return rows, and when a value does not fit its column's type.
std::unique_ptr<TMemoryRecordSource> LoadQueryRows(sqlite3* db, const QString& sql);

}  // namespace tk
