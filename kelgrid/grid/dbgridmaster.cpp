// TKelCustomDBGrid: linked grids. A grid with a MasterGrid joins the ring
// of grids managed by that master (master -> first managed -> ... -> master,
// through manageGrid); Synchronize copies, from a grid around the ring, what
// the grids show in common: per shared column index the expanded state, the
// visibility and the width, then the indicator width, the fixed columns, the
// reading order and the left column. A layout, a column sizing and a
// horizontal scroll of any ring member synchronise the others; the
// management flag, raised on the whole ring while it runs, stops it from
// recursing.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/griderror.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/resourcestring.h"

#include <QScopeGuard>
#include <QVector>
#include <algorithm>

namespace kelgrid {

namespace {

// The width the user sees, or the one a hidden column will show with.
int ShownWidth(const TKelColumn* column)
{
    return column->Showing() ? column->Width() : column->TrueWidth();
}

}  // namespace

TKelCustomDBGrid* TKelCustomDBGrid::MasterGrid() const
{
    return d_->masterGrid;
}

void TKelCustomDBGrid::SetMasterGrid(TKelCustomDBGrid* master)
{
    if (master == d_->masterGrid)
        return;
    if (!HasState(tk::TComponentStateFlag::csLoading))
        for (TKelCustomDBGrid* grid = master; grid; grid = grid->MasterGrid())
            if (grid == this)
                InvalidGridOperation(tk::LoadResString(&tk::SCircularDataLink));
    SetStretchMode(false);
    LeaveRing();
    if (d_->masterGrid)
        d_->masterGrid->RemoveFreeNotification(this);
    d_->masterGrid = master;
    if (!master)
        return;
    master->FreeNotification(static_cast<tk::TComponentCore*>(this));
    // Into the master's ring, right after the master.
    TKelCustomDBGridPrivate& m = *master->d();
    d_->manageGrid = m.manageGrid ? m.manageGrid.data() : master;
    m.manageGrid = this;
    // Grids that manage others keep their own columns.
    master->Columns()->SetState(csCustomized);
    d_->columns->SetState(csCustomized);
    master->Synchronize();
}

TKelCustomDBGrid* TKelCustomDBGrid::ManagedGrid() const
{
    return d_->manageGrid;
}

void TKelCustomDBGrid::LeaveRing()
{
    TKelCustomDBGrid* next = d_->manageGrid;
    if (!next)
        return;
    // The grid before this one in the ring skips it.
    TKelCustomDBGrid* before = next;
    while (before->d()->manageGrid && before->d()->manageGrid != this)
        before = before->d()->manageGrid;
    if (before->d()->manageGrid == this)
        before->d()->manageGrid = next == before ? nullptr : next;
    d_->manageGrid = nullptr;
}

void TKelCustomDBGrid::TopLeftChanged()
{
    ColumnsScrolled();
    tk::TCustomGrid::TopLeftChanged();
    Synchronize();
}

void TKelCustomDBGrid::Synchronize()
{
    if (!d_->manageGrid || d_->management)
        return;
    // The whole ring is under management while this grid copies onto it.
    QVector<TKelCustomDBGrid*> ring;
    for (TKelCustomDBGrid* grid = this; grid && !ring.contains(grid); grid = grid->d()->manageGrid)
        ring << grid;
    for (TKelCustomDBGrid* grid : ring)
        grid->d()->management = true;
    auto release = qScopeGuard([&] {
        for (TKelCustomDBGrid* grid : ring)
            grid->d()->management = false;
    });
    for (int i = 1; i < ring.size(); ++i)
        ring[i]->CopyShownLayout(*this);
}

bool TKelCustomDBGrid::ShowsLayoutOf(const TKelCustomDBGrid& source) const
{
    const TKelDBGridColumns& own = *d_->columns;
    const TKelDBGridColumns& theirs = *source.d()->columns;
    for (int i = 0; i < own.Count() && i < theirs.Count(); ++i) {
        const TKelColumn* column = own.Items(i);
        const TKelColumn* from = theirs.Items(i);
        if ((column->Expandable() && from->Expandable() && column->Expanded() != from->Expanded()) ||
            column->Visible() != from->Visible() || ShownWidth(column) != ShownWidth(from))
            return false;
    }
    return IndicatorWidth() == source.IndicatorWidth() && FixedCols() == source.FixedCols() &&
           BiDiMode() == source.BiDiMode();
}

void TKelCustomDBGrid::CopyShownLayout(const TKelCustomDBGrid& source)
{
    if (!ShowsLayoutOf(source)) {
        BeginLayout();
        auto endLayout = qScopeGuard([this] { EndLayout(); });
        CopyShownColumns(source);
    }
    const int left = std::clamp(source.LeftCol(), tk::TCustomGrid::FixedCols(), std::max(0, ColCount() - 1));
    if (left != LeftCol())
        SetLeftCol(left);
}

void TKelCustomDBGrid::CopyShownColumns(const TKelCustomDBGrid& source)
{
    TKelDBGridColumns& own = *d_->columns;
    const TKelDBGridColumns& theirs = *source.d()->columns;
    for (int i = 0; i < own.Count() && i < theirs.Count(); ++i) {
        TKelColumn* column = own.Items(i);
        const TKelColumn* from = theirs.Items(i);
        if (column->Expandable() && from->Expandable())
            column->SetExpanded(from->Expanded());
        column->SetVisible(from->Visible());
        column->SetWidth(ShownWidth(from));
    }
    SetIndicatorWidth(source.IndicatorWidth());
    SetFixedCols(source.FixedCols());
    SetBiDiMode(source.BiDiMode());
}

}  // namespace kelgrid
