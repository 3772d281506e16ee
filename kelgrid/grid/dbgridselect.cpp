// TKelCustomDBGrid: the select bracket, invalidation of data
// rows and the requests for delayed updates.

#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"

namespace kelgrid {

TKelBookmarkList* TKelCustomDBGrid::SelectedRows() const
{
    return d_->selectedRows.get();
}

void TKelCustomDBGrid::BeginSelect()
{
    ++d_->selectLock;
}

void TKelCustomDBGrid::EndSelect()
{
    if (d_->selectLock == 0)
        return;
    if (--d_->selectLock > 0 || !d_->selectPending)
        return;
    d_->selectPending = false;
    if (OnSelectionChanged)
        OnSelectionChanged(this, d_->pendingAction);
}

void TKelCustomDBGrid::CancelSelect()
{
    if (d_->selectLock == 0)
        return;
    if (--d_->selectLock == 0)
        d_->selectPending = false;
}

int TKelCustomDBGrid::SelectLock() const
{
    return d_->selectLock;
}

void TKelCustomDBGrid::SelectionChanged(TSelectAction action)
{
    d_->pendingAction = action;
    d_->selectPending = true;
    if (d_->selectLock == 0) {
        d_->selectPending = false;
        if (OnSelectionChanged)
            OnSelectionChanged(this, action);
    }
}

void TKelCustomDBGrid::InvalidateData()
{
    for (int row = d_->titleOffset; row < RowCount(); ++row)
        InvalidateRow(row);
}

void TKelCustomDBGrid::InvalidateGridRow(int row)
{
    if (row >= 0 && row < RowCount())
        InvalidateRow(row);
}

void TKelCustomDBGrid::InvalidateColumn(TKelColumn* column)
{
    if (column && column->Index() >= 0)
        InvalidateCol(DataToRawColumn(column->Index()));
}

void TKelCustomDBGrid::UpdateListItems(bool /*checkAutoUpdate*/)
{
    ++d_->listItemsRequests;
}

void TKelCustomDBGrid::UpdateSequence(bool /*checkAutoUpdate*/)
{
    ++d_->sequenceRequests;
}

void TKelCustomDBGrid::UpdateTotals(bool /*checkAutoUpdate*/)
{
    ++d_->totalsRequests;
}

QString TKelCustomDBGrid::RequestCounts() const
{
    return QStringLiteral("lists %1, sequence %2, totals %3")
        .arg(d_->listItemsRequests)
        .arg(d_->sequenceRequests)
        .arg(d_->totalsRequests);
}

void TKelCustomDBGrid::TotalsChanged(int /*kind*/, tk::TField* /*field*/)
{
    Invalidate();
}

}  // namespace kelgrid
