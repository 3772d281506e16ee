#include "toolkit/ui/clipboard.h"
#include "toolkit/ui/cursors.h"
#include "toolkit/ui/sysinfo.h"

#include "tests/support/qt_printers.h"

#include <QSet>
#include <gtest/gtest.h>

namespace tk {
namespace {

using namespace CursorValues;

TEST(Clipboard, TextRoundTripsThroughTheRealClipboard)
{
    const QString cells = QStringLiteral("Año\t€ 12,50\r\nÑandú\t\r\n");
    SetClipboardText(cells);
    EXPECT_TRUE(ClipboardHasText());
    EXPECT_EQ(ClipboardText(), cells);
    SetClipboardText(QStringLiteral("second"));
    EXPECT_EQ(ClipboardText(), QStringLiteral("second"));
}

// The grid shows these while sizing columns and rows and dragging them:
// each must look different from the others and from the arrow.
TEST(Cursors, GridCursorsAreDistinctAndUnknownValuesGiveTheArrow)
{
    QSet<int> shapes;
    for (int value : {crArrow, crDrag, crMultiDrag, crHSplit, crVSplit, crSizeWE, crSizeNS, crHandPoint,
                      crIBeam, crHourGlass, crNoDrop, crCross})
        shapes.insert(CursorShapeFor(value));
    EXPECT_EQ(shapes.size(), 12);
    EXPECT_EQ(CursorShapeFor(crDefault), Qt::ArrowCursor);
    EXPECT_EQ(CursorShapeFor(12345), Qt::ArrowCursor);
    EXPECT_EQ(CursorFor(crSizeWE).shape(), Qt::SizeHorCursor);
}

TEST(SystemInfo, FactsComeFromTheRunningApplication)
{
    const QRect screen = ScreenRect();
    EXPECT_FALSE(screen.isEmpty());
    EXPECT_TRUE(screen.contains(WorkAreaRect()));
    EXPECT_EQ(WorkAreaAt(screen.center()), WorkAreaRect());
    EXPECT_EQ(WorkAreaAt(QPoint(-100000, -100000)), WorkAreaRect());
    EXPECT_GT(ScrollBarExtent(), 0);
    EXPECT_GT(DragThreshold(), 0);
    EXPECT_GT(DoubleClickTime(), 0);
    EXPECT_GE(WheelScrollLines(), 1);
    const qint64 before = TickCount();
    EXPECT_GE(TickCount(), before);
    EXPECT_FALSE(IsKeyDown(VK_LEFT));  // only the modifiers can be asked for
}

}  // namespace
}  // namespace tk
