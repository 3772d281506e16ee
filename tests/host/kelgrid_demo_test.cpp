// The grid demonstration window: the 100,000 orders and their field kinds,
// the title tree, the editors per column, the totals over all orders and
// over rows picked with Ctrl, sorting by title clicks on both tabs, the
// clipboard, the layout buttons, the linked grid, the main window's button
// and the screenshot.

#include "host/backup_library.h"
#include "host/demo_orders.h"
#include "host/kelgrid_demo.h"
#include "host/kelgrid_demo_screenshots.h"
#include "host/main_window.h"
#include "host/sample_installation.h"

#include "kelgrid/controls/columnsform.h"
#include "kelgrid/controls/keldbctrls.h"
#include "kelgrid/controls/keldblists.h"
#include "kelgrid/grid/keldbgrids.h"
#include "kelgrid/grid/totalformat.h"
#include "tests/support/temp_folder.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/inifile.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/database.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/query.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace host {
namespace {

using kelgrid::TKelColumn;
using kelgrid::TKelDBGrid;

// Fewer orders than the window's own, so each test opens its window fast;
// the full orders are checked on their own below.
constexpr int kTestOrders = 5000;

class KelgridDemoTest : public ::testing::Test {
protected:
    KelgridDemoTest()
        : ini_(folder_.File(QStringLiteral("KelgridDemo.ini"))), window_(ini_, nullptr, kTestOrders)
    {
        window_.show();
        QApplication::processEvents();
    }

    static TKelColumn* Column(TKelDBGrid* grid, const char* field)
    {
        return grid->ColumnByName(QString::fromLatin1(field));
    }
    // The whole title path of a column: its parents' titles, then its own.
    static QString TitlePath(const TKelColumn* column)
    {
        QStringList parts;
        for (const TKelColumn* c = column; c; c = c->ParentColumn()) {
            QString title = c->Title()->Caption();
            if (!c->Title()->Header().isEmpty())
                title = c->Title()->Header() + QLatin1Char('|') + title;
            parts.prepend(title);
        }
        return parts.join(QLatin1Char('|'));
    }
    // The caption of a column's title, in viewport pixels: the bottom of
    // the title cell, below the header rows drawn above it.
    static QPoint TitlePoint(TKelDBGrid* grid, TKelColumn* column)
    {
        const QRect cell = grid->CellRect(grid->DataToRawColumn(column->Index()), grid->TitleOffset() - 1);
        return QPoint(cell.center().x(), cell.bottom() - 4);
    }
    // The cell of a column on the screen row below the titles.
    static QPoint CellPoint(TKelDBGrid* grid, TKelColumn* column, int screenRow)
    {
        return grid->CellRect(grid->DataToRawColumn(column->Index()), grid->TitleOffset() + screenRow).center();
    }
    static QString TotalText(TKelDBGrid* grid, const char* field, int row)
    {
        return Column(grid, field)->TotalValues()->Items(row)->Caption();
    }
    void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    tk::test::TempFolder folder_;
    QString ini_;
    TfrmKelgridDemo window_;
};

TEST(KelgridDemoOrdersTest, TheOrdersHoldEveryFieldKind)
{
    const TDemoOrders demo;
    tk::TClientDataSet* orders = demo.Orders();
    EXPECT_EQ(orders->RecordCount(), TDemoOrders::kOrderCount);
    const struct {
        const char* name;
        tk::TFieldType type;
    } kinds[] = {{"OrderNo", tk::ftInteger},  {"CustomerNo", tk::ftInteger}, {"OrderDate", tk::ftDate},
                 {"Amount", tk::ftCurrency},  {"Paid", tk::ftBoolean},       {"Status", tk::ftString},
                 {"Notes", tk::ftMemo},       {"Photo", tk::ftGraphic},      {"Address", tk::ftADT}};
    for (const auto& kind : kinds)
        EXPECT_EQ(orders->FieldByName(QString::fromLatin1(kind.name))->DataType(), kind.type) << kind.name;
    tk::TField* customer = orders->FieldByName(QStringLiteral("Customer"));
    EXPECT_EQ(customer->FieldKind(), tk::fkLookup);
    EXPECT_EQ(orders->FieldByName(QStringLiteral("Address.Street"))->ParentField(),
              orders->FieldByName(QStringLiteral("Address")));

    // The third order: customer 15, a name looked up from the customers.
    orders->First();
    orders->MoveBy(2);
    EXPECT_EQ(orders->FieldByName(QStringLiteral("OrderNo"))->AsInteger(), 3);
    tk::TClientDataSet* customers = demo.Customers();
    ASSERT_TRUE(customers->Locate(QStringLiteral("CustomerNo"),
                                  orders->FieldByName(QStringLiteral("CustomerNo"))->Value(), {}));
    EXPECT_EQ(customer->AsString(), customers->FieldByName(QStringLiteral("Name"))->AsString());
    EXPECT_FALSE(customer->AsString().isEmpty());
    EXPECT_EQ(customers->RecordCount(), TDemoOrders::kCustomerCount);

    // Pictures on one order in kPhotoEvery, the rest empty.
    int photos = 0;
    tk::TField* photo = orders->FieldByName(QStringLiteral("Photo"));
    orders->DisableControls();
    for (orders->First(); !orders->Eof(); orders->Next())
        photos += photo->IsNull() ? 0 : 1;
    orders->First();
    orders->EnableControls();
    EXPECT_EQ(photos, TDemoOrders::kOrderCount / TDemoOrders::kPhotoEvery);

    // How long the orders took is reported, not judged: a test's clock
    // depends on the build and the machine (the screenshots print it too).
    ::testing::Test::RecordProperty("OrdersBuildMs", int(demo.OrdersBuildMs()));
}

TEST_F(KelgridDemoTest, TitlesNestUnderTheirGroupsAndTheObjectColumn)
{
    TKelDBGrid* grid = window_.Grid();
    EXPECT_EQ(grid->Columns()->State(), kelgrid::csCustomized);
    EXPECT_EQ(TitlePath(Column(grid, "OrderNo")), QStringLiteral("Order|No."));
    EXPECT_EQ(TitlePath(Column(grid, "OrderDate")), QStringLiteral("Order|No.|Date"));
    EXPECT_EQ(TitlePath(Column(grid, "Customer")), QStringLiteral("Customer|Name"));
    EXPECT_EQ(TitlePath(Column(grid, "Address.Street")), QStringLiteral("Delivery|Address|Street"));
    EXPECT_EQ(TitlePath(Column(grid, "Address.City")), QStringLiteral("Delivery|Address|City"));
    EXPECT_EQ(Column(grid, "Address.Street")->ParentColumn(), Column(grid, "Address"));
    EXPECT_TRUE(Column(grid, "Address")->Expandable());
    // The automatic columns come first.
    EXPECT_TRUE(grid->Columns()->Items(0)->AutoNumber() || grid->Columns()->Items(1)->AutoNumber());

    // Collapsing the order's number hides the date and the status.
    TKelColumn* number = Column(grid, "OrderNo");
    ASSERT_TRUE(number->Expandable());
    number->SetExpanded(false);
    Settle();
    EXPECT_FALSE(Column(grid, "OrderDate")->Showing());
    EXPECT_FALSE(Column(grid, "Status")->Showing());
    EXPECT_TRUE(Column(grid, "CustomerNo")->Showing());
    number->SetExpanded(true);
    Settle();
    EXPECT_TRUE(Column(grid, "OrderDate")->Showing());
}

TEST_F(KelgridDemoTest, EachColumnGetsItsEditor)
{
    TKelDBGrid* grid = window_.Grid();
    kelgrid::TKelDataEditor editor{};
    EXPECT_EQ(grid->GetEditStyle(Column(grid, "OrderDate"), editor), kelgrid::esPickList);
    EXPECT_EQ(editor, kelgrid::deCalendar);
    EXPECT_EQ(grid->GetEditStyle(Column(grid, "Amount"), editor), kelgrid::esPickList);
    EXPECT_EQ(editor, kelgrid::deCalculator);
    EXPECT_EQ(grid->GetEditStyle(Column(grid, "Customer"), editor), kelgrid::esPickList);
    EXPECT_EQ(editor, kelgrid::deGridList);
    EXPECT_EQ(grid->GetEditStyle(Column(grid, "CustomerNo"), editor), kelgrid::esPickList);
    EXPECT_EQ(editor, kelgrid::deGridList);
    EXPECT_EQ(grid->GetEditStyle(Column(grid, "Status"), editor), kelgrid::esPickList);
    EXPECT_EQ(editor, kelgrid::dePickList);
    EXPECT_EQ(grid->GetEditStyle(Column(grid, "OrderNo"), editor), kelgrid::esSimple);
    EXPECT_TRUE(Column(grid, "Paid")->CheckBox());
    EXPECT_TRUE(Column(grid, "Notes")->EditMemo());

    // The status shows its word for the stored code.
    window_.Orders().Orders()->First();
    EXPECT_EQ(window_.Orders().Orders()->FieldByName(QStringLiteral("Status"))->AsString(), QStringLiteral("N"));
    EXPECT_EQ(Column(grid, "Status")->DisplayText(), QStringLiteral("New"));
}

TEST_F(KelgridDemoTest, TotalsCoverAllOrdersOrTheRowsPickedWithCtrl)
{
    TKelDBGrid* grid = window_.Grid();
    tk::TClientDataSet* orders = window_.Orders().Orders();
    // The first two orders' amounts, to check the selection's figures.
    orders->First();
    const double first = orders->FieldByName(QStringLiteral("Amount"))->AsFloat();
    orders->Next();
    const double second = orders->FieldByName(QStringLiteral("Amount"))->AsFloat();
    orders->First();
    Settle();
    EXPECT_EQ(TotalText(grid, "Amount", 2), QString::number(kTestOrders));
    EXPECT_EQ(kelgrid::ActiveTotalPart(TotalText(grid, "Customer", 0), false), QStringLiteral("Sum"));
    EXPECT_EQ(kelgrid::ActiveTotalPart(TotalText(grid, "Customer", 0), true), QStringLiteral("Sum of selected"));

    tk::test::WidgetDriver mouse(grid->viewport());
    mouse.Click(CellPoint(grid, Column(grid, "Customer"), 0), Qt::LeftButton, Qt::ControlModifier);
    mouse.Click(CellPoint(grid, Column(grid, "Customer"), 1), Qt::LeftButton, Qt::ControlModifier);
    Settle();
    ASSERT_EQ(grid->SelectedRows()->Count(), 2);
    EXPECT_EQ(TotalText(grid, "Amount", 2), QStringLiteral("2"));
    EXPECT_EQ(TotalText(grid, "Amount", 0), QString::number(first + second, 'f', 2));
    // The labels switch to their second part over a selection.
    const QImage picked = grid->grab().toImage();
    EXPECT_FALSE(picked.isNull());

    // Picking the second again drops it.
    mouse.Click(CellPoint(grid, Column(grid, "Customer"), 1), Qt::LeftButton, Qt::ControlModifier);
    Settle();
    ASSERT_EQ(grid->SelectedRows()->Count(), 1);
    EXPECT_EQ(TotalText(grid, "Amount", 2), QStringLiteral("1"));
}

TEST_F(KelgridDemoTest, ATitleClickSortsTheClientDatasetByItsIndexFields)
{
    TKelDBGrid* grid = window_.Grid();
    tk::TClientDataSet* orders = window_.Orders().Orders();
    tk::test::WidgetDriver mouse(grid->viewport());
    mouse.Click(TitlePoint(grid, Column(grid, "Amount")));
    Settle();
    EXPECT_EQ(orders->IndexFieldNames(), QStringLiteral("Amount"));
    orders->First();
    double previous = -1;
    for (int i = 0; i < 500; ++i, orders->Next()) {
        const double amount = orders->FieldByName(QStringLiteral("Amount"))->AsFloat();
        ASSERT_GE(amount, previous);
        previous = amount;
    }
    EXPECT_EQ(orders->RecordCount(), kTestOrders);
}

TEST_F(KelgridDemoTest, ATitleClickOnTheSqlTabRewritesTheOrderBy)
{
    window_.Tabs()->setCurrentIndex(1);
    Settle();
    TKelDBGrid* grid = window_.SqlGrid();
    tk::TQuery* query = window_.Orders().SqlOrders();
    EXPECT_EQ(query->RecordCount(), TDemoOrders::kSqlOrderCount);
    tk::test::WidgetDriver mouse(grid->viewport());
    mouse.Click(TitlePoint(grid, Column(grid, "Amount")));
    Settle();
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Amount")) << query->SQL()->Text().toStdString();
    mouse.Click(TitlePoint(grid, Column(grid, "Customer")));
    Settle();
    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Customer"));
    EXPECT_TRUE(query->SQL()->Text().contains(QStringLiteral("ORDER BY Customer"))) << query->SQL()->Text().toStdString();
    QString previous;
    for (query->First(); !query->Eof(); query->Next()) {
        const QString name = query->FieldByName(QStringLiteral("Customer"))->AsString();
        ASSERT_GE(name, previous);
        previous = name;
    }
}

TEST_F(KelgridDemoTest, CtrlCCopiesThePickedRowsAsText)
{
    TKelDBGrid* grid = window_.Grid();
    grid->setFocus();
    tk::test::WidgetDriver mouse(grid->viewport());
    mouse.Click(CellPoint(grid, Column(grid, "Customer"), 0), Qt::LeftButton, Qt::ControlModifier);
    mouse.Click(CellPoint(grid, Column(grid, "Customer"), 2), Qt::LeftButton, Qt::ControlModifier);
    Settle();
    QApplication::clipboard()->clear();
    tk::test::WidgetDriver(grid).Press(Qt::Key_C, Qt::ControlModifier);
    const QString text = QApplication::clipboard()->text();
    const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Alice Adams"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Olivia Owens"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Henry Hughes"))) << text.toStdString();
}

TEST_F(KelgridDemoTest, TheLayoutButtonsSaveAndRestoreAColumnWidth)
{
    TKelDBGrid* grid = window_.Grid();
    TKelColumn* notes = Column(grid, "Notes");
    const int saved = notes->Width();
    tk::test::WidgetDriver(window_.SaveLayoutButton()).Click(window_.SaveLayoutButton()->rect().center());
    EXPECT_TRUE(QFileInfo::exists(ini_));
    notes->SetWidth(saved + 57);
    Settle();
    ASSERT_EQ(notes->Width(), saved + 57);
    tk::test::WidgetDriver(window_.RestoreLayoutButton()).Click(window_.RestoreLayoutButton()->rect().center());
    Settle();
    EXPECT_EQ(Column(grid, "Notes")->Width(), saved);
}

TEST_F(KelgridDemoTest, TheLinkedGridFollowsWidthsAndTheStretchSwitchStretches)
{
    TKelDBGrid* grid = window_.Grid();
    TKelDBGrid* linked = window_.MasterGrid();
    EXPECT_EQ(linked->MasterGrid(), grid);
    Column(grid, "Customer")->SetWidth(201);
    Settle();
    EXPECT_EQ(Column(linked, "Customer")->Width(), 201);
    Column(linked, "Notes")->SetWidth(77);
    Settle();
    EXPECT_EQ(Column(grid, "Notes")->Width(), 77);

    QCheckBox* stretch = window_.StretchSwitch();
    tk::test::WidgetDriver(stretch).Click(stretch->rect().center());
    Settle();
    EXPECT_TRUE(grid->StretchMode());
    tk::test::WidgetDriver(stretch).Click(stretch->rect().center());
    Settle();
    EXPECT_FALSE(grid->StretchMode());
}

// The navigator moves through the orders the grid shows; "Columns..." opens
// the dialog on the grid, and unticking a column there hides it.
TEST_F(KelgridDemoTest, TheNavigatorAndTheColumnsDialogWorkOnTheOrdersGrid)
{
    TKelDBGrid* grid = window_.Grid();
    kelgrid::TKelDBNavigator* navigator = window_.Navigator();
    ASSERT_NE(navigator, nullptr);
    EXPECT_EQ(navigator->parentWidget(), window_.NavigatorHost());
    EXPECT_EQ(navigator->DataSource(), grid->DataSource());
    EXPECT_TRUE(navigator->ShowCaptions());
    tk::TDataSet* orders = grid->DataSource()->DataSet();
    orders->First();
    navigator->BtnClick(tk::TDBNavigatorEnums::nbLast);
    Settle();
    EXPECT_EQ(orders->RecNo(), orders->RecordCount());
    // At the end, with the grids and the totals reacting to the move: Next
    // and Last have nothing left to do.
    EXPECT_TRUE(orders->Eof());
    EXPECT_FALSE(navigator->KelButton(tk::TDBNavigatorEnums::nbNext)->Enabled());
    EXPECT_FALSE(navigator->KelButton(tk::TDBNavigatorEnums::nbLast)->Enabled());
    navigator->BtnClick(tk::TDBNavigatorEnums::nbFirst);
    EXPECT_EQ(orders->RecNo(), 1);

    kelgrid::TKelColumn* paid = grid->ColumnByName(QStringLiteral("Paid"));
    ASSERT_TRUE(paid && paid->Visible());
    bool opened = false;
    QTimer::singleShot(0, &window_, [&] {
        kelgrid::TKelDBColumnsForm* form = window_.ColumnsDialog()->Form();
        ASSERT_NE(form, nullptr);
        opened = true;
        tk::TCheckListBox* list = form->ColumnsList();
        for (int i = 0; i < list->Items()->Count(); ++i)
            if (list->Items()->Strings(i).contains(QStringLiteral("Paid")))
                list->SetChecked(i, false);
        form->SetModalResult(tk::mrOk);
    });
    QPushButton* columns = window_.ColumnsButton();
    tk::test::WidgetDriver(columns).Click(columns->rect().center());
    EXPECT_TRUE(opened);
    EXPECT_FALSE(paid->Visible());
}

TEST(KelgridDemoWindowTest, TheMainWindowsButtonOpensOneWindowAndTheScreenshotRenders)
{
    tk::test::TempFolder folder;
    const THostPaths paths = LayOutSampleInstallation(folder.Path());
    TBackupLibrary library(folder.File(QStringLiteral("libsafekeep.so")));
    tk::TDatabase year;
    year.SetDatabaseName(paths.yearFile);
    const TBackupCall call{0, nullptr, &year, nullptr};
    TfrmBrivora main(library, call, paths);
    main.show();
    QApplication::processEvents();
    QPushButton* button = main.KelgridDemoButton();
    EXPECT_EQ(button->text(), QStringLiteral("Rejilla: demostración"));
    for (int click = 0; click < 2; ++click)
        tk::test::WidgetDriver(button).Click(button->rect().center());
    const QList<TfrmKelgridDemo*> windows = main.findChildren<TfrmKelgridDemo*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows.front()->isVisible());
    EXPECT_EQ(windows.front()->windowTitle(), QStringLiteral("Demostración de la rejilla"));

    QStringList written;
    QString failed;
    ASSERT_TRUE(RenderKelgridScreenshots(KelgridDemoIniOf(paths), folder.Path() + QLatin1Char('/'), written, failed))
        << failed.toStdString();
    ASSERT_EQ(written.size(), 5);
    const auto picture = [&](int i) { return QImage(written[i]).convertToFormat(QImage::Format_RGB32); };
    const QImage demo = picture(0);
    EXPECT_TRUE(written[0].endsWith(QStringLiteral("/kelgrid-demo.png")));
    ASSERT_FALSE(demo.isNull());
    EXPECT_EQ(demo.size(), QSize(1100, 680));
    EXPECT_NE(demo.pixel(5, 5), demo.pixel(demo.width() / 2, demo.height() / 2));
    // The lookup grid and the calendar are drawn over the window, each
    // changing a different part of it.
    const QImage lookup = picture(1);
    const QImage calendar = picture(2);
    ASSERT_EQ(lookup.size(), demo.size());
    ASSERT_EQ(calendar.size(), demo.size());
    EXPECT_NE(lookup, demo);
    EXPECT_NE(calendar, demo);
    EXPECT_NE(lookup, calendar);
    EXPECT_TRUE(written[3].endsWith(QStringLiteral("/kelgrid-columns.png")));
    EXPECT_GE(picture(3).width(), 150);
    EXPECT_EQ(picture(4).height(), main.findChild<TfrmKelgridDemo*>()->Navigator()->height());
    // Rendering reads the layout file but never writes it.
    EXPECT_FALSE(QFileInfo::exists(KelgridDemoIniOf(paths)));
}

}  // namespace
}  // namespace host
