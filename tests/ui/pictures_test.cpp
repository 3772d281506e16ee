#include "toolkit/core/exceptions.h"
#include "toolkit/ui/pictures.h"

#include "tests/support/temp_folder.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>
#include <ostream>

namespace tk {
namespace {

// A red 6x4 image with one white pixel at (4, 1), written by Qt in the
// given format.
QByteArray ImageBytes(const char* format)
{
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setPixelColor(4, 1, QColor(Qt::white));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return buffer.data();
}

QByteArray PlaceableMetafileBytes()
{
    QByteArray bytes(40, '\0');
    qToLittleEndian<quint32>(0x9AC6CDD7u, bytes.data());
    return bytes;
}

struct FormatCase {
    const char* qtFormat;
    const char* fileName;
    const char* className;
    bool lossless;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.className;
}

class PictureFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PictureFormats, FileIsLoadedAsExactlyItsFormatBySignature)
{
    test::TempFolder folder;
    // The extension lies on purpose: the bytes decide.
    const QString path = folder.Write(QStringLiteral("picture.dat"), ImageBytes(GetParam().qtFormat));
    TPicture picture;
    picture.LoadFromFile(path);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->ClassName(), QString::fromLatin1(GetParam().className));
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_EQ(picture.Height(), 4);
    EXPECT_FALSE(picture.Empty());
}

TEST_P(PictureFormats, SavedGraphicLoadsBackWithTheSamePixels)
{
    test::TempFolder folder;
    TPicture picture;
    picture.LoadFromFile(folder.Write(QStringLiteral("in"), ImageBytes(GetParam().qtFormat)));
    const QString out = folder.File(QString::fromLatin1(GetParam().fileName));
    picture.SaveToFile(out);
    TPicture again;
    again.LoadFromFile(out);
    EXPECT_EQ(again.Graphic()->ClassName(), QString::fromLatin1(GetParam().className));
    const auto* raster = qobject_cast<TRasterGraphic*>(again.Graphic());
    ASSERT_NE(raster, nullptr);
    const QColor pixel = raster->Image().pixelColor(1, 2);
    // JPEG is lossy; red stays clearly red.
    EXPECT_GT(pixel.red(), 200);
    EXPECT_LT(pixel.green(), 80);
    if (GetParam().lossless) {
        EXPECT_EQ(raster->Image().pixelColor(4, 1), QColor(Qt::white));
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, PictureFormats,
                         ::testing::Values(FormatCase{"BMP", "p.bmp", "TBitmap", true},
                                           FormatCase{"JPEG", "p.jpg", "TJPEGImage", false},
                                           FormatCase{"ICO", "p.ico", "TIcon", true}));

TEST(Pictures, EachFormatRefusesAnotherFormatsBytesAndKeepsItsImage)
{
    TBitmap bitmap;
    QBuffer bmp;
    bmp.setData(ImageBytes("BMP"));
    bmp.open(QIODevice::ReadOnly);
    bitmap.LoadFromStream(bmp);

    QBuffer jpeg;
    jpeg.setData(ImageBytes("JPEG"));
    jpeg.open(QIODevice::ReadOnly);
    try {
        bitmap.LoadFromStream(jpeg);
        FAIL() << "a JPEG loaded as a bitmap";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Bitmap image is not valid"));
    }
    EXPECT_EQ(bitmap.Width(), 6);

    TJPEGImage jpegImage;
    bmp.seek(0);
    EXPECT_THROW(jpegImage.LoadFromStream(bmp), EInvalidGraphic);
    EXPECT_TRUE(jpegImage.Empty());
}

TEST(Pictures, DamagedOrUnknownBytesRaiseAndLeaveThePictureAsItWas)
{
    test::TempFolder folder;
    TPicture picture;
    picture.LoadFromFile(folder.Write(QStringLiteral("good.bmp"), ImageBytes("BMP")));

    QByteArray truncated = ImageBytes("BMP");
    truncated.truncate(20);  // the signature survives, the pixels do not
    EXPECT_THROW(picture.LoadFromFile(folder.Write(QStringLiteral("cut.bmp"), truncated)), EInvalidGraphic);
    EXPECT_THROW(picture.LoadFromFile(folder.Write(QStringLiteral("text.bmp"), "hello")), EInvalidGraphic);
    EXPECT_THROW(picture.LoadFromFile(folder.File(QStringLiteral("missing.bmp"))), EInOutError);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->ClassName(), QStringLiteral("TBitmap"));
    EXPECT_EQ(picture.Width(), 6);
}

TEST(Pictures, MetafilesAreRecognisedButRefused)
{
    test::TempFolder folder;
    const QString path = folder.Write(QStringLiteral("drawing.wmf"), PlaceableMetafileBytes());
    TPicture picture;
    try {
        picture.LoadFromFile(path);
        FAIL() << "a metafile loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Metafiles cannot be shown on this system"));
    }
    EXPECT_TRUE(picture.Empty());

    QByteArray enhanced(48, '\0');
    enhanced.replace(40, 4, " EMF");
    EXPECT_TRUE(TMetafile::HasSignature(enhanced));
    EXPECT_FALSE(TMetafile::HasSignature(ImageBytes("BMP")));

    TMetafile metafile;
    QBuffer bmp;
    bmp.setData(ImageBytes("BMP"));
    bmp.open(QIODevice::ReadOnly);
    try {
        metafile.LoadFromStream(bmp);
        FAIL() << "a bitmap loaded as a metafile";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Metafile is not valid"));
    }
}

TEST(Pictures, SavingOverAnExistingFileReplacesItWhole)
{
    test::TempFolder folder;
    const QString path = folder.Write(QStringLiteral("p.bmp"), QByteArray("old content"));
    TPicture picture;
    picture.LoadFromFile(folder.Write(QStringLiteral("src.bmp"), ImageBytes("BMP")));
    picture.SaveToFile(path);
    EXPECT_TRUE(folder.Read(QStringLiteral("p.bmp")).startsWith("BM"));

    // A folder that does not exist: nothing is written, the error says why.
    EXPECT_THROW(picture.SaveToFile(folder.File(QStringLiteral("no/such/dir/p.bmp"))), EInOutError);
}

TEST(Pictures, BitmapAccessorReplacesOtherGraphicsAndDrawPaints)
{
    test::TempFolder folder;
    TPicture picture;
    picture.LoadFromFile(folder.Write(QStringLiteral("p.jpg"), ImageBytes("JPEG")));
    TBitmap* bitmap = picture.Bitmap();
    EXPECT_EQ(picture.Graphic(), bitmap);
    EXPECT_TRUE(picture.Empty());

    TPicture copy;
    TBitmap source;
    source.SetImage(QImage(3, 3, QImage::Format_RGB32));
    copy.SetGraphic(&source);
    EXPECT_NE(copy.Graphic(), &source);
    EXPECT_EQ(copy.Graphic()->ClassName(), QStringLiteral("TBitmap"));
    EXPECT_EQ(copy.Width(), 3);

    QImage red(2, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    TBitmap redBitmap;
    redBitmap.SetImage(red);
    QImage canvas(10, 10, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        redBitmap.Draw(painter, QRect(0, 0, 10, 10));
    }
    EXPECT_EQ(canvas.pixelColor(9, 9), QColor(Qt::red));
}

}  // namespace
}  // namespace tk
