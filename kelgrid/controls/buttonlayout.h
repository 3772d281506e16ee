#pragma once
// Where a grid package button puts its glyph and caption: the toolkit's
// speed-button layout (LayOutSpeedButton), turned for right-to-left and
// moved by the pressed look's offset.
//
// The glyph sits left, right, above or below the caption and both are
// centred across that direction. Along it:
//   - margin -1 and spacing -1: margin, gap and the rest are equal (a
//     third each of the free room);
//   - margin -1, spacing given: glyph, gap and caption centred as a block;
//   - margin given, spacing -1: the caption centred in the room after the
//     glyph;
//   - both given: as given.
// Without a glyph or without a caption the spacing is 0. A right-to-left
// button exchanges left and right. Everything is moved by offset (the
// pressed look) and by the client rectangle's top-left.

#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/uienums.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace kelgrid {

struct TButtonLayoutResult {
    QPoint glyphPos;
    QRect textBounds;
};

KELGRID_EXPORT TButtonLayoutResult CalcButtonLayout(const QRect& client, const QPoint& offset,
                                                    QSize glyphSize, QSize textSize, tk::TButtonLayout layout,
                                                    int margin, int spacing, bool rightToLeft);

}  // namespace kelgrid
