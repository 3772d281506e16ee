#pragma once
// The disabled looks of a button glyph, made from one image of it.
//
// GeneratedDisabledImage: the image's shape (its pixels other than
// keyColor; clNone: other than white) in clBtnHighlight one pixel right
// and down, then in clBtnShadow in place, on clBtnFace.
// RecolouredDisabledImage: white pixels in clBtnHighlight, grey (0x808080)
// ones in clBtnShadow, pixels of keyColor in clBtnFace, all others kept.
// System colours resolve against the application palette. Both images are
// opaque and of the given image's size.

#include "toolkit/ui/colors.h"

#include <QImage>

namespace kelgrid {

QImage GeneratedDisabledImage(const QImage& image, tk::TColor keyColor);
QImage RecolouredDisabledImage(const QImage& image, tk::TColor keyColor);

}  // namespace kelgrid
