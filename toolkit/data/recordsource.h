#pragma once
// The storage behind a dataset. A record source holds rows in its own order
// (natural, sorted, or as a query returns them), fetches them on demand and
// writes changes wherever its rows live (memory, an SQLite table). The
// dataset above it adds everything users see: fields, state, filters, the
// cursor, bookmarks and the windows of its data links.
//
// Rows are addressed by position, 0-based, in the source's order. A
// position counts only once HasRow said it exists; HasRow fetches up to it
// (or, in sources that fetch rows by identity, what it needs to know it).
// Every row also has a stable identity (TRowId) that survives edits, inserts
// and deletes elsewhere; it is what bookmarks hold.

#include "toolkit/data/dbtypes.h"
#include "toolkit/core/variant.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace tk {

using TRowId = qint64;

// The description of one column (or, with children, of an object column).
struct TFieldDef {
    QString Name;
    TFieldType DataType = ftUnknown;
    // Characters for strings, bytes for fixed binaries, decimals for BCD.
    int Size = 0;
    bool Required = false;
    // A column the source cannot write (computed query columns, rowids).
    bool ReadOnly = false;
    // Sub-columns of ADT and array columns; their values are separate
    // source columns named "Parent.Child". For ftDataSet the columns of the
    // nested table, whose rows are the one value of the column.
    std::vector<TFieldDef> ChildDefs;

    bool operator==(const TFieldDef&) const = default;
};

class TRecordSource {
public:
    virtual ~TRecordSource() = default;

    // Top-level definitions, object columns with their children.
    virtual const std::vector<TFieldDef>& FieldDefs() const = 0;
    // The flat value columns ("Parent.Child" for sub-columns), in the order
    // Value and the value vectors of UpdateRow/InsertRow use.
    virtual const QStringList& ColumnNames() const = 0;
    int ColumnIndex(const QString& fullName) const;  // case-insensitive, -1 when absent

    // True when a row exists at position; fetches rows up to it as needed.
    virtual bool HasRow(qint64 position) = 0;
    // Rows known so far; they are positions 0 .. FetchedRowCount() - 1,
    // and RowIdAt answers for each. A source that fetches values on demand
    // (by windows) may know positions whose values it has not read yet.
    virtual qint64 FetchedRowCount() const = 0;
    // True once every row is known (FetchedRowCount is the count).
    virtual bool IsComplete() const = 0;
    // Makes every row known (IsComplete).
    virtual void FetchAll() = 0;
    // The number of rows without fetching them when the source can tell
    // (an SQLite count query), else by fetching all; never negative.
    virtual qint64 RowCount() = 0;
    // Whether RowCount answers from what the source already knows (no
    // count query, no fetching).
    virtual bool RowCountKnown() const { return IsComplete(); }

    // The value at a position HasRow confirmed: Null for SQL NULL, the
    // column's type otherwise (see TColumnStore::Get). Sources that keep
    // only some rows in memory may read the row from storage here (and so
    // raise EDatabaseError); the value does not change the source's rows.
    virtual Variant Value(qint64 position, int column) const = 0;
    // Calls visit with column's value at every position in order, making
    // every row known. Sources that can read one column faster than by
    // HasRow and Value override it; the values are the ones Value gives.
    virtual void ScanColumn(int column, const std::function<void(const Variant&)>& visit);
    virtual TRowId RowIdAt(qint64 position) const = 0;
    // The current position of a row, -1 once it was deleted or is not
    // fetched (sources fetch on demand to find it when they can).
    virtual qint64 PositionOf(TRowId id) = 0;

    // Changes. Sources that cannot write return false from CanModify and
    // raise EDatabaseError from the three writers. A writer either succeeds
    // completely or raises and leaves the rows as they were.
    virtual bool CanModify() const = 0;
    // Writes the columns whose changed flag is set.
    virtual void UpdateRow(qint64 position, const std::vector<Variant>& values, const std::vector<bool>& changed) = 0;
    // Inserts a row before position (-1: after the last row, fetching the
    // rest first) and returns the position it holds now. Unassigned values
    // are columns the record never set: a source may apply its defaults
    // there; Null is a value the user chose.
    virtual qint64 InsertRow(qint64 position, const std::vector<Variant>& values) = 0;
    virtual void DeleteRow(qint64 position) = 0;
};

}  // namespace tk
