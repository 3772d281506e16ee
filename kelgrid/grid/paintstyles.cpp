#include "kelgrid/grid/paintstyles.h"

#include "toolkit/ui/edges.h"

#include <array>

namespace kelgrid {

namespace {

constexpr int kFixedStyles = 8;  // fsDefault .. fsMild

// Row i is for FixedStyle i; a value outside the enumeration reads as fsDefault.
template <typename T> T ByFixedStyle(const std::array<T, kFixedStyles>& table, TFixedStyle fixedStyle)
{
    const int index = static_cast<int>(fixedStyle);
    return table[index >= 0 && index < kFixedStyles ? index : 0];
}

constexpr std::array<TCheckBoxStyle, kFixedStyles> kCheckBoxAuto{
    cbDefault, cbSoft, cbLoweredDark, cbFlat, cbLoweredGray, cbGray, cbLoweredMild, cbMild};
constexpr std::array<TCheckBoxStyle, kFixedStyles> kCheckBoxAutoGray{
    cbSoft, cbSoft, cbLoweredGray, cbGray, cbLoweredGray, cbGray, cbLoweredGray, cbGray};
constexpr std::array<TCheckBoxStyle, kFixedStyles> kCheckBoxAutoLowered{
    cbDefault,     cbSoft,        cbLoweredDark, cbLoweredDark,
    cbLoweredGray, cbLoweredGray, cbLoweredMild, cbLoweredMild};
constexpr std::array<THotButtonsStyle, kFixedStyles> kHotButtonsAuto{hbBump,    hbBump,    hbRaised, hbRaised,
                                                                     hbLowered, hbLowered, hbTile,   hbTile};
constexpr std::array<TMarkerStyle, kFixedStyles> kMarkerAuto{msDefault,    msSoft, msRaisedDark, msFlat,
                                                             msRaisedGray, msGray, msRaisedMild, msMild};
constexpr std::array<TMarkerStyle, kFixedStyles> kMarkerAutoGray{msSoft,       msSoft, msRaisedGray, msGray,
                                                                 msRaisedGray, msGray, msRaisedGray, msGray};
constexpr std::array<tk::TColor, kFixedStyles> kFixedLineColors{
    tk::clBlack,      tk::cl3DDkShadow, tk::clBlack,     tk::clBlack,
    tk::cl3DDkShadow, tk::cl3DDkShadow, tk::clBtnShadow, tk::clBtnShadow};

// DrawEdge takes its rectangle by reference (for bfAdjust); these edges
// never adjust it.
void Edge(tk::TCanvas& canvas, const QRect& rect, unsigned edge, unsigned flags)
{
    QRect area = rect;
    tk::DrawEdge(canvas, area, edge, flags);
}

bool CanPaint(tk::TCanvas& canvas, const QRect& rect)
{
    return !rect.isEmpty() && canvas.CanDraw();
}

// An edge on the top and left sides and another on the bottom and right
// (drawn last, so they take the top-right and bottom-left corners).
struct TTwoSides {
    unsigned topLeft;
    unsigned topLeftFlags;
    unsigned bottomRight;
    unsigned bottomRightFlags;
};

void DrawTwoSides(tk::TCanvas& canvas, const QRect& rect, const TTwoSides& sides)
{
    Edge(canvas, rect, sides.topLeft, tk::bfTopLeft | sides.topLeftFlags);
    Edge(canvas, rect, sides.bottomRight, tk::bfBottomRight | sides.bottomRightFlags);
}

constexpr TTwoSides kSunkenInnerRaisedOuter{tk::bdrSunkenInner, 0, tk::bdrRaisedOuter, 0};
constexpr TTwoSides kSunkenOuterRaisedInner{tk::bdrSunkenOuter, 0, tk::bdrRaisedInner, 0};

// A check box: optionally a sunken outer frame with the rest inset by 1,
// then two sides.
struct TCheckBoxEdges {
    bool framed;
    TTwoSides sides;
};

// cbDefault .. cbMild.
constexpr std::array<TCheckBoxEdges, 8> kCheckBoxEdges{{
    {true, {tk::bdrSunkenOuter, tk::bfMono, tk::bdrSunkenInner, 0}},            // cbDefault
    {true, {tk::bdrSunkenInner, 0, tk::bdrSunkenInner, 0}},                     // cbSoft
    {false, {tk::bdrSunkenOuter, tk::bfMono, tk::bdrSunkenInner, 0}},           // cbLoweredDark
    {false, {tk::bdrSunkenInner, 0, tk::bdrSunkenInner, 0}},                    // cbLoweredGray
    {false, {tk::bdrSunkenOuter, 0, tk::bdrSunkenInner, 0}},                    // cbLoweredMild
    {false, {tk::bdrSunkenOuter, tk::bfMono, tk::bdrRaisedOuter, tk::bfMono}},  // cbFlat
    {false, kSunkenInnerRaisedOuter},                                           // cbGray
    {false, kSunkenOuterRaisedInner},                                           // cbMild
}};

}  // namespace

tk::TColor ResolveColor(tk::TColor value, tk::TColor computedDefault, tk::TColor fallback)
{
    if (value == tk::clDefault)
        return computedDefault;
    if (value == tk::clNone)
        return fallback == tk::clDefault ? computedDefault : fallback;
    return value;
}

TCheckBoxStyle ResolveCheckBoxStyle(TCheckBoxStyle style, TFixedStyle fixedStyle)
{
    switch (style) {
    case cbAuto:
        return ByFixedStyle(kCheckBoxAuto, fixedStyle);
    case cbAutoGray:
        return ByFixedStyle(kCheckBoxAutoGray, fixedStyle);
    case cbAutoLowered:
        return ByFixedStyle(kCheckBoxAutoLowered, fixedStyle);
    default:
        return style;
    }
}

THotButtonsStyle ResolveHotButtonsStyle(THotButtonsStyle style, TFixedStyle fixedStyle)
{
    return style == hbAuto ? ByFixedStyle(kHotButtonsAuto, fixedStyle) : style;
}

TMarkerStyle ResolveMarkerStyle(TMarkerStyle style, TFixedStyle fixedStyle, bool themed)
{
    switch (style) {
    case msAuto:
        return themed ? msRaisedMild : ByFixedStyle(kMarkerAuto, fixedStyle);
    case msAutoGray:
        return themed ? msRaisedGray : ByFixedStyle(kMarkerAutoGray, fixedStyle);
    default:
        return style;
    }
}

TFocusRectStyle ResolveFocusRectStyle(TFocusRectStyle style)
{
    return style == frAuto ? frDefault : style;
}

TListBorderStyle ResolveListBorderStyle(TListBorderStyle style, TFixedStyle fixedStyle, bool themed,
                                        bool bothLines)
{
    if (style != lbAuto)
        return style;
    if (!bothLines)
        return lbDefault;
    if (themed)
        return lbMild;
    switch (fixedStyle) {
    case fsFine:
    case fsMild:
        return lbMild;
    case fsSoft:
    case fsGreat:
    case fsGray:
        return lbGray;
    default:
        return lbDefault;
    }
}

bool MarkerIsTransparent(TMarkerTransparent transparent, TMarkerStyle resolved)
{
    switch (transparent) {
    case mtTrue:
        return true;
    case mtFalse:
        return false;
    default:
        return resolved < msLoweredDark;
    }
}

tk::TColor DefaultStripeColor(const QPalette& palette)
{
    const bool same = tk::ColorToRGB(tk::clBtnHighlight, palette) == tk::ColorToRGB(tk::clWindow, palette);
    return same ? tk::cl3DLight : tk::clBtnHighlight;
}

tk::TColor DefaultDataLineColor(tk::TColor gridColor, const QPalette& palette)
{
    return tk::ColorToRGB(gridColor, palette) == tk::clSilver ? tk::clGray : tk::clSilver;
}

tk::TColor FixedLineColor(TFixedStyle fixedStyle, bool themed, tk::TColor gridColor, const QPalette& palette)
{
    return themed ? DefaultDataLineColor(gridColor, palette) : ByFixedStyle(kFixedLineColors, fixedStyle);
}

void DrawCheckBox(tk::TCanvas& canvas, const QRect& rect, TCheckBoxStyle resolved)
{
    if (!CanPaint(canvas, rect))
        return;
    const int index = static_cast<int>(ResolveCheckBoxStyle(resolved, fsDefault)) - cbDefault;
    if (index < 0 || index >= static_cast<int>(kCheckBoxEdges.size()))
        return;
    const TCheckBoxEdges& edges = kCheckBoxEdges[index];
    QRect box = rect;
    if (edges.framed) {
        Edge(canvas, box, tk::bdrSunkenOuter, tk::bfRect);
        box.adjust(1, 1, -1, -1);
    }
    DrawTwoSides(canvas, box, edges.sides);
}

void DrawFocusRectStyle(tk::TCanvas& canvas, const QRect& rect, TFocusRectStyle resolved)
{
    if (!CanPaint(canvas, rect))
        return;
    switch (ResolveFocusRectStyle(resolved)) {
    case frDefault:
        tk::DrawFocusRect(canvas, rect);
        break;
    case frGray:
        DrawTwoSides(canvas, rect, kSunkenInnerRaisedOuter);
        break;
    case frMild:
        DrawTwoSides(canvas, rect, kSunkenOuterRaisedInner);
        break;
    default:
        break;
    }
}

void DrawFixedCellBevel(tk::TCanvas& canvas, const QRect& cellRect, TFixedStyle fixedStyle, bool plainFrame)
{
    if (!CanPaint(canvas, cellRect))
        return;
    if (plainFrame) {
        canvas.FrameRect(cellRect);
        return;
    }
    switch (fixedStyle) {
    case fsFlat:
    case fsGray:
    case fsMild:
        Edge(canvas, cellRect, tk::bdrRaisedInner, tk::bfRect | tk::bfSoft);
        break;
    case fsNice:
    case fsGreat:
    case fsFine:
        Edge(canvas, cellRect, tk::bdrRaisedInner, tk::bfRect | tk::bfFlat);
        break;
    default:
        Edge(canvas, cellRect, tk::bdrRaisedInner, tk::bfRect);
        break;
    }
}

void DrawPressedEdge(tk::TCanvas& canvas, const QRect& rect)
{
    if (CanPaint(canvas, rect))
        Edge(canvas, rect, tk::bdrSunkenInner, tk::bfRect);
}

void DrawHotButtonEdge(tk::TCanvas& canvas, const QRect& rect, THotButtonsStyle resolved,
                       TFixedStyle fixedStyle)
{
    if (!CanPaint(canvas, rect))
        return;
    switch (ResolveHotButtonsStyle(resolved, fixedStyle)) {
    case hbBump:
        Edge(canvas, rect, tk::edgeBump, tk::bfRect);
        break;
    case hbTile:
        Edge(canvas, rect, tk::edgeEtched, tk::bfRect);
        break;
    case hbLowered:
        Edge(canvas, rect, tk::bdrSunkenOuter, tk::bfRect);
        break;
    case hbRaised:
        if (fixedStyle == fsFine) {
            DrawTwoSides(canvas, rect, {tk::bdrRaisedOuter, 0, tk::bdrRaisedOuter, 0});
        } else if (fixedStyle > fsSoft) {
            Edge(canvas, rect, tk::bdrRaisedInner, tk::bfRect);
        } else {
            Edge(canvas, rect, tk::edgeRaised, tk::bfRect);
        }
        break;
    default:
        break;
    }
}

}  // namespace kelgrid
