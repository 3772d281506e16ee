// Graphic fields holding damaged pictures, shown as images in grid cells:
// mutated, truncated and oversized bitmaps, JPEGs, icons and PNGs (with and
// without the header older tables wrote) are painted page by page as a user
// scrolls, and a cell whose value does not decode shows no picture; no
// failure reaches the event loop.

#include "kelgrid/controls/keldbfields.h"
#include "kelgrid/grid/keldbgrids.h"
#include "toolkit/core/application.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/ui/pictures.h"

#include "tests/support/field_def.h"
#include "tests/support/mutator.h"
#include "tests/support/widget_driver.h"

#include <QApplication>
#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

QByteArray Encoded(const char* format)
{
    QImage image(24, 16, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 10, y * 15, 128));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return buffer.data();
}

// The header older tables wrote before a picture: 1, 0x0100, the size.
QByteArray WithLegacyHeader(const QByteArray& bytes)
{
    QByteArray header(8, '\0');
    qToLittleEndian<quint16>(1, header.data());
    qToLittleEndian<quint16>(0x0100, header.data() + 2);
    qToLittleEndian<quint32>(quint32(bytes.size()), header.data() + 4);
    return header + bytes;
}

class HostileCellImagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dataSet.FieldDefs() = {tk::test::Def(QStringLiteral("Id"), tk::ftInteger),
                               tk::test::Def(QStringLiteral("Pic"), tk::ftGraphic),
                               tk::test::Def(QStringLiteral("Raw"), tk::ftBlob)};
        dataSet.CreateDataSet();
        source.SetDataSet(&dataSet);
        tk::Application().OnException = [this](const QString& message) { reported << message; };
    }
    void TearDown() override
    {
        grid.reset();
        tk::Application().OnException = nullptr;
    }
    void Append(int id, const QByteArray& bytes)
    {
        dataSet.Append();
        dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(id);
        dataSet.FieldByName(QStringLiteral("Pic"))->SetAsVariant(tk::Variant(bytes));
        dataSet.FieldByName(QStringLiteral("Raw"))->SetAsVariant(tk::Variant(bytes));
        dataSet.Post();
    }
    // Shows the grid with tall rows and pages through every record with
    // PgDn, painting each page.
    void PaintEveryPage()
    {
        grid = std::make_unique<TKelDBGrid>();
        grid->resize(300, 400);
        grid->SetLinesCount(2);
        grid->SetDataSource(&source);
        grid->show();
        grid->setFocus();
        QApplication::processEvents();
        tk::test::WidgetDriver driver(grid.get());
        dataSet.First();
        for (int page = 0; page < dataSet.RecordCount() && !dataSet.Eof(); ++page) {
            (void)grid->viewport()->grab();
            ASSERT_EQ(grid->CheckConsistency(), QString());
            const int before = dataSet.RecNo();
            driver.Press(Qt::Key_PageDown);
            if (dataSet.RecNo() == before)
                break;
        }
    }

    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    std::unique_ptr<TKelDBGrid> grid;
    QStringList reported;
};

TEST_F(HostileCellImagesTest, MutatedPicturesPaintOrShowNothing)
{
    ASSERT_NE(qobject_cast<TKelGraphicField*>(dataSet.FieldByName(QStringLiteral("Pic"))), nullptr);
    QBuffer icon;
    icon.open(QIODevice::WriteOnly);
    QImage iconImage(16, 16, QImage::Format_ARGB32);
    iconImage.fill(Qt::blue);
    ASSERT_TRUE(iconImage.save(&icon, "ICO"));
    const QByteArray valid[] = {Encoded("BMP"), Encoded("JPEG"), Encoded("PNG"), icon.data(),
                                WithLegacyHeader(Encoded("BMP"))};
    int id = 0;
    for (unsigned kind = 0; kind < std::size(valid); ++kind) {
        tk::test::TMutator mutator(valid[kind], 2171 + kind);
        Append(++id, valid[kind]);
        for (int i = 0; i < 60; ++i)
            Append(++id, mutator.Next().bytes);
    }
    PaintEveryPage();
    EXPECT_EQ(reported, QStringList()) << "failures reached the event loop";
}

TEST_F(HostileCellImagesTest, OversizedAndEmptyPicturesShowNothing)
{
    QByteArray huge = Encoded("BMP");
    qToLittleEndian<qint32>(10000, huge.data() + 18);
    qToLittleEndian<qint32>(10000, huge.data() + 22);
    QByteArray zero = Encoded("BMP");
    qToLittleEndian<qint32>(0, zero.data() + 18);
    Append(1, huge);
    Append(2, WithLegacyHeader(huge));
    Append(3, zero);
    Append(4, QByteArray("BM"));
    Append(5, QByteArray::fromHex("ffd8ffe0"));
    Append(6, QByteArray::fromHex("00000100"));
    Append(7, QByteArray(1, '\0'));

    auto* pic = qobject_cast<TKelGraphicField*>(dataSet.FieldByName(QStringLiteral("Pic")));
    ASSERT_NE(pic, nullptr);
    dataSet.First();
    tk::TPicture picture;
    try {
        pic->SaveToPicture(picture);
        ADD_FAILURE() << "an oversized picture loaded";
    } catch (const tk::EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("The picture is too large (10000 x 10000 pixels)"));
    }
    PaintEveryPage();
    EXPECT_EQ(reported, QStringList()) << "failures reached the event loop";
}

}  // namespace
}  // namespace kelgrid::test
