#pragma once
// Telling a blob field's picture format from its first bytes.
//
// A stored picture is the picture's own file bytes, optionally after the
// 8-byte header older tables wrote before a graphic: two little-endian
// 16-bit words 1 and 0x0100, then 4 bytes that are ignored here. The format
// comes from the first bytes after that header:
//
//   "BM"            TBitmap
//   D7 CD C6 9A     TMetafile (placeable)
//   FF D8 FF E0     TJPEGImage (JFIF)
//   FF D8 FF E1     TJPEGImage (Exif)
//   00 00 01 00     TIcon
//
// Anything else (PNG, GIF, enhanced metafiles...) has no class.

#include "kelgrid/kelgridexport.h"

#include <QByteArray>

struct QMetaObject;

namespace tk {
class TField;
}

namespace kelgrid {

// Bytes of the header older tables wrote before a graphic.
inline constexpr int LegacyGraphicHeaderSize = 8;

// Whether bytes begin with that header (at least its first 4 bytes).
KELGRID_EXPORT bool HasLegacyGraphicHeader(const QByteArray& bytes);

// The picture class (TBitmap, TMetafile, TJPEGImage, TIcon of
// toolkit/ui/pictures.h) for a stored value, nullptr when none: for 8 bytes
// or fewer, for a value with the header and no more than 8 bytes after it,
// and for an unknown signature.
KELGRID_EXPORT const QMetaObject* GraphicClassOfValue(const QByteArray& value);

// GraphicClassOfValue of a field's current value; nullptr for no field and
// for a field that is not a blob field.
KELGRID_EXPORT const QMetaObject* FieldGraphicClass(const tk::TField* field);

}  // namespace kelgrid
