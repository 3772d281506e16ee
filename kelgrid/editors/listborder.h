#pragma once
// The single frame of the grid's drop-down lists: a 1-pixel plain box in the
// grid's resolved list border colour (gray, mild or the window frame). The
// frame is the list's own QFrame, so it is painted with the non-client part
// and survives every resize.

#include "kelgrid/grid/gridenums.h"
#include "toolkit/ui/colors.h"

class QFrame;

namespace kelgrid {

class TKelCustomDBGrid;

// lbGray: gray, lbMild: silver, otherwise the window frame colour.
tk::TColor ListBorderColor(TListBorderStyle resolved);
// Gives frame the single list border of grid (the default one without grid).
void ApplyListBorder(QFrame& frame, const TKelCustomDBGrid* grid);

}  // namespace kelgrid
