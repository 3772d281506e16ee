#pragma once
// The grid's painting styles and colours, resolved, and the edges the cell
// painters draw with them. Pure functions: nothing here knows a
// grid, so every rule is tested on its own on an image canvas.
//
// Resolution: the automatic styles (cbAuto.., hbAuto, msAuto, msAutoGray,
// frAuto, lbAuto) become a concrete style by the grid's FixedStyle and
// whether a theme paints the fixed cells; every concrete value passes
// through unchanged.
//
// Colours: the colour properties hold clDefault ("the computed default")
// or clNone besides real colours; ResolveColor applies the one rule for
// both. The Default... colours are system colours (resolved against
// the canvas palette when drawn), except where a rule compares RGB values,
// which it does against the palette it is given.
//
// Drawing: every function draws edges only (nothing is filled) with
// tk::DrawEdge in the canvas palette's system colours, on the rectangle as
// given (a mirrored canvas mirrors them as it mirrors everything); an
// empty rectangle or a measuring canvas draws nothing. A function given a
// style that is still automatic resolves it first as noted.

#include "kelgrid/grid/columnenums.h"
#include "kelgrid/grid/gridenums.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/colors.h"

#include <QPalette>
#include <QRect>

namespace kelgrid {

// --- Colour sentinels ---------------------------------------------------------------------------

// clDefault -> computedDefault; clNone -> fallback, unless fallback is
// clDefault (the default), then computedDefault; any other value as is.
// Nothing is resolved to RGB.
tk::TColor ResolveColor(tk::TColor value, tk::TColor computedDefault, tk::TColor fallback = tk::clDefault);

// --- Automatic styles ---------------------------------------------------------------------------

// cbAuto, cbAutoGray, cbAutoLowered by FixedStyle: cbAuto fsDefault .. fsMild cbDefault, cbSoft,
// cbLoweredDark, cbFlat, cbLoweredGray, cbGray, cbLoweredMild, cbMild;
// cbAutoGray the gray ones, cbAutoLowered the lowered ones.
TCheckBoxStyle ResolveCheckBoxStyle(TCheckBoxStyle style, TFixedStyle fixedStyle);
// hbAuto: fsDefault, fsSoft hbBump; fsNice, fsFlat hbRaised; fsGreat,
// fsGray hbLowered; fsFine, fsMild hbTile.
THotButtonsStyle ResolveHotButtonsStyle(THotButtonsStyle style, TFixedStyle fixedStyle);
// msAuto and msAutoGray: themed msRaisedMild and msRaisedGray; without a
// theme by FixedStyle, fsDefault .. fsMild: msAuto msDefault, msSoft,
// msRaisedDark, msFlat, msRaisedGray, msGray, msRaisedMild, msMild;
// msAutoGray msSoft, msSoft, msRaisedGray, msGray, msRaisedGray, msGray,
// msRaisedGray, msGray. The result is one of msDefault .. msMild.
TMarkerStyle ResolveMarkerStyle(TMarkerStyle style, TFixedStyle fixedStyle, bool themed);
// frAuto -> frDefault.
TFocusRectStyle ResolveFocusRectStyle(TFocusRectStyle style);
// lbAuto (the popup lists' border): lbDefault without both line options (bothLines:
// dgColLines and dgRowLines), else lbMild themed, else fsFine, fsMild
// lbMild; fsSoft, fsGreat, fsGray lbGray; the others lbDefault.
TListBorderStyle ResolveListBorderStyle(TListBorderStyle style, TFixedStyle fixedStyle, bool themed,
                                        bool bothLines);
// mtTrue true, mtFalse false, mtAuto true for the resolved styles before
// msLoweredDark (msDefault .. msRaisedMild).
bool MarkerIsTransparent(TMarkerTransparent transparent, TMarkerStyle resolved);

// --- Default colours ----------------------------------------------------------------------------

constexpr tk::TColor DefaultSelectionColor()
{
    return tk::clGradientActiveCaption;
}
constexpr tk::TColor DefaultSelectRowColor()
{
    return tk::clGradientInactiveCaption;
}
constexpr tk::TColor DefaultSelectCellColor()
{
    return tk::clHighlight;
}
constexpr tk::TColor DefaultHighlightText()
{
    return tk::clHighlightText;
}
constexpr tk::TColor DefaultEditorColor()
{
    return tk::clInfoBk;
}
// cl3DLight when clBtnHighlight and clWindow have the same RGB in palette
// (stripes of the button highlight would not show), else clBtnHighlight.
tk::TColor DefaultStripeColor(const QPalette& palette);
// $808080 when gridColor (system colours resolved against palette) is
// $C0C0C0, else $C0C0C0. A sentinel gridColor counts as not silver.
tk::TColor DefaultDataLineColor(tk::TColor gridColor, const QPalette& palette);
// The lines between fixed cells: themed DefaultDataLineColor(gridColor),
// else by FixedStyle: fsDefault, fsNice, fsFlat clBlack; fsSoft, fsGreat,
// fsGray cl3DDkShadow; fsFine, fsMild clBtnShadow.
tk::TColor FixedLineColor(TFixedStyle fixedStyle, bool themed, tk::TColor gridColor, const QPalette& palette);

// --- Edges ---------------------------------------------------------------------------------------

// A check box (or a total's box) frame by the style's edges; the
// inside is left as it is. An automatic style is resolved as for fsDefault.
void DrawCheckBox(tk::TCanvas& canvas, const QRect& rect, TCheckBoxStyle resolved);
// frDefault (and frAuto) the system focus rectangle (it inverts, so
// drawing it twice restores the cell); frGray a sunken inner top-left with
// a raised outer bottom-right edge; frMild a sunken outer top-left with a
// raised inner bottom-right edge; frNone nothing.
void DrawFocusRectStyle(tk::TCanvas& canvas, const QRect& rect, TFocusRectStyle resolved);
// The one-pixel raised bevel on the boundary of a fixed cell drawn with
// both line options (the painter insets the cell's content by 1 for it):
// a raised inner edge, soft (bfSoft: cl3DLight top-left) for fsFlat,
// fsGray and fsMild, flat (bfFlat: clBtnFace all round) for fsNice, fsGreat
// and fsFine, the plain raised inner edge (clBtnHighlight / clBtnShadow)
// for fsDefault and fsSoft. plainFrame (a custom FixedColor with fsFlat,
// fsGray or fsMild) draws a one-pixel frame in the canvas's brush colour
// instead.
void DrawFixedCellBevel(tk::TCanvas& canvas, const QRect& cellRect, TFixedStyle fixedStyle, bool plainFrame);
// A pressed title: a sunken inner edge on all sides.
void DrawPressedEdge(tk::TCanvas& canvas, const QRect& rect);
// A hot title button: hbBump a bump edge, hbTile an etched edge, hbLowered
// a sunken outer edge, hbRaised by FixedStyle: fsFine raised outer
// top-left and bottom-right, the styles after fsSoft a raised inner edge,
// fsDefault and fsSoft the full raised edge (outer and inner). hbAuto is
// resolved by fixedStyle first.
void DrawHotButtonEdge(tk::TCanvas& canvas, const QRect& rect, THotButtonsStyle resolved,
                       TFixedStyle fixedStyle);

}  // namespace kelgrid
