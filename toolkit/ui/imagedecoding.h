#pragma once
// Decoding image bytes with a size cap. A picture's header declares its
// dimensions, and a damaged or hostile file may declare a width and height
// whose pixels need gigabytes; every picture this toolkit decodes is read
// through DecodeImage, which asks the header first and refuses such a
// picture before anything is allocated.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tk {

// The most pixels a decoded picture may have: 8192 x 4096, 128 MiB at four
// bytes a pixel (far beyond what a grid cell or a form shows).
inline constexpr qint64 kMaxImagePixels = qint64(8192) * 4096;

// The image the bytes hold, in format (a Qt format name such as "BMP"; any
// format Qt recognises when nullptr). EInvalidGraphic "The picture is too
// large (<w> x <h> pixels)" when the declared size exceeds the cap, and
// EInvalidGraphic invalidMessage when the bytes do not decode.
QImage DecodeImage(const QByteArray& bytes, const char* format, const QString& invalidMessage);

}  // namespace tk
