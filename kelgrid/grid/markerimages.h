#pragma once
// The title sort markers, recoloured for a marker style.
//
// The "KELDBMARKERS" strip (20 images of 16 x 16: 2k ascending, 2k+1
// descending; k = 1..9 carry the digit k) is drawn in five key colours:
// aqua, teal, blue and navy for the parts of the triangle and the digit,
// lime for the background. A marker style (msDefault .. msMild) picks for
// the four part colours entries of the palette
//   0 white, 1 cl3DLight, 2 clBtnShadow, 3 cl3DDkShadow, 4 black,
//   5 the background,
// by the style's row of the recolouring table; the background is clOlive (the mask colour,
// so left out) when transparent and white otherwise. For msDefault and
// msSoft entry 1 is clOlive too, so those parts are left out. System
// colours are resolved against the palette given; a pixel of any other
// colour keeps it.

#include "kelgrid/grid/gridenums.h"

#include <QPalette>

namespace tk {
class TImageList;
}

namespace kelgrid {

// The key a built marker list is known by, so that it is rebuilt only
// when the key changes: style + 12 * transparent, so 0 .. 10 opaque and
// 12 .. 22 transparent.
int MarkerImagesKey(TMarkerStyle resolved, bool transparent);

// Empties list, makes its images 16 x 16 and fills it with the 20 marker
// images recoloured for resolved and transparent, masked by clOlive. A
// style that is still automatic (msAuto, msAutoGray) is taken as for
// fsDefault without a theme. EResNotFound when the toolkit has no
// KELDBMARKERS bitmap (the list is unchanged then).
void LoadMarkerImages(tk::TImageList& list, TMarkerStyle resolved, bool transparent, const QPalette& palette);

}  // namespace kelgrid
