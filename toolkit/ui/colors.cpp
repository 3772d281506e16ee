#include "toolkit/ui/colors.h"

#include <QApplication>
#include <algorithm>
#include <array>

namespace tk {

namespace {

struct TColorName {
    TColor color;
    const char* name;
};

// Fixed colours first: ColorToString picks the first entry of a value.
constexpr std::array kColorNames{
    TColorName{clBlack, "clBlack"},
    TColorName{clMaroon, "clMaroon"},
    TColorName{clGreen, "clGreen"},
    TColorName{clOlive, "clOlive"},
    TColorName{clNavy, "clNavy"},
    TColorName{clPurple, "clPurple"},
    TColorName{clTeal, "clTeal"},
    TColorName{clGray, "clGray"},
    TColorName{clSilver, "clSilver"},
    TColorName{clRed, "clRed"},
    TColorName{clLime, "clLime"},
    TColorName{clYellow, "clYellow"},
    TColorName{clBlue, "clBlue"},
    TColorName{clFuchsia, "clFuchsia"},
    TColorName{clAqua, "clAqua"},
    TColorName{clWhite, "clWhite"},
    TColorName{clScrollBar, "clScrollBar"},
    TColorName{clBackground, "clBackground"},
    TColorName{clActiveCaption, "clActiveCaption"},
    TColorName{clInactiveCaption, "clInactiveCaption"},
    TColorName{clMenu, "clMenu"},
    TColorName{clWindow, "clWindow"},
    TColorName{clWindowFrame, "clWindowFrame"},
    TColorName{clMenuText, "clMenuText"},
    TColorName{clWindowText, "clWindowText"},
    TColorName{clCaptionText, "clCaptionText"},
    TColorName{clActiveBorder, "clActiveBorder"},
    TColorName{clInactiveBorder, "clInactiveBorder"},
    TColorName{clAppWorkSpace, "clAppWorkSpace"},
    TColorName{clHighlight, "clHighlight"},
    TColorName{clHighlightText, "clHighlightText"},
    TColorName{clBtnFace, "clBtnFace"},
    TColorName{clBtnShadow, "clBtnShadow"},
    TColorName{clGrayText, "clGrayText"},
    TColorName{clBtnText, "clBtnText"},
    TColorName{clInactiveCaptionText, "clInactiveCaptionText"},
    TColorName{clBtnHighlight, "clBtnHighlight"},
    TColorName{cl3DDkShadow, "cl3DDkShadow"},
    TColorName{cl3DLight, "cl3DLight"},
    TColorName{clInfoText, "clInfoText"},
    TColorName{clInfoBk, "clInfoBk"},
    TColorName{clHotLight, "clHotLight"},
    TColorName{clGradientActiveCaption, "clGradientActiveCaption"},
    TColorName{clGradientInactiveCaption, "clGradientInactiveCaption"},
    TColorName{clMenuHighlight, "clMenuHighlight"},
    TColorName{clMenuBar, "clMenuBar"},
    TColorName{clNone, "clNone"},
    TColorName{clDefault, "clDefault"},
};

// The palette colour each system index stands for. A system colour is one
// colour wherever it is used: it is read from the active group (unless the
// index names another), never from the group a widget happens to be in, so
// a popup that is never activated paints as its window does.
QColor SystemQColor(int index, const QPalette& palette)
{
    switch (index) {
    case 0:   // scroll bar track
    case 10:  // active border
    case 11:  // inactive border
    case 15:  // button face
        return palette.color(QPalette::Active, QPalette::Button);
    case 1:   // desktop
    case 12:  // application work space
        return palette.color(QPalette::Active, QPalette::Dark);
    case 2:
    case 13:
    case 29:
        return palette.color(QPalette::Active, QPalette::Highlight);
    case 3:
        return palette.color(QPalette::Inactive, QPalette::Highlight).lighter(130);
    case 4:
    case 30:
        return palette.color(QPalette::Active, QPalette::Window);
    case 5:
        return palette.color(QPalette::Active, QPalette::Base);
    case 6:
    case 21:
        return palette.color(QPalette::Active, QPalette::Shadow);
    case 7:
        return palette.color(QPalette::Active, QPalette::WindowText);
    case 8:
        return palette.color(QPalette::Active, QPalette::WindowText);
    case 9:
    case 14:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case 16:
        return palette.color(QPalette::Active, QPalette::Dark);
    case 17:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return palette.color(QPalette::Active, QPalette::ButtonText);
    case 19:
        return palette.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20:
        return palette.color(QPalette::Active, QPalette::Light);
    case 22:
        return palette.color(QPalette::Active, QPalette::Midlight);
    case 23:
        return palette.color(QPalette::Active, QPalette::ToolTipText);
    case 24:
        return palette.color(QPalette::Active, QPalette::ToolTipBase);
    case 26:
        return palette.color(QPalette::Active, QPalette::Link);
    case 27: {
        // The far end of an active caption's ramp: the highlight, lighter.
        const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
        return highlight.lightness() > 128 ? highlight.darker(130) : highlight.lighter(150);
    }
    case 28:
        return palette.color(QPalette::Active, QPalette::Midlight);
    default:
        // Unknown index: a neutral background rather than black.
        return palette.color(QPalette::Active, QPalette::Window);
    }
}

constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;
constexpr int kHueUndefined = kHlsMax * 2 / 3;

int HueToRgb(int n1, int n2, int hue)
{
    if (hue < 0)
        hue += kHlsMax;
    if (hue > kHlsMax)
        hue -= kHlsMax;
    if (hue < kHlsMax / 6)
        return n1 + (((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6));
    if (hue < kHlsMax / 2)
        return n2;
    if (hue < kHlsMax * 2 / 3)
        return n1 + (((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6));
    return n1;
}

int ToChannel(int value)
{
    return std::clamp((value * kRgbMax + kHlsMax / 2) / kHlsMax, 0, kRgbMax);
}

// Lets TColor properties read and write colour names through QVariant.
void RegisterColorConversions()
{
    const QMetaType colorType = QMetaType::fromType<TColor>();
    QMetaType::registerConverterFunction(
        [](const void* from, void* to) {
            *static_cast<QString*>(to) = ColorToString(*static_cast<const TColor*>(from));
            return true;
        },
        colorType, QMetaType::fromType<QString>());
    QMetaType::registerConverterFunction(
        [](const void* from, void* to) {
            const std::optional<TColor> color = StringToColor(*static_cast<const QString*>(from));
            if (color)
                *static_cast<TColor*>(to) = *color;
            return color.has_value();
        },
        QMetaType::fromType<QString>(), colorType);
    QMetaType::registerConverterFunction(
        [](const void* from, void* to) {
            *static_cast<int*>(to) = *static_cast<const TColor*>(from);
            return true;
        },
        colorType, QMetaType::fromType<int>());
    QMetaType::registerConverterFunction(
        [](const void* from, void* to) {
            *static_cast<TColor*>(to) = TColor(*static_cast<const int*>(from));
            return true;
        },
        QMetaType::fromType<int>(), colorType);
}

}  // namespace

Q_CONSTRUCTOR_FUNCTION(RegisterColorConversions)

namespace {

}  // namespace

bool IsSystemColor(TColor color)
{
    return (static_cast<unsigned>(color) & 0xFF000000u) == 0xFF000000u;
}

TColor ColorToRGB(TColor color, const QPalette& palette)
{
    if (!IsSystemColor(color))
        return color;
    return QColorToColor(SystemQColor(color & 0xFF, palette));
}

TColor ColorToRGB(TColor color)
{
    return ColorToRGB(color, QApplication::palette());
}

QColor ColorToQColor(TColor color, const QPalette& palette)
{
    if (color == clNone || color == clDefault)
        return QColor();
    const int rgb = ColorToRGB(color, palette);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

QColor ColorToQColor(TColor color)
{
    return ColorToQColor(color, QApplication::palette());
}

TColor QColorToColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}

QString ColorToString(TColor color)
{
    for (const TColorName& entry : kColorNames) {
        if (entry.color == color)
            return QLatin1String(entry.name);
    }
    return QStringLiteral("$%1").arg(static_cast<unsigned>(color), 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<TColor> StringToColor(const QString& text)
{
    const QString trimmed = text.trimmed();
    for (const TColorName& entry : kColorNames) {
        if (trimmed.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.color;
    }
    bool ok = false;
    qlonglong value = 0;
    if (trimmed.startsWith(QLatin1Char('$')))
        value = trimmed.mid(1).toLongLong(&ok, 16);
    else if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = trimmed.mid(2).toLongLong(&ok, 16);
    else
        value = trimmed.toLongLong(&ok, 10);
    if (!ok || value < INT32_MIN || value > UINT32_MAX)
        return std::nullopt;
    return TColor(static_cast<int>(static_cast<quint32>(value)));
}

THLS ColorToHLS(TColor color)
{
    const int rgb = ColorToRGB(color);
    const int red = rgb & 0xFF;
    const int green = (rgb >> 8) & 0xFF;
    const int blue = (rgb >> 16) & 0xFF;
    const int cMax = std::max({red, green, blue});
    const int cMin = std::min({red, green, blue});
    THLS hls;
    hls.luminance = ((cMax + cMin) * kHlsMax + kRgbMax) / (2 * kRgbMax);
    if (cMax == cMin) {
        hls.hue = kHueUndefined;
        return hls;
    }
    const int spread = cMax - cMin;
    if (hls.luminance <= kHlsMax / 2)
        hls.saturation = (spread * kHlsMax + (cMax + cMin) / 2) / (cMax + cMin);
    else
        hls.saturation = (spread * kHlsMax + (2 * kRgbMax - cMax - cMin) / 2) / (2 * kRgbMax - cMax - cMin);
    const int redDelta = ((cMax - red) * (kHlsMax / 6) + spread / 2) / spread;
    const int greenDelta = ((cMax - green) * (kHlsMax / 6) + spread / 2) / spread;
    const int blueDelta = ((cMax - blue) * (kHlsMax / 6) + spread / 2) / spread;
    if (red == cMax)
        hls.hue = blueDelta - greenDelta;
    else if (green == cMax)
        hls.hue = kHlsMax / 3 + redDelta - blueDelta;
    else
        hls.hue = 2 * kHlsMax / 3 + greenDelta - redDelta;
    if (hls.hue < 0)
        hls.hue += kHlsMax;
    if (hls.hue > kHlsMax)
        hls.hue -= kHlsMax;
    return hls;
}

TColor ColorHLSToRGB(int hue, int luminance, int saturation)
{
    hue = std::clamp(hue, 0, kHlsMax);
    luminance = std::clamp(luminance, 0, kHlsMax);
    saturation = std::clamp(saturation, 0, kHlsMax);
    if (saturation == 0) {
        const int grey = ToChannel(luminance);
        return RGB(grey, grey, grey);
    }
    const int magic2 = luminance <= kHlsMax / 2
                           ? (luminance * (kHlsMax + saturation) + kHlsMax / 2) / kHlsMax
                           : luminance + saturation - (luminance * saturation + kHlsMax / 2) / kHlsMax;
    const int magic1 = 2 * luminance - magic2;
    return RGB(ToChannel(HueToRgb(magic1, magic2, hue + kHlsMax / 3)),
               ToChannel(HueToRgb(magic1, magic2, hue)),
               ToChannel(HueToRgb(magic1, magic2, hue - kHlsMax / 3)));
}

TColor ColorAdjustLuma(TColor color, int delta)
{
    const THLS hls = ColorToHLS(color);
    return ColorHLSToRGB(hls.hue, hls.luminance + delta, hls.saturation);
}

TColor Shade(TColor color, int delta)
{
    return ColorAdjustLuma(color, delta);
}

}  // namespace tk
