// The data grid's operability cases, driven as a user would (wheel events
// to the viewport, keys and title clicks to the grid), each step followed
// by a paint of the whole grid into an image:
// - 1,000 wheel notches down and 1,000 PgDn from the top of a TQuery over
//   the big table: the time of each step (mean as the figure, median and
//   worst step as counters);
// - Ctrl+End from the top of a freshly opened query, then Ctrl+Home;
// - a title click that reorders a TQuery (ORDER BY rewritten, the query
//   reopened) and a 100,000-row TClientDataSet (IndexFieldNames), up to the
//   repainted first screen;
// - totals (sum, average, count of the amount column) over all 1,000,000
//   rows: by the source's column scan once the rows are fetched, the first
//   run after opening (fetching included), and the record walk a
//   per-record handler forces.
// The peers are in operability_peers.cpp.

#include "bench/grid/bigtable.h"
#include "bench/grid/screen.h"
#include "bench/grid/steps.h"
#include "kelgrid/grid/keldbgrids.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/database.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"
#include "toolkit/data/query.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>

namespace gridbench {
namespace {

using kelgrid::TKelDBGrid;

constexpr int kClientRows = 100000;

// A grid on one dataset of the big table's file, shown at screen size.
class Fixture {
public:
    explicit Fixture(tk::TDataSet& dataSet)
    {
        source_.SetDataSet(&dataSet);
        grid_.SetDataSource(&source_);
        ShowAtScreenSize(grid_);
    }
    ~Fixture() { grid_.SetDataSource(nullptr); }
    TKelDBGrid& Grid() { return grid_; }

private:
    tk::TDataSource source_;
    TKelDBGrid grid_;
};

tk::TDatabase& Database()
{
    static tk::TDatabase* database = [] {
        auto* db = new tk::TDatabase;
        db->SetDatabaseName(BigTablePath());
        db->Open();
        return db;
    }();
    return *database;
}

void OpenSelectAll(tk::TQuery& query)
{
    query.SetDatabase(&Database());
    query.SQL()->SetText(QString::fromLatin1(kSelectAll));
    query.Open();
}

// --- Input as the user gives it ----------------------------------------------------

// A left click in the middle of the title cell of the column at raw index col.
void ClickTitle(TKelDBGrid& grid, int col)
{
    QWidget* viewport = grid.viewport();
    const QPointF at = grid.CellRect(col, 0).center();
    const QPointF global = viewport->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
}

// --- 1,000 steps from the top ------------------------------------------------------

// From the first record; the steps must have moved the record past kSteps.
void RunRecordSteps(benchmark::State& state, tk::TDataSet& dataSet, TKelDBGrid& grid,
                    const std::function<void()>& step)
{
    RunSteps(state, grid, [&] { dataSet.First(); }, step, [&] { return dataSet.RecNo() > kSteps; });
}

void BM_DBGrid_Wheel1000(benchmark::State& state)
{
    tk::TQuery query;
    OpenSelectAll(query);
    Fixture fixture(query);
    RunRecordSteps(state, query, fixture.Grid(), [&] { WheelDown(*fixture.Grid().viewport()); });
}
BENCHMARK(BM_DBGrid_Wheel1000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_DBGrid_PageDown1000(benchmark::State& state)
{
    tk::TQuery query;
    OpenSelectAll(query);
    Fixture fixture(query);
    fixture.Grid().setFocus();
    RunRecordSteps(state, query, fixture.Grid(), [&] { PressKey(fixture.Grid(), Qt::Key_PageDown); });
}
BENCHMARK(BM_DBGrid_PageDown1000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// --- Ctrl+End and Ctrl+Home --------------------------------------------------------

// From a freshly opened query (nothing fetched beyond the first screen):
// Ctrl+End, paint, Ctrl+Home, paint.
void BM_DBGrid_CtrlEndCtrlHome(benchmark::State& state)
{
    tk::TQuery query;
    OpenSelectAll(query);
    Fixture fixture(query);
    TKelDBGrid& grid = fixture.Grid();
    grid.setFocus();
    QImage image = ScreenImage();
    bool reachedEnd = true;
    for (auto _ : state) {
        state.PauseTiming();
        query.Close();
        query.Open();
        SettleEvents();
        Paint(grid, image);
        state.ResumeTiming();
        PressKey(grid, Qt::Key_End, Qt::ControlModifier);
        Paint(grid, image);
        reachedEnd = reachedEnd && query.RecNo() == kBigTableRows;
        PressKey(grid, Qt::Key_Home, Qt::ControlModifier);
        Paint(grid, image);
        state.PauseTiming();
        SettleEvents();
        state.ResumeTiming();
    }
    if (!reachedEnd || query.RecNo() != 1)
        state.SkipWithError("Ctrl+End / Ctrl+Home did not reach the ends");
}
BENCHMARK(BM_DBGrid_CtrlEndCtrlHome)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- Title-click reorder -----------------------------------------------------------

// Title clicks turn the marker of one column from ascending to descending
// and back (dgMarkerAutoToggle), and each reorders the dataset at once
// (dgAutoUpdateOrder). Measured: the click and the repainted first screen.
// reordered: asked after each click whether the dataset took the order the
// way the case measures.
void RunTitleClicks(benchmark::State& state, TKelDBGrid& grid, const QString& field,
                    const std::function<bool()>& reordered)
{
    grid.SetOptions(grid.Options() | kelgrid::dgMarkerAutoToggle);
    grid.SetOptionsEx(grid.OptionsEx() | kelgrid::dgAutoUpdateOrder);
    const int col = grid.DataToRawColumn(grid.ColumnByName(field)->Index());
    QImage image = ScreenImage();
    SettleEvents();
    bool ordered = false;
    for (auto _ : state) {
        ClickTitle(grid, col);
        Paint(grid, image);
        state.PauseTiming();
        ordered = ordered || (grid.OrderFields().compare(field, Qt::CaseInsensitive) == 0 && reordered());
        SettleEvents();
        state.ResumeTiming();
    }
    if (!ordered)
        state.SkipWithError("the title click did not order the dataset");
}

void BM_DBGrid_TitleClickQuery(benchmark::State& state)
{
    tk::TQuery query;
    OpenSelectAll(query);
    Fixture fixture(query);
    RunTitleClicks(state, fixture.Grid(), QStringLiteral("name"), [&] {
        return query.SQL()->Text().contains(QStringLiteral("ORDER BY name"), Qt::CaseInsensitive);
    });
}
BENCHMARK(BM_DBGrid_TitleClickQuery)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);

void BM_DBGrid_TitleClickClient100k(benchmark::State& state)
{
    // Kept in a file, so that the grid sorts the rows in memory
    // (IndexFieldNames) rather than asking the database again.
    QTemporaryDir folder;
    tk::TClientDataSet rows;
    rows.SetDatabase(&Database());
    rows.SetCommandText(QStringLiteral("SELECT id, name, amount FROM t WHERE id <= %1").arg(kClientRows));
    rows.Open();
    rows.SetFileName(folder.filePath(QStringLiteral("rows.cds")));
    rows.SaveToFile();
    Fixture fixture(rows);
    RunTitleClicks(state, fixture.Grid(), QStringLiteral("name"),
                   [&] { return rows.IndexFieldNames().compare(QStringLiteral("name"), Qt::CaseInsensitive) == 0; });
}
BENCHMARK(BM_DBGrid_TitleClickClient100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);

// --- Totals over a million rows ----------------------------------------------------

// Sum, average and count of the amount column in the totals band.
class TotalsGrid {
public:
    TotalsGrid() : fixture_(query_)
    {
        OpenSelectAll(query_);
        TKelDBGrid& grid = fixture_.Grid();
        grid.BeginLayout();
        for (int index = 0; index < kBigTableColumns; ++index)
            grid.Columns()->Add()->SetFieldName(BigTableColumn(index));
        grid.EndLayout();
        // Calculated only when asked.
        grid.SetOptionsEx((grid.OptionsEx() | kelgrid::dgTotalValues) &
                          ~kelgrid::TKelDBGridOptionsEx(kelgrid::dgAutoUpdateTotals));
        kelgrid::TKelColumnTotalValues* totals = grid.ColumnByName(QStringLiteral("amount"))->TotalValues();
        for (kelgrid::TCalcValue kind : {kelgrid::cvSum, kelgrid::cvAvg, kelgrid::cvCount}) {
            kelgrid::TKelColumnTotalValue* total = totals->Add();
            total->SetTotalResult(kelgrid::trCalcValue);
            total->SetCalcValue(kind);
        }
        SettleEvents();
    }
    tk::TQuery& Query() { return query_; }
    TKelDBGrid& Grid() { return fixture_.Grid(); }
    // "sum avg count" as the totals hold them.
    QString Values()
    {
        kelgrid::TKelColumnTotalValues* totals = Grid().ColumnByName(QStringLiteral("amount"))->TotalValues();
        QStringList values;
        for (int i = 0; i < totals->Count(); ++i)
            values << totals->Items(i)->Value().ToString();
        return values.join(u' ');
    }

private:
    tk::TQuery query_;
    Fixture fixture_;
};

// What SQLite says, for checking ours.
QString SqliteTotals()
{
    tk::TQuery query;
    query.SetDatabase(&Database());
    query.SQL()->SetText(QStringLiteral("SELECT SUM(amount), AVG(amount), COUNT(amount) FROM t"));
    query.Open();
    QStringList values;
    for (int i = 0; i < 3; ++i)
        values << query.Fields()[i]->AsVariant().ToString();
    return values.join(u' ');
}

void CheckTotals(benchmark::State& state, TotalsGrid& grid)
{
    const QString ours = grid.Values();
    const QString sqlite = SqliteTotals();
    if (ours == sqlite)
        return;
    std::fprintf(stderr, "totals %s, SQLite's %s\n", qPrintable(ours), qPrintable(sqlite));
    state.SkipWithError("the totals differ from SQLite's");
}

// The rows fetched by a first run; each iteration calculates again.
void BM_DBGrid_Totals1M(benchmark::State& state)
{
    TotalsGrid grid;
    grid.Grid().UpdateCalcValues(false);
    for (auto _ : state)
        grid.Grid().UpdateCalcValues(false);
    CheckTotals(state, grid);
}
BENCHMARK(BM_DBGrid_Totals1M)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first calculation after opening: fetching the rows is part of it.
void BM_DBGrid_Totals1MFirstRun(benchmark::State& state)
{
    TotalsGrid grid;
    for (auto _ : state) {
        state.PauseTiming();
        grid.Query().Close();
        grid.Query().Open();
        SettleEvents();
        state.ResumeTiming();
        grid.Grid().UpdateCalcValues(false);
    }
    CheckTotals(state, grid);
}
BENCHMARK(BM_DBGrid_Totals1MFirstRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A per-record handler makes the grid walk the records (rows fetched).
void BM_DBGrid_Totals1MWalk(benchmark::State& state)
{
    TotalsGrid grid;
    grid.Grid().OnTotalCalcQuery = [](kelgrid::TKelCustomDBGrid*, tk::TDataSet*, bool& accept) { accept = true; };
    grid.Grid().UpdateCalcValues(false);
    for (auto _ : state)
        grid.Grid().UpdateCalcValues(false);
    CheckTotals(state, grid);
}
BENCHMARK(BM_DBGrid_Totals1MWalk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace gridbench
