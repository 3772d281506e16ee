#include "host/kelgrid_demo.h"

#include "host/column_title_text.h"
#include "host/demo_orders.h"
#include "kelgrid/controls/keldbctrls.h"
#include "kelgrid/controls/keldblists.h"
#include "kelgrid/grid/keldbgrids.h"
#include "kelgrid/grid/settings.h"
#include "toolkit/core/application.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/query.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QVBoxLayout>

namespace host {

namespace {

struct TColumnSetup {
    const char* field;
    // The title tree: header rows and caption, "|" between them.
    const char* title;
    const char* hint;
    int width;
};

const TColumnSetup kOrderColumns[] = {
    {"OrderNo", "Order|No.", "The order's number; expand it for the date and status", 64},
    // Under the number's group, which gives them its "Order" header.
    {"OrderDate", "Date", "The day the order was placed", 84},
    {"Status", "Status", "New, shipped, delivered or cancelled", 80},
    {"CustomerNo", "Customer|No.", "The customer's number", 56},
    {"Customer", "Customer|Name", "The customer, chosen from the list of customers", 140},
    {"Amount", "Amount", "The order's amount", 96},
    {"Paid", "Paid", "Ticked once the order is paid", 44},
    {"Notes", "Notes", "Delivery notes", 120},
    {"Photo", "Photo", "The parcel's picture, when one was taken", 44},
    {"Address", "Delivery|Address", "Where the order goes", 40},
    // Under the object column, whose title heads them: "Delivery|Address|Street".
    {"Address.Street", "Street", "Street and number", 140},
    {"Address.City", "City", "City", 90},
};

const TColumnSetup kSqlColumns[] = {
    {"OrderNo", "Order|No.", "The order's number", 64},
    {"OrderDate", "Order|Date", "The day the order was placed (ISO)", 90},
    {"Status", "Order|Status", "New, shipped, delivered or cancelled", 80},
    {"Customer", "Customer|Name", "The customer's name", 140},
    {"City", "Customer|City", "The customer's city", 100},
    {"Amount", "Amount", "The order's amount", 96},
    {"Paid", "Paid", "Ticked once the order is paid", 44},
};

const int kAutoColumnWidth = 36;

template <std::size_t N>
void AddColumns(kelgrid::TKelDBGrid* grid, const TColumnSetup (&setups)[N])
{
    for (const TColumnSetup& setup : setups) {
        kelgrid::TKelColumn* column = grid->Columns()->Add();
        column->SetFieldName(QString::fromLatin1(setup.field));
        SetColumnTitle(column, QString::fromUtf8(setup.title));
        column->Title()->SetHint(QString::fromUtf8(setup.hint));
        column->SetWidth(setup.width);
    }
    // The automatic columns in front: the number, then the selection.
    kelgrid::TKelColumn* select = grid->Columns()->AddAutoSelect();
    select->SetWidth(kAutoColumnWidth);
    kelgrid::TKelColumn* number = grid->Columns()->AddAutoNumber();
    number->Title()->SetCaption(QStringLiteral("#"));
    number->SetWidth(kAutoColumnWidth + 12);
}

// Options every grid of the window shares: multi-selection, automatic
// columns, ordering by title clicks, hints on titles and tool tips.
void SetCommonOptions(kelgrid::TKelDBGrid* grid, const QString& keyFields)
{
    using namespace kelgrid;
    grid->SetOptions(grid->Options() | dgMultiSelect);
    grid->SetOptionsExt(grid->OptionsExt() | dgAutoNumberColumn | dgAutoSelectColumn | dgGridStyleLists);
    grid->SetOptionsEx(grid->OptionsEx() | dgAutoUpdateOrder);
    grid->SetKeyFields(keyFields);
    grid->SetShowHint(true);
    grid->SetHintOptions(grid->HintOptions() | hoTitleHints | hoShowTitleHints | hoShowToolTips);
}

// The status code shown as its word, chosen from a list.
void SetStatusPicks(kelgrid::TKelColumn* status)
{
    for (const QString& code : TDemoOrders::StatusCodes())
        status->PickList()->Add(code);
    for (const QString& text : TDemoOrders::StatusTexts())
        status->PickText()->Add(text);
    status->SetPickOptions(status->PickOptions() | kelgrid::poDropDownList);
}

void SetPaidCheckBox(kelgrid::TKelColumn* paid, const QString& values = QString())
{
    paid->SetCheckBox(true);
    if (!values.isEmpty())
        paid->SetCheckBoxValues(values);
    paid->SetAlignment(tk::taCenter);
    paid->Title()->SetAlignment(tk::taCenter);
}

// A calculated total of the amounts: the first format while the totals are
// over all orders, the second while over the picked ones.
void AddAmountTotal(kelgrid::TKelColumn* amounts, kelgrid::TKelColumn* labels, kelgrid::TCalcValue value,
                    const QString& caption, const QString& format)
{
    kelgrid::TKelColumnTotalValue* label = labels->TotalValues()->Add();
    label->SetCaption(caption);
    label->SetAlignment(tk::taRightJustify);
    kelgrid::TKelColumnTotalValue* total = amounts->TotalValues()->Add();
    total->SetTotalResult(kelgrid::trCalcValue);
    total->SetCalcValue(value);
    total->SetFormat(format);
    // Sums and averages of currency values print as numbers.
    total->SetFormatAsFloat(value != kelgrid::cvCount);
    total->SetAlignment(tk::taRightJustify);
}

}  // namespace

TfrmKelgridDemo::TfrmKelgridDemo(const QString& settingsFile, QWidget* parent, int orderCount)
    : tk::TForm(parent), orders_(std::make_unique<TDemoOrders>(orderCount))
{
    setObjectName(QStringLiteral("frmKelgridDemo"));
    SetCaption(QStringLiteral("Demostración de la rejilla"));

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    chkStretch_ = new QCheckBox(QStringLiteral("Stretch columns"), this);
    chkStretch_->setObjectName(QStringLiteral("chkStretch"));
    btnSaveLayout_ = new QPushButton(QStringLiteral("Save layout"), this);
    btnSaveLayout_->setObjectName(QStringLiteral("btnSaveLayout"));
    btnRestoreLayout_ = new QPushButton(QStringLiteral("Restore layout"), this);
    btnRestoreLayout_->setObjectName(QStringLiteral("btnRestoreLayout"));
    btnColumns_ = new QPushButton(QStringLiteral("Columns..."), this);
    btnColumns_->setObjectName(QStringLiteral("btnColumns"));
    // The record navigator of the orders, with captions on a gradient.
    navigatorHost_ = new QWidget(this);
    navigatorHost_->setObjectName(QStringLiteral("navigatorHost"));
    navigatorHost_->setLayout(new QHBoxLayout);
    navigatorHost_->layout()->setContentsMargins(0, 0, 0, 0);
    navigator_ = new kelgrid::TKelDBNavigator(navigatorHost_);
    navigator_->SetName(QStringLiteral("navOrders"));
    navigator_->SetShowCaptions(true);
    navigator_->Gradient()->SetStartColor(tk::clWindow);
    navigator_->Gradient()->SetActive(true);
    navigator_->setMinimumHeight(26);
    navigatorHost_->layout()->addWidget(navigator_);
    bar->addWidget(navigatorHost_, 1);
    bar->addWidget(chkStretch_);
    bar->addWidget(btnColumns_);
    bar->addWidget(btnSaveLayout_);
    bar->addWidget(btnRestoreLayout_);
    layout->addLayout(bar);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabsDemo"));
    auto* ordersPage = new QWidget;
    auto* ordersLayout = new QVBoxLayout(ordersPage);
    grid_ = new kelgrid::TKelDBGrid(ordersPage);
    grid_->SetName(QStringLiteral("grdOrders"));
    masterGrid_ = new kelgrid::TKelDBGrid(ordersPage);
    masterGrid_->SetName(QStringLiteral("grdOrdersLinked"));
    ordersLayout->addWidget(grid_, 3);
    ordersLayout->addWidget(masterGrid_, 1);
    tabs_->addTab(ordersPage, QStringLiteral("Orders (client dataset)"));
    auto* sqlPage = new QWidget;
    auto* sqlLayout = new QVBoxLayout(sqlPage);
    sqlGrid_ = new kelgrid::TKelDBGrid(sqlPage);
    sqlGrid_->SetName(QStringLiteral("grdSqlOrders"));
    sqlLayout->addWidget(sqlGrid_);
    tabs_->addTab(sqlPage, QStringLiteral("Orders (SQLite query)"));
    layout->addWidget(tabs_, 1);

    SetUpOrdersGrid();
    SetUpSqlGrid();
    navigator_->SetDataSource(grid_->DataSource());
    columnsDialog_ = new kelgrid::TKelDBColumnsDialog(this);
    columnsDialog_->SetDBGrid(grid_);
    columnsDialog_->SetOptions(columnsDialog_->Options() | kelgrid::coAllowMoving | kelgrid::coShowHeaders |
                               kelgrid::coApplyButton);
    grid_->Settings()->SetIniFile(true);
    grid_->Settings()->SetFileName(settingsFile);
    grid_->Settings()->SetSection(QStringLiteral("KelgridDemoOrders"));

    connect(chkStretch_, &QCheckBox::toggled, this,
            [this](bool on) { tk::Guarded([this, on] { grid_->SetStretchMode(on); }); });
    connect(btnSaveLayout_, &QPushButton::clicked, this, [this] { tk::Guarded([this] { SaveLayout(); }); });
    connect(btnRestoreLayout_, &QPushButton::clicked, this, [this] { tk::Guarded([this] { RestoreLayout(); }); });
    connect(btnColumns_, &QPushButton::clicked, this, [this] { tk::Guarded([this] { ShowColumnsDialog(); }); });
    resize(1100, 680);
}

TfrmKelgridDemo::~TfrmKelgridDemo()
{
    // The grids and the navigator let go of their sources before the
    // sources go.
    delete navigator_;
    delete masterGrid_;
    delete grid_;
    delete sqlGrid_;
}

void TfrmKelgridDemo::SetUpOrdersGrid()
{
    using namespace kelgrid;
    for (TKelDBGrid* grid : {grid_, masterGrid_}) {
        // One layout for the whole set-up; the data source last, so the
        // grid makes no default columns first.
        grid->BeginLayout();
        auto endLayout = qScopeGuard([grid] { grid->EndLayout(); });
        SetCommonOptions(grid, QStringLiteral("OrderNo"));
        AddColumns(grid, kOrderColumns);
        // The order's number heads a group: collapsing it hides the date
        // and the status that follow.
        grid->ColumnByName(QStringLiteral("OrderNo"))->SetExpandCols(2);
        SetStatusPicks(grid->ColumnByName(QStringLiteral("Status")));
        SetPaidCheckBox(grid->ColumnByName(QStringLiteral("Paid")));
        grid->ColumnByName(QStringLiteral("Amount"))->SetButtonStyle(cbsCalculator);
        // The name is a lookup field: its grid lists the names it looks
        // up. The number is a plain field with a column lookup, whose grid
        // shows the customers' names and cities and writes the number.
        TKelColumn* customer = grid->ColumnByName(QStringLiteral("Customer"));
        customer->SetListOptions(customer->ListOptions() | loAutoComplete | loSelectNextValue);
        TKelColumn* customerNo = grid->ColumnByName(QStringLiteral("CustomerNo"));
        customerNo->SetLookupDataSet(orders_->Customers());
        customerNo->SetLookupKeyField(QStringLiteral("CustomerNo"));
        customerNo->SetLookupListFields(QStringLiteral("CustomerNo;Name;City"));
        customerNo->SetLookupListTitles(QStringLiteral("No.;Name;City"));
        customerNo->SetListOptions(customerNo->ListOptions() | loShowLookupListTitles | loSelectNextValue);
        grid->ColumnByName(QStringLiteral("Notes"))->SetEditMemo(true);
        if (grid == grid_)
            SetUpTotals();
        grid->SetDataSource(orders_->OrdersSource());
    }
    masterGrid_->SetMasterGrid(grid_);
    // The dataset was open before the grid linked to it: the first figures
    // are asked for here.
    grid_->UpdateTotals(false);
}

void TfrmKelgridDemo::SetUpTotals()
{
    using namespace kelgrid;
    // Totals over all orders, or over the picked ones while any are; no
    // delay, so the band answers the click that picked a row.
    TKelDBGridOptionsEx options = grid_->OptionsEx() | dgTotalHeader | dgTotalValues | dgTotalFooter |
                                  dgAutoUpdateTotals | dgCalcWholeDataSet | dgCalcSelectedRows;
    options &= ~TKelDBGridOptionsEx(dgDelaySelectedRows | dgDelayUpdateTotals);
    grid_->SetOptionsEx(options);
    grid_->Totals()->SetDataSource(orders_->SummarySource());

    grid_->ColumnByName(QStringLiteral("CustomerNo"))->TotalHeader()->SetCaption(QStringLiteral("Totals|Totals of the selection"));
    TKelColumn* labels = grid_->ColumnByName(QStringLiteral("Customer"));
    TKelColumn* amounts = grid_->ColumnByName(QStringLiteral("Amount"));
    // The totals' formats are Format directives: "%.2n" is 1,234.50.
    const QString money = QStringLiteral("%.2n");
    AddAmountTotal(amounts, labels, cvSum, QStringLiteral("Sum|Sum of selected"), money + QLatin1Char('|') + money);
    AddAmountTotal(amounts, labels, cvAvg, QStringLiteral("Average|Average of selected"),
                   money + QLatin1Char('|') + money);
    AddAmountTotal(amounts, labels, cvCount, QStringLiteral("Count|Count of selected"), QStringLiteral("%d|%d"));

    labels->TotalFooter()->SetCaption(QStringLiteral("Target"));
    labels->TotalFooter()->SetAlignment(tk::taRightJustify);
    amounts->TotalFooter()->SetTotalResult(trTotalField);
    amounts->TotalFooter()->SetFieldName(QStringLiteral("Target"));
}

void TfrmKelgridDemo::SetUpSqlGrid()
{
    using namespace kelgrid;
    sqlGrid_->BeginLayout();
    auto endLayout = qScopeGuard([this] { sqlGrid_->EndLayout(); });
    SetCommonOptions(sqlGrid_, QStringLiteral("OrderNo"));
    AddColumns(sqlGrid_, kSqlColumns);
    SetStatusPicks(sqlGrid_->ColumnByName(QStringLiteral("Status")));
    // SQLite keeps the flag as 1 or 0.
    SetPaidCheckBox(sqlGrid_->ColumnByName(QStringLiteral("Paid")), QStringLiteral("1;0"));
    sqlGrid_->SetOptionsEx(sqlGrid_->OptionsEx() | dgTotalValues | dgAutoUpdateTotals | dgCalcWholeDataSet |
                           dgCalcSelectedRows);
    const QString money = QStringLiteral("%.2n");
    AddAmountTotal(sqlGrid_->ColumnByName(QStringLiteral("Amount")), sqlGrid_->ColumnByName(QStringLiteral("Customer")),
                   cvSum, QStringLiteral("Sum|Sum of selected"), money + QLatin1Char('|') + money);
    sqlGrid_->SetDataSource(orders_->SqlOrdersSource());
}

void TfrmKelgridDemo::SaveLayout()
{
    grid_->Settings()->SaveLayout();
}

void TfrmKelgridDemo::RestoreLayout()
{
    if (grid_->Settings()->LayoutExists())
        grid_->Settings()->LoadLayout();
}

void TfrmKelgridDemo::ShowColumnsDialog()
{
    columnsDialog_->Execute();
}

}  // namespace host
