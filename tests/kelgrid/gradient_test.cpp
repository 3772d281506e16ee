// Gradients on image canvases: when they paint, the ramp's ends, the hot
// looks, painting behind content, and the change rules.

#include "kelgrid/controls/orvgraph.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/themes.h"

#include <QImage>
#include <QScopedValueRollback>
#include <QWidget>
#include <gtest/gtest.h>

namespace kelgrid {
namespace {

// Themes off (or on) for one test.
class ThemesSwitch {
public:
    explicit ThemesSwitch(bool on) : old_(tk::ThemesEnabled()) { tk::SetThemesEnabled(on); }
    ~ThemesSwitch() { tk::SetThemesEnabled(old_); }

private:
    bool old_;
};

tk::TColor At(const QImage& image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y);
    return tk::RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// Colours within one step of each other per channel (ramps round).
bool Near(tk::TColor a, tk::TColor b)
{
    const auto channel = [](tk::TColor c, int shift) { return int((c >> shift) & 0xFF); };
    for (int shift : {0, 8, 16})
        if (std::abs(channel(a, shift) - channel(b, shift)) > 3)
            return false;
    return true;
}

class GradientTest : public ::testing::Test {
protected:
    GradientTest() : image(40, 40, QImage::Format_RGB32) { image.fill(Qt::white); }
    QImage image;
    const tk::TColor x = tk::RGB(40, 120, 200);
};

TEST_F(GradientTest, PaintsOnlyWhenEnabledActiveAndNotLeftToTheTheme)
{
    ThemesSwitch themes(false);
    TOrvGradient gradient;
    EXPECT_TRUE(gradient.IsActive(false));
    {
        QScopedValueRollback<bool> off(GradientEnabled, false);
        EXPECT_FALSE(gradient.IsActive(true));
    }
    gradient.SetActive(false);
    EXPECT_FALSE(gradient.IsActive(true));
    gradient.SetActive(true);
    EXPECT_FALSE(gradient.IsHotActive());
    gradient.SetOptions(goGradient | goHotTrack);
    EXPECT_TRUE(gradient.IsHotActive());

    tk::SetThemesEnabled(true);
    EXPECT_FALSE(gradient.IsActive(false));
    EXPECT_TRUE(gradient.IsActive(true));
    EXPECT_FALSE(gradient.IsHotActive());
}

TEST_F(GradientTest, TheDefaultRampRunsFromTheWindowColourToAShadeOfTheCallersColour)
{
    TOrvGradient gradient;
    {
        tk::TCanvas canvas(&image);
        gradient.FillRect(canvas, QRect(0, 0, 40, 40), x, false, false);
    }
    EXPECT_TRUE(Near(At(image, 20, 0), tk::ColorToRGB(tk::clWindow)));
    EXPECT_TRUE(Near(At(image, 20, 39), tk::Shade(x, -25)));
    // Vertical: one colour along a row.
    EXPECT_EQ(At(image, 0, 20), At(image, 39, 20));

    // Swapped, and horizontal: the ends change places and sides.
    gradient.SetSwapColors(true);
    gradient.SetDirection(gdHorizontal);
    {
        tk::TCanvas canvas(&image);
        gradient.FillRect(canvas, QRect(0, 0, 40, 40), x, false, false);
    }
    EXPECT_TRUE(Near(At(image, 0, 20), tk::Shade(x, -25)));
    EXPECT_TRUE(Near(At(image, 39, 20), tk::ColorToRGB(tk::clWindow)));
}

TEST_F(GradientTest, HotTrackingFramesASolidFillAndPressingDarkensIt)
{
    TOrvGradient gradient;
    gradient.SetOptions(goHotTrack);
    {
        tk::TCanvas canvas(&image);
        gradient.FillRect(canvas, QRect(0, 0, 40, 40), x, true, false);
    }
    EXPECT_EQ(At(image, 0, 0), tk::Shade(x, -50));
    EXPECT_EQ(At(image, 39, 20), tk::Shade(x, -50));
    EXPECT_EQ(At(image, 20, 20), x);
    {
        tk::TCanvas canvas(&image);
        gradient.FillRect(canvas, QRect(0, 0, 40, 40), x, true, true);
    }
    EXPECT_EQ(At(image, 20, 20), tk::Shade(x, -25));
    // Not hot: the plain solid look.
    {
        tk::TCanvas canvas(&image);
        gradient.FillRect(canvas, QRect(0, 0, 40, 40), x, false, false);
    }
    EXPECT_EQ(At(image, 0, 0), x);

    // The hot colour replaces the base while hot with goHotColor.
    gradient.SetOptions(goHotColor);
    {
        tk::TCanvas canvas(&image);
        gradient.FillRect(canvas, QRect(0, 0, 40, 40), x, true, false);
    }
    EXPECT_EQ(At(image, 20, 20), DefaultHotColor);
}

TEST_F(GradientTest, FillBackKeepsTheContentAndReplacesTheBackground)
{
    const tk::TColor red = tk::RGB(255, 0, 0);
    image.fill(QColor(255, 0, 0));
    for (int px = 10; px < 30; ++px)
        image.setPixel(px, 20, qRgb(0, 0, 0));  // a line of "text"
    TOrvGradient gradient;
    {
        tk::TCanvas canvas(&image);
        gradient.FillBack(canvas, QRect(0, 0, 40, 40), red, 0, 2, false, false, false);
    }
    EXPECT_EQ(At(image, 15, 20), tk::RGB(0, 0, 0));
    EXPECT_NE(At(image, 15, 10), red);
    EXPECT_TRUE(Near(At(image, 20, 0), tk::ColorToRGB(tk::clWindow)));
}

TEST(GradientChange, SettersReportRealChangesAndChangeTakesOnlyALikeGradient)
{
    TOrvGradientButton button;
    EXPECT_EQ(button.Options(), TOrvGradientOptions(goGradient | goHotButton));
    int changes = 0;
    button.OnChange = [&](QObject*) { ++changes; };
    button.SetStartColor(tk::clWindow);  // unchanged
    button.SetStartColor(tk::clAqua);
    EXPECT_EQ(changes, 1);

    TOrvGradient other;
    other.SetEndColor(tk::clTeal);
    EXPECT_FALSE(button.Change(&other));  // other options
    EXPECT_FALSE(button.Change(nullptr));
    other.SetOptions(button.Options());
    EXPECT_TRUE(button.Change(&other));
    EXPECT_EQ(button.EndColor(), tk::clTeal);
    EXPECT_EQ(changes, 2);
    // Assign copies silently.
    other.SetHotColor(tk::clNavy);
    button.Assign(&other);
    EXPECT_EQ(button.HotColor(), tk::clNavy);
    EXPECT_EQ(changes, 2);
}

// A see-through control, and one with a gradient that may show its
// parent's background.
class TSeeThrough : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Transparent MEMBER transparent)
public:
    bool transparent = true;
};

class TGradientPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QObject* Gradient READ Gradient)
    Q_PROPERTY(bool ParentBackground MEMBER parentBackground)
public:
    QObject* Gradient() const { return nullptr; }
    bool parentBackground = true;
};

TEST(GradientThemes, ControlsNeedRepaintingOnlyWhenSeeThroughAndUnthemed)
{
    ThemesSwitch themes(false);
    QWidget plain;
    TSeeThrough seeThrough;
    TGradientPanel panel;
    EXPECT_FALSE(ControlNeedsInvalidate(&plain));
    EXPECT_FALSE(ControlNeedsInvalidate(nullptr));
    EXPECT_TRUE(ControlNeedsInvalidate(&seeThrough));
    EXPECT_TRUE(NeedsInvalidate(&panel));
    seeThrough.transparent = false;
    panel.parentBackground = false;
    EXPECT_FALSE(ControlNeedsInvalidate(&seeThrough));
    EXPECT_FALSE(ControlNeedsInvalidate(&panel));
    seeThrough.transparent = true;
    tk::SetThemesEnabled(true);
    EXPECT_FALSE(ControlNeedsInvalidate(&seeThrough));
}

}  // namespace
}  // namespace kelgrid

#include "gradient_test.moc"
