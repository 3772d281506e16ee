#pragma once
// The grid demonstration window ("Demostración de la rejilla"): the grid
// package's TKelDBGrid on 100,000 orders made in code (TDemoOrders).
//
// Above the grids: a stretch-mode switch, "Save layout" and "Restore
// layout" (the first grid's settings in an INI file of the host's settings
// folder), "Columns..." (the columns dialog of the first grid: visibility
// and order, by drag and drop too) and the record navigator of the orders
// with captions on a gradient.
//
// First tab, the orders client dataset: the automatic number and selection
// columns, "Order|No." (whose expansion shows or hides "Order|Date" and
// "Order|Status"), "Customer|No." (a column lookup: its grid lists the
// customers' numbers, names and cities), "Customer|Name" (a lookup field
// with its grid of names), "Amount" (calculator), "Paid" (check box),
// "Notes" (memo), "Photo" (the picture) and the object column
// "Delivery|Address" with "Street" and "City" under it. Title clicks sort
// the client dataset; rows are picked with Ctrl and Shift and the totals
// band shows the sum, average and count of the amounts over all orders or
// over the picked ones, and a footer with the target of the summary
// dataset. Below, a second grid on the same orders is the first one's
// master: widths, order and expansion follow each other.
//
// Second tab: the same kind of grid on an SQLite query of a few thousand
// orders, ordered by rewriting its ORDER BY on title clicks.

#include "host/demo_orders.h"
#include "toolkit/ui/forms.h"

#include <memory>

class QCheckBox;
class QPushButton;
class QTabWidget;

namespace kelgrid {
class TKelDBColumnsDialog;
class TKelDBGrid;
class TKelDBNavigator;
}

namespace host {

class TfrmKelgridDemo : public tk::TForm {
    Q_OBJECT
public:
    // settingsFile: the INI file the layout buttons write and read;
    // orderCount: the orders of the first tab.
    explicit TfrmKelgridDemo(const QString& settingsFile, QWidget* parent = nullptr,
                             int orderCount = TDemoOrders::kOrderCount);
    ~TfrmKelgridDemo() override;

    kelgrid::TKelDBGrid* Grid() const { return grid_; }
    kelgrid::TKelDBGrid* MasterGrid() const { return masterGrid_; }
    kelgrid::TKelDBGrid* SqlGrid() const { return sqlGrid_; }
    const TDemoOrders& Orders() const { return *orders_; }
    QCheckBox* StretchSwitch() const { return chkStretch_; }
    QPushButton* SaveLayoutButton() const { return btnSaveLayout_; }
    QPushButton* RestoreLayoutButton() const { return btnRestoreLayout_; }
    QPushButton* ColumnsButton() const { return btnColumns_; }
    QWidget* NavigatorHost() const { return navigatorHost_; }
    kelgrid::TKelDBNavigator* Navigator() const { return navigator_; }
    kelgrid::TKelDBColumnsDialog* ColumnsDialog() const { return columnsDialog_; }
    QTabWidget* Tabs() const { return tabs_; }

private:
    void SetUpOrdersGrid();
    void SetUpSqlGrid();
    void SetUpTotals();
    void SaveLayout();
    void RestoreLayout();
    // The columns dialog of the first grid.
    void ShowColumnsDialog();

    std::unique_ptr<TDemoOrders> orders_;
    QTabWidget* tabs_ = nullptr;
    QCheckBox* chkStretch_ = nullptr;
    QPushButton* btnSaveLayout_ = nullptr;
    QPushButton* btnRestoreLayout_ = nullptr;
    QPushButton* btnColumns_ = nullptr;
    QWidget* navigatorHost_ = nullptr;
    kelgrid::TKelDBNavigator* navigator_ = nullptr;
    kelgrid::TKelDBColumnsDialog* columnsDialog_ = nullptr;
    kelgrid::TKelDBGrid* grid_ = nullptr;
    kelgrid::TKelDBGrid* masterGrid_ = nullptr;
    kelgrid::TKelDBGrid* sqlGrid_ = nullptr;
};

}  // namespace host
