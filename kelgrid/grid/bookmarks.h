#pragma once
// TKelBookmarkList: the grid's selected rows, a sorted list of the dataset's
// bookmarks.

#include "kelgrid/kelgridexport.h"
#include "toolkit/data/dataset.h"

#include <QList>

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelBookmarkList {
public:
    explicit TKelBookmarkList(TKelCustomDBGrid* grid);
    virtual ~TKelBookmarkList();

    int Count() const { return static_cast<int>(list_.size()); }
    // Empties the list (one saClear report when it held any).
    void Clear();
    // Clears, then follows the grid's link activity.
    void LinkActive(bool active);

private:
    TKelCustomDBGrid* grid_;
    QList<tk::TBookmark> list_;
    bool linkActive_ = false;
};

}  // namespace kelgrid
