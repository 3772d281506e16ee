// TKelCustomDBGrid: moving columns by dragging their titles. The base moves
// the raw column; the grid moves the column (with its group) in the
// collection and lays out again, so the raw widths follow the columns. A
// title drags among its siblings only (the columns of the same group); a
// handler of OnColumnMoving may refuse, and a linked grid repeats the move.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "toolkit/ui/sysinfo.h"

#include <QScopedValueRollback>
#include <cstdlib>

namespace kelgrid {

bool TKelCustomDBGrid::BeginColumnDrag(int& origin, int& destination, const QPoint& mousePoint)
{
    if (!d_->resizeOptions.testFlag(roColumnMoving) ||
        !tk::TCustomGrid::BeginColumnDrag(origin, destination, mousePoint))
        return false;
    const THit hit = HitAt(mousePoint.x(), mousePoint.y());
    if (hit.area != THitArea::Title || hit.headerRow >= 0)
        return false;
    TKelColumn* title = hit.column;
    if (d_->columns->State() != csCustomized && !title->Field())
        return false;
    d_->dragColumn = title;
    origin = destination = DataToRawColumn(title->Index());
    return true;
}

bool TKelCustomDBGrid::CheckColumnDrag(int& origin, int& destination, const QPoint& mousePoint)
{
    (void)mousePoint;
    TKelColumn* dragged = d_->dragColumn;
    TKelColumn* over = ColumnOfRaw(destination);
    if (!dragged || !over || destination < tk::TCustomGrid::FixedCols())
        return false;
    // The title at the dragged one's depth over the destination: only a
    // sibling may take its place.
    TKelColumn* sibling = ColumnAtDepth(over, dragged->Depth());
    if (!sibling || sibling->ParentColumn() != dragged->ParentColumn())
        return false;
    const bool right = destination > origin;
    destination = DataToRawColumn(right ? sibling->ExpandIndex() : sibling->Index());
    return true;
}

bool TKelCustomDBGrid::EndColumnDrag(int& origin, int& destination, const QPoint& mousePoint)
{
    const bool drop = tk::TCustomGrid::EndColumnDrag(origin, destination, mousePoint) && d_->dragColumn;
    if (drop)
        d_->moveColumn = d_->dragColumn;
    d_->dragColumn = nullptr;
    return drop;
}

bool TKelCustomDBGrid::ColumnMoving(int fromIndex, int toIndex)
{
    bool accept = true;
    if (OnColumnMoving) {
        // A handler that fails refuses the move.
        try {
            OnColumnMoving(this, fromIndex, toIndex, accept);
        } catch (const std::exception&) {
            accept = false;
        }
    }
    return accept;
}

void TKelCustomDBGrid::ColumnMoved(int from, int to)
{
    tk::TCustomGrid::ColumnMoved(from, to);
    TKelColumn* column = d_->moveColumn ? d_->moveColumn.data() : ColumnOfRaw(from);
    d_->moveColumn = nullptr;
    const int fromIndex = RawToDataColumn(from);
    const int toIndex = RawToDataColumn(to);
    if (d_->management || !column || !ColumnMoving(fromIndex, toIndex)) {
        // The raw widths come from the columns again.
        LayoutChanged();
        return;
    }
    // MoveTo lays out itself: a dataset-made column moves its field first.
    column->MoveTo(toIndex);
    LayoutChanged();
    ClearSelection();
    if (OnColumnMoved)
        OnColumnMoved(this, fromIndex, toIndex);
    // A linked grid moves the same column.
    TKelCustomDBGrid* next = d_->manageGrid;
    if (next && next != this && fromIndex < next->d()->columns->Count() && toIndex < next->d()->columns->Count()) {
        QScopedValueRollback<bool> managing(d_->management, true);
        next->d()->columns->Items(fromIndex)->MoveTo(toIndex);
    }
}

bool TKelCustomDBGrid::StartsColumnMove(const QPoint& at) const
{
    // A pressed title becomes a column move once dragged sideways.
    return d_->options.testFlag(dgColumnResize) && !d_->options.testFlag(dgRightMoving) &&
           d_->resizeOptions.testFlag(roColumnMoving) && d_->pressedColumn &&
           d_->pressedCell.x() >= tk::TCustomGrid::FixedCols() &&
           std::abs(at.x() - d_->pressPoint.x()) > tk::DragThreshold();
}

}  // namespace kelgrid
