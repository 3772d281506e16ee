// Pictures from damaged bytes: mutated, truncated and oversized bitmaps,
// JPEGs, icons and PNGs load as a sound picture or raise EInvalidGraphic,
// and a failed load leaves the picture it had. Declared dimensions beyond
// the cap are refused from the header, before any pixel is allocated.

#include "toolkit/ui/imagedecoding.h"
#include "toolkit/ui/pictures.h"

#include "tests/support/expect_raises.h"
#include "tests/support/mutator.h"

#include <QBuffer>
#include <QPainter>
#include <QtEndian>
#include <algorithm>
#include <gtest/gtest.h>

namespace tk {
namespace {

using test::MessageOf;

// A small picture with some detail, so that damage reaches real data.
QImage Sample()
{
    QImage image(32, 24, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 8, y * 10, (x ^ y) * 16));
    return image;
}

QByteArray Encoded(const QImage& image, const char* format)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return buffer.data();
}

// An icon file holding one BMP-coded image.
QByteArray IconFile()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(Sample().copy(0, 0, 16, 16).save(&buffer, "ICO"));
    return buffer.data();
}

// Loads the picture as a stream of the bytes, the way files and fields
// reach it.
void Load(TPicture& picture, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    picture.LoadFromStream(buffer);
}

size_t PixelHash(const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    return qHash(QByteArrayView(pixels.constBits(), pixels.sizeInBytes()));
}

// What a picture holds, to compare before and after a failed load.
QString State(const TPicture& picture)
{
    const TGraphic* graphic = picture.Graphic();
    if (!graphic)
        return QStringLiteral("(empty)");
    const auto* raster = qobject_cast<const TRasterGraphic*>(graphic);
    return QStringLiteral("%1 %2x%3 %4")
        .arg(graphic->ClassName())
        .arg(graphic->Width())
        .arg(graphic->Height())
        .arg(raster ? PixelHash(raster->Image()) : 0);
}

class HostileImageTest : public ::testing::TestWithParam<const char*> {};

TEST_P(HostileImageTest, MutatedFilesLoadSoundlyOrRaiseAndKeepThePicture)
{
    const QByteArray format = GetParam();
    const QByteArray valid = format == "ICO" ? IconFile() : Encoded(Sample(), format.constData());
    const unsigned seed = 2106 + unsigned(qHash(format) % 1000);
    test::TMutator mutator(valid, seed);
    TPicture picture;
    picture.Bitmap()->SetSize(3, 2);
    int loaded = 0;
    for (int i = 0; i < 500; ++i) {
        const test::TMutation mutation = mutator.Next();
        SCOPED_TRACE(mutator.Trace(i, mutation).toStdString());
        const QString before = State(picture);
        try {
            Load(picture, mutation.bytes);
        } catch (const EInvalidGraphic&) {
            ASSERT_EQ(State(picture), before);
            continue;
        }
        ++loaded;
        const TGraphic* graphic = picture.Graphic();
        ASSERT_NE(graphic, nullptr);
        ASSERT_GT(graphic->Width(), 0);
        ASSERT_GT(graphic->Height(), 0);
        ASSERT_LE(qint64(graphic->Width()) * graphic->Height(), kMaxImagePixels);
        // What loaded also draws.
        QImage target(40, 30, QImage::Format_RGB32);
        target.fill(Qt::white);
        QPainter painter(&target);
        graphic->Draw(painter, target.rect());
    }
    if (format != "PNG") {  // TPicture knows no PNG: every copy is refused
        EXPECT_GT(loaded, 0);
    }
}

TEST_P(HostileImageTest, EveryTruncationLoadsOrRaises)
{
    const QByteArray format = GetParam();
    const QByteArray valid = format == "ICO" ? IconFile() : Encoded(Sample(), format.constData());
    TPicture picture;
    for (const QByteArray& cut : test::Truncations(valid, std::max<int>(1, int(valid.size() / 150)))) {
        SCOPED_TRACE(cut.size());
        try {
            Load(picture, cut);
        } catch (const EInvalidGraphic&) {
            continue;
        }
        ASSERT_FALSE(picture.Graphic()->Empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, HostileImageTest, ::testing::Values("BMP", "JPEG", "ICO", "PNG"),
                         [](const auto& info) { return std::string(info.param); });

// A bitmap whose header declares width x height (the pixel data stays the
// sample's 32 x 24).
QByteArray BitmapDeclaring(qint32 width, qint32 height)
{
    QByteArray bytes = Encoded(Sample(), "BMP");
    qToLittleEndian<qint32>(width, bytes.data() + 18);
    qToLittleEndian<qint32>(height, bytes.data() + 22);
    return bytes;
}

// A JPEG whose frame header declares width x height.
QByteArray JpegDeclaring(quint16 width, quint16 height)
{
    QByteArray bytes = Encoded(Sample(), "JPEG");
    const qsizetype frame = bytes.indexOf(QByteArray::fromHex("ffc0"));
    EXPECT_GT(frame, 0);
    qToBigEndian<quint16>(height, bytes.data() + frame + 5);
    qToBigEndian<quint16>(width, bytes.data() + frame + 7);
    return bytes;
}

TEST(HostileImageSizeTest, HugeDeclaredDimensionsAreRefusedFromTheHeader)
{
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        // Sizes Qt's readers already refuse in the header: refused either way.
        {"bitmap 100000 x 100000", BitmapDeclaring(100000, 100000), nullptr},
        {"bitmap 2^31-1 wide", BitmapDeclaring(0x7FFFFFFF, 2), nullptr},
        {"jpeg 65535 x 65535", JpegDeclaring(65535, 65535), nullptr},
        // Sizes the readers would allocate for.
        {"bitmap 8193 x 4096", BitmapDeclaring(8193, 4096), "The picture is too large (8193 x 4096 pixels)"},
        {"jpeg 20000 x 20000", JpegDeclaring(20000, 20000), "The picture is too large (20000 x 20000 pixels)"},
        {"jpeg 65500 x 65500", JpegDeclaring(65500, 65500), "The picture is too large (65500 x 65500 pixels)"},
        {"bitmap 0 x 0", BitmapDeclaring(0, 0), "Bitmap image is not valid"},
        {"jpeg 0 x 24", JpegDeclaring(0, 24), "JPEG image is not valid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPicture picture;
        const QString message = MessageOf<EInvalidGraphic>([&] { Load(picture, c.bytes); });
        if (c.message)
            EXPECT_EQ(message, QString::fromUtf8(c.message));
        else
            EXPECT_NE(message, test::kNoException);
        EXPECT_EQ(picture.Graphic(), nullptr);
    }
    // The header as written loads.
    TBitmap bitmap;
    QBuffer buffer;
    buffer.setData(BitmapDeclaring(32, 24));
    buffer.open(QIODevice::ReadOnly);
    bitmap.LoadFromStream(buffer);
    EXPECT_EQ(bitmap.Width(), 32);
}

TEST(HostileImageSizeTest, WrongSignaturesAndEmptyValuesRaise)
{
    const QByteArray bitmap = Encoded(Sample(), "BMP");
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"empty", QByteArray(), "Unknown picture format"},
        {"signature only", QByteArray("BM"), "Bitmap image is not valid"},
        {"jpeg signature on a bitmap", QByteArray::fromHex("ffd8ffe0") + bitmap.mid(4), "JPEG image is not valid"},
        {"icon signature, no entries", QByteArray::fromHex("000001000000"), "Icon image is not valid"},
        {"icon of 65535 entries", QByteArray::fromHex("00000100ffff") + QByteArray(64, '\0'),
         "Icon image is not valid"},
        {"text", QByteArray("hello, picture"), "Unknown picture format"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPicture picture;
        EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { Load(picture, c.bytes); }), QString::fromUtf8(c.message));
    }
}

}  // namespace
}  // namespace tk
