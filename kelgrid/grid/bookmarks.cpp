#include "kelgrid/grid/bookmarks.h"

#include "kelgrid/grid/dbgrid.h"

namespace kelgrid {

TKelBookmarkList::TKelBookmarkList(TKelCustomDBGrid* grid) : grid_(grid) {}

TKelBookmarkList::~TKelBookmarkList() = default;

void TKelBookmarkList::Clear()
{
    if (list_.isEmpty())
        return;
    grid_->BeginSelect();
    list_.clear();
    grid_->InvalidateData();
    grid_->SelectionChanged(saClear);
    grid_->EndSelect();
}

void TKelBookmarkList::LinkActive(bool active)
{
    Clear();
    linkActive_ = active;
}

}  // namespace kelgrid
