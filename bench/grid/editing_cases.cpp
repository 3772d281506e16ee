// The data grid's editing aids against the plain loops over the same
// records that they cannot beat by much:
// - CopyToClipboard of 10,000 selected records of 10 columns, against
//   reading the same cells' display texts through the dataset into a list;
// - LoadListItems of one column over 100,000 records holding 1,000
//   distinct texts, against reading the field's text into a set and
//   sorting what it holds.
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
constexpr int kDistinctTexts = 1000;

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

// One text column with kDistinctTexts values over kListRows records.
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
            dataSet->Fields()[1]->SetAsString(
                QStringLiteral("Lot %1").arg(id * 7919 % kDistinctTexts));
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

void BM_DBGrid_CopyToClipboard10k(benchmark::State& state)
{
    Shown shown(CopyRows());
    TKelDBGrid& grid = shown.Grid();
    grid.SetOptions(grid.Options() | kelgrid::dgMultiSelect);
    grid.SelectAll();
    SettleEvents();
    for (auto _ : state)
        grid.CopyToClipboard();
    const QString text = tk::ClipboardText();
    if (grid.SelectedRows()->Count() != kCopyRows || text.count(QStringLiteral("\r\n")) != kCopyRows ||
        text.count(QLatin1Char('\t')) != kCopyRows * (kCopyColumns - 1))
        state.SkipWithError("the clipboard does not hold every selected cell");
}
BENCHMARK(BM_DBGrid_CopyToClipboard10k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DataSet_ReadDisplayTexts10k(benchmark::State& state)
{
    tk::TClientDataSet& rows = CopyRows();
    Shown shown(rows);  // the same dataset, shown as ours is
    QStringList cells;
    for (auto _ : state) {
        cells.clear();
        rows.DisableControls();
        for (rows.First(); !rows.Eof(); rows.Next())
            for (int i = 0; i < rows.Fields().Count(); ++i)
                cells << rows.Fields()[i]->DisplayText();
        rows.EnableControls();
        benchmark::DoNotOptimize(cells);
    }
    if (cells.size() != kCopyRows * kCopyColumns)
        state.SkipWithError("not every cell was read");
}
BENCHMARK(BM_DataSet_ReadDisplayTexts10k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DBGrid_LoadListItems100k(benchmark::State& state)
{
    Shown shown(ListRows());
    TKelDBGrid& grid = shown.Grid();
    grid.SetOptionsExt(grid.OptionsExt() & ~kelgrid::TKelDBGridOptionsExt(kelgrid::dgDelayUpdateListItems));
    grid.ColumnByName(QStringLiteral("Lot"))->SetPickOptions(kelgrid::poAutoLoadList);
    SettleEvents();
    for (auto _ : state)
        grid.LoadListItems();
    // Columns made from the dataset: the column is found again by name.
    if (grid.ColumnByName(QStringLiteral("Lot"))->PickList()->Count() != kDistinctTexts)
        state.SkipWithError("the pick list does not hold every distinct text");
}
BENCHMARK(BM_DBGrid_LoadListItems100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DataSet_DistinctTexts100k(benchmark::State& state)
{
    tk::TClientDataSet& rows = ListRows();
    Shown shown(rows);
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
