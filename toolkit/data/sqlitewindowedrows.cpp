#include "toolkit/data/sqlitewindowedrows.h"

#include "toolkit/core/exceptions.h"

#include <QHash>
#include <QScopeGuard>
#include <algorithm>
#include <functional>
#include <sqlite3.h>

namespace tk {

TSqliteWindowedRows::TSqliteWindowedRows(sqlite3* db, sqlite3_stmt* read, sqlite3_stmt* window, sqlite3_stmt* ids,
                                         qint64 windowRows, std::vector<TFieldType> types, QStringList names)
    : db_(db), read_(read), window_(window), idsStatement_(ids), windowRows_(windowRows), types_(std::move(types)),
      names_(std::move(names))
{
    Q_ASSERT(windowRows_ > 0);
    // The rowid marks come last in the text, so they hold the last numbers.
    firstIdParameter_ = sqlite3_bind_parameter_count(window_) - static_cast<int>(windowRows_) + 1;
    Q_ASSERT(firstIdParameter_ >= 1 && !sqlite3_bind_parameter_name(window_, firstIdParameter_));
}

TSqliteWindowedRows::~TSqliteWindowedRows()
{
    sqlite3_finalize(window_);
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
    sqlite3_stmt* statement = idsStatement_ ? idsStatement_ : read_;
    auto reset = qScopeGuard([statement] { sqlite3_reset(statement); });
    std::vector<TRowId> ids;
    ids.reserve(ids_.size());
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(statement, 0));
    if (rc != SQLITE_DONE)
        RaiseSqlite();
    ids.shrink_to_fit();
    if (ids.size() < ids_.size() || !std::equal(ids_.begin(), ids_.end(), ids.begin()))
        windows_.clear();
    ids_ = std::move(ids);
    allIdsRead_ = true;
    idIndexValid_ = false;
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
    StepFirstBlock();
    if (position >= KnownRowCount())
        ReadAllIds();
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
    Q_ASSERT(count > 0);
    auto reset = qScopeGuard([this] { sqlite3_reset(window_); });
    // Rows arrive in rowid order; each goes to the slot of its position.
    QHash<TRowId, qint64> slotOfId;
    slotOfId.reserve(count);
    for (qint64 i = 0; i < windowRows_; ++i) {
        if (i < count) {
            const TRowId id = ids_[static_cast<size_t>(first + i)];
            sqlite3_bind_int64(window_, firstIdParameter_ + static_cast<int>(i), id);
            slotOfId.insert(id, i);
        } else {
            sqlite3_bind_null(window_, firstIdParameter_ + static_cast<int>(i));
        }
    }
    Window window;
    window.index = index;
    window.rows = TColumnStore(types_);
    for (qint64 i = 0; i < count; ++i)
        window.rows.AddSlot();  // Null until its row arrives
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(window_)) == SQLITE_ROW) {
        const auto slot = slotOfId.constFind(sqlite3_column_int64(window_, 0));
        Q_ASSERT(slot != slotOfId.constEnd());
        if (slot != slotOfId.constEnd())
            StoreRow(window.rows, slot.value(), window_, first + slot.value(), conversionError);
    }
    if (rc != SQLITE_DONE)
        RaiseSqlite();
    window.lastUse = ++uses_;
    return window;
}

void TSqliteWindowedRows::StoreRow(TColumnStore& rows, qint64 slot, sqlite3_stmt* statement, qint64 position,
                                   QString& conversionError) const
{
    for (int column = 0; column < static_cast<int>(types_.size()); ++column) {
        try {
            StoreSqliteValue(rows, slot, column, statement, column + 1);
        } catch (const EConvertError& error) {
            // A value its field cannot hold (a number beyond an ftBCD's
            // range) is not shown cut: the cell stays Null, and the first
            // such value of the window is reported.
            if (conversionError.isEmpty())
                conversionError = QStringLiteral("Field '%1', row %2: %3")
                                      .arg(names_[column])
                                      .arg(position + 1)
                                      .arg(error.Message());
        }
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
