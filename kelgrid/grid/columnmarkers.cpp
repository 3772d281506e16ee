// Sort markers of column titles and the collection's order list.
//
// MarkerIndex keeps the direction in bit 0. Under dgMarkerAutoToggle the
// marked columns are numbered by their place in the order list: position
// x 2 + 2 + direction, so OrderIndex (MarkerIndex / 2) is 1 for the
// primary column. Under dgMarkerAutoSwitch only one column carries a
// marker and its index is the direction bit alone. Every change runs
// inside the grid's order bracket, so the grid hears of a batch once.

#include "kelgrid/grid/column_p.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"

namespace kelgrid {

namespace {

constexpr int kMaxOrderColumns = 9;

struct MarkerOptions {
    bool autoSwitch;
    bool autoToggle;
    bool ascendOnly;
};

MarkerOptions OptionsOf(const TKelCustomDBGrid* grid)
{
    const TKelDBGridOptions options = grid->Options();
    return {options.testFlag(dgMarkerAutoSwitch), options.testFlag(dgMarkerAutoToggle),
            options.testFlag(dgMarkerAscendOnly)};
}

// The grid's order bracket for the scope of a marker change; its end may
// reorder the dataset and raise.
TOrderUpdateLock OrderBracket(TKelCustomDBGrid* grid)
{
    return TOrderUpdateLock(*grid);
}

}  // namespace

TMarker TKelColumnTitle::Marker() const
{
    return d_->marker;
}

int TKelColumnTitle::MarkerIndex() const
{
    return d_->markerIndex;
}

int TKelColumnTitle::OrderIndex() const
{
    return d_->markerIndex < 0 ? -1 : d_->markerIndex / 2;
}

void TKelColumnTitle::StoreMarkerIndex(int index)
{
    const TMarker marker = index < 0 ? tmNone : (index & 1) ? tmDescend : tmAscend;
    if (index == d_->markerIndex && marker == d_->marker)
        return;
    d_->markerIndex = index;
    d_->marker = marker;
    ReportGroupChange();
}

void TKelColumnTitle::SetMarker(TMarker marker)
{
    TKelCustomDBGrid* grid = Grid();
    TKelDBGridColumns* columns = d_->column->Columns();
    if (marker == d_->marker || !grid || !columns)
        return;
    const MarkerOptions options = OptionsOf(grid);
    if (marker == tmDescend && options.ascendOnly)
        marker = tmAscend;
    if (marker == d_->marker)
        return;
    auto bracket = OrderBracket(grid);
    const int old = d_->markerIndex;
    if (marker != tmNone && options.autoSwitch)
        columns->RemoveMarkers();
    if (marker != tmNone) {
        columns->AddToOrder(d_->column);
        StoreMarkerIndex((qMax(0, old) & ~1) + (int(marker) - 1));
        // Numbered markers follow the order list.
        if (options.autoToggle && !options.autoSwitch)
            columns->UpdateMarkers();
    } else {
        columns->RemoveFromOrder(d_->column);
        StoreMarkerIndex(-1);
        if (!options.autoSwitch)
            columns->UpdateMarkers();
    }
}

void TKelColumnTitle::SetMarkerIndex(int index)
{
    TKelCustomDBGrid* grid = Grid();
    TKelDBGridColumns* columns = d_->column->Columns();
    if (!grid || !columns || index == d_->markerIndex)
        return;
    const MarkerOptions options = OptionsOf(grid);
    if (options.ascendOnly && index >= 0)
        index &= ~1;
    auto bracket = OrderBracket(grid);
    if (index < 0) {
        columns->RemoveFromOrder(d_->column);
        StoreMarkerIndex(-1);
        if (!options.autoSwitch)
            columns->UpdateMarkers();
        return;
    }
    columns->AddToOrder(d_->column);
    const int direction = index & 1;
    if (options.autoSwitch)
        StoreMarkerIndex(direction);
    else if (options.autoToggle)
        StoreMarkerIndex(int(columns->OrderList().indexOf(d_->column)) * 2 + direction + 2);
    else
        StoreMarkerIndex(index);
}

void TKelColumnTitle::SetOrderIndex(int position)
{
    TKelCustomDBGrid* grid = Grid();
    TKelDBGridColumns* columns = d_->column->Columns();
    if (!grid || !columns)
        return;
    if (position < 0) {
        SetMarker(tmNone);
        return;
    }
    const MarkerOptions options = OptionsOf(grid);
    const int direction = d_->markerIndex < 0 ? 0 : d_->markerIndex & 1;
    if (options.autoToggle && !options.autoSwitch) {
        auto bracket = OrderBracket(grid);
        columns->AddToOrder(d_->column);
        const int target = qMin(qMax(0, position - 1), int(columns->OrderList().size()) - 1);
        if (columns->OrderList().indexOf(d_->column) == target && d_->markerIndex >= 0)
            return;
        columns->MoveInOrder(d_->column, target);
        if (d_->markerIndex < 0)
            StoreMarkerIndex(direction);
        columns->UpdateMarkers();
        return;
    }
    SetMarkerIndex(position * 2 + direction);
}

void TKelColumnTitle::ToggleMarker(bool newOrder)
{
    TKelCustomDBGrid* grid = Grid();
    TKelDBGridColumns* columns = d_->column->Columns();
    if (!grid || !columns)
        return;
    const MarkerOptions options = OptionsOf(grid);
    auto bracket = OrderBracket(grid);
    bool wasAscending = false;
    if (newOrder || options.autoSwitch) {
        wasAscending = d_->marker == tmAscend && !options.ascendOnly;
        columns->RemoveMarkers();
    }
    if (d_->column->FieldName().isEmpty())
        return;
    const QList<TKelColumn*>& order = columns->OrderList();
    const int position = int(order.indexOf(d_->column));
    if (position < 0) {
        if (order.size() < kMaxOrderColumns)
            SetMarkerIndex(wasAscending ? 1 : 0);
    } else if (d_->marker == tmAscend && !options.ascendOnly) {
        SetMarkerIndex(d_->markerIndex | 1);
    } else if (order.size() > 1 && position == order.size() - 1) {
        SetMarker(tmNone);
    } else {
        SetMarkerIndex(d_->markerIndex & ~1);
    }
}

// --- The collection's order list --------------------------------------------------

const QList<TKelColumn*>& TKelDBGridColumns::OrderList() const
{
    return order_;
}

void TKelDBGridColumns::AddToOrder(TKelColumn* column)
{
    if (!order_.contains(column))
        order_.append(column);
}

void TKelDBGridColumns::RemoveFromOrder(TKelColumn* column)
{
    order_.removeAll(column);
}

void TKelDBGridColumns::MoveInOrder(TKelColumn* column, int position)
{
    const int from = int(order_.indexOf(column));
    Q_ASSERT(from >= 0 && position >= 0 && position < order_.size());
    order_.move(from, position);
}

void TKelDBGridColumns::RemoveMarkers()
{
    if (!grid_)
        return;
    auto bracket = OrderBracket(grid_);
    order_.clear();
    for (int i = 0; i < Count(); ++i)
        Items(i)->Title()->StoreMarkerIndex(-1);
}

void TKelDBGridColumns::UpdateMarkers()
{
    if (!grid_)
        return;
    const MarkerOptions options = OptionsOf(grid_);
    auto bracket = OrderBracket(grid_);
    if (options.autoSwitch && !order_.isEmpty()) {
        TKelColumn* first = order_.first();
        for (TKelColumn* column : QList<TKelColumn*>(order_))
            if (column != first)
                column->Title()->StoreMarkerIndex(-1);
        order_ = {first};
        const bool descending = first->Title()->Marker() == tmDescend && !options.ascendOnly;
        first->Title()->StoreMarkerIndex(descending ? 1 : 0);
    } else if (options.autoToggle) {
        for (int i = 0; i < order_.size(); ++i) {
            TKelColumnTitle* title = order_[i]->Title();
            title->StoreMarkerIndex(i * 2 + 2 + (title->MarkerIndex() & 1));
        }
    } else if (options.ascendOnly) {
        for (TKelColumn* column : order_)
            column->Title()->StoreMarkerIndex(column->Title()->MarkerIndex() & ~1);
    }
}

}  // namespace kelgrid
