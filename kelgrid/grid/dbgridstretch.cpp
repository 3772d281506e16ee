// TKelCustomDBGrid: stretch mode. The showing columns share the client
// width by their base widths (stretch.h); a column's SetWidth while the
// mode is on changes its share, SetWidth from the grid's own stretching
// only its width.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/column_p.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/stretch.h"

#include <QScopeGuard>
#include <QScopedValueRollback>

namespace kelgrid {

bool TKelCustomDBGrid::StretchMode() const
{
    return d_->stretchMode;
}

void TKelCustomDBGrid::SetStretchMode(bool on)
{
    if (on == d_->stretchMode)
        return;
    d_->stretchMode = on;
    LayoutChanged();
}

int TKelCustomDBGrid::StretchWidthMin() const
{
    return d_->stretchWidthMin;
}

void TKelCustomDBGrid::SetStretchWidthMin(int width)
{
    if (width < -1 || width == d_->stretchWidthMin)
        return;
    d_->stretchWidthMin = width;
    if (width != -1 && d_->stretchWidthMax != -1 && d_->stretchWidthMax < width)
        d_->stretchWidthMax = width;
    if (StretchActive())
        LayoutChanged();
}

int TKelCustomDBGrid::StretchWidthMax() const
{
    return d_->stretchWidthMax;
}

void TKelCustomDBGrid::SetStretchWidthMax(int width)
{
    if (width < -1 || width == d_->stretchWidthMax)
        return;
    d_->stretchWidthMax = width;
    if (width != -1 && d_->stretchWidthMin != -1 && d_->stretchWidthMin > width)
        d_->stretchWidthMin = width;
    if (StretchActive())
        LayoutChanged();
}

bool TKelCustomDBGrid::StretchActive() const
{
    return d_->stretchMode && d_->stretchApplied;
}

bool TKelCustomDBGrid::Stretching() const
{
    return d_->stretching;
}

int TKelCustomDBGrid::StretchBaseTotal() const
{
    int total = 0;
    for (int i = 0; i < d_->columns->Count(); ++i)
        if (TKelColumn* column = d_->columns->Items(i); column->Showing())
            total += column->d()->baseWidth;
    return total;
}

int TKelCustomDBGrid::StretchAvailableWidth() const
{
    const int colLine = d_->options.testFlag(dgColLines) ? GridLineWidth() : 0;
    int available = viewport()->width();
    if (d_->indicatorOffset > 0)
        available -= d_->indicatorWidth + colLine;
    for (int i = 0; i < d_->columns->Count(); ++i)
        if (d_->columns->Items(i)->Showing())
            available -= colLine;
    return available;
}

void TKelCustomDBGrid::UpdateStretchState()
{
    // A grid that follows a master takes its widths from it.
    const bool wanted = d_->stretchMode && LinkActiveNow() && !d_->masterGrid;
    if (wanted == d_->stretchApplied)
        return;
    QScopedValueRollback<bool> guard(d_->stretching, true);
    d_->columns->BeginUpdate();
    auto end = qScopeGuard([this] { d_->columns->EndUpdate(); });
    for (int i = 0; i < d_->columns->Count(); ++i) {
        TKelColumn* column = d_->columns->Items(i);
        TKelColumnPrivate* state = column->d();
        if (wanted) {
            state->stretchedDefault = !state->assignedValues.testFlag(cvWidth);
            state->baseWidth = column->TrueWidth();
        } else {
            column->SetWidth(state->baseWidth);
            if (state->stretchedDefault)
                state->assignedValues &= ~TKelColumnValues(cvWidth);
        }
    }
    d_->stretchApplied = wanted;
}

void TKelCustomDBGrid::StretchGrid()
{
    if (d_->stretching || !StretchActive())
        return;
    QList<TKelColumn*> showing;
    QList<TStretchColumn> shares;
    for (int i = 0; i < d_->columns->Count(); ++i) {
        TKelColumn* column = d_->columns->Items(i);
        if (!column->Showing())
            continue;
        showing << column;
        shares << TStretchColumn{column->d()->baseWidth, column->WidthMin(), column->WidthMax()};
    }
    const QList<int> widths =
        StretchWidths(StretchAvailableWidth(), shares, {d_->stretchWidthMin, d_->stretchWidthMax});
    if (widths.isEmpty())
        return;
    QScopedValueRollback<bool> guard(d_->stretching, true);
    d_->columns->BeginUpdate();
    auto end = qScopeGuard([this] { d_->columns->EndUpdate(); });
    for (int i = 0; i < showing.size(); ++i)
        showing[i]->SetWidth(widths[i]);
}

}  // namespace kelgrid
