#pragma once
// Copies the result of one SELECT on a TDatabase into a memory source: the
// rows a client dataset holds when opened with CommandText.
//
// The rows are read by a TSqliteRecordSource, so field types, dates and
// column names follow the same rules as TQuery and TTable
// (sqlitesourcetypes.h has the table of types; repeated column names get
// "_1", "_2"...). Every column of the copy is writable: its edits stay in
// memory and never reach the database.

#include "toolkit/data/memorysource.h"

#include <QString>
#include <memory>

namespace tk {

class TDatabase;

// Raises EDatabaseError when the database is not open, the text does not
// prepare or fails while stepping, holds more than one statement or does
// not return rows, or names a parameter (the copy has no values for one).
std::unique_ptr<TMemoryRecordSource> LoadQueryRows(TDatabase* database, const QString& sql);

}  // namespace tk
