// The peers of the lookup cases (lookup_cases.cpp): Qt's item views with the
// SQL models over the same 100,000 rows of the table file. A QTableView on a
// QSqlQueryModel, made a Qt::Popup window of our lookup grid's size with
// rows as high, no headers (ours shows no titles) and the key column
// hidden. Timed per iteration from hidden to shown and painted once: the
// key's row found through the model (fetching on while it is not there yet),
// made current and scrolled to, the window moved and shown. Hiding it is not
// timed.
// - against our client dataset: the model fetched every row once, before
//   the first iteration, as the client dataset holds them;
// - against our query opened for each list: the model is given the query
//   within each iteration and cleared after it.

#include "bench/grid/bigtable.h"
#include "bench/grid/firstpaint.h"
#include "bench/grid/lookup.h"
#include "bench/grid/qtconnection.h"
#include "bench/grid/screen.h"

#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <benchmark/benchmark.h>

namespace gridbench {
namespace {

const QString kConnection = QStringLiteral("gridbench-lookup");

// The row of the key, fetching more rows while it is not among those
// fetched; -1 when no row has it.
int FetchUntilKey(QSqlQueryModel& model)
{
    for (int row = 0;; ++row) {
        while (row >= model.rowCount()) {
            if (!model.canFetchMore())
                return -1;
            model.fetchMore();
        }
        if (model.data(model.index(row, 0)).toInt() == kLookupKey)
            return row;
    }
}

// The popup view on model, as large as our lookup grid.
class PopupView {
public:
    explicit PopupView(QSqlQueryModel& model) : model_(model), geometry_(OurLookupGeometry())
    {
        view_.setWindowFlags(Qt::Popup);
        view_.setModel(&model_);
        view_.horizontalHeader()->hide();
        view_.verticalHeader()->hide();
        view_.verticalHeader()->setMinimumSectionSize(1);
        view_.verticalHeader()->setDefaultSectionSize(geometry_.rowPitch);
        view_.setSelectionBehavior(QAbstractItemView::SelectRows);
        view_.resize(geometry_.size);
    }
    // Finds the key's row, shows it current and runs the event loop until
    // the view is painted; whether it was.
    bool Show()
    {
        view_.setColumnHidden(0, true);  // the key; a new query shows it again
        const int row = FetchUntilKey(model_);
        if (row >= 0) {
            const QModelIndex current = model_.index(row, 1);
            view_.setCurrentIndex(current);
            view_.scrollTo(current);
        }
        view_.move(kLookupPopupAt);
        FirstPaintWatch watch(*view_.viewport());
        view_.show();
        return watch.Wait();
    }
    bool ShowedKey() const
    {
        return view_.isVisible() && view_.currentIndex().row() == kLookupKey - 1 && view_.size() == geometry_.size;
    }
    void Hide()
    {
        view_.hide();
        view_.setCurrentIndex(QModelIndex());
        view_.scrollToTop();
        SettleEvents();
    }

private:
    QSqlQueryModel& model_;
    const LookupGeometry geometry_;
    QTableView view_;
};

void BM_QTableViewSql_LookupPopup100k(benchmark::State& state)
{
    QtConnection connection(kConnection);
    QSqlQueryModel model;
    model.setQuery(connection.Select(QString::fromLatin1(kLookupSelect)));
    while (model.canFetchMore())
        model.fetchMore();
    if (model.rowCount() != kLookupRows) {
        state.SkipWithError("the model did not fetch every lookup row");
        return;
    }
    PopupView popup(model);
    bool shown = true;
    for (auto _ : state) {
        const bool painted = popup.Show();
        state.PauseTiming();
        shown = shown && painted && popup.ShowedKey();
        popup.Hide();
        state.ResumeTiming();
    }
    if (!shown)
        state.SkipWithError("the popup view did not show the key's row, painted");
}
BENCHMARK(BM_QTableViewSql_LookupPopup100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QTableViewSql_LookupPopupQuery100k(benchmark::State& state)
{
    QtConnection connection(kConnection);
    QSqlQueryModel model;
    PopupView popup(model);
    bool shown = true;
    for (auto _ : state) {
        model.setQuery(connection.Select(QString::fromLatin1(kLookupSelect)));
        const bool painted = popup.Show();
        state.PauseTiming();
        shown = shown && painted && popup.ShowedKey();
        popup.Hide();
        model.clear();
        state.ResumeTiming();
    }
    if (!shown)
        state.SkipWithError("the popup view did not show the key's row, painted");
}
BENCHMARK(BM_QTableViewSql_LookupPopupQuery100k)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace gridbench
