#pragma once
// Small bitmaps painted pixel by pixel for the glyph tests.

#include "toolkit/ui/colors.h"
#include "toolkit/ui/pictures.h"

#include <QColor>
#include <QImage>

namespace kelgrid::testing {

inline const QColor Olive(0x80, 0x80, 0x00);

// A width x height bitmap in background.
inline void FillBitmap(tk::TBitmap& bitmap, int width, int height, const QColor& background)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    bitmap.SetImage(image);
}

inline void SetBitmapPixel(tk::TBitmap& bitmap, int x, int y, const QColor& color)
{
    QImage image = bitmap.Image();
    image.setPixelColor(x, y, color);
    bitmap.SetImage(image);
}

// The RGB of a system colour in the application palette.
inline QRgb Rgb(tk::TColor color)
{
    return tk::ColorToQColor(color).rgb() | 0xFF000000u;
}

}  // namespace kelgrid::testing
