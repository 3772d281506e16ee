// The grid worked with keys and the mouse, as lists of actions and the
// state they leave: the current record, the current column, the selected
// records, the dataset's state, the sort order and the events fired.
//
//   |  | Id | Owner        | Amount | Paid |      rows 1 .. 30: the fees
//   |> |  1 | Ana Ruiz     |  120.5 |  [x] |      (the first five, then
//   |  |  2 | Bernardo Gil |     80 |  [ ] |       "Owner 6" .. "Owner 30")

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "tests/kelgrid/shown_grid_fixture.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/resourcestring.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

using tk::test::WidgetDriver;

class GridKeysTest : public ShownGridFixture {
protected:
    // The ids of the selected records, in order; the grid's screen stays.
    QString Selected()
    {
        QStringList ids;
        grid->DisablePosition();
        for (int i = 0; i < grid->SelectedRows()->Count(); ++i) {
            dataSet.GotoBookmark(grid->SelectedRows()->Items(i));
            ids << dataSet.FieldByName(QStringLiteral("Id"))->AsString();
        }
        grid->EnablePosition();
        return ids.join(QLatin1Char(','));
    }
    QPoint CellCentre(const char* field, int recordRow) const
    {
        return grid->CellRect(Raw(field), grid->TitleOffset() + recordRow).center();
    }
};

TEST_F(GridKeysTest, NavigationKeysMoveThroughTheRecordsAndColumns)
{
    const int pageRows = grid->DataLink()->RecordCount();
    ASSERT_GT(pageRows, 2);
    ASSERT_LT(pageRows, 30);
    driver->Press(Qt::Key_Down);
    EXPECT_EQ(CurrentId(), 2);
    driver->Press(Qt::Key_Up);
    EXPECT_EQ(CurrentId(), 1);
    driver->Press(Qt::Key_PageDown);
    EXPECT_EQ(CurrentId(), 1 + pageRows);
    driver->Press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(CurrentId(), 30);
    EXPECT_EQ(grid->Row(), grid->TitleOffset() + grid->DataLink()->ActiveRecord()) << "the base follows";
    driver->Press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(CurrentId(), 1);
    driver->Press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(CurrentId(), pageRows) << "the bottom row on screen";

    grid->SetCol(Raw("Id"));
    driver->Press(Qt::Key_Right);
    EXPECT_EQ(grid->Col(), Raw("Owner"));
    driver->Press(Qt::Key_End);
    EXPECT_EQ(grid->Col(), Raw("Paid"));
    driver->Press(Qt::Key_Home);
    EXPECT_EQ(grid->Col(), Raw("Id"));
    driver->Press(Qt::Key_Left);
    EXPECT_EQ(grid->Col(), Raw("Id")) << "never onto the indicator";
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridKeysTest, WithWholeRowsScrollingTheSidewaysKeysScrollTheColumns)
{
    // Wide columns: the grid shows two of the four at a time.
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        grid->Columns()->Items(i)->SetWidth(300);
    grid->SetOptions(grid->Options() | dgRowSelect | dgRowScroll);
    ASSERT_TRUE(grid->RowScroll());
    const int first = grid->LeftCol();
    driver->Press(Qt::Key_Right);
    EXPECT_EQ(grid->LeftCol(), first + 1);
    EXPECT_EQ(CurrentId(), 1) << "no record moves";
    driver->Press(Qt::Key_End);
    const int last = grid->LeftCol();
    EXPECT_GT(last, first + 1);
    driver->Press(Qt::Key_Left);
    EXPECT_EQ(grid->LeftCol(), last - 1);
    driver->Press(Qt::Key_Home);
    EXPECT_EQ(grid->LeftCol(), first);
    driver->Press(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_GT(grid->LeftCol(), first);
    EXPECT_EQ(CurrentId(), 1);
}

TEST_F(GridKeysTest, ShiftMovesSelectFromTheAnchorAndGoingBackUnselects)
{
    grid->SetOptions(grid->Options() | dgMultiSelect);
    for (int i = 0; i < 3; ++i)
        driver->Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), QStringLiteral("1,2,3,4"));
    driver->Press(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), QStringLiteral("1,2,3"));
    EXPECT_EQ(CurrentId(), 3);
    driver->Press(Qt::Key_Down);
    EXPECT_EQ(Selected(), QString()) << "a plain move drops the selection";
    driver->Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid->SelectedRows()->Count(), 30);
    EXPECT_EQ(CurrentId(), 4) << "select all keeps the current record";
}

TEST_F(GridKeysTest, DownOnTheLastRecordAppendsAndDownAgainCancelsTheUntouchedRecord)
{
    dataSet.Last();
    driver->Press(Qt::Key_Down);
    EXPECT_EQ(dataSet.State(), tk::dsInsert);
    driver->Press(Qt::Key_Down);
    EXPECT_EQ(dataSet.State(), tk::dsBrowse);
    EXPECT_EQ(dataSet.RecordCount(), 30);
    EXPECT_EQ(CurrentId(), 30) << "back on the last real record";
    driver->Press(Qt::Key_Down);
    driver->Press(Qt::Key_Up);
    EXPECT_EQ(dataSet.State(), tk::dsBrowse) << "Up cancels it too";
    EXPECT_EQ(dataSet.RecordCount(), 30);

    grid->SetReadOnly(true);
    driver->Press(Qt::Key_Down);
    EXPECT_EQ(dataSet.State(), tk::dsBrowse) << "a read-only grid appends nothing";
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridKeysTest, TabWalksTheColumnsAndWrapsToTheNextRecord)
{
    grid->SetCol(Raw("Amount"));
    driver->Press(Qt::Key_Tab);
    EXPECT_EQ(grid->Col(), Raw("Paid"));
    driver->Press(Qt::Key_Tab);
    EXPECT_EQ(grid->Col(), Raw("Id"));
    EXPECT_EQ(CurrentId(), 2);
    driver->Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->Col(), Raw("Paid"));
    EXPECT_EQ(CurrentId(), 1);

    dataSet.Last();
    grid->SetCol(Raw("Paid"));
    driver->Press(Qt::Key_Tab);
    EXPECT_EQ(dataSet.State(), tk::dsInsert) << "past the last record a new one";
    EXPECT_EQ(grid->Col(), Raw("Id"));
}

TEST_F(GridKeysTest, EscCancelsAnEditAndCtrlDeleteDeletesTheSelectedRecords)
{
    dataSet.Edit();
    dataSet.FieldByName(QStringLiteral("Owner"))->SetAsString(QStringLiteral("Changed"));
    driver->Press(Qt::Key_Escape);
    EXPECT_EQ(dataSet.State(), tk::dsBrowse);
    EXPECT_EQ(dataSet.FieldByName(QStringLiteral("Owner"))->AsString(), QStringLiteral("Ana Ruiz"));

    grid->SetOptions(grid->Options() | dgMultiSelect);
    for (int i = 0; i < 2; ++i)
        driver->Press(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(Selected(), QStringLiteral("1,2,3"));
    tk::test::ModalAnswerer answerer;
    driver->Press(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(answerer.Boxes().size(), 1);
    EXPECT_EQ(answerer.Boxes()[0].text, tk::LoadResString(&tk::SDeleteMultipleRecordsQuestion));
    EXPECT_EQ(dataSet.RecordCount(), 27);
    EXPECT_EQ(grid->SelectedRows()->Count(), 0);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridKeysTest, SpaceAndAClickToggleACheckBox)
{
    TKelColumn* paid = grid->ColumnByName(QStringLiteral("Paid"));
    paid->SetCheckBox(true);
    grid->SetCol(Raw("Paid"));
    ASSERT_TRUE(dataSet.FieldByName(QStringLiteral("Paid"))->AsBoolean());
    driver->Type(QStringLiteral(" "));
    EXPECT_FALSE(dataSet.FieldByName(QStringLiteral("Paid"))->AsBoolean());
    dataSet.CheckBrowseMode();

    int clicks = 0;
    grid->OnCellClick = [&](TKelCustomDBGrid*, TKelColumn* column) {
        ++clicks;
        EXPECT_EQ(column, paid);
    };
    mouse->Click(CellCentre("Paid", 1));
    EXPECT_EQ(CurrentId(), 2);
    EXPECT_TRUE(dataSet.FieldByName(QStringLiteral("Paid"))->AsBoolean()) << "fee 2 was unpaid";
    EXPECT_EQ(clicks, 1);
}

TEST_F(GridKeysTest, ClicksMoveToTheCellAndSelectByTheirModifiers)
{
    grid->SetOptions(grid->Options() | dgMultiSelect);
    mouse->Click(CellCentre("Owner", 2));
    EXPECT_EQ(CurrentId(), 3);
    EXPECT_EQ(grid->Col(), Raw("Owner"));
    EXPECT_EQ(Selected(), QStringLiteral("3")) << "a plain click selects its record";
    mouse->Click(CellCentre("Owner", 4), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Selected(), QStringLiteral("3,5"));
    mouse->Click(CellCentre("Owner", 6), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), QStringLiteral("5,6,7")) << "from the anchor the Ctrl click set";
    mouse->Click(CellCentre("Amount", 0));
    EXPECT_EQ(Selected(), QStringLiteral("1"));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridKeysTest, ATitleClickTogglesTheSortMarkerAndFiresTitleClick)
{
    TKelColumn* amount = grid->ColumnByName(QStringLiteral("Amount"));
    QList<TKelColumn*> clicked;
    grid->OnTitleClick = [&](TKelCustomDBGrid*, TKelColumn* column) { clicked << column; };
    const QPoint title = grid->CellRect(Raw("Amount"), 0).center();
    mouse->Click(title);
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Amount"));
    mouse->Click(title);
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Amount DESC"));
    mouse->Click(grid->CellRect(Raw("Owner"), 0).center(), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Amount DESC,Owner"));
    EXPECT_EQ(clicked, (QList<TKelColumn*>{amount, amount, grid->ColumnByName(QStringLiteral("Owner"))}));

    // A press that leaves the title before the release is no click.
    mouse->MouseDown(title);
    mouse->MouseMove(grid->CellRect(Raw("Id"), 3).center());
    mouse->MouseUp(grid->CellRect(Raw("Id"), 3).center());
    EXPECT_EQ(clicked.size(), 3);
}

TEST_F(GridKeysTest, TitleButtonsLightUpUnderTheMouseAndShowPressedWhileTheMouseStaysOnThem)
{
    const QRect title = grid->CellRect(Raw("Amount"), 0);
    auto look = [&] { return grid->viewport()->grab().toImage().copy(title); };
    const QImage normal = look();
    mouse->MouseMove(title.center());
    const QImage hot = look();
    EXPECT_NE(hot, normal) << "hot";
    mouse->MouseDown(title.center());
    const QImage pressed = look();
    EXPECT_NE(pressed, hot) << "pressed";
    mouse->MouseMove(grid->CellRect(Raw("Amount"), 3).center());
    EXPECT_EQ(look(), normal) << "the mouse left it";
    mouse->MouseMove(title.center());
    EXPECT_EQ(look(), pressed) << "back on it";
    mouse->MouseUp(title.center());
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Amount"));
}

TEST_F(GridKeysTest, DraggingATitleSidewaysMovesItsColumnUnlessAHandlerRefuses)
{
    auto order = [&] {
        QStringList names;
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            names << grid->Columns()->Items(i)->FieldName();
        return names.join(QLatin1Char(','));
    };
    auto drag = [&](const char* from, const char* to) {
        const QPoint start = grid->CellRect(Raw(from), 0).center();
        const QPoint end = grid->CellRect(Raw(to), 0).center();
        mouse->MouseDown(start);
        mouse->MouseMove(start + QPoint(end.x() > start.x() ? 10 : -10, 0));
        mouse->MouseMove(end);
        mouse->MouseUp(end);
    };
    QList<QPair<int, int>> moved;
    grid->OnColumnMoved = [&](TKelCustomDBGrid*, int from, int to) { moved << qMakePair(from, to); };
    drag("Amount", "Owner");
    EXPECT_EQ(order(), QStringLiteral("Id,Amount,Owner,Paid"));
    EXPECT_EQ(moved, (QList<QPair<int, int>>{{2, 1}}));
    EXPECT_EQ(grid->OrderFields(), QString()) << "a drag is no title click";
    EXPECT_EQ(grid->ColWidths(Raw("Owner")), grid->ColumnByName(QStringLiteral("Owner"))->Width());

    grid->OnColumnMoving = [](TKelCustomDBGrid*, int, int, bool&) { throw tk::Exception(QStringLiteral("no")); };
    drag("Paid", "Id");
    EXPECT_EQ(order(), QStringLiteral("Id,Amount,Owner,Paid")) << "refused";
    EXPECT_EQ(grid->ColWidths(Raw("Paid")), grid->ColumnByName(QStringLiteral("Paid"))->Width());
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridKeysTest, ClicksOnTheIndicatorTheCornerAndTheTotalsFireTheirEvents)
{
    grid->SetOptionsEx(grid->OptionsEx() | dgTotalFooter);
    QStringList events;
    grid->OnIndicatorClick = [&](TKelCustomDBGrid*) { events << QStringLiteral("indicator"); };
    grid->OnFillerClick = [&](TKelCustomDBGrid*) { events << QStringLiteral("filler"); };
    grid->OnTotalClick = [&](TKelCustomDBGrid*, TKelColumn* column, int row) {
        events << QStringLiteral("total %1 %2").arg(column->FieldName()).arg(row);
    };
    mouse->Click(grid->CellRect(0, grid->TitleOffset() + 2).center());
    EXPECT_EQ(CurrentId(), 3);
    mouse->Click(grid->CellRect(0, 0).center());
    mouse->Click(grid->CellRect(Raw("Amount"), grid->RowCount() - 1).center());
    EXPECT_EQ(events, (QStringList{QStringLiteral("indicator"), QStringLiteral("filler"),
                                   QStringLiteral("total Amount 0")}));
}

}  // namespace
}  // namespace kelgrid::test
