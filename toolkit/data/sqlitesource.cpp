#include "toolkit/data/sqlitesource.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/data/sqlitesourcesyntax.h"
#include "toolkit/data/sqlitesourcetypes.h"

#include <QScopeGuard>
#include <QSet>
#include <memory>
#include <optional>
#include <sqlite3.h>

namespace tk {

namespace {

// The hidden first column of rowid sources.
const QString kRowidColumn = QStringLiteral("__rowid__");

struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using TStatement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

[[noreturn]] void RaiseReadOnly()
{
    throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

QString Utf8OrEmpty(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

}  // namespace

TSqliteRecordSource::TSqliteRecordSource(TDatabase* database, const QString& sql, const TSqlParameters& parameters,
                                         TRowFetching fetching, qint64 windowRows)
    : database_(database), sql_(TrimSqlStatement(sql)), parameters_(parameters)
{
    if (!database || !database->Active())
        throw EDatabaseError(QStringLiteral("Cannot open a dataset on a database that is not open"));
    if (sql_.isEmpty())
        throw EDatabaseError(QStringLiteral("No SQL statement to open"));
    db_ = database->Handle();
    auto finalize = qScopeGuard([this] {
        sqlite3_finalize(read_);
        read_ = nullptr;
    });
    Prepare(sql_);
    DescribeColumns();
    if (rowidSelected_ && fetching == TRowFetching::Windows)
        StartWindows(windowRows);
    finalize.dismiss();
    database->AttachClient(this);
}

TSqliteRecordSource::~TSqliteRecordSource()
{
    windows_.reset();
    sqlite3_finalize(read_);
    if (database_)
        database_->DetachClient(this);
}

// --- Opening -----------------------------------------------------------------

void TSqliteRecordSource::Prepare(const QString& sql)
{
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, utf8.constData(), utf8.size(), &statement, &tail) != SQLITE_OK)
        RaiseSqlite(QString());
    TStatement plain(statement);
    if (!TrimSqlStatement(QString::fromUtf8(tail)).isEmpty())
        throw EDatabaseError(QStringLiteral("A dataset opens one SQL statement at a time"));
    if (sqlite3_column_count(statement) == 0 || !sqlite3_stmt_readonly(statement))
        throw EDatabaseError(QStringLiteral("The SQL statement returns no rows to open"));
    CheckParametersNamed(statement);

    if (TryPrepareWithRowid(sql)) {
        BindParameters(read_);
        return;
    }
    read_ = plain.release();
    BindParameters(read_);
}

bool TSqliteRecordSource::TryPrepareWithRowid(const QString& sql)
{
    const TSingleTableSelect shape = AnalyzeSingleTableSelect(sql);
    if (!shape.matches)
        return false;
    const QByteArray schema = (shape.schema.isEmpty() ? QStringLiteral("main") : shape.schema).toUtf8();
    if (sqlite3_db_readonly(db_, schema.constData()) != 0)
        return false;

    // A table may have real columns called rowid, _rowid_ or oid; the rowid
    // is then reachable under one of the other names.
    tableColumnDefaults_.clear();
    {
        TStatement info(PrepareStatement(
            QStringLiteral("SELECT name, dflt_value IS NOT NULL FROM pragma_table_info(?1, ?2)"), false));
        const QByteArray table = shape.table.toUtf8();
        sqlite3_bind_text(info.get(), 1, table.constData(), table.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(info.get(), 2, schema.constData(), schema.size(), SQLITE_TRANSIENT);
        while (sqlite3_step(info.get()) == SQLITE_ROW)
            tableColumnDefaults_.insert(SqliteColumnText(info.get(), 0).toLower(), sqlite3_column_int(info.get(), 1) != 0);
    }
    for (const char* name : {"rowid", "_rowid_", "oid"}) {
        if (!tableColumnDefaults_.contains(QLatin1String(name))) {
            rowidName_ = QLatin1String(name);
            break;
        }
    }
    if (rowidName_.isEmpty())
        return false;

    // The hidden column goes first: ORDER BY column numbers move by one.
    const QString rewritten = QStringLiteral("SELECT %1 AS %2, ").arg(rowidName_, QuoteIdentifier(kRowidColumn)) +
                              WithOrderByOrdinalsShifted(sql.mid(shape.columnsStart), 1);
    const QByteArray utf8 = rewritten.toUtf8();
    sqlite3_stmt* statement = nullptr;
    // WITHOUT ROWID tables fail here ("no such column").
    if (sqlite3_prepare_v2(db_, utf8.constData(), utf8.size(), &statement, nullptr) != SQLITE_OK) {
        rowidName_.clear();
        return false;
    }
    TStatement candidate(statement);

    // A view also prepares, but its rowid has no origin table; and every
    // column that comes from a table must come from this one.
    const QString table = Utf8OrEmpty(sqlite3_column_table_name(statement, 0));
    const QString database = Utf8OrEmpty(sqlite3_column_database_name(statement, 0));
    bool sound = table.compare(shape.table, Qt::CaseInsensitive) == 0 &&
                 (shape.schema.isEmpty() || database.compare(shape.schema, Qt::CaseInsensitive) == 0);
    for (int i = 1; sound && i < sqlite3_column_count(statement); ++i) {
        const char* columnTable = sqlite3_column_table_name(statement, i);
        if (columnTable && QString::fromUtf8(columnTable) != table)
            sound = false;
    }
    if (!sound) {
        rowidName_.clear();
        return false;
    }
    schema_ = database;
    table_ = table;
    rowidSelected_ = true;
    rowsByRowidSql_ = QStringLiteral("SELECT %1 AS %2, ").arg(rowidName_, QuoteIdentifier(kRowidColumn)) +
                      sql.mid(shape.columnsStart, shape.clausesStart - shape.columnsStart);
    selectHasClauses_ = shape.clausesStart < sql.size();
    read_ = candidate.release();
    return true;
}

void TSqliteRecordSource::StartWindows(qint64 windowRows)
{
    if (windowRows < 1)
        throw EDatabaseError(QStringLiteral("A window holds at least one row"));
    QStringList marks;
    for (qint64 i = 0; i < windowRows; ++i)
        marks.append(QStringLiteral("?"));
    const QString sql = rowsByRowidSql_ + QStringLiteral(" WHERE %1 IN (%2)").arg(rowidName_, marks.join(QLatin1Char(',')));
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    // Whatever the table part cannot do alone (it always can, as the SELECT
    // prepared with it) leaves the rows stepped.
    if (sqlite3_prepare_v2(db_, utf8.constData(), utf8.size(), &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return;
    }
    TStatement window(raw);
    if (sqlite3_column_count(raw) != sqlite3_column_count(read_))
        return;
    BindParameters(raw);
    TStatement range(
        PrepareStatement(rowsByRowidSql_ + QStringLiteral(" WHERE %1 BETWEEN ? AND ?").arg(rowidName_), true));

    // Describing the columns may have stepped the first row: start over.
    sqlite3_reset(read_);
    store_.Clear();
    slotIds_.clear();
    complete_ = false;
    std::vector<TFieldType> types;
    for (const Column& column : columns_)
        types.push_back(column.type);
    sqlite3_stmt* ids = nullptr;
    plainTableScan_ = !selectHasClauses_ && ScansTheTableInRowidOrder();
    if (plainTableScan_)
        ids = PrepareStatement(
            QStringLiteral("SELECT %1 FROM %2 WHERE %1 > ?1 ORDER BY %1 LIMIT ?2").arg(rowidName_, QualifiedTable()),
            false);
    windows_ = std::make_unique<TSqliteWindowedRows>(db_, read_, window.release(), range.release(), ids, windowRows,
                                                     std::move(types),
                                                     names_);
}

bool TSqliteRecordSource::ScansTheTableInRowidOrder() const
{
    // One step of the plan, "SCAN <table>" without "USING ... INDEX": the
    // SELECT walks the table's own b-tree, so its rows come in rowid order.
    const QByteArray sql = "EXPLAIN QUERY PLAN " + QByteArray(sqlite3_sql(read_));
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, sql.constData(), sql.size(), &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return false;  // then the SELECT itself gives the ids
    }
    TStatement plan(raw);
    QStringList steps;
    while (sqlite3_step(raw) == SQLITE_ROW)
        steps.append(SqliteColumnText(raw, 3));
    return steps.size() == 1 && steps.first().startsWith(QLatin1String("SCAN ")) &&
           !steps.first().contains(QLatin1String(" USING "));
}

sqlite3_stmt* TSqliteRecordSource::PrepareStatement(const QString& sql, bool bindParameters) const
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, utf8.constData(), utf8.size(), &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        RaiseSqlite(QString());
    }
    if (bindParameters) {
        auto finalize = qScopeGuard([statement] { sqlite3_finalize(statement); });
        BindParameters(statement);
        finalize.dismiss();
    }
    return statement;
}

void TSqliteRecordSource::BindParameters(sqlite3_stmt* statement) const
{
    BindNamedParameters(statement, parameters_);
}

void TSqliteRecordSource::DescribeColumns()
{
    const int first = rowidSelected_ ? 1 : 0;
    const int count = sqlite3_column_count(read_) - first;

    // Expressions have no declared type: their first value decides, so the
    // first row is stepped before the store exists and stored after it.
    bool needFirstRow = false;
    for (int i = 0; i < count; ++i)
        needFirstRow = needFirstRow || !sqlite3_column_decltype(read_, first + i);
    int firstStep = SQLITE_OK;
    if (needFirstRow) {
        firstStep = sqlite3_step(read_);
        if (firstStep != SQLITE_ROW && firstStep != SQLITE_DONE)
            RaiseSqlite(QString());
    }

    std::vector<TFieldType> types;
    QSet<QString> usedNames;
    for (int i = 0; i < count; ++i) {
        const int index = first + i;
        Column column;
        column.statementIndex = index;
        // Fields need a name, and a unique one: an unnamed column is
        // "Column", and repeated names (SELECT a, a) get "_1", "_2"...
        QString given = Utf8OrEmpty(sqlite3_column_name(read_, index));
        if (given.isEmpty())
            given = QStringLiteral("Column");
        QString name = given;
        for (int n = 1; usedNames.contains(name.toLower()); ++n)
            name = given + QStringLiteral("_%1").arg(n);
        usedNames.insert(name.toLower());

        const char* declared = sqlite3_column_decltype(read_, index);
        const char* table = sqlite3_column_table_name(read_, index);
        const char* origin = sqlite3_column_origin_name(read_, index);
        int notNull = 0, primaryKey = 0;
        QString originType;
        if (table && origin) {
            const char* type = nullptr;
            sqlite3_table_column_metadata(db_, sqlite3_column_database_name(read_, index), table, origin, &type,
                                          nullptr, &notNull, &primaryKey, nullptr);
            originType = Utf8OrEmpty(type);
        }
        TFieldDef def;
        if (declared) {
            const bool rowidAlias = primaryKey && originType.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
            def = FieldDefFromDeclaredType(name, QString::fromUtf8(declared), rowidAlias);
        } else {
            def.Name = name;
            def.DataType = FieldTypeFromStorageClass(firstStep == SQLITE_ROW ? sqlite3_column_type(read_, index)
                                                                             : SQLITE_TEXT);
        }
        if (rowidSelected_ && table && origin && QString::fromUtf8(table) == table_) {
            // A name that is no declared column is the rowid itself, which
            // is the row's identity rather than a value to write.
            column.origin = QString::fromUtf8(origin);
            const auto declaredColumn = tableColumnDefaults_.constFind(column.origin.toLower());
            def.ReadOnly = declaredColumn == tableColumnDefaults_.constEnd();
            const bool rowidAlias = primaryKey && def.DataType == ftLargeint;
            def.Required = notNull && !rowidAlias && !def.ReadOnly && !declaredColumn.value();
        } else {
            def.ReadOnly = true;
        }
        column.type = def.DataType;
        types.push_back(def.DataType);
        names_.append(def.Name);
        defs_.push_back(def);
        columns_.push_back(column);
    }

    store_ = TColumnStore(types);
    if (firstStep == SQLITE_ROW) {
        AppendCurrentRow();
    } else if (firstStep == SQLITE_DONE) {
        complete_ = true;
        sqlite3_reset(read_);
    }
}

// --- Fetching ----------------------------------------------------------------

bool TSqliteRecordSource::StepRead()
{
    if (complete_ || !read_)
        return false;
    const int rc = sqlite3_step(read_);
    if (rc == SQLITE_ROW) {
        AppendCurrentRow();
        return true;
    }
    // The end, or an error: either way the rows stop here, and resetting
    // releases the read lock on the file.
    complete_ = true;
    const QString error = rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_reset(read_);
    if (rc != SQLITE_DONE)
        throw EDatabaseError(error);
    return false;
}

void TSqliteRecordSource::AppendCurrentRow()
{
    const qint64 slot = store_.AddSlot();
    if (rowidSelected_)
        slotIds_.push_back(sqlite3_column_int64(read_, 0));
    for (int column = 0; column < static_cast<int>(columns_.size()); ++column) {
        try {
            StoreSqliteValue(store_, slot, column, read_, columns_[column].statementIndex);
        } catch (const EConvertError& error) {
            // A value its field cannot hold (a number beyond an ftBCD's
            // range): the rows stop before this one rather than show it cut
            // or half-stored.
            MaterializeOrder();
            order_.pop_back();
            complete_ = true;
            sqlite3_reset(read_);
            throw EDatabaseError(QStringLiteral("Field '%1', row %2: %3")
                                     .arg(names_[column])
                                     .arg(FetchedRowCount() + 1)
                                     .arg(error.Message()));
        }
    }
}

void TSqliteRecordSource::ScanColumn(int column, const std::function<void(const Variant&)>& visit)
{
    Q_ASSERT(column >= 0 && column < static_cast<int>(columns_.size()));
    if (!windows_) {
        TRecordSource::ScanColumn(column, visit);
        return;
    }
    const TStatement columnRead(ColumnScanStatement(column));
    windows_->ScanColumn(column, visit, columnRead.get());
}

sqlite3_stmt* TSqliteRecordSource::ColumnScanStatement(int column) const
{
    // Only a plain scan of the table is sure to give its rows in rowid
    // order, as the statement of the one column does; and only a declared
    // table column reads there as it reads in the SELECT.
    const QString& origin = columns_[static_cast<size_t>(column)].origin;
    if (!db_ || !plainTableScan_ || origin.isEmpty() || !tableColumnDefaults_.contains(origin.toLower()))
        return nullptr;
    return PrepareStatement(QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %1")
                                .arg(rowidName_, QuoteIdentifier(origin), QualifiedTable()),
                            false);
}

bool TSqliteRecordSource::HasRow(qint64 position)
{
    if (windows_)
        return windows_->HasRow(position);
    if (position < 0)
        return false;
    while (FetchedRowCount() <= position)
        if (!StepRead())
            return false;
    return true;
}

qint64 TSqliteRecordSource::FetchedRowCount() const
{
    if (windows_)
        return windows_->KnownRowCount();
    return orderIsIdentity_ ? store_.SlotCount() : static_cast<qint64>(order_.size());
}

bool TSqliteRecordSource::IsComplete() const
{
    return windows_ ? windows_->AllIdsRead() : complete_;
}

bool TSqliteRecordSource::RowCountKnown() const
{
    return IsComplete() || count_ >= 0;
}

void TSqliteRecordSource::FetchAll()
{
    if (windows_) {
        windows_->ReadAllIds();
        return;
    }
    while (StepRead()) {
    }
}

qint64 TSqliteRecordSource::RowCount()
{
    // A count query is about five times faster than reading every id.
    if (windows_ ? windows_->AllIdsRead() : complete_)
        return FetchedRowCount();
    if (!db_)
        return FetchedRowCount();
    if (count_ < 0) {
        // Counting needs no order: SQLite would sort a subquery's rows first.
        TStatement count(
            PrepareStatement(QStringLiteral("SELECT count(*) FROM (%1)").arg(WithoutTopLevelOrderBy(sql_)), true));
        const int rc = sqlite3_step(count.get());
        if (rc != SQLITE_ROW)
            RaiseSqlite(QString());
        count_ = sqlite3_column_int64(count.get(), 0);
    }
    // Another connection may have added rows since; what was fetched is
    // certain.
    return std::max(count_, FetchedRowCount());
}

// --- Reading -----------------------------------------------------------------

void TSqliteRecordSource::CheckPosition(qint64 position) const
{
    if (position < 0 || position >= FetchedRowCount())
        throw EDatabaseError(QStringLiteral("Row %1 has not been fetched").arg(position));
}

qint64 TSqliteRecordSource::SlotAt(qint64 position) const
{
    return orderIsIdentity_ ? position : order_[static_cast<size_t>(position)];
}

Variant TSqliteRecordSource::Value(qint64 position, int column) const
{
    CheckPosition(position);
    if (column < 0 || column >= static_cast<int>(columns_.size()))
        throw EDatabaseError(QStringLiteral("Column %1 does not exist").arg(column));
    return windows_ ? windows_->Value(position, column) : store_.Get(SlotAt(position), column);
}

TRowId TSqliteRecordSource::RowIdAt(qint64 position) const
{
    CheckPosition(position);
    if (windows_)
        return windows_->RowIdAt(position);
    const qint64 slot = SlotAt(position);
    return rowidSelected_ ? slotIds_[static_cast<size_t>(slot)] : slot;
}

qint64 TSqliteRecordSource::PositionOf(TRowId id)
{
    if (windows_)
        return windows_->PositionOf(id);
    if (!rowidSelected_) {
        // Read-only: the id is the fetch ordinal, which is the position.
        return HasRow(id) ? id : -1;
    }
    const qint64 fetched = FetchedRowCount();
    for (; hashedRows_ < fetched; ++hashedRows_)
        positions_.insert(slotIds_[static_cast<size_t>(SlotAt(hashedRows_))], hashedRows_);
    const auto found = positions_.constFind(id);
    if (found != positions_.constEnd())
        return found.value();
    if (complete_ || !RowExistsInQuery(id))
        return -1;
    // Not fetched yet (order is still the fetch order here).
    while (StepRead()) {
        if (slotIds_.back() == id)
            return FetchedRowCount() - 1;
    }
    return -1;
}

bool TSqliteRecordSource::RowExistsInQuery(TRowId id)
{
    TStatement lookup(PrepareStatement(QStringLiteral("SELECT 1 FROM (%1) WHERE %2 = ?")
                                           .arg(QString::fromUtf8(sqlite3_sql(read_)), QuoteIdentifier(kRowidColumn)),
                                       true));
    sqlite3_bind_int64(lookup.get(), sqlite3_bind_parameter_count(lookup.get()), id);
    const int rc = sqlite3_step(lookup.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        RaiseSqlite(QString());
    return rc == SQLITE_ROW;
}

qint64 TSqliteRecordSource::MemoryUsage() const
{
    if (windows_)
        return windows_->MemoryUsage();
    return store_.MemoryUsage() + static_cast<qint64>((order_.capacity() + slotIds_.capacity()) * sizeof(qint64));
}

// --- Writing -----------------------------------------------------------------

bool TSqliteRecordSource::CanModify() const
{
    return db_ && rowidSelected_ && !readOnly_ && sqlite3_db_readonly(db_, schema_.toUtf8().constData()) == 0;
}

void TSqliteRecordSource::BeginWrite()
{
    if (!CanModify())
        RaiseReadOnly();
    if (database_)
        database_->PrepareForWrite(this);
    FinishReads();
}

void TSqliteRecordSource::FinishReads()
{
    // Windowed reads never stay open; a stepped one is read to its end.
    if (!windows_)
        FetchAll();
}

qint64 TSqliteRecordSource::PositionAfterBeginWrite(qint64 position, TRowId id)
{
    BeginWrite();
    if (!windows_)
        return position;
    // Writers need every id; read now, they may place the row elsewhere
    // when the table changed since the first block was read.
    windows_->ReadAllIds();
    const qint64 now = windows_->PositionOf(id);
    if (now < 0)
        throw EDatabaseError(QStringLiteral("Record not found or changed by another user"));
    return now;
}

QString TSqliteRecordSource::QualifiedTable() const
{
    return QuoteIdentifier(schema_) + QLatin1Char('.') + QuoteIdentifier(table_);
}

void TSqliteRecordSource::Execute(sqlite3_stmt* statement)
{
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        RaiseSqlite(QString());
}

void TSqliteRecordSource::CheckWritableColumn(int column) const
{
    if (columns_[static_cast<size_t>(column)].origin.isEmpty() || defs_[static_cast<size_t>(column)].ReadOnly)
        throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(names_[column]));
}

void TSqliteRecordSource::UpdateRow(qint64 position, const std::vector<Variant>& values,
                                    const std::vector<bool>& changed)
{
    if (!CanModify())
        RaiseReadOnly();
    CheckPosition(position);
    std::vector<int> written;
    for (int column = 0; column < static_cast<int>(columns_.size()); ++column) {
        if (column < static_cast<int>(changed.size()) && changed[column]) {
            CheckWritableColumn(column);
            written.push_back(column);
        }
    }
    if (written.empty())
        return;
    if (values.size() < columns_.size())
        throw EDatabaseError(QStringLiteral("Too few values for the row"));
    const TRowId id = RowIdAt(position);
    position = PositionAfterBeginWrite(position, id);
    QStringList assignments;
    for (int column : written)
        assignments.append(QuoteIdentifier(columns_[column].origin) + QStringLiteral(" = ?"));
    TStatement update(PrepareStatement(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                           .arg(QualifiedTable(), assignments.join(QStringLiteral(", ")), rowidName_),
                                       false));
    int index = 1;
    for (int column : written)
        BindFieldValue(update.get(), index++, values[column], columns_[column].type, names_[column]);
    sqlite3_bind_int64(update.get(), index, id);
    Execute(update.get());
    if (sqlite3_changes(db_) == 0)
        throw EDatabaseError(QStringLiteral("Record not found or changed by another user"));

    // Writing the INTEGER PRIMARY KEY moves the row to another rowid.
    TRowId newId = id;
    for (int column : written)
        if (defs_[column].DataType == ftLargeint && IsRowidAlias(column) && !values[column].IsEmptyOrNull())
            newId = values[column].ToInt64();
    if (windows_) {
        windows_->RowUpdated(position, newId);
        return;
    }
    const qint64 slot = SlotAt(position);
    if (!ReadBack(newId, slot)) {
        for (int column : written)
            store_.Set(slot, column, values[column]);
    }
    if (newId != id) {
        slotIds_[static_cast<size_t>(slot)] = newId;
        InvalidatePositions();
    }
}

qint64 TSqliteRecordSource::InsertRow(qint64 position, const std::vector<Variant>& values)
{
    if (!CanModify())
        RaiseReadOnly();
    if (values.size() < columns_.size())
        throw EDatabaseError(QStringLiteral("Too few values for the row"));
    // Values the record never set (Unassigned) are left out so that the
    // table's defaults apply; a Null the user chose is written as NULL.
    std::vector<int> written;
    for (int column = 0; column < static_cast<int>(columns_.size()); ++column) {
        if (values[column].IsUnassigned())
            continue;
        CheckWritableColumn(column);
        written.push_back(column);
    }
    BeginWrite();
    if (windows_)
        windows_->ReadAllIds();
    if (position < -1 || position > FetchedRowCount())
        throw EDatabaseError(QStringLiteral("Cannot insert at row %1").arg(position));

    QString sql;
    if (written.empty()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(QualifiedTable());
    } else {
        QStringList names, marks;
        for (int column : written) {
            names.append(QuoteIdentifier(columns_[column].origin));
            marks.append(QStringLiteral("?"));
        }
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(QualifiedTable(), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    }
    TStatement insert(PrepareStatement(sql, false));
    int index = 1;
    for (int column : written)
        BindFieldValue(insert.get(), index++, values[column], columns_[column].type, names_[column]);
    Execute(insert.get());
    const TRowId id = sqlite3_last_insert_rowid(db_);
    if (windows_) {
        const qint64 at = position < 0 ? FetchedRowCount() : position;
        windows_->RowInserted(at, id);
        return at;
    }

    MaterializeOrder();
    const qint64 slot = store_.AddSlot();
    slotIds_.push_back(id);
    if (!ReadBack(id, slot)) {
        for (int column : written)
            store_.Set(slot, column, values[column]);
    }
    const qint64 at = position < 0 ? FetchedRowCount() : position;
    order_.insert(order_.begin() + at, slot);
    InvalidatePositions();
    return at;
}

void TSqliteRecordSource::DeleteRow(qint64 position)
{
    if (!CanModify())
        RaiseReadOnly();
    CheckPosition(position);
    const TRowId id = RowIdAt(position);
    position = PositionAfterBeginWrite(position, id);
    TStatement remove(
        PrepareStatement(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(QualifiedTable(), rowidName_), false));
    sqlite3_bind_int64(remove.get(), 1, id);
    Execute(remove.get());
    if (sqlite3_changes(db_) == 0)
        throw EDatabaseError(QStringLiteral("Record not found or changed by another user"));
    if (windows_) {
        windows_->RowDeleted(position);
        return;
    }
    MaterializeOrder();
    order_.erase(order_.begin() + position);
    InvalidatePositions();
}

bool TSqliteRecordSource::IsRowidAlias(int column) const
{
    // The INTEGER PRIMARY KEY column is the rowid under its own name.
    const QByteArray origin = columns_[column].origin.toUtf8();
    int primaryKey = 0;
    const char* type = nullptr;
    if (sqlite3_table_column_metadata(db_, schema_.toUtf8().constData(), table_.toUtf8().constData(),
                                      origin.constData(), &type, nullptr, nullptr, &primaryKey,
                                      nullptr) != SQLITE_OK)
        return false;
    return primaryKey && QString::fromUtf8(type).compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
}

bool TSqliteRecordSource::ReadBack(TRowId id, qint64 slot)
{
    // Reads the table columns of the row as the table now holds them;
    // expression columns keep their values (Null for new rows).
    QStringList selected;
    std::vector<int> columns;
    for (int column = 0; column < static_cast<int>(columns_.size()); ++column) {
        if (columns_[column].origin.isEmpty())
            continue;
        selected.append(QuoteIdentifier(columns_[column].origin));
        columns.push_back(column);
    }
    if (columns.empty())
        return true;
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(selected.join(QStringLiteral(", ")), QualifiedTable(), rowidName_);
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, utf8.constData(), utf8.size(), &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return false;
    }
    TStatement statement(raw);
    sqlite3_bind_int64(raw, 1, id);
    if (sqlite3_step(raw) != SQLITE_ROW)
        return false;
    // The write has succeeded: a value that cannot be shown must not turn
    // it into a reported failure (which would invite the user to post the
    // same record again); the caller keeps the values it wrote instead.
    try {
        for (size_t i = 0; i < columns.size(); ++i)
            StoreSqliteValue(store_, slot, columns[i], raw, static_cast<int>(i));
    } catch (const Exception&) {
        return false;
    }
    return true;
}

void TSqliteRecordSource::MaterializeOrder()
{
    if (!orderIsIdentity_)
        return;
    order_.resize(static_cast<size_t>(store_.SlotCount()));
    for (size_t i = 0; i < order_.size(); ++i)
        order_[i] = static_cast<qint64>(i);
    orderIsIdentity_ = false;
}

void TSqliteRecordSource::InvalidatePositions()
{
    positions_.clear();
    hashedRows_ = 0;
}

// --- Connection --------------------------------------------------------------

void TSqliteRecordSource::ReleaseStatements()
{
    if (windows_)
        windows_->Disconnect();
    sqlite3_finalize(read_);
    read_ = nullptr;
    complete_ = true;
    db_ = nullptr;
    if (database_)
        database_->DetachClient(this);
}

void TSqliteRecordSource::RaiseSqlite(const QString& context) const
{
    const QString message = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("database closed");
    throw EDatabaseError(context.isEmpty() ? message : context + QStringLiteral(": ") + message);
}

}  // namespace tk
