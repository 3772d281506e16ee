#pragma once
// The single frame of the grid's drop-down lists: a 1-pixel plain box in the
// grid's resolved list border colour (gray, mild or the window frame). The
// list's own QFrame keeps the pixel free; a ring laid over it paints the
// colour, so the list's text colour (which the plain box would take) stays
// its own. Both follow every resize.

#include "kelgrid/grid/gridenums.h"
#include "toolkit/ui/colors.h"

class QColor;
class QFrame;

namespace kelgrid {

class TKelCustomDBGrid;

// lbGray: gray, lbMild: silver, otherwise the window frame colour.
tk::TColor ListBorderColor(TListBorderStyle resolved);
// Gives frame the single list border of grid (the default one without grid).
void ApplyListBorder(QFrame& frame, const TKelCustomDBGrid* grid);
// The colour the border of frame shows (invalid before ApplyListBorder).
QColor ListBorderShown(const QFrame& frame);

}  // namespace kelgrid
