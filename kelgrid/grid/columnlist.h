#pragma once
// TKelColumnList, the grid's selected columns: collection indexes of the
// grid's columns, kept sorted.
//
// The list is built on demand: while it follows the grid's column range
// (AutoRefresh) it holds every column from the range's first to its last
// when the grid selects columns, else none; NeedRefresh drops it so the
// next read rebuilds it. Setting Column adds or removes one column: the
// list then no longer follows the range, and the grid learns that its
// column selection changed.

#include "kelgrid/kelgridexport.h"

#include <QList>

namespace kelgrid {

class TKelColumn;
class TKelCustomDBGrid;

class KELGRID_EXPORT TKelColumnList {
public:
    explicit TKelColumnList(TKelCustomDBGrid* grid);

    int Count() const;
    // The column at a list position, nullptr for a position out of range or
    // an index the collection no longer has.
    TKelColumn* Items(int position) const;
    // Whether the column at collection index is in the list; setting adds
    // or removes it.
    bool Column(int index) const;
    void SetColumn(int index, bool selected);
    // The same for the grid's current column.
    bool CurrentColSelected() const;
    void SetCurrentColSelected(bool selected);
    // The list position of the column at collection index, -1 when absent.
    int IndexOf(int index) const;
    // Whether index is in the list; position is where it is or would be
    // inserted.
    bool Find(int index, int& position) const;
    // Drops the list: the next read rebuilds it from the grid's range
    // (Clear is the same: a cleared selection has no range either).
    void Clear();
    void NeedRefresh();
    // Rebuilds the list from the grid's range now.
    void RefreshList() const;
    bool AutoRefresh() const { return autoRefresh_; }

private:
    void Refresh() const;

    TKelCustomDBGrid* grid_;
    mutable QList<int> list_;
    mutable bool built_ = false;
    mutable bool autoRefresh_ = true;
};

}  // namespace kelgrid
