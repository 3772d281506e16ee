#pragma once
// Image canvases with a palette whose system colours all differ, and short
// letter snapshots of what was painted, for the painting primitive tests.
//
// Letters: H clBtnHighlight, L cl3DLight, S clBtnShadow, D cl3DDkShadow
// (and clWindowFrame, which the platform maps to the same shadow), F
// clBtnFace, W clWindow, . the background the image starts with, ? any
// other colour.

#include "toolkit/ui/canvas.h"
#include "toolkit/ui/colors.h"

#include <QImage>
#include <QMetaEnum>
#include <QPalette>
#include <QString>
#include <string>

namespace kelgrid::testing {

inline const QColor kHighlight(0xF0, 0xF0, 0xF0);
inline const QColor kLight(0xD0, 0xD0, 0xD0);
inline const QColor kShadow(0x80, 0x80, 0x80);
inline const QColor kDarkShadow(0x40, 0x40, 0x40);
inline const QColor kFace(0xC0, 0xC0, 0xC0);
inline const QColor kWindow(0xFF, 0xFF, 0xFF);
inline const QColor kBackground(0x10, 0xC0, 0x10);

inline QPalette DistinctPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Light, kHighlight);
    palette.setColor(QPalette::Midlight, kLight);
    palette.setColor(QPalette::Dark, kShadow);
    palette.setColor(QPalette::Shadow, kDarkShadow);
    palette.setColor(QPalette::Button, kFace);
    palette.setColor(QPalette::Base, kWindow);
    return palette;
}

inline QImage Background(int width, int height, const QColor& color = kBackground)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

inline char Letter(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    if (c == kHighlight)
        return 'H';
    if (c == kLight)
        return 'L';
    if (c == kShadow)
        return 'S';
    if (c == kDarkShadow)
        return 'D';
    if (c == kFace)
        return 'F';
    if (c == kWindow)
        return 'W';
    if (c == kBackground)
        return '.';
    return '?';
}

// The middle pixel of each side of the ring k pixels inside rect, as
// "top left bottom right" letters; rings 0 .. count-1 separated by spaces.
// "SSHH DDLL" is a sunken outer edge with a mono top-left and a sunken
// inner bottom-right edge inside it.
inline std::string Rings(const QImage& image, const QRect& rect, int count)
{
    std::string text;
    for (int k = 0; k < count; ++k) {
        const int cx = rect.center().x();
        const int cy = rect.center().y();
        if (k)
            text += ' ';
        text += Letter(image, cx, rect.top() + k);
        text += Letter(image, rect.left() + k, cy);
        text += Letter(image, cx, rect.bottom() - k);
        text += Letter(image, rect.right() - k, cy);
    }
    return text;
}

// One row of pixels as letters.
inline std::string Row(const QImage& image, int y, int left, int right)
{
    std::string text;
    for (int x = left; x <= right; ++x)
        text += Letter(image, x, y);
    return text;
}

template <typename E> std::string EnumName(E value)
{
    return QMetaEnum::fromType<E>().valueToKey(int(value));
}

}  // namespace kelgrid::testing
