// The data grid's cases: a kelgrid::TKelDBGrid on a tk::TQuery over the
// benchmark's table (opened and painted; repainted with stripes, images and
// three title levels; 200 columns laid out) and SelectAll over 100,000 rows
// of a tk::TClientDataSet. The peers are in tableview_cases.cpp.

#include "bench/grid/bigtable.h"
#include "bench/grid/screen.h"
#include "kelgrid/grid/keldbgrids.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/database.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/query.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/imagelist.h"

#include <benchmark/benchmark.h>

namespace gridbench {
namespace {

using kelgrid::TKelDBGrid;

constexpr int kWideColumns = 200;
constexpr int kSelectRows = 100000;

// The grid on "SELECT * FROM t", shown at screen size with the query closed.
class QueryGrid {
public:
    QueryGrid()
    {
        database_.SetDatabaseName(BigTablePath());
        database_.Open();
        query_.SetDatabase(&database_);
        query_.SQL()->SetText(QString::fromLatin1(kSelectAll));
        source_.SetDataSet(&query_);
        grid_.SetDataSource(&source_);
        ShowAtScreenSize(grid_);
    }
    tk::TQuery& Query() { return query_; }
    TKelDBGrid& Grid() { return grid_; }

private:
    tk::TDatabase database_;
    tk::TQuery query_;
    tk::TDataSource source_;
    TKelDBGrid grid_;  // last: goes before what it shows
};

// Three title levels over the table's columns: two header rows ("group" and
// "part", merged across neighbours that share them) above the caption.
QString HeaderOf(int column)
{
    static const char* const kHeaders[kBigTableColumns] = {
        "Customer|Who",   "Customer|Who",  "Customer|Where", "Customer|Where",
        "Movement|Value", "Movement|When", "Movement|State"};
    return QString::fromLatin1(kHeaders[column % kBigTableColumns]);
}

// The look of the decorated repaint: customised columns for every field with
// three title levels (HeaderOf), the flag column as an image per row (its
// field's value, 0 or 1, is the index into the indicator images), and stripes
// on every second data row.
void DecorateGrid(TKelDBGrid& grid, tk::TImageList& images)
{
    images.LoadStripResource(QStringLiteral("KELDBINDICATORS"));
    grid.BeginLayout();
    grid.SetStripeColor(0xF0F8F0);  // a light green
    for (int index = 0; index < kBigTableColumns; ++index) {
        kelgrid::TKelColumn* column = grid.Columns()->Add();
        column->SetFieldName(BigTableColumn(index));
        column->Title()->SetHeader(HeaderOf(index));
        if (index == kFlagColumn)
            column->SetImages(&images);
    }
    grid.EndLayout();
}

// 200 customised columns over the table's fields in turn, each with three
// title levels.
void FillWideColumns(kelgrid::TKelDBGridColumns& columns)
{
    for (int index = 0; index < kWideColumns; ++index) {
        kelgrid::TKelColumn* column = columns.Add();
        column->SetFieldName(BigTableColumn(index % kBigTableColumns));
        column->Title()->SetHeader(QStringLiteral("Group %1|Part %2").arg(index / 20).arg(index / 5));
        column->Title()->SetCaption(QStringLiteral("Column %1").arg(index));
    }
}

void BM_DBGrid_OpenFirstPaint(benchmark::State& state)
{
    QueryGrid fixture;
    QImage image = ScreenImage();
    for (auto _ : state) {
        fixture.Query().Open();
        Paint(fixture.Grid(), image);
        state.PauseTiming();
        SettleEvents();
        fixture.Query().Close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DBGrid_OpenFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DBGrid_DecoratedRepaint(benchmark::State& state)
{
    QueryGrid fixture;
    tk::TImageList images;
    DecorateGrid(fixture.Grid(), images);
    fixture.Query().Open();
    QImage image = ScreenImage();
    SettleEvents();
    Paint(fixture.Grid(), image);
    for (auto _ : state)
        Paint(fixture.Grid(), image);
}
BENCHMARK(BM_DBGrid_DecoratedRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DBGrid_Layout200Columns(benchmark::State& state)
{
    QueryGrid fixture;
    fixture.Query().Open();
    kelgrid::TKelDBGridColumns wide(nullptr);
    FillWideColumns(wide);
    for (auto _ : state) {
        fixture.Grid().SetColumns(&wide);  // copies them in, then lays out once
        state.PauseTiming();
        SettleEvents();
        state.ResumeTiming();
    }
    if (fixture.Grid().Columns()->Count() != kWideColumns)
        state.SkipWithError("the grid did not take the 200 columns");
}
BENCHMARK(BM_DBGrid_Layout200Columns)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DBGrid_SelectAll100k(benchmark::State& state)
{
    tk::TDatabase database;
    database.SetDatabaseName(BigTablePath());
    database.Open();
    tk::TClientDataSet rows;
    rows.SetDatabase(&database);
    rows.SetCommandText(QStringLiteral("SELECT id, name, amount FROM t WHERE id <= %1").arg(kSelectRows));
    rows.Open();
    tk::TDataSource source;
    source.SetDataSet(&rows);
    TKelDBGrid grid;
    grid.SetOptions(grid.Options() | kelgrid::dgMultiSelect);
    // Announced at once, so the announcement is part of the figure.
    grid.SetOptionsEx(grid.OptionsEx() & ~kelgrid::TKelDBGridOptionsEx(kelgrid::dgDelaySelectedRows));
    grid.SetDataSource(&source);
    ShowAtScreenSize(grid);
    for (auto _ : state) {
        grid.SelectAll();
        state.PauseTiming();
        grid.UnselectAll();
        state.ResumeTiming();
    }
    grid.SelectAll();
    if (grid.SelectedRows()->Count() != kSelectRows)
        state.SkipWithError("SelectAll did not select every row");
}
BENCHMARK(BM_DBGrid_SelectAll100k)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int DataRowPitch()
{
    static const int pitch = [] {
        TKelDBGrid grid;
        grid.LayoutChanged();  // the row height is a step of the layout
        return grid.DefaultRowHeight() + grid.GridLineWidth();
    }();
    return pitch;
}

}  // namespace gridbench
