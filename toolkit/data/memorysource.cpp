#include "toolkit/data/memorysource.h"

#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/format.h"
#include "toolkit/core/textutils.h"

#include <algorithm>

namespace tk {

namespace {

template <typename T>
int CompareValues(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

TMemoryRecordSource::TMemoryRecordSource(std::vector<TFieldDef> fieldDefs) : fieldDefs_(std::move(fieldDefs))
{
    std::vector<TFieldType> types;
    for (const TFieldDef& def : fieldDefs_)
        AddColumns(def, QString(), types);
    store_ = TColumnStore(std::move(types));
}

void TMemoryRecordSource::AddColumns(const TFieldDef& def, const QString& prefix, std::vector<TFieldType>& types)
{
    if (def.Name.isEmpty())
        throw EDatabaseError(QStringLiteral("A field definition has no name"));
    const QString fullName = prefix.isEmpty() ? def.Name : prefix + QLatin1Char('.') + def.Name;
    // A nested table is one column holding its rows; other object columns
    // spread their children over columns of their own.
    if (IsObjectType(def.DataType) && def.DataType != ftDataSet) {
        for (const TFieldDef& child : def.ChildDefs)
            AddColumns(child, fullName, types);
        return;
    }
    if (columnNames_.contains(fullName, Qt::CaseInsensitive))
        throw EDatabaseError(Format(QStringLiteral("Duplicate field name '%s'"), {fullName}));
    types.push_back(def.DataType);
    TColumnStore::StorageOf(def.DataType);  // raises for types without values
    TFieldDef leaf = def;
    leaf.Name = fullName;
    if (def.DataType != ftDataSet)
        leaf.ChildDefs.clear();
    columnDefs_.push_back(std::move(leaf));
    columnNames_.append(fullName);
}

// --- Reading ---------------------------------------------------------------

bool TMemoryRecordSource::HasRow(qint64 position)
{
    return position >= 0 && position < FetchedRowCount();
}

qint64 TMemoryRecordSource::FetchedRowCount() const
{
    return static_cast<qint64>(order_.size());
}

qint64 TMemoryRecordSource::RowCount()
{
    return FetchedRowCount();
}

void TMemoryRecordSource::CheckPosition(qint64 position) const
{
    if (position < 0 || position >= FetchedRowCount())
        throw EDatabaseError(Format(QStringLiteral("Row position %d is out of range (%d rows)"),
                                    {Variant(position), Variant(FetchedRowCount())}));
}

Variant TMemoryRecordSource::Value(qint64 position, int column) const
{
    CheckPosition(position);
    return store_.Get(order_[position], column);
}

TRowId TMemoryRecordSource::RowIdAt(qint64 position) const
{
    CheckPosition(position);
    return order_[position];
}

qint64 TMemoryRecordSource::PositionOf(TRowId id)
{
    if (!positionsValid_) {
        positions_.assign(store_.SlotCount(), -1);
        for (qint64 position = 0; position < FetchedRowCount(); ++position)
            positions_[order_[position]] = position;
        positionsValid_ = true;
    }
    if (id < 0 || id >= static_cast<qint64>(positions_.size()))
        return -1;
    return positions_[id];
}

// --- Writing ---------------------------------------------------------------

void TMemoryRecordSource::CheckModifiable() const
{
    if (readOnly_)
        throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

void TMemoryRecordSource::CheckValueCount(const std::vector<Variant>& values) const
{
    if (static_cast<int>(values.size()) != store_.ColumnCount())
        throw EDatabaseError(Format(QStringLiteral("A row needs %d values, %d were given"),
                                    {Variant(store_.ColumnCount()), Variant(static_cast<qint64>(values.size()))}));
}

qint64 TMemoryRecordSource::NewSlot(const std::vector<Variant>& values)
{
    CheckValueCount(values);
    const qint64 slot = store_.AddSlot();
    try {
        for (int column = 0; column < store_.ColumnCount(); ++column)
            store_.Set(slot, column, values[column]);
    } catch (...) {
        for (int column = 0; column < store_.ColumnCount(); ++column)
            store_.SetNull(slot, column);
        throw;
    }
    return slot;
}

void TMemoryRecordSource::PlaceNewSlot(qint64 slot, qint64 position)
{
    order_.insert(order_.begin() + position, slot);
    if (!sortColumns_.empty())
        natural_.push_back(slot);
    // Appending keeps the inverse map valid; anything else shifts positions.
    if (positionsValid_ && position == FetchedRowCount() - 1) {
        positions_.resize(store_.SlotCount(), -1);
        positions_[slot] = position;
    } else {
        MarkOrderChanged();
    }
}

void TMemoryRecordSource::UpdateRow(qint64 position, const std::vector<Variant>& values,
                                    const std::vector<bool>& changed)
{
    CheckModifiable();
    CheckPosition(position);
    CheckValueCount(values);
    if (changed.size() != values.size())
        throw EDatabaseError(QStringLiteral("UpdateRow needs one changed flag per value"));
    const qint64 slot = order_[position];
    std::vector<Variant> previous(values.size());
    bool sortKeyChanged = false;
    int column = 0;
    try {
        for (; column < store_.ColumnCount(); ++column) {
            if (!changed[column])
                continue;
            previous[column] = store_.Get(slot, column);
            store_.Set(slot, column, values[column]);
            sortKeyChanged = sortKeyChanged || IsSortColumn(column);
        }
    } catch (...) {
        // Values Get returned always store again.
        for (int done = 0; done < column; ++done) {
            if (changed[done])
                store_.Set(slot, done, previous[done]);
        }
        throw;
    }
    if (sortKeyChanged) {
        order_.erase(order_.begin() + position);
        order_.insert(order_.begin() + SortedPlace(slot), slot);
        MarkOrderChanged();
    }
    ++changeCount_;
}

qint64 TMemoryRecordSource::InsertRow(qint64 position, const std::vector<Variant>& values)
{
    CheckModifiable();
    if (position == -1)
        position = FetchedRowCount();
    if (position < 0 || position > FetchedRowCount())
        throw EDatabaseError(Format(QStringLiteral("Cannot insert at row position %d (%d rows)"),
                                    {Variant(position), Variant(FetchedRowCount())}));
    const qint64 slot = NewSlot(values);
    if (!sortColumns_.empty())
        position = SortedPlace(slot);
    PlaceNewSlot(slot, position);
    ++changeCount_;
    return position;
}

void TMemoryRecordSource::DeleteRow(qint64 position)
{
    CheckModifiable();
    CheckPosition(position);
    const qint64 slot = order_[position];
    order_.erase(order_.begin() + position);
    if (!sortColumns_.empty())
        std::erase(natural_, slot);
    // The slot stays (its id must never name another row); its text goes.
    for (int column = 0; column < store_.ColumnCount(); ++column)
        store_.SetNull(slot, column);
    MarkOrderChanged();
    ++changeCount_;
}

void TMemoryRecordSource::Reserve(qint64 rowCount)
{
    order_.reserve(static_cast<size_t>(rowCount));
}

qint64 TMemoryRecordSource::AppendRow(const std::vector<Variant>& values)
{
    const qint64 slot = NewSlot(values);
    const qint64 position = sortColumns_.empty() ? FetchedRowCount() : SortedPlace(slot);
    PlaceNewSlot(slot, position);
    return position;
}

void TMemoryRecordSource::AppendRows(const std::vector<std::vector<Variant>>& rows)
{
    const qint64 firstSlot = store_.SlotCount();
    try {
        for (const std::vector<Variant>& row : rows)
            AppendRow(row);
    } catch (...) {
        const auto added = [firstSlot](qint64 slot) { return slot >= firstSlot; };
        std::erase_if(order_, added);
        std::erase_if(natural_, added);
        for (qint64 slot = firstSlot; slot < store_.SlotCount(); ++slot) {
            for (int column = 0; column < store_.ColumnCount(); ++column)
                store_.SetNull(slot, column);
        }
        MarkOrderChanged();
        throw;
    }
}

// --- Sorting ---------------------------------------------------------------

bool TMemoryRecordSource::IsSortColumn(int column) const
{
    return std::any_of(sortColumns_.begin(), sortColumns_.end(),
                       [column](const SortColumn& key) { return key.column == column; });
}

int TMemoryRecordSource::CompareColumn(const SortColumn& key, qint64 a, qint64 b,
                                       const std::vector<QString>* texts) const
{
    const bool nullA = store_.IsNull(a, key.column);
    const bool nullB = store_.IsNull(b, key.column);
    if (nullA || nullB)
        return nullA == nullB ? 0 : (nullA ? -1 : 1);
    switch (key.storage) {
    case TColumnStore::Storage::Int64:
        return CompareValues(store_.GetInt64(a, key.column), store_.GetInt64(b, key.column));
    case TColumnStore::Storage::Double:
        return CompareValues(store_.GetDouble(a, key.column), store_.GetDouble(b, key.column));
    case TColumnStore::Storage::Bytes:
        return store_.GetBytes(a, key.column).compare(store_.GetBytes(b, key.column));
    case TColumnStore::Storage::Text: break;
    }
    if (key.isBcd)
        return CompareValues(TBcd::FromString(store_.GetText(a, key.column)),
                             TBcd::FromString(store_.GetText(b, key.column)));
    // Sort caches hold the texts already case-folded when case does not count.
    if (texts && !texts->empty())
        return QString::compare((*texts)[a], (*texts)[b], Qt::CaseSensitive);
    // Folded the same way as the cache, so that a row placed later lands
    // where a full sort would put it.
    const auto keyText = [this, &key](qint64 slot) {
        const QString text = store_.GetText(slot, key.column);
        return caseInsensitive_ ? text.toCaseFolded() : text;
    };
    return QString::compare(keyText(a), keyText(b), Qt::CaseSensitive);
}

int TMemoryRecordSource::CompareSlots(qint64 a, qint64 b, const std::vector<std::vector<QString>>* texts) const
{
    for (size_t i = 0; i < sortColumns_.size(); ++i) {
        const int result = CompareColumn(sortColumns_[i], a, b, texts ? &(*texts)[i] : nullptr);
        if (result != 0)
            return result;
    }
    return 0;
}

qint64 TMemoryRecordSource::SortedPlace(qint64 slot) const
{
    const auto place = std::upper_bound(order_.begin(), order_.end(), slot, [this](qint64 value, qint64 element) {
        return CompareSlots(value, element, nullptr) < 0;
    });
    return place - order_.begin();
}

void TMemoryRecordSource::Sort(const QString& fieldNames, bool caseInsensitive)
{
    std::vector<SortColumn> keys;
    for (const QString& part : fieldNames.split(QLatin1Char(';'))) {
        const QString name = Trim(part);
        if (name.isEmpty())
            continue;
        const int column = ColumnIndex(name);
        if (column < 0)
            throw EDatabaseError(Format(LoadResString(&SFieldNotFound), {name}));
        const TFieldType type = store_.ColumnType(column);
        keys.push_back(SortColumn{column, TColumnStore::StorageOf(type), type == ftFMTBcd});
    }

    if (!sortColumns_.empty())
        order_ = natural_;
    natural_.clear();
    sortColumns_.clear();
    sortFieldNames_.clear();
    caseInsensitive_ = caseInsensitive;
    MarkOrderChanged();
    if (keys.empty())
        return;

    natural_ = order_;
    sortColumns_ = std::move(keys);
    sortFieldNames_ = fieldNames;
    // Decode each text key once instead of in every comparison.
    std::vector<std::vector<QString>> texts(sortColumns_.size());
    for (size_t i = 0; i < sortColumns_.size(); ++i) {
        const SortColumn& key = sortColumns_[i];
        if (key.storage != TColumnStore::Storage::Text || key.isBcd)
            continue;
        texts[i].resize(store_.SlotCount());
        for (qint64 slot : order_) {
            const QString text = store_.GetText(slot, key.column);
            texts[i][slot] = caseInsensitive_ ? text.toCaseFolded() : text;
        }
    }
    std::stable_sort(order_.begin(), order_.end(),
                     [this, &texts](qint64 a, qint64 b) { return CompareSlots(a, b, &texts) < 0; });
}

}  // namespace tk
