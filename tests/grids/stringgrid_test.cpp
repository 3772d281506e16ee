// The grid base driven as a user would, through the string grid: keys,
// clicks, drags, the wheel and the scroll bars, with the grid's consistency
// check after each step.

#include "toolkit/ui/grids/stringgrid.h"

#include "tests/support/manual_timer_driver.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/localefacts.h"
#include "toolkit/core/streaming.h"
#include "toolkit/ui/grids/gridaxis.h"
#include "toolkit/ui/grids/inplaceedit.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace tk {
namespace {

using test::WidgetDriver;

// A string grid that opens the protected steps the tests drive.
class TTestGrid : public TStringGrid {
public:
    using TCustomGrid::StartColumnMoving;
    using TStringGrid::TStringGrid;
    QStringList log;

protected:
    void TopLeftChanged() override
    {
        log << QStringLiteral("topleft %1,%2").arg(LeftCol()).arg(TopRow());
        TStringGrid::TopLeftChanged();
    }
    void TimedScroll(TGridScrollDirections directions) override
    {
        log << QStringLiteral("timed %1").arg(int(directions));
        TStringGrid::TimedScroll(directions);
    }
};

// Ten columns of 64 and thirty rows of 24 pixels (65 and 25 with their
// lines), one fixed of each, cell (c, r) holding "c:r".
class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.resize(400, 300);
        grid.SetColCount(10);
        grid.SetRowCount(30);
        for (int c = 0; c < grid.ColCount(); ++c)
            for (int r = 0; r < grid.RowCount(); ++r)
                grid.SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
        grid.show();
        QApplication::setActiveWindow(&grid);
        grid.setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(grid.hasFocus());
    }

    void ExpectConsistent() { EXPECT_EQ(grid.CheckConsistency(), QString()); }
    QWidget* Viewport() { return grid.viewport(); }
    QPoint Center(int col, int row) { return grid.CellRect(col, row).center(); }
    // Where the line after column col's title is.
    QPoint TitleBorder(int col)
    {
        const QRect title = grid.CellRect(col, 0);
        return {title.right() + 1, title.center().y()};
    }
    void Press(int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {})
    {
        WidgetDriver(&grid).Press(key, modifiers, text);
        ExpectConsistent();
    }

    test::ManualTimerDriver clock;
    TTestGrid grid;
};

TEST_F(GridTest, ArrowsHomeEndAndPagesMoveTheCurrentCellAndSkipHiddenColumns)
{
    grid.SetColWidths(3, -1);
    grid.SetColWidths(9, -1);
    EXPECT_EQ(grid.Col(), 1);
    Press(Qt::Key_Right);
    EXPECT_EQ(grid.Col(), 2);
    Press(Qt::Key_Right);
    EXPECT_EQ(grid.Col(), 4) << "the hidden column 3 is skipped";
    Press(Qt::Key_Left);
    EXPECT_EQ(grid.Col(), 2);
    Press(Qt::Key_End);
    EXPECT_EQ(grid.Col(), 8) << "the last column is hidden";
    Press(Qt::Key_Home);
    EXPECT_EQ(grid.Col(), 1);
    Press(Qt::Key_Left);
    EXPECT_EQ(grid.Col(), 1) << "the fixed column is never current";
    Press(Qt::Key_Up);
    EXPECT_EQ(grid.Row(), 1);

    const int page = grid.VisibleRowCount();
    Press(Qt::Key_PageDown);
    EXPECT_EQ(grid.Row(), 1 + page);
    EXPECT_EQ(grid.TopRow(), 1 + page);
    Press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.Row(), 29);
    EXPECT_EQ(grid.Col(), 8);
    EXPECT_GE(grid.ColAxis().LastFullyVisible(Viewport()->width()), 8) << "scrolled into view";
    EXPECT_EQ(grid.RowAxis().LastFullyVisible(Viewport()->height()), 29);
    Press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.TopRow(), 1);
    EXPECT_EQ(grid.LeftCol(), 1);
}

TEST_F(GridTest, TabWalksTheRowsOnlyWithTabsOn)
{
    grid.SetColCount(4);
    Press(Qt::Key_End);
    EXPECT_EQ(grid.Col(), 3);
    grid.SetOptions(grid.Options() | goTabs);
    Press(Qt::Key_Tab);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 2) << "past the last cell of a row to the next row";
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Selection(), (TGridRect{3, 1, 3, 1})) << "Shift+Tab does not extend the selection";
}

TEST_F(GridTest, ShiftArrowsExtendTheSelectionFromTheAnchor)
{
    Press(Qt::Key_Right, Qt::ShiftModifier);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 2, 2}));
    Press(Qt::Key_Down);
    EXPECT_EQ(grid.Selection(), (TGridRect{2, 3, 2, 3}));
}

TEST_F(GridTest, TheBarsScrollByCellsAndLeftColNeverGoesIntoTheFixedColumns)
{
    QScrollBar* bar = grid.HorizontalBar();
    ASSERT_TRUE(bar->isVisible());
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid.LeftCol(), 2);
    EXPECT_EQ(bar->value(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid.LeftCol(), 2 + grid.VisibleColCount());
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(grid.LeftCol(), grid.ColAxis().MaxFirst(Viewport()->width()));
    EXPECT_EQ(grid.ColAxis().LastFullyVisible(Viewport()->width()), 9);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(grid.LeftCol(), 1);
    ExpectConsistent();

    grid.log.clear();
    grid.SetLeftCol(0);
    EXPECT_EQ(grid.LeftCol(), 1);
    EXPECT_TRUE(grid.log.isEmpty()) << "no change, no notice";
    grid.SetLeftCol(4);
    EXPECT_EQ(grid.log, QStringList{QStringLiteral("topleft 4,1")});
    EXPECT_EQ(bar->value(), 3);

    grid.ScrollHorizontally(TScrollCode::LineUp);
    EXPECT_EQ(grid.LeftCol(), 3);
    grid.ScrollHorizontally(TScrollCode::ThumbTrack, 4);
    EXPECT_EQ(grid.LeftCol(), 3) << "thumb tracking is off";
    grid.ScrollHorizontally(TScrollCode::ThumbPosition, 4);
    EXPECT_EQ(grid.LeftCol(), 5);
    grid.ScrollHorizontally(TScrollCode::ThumbPosition, 40);
    EXPECT_EQ(grid.LeftCol(), grid.ColAxis().MaxFirst(Viewport()->width())) << "no further than the end";

    QScrollBar* vertical = grid.VerticalBar();
    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid.TopRow(), 2);
    ExpectConsistent();
}

TEST_F(GridTest, CellRectAndMouseCoordOutsideTheShownCells)
{
    grid.SetLeftCol(5);
    EXPECT_TRUE(grid.CellRect(3, 1).isEmpty()) << "scrolled out";
    EXPECT_EQ(grid.CellRect(5, 1).left(), 65) << "right after the fixed column";
    EXPECT_EQ(grid.MouseCoord(70, 30), (TGridCoord{5, 1}));
    EXPECT_EQ(grid.MouseCoord(-1, 30), TGridCoord{});
    const QRect last = grid.CellRect(grid.ColAxis().LastVisible(Viewport()->width()), 1);
    EXPECT_LE(last.right(), Viewport()->width() - 1) << "clipped to the client area";
    EXPECT_TRUE(grid.CellRect(20, 1).isEmpty()) << "no such cell";
    grid.SetColWidths(6, -1);
    EXPECT_TRUE(grid.CellRect(6, 1).isEmpty()) << "hidden";
    EXPECT_EQ(grid.MouseCoord(65 + 65 + 1, 30), (TGridCoord{7, 1})) << "the hidden column takes no pixels";
    const QRect box = grid.BoxRect(0, 0, 5, 1);
    EXPECT_EQ(box, QRect(0, 0, 65 + 64, 25 + 24)) << "the fixed column, then column 5";
}

TEST_F(GridTest, AColumnIsSizedByDraggingItsTitleBorder)
{
    grid.SetOptions(grid.Options() | goColSizing);
    WidgetDriver mouse(Viewport());
    const QPoint border = TitleBorder(2);
    mouse.MouseMove(border);
    EXPECT_EQ(Viewport()->cursor().shape(), Qt::SplitHCursor) << "the sizing cursor over a border";
    mouse.MouseDown(border);
    EXPECT_EQ(grid.GridState(), gsColSizing);
    mouse.MouseMove(border + QPoint(20, 0));
    EXPECT_EQ(grid.ColWidths(2), 84) << "live";
    mouse.MouseMove(border + QPoint(30, 40));
    mouse.MouseUp(border + QPoint(30, 40));
    EXPECT_EQ(grid.ColWidths(2), 94);
    EXPECT_EQ(grid.GridState(), gsNormal);
    ExpectConsistent();

    // A border among the data rows sizes nothing.
    mouse.Click(QPoint(TitleBorder(3).x(), Center(3, 3).y()));
    EXPECT_EQ(grid.GridState(), gsNormal);
    EXPECT_EQ(grid.ColWidths(3), 64);
}

TEST_F(GridTest, AColumnIsMovedByDraggingItsTitleAndARefusedMoveGoesBack)
{
    grid.SetOptions(grid.Options() | goColMoving);
    grid.SetColWidths(2, 80);
    QList<QPair<int, int>> moved;
    grid.OnColumnMoved = [&](QObject*, int from, int to) { moved << qMakePair(from, to); };
    WidgetDriver mouse(Viewport());
    mouse.MouseDown(Center(2, 0));
    EXPECT_EQ(grid.GridState(), gsNormal) << "not before the drag threshold";
    mouse.MouseMove(Center(2, 0) + QPoint(2, 0));
    EXPECT_EQ(grid.GridState(), gsNormal);
    mouse.MouseMove(Center(4, 0));
    EXPECT_EQ(grid.GridState(), gsColMoving);
    mouse.MouseUp(Center(4, 0));
    EXPECT_EQ(moved, (QList<QPair<int, int>>{{2, 4}}));
    EXPECT_EQ(grid.Cells(4, 7), QStringLiteral("2:7"));
    EXPECT_EQ(grid.Cells(2, 7), QStringLiteral("3:7"));
    EXPECT_EQ(grid.ColWidths(4), 80) << "the width moves along";
    ExpectConsistent();

    grid.OnColumnMoving = [](QObject*, int, int, bool& accept) { accept = false; };
    mouse.MouseDown(Center(4, 0));
    mouse.MouseMove(Center(1, 0));
    mouse.MouseUp(Center(1, 0));
    EXPECT_EQ(grid.Cells(4, 7), QStringLiteral("2:7"));
    EXPECT_EQ(grid.ColWidths(4), 80) << "moved back";
    EXPECT_EQ(grid.ColWidths(1), 64);
    ExpectConsistent();
}

TEST_F(GridTest, RowsAreSizedAndMovedByTheirHeadersToo)
{
    grid.SetOptions(grid.Options() | goRowSizing | goRowMoving);
    WidgetDriver mouse(Viewport());
    const QRect header = grid.CellRect(0, 2);
    const QPoint border(header.center().x(), header.bottom() + 1);
    mouse.MouseDown(border);
    EXPECT_EQ(grid.GridState(), gsRowSizing);
    mouse.MouseMove(border + QPoint(0, 16));
    mouse.MouseUp(border + QPoint(0, 16));
    EXPECT_EQ(grid.RowHeights(2), 40);

    mouse.MouseDown(Center(0, 3));
    mouse.MouseMove(Center(0, 5));
    EXPECT_EQ(grid.GridState(), gsRowMoving);
    mouse.MouseUp(Center(0, 5));
    EXPECT_EQ(grid.Cells(1, 5), QStringLiteral("1:3"));
    EXPECT_EQ(grid.Cells(1, 3), QStringLiteral("1:4"));
    ExpectConsistent();
}

TEST_F(GridTest, AColumnMoveStartsFromARememberedPressAndByTheRightButton)
{
    grid.SetOptions(grid.Options() | goColMoving);
    WidgetDriver mouse(Viewport());
    const QPoint press = Center(1, 0);
    mouse.MouseDown(press, Qt::RightButton);
    grid.StartColumnMoving(press);
    EXPECT_EQ(grid.GridState(), gsColMoving);
    mouse.MouseMove(Center(3, 0));
    mouse.MouseUp(Center(3, 0), Qt::RightButton);
    EXPECT_EQ(grid.GridState(), gsNormal);
    EXPECT_EQ(grid.Cells(3, 2), QStringLiteral("1:2"));

    grid.StartColumnMoving(Center(3, 4));
    EXPECT_EQ(grid.GridState(), gsNormal) << "a press on a data cell moves nothing";
}

TEST_F(GridTest, DraggingASelectionBelowTheCellsScrollsByTimer)
{
    WidgetDriver mouse(Viewport());
    mouse.MouseDown(Center(2, 2));
    EXPECT_EQ(grid.GridState(), gsSelecting);
    const int lastShown = grid.RowAxis().LastFullyVisible(Viewport()->height());
    mouse.MouseMove(Center(2, lastShown));
    EXPECT_EQ(grid.Selection(), (TGridRect{2, 2, 2, lastShown}));
    const QPoint below(Center(2, 2).x(), Viewport()->height() + 20);
    mouse.MouseMove(below);
    grid.log.clear();
    clock.Advance(60);
    clock.Advance(60);
    clock.Advance(60);
    EXPECT_EQ(grid.log.filter(QStringLiteral("timed")).size(), 3);
    EXPECT_EQ(grid.Selection().Bottom, lastShown + 3);
    EXPECT_EQ(grid.Selection().Top, 2);
    EXPECT_GT(grid.TopRow(), 1) << "the growing selection scrolls into view";
    mouse.MouseUp(below);
    EXPECT_EQ(grid.GridState(), gsNormal);
    grid.log.clear();
    clock.Advance(600);
    EXPECT_TRUE(grid.log.filter(QStringLiteral("timed")).isEmpty()) << "the release stops the timer";
    EXPECT_EQ(grid.Row(), 2) << "the pressed cell stays current";
    ExpectConsistent();
}

TEST_F(GridTest, CancelModeEndsADragWithoutDropping)
{
    grid.SetOptions(grid.Options() | goColMoving);
    WidgetDriver mouse(Viewport());
    mouse.MouseDown(Center(1, 0));
    mouse.MouseMove(Center(3, 0));
    ASSERT_EQ(grid.GridState(), gsColMoving);
    BroadcastCancelMode();
    EXPECT_EQ(grid.GridState(), gsNormal);
    mouse.MouseUp(Center(3, 0));
    EXPECT_EQ(grid.Cells(1, 2), QStringLiteral("1:2")) << "nothing moved";
    ExpectConsistent();
}

TEST_F(GridTest, TheWheelMovesTheCurrentRow)
{
    WidgetDriver mouse(Viewport());
    mouse.Wheel(Center(2, 2), -3);
    EXPECT_EQ(grid.Row(), 4);
    mouse.Wheel(Center(2, 2), 5);
    EXPECT_EQ(grid.Row(), 1);
}

class EditingTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        grid.SetOptions(grid.Options() | goEditing);
    }
    TInplaceEdit* Editor() { return grid.InplaceEditor(); }
};

TEST_F(EditingTest, TypingOpensTheEditorAndEnterPutsTheTextIntoTheCell)
{
    QStringList sets;
    grid.OnSetEditText = [&](QObject*, int col, int row, const QString& value) {
        sets << QStringLiteral("%1,%2=%3").arg(col).arg(row).arg(value);
    };
    WidgetDriver(&grid).Type(QStringLiteral("añ"));
    ASSERT_TRUE(Editor());
    EXPECT_TRUE(grid.EditorMode());
    EXPECT_TRUE(Editor()->isVisible());
    EXPECT_TRUE(Editor()->hasFocus());
    EXPECT_EQ(Editor()->Text(), QStringLiteral("añ")) << "the typed text replaced the cell's";
    EXPECT_EQ(Editor()->geometry(), grid.CellRect(1, 1));
    ExpectConsistent();
    WidgetDriver(&grid).Press(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_TRUE(grid.hasFocus()) << "the focus goes back to the grid";
    EXPECT_EQ(grid.Cells(1, 1), QStringLiteral("añ"));
    EXPECT_EQ(sets.last(), QStringLiteral("1,1=añ"));
    ExpectConsistent();
}

TEST_F(EditingTest, EscapePutsTheCellsTextBackAndArrowsLeaveTheCell)
{
    Press(Qt::Key_F2);
    ASSERT_TRUE(grid.EditorMode());
    EXPECT_EQ(Editor()->Text(), QStringLiteral("1:1"));
    WidgetDriver(&grid).Type(QStringLiteral("xy"));
    EXPECT_EQ(grid.Cells(1, 1), QStringLiteral("1:1xy"))
        << "F2 leaves the text unselected; each change goes back";
    Press(Qt::Key_Escape, {}, QStringLiteral("\x1b"));
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(1, 1), QStringLiteral("1:1")) << "the text from before the editing";

    Press(Qt::Key_F2);
    Press(Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 2) << "Down leaves the editor for the next row";
    EXPECT_FALSE(grid.EditorMode());
}

TEST_F(EditingTest, TheEditorFollowsScrollsAndResizesAndHidesWhenItsCellScrollsOut)
{
    grid.SetOptions(grid.Options() | goAlwaysShowEditor);
    grid.SetCol(3);
    Press(Qt::Key_F2);
    ASSERT_TRUE(Editor() && Editor()->isVisible());
    grid.SetLeftCol(2);
    EXPECT_EQ(Editor()->geometry(), grid.CellRect(3, 1));
    grid.SetLeftCol(5);
    EXPECT_TRUE(Editor()->isHidden()) << "its cell is scrolled out";
    EXPECT_TRUE(grid.EditorMode());
    ExpectConsistent();
    grid.SetLeftCol(1);
    EXPECT_TRUE(Editor()->isVisible());
    grid.SetColWidths(1, 100);
    EXPECT_EQ(Editor()->geometry(), grid.CellRect(3, 1)) << "a wider column before it moves it";
    grid.resize(330, 200);
    QApplication::processEvents();
    ASSERT_FALSE(grid.CellRect(3, 1).isEmpty());
    EXPECT_EQ(Editor()->geometry(), grid.CellRect(3, 1)) << "clipped by the narrower grid";
    grid.resize(200, 200);
    QApplication::processEvents();
    EXPECT_TRUE(grid.CellRect(3, 1).isEmpty());
    EXPECT_TRUE(Editor()->isHidden()) << "the narrower grid no longer shows its cell";
    ExpectConsistent();
}

TEST_F(EditingTest, AnEditMaskShapesTheTypedText)
{
    grid.OnGetEditText = [](QObject*, int, int, QString& value) { value.clear(); };
    class TMaskedGrid : public TTestGrid {
    public:
        using TTestGrid::TTestGrid;
        QString mask;

    protected:
        QString GetEditMask(int, int) override { return mask; }
    };
    TMaskedGrid masked;
    masked.SetOptions(masked.Options() | goEditing);
    masked.resize(300, 200);
    masked.show();
    QApplication::setActiveWindow(&masked);
    masked.setFocus();
    masked.mask = QStringLiteral("00/00;0;_");
    QApplication::processEvents();
    // Typing on the grid opens the editor with everything selected, so the
    // first digit lands in the mask's first position.
    WidgetDriver(&masked).Type(QStringLiteral("1a234"));
    ASSERT_TRUE(masked.InplaceEditor());
    EXPECT_EQ(masked.InplaceEditor()->inputMask(), QStringLiteral("99/99;_"));
    EXPECT_EQ(masked.InplaceEditor()->Text(), QStringLiteral("1234")) << "the letter is refused";
    WidgetDriver(&masked).Press(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_EQ(masked.Cells(1, 1), QStringLiteral("1234"));
}

TEST(EditMask, TheCommonSubsetTranslates)
{
    struct Case {
        const char* name;
        QString mask;
        QString inputMask;
        bool saveLiterals;
    };
    const Case cases[] = {
        {"digits", QStringLiteral("000;1;_"), QStringLiteral("999;_"), true},
        {"optional digits and literals", QStringLiteral("!99/99/0000;0;*"), QStringLiteral("00/00/9999;*"),
         false},
        {"letters and case", QStringLiteral(">LL<ll<>aa"), QStringLiteral(">AA<aa!nn;_"), true},
        {"a literal that is a Qt mask character", QStringLiteral("0\\A0 N"), QStringLiteral("9\\A9 \\N;_"),
         true},
        {"no mask", QString(), QString(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TEditMaskTranslation t = TranslateEditMask(c.mask);
        EXPECT_EQ(t.inputMask, c.inputMask);
        EXPECT_EQ(t.saveLiterals, c.saveLiterals);
    }
    const TEditMaskTranslation date = TranslateEditMask(QStringLiteral("99/99;0;_"));
    EXPECT_EQ(MaskedText(date, QStringLiteral("1_/34")), QStringLiteral("134"));
    const TEditMaskTranslation kept = TranslateEditMask(QStringLiteral("99/99;1;_"));
    EXPECT_EQ(MaskedText(kept, QStringLiteral("12/34")), QStringLiteral("12/34"));
}

TEST_F(GridTest, PaintsFixedCellsLinesAndTheAreaPastTheLastCell)
{
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetFixedColor(clRed);
    grid.SetColor(clYellow);
    const QImage image = Viewport()->grab().toImage();
    auto at = [&](int x, int y) { return image.pixelColor(x, y); };
    EXPECT_EQ(at(30, 3), QColor(Qt::red)) << "a fixed cell";
    EXPECT_EQ(at(64, 10), QColor(Qt::black)) << "the line after the fixed column";
    EXPECT_EQ(at(65 + 64, 40), QColor(0xC0, 0xC0, 0xC0)) << "a line between data cells";
    EXPECT_EQ(at(3 * 65 + 10, 10), QColor(Qt::yellow)) << "past the last column";
    EXPECT_EQ(at(10, 3 * 25 + 10), QColor(Qt::yellow)) << "below the last row";
}

TEST_F(GridTest, ARightToLeftGridMirrorsTheColumns)
{
    const QScopedValueRollback rightToLeft(LocaleFacts().RightToLeft, true);
    grid.SetBiDiMode(bdRightToLeft);
    ASSERT_TRUE(grid.UseRightToLeftAlignment());
    const int width = Viewport()->width();
    EXPECT_EQ(grid.CellRect(0, 1).right(), width - 1);
    EXPECT_EQ(grid.MouseCoord(width - 70, 30), (TGridCoord{1, 1}));
    EXPECT_EQ(grid.MouseCoord(width - 10, 30), (TGridCoord{0, 1}));
    // The sizing border of column 1 lies left of its title.
    grid.SetOptions(grid.Options() | goColSizing);
    WidgetDriver mouse(Viewport());
    const QPoint border(grid.CellRect(1, 0).left() - 1, 10);
    mouse.MouseDown(border);
    EXPECT_EQ(grid.GridState(), gsColSizing);
    mouse.MouseMove(border - QPoint(10, 0));
    mouse.MouseUp(border - QPoint(10, 0));
    EXPECT_EQ(grid.ColWidths(1), 74) << "dragging left widens it";
}

// Random keys and clicks; the grid stays consistent after each.
TEST_F(GridTest, StaysConsistentUnderRandomInput)
{
    grid.SetOptions(grid.Options() | goEditing | goTabs | goColSizing);
    grid.SetColWidths(4, -1);
    const int keys[] = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Up,       Qt::Key_Down, Qt::Key_Home,
                        Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Tab,  Qt::Key_F2};
    unsigned state = 7;
    auto next = [&](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % n;
    };
    for (int step = 0; step < 300; ++step) {
        if (next(4) == 0) {
            const QPoint at(int(next(Viewport()->width())), int(next(Viewport()->height())));
            WidgetDriver(Viewport()).Click(at);
        } else {
            const auto modifiers = next(3) == 0 ? Qt::ControlModifier : Qt::NoModifier;
            WidgetDriver(&grid).Press(keys[next(std::size(keys))], modifiers);
        }
        ASSERT_EQ(grid.CheckConsistency(), QString()) << "step " << step;
    }
}

// A descendant that streams its title row besides the published properties,
// as the data grid streams its columns.
class TTitledGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;

protected:
    void DefineProperties(TFiler& filer) override
    {
        TStringGrid::DefineProperties(filer);
        filer.DefineProperty(
            QStringLiteral("Titles"),
            [this](const TStreamValue& value) {
                const QStringList titles = value.ToStrings();
                for (int c = 0; c < titles.size() && c < ColCount(); ++c)
                    SetCells(c, 0, titles[c]);
            },
            [this] {
                QStringList titles;
                for (int c = 0; c < ColCount(); ++c)
                    titles << Cells(c, 0);
                return TStreamValue::Strings(titles);
            },
            true);
    }
};

TEST(GridStreaming, ADescendantsOwnValuesStreamWithThePublishedOnes)
{
    TTitledGrid written;
    written.SetColCount(3);
    written.SetDefaultColWidth(80);
    written.SetCells(0, 0, QStringLiteral("Piso"));
    written.SetCells(2, 0, QStringLiteral("Cuota €"));
    const QString text = ObjectToText(&written);
    EXPECT_TRUE(text.contains(QStringLiteral("Titles"))) << text.toStdString();
    // Qt's own widget properties are not the grid's to stream.
    EXPECT_FALSE(text.contains(QStringLiteral("geometry"))) << text.toStdString();

    TTitledGrid read;
    ObjectFromText(&read, text);
    EXPECT_EQ(read.ColCount(), 3);
    EXPECT_EQ(read.DefaultColWidth(), 80);
    EXPECT_EQ(read.Cells(0, 0), QStringLiteral("Piso"));
    EXPECT_EQ(read.Cells(1, 0), QString());
    EXPECT_EQ(read.Cells(2, 0), QStringLiteral("Cuota €"));
    EXPECT_EQ(read.CheckConsistency(), QString());
}

}  // namespace
}  // namespace tk
