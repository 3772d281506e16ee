// Button glyphs: the images made for each state (generated and recoloured
// disabled looks, fallbacks), drawing with and without transparency, the
// layout of glyph and caption, giving images back on a change, and the
// navigator's default glyphs.

#include "glyph_helpers.h"
#include "kelgrid/controls/buttonglyph.h"
#include "kelgrid/controls/buttonlayout.h"
#include "kelgrid/controls/glyphcache.h"
#include "kelgrid/controls/glyphlist.h"
#include "kelgrid/controls/navglyphs.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/themes.h"

#include <QImage>
#include <QScopeGuard>
#include <QSet>
#include <gtest/gtest.h>

namespace kelgrid {
namespace {

using testing::FillBitmap;
using testing::Olive;
using testing::Rgb;
using testing::SetBitmapPixel;
using tk::TButtonState;

// The pixel of glyph's image for state, opaque, or 0 where it is masked.
QRgb ImagePixel(TOrvButtonGlyph& glyph, TButtonState state, int x, int y)
{
    const int index = glyph.ImageIndex(state);
    EXPECT_NE(index, -1);
    const QRgb pixel = glyph.List()->Image(index).pixel(x, y);
    return qAlpha(pixel) == 0 ? 0 : (pixel | 0xFF000000u);
}

class ButtonGlyphTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The disabled looks are told apart by these three colours.
        ASSERT_NE(Rgb(tk::clBtnHighlight), Rgb(tk::clBtnShadow));
        ASSERT_NE(Rgb(tk::clBtnHighlight), Rgb(tk::clBtnFace));
        ASSERT_NE(Rgb(tk::clBtnShadow), Rgb(tk::clBtnFace));
    }
    TOrvButtonGlyph glyph;
};

TEST_F(ButtonGlyphTest, OneImageGlyphGetsAnEmbossedDisabledLook)
{
    tk::TBitmap bitmap;
    FillBitmap(bitmap, 6, 6, Olive);
    SetBitmapPixel(bitmap, 2, 2, Qt::blue);
    glyph.SetGlyph(bitmap);
    glyph.SetTransparent(true);

    EXPECT_EQ(ImagePixel(glyph, TButtonState::bsDisabled, 2, 2), Rgb(tk::clBtnShadow));
    EXPECT_EQ(ImagePixel(glyph, TButtonState::bsDisabled, 3, 3), Rgb(tk::clBtnHighlight));
    // The face around the shape is left out.
    EXPECT_EQ(ImagePixel(glyph, TButtonState::bsDisabled, 0, 0), 0u);
    EXPECT_EQ(ImagePixel(glyph, TButtonState::bsDisabled, 3, 2), 0u);
    EXPECT_EQ(ImagePixel(glyph, TButtonState::bsUp, 2, 2), QColor(Qt::blue).rgb());
}

TEST_F(ButtonGlyphTest, TwoImageGlyphHasItsDisabledImageRecoloured)
{
    // Two 4 x 4 images; the disabled one holds white, grey and blue.
    tk::TBitmap bitmap;
    FillBitmap(bitmap, 8, 4, Olive);
    SetBitmapPixel(bitmap, 5, 1, Qt::white);
    SetBitmapPixel(bitmap, 6, 1, QColor(0x80, 0x80, 0x80));
    SetBitmapPixel(bitmap, 5, 2, Qt::blue);
    glyph.SetGlyph(bitmap);
    glyph.SetNumGlyphs(2);
    glyph.SetTransparent(true);

    EXPECT_EQ(glyph.GlyphSize(), QSize(4, 4));
    EXPECT_EQ(ImagePixel(glyph, TButtonState::bsDisabled, 1, 1), Rgb(tk::clBtnHighlight));
    EXPECT_EQ(ImagePixel(glyph, TButtonState::bsDisabled, 2, 1), Rgb(tk::clBtnShadow));
    EXPECT_EQ(ImagePixel(glyph, TButtonState::bsDisabled, 1, 2), QColor(Qt::blue).rgb());
    EXPECT_EQ(ImagePixel(glyph, TButtonState::bsDisabled, 0, 0), 0u);
}

struct FallbackRow {
    const char* name;
    int numGlyphs;
    TButtonState state;
    int expectedCell;  // whose colour the state's image shows
};

class ButtonGlyphFallbackTest : public ::testing::TestWithParam<FallbackRow> {};

TEST_P(ButtonGlyphFallbackTest, StateShowsTheImageOfItsCell)
{
    const FallbackRow& row = GetParam();
    const QColor cells[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    tk::TBitmap bitmap;
    FillBitmap(bitmap, 4 * row.numGlyphs, 4, Qt::black);
    for (int cell = 0; cell < row.numGlyphs; ++cell)
        for (int x = 0; x < 4; ++x)
            for (int y = 0; y < 3; ++y)
                SetBitmapPixel(bitmap, 4 * cell + x, y, cells[cell]);
    TOrvButtonGlyph glyph;
    glyph.SetGlyph(bitmap);
    glyph.SetNumGlyphs(row.numGlyphs);
    EXPECT_EQ(ImagePixel(glyph, row.state, 1, 1), cells[row.expectedCell].rgb());
}

INSTANTIATE_TEST_SUITE_P(
    ButtonGlyphTest, ButtonGlyphFallbackTest,
    ::testing::Values(FallbackRow{"DownWithOneImage", 1, TButtonState::bsDown, 0},
                      FallbackRow{"DownWithTwoImages", 2, TButtonState::bsDown, 0},
                      FallbackRow{"DownWithThreeImages", 3, TButtonState::bsDown, 2},
                      FallbackRow{"ExclusiveWithThreeImages", 3, TButtonState::bsExclusive, 2},
                      FallbackRow{"ExclusiveWithTwoImages", 2, TButtonState::bsExclusive, 0},
                      FallbackRow{"ExclusiveWithFourImages", 4, TButtonState::bsExclusive, 3}),
    [](const auto& info) { return std::string(info.param.name); });

struct TransparencyRow {
    const char* name;
    bool glyphTransparent;
    bool drawTransparent;
    tk::TColor expectedBackground;
};

class ButtonGlyphTransparencyTest : public ::testing::TestWithParam<TransparencyRow> {};

TEST_P(ButtonGlyphTransparencyTest, BackgroundPixelsOfTheGlyph)
{
    const TransparencyRow& row = GetParam();
    tk::TBitmap bitmap;
    FillBitmap(bitmap, 6, 6, Olive);
    SetBitmapPixel(bitmap, 3, 3, Qt::blue);
    TOrvButtonGlyph glyph;
    glyph.SetGlyph(bitmap);
    glyph.SetTransparent(row.glyphTransparent);

    QImage image(6, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    {
        tk::TCanvas canvas(&image);
        glyph.Draw(canvas, QRect(0, 0, 6, 6), QPoint(), QString(), tk::blGlyphLeft, -1, -1,
                   TButtonState::bsUp, row.drawTransparent, Qt::LeftToRight);
    }
    EXPECT_EQ(image.pixel(0, 0), Rgb(row.expectedBackground));
    EXPECT_EQ(image.pixel(3, 3), QColor(Qt::blue).rgb());
}

INSTANTIATE_TEST_SUITE_P(
    ButtonGlyphTest, ButtonGlyphTransparencyTest,
    ::testing::Values(TransparencyRow{"TransparentShowsWhatIsBehind", true, true, tk::clRed},
                      TransparencyRow{"OpaqueDrawShowsTheFace", true, false, tk::clBtnFace},
                      TransparencyRow{"OpaqueGlyphShowsItsBackground", false, true, tk::clOlive}),
    [](const auto& info) { return std::string(info.param.name); });

struct LayoutRow {
    const char* name;
    tk::TButtonLayout layout;
    int margin;
    int spacing;
    bool rightToLeft;
    QSize text;
    QPoint glyph;
    QPoint textAt;
};

class ButtonLayoutTest : public ::testing::TestWithParam<LayoutRow> {};

// A 60 x 50 button at (5, 3), a 16 x 16 glyph, a 20 x 10 caption; the
// offset (1, 1) moves everything.
TEST_P(ButtonLayoutTest, PlacesGlyphAndCaption)
{
    const LayoutRow& row = GetParam();
    const TButtonLayoutResult placed =
        CalcButtonLayout(QRect(5, 3, 60, 50), QPoint(1, 1), QSize(16, 16), row.text, row.layout, row.margin,
                         row.spacing, row.rightToLeft);
    const QPoint shift(6, 4);
    EXPECT_EQ(placed.glyphPos - shift, row.glyph);
    EXPECT_EQ(placed.textBounds, QRect(row.textAt + shift, row.text));
}

const QSize Caption(20, 10);

INSTANTIATE_TEST_SUITE_P(
    ButtonGlyphTest, ButtonLayoutTest,
    ::testing::Values(
        LayoutRow{"LeftEqualGaps", tk::blGlyphLeft, -1, -1, false, Caption, {8, 17}, {32, 20}},
        LayoutRow{"LeftCentredBlock", tk::blGlyphLeft, -1, 4, false, Caption, {10, 17}, {30, 20}},
        LayoutRow{"LeftCaptionCentredInTheRest", tk::blGlyphLeft, 2, -1, false, Caption, {2, 17}, {29, 20}},
        LayoutRow{"LeftAsGiven", tk::blGlyphLeft, 2, 4, false, Caption, {2, 17}, {22, 20}},
        LayoutRow{"RightEqualGaps", tk::blGlyphRight, -1, -1, false, Caption, {36, 17}, {8, 20}},
        LayoutRow{"RightAsGiven", tk::blGlyphRight, 3, 4, false, Caption, {41, 17}, {17, 20}},
        LayoutRow{"TopEqualGaps", tk::blGlyphTop, -1, -1, false, Caption, {22, 8}, {20, 32}},
        LayoutRow{"TopAsGiven", tk::blGlyphTop, 2, 4, false, Caption, {22, 2}, {20, 22}},
        LayoutRow{"BottomEqualGaps", tk::blGlyphBottom, -1, -1, false, Caption, {22, 26}, {20, 8}},
        LayoutRow{"BottomCentredBlock", tk::blGlyphBottom, -1, 4, false, Caption, {22, 24}, {20, 10}},
        LayoutRow{"LeftRightToLeftIsRight", tk::blGlyphLeft, -1, 4, true, Caption, {34, 17}, {10, 20}},
        LayoutRow{"NoCaptionNoSpacing", tk::blGlyphLeft, -1, 4, false, QSize(0, 0), {22, 17}, {38, 25}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ButtonGlyphTest, PressedOffsetMovesTheBlockOnlyWithoutThemes)
{
    tk::TBitmap bitmap;
    FillBitmap(bitmap, 16, 16, Olive);
    glyph.SetGlyph(bitmap);
    QImage image(60, 30, QImage::Format_RGB32);
    tk::TCanvas canvas(&image);
    const auto textAt = [&](bool themes) {
        const bool old = tk::ThemesEnabled();
        tk::SetThemesEnabled(themes);
        const auto restore = qScopeGuard([old] { tk::SetThemesEnabled(old); });
        return glyph.Draw(canvas, QRect(0, 0, 60, 30), QPoint(1, 1), QStringLiteral("Go"), tk::blGlyphLeft,
                          -1, -1, TButtonState::bsDown, true, Qt::LeftToRight);
    };
    const QRect themed = textAt(true);
    EXPECT_EQ(textAt(false), themed.translated(1, 1));
}

// The colours found inside rect of image.
QSet<QRgb> Colours(const QImage& image, const QRect& rect)
{
    QSet<QRgb> colours;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

TEST_F(ButtonGlyphTest, DisabledCaptionIsEmbossedAndAnEnabledOneIsInTheFontColour)
{
    QImage image(80, 30, QImage::Format_RGB32);
    const auto draw = [&](TButtonState state) {
        image.fill(Qt::red);
        tk::TCanvas canvas(&image);
        canvas.Font()->SetColor(tk::clBlack);
        canvas.Font()->SetSize(14);
        canvas.Font()->SetStyle(tk::TFont::TFontStyles(tk::TFont::fsBold));
        const QRect text = glyph.Draw(canvas, QRect(0, 0, 80, 30), QPoint(), QStringLiteral("HIH"),
                                      tk::blGlyphLeft, -1, -1, state, true, Qt::LeftToRight);
        canvas.Release();
        return Colours(image, text.adjusted(0, 0, 1, 1));
    };
    const QSet<QRgb> disabled = draw(TButtonState::bsDisabled);
    EXPECT_TRUE(disabled.contains(Rgb(tk::clBtnShadow)));
    EXPECT_TRUE(disabled.contains(Rgb(tk::clBtnHighlight)));
    EXPECT_FALSE(disabled.contains(0xFF000000u));
    // Drawn without background: the red stays between the letters.
    EXPECT_TRUE(disabled.contains(QColor(Qt::red).rgb()));
    const QSet<QRgb> enabled = draw(TButtonState::bsUp);
    EXPECT_TRUE(enabled.contains(0xFF000000u));
    EXPECT_FALSE(enabled.contains(Rgb(tk::clBtnShadow)));
}

TEST_F(ButtonGlyphTest, ChangesGiveTheGeneratedImagesBack)
{
    tk::TBitmap bitmap;
    FillBitmap(bitmap, 14, 7, Olive);
    SetBitmapPixel(bitmap, 3, 3, Qt::blue);
    TOrvButtonGlyph neighbour;
    neighbour.SetGlyph(bitmap);
    neighbour.ImageIndex(TButtonState::bsUp);
    int changes = 0;
    glyph.OnChange = [&] { ++changes; };
    glyph.SetGlyph(bitmap);
    EXPECT_EQ(changes, 1);
    glyph.ImageIndex(TButtonState::bsUp);
    glyph.ImageIndex(TButtonState::bsDisabled);
    TOrvGlyphList* list = glyph.List();
    ASSERT_EQ(list, neighbour.List());
    EXPECT_EQ(list->Count(), 3);

    glyph.SetNumGlyphs(2);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(glyph.List(), nullptr);
    EXPECT_EQ(list->Count(), 1);
    // Now two 7 x 7 images: another list.
    glyph.ImageIndex(TButtonState::bsUp);
    EXPECT_NE(glyph.List(), list);

    tk::TBitmap other;
    FillBitmap(other, 14, 7, Qt::green);
    const int listsBefore = GlyphCache().ListCount();
    glyph.SetGlyph(other);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(glyph.List(), nullptr);
    // Nobody held images in the 7 x 7 list any more: it is gone.
    EXPECT_EQ(GlyphCache().ListCount(), listsBefore - 1);
    EXPECT_EQ(ImagePixel(glyph, TButtonState::bsUp, 3, 3), QColor(Qt::green).rgb());
}

TEST(NavigatorGlyphTest, TenDistinctTwoImageGlyphsOnTheTransparentColour)
{
    QSet<QByteArray> normals;
    for (int kind = 0; kind < NavigatorGlyphKindCount; ++kind) {
        SCOPED_TRACE(kind);
        tk::TBitmap bitmap;
        NavigatorGlyph(static_cast<TNavigatorGlyphKind>(kind), bitmap);
        ASSERT_EQ(bitmap.Width(), 2 * NavigatorGlyphSize);
        ASSERT_EQ(bitmap.Height(), NavigatorGlyphSize);
        EXPECT_EQ(bitmap.TransparentColor(), tk::RGB(0x80, 0x80, 0x00));
        const QImage image = bitmap.Image().convertToFormat(QImage::Format_RGB32);
        const QImage normal = image.copy(0, 0, NavigatorGlyphSize, NavigatorGlyphSize);
        EXPECT_GT(Colours(normal, normal.rect()).size(), 1);
        normals.insert(
            QByteArray(reinterpret_cast<const char*>(normal.constBits()), int(normal.sizeInBytes())));
        // The disabled image is made of what recolouring turns into the
        // disabled look: background, white and grey.
        const QSet<QRgb> disabled =
            Colours(image, QRect(NavigatorGlyphSize, 0, NavigatorGlyphSize, NavigatorGlyphSize));
        EXPECT_EQ(disabled, (QSet<QRgb>{Olive.rgb(), 0xFFFFFFFFu, 0xFF808080u}));
    }
    EXPECT_EQ(normals.size(), NavigatorGlyphKindCount);
}

}  // namespace
}  // namespace kelgrid
