#pragma once
// The file format of client datasets: field definitions and rows as UTF-8
// text, one item per line ("\n"; a "\r" before it is ignored), fields
// separated by one tab:
//
//   #toolkit-clientdata 2                      magic and format version (1 or 2)
//   FIELDS <tab> n                             n FIELD lines follow
//   FIELD <tab> depth <tab> name <tab> type <tab> size <tab> flags
//   ROWS <tab> m                               m R lines follow
//   R <tab> value <tab> value ...              one value per column
//   END
//
// FIELD: depth 0 for top-level definitions, d + 1 for a child of the last
// object definition (ftADT, ftArray...) at depth d (at most 16); type is
// the key name ("ftString"); size 0 .. 16777216; flags "-" or any of "R"
// (required) and "O" (read-only).
//
// R: the values of the flat columns ("Parent.Child" for children) in order.
// "\N" alone is Null. Text (and names) escape "\" as "\\", tab as "\t",
// line feed as "\n" and carriage return as "\r"; any other "\" sequence is
// damage. Integers and Booleans (0/1) are decimal; floats and dates (days
// since 1899-12-30) are written with 17 significant digits so they read
// back exactly ("inf", "nan" allowed); ftBCD and ftFMTBcd are exact
// decimals with "."; binary values are Base64. A nested table (ftDataSet,
// its FIELD children being the nested columns) is one value: the nested
// rows as a file of this format of their own, escaped as text is, or "\N"
// when there are none. Files holding nested tables are version 2; others
// are written as version 1. Version 1 files that declared nested tables
// spread their columns over the row as an ADT's; they read as one nested
// row per record (none when all its values are Null).
//
// Reading is strict: anything unexpected raises EDatabaseError naming the
// file and line (damage inside a nested table also names its own line), and
// nothing is returned. Rows are saved in their natural
// order (the order they were loaded and inserted), not in a sort order.

#include "toolkit/data/memorysource.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace tk {

QByteArray EncodeClientData(const TMemoryRecordSource& source);
// name is the file name messages give.
std::unique_ptr<TMemoryRecordSource> DecodeClientData(const QByteArray& bytes, const QString& name);

// Replaces the file atomically (a failure leaves the old one as it was) and
// raises EDatabaseError with the system's reason when it cannot.
void SaveClientDataFile(const TMemoryRecordSource& source, const QString& path);
std::unique_ptr<TMemoryRecordSource> LoadClientDataFile(const QString& path);

}  // namespace tk
