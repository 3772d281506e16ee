#include "toolkit/ui/imagedecoding.h"

#include "toolkit/ui/pictures.h"

#include <QBuffer>
#include <QImageReader>

namespace tk {

QImage DecodeImage(const QByteArray& bytes, const char* format, const QString& invalidMessage)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // Qt's own limit as a second guard, for readers that cannot tell the
    // size before decoding.
    reader.setAllocationLimit(int(kMaxImagePixels * 4 / (1024 * 1024)));
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxImagePixels)
        throw EInvalidGraphic(
            QStringLiteral("The picture is too large (%1 x %2 pixels)").arg(size.width()).arg(size.height()));
    QImage image;
    if (!reader.read(&image))
        throw EInvalidGraphic(invalidMessage);
    return image;
}

}  // namespace tk
