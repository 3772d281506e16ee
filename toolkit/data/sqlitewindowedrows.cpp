#include "toolkit/data/sqlitewindowedrows.h"

#include "toolkit/core/exceptions.h"

#include <QHash>
#include <QScopeGuard>
#include <algorithm>
#include <functional>
#include <sqlite3.h>

namespace tk {

TSqliteWindowedRows::TSqliteWindowedRows(sqlite3* db, sqlite3_stmt* read, sqlite3_stmt* window, sqlite3_stmt* range,
                                         sqlite3_stmt* ids, qint64 windowRows, std::vector<TFieldType> types,
                                         QStringList names)
    : db_(db), read_(read), window_(window), range_(range), idsStatement_(ids), windowRows_(windowRows),
      types_(std::move(types)), names_(std::move(names))
{
    Q_ASSERT(windowRows_ > 0);
    // The rowid marks come last in the text, so they hold the last numbers.
    firstIdParameter_ = sqlite3_bind_parameter_count(window_) - static_cast<int>(windowRows_) + 1;
    Q_ASSERT(firstIdParameter_ >= 1 && !sqlite3_bind_parameter_name(window_, firstIdParameter_));
    if (range_) {
        firstRangeParameter_ = sqlite3_bind_parameter_count(range_) - 1;
        Q_ASSERT(firstRangeParameter_ >= 1 && !sqlite3_bind_parameter_name(range_, firstRangeParameter_));
    }
}

TSqliteWindowedRows::~TSqliteWindowedRows()
{
    sqlite3_finalize(window_);
    sqlite3_finalize(range_);
    sqlite3_finalize(idsStatement_);
}

// --- Ids ---------------------------------------------------------------------

void TSqliteWindowedRows::StepFirstBlock()
{
    if (firstBlockRead_ || !db_)
        return;
    Window first;
    first.rows = TColumnStore(types_);
    std::vector<TRowId> ids;
    QString conversionError;
    int rc = SQLITE_ROW;
    {
        auto reset = qScopeGuard([this] { sqlite3_reset(read_); });
        while (static_cast<qint64>(ids.size()) < windowRows_ && (rc = sqlite3_step(read_)) == SQLITE_ROW) {
            const qint64 slot = first.rows.AddSlot();
            StoreRow(first.rows, slot, read_, slot, conversionError);
            ids.push_back(sqlite3_column_int64(read_, 0));
        }
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            RaiseSqlite();
    }
    ids_ = std::move(ids);
    firstBlockRead_ = true;
    allIdsRead_ = rc == SQLITE_DONE;
    first.lastUse = ++uses_;
    windows_.push_back(std::move(first));
    if (!conversionError.isEmpty())
        throw EDatabaseError(conversionError);
}

void TSqliteWindowedRows::ReadAllIds()
{
    StepFirstBlock();
    if (allIdsRead_ || !db_)
        return;
    if (idsStatement_) {
        ReadIdsAfterLast(-1);
        return;
    }
    auto reset = qScopeGuard([this] { sqlite3_reset(read_); });
    std::vector<TRowId> ids;
    ids.reserve(ids_.size());
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(read_)) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(read_, 0));
    if (rc != SQLITE_DONE)
        RaiseSqlite();
    ids.shrink_to_fit();
    if (ids.size() < ids_.size() || !std::equal(ids_.begin(), ids_.end(), ids.begin()))
        windows_.clear();
    ids_ = std::move(ids);
    allIdsRead_ = true;
    idIndexValid_ = false;
}

void TSqliteWindowedRows::ReadIdsThrough(qint64 position)
{
    StepFirstBlock();
    if (allIdsRead_ || position < KnownRowCount() || !db_)
        return;
    if (!idsStatement_) {
        ReadAllIds();
        return;
    }
    // Each read takes at least as many ids as are known: however the
    // steps come, all reads together cost about one read of every id. It
    // ends on a window's end, so that a window fetched now holds every
    // position it will ever have.
    const qint64 known = KnownRowCount();
    Q_ASSERT(known % windowRows_ == 0);
    const qint64 through = std::max({position + 1, 2 * known, known + windowRows_});
    ReadIdsAfterLast((through + windowRows_ - 1) / windowRows_ * windowRows_ - known);
}

void TSqliteWindowedRows::ReadIdsAfterLast(qint64 limit)
{
    Q_ASSERT(idsStatement_ && firstBlockRead_ && !allIdsRead_ && !ids_.empty());
    auto reset = qScopeGuard([this] { sqlite3_reset(idsStatement_); });
    sqlite3_bind_int64(idsStatement_, 1, ids_.back());
    sqlite3_bind_int64(idsStatement_, 2, limit);
    qint64 read = 0;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(idsStatement_)) == SQLITE_ROW) {
        ids_.push_back(sqlite3_column_int64(idsStatement_, 0));
        ++read;
    }
    if (rc != SQLITE_DONE)
        RaiseSqlite();
    idIndexValid_ = false;
    if (limit < 0 || read < limit) {
        allIdsRead_ = true;
        ids_.shrink_to_fit();
    }
}

qint64 TSqliteWindowedRows::PositionOf(TRowId id)
{
    StepFirstBlock();
    if (!allIdsRead_) {
        const auto found = std::find(ids_.begin(), ids_.end(), id);
        if (found != ids_.end())
            return found - ids_.begin();
        ReadAllIds();
    }
    BuildIdIndex();
    if (idsAscend_) {
        const auto found = std::lower_bound(ids_.begin(), ids_.end(), id);
        return found != ids_.end() && *found == id ? found - ids_.begin() : -1;
    }
    const auto found = std::lower_bound(byId_.begin(), byId_.end(), id, [this](qint64 position, TRowId wanted) {
        return ids_[static_cast<size_t>(position)] < wanted;
    });
    return found != byId_.end() && ids_[static_cast<size_t>(*found)] == id ? *found : -1;
}

void TSqliteWindowedRows::BuildIdIndex()
{
    if (idIndexValid_)
        return;
    idsAscend_ = std::adjacent_find(ids_.begin(), ids_.end(), std::greater_equal<TRowId>()) == ids_.end();
    byId_.clear();
    if (!idsAscend_) {
        byId_.resize(ids_.size());
        for (size_t i = 0; i < byId_.size(); ++i)
            byId_[i] = static_cast<qint64>(i);
        std::sort(byId_.begin(), byId_.end(), [this](qint64 a, qint64 b) {
            return ids_[static_cast<size_t>(a)] < ids_[static_cast<size_t>(b)];
        });
    }
    byId_.shrink_to_fit();
    idIndexValid_ = true;
}

TRowId TSqliteWindowedRows::RowIdAt(qint64 position) const
{
    Q_ASSERT(position >= 0 && position < KnownRowCount());
    return ids_[static_cast<size_t>(position)];
}

// --- Windows -----------------------------------------------------------------

bool TSqliteWindowedRows::HasRow(qint64 position)
{
    if (position < 0)
        return false;
    ReadIdsThrough(position);
    if (position >= KnownRowCount())
        return false;
    const qint64 index = position / windowRows_;
    if (!db_)
        return FindWindow(index) != nullptr;
    CachedWindow(index);
    return true;
}

Variant TSqliteWindowedRows::Value(qint64 position, int column) const
{
    Q_ASSERT(position >= 0 && position < KnownRowCount());
    const qint64 index = position / windowRows_;
    const Window* window = db_ ? &CachedWindow(index) : FindWindow(index);
    if (!window)
        return Variant::NullValue();
    return window->rows.Get(position - index * windowRows_, column);
}

void TSqliteWindowedRows::ScanColumn(int column, const std::function<void(const Variant&)>& visit,
                                     sqlite3_stmt* columnRead)
{
    Q_ASSERT(column >= 0 && column < static_cast<int>(types_.size()));
    Q_ASSERT(!columnRead || sqlite3_column_count(columnRead) == 2);
    StepFirstBlock();
    QString conversionError;
    qint64 position = 0;
    if (db_) {
        position = columnRead ? StepColumn(columnRead, 1, column, visit, conversionError)
                              : StepColumn(read_, column + 1, column, visit, conversionError);
    }
    for (; HasRow(position); ++position)
        visit(Value(position, column));
    if (!conversionError.isEmpty())
        throw EDatabaseError(conversionError);
}

qint64 TSqliteWindowedRows::StepColumn(sqlite3_stmt* statement, int valueColumn, int column,
                                       const std::function<void(const Variant&)>& visit, QString& conversionError)
{
    // The values of rows not cached pass through a store of one window's
    // size, emptied as each window's worth is visited.
    TColumnStore passing({types_[static_cast<size_t>(column)]});
    const Window* cached = nullptr;
    qint64 position = 0;
    int rc = SQLITE_ROW;
    // Ids are listed on the way only when the pass reaches the end; a pass
    // cut short lists none of them (the list must end on a window's end).
    const size_t listed = ids_.size();
    auto reset = qScopeGuard([this, statement, listed] {
        sqlite3_reset(statement);
        if (!allIdsRead_)
            ids_.resize(listed);
    });
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const TRowId id = sqlite3_column_int64(statement, 0);
        if (position < KnownRowCount()) {
            if (ids_[static_cast<size_t>(position)] != id)
                break;
        } else if (allIdsRead_) {
            break;  // a row added since the list was read: not listed
        } else {
            ids_.push_back(id);
            idIndexValid_ = false;
        }
        const qint64 index = position / windowRows_;
        const qint64 slot = position - index * windowRows_;
        if (slot == 0) {
            cached = FindWindow(index);
            passing.Clear();
        }
        if (cached) {
            visit(cached->rows.Get(slot, column));
        } else {
            const qint64 passingSlot = passing.AddSlot();
            StoreValue(passing, passingSlot, 0, statement, valueColumn, column, position, conversionError);
            visit(passing.Get(passingSlot, 0));
        }
        ++position;
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        RaiseSqlite();
    if (rc == SQLITE_DONE && !allIdsRead_ && position == KnownRowCount()) {
        allIdsRead_ = true;
        ids_.shrink_to_fit();
    }
    return position;
}

const TSqliteWindowedRows::Window* TSqliteWindowedRows::FindWindow(qint64 index) const
{
    for (Window& window : windows_) {
        if (window.index == index) {
            window.lastUse = ++uses_;
            return &window;
        }
    }
    return nullptr;
}

const TSqliteWindowedRows::Window& TSqliteWindowedRows::CachedWindow(qint64 index) const
{
    if (const Window* cached = FindWindow(index))
        return *cached;
    QString conversionError;
    Window fetched = FetchWindow(index, conversionError);
    Window* cached = nullptr;
    if (static_cast<int>(windows_.size()) < kCachedWindows) {
        windows_.push_back(std::move(fetched));
        cached = &windows_.back();
    } else {
        cached = &*std::min_element(windows_.begin(), windows_.end(),
                                    [](const Window& a, const Window& b) { return a.lastUse < b.lastUse; });
        *cached = std::move(fetched);
    }
    if (!conversionError.isEmpty())
        throw EDatabaseError(conversionError);
    return *cached;
}

TSqliteWindowedRows::Window TSqliteWindowedRows::FetchWindow(qint64 index, QString& conversionError) const
{
    Q_ASSERT(db_);
    const qint64 first = index * windowRows_;
    const qint64 count = std::min(windowRows_, KnownRowCount() - first);
    Q_ASSERT(count > 0 && (count == windowRows_ || allIdsRead_));
    const auto begin = ids_.begin() + first;
    const auto [low, high] = std::minmax_element(begin, begin + count);
    // Ids close together (a table in rowid order, an order that follows
    // it) are read as one range of the table, skipping the rows between
    // that are not the window's: much cheaper than a lookup per id.
    const bool asRange = range_ && *high - *low < 2 * count;
    sqlite3_stmt* statement = asRange ? range_ : window_;
    auto reset = qScopeGuard([statement] { sqlite3_reset(statement); });
    // Rows arrive in rowid order; each goes to the slot of its position.
    QHash<TRowId, qint64> slotOfId;
    slotOfId.reserve(count);
    for (qint64 i = 0; i < count; ++i)
        slotOfId.insert(ids_[static_cast<size_t>(first + i)], i);
    if (asRange) {
        sqlite3_bind_int64(range_, firstRangeParameter_, *low);
        sqlite3_bind_int64(range_, firstRangeParameter_ + 1, *high);
    } else {
        for (qint64 i = 0; i < windowRows_; ++i) {
            if (i < count)
                sqlite3_bind_int64(window_, firstIdParameter_ + static_cast<int>(i), ids_[static_cast<size_t>(first + i)]);
            else
                sqlite3_bind_null(window_, firstIdParameter_ + static_cast<int>(i));
        }
    }
    Window window;
    window.index = index;
    window.rows = TColumnStore(types_);
    for (qint64 i = 0; i < count; ++i)
        window.rows.AddSlot();  // Null until its row arrives
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto slot = slotOfId.constFind(sqlite3_column_int64(statement, 0));
        Q_ASSERT(asRange || slot != slotOfId.constEnd());
        if (slot != slotOfId.constEnd())
            StoreRow(window.rows, slot.value(), statement, first + slot.value(), conversionError);
    }
    if (rc != SQLITE_DONE)
        RaiseSqlite();
    window.lastUse = ++uses_;
    return window;
}

void TSqliteWindowedRows::StoreRow(TColumnStore& rows, qint64 slot, sqlite3_stmt* statement, qint64 position,
                                   QString& conversionError) const
{
    for (int column = 0; column < static_cast<int>(types_.size()); ++column)
        StoreValue(rows, slot, column, statement, column + 1, column, position, conversionError);
}

void TSqliteWindowedRows::StoreValue(TColumnStore& rows, qint64 slot, int storeColumn, sqlite3_stmt* statement,
                                     int statementColumn, int column, qint64 position,
                                     QString& conversionError) const
{
    try {
        StoreSqliteValue(rows, slot, storeColumn, statement, statementColumn);
    } catch (const EConvertError& error) {
        // A value its field cannot hold (a number beyond an ftBCD's range)
        // is not shown cut: the cell stays Null, and the first such value
        // is reported.
        if (conversionError.isEmpty())
            conversionError = QStringLiteral("Field '%1', row %2: %3")
                                  .arg(names_[column])
                                  .arg(position + 1)
                                  .arg(error.Message());
    }
}

void TSqliteWindowedRows::ReadBackWritten(qint64 position)
{
    // The write has succeeded: a value that cannot be shown must not turn
    // it into a reported failure (which would invite the user to post the
    // same record again). The window stays cached, that value Null.
    try {
        CachedWindow(position / windowRows_);
    } catch (const Exception&) {
    }
}

void TSqliteWindowedRows::DropWindowsFrom(qint64 position)
{
    const qint64 index = position / windowRows_;
    windows_.erase(std::remove_if(windows_.begin(), windows_.end(),
                                  [index](const Window& window) { return window.index >= index; }),
                   windows_.end());
}

// --- Writes ------------------------------------------------------------------

void TSqliteWindowedRows::RowUpdated(qint64 position, TRowId newId)
{
    Q_ASSERT(allIdsRead_ && position >= 0 && position < KnownRowCount());
    const qint64 index = position / windowRows_;
    windows_.erase(std::remove_if(windows_.begin(), windows_.end(),
                                  [index](const Window& window) { return window.index == index; }),
                   windows_.end());
    TRowId& id = ids_[static_cast<size_t>(position)];
    if (id != newId) {
        id = newId;
        idIndexValid_ = false;
    }
    ReadBackWritten(position);
}

void TSqliteWindowedRows::RowInserted(qint64 position, TRowId id)
{
    Q_ASSERT(allIdsRead_ && position >= 0 && position <= KnownRowCount());
    ids_.insert(ids_.begin() + position, id);
    idIndexValid_ = false;
    DropWindowsFrom(position);
    ReadBackWritten(position);
}

void TSqliteWindowedRows::RowDeleted(qint64 position)
{
    Q_ASSERT(allIdsRead_ && position >= 0 && position < KnownRowCount());
    ids_.erase(ids_.begin() + position);
    idIndexValid_ = false;
    DropWindowsFrom(position);
}

// --- Connection --------------------------------------------------------------

void TSqliteWindowedRows::Disconnect()
{
    sqlite3_finalize(window_);
    window_ = nullptr;
    sqlite3_finalize(range_);
    range_ = nullptr;
    sqlite3_finalize(idsStatement_);
    idsStatement_ = nullptr;
    read_ = nullptr;
    db_ = nullptr;
}

qint64 TSqliteWindowedRows::MemoryUsage() const
{
    qint64 bytes = static_cast<qint64>((ids_.capacity() + byId_.capacity()) * sizeof(qint64));
    for (const Window& window : windows_)
        bytes += window.rows.MemoryUsage();
    return bytes;
}

void TSqliteWindowedRows::RaiseSqlite() const
{
    throw EDatabaseError(db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("database closed"));
}

}  // namespace tk
