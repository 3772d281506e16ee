#pragma once
// The rows of a writable single-table SELECT kept as a list of rowids and
// fetched in bounded windows: how TSqliteRecordSource reads such SELECTs
// unless told to step them.
//
// Identities. The rowids of the whole result, in the SELECT's order, are
// read the first time a position past the first block, the count, the end
// or an id not seen yet is asked: 8 bytes a row. They are read by stepping
// the SELECT once more, only its rowid column read, since a statement of
// the rowid alone may take another plan (a covering index) and so another
// order. Only a SELECT that plainly scans its table reads them as the
// table's rowids in order, about twice as fast, and only as far as a
// position needs: each read continues after the last id known and takes
// at least as many as are known, so scrolling down a screen at a time
// never waits for the ids of the whole table, and the end, the count or a
// write reads the rest.
// Until then only the first block is known: it is stepped from the SELECT
// itself, which is reset at once, so opening and painting the first screen
// cost what they cost when every row was stepped. Positions of ids are
// found by binary search, over the list itself while it is in ascending
// order (a table in rowid order) or else over a sorted index built when
// first asked.
//
// Values. A window is kDefaultWindowRows (or as many as the source asks)
// consecutive positions, fetched by rowid straight from the table
// ("SELECT rowid, <the select's columns> FROM <table> WHERE rowid IN
// (...)", or "... BETWEEN <lowest> AND <highest>" when the window's ids lie
// within twice its size), not through the SELECT's WHERE: a row
// written so that it falls out of the filter stays shown until the next
// refresh, as rows did when they were all stepped. At most kCachedWindows
// windows are kept; the least recently used one goes. HasRow fetches the
// window of its position; Value fetches again when the window was dropped
// in between. A value its field cannot hold (beyond an ftBCD's range)
// reads Null, and the fetch that met it raises EDatabaseError naming the
// field and row once the window is cached.
//
// Locks. Every statement is reset before a call returns: SQLite holds no
// read lock on the file between calls, and other connections can write it
// whatever the dataset shows.
//
// Changes by others. The rowid list is a snapshot taken when it is read
// and kept until the dataset refreshes (a new source). A row another
// connection deleted since keeps its position and reads Null in every
// column until then; rows others added show after the refresh. When the
// list, once read, does not begin with the first block's ids (the table
// changed between opening and reading on), the cached windows are dropped.

#include "toolkit/data/columnstore.h"
#include "toolkit/data/recordsource.h"
#include "toolkit/data/sqlitesourcetypes.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tk {

class TSqliteWindowedRows {
public:
    static constexpr qint64 kDefaultWindowRows = 256;
    static constexpr int kCachedWindows = 32;

    // read: the source's prepared SELECT with the rowid in column 0 and the
    // values from column 1 on, reset; it stays the source's and is stepped
    // for the first block and for the ids. window: the prepared window statement,
    // "... WHERE rowid IN (?, ... windowRows times)" with its named
    // parameters bound; owned from here on. types and names: the value
    // columns.
    // range: the same rows "... WHERE rowid BETWEEN ? AND ?" (the two
    // marks last), for windows whose ids lie close together; owned from
    // here on, nullptr reads every window by its ids.
    // ids: for a plain table scan, the prepared statement of the table's
    // rowids in order after the one bound to parameter 1, at most as many
    // as parameter 2 (-1: all), owned from here on; nullptr steps read for
    // the ids.
    TSqliteWindowedRows(sqlite3* db, sqlite3_stmt* read, sqlite3_stmt* window, sqlite3_stmt* range, sqlite3_stmt* ids,
                        qint64 windowRows, std::vector<TFieldType> types, QStringList names);
    ~TSqliteWindowedRows();
    TSqliteWindowedRows(const TSqliteWindowedRows&) = delete;
    TSqliteWindowedRows& operator=(const TSqliteWindowedRows&) = delete;

    // Reads ids as far as position needs and the window of position.
    bool HasRow(qint64 position);
    // Positions whose ids are known: the first block, as far as the
    // positions asked needed (a plain table scan), or every row.
    qint64 KnownRowCount() const { return static_cast<qint64>(ids_.size()); }
    bool AllIdsRead() const { return allIdsRead_; }
    void ReadAllIds();

    // Position must be known. Null for a row deleted by another connection,
    // and for rows whose window is not cached once the connection is gone.
    Variant Value(qint64 position, int column) const;
    // Visits column's value at every position, as Value gives it, listing
    // every id: one pass of the SELECT rather than a fetch per window.
    // columnRead, when given, is stepped instead: the rowid and the
    // column's value alone, in the SELECT's order, reset; it stays the
    // caller's. SQLite then reads one value a row rather than every
    // column's. Where the stepped rows no longer match the list (others
    // changed the table since it was read), the rest is read window by
    // window; a cached window's values are visited as cached. A value its
    // field cannot hold is visited as Null and raises EDatabaseError once
    // all are visited.
    void ScanColumn(int column, const std::function<void(const Variant&)>& visit,
                    sqlite3_stmt* columnRead = nullptr);
    TRowId RowIdAt(qint64 position) const;
    // Reads every id first when id is not in the first block; -1 when the
    // SELECT did not return it (or it was deleted here since).
    qint64 PositionOf(TRowId id);

    // The bookkeeping after the source wrote a row; each needs every id
    // read. The written row is fetched again when next read.
    void RowUpdated(qint64 position, TRowId newId);
    void RowInserted(qint64 position, TRowId id);
    void RowDeleted(qint64 position);

    // The connection goes away: cached windows stay readable, nothing more
    // is fetched.
    void Disconnect();
    // Bytes of ids, index and cached windows.
    qint64 MemoryUsage() const;

private:
    struct Window {
        qint64 index = 0;  // positions index * windowRows_ ...
        TColumnStore rows;  // one slot a position
        quint64 lastUse = 0;
    };

    void StepFirstBlock();
    // Ids known at least through position, or every id.
    void ReadIdsThrough(qint64 position);
    // Appends at most limit ids (-1: all) from the ids statement.
    void ReadIdsAfterLast(qint64 limit);
    // The stepped part of ScanColumn: the value of field column is the
    // statement's column valueColumn. Returns the first position it did
    // not visit.
    qint64 StepColumn(sqlite3_stmt* statement, int valueColumn, int column,
                      const std::function<void(const Variant&)>& visit, QString& conversionError);
    const Window* FindWindow(qint64 index) const;
    const Window& CachedWindow(qint64 index) const;
    Window FetchWindow(qint64 index, QString& conversionError) const;
    void StoreRow(TColumnStore& rows, qint64 slot, sqlite3_stmt* statement, qint64 position,
                  QString& conversionError) const;
    // The statement's column statementColumn, the value of field column at
    // position, into the store's column.
    void StoreValue(TColumnStore& rows, qint64 slot, int storeColumn, sqlite3_stmt* statement, int statementColumn,
                    int column, qint64 position, QString& conversionError) const;
    void ReadBackWritten(qint64 position);
    void DropWindowsFrom(qint64 position);
    void BuildIdIndex();
    [[noreturn]] void RaiseSqlite() const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* read_ = nullptr;  // the source's
    sqlite3_stmt* window_ = nullptr;
    sqlite3_stmt* range_ = nullptr;
    sqlite3_stmt* idsStatement_ = nullptr;
    qint64 windowRows_ = kDefaultWindowRows;
    int firstIdParameter_ = 0;
    int firstRangeParameter_ = 0;
    std::vector<TFieldType> types_;
    QStringList names_;

    std::vector<TRowId> ids_;  // by position
    bool firstBlockRead_ = false;
    bool allIdsRead_ = false;
    // Positions sorted by id; empty while ids_ ascends (searched directly).
    std::vector<qint64> byId_;
    bool idIndexValid_ = false;
    bool idsAscend_ = false;

    mutable std::vector<Window> windows_;
    mutable quint64 uses_ = 0;
};

}  // namespace tk
