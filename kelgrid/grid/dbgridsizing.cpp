// TKelCustomDBGrid: the user's sizing of columns and rows, and the
// deferred layout.
//
// The grid sets raw widths and row heights itself while it lays out
// (ownSizing raised); a change of them at any other time is the user's (or
// code sizing the base directly): a column width goes back into its column
// and OnColumnResize fires, a data row's height becomes LinesCount and
// OnRowResize fires once the default row height moved by more than a line.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "toolkit/core/application.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEvent>
#include <QScopeGuard>
#include <QVector>
#include <cstdlib>

namespace kelgrid {

namespace {

// The grid's own event: lay out what DeferLayout put off.
const QEvent::Type kDeferLayoutEvent = static_cast<QEvent::Type>(QEvent::User + 100);

}  // namespace

TOwnSizing::TOwnSizing(TKelCustomDBGridPrivate& d) : d_(d)
{
    ++d_.ownSizing;
}

TOwnSizing::~TOwnSizing()
{
    --d_.ownSizing;
}

void TKelCustomDBGrid::ColWidthsChanged()
{
    tk::TCustomGrid::ColWidthsChanged();
    if (!d_ || !d_->columns || d_->ownSizing > 0 || d_->layoutLock > 0)
        return;
    // The columns whose raw width the user changed.
    QVector<int> changed;
    for (int i = 0; i < d_->columns->Count() && DataToRawColumn(i) < ColCount(); ++i) {
        TKelColumn* column = d_->columns->Items(i);
        const int width = ColWidths(DataToRawColumn(i));
        if (column->Showing() && width >= 0 && width != column->Width())
            changed << i;
    }
    if (changed.isEmpty()) {
        // A width the grid or the code set: linked grids follow it.
        Synchronize();
        return;
    }
    {
        BeginLayout();
        auto endLayout = qScopeGuard([this] { EndLayout(); });
        TOwnSizing own(*d_);
        for (int i : changed) {
            d_->lastResizedCol = i;
            d_->columns->Items(i)->SetWidth(ColWidths(DataToRawColumn(i)));
        }
    }
    // While the user drags a border the width follows live; the sizing is
    // reported once, when it ends (MouseUp, dbgridmouse.cpp).
    if (GridState() != tk::gsColSizing)
        ReportColumnResize();
}

void TKelCustomDBGrid::CalcSizingState(int x, int y, tk::TGridState& state, int& index, int& sizingPos,
                                       int& sizingOfs)
{
    tk::TCustomGrid::CalcSizingState(x, y, state, index, sizingPos, sizingOfs);
    d_->sizingCol = nullptr;
    if (state == tk::gsColSizing) {
        // The border of a leaf sizes it only from the title row of its own
        // depth down (a group's row belongs to the group) and below its
        // header rows (they may span several columns).
        TKelColumn* column = ColumnOfRaw(index);
        const int row = MouseCoord(x, y).Y;
        const bool ownRows =
            column && row >= std::min(column->Depth(), d_->titleOffset - 1) && HeaderRow(y, column) < 0;
        if (!d_->resizeOptions.testFlag(roColumnResize) || !ownRows)
            state = tk::gsNormal;
        else
            d_->sizingCol = column;
    } else if (state == tk::gsRowSizing && d_->totalOffset > 0 && index >= RowCount() - d_->totalOffset) {
        state = tk::gsNormal;
    }
    if (state == tk::gsNormal)
        index = -1;
}

void TKelCustomDBGrid::ReportColumnResize()
{
    TKelColumn* resized = d_->lastResizedCol >= 0 && d_->lastResizedCol < d_->columns->Count()
                              ? d_->columns->Items(d_->lastResizedCol)
                              : nullptr;
    d_->lastResizedCol = -1;
    if (resized && OnColumnResize)
        OnColumnResize(this, resized);
}

void TKelCustomDBGrid::RowHeightsChanged()
{
    tk::TCustomGrid::RowHeightsChanged();
    if (!d_ || d_->ownSizing > 0 || d_->layoutLock > 0)
        return;
    const int lineHeight = LineHeight();
    const int first = d_->titleOffset;
    const int last = RowCount() - d_->totalOffset - 1;
    for (int row = first; row <= last && lineHeight > 0; ++row) {
        const int height = RowHeights(row);
        if (height == DefaultRowHeight() || height < 0)
            continue;
        const int lines = std::max(0, height - RowLineWidth() - lineHeight / 2 - 3) / lineHeight + 1;
        if (lines == d_->linesCount) {
            // The same number of lines: the row gets its height back.
            TOwnSizing own(*d_);
            SetRowHeights(row, DefaultRowHeight());
        } else {
            SetLinesCount(lines);
        }
        break;
    }
    if (std::abs(DefaultRowHeight() - d_->lastDefaultRowHeight) > GridLineWidth()) {
        d_->lastDefaultRowHeight = DefaultRowHeight();
        if (OnRowResize)
            OnRowResize(this);
    }
}

void TKelCustomDBGrid::DeferLayout()
{
    if (!d_->layoutDeferred) {
        d_->layoutDeferred = true;
        QCoreApplication::postEvent(this, new QEvent(kDeferLayoutEvent));
    }
    CancelLayout();
}

bool TKelCustomDBGrid::LayoutDeferred() const
{
    return d_->layoutDeferred;
}

void TKelCustomDBGrid::ForgetDeferredLayout()
{
    if (!d_->layoutDeferred)
        return;
    d_->layoutDeferred = false;
    QCoreApplication::removePostedEvents(this, kDeferLayoutEvent);
}

bool TKelCustomDBGrid::event(QEvent* event)
{
    if (event->type() != kDeferLayoutEvent)
        return tk::TCustomGrid::event(event);
    d_->layoutDeferred = false;
    tk::Guarded([this] {
        if (AcquireLayoutLock()) {
            EndLayout();
        } else {
            BeginLayout();
            DeferLayout();
        }
    });
    return true;
}

}  // namespace kelgrid
