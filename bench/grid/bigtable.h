#pragma once
// The grid benchmark's SQLite table: one file in a temporary folder, made
// once per run, with kBigTableRows rows of
//   t(id INTEGER PRIMARY KEY, name TEXT, city TEXT, note TEXT,
//     amount REAL, day DATE, flag INTEGER)
// (day is ISO date text, flag 0 or 1). Both sides of every case read this
// same file: our datasets through tk::TDatabase, Qt's models through
// QSqlDatabase.

#include <QString>

namespace gridbench {

inline constexpr int kBigTableRows = 1000000;
// What both sides open: every column of every row.
inline constexpr const char* kSelectAll = "SELECT * FROM t";
inline constexpr int kBigTableColumns = 7;
// The column holding 0 or 1, shown as an image by the decorated cases.
inline constexpr int kFlagColumn = 6;

// The file's path; the first call makes it (one transaction, one prepared
// insert). Raises std::runtime_error when SQLite refuses.
QString BigTablePath();

// The declared column names, index 0..kBigTableColumns - 1.
QString BigTableColumn(int index);

}  // namespace gridbench
