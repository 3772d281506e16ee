#pragma once
// Three-dimensional edges, frame controls and the focus rectangle, drawn
// from the system colours of the canvas palette.
//
// DrawEdge(canvas, rect, edge, flags) draws up to two one-pixel borders:
// the outer one on the rectangle's boundary and the inner one a pixel in.
// Raised outer: cl3DLight top-left, cl3DDkShadow bottom-right; raised
// inner: clBtnHighlight / clBtnShadow; sunken outer: clBtnShadow /
// clBtnHighlight; sunken inner: cl3DDkShadow / cl3DLight. bfSoft swaps
// the top-left colours of outer and inner; bfFlat draws the outer border
// in clBtnShadow and the inner in clBtnFace; bfMono draws the outer border
// in clWindowFrame and the inner in clWindow. An edge with only an inner
// (or only an outer) border draws it on the boundary. The bottom and right
// sides are drawn last, so the top-right and bottom-left corner pixels
// take their colour. bfMiddle fills the inside with clBtnFace (clWindow
// with bfMono); bfAdjust shrinks rect by what was drawn on each side.

#include "toolkit/ui/canvas.h"

namespace tk {

enum TEdgeFlag : unsigned {
    bdrRaisedOuter = 0x1,
    bdrSunkenOuter = 0x2,
    bdrRaisedInner = 0x4,
    bdrSunkenInner = 0x8,
    edgeRaised = bdrRaisedOuter | bdrRaisedInner,
    edgeSunken = bdrSunkenOuter | bdrSunkenInner,
    edgeEtched = bdrSunkenOuter | bdrRaisedInner,
    edgeBump = bdrRaisedOuter | bdrSunkenInner,
};

enum TBorderFlag : unsigned {
    bfLeft = 0x1,
    bfTop = 0x2,
    bfRight = 0x4,
    bfBottom = 0x8,
    bfTopLeft = bfTop | bfLeft,
    bfBottomRight = bfBottom | bfRight,
    bfRect = bfTopLeft | bfBottomRight,
    bfMiddle = 0x800,
    bfSoft = 0x1000,
    bfAdjust = 0x2000,
    bfFlat = 0x4000,
    bfMono = 0x8000,
};

// False (and nothing drawn) when edge holds no border.
bool DrawEdge(TCanvas& canvas, QRect& rect, unsigned edge, unsigned flags);

enum class TFrameControl { dfcButton, dfcScroll };
enum TFrameControlState : unsigned {
    dfcsButtonPush = 0x10,     // with dfcButton
    dfcsScrollComboBox = 0x5,  // with dfcScroll: the combo box's down arrow
    dfcsInactive = 0x100,
    dfcsPushed = 0x200,
    dfcsFlat = 0x4000,
};

// A push button face (raised; pushed: sunken; flat: a clBtnShadow frame)
// or a combo box's drop-down button with its arrow (pushed: flat frame,
// arrow moved by one pixel; inactive: the arrow embossed in grey). The
// inside is filled with clBtnFace.
void DrawFrameControl(TCanvas& canvas, const QRect& rect, TFrameControl kind, unsigned state);

// A dotted rectangle that inverts every other pixel of its outline, so
// drawing it twice restores what was there.
void DrawFocusRect(TCanvas& canvas, const QRect& rect);

}  // namespace tk
