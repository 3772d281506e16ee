// The grids against Qt's table view, in one run, offscreen at 1920 x 1080.
//
// The grid base (here): a full repaint
// of a 1920 x 1080 grid of text cells 60 pixels wide and 20 high (about 32 x
// 54 cells shown, of 100 columns by 1,000 rows), and scrolling one column
// to the right and back, each followed by painting the whole view. Both paint
// into an image under the offscreen platform, so the figures compare the
// painting code, not a screen.
//
// The data grid (grid/dbgrid_cases.cpp) against QTableView on QSqlQueryModel
// (grid/tableview_cases.cpp) on one 1,000,000-row SQLite table made once per
// run (grid/bigtable.h): opening and the first full paint, a full repaint with
// stripes, images and three title levels, a layout of 200 columns with three
// title levels; and SelectAll over 100,000 rows of a client dataset.
//
// Operability (grid/operability_cases.cpp against grid/operability_peers.cpp),
// driven by real input events and painted after each step: 1,000 wheel
// notches and 1,000 PgDn from the top (the mean step as the figure, the
// median and worst step printed under it; goal 16 ms a step); Ctrl+End from
// a freshly opened query and Ctrl+Home, against QTableView fetching every
// row of QSqlQueryModel, scrolling to its end and back; a title click that
// reorders a TQuery by its SQL (against setQuery of the ORDER BY statement)
// and a 100,000-row client dataset by IndexFieldNames, to the repainted
// first screen; totals (sum, average, count of one column) over all
// 1,000,000 rows against SQLite's SUM/AVG/COUNT through QSqlQuery: through
// the source's column scan (rows fetched), the first run after opening, and
// the record walk a per-record handler forces.
//
// Editing aids (grid/editing_cases.cpp): copying 10,000 selected rows of 10
// columns to the clipboard against building the same text from the same
// cells read through the dataset, and loading a pick list from 100,000 rows
// (the grid's LoadListItems and the column's LoadPickList) against
// collecting the field's distinct texts in a set and sorting them.
//
// Lookup grid (grid/lookup_cases.cpp against grid/lookup_peers.cpp): opening
// the popup lookup grid over 100,000 rows of the table, the key's record
// located, to the shown and painted popup, on a client dataset holding the
// rows and on a query over the file opened for the list, against a
// QTableView popup on a QSqlQueryModel holding the same rows, or given the
// query anew.
//
// The run ends with a table of ours, the peer's and the ratio
// (grid/benchsummary.h).

#include "bench/grid/benchsummary.h"
#include "bench/grid/bigtable.h"
#include "toolkit/ui/grids/stringgrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kCols = 100;
constexpr int kRows = 1000;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kCellWidth = 60;
constexpr int kCellHeight = 20;

QString CellText(int col, int row)
{
    return QStringLiteral("R%1C%2").arg(row).arg(col);
}

tk::TStringGrid& Grid()
{
    static tk::TStringGrid* grid = [] {
        auto* g = new tk::TStringGrid;
        g->SetColCount(kCols);
        g->SetRowCount(kRows);
        g->SetDefaultColWidth(kCellWidth - 1);  // the line after each cell makes 60
        g->SetDefaultRowHeight(kCellHeight - 1);
        for (int col = 0; col < kCols; ++col)
            for (int row = 0; row < kRows; ++row)
                g->SetCells(col, row, CellText(col, row));
        g->resize(kWidth, kHeight);
        g->show();
        return g;
    }();
    return *grid;
}

QTableView& Table()
{
    static QTableView* view = [] {
        auto* model = new QStandardItemModel(kRows - 1, kCols - 1);
        for (int col = 0; col < kCols - 1; ++col)
            for (int row = 0; row < kRows - 1; ++row)
                model->setItem(row, col, new QStandardItem(CellText(col + 1, row + 1)));
        auto* v = new QTableView;
        v->setModel(model);
        // The headers stand for the grid's fixed row and column.
        v->horizontalHeader()->setDefaultSectionSize(kCellWidth);
        v->horizontalHeader()->setMinimumSectionSize(1);
        v->verticalHeader()->setDefaultSectionSize(kCellHeight);
        v->verticalHeader()->setMinimumSectionSize(1);
        v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        v->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
        v->resize(kWidth, kHeight);
        v->show();
        return v;
    }();
    return *view;
}

void Paint(QWidget* viewport, QImage& image)
{
    viewport->render(&image);
}

void BM_Grid_FullRepaint(benchmark::State& state)
{
    tk::TStringGrid& grid = Grid();
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state)
        Paint(grid.viewport(), image);
}
BENCHMARK(BM_Grid_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_QTableView_FullRepaint(benchmark::State& state)
{
    QTableView& view = Table();
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state)
        Paint(view.viewport(), image);
}
BENCHMARK(BM_QTableView_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_Grid_ScrollOneColumn(benchmark::State& state)
{
    tk::TStringGrid& grid = Grid();
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    int step = 1;
    for (auto _ : state) {
        grid.ScrollHorizontally(step > 0 ? tk::TScrollCode::LineDown : tk::TScrollCode::LineUp);
        Paint(grid.viewport(), image);
        step = -step;
    }
}
BENCHMARK(BM_Grid_ScrollOneColumn)->Unit(benchmark::kMillisecond);

void BM_QTableView_ScrollOneColumn(benchmark::State& state)
{
    QTableView& view = Table();
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    QScrollBar* bar = view.horizontalScrollBar();
    int step = 1;
    for (auto _ : state) {
        bar->triggerAction(step > 0 ? QAbstractSlider::SliderSingleStepAdd
                                    : QAbstractSlider::SliderSingleStepSub);
        Paint(view.viewport(), image);
        step = -step;
    }
}
BENCHMARK(BM_QTableView_ScrollOneColumn)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QElapsedTimer making;
    making.start();
    gridbench::BigTablePath();
    std::printf("table of %d rows made in %lld ms\n", gridbench::kBigTableRows, making.elapsed());
    Grid();
    Table();
    QApplication::processEvents();
    const std::string ratio = "ratio <= 1.0";
    gridbench::SummaryReporter reporter({
        {"string grid: full repaint", "BM_Grid_FullRepaint", "BM_QTableView_FullRepaint", ""},
        {"string grid: scroll one column", "BM_Grid_ScrollOneColumn", "BM_QTableView_ScrollOneColumn", ""},
        {"data grid: open + first full paint", "BM_DBGrid_OpenFirstPaint", "BM_QTableViewSql_OpenFirstPaint",
         ratio},
        {"data grid: repaint, stripes, images, 3 title levels", "BM_DBGrid_DecoratedRepaint",
         "BM_QTableViewSql_DecoratedRepaint", ratio},
        {"data grid: layout of 200 columns, 3 title levels", "BM_DBGrid_Layout200Columns",
         "BM_QTableView_Layout200Columns", ""},
        {"data grid: SelectAll of 100,000 rows", "BM_DBGrid_SelectAll100k", "BM_QTableViewSql_SelectAll100k",
         "under 200 ms"},
        {"data grid: 1,000 wheel notches, mean step", "BM_DBGrid_Wheel1000", "BM_QTableViewSql_Wheel1000",
         "<= 16 ms a step",
         {"median_ms", "worst_ms"}},
        {"data grid: 1,000 PgDn, mean step", "BM_DBGrid_PageDown1000", "BM_QTableViewSql_PageDown1000",
         "<= 16 ms a step",
         {"median_ms", "worst_ms"}},
        {"data grid: Ctrl+End from the top, Ctrl+Home", "BM_DBGrid_CtrlEndCtrlHome", "BM_QTableViewSql_EndHome",
         ""},
        {"data grid: title click reorders a query (SQL)", "BM_DBGrid_TitleClickQuery", "BM_QTableViewSql_OrderBy",
         ""},
        {"data grid: title click sorts 100,000 client rows", "BM_DBGrid_TitleClickClient100k", "", ""},
        {"data grid: totals of 1,000,000 rows (source scan)", "BM_DBGrid_Totals1M", "BM_QSqlQuery_Totals1M",
         "ratio <= 2.0"},
        {"data grid: totals, first run after opening", "BM_DBGrid_Totals1MFirstRun", "BM_QSqlQuery_Totals1M", ""},
        {"data grid: totals by the record walk", "BM_DBGrid_Totals1MWalk", "BM_QSqlQuery_Totals1M", ""},
        {"data grid: copy 10,000 rows x 10 columns", "BM_DBGrid_CopyToClipboard10k", "BM_DataSet_CopyTexts10k",
         "ratio <= 2.0"},
        {"data grid: LoadListItems of 100,000 rows", "BM_DBGrid_LoadListItems100k", "BM_DataSet_DistinctTexts100k",
         ""},
        {"data grid: LoadPickList of 100,000 rows", "BM_DBGrid_LoadPickList100k", "BM_DataSet_DistinctTexts100k",
         ""},
        {"lookup grid: open on 100,000 client rows to painted", "BM_DBGrid_LookupPopup100k",
         "BM_QTableViewSql_LookupPopup100k", ""},
        {"lookup grid: open a 100,000-row query to painted", "BM_DBGrid_LookupPopupQuery100k",
         "BM_QTableViewSql_LookupPopupQuery100k", ""},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
