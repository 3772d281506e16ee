// The sort marker images: the key of a built list, the recolouring of the
// five key colours per marker style, and the transparent mask.

#include "kelgrid/grid/markerimages.h"
#include "paint_helpers.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/pictures.h"

#include <QImage>
#include <QSet>
#include <array>
#include <gtest/gtest.h>

namespace kelgrid {
namespace {

using testing::DistinctPalette;
using testing::EnumName;

// The authored strip as checked in.
QImage Authored()
{
    tk::TBitmap strip;
    strip.LoadFromResourceName(QStringLiteral("KELDBMARKERS"));
    return strip.Image().convertToFormat(QImage::Format_RGB32);
}

// The first pixel of image 0 in each key colour: aqua, teal, blue, navy,
// lime (the background).
std::array<QPoint, 5> KeyPixels()
{
    const QImage strip = Authored();
    const std::array<QColor, 5> keys{QColor(0, 255, 255), QColor(0, 128, 128), QColor(0, 0, 255),
                                     QColor(0, 0, 128), QColor(0, 255, 0)};
    std::array<QPoint, 5> found;
    for (int k = 0; k < 5; ++k) {
        found[k] = QPoint(-1, -1);
        for (int y = 0; y < 16 && found[k].x() < 0; ++y)
            for (int x = 0; x < 16 && found[k].x() < 0; ++x)
                if (strip.pixelColor(x, y) == keys[k])
                    found[k] = QPoint(x, y);
    }
    return found;
}

// w white, L cl3DLight, S clBtnShadow, D cl3DDkShadow, k black, _ left
// out (the mask), ? anything else.
char Letter(const QImage& image, QPoint at)
{
    const QRgb pixel = image.pixel(at);
    if (qAlpha(pixel) == 0)
        return '_';
    const QColor c = QColor::fromRgb(pixel);
    if (c == QColor(Qt::white))
        return 'w';
    if (c == testing::kLight)
        return 'L';
    if (c == testing::kShadow)
        return 'S';
    if (c == testing::kDarkShadow)
        return 'D';
    if (c == QColor(Qt::black))
        return 'k';
    return '?';
}

// aqua teal blue navy background, as letters.
std::string Snapshot(TMarkerStyle style, bool transparent)
{
    tk::TImageList list;
    LoadMarkerImages(list, style, transparent, DistinctPalette());
    const QImage image = list.Image(0);
    std::string text;
    for (QPoint at : KeyPixels())
        text += Letter(image, at);
    return text;
}

TEST(MarkerImagesTest, TheKeyIsTheStylePlusTwelveWhenTransparent)
{
    EXPECT_EQ(MarkerImagesKey(msDefault, false), 0);
    EXPECT_EQ(MarkerImagesKey(msMild, false), 10);
    EXPECT_EQ(MarkerImagesKey(msDefault, true), 12);
    EXPECT_EQ(MarkerImagesKey(msMild, true), 22);
    QSet<int> keys;
    for (int style = msDefault; style <= msMild; ++style)
        for (bool transparent : {false, true})
            keys.insert(MarkerImagesKey(TMarkerStyle(style), transparent));
    EXPECT_EQ(keys.size(), 22);
}

TEST(MarkerImagesTest, TheAuthoredStripHasEveryKeyColourInTheFirstImage)
{
    for (QPoint at : KeyPixels())
        EXPECT_GE(at.x(), 0);
}

struct RecolourRow {
    TMarkerStyle style;
    const char* transparent;  // aqua teal blue navy background
    const char* opaque;
};

class MarkerRecolourTest : public ::testing::TestWithParam<RecolourRow> {};

TEST_P(MarkerRecolourTest, TheKeyColoursTakeThePicksOfTheStyle)
{
    EXPECT_EQ(Snapshot(GetParam().style, true), GetParam().transparent);
    EXPECT_EQ(Snapshot(GetParam().style, false), GetParam().opaque);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MarkerRecolourTest,
    ::testing::Values(RecolourRow{msDefault, "w_Sk_", "w_Skw"}, RecolourRow{msSoft, "w_SD_", "w_SDw"},
                      RecolourRow{msRaisedDark, "L__k_", "Lwwkw"},
                      RecolourRow{msRaisedGray, "L__D_", "LwwDw"},
                      RecolourRow{msRaisedMild, "L__S_", "LwwSw"},
                      RecolourRow{msLoweredDark, "k__L_", "kwwLw"},
                      RecolourRow{msLoweredGray, "D__L_", "DwwLw"},
                      RecolourRow{msLoweredMild, "S__L_", "SwwLw"}, RecolourRow{msFlat, "k__k_", "kwwkw"},
                      RecolourRow{msGray, "D__D_", "DwwDw"}, RecolourRow{msMild, "S__S_", "SwwSw"}),
    [](const auto& info) { return EnumName(info.param.style); });

TEST(MarkerImagesTest, TheListHoldsTwentyImagesOfSixteenAndIsReplacedWhole)
{
    tk::TImageList list(13, 13);
    tk::TBitmap other;
    other.SetSize(26, 13);
    list.Add(other);
    LoadMarkerImages(list, msFlat, true, DistinctPalette());
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.Height(), 16);
    EXPECT_EQ(list.Count(), 20);
    LoadMarkerImages(list, msGray, false, DistinctPalette());
    EXPECT_EQ(list.Count(), 20);
}

TEST(MarkerImagesTest, TransparentLeavesOutExactlyTheBackgroundAndTheBackgroundPicks)
{
    const QImage strip = Authored();
    tk::TImageList list;
    LoadMarkerImages(list, msFlat, true, DistinctPalette());
    int hidden = 0;
    for (int index = 0; index < list.Count(); ++index) {
        const QImage image = list.Image(index);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QColor authored = strip.pixelColor(index * 16 + x, y);
                const bool background = authored == QColor(0, 255, 0) || authored == QColor(0, 128, 128) ||
                                        authored == QColor(0, 0, 255);
                ASSERT_EQ(qAlpha(image.pixel(x, y)) == 0, background) << index << ": " << x << "," << y;
                hidden += background;
            }
    }
    EXPECT_GT(hidden, 0);
}

TEST(MarkerImagesTest, OpaqueMarkersOfALoweredStyleHideNothing)
{
    tk::TImageList list;
    LoadMarkerImages(list, msLoweredDark, false, DistinctPalette());
    for (int index = 0; index < list.Count(); ++index) {
        const QImage image = list.Image(index);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(qAlpha(image.pixel(x, y)), 255) << index << ": " << x << "," << y;
    }
}

TEST(MarkerImagesTest, TheDigitsAreRecolouredToo)
{
    // Image 2 is the ascending marker of the first order field: its digit
    // is drawn in navy, which msLoweredDark makes 3-D light.
    const QImage strip = Authored();
    tk::TImageList list;
    LoadMarkerImages(list, msLoweredDark, true, DistinctPalette());
    const QImage image = list.Image(2);
    int navy = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 12; x < 16; ++x)
            if (strip.pixelColor(32 + x, y) == QColor(0, 0, 128)) {
                ++navy;
                EXPECT_EQ(Letter(image, QPoint(x, y)), 'L') << x << "," << y;
            }
    EXPECT_GT(navy, 0) << "the digit sits at the right of the image";
}

TEST(MarkerImagesTest, AnAutomaticStyleIsTakenAsForTheDefaultFixedStyle)
{
    EXPECT_EQ(Snapshot(msAuto, true), Snapshot(msDefault, true));
    EXPECT_EQ(Snapshot(msAutoGray, false), Snapshot(msSoft, false));
}

}  // namespace
}  // namespace kelgrid
