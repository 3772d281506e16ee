// The peers of the operability cases (operability_cases.cpp), on QtSql over
// the same table file:
// - QTableView on QSqlQueryModel given 1,000 wheel notches and 1,000 PgDn
//   from the top (the model fetching its next rows as the view nears its
//   last one), each step painted, timed as ours are (steps.h);
// - QTableView selecting all of 100,000 rows (every row fetched first);
// - QTableView on QSqlQueryModel scrolled to its end (every row fetched,
//   as Qt's model must before its last row exists) and back to the top;
// - QTableView on QSqlQueryModel given the ORDER BY statement by setQuery,
//   ascending and descending in turn, as the title clicks order ours:
//   the server sorts for both sides (a QSortFilterProxyModel would sort a
//   million rows in the view's memory after fetching all of them, which is
//   not what either grid asks for);
// - SQLite's own SUM, AVG and COUNT through QSqlQuery.

#include "bench/grid/bigtable.h"
#include "bench/grid/qtconnection.h"
#include "bench/grid/screen.h"
#include "bench/grid/steps.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <benchmark/benchmark.h>

namespace gridbench {
namespace {

const QString kConnection = QStringLiteral("gridbench-operability");

// As many rows as our grid shows, each one line high.
void ShowLikeOurGrid(QTableView& view)
{
    view.verticalHeader()->setMinimumSectionSize(1);
    view.verticalHeader()->setDefaultSectionSize(DataRowPitch());
    ShowAtScreenSize(view);
}

// The view on "SELECT * FROM t", shown like our grid.
class StepView {
public:
    StepView() : connection_(kConnection)
    {
        model_.setQuery(connection_.Select(QString::fromLatin1(kSelectAll)));
        view_.setModel(&model_);
        ShowLikeOurGrid(view_);
    }
    QSqlQueryModel& Model() { return model_; }
    QTableView& View() { return view_; }
    void ToTop()
    {
        view_.setCurrentIndex(model_.index(0, 0));
        view_.scrollToTop();
    }

private:
    QtConnection connection_;
    QSqlQueryModel model_;
    QTableView view_;  // last: goes before its model
};

// A notch scrolls the view by three rows (the platform's default) and
// leaves the current row: the view moved, so the top row is past kSteps.
void BM_QTableViewSql_Wheel1000(benchmark::State& state)
{
    StepView fixture;
    QTableView& view = fixture.View();
    RunSteps(state, view, [&] { fixture.ToTop(); }, [&] { WheelDown(*view.viewport()); },
             [&] { return view.rowAt(0) > kSteps; });
}
BENCHMARK(BM_QTableViewSql_Wheel1000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_QTableViewSql_PageDown1000(benchmark::State& state)
{
    StepView fixture;
    QTableView& view = fixture.View();
    view.setFocus();
    RunSteps(state, view, [&] { fixture.ToTop(); }, [&] { PressKey(view, Qt::Key_PageDown); },
             [&] { return view.currentIndex().row() > kSteps; });
}
BENCHMARK(BM_QTableViewSql_PageDown1000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// The rows our SelectAll case selects, all fetched, selected as whole rows.
void BM_QTableViewSql_SelectAll100k(benchmark::State& state)
{
    constexpr int kSelectRows = 100000;
    QtConnection connection(kConnection);
    QSqlQueryModel model;
    model.setQuery(connection.Select(QStringLiteral("SELECT id, name, amount FROM t WHERE id <= %1").arg(kSelectRows)));
    while (model.canFetchMore())
        model.fetchMore();
    QTableView view;
    view.setModel(&model);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    ShowLikeOurGrid(view);
    for (auto _ : state) {
        view.selectAll();
        state.PauseTiming();
        view.clearSelection();
        state.ResumeTiming();
    }
    view.selectAll();
    if (view.selectionModel()->selectedRows().count() != kSelectRows)
        state.SkipWithError("selectAll did not select every row");
}
BENCHMARK(BM_QTableViewSql_SelectAll100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QTableViewSql_EndHome(benchmark::State& state)
{
    QtConnection connection(kConnection);
    QSqlQueryModel model;
    QTableView view;
    view.setModel(&model);
    ShowLikeOurGrid(view);
    QImage image = ScreenImage();
    bool reachedEnd = true;
    for (auto _ : state) {
        state.PauseTiming();
        model.setQuery(connection.Select(QString::fromLatin1(kSelectAll)));
        SettleEvents();
        Paint(view, image);
        state.ResumeTiming();
        while (model.canFetchMore())
            model.fetchMore();
        view.scrollToBottom();
        Paint(view, image);
        reachedEnd = reachedEnd && model.rowCount() == kBigTableRows;
        view.scrollToTop();
        Paint(view, image);
        state.PauseTiming();
        SettleEvents();
        state.ResumeTiming();
    }
    if (!reachedEnd)
        state.SkipWithError("the model did not reach its last row");
}
BENCHMARK(BM_QTableViewSql_EndHome)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QTableViewSql_OrderBy(benchmark::State& state)
{
    static const char* const kOrders[] = {" ORDER BY name", " ORDER BY name DESC"};
    QtConnection connection(kConnection);
    QSqlQueryModel model;
    model.setQuery(connection.Select(QString::fromLatin1(kSelectAll)));
    QTableView view;
    view.setModel(&model);
    ShowLikeOurGrid(view);
    QImage image = ScreenImage();
    SettleEvents();
    int next = 0;
    for (auto _ : state) {
        model.setQuery(connection.Select(QString::fromLatin1(kSelectAll) + QString::fromLatin1(kOrders[next])));
        Paint(view, image);
        state.PauseTiming();
        next = 1 - next;
        SettleEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_QTableViewSql_OrderBy)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);

void BM_QSqlQuery_Totals1M(benchmark::State& state)
{
    QtConnection connection(kConnection);
    for (auto _ : state) {
        QSqlQuery query = connection.Select(QStringLiteral("SELECT SUM(amount), AVG(amount), COUNT(amount) FROM t"));
        if (!query.next()) {
            state.SkipWithError("the aggregate returned no row");
            break;
        }
        benchmark::DoNotOptimize(query.value(0).toDouble() + query.value(1).toDouble() + query.value(2).toLongLong());
    }
}
BENCHMARK(BM_QSqlQuery_Totals1M)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace gridbench
