#include "kelgrid/grid/cellimage.h"

#include "toolkit/ui/canvas.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/pictures.h"

#include <QBrush>
#include <QPainter>
#include <algorithm>

namespace kelgrid {

namespace {

constexpr int kMirroredIndicatorImages = 6;  // images 0 .. 5 of the indicator list

tk::TAlignment Reversed(tk::TAlignment alignment)
{
    switch (alignment) {
    case tk::taLeftJustify:
        return tk::taRightJustify;
    case tk::taRightJustify:
        return tk::taLeftJustify;
    default:
        return alignment;
    }
}

TVAlignment Reversed(TVAlignment alignment)
{
    switch (alignment) {
    case tvTopJustify:
        return tvBottomJustify;
    case tvBottomJustify:
        return tvTopJustify;
    default:
        return alignment;
    }
}

// The left (top) of an extent of size placed in [start, start + room) by
// the near / far / centre position, offset in from the near or far edge.
int Place(int start, int room, int size, int position, int offset)
{
    switch (position) {
    case 0:  // near
        return start + offset;
    case 1:  // far
        return start + room - size - offset;
    default:  // centre
        return start + (room - size) / 2 + offset;
    }
}

int HorizontalPosition(tk::TAlignment alignment)
{
    return alignment == tk::taLeftJustify ? 0 : alignment == tk::taRightJustify ? 1 : 2;
}

int VerticalPosition(TVAlignment alignment)
{
    return alignment == tvTopJustify ? 0 : alignment == tvBottomJustify ? 1 : 2;
}

// The largest multiple of step at or below value, from anchor.
int LatticeStart(int value, int anchor, int step)
{
    const int delta = value - anchor;
    int steps = delta / step;
    if (delta % step != 0 && delta < 0)
        --steps;
    return anchor + steps * step;
}

bool IsTiled(TImageDraw mode)
{
    return mode == idTileCell || mode == idTileGrid || mode == idTileCol || mode == idTileRow;
}

// The point the tile lattice passes through, in the coordinates of cell.
QPoint TileAnchor(const QRect& cell, const TCellImageFormat& format)
{
    switch (format.mode) {
    case idTileGrid:
        return format.patternOrigin;
    case idTileCol:
        return QPoint(cell.left(), format.patternOrigin.y());
    case idTileRow:
        return QPoint(format.patternOrigin.x(), cell.top());
    default:
        return cell.topLeft();
    }
}

QRect FirstTile(const QSize& image, const QRect& cell, const QPoint& anchor)
{
    return QRect(LatticeStart(cell.left(), anchor.x(), image.width()),
                 LatticeStart(cell.top(), anchor.y(), image.height()), image.width(), image.height());
}

QRect ScaledRect(const QSize& image, const QRect& cell)
{
    // Width-bound when the image is relatively wider than the cell.
    const qint64 iw = image.width(), ih = image.height(), cw = cell.width(), ch = cell.height();
    int width, height;
    if (iw * ch >= ih * cw) {
        width = cell.width();
        height = int(std::max<qint64>(1, (ih * cw + iw / 2) / iw));
    } else {
        height = cell.height();
        width = int(std::max<qint64>(1, (iw * ch + ih / 2) / ih));
    }
    return QRect(cell.left() + (cell.width() - width) / 2, cell.top() + (cell.height() - height) / 2, width,
                 height);
}

// image as premultiplied ARGB with the pixels of the format's transparent
// colour left out.
QImage Prepared(const QImage& image, const TCellImageFormat& format, const QPalette& palette)
{
    if (!format.transparent)
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    tk::TColor key = format.transparentColor;
    if (key == tk::clNone || key == tk::clDefault)
        key = tk::QColorToColor(image.pixelColor(0, image.height() - 1));
    else
        key = tk::ColorToRGB(key, palette);
    return tk::WithTransparentColor(image, key).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

QRect CellImageRect(const QSize& image, const QRect& cell, const TCellImageFormat& format)
{
    if (image.isEmpty() || cell.isEmpty())
        return QRect();
    const int w = image.width();
    const int h = image.height();
    switch (format.mode) {
    case idAlignment:
    case idOpposite: {
        const bool opposite = format.mode == idOpposite;
        const tk::TAlignment horizontal = opposite ? Reversed(format.alignment) : format.alignment;
        const TVAlignment vertical = opposite ? Reversed(format.vAlignment) : format.vAlignment;
        return QRect(Place(cell.left(), cell.width(), w, HorizontalPosition(horizontal), format.offsetX),
                     Place(cell.top(), cell.height(), h, VerticalPosition(vertical), format.offsetY), w, h);
    }
    case idScaled:
        return ScaledRect(image, cell);
    case idStretch:
        return cell;
    case idTileCell:
    case idTileGrid:
    case idTileCol:
    case idTileRow:
        return FirstTile(image, cell, TileAnchor(cell, format));
    default:  // idCenter
        return QRect(cell.left() + (cell.width() - w) / 2, cell.top() + (cell.height() - h) / 2, w, h);
    }
}

void DrawCellImage(tk::TCanvas& canvas, const QRect& cell, const QImage& image,
                   const TCellImageFormat& format)
{
    if (image.isNull() || cell.isEmpty() || !canvas.Painter())
        return;
    // Tile anchors are canvas points: mirror them with the canvas before
    // working on the device.
    QPoint anchor = TileAnchor(cell, format);
    if (canvas.Mirrored())
        anchor.setX(canvas.MirrorWidth() - anchor.x());
    const tk::TUnmirroredCell unmirrored(canvas, cell);
    const QRect place = unmirrored.Rect();
    QPainter* painter = canvas.Painter();
    const QImage source = Prepared(image, format, canvas.Palette());

    painter->save();
    painter->setClipRect(place, Qt::IntersectClip);
    if (IsTiled(format.mode)) {
        // A texture brush tiles in one fill, however small the image; its
        // origin is a point of the lattice.
        painter->setBrushOrigin(anchor);
        painter->fillRect(place, QBrush(source));
    } else {
        const QRect target = CellImageRect(source.size(), place, format);
        if (target.size() == source.size()) {
            painter->drawImage(target.topLeft(), source);
        } else {
            painter->setRenderHint(QPainter::SmoothPixmapTransform, !format.quickDraw);
            painter->drawImage(target, source);
        }
    }
    painter->restore();
}

void DrawListImage(tk::TCanvas& canvas, const tk::TImageList& list, int index, int x, int y, bool enabled)
{
    DrawListImage(canvas, list, index, x, y, enabled, TListImageMirror::IndicatorImages);
}

void DrawListImage(tk::TCanvas& canvas, const tk::TImageList& list, int index, int x, int y, bool enabled,
                   TListImageMirror mirror)
{
    if (index < 0 || index >= list.Count() || !canvas.Painter())
        return;
    if (!canvas.Mirrored()) {
        list.Draw(canvas, x, y, index, enabled);
        return;
    }
    if (mirror == TListImageMirror::IndicatorImages && index < kMirroredIndicatorImages) {
        list.Draw(canvas, x + 1, y, index, enabled);
        return;
    }
    const tk::TUnmirroredCell unmirrored(canvas, QRect(x, y, list.Width(), list.Height()));
    list.Draw(canvas, unmirrored.Rect().x(), unmirrored.Rect().y(), index, enabled);
}

}  // namespace kelgrid
