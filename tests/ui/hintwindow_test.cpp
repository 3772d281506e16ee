#include "toolkit/ui/canvas.h"
#include "toolkit/ui/hintwindow.h"

#include "tests/support/qt_printers.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

namespace tk {
namespace {

// A hint window with a fixed font, so that measures repeat.
struct THintWindowFixture {
    THintWindow window;
    THintWindowFixture()
    {
        window.Font()->SetName(QStringLiteral("DejaVu Sans"));
        window.Font()->SetSize(9);
    }
    QFontMetrics Metrics() const { return QFontMetrics(window.Font()->ToQFont(), &window); }
};

struct TCalcCase {
    const char* name;
    const char* text;
    // The widest the text may be: as wide as this text, plus 2 ("" for 1000).
    const char* fitting;
    QStringList lines;
};

class HintWindowCalcTest : public ::testing::TestWithParam<TCalcCase> {};

TEST_P(HintWindowCalcTest, MeasuresTheWrappedTextPlusTheMargins)
{
    THintWindowFixture hint;
    const QFontMetrics metrics = hint.Metrics();
    const TCalcCase& row = GetParam();
    const int maxWidth = *row.fitting ? metrics.horizontalAdvance(QString::fromUtf8(row.fitting)) + 2 : 1000;
    int widest = 0;
    for (const QString& line : row.lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QRect rect = hint.window.CalcHintRect(maxWidth, QString::fromUtf8(row.text), QVariant());
    EXPECT_EQ(rect, QRect(0, 0, widest + 6, metrics.height() * row.lines.size() + 2));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HintWindowCalcTest,
    ::testing::Values(
        TCalcCase{"OneLine", "Open the file", "", {"Open the file"}},
        TCalcCase{"WrapsBetweenWords", "alpha beta gamma", "alpha beta", {"alpha beta", "gamma"}},
        TCalcCase{"AWordTooWideStaysWhole", "incomprehensibilities", "in", {"incomprehensibilities"}},
        TCalcCase{"KeepsLineBreaks", "one\ntwo", "", {"one", "two"}},
        TCalcCase{"CountsAmpersandsAsText", "&Save", "", {"&Save"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HintWindow, TheCanvasFollowsTheWindowFont)
{
    THintWindowFixture hint;
    const int small = hint.window.CalcHintRect(1000, QStringLiteral("Text"), QVariant()).width();
    hint.window.Font()->SetSize(18);
    EXPECT_EQ(hint.window.Canvas()->Font()->Size(), 18);
    EXPECT_GT(hint.window.CalcHintRect(1000, QStringLiteral("Text"), QVariant()).width(), small);
}

TEST(HintWindow, PaintsBorderBackgroundAndTextInsideTheMargins)
{
    THintWindowFixture hint;
    const QString text = QStringLiteral("Hello");
    const QRect size = hint.window.CalcHintRect(1000, text, QVariant());
    hint.window.ActivateHint(size.translated(200, 200), text);
    ASSERT_EQ(hint.window.geometry(), QRect(200, 200, size.width(), size.height() + 4));
    const QImage image = hint.window.grab().toImage();
    const QColor border = ColorToQColor(clWindowFrame);
    const QColor paper = ColorToQColor(clInfoBk);
    EXPECT_EQ(image.pixelColor(0, 0), border);
    EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() - 1), border);
    EXPECT_EQ(image.pixelColor(1, 1), paper);
    QRect ink;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            if (image.pixelColor(x, y) != paper)
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    // Client area from (1, 1); the text 2 further in, ending 2 before the
    // client area's right edge.
    const QRect textArea(3, 3, size.width() - 6, image.height() - 6);
    EXPECT_TRUE(textArea.contains(ink))
        << ::testing::PrintToString(ink) << " in " << ::testing::PrintToString(textArea);
}

}  // namespace
}  // namespace tk
