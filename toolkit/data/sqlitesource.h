#pragma once
// A record source over an SQL SELECT on a TDatabase's connection.
//
// Fetching. Opening prepares the statement and reads the column
// definitions (sqlitesourcetypes.h). How rows arrive depends on the SELECT:
// - A SELECT that can be written back by rowid (below) keeps only the
//   rowids of its result and fetches rows in bounded windows by rowid
//   (sqlitewindowedrows.h): memory stays bounded at any position, and no
//   statement stays open between calls, so other connections can write
//   the file while a dataset shows any of its rows.
// - Every other SELECT (joins, aggregates, views, read-only databases),
//   and any SELECT opened with TRowFetching::Stepping, is stepped into a
//   TColumnStore only as HasRow asks for rows. While rows remain
//   unfetched the statement holds SQLite's read lock on the file.
// Either way, until every row (or rowid) is known RowCount runs "SELECT
// count(*) FROM (sql)" once instead of walking the rows; another
// connection may change the table before the rows are read.
//
// Identity and writing. When the SELECT reads exactly one rowid table
// (AnalyzeSingleTableSelect, confirmed by the columns' origin table), the
// rowid is selected as a hidden first column and is the row's TRowId, and
// the rows can be written back by rowid. Otherwise the TRowId is the fetch
// ordinal and the source is read-only, as it is on a read-only database.
// Columns that are not plain table columns (expressions) are read-only.
//
// Before any write, every read on the connection is finished: other
// sources on the same database are told through TDatabase::PrepareForWrite;
// a stepped source fetches all its rows and resets its statement, a
// windowed one only reads its rowids (its statements are never left
// open). The cached row changes only after SQLite accepted the change;
// inserted and updated rows are read back so that defaults and affinities
// show.
//
// The database must stay active while the source lives. Switching it off
// finalizes the statements (TDatabaseClient): the rows fetched (or the
// windows cached) so far stay readable, nothing more is fetched, and
// writers raise.

#include "toolkit/data/columnstore.h"
#include "toolkit/data/database.h"
#include "toolkit/data/recordsource.h"
#include "toolkit/data/sqlitesourcetypes.h"
#include "toolkit/data/sqlitewindowedrows.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tk {

// How the rows of a SELECT that can be written back by rowid are read:
// Windows (by rowid, bounded memory, no open statement) or Stepping (one
// statement stepped to the end, for readers that go through every row once
// and forward-only datasets).
enum class TRowFetching { Windows, Stepping };

class TSqliteRecordSource : public TRecordSource, private TDatabaseClient {
public:
    // Raises EDatabaseError when the database is not active, the SQL does
    // not prepare, is more than one statement, returns no columns, or a
    // parameter it names has no value (Unassigned).
    // windowRows: rows a window holds, when fetching by windows.
    TSqliteRecordSource(TDatabase* database, const QString& sql, const TSqlParameters& parameters = {},
                        TRowFetching fetching = TRowFetching::Windows,
                        qint64 windowRows = TSqliteWindowedRows::kDefaultWindowRows);
    ~TSqliteRecordSource() override;
    TSqliteRecordSource(const TSqliteRecordSource&) = delete;
    TSqliteRecordSource& operator=(const TSqliteRecordSource&) = delete;

    const std::vector<TFieldDef>& FieldDefs() const override { return defs_; }
    const QStringList& ColumnNames() const override { return names_; }

    bool HasRow(qint64 position) override;
    // Windowed: the rows whose ids are known (all once they were read).
    qint64 FetchedRowCount() const override;
    bool IsComplete() const override;
    // Windowed: reads the ids only.
    void FetchAll() override;
    qint64 RowCount() override;
    bool RowCountKnown() const override;

    // Windowed: may fetch the position's window (see TRecordSource::Value).
    Variant Value(qint64 position, int column) const override;
    void ScanColumn(int column, const std::function<void(const Variant&)>& visit) override;
    TRowId RowIdAt(qint64 position) const override;
    // Stepped: ids of rows fetched so far are found at once (a hash rebuilt
    // lazily after inserts and deletes). An id not fetched yet is looked
    // for by fetching on: rowid sources first ask SQLite whether the query
    // still returns that rowid (-1 at once when not), ordinal sources fetch
    // up to the ordinal. Windowed: searched in the rowid list.
    qint64 PositionOf(TRowId id) override;

    bool CanModify() const override;
    void UpdateRow(qint64 position, const std::vector<Variant>& values, const std::vector<bool>& changed) override;
    // Columns whose value is empty (Unassigned or Null) are left out of the
    // INSERT, so the table's defaults apply to them.
    qint64 InsertRow(qint64 position, const std::vector<Variant>& values) override;
    void DeleteRow(qint64 position) override;

    // Refuses writes even where the SELECT could write back (a table
    // opened read-only).
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // The table rows are written to; empty for read-only sources.
    QString TableName() const { return table_; }
    // False once the database was switched off under the source.
    bool Connected() const { return db_ != nullptr; }
    // Whether rows are read in windows by rowid (else stepped).
    bool Windowed() const { return windows_ != nullptr; }
    // Bytes of fetched row storage (windowed: ids and cached windows), for
    // tests and benchmarks.
    qint64 MemoryUsage() const;

private:
    // How one selected column is read and written.
    struct Column {
        int statementIndex = 0;  // result column in the read statement
        TFieldType type = ftUnknown;
        QString origin;  // the table column behind it; empty for expressions
    };

    void Prepare(const QString& sql);
    bool TryPrepareWithRowid(const QString& sql);
    void StartWindows(qint64 windowRows);
    bool ScansTheTableInRowidOrder() const;
    // "SELECT rowid, <column> FROM <table> ORDER BY rowid" where that reads
    // the column's values in the SELECT's order; else nullptr.
    sqlite3_stmt* ColumnScanStatement(int column) const;
    sqlite3_stmt* PrepareStatement(const QString& sql, bool bindParameters) const;
    void BindParameters(sqlite3_stmt* statement) const;
    void DescribeColumns();

    bool StepRead();
    void AppendCurrentRow();
    bool RowExistsInQuery(TRowId id);
    qint64 SlotAt(qint64 position) const;
    void CheckPosition(qint64 position) const;

    void BeginWrite();
    qint64 PositionAfterBeginWrite(qint64 position, TRowId id);
    QString QualifiedTable() const;
    void CheckWritableColumn(int column) const;
    bool IsRowidAlias(int column) const;
    void Execute(sqlite3_stmt* statement);
    bool ReadBack(TRowId id, qint64 slot);
    void MaterializeOrder();
    void InvalidatePositions();
    [[noreturn]] void RaiseSqlite(const QString& context) const;

    void ReleaseStatements() override;
    void FinishReads() override;

    QPointer<TDatabase> database_;
    sqlite3* db_ = nullptr;
    QString sql_;
    TSqlParameters parameters_;
    sqlite3_stmt* read_ = nullptr;

    std::vector<TFieldDef> defs_;
    QStringList names_;
    std::vector<Column> columns_;
    bool readOnly_ = false;
    bool rowidSelected_ = false;  // column 0 of the read statement is the rowid
    QString schema_;
    QString table_;
    QString rowidName_;  // how the table's rowid is named in SQL
    // "SELECT rowid, <columns> FROM <table> [alias]" of the SELECT, for
    // fetching rows by rowid.
    QString rowsByRowidSql_;
    bool selectHasClauses_ = false;  // WHERE, ORDER BY or LIMIT after the table
    // Windowed over the whole table in rowid order (no clauses, no index).
    bool plainTableScan_ = false;
    // The table's declared columns (lower case) and whether each has a default.
    QHash<QString, bool> tableColumnDefaults_;

    TColumnStore store_;
    // Position -> slot; empty while positions and slots coincide (no insert
    // or delete yet), which saves 8 bytes a row on plain reads.
    std::vector<qint64> order_;
    bool orderIsIdentity_ = true;
    std::vector<TRowId> slotIds_;  // rowids by slot; empty for ordinal ids
    // Rowid -> position for the first hashedRows_ positions; built when
    // PositionOf first asks, extended as rows arrive, rebuilt after inserts
    // and deletes.
    QHash<TRowId, qint64> positions_;
    qint64 hashedRows_ = 0;
    bool complete_ = false;
    qint64 count_ = -1;

    // Set for windowed fetching; the members above then hold no rows.
    std::unique_ptr<TSqliteWindowedRows> windows_;
};

}  // namespace tk
