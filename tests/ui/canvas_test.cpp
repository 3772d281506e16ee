#include "toolkit/ui/canvas.h"
#include "toolkit/ui/edges.h"
#include "toolkit/ui/pictures.h"

#include <QFontMetrics>
#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>

namespace tk {
namespace {

constexpr TColor kPaper = 0xFFFFFF;

// A white image with a canvas on it, font fixed so that measures repeat.
struct Surface {
    QImage image;
    TCanvas canvas;
    explicit Surface(int width = 200, int height = 100) : image(MakeImage(width, height)), canvas(&image)
    {
        canvas.Font()->SetName(QStringLiteral("DejaVu Sans"));
        canvas.Font()->SetSize(10);
        canvas.Font()->SetColor(clBlack);
    }
    static QImage MakeImage(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }
    TColor At(int x, int y)
    {
        canvas.Release();
        return QColorToColor(image.pixelColor(x, y));
    }
    // Bounds of every pixel that is not white.
    QRect Ink()
    {
        canvas.Release();
        QRect bounds;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    bounds |= QRect(x, y, 1, 1);
        return bounds;
    }
};

TCanvas& Measuring(TCanvas& canvas)
{
    canvas.Font()->SetName(QStringLiteral("DejaVu Sans"));
    canvas.Font()->SetSize(10);
    return canvas;
}

int Width(TCanvas& canvas, const QString& text)
{
    return canvas.TextWidth(text);
}

TEST(DrawText, WordBreakPutsOnALineWhatFitsAndNoMore)
{
    TCanvas canvas;
    Measuring(canvas);
    // Equal words, so that any two of them measure the same.
    const QString text = QStringLiteral("aaa aaa aaa");
    const int lineHeight = canvas.TextHeight(QStringLiteral("Xg"));
    const int twoWords = Width(canvas, QStringLiteral("aaa aaa"));

    QRect wide(0, 0, twoWords, 0);
    EXPECT_EQ(canvas.DrawText(text, wide, dtWordBreak | dtCalcRect), 2 * lineHeight);
    EXPECT_EQ(wide.width(), twoWords);

    QRect narrow(0, 0, twoWords - 1, 0);
    EXPECT_EQ(canvas.DrawText(text, narrow, dtWordBreak | dtCalcRect), 3 * lineHeight);
    EXPECT_EQ(narrow.width(), Width(canvas, QStringLiteral("aaa")));
}

TEST(DrawText, CalcRectKeepsTheTopLeftAndWidensForAWordTooLong)
{
    TCanvas canvas;
    Measuring(canvas);
    QRect rect(5, 7, 10, 0);
    canvas.DrawText(QStringLiteral("unbreakable"), rect, dtWordBreak | dtCalcRect);
    EXPECT_EQ(rect.topLeft(), QPoint(5, 7));
    EXPECT_EQ(rect.width(), Width(canvas, QStringLiteral("unbreakable")));
    EXPECT_EQ(rect.height(), canvas.TextHeight(QStringLiteral("u")));
}

TEST(DrawText, LineBreaksCountUnlessSingleLine)
{
    TCanvas canvas;
    Measuring(canvas);
    const int lineHeight = canvas.TextHeight(QStringLiteral("X"));
    QRect multi(0, 0, 500, 0);
    EXPECT_EQ(canvas.DrawText(QStringLiteral("one\r\ntwo\nthree"), multi, dtCalcRect), 3 * lineHeight);
    QRect single(0, 0, 500, 0);
    EXPECT_EQ(canvas.DrawText(QStringLiteral("one\r\ntwo"), single, dtCalcRect | dtSingleLine), lineHeight);
}

struct PrefixCase {
    const char* name;
    const char* text;
    unsigned flags;
    const char* measuredAs;
};
void PrintTo(const PrefixCase& c, std::ostream* os)
{
    *os << c.name;
}

class DrawTextPrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(DrawTextPrefix, MeasuresTheShownText)
{
    TCanvas canvas;
    Measuring(canvas);
    QRect rect(0, 0, 500, 0);
    canvas.DrawText(QString::fromUtf8(GetParam().text), rect, GetParam().flags | dtCalcRect | dtSingleLine);
    EXPECT_EQ(rect.width(), Width(canvas, QString::fromUtf8(GetParam().measuredAs)));
}

INSTANTIATE_TEST_SUITE_P(Table, DrawTextPrefix,
                         ::testing::Values(PrefixCase{"markerDropped", "&File", 0, "File"},
                                           PrefixCase{"doubledIsLiteral", "a&&b", 0, "a&b"},
                                           PrefixCase{"trailingDropped", "End&", 0, "End"},
                                           PrefixCase{"noPrefixKeepsAll", "&File", dtNoPrefix, "&File"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DrawText, EndEllipsisFitsTheRectangleAndEndsInAnEllipsis)
{
    Surface s;
    const QString text = QStringLiteral("The quick brown fox jumps over the lazy dog");
    QRect rect(10, 10, 80, 20);
    QRect measured = rect;
    s.canvas.DrawText(text, measured, dtSingleLine | dtEndEllipsis | dtCalcRect);
    EXPECT_LE(measured.width(), 80);
    EXPECT_GT(measured.width(), 40);
    QRect plain = rect;
    s.canvas.DrawText(text, plain, dtSingleLine | dtCalcRect);
    EXPECT_GT(plain.width(), 80);

    s.canvas.DrawText(text, rect, dtSingleLine | dtEndEllipsis);
    const QRect ink = s.Ink();
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), 89);
    EXPECT_GT(ink.right(), 70);  // the ellipsis sits at the end
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip)
{
    const QString text = QStringLiteral("Wide text that cannot fit");
    Surface clipped;
    QRect rect(10, 10, 30, 20);
    clipped.canvas.DrawText(text, rect, dtSingleLine);
    EXPECT_LE(clipped.Ink().right(), 39);

    Surface unclipped;
    QRect again(10, 10, 30, 20);
    unclipped.canvas.DrawText(text, again, dtSingleLine | dtNoClip);
    EXPECT_GT(unclipped.Ink().right(), 60);
}

struct AlignCase {
    const char* name;
    unsigned flags;
};
void PrintTo(const AlignCase& c, std::ostream* os)
{
    *os << c.name;
}

class DrawTextAlign : public ::testing::TestWithParam<AlignCase> {};

TEST_P(DrawTextAlign, PlacesTheTextInTheRectangle)
{
    Surface s;
    const QRect rect(20, 10, 160, 60);
    QRect at = rect;
    const unsigned flags = GetParam().flags | dtSingleLine;
    s.canvas.DrawText(QStringLiteral("Mid"), at, flags);
    const QRect ink = s.Ink();
    ASSERT_TRUE(rect.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    const int lineHeight = s.canvas.TextHeight(QStringLiteral("Mid"));
    const int textWidth = s.canvas.TextWidth(QStringLiteral("Mid"));
    const int expectedLeft = (flags & dtRight)    ? rect.right() + 1 - textWidth
                             : (flags & dtCenter) ? rect.left() + (rect.width() - textWidth) / 2
                                                  : rect.left();
    const int expectedTop = (flags & dtVCenter)  ? rect.top() + (rect.height() - lineHeight) / 2
                            : (flags & dtBottom) ? rect.bottom() + 1 - lineHeight
                                                 : rect.top();
    // Glyphs sit inside their advance box: within a few pixels of its edges.
    EXPECT_NEAR(ink.left(), expectedLeft, 3);
    EXPECT_NEAR(ink.right(), expectedLeft + textWidth - 1, 3);
    EXPECT_GE(ink.top(), expectedTop);
    EXPECT_LE(ink.bottom(), expectedTop + lineHeight - 1);
}

INSTANTIATE_TEST_SUITE_P(Table, DrawTextAlign,
                         ::testing::Values(AlignCase{"leftTop", dtLeft}, AlignCase{"centre", dtCenter},
                                           AlignCase{"right", dtRight}, AlignCase{"vcentre", dtVCenter},
                                           AlignCase{"bottomRight", dtBottom | dtRight}),
                         [](const auto& info) { return std::string(info.param.name); });

// TextRect: the text's top-left corner at (x, y), cut to the rectangle; on a
// mirrored canvas both sit at their mirrored places and the text reads
// left to right.
struct TextRectCase {
    const char* name;
    bool mirrored;
    QRect rect;
    int x;
    const char* text;
};
void PrintTo(const TextRectCase& c, std::ostream* os)
{
    *os << c.name;
}

class TextRectPlace : public ::testing::TestWithParam<TextRectCase> {};

TEST_P(TextRectPlace, PutsTheTextAtItsCornerInsideTheRectangle)
{
    constexpr int kWidth = 200;
    constexpr int kTop = 12;
    Surface s(kWidth, 50);
    const TextRectCase& c = GetParam();
    const QString text = QString::fromLatin1(c.text);
    s.canvas.SetMirrored(c.mirrored, kWidth);
    s.canvas.Brush()->SetColor(clWhite);
    s.canvas.TextRect(c.rect, c.x, kTop, text);
    const QRect box(c.x, kTop, s.canvas.TextWidth(text), s.canvas.TextHeight(text));
    const QRect place =
        c.mirrored ? QRect(kWidth - box.right() - 1, box.top(), box.width(), box.height()) : box;
    const QRect rect = c.mirrored
                           ? QRect(kWidth - c.rect.right() - 1, c.rect.top(), c.rect.width(), c.rect.height())
                           : c.rect;
    const QRect ink = s.Ink();
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(rect.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    // Glyphs sit inside their advance box: within a few pixels of its edges.
    EXPECT_NEAR(ink.left(), std::max(place.left(), rect.left()), 3);
    EXPECT_NEAR(ink.right(), std::min(place.right(), rect.right()), 3);
    EXPECT_GE(ink.top(), place.top());
    EXPECT_LE(ink.bottom(), place.bottom());
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextRectPlace,
    ::testing::Values(TextRectCase{"inside", false, QRect(10, 10, 150, 30), 14, "Mid"},
                      TextRectCase{"cutAtTheRight", false, QRect(10, 10, 40, 30), 14, "WWWWWWWWWWWWWWWW"},
                      TextRectCase{"mirrored", true, QRect(10, 10, 150, 30), 14, "Mid"},
                      TextRectCase{"mirroredAndCut", true, QRect(10, 10, 40, 30), 14, "WWWWWWWWWWWWWWWW"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DrawText, AMeasuringCanvasAnswersWithoutDrawing)
{
    TCanvas canvas;
    EXPECT_FALSE(canvas.CanDraw());
    QRect rect(0, 0, 100, 20);
    EXPECT_GT(canvas.DrawText(QStringLiteral("text"), rect, dtSingleLine), 0);
    EXPECT_GT(canvas.TextWidth(QStringLiteral("text")), 0);
    canvas.FillRect(rect);  // ignored
    EXPECT_EQ(canvas.Pixel(1, 1), clNone);
}

// --- DrawEdge -------------------------------------------------------------------

// A palette whose 3-D colours are all different.
QPalette EdgePalette()
{
    QPalette palette;
    palette.setColor(QPalette::Light, QColor(0xF0, 0, 0));      // clBtnHighlight
    palette.setColor(QPalette::Midlight, QColor(0, 0xF0, 0));   // cl3DLight
    palette.setColor(QPalette::Dark, QColor(0, 0, 0xF0));       // clBtnShadow
    palette.setColor(QPalette::Shadow, QColor(0x40, 0x40, 0));  // cl3DDkShadow
    palette.setColor(QPalette::Button, QColor(0x80, 0, 0x80));  // clBtnFace
    palette.setColor(QPalette::Base, QColor(0, 0x80, 0x80));    // clWindow
    palette.setColor(QPalette::WindowText, QColor(0x20, 0x20, 0x20));
    return palette;
}

struct EdgeCase {
    const char* name;
    unsigned edge;
    unsigned flags;
    // Expected colours at: outer top-left (0,0), outer bottom-right (9,9),
    // inner top-left (1,1), inner bottom-right (8,8), corners top-right
    // (9,0) and bottom-left (0,9), the middle (5,5).
    TColor outerTL, outerBR, innerTL, innerBR, topRight, bottomLeft, middle;
};
void PrintTo(const EdgeCase& c, std::ostream* os)
{
    *os << c.name;
}

class DrawEdgePixels : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(DrawEdgePixels, PaintTheBordersInTheirColours)
{
    Surface s(10, 10);
    s.canvas.SetPalette(EdgePalette());
    const EdgeCase& c = GetParam();
    QRect rect(0, 0, 10, 10);
    ASSERT_TRUE(DrawEdge(s.canvas, rect, c.edge, c.flags));
    const QPalette palette = EdgePalette();
    auto rgb = [&](TColor color) { return ColorToRGB(color, palette); };
    EXPECT_EQ(s.At(0, 0), rgb(c.outerTL));
    EXPECT_EQ(s.At(9, 9), rgb(c.outerBR));
    EXPECT_EQ(s.At(1, 1), rgb(c.innerTL));
    EXPECT_EQ(s.At(8, 8), rgb(c.innerBR));
    EXPECT_EQ(s.At(9, 0), rgb(c.topRight));
    EXPECT_EQ(s.At(0, 9), rgb(c.bottomLeft));
    EXPECT_EQ(s.At(5, 5), rgb(c.middle));
}

INSTANTIATE_TEST_SUITE_P(
    Table, DrawEdgePixels,
    ::testing::Values(EdgeCase{"raised", edgeRaised, bfRect, cl3DLight, cl3DDkShadow, clBtnHighlight,
                               clBtnShadow, cl3DDkShadow, cl3DDkShadow, kPaper},
                      EdgeCase{"sunken", edgeSunken, bfRect, clBtnShadow, clBtnHighlight, cl3DDkShadow,
                               cl3DLight, clBtnHighlight, clBtnHighlight, kPaper},
                      EdgeCase{"raisedSoft", edgeRaised, bfRect | bfSoft, clBtnHighlight, cl3DDkShadow,
                               cl3DLight, clBtnShadow, cl3DDkShadow, cl3DDkShadow, kPaper},
                      EdgeCase{"sunkenSoft", edgeSunken, bfRect | bfSoft, cl3DDkShadow, clBtnHighlight,
                               clBtnShadow, cl3DLight, clBtnHighlight, clBtnHighlight, kPaper},
                      EdgeCase{"etched", edgeEtched, bfRect, clBtnShadow, clBtnHighlight, clBtnHighlight,
                               clBtnShadow, clBtnHighlight, clBtnHighlight, kPaper},
                      EdgeCase{"bump", edgeBump, bfRect, cl3DLight, cl3DDkShadow, cl3DDkShadow, cl3DLight,
                               cl3DDkShadow, cl3DDkShadow, kPaper},
                      EdgeCase{"flatMiddle", edgeRaised, bfRect | bfFlat | bfMiddle, clBtnShadow, clBtnShadow,
                               clBtnFace, clBtnFace, clBtnShadow, clBtnShadow, clBtnFace},
                      EdgeCase{"monoMiddle", edgeRaised, bfRect | bfMono | bfMiddle, clWindowFrame,
                               clWindowFrame, clWindow, clWindow, clWindowFrame, clWindowFrame, clWindow},
                      EdgeCase{"innerOnlyOnTheBoundary", bdrRaisedInner, bfRect, clBtnHighlight, clBtnShadow,
                               kPaper, kPaper, clBtnShadow, clBtnShadow, kPaper},
                      EdgeCase{"topLeftOnly", edgeSunken, bfTopLeft, clBtnShadow, kPaper, cl3DDkShadow,
                               kPaper, clBtnShadow, clBtnShadow, kPaper}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DrawEdge, AdjustShrinksByWhatWasDrawnOnEachSide)
{
    TCanvas measuring;
    QRect both(0, 0, 20, 20);
    DrawEdge(measuring, both, edgeSunken, bfRect | bfAdjust);
    EXPECT_EQ(both, QRect(2, 2, 16, 16));
    QRect one(0, 0, 20, 20);
    DrawEdge(measuring, one, bdrRaisedOuter, bfTopLeft | bfAdjust);
    EXPECT_EQ(one, QRect(1, 1, 19, 19));
    QRect kept(0, 0, 20, 20);
    DrawEdge(measuring, kept, edgeRaised, bfRect);
    EXPECT_EQ(kept, QRect(0, 0, 20, 20));
    EXPECT_FALSE(DrawEdge(measuring, kept, 0, bfRect));
}

// --- Shapes, pictures, clipping, mirroring ---------------------------------------

TEST(Canvas, LinesLeaveOutTheirEndPointAndRectanglesStayInside)
{
    Surface s(20, 20);
    s.canvas.Pen()->SetColor(clRed);
    s.canvas.MoveTo(2, 2);
    s.canvas.LineTo(8, 2);
    EXPECT_EQ(s.At(2, 2), clRed);
    EXPECT_EQ(s.At(7, 2), clRed);
    EXPECT_EQ(s.At(8, 2), clWhite);
    EXPECT_EQ(s.canvas.PenPos(), QPoint(8, 2));

    s.canvas.Brush()->SetColor(clBlue);
    s.canvas.Rectangle(QRect(10, 10, 5, 5));
    EXPECT_EQ(s.At(10, 10), clRed);
    EXPECT_EQ(s.At(14, 14), clRed);
    EXPECT_EQ(s.At(12, 12), clBlue);
    EXPECT_EQ(s.At(15, 15), clWhite);
}

TEST(Canvas, FocusRectDrawnTwiceRestoresThePixels)
{
    Surface s(20, 20);
    s.canvas.Brush()->SetColor(clTeal);
    s.canvas.FillRect(QRect(0, 0, 20, 20));
    const QImage before = (s.canvas.Release(), s.image.copy());
    DrawFocusRect(s.canvas, QRect(2, 2, 10, 10));
    EXPECT_NE((s.canvas.Release(), s.image), before);
    DrawFocusRect(s.canvas, QRect(2, 2, 10, 10));
    EXPECT_EQ((s.canvas.Release(), s.image), before);
}

TEST(Canvas, ClipExcludeAndIntersectLimitFills)
{
    Surface s(30, 10);
    s.canvas.SetClipRect(QRect(0, 0, 20, 10));
    s.canvas.ExcludeClipRect(QRect(5, 0, 5, 10));
    s.canvas.IntersectClipRect(QRect(2, 0, 30, 10));
    s.canvas.Brush()->SetColor(clRed);
    s.canvas.FillRect(QRect(0, 0, 30, 10));
    EXPECT_EQ(s.At(1, 5), clWhite);  // outside the intersection
    EXPECT_EQ(s.At(3, 5), clRed);
    EXPECT_EQ(s.At(7, 5), clWhite);  // excluded
    EXPECT_EQ(s.At(15, 5), clRed);
    EXPECT_EQ(s.At(25, 5), clWhite);  // outside the clip rectangle
    s.canvas.ResetClip();
    s.canvas.FillRect(QRect(25, 0, 5, 10));
    EXPECT_EQ(s.At(25, 5), clRed);
}

TEST(Canvas, MirroredCanvasFlipsPlacesAndAnUnmirroredCellPaintsAtItsMirroredPlace)
{
    Surface s(100, 10);
    s.canvas.SetMirrored(true, 100);
    s.canvas.Brush()->SetColor(clRed);
    s.canvas.FillRect(QRect(0, 0, 10, 10));
    EXPECT_EQ(s.At(99, 5), clRed);
    EXPECT_EQ(s.At(90, 5), clRed);
    EXPECT_EQ(s.At(89, 5), clWhite);
    EXPECT_EQ(s.At(0, 5), clWhite);
    {
        TUnmirroredCell cell(s.canvas, QRect(20, 0, 30, 10));
        EXPECT_EQ(cell.Rect(), QRect(50, 0, 30, 10));
        EXPECT_FALSE(s.canvas.Mirrored());
        // Left-to-right inside the cell: its first pixel is the cell's left.
        s.canvas.Brush()->SetColor(clBlue);
        s.canvas.FillRect(QRect(cell.Rect().left(), 0, 3, 10));
    }
    EXPECT_TRUE(s.canvas.Mirrored());
    EXPECT_EQ(s.At(50, 5), clBlue);
    EXPECT_EQ(s.At(53, 5), clWhite);
}

TEST(Canvas, TransparentDrawLeavesOutExactlyTheKeyColour)
{
    TBitmap bitmap;
    bitmap.SetSize(4, 1);
    bitmap.Canvas()->Brush()->SetColor(clOlive);
    bitmap.Canvas()->FillRect(QRect(0, 0, 4, 1));
    bitmap.Canvas()->Brush()->SetColor(RGB(128, 128, 1));  // one off the key
    bitmap.Canvas()->FillRect(QRect(1, 0, 1, 1));
    bitmap.Canvas()->Brush()->SetColor(clNavy);
    bitmap.Canvas()->FillRect(QRect(3, 0, 1, 1));

    Surface s(10, 3);
    s.canvas.DrawTransparent(2, 1, bitmap.Image(), clOlive);
    EXPECT_EQ(s.At(2, 1), clWhite);
    EXPECT_EQ(s.At(3, 1), RGB(128, 128, 1));
    EXPECT_EQ(s.At(4, 1), clWhite);
    EXPECT_EQ(s.At(5, 1), clNavy);

    bitmap.SetTransparent(true);
    EXPECT_EQ(bitmap.TransparentColor(), clOlive);  // the bottom-left pixel
    Surface drawn(10, 3);
    drawn.canvas.Draw(0, 0, bitmap);
    EXPECT_EQ(drawn.At(0, 0), clWhite);
    EXPECT_EQ(drawn.At(3, 0), clNavy);
}

TEST(Canvas, CopyRectAndGrabCopyPixels)
{
    Surface source(10, 10);
    source.canvas.Brush()->SetColor(clGreen);
    source.canvas.FillRect(QRect(2, 2, 2, 2));
    Surface dest(10, 10);
    dest.canvas.CopyRect(QRect(0, 0, 4, 4), source.canvas, QRect(2, 2, 2, 2));
    EXPECT_EQ(dest.At(0, 0), clGreen);
    EXPECT_EQ(dest.At(3, 3), clGreen);
    EXPECT_EQ(dest.At(4, 4), clWhite);
}

TEST(Canvas, GradientRunsFromTheStartColourToTheEndColour)
{
    Surface s(101, 4);
    s.canvas.GradientFill(QRect(0, 0, 101, 4), clBlack, clWhite, TGradientDirection::gdHorizontal);
    EXPECT_LE(s.At(0, 0) & 0xFF, 2);
    EXPECT_GE(s.At(100, 0) & 0xFF, 253);
    EXPECT_NEAR(s.At(50, 0) & 0xFF, 128, 3);
    Surface v(4, 101);
    v.canvas.GradientFill(QRect(0, 0, 4, 101), clWhite, clBlack, TGradientDirection::gdVertical);
    EXPECT_GE(v.At(0, 0) & 0xFF, 253);
    EXPECT_LE(v.At(0, 100) & 0xFF, 2);
}

TEST(Bitmap, CanvasDrawsIntoTheImageAndSetSizeKeepsPixels)
{
    TBitmap bitmap;
    EXPECT_FALSE(bitmap.Canvas()->Painter());  // nothing to draw on yet
    bitmap.SetSize(4, 4);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect(QRect(0, 0, 2, 2));
    EXPECT_EQ(bitmap.Image().pixelColor(1, 1), QColor(Qt::red));
    bitmap.SetSize(6, 3);
    EXPECT_EQ(bitmap.Image().size(), QSize(6, 3));
    EXPECT_EQ(bitmap.Image().pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(bitmap.Image().pixelColor(5, 2), QColor(Qt::white));
    bitmap.Canvas()->FillRect(QRect(5, 2, 1, 1));  // drawing goes on after a resize
    EXPECT_EQ(bitmap.Image().pixelColor(5, 2), QColor(Qt::red));
}

TEST(Bitmap, MonochromeKeepsOnlyTheTransparentColourWhite)
{
    TBitmap bitmap;
    bitmap.SetSize(3, 1);
    bitmap.Canvas()->Brush()->SetColor(clFuchsia);
    bitmap.Canvas()->FillRect(QRect(0, 0, 3, 1));
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(QRect(1, 0, 1, 1));
    bitmap.SetTransparent(true);
    bitmap.SetTransparentColor(clFuchsia);
    bitmap.SetMonochrome(true);
    EXPECT_EQ(bitmap.Image().pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(bitmap.Image().pixelColor(1, 0), QColor(Qt::black));
}

TEST(Bitmap, ResourcesLoadByNameAndAMissingOneRaises)
{
    TBitmap bitmap;
    bitmap.LoadFromResourceName(QStringLiteral("KELDBCHECKBOXES"));
    EXPECT_EQ(bitmap.Width(), 9 * 13);
    EXPECT_EQ(bitmap.Height(), 13);
    EXPECT_THROW(bitmap.LoadFromResourceName(QStringLiteral("NOSUCHBITMAP")), EResNotFound);
    EXPECT_EQ(bitmap.Width(), 9 * 13);  // unchanged
}

}  // namespace
}  // namespace tk
