#pragma once
// A record source whose rows live in memory, in a TColumnStore: the storage
// of client datasets (loaded from a file, copied from a query, or made
// empty from field definitions).
//
// Every row has a slot in the store and keeps it for the life of the source;
// its TRowId is the slot number. The source's order is a vector of slots: a
// delete takes the slot out of the order (the slot stays, unused), an insert
// puts a new slot into it. Positions of ids come from an inverse map that is
// rebuilt when the order changed, once, on the next PositionOf.
//
// Sort orders the rows by columns (stable, type-aware). While a sort is in
// force the order stays sorted: inserted rows go to their sorted place and
// an update of a sort column moves its row. Sort("") goes back to the
// natural order (rows as loaded and inserted, without the deleted ones).
//
// Always complete: every row is "fetched" from the start.

#include "toolkit/data/columnstore.h"
#include "toolkit/data/recordsource.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace tk {

class TMemoryRecordSource : public TRecordSource {
public:
    // Object definitions (ADT, array) become one column per leaf child,
    // named "Parent.Child"; a nested table (ftDataSet) is one column of bytes
    // holding its rows (see TDataSetField). Raises EDatabaseError for a definition without
    // values (ftUnknown, cursors...) or two columns of the same name.
    explicit TMemoryRecordSource(std::vector<TFieldDef> fieldDefs);

    const std::vector<TFieldDef>& FieldDefs() const override { return fieldDefs_; }
    const QStringList& ColumnNames() const override { return columnNames_; }
    // The leaf definitions in column order, Name holding the full name (a
    // nested table's keeps its ChildDefs).
    const std::vector<TFieldDef>& ColumnDefs() const { return columnDefs_; }

    bool HasRow(qint64 position) override;
    qint64 FetchedRowCount() const override;
    bool IsComplete() const override { return true; }
    void FetchAll() override {}
    qint64 RowCount() override;

    Variant Value(qint64 position, int column) const override;
    TRowId RowIdAt(qint64 position) const override;
    qint64 PositionOf(TRowId id) override;

    bool CanModify() const override { return !readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    void UpdateRow(qint64 position, const std::vector<Variant>& values, const std::vector<bool>& changed) override;
    qint64 InsertRow(qint64 position, const std::vector<Variant>& values) override;
    void DeleteRow(qint64 position) override;

    // Loading: appends rows after the last one (or, while sorted, at their
    // sorted places). AppendRows adds all of them or, when one fails to
    // convert, none.
    void Reserve(qint64 rowCount);
    qint64 AppendRow(const std::vector<Variant>& values);
    void AppendRows(const std::vector<std::vector<Variant>>& rows);

    // Orders the rows by the ";"-separated column names (case-insensitive
    // names; blanks around them ignored): stable, Null first, numbers and
    // dates by value, Booleans False first, text by code point or, with
    // caseInsensitive, by its case-folded form (locale-independent), bytes
    // by byte value; "" restores the natural
    // order. An unknown name raises EDatabaseError (SFieldNotFound) and
    // changes nothing.
    void Sort(const QString& fieldNames, bool caseInsensitive);
    // The column names of the sort in force ("" when none).
    const QString& SortFieldNames() const { return sortFieldNames_; }

    // The rows in the order they were loaded and inserted, whatever the sort.
    const std::vector<TRowId>& NaturalOrder() const { return sortColumns_.empty() ? order_ : natural_; }
    // Successful UpdateRow, InsertRow and DeleteRow calls so far (loading
    // and sorting do not count): tells whether there is anything to save.
    qint64 ChangeCount() const { return changeCount_; }

    // Every value of every row, including the slots no longer in the order.
    const TColumnStore& Store() const { return store_; }
    // Drops the bytes of replaced text values (see TColumnStore::Compact).
    void Compact() { store_.Compact(); }

private:
    struct SortColumn {
        int column = 0;
        TColumnStore::Storage storage = TColumnStore::Storage::Int64;
        bool isBcd = false;  // FMTBcd text compares as numbers
    };

    void AddColumns(const TFieldDef& def, const QString& prefix, std::vector<TFieldType>& types);
    void CheckPosition(qint64 position) const;
    void CheckModifiable() const;
    void CheckValueCount(const std::vector<Variant>& values) const;
    // Writes values into a fresh slot; on failure the slot stays unused.
    qint64 NewSlot(const std::vector<Variant>& values);
    // The position where slot goes in the sorted order (after its equals).
    qint64 SortedPlace(qint64 slot) const;
    void PlaceNewSlot(qint64 slot, qint64 position);
    int CompareSlots(qint64 a, qint64 b, const std::vector<std::vector<QString>>* texts) const;
    int CompareColumn(const SortColumn& key, qint64 a, qint64 b, const std::vector<QString>* texts) const;
    bool IsSortColumn(int column) const;
    void MarkOrderChanged() { positionsValid_ = false; }

    std::vector<TFieldDef> fieldDefs_;
    std::vector<TFieldDef> columnDefs_;
    QStringList columnNames_;
    TColumnStore store_;
    std::vector<qint64> order_;    // slots in the source's order
    std::vector<qint64> natural_;  // slots as loaded and inserted, kept while sorted
    std::vector<qint64> positions_;  // slot -> position in order_, -1 when not in it
    bool positionsValid_ = true;
    std::vector<SortColumn> sortColumns_;
    QString sortFieldNames_;
    bool caseInsensitive_ = false;
    bool readOnly_ = false;
    qint64 changeCount_ = 0;
};

}  // namespace tk
