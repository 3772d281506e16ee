// The grid base against Qt's table view on the same cells: a full repaint
// of a 1920 x 1080 grid of text cells 60 pixels wide and 20 high (about 32 x
// 54 cells shown, of 100 columns by 1,000 rows), and scrolling one column
// to the right and back, each followed by painting the whole view. Both paint
// into an image under the offscreen platform, so the figures compare the
// painting code, not a screen.

#include "toolkit/ui/grids/stringgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <benchmark/benchmark.h>
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
    Grid();
    Table();
    QApplication::processEvents();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
