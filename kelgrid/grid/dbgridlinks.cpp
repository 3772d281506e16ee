// TKelCustomDBGrid: what the grid does when its data link reports, and the
// field map it gives the link.
//
// Data changes ask for the delayed work (list items, sequence numbers,
// totals) only while the dataset is browsing and the grid is not the one
// changing it: a select batch that recorded changes (deleting the selected
// rows asks once when it ends), a change lock (the grid scrolling or
// cancelling an edit of its own) or a running walk over the dataset would
// otherwise ask again for every record the walk visits.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/totals.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/grids/inplaceedit.h"

namespace kelgrid {

void TKelCustomDBGrid::LinkActive(bool active)
{
    if (!active) {
        HideEditor();
        if (RowCount() > d_->titleOffset)
            MoveColRow(Col(), d_->titleOffset, false, false);
    }
    d_->selectedRows->LinkActive(active);
    d_->lastActiveRecord = 0;
    // The bars, the rows and the requests follow the new state also when
    // the layout raises; its error then passes on.
    try {
        LayoutChanged();
    } catch (...) {
        LinkActiveSettled();
        throw;
    }
    LinkActiveSettled();
    if (!active) {
        UpdateTotals(true);
        return;
    }
    ApplyOrderOnActivation();
    if (d_->options.testFlag(dgAlwaysShowEditor) && CanEditShow())
        ShowEditor();
    // The first opening after loading takes the stored layout first.
    RunPendingLayoutLoad();
    UpdateTotals(true);
}

void TKelCustomDBGrid::LinkActiveSettled()
{
    UpdateListItems(false);
    UpdateSequence(false);
    UpdateScrollBar();
    UpdateActive();
}

bool TKelCustomDBGrid::DataChangeAsksForUpdates() const
{
    tk::TDataSet* dataSet = DataSet();
    if (!LinkActiveNow() || !dataSet || dataSet->State() != tk::dsBrowse)
        return false;
    const bool batchChanged = d_->selectLock > 0 && (d_->rowsChanged || d_->colsChanged);
    return !batchChanged && d_->changeLock == 0;
}

void TKelCustomDBGrid::DataChanged()
{
    // A walk of the grid's own (totals, sequence) sees no reaction at all:
    // the dataset comes back to where it was when the walk ends.
    if (d_->totalsCalc && (d_->totalsCalc->Calculating() || d_->totalsCalc->SequenceRunning()))
        return;
    if (DataChangeAsksForUpdates()) {
        UpdateListItems(true);
        UpdateSequence(true);
        UpdateTotals(true);
    }
    d_->selectedRows->KeepSorted();
    LayoutChanged();
    d_->lastActiveRecord = d_->dataLink->ActiveRecord();
    PinSequenceAtEnds();
    UpdateActive();
    UpdateScrollBar();
    // The records changed under the editor: it shows the current one's.
    ReloadEditor();
    Invalidate();
}

void TKelCustomDBGrid::EditingChanged()
{
    if (d_->options.testFlag(dgIndicator) && d_->indicatorOffset > 0)
        InvalidateCell(0, Row());
    InvalidateEditor();
}

void TKelCustomDBGrid::RecordChanged(tk::TField* field)
{
    if (!field) {
        InvalidateData();
    } else {
        // The record's row too: calculated and lookup fields of the record
        // may follow the changed one.
        if (LinkActiveNow())
            InvalidateGridRow(d_->titleOffset + d_->dataLink->ActiveRecord());
        for (int i = 0; i < d_->columns->Count(); ++i) {
            TKelColumn* column = d_->columns->Items(i);
            if (column->Field() == field && column->Showing())
                InvalidateColumn(column);
        }
    }
    if (d_->totalOffset > 0)
        TotalsChanged(trDataField, field);
    // The field under the editor changed in the record: the editor shows
    // the new value unless it holds that text already.
    if ((!field || field == SelectedField()) && EditorMode()) {
        TKelColumn* column = SelectedColumn();
        if (column && column->EditText() != d_->editText) {
            ReloadEditor();
            if (tk::TInplaceEdit* editor = InplaceEditor())
                editor->Deselect();
        }
    }
}

tk::TField* TKelCustomDBGrid::SelectedField() const
{
    TKelColumn* column = ColumnOfRaw(Col());
    return column ? column->Field() : nullptr;
}

void TKelCustomDBGrid::SetSelectedField(tk::TField* field)
{
    // Every column bound to the field in turn: the last one ends current.
    if (!field)
        return;
    for (int i = 0; i < d_->columns->Count(); ++i)
        if (d_->columns->Items(i)->Field() == field)
            MoveCol(DataToRawColumn(i), 0);
}

void TKelCustomDBGrid::DefineFieldMap()
{
    TKelGridDataLink* link = d_->dataLink.get();
    link->ClearMapping();
    if (!link->Active())
        return;
    if (d_->columns->State() == csCustomized) {
        // The user's columns may name fields the dataset lacks: those map to -1.
        link->SetSparseMap(true);
        for (int i = 0; i < d_->columns->Count(); ++i)
            link->AddMapping(d_->columns->Items(i)->FieldName());
    } else {
        link->SetSparseMap(false);
        for (tk::TField* field : link->DataSet()->FieldList())
            if (field->Visible())
                link->AddMapping(field->FullName());
    }
}

bool TKelCustomDBGrid::AcquireFocus()
{
    if (CanFocus() && !hasFocus())
        SetFocus();
    return hasFocus();
}

}  // namespace kelgrid
