#include "kelgrid/controls/navglyphs.h"

#include "toolkit/ui/pictures.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace kelgrid {

namespace {

// The navigator's glyph background; left out when the glyph is drawn.
const QColor Background(0x80, 0x80, 0x00);

void Triangle(QPainter& painter, std::initializer_list<QPoint> corners)
{
    painter.drawPolygon(QPolygon(QList<QPoint>(corners)));
}

// Paints kind's shape, in ink, into a 16 x 16 cell at the origin. Without
// antialiasing every pixel is either ink or background, which the
// disabled look and the mask rely on.
void PaintShape(QPainter& painter, TNavigatorGlyphKind kind, const QColor& ink)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    const QPen line(ink, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    switch (kind) {
    case TNavigatorGlyphKind::First:
        painter.drawRect(3, 3, 2, 10);
        Triangle(painter, {{6, 8}, {12, 2}, {12, 14}});
        break;
    case TNavigatorGlyphKind::Prior:
        Triangle(painter, {{4, 8}, {10, 2}, {10, 14}});
        break;
    case TNavigatorGlyphKind::Next:
        Triangle(painter, {{11, 8}, {5, 2}, {5, 14}});
        break;
    case TNavigatorGlyphKind::Last:
        Triangle(painter, {{9, 8}, {3, 2}, {3, 14}});
        painter.drawRect(11, 3, 2, 10);
        break;
    case TNavigatorGlyphKind::Insert:
        painter.drawRect(7, 3, 2, 10);
        painter.drawRect(3, 7, 10, 2);
        break;
    case TNavigatorGlyphKind::Delete:
        painter.drawRect(3, 7, 10, 2);
        break;
    case TNavigatorGlyphKind::Edit:
        Triangle(painter, {{8, 3}, {2, 12}, {14, 12}});
        break;
    case TNavigatorGlyphKind::Post:
        painter.setPen(line);
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(QPolygon(QList<QPoint>{{3, 8}, {6, 11}, {12, 4}}));
        break;
    case TNavigatorGlyphKind::Cancel:
        painter.setPen(line);
        painter.drawLine(4, 4, 11, 11);
        painter.drawLine(11, 4, 4, 11);
        break;
    case TNavigatorGlyphKind::Refresh: {
        painter.setPen(line);
        painter.setBrush(Qt::NoBrush);
        // Three quarters of a circle, open at the top right, with the
        // arrow head at its open end.
        painter.drawArc(QRect(3, 3, 10, 10), 90 * 16, 270 * 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        Triangle(painter, {{8, 0}, {12, 3}, {8, 6}});
        break;
    }
    }
}

QColor Ink(TNavigatorGlyphKind kind)
{
    switch (kind) {
    case TNavigatorGlyphKind::Insert:
    case TNavigatorGlyphKind::Post:
        return QColor(0x00, 0x80, 0x00);
    case TNavigatorGlyphKind::Delete:
    case TNavigatorGlyphKind::Cancel:
        return QColor(0xC0, 0x00, 0x00);
    case TNavigatorGlyphKind::Refresh:
        return QColor(0x00, 0x00, 0x80);
    default:
        return QColor(0x00, 0x00, 0x00);
    }
}

}  // namespace

void NavigatorGlyph(TNavigatorGlyphKind kind, tk::TBitmap& bitmap)
{
    const int size = NavigatorGlyphSize;
    QImage image(2 * size, size, QImage::Format_RGB32);
    image.fill(Background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintShape(painter, kind, Ink(kind));
    painter.translate(size + 1, 1);
    PaintShape(painter, kind, Qt::white);
    painter.translate(-1, -1);
    PaintShape(painter, kind, QColor(0x80, 0x80, 0x80));
    painter.end();
    bitmap.SetImage(image);
}

}  // namespace kelgrid
