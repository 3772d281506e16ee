// The peers of the operability cases (operability_cases.cpp), on QtSql over
// the same table file:
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

#include <QHeaderView>
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
