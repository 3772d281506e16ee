#include "toolkit/ui/flatscrollbar.h"

#include "tests/support/qt_printers.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QImage>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <ostream>

namespace tk {
namespace {

struct InfoCase {
    const char* name;
    TScrollInfo given;
    TScrollInfo stored;
    int largest;
};

void PrintTo(const InfoCase& c, std::ostream* os)
{
    *os << c.name;
}

// "min..max page value" of the Qt bar.
QString QtState(const QScrollBar& bar)
{
    return QStringLiteral("%1..%2 page %3 at %4")
        .arg(bar.minimum())
        .arg(bar.maximum())
        .arg(bar.pageStep())
        .arg(bar.value());
}

class FlatScrollBarInfo : public ::testing::TestWithParam<InfoCase> {};

TEST_P(FlatScrollBarInfo, IsNormalisedAndPutOnTheQtBarQuietly)
{
    const InfoCase& c = GetParam();
    QScrollBar bar(Qt::Vertical);
    bar.setRange(-50, 50);
    bar.setValue(-40);
    TFlatScrollBar flat(&bar);
    int moved = 0;
    QObject::connect(&bar, &QScrollBar::valueChanged, [&] { ++moved; });

    flat.SetScrollInfo(c.given);
    EXPECT_EQ(flat.ScrollInfo(), c.stored);
    EXPECT_EQ(flat.LargestPosition(), c.largest);
    EXPECT_EQ(QtState(bar), QStringLiteral("%1..%2 page %3 at %4")
                                .arg(c.stored.Min)
                                .arg(c.largest)
                                .arg(c.stored.Page)
                                .arg(c.stored.Pos));
    EXPECT_EQ(moved, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FlatScrollBarInfo,
    ::testing::Values(InfoCase{"PageZeroReachesMax", {1, 10, 0, 12}, {1, 10, 0, 10}, 10},
                      InfoCase{"PageLeavesMaxMinusPagePlusOne", {1, 20, 5, 18}, {1, 20, 5, 16}, 16},
                      InfoCase{"PositionInsideIsKept", {1, 20, 5, 7}, {1, 20, 5, 7}, 16},
                      InfoCase{"PositionBelowMinIsMin", {0, 4, 0, -3}, {0, 4, 0, 0}, 4},
                      InfoCase{"PageBeyondTheUnitsIsClamped", {1, 5, 9, 3}, {1, 5, 5, 1}, 1},
                      InfoCase{"NegativePageIsZero", {0, 4, -2, 2}, {0, 4, 0, 2}, 4},
                      InfoCase{"MaxBelowMinIsMin", {3, 1, 0, 2}, {3, 3, 0, 3}, 3},
                      InfoCase{"AllOnes", {1, 1, 1, 1}, {1, 1, 1, 1}, 1},
                      InfoCase{"ThreePositionModel", {0, 5, 2, 5}, {0, 5, 2, 4}, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FlatScrollBar, PositionIsClampedAndFollowsTheUser)
{
    QScrollBar bar(Qt::Horizontal);
    TFlatScrollBar flat(&bar);
    flat.SetScrollInfo({0, 99, 10, 0});
    flat.SetPosition(500);
    EXPECT_EQ(flat.Position(), 90);
    flat.SetPosition(-1);
    EXPECT_EQ(flat.Position(), 0);
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);  // the user clicks the arrow
    EXPECT_EQ(flat.ScrollInfo().Pos, 1);
}

// A scroll area shows its bars "as needed": nothing to scroll hides the bar.
TEST(FlatScrollBar, NothingToScrollHidesTheBarOfAScrollArea)
{
    QAbstractScrollArea area;
    area.resize(200, 200);
    area.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area.show();
    TFlatScrollBar flat(area.verticalScrollBar());
    flat.SetScrollInfo({1, 30, 10, 1});
    QCoreApplication::processEvents();  // the area shows and hides its bars from the event loop
    EXPECT_TRUE(flat.Scrollable());
    EXPECT_TRUE(area.verticalScrollBar()->isVisible());
    flat.SetScrollInfo({1, 1, 1, 1});
    QCoreApplication::processEvents();
    EXPECT_FALSE(flat.Scrollable());
    EXPECT_FALSE(area.verticalScrollBar()->isVisible());
}

// The groove below the thumb, in the rendered bar.
QColor GrooveColor(QScrollBar& bar)
{
    const QImage image = bar.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() - image.height() / 4);
}

TEST(FlatScrollBar, StyleSwitchesBetweenTheApplicationLookAndTheFlatColour)
{
    QScrollBar bar(Qt::Vertical);
    bar.resize(18, 240);
    TFlatScrollBar flat(&bar);
    flat.SetScrollInfo({0, 100, 10, 0});
    const QColor magenta(255, 0, 255);
    flat.SetColor(magenta);
    EXPECT_NE(GrooveColor(bar), magenta);  // regular: the colour is kept for later

    flat.SetStyle(ssFlat);
    EXPECT_EQ(GrooveColor(bar), magenta);
    flat.SetColor(QColor(0, 128, 0));
    EXPECT_EQ(GrooveColor(bar), QColor(0, 128, 0));
    flat.SetStyle(ssHotTrack);
    EXPECT_EQ(GrooveColor(bar), QColor(0, 128, 0));

    flat.SetStyle(ssRegular);
    EXPECT_NE(GrooveColor(bar), QColor(0, 128, 0));
    EXPECT_TRUE(bar.styleSheet().isEmpty());
}

}  // namespace
}  // namespace tk
