// The peer of the lookup cases (lookup_cases.cpp): Qt's item views with the
// SQL models over the same 100,000 rows of the table file. A QTableView on a
// QSqlQueryModel that fetched every row once (as our client dataset holds
// them), made a Qt::Popup window of our lookup grid's size with rows as
// high, no headers (ours shows no titles) and the key column hidden. Timed
// per iteration from hidden to shown and painted once: the key's row found
// through the model (match), made current and scrolled to, the window moved
// and shown. Hiding it is not timed.

#include "bench/grid/firstpaint.h"
#include "bench/grid/lookup.h"
#include "bench/grid/bigtable.h"
#include "bench/grid/screen.h"

#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <stdexcept>

namespace gridbench {
namespace {

const QString kConnection = QStringLiteral("gridbench-lookup");

// Qt's connection to the benchmark's file, for as long as the case runs.
class Connection {
public:
    Connection()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
        db.setDatabaseName(BigTablePath());
        if (!db.open())
            throw std::runtime_error("Qt cannot open the benchmark database");
    }
    ~Connection() { QSqlDatabase::removeDatabase(kConnection); }
    QSqlQuery Select(const QString& sql) const { return QSqlQuery(sql, QSqlDatabase::database(kConnection)); }
};

void BM_QTableViewSql_LookupPopup100k(benchmark::State& state)
{
    const LookupGeometry geometry = OurLookupGeometry();
    Connection connection;
    QSqlQueryModel model;
    model.setQuery(connection.Select(QString::fromLatin1(kLookupSelect)));
    while (model.canFetchMore())
        model.fetchMore();
    if (model.rowCount() != kLookupRows) {
        state.SkipWithError("the model did not fetch every lookup row");
        return;
    }
    QTableView view;
    view.setWindowFlags(Qt::Popup);
    view.setModel(&model);
    view.setColumnHidden(0, true);  // the key
    view.horizontalHeader()->hide();
    view.verticalHeader()->hide();
    view.verticalHeader()->setMinimumSectionSize(1);
    view.verticalHeader()->setDefaultSectionSize(geometry.rowPitch);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.resize(geometry.size);
    const QModelIndex first = model.index(0, 1);
    bool shown = true;
    for (auto _ : state) {
        const QModelIndexList found =
            model.match(model.index(0, 0), Qt::DisplayRole, kLookupKey, 1, Qt::MatchExactly);
        if (!found.isEmpty()) {
            const QModelIndex current = found.first().siblingAtColumn(1);
            view.setCurrentIndex(current);
            view.scrollTo(current);
        }
        view.move(kLookupPopupAt);
        FirstPaintWatch watch(*view.viewport());
        view.show();
        const bool painted = watch.Wait();
        state.PauseTiming();
        shown = shown && painted && !found.isEmpty() && view.currentIndex().row() == kLookupKey - 1 &&
                view.size() == geometry.size;
        view.hide();
        view.setCurrentIndex(first);
        view.scrollToTop();
        SettleEvents();
        state.ResumeTiming();
    }
    if (!shown)
        state.SkipWithError("the popup view did not show the key's row, painted");
}
BENCHMARK(BM_QTableViewSql_LookupPopup100k)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace gridbench
