#pragma once
// The default glyphs of the navigator's ten buttons, drawn in code.
//
// NavigatorGlyph(kind) returns a 32 x 16 bitmap of two 16 x 16 images side
// by side: the normal look in colour and the disabled look (the shape in
// grey 0x808080 over a white copy one pixel right and down), on clOlive,
// the transparent colour (it is the bottom-left pixel, so a button that
// takes the bitmap as a two-image glyph finds it by itself).

#include "kelgrid/kelgridexport.h"

namespace tk {
class TBitmap;
}

namespace kelgrid {

// In the navigator's button order.
enum class TNavigatorGlyphKind { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
inline constexpr int NavigatorGlyphKindCount = 10;
inline constexpr int NavigatorGlyphSize = 16;

KELGRID_EXPORT void NavigatorGlyph(TNavigatorGlyphKind kind, tk::TBitmap& bitmap);

}  // namespace kelgrid
