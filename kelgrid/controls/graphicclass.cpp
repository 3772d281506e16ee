#include "kelgrid/controls/graphicclass.h"

#include "toolkit/data/fields.h"
#include "toolkit/ui/pictures.h"

#include <QtEndian>

namespace kelgrid {

namespace {

constexpr quint16 BitmapSignature = 0x4D42;  // "BM"
constexpr quint32 PlaceableMetafileSignature = 0x9AC6CDD7;
constexpr quint32 JfifSignature = 0xE0FFD8FF;
constexpr quint32 ExifSignature = 0xE1FFD8FF;
constexpr quint32 IconSignature = 0x00010000;

// The class of the picture whose first bytes are signature (at least 4).
const QMetaObject* ClassOfSignature(const char* signature)
{
    if (qFromLittleEndian<quint16>(signature) == BitmapSignature)
        return &tk::TBitmap::staticMetaObject;
    switch (qFromLittleEndian<quint32>(signature)) {
    case PlaceableMetafileSignature:
        return &tk::TMetafile::staticMetaObject;
    case JfifSignature:
    case ExifSignature:
        return &tk::TJPEGImage::staticMetaObject;
    case IconSignature:
        return &tk::TIcon::staticMetaObject;
    default:
        return nullptr;
    }
}

}  // namespace

bool HasLegacyGraphicHeader(const QByteArray& bytes)
{
    return bytes.size() >= 4 && qFromLittleEndian<quint16>(bytes.constData()) == 1 &&
           qFromLittleEndian<quint16>(bytes.constData() + 2) == 0x0100;
}

const QMetaObject* GraphicClassOfValue(const QByteArray& value)
{
    if (value.size() <= LegacyGraphicHeaderSize)
        return nullptr;
    if (!HasLegacyGraphicHeader(value))
        return ClassOfSignature(value.constData());
    if (value.size() <= 2 * LegacyGraphicHeaderSize)
        return nullptr;
    return ClassOfSignature(value.constData() + LegacyGraphicHeaderSize);
}

const QMetaObject* FieldGraphicClass(const tk::TField* field)
{
    const auto* blob = qobject_cast<const tk::TBlobField*>(field);
    return blob ? GraphicClassOfValue(blob->AsBytes()) : nullptr;
}

}  // namespace kelgrid
