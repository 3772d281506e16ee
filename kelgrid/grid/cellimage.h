#pragma once
// Images in cells: where an image lands in a cell by the column's
// ImageDraw mode, drawing it clipped to the cell, and drawing image list
// images so that they read correctly on a mirrored (right-to-left) canvas.
//
// Placement, for an image of size w x h in a cell:
//   idAlignment  by alignment and vAlignment; offsetX and offsetY move it
//                in from the edge it is aligned to (right: left-wards,
//                bottom: up-wards), and move a centred image right / down;
//   idOpposite   as idAlignment with both alignments reversed (left <->
//                right, top <-> bottom; centre stays), the offsets alike;
//   idCenter     centred both ways, no offsets;
//   idScaled     scaled up or down to fit the cell keeping its
//                proportions (at least 1 pixel each way), centred;
//   idStretch    the cell;
//   tiles        copies of the image side by side on a lattice through an
//                anchor point: idTileCell the cell's top-left, idTileGrid
//                patternOrigin, idTileCol the cell's left and
//                patternOrigin.y (the pattern runs on down the column),
//                idTileRow patternOrigin.x and the cell's top (along the
//                row). Neighbouring cells drawn with the same anchor
//                continue one pattern. CellImageRect gives the tile that
//                covers the cell's top-left pixel.
// Centring rounds towards the top-left.
//
// A mirrored canvas: DrawCellImage paints the image unmirrored (it reads
// as authored) into the cell's place on the device. The placement is then
// worked out on the device: alignment and vAlignment mean the sides as
// seen (the caller mirrors a right-to-left column's alignment itself),
// while tile anchors are canvas points, so idTileCell tiles from the
// cell's logical corner (its right edge as seen) and patternOrigin is
// mirrored with the canvas.

#include "kelgrid/grid/columnenums.h"
#include "toolkit/core/alignment.h"
#include "toolkit/ui/colors.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace tk {
class TCanvas;
class TImageList;
}  // namespace tk

namespace kelgrid {

struct TCellImageFormat {
    TImageDraw mode = idCenter;
    tk::TAlignment alignment = tk::taLeftJustify;
    TVAlignment vAlignment = tvCenter;
    int offsetX = 0;
    int offsetY = 0;
    // Leave out the pixels of transparentColor; clNone or clDefault: of the
    // image's bottom-left pixel (as bitmaps do). System colours resolve
    // against the canvas palette. Pixels the image itself makes
    // transparent (alpha) are left out in any case.
    bool transparent = false;
    tk::TColor transparentColor = tk::clNone;
    // Scaling (idScaled, idStretch) takes the nearest pixel; off: smooth
    // filtering.
    bool quickDraw = true;
    // The canvas point where the tile pattern starts (idTileGrid, idTileCol,
    // idTileRow); the caller computes it from the scroll position.
    QPoint patternOrigin;
};

// Where the image lands (see above); a null QRect for an empty image or
// cell. The rectangle may reach outside the cell: drawing clips it.
QRect CellImageRect(const QSize& image, const QRect& cell, const TCellImageFormat& format);

// Draws image in cell by format, clipped to the cell (within the canvas's
// own clipping), over what the cell holds: the caller fills the
// background first. A null image, an empty cell or a measuring canvas
// draws nothing.
void DrawCellImage(tk::TCanvas& canvas, const QRect& cell, const QImage& image,
                   const TCellImageFormat& format);

// How DrawListImage treats a mirrored canvas.
enum class TListImageMirror {
    // Images 0 .. 5 (the indicator images: arrow, I-beam, asterisk, dot,
    // arrow with mark, large down triangle) are drawn mirrored with the
    // canvas at x + 1 (the canvas's x, so one pixel to the left as seen);
    // other images as Readable.
    IndicatorImages,
    // Every image unmirrored at its mirrored place, so it reads as authored.
    Readable,
};

// Image index of list with its top-left at canvas point (x, y), in the
// enabled or disabled look (TImageList::Draw); an index outside the list
// draws nothing. On a mirrored canvas by TListImageMirror::IndicatorImages.
void DrawListImage(tk::TCanvas& canvas, const tk::TImageList& list, int index, int x, int y,
                   bool enabled = true);
// As above with the mirrored-canvas rule given: Readable for lists that
// are not the indicator list (title images, markers, column images).
void DrawListImage(tk::TCanvas& canvas, const tk::TImageList& list, int index, int x, int y, bool enabled,
                   TListImageMirror mirror);

}  // namespace kelgrid
