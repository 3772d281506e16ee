#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/gridstyle.h"
#include "kelgrid/grid/keldbgrids.h"
#include "tests/support/field_def.h"
#include "tests/support/temp_folder.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/fields.h"
#include "toolkit/ui/forms.h"
#include "toolkit/ui/popupmenu.h"
#include "toolkit/ui/sysinfo.h"

#include <QApplication>
#include <QPointer>
#include <gtest/gtest.h>
#include <memory>

namespace kelgrid::test {
namespace {

using tk::test::Def;

// Customers with their orders: Ana two, Ben none, Cy one.
void FillCustomers(tk::TClientDataSet& customers)
{
    tk::TFieldDef orders = Def(QStringLiteral("Orders"), tk::ftDataSet);
    orders.ChildDefs = {Def(QStringLiteral("Item"), tk::ftString, 20), Def(QStringLiteral("Qty"), tk::ftInteger)};
    customers.FieldDefs() = {Def(QStringLiteral("Name"), tk::ftString, 20), orders};
    customers.CreateDataSet();
    const QList<QPair<QString, QStringList>> rows = {{QStringLiteral("Ana"), {QStringLiteral("pen"), QStringLiteral("ink")}},
                                                     {QStringLiteral("Ben"), {}},
                                                     {QStringLiteral("Cy"), {QStringLiteral("pad")}}};
    for (const auto& [name, items] : rows) {
        customers.Append();
        customers.FieldByName(QStringLiteral("Name"))->SetAsString(name);
        tk::TDataSet* nested = qobject_cast<tk::TDataSetField*>(customers.FieldByName(QStringLiteral("Orders")))
                                   ->NestedDataSet();
        for (const QString& item : items) {
            nested->Append();
            nested->FieldByName(QStringLiteral("Item"))->SetAsString(item);
            nested->FieldByName(QStringLiteral("Qty"))->SetAsInteger(1);
            nested->Post();
        }
        customers.Post();
    }
    customers.First();
}

// A grid whose factory makes the nested grid and then fails.
class FailingNestedGrid : public TKelDBGrid {
    Q_OBJECT
public:
    Q_INVOKABLE explicit FailingNestedGrid(QWidget* parent = nullptr) : TKelDBGrid(parent) {}
    QPointer<TKelCustomDBGrid> made;

protected:
    TKelCustomDBGrid* CreateNestedGrid(QWidget* parent) override
    {
        made = TKelDBGrid::CreateNestedGrid(parent);
        throw tk::EDatabaseError(QStringLiteral("no nested grid today"));
    }
};

// A grid class without an invokable constructor.
class PlainGrid : public TKelDBGrid {
    Q_OBJECT
public:
    PlainGrid() = default;
};

class GridNestedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillCustomers(customers);
        source.SetDataSet(&customers);
        grid = std::make_unique<TKelDBGrid>();
        Show(*grid);
    }
    void TearDown() override { grid.reset(); }

    void Show(TKelDBGrid& shown)
    {
        shown.resize(400, 200);
        shown.SetDataSource(&source);
        shown.show();
        QApplication::processEvents();
    }
    TKelColumn* OrdersColumn(TKelCustomDBGrid& of) { return of.ColumnByName(QStringLiteral("Orders")); }
    tk::TDataSet* Nested()
    {
        return qobject_cast<tk::TDataSetField*>(customers.FieldByName(QStringLiteral("Orders")))->NestedDataSet();
    }
    QList<TKelCustomDBGrid*> NestedGrids(TKelCustomDBGrid& of)
    {
        return of.findChildren<TKelCustomDBGrid*>();
    }
    int NestedRows(TKelCustomDBGrid* nested) { return nested->DataLink()->RecordCount(); }

    tk::TClientDataSet customers;
    tk::TDataSource source;
    std::unique_ptr<TKelDBGrid> grid;
};

// The cell's ellipsis button, by key as by a handler-less click, opens it;
// a handler of the button takes the click instead.
TEST_F(GridNestedTest, TheCellsEllipsisButtonOpensIt)
{
    grid->setFocus();
    grid->SetSelectedColumn(OrdersColumn(*grid));
    tk::test::WidgetDriver keys(grid.get());
    keys.Press(Qt::Key_F2);
    ASSERT_TRUE(grid->EditorMode());
    int clicks = 0;
    grid->OnEditButtonClick = [&](TKelCustomDBGrid*) { ++clicks; };
    keys.Press(Qt::Key_F2);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(NestedGrids(*grid).isEmpty());
    grid->OnEditButtonClick = nullptr;
    keys.Press(Qt::Key_Return, Qt::ControlModifier, QStringLiteral("\r"));
    ASSERT_EQ(NestedGrids(*grid).size(), 1);
    EXPECT_TRUE(NestedGrids(*grid).first()->window()->isVisible());
    EXPECT_EQ(NestedRows(NestedGrids(*grid).first()), 2);
}

TEST_F(GridNestedTest, OpensAFloatingGridOnTheCurrentRecordsRows)
{
    grid->ShowPopupEditor(OrdersColumn(*grid), 30, 40);
    const QList<TKelCustomDBGrid*> nested = NestedGrids(*grid);
    ASSERT_EQ(nested.size(), 1);
    TKelCustomDBGrid* shown = nested.first();
    EXPECT_EQ(shown->metaObject(), grid->metaObject());
    QWidget* window = shown->window();
    EXPECT_NE(window, grid->window());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Orders"));
    EXPECT_EQ(window->pos(), QPoint(30, 40));
    EXPECT_EQ(shown->DataSource()->DataSet(), Nested());
    EXPECT_EQ(shown->DataSource()->Owner(), shown);
    EXPECT_EQ(shown->geometry(), window->rect());  // the grid fills the window
    EXPECT_EQ(Nested()->RecordCount(), 2);
    EXPECT_EQ(shown->Columns()->Count(), 2);
}

TEST_F(GridNestedTest, OnlyDataSetFieldsOpenAGrid)
{
    grid->ShowPopupEditor(grid->ColumnByName(QStringLiteral("Name")));
    grid->ShowPopupEditor(nullptr);
    EXPECT_TRUE(NestedGrids(*grid).isEmpty());
}

TEST_F(GridNestedTest, ASecondCallShowsTheSameWindowAgain)
{
    grid->ShowPopupEditor(OrdersColumn(*grid));
    TKelCustomDBGrid* first = NestedGrids(*grid).value(0);
    ASSERT_NE(first, nullptr);
    first->clearFocus();
    first->window()->hide();  // the user closed it
    grid->ShowPopupEditor(OrdersColumn(*grid));
    EXPECT_EQ(NestedGrids(*grid), QList<TKelCustomDBGrid*>({first}));
    EXPECT_TRUE(first->window()->isVisible());
    // The window's focus goes to the grid (the window itself becomes active
    // as the window system decides).
    EXPECT_EQ(first->window()->focusWidget(), first);

    // A disabled one cannot take the focus: a new grid is made.
    first->SetEnabled(false);
    grid->ShowPopupEditor(OrdersColumn(*grid));
    EXPECT_EQ(NestedGrids(*grid).size(), 2);
}

// Reopening the dataset makes new dataset fields: the window of the old
// nested dataset goes at the next call, which opens the new one.
TEST_F(GridNestedTest, AGridWhoseNestedDataSetWentIsReplaced)
{
    grid->ShowPopupEditor(OrdersColumn(*grid));
    QPointer<QWidget> oldWindow = NestedGrids(*grid).value(0)->window();
    tk::test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("customers.cds"));
    customers.SaveToFile(path);
    customers.LoadFromFile(path);
    ASSERT_TRUE(oldWindow);
    grid->ShowPopupEditor(OrdersColumn(*grid));
    EXPECT_TRUE(oldWindow.isNull());
    const QList<TKelCustomDBGrid*> nested = NestedGrids(*grid);
    ASSERT_EQ(nested.size(), 1);
    EXPECT_EQ(nested.first()->DataSource()->DataSet(), Nested());
}

TEST_F(GridNestedTest, ScrollingTheParentChangesTheNestedRows)
{
    grid->ShowPopupEditor(OrdersColumn(*grid));
    TKelCustomDBGrid* nested = NestedGrids(*grid).value(0);
    ASSERT_NE(nested, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(NestedRows(nested), 2);
    grid->setFocus();
    tk::test::WidgetDriver keys(grid.get());
    keys.Press(Qt::Key_Down);
    EXPECT_EQ(customers.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Ben"));
    EXPECT_EQ(NestedRows(nested), 0);
    keys.Press(Qt::Key_Down);
    EXPECT_EQ(NestedRows(nested), 1);
    EXPECT_EQ(Nested()->FieldByName(QStringLiteral("Item"))->AsString(), QStringLiteral("pad"));
}

TEST_F(GridNestedTest, CopiesTheAppearanceAndDropsTitleSorting)
{
    tk::TPopupMenu menu;
    grid->SetPopupMenu(&menu);
    grid->SetColor(tk::clYellow);
    grid->SetCtl3D(false);
    grid->SetCursor(tk::crHandPoint);
    grid->SetDataColLineColor(tk::clRed);
    grid->SetDataRowLineColor(tk::clBlue);
    grid->SetEditorColor(tk::clAqua);
    grid->SetFixedColor(tk::clGreen);
    grid->SetFixedStyle(fsFlat);
    grid->SetFixedTheme(ftNone);
    grid->SetFocusRect(frGray);
    grid->Font()->SetSize(13);
    grid->GridStyle()->SetDataRowSpace(5);
    grid->SetHelpContext(77);
    grid->SetHighlightText(tk::clMaroon);
    grid->SetHotButtons(hbTile);
    grid->SetImeName(QStringLiteral("kana"));
    grid->SetListBorder(lbGray);
    grid->SetMarkerStyle(msFlat);
    grid->SetMarkerTransparent(mtFalse);
    grid->SetResizeOptions(TResizeOptions(roColumnResize));
    grid->SetSelectionColor(tk::clNavy);
    grid->SetSelectRowColor(tk::clTeal);
    grid->SetSelectCellColor(tk::clOlive);
    grid->SetStripeColor(tk::clSilver);
    grid->TitleFont()->SetSize(15);
    grid->SetOptions(grid->Options() | dgTitleButtons | dgMarkerAutoToggle | dgRowSelect);
    grid->Columns()->SetState(csCustomized);

    grid->ShowPopupEditor(OrdersColumn(*grid));
    TKelCustomDBGrid* nested = NestedGrids(*grid).value(0);
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->PopupMenu(), &menu);
    EXPECT_EQ(nested->Color(), tk::clYellow);
    EXPECT_FALSE(nested->Ctl3D());
    EXPECT_EQ(nested->Cursor(), tk::crHandPoint);
    EXPECT_EQ(nested->DataColLineColor(), tk::clRed);
    EXPECT_EQ(nested->DataRowLineColor(), tk::clBlue);
    EXPECT_EQ(nested->EditorColor(), tk::clAqua);
    EXPECT_EQ(nested->FixedColor(), tk::clGreen);
    EXPECT_EQ(nested->FixedStyle(), fsFlat);
    EXPECT_EQ(nested->FixedTheme(), ftNone);
    EXPECT_EQ(nested->FocusRect(), frGray);
    EXPECT_EQ(nested->Font()->Size(), 13);
    EXPECT_EQ(nested->GridStyle()->DataRowSpace(), 5);
    EXPECT_EQ(nested->HelpContext(), 77);
    EXPECT_EQ(nested->HighlightText(), tk::clMaroon);
    EXPECT_EQ(nested->HotButtons(), hbTile);
    EXPECT_EQ(nested->ImeName(), QStringLiteral("kana"));
    EXPECT_EQ(nested->ListBorder(), lbGray);
    EXPECT_EQ(nested->MarkerStyle(), msFlat);
    EXPECT_EQ(nested->MarkerTransparent(), mtFalse);
    EXPECT_EQ(nested->ResizeOptions(), TResizeOptions(roColumnResize));
    EXPECT_EQ(nested->SelectionColor(), tk::clNavy);
    EXPECT_EQ(nested->SelectRowColor(), tk::clTeal);
    EXPECT_EQ(nested->SelectCellColor(), tk::clOlive);
    EXPECT_EQ(nested->StripeColor(), tk::clSilver);
    EXPECT_EQ(nested->TitleFont()->Size(), 15);
    EXPECT_EQ(nested->FillerIndex(), -1);
    EXPECT_TRUE(nested->Options().testFlag(dgRowSelect));
    EXPECT_FALSE(nested->Options().testFlag(dgTitleButtons));
    EXPECT_FALSE(nested->Options().testFlag(dgMarkerAutoToggle));
    EXPECT_EQ(nested->Columns()->State(), csCustomized);
    EXPECT_EQ(nested->Columns()->Count(), 2);
}

// The popup menu is the nearest one: the grid's own, else its parents'.
TEST_F(GridNestedTest, TakesTheNearestPopupMenu)
{
    tk::TPopupMenu formMenu;
    tk::TForm form;
    form.SetPopupMenu(&formMenu);
    grid->setParent(&form);
    grid->ShowPopupEditor(OrdersColumn(*grid));
    TKelCustomDBGrid* nested = NestedGrids(*grid).value(0);
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->PopupMenu(), &formMenu);
    grid->setParent(nullptr);
}

TEST_F(GridNestedTest, WindowSizeFollowsTheColumnsOrAQuarterOfTheScreen)
{
    const QRect screen = tk::ScreenRect();
    grid->ShowPopupEditor(OrdersColumn(*grid));
    TKelCustomDBGrid* narrow = NestedGrids(*grid).value(0);
    ASSERT_NE(narrow, nullptr);
    int columns = 0;
    for (int col = 0; col < narrow->ColCount(); ++col)
        columns += narrow->ColWidths(col) + narrow->GridLineWidth();
    ASSERT_LT(columns, screen.width() / 2);
    EXPECT_EQ(narrow->window()->width(), columns);
    EXPECT_EQ(narrow->window()->height(), screen.height() / 4);

    // Columns wider than half the screen: a quarter of the screen wide.
    TKelDBGrid wide;
    Show(wide);
    tk::TDataSet* nested = Nested();
    nested->FieldByName(QStringLiteral("Item"))->SetDisplayWidth(screen.width() / 4);
    wide.ShowPopupEditor(wide.ColumnByName(QStringLiteral("Orders")));
    TKelCustomDBGrid* big = NestedGrids(wide).value(0);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->window()->width(), screen.width() / 4);
    EXPECT_EQ(big->window()->height(), screen.height() / 4);
}

TEST_F(GridNestedTest, TheWindowGoesWithTheGrid)
{
    grid->ShowPopupEditor(OrdersColumn(*grid));
    QPointer<TKelCustomDBGrid> nested = NestedGrids(*grid).value(0);
    ASSERT_TRUE(nested);
    QPointer<QWidget> window = nested->window();
    grid.reset();
    EXPECT_TRUE(nested.isNull());
    EXPECT_TRUE(window.isNull());
    // The nested dataset lives on, without the grid's data source.
    customers.Next();
    EXPECT_EQ(Nested()->RecordCount(), 0);
}

TEST_F(GridNestedTest, AFailureWhileCreatingFreesTheNewGrid)
{
    FailingNestedGrid failing;
    Show(failing);
    EXPECT_THROW(failing.ShowPopupEditor(OrdersColumn(failing)), tk::EDatabaseError);
    EXPECT_TRUE(failing.made.isNull());
    for (QWidget* child : failing.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        EXPECT_FALSE(child->isWindow()) << "a window was left behind";

    PlainGrid plain;
    Show(plain);
    EXPECT_THROW(plain.ShowPopupEditor(OrdersColumn(plain)), tk::EInvalidGridOperation);
    EXPECT_TRUE(NestedGrids(plain).isEmpty());
}

}  // namespace
}  // namespace kelgrid::test

#include "gridnested_test.moc"
