#pragma once
// Typed column storage for rows held in memory: each column keeps its values
// in one array of its storage kind (64-bit integers, doubles, or text and
// bytes packed into one buffer) plus a null mask, so a row of five columns
// costs tens of bytes instead of five QVariants.
//
// Slots are appended and never move; a cleared slot keeps its place until
// Clear. Replacing a text or byte value appends the new bytes; Compact
// reclaims the space old values left behind.

#include "toolkit/data/dbtypes.h"
#include "toolkit/core/variant.h"

#include <QByteArray>
#include <vector>

namespace tk {

class TColumnStore {
public:
    TColumnStore() = default;
    // One column per type; the type decides storage and the Variant kind Get
    // returns.
    explicit TColumnStore(std::vector<TFieldType> columnTypes);

    int ColumnCount() const;
    TFieldType ColumnType(int column) const;
    qint64 SlotCount() const;

    // Adds a slot whose values are all Null and returns its number.
    qint64 AddSlot();
    // Stores value converted to the column's type (Unassigned and Null store
    // Null); raises EConvertError (with the column's type in the message)
    // when the value does not convert.
    void Set(qint64 slot, int column, const Variant& value);
    // The value as the column's type gives it:
    //   ftSmallint Int16, ftWord UInt16, ftInteger/ftAutoInc Int32,
    //   ftLargeint Int64, ftBoolean Boolean, ftFloat Double,
    //   ftCurrency Double, ftBCD Currency, ftFMTBcd Bcd,
    //   ftDate/ftTime/ftDateTime/ftTimeStamp Date,
    //   string and memo types String, binary, blob and ftDataSet Bytes;
    // Null when no value was stored.
    Variant Get(qint64 slot, int column) const;
    bool IsNull(qint64 slot, int column) const;
    // Raw access for sources that compare or copy without Variants.
    qint64 GetInt64(qint64 slot, int column) const;
    double GetDouble(qint64 slot, int column) const;
    QString GetText(qint64 slot, int column) const;
    QByteArray GetBytes(qint64 slot, int column) const;
    void SetInt64(qint64 slot, int column, qint64 value);
    void SetDouble(qint64 slot, int column, double value);
    void SetText(qint64 slot, int column, const QString& value);
    void SetBytes(qint64 slot, int column, const QByteArray& value);
    void SetNull(qint64 slot, int column);

    void Clear();
    // Rewrites the text buffers without the bytes of replaced values.
    void Compact();
    // Bytes held, for tests and benchmarks.
    qint64 MemoryUsage() const;

    // How a field type is stored: integers, Booleans and BCD (as currency
    // ticks) in Int64; floats, currency and dates in Double; strings, memos,
    // GUIDs and FMTBcd (as exact decimal text) in Text; binaries, blobs and
    // nested tables (ftDataSet, their rows encoded) in Bytes. Types without values of their own (ftUnknown, object types,
    // cursors, interfaces, ftVariant) raise EDatabaseError.
    enum class Storage { Int64, Double, Text, Bytes };
    static Storage StorageOf(TFieldType type);

private:
    // One column's values; only the arrays of its storage kind are used.
    // Text is kept as UTF-8; text and bytes live in `buffer`, each slot
    // pointing at its bytes by offset and length.
    struct Column {
        TFieldType type = ftUnknown;
        Storage storage = Storage::Int64;
        std::vector<qint64> ints;
        std::vector<double> doubles;
        QByteArray buffer;
        std::vector<qint64> offsets;
        std::vector<qint32> lengths;
        qint64 unusedBytes = 0;  // bytes of replaced values, reclaimed by Compact
        std::vector<bool> nulls;
    };
    const Column& CheckedColumn(qint64 slot, int column, Storage storage) const;
    Column& CheckedColumn(qint64 slot, int column, Storage storage);
    void StoreBuffered(Column& column, qint64 slot, const QByteArray& bytes);
    QByteArray LoadBuffered(const Column& column, qint64 slot) const;

    std::vector<Column> columns_;
    qint64 slots_ = 0;
};

}  // namespace tk
