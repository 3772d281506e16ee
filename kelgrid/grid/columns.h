#pragma once
// TKelDBGridColumns, the grid's collection of columns (column.h), with the
// order list of the columns that carry a sort marker.
//
// State: csCustomized exactly while the collection is not empty and its
// last column is a stored one (the user's); the grid's default columns,
// made from the dataset's fields, are unstored. Setting csCustomized on a
// default collection rebuilds one stored column per field; setting
// csDefault clears the collection so the grid makes its default columns.
//
// Change routing: a change of one column repaints that column and re-applies
// its width in the grid; a change of all re-lays out the grid. Nothing is
// routed while the grid is absent or loading.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columnenums.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/collection.h"

#include <QList>
#include <QStringList>

class QIODevice;

namespace tk {
class TField;
}

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelDBGridColumns : public tk::TCollection {
    Q_OBJECT
public:
    explicit TKelDBGridColumns(TKelCustomDBGrid* grid,
                               const QMetaObject* columnClass = &TKelColumn::staticMetaObject);
    ~TKelDBGridColumns() override;

    TKelCustomDBGrid* Grid() const { return grid_; }
    TKelColumn* Items(int index) const;
    // A stored (customised) column at the end.
    TKelColumn* Add();
    // A dataset-made (unstored) column at the end.
    TKelColumn* InternalAdd();
    // The number column at index 0: AutoNumber, right-justified cell and
    // title, DefAutoNumberTitle, DefAutoNumberWidth wide while the grid's
    // link is active (else the default width).
    TKelColumn* AddAutoNumber();
    // The selection column at index 0: a field-less check box showing the
    // row's selection, centred, DefAutoSelectTitle, DefAutoSelectWidth.
    TKelColumn* AddAutoSelect();

    TDBGridColumnsState State() const;
    void SetState(TDBGridColumnsState state);
    // Under the grid's layout lock: one stored column per dataset field
    // (sub-fields of object fields after their parent), then the select
    // and number columns the grid's options ask for. Without a dataset the
    // collection is only cleared.
    void RebuildColumns();
    // Every column's defaults, in one update.
    void RestoreDefaults();
    // Copies another collection's columns under the grid's layout lock (one
    // layout at the end); other sources as the base collection.
    void Assign(const tk::TPersistent* source) override;

    // --- Layout streams (columnsstream.cpp) -------------------------------------
    // The columns and the grid's order fields text in the toolkit's stream
    // text. Widths are written as set, also for hidden columns.
    void SaveToStream(QIODevice& stream);
    // Reads a layout written by SaveToStream and puts it in place of the
    // columns, then sets the grid's order fields from it (items naming no
    // column are dropped). With an open dataset, columns bound to fields it
    // does not have are skipped. A stream that is damaged, not UTF-8 text
    // or not a column layout raises EReadError naming what is wrong, and
    // the columns and the order stay as they were.
    void LoadFromStream(QIODevice& stream);
    // The file is replaced as a whole (a failed save keeps the old file);
    // EStreamError naming the file when it cannot be written or read.
    void SaveToFile(const QString& fileName);
    void LoadFromFile(const QString& fileName);

    // The field map: each column's field name by index (empty for columns
    // without one), as the data link's field map of customised columns.
    QStringList FieldNames() const;
    // The columns bound to field, in index order.
    QList<TKelColumn*> ColumnsOfField(const tk::TField* field) const;

    // --- Sort order (columnmarkers.cpp) ---------------------------------------
    // The marked columns, primary first.
    const QList<TKelColumn*>& OrderList() const;
    // Every column's marker to tmNone, inside the grid's order bracket.
    void RemoveMarkers();
    // Renumbers the listed markers by the grid's marker options.
    void UpdateMarkers();

protected:
    void Update(tk::TCollectionItem* item) override;
    // A column that is deleted or leaves takes its marker out of the order.
    void Notify(tk::TCollectionItem* item, TCollectionNotification action) override;

private:
    friend class TKelColumn;
    friend class TKelColumnTitle;
    friend class TKelCustomDBGrid;
    void AddToOrder(TKelColumn* column);
    void RemoveFromOrder(TKelColumn* column);
    void MoveInOrder(TKelColumn* column, int position);
    // Adds the auto-select and auto-number columns the options ask for;
    // stored false makes them part of the default layout.
    void AddAutoColumns(bool stored);
    // One column per field, depth-first into object fields.
    void AddFieldColumns(const QList<tk::TField*>& fields);

    TKelCustomDBGrid* grid_;
    QList<TKelColumn*> order_;
};

}  // namespace kelgrid
