// Cell images: where an image lands per ImageDraw mode, drawing clipped to
// the cell, tile patterns that continue across cells, transparency, the
// mirrored canvas, image list images on it, and the shared scratch image.

#include "kelgrid/grid/cellimage.h"
#include "kelgrid/grid/scratchbitmap.h"
#include "paint_helpers.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/pictures.h"

#include <QImage>
#include <gtest/gtest.h>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect& rect, std::ostream* out)
{
    *out << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", " << rect.height() << ")";
}
QT_END_NAMESPACE

namespace kelgrid {
namespace {

using testing::Background;
using testing::kBackground;

// --- Placement -------------------------------------------------------------------------------

struct PlaceRow {
    const char* name;
    QSize image;
    TCellImageFormat format;
    QRect expected;
};

TCellImageFormat Format(TImageDraw mode, tk::TAlignment alignment = tk::taLeftJustify,
                        TVAlignment vAlignment = tvCenter, QPoint offsets = {}, QPoint origin = {})
{
    TCellImageFormat format;
    format.mode = mode;
    format.alignment = alignment;
    format.vAlignment = vAlignment;
    format.offsetX = offsets.x();
    format.offsetY = offsets.y();
    format.patternOrigin = origin;
    return format;
}

class CellImageRectTest : public ::testing::TestWithParam<PlaceRow> {};

// The cell is 40 x 30 at (20, 30).
TEST_P(CellImageRectTest, PlacesTheImageByTheMode)
{
    EXPECT_EQ(CellImageRect(GetParam().image, QRect(20, 30, 40, 30), GetParam().format), GetParam().expected);
}

const QSize kWide(10, 6);
const QPoint kOffsets(2, 3);

INSTANTIATE_TEST_SUITE_P(
    Table, CellImageRectTest,
    ::testing::Values(
        PlaceRow{"alignmentLeftTopMovesInByTheOffsets", kWide,
                 Format(idAlignment, tk::taLeftJustify, tvTopJustify, kOffsets), QRect(22, 33, 10, 6)},
        PlaceRow{"alignmentRightBottomMovesInByTheOffsets", kWide,
                 Format(idAlignment, tk::taRightJustify, tvBottomJustify, kOffsets), QRect(48, 51, 10, 6)},
        PlaceRow{"alignmentCentredIsShiftedByTheOffsets", kWide,
                 Format(idAlignment, tk::taCenter, tvCenter, kOffsets), QRect(37, 45, 10, 6)},
        PlaceRow{"oppositeReversesBothAlignments", kWide,
                 Format(idOpposite, tk::taLeftJustify, tvTopJustify, kOffsets), QRect(48, 51, 10, 6)},
        PlaceRow{"oppositeOfRightBottomIsLeftTop", kWide,
                 Format(idOpposite, tk::taRightJustify, tvBottomJustify, kOffsets), QRect(22, 33, 10, 6)},
        PlaceRow{"oppositeKeepsTheCentre", kWide, Format(idOpposite, tk::taCenter, tvCenter, kOffsets),
                 QRect(37, 45, 10, 6)},
        PlaceRow{"centerIgnoresAlignmentAndOffsets", kWide,
                 Format(idCenter, tk::taRightJustify, tvBottomJustify, kOffsets), QRect(35, 42, 10, 6)},
        PlaceRow{"scaledWideFillsTheWidth", kWide, Format(idScaled), QRect(20, 33, 40, 24)},
        PlaceRow{"scaledTallFillsTheHeight", QSize(6, 10), Format(idScaled), QRect(31, 30, 18, 30)},
        PlaceRow{"scaledSmallGrows", QSize(4, 2), Format(idScaled), QRect(20, 35, 40, 20)},
        PlaceRow{"stretchIsTheCell", kWide, Format(idStretch), QRect(20, 30, 40, 30)},
        PlaceRow{"tileCellStartsAtTheCorner", kWide,
                 Format(idTileCell, tk::taLeftJustify, tvCenter, {}, QPoint(3, 4)), QRect(20, 30, 10, 6)},
        PlaceRow{"tileGridFollowsThePatternOrigin", kWide,
                 Format(idTileGrid, tk::taLeftJustify, tvCenter, {}, QPoint(3, 4)), QRect(13, 28, 10, 6)},
        PlaceRow{"tileGridWithAnOriginAboveLeft", kWide,
                 Format(idTileGrid, tk::taLeftJustify, tvCenter, {}, QPoint(-7, -5)), QRect(13, 25, 10, 6)},
        PlaceRow{"tileGridWithAnOriginBelowRight", kWide,
                 Format(idTileGrid, tk::taLeftJustify, tvCenter, {}, QPoint(55, 40)), QRect(15, 28, 10, 6)},
        PlaceRow{"tileColRunsDownFromTheColumnsLeft", kWide,
                 Format(idTileCol, tk::taLeftJustify, tvCenter, {}, QPoint(3, 4)), QRect(20, 28, 10, 6)},
        PlaceRow{"tileRowRunsAlongFromTheRowsTop", kWide,
                 Format(idTileRow, tk::taLeftJustify, tvCenter, {}, QPoint(3, 4)), QRect(13, 30, 10, 6)},
        PlaceRow{"anEmptyImageLandsNowhere", QSize(0, 6), Format(idCenter), QRect()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CellImageRectTest, AnEmptyCellPlacesNothing)
{
    EXPECT_TRUE(CellImageRect(kWide, QRect(0, 0, 0, 10), Format(idStretch)).isNull());
}

// --- Drawing -----------------------------------------------------------------------------------

// A 4 x 3 image whose pixels all differ, with a red bottom-left pixel.
QImage Pattern()
{
    QImage image(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixelColor(x, y, QColor(40 + 50 * x, 40 + 60 * y, 200));
    image.setPixelColor(0, 2, Qt::red);
    return image;
}

// Draws on a fresh background image and returns it.
template <typename Paint> QImage Painted(int width, int height, Paint paint, bool mirrored = false)
{
    QImage image = Background(width, height);
    {
        tk::TCanvas canvas(&image);
        canvas.SetPalette(testing::DistinctPalette());
        if (mirrored)
            canvas.SetMirrored(true, width);
        paint(canvas);
    }
    return image;
}

bool Untouched(const QImage& image, const QRect& cell)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!cell.contains(x, y) && image.pixelColor(x, y) != kBackground)
                return false;
    return true;
}

TEST(DrawCellImageTest, DrawsAtThePlaceAndClipsToTheCell)
{
    const QImage pattern = Pattern();
    const QRect cell(5, 5, 3, 2);  // smaller than the image
    const QImage image = Painted(20, 20, [&](tk::TCanvas& canvas) {
        DrawCellImage(canvas, cell, pattern, Format(idAlignment, tk::taLeftJustify, tvTopJustify));
    });
    EXPECT_EQ(image.pixelColor(5, 5), pattern.pixelColor(0, 0));
    EXPECT_EQ(image.pixelColor(7, 6), pattern.pixelColor(2, 1));
    EXPECT_TRUE(Untouched(image, cell));
}

TEST(DrawCellImageTest, KeepsTheCanvasClipAndRestoresItAfterwards)
{
    const QImage pattern = Pattern();
    const QImage image = Painted(20, 20, [&](tk::TCanvas& canvas) {
        canvas.SetClipRect(QRect(0, 0, 6, 20));
        DrawCellImage(canvas, QRect(4, 4, 4, 3), pattern, Format(idTileCell));
        EXPECT_EQ(canvas.Pixel(6, 4), tk::QColorToColor(kBackground)) << "outside the canvas clip";
        canvas.ResetClip();
        canvas.Brush()->SetColor(tk::clBlack);
        canvas.FillRect(QRect(15, 15, 1, 1));  // outside the cell: drawing goes on
    });
    EXPECT_EQ(image.pixelColor(5, 4), pattern.pixelColor(1, 0));
    EXPECT_EQ(image.pixelColor(6, 4), kBackground);
    EXPECT_EQ(image.pixelColor(15, 15), QColor(Qt::black));
}

TEST(DrawCellImageTest, ANullImageOrAnEmptyCellDrawsNothing)
{
    const QImage image = Painted(20, 20, [&](tk::TCanvas& canvas) {
        DrawCellImage(canvas, QRect(0, 0, 20, 20), QImage(), Format(idStretch));
        DrawCellImage(canvas, QRect(0, 0, 0, 20), Pattern(), Format(idStretch));
    });
    EXPECT_EQ(image, Background(20, 20));
    tk::TCanvas measuring;
    DrawCellImage(measuring, QRect(0, 0, 20, 20), Pattern(), Format(idStretch));
}

struct TileRow {
    const char* name;
    TImageDraw mode;
    QRect first;   // two neighbouring cells ...
    QRect second;  // ... that make up the whole
};

class TilingContinuityTest : public ::testing::TestWithParam<TileRow> {};

TEST_P(TilingContinuityTest, APatternContinuesAcrossNeighbouringCells)
{
    for (bool mirrored : {false, true}) {
        const QImage pattern = Pattern();
        TCellImageFormat format = Format(GetParam().mode);
        format.patternOrigin = QPoint(-5, -1);
        const QRect whole = GetParam().first.united(GetParam().second);
        const QImage apart = Painted(
            30, 30,
            [&](tk::TCanvas& canvas) {
                DrawCellImage(canvas, GetParam().first, pattern, format);
                DrawCellImage(canvas, GetParam().second, pattern, format);
            },
            mirrored);
        const QImage together = Painted(
            30, 30, [&](tk::TCanvas& canvas) { DrawCellImage(canvas, whole, pattern, format); }, mirrored);
        EXPECT_EQ(apart, together) << (mirrored ? "mirrored" : "left to right");
        EXPECT_NE(apart, Background(30, 30));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TilingContinuityTest,
    ::testing::Values(TileRow{"gridSideBySide", idTileGrid, QRect(1, 2, 7, 9), QRect(8, 2, 11, 9)},
                      TileRow{"gridOneAboveTheOther", idTileGrid, QRect(1, 2, 7, 5), QRect(1, 7, 7, 8)},
                      TileRow{"colOneAboveTheOther", idTileCol, QRect(3, 2, 9, 5), QRect(3, 7, 9, 10)},
                      TileRow{"rowSideBySide", idTileRow, QRect(1, 4, 7, 5), QRect(8, 4, 13, 5)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TilingContinuityTest, TileCellStartsAgainInEachCell)
{
    const QImage pattern = Pattern();
    const QImage image = Painted(30, 30, [&](tk::TCanvas& canvas) {
        DrawCellImage(canvas, QRect(1, 1, 7, 5), pattern, Format(idTileCell));
        DrawCellImage(canvas, QRect(8, 1, 7, 5), pattern, Format(idTileCell));
    });
    EXPECT_EQ(image.pixelColor(1, 1), pattern.pixelColor(0, 0));
    EXPECT_EQ(image.pixelColor(5, 1), pattern.pixelColor(0, 0)) << "the second tile";
    EXPECT_EQ(image.pixelColor(8, 1), pattern.pixelColor(0, 0)) << "a new start, not column 3";
    EXPECT_EQ(image.pixelColor(8, 4), pattern.pixelColor(0, 0)) << "the second row of tiles";
}

TEST(DrawCellImageTest, TransparentLeavesOutTheBottomLeftColourByDefault)
{
    const QImage pattern = Pattern();
    TCellImageFormat format = Format(idAlignment, tk::taLeftJustify, tvTopJustify);
    format.transparent = true;
    const QImage image = Painted(
        10, 10, [&](tk::TCanvas& canvas) { DrawCellImage(canvas, QRect(0, 0, 10, 10), pattern, format); });
    EXPECT_EQ(image.pixelColor(0, 2), kBackground);
    EXPECT_EQ(image.pixelColor(1, 2), pattern.pixelColor(1, 2));
    format.transparent = false;
    const QImage opaque = Painted(
        10, 10, [&](tk::TCanvas& canvas) { DrawCellImage(canvas, QRect(0, 0, 10, 10), pattern, format); });
    EXPECT_EQ(opaque.pixelColor(0, 2), QColor(Qt::red));
}

TEST(DrawCellImageTest, TransparentLeavesOutTheColourGivenResolvedByTheCanvasPalette)
{
    QImage pattern = Pattern();
    pattern.setPixelColor(3, 0, testing::kFace);  // clBtnFace in the canvas palette
    TCellImageFormat format = Format(idAlignment, tk::taLeftJustify, tvTopJustify);
    format.transparent = true;
    format.transparentColor = tk::clBtnFace;
    const QImage image = Painted(
        10, 10, [&](tk::TCanvas& canvas) { DrawCellImage(canvas, QRect(0, 0, 10, 10), pattern, format); });
    EXPECT_EQ(image.pixelColor(3, 0), kBackground);
    EXPECT_EQ(image.pixelColor(0, 2), QColor(Qt::red)) << "the bottom-left colour stays";
}

TEST(DrawCellImageTest, QuickDrawScalesByTheNearestPixelAndOtherwiseSmoothly)
{
    QImage pattern(2, 1, QImage::Format_RGB32);
    pattern.setPixelColor(0, 0, Qt::black);
    pattern.setPixelColor(1, 0, Qt::white);
    TCellImageFormat format = Format(idStretch);
    const QImage quick = Painted(
        8, 1, [&](tk::TCanvas& canvas) { DrawCellImage(canvas, QRect(0, 0, 8, 1), pattern, format); });
    EXPECT_EQ(quick.pixelColor(3, 0), QColor(Qt::black));
    EXPECT_EQ(quick.pixelColor(4, 0), QColor(Qt::white));
    format.quickDraw = false;
    const QImage smooth = Painted(
        8, 1, [&](tk::TCanvas& canvas) { DrawCellImage(canvas, QRect(0, 0, 8, 1), pattern, format); });
    int greys = 0;
    for (int x = 0; x < 8; ++x)
        greys += smooth.pixelColor(x, 0) != QColor(Qt::black) && smooth.pixelColor(x, 0) != QColor(Qt::white);
    EXPECT_GT(greys, 0);
}

TEST(DrawCellImageTest, AMirroredCanvasShowsTheImageUnmirroredAtTheCellsPlace)
{
    const QImage pattern = Pattern();
    const QRect cell(2, 2, 10, 6);
    const QRect seen(40 - 2 - 10, 2, 10, 6);  // where the cell lands on the device
    const TCellImageFormat format = Format(idAlignment, tk::taLeftJustify, tvTopJustify, QPoint(1, 1));
    const QImage mirrored = Painted(
        40, 20, [&](tk::TCanvas& canvas) { DrawCellImage(canvas, cell, pattern, format); }, true);
    const QImage plain =
        Painted(40, 20, [&](tk::TCanvas& canvas) { DrawCellImage(canvas, seen, pattern, format); });
    EXPECT_EQ(mirrored, plain);
    EXPECT_EQ(mirrored.pixelColor(29, 3), pattern.pixelColor(0, 0)) << "reads left to right";
    EXPECT_EQ(mirrored.pixelColor(30, 3), pattern.pixelColor(1, 0));
    EXPECT_TRUE(Untouched(mirrored, seen));
}

TEST(DrawCellImageTest, OnAMirroredCanvasTileCellStartsAtTheCellsLogicalCorner)
{
    const QImage pattern = Pattern();
    const QImage image = Painted(
        40, 20,
        [&](tk::TCanvas& canvas) { DrawCellImage(canvas, QRect(2, 2, 10, 6), pattern, Format(idTileCell)); },
        true);
    // The cell covers device columns 28 .. 37: its logical left edge is
    // device column 37, where a tile ends.
    EXPECT_EQ(image.pixelColor(37, 2), pattern.pixelColor(3, 0));
    EXPECT_EQ(image.pixelColor(34, 2), pattern.pixelColor(0, 0));
}

// --- Image list images -------------------------------------------------------------------------

// Eight 4 x 4 images: column 0 red, the others blue.
class ListImageTest : public ::testing::Test {
protected:
    ListImageTest() : list(4, 4)
    {
        QImage strip(32, 4, QImage::Format_RGB32);
        strip.fill(Qt::blue);
        for (int i = 0; i < 8; ++i)
            for (int y = 0; y < 4; ++y)
                strip.setPixelColor(i * 4, y, Qt::red);
        tk::TBitmap bitmap;
        bitmap.SetImage(strip);
        list.Add(bitmap);
    }
    // The device columns of row y that are red, as "x x".
    static std::string Reds(const QImage& image, int y)
    {
        std::string text;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(Qt::red))
                text += (text.empty() ? "" : " ") + std::to_string(x);
        return text;
    }
    tk::TImageList list;
};

TEST_F(ListImageTest, LeftToRightItIsTheListsDraw)
{
    const QImage image = Painted(20, 8, [&](tk::TCanvas& canvas) { DrawListImage(canvas, list, 6, 5, 1); });
    EXPECT_EQ(Reds(image, 1), "5");
    EXPECT_EQ(image.pixelColor(8, 4), QColor(Qt::blue));
}

TEST_F(ListImageTest, AnIndexOutsideTheListDrawsNothing)
{
    const QImage image = Painted(20, 8, [&](tk::TCanvas& canvas) {
        DrawListImage(canvas, list, 8, 5, 1);
        DrawListImage(canvas, list, -1, 5, 1);
    });
    EXPECT_EQ(image, Background(20, 8));
    const QImage mirrored = Painted(
        20, 8, [&](tk::TCanvas& canvas) { DrawListImage(canvas, list, 8, 5, 1); }, true);
    EXPECT_EQ(mirrored, Background(20, 8));
}

TEST_F(ListImageTest, MirroredIndicatorImagesAreMirroredOnePixelFurtherOn)
{
    // Logical x 5 + 1 covers device columns 10 .. 13; mirrored, the red
    // column 0 is at 13.
    const QImage image = Painted(
        20, 8, [&](tk::TCanvas& canvas) { DrawListImage(canvas, list, 2, 5, 1); }, true);
    EXPECT_EQ(Reds(image, 1), "13");
    EXPECT_EQ(image.pixelColor(10, 1), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(14, 1), kBackground);
}

TEST_F(ListImageTest, MirroredOtherImagesReadAsAuthoredAtTheirMirroredPlace)
{
    // Logical x 5 covers device columns 11 .. 14.
    const QImage image = Painted(
        20, 8, [&](tk::TCanvas& canvas) { DrawListImage(canvas, list, 6, 5, 1); }, true);
    EXPECT_EQ(Reds(image, 1), "11");
    EXPECT_EQ(image.pixelColor(14, 1), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(15, 1), kBackground);
}

TEST_F(ListImageTest, TheReadableRuleAppliesToEveryImageOfOtherLists)
{
    const QImage image = Painted(
        20, 8,
        [&](tk::TCanvas& canvas) { DrawListImage(canvas, list, 2, 5, 1, true, TListImageMirror::Readable); },
        true);
    EXPECT_EQ(Reds(image, 1), "11");
}

TEST_F(ListImageTest, TheDisabledLookIsKeptOnAMirroredCanvas)
{
    const QImage image = Painted(
        20, 8, [&](tk::TCanvas& canvas) { DrawListImage(canvas, list, 6, 5, 1, false); }, true);
    EXPECT_EQ(Reds(image, 1), "");
    EXPECT_EQ(image.pixelColor(11, 1), testing::kShadow) << "the shape in clBtnShadow";
}

// --- The scratch image --------------------------------------------------------------------------

TEST(ScratchBitmapTest, GrowsForItsUsersAndIsFreedWithTheLast)
{
    ASSERT_EQ(TScratchBitmapUser::Users(), 0) << "no grid alive in this test";
    auto first = std::make_unique<TScratchBitmapUser>();
    EXPECT_EQ(TScratchBitmapUser::Users(), 1);
    QImage& scratch = TScratchBitmapUser::Image(QSize(10, 5));
    EXPECT_EQ(scratch.size(), QSize(10, 5));
    EXPECT_EQ(TScratchBitmapUser::Image(QSize(4, 20)).size(), QSize(10, 20)) << "it grows, never shrinks";
    EXPECT_EQ(&TScratchBitmapUser::Image(QSize(1, 1)), &scratch) << "one image for all";
    {
        TScratchBitmapUser second;
        EXPECT_EQ(TScratchBitmapUser::Users(), 2);
        first.reset();
        EXPECT_EQ(TScratchBitmapUser::Users(), 1);
        EXPECT_EQ(scratch.size(), QSize(10, 20)) << "kept while a user is left";
    }
    EXPECT_EQ(TScratchBitmapUser::Users(), 0);
    EXPECT_TRUE(scratch.isNull()) << "freed with the last user";
    TScratchBitmapUser again;
    EXPECT_EQ(TScratchBitmapUser::Image(QSize(2, 3)).size(), QSize(2, 3)) << "made anew";
}

}  // namespace
}  // namespace kelgrid
