// The in-place editor's list popups, worked as a user does: the pick list
// of a text column, the lookup list and the lookup grid of a lookup field,
// each opened by key or button, moved in by key, wheel and typing, and
// closed by Enter, Esc, a click in the list or a click outside.

#include "kelgrid/editors/popupdatalist.h"
#include "kelgrid/editors/popupgridlist.h"
#include "kelgrid/editors/popuppicklist.h"
#include "kelgrid/grid/tuning.h"
#include "tests/kelgrid/editing_fixture.h"
#include "tests/support/manual_timer_driver.h"
#include "toolkit/core/strings.h"

namespace kelgrid::test {
namespace {

class EditorListsTest : public EditingFixture {
protected:
    void SetUp() override
    {
        EditingFixture::SetUp();
        TKelColumn* status = Column("Status");
        for (const char* item : {"Alpha", "Beta", "Bravo", "Charlie"})
            status->PickList()->Add(QString::fromLatin1(item));
    }
    // Opens the editor on the column and its popup with Alt+Down, and lets
    // the opening animation run to the full height.
    void OpenOn(const char* column)
    {
        GoTo(column);
        driver->Press(Qt::Key_F2);
        ASSERT_TRUE(grid->EditorMode());
        driver->Press(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(Editor()->PopupVisible());
        FinishOpening();
    }
    void FinishOpening() { timers.Advance(60 * ListDropDownDelay); }
    void UseLookupLists() { grid->SetOptionsExt(grid->OptionsExt() & ~TKelDBGridOptionsExt(dgGridStyleLists)); }
    int OwnerId() const { return receipts.FieldByName(QStringLiteral("OwnerId"))->AsInteger(); }

    // Made before the grid, so the editor's animation runs on it.
    tk::test::ManualTimerDriver timers;
};

TEST_F(EditorListsTest, ThePickListChoosesByKeysAndEnterAndEscKeepsTheCell)
{
    OpenOn("Status");
    TKelPopupPickList* list = Editor()->PickList();
    ASSERT_TRUE(list && list->isVisible());
    EXPECT_TRUE(Editor()->hasFocus());
    EXPECT_EQ(list->Items()->Count(), 4);
    EXPECT_EQ(list->ItemIndex(), 0);  // the cell's text
    // Under the cell, at least as wide as it.
    EXPECT_EQ(list->geometry().top(), Editor()->mapToGlobal(QPoint(0, Editor()->height())).y());
    EXPECT_GE(list->width(), Editor()->width());

    driver->Press(Qt::Key_Down);
    driver->Press(Qt::Key_Down);
    EXPECT_EQ(list->ItemIndex(), 2);
    driver->Press(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(Field("Status"), QStringLiteral("Bravo"));
    EXPECT_EQ(list->Items()->Count(), 0);  // cleared at each close

    driver->Press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(list->ItemIndex(), 2);
    driver->Press(Qt::Key_Up);
    driver->Press(Qt::Key_Escape);
    EXPECT_FALSE(Editor()->PopupVisible());
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(Field("Status"), QStringLiteral("Bravo"));
}

TEST_F(EditorListsTest, APickListWithoutAChosenItemAppliesNothing)
{
    GoTo("Status");
    driver->Press(Qt::Key_F2);
    driver->Type(QStringLiteral("Zed"));
    driver->Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Editor()->PopupVisible());
    FinishOpening();
    EXPECT_EQ(Editor()->PickList()->ItemIndex(), -1);
    driver->Press(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_FALSE(Editor()->PopupVisible());
    EXPECT_EQ(Editor()->Text(), QStringLiteral("Zed"));
}

TEST_F(EditorListsTest, PressingTheButtonAndReleasingOverAnItemChoosesIt)
{
    GoTo("Status");
    driver->Press(Qt::Key_F2);
    tk::test::WidgetDriver editorMouse(Editor());
    const QPoint button = Editor()->ButtonRect().center();
    editorMouse.MouseDown(button);
    TKelPopupPickList* list = Editor()->PickList();
    ASSERT_TRUE(list && list->isVisible());
    FinishOpening();
    // The drag goes on to the list's third item, where the button is let go.
    const QRect third = list->visualItemRect(list->item(3));
    const QPoint over = Editor()->mapFromGlobal(list->viewport()->mapToGlobal(third.center()));
    editorMouse.MouseMove(over);
    editorMouse.MouseUp(over);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(Field("Status"), QStringLiteral("Charlie"));
}

TEST_F(EditorListsTest, TheLookupListWritesTheChosenKey)
{
    UseLookupLists();
    OpenOn("Owner");
    TKelPopupDataList* list = Editor()->DataList();
    ASSERT_TRUE(list && list->isVisible());
    ASSERT_EQ(Editor()->GridList(), nullptr);
    EXPECT_EQ(list->KeyValue().ToInt(), 1);
    driver->Press(Qt::Key_Down);
    EXPECT_EQ(list->KeyValue().ToInt(), 2);
    driver->Press(Qt::Key_Down);
    const int chosen = list->KeyValue().ToInt();
    ASSERT_EQ(chosen, 3);
    driver->Press(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_FALSE(Editor()->PopupVisible());
    EXPECT_EQ(OwnerId(), chosen);
    EXPECT_EQ(Editor()->Text(), owners.Lookup(QStringLiteral("Id"), tk::Variant(chosen), QStringLiteral("Name")).ToString());
    EXPECT_EQ(list->ListSource(), nullptr);  // let go at close
}

TEST_F(EditorListsTest, TheLookupGridSearchesAsTypedAndAClickInItChooses)
{
    OpenOn("Owner");
    TKelPopupGridList* list = Editor()->GridList();
    ASSERT_TRUE(list && list->isVisible());
    EXPECT_EQ(list->KeyValue().ToInt(), 1);
    EXPECT_TRUE(Editor()->hasFocus());
    driver->Type(QStringLiteral("ca"));
    EXPECT_EQ(list->KeyValue().ToInt(), 3);
    driver->Press(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_EQ(OwnerId(), 3);
    EXPECT_EQ(Editor()->Text(), QString::fromUtf8("Carmen Peña"));
    // The layout the user saw goes back into the column.
    EXPECT_EQ(Column("Owner")->LookupListFields(), QStringLiteral("Name"));

    // A click on the fourth owner's row chooses it.
    driver->Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(list->isVisible());
    FinishOpening();
    list->DataSource()->DataSet()->Last();
    const int lastRow = list->Row();
    const QRect cell = list->CellRect(list->LeftCol(), lastRow);
    ASSERT_FALSE(cell.isEmpty());
    tk::test::WidgetDriver listMouse(list->viewport());
    listMouse.Click(cell.center());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(OwnerId(), 4);
}

TEST_F(EditorListsTest, AClickOutsideClosesWithoutChoosing)
{
    OpenOn("Owner");
    driver->Press(Qt::Key_Down);
    // A press on the grid's title row, outside the list and the editor.
    tk::test::WidgetDriver gridMouse(grid->viewport());
    gridMouse.Click(QPoint(grid->CellRect(0, 0).center()));
    EXPECT_FALSE(Editor()->PopupVisible());
    EXPECT_EQ(OwnerId(), 1);
    EXPECT_EQ(Editor()->GridList()->DataSource(), nullptr);
}

// The popup grows row by row; the wheel over the editor scrolls the open
// list, not the grid.
TEST_F(EditorListsTest, TheListOpensRowByRowAndTakesTheWheel)
{
    TKelColumn* status = Column("Status");
    for (int i = 0; i < 31; ++i)
        status->PickList()->Add(QStringLiteral("Item %1").arg(i, 2, 10, QLatin1Char('0')));
    status->SetDropDownRows(6);
    GoTo("Status");
    driver->Press(Qt::Key_F2);
    driver->Press(Qt::Key_Down, Qt::AltModifier);
    TKelPopupPickList* list = Editor()->PickList();
    ASSERT_TRUE(list && list->isVisible());
    const int rowHeight = list->ItemHeight();
    const int first = list->height();
    EXPECT_LT(first, 6 * rowHeight);
    timers.Advance(ListDropDownDelay);
    EXPECT_EQ(list->height(), first + rowHeight);
    FinishOpening();
    EXPECT_EQ(list->viewport()->height(), 6 * rowHeight);

    const int record = receipts.RecNo();
    tk::test::WidgetDriver editorMouse(Editor());
    editorMouse.Wheel(QPoint(4, 4), -1);
    EXPECT_GT(list->TopIndex(), 0);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(receipts.RecNo(), record);
}

// Freeing the grid while its editor's popup is still growing stops the
// growth; the steps left never touch the freed widgets.
TEST_F(EditorListsTest, FreeingTheGridDuringTheOpeningAnimationIsSafe)
{
    GoTo("Status");
    driver->Press(Qt::Key_F2);
    driver->Press(Qt::Key_Down, Qt::AltModifier);
    const QPointer<TKelPopupPickList> list = Editor()->PickList();
    ASSERT_TRUE(list && list->isVisible());
    ASSERT_GT(timers.ArmedCount(), 0);
    driver.reset();
    grid.reset();
    EXPECT_TRUE(list.isNull());
    timers.Advance(60 * ListDropDownDelay);
    EXPECT_EQ(timers.ArmedCount(), 0);
}

}  // namespace
}  // namespace kelgrid::test
