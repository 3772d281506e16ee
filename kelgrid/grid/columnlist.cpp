#include "kelgrid/grid/columnlist.h"

#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"

#include <algorithm>

namespace kelgrid {

TKelColumnList::TKelColumnList(TKelCustomDBGrid* grid) : grid_(grid)
{
    Q_ASSERT(grid);
}

void TKelColumnList::Refresh() const
{
    if (!built_)
        RefreshList();
}

void TKelColumnList::RefreshList() const
{
    list_.clear();
    built_ = true;
    autoRefresh_ = true;
    if (!grid_->ColsSelection())
        return;
    const int begin = grid_->SelectionBegCol();
    const int end = grid_->SelectionEndCol();
    if (begin < 0 || end < 0)
        return;
    const int last = qMin(qMax(begin, end), grid_->Columns()->Count() - 1);
    for (int index = qMin(begin, end); index <= last; ++index)
        list_.append(index);
}

int TKelColumnList::Count() const
{
    Refresh();
    return int(list_.size());
}

TKelColumn* TKelColumnList::Items(int position) const
{
    Refresh();
    if (position < 0 || position >= list_.size())
        return nullptr;
    const int index = list_[position];
    TKelDBGridColumns* columns = grid_->Columns();
    return index < columns->Count() ? columns->Items(index) : nullptr;
}

bool TKelColumnList::Find(int index, int& position) const
{
    Refresh();
    const auto at = std::lower_bound(list_.cbegin(), list_.cend(), index);
    position = int(at - list_.cbegin());
    return at != list_.cend() && *at == index;
}

int TKelColumnList::IndexOf(int index) const
{
    int position = -1;
    return Find(index, position) ? position : -1;
}

bool TKelColumnList::Column(int index) const
{
    return IndexOf(index) >= 0;
}

void TKelColumnList::SetColumn(int index, bool selected)
{
    int position = 0;
    if (Find(index, position) == selected)
        return;
    if (selected)
        list_.insert(position, index);
    else
        list_.removeAt(position);
    autoRefresh_ = false;
    grid_->SetColsChanged();
}

bool TKelColumnList::CurrentColSelected() const
{
    return Column(grid_->RawToDataColumn(grid_->Col()));
}

void TKelColumnList::SetCurrentColSelected(bool selected)
{
    SetColumn(grid_->RawToDataColumn(grid_->Col()), selected);
}

void TKelColumnList::Clear()
{
    NeedRefresh();
}

void TKelColumnList::NeedRefresh()
{
    list_.clear();
    built_ = false;
    autoRefresh_ = true;
}

}  // namespace kelgrid
