// The grid's in-place editor, worked as a user does: typing into cells and
// posting, Esc, the button and its popups (calendar, calculator), value
// stepping, auto-completion, lookups, the editor's button and menus.

#include "kelgrid/editors/dropdownlimits.h"
#include "kelgrid/editors/editorpopup.h"
#include "kelgrid/editors/popupcalculator.h"
#include "kelgrid/editors/popupcalendar.h"
#include "tests/kelgrid/editing_fixture.h"
#include "tests/support/menu_chooser.h"
#include "toolkit/core/strings.h"
#include "toolkit/ui/popupmenu.h"

#include <QTest>

namespace kelgrid::test {
namespace {

using tk::TDateTime;

class InplaceEditTest : public EditingFixture {
protected:
    QString EditorText() const { return Editor() ? Editor()->Text() : QStringLiteral("<no editor>"); }
    QPoint ButtonCentre() const { return Editor()->ButtonRect().center(); }
};

TEST_F(InplaceEditTest, TypedTextIsWrittenOnEnterAndPostedOnLeavingTheRecord)
{
    GoTo("Status");
    driver->Press(Qt::Key_F2);
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(EditorText(), QStringLiteral("Alpha"));
    EXPECT_TRUE(Editor()->hasFocus());
    driver->Type(QStringLiteral("Zulu"));  // the loaded text is selected: replaced
    EXPECT_EQ(EditorText(), QStringLiteral("Zulu"));
    EXPECT_EQ(receipts.State(), tk::dsEdit);
    driver->Press(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(Field("Status"), QStringLiteral("Zulu"));
    driver->Press(Qt::Key_Down);
    EXPECT_EQ(receipts.State(), tk::dsBrowse);
    receipts.First();
    EXPECT_EQ(Field("Status"), QStringLiteral("Zulu"));

    // Typing on a cell without the editor opens it with that character.
    driver->Type(QStringLiteral("Q"));
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(EditorText(), QStringLiteral("Q"));
    // Moving to another record posts the text.
    driver->Press(Qt::Key_Down);
    EXPECT_EQ(receipts.State(), tk::dsBrowse);
    receipts.First();
    EXPECT_EQ(Field("Status"), QStringLiteral("Q"));
}

TEST_F(InplaceEditTest, EscGivesBackTheTextThenCancelsTheRecord)
{
    GoTo("Status");
    driver->Press(Qt::Key_F2);
    driver->Type(QStringLiteral("Xray"));
    driver->Press(Qt::Key_Escape);
    EXPECT_EQ(EditorText(), QStringLiteral("Alpha"));
    EXPECT_EQ(Field("Status"), QStringLiteral("Alpha"));
    driver->Press(Qt::Key_Escape);
    EXPECT_EQ(receipts.State(), tk::dsBrowse);
    EXPECT_EQ(Field("Status"), QStringLiteral("Alpha"));
}

TEST_F(InplaceEditTest, TheEditorFollowsTheRecordWhenTheDatasetMoves)
{
    GoTo("Status");
    receipts.Edit();
    receipts.FieldByName(QStringLiteral("Status"))->SetAsString(QStringLiteral("First"));
    receipts.Post();
    grid->SetOptions(grid->Options() | dgAlwaysShowEditor);
    Settle();
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(EditorText(), QStringLiteral("First"));
    receipts.Next();
    EXPECT_EQ(EditorText(), QStringLiteral("Alpha"));
    // A change of the field under the editor shows at once.
    receipts.Edit();
    receipts.FieldByName(QStringLiteral("Status"))->SetAsString(QStringLiteral("Second"));
    EXPECT_EQ(EditorText(), QStringLiteral("Second"));
    receipts.Cancel();
}

TEST_F(InplaceEditTest, EditStyleFollowsTheColumnAndItsField)
{
    TKelDataEditor popup = dePickList;
    grid->SetOptionsExt(grid->OptionsExt() & ~TKelDBGridOptionsExt(dgGridStyleLists));
    EXPECT_EQ(grid->GetEditStyle(Column("Due"), popup), esPickList);
    EXPECT_EQ(popup, deCalendar);
    EXPECT_EQ(grid->GetEditStyle(Column("Owner"), popup), esPickList);
    EXPECT_EQ(popup, deDataList);
    grid->SetOptionsExt(grid->OptionsExt() | dgGridStyleLists);
    EXPECT_EQ(grid->GetEditStyle(Column("Owner"), popup), esPickList);
    EXPECT_EQ(popup, deGridList);
    EXPECT_EQ(grid->GetEditStyle(Column("Amount"), popup), esSimple);
    EXPECT_EQ(grid->GetEditStyle(Column("Notes"), popup), esSimple);

    // A read-only date column gets a plain editor; so does a lookup whose
    // key field may not change.
    Column("Due")->SetReadOnly(true);
    EXPECT_EQ(grid->GetEditStyle(Column("Due"), popup), esSimple);
    receipts.FieldByName(QStringLiteral("OwnerId"))->SetReadOnly(true);
    EXPECT_EQ(grid->GetEditStyle(Column("Owner"), popup), esSimple);

    Column("Status")->PickList()->Add(QStringLiteral("Alpha"));
    EXPECT_EQ(grid->GetEditStyle(Column("Status"), popup), esPickList);
    EXPECT_EQ(popup, dePickList);
    Column("Amount")->SetButtonStyle(cbsCalculator);
    EXPECT_EQ(grid->GetEditStyle(Column("Amount"), popup), esPickList);
    EXPECT_EQ(popup, deCalculator);
    Column("Amount")->SetButtonStyle(cbsEllipsis);
    EXPECT_EQ(grid->GetEditStyle(Column("Amount"), popup), esEllipsis);
    Column("Amount")->SetButtonStyle(cbsDropDownMenu);
    EXPECT_EQ(grid->GetEditStyle(Column("Amount"), popup), esDropDown);
}

TEST_F(InplaceEditTest, MemoCellsChangeOnlyWithEditMemo)
{
    GoTo("Notes");
    driver->Press(Qt::Key_F2);
    ASSERT_TRUE(grid->EditorMode());
    driver->Type(QStringLiteral("zz"));
    EXPECT_EQ(receipts.State(), tk::dsBrowse);
    driver->Press(Qt::Key_Escape);

    Column("Notes")->SetEditMemo(true);
    driver->Press(Qt::Key_F2);
    EXPECT_EQ(EditorText(), QStringLiteral("note 1"));
    driver->Type(QStringLiteral("longer note"));
    driver->Press(Qt::Key_Down);
    receipts.First();
    EXPECT_EQ(Field("Notes"), QStringLiteral("longer note"));
}

TEST_F(InplaceEditTest, TheCalendarOpensByKeysAndButtonAndWritesTheDayChosen)
{
    GoTo("Due");
    driver->Press(Qt::Key_F2);
    ASSERT_EQ(Editor()->EditStyle(), esPickList);
    driver->Press(Qt::Key_F2);  // F2 in the editor opens the popup
    ASSERT_TRUE(Editor()->PopupVisible());
    TKelPopupCalendar* calendar = Editor()->Calendar();
    ASSERT_TRUE(calendar && calendar->isVisible());
    EXPECT_TRUE(Editor()->hasFocus());
    EXPECT_EQ(calendar->Date(), tk::EncodeDate(2026, 3, 1));
    // The popup drops below the cell.
    const QPoint editorBottom = Editor()->mapToGlobal(QPoint(0, Editor()->height()));
    EXPECT_EQ(calendar->geometry().top(), editorBottom.y());

    driver->Press(Qt::Key_Right);  // forwarded: the next day
    driver->Press(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_FALSE(Editor()->PopupVisible());
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(receipts.FieldByName(QStringLiteral("Due"))->AsDateTime(), tk::EncodeDate(2026, 3, 2));

    // Esc closes the popup and keeps the cell as it is.
    driver->Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Editor()->PopupVisible());
    driver->Press(Qt::Key_Right);
    driver->Press(Qt::Key_Escape);
    EXPECT_FALSE(Editor()->PopupVisible());
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(receipts.FieldByName(QStringLiteral("Due"))->AsDateTime(), tk::EncodeDate(2026, 3, 2));

    // The button: a press opens, a second press closes without choosing.
    tk::test::WidgetDriver editorMouse(Editor());
    editorMouse.MouseDown(ButtonCentre());
    EXPECT_TRUE(Editor()->PopupVisible());
    EXPECT_TRUE(Editor()->ButtonPressed());
    editorMouse.MouseUp(ButtonCentre());
    EXPECT_FALSE(Editor()->ButtonPressed());
    EXPECT_TRUE(Editor()->PopupVisible());
    editorMouse.Click(ButtonCentre());
    EXPECT_FALSE(Editor()->PopupVisible());
}

TEST_F(InplaceEditTest, TheCalculatorWorksOnTheCellsNumber)
{
    Column("Amount")->SetButtonStyle(cbsCalculator);
    GoTo("Amount");
    driver->Press(Qt::Key_F2);
    driver->Press(Qt::Key_Return, Qt::ControlModifier, QStringLiteral("\r"));
    ASSERT_TRUE(Editor()->PopupVisible());
    EXPECT_EQ(Editor()->Calculator()->DisplayText(), QStringLiteral("101"));
    driver->Type(QStringLiteral("*2"));  // the asterisk has no key of its own
    driver->Press(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_FALSE(Editor()->PopupVisible());
    EXPECT_DOUBLE_EQ(receipts.FieldByName(QStringLiteral("Amount"))->AsFloat(), 202.0);
}

TEST_F(InplaceEditTest, PickDataStepsCyclesAndCompletes)
{
    TKelColumn* status = Column("Status");
    for (const char* item : {"Alpha", "Beta", "Bravo"})
        status->PickList()->Add(QString::fromLatin1(item));
    status->SetListOptions(status->ListOptions() | loSelectNextValue | loAutoComplete);
    GoTo("Status");
    driver->Press(Qt::Key_F2);
    driver->Press(Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"));
    EXPECT_EQ(EditorText(), QStringLiteral("Beta"));
    driver->Press(Qt::Key_Minus, Qt::KeypadModifier, QStringLiteral("-"));
    driver->Press(Qt::Key_Minus, Qt::KeypadModifier, QStringLiteral("-"));
    EXPECT_EQ(EditorText(), QStringLiteral("Bravo"));  // wrapped from the first to the last
    driver->Press(Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"));
    EXPECT_EQ(EditorText(), QStringLiteral("Alpha"));  // and from the last to the first
    tk::test::WidgetDriver editorMouse(Editor());
    editorMouse.DoubleClick(QPoint(5, Editor()->height() / 2));
    EXPECT_EQ(EditorText(), QStringLiteral("Beta"));

    // Typing b completes to the first item beginning with it, its tail
    // selected; r goes on to Bravo.
    Editor()->SelectAll();
    driver->Type(QStringLiteral("b"));
    EXPECT_EQ(EditorText(), QStringLiteral("Beta"));
    EXPECT_EQ(Editor()->selectedText(), QStringLiteral("eta"));
    driver->Type(QStringLiteral("r"));
    EXPECT_EQ(EditorText(), QStringLiteral("Bravo"));
    EXPECT_EQ(Editor()->selectedText(), QStringLiteral("avo"));
    driver->Press(Qt::Key_Down);
    receipts.First();
    EXPECT_EQ(Field("Status"), QStringLiteral("Bravo"));
}

TEST_F(InplaceEditTest, LookupValuesStepThroughTheLookupDatasetAndWrap)
{
    TKelColumn* owner = Column("Owner");
    owner->SetListOptions(owner->ListOptions() | loSelectNextValue);
    GoTo("Owner");
    driver->Press(Qt::Key_F2);
    EXPECT_EQ(EditorText(), QStringLiteral("Ana Ruiz"));
    driver->Press(Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"));
    EXPECT_EQ(Field("OwnerId"), QStringLiteral("2"));
    EXPECT_EQ(EditorText(), QStringLiteral("Bernardo Gil"));
    driver->Press(Qt::Key_Minus, Qt::KeypadModifier, QStringLiteral("-"));
    driver->Press(Qt::Key_Minus, Qt::KeypadModifier, QStringLiteral("-"));
    EXPECT_EQ(Field("OwnerId"), QStringLiteral("4"));
    EXPECT_EQ(EditorText(), QStringLiteral("Diego Soto"));
}

TEST_F(InplaceEditTest, ClearingALookupMakesItsNumericKeyNull)
{
    // The key field takes Null, not an empty text its type cannot read.
    GoTo("Owner");
    driver->Press(Qt::Key_F2);
    Editor()->ApplyValue(QString());
    EXPECT_TRUE(receipts.FieldByName(QStringLiteral("OwnerId"))->IsNull());
    EXPECT_EQ(EditorText(), QString());
    receipts.Post();
    EXPECT_TRUE(receipts.FieldByName(QStringLiteral("OwnerId"))->IsNull());
}

TEST_F(InplaceEditTest, TheEllipsisButtonAndItsKeysAreButtonClicks)
{
    int clicks = 0;
    grid->OnEditButtonClick = [&](TKelCustomDBGrid*) { ++clicks; };
    Column("Amount")->SetButtonStyle(cbsEllipsis);
    GoTo("Amount");
    driver->Press(Qt::Key_F2);
    ASSERT_EQ(Editor()->EditStyle(), esEllipsis);
    EXPECT_FALSE(Editor()->ButtonRect().isEmpty());
    // The text keeps out of the button.
    EXPECT_GE(Editor()->TextMargins().right(), Editor()->ButtonWidth());
    tk::test::WidgetDriver editorMouse(Editor());
    editorMouse.Click(ButtonCentre());
    EXPECT_EQ(clicks, 1);
    driver->Press(Qt::Key_F2);
    driver->Press(Qt::Key_Return, Qt::ControlModifier, QStringLiteral("\r"));
    EXPECT_EQ(clicks, 3);
    // A press that leaves the button before the release is no click.
    editorMouse.MouseDown(ButtonCentre());
    editorMouse.MouseMove(QPoint(2, 2));
    editorMouse.MouseUp(QPoint(2, 2));
    EXPECT_EQ(clicks, 3);
    EXPECT_TRUE(grid->EditorMode());
}

TEST_F(InplaceEditTest, ADropDownMenuButtonDropsTheColumnsMenuBelowTheCell)
{
    tk::TPopupMenu menu;
    auto* item = new tk::TMenuItem(&menu);
    item->SetCaption(QStringLiteral("Copy"));
    int chosen = 0;
    item->OnClick = [&](QObject*) { ++chosen; };
    menu.Items()->Add(item);
    Column("Amount")->SetDropDownMenu(&menu);
    EXPECT_EQ(Column("Amount")->ButtonStyle(), cbsDropDownMenu);
    GoTo("Amount");
    driver->Press(Qt::Key_F2);
    ASSERT_EQ(Editor()->EditStyle(), esDropDown);
    tk::test::MenuChooser chooser(QStringLiteral("Copy"));
    tk::test::WidgetDriver editorMouse(Editor());
    editorMouse.Click(ButtonCentre());
    EXPECT_TRUE(chooser.Opened());
    EXPECT_EQ(chosen, 1);

    // The point lies under the current cell.
    const QRect cell = grid->CellRect(grid->Col(), grid->Row());
    const QPoint at = grid->viewport()->mapFromGlobal(grid->DropDownPoint(Column("Amount"), false));
    EXPECT_NEAR(at.y(), cell.bottom() + 1, 1);
    EXPECT_NEAR(at.x(), cell.left(), 1);
}

TEST_F(InplaceEditTest, AutoDropDownOpensOnEnteringByKeyButNotByClick)
{
    TKelColumn* due = Column("Due");
    due->SetListOptions(due->ListOptions() | loAutoDropDown);
    grid->SetOptions(grid->Options() | dgAlwaysShowEditor);
    GoTo("Owner");
    Settle();
    driver->Press(Qt::Key_Tab);
    Settle();
    ASSERT_EQ(grid->SelectedColumn(), due);
    EXPECT_TRUE(Editor()->PopupVisible());
    driver->Press(Qt::Key_Escape);
    EXPECT_FALSE(Editor()->PopupVisible());

    // A click into the column's cell of another record opens nothing.
    tk::test::WidgetDriver mouse(grid->viewport());
    const QRect cell = grid->CellRect(grid->Col(), grid->Row() + 2);
    mouse.Click(cell.center() - QPoint(cell.width() / 4, 0));
    Settle();
    EXPECT_EQ(receipts.FieldByName(QStringLiteral("Id"))->AsInteger(), 3);
    EXPECT_FALSE(Editor()->PopupVisible());
}

TEST(DropDownLimitsTest, RowsAndWidthFollowTheColumnsLimits)
{
    TDropDownLimits limits;
    limits.editorWidth = 60;
    EXPECT_EQ(limits.ListRows(35), 20);  // the unit's limit
    EXPECT_EQ(limits.ListRows(7), 7);
    EXPECT_EQ(limits.ListRows(0), 1);
    limits.dropDownRows = -1;
    EXPECT_EQ(limits.ListRows(35), 35);  // no limit
    limits.dropDownRows = 5;
    EXPECT_EQ(limits.ListRows(35), 5);
    EXPECT_EQ(limits.ListRows(3), 3);
    EXPECT_EQ(limits.ListWidth(1000), 800);
    EXPECT_EQ(limits.ListWidth(10), 62);  // never narrower than the editor
    limits.dropDownWidth = -1;
    EXPECT_EQ(limits.ListWidth(1000), 1000);
    limits.dropDownWidth = 120;
    EXPECT_EQ(limits.ListWidth(1000), 120);
}

}  // namespace
}  // namespace kelgrid::test
