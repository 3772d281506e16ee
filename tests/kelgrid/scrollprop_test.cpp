// The scroll properties: defaults, the parent rules, the look put onto the
// grid's real scroll bars and the bar rules.

#include "kelgrid/grid/scrollprop.h"

#include "tests/kelgrid/grid_fixture.h"
#include "toolkit/core/properties.h"

#include <QScrollBar>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

class ScrollPropTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->show();
    }
    TKelScrollProp& Scroll() const { return *grid->ScrollProp(); }
};

TEST_F(ScrollPropTest, DefaultsAreNotStored)
{
    // Style has no default: it is written exactly when it is the grid's own.
    for (const QMetaProperty& property : tk::PublishedProperties(&Scroll())) {
        if (QByteArray(property.name()) != "Style") {
            EXPECT_TRUE(tk::IsDefaultPropValue(&Scroll(), property)) << property.name();
        }
    }
    EXPECT_FALSE(tk::IsStoredProp(&Scroll(), tk::FindPublishedProperty(&Scroll(), QStringLiteral("Style"))));
    EXPECT_FALSE(Scroll().WinXPMode());
    EXPECT_FALSE(Scroll().IsStyleStored());
    EXPECT_EQ(grid->verticalScrollBar()->styleSheet(), QString());
}

TEST_F(ScrollPropTest, ColourAndStyleLeaveTheParentAndComeBackWithIt)
{
    Scroll().SetColor(tk::clRed);
    EXPECT_FALSE(Scroll().ParentColor());
    Scroll().SetParentColor(true);
    EXPECT_EQ(Scroll().Color(), tk::clBtnHighlight);

    Scroll().SetStyle(tk::ssHotTrack);
    EXPECT_FALSE(Scroll().ParentStyle());
    EXPECT_TRUE(Scroll().IsStyleStored());
    // A style of its own does not follow the grid.
    grid->SetFixedStyle(fsNice);
    EXPECT_EQ(Scroll().Style(), tk::ssHotTrack);
    Scroll().SetParentStyle(true);
    EXPECT_EQ(Scroll().Style(), tk::ssFlat);
}

struct FixedStyleCase {
    TFixedStyle fixed;
    tk::TScrollBarStyle bar;
};

class ScrollPropStyleTest : public GridFixture, public ::testing::WithParamInterface<FixedStyleCase> {};

TEST_P(ScrollPropStyleTest, AFollowingStyleComesFromTheFixedStyle)
{
    grid->SetFixedStyle(GetParam().fixed);
    EXPECT_EQ(grid->ScrollProp()->Style(), GetParam().bar);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ScrollPropStyleTest,
    ::testing::Values(FixedStyleCase{fsDefault, tk::ssRegular}, FixedStyleCase{fsSoft, tk::ssRegular},
                      FixedStyleCase{fsNice, tk::ssFlat}, FixedStyleCase{fsFlat, tk::ssHotTrack},
                      FixedStyleCase{fsGreat, tk::ssFlat}, FixedStyleCase{fsGray, tk::ssHotTrack},
                      FixedStyleCase{fsFine, tk::ssFlat}, FixedStyleCase{fsMild, tk::ssHotTrack}),
    [](const auto& info) { return std::to_string(int(info.param.fixed)); });

// The look reaches the grid's own bars, with the colour as the groove; the
// WinXPMode window has plain bars again.
TEST_F(ScrollPropTest, TheStyleIsPutOntoTheGridsScrollBars)
{
    QScrollBar* bar = grid->verticalScrollBar();
    const int pageStep = bar->pageStep();
    EXPECT_TRUE(
        tk::SetPropertyPath(grid.get(), QStringLiteral("ScrollProp.Style"), QStringLiteral("ssFlat")));
    EXPECT_TRUE(tk::SetPropertyPath(grid.get(), QStringLiteral("ScrollProp.Color"), QStringLiteral("clRed")));
    EXPECT_TRUE(bar->styleSheet().contains(QStringLiteral("#ff0000"))) << bar->styleSheet().toStdString();
    EXPECT_TRUE(grid->horizontalScrollBar()->styleSheet().contains(QStringLiteral("#ff0000")));
    EXPECT_EQ(bar->pageStep(), pageStep);
    Scroll().SetWinXPMode(true);
    EXPECT_EQ(bar->styleSheet(), QString());
    Scroll().SetWinXPMode(false);
    EXPECT_TRUE(bar->styleSheet().contains(QStringLiteral("#ff0000")));
    Scroll().SetStyle(tk::ssRegular);
    EXPECT_EQ(bar->styleSheet(), QString());
}

TEST_F(ScrollPropTest, AutoHiddenAndThumbBarRuleTheVerticalBar)
{
    QScrollBar* bar = grid->verticalScrollBar();
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_GT(bar->pageStep(), 0);
    Scroll().SetAutoHidden(tk::ssBoth);
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    // All five records fit: nothing to scroll, so the bar hides.
    EXPECT_EQ(bar->minimum(), bar->maximum());
    Scroll().SetAutoHidden(tk::ssHorizontal);
    Scroll().SetThumbBar(tk::ssHorizontal);
    EXPECT_EQ(bar->pageStep(), 0);
    grid->SetScrollBars(tk::ssHorizontal);
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(ScrollPropTest, AssignCopiesEveryProperty)
{
    TKelScrollProp other(nullptr);
    other.SetAutoHidden(tk::ssNone);
    other.SetColor(tk::clBlue);
    other.SetStyle(tk::ssFlat);
    other.SetAutoStretch(false);
    tk::SetPropValue(grid.get(), QStringLiteral("ScrollProp"), QVariant::fromValue(&other));
    EXPECT_EQ(Scroll().AutoHidden(), tk::ssNone);
    EXPECT_EQ(Scroll().Color(), tk::clBlue);
    EXPECT_FALSE(Scroll().ParentStyle());
    EXPECT_EQ(Scroll().Style(), tk::ssFlat);
    EXPECT_FALSE(Scroll().AutoStretch());
}

}  // namespace
}  // namespace kelgrid::test
