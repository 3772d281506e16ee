// TKelCustomDBGrid: the selection operations. Each runs inside a select
// batch, so its changes are announced once; walks over the dataset run
// inside the position bracket, so the current record and the screen stay
// as they were, also when the walk fails.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "toolkit/data/dataset.h"

#include <QScopeGuard>

namespace kelgrid {

namespace {

enum class RowAction { Select, Unselect, Invert };

void Act(TKelBookmarkList& rows, RowAction action)
{
    switch (action) {
    case RowAction::Select:
        rows.SetCurrentRowSelected(true);
        break;
    case RowAction::Unselect:
        rows.SetCurrentRowSelected(false);
        break;
    case RowAction::Invert:
        rows.SetCurrentRowSelected(!rows.CurrentRowSelected());
        break;
    }
}

// Calls visit for every record from the first, telling it whether the
// record is the last one (found by stepping ahead and back).
void WalkRecords(tk::TDataSet& dataSet, const std::function<void(bool first, bool last)>& visit)
{
    bool first = true;
    for (dataSet.First(); !dataSet.Eof(); first = false) {
        dataSet.Next();
        const bool last = dataSet.Eof();
        if (!last)
            dataSet.Prior();
        visit(first, last);
        if (last)
            break;
        dataSet.Next();
    }
}

}  // namespace

void TKelCustomDBGrid::SelectRow()
{
    if (!LinkActiveNow())
        return;
    const TSelectLock batch(*this);
    Act(*d_->selectedRows, RowAction::Select);
}

void TKelCustomDBGrid::UnselectRow()
{
    if (!LinkActiveNow())
        return;
    const TSelectLock batch(*this);
    Act(*d_->selectedRows, RowAction::Unselect);
}

void TKelCustomDBGrid::InvertRow()
{
    if (!LinkActiveNow())
        return;
    const TSelectLock batch(*this);
    Act(*d_->selectedRows, RowAction::Invert);
}

namespace {

// The records from the anchor to the current one, walked from the current
// record towards the anchor.
void ActOnRange(TKelCustomDBGrid& grid, RowAction action)
{
    if (!grid.LinkActiveNow() || !grid.RowsSelection())
        return;
    const TSelectLock batch(grid);
    tk::TDataSet& dataSet = *grid.DataSet();
    dataSet.CheckBrowseMode();
    TPositionLock position(grid);
    if (grid.SelectionAnchor().isEmpty())
        grid.SetSelectionAnchor(dataSet.GetBookmark());
    const tk::TBookmark anchor = grid.SelectionAnchor();
    TKelBookmarkList& rows = *grid.SelectedRows();
    int order = rows.Compare(dataSet.GetBookmark(), anchor);
    while (order > 0) {
        Act(rows, action);
        dataSet.Prior();
        if (dataSet.Bof())
            break;
        order = rows.Compare(dataSet.GetBookmark(), anchor);
    }
    while (order < 0) {
        Act(rows, action);
        dataSet.Next();
        if (dataSet.Eof())
            break;
        order = rows.Compare(dataSet.GetBookmark(), anchor);
    }
    if (order == 0)
        Act(rows, action);
}

}  // namespace

void TKelCustomDBGrid::SelectRows()
{
    ActOnRange(*this, RowAction::Select);
}

void TKelCustomDBGrid::UnselectRows()
{
    ActOnRange(*this, RowAction::Unselect);
}

void TKelCustomDBGrid::InvertRows()
{
    ActOnRange(*this, RowAction::Invert);
}

void TKelCustomDBGrid::SelectAll()
{
    if (!LinkActiveNow() || (!RowsSelection() && !ColsSelection()))
        return;
    const TSelectLock batch(*this);
    tk::TDataSet& dataSet = *DataSet();
    dataSet.CheckBrowseMode();
    if (RowsSelection()) {
        // The current record becomes the anchor also when the walk fails.
        auto anchor = qScopeGuard([this, &dataSet] { SetSelectionAnchor(dataSet.GetBookmark()); });
        TPositionLock position(*this);
        d_->selectedRows->Clear();
        WalkRecords(dataSet, [this](bool, bool) { d_->selectedRows->SetCurrentRowSelected(true); });
    }
    if (ColsSelection())
        for (int index = SelectionOffset(); index < d_->columns->Count(); ++index)
            d_->selectedCols->SetColumn(index, true);
}

void TKelCustomDBGrid::InvertAll()
{
    if (!LinkActiveNow() || (d_->multiSelect != msRows && d_->multiSelect != msCols))
        return;
    const TSelectLock batch(*this);
    tk::TDataSet& dataSet = *DataSet();
    dataSet.CheckBrowseMode();
    if (d_->multiSelect == msRows) {
        TPositionLock position(*this);
        WalkRecords(dataSet, [this](bool, bool) { Act(*d_->selectedRows, RowAction::Invert); });
        return;
    }
    for (int index = SelectionOffset(); index < d_->columns->Count(); ++index)
        d_->selectedCols->SetColumn(index, !d_->selectedCols->Column(index));
}

void TKelCustomDBGrid::UnselectAll()
{
    ClearSelection();
}

void TKelCustomDBGrid::ClearSelection()
{
    const TSelectLock batch(*this);
    d_->selectedRows->Clear();
    SetSelectionAnchor({});
    if (!d_->selectedCols->AutoRefresh()) {
        d_->selectedCols->Clear();
        SetColsChanged();
    }
    SetSelectionColumn(false);
    SetSelectionBegCol(-1);
    SetSelectionEndCol(-1);
}

void TKelCustomDBGrid::ForEachDataCell(const std::function<void(TKelColumn*, TForEachCellFlags)>& proc,
                                       TForEachCellScope scope)
{
    if (!LinkActiveNow())
        return;
    if (scope == fsAutoSelect)
        scope = MultiSelected() ? fsSelectedOnly : fsWholeDataSet;
    if (scope == fsSelectedOnly && !MultiSelected())
        return;
    const bool whole = scope == fsWholeDataSet;
    const TMultiSelection mode = d_->multiSelect;

    QList<TKelColumn*> columns;
    if (whole || mode == msRows) {
        for (int index = whole ? 0 : SelectionOffset(); index < d_->columns->Count(); ++index)
            columns << d_->columns->Items(index);
    } else {
        for (int position = 0; position < d_->selectedCols->Count(); ++position)
            if (TKelColumn* column = d_->selectedCols->Items(position))
                columns << column;
    }
    if (columns.isEmpty())
        return;

    auto visitRow = [&](bool firstRow, bool lastRow) {
        for (int i = 0; i < columns.size(); ++i) {
            TForEachCellFlags flags;
            flags.setFlag(feFirstCol, i == 0);
            flags.setFlag(feLastCol, i == columns.size() - 1);
            flags.setFlag(feFirstRow, firstRow);
            flags.setFlag(feLastRow, lastRow);
            proc(columns[i], flags);
        }
    };
    tk::TDataSet& dataSet = *DataSet();
    TPositionLock position(*this);
    if (whole || mode == msCols) {
        WalkRecords(dataSet, visitRow);
        return;
    }
    // The list may change under proc: walk a copy of its bookmarks.
    QList<tk::TBookmark> bookmarks;
    for (int i = 0; i < d_->selectedRows->Count(); ++i)
        bookmarks << d_->selectedRows->Items(i);
    for (int i = 0; i < bookmarks.size(); ++i) {
        dataSet.GotoBookmark(bookmarks[i]);
        visitRow(i == 0, i == bookmarks.size() - 1);
    }
}

}  // namespace kelgrid
