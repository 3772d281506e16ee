#include "toolkit/ui/themes.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>
#include <ostream>

namespace tk {
namespace {

QImage Render(const TThemedDetails& details, QSize size = QSize(40, 22))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    {
        TCanvas canvas(&image);
        DrawThemedElement(canvas, details, QRect(QPoint(0, 0), size));
    }
    return image;
}

bool PaintedSomething(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 0, 255))
                return true;
    return false;
}

struct StatePair {
    const char* name;
    TThemedDetails first;
    TThemedDetails second;
};
void PrintTo(const StatePair& c, std::ostream* os)
{
    *os << c.name;
}

class ThemedStates : public ::testing::TestWithParam<StatePair> {};

TEST_P(ThemedStates, PaintDifferently)
{
    const QSize size = GetParam().first.element == TThemedElement::teCheckBox ||
                               GetParam().first.element == TThemedElement::teTreeGlyph
                           ? QSize(16, 16)
                           : QSize(40, 22);
    const QImage first = Render(GetParam().first, size);
    const QImage second = Render(GetParam().second, size);
    EXPECT_TRUE(PaintedSomething(first) || PaintedSomething(second));
    EXPECT_NE(first, second);
}

using E = TThemedElement;
using S = TThemedState;
using C = TThemedCheck;

INSTANTIATE_TEST_SUITE_P(
    Table, ThemedStates,
    ::testing::Values(
        StatePair{"headerNormalHot", {E::teHeaderItem, S::tsNormal}, {E::teHeaderItem, S::tsHot}},
        StatePair{"headerNormalPressed", {E::teHeaderItem, S::tsNormal}, {E::teHeaderItem, S::tsPressed}},
        StatePair{"buttonNormalPressed", {E::tePushButton, S::tsNormal}, {E::tePushButton, S::tsPressed}},
        StatePair{"buttonNormalDisabled", {E::tePushButton, S::tsNormal}, {E::tePushButton, S::tsDisabled}},
        StatePair{"tabNormalSelected", {E::teTabItem, S::tsNormal}, {E::teTabItem, S::tsPressed}},
        StatePair{
            "dropDownNormalPressed", {E::teComboDropDown, S::tsNormal}, {E::teComboDropDown, S::tsPressed}},
        StatePair{"toolButtonNormalHot", {E::teToolBarButton, S::tsNormal}, {E::teToolBarButton, S::tsHot}},
        StatePair{"toolButtonHotPressed", {E::teToolBarButton, S::tsHot}, {E::teToolBarButton, S::tsPressed}},
        StatePair{"treeClosedOpen",
                  {E::teTreeGlyph, S::tsNormal, C::tcUnchecked, false},
                  {E::teTreeGlyph, S::tsNormal, C::tcUnchecked, true}},
        StatePair{"checkOffOn",
                  {E::teCheckBox, S::tsNormal, C::tcUnchecked},
                  {E::teCheckBox, S::tsNormal, C::tcChecked}},
        StatePair{"checkOnMixed",
                  {E::teCheckBox, S::tsNormal, C::tcChecked},
                  {E::teCheckBox, S::tsNormal, C::tcMixed}},
        StatePair{"checkNormalPressed",
                  {E::teCheckBox, S::tsNormal, C::tcChecked},
                  {E::teCheckBox, S::tsPressed, C::tcChecked}},
        StatePair{"checkNormalDisabled",
                  {E::teCheckBox, S::tsNormal, C::tcUnchecked},
                  {E::teCheckBox, S::tsDisabled, C::tcUnchecked}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Themes, ToolbarBackgroundPaintsTheWholeBand)
{
    EXPECT_TRUE(PaintedSomething(Render({E::teToolBarBackground}, QSize(80, 24))));
}

TEST(Themes, ContentRectLiesInsideTheElement)
{
    const QRect bounds(0, 0, 80, 24);
    for (E element : {E::tePushButton, E::teHeaderItem, E::teToolBarButton}) {
        const QRect content = ThemedContentRect({element}, bounds);
        EXPECT_TRUE(bounds.contains(content)) << int(element);
        EXPECT_LT(content.width(), bounds.width()) << int(element);
    }
}

TEST(Themes, AControlIsThemedOnlyWhileThemesAreOnAndItDoesNotRefuseThem)
{
    ASSERT_TRUE(ThemesEnabled());
    EXPECT_TRUE(ThemesEnabled(TThemeUse::tuDefault));
    EXPECT_FALSE(ThemesEnabled(TThemeUse::tuOff));
    SetThemesEnabled(false);
    EXPECT_FALSE(ThemesEnabled(TThemeUse::tuDefault));
    SetThemesEnabled(true);
    SetNewerVisualStyles(false);
    EXPECT_FALSE(NewerVisualStyles());
    SetNewerVisualStyles(true);
}

TEST(Themes, ParentBackgroundShowsTheParentsColour)
{
    QWidget parent;
    parent.resize(60, 40);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(10, 200, 30));
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    QWidget child(&parent);
    child.setGeometry(10, 10, 20, 20);

    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TCanvas canvas(&image);
        DrawParentBackground(&child, canvas, QRect(0, 0, 20, 20));
    }
    EXPECT_EQ(image.pixelColor(5, 5), QColor(10, 200, 30));
}

}  // namespace
}  // namespace tk
