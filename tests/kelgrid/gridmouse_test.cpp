// The grid's mouse beyond plain clicks: scrolling by a held press beyond
// the edges (its timer stepped by hand), check box cells pressed like
// buttons, expand buttons, border double and middle clicks, right-button
// column moving, the current cell following the mouse, and cancel mode
// ending whatever the mouse had started.
//
//   |  | Id | Owner        | Amount | Paid |      rows 1 .. 30: the fees
//   |> |  1 | Ana Ruiz     |  120.5 |  [x] |      (the first five, then
//   |  |  2 | Bernardo Gil |     80 |  [ ] |       "Owner 6" .. "Owner 30")

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "tests/kelgrid/shown_grid_fixture.h"
#include "tests/support/manual_timer_driver.h"
#include "tests/support/widget_driver.h"
#include "toolkit/ui/control.h"
#include "toolkit/ui/popupmenu.h"
#include "toolkit/ui/sysinfo.h"

#include <QApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

using tk::test::WidgetDriver;

class GridMouseTest : public ShownGridFixture {
protected:
    bool Paid() { return dataSet.FieldByName(QStringLiteral("Paid"))->AsBoolean(); }
    QPoint CellCentre(const char* field, int recordRow) const
    {
        return grid->CellRect(Raw(field), grid->TitleOffset() + recordRow).center();
    }
    QString CurrentField() const { return grid->ColumnOfRaw(grid->Col())->FieldName(); }

    // The timers the grid arms from now on run on this clock.
    tk::test::ManualTimerDriver clock;
};

TEST_F(GridMouseTest, BeyondTheRightEdgeTheTimerStepsAColumnFasterTheFartherTheMouseIs)
{
    const int width = grid->viewport()->width();
    const QPoint start = CellCentre("Id", 2);
    mouse->MouseDown(start);
    ASSERT_TRUE(grid->ScrollTracking());
    EXPECT_EQ(CurrentId(), 3);
    EXPECT_EQ(grid->ScrollTimerInterval(), 0) << "inside the area nothing steps";

    // The tenth pixel right of the client area: 200 - 15 * 10.
    mouse->MouseMove(QPoint(width + 9, start.y()));
    EXPECT_EQ(grid->ScrollTimerInterval(), 50);
    EXPECT_EQ(CurrentField(), QStringLiteral("Owner")) << "the move stepped once";
    clock.Advance(49);
    EXPECT_EQ(CurrentField(), QStringLiteral("Owner"));
    clock.Advance(1);
    EXPECT_EQ(CurrentField(), QStringLiteral("Amount"));
    EXPECT_EQ(grid->ScrollTimerInterval(), 50) << "and armed again";

    mouse->MouseMove(QPoint(width + 12, start.y()));
    EXPECT_EQ(grid->ScrollTimerInterval(), 5);
    mouse->MouseMove(QPoint(width + 40, start.y()));
    EXPECT_EQ(grid->ScrollTimerInterval(), 5) << "never faster than 5 ms";
    clock.Advance(50);
    EXPECT_EQ(CurrentField(), QStringLiteral("Paid")) << "stays on the last column";
    EXPECT_EQ(CurrentId(), 3) << "no vertical distance";

    // Back inside: the timer goes; the release ends the tracking.
    mouse->MouseMove(CellCentre("Amount", 2));
    EXPECT_EQ(grid->ScrollTimerInterval(), 0);
    EXPECT_EQ(clock.ArmedCount(), 0);
    mouse->MouseUp(CellCentre("Amount", 2));
    EXPECT_FALSE(grid->ScrollTracking());
    EXPECT_EQ(CurrentField(), QStringLiteral("Amount"));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridMouseTest, AboveAndBelowTheDataTheRowsScrollByAFifthOfTheDistance)
{
    const int height = grid->viewport()->height();
    const QPoint start = CellCentre("Owner", 1);
    mouse->MouseDown(start);
    // Ten pixels below the client area: 10 / 5 + 1 rows a step.
    mouse->MouseMove(QPoint(start.x(), height + 9));
    EXPECT_EQ(grid->ScrollTimerInterval(), 50);
    const int before = CurrentId();
    clock.Advance(50);
    EXPECT_EQ(CurrentId(), before + 3);
    clock.Advance(100);
    EXPECT_EQ(CurrentId(), before + 9);

    // Above the scrolling area (over the titles) the rows go back; the
    // vertical distance sets the pace even with the mouse also beyond the
    // right edge.
    const int top = grid->TitleHeight();
    mouse->MouseMove(QPoint(grid->viewport()->width() + 2, top - 10));
    EXPECT_EQ(grid->ScrollTimerInterval(), 50);
    const int up = CurrentId();
    clock.Advance(50);
    EXPECT_EQ(CurrentId(), up - 3);

    mouse->MouseUp(QPoint(start.x(), top - 10));
    EXPECT_FALSE(grid->ScrollTracking());
    EXPECT_EQ(clock.ArmedCount(), 0);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridMouseTest, CancelModeStopsScrollingAndAPressedTitle)
{
    mouse->MouseDown(CellCentre("Owner", 1));
    mouse->MouseMove(QPoint(CellCentre("Owner", 1).x(), grid->viewport()->height() + 20));
    ASSERT_GT(grid->ScrollTimerInterval(), 0);
    tk::BroadcastCancelMode();
    EXPECT_FALSE(grid->ScrollTracking());
    EXPECT_EQ(clock.ArmedCount(), 0);
    const int id = CurrentId();
    clock.Advance(500);
    EXPECT_EQ(CurrentId(), id);
    mouse->MouseUp(QPoint(10, grid->viewport()->height() + 20));

    int titleClicks = 0;
    grid->OnTitleClick = [&](TKelCustomDBGrid*, TKelColumn*) { ++titleClicks; };
    const QPoint title = grid->CellRect(Raw("Amount"), 0).center();
    mouse->MouseDown(title);
    tk::BroadcastCancelMode();
    mouse->MouseUp(title);
    EXPECT_EQ(titleClicks, 0) << "the press was cancelled";
    EXPECT_EQ(grid->OrderFields(), QString());
    mouse->Click(title);
    EXPECT_EQ(titleClicks, 1);
}

TEST_F(GridMouseTest, TheFocusGoingToAnotherWindowStopsTheScrolling)
{
    mouse->MouseDown(CellCentre("Owner", 1));
    mouse->MouseMove(QPoint(CellCentre("Owner", 1).x(), grid->viewport()->height() + 20));
    ASSERT_TRUE(grid->hasFocus());
    ASSERT_TRUE(grid->ScrollTracking());
    QLineEdit other;
    other.show();
    other.activateWindow();
    other.setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(grid->hasFocus());
    EXPECT_FALSE(grid->ScrollTracking());
    EXPECT_EQ(clock.ArmedCount(), 0);
}

TEST_F(GridMouseTest, ACheckBoxCellClicksOnlyWhenReleasedOnTheCellPressed)
{
    TKelColumn* paid = grid->ColumnByName(QStringLiteral("Paid"));
    paid->SetCheckBox(true);
    int clicks = 0;
    grid->OnCellClick = [&](TKelCustomDBGrid*, TKelColumn*) { ++clicks; };

    mouse->MouseDown(CellCentre("Paid", 1));
    mouse->MouseMove(CellCentre("Paid", 3));
    mouse->MouseUp(CellCentre("Paid", 3));
    EXPECT_EQ(clicks, 0) << "released elsewhere";
    EXPECT_EQ(CurrentId(), 2);
    EXPECT_FALSE(Paid());

    mouse->MouseDown(CellCentre("Paid", 1));
    mouse->MouseMove(CellCentre("Owner", 1));
    mouse->MouseMove(CellCentre("Paid", 1));
    mouse->MouseUp(CellCentre("Paid", 1));
    EXPECT_EQ(clicks, 1) << "back on the pressed cell";
    EXPECT_TRUE(Paid());
    dataSet.CheckBrowseMode();

    // ctSelectClick toggles only on the cell already selected.
    paid->SetCheckBoxToggle(ctSelectClick);
    mouse->Click(CellCentre("Paid", 3));
    EXPECT_EQ(CurrentId(), 4);
    EXPECT_FALSE(Paid()) << "the first click selects the cell";
    mouse->Click(CellCentre("Paid", 3));
    EXPECT_TRUE(Paid());
    EXPECT_EQ(clicks, 3);
}

class GridExpandTest : public GridMouseTest {
protected:
    // Columns: Id, Fee (a group over Owner and Amount), Owner, Amount, Paid.
    void SetUp() override
    {
        GridMouseTest::SetUp();
        grid->Columns()->RebuildColumns();
        fee = grid->Columns()->Add();
        fee->SetIndex(1);
        fee->Title()->SetCaption(QStringLiteral("Fee"));
        fee->SetExpandCols(2);
        QApplication::processEvents();
        grid->OnTitleClick = [this](TKelCustomDBGrid*, TKelColumn*) { events << QStringLiteral("title"); };
        grid->OnExpandClick = [this](TKelCustomDBGrid*, TKelColumn*) { events << QStringLiteral("expand"); };
    }
    // The middle of the expand button at the right end of Fee's title.
    QPoint ExpandButton() const
    {
        const QRect title = grid->CalcTitleRect(fee, fee->Depth());
        return QPoint(title.right() - tk::ScrollBarExtent() / 2, title.center().y());
    }

    TKelColumn* fee = nullptr;
    QStringList events;
};

TEST_F(GridExpandTest, TheExpandButtonFoldsAndUnfoldsTheGroupInsteadOfAClickOnTheTitle)
{
    ASSERT_TRUE(fee->Expanded());
    mouse->Click(ExpandButton());
    EXPECT_FALSE(fee->Expanded());
    EXPECT_EQ(grid->TitleOffset(), 1);
    mouse->Click(ExpandButton());
    EXPECT_TRUE(fee->Expanded());
    EXPECT_EQ(events, QStringList()) << "no title click, no expand event";

    // A press on the button that ends beside it clicks nothing.
    mouse->MouseDown(ExpandButton());
    mouse->MouseMove(ExpandButton() - QPoint(tk::ScrollBarExtent(), 0));
    mouse->MouseUp(ExpandButton() - QPoint(tk::ScrollBarExtent(), 0));
    EXPECT_TRUE(fee->Expanded());
    EXPECT_EQ(events, QStringList());

    // Without title buttons the release on the button clicks it.
    grid->SetOptions(grid->Options() & ~TKelDBGridOptions(dgTitleButtons));
    mouse->Click(ExpandButton());
    EXPECT_FALSE(fee->Expanded());
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridExpandTest, DropDownStylesFireOnExpandClickUnlessTheirMenuShows)
{
    fee->SetExpandStyle(cesDropDown);
    mouse->Click(ExpandButton());
    EXPECT_EQ(events, QStringList{QStringLiteral("expand")});
    EXPECT_TRUE(fee->Expanded());

    // A drop-down menu with nothing to show: the event instead.
    tk::TPopupMenu menu;
    int popups = 0;
    menu.OnPopup = [&](QObject*) { ++popups; };
    fee->Title()->SetDropDownMenu(&menu);
    fee->SetExpandStyle(cesDropDownMenu);
    events.clear();
    mouse->Click(ExpandButton());
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu.PopupComponent(), grid.get());
    const QRect title = grid->CalcTitleRect(fee, fee->Depth());
    EXPECT_EQ(menu.PopupPoint(), grid->viewport()->mapToGlobal(title.bottomLeft() + QPoint(0, 1)))
        << "dropped under the title";
    EXPECT_EQ(events, QStringList{QStringLiteral("expand")});

    fee->SetExpandStyle(cesNone);
    events.clear();
    mouse->Click(ExpandButton());
    EXPECT_EQ(events, QStringList{QStringLiteral("title")}) << "no button any more";
}

TEST_F(GridExpandTest, ABorderSizesOnlyBelowItsGroupsTitleAndItsHeaderRows)
{
    TKelColumn* owner = grid->ColumnByName(QStringLiteral("Owner"));
    const int raw = grid->DataToRawColumn(owner->Index());
    auto drag = [&](int y) {
        const int x = grid->CellRect(raw, 1).right() + 1;
        mouse->MouseDown(QPoint(x, y));
        mouse->MouseMove(QPoint(x + 20, y));
        mouse->MouseUp(QPoint(x + 20, y));
    };
    const int width = owner->Width();
    drag(grid->CellRect(raw, 0).center().y());
    EXPECT_EQ(owner->Width(), width) << "the group's title row";
    drag(grid->CellRect(raw, 1).center().y());
    EXPECT_EQ(owner->Width(), width + 20) << "its own title row";

    // A header shared by Owner and Amount spans the border.
    owner->Title()->SetHeader(QStringLiteral("Paid by"));
    grid->ColumnByName(QStringLiteral("Amount"))->Title()->SetHeader(QStringLiteral("Paid by"));
    QApplication::processEvents();
    const QRect title = grid->CellRect(raw, 1);
    drag(title.top() + 3);
    EXPECT_EQ(owner->Width(), width + 20) << "on the header row";
    drag(title.bottom() - 2);
    EXPECT_EQ(owner->Width(), width + 40) << "below it";
}

TEST_F(GridMouseTest, BorderDoubleAndMiddleClicksSetTheOptimalAndTheDefaultWidth)
{
    TKelColumn* owner = grid->ColumnByName(QStringLiteral("Owner"));
    const int raw = Raw("Owner");
    auto border = [&] {
        const QRect title = grid->CellRect(raw, 0);
        return QPoint(title.right() + 1, title.center().y());
    };
    owner->SetWidth(300);
    mouse->DoubleClick(border());
    EXPECT_EQ(owner->Width(), owner->OptimalWidth());
    EXPECT_LT(owner->Width(), 300);
    mouse->Click(border(), Qt::MiddleButton);
    EXPECT_EQ(owner->Width(), owner->DefaultWidth());

    // Without roColumnResize the border is no border.
    owner->SetWidth(120);
    grid->SetResizeOptions(TResizeOptions(roColumnMoving));
    mouse->MouseDown(border());
    mouse->MouseMove(border() + QPoint(30, 0));
    mouse->MouseUp(border() + QPoint(30, 0));
    EXPECT_EQ(owner->Width(), 120);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridMouseTest, TheRowsOfTheTotalsBandDoNotSize)
{
    grid->SetOptionsEx(grid->OptionsEx() | dgTotalHeader | dgTotalFooter);
    QApplication::processEvents();
    const int footer = grid->RowCount() - 1;
    const int before = grid->RowHeights(footer - 1);
    const QRect indicator = grid->CellRect(0, footer - 1);
    const QPoint border(indicator.center().x(), indicator.bottom() + 1);
    mouse->MouseDown(border);
    mouse->MouseMove(border + QPoint(0, 20));
    mouse->MouseUp(border + QPoint(0, 20));
    EXPECT_EQ(grid->RowHeights(footer - 1), before);
    EXPECT_EQ(grid->LinesCount(), 1);
}

TEST_F(GridMouseTest, WithRightMovingOnlyTheRightButtonMovesATitle)
{
    auto order = [&] {
        QStringList names;
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            names << grid->Columns()->Items(i)->FieldName();
        return names.join(QLatin1Char(','));
    };
    grid->SetOptions(grid->Options() | dgRightMoving);
    const QPoint start = grid->CellRect(Raw("Amount"), 0).center();
    const QPoint end = grid->CellRect(Raw("Owner"), 0).center();
    mouse->MouseDown(start);
    mouse->MouseMove(start - QPoint(10, 0));
    mouse->MouseMove(end);
    mouse->MouseUp(end);
    EXPECT_EQ(order(), QStringLiteral("Id,Owner,Amount,Paid")) << "the left button does not move";
    EXPECT_EQ(grid->OrderFields(), QString()) << "nor click: it ended elsewhere";
    mouse->Click(start);
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Amount")) << "it clicks";

    mouse->MouseDown(start, Qt::RightButton);
    mouse->MouseMove(start - QPoint(10, 0));
    mouse->MouseMove(end);
    mouse->MouseUp(end, Qt::RightButton);
    EXPECT_EQ(order(), QStringLiteral("Id,Amount,Owner,Paid"));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridMouseTest, APressedTitleDraggedSidewaysSelectsColumnsWhenItCannotMove)
{
    grid->SetOptions(grid->Options() | dgMultiSelect | dgRightMoving);
    grid->SetMultiSelectOptions(TMultiSelectOptions{msRows, msCols});
    auto selected = [&] {
        QStringList names;
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            if (grid->SelectedCols()->Column(i))
                names << grid->Columns()->Items(i)->FieldName();
        return names.join(QLatin1Char(','));
    };
    const QPoint owner = grid->CellRect(Raw("Owner"), 0).center();
    const QPoint amount = grid->CellRect(Raw("Amount"), 0).center();
    mouse->MouseDown(owner);
    mouse->MouseMove(owner + QPoint(10, 0));
    mouse->MouseMove(amount);
    mouse->MouseUp(amount);
    EXPECT_EQ(grid->MultiSelect(), msCols);
    EXPECT_EQ(selected(), QStringLiteral("Owner,Amount"));
    EXPECT_EQ(grid->OrderFields(), QString()) << "no title click";

    // Shift on another title moves the range's end; a plain click only
    // sorts.
    mouse->Click(grid->CellRect(Raw("Paid"), 0).center(), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(selected(), QStringLiteral("Owner,Amount,Paid"));
    mouse->Click(grid->CellRect(Raw("Paid"), 0).center());
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Paid"));
    EXPECT_EQ(selected(), QStringLiteral("Owner,Amount,Paid"));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridMouseTest, WithMouseTrackingTheCurrentCellFollowsTheMouse)
{
    mouse->MouseMove(CellCentre("Amount", 3));
    EXPECT_EQ(CurrentId(), 1) << "not without dgMouseTracking";
    grid->SetOptions(grid->Options() | dgMouseTracking);
    mouse->MouseMove(CellCentre("Amount", 3));
    EXPECT_EQ(CurrentId(), 4);
    EXPECT_EQ(CurrentField(), QStringLiteral("Amount"));
    mouse->MouseMove(grid->CellRect(Raw("Owner"), 0).center());
    EXPECT_EQ(CurrentId(), 4) << "the titles are no cells to follow";
    grid->SetOptions(grid->Options() | dgMultiSelect);
    mouse->MouseMove(CellCentre("Owner", 1));
    EXPECT_EQ(CurrentId(), 4) << "not while selecting several";
}

TEST_F(GridMouseTest, WithDragRowsAPressOnTheDataStartsDraggingTheRecordsInsteadOfScrolling)
{
    grid->SetDragRows(true);
    grid->SetOptions(grid->Options() | dgMultiSelect);
    mouse->MouseDown(CellCentre("Owner", 1));
    EXPECT_TRUE(grid->DragPending());
    EXPECT_FALSE(grid->ScrollTracking());
    mouse->MouseMove(CellCentre("Owner", 1) + QPoint(1, 0));
    EXPECT_EQ(grid->viewport()->cursor().shape(), Qt::DragMoveCursor);
    mouse->MouseUp(CellCentre("Owner", 1));
    EXPECT_FALSE(grid->DragPending());

    mouse->Click(CellCentre("Owner", 3), Qt::LeftButton, Qt::ControlModifier);
    ASSERT_EQ(grid->SelectedRows()->Count(), 2);
    mouse->MouseDown(CellCentre("Owner", 2), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(grid->DragPending());
    EXPECT_EQ(grid->viewport()->cursor().shape(), Qt::DragCopyCursor) << "the cursor of several records";
    mouse->MouseUp(CellCentre("Owner", 2));
}

TEST_F(GridMouseTest, TheIndicatorCellOfATotalRowIsAnIndicatorClick)
{
    grid->SetOptionsEx(grid->OptionsEx() | dgTotalFooter);
    QApplication::processEvents();
    QStringList events;
    grid->OnIndicatorClick = [&](TKelCustomDBGrid*) { events << QStringLiteral("indicator"); };
    grid->OnTotalClick = [&](TKelCustomDBGrid*, TKelColumn* column, int row) {
        events << QStringLiteral("total %1 %2").arg(column->FieldName()).arg(row);
    };
    mouse->Click(grid->CellRect(0, grid->RowCount() - 1).center());
    mouse->Click(grid->CellRect(Raw("Owner"), grid->RowCount() - 1).center());
    EXPECT_EQ(events, (QStringList{QStringLiteral("indicator"), QStringLiteral("total Owner 0")}));
}

}  // namespace
}  // namespace kelgrid::test
