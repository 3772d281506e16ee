// Graphic blob fields: the format of stored pictures told from real image
// files (and damaged and short values) in a client dataset's blob fields,
// pictures stored and read back, and the field classes the library
// registers while it is loaded.

#include "kelgrid/controls/keldbfields.h"
#include "kelgrid/grid/keldbgrids.h"
#include "tests/support/expect_raises.h"
#include "tests/support/field_def.h"
#include "tests/support/temp_folder.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/streaming.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/ui/pictures.h"

#include <QColor>
#include <QIODevice>
#include <QImage>
#include <QtEndian>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <memory>

namespace kelgrid::test {
namespace {

using tk::test::MessageOf;

QImage Red(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(Qt::red));
    return image;
}

// The bytes of a picture file Qt writes in format.
QByteArray ImageFile(const tk::test::TempFolder& folder, const QImage& image, const char* format)
{
    const QString name = QStringLiteral("picture.%1").arg(QString::fromLatin1(format).toLower());
    EXPECT_TRUE(image.save(folder.File(name), format)) << format;
    return folder.Read(name);
}

// A placeable metafile: its 22-byte header and an empty standard header.
QByteArray PlaceableMetafile()
{
    QByteArray bytes(40, '\0');
    qToLittleEndian<quint32>(0x9AC6CDD7u, bytes.data());
    qToLittleEndian<qint16>(100, bytes.data() + 10);    // right
    qToLittleEndian<qint16>(100, bytes.data() + 12);    // bottom
    qToLittleEndian<quint16>(1440, bytes.data() + 14);  // units per inch
    qToLittleEndian<quint16>(1, bytes.data() + 22);     // memory metafile
    qToLittleEndian<quint16>(9, bytes.data() + 24);     // header words
    qToLittleEndian<quint16>(0x0300, bytes.data() + 26);
    return bytes;
}

// The header older tables wrote before a graphic.
QByteArray WithLegacyHeader(const QByteArray& picture)
{
    QByteArray header(8, '\0');
    qToLittleEndian<quint16>(1, header.data());
    qToLittleEndian<quint16>(0x0100, header.data() + 2);
    qToLittleEndian<quint32>(quint32(picture.size()), header.data() + 4);
    return header + picture;
}

// "TJPEGImage 4x3", or "-" for no graphic.
QString Describe(const tk::TPicture& picture)
{
    if (!picture.Graphic())
        return QStringLiteral("-");
    return QStringLiteral("%1 %2x%3")
        .arg(picture.Graphic()->ClassName())
        .arg(picture.Width())
        .arg(picture.Height());
}

QString ClassName(const QMetaObject* meta)
{
    return meta ? QString::fromLatin1(meta->className()).section(QStringLiteral("::"), -1)
                : QStringLiteral("-");
}

// A client dataset with a graphic field and a plain blob field, in the
// test's folder (where the picture files are written too).
class GraphicFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dataSet.FieldDefs() = {tk::test::Def(QStringLiteral("Id"), tk::ftInteger),
                               tk::test::Def(QStringLiteral("Pic"), tk::ftGraphic),
                               tk::test::Def(QStringLiteral("Raw"), tk::ftBlob)};
        dataSet.CreateDataSet();
        dataSet.Append();
        dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(1);
        dataSet.Post();
        pic = qobject_cast<TKelGraphicField*>(dataSet.FieldByName(QStringLiteral("Pic")));
        raw = qobject_cast<tk::TBlobField*>(dataSet.FieldByName(QStringLiteral("Raw")));
        ASSERT_NE(pic, nullptr);
        ASSERT_NE(raw, nullptr);
    }
    // Stores bytes in both blob fields through files, as a user would load them.
    void Store(const QByteArray& bytes)
    {
        const QString path = folder.Write(QStringLiteral("value.bin"), bytes);
        dataSet.Edit();
        pic->LoadFromFile(path);
        raw->LoadFromFile(path);
        dataSet.Post();
    }

    tk::test::TempFolder folder;
    tk::TClientDataSet dataSet;
    TKelGraphicField* pic = nullptr;
    tk::TBlobField* raw = nullptr;
};

enum class Value {
    Bitmap,
    Jpeg,
    Icon,
    Png,
    PlaceableMetafile,
    ExifSignature,
    DamagedBitmap,
    FiveBytes,
    EightBytes,
    HeaderBeforeBitmap,
    HeaderWithEightBytes,
    Empty
};

struct DetectionCase {
    const char* name;
    Value value;
    const char* graphicClass;  // "-": none
    const char* picture;       // after SaveToPicture on a picture holding "TBitmap 1x1"
    const char* error;         // raised by SaveToPicture, empty: none
};

class GraphicFieldDetectionTest : public GraphicFieldTest,
                                  public ::testing::WithParamInterface<DetectionCase> {
protected:
    QByteArray Make(Value value) const
    {
        const QByteArray bitmap = ImageFile(folder, Red(4, 3), "BMP");
        switch (value) {
        case Value::Bitmap:
            return bitmap;
        case Value::Jpeg:
            return ImageFile(folder, Red(4, 3), "JPEG");
        case Value::Icon:
            return ImageFile(folder, Red(16, 16), "ICO");
        case Value::Png:
            return ImageFile(folder, Red(4, 3), "PNG");
        case Value::PlaceableMetafile:
            return PlaceableMetafile();
        case Value::ExifSignature:
            return QByteArray::fromHex("FFD8FFE1") + QByteArray(40, 'x');
        case Value::DamagedBitmap:
            return bitmap.left(20);
        case Value::FiveBytes:
            return bitmap.left(5);
        case Value::EightBytes:
            return bitmap.left(8);
        case Value::HeaderBeforeBitmap:
            return WithLegacyHeader(bitmap);
        case Value::HeaderWithEightBytes:
            return WithLegacyHeader(bitmap.left(8));
        case Value::Empty:
            return QByteArray();
        }
        return QByteArray();
    }
};

TEST_P(GraphicFieldDetectionTest, TellsTheFormatAndLoadsThePicture)
{
    const DetectionCase& c = GetParam();
    Store(Make(c.value));
    EXPECT_EQ(ClassName(pic->GraphicClass()), QString::fromLatin1(c.graphicClass));
    EXPECT_EQ(ClassName(FieldGraphicClass(raw)), QString::fromLatin1(c.graphicClass));

    tk::TPicture picture;
    tk::TBitmap dot;
    dot.SetSize(1, 1);
    picture.SetGraphic(&dot);
    const QString error = MessageOf<tk::EInvalidGraphic>([&] { pic->SaveToPicture(picture); });
    EXPECT_EQ(error, *c.error ? QString::fromLatin1(c.error) : tk::test::kNoException);
    EXPECT_EQ(Describe(picture), QString::fromLatin1(c.picture));
}

INSTANTIATE_TEST_SUITE_P(
    GraphicFieldTest, GraphicFieldDetectionTest,
    ::testing::Values(DetectionCase{"Bitmap", Value::Bitmap, "TBitmap", "TBitmap 4x3", ""},
                      DetectionCase{"Jpeg", Value::Jpeg, "TJPEGImage", "TJPEGImage 4x3", ""},
                      DetectionCase{"Icon", Value::Icon, "TIcon", "TIcon 16x16", ""},
                      DetectionCase{"PngIsNotAKnownFormat", Value::Png, "-", "TBitmap 1x1", ""},
                      DetectionCase{"PlaceableMetafileIsRecognisedButNotShown", Value::PlaceableMetafile,
                                    "TMetafile", "TBitmap 1x1", "Metafiles cannot be shown on this system"},
                      DetectionCase{"ExifSignatureOfADamagedJpeg", Value::ExifSignature, "TJPEGImage",
                                    "TBitmap 1x1", "JPEG image is not valid"},
                      DetectionCase{"DamagedBitmap", Value::DamagedBitmap, "TBitmap", "TBitmap 1x1",
                                    "Bitmap image is not valid"},
                      DetectionCase{"FiveBytes", Value::FiveBytes, "-", "TBitmap 1x1", ""},
                      DetectionCase{"EightBytes", Value::EightBytes, "-", "TBitmap 1x1", ""},
                      DetectionCase{"LegacyHeaderBeforeABitmap", Value::HeaderBeforeBitmap, "TBitmap",
                                    "TBitmap 4x3", ""},
                      DetectionCase{"LegacyHeaderWithOnlyEightBytesAfterIt", Value::HeaderWithEightBytes, "-",
                                    "TBitmap 1x1", ""},
                      DetectionCase{"Empty", Value::Empty, "-", "TBitmap 1x1", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GraphicFieldTest, DatasetsMakeGraphicFieldsOfThePackageClass)
{
    EXPECT_EQ(pic->DataType(), tk::ftGraphic);
    EXPECT_EQ(pic->DisplayText(), QStringLiteral("(graphic)"));
    EXPECT_EQ(tk::FindClass(QStringLiteral("TKelGraphicField")), &TKelGraphicField::staticMetaObject);
    EXPECT_EQ(tk::FindClass(QStringLiteral("TKelBlobField")), &TKelBlobField::staticMetaObject);
    // Fields that are not blobs have no picture, whatever they hold.
    EXPECT_EQ(FieldGraphicClass(nullptr), nullptr);
    EXPECT_EQ(FieldGraphicClass(dataSet.FieldByName(QStringLiteral("Id"))), nullptr);
}

struct AssignCase {
    const char* name;
    const char* source;  // what is assigned
    const char* stored;  // GraphicClass afterwards, "-" for none
    bool isNull;
};

class GraphicFieldAssignTest : public GraphicFieldTest, public ::testing::WithParamInterface<AssignCase> {};

TEST_P(GraphicFieldAssignTest, StoresEachGraphicInItsOwnFormat)
{
    const AssignCase& c = GetParam();
    const QString source = QString::fromLatin1(c.source);
    tk::TBitmap bitmap;
    bitmap.SetImage(Red(4, 3));
    tk::TIcon icon;
    icon.SetImage(Red(16, 16));
    tk::TPicture picture;
    if (source == QStringLiteral("picture of a bitmap"))
        picture.SetGraphic(&bitmap);
    else if (source == QStringLiteral("picture of an icon"))
        picture.SetGraphic(&icon);
    else if (source == QStringLiteral("picture of a jpeg"))
        picture.LoadFromFile(folder.Write(QStringLiteral("in.jpg"), ImageFile(folder, Red(6, 5), "JPEG")));

    Store(ImageFile(folder, Red(2, 2), "JPEG"));  // something to replace
    dataSet.Edit();
    if (source == QStringLiteral("bitmap"))
        pic->Assign(&bitmap);
    else if (source == QStringLiteral("icon"))
        pic->Assign(&icon);
    else
        pic->Assign(&picture);
    dataSet.Post();
    EXPECT_EQ(ClassName(pic->GraphicClass()), QString::fromLatin1(c.stored));
    EXPECT_EQ(pic->IsNull(), c.isNull);
    EXPECT_FALSE(HasLegacyGraphicHeader(pic->AsBytes()));
}

INSTANTIATE_TEST_SUITE_P(
    GraphicFieldTest, GraphicFieldAssignTest,
    ::testing::Values(AssignCase{"ABitmap", "bitmap", "TBitmap", false},
                      AssignCase{"AnIcon", "icon", "TIcon", false},
                      AssignCase{"APictureOfABitmap", "picture of a bitmap", "TBitmap", false},
                      AssignCase{"APictureOfAnIcon", "picture of an icon", "TIcon", false},
                      AssignCase{"APictureOfAJpeg", "picture of a jpeg", "TJPEGImage", false},
                      AssignCase{"AnEmptyPictureClearsTheValue", "empty picture", "-", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GraphicFieldTest, ABitmapReadsBackPixelForPixelAlsoAfterTheLegacyHeader)
{
    Store(WithLegacyHeader(ImageFile(folder, Red(4, 3), "BMP")));
    tk::TBitmap bitmap;
    pic->AssignTo(&bitmap);
    ASSERT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.Image().pixelColor(3, 2), QColor(Qt::red));

    // An empty value empties the bitmap; bytes that are no bitmap raise and
    // leave it as it was.
    Store(QByteArray());
    pic->SaveToBitmap(bitmap);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetImage(Red(2, 2));
    Store(ImageFile(folder, Red(4, 3), "PNG"));
    EXPECT_EQ(MessageOf<tk::EInvalidGraphic>([&] { pic->SaveToBitmap(bitmap); }),
              QStringLiteral("Bitmap image is not valid"));
    EXPECT_EQ(bitmap.Width(), 2);

    tk::TStringList list;
    EXPECT_EQ(MessageOf<tk::EConvertError>([&] { pic->AssignTo(&list); }),
              QStringLiteral("Cannot assign a TKelGraphicField to a TStringList"));
}

// A graphic whose encoding fails after it wrote part of its bytes.
class TFailingGraphic : public tk::TGraphic {
public:
    void LoadFromStream(QIODevice&) override {}
    void SaveToStream(QIODevice& device) const override
    {
        device.write("BM-partial");
        throw tk::EInvalidGraphic(QStringLiteral("cannot encode"));
    }
    bool Empty() const override { return false; }
    int Width() const override { return 1; }
    int Height() const override { return 1; }
    void Draw(QPainter&, const QRect&) const override {}
};

TEST_F(GraphicFieldTest, AGraphicThatCannotBeStoredLeavesTheValueAsItWas)
{
    const QByteArray jpeg = ImageFile(folder, Red(4, 3), "JPEG");
    Store(jpeg);
    TFailingGraphic failing;
    dataSet.Edit();
    EXPECT_EQ(MessageOf<tk::EInvalidGraphic>([&] { pic->Assign(&failing); }),
              QStringLiteral("cannot encode"));
    EXPECT_EQ(pic->AsBytes(), jpeg);
    dataSet.Cancel();

    // Outside editing nothing can be stored, and nothing changes.
    tk::TBitmap bitmap;
    bitmap.SetImage(Red(1, 1));
    EXPECT_NE(MessageOf<tk::EDatabaseError>([&] { pic->Assign(&bitmap); }), tk::test::kNoException);
    EXPECT_EQ(pic->AsBytes(), jpeg);
}

TEST(GraphicFieldLibraryTest, TheLibraryRegistersItsFieldClassesOnlyWhileLoaded)
{
    const QMetaObject* linkedIn = &TKelGraphicField::staticMetaObject;
    ASSERT_EQ(tk::FieldClassFor(tk::ftGraphic), linkedIn);
    void* library = dlopen(KELGRID_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const QMetaObject* loaded = tk::FieldClassFor(tk::ftGraphic);
    EXPECT_NE(loaded, linkedIn);
    EXPECT_STREQ(loaded->className(), "kelgrid::TKelGraphicField");
    EXPECT_EQ(tk::FindClass(QStringLiteral("TKelGraphicField")), loaded);
    ASSERT_EQ(dlclose(library), 0);
    // Unloaded: what was registered before comes back.
    EXPECT_EQ(tk::FieldClassFor(tk::ftGraphic), linkedIn);
    EXPECT_EQ(tk::FindClass(QStringLiteral("TKelGraphicField")), linkedIn);
    EXPECT_EQ(tk::FindClass(QStringLiteral("TKelBlobField")), &TKelBlobField::staticMetaObject);
}

TEST_F(GraphicFieldTest, AColumnGivesThePictureOfAGraphicThatIsNoBitmap)
{
    tk::TDataSource source;
    source.SetDataSet(&dataSet);
    TKelDBGrid grid;
    grid.SetDataSource(&source);
    TKelColumn* column = grid.Columns()->Add();
    column->SetFieldName(QStringLiteral("Pic"));
    EXPECT_EQ(column->GraphicImage(), nullptr);  // no value yet

    Store(ImageFile(folder, Red(5, 2), "JPEG"));
    auto picture = column->GraphicImage();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(ClassName(picture->Graphic()->metaObject()), QStringLiteral("TJPEGImage"));
    EXPECT_EQ(picture->Graphic()->Width(), 5);

    // Bitmaps are drawn from the field itself; damaged values give nothing.
    Store(ImageFile(folder, Red(4, 3), "BMP"));
    EXPECT_EQ(column->GraphicImage(), nullptr);
    Store(QByteArray::fromHex("FFD8FFE1") + QByteArray(40, 'x'));
    EXPECT_EQ(column->GraphicImage(), nullptr);
    // A column on another field has none.
    column->SetFieldName(QStringLiteral("Raw"));
    EXPECT_EQ(column->GraphicImage(), nullptr);
}

}  // namespace
}  // namespace kelgrid::test
