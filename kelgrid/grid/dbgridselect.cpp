// TKelCustomDBGrid: the selection's state (mode, column range, anchor),
// membership tests and the select batches with their announcements;
// invalidation of data rows and the requests for delayed updates. The row
// operations are in dbgridselectrows.cpp.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/totals.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/data/dataset.h"

#include <QScopeGuard>
#include <utility>

namespace kelgrid {

TKelBookmarkList* TKelCustomDBGrid::SelectedRows() const
{
    return d_->selectedRows.get();
}

TKelColumnList* TKelCustomDBGrid::SelectedCols() const
{
    return d_->selectedCols.get();
}

// --- Mode and column range --------------------------------------------------------

namespace {

TMultiSelection DerivedMode(const TKelCustomDBGridPrivate& d)
{
    const TMultiSelectOptions allowed = d.multiSelectOptions;
    TMultiSelection mode;
    if (d.options.testFlag(dgRowSelect))
        mode = msRows;
    else if (d.selectionColumn)
        mode = msCols;
    else if (d.selectionBegCol == -1)
        mode = msRows;
    else if (allowed.Has(msCells))
        mode = msCells;
    else if (allowed.Has(msRows))
        mode = msRows;
    else
        mode = msCols;
    return allowed.Has(mode) ? mode : msNone;
}

}  // namespace

TMultiSelection TKelCustomDBGrid::MultiSelect() const
{
    return d_->multiSelect;
}

void TKelCustomDBGrid::SetMultiSelect(TMultiSelection mode)
{
    const TMultiSelectOptions allowed = d_->multiSelectOptions;
    const bool accepted =
        (mode == msRows && allowed.Has(msRows)) ||
        ((mode == msCols || mode == msCells) && allowed.Has(mode) && !d_->options.testFlag(dgRowSelect));
    if (!accepted)
        return;
    BeginSelect();
    auto end = qScopeGuard([this] { EndSelect(); });
    ClearSelection();
    if (mode == msCols || mode == msCells) {
        SetSelectionBegCol(RawToDataColumn(Col()));
        SetSelectionColumn(mode == msCols);
    }
    d_->multiSelect = DerivedMode(*d_);
}

TMultiSelectOptions TKelCustomDBGrid::MultiSelectOptions() const
{
    return d_->multiSelectOptions;
}

void TKelCustomDBGrid::SetMultiSelectOptions(TMultiSelectOptions options)
{
    ClearSelection();
    PerformDelayed();
    d_->multiSelectOptions = options;
    d_->multiSelect = DerivedMode(*d_);
}

int TKelCustomDBGrid::SelectionOffset() const
{
    return d_->multiSelectOptions.Has(msFixed) ? 0 : d_->fixedCols;
}

int TKelCustomDBGrid::SelectionBegCol() const
{
    return d_->selectionBegCol;
}

int TKelCustomDBGrid::SelectionEndCol() const
{
    return d_->selectionEndCol;
}

bool TKelCustomDBGrid::SelectionColumn() const
{
    return d_->selectionColumn;
}

void TKelCustomDBGrid::SetSelectionBegCol(int column)
{
    if (column < SelectionOffset())
        column = -1;
    if (column == d_->selectionBegCol)
        return;
    const bool wasCols = ColsSelection();
    d_->selectionBegCol = column;
    if (column == -1)
        d_->selectionColumn = false;
    d_->multiSelect = DerivedMode(*d_);
    const bool rangeInCols = ColsSelection() && column != -1 && d_->selectionEndCol != -1;
    if (rangeInCols || (wasCols && !ColsSelection() && d_->selectionEndCol != -1))
        ColumnRangeChanged();
}

void TKelCustomDBGrid::SetSelectionEndCol(int column)
{
    if (d_->selectionBegCol == -1)
        column = -1;
    else if (column < SelectionOffset())
        column = d_->fixedCols;
    if (column == d_->selectionEndCol)
        return;
    d_->selectionEndCol = column;
    if (ColsSelection())
        ColumnRangeChanged();
}

void TKelCustomDBGrid::SetSelectionColumn(bool on)
{
    if (on == d_->selectionColumn)
        return;
    const bool wasCols = ColsSelection();
    if (d_->selectionBegCol == -1)
        d_->selectionBegCol = qMax(SelectionOffset(), RawToDataColumn(Col()));
    d_->selectionColumn = on;
    d_->multiSelect = DerivedMode(*d_);
    if ((wasCols && !ColsSelection() && d_->selectionEndCol != -1) ||
        (ColsSelection() && d_->selectionEndCol != -1))
        ColumnRangeChanged();
}

tk::TBookmark TKelCustomDBGrid::SelectionAnchor() const
{
    return d_->selectionAnchor;
}

void TKelCustomDBGrid::SetSelectionAnchor(const tk::TBookmark& anchor)
{
    d_->selectionAnchor = anchor;
    // The indicator shows the anchor under extended selection.
    if (d_->options.testFlag(dgIndicator) && d_->options.testFlag(dgExtendedSelect))
        InvalidateCol(0);
}

bool TKelCustomDBGrid::RowsSelection() const
{
    return d_->multiSelect == msRows || d_->multiSelect == msCells;
}

bool TKelCustomDBGrid::ColsSelection() const
{
    return d_->multiSelect == msCols || d_->multiSelect == msCells;
}

bool TKelCustomDBGrid::RowsSelected() const
{
    return RowsSelection() && d_->selectedRows->Count() > 0;
}

bool TKelCustomDBGrid::ColsSelected() const
{
    if (!ColsSelection())
        return false;
    if (d_->selectedCols->AutoRefresh())
        return d_->selectionBegCol != -1 && d_->selectionEndCol != -1;
    return d_->selectedCols->Count() > 0;
}

bool TKelCustomDBGrid::IsColMultiSelected(int dataColumn) const
{
    if (!ColsSelection())
        return true;
    if (d_->selectedCols->AutoRefresh()) {
        const int begin = d_->selectionBegCol;
        const int end = d_->selectionEndCol;
        return begin != -1 && end != -1 && dataColumn >= qMin(begin, end) && dataColumn <= qMax(begin, end);
    }
    return d_->selectedCols->Column(dataColumn);
}

bool TKelCustomDBGrid::IsCellMultiSelected(int dataColumn) const
{
    if (!d_->options.testFlag(dgMultiSelect) && !d_->options.testFlag(dgInternalSelect))
        return false;
    const bool rowSelected = LinkActiveNow() && d_->selectedRows->CurrentRowSelected();
    switch (d_->multiSelect) {
    case msRows:
        return rowSelected;
    case msCols:
        return IsColMultiSelected(dataColumn);
    case msCells:
        return rowSelected && IsColMultiSelected(dataColumn);
    default:
        return false;
    }
}

// --- Batches and announcements ------------------------------------------------------

void TKelCustomDBGrid::BeginSelect()
{
    ++d_->selectLock;
    BeginUpdate();
}

void TKelCustomDBGrid::EndSelect()
{
    if (d_->selectLock == 0)
        return;
    EndUpdate();
    if (--d_->selectLock > 0 || (!d_->rowsChanged && !d_->colsChanged))
        return;
    if (d_->colsChanged)
        InvalidateData();
    if (!d_->optionsEx.testFlag(dgDelaySelectedRows)) {
        PerformDelayedSelect();
        return;
    }
    if (!d_->selectTimer)
        d_->selectTimer = std::make_unique<tk::TSingleShotTimer>([this] { PerformDelayedSelect(); });
    d_->selectTimer->Start(DelayInterval);
}

void TKelCustomDBGrid::CancelSelect()
{
    EndSelect();
}

int TKelCustomDBGrid::SelectLock() const
{
    return d_->selectLock;
}

void TKelCustomDBGrid::PerformDelayedSelect()
{
    if (d_->selectTimer)
        d_->selectTimer->Stop();
    const bool rows = std::exchange(d_->rowsChanged, false);
    const bool cols = std::exchange(d_->colsChanged, false);
    // A grid on its way out announces nothing.
    if ((!rows && !cols) || HasState(tk::TComponentStateFlag::csDestroying))
        return;
    TKelDBGridTotals* totals = d_->totals;
    totals->SetSelected(rows ? RowsSelected() : totals->SelectedRows(),
                        cols ? ColsSelected() : totals->SelectedCols());
    if (rows)
        SelectedRowsChanged();
    if (cols)
        SelectedColsChanged(rows);
    if (OnSelectionChanged)
        OnSelectionChanged(this);
}

void TKelCustomDBGrid::SelectedRowsChanged()
{
    if (HasState(tk::TComponentStateFlag::csDestroying))
        return;
    const TKelDBGridOptionsEx options = d_->optionsEx;
    if (options.testFlag(dgAutoUpdateTotals) && d_->totals->CalcValues() &&
        (d_->totals->Visible() || options.testFlag(dgCalcInvisibleRows) ||
         options.testFlag(dgSelectedAutoHidden))) {
        if (options.testFlag(dgCalcSelectedRows) || options.testFlag(dgTotalHeaderSelected) ||
            options.testFlag(dgTotalValuesSelected) || options.testFlag(dgTotalFooterSelected))
            UpdateTotals(false);
    }
    if (OnSelectedRowsChanged)
        OnSelectedRowsChanged(this);
}

void TKelCustomDBGrid::SelectedColsChanged(bool rowsChangedToo)
{
    const TKelDBGridOptionsEx options = d_->optionsEx;
    if (options.testFlag(dgAutoUpdateTotals) && !rowsChangedToo && d_->totals->CalcValues() &&
        (d_->totals->Visible() || options.testFlag(dgSelectedAutoHidden))) {
        const bool selectedTotals = options.testFlag(dgTotalHeaderSelected) ||
                                    options.testFlag(dgTotalValuesSelected) ||
                                    options.testFlag(dgTotalFooterSelected);
        if (!options.testFlag(dgCalcSelectedRows) && selectedTotals && options.testFlag(dgSelectedAutoHidden))
            UpdateTotals(false);
        else
            Invalidate();  // the total rows show the columns' selection
    }
    if (OnSelectedColsChanged)
        OnSelectedColsChanged(this);
}

void TKelCustomDBGrid::SelectionChanged(TSelectAction action)
{
    if (HasState(tk::TComponentStateFlag::csDestroying))
        return;
    if (OnRowSelect)
        OnRowSelect(this, action);
    BeginSelect();
    d_->rowsChanged = true;
    EndSelect();
}

void TKelCustomDBGrid::ColumnRangeChanged()
{
    d_->selectedCols->NeedRefresh();
    SetColsChanged();
}

void TKelCustomDBGrid::SetColsChanged()
{
    BeginSelect();
    d_->colsChanged = true;
    EndSelect();
}

// --- Invalidation and requests ----------------------------------------------------------

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

QString TKelCustomDBGrid::RequestCounts() const
{
    return QStringLiteral("lists %1, sequence %2, totals %3")
        .arg(d_->listItemsRequests)
        .arg(d_->sequenceRequests)
        .arg(d_->totalsRequests);
}

}  // namespace kelgrid
