#include "toolkit/core/exceptions.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/pictures.h"

#include <QImage>
#include <QPointer>
#include <gtest/gtest.h>
#include <ostream>

namespace tk {
namespace {

// A strip of three 4x4 images and a 2-pixel rest: each image is olive with
// a 2x2 block of its own colour at (1, 1).
void MakeStrip(TBitmap& strip)
{
    strip.SetSize(14, 4);
    TCanvas* canvas = strip.Canvas();
    canvas->Brush()->SetColor(clOlive);
    canvas->FillRect(QRect(0, 0, 14, 4));
    const TColor colors[] = {clRed, clBlack, clBlue};
    for (int i = 0; i < 3; ++i) {
        canvas->Brush()->SetColor(colors[i]);
        canvas->FillRect(QRect(i * 4 + 1, 1, 2, 2));
    }
}

QImage White(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TColor At(TCanvas& canvas, QImage& image, int x, int y)
{
    canvas.Release();
    return QColorToColor(image.pixelColor(x, y));
}

TEST(ImageList, AddMaskedSplitsAStripAndDropsTheNarrowRest)
{
    TImageList list(4, 4);
    TBitmap strip;
    MakeStrip(strip);
    EXPECT_EQ(list.AddMasked(strip, clOlive), 0);
    EXPECT_EQ(list.Count(), 3);
    const QImage second = list.Image(1);
    EXPECT_EQ(qAlpha(second.pixel(0, 0)), 0);  // the mask colour is left out
    EXPECT_EQ(second.pixelColor(1, 1), QColor(Qt::black));
    EXPECT_EQ(list.AddMasked(strip, clOlive), 3);
    EXPECT_EQ(list.Count(), 6);
}

TEST(ImageList, DrawShowsTheBackgroundThroughTheMaskOrBkColor)
{
    TImageList list(4, 4);
    TBitmap strip;
    MakeStrip(strip);
    list.AddMasked(strip, clOlive);

    QImage image = White(10, 10);
    TCanvas canvas(&image);
    list.Draw(canvas, 2, 2, 0);
    EXPECT_EQ(At(canvas, image, 2, 2), clWhite);
    EXPECT_EQ(At(canvas, image, 3, 3), clRed);
    list.Draw(canvas, 2, 2, 7);  // no such image: nothing drawn
    list.Draw(canvas, 2, 2, -1);
    EXPECT_EQ(At(canvas, image, 3, 3), clRed);

    list.SetBkColor(clYellow);
    list.Draw(canvas, 6, 6, 1);
    EXPECT_EQ(At(canvas, image, 6, 6), clYellow);
    EXPECT_EQ(At(canvas, image, 7, 7), clBlack);
}

TEST(ImageList, DisabledLookIsTheShapeEmbossedInShadowAndHighlight)
{
    TImageList list(4, 4);
    TBitmap strip;
    MakeStrip(strip);
    list.AddMasked(strip, clOlive);

    QImage image = White(8, 8);
    TCanvas canvas(&image);
    QPalette palette;
    palette.setColor(QPalette::Light, QColor(0xEE, 0xEE, 0));  // clBtnHighlight
    palette.setColor(QPalette::Dark, QColor(0x33, 0, 0x33));   // clBtnShadow
    canvas.SetPalette(palette);
    list.Draw(canvas, 0, 0, 1, false);
    EXPECT_EQ(At(canvas, image, 1, 1), RGB(0x33, 0, 0x33));  // the shape, in shadow
    EXPECT_EQ(At(canvas, image, 2, 2), RGB(0x33, 0, 0x33));
    EXPECT_EQ(At(canvas, image, 3, 3), RGB(0xEE, 0xEE, 0));  // the highlight, one pixel down-right
    EXPECT_EQ(At(canvas, image, 0, 0), clWhite);             // the mask stays clear
    EXPECT_NE(At(canvas, image, 1, 1), clBlack);             // not the enabled look
}

TEST(ImageList, BlendedLookMixesTheVisiblePixelsHalfWithTheColour)
{
    TImageList list(4, 4);
    TBitmap strip;
    MakeStrip(strip);
    list.AddMasked(strip, clOlive);
    QImage image = White(8, 8);
    TCanvas canvas(&image);
    list.DrawBlended(canvas, 0, 0, 2, clWhite);       // blue towards white
    list.DrawBlended(canvas, 4, 4, 0, RGB(0, 0, 0));  // red towards black
    EXPECT_EQ(At(canvas, image, 1, 1), RGB(0x7F, 0x7F, 0xFF));
    EXPECT_EQ(At(canvas, image, 5, 5), RGB(0x7F, 0, 0));
    EXPECT_EQ(At(canvas, image, 0, 0), clWhite) << "the mask stays clear";
    EXPECT_EQ(At(canvas, image, 4, 4), clWhite);
}

TEST(ImageList, ReplaceMaskedGetBitmapAndTheirIndexChecks)
{
    TImageList list(4, 4);
    TBitmap strip;
    MakeStrip(strip);
    list.AddMasked(strip, clOlive);

    TBitmap replacement;
    replacement.SetSize(4, 4);
    replacement.Canvas()->Brush()->SetColor(clLime);
    replacement.Canvas()->FillRect(QRect(0, 0, 4, 4));
    list.ReplaceMasked(2, replacement, clOlive);
    EXPECT_EQ(list.Image(2).pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_THROW(list.ReplaceMasked(3, replacement, clOlive), EInvalidOperation);
    EXPECT_THROW(list.ReplaceMasked(-1, replacement, clOlive), EInvalidOperation);

    TBitmap out;
    list.SetBkColor(clAqua);
    list.GetBitmap(0, out);
    EXPECT_EQ(out.Image().size(), QSize(4, 4));
    EXPECT_EQ(out.Image().pixelColor(0, 0), QColor(Qt::cyan));
    EXPECT_EQ(out.Image().pixelColor(1, 1), QColor(Qt::red));
    EXPECT_THROW(list.GetBitmap(9, out), EInvalidOperation);
}

TEST(ImageList, ResizingEmptiesTheList)
{
    TImageList list(4, 4);
    TBitmap strip;
    MakeStrip(strip);
    list.AddMasked(strip, clOlive);
    list.SetWidth(8);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(list.SetHeight(0), EInvalidOperation);
}

struct StripCase {
    const char* name;
    const char* resource;
    TColor mask;
    int count;
    int size;
    bool masked;  // some pixels of every image are transparent
};
void PrintTo(const StripCase& c, std::ostream* os)
{
    *os << c.name;
}

class AuthoredStrips : public ::testing::TestWithParam<StripCase> {};

TEST_P(AuthoredStrips, LoadAsSquareImagesWithTheirMask)
{
    const StripCase& c = GetParam();
    TImageList list;
    list.LoadStripResource(QString::fromLatin1(c.resource), c.mask);
    EXPECT_EQ(list.Count(), c.count);
    EXPECT_EQ(list.Width(), c.size);
    EXPECT_EQ(list.Height(), c.size);
    for (int i = 0; i < list.Count(); ++i) {
        const QImage image = list.Image(i);
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(opaque, 0) << "image " << i << " is empty";
        if (c.masked) {
            EXPECT_LT(opaque, c.size * c.size) << "image " << i << " has no transparent pixel";
        }
        if (i > 0) {
            EXPECT_NE(image, list.Image(i - 1)) << "images " << i - 1 << " and " << i << " are the same";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, AuthoredStrips,
                         ::testing::Values(StripCase{"indicators", "KELDBINDICATORS", clOlive, 20, 16, true},
                                           StripCase{"markers", "KELDBMARKERS", clLime, 20, 16, true},
                                           StripCase{"checkBoxes", "KELDBCHECKBOXES", clOlive, 9, 13, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AuthoredStrips, MarkersUseOnlyTheFiveKeyColours)
{
    TBitmap markers;
    markers.LoadFromResourceName(QStringLiteral("KELDBMARKERS"));
    const QImage image = markers.Image();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const TColor c = QColorToColor(image.pixelColor(x, y));
            ASSERT_TRUE(c == clAqua || c == clTeal || c == clBlue || c == clNavy || c == clLime)
                << x << "," << y << " " << ColorToString(c).toStdString();
        }
}

TEST(ImageList, ObserversAreToldWhileTheListIsStillWhole)
{
    auto* list = new TImageList;
    list->LoadStripResource(QStringLiteral("KELDBINDICATORS"));
    QObject observer;
    int countSeen = -1;
    list->FreeNotification(&observer,
                           [&](TComponent* freed) { countSeen = static_cast<TImageList*>(freed)->Count(); });
    delete list;
    EXPECT_EQ(countSeen, 20);
}

}  // namespace
}  // namespace tk
