#pragma once
// TKelGridDataLink: the grid's link to its DataSource. It keeps the field
// map (grid data column -> index in the dataset's FieldList) and forwards
// the dataset's activation, scrolling, editing and record changes to the
// grid.
//
// Field map. The grid rebuilds it at every layout (DefineFieldMap): for
// customised columns the map is sparse (one entry per column, -1 where the
// column's field does not exist); for default columns it holds every
// visible field of the dataset, so no entry is -1. The map's capacity grows
// by doubling (8 when empty) and never beyond MaxMappedFields entries.
//
// Pending edit. Modified() notes that the grid's editor holds a change not
// yet written to the record; UpdateData writes it (once, guarded against
// re-entry), and every data event the editor could miss clears the note.

#include "kelgrid/kelgridexport.h"
#include "toolkit/data/datalink.h"

#include <QList>
#include <QString>

namespace tk {
class TField;
}

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelGridDataLink : public tk::TDataLink {
public:
    // The most columns a map holds.
    static constexpr int MaxMappedFields = 268435455;

    explicit TKelGridDataLink(TKelCustomDBGrid* grid);
    ~TKelGridDataLink() override;

    TKelCustomDBGrid* Grid() const { return grid_; }

    // --- Field map ----------------------------------------------------------------
    // Appends the mapping of one column; returns true. A sparse map stores
    // -1 for a name the dataset does not have; a full map raises
    // EDatabaseError SFieldNotFound for it. Raises EInvalidGridOperation
    // STooManyColumns when the map already holds MaxMappedFields entries.
    // The grid is registered for the mapped field's free notification.
    bool AddMapping(const QString& fieldName);
    // Empties the map (the capacity stays).
    void ClearMapping();
    // Number of mapped columns.
    int FieldCount() const { return fieldCount_; }
    // Entries the map can hold before it grows.
    int MapCapacity() const { return static_cast<int>(fieldMap_.size()); }
    // The map follows customised columns and may hold -1.
    bool SparseMap() const { return sparseMap_; }
    void SetSparseMap(bool sparse) { sparseMap_ = sparse; }
    // The FieldList index of mapped column index; -1 outside
    // 0..FieldCount() - 1 and for a column without a field.
    int GetMappedIndex(int index) const;
    // The field of mapped column index, nullptr where GetMappedIndex is -1
    // (or the dataset's fields changed since the map was built).
    tk::TField* Fields(int index) const;
    // True without a dataset, or when the dataset makes its own fields and,
    // for a sparse map, every column found its field.
    bool DefaultFields() const;
    // Aggregate rows are not supported: always false / nothing to build.
    virtual bool IsAggRow(int index) const;
    void BuildAggMap() {}

    // The length the map grows to from capacity so that it holds needed
    // entries: twice the capacity (8 when empty), at least needed, at most
    // MaxMappedFields.
    static int GrownCapacity(int capacity, int needed);

    // --- Pending edit ----------------------------------------------------------------
    // The grid's editor holds a change not yet written to the record.
    void Modified() { modified_ = true; }
    bool IsModified() const { return modified_; }
    // Cancels the dataset's edit with the grid's change lock held (so the
    // grid knows the change is its own); the lock is released on failure too.
    void Cancel();
    // With a pending editor change, drops it (RecordChanged without a
    // field refreshes the editor); otherwise cancels the record's edit.
    void Reset();

protected:
    // Refuses a unidirectional dataset with EDatabaseError
    // SDataSetUnidirectional; then the grid's LinkActive.
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void EditingChanged() override;
    // Makes field the grid's selected field; when it became selected and
    // the grid took the focus, the request is consumed (field = nullptr)
    // and the editor shown.
    void FocusControl(tk::TField*& field) override;
    // The grid's LayoutChanged with its layout-from-dataset flag raised.
    void LayoutChanged() override;
    // A change of a data field other than the selected one, while the
    // editor holds a change of its own, posts the editor's change first
    // (when the field's column is not fixed) so that it is not lost.
    void RecordChanged(tk::TField* field) override;
    // With a pending change, the grid's UpdateData; never re-entered.
    void UpdateData() override;

private:
    TKelCustomDBGrid* grid_;
    int fieldCount_ = 0;
    QList<int> fieldMap_;  // capacity entries; the first fieldCount_ are used
    bool modified_ = false;
    bool inUpdateData_ = false;
    bool sparseMap_ = false;
};

}  // namespace kelgrid
