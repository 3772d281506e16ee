#include "toolkit/ui/imagelist.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/pictures.h"

#include <QPainter>

namespace tk {

namespace {

// The visible pixels of image that are not near white, as an alpha mask
// painted in color: the shape of a disabled image.
QImage Silhouette(const QImage& image, const QColor& color)
{
    QImage shape(image.size(), QImage::Format_ARGB32);
    shape.fill(Qt::transparent);
    const QRgb ink = color.rgb() | 0xFF000000u;
    for (int y = 0; y < image.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        auto* target = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = source[x];
            if (qAlpha(pixel) >= 128 && qGray(pixel) < 0xC0)
                target[x] = ink;
        }
    }
    return shape;
}

}  // namespace

TImageList::TImageList(QObject* owner) : TComponent(owner) {}

TImageList::TImageList(int width, int height, QObject* owner) : TComponent(owner)
{
    SetSize(width, height);
}

TImageList::~TImageList()
{
    // Observers may still ask for Count or draw an image while told.
    Destroying();
}

void TImageList::SetSize(int width, int height)
{
    if (width < 1 || height < 1)
        throw EInvalidOperation(QStringLiteral("Invalid image size"));
    if (width == width_ && height == height_)
        return;
    width_ = width;
    height_ = height;
    images_.clear();
    Changed();
}

void TImageList::SetBkColor(TColor color)
{
    if (color == bkColor_)
        return;
    bkColor_ = color;
    Changed();
}

QVector<QImage> TImageList::Split(const TBitmap& bitmap, TColor maskColor, bool masked) const
{
    const QImage strip = masked ? WithTransparentColor(bitmap.Image(), maskColor)
                                : bitmap.Image().convertToFormat(QImage::Format_ARGB32);
    QVector<QImage> images;
    for (int left = 0; left + width_ <= strip.width(); left += width_) {
        QImage image(width_, height_, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), strip, QRect(left, 0, width_, std::min(height_, strip.height())));
        painter.end();
        images.push_back(image);
    }
    return images;
}

int TImageList::Add(const TBitmap& bitmap)
{
    return Append(Split(bitmap, clNone, false));
}

int TImageList::AddMasked(const TBitmap& bitmap, TColor maskColor)
{
    return Append(Split(bitmap, maskColor, true));
}

int TImageList::Append(const QVector<QImage>& images)
{
    if (images.isEmpty())
        return -1;
    const int first = Count();
    images_ += images;
    Changed();
    return first;
}

void TImageList::ReplaceMasked(int index, const TBitmap& bitmap, TColor maskColor)
{
    CheckIndex(index);
    const QVector<QImage> images = Split(bitmap, maskColor, true);
    if (images.isEmpty())
        throw EInvalidOperation(QStringLiteral("Invalid image size"));
    images_[index] = images.front();
    Changed();
}

void TImageList::Delete(int index)
{
    CheckIndex(index);
    images_.removeAt(index);
    Changed();
}

void TImageList::Clear()
{
    if (images_.isEmpty())
        return;
    images_.clear();
    Changed();
}

void TImageList::LoadStripResource(const QString& name, TColor maskColor)
{
    TBitmap strip;
    strip.LoadFromResourceName(name);
    images_.clear();
    width_ = height_ = strip.Height();
    images_ = Split(strip, maskColor, true);
    Changed();
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const
{
    QPainter* painter = canvas.Painter();
    if (!painter || index < 0 || index >= Count())
        return;
    const QImage& image = images_[index];
    if (bkColor_ != clNone)
        painter->fillRect(QRect(x, y, width_, height_), canvas.ToQColor(bkColor_));
    if (enabled) {
        painter->drawImage(x, y, image);
        return;
    }
    painter->drawImage(x + 1, y + 1, Silhouette(image, canvas.ToQColor(clBtnHighlight)));
    painter->drawImage(x, y, Silhouette(image, canvas.ToQColor(clBtnShadow)));
}

void TImageList::DrawBlended(TCanvas& canvas, int x, int y, int index, TColor blendColor) const
{
    QPainter* painter = canvas.Painter();
    if (!painter || index < 0 || index >= Count())
        return;
    if (bkColor_ != clNone)
        painter->fillRect(QRect(x, y, width_, height_), canvas.ToQColor(bkColor_));
    const QColor blend = canvas.ToQColor(blendColor);
    QImage image = images_[index].convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < image.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int col = 0; col < image.width(); ++col) {
            const QRgb pixel = line[col];
            line[col] = qRgba((qRed(pixel) + blend.red()) / 2, (qGreen(pixel) + blend.green()) / 2,
                              (qBlue(pixel) + blend.blue()) / 2, qAlpha(pixel));
        }
    }
    painter->drawImage(x, y, image);
}

void TImageList::GetBitmap(int index, TBitmap& bitmap) const
{
    CheckIndex(index);
    QImage image(width_, height_, QImage::Format_RGB32);
    image.fill(bkColor_ == clNone ? QColor(Qt::white) : ColorToQColor(bkColor_));
    QPainter painter(&image);
    painter.drawImage(0, 0, images_[index]);
    painter.end();
    bitmap.SetImage(image);
}

QImage TImageList::Image(int index) const
{
    return index >= 0 && index < Count() ? images_[index] : QImage();
}

void TImageList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EInvalidOperation(QStringLiteral("Invalid image list index"));
}

void TImageList::Changed()
{
    if (OnChange)
        OnChange();
}

}  // namespace tk
