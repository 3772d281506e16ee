// The lookup grid's cases: a kelgrid::TKelPopupGridList dropped from a
// shown grid's column over the 100,000 lookup rows (lookup.h), timed per
// iteration from closed to shown and painted once: its data source set, the
// list fields and key field given, the owner's appearance taken, the key
// located, sized by the drop-down limits, popped up and painted. Closing it
// (CloseUp, WriteBack) is not timed.
// - on a tk::TClientDataSet that read the rows from the table file once, as
//   a lookup table is open before its list drops; this is the fair match
//   of the peer, Qt's model holding every row it fetched (lookup_peers.cpp);
// - on a tk::TQuery over the file, which fetches its rows as they are
//   reached: what a lookup dataset usually is. It is opened within each
//   timed iteration and closed after it, as the editor opens a closed
//   lookup dataset for its list and closes it at close-up; a query left
//   open would have fetched every row it passes once, in the first
//   iteration only. Its peer is Qt's model given the query anew.

#include "bench/grid/bigtable.h"
#include "bench/grid/firstpaint.h"
#include "bench/grid/lookup.h"
#include "bench/grid/screen.h"
#include "kelgrid/editors/dropdownlimits.h"
#include "kelgrid/editors/popupgridlist.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/keldbgrids.h"
#include "toolkit/core/variant.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/database.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/query.h"

#include <benchmark/benchmark.h>

namespace gridbench {
namespace {

using kelgrid::TKelColumn;
using kelgrid::TKelDBGrid;
using kelgrid::TKelPopupGridList;

// The benchmark's file, opened once for every dataset of these cases.
tk::TDatabase& LookupDatabase()
{
    static tk::TDatabase* database = [] {
        auto* opened = new tk::TDatabase;
        opened->SetDatabaseName(BigTablePath());
        opened->Open();
        return opened;
    }();
    return *database;
}

// The lookup rows read into memory once.
tk::TClientDataSet& LookupRows()
{
    static tk::TClientDataSet* rows = [] {
        auto* dataSet = new tk::TClientDataSet;
        dataSet->SetDatabase(&LookupDatabase());
        dataSet->SetCommandText(QString::fromLatin1(kLookupSelect));
        dataSet->Open();
        return dataSet;
    }();
    return *rows;
}

// Whether each opening of the list also opens the lookup dataset (and its
// closing closes it) or finds it open.
enum class Opening { DataSetOpen, OpensDataSet };

// A grid shown at screen size with one column, and the lookup grid that
// drops from that column over lookup.
class LookupPopup {
public:
    LookupPopup(tk::TDataSet& lookup, Opening opening) : lookup_(lookup), opening_(opening)
    {
        Q_ASSERT(lookup_.Active() == (opening_ == Opening::DataSetOpen));
        source_.SetDataSet(&lookup_);
        column_ = owner_.Columns()->Add();
        column_->SetFieldName(QStringLiteral("customer"));
        ShowAtScreenSize(owner_);
        list_ = new TKelPopupGridList(&owner_);  // the owner frees it
        list_->SetAssociate(&owner_);
    }

    // Opens the list from the first record, as the editor drops it, and
    // runs the event loop until it is painted; whether it was.
    bool Open()
    {
        if (opening_ == Opening::OpensDataSet)
            lookup_.Open();
        list_->SetDataSource(&source_);
        list_->SetListFields(QString::fromLatin1(kLookupListFields));
        list_->SetKeyFields(QString::fromLatin1(kLookupKeyField));
        list_->TakeAppearance(&owner_, column_);
        found_ = list_->SetKeyValue(tk::Variant(kLookupKey));
        list_->Prepare(kelgrid::TDropDownLimits{0, 0, column_->Width()});
        FirstPaintWatch watch(*list_->viewport());
        list_->Popup(kLookupPopupAt);
        return watch.Wait();
    }
    // Closes it as the editor does; an open dataset goes back to its first
    // record.
    void Close()
    {
        list_->CloseUp(false);
        list_->WriteBack(column_);
        SettleEvents();
        if (opening_ == Opening::OpensDataSet)
            lookup_.Close();
        else
            lookup_.First();
    }
    // Whether the last opening showed the key's record as the current row.
    bool ShowedKey() const
    {
        return found_ && list_->IsPopupVisible() && list_->KeyValue().ToInt() == kLookupKey &&
               list_->Columns()->Count() == kLookupShownColumns;
    }
    TKelPopupGridList& List() { return *list_; }

private:
    tk::TDataSet& lookup_;
    const Opening opening_;
    tk::TDataSource source_;
    TKelDBGrid owner_;  // after the source: goes first, with the list
    TKelColumn* column_ = nullptr;
    TKelPopupGridList* list_ = nullptr;
    bool found_ = false;
};

void RunLookupPopup(benchmark::State& state, tk::TDataSet& lookup, Opening opening)
{
    LookupPopup popup(lookup, opening);
    bool shown = true;
    for (auto _ : state) {
        const bool painted = popup.Open();
        state.PauseTiming();
        shown = shown && painted && popup.ShowedKey();
        popup.Close();
        state.ResumeTiming();
    }
    if (!shown)
        state.SkipWithError("the lookup grid did not show the key's record, painted");
}

void BM_DBGrid_LookupPopup100k(benchmark::State& state)
{
    RunLookupPopup(state, LookupRows(), Opening::DataSetOpen);
}
BENCHMARK(BM_DBGrid_LookupPopup100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DBGrid_LookupPopupQuery100k(benchmark::State& state)
{
    tk::TQuery query;
    query.SetDatabase(&LookupDatabase());
    query.SQL()->SetText(QString::fromLatin1(kLookupSelect));
    RunLookupPopup(state, query, Opening::OpensDataSet);
}
BENCHMARK(BM_DBGrid_LookupPopupQuery100k)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

LookupGeometry OurLookupGeometry()
{
    static const LookupGeometry geometry = [] {
        LookupPopup popup(LookupRows(), Opening::DataSetOpen);
        popup.Open();
        const TKelPopupGridList& list = popup.List();
        LookupGeometry measured{list.size(), list.DefaultRowHeight() + list.GridLineWidth()};
        popup.Close();
        return measured;
    }();
    return geometry;
}

}  // namespace gridbench
