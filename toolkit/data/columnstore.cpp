#include "toolkit/data/columnstore.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/format.h"

#include <limits>

namespace tk {

namespace {

[[noreturn]] void RaiseNotConvertible(const Variant& value, TFieldType type, const QString& reason)
{
    throw EConvertError(Format(QStringLiteral("Cannot store a %s value in a %s column: %s"),
                               {VariantKindName(value.Kind()), EnumName(type), reason}));
}

// The integer in value when it fits in [low, high]; the overflow is
// reported by Set with the column's type.
qint64 CheckedInteger(const Variant& value, qint64 low, qint64 high)
{
    const qint64 number = value.ToInt64();
    if (number < low || number > high)
        throw EVariantOverflowError(Format(QStringLiteral("%d is out of range"), {Variant(number)}));
    return number;
}

}  // namespace

TColumnStore::TColumnStore(std::vector<TFieldType> columnTypes)
{
    columns_.reserve(columnTypes.size());
    for (TFieldType type : columnTypes) {
        Column column;
        column.type = type;
        column.storage = StorageOf(type);
        columns_.push_back(std::move(column));
    }
}

TColumnStore::Storage TColumnStore::StorageOf(TFieldType type)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftBoolean:
    case ftAutoInc:
    case ftLargeint:
    case ftBCD: return Storage::Int64;
    case ftFloat:
    case ftCurrency:
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp: return Storage::Double;
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftFixedWideChar:
    case ftMemo:
    case ftFmtMemo:
    case ftWideMemo:
    case ftOraClob:
    case ftGuid:
    case ftFMTBcd: return Storage::Text;
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
    case ftDataSet: return Storage::Bytes;  // the nested rows, encoded as a client data file
    default: break;
    }
    throw EDatabaseError(Format(QStringLiteral("Fields of type %s hold no values of their own"), {EnumName(type)}));
}

int TColumnStore::ColumnCount() const
{
    return static_cast<int>(columns_.size());
}

TFieldType TColumnStore::ColumnType(int column) const
{
    if (column < 0 || column >= ColumnCount())
        RaiseListIndexError(column);
    return columns_[column].type;
}

qint64 TColumnStore::SlotCount() const
{
    return slots_;
}

qint64 TColumnStore::AddSlot()
{
    for (Column& column : columns_) {
        switch (column.storage) {
        case Storage::Int64: column.ints.push_back(0); break;
        case Storage::Double: column.doubles.push_back(0.0); break;
        case Storage::Text:
        case Storage::Bytes:
            column.offsets.push_back(0);
            column.lengths.push_back(0);
            break;
        }
        column.nulls.push_back(true);
    }
    return slots_++;
}

const TColumnStore::Column& TColumnStore::CheckedColumn(qint64 slot, int column, Storage storage) const
{
    if (column < 0 || column >= ColumnCount())
        RaiseListIndexError(column);
    if (slot < 0 || slot >= slots_)
        throw EListError(Format(QStringLiteral("Slot %d out of bounds (0..%d)"), {Variant(slot), Variant(slots_ - 1)}));
    const Column& result = columns_[column];
    if (result.storage != storage)
        throw EDatabaseError(Format(QStringLiteral("Column %d (%s) is not accessed that way"),
                                    {Variant(column), EnumName(result.type)}));
    return result;
}

TColumnStore::Column& TColumnStore::CheckedColumn(qint64 slot, int column, Storage storage)
{
    return const_cast<Column&>(std::as_const(*this).CheckedColumn(slot, column, storage));
}

void TColumnStore::StoreBuffered(Column& column, qint64 slot, const QByteArray& bytes)
{
    if (!column.nulls[slot])
        column.unusedBytes += column.lengths[slot];
    column.offsets[slot] = column.buffer.size();
    column.lengths[slot] = static_cast<qint32>(bytes.size());
    column.buffer.append(bytes);
    column.nulls[slot] = false;
}

QByteArray TColumnStore::LoadBuffered(const Column& column, qint64 slot) const
{
    if (column.nulls[slot])
        return {};
    return column.buffer.mid(column.offsets[slot], column.lengths[slot]);
}

bool TColumnStore::IsNull(qint64 slot, int column) const
{
    if (column < 0 || column >= ColumnCount())
        RaiseListIndexError(column);
    return CheckedColumn(slot, column, columns_[column].storage).nulls[slot];
}

qint64 TColumnStore::GetInt64(qint64 slot, int column) const
{
    return CheckedColumn(slot, column, Storage::Int64).ints[slot];
}

double TColumnStore::GetDouble(qint64 slot, int column) const
{
    return CheckedColumn(slot, column, Storage::Double).doubles[slot];
}

QString TColumnStore::GetText(qint64 slot, int column) const
{
    return QString::fromUtf8(LoadBuffered(CheckedColumn(slot, column, Storage::Text), slot));
}

QByteArray TColumnStore::GetBytes(qint64 slot, int column) const
{
    return LoadBuffered(CheckedColumn(slot, column, Storage::Bytes), slot);
}

void TColumnStore::SetInt64(qint64 slot, int column, qint64 value)
{
    Column& target = CheckedColumn(slot, column, Storage::Int64);
    target.ints[slot] = value;
    target.nulls[slot] = false;
}

void TColumnStore::SetDouble(qint64 slot, int column, double value)
{
    Column& target = CheckedColumn(slot, column, Storage::Double);
    target.doubles[slot] = value;
    target.nulls[slot] = false;
}

void TColumnStore::SetText(qint64 slot, int column, const QString& value)
{
    StoreBuffered(CheckedColumn(slot, column, Storage::Text), slot, value.toUtf8());
}

void TColumnStore::SetBytes(qint64 slot, int column, const QByteArray& value)
{
    StoreBuffered(CheckedColumn(slot, column, Storage::Bytes), slot, value);
}

void TColumnStore::SetNull(qint64 slot, int column)
{
    if (column < 0 || column >= ColumnCount())
        RaiseListIndexError(column);
    Column& target = CheckedColumn(slot, column, columns_[column].storage);
    if (target.nulls[slot])
        return;
    if (target.storage == Storage::Text || target.storage == Storage::Bytes) {
        target.unusedBytes += target.lengths[slot];
        target.lengths[slot] = 0;
    }
    target.nulls[slot] = true;
}

void TColumnStore::Set(qint64 slot, int column, const Variant& value)
{
    const TFieldType type = ColumnType(column);
    if (value.IsEmptyOrNull()) {
        SetNull(slot, column);
        return;
    }
    // Convert first, store after: a value that does not convert leaves the
    // slot as it was.
    try {
        switch (type) {
        case ftSmallint: SetInt64(slot, column, CheckedInteger(value, -32768, 32767)); return;
        case ftWord: SetInt64(slot, column, CheckedInteger(value, 0, 65535)); return;
        case ftInteger:
        case ftAutoInc:
            SetInt64(slot, column,
                     CheckedInteger(value, std::numeric_limits<qint32>::min(),
                                    std::numeric_limits<qint32>::max()));
            return;
        case ftLargeint: SetInt64(slot, column, value.ToInt64()); return;
        case ftBoolean: SetInt64(slot, column, value.ToBoolean() ? 1 : 0); return;
        case ftBCD: SetInt64(slot, column, value.ToCurrency().ticks); return;
        case ftFloat:
        case ftCurrency: SetDouble(slot, column, value.ToDouble()); return;
        case ftDate:
        case ftTime:
        case ftDateTime:
        case ftTimeStamp: SetDouble(slot, column, value.ToDateTime()); return;
        case ftFMTBcd: SetText(slot, column, value.ToBcd().ToString()); return;
        default: break;
        }
        switch (StorageOf(type)) {
        case Storage::Text: SetText(slot, column, value.ToString()); return;
        case Storage::Bytes: SetBytes(slot, column, value.ToBytes()); return;
        default: break;
        }
    } catch (const EVariantError& error) {
        RaiseNotConvertible(value, type, error.Message());
    } catch (const EConvertError& error) {
        RaiseNotConvertible(value, type, error.Message());
    }
}

Variant TColumnStore::Get(qint64 slot, int column) const
{
    if (IsNull(slot, column))
        return Variant::NullValue();
    const Column& source = columns_[column];
    switch (source.type) {
    case ftSmallint: return Variant(static_cast<qint16>(source.ints[slot]));
    case ftWord: return Variant(static_cast<quint16>(source.ints[slot]));
    case ftInteger:
    case ftAutoInc: return Variant(static_cast<qint32>(source.ints[slot]));
    case ftLargeint: return Variant(source.ints[slot]);
    case ftBoolean: return Variant(source.ints[slot] != 0);
    case ftBCD: return Variant(TCurrency::FromTicks(source.ints[slot]));
    case ftFloat:
    case ftCurrency: return Variant(source.doubles[slot]);
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp: return Variant::FromDate(source.doubles[slot]);
    case ftFMTBcd: return Variant(TBcd::FromString(GetText(slot, column)));
    default: break;
    }
    if (source.storage == Storage::Text)
        return Variant(GetText(slot, column));
    return Variant(GetBytes(slot, column));
}

void TColumnStore::Clear()
{
    for (Column& column : columns_) {
        const TFieldType type = column.type;
        const Storage storage = column.storage;
        column = Column();
        column.type = type;
        column.storage = storage;
    }
    slots_ = 0;
}

void TColumnStore::Compact()
{
    for (Column& column : columns_) {
        if (column.storage != Storage::Text && column.storage != Storage::Bytes)
            continue;
        if (column.unusedBytes == 0)
            continue;
        QByteArray packed;
        packed.reserve(column.buffer.size() - column.unusedBytes);
        for (qint64 slot = 0; slot < slots_; ++slot) {
            if (column.nulls[slot])
                continue;
            const qint64 offset = packed.size();
            packed.append(column.buffer.constData() + column.offsets[slot], column.lengths[slot]);
            column.offsets[slot] = offset;
        }
        packed.squeeze();
        column.buffer = std::move(packed);
        column.unusedBytes = 0;
    }
}

qint64 TColumnStore::MemoryUsage() const
{
    qint64 bytes = static_cast<qint64>(sizeof(TColumnStore) + columns_.capacity() * sizeof(Column));
    for (const Column& column : columns_) {
        bytes += static_cast<qint64>(column.ints.capacity() * sizeof(qint64));
        bytes += static_cast<qint64>(column.doubles.capacity() * sizeof(double));
        bytes += static_cast<qint64>(column.offsets.capacity() * sizeof(qint64));
        bytes += static_cast<qint64>(column.lengths.capacity() * sizeof(qint32));
        bytes += static_cast<qint64>(column.nulls.capacity() / 8);
        bytes += column.buffer.capacity();
    }
    return bytes;
}

}  // namespace tk
