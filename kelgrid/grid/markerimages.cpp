#include "kelgrid/grid/markerimages.h"

#include "kelgrid/grid/paintstyles.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/pictures.h"

#include <QImage>
#include <array>

namespace kelgrid {

namespace {

constexpr int kMarkerStyles = 11;  // msDefault .. msMild

// Per style, the palette entries that aqua, teal, blue and navy become.
constexpr std::array<std::array<int, 4>, kMarkerStyles> kPicks{{
    {0, 1, 2, 4},  // msDefault
    {0, 1, 2, 3},  // msSoft
    {1, 5, 5, 4},  // msRaisedDark
    {1, 5, 5, 3},  // msRaisedGray
    {1, 5, 5, 2},  // msRaisedMild
    {4, 5, 5, 1},  // msLoweredDark
    {3, 5, 5, 1},  // msLoweredGray
    {2, 5, 5, 1},  // msLoweredMild
    {4, 5, 5, 4},  // msFlat
    {3, 5, 5, 3},  // msGray
    {2, 5, 5, 2},  // msMild
}};

constexpr std::array<tk::TColor, 4> kKeys{tk::clAqua, tk::clTeal, tk::clBlue, tk::clNavy};

QRgb Rgb(tk::TColor color, const QPalette& palette)
{
    return tk::ColorToQColor(color, palette).rgb() | 0xFF000000u;
}

}  // namespace

int MarkerImagesKey(TMarkerStyle resolved, bool transparent)
{
    return int(resolved) + 12 * (transparent ? 1 : 0);
}

void LoadMarkerImages(tk::TImageList& list, TMarkerStyle resolved, bool transparent, const QPalette& palette)
{
    int style = ResolveMarkerStyle(resolved, fsDefault, false);
    if (style < 0 || style >= kMarkerStyles)
        style = msDefault;
    const tk::TColor background = transparent ? tk::clOlive : tk::clWhite;
    const bool lightIsMask = style == msDefault || style == msSoft;
    const std::array<tk::TColor, 6> entries{tk::clWhite,     lightIsMask ? tk::clOlive : tk::cl3DLight,
                                            tk::clBtnShadow, tk::cl3DDkShadow,
                                            tk::clBlack,     background};

    std::array<QRgb, 5> from{};
    std::array<QRgb, 5> to{};
    for (int i = 0; i < 4; ++i) {
        from[i] = Rgb(kKeys[i], palette);
        to[i] = Rgb(entries[kPicks[style][i]], palette);
    }
    from[4] = Rgb(tk::clLime, palette);
    to[4] = Rgb(background, palette);

    tk::TBitmap strip;
    strip.LoadFromResourceName(QStringLiteral("KELDBMARKERS"));
    QImage image = strip.Image().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x] | 0xFF000000u;
            for (int k = 0; k < 5; ++k)
                if (pixel == from[k]) {
                    line[x] = to[k];
                    break;
                }
        }
    }
    strip.SetImage(image);
    list.SetSize(image.height(), image.height());
    list.Clear();
    list.AddMasked(strip, tk::clOlive);
}

}  // namespace kelgrid
