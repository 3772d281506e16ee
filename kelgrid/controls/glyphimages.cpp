#include "kelgrid/controls/glyphimages.h"

#include "toolkit/ui/pictures.h"

namespace kelgrid {

namespace {

QRgb Opaque(tk::TColor color)
{
    return tk::ColorToQColor(color).rgb() | 0xFF000000u;
}

}  // namespace

QImage GeneratedDisabledImage(const QImage& image, tk::TColor keyColor)
{
    // The toolkit's monochrome conversion gives the shape: keyColor (or
    // white) turns white, everything else black.
    tk::TBitmap mono;
    mono.SetImage(image);
    mono.SetTransparent(keyColor != tk::clNone);
    mono.SetTransparentColor(keyColor);
    mono.SetMonochrome(true);
    const QImage shape = mono.Image().convertToFormat(QImage::Format_RGB32);

    QImage result(image.size(), QImage::Format_RGB32);
    result.fill(Opaque(tk::clBtnFace));
    const QRgb highlight = Opaque(tk::clBtnHighlight);
    const QRgb shadow = Opaque(tk::clBtnShadow);
    const auto inShape = [&](int x, int y) { return (shape.pixel(x, y) & 0xFFFFFFu) == 0; };
    for (int y = 0; y + 1 < result.height(); ++y) {
        for (int x = 0; x + 1 < result.width(); ++x) {
            if (inShape(x, y))
                result.setPixel(x + 1, y + 1, highlight);
        }
    }
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            if (inShape(x, y))
                result.setPixel(x, y, shadow);
        }
    }
    return result;
}

QImage RecolouredDisabledImage(const QImage& image, tk::TColor keyColor)
{
    QImage result = image.convertToFormat(QImage::Format_RGB32);
    const QRgb white = 0xFFFFFFFFu;
    const QRgb grey = 0xFF808080u;
    const bool keyed = keyColor != tk::clNone && keyColor != tk::clDefault;
    const QRgb key = keyed ? Opaque(keyColor) : 0;
    const QRgb highlight = Opaque(tk::clBtnHighlight);
    const QRgb shadow = Opaque(tk::clBtnShadow);
    const QRgb face = Opaque(tk::clBtnFace);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb pixel = line[x] | 0xFF000000u;
            // The transparent colour wins over white and grey, as when the
            // three were painted one after another in this order.
            if (keyed && pixel == key)
                line[x] = face;
            else if (pixel == grey)
                line[x] = shadow;
            else if (pixel == white)
                line[x] = highlight;
        }
    }
    return result;
}

}  // namespace kelgrid
