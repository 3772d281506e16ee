// The data grid's editing aids against the plain loops over the same
// records that they cannot beat by much:
// - CopyToClipboard of 10,000 selected records of 10 columns, against
//   reading the same cells' edit texts (what the copy holds) through the
//   dataset into the same tab-separated text and putting it on the
//   clipboard;
// - LoadListItems (the grid's loading of every poAutoLoadList column) and
//   the column's own LoadPickList, of one column over 100,000 records
//   holding 1,001 distinct texts (the last one only in the last record, so
//   a walk that stops early is caught), against reading the field's text
//   into a set and sorting what it holds.
// Both sides run on the same client dataset, which the grid shows; the
// peers disable the dataset's controls as the grid's walks do.

#include "bench/grid/screen.h"
#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/keldbgrids.h"
#include "tests/support/field_def.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/clipboard.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace gridbench {
namespace {

using kelgrid::TKelDBGrid;
using tk::test::Def;

constexpr int kCopyRows = 10000;
constexpr int kCopyColumns = 10;
constexpr int kListRows = 100000;
constexpr int kLotTexts = 1000;
// The lot texts and the one only the last record holds.
constexpr int kDistinctTexts = kLotTexts + 1;

// Ten columns of mixed kinds: integers, texts, floats and a Boolean.
tk::TClientDataSet& CopyRows()
{
    static tk::TClientDataSet* rows = [] {
        auto* dataSet = new tk::TClientDataSet;
        dataSet->FieldDefs() = {
            Def(QStringLiteral("Id"), tk::ftInteger),      Def(QStringLiteral("Name"), tk::ftString, 40),
            Def(QStringLiteral("City"), tk::ftString, 20), Def(QStringLiteral("Note"), tk::ftString, 40),
            Def(QStringLiteral("Amount"), tk::ftFloat),    Def(QStringLiteral("Lot"), tk::ftInteger),
            Def(QStringLiteral("Paid"), tk::ftBoolean),    Def(QStringLiteral("Street"), tk::ftString, 40),
            Def(QStringLiteral("Rate"), tk::ftFloat),      Def(QStringLiteral("Receipt"), tk::ftInteger)};
        dataSet->CreateDataSet();
        dataSet->DisableControls();
        for (int id = 1; id <= kCopyRows; ++id) {
            dataSet->Append();
            dataSet->Fields()[0]->SetAsInteger(id);
            dataSet->Fields()[1]->SetAsString(QStringLiteral("Customer number %1").arg(id));
            dataSet->Fields()[2]->SetAsString(QStringLiteral("City %1").arg(id % 7));
            dataSet->Fields()[3]->SetAsString(
                QStringLiteral("Receipt %1 of lot %2").arg(id % 12).arg(id / 100));
            dataSet->Fields()[4]->SetAsFloat(id * 0.25);
            dataSet->Fields()[5]->SetAsInteger(id / 100);
            dataSet->Fields()[6]->SetAsBoolean(id % 2 == 0);
            dataSet->Fields()[7]->SetAsString(QStringLiteral("Street %1").arg(id % 301));
            dataSet->Fields()[8]->SetAsFloat(id / 7.0);
            dataSet->Fields()[9]->SetAsInteger(id * 31 % 1000);
            dataSet->Post();
        }
        dataSet->EnableControls();
        dataSet->First();
        return dataSet;
    }();
    return *rows;
}

// One text column with kLotTexts values over kListRows records, and one
// more in the last record.
tk::TClientDataSet& ListRows()
{
    static tk::TClientDataSet* rows = [] {
        auto* dataSet = new tk::TClientDataSet;
        dataSet->FieldDefs() = {Def(QStringLiteral("Id"), tk::ftInteger),
                                Def(QStringLiteral("Lot"), tk::ftString, 20)};
        dataSet->CreateDataSet();
        dataSet->DisableControls();
        for (int id = 1; id <= kListRows; ++id) {
            dataSet->Append();
            dataSet->Fields()[0]->SetAsInteger(id);
            dataSet->Fields()[1]->SetAsString(id == kListRows ? QStringLiteral("Last lot")
                                                              : QStringLiteral("Lot %1").arg(id * 7919 % kLotTexts));
            dataSet->Post();
        }
        dataSet->EnableControls();
        dataSet->First();
        return dataSet;
    }();
    return *rows;
}

// A grid shown at screen size on dataSet.
class Shown {
public:
    explicit Shown(tk::TDataSet& dataSet)
    {
        source_.SetDataSet(&dataSet);
        grid_.SetDataSource(&source_);
        ShowAtScreenSize(grid_);
    }
    ~Shown() { grid_.SetDataSource(nullptr); }
    TKelDBGrid& Grid() { return grid_; }

private:
    tk::TDataSource source_;
    TKelDBGrid grid_;
};

// The copy the grid makes of every record: each shown cell's edit text,
// tab-separated, each line ended by CR LF (none of these texts needs
// quotes).
QString CopyByHand(tk::TDataSet& rows)
{
    QString text;
    rows.DisableControls();
    for (rows.First(); !rows.Eof(); rows.Next()) {
        for (int i = 0; i < rows.Fields().Count(); ++i) {
            if (i > 0)
                text += u'\t';
            text += rows.Fields()[i]->Text();
        }
        text += QStringLiteral("\r\n");
    }
    rows.EnableControls();
    return text;
}

// Every record selected in a grid shown on the copy rows.
class SelectedRows {
public:
    SelectedRows() : shown_(CopyRows())
    {
        TKelDBGrid& grid = shown_.Grid();
        grid.SetOptions(grid.Options() | kelgrid::dgMultiSelect);
        grid.SelectAll();
        SettleEvents();
    }
    TKelDBGrid& Grid() { return shown_.Grid(); }

private:
    Shown shown_;
};

void BM_DBGrid_CopyToClipboard10k(benchmark::State& state)
{
    SelectedRows selected;
    TKelDBGrid& grid = selected.Grid();
    bool copiedEach = true;
    for (auto _ : state) {
        grid.CopyToClipboard();
        // Each copy must reach the clipboard: emptied for the next one.
        state.PauseTiming();
        copiedEach = copiedEach && !tk::ClipboardText().isEmpty();
        tk::SetClipboardText(QString());
        state.ResumeTiming();
    }
    grid.CopyToClipboard();
    const QString text = tk::ClipboardText();
    if (!copiedEach || grid.SelectedRows()->Count() != kCopyRows || text.count(QStringLiteral("\r\n")) != kCopyRows ||
        text.count(QLatin1Char('\t')) != kCopyRows * (kCopyColumns - 1))
        state.SkipWithError("the clipboard does not hold every selected cell");
}
BENCHMARK(BM_DBGrid_CopyToClipboard10k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DataSet_CopyTexts10k(benchmark::State& state)
{
    tk::TClientDataSet& rows = CopyRows();
    SelectedRows selected;  // the same dataset, shown and selected as ours is
    for (auto _ : state) {
        tk::SetClipboardText(CopyByHand(rows));
        state.PauseTiming();
        tk::SetClipboardText(QString());
        state.ResumeTiming();
    }
    // The same cells as the grid's copy, character for character.
    selected.Grid().CopyToClipboard();
    if (CopyByHand(rows) != tk::ClipboardText())
        state.SkipWithError("the texts read differ from the grid's copy");
}
BENCHMARK(BM_DataSet_CopyTexts10k)->Unit(benchmark::kMillisecond)->UseRealTime();

// A grid on the list rows whose "Lot" column loads its pick list.
class LotListGrid {
public:
    LotListGrid() : shown_(ListRows())
    {
        TKelDBGrid& grid = shown_.Grid();
        grid.SetOptionsExt(grid.OptionsExt() & ~kelgrid::TKelDBGridOptionsExt(kelgrid::dgDelayUpdateListItems));
        // Columns made from the dataset: the column is found by name.
        lot_ = grid.ColumnByName(QStringLiteral("Lot"));
        Q_ASSERT(lot_);
        lot_->SetPickOptions(kelgrid::poAutoLoadList);
        grid.OnListItemsUpdated = [this](kelgrid::TKelCustomDBGrid*) { ++loads_; };
        SettleEvents();
    }
    TKelDBGrid& Grid() { return shown_.Grid(); }
    kelgrid::TKelColumn& Lot() { return *lot_; }
    int Loads() const { return loads_; }
    void ClearList() { lot_->PickList()->Clear(); }
    // Every distinct text, sorted, the last record's among them.
    bool ListComplete() const
    {
        tk::TStrings* list = lot_->PickList();
        return list->Count() == kDistinctTexts && list->IndexOf(QStringLiteral("Last lot")) >= 0 &&
               list->Strings(0).compare(list->Strings(1), Qt::CaseInsensitive) < 0;
    }

private:
    Shown shown_;
    kelgrid::TKelColumn* lot_ = nullptr;
    int loads_ = 0;
};

void BM_DBGrid_LoadListItems100k(benchmark::State& state)
{
    LotListGrid grid;
    const int loadsBefore = grid.Loads();
    for (auto _ : state) {
        grid.Grid().LoadListItems();
        state.PauseTiming();
        grid.ClearList();  // each load fills an empty list
        state.ResumeTiming();
    }
    // A load refused (the dataset not browsing) would report no update.
    const bool loadedEach = grid.Loads() - loadsBefore == static_cast<int>(state.iterations());
    grid.Grid().LoadListItems();
    if (!loadedEach || !grid.ListComplete())
        state.SkipWithError("the pick list does not hold every distinct text");
}
BENCHMARK(BM_DBGrid_LoadListItems100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DBGrid_LoadPickList100k(benchmark::State& state)
{
    LotListGrid grid;
    bool loadedEach = true;
    for (auto _ : state) {
        grid.Lot().LoadPickList(nullptr, true);
        state.PauseTiming();
        loadedEach = loadedEach && grid.ListComplete();
        grid.ClearList();
        state.ResumeTiming();
    }
    if (!loadedEach)
        state.SkipWithError("the pick list does not hold every distinct text");
}
BENCHMARK(BM_DBGrid_LoadPickList100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DataSet_DistinctTexts100k(benchmark::State& state)
{
    tk::TClientDataSet& rows = ListRows();
    LotListGrid grid;  // the same dataset, shown as ours is
    QStringList sorted;
    for (auto _ : state) {
        QSet<QString> seen;
        rows.DisableControls();
        tk::TField* lot = rows.Fields()[1];
        for (rows.First(); !rows.Eof(); rows.Next()) {
            const QString text = lot->Text();
            if (!text.isEmpty())
                seen.insert(text);
        }
        rows.EnableControls();
        sorted = QStringList(seen.begin(), seen.end());
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        benchmark::DoNotOptimize(sorted);
    }
    if (sorted.size() != kDistinctTexts)
        state.SkipWithError("not every distinct text was found");
}
BENCHMARK(BM_DataSet_DistinctTexts100k)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace gridbench
