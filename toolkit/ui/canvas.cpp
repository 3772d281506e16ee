#include "toolkit/ui/canvas.h"

#include "toolkit/ui/pictures.h"

#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPixmap>

namespace tk {

namespace {

QRect MirroredRect(const QRect& rect, int width)
{
    return QRect(width - rect.x() - rect.width(), rect.y(), rect.width(), rect.height());
}

}  // namespace

TCanvas::TCanvas() : palette_(QApplication::palette())
{
    Init();
}

TCanvas::TCanvas(QPaintDevice* device) : palette_(QApplication::palette()), device_(device)
{
    Q_ASSERT(device);
    Init();
}

TCanvas::TCanvas(QPainter* painter) : palette_(QApplication::palette()), borrowed_(painter)
{
    Q_ASSERT(painter && painter->isActive());
    base_ = painter->worldTransform();
    Init();
}

TCanvas::~TCanvas()
{
    Release();
}

void TCanvas::Init()
{
    font_ = std::make_unique<TFont>();
    brush_ = std::make_unique<TBrush>();
    pen_ = std::make_unique<TPen>();
}

QPainter* TCanvas::Painter()
{
    if (borrowed_)
        return borrowed_;
    // A device without pixels (an empty bitmap) only measures.
    if (!device_ || device_->width() <= 0 || device_->height() <= 0)
        return nullptr;
    if (!own_) {
        own_ = std::make_unique<QPainter>(device_);
        ApplyTransform();
    }
    return own_.get();
}

void TCanvas::Release()
{
    if (own_) {
        own_->end();
        own_.reset();
    }
}

void TCanvas::ApplyTransform()
{
    QPainter* painter = borrowed_ ? borrowed_ : own_.get();
    if (!painter)
        return;
    painter->setWorldTransform(base_);
    if (clipped_)
        painter->setClipRegion(clip_);
    else
        painter->setClipping(false);
    if (mirrored_)
        painter->setWorldTransform(QTransform(-1, 0, 0, 1, mirrorWidth_, 0) * base_);
}

// --- Shapes --------------------------------------------------------------------------

void TCanvas::FillRect(const QRect& rect)
{
    if (QPainter* painter = Painter(); painter && !rect.isEmpty())
        painter->fillRect(rect, brush_->ToQBrush(palette_));
}

void TCanvas::FrameRect(const QRect& rect)
{
    QPainter* painter = Painter();
    if (!painter || rect.isEmpty())
        return;
    const QBrush brush = brush_->ToQBrush(palette_);
    painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), brush);
    painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), brush);
    painter->fillRect(QRect(rect.left(), rect.top() + 1, 1, rect.height() - 2), brush);
    painter->fillRect(QRect(rect.right(), rect.top() + 1, 1, rect.height() - 2), brush);
}

void TCanvas::Rectangle(const QRect& rect)
{
    QPainter* painter = Painter();
    if (!painter || rect.isEmpty())
        return;
    const QPen pen = pen_->ToQPen(palette_);
    const int width = pen.style() == Qt::NoPen ? 0 : pen_->Width();
    painter->fillRect(rect.adjusted(width, width, -width, -width), brush_->ToQBrush(palette_));
    if (width == 0)
        return;
    // The outline lies inside the rectangle, width pixels thick.
    const QBrush outline(pen.color());
    painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), width), outline);
    painter->fillRect(QRect(rect.left(), rect.bottom() - width + 1, rect.width(), width), outline);
    painter->fillRect(QRect(rect.left(), rect.top() + width, width, rect.height() - 2 * width), outline);
    painter->fillRect(QRect(rect.right() - width + 1, rect.top() + width, width, rect.height() - 2 * width),
                      outline);
}

void TCanvas::MoveTo(int x, int y)
{
    penPos_ = QPoint(x, y);
}

void TCanvas::LineTo(int x, int y)
{
    const QPoint from = penPos_;
    penPos_ = QPoint(x, y);
    QPainter* painter = Painter();
    if (!painter || from == penPos_)
        return;
    const QPen pen = pen_->ToQPen(palette_);
    if (pen.style() == Qt::NoPen)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(pen);
    if (pen_->Mode() == TPen::pmXor)
        painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    else if (pen_->Mode() == TPen::pmNot)
        painter->setCompositionMode(QPainter::RasterOp_NotDestination);
    if (pen_->Width() == 1 && (from.x() == x || from.y() == y)) {
        // Straight one-pixel lines as pixel runs: exact on every device.
        const QRect run = from.x() == x ? QRect(x, std::min(from.y(), y + 1), 1, std::abs(y - from.y()))
                                        : QRect(std::min(from.x(), x + 1), y, std::abs(x - from.x()), 1);
        if (pen.style() == Qt::SolidLine)
            painter->fillRect(run, pen.color());
        else
            painter->drawLine(from, from.x() == x ? QPoint(x, y - (y > from.y() ? 1 : -1))
                                                  : QPoint(x - (x > from.x() ? 1 : -1), y));
    } else {
        painter->drawLine(from, penPos_);
    }
    painter->restore();
}

void TCanvas::Polyline(const QVector<QPoint>& points)
{
    if (points.isEmpty())
        return;
    MoveTo(points.front().x(), points.front().y());
    for (qsizetype i = 1; i < points.size(); ++i)
        LineTo(points[i].x(), points[i].y());
}

void TCanvas::Polygon(const QVector<QPoint>& points)
{
    QPainter* painter = Painter();
    if (!painter || points.size() < 3)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(pen_->ToQPen(palette_));
    painter->setBrush(brush_->ToQBrush(palette_));
    painter->drawPolygon(points.constData(), static_cast<int>(points.size()));
    painter->restore();
}

TColor TCanvas::Pixel(int x, int y)
{
    auto* image = dynamic_cast<QImage*>(device_);
    if (!image)
        return clNone;
    const QRect at = DeviceRect(QRect(x, y, 1, 1));
    if (!image->rect().contains(at.topLeft()))
        return clNone;
    return QColorToColor(image->pixelColor(at.topLeft()));
}

// --- Pictures --------------------------------------------------------------------------

void TCanvas::Draw(int x, int y, const TGraphic& graphic)
{
    if (QPainter* painter = Painter(); painter && !graphic.Empty())
        graphic.Draw(*painter, QRect(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const QRect& rect, const TGraphic& graphic)
{
    if (QPainter* painter = Painter(); painter && !graphic.Empty() && !rect.isEmpty())
        graphic.Draw(*painter, rect);
}

void TCanvas::DrawTransparent(int x, int y, const QImage& image, TColor keyColor)
{
    QPainter* painter = Painter();
    if (!painter || image.isNull())
        return;
    painter->drawImage(x, y, WithTransparentColor(image, keyColor));
}

void TCanvas::CopyRect(const QRect& dest, TCanvas& source, const QRect& sourceRect)
{
    QPainter* painter = Painter();
    if (!painter || dest.isEmpty())
        return;
    const QImage pixels = source.Grab(sourceRect);
    if (!pixels.isNull())
        painter->drawImage(dest, pixels);
}

QImage TCanvas::Grab(const QRect& rect)
{
    const QRect at = DeviceRect(rect);
    QImage copy;
    if (auto* image = dynamic_cast<QImage*>(device_))
        copy = image->copy(at);
    else if (auto* pixmap = dynamic_cast<QPixmap*>(device_))
        copy = pixmap->copy(at).toImage();
    if (mirrored_ && !copy.isNull())
        copy = copy.mirrored(true, false);
    return copy;
}

// --- Clipping ----------------------------------------------------------------------------

void TCanvas::SetClipRect(const QRect& rect)
{
    clipped_ = true;
    clip_ = QRegion(DeviceRect(rect));
    ApplyTransform();
}

void TCanvas::IntersectClipRect(const QRect& rect)
{
    if (!clipped_) {
        SetClipRect(rect);
        return;
    }
    clip_ = clip_.intersected(DeviceRect(rect));
    ApplyTransform();
}

void TCanvas::ExcludeClipRect(const QRect& rect)
{
    if (!clipped_) {
        // Everything but rect: start from the whole device.
        const QRect all =
            device_ ? QRect(0, 0, device_->width(), device_->height()) : QRect(-32768, -32768, 65535, 65535);
        clip_ = QRegion(all);
        clipped_ = true;
    }
    clip_ = clip_.subtracted(DeviceRect(rect));
    ApplyTransform();
}

void TCanvas::ResetClip()
{
    clipped_ = false;
    clip_ = QRegion();
    ApplyTransform();
}

// --- Mirroring -----------------------------------------------------------------------------

void TCanvas::SetMirrored(bool mirrored, int width)
{
    mirrored_ = mirrored;
    mirrorWidth_ = width;
    ApplyTransform();
}

QRect TCanvas::DeviceRect(const QRect& rect) const
{
    return mirrored_ ? MirroredRect(rect, mirrorWidth_) : rect;
}

TUnmirroredCell::TUnmirroredCell(TCanvas& canvas, const QRect& cell)
    : canvas_(canvas), wasMirrored_(canvas.Mirrored()), rect_(canvas.DeviceRect(cell))
{
    if (wasMirrored_) {
        canvas_.mirrored_ = false;
        canvas_.ApplyTransform();
    }
}

TUnmirroredCell::~TUnmirroredCell()
{
    if (wasMirrored_) {
        canvas_.mirrored_ = true;
        canvas_.ApplyTransform();
    }
}

// --- Gradient --------------------------------------------------------------------------------

void TCanvas::GradientFill(const QRect& rect, TColor startColor, TColor endColor,
                           TGradientDirection direction)
{
    QPainter* painter = Painter();
    if (!painter || rect.isEmpty())
        return;
    // The end colours sit on the centres of the first and last pixel.
    const bool horizontal = direction == TGradientDirection::gdHorizontal;
    const QPointF start = QPointF(rect.left() + 0.5, rect.top() + 0.5);
    const QPointF end = horizontal ? QPointF(rect.right() + 0.5, rect.top() + 0.5)
                                   : QPointF(rect.left() + 0.5, rect.bottom() + 0.5);
    QLinearGradient ramp(start, end);
    ramp.setColorAt(0, ToQColor(startColor));
    ramp.setColorAt(1, ToQColor(endColor));
    painter->fillRect(rect, ramp);
}

}  // namespace tk
