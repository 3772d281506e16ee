// The painting styles: the automatic styles resolved by FixedStyle and the
// theme, the colour sentinel rule, the default colours, and the edges of
// check boxes, focus rectangles, fixed cells and title buttons by pixels.

#include "kelgrid/grid/paintstyles.h"
#include "paint_helpers.h"

#include <QImage>
#include <gtest/gtest.h>

namespace kelgrid {
namespace {

using testing::Background;
using testing::DistinctPalette;
using testing::EnumName;
using testing::Rings;

// --- Automatic styles by FixedStyle ---------------------------------------------------------

struct AutoRow {
    TFixedStyle fixed;
    TCheckBoxStyle cbAutoTo, cbAutoGrayTo, cbAutoLoweredTo;
    THotButtonsStyle hbAutoTo;
    TMarkerStyle msAutoTo, msAutoGrayTo;
    TListBorderStyle lbAutoTo;  // without a theme, both line options
};

class AutomaticStylesTest : public ::testing::TestWithParam<AutoRow> {};

TEST_P(AutomaticStylesTest, ResolveByTheFixedStyleWithoutATheme)
{
    const AutoRow& row = GetParam();
    EXPECT_EQ(ResolveCheckBoxStyle(cbAuto, row.fixed), row.cbAutoTo);
    EXPECT_EQ(ResolveCheckBoxStyle(cbAutoGray, row.fixed), row.cbAutoGrayTo);
    EXPECT_EQ(ResolveCheckBoxStyle(cbAutoLowered, row.fixed), row.cbAutoLoweredTo);
    EXPECT_EQ(ResolveHotButtonsStyle(hbAuto, row.fixed), row.hbAutoTo);
    EXPECT_EQ(ResolveMarkerStyle(msAuto, row.fixed, false), row.msAutoTo);
    EXPECT_EQ(ResolveMarkerStyle(msAutoGray, row.fixed, false), row.msAutoGrayTo);
    EXPECT_EQ(ResolveListBorderStyle(lbAuto, row.fixed, false, true), row.lbAutoTo);
}

TEST_P(AutomaticStylesTest, AThemeDecidesMarkersAndListBordersWhateverTheFixedStyle)
{
    const TFixedStyle fixed = GetParam().fixed;
    EXPECT_EQ(ResolveMarkerStyle(msAuto, fixed, true), msRaisedMild);
    EXPECT_EQ(ResolveMarkerStyle(msAutoGray, fixed, true), msRaisedGray);
    EXPECT_EQ(ResolveListBorderStyle(lbAuto, fixed, true, true), lbMild);
}

TEST_P(AutomaticStylesTest, WithoutBothLineOptionsTheListBorderIsTheDefault)
{
    const TFixedStyle fixed = GetParam().fixed;
    EXPECT_EQ(ResolveListBorderStyle(lbAuto, fixed, false, false), lbDefault);
    EXPECT_EQ(ResolveListBorderStyle(lbAuto, fixed, true, false), lbDefault);
}

TEST_P(AutomaticStylesTest, ConcreteValuesPassThrough)
{
    const TFixedStyle fixed = GetParam().fixed;
    for (int s = cbDefault; s <= cbMild; ++s)
        EXPECT_EQ(ResolveCheckBoxStyle(TCheckBoxStyle(s), fixed), TCheckBoxStyle(s));
    for (int s = hbBump; s <= hbRaised; ++s)
        EXPECT_EQ(ResolveHotButtonsStyle(THotButtonsStyle(s), fixed), THotButtonsStyle(s));
    for (int s = msDefault; s <= msMild; ++s)
        for (bool themed : {false, true})
            EXPECT_EQ(ResolveMarkerStyle(TMarkerStyle(s), fixed, themed), TMarkerStyle(s));
    for (int s = lbDefault; s <= lbMild; ++s)
        for (bool themed : {false, true})
            for (bool both : {false, true})
                EXPECT_EQ(ResolveListBorderStyle(TListBorderStyle(s), fixed, themed, both),
                          TListBorderStyle(s));
}

INSTANTIATE_TEST_SUITE_P(
    Table, AutomaticStylesTest,
    ::testing::Values(AutoRow{fsDefault, cbDefault, cbSoft, cbDefault, hbBump, msDefault, msSoft, lbDefault},
                      AutoRow{fsSoft, cbSoft, cbSoft, cbSoft, hbBump, msSoft, msSoft, lbGray},
                      AutoRow{fsNice, cbLoweredDark, cbLoweredGray, cbLoweredDark, hbRaised, msRaisedDark,
                              msRaisedGray, lbDefault},
                      AutoRow{fsFlat, cbFlat, cbGray, cbLoweredDark, hbRaised, msFlat, msGray, lbDefault},
                      AutoRow{fsGreat, cbLoweredGray, cbLoweredGray, cbLoweredGray, hbLowered, msRaisedGray,
                              msRaisedGray, lbGray},
                      AutoRow{fsGray, cbGray, cbGray, cbLoweredGray, hbLowered, msGray, msGray, lbGray},
                      AutoRow{fsFine, cbLoweredMild, cbLoweredGray, cbLoweredMild, hbTile, msRaisedMild,
                              msRaisedGray, lbMild},
                      AutoRow{fsMild, cbMild, cbGray, cbLoweredMild, hbTile, msMild, msGray, lbMild}),
    [](const auto& info) { return EnumName(info.param.fixed); });

TEST(FocusRectStyleTest, AutoIsTheDefaultAndTheOthersPassThrough)
{
    EXPECT_EQ(ResolveFocusRectStyle(frAuto), frDefault);
    for (TFocusRectStyle s : {frDefault, frGray, frMild, frNone})
        EXPECT_EQ(ResolveFocusRectStyle(s), s);
}

// --- Marker transparency --------------------------------------------------------------------

struct TransparencyRow {
    const char* name;
    TMarkerTransparent setting;
    TMarkerStyle style;
    bool transparent;
};

class MarkerTransparencyTest : public ::testing::TestWithParam<TransparencyRow> {};

TEST_P(MarkerTransparencyTest, FollowsTheSettingOrTheStyle)
{
    EXPECT_EQ(MarkerIsTransparent(GetParam().setting, GetParam().style), GetParam().transparent);
}

INSTANTIATE_TEST_SUITE_P(Table, MarkerTransparencyTest,
                         ::testing::Values(TransparencyRow{"trueLowered", mtTrue, msLoweredMild, true},
                                           TransparencyRow{"falseDefault", mtFalse, msDefault, false},
                                           TransparencyRow{"autoDefault", mtAuto, msDefault, true},
                                           TransparencyRow{"autoRaisedMild", mtAuto, msRaisedMild, true},
                                           TransparencyRow{"autoLoweredDark", mtAuto, msLoweredDark, false},
                                           TransparencyRow{"autoFlat", mtAuto, msFlat, false},
                                           TransparencyRow{"autoMild", mtAuto, msMild, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Colour sentinels -----------------------------------------------------------------------

struct SentinelRow {
    const char* name;
    tk::TColor value;
    tk::TColor fallback;
    tk::TColor expected;
};

class ResolveColorTest : public ::testing::TestWithParam<SentinelRow> {};

TEST_P(ResolveColorTest, OneRuleForDefaultAndNone)
{
    const tk::TColor computed = tk::clGradientActiveCaption;
    EXPECT_EQ(int(ResolveColor(GetParam().value, computed, GetParam().fallback)), int(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResolveColorTest,
    ::testing::Values(SentinelRow{"defaultIsTheComputedDefault", tk::clDefault, tk::clRed,
                                  tk::clGradientActiveCaption},
                      SentinelRow{"noneIsTheFallback", tk::clNone, tk::clRed, tk::clRed},
                      SentinelRow{"noneWithoutAFallbackIsTheComputedDefault", tk::clNone, tk::clDefault,
                                  tk::clGradientActiveCaption},
                      SentinelRow{"noneMayFallBackToNone", tk::clNone, tk::clNone, tk::clNone},
                      SentinelRow{"aColourIsKept", tk::clYellow, tk::clRed, tk::clYellow},
                      SentinelRow{"aSystemColourIsKeptUnresolved", tk::clBtnFace, tk::clRed, tk::clBtnFace}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResolveColorTest, TheFallbackDefaultsToTheComputedDefault)
{
    EXPECT_EQ(int(ResolveColor(tk::clNone, tk::clInfoBk)), int(tk::clInfoBk));
}

// --- Default colours ------------------------------------------------------------------------

TEST(DefaultColorsTest, StripesAre3DLightWhenTheButtonHighlightIsTheWindowColour)
{
    QPalette palette = DistinctPalette();
    EXPECT_EQ(int(DefaultStripeColor(palette)), int(tk::clBtnHighlight));
    palette.setColor(QPalette::Light, testing::kWindow);
    EXPECT_EQ(int(DefaultStripeColor(palette)), int(tk::cl3DLight));
}

TEST(DefaultColorsTest, DataLinesAreGrayOnASilverGridAndSilverElsewhere)
{
    QPalette palette = DistinctPalette();
    EXPECT_EQ(int(DefaultDataLineColor(tk::clSilver, palette)), int(tk::clGray));
    EXPECT_EQ(int(DefaultDataLineColor(tk::clWindow, palette)), int(tk::clSilver));
    EXPECT_EQ(int(DefaultDataLineColor(tk::clBtnFace, palette)), int(tk::clGray)) << "face is $C0C0C0 here";
    EXPECT_EQ(int(DefaultDataLineColor(tk::clDefault, palette)), int(tk::clSilver));
}

struct LineRow {
    TFixedStyle fixed;
    tk::TColor color;
};

class FixedLineColorTest : public ::testing::TestWithParam<LineRow> {};

TEST_P(FixedLineColorTest, ByTheFixedStyleWithoutATheme)
{
    EXPECT_EQ(int(FixedLineColor(GetParam().fixed, false, tk::clWindow, DistinctPalette())),
              int(GetParam().color));
}

TEST_P(FixedLineColorTest, AThemeUsesTheDataLineColour)
{
    const QPalette palette = DistinctPalette();
    EXPECT_EQ(int(FixedLineColor(GetParam().fixed, true, tk::clSilver, palette)), int(tk::clGray));
    EXPECT_EQ(int(FixedLineColor(GetParam().fixed, true, tk::clWindow, palette)), int(tk::clSilver));
}

INSTANTIATE_TEST_SUITE_P(Table, FixedLineColorTest,
                         ::testing::Values(LineRow{fsDefault, tk::clBlack}, LineRow{fsSoft, tk::cl3DDkShadow},
                                           LineRow{fsNice, tk::clBlack}, LineRow{fsFlat, tk::clBlack},
                                           LineRow{fsGreat, tk::cl3DDkShadow},
                                           LineRow{fsGray, tk::cl3DDkShadow},
                                           LineRow{fsFine, tk::clBtnShadow},
                                           LineRow{fsMild, tk::clBtnShadow}),
                         [](const auto& info) { return EnumName(info.param.fixed); });

// --- Edges by pixels --------------------------------------------------------------------------

// A 20 x 20 image in the background colour with a canvas in the distinct
// palette; Snapshot ends the painter and reads rings of box.
class EdgePaint {
public:
    EdgePaint() : image(Background(20, 20)), canvas(&image) { canvas.SetPalette(DistinctPalette()); }
    std::string Snapshot(int rings = 3)
    {
        canvas.Release();
        return Rings(image, box, rings);
    }
    QImage image;
    tk::TCanvas canvas;
    const QRect box{3, 3, 13, 13};
};

struct CheckBoxRow {
    TCheckBoxStyle style;
    const char* rings;  // top left bottom right, ring by ring from the outside
};

class CheckBoxEdgesTest : public ::testing::TestWithParam<CheckBoxRow> {};

TEST_P(CheckBoxEdgesTest, FollowTheEdgeTable)
{
    EdgePaint paint;
    DrawCheckBox(paint.canvas, paint.box, GetParam().style);
    EXPECT_EQ(paint.Snapshot(), GetParam().rings);
}

// S/H sunken outer, D/L sunken inner, D mono (window frame), L/D raised
// outer, H/S raised inner; '.' untouched. (The platform maps the window
// frame and the 3-D dark shadow to one palette colour, so cbDefault and
// cbSoft read alike here.)
INSTANTIATE_TEST_SUITE_P(
    Table, CheckBoxEdgesTest,
    ::testing::Values(CheckBoxRow{cbDefault, "SSHH DDLL ...."}, CheckBoxRow{cbSoft, "SSHH DDLL ...."},
                      CheckBoxRow{cbLoweredDark, "DDLL .... ...."},
                      CheckBoxRow{cbLoweredGray, "DDLL .... ...."},
                      CheckBoxRow{cbLoweredMild, "SSLL .... ...."}, CheckBoxRow{cbFlat, "DDDD .... ...."},
                      CheckBoxRow{cbGray, "DDDD .... ...."}, CheckBoxRow{cbMild, "SSSS .... ...."}),
    [](const auto& info) { return EnumName(info.param.style); });

TEST(CheckBoxEdgesTest, AnAutomaticStyleDrawsAsForTheDefaultFixedStyle)
{
    EdgePaint paint;
    DrawCheckBox(paint.canvas, paint.box, cbAuto);
    EXPECT_EQ(paint.Snapshot(), "SSHH DDLL ....");
}

TEST(CheckBoxEdgesTest, AnEmptyRectangleOrAMeasuringCanvasDrawsNothing)
{
    EdgePaint paint;
    DrawCheckBox(paint.canvas, QRect(3, 3, 0, 13), cbDefault);
    EXPECT_EQ(paint.Snapshot(), ".... .... ....");
    tk::TCanvas measuring;
    DrawCheckBox(measuring, QRect(0, 0, 13, 13), cbDefault);  // no crash, nothing to see
}

struct FocusRow {
    TFocusRectStyle style;
    const char* rings;
};

class FocusRectStyleEdgesTest : public ::testing::TestWithParam<FocusRow> {};

TEST_P(FocusRectStyleEdgesTest, DrawTheirEdges)
{
    EdgePaint paint;
    DrawFocusRectStyle(paint.canvas, paint.box, GetParam().style);
    EXPECT_EQ(paint.Snapshot(), GetParam().rings);
}

INSTANTIATE_TEST_SUITE_P(Table, FocusRectStyleEdgesTest,
                         ::testing::Values(FocusRow{frGray, "DDDD .... ...."},
                                           FocusRow{frMild, "SSSS .... ...."},
                                           FocusRow{frNone, ".... .... ...."}),
                         [](const auto& info) { return EnumName(info.param.style); });

TEST(FocusRectStyleEdgesTest, TheDefaultIsTheInvertingSystemFocusRectangle)
{
    for (TFocusRectStyle style : {frDefault, frAuto}) {
        EdgePaint paint;
        DrawFocusRectStyle(paint.canvas, paint.box, style);
        paint.canvas.Release();
        EXPECT_NE(paint.image.pixelColor(3, 3), testing::kBackground) << EnumName(style);
        EXPECT_EQ(paint.image.pixelColor(4, 3), testing::kBackground) << "dotted";
        DrawFocusRectStyle(paint.canvas, paint.box, style);
        paint.canvas.Release();
        EXPECT_EQ(paint.image, Background(20, 20)) << "drawn twice, the cell is restored";
    }
}

struct BevelRow {
    TFixedStyle fixed;
    const char* rings;
};

class FixedCellBevelTest : public ::testing::TestWithParam<BevelRow> {};

TEST_P(FixedCellBevelTest, IsOnePixelOnTheCellBoundary)
{
    EdgePaint paint;
    DrawFixedCellBevel(paint.canvas, paint.box, GetParam().fixed, false);
    EXPECT_EQ(paint.Snapshot(), GetParam().rings);
}

TEST_P(FixedCellBevelTest, APlainFrameIsDrawnInTheBrushColour)
{
    EdgePaint paint;
    paint.canvas.Brush()->SetColor(tk::clWindow);
    DrawFixedCellBevel(paint.canvas, paint.box, GetParam().fixed, true);
    EXPECT_EQ(paint.Snapshot(), "WWWW .... ....");
}

// Raised inner H/S; soft takes 3-D light at the top-left; flat is face all round.
INSTANTIATE_TEST_SUITE_P(
    Table, FixedCellBevelTest,
    ::testing::Values(BevelRow{fsDefault, "HHSS .... ...."}, BevelRow{fsSoft, "HHSS .... ...."},
                      BevelRow{fsNice, "FFFF .... ...."}, BevelRow{fsFlat, "LLSS .... ...."},
                      BevelRow{fsGreat, "FFFF .... ...."}, BevelRow{fsGray, "LLSS .... ...."},
                      BevelRow{fsFine, "FFFF .... ...."}, BevelRow{fsMild, "LLSS .... ...."}),
    [](const auto& info) { return EnumName(info.param.fixed); });

TEST(PressedEdgeTest, IsASunkenInnerEdgeAllRound)
{
    EdgePaint paint;
    DrawPressedEdge(paint.canvas, paint.box);
    EXPECT_EQ(paint.Snapshot(), "DDLL .... ....");
}

struct HotRow {
    const char* name;
    THotButtonsStyle style;
    TFixedStyle fixed;
    const char* rings;
};

class HotButtonEdgeTest : public ::testing::TestWithParam<HotRow> {};

TEST_P(HotButtonEdgeTest, ByTheStyleAndForRaisedByTheFixedStyle)
{
    EdgePaint paint;
    DrawHotButtonEdge(paint.canvas, paint.box, GetParam().style, GetParam().fixed);
    EXPECT_EQ(paint.Snapshot(), GetParam().rings);
}

// Bump: raised outer L/D then sunken inner D/L; etched: sunken outer S/H
// then raised inner H/S.
INSTANTIATE_TEST_SUITE_P(Table, HotButtonEdgeTest,
                         ::testing::Values(HotRow{"bump", hbBump, fsNice, "LLDD DDLL ...."},
                                           HotRow{"tile", hbTile, fsDefault, "SSHH HHSS ...."},
                                           HotRow{"lowered", hbLowered, fsDefault, "SSHH .... ...."},
                                           HotRow{"raisedDefault", hbRaised, fsDefault, "LLDD HHSS ...."},
                                           HotRow{"raisedSoft", hbRaised, fsSoft, "LLDD HHSS ...."},
                                           HotRow{"raisedNice", hbRaised, fsNice, "HHSS .... ...."},
                                           HotRow{"raisedFine", hbRaised, fsFine, "LLDD .... ...."},
                                           HotRow{"raisedMild", hbRaised, fsMild, "HHSS .... ...."},
                                           HotRow{"autoDefaultIsBump", hbAuto, fsDefault, "LLDD DDLL ...."},
                                           HotRow{"autoFineIsTile", hbAuto, fsFine, "SSHH HHSS ...."},
                                           HotRow{"autoNiceIsRaised", hbAuto, fsNice, "HHSS .... ...."}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelgrid
