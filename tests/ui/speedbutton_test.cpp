#include "toolkit/ui/speedbutton.h"

#include "tests/support/widget_driver.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/panel.h"
#include "toolkit/ui/pictures.h"
#include "toolkit/ui/shape.h"
#include "toolkit/ui/themes.h"

#include <QScopeGuard>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tk {
namespace {

// A glyph strip of count 8 x 8 images: olive (the transparent colour) with
// a red square of 4 x 4 in the middle of each.
std::unique_ptr<TBitmap> MakeGlyph(int count)
{
    QImage image(8 * count, 8, QImage::Format_RGB32);
    image.fill(ColorToQColor(clOlive));
    for (int i = 0; i < count; ++i)
        for (int y = 2; y < 6; ++y)
            for (int x = 2; x < 6; ++x)
                image.setPixelColor(i * 8 + x, y, Qt::red);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetImage(image);
    return bitmap;
}

// The bounding box of the red pixels in image.
QRect RedBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(Qt::red))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

class SpeedButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent.resize(200, 60);
        for (int i = 0; i < 3; ++i) {
            buttons[i] = new TSpeedButton(&parent);
            buttons[i]->setGeometry(i * 30, 0, 25, 25);
            buttons[i]->OnClick = [this, i](QObject*) { clicks << i; };
        }
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }
    void Click(int i) { test::WidgetDriver(buttons[i]).Click(buttons[i]->rect().center()); }

    QWidget parent;
    TSpeedButton* buttons[3] = {};
    QList<int> clicks;
};

TEST_F(SpeedButtonTest, GroupsKeepOneButtonDown)
{
    for (TSpeedButton* button : buttons)
        button->SetGroupIndex(1);
    Click(0);
    EXPECT_TRUE(buttons[0]->Down());
    Click(1);
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_TRUE(buttons[1]->Down());
    // The only down button stays down without AllowAllUp ...
    Click(1);
    EXPECT_TRUE(buttons[1]->Down());
    // ... and goes up with it, which the whole group takes on.
    buttons[0]->SetAllowAllUp(true);
    EXPECT_TRUE(buttons[1]->AllowAllUp());
    Click(1);
    EXPECT_FALSE(buttons[1]->Down());
    EXPECT_EQ(clicks, QList<int>({0, 1, 1, 1}));

    // Another group and group 0 are left alone.
    buttons[2]->SetGroupIndex(2);
    buttons[2]->SetDown(true);
    buttons[0]->SetDown(true);
    EXPECT_TRUE(buttons[2]->Down());
    buttons[2]->SetGroupIndex(0);
    EXPECT_FALSE(buttons[2]->Down());
    buttons[2]->SetDown(true);
    EXPECT_FALSE(buttons[2]->Down());
}

TEST_F(SpeedButtonTest, ReleaseOutsideIsNoClickAndDisabledIgnoresTheMouse)
{
    test::WidgetDriver driver(buttons[0]);
    driver.MouseDown(buttons[0]->rect().center());
    EXPECT_EQ(buttons[0]->State(), TButtonState::bsDown);
    driver.MouseMove(QPoint(100, 50));
    EXPECT_EQ(buttons[0]->State(), TButtonState::bsUp);
    driver.MouseUp(QPoint(100, 50));
    EXPECT_TRUE(clicks.isEmpty());
    buttons[0]->SetEnabled(false);
    Click(0);
    EXPECT_TRUE(clicks.isEmpty());
    EXPECT_EQ(buttons[0]->State(), TButtonState::bsDisabled);
}

TEST_F(SpeedButtonTest, LayoutMarginAndSpacingPlaceTheGlyph)
{
    // A 40 x 20 room, an 8 x 8 glyph and a 20 x 10 caption.
    const QRect room(0, 0, 40, 20);
    const QSize glyph(8, 8);
    const QSize text(20, 10);
    // Centred block: (40 - 8 - 4 - 20 + 1) / 2 = 4.
    TSpeedButtonLayout at = LayOutSpeedButton(room, glyph, text, blGlyphLeft, -1, 4);
    EXPECT_EQ(at.glyphPos, QPoint(4, 6));
    EXPECT_EQ(at.textBounds, QRect(16, 5, 20, 10));
    at = LayOutSpeedButton(room, glyph, text, blGlyphRight, 2, 3);
    EXPECT_EQ(at.glyphPos, QPoint(30, 6));
    EXPECT_EQ(at.textBounds.left(), 40 - 2 - 8 - 3 - 20);
    at = LayOutSpeedButton(QRect(0, 0, 30, 40), glyph, text, blGlyphTop, 3, 2);
    EXPECT_EQ(at.glyphPos, QPoint(11, 3));
    EXPECT_EQ(at.textBounds.top(), 13);
    at = LayOutSpeedButton(QRect(0, 0, 30, 40), glyph, text, blGlyphBottom, 3, 2);
    EXPECT_EQ(at.glyphPos, QPoint(11, 40 - 3 - 8));
    // Spacing -1 centres the caption in the room after the glyph; margin and
    // spacing -1 share the free room in thirds.
    at = LayOutSpeedButton(room, glyph, text, blGlyphLeft, 0, -1);
    EXPECT_EQ(at.textBounds.left(), 8 + (40 - 8 - 20) / 2);
    at = LayOutSpeedButton(room, glyph, text, blGlyphLeft, -1, -1);
    EXPECT_EQ(at.glyphPos.x(), 4);
    EXPECT_EQ(at.textBounds.left(), 16);
    // No caption: no gap, the glyph alone is centred.
    at = LayOutSpeedButton(room, glyph, QSize(), blGlyphLeft, -1, 4);
    EXPECT_EQ(at.glyphPos, QPoint(16, 6));
}

TEST_F(SpeedButtonTest, PaintedGlyphFollowsMarginAndPressedOffset)
{
    SetThemesEnabled(false);
    const auto restore = qScopeGuard([] { SetThemesEnabled(true); });
    TSpeedButton* button = buttons[0];
    button->resize(40, 20);
    button->SetGlyph(MakeGlyph(1).get());
    button->SetMargin(5);
    // The frame takes 2 pixels, then 5 margin, then the red square at 2.
    EXPECT_EQ(RedBox(button->grab().toImage()), QRect(2 + 5 + 2, 8, 4, 4));
    button->SetLayout(blGlyphRight);
    EXPECT_EQ(RedBox(button->grab().toImage()).left(), 40 - 2 - 5 - 8 + 2);
    // Pressed: moved one pixel right and down.
    button->SetLayout(blGlyphLeft);
    test::WidgetDriver driver(button);
    driver.MouseDown(button->rect().center());
    EXPECT_EQ(RedBox(button->grab().toImage()), QRect(10, 9, 4, 4));
    driver.MouseUp(button->rect().center());
}

TEST_F(SpeedButtonTest, FlatButtonShowsItsFrameOnlyWhenHot)
{
    SetThemesEnabled(false);
    const auto restore = qScopeGuard([] { SetThemesEnabled(true); });
    TSpeedButton* button = buttons[0];
    button->SetFlat(true);
    test::WidgetDriver(button).Leave();
    ASSERT_FALSE(button->MouseInControl());
    const QImage rest = button->grab().toImage();
    const QColor face = ColorToQColor(clBtnFace);
    EXPECT_EQ(rest.pixelColor(0, 0), face);
    test::WidgetDriver(button).MouseMove(button->rect().center());
    EXPECT_TRUE(button->MouseInControl());
    const QImage hot = button->grab().toImage();
    EXPECT_EQ(hot.pixelColor(0, 0), ColorToQColor(clBtnHighlight));
    EXPECT_EQ(hot.pixelColor(24, 24), ColorToQColor(clBtnShadow));
    test::WidgetDriver(button).Leave();
    EXPECT_FALSE(button->MouseInControl());
}

TEST_F(SpeedButtonTest, DisabledGlyphTakesTheSecondImage)
{
    SetThemesEnabled(false);
    const auto restore = qScopeGuard([] { SetThemesEnabled(true); });
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(ColorToQColor(clOlive));
    image.setPixelColor(3, 3, Qt::red);       // normal
    image.setPixelColor(8 + 5, 5, Qt::red);   // disabled
    TBitmap glyph;
    glyph.SetImage(image);
    TSpeedButton* button = buttons[0];
    button->SetGlyph(&glyph);
    EXPECT_EQ(button->NumGlyphs(), 2);
    const QRect normal = RedBox(button->grab().toImage());
    button->SetEnabled(false);
    const QRect disabled = RedBox(button->grab().toImage());
    EXPECT_EQ(disabled.topLeft() - normal.topLeft(), QPoint(2, 2));
}

TEST(PanelTest, BevelsAndParentBackground)
{
    SetThemesEnabled(false);
    const auto restore = qScopeGuard([] { SetThemesEnabled(true); });
    QWidget window;
    window.resize(100, 60);
    auto* panel = new TPanel(&window);
    panel->setGeometry(0, 0, 50, 30);
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(2);
    panel->SetBevelWidth(2);
    EXPECT_EQ(panel->InnerRect(), QRect(6, 6, 38, 18));
    panel->SetColor(clYellow);
    const QImage image = panel->grab().toImage();
    EXPECT_EQ(image.pixelColor(1, 1), ColorToQColor(clBtnHighlight));
    EXPECT_EQ(image.pixelColor(48, 28), ColorToQColor(clBtnShadow));
    EXPECT_EQ(image.pixelColor(2, 2), ColorToQColor(clYellow));      // the border
    EXPECT_EQ(image.pixelColor(4, 4), ColorToQColor(clBtnShadow));   // lowered inner
    EXPECT_EQ(image.pixelColor(45, 25), ColorToQColor(clBtnHighlight));
    EXPECT_EQ(image.pixelColor(20, 15), ColorToQColor(clYellow));
}

TEST(ShapeTest, SquaresAndCirclesAreCentredOnTheShorterSide)
{
    TShape shape;
    shape.resize(80, 40);
    EXPECT_EQ(shape.ShapeRect(), QRect(0, 0, 80, 40));
    shape.SetShape(stSquare);
    EXPECT_EQ(shape.ShapeRect(), QRect(20, 0, 40, 40));
    shape.Pen()->SetWidth(4);
    shape.SetShape(stCircle);
    EXPECT_EQ(shape.ShapeRect(), QRect(22, 2, 36, 36));
    shape.Brush()->SetColor(clRed);
    const QImage image = shape.grab().toImage();
    EXPECT_EQ(image.pixelColor(40, 20), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(21, 1), QColor(Qt::red));  // outside the circle
}

}  // namespace
}  // namespace tk
