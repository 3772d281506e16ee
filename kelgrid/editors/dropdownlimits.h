#pragma once
// The limits a cell's drop-down list obeys: the column's DropDownRows and
// DropDownWidth (0: the unit's MaxDropDownRows / MaxDropDownWidth, positive:
// the column's own limit, negative: no limit) and the editor's width, which
// a list is never narrower than.

#include "kelgrid/kelgridexport.h"

namespace kelgrid {

struct KELGRID_EXPORT TDropDownLimits {
    int dropDownRows = 0;
    int dropDownWidth = 0;
    int editorWidth = 0;

    // The rows a list of count items shows: the column's limit when it is
    // positive and below count, MaxDropDownRows when the column sets 0 and
    // count exceeds it, else count; at least 1.
    int ListRows(int count) const;
    // The width of a list that wants width pixels, by the same rule with
    // MaxDropDownWidth; at least the editor's width + 2.
    int ListWidth(int width) const;
};

}  // namespace kelgrid
