#pragma once
// Colours as controls publish them.
//
// A TColor is a 32-bit value 0x00BBGGRR (red in the low byte). A value
// with the high byte 0xFF is a system colour: the low byte is its index in
// the platform's table (clBtnFace = 0xFF00000F), resolved against a
// QPalette when drawn. clNone (0x1FFFFFFF) means "no colour" and clDefault
// (0x20000000) "the computed default at the point of use"; neither is an
// RGB value.
//
// TColor is its own type so that properties of this type stream as colour
// names ("clRed", "clBtnFace"), other values as "$00BBGGRR"; it converts
// to and from int implicitly so that arithmetic on the value and older
// int-typed properties keep working.
//
// Hue, luminance and saturation use a 0..240 scale for each channel, as the
// platform's colour functions do.

#include <QColor>
#include <QMetaType>
#include <QPalette>
#include <QString>
#include <optional>

namespace tk {

class TColor {
public:
    constexpr TColor() = default;
    constexpr TColor(int value) : value_(value) {}
    constexpr operator int() const { return value_; }

private:
    int value_ = 0;
};

// The system colour with table index n.
constexpr TColor SystemColor(int index)
{
    return TColor(static_cast<int>(0xFF000000u | static_cast<unsigned>(index)));
}

// Red, green and blue 0..255 as a TColor.
constexpr TColor RGB(int red, int green, int blue)
{
    return TColor((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clBackground = SystemColor(1);
inline constexpr TColor clActiveCaption = SystemColor(2);
inline constexpr TColor clInactiveCaption = SystemColor(3);
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowFrame = SystemColor(6);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clCaptionText = SystemColor(9);
inline constexpr TColor clActiveBorder = SystemColor(10);
inline constexpr TColor clInactiveBorder = SystemColor(11);
inline constexpr TColor clAppWorkSpace = SystemColor(12);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clInactiveCaptionText = SystemColor(19);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor cl3DLight = SystemColor(22);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);
inline constexpr TColor clHotLight = SystemColor(26);
inline constexpr TColor clGradientActiveCaption = SystemColor(27);
inline constexpr TColor clGradientInactiveCaption = SystemColor(28);
inline constexpr TColor clMenuHighlight = SystemColor(29);
inline constexpr TColor clMenuBar = SystemColor(30);

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
// The mask colour of the authored image strips.
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
// A light grey between silver and white the grid paints stripes with.
inline constexpr TColor clLightGray = 0xE8E8E8;

inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clNone = 0x1FFFFFFF;

bool IsSystemColor(TColor color);

// The RGB value of a colour: system colours resolved against palette (the
// application palette when none is given); an RGB colour is returned as
// is; clNone and clDefault are returned unchanged (the caller decides). A
// system index the table does not have resolves to the palette's window
// background, never to black.
TColor ColorToRGB(TColor color, const QPalette& palette);
TColor ColorToRGB(TColor color);

// The QColor of a colour (invalid for clNone and clDefault).
QColor ColorToQColor(TColor color, const QPalette& palette);
QColor ColorToQColor(TColor color);
// Alpha is dropped.
TColor QColorToColor(const QColor& color);

// "clRed" for a named colour, "$00BBGGRR" otherwise.
QString ColorToString(TColor color);
// Accepts a colour name (any case), "$hex", "0xhex" or a decimal number;
// nullopt for anything else.
std::optional<TColor> StringToColor(const QString& text);

struct THLS {
    int hue = 0;
    int luminance = 0;
    int saturation = 0;
};
// Of the RGB value of color (system colours resolved first).
THLS ColorToHLS(TColor color);
// Each channel is clamped to 0..240 first.
TColor ColorHLSToRGB(int hue, int luminance, int saturation);
// color with its luminance moved by delta and clamped to 0..240.
TColor ColorAdjustLuma(TColor color, int delta);
// The shade the gradient and hot faces use: ColorAdjustLuma(color, delta).
TColor Shade(TColor color, int delta);

}  // namespace tk

Q_DECLARE_METATYPE(tk::TColor)
