// TKelTotalsCalc: the calculation of the grid's totals and of its sequence
// numbers (totalscalc.h).

#include "kelgrid/grid/totalscalc.h"

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntotalvalue.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/totals.h"
#include "kelgrid/grid/totalsfastpath.h"
#include "toolkit/core/varianterrors.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/fields.h"

#include <QScopedValueRollback>
#include <algorithm>
#include <limits>

namespace kelgrid {

namespace {

// A band's shown flag and its selected flag.
struct TBandFlags {
    TKelDBGridOptionEx shown;
    TKelDBGridOptionEx selected;
};
constexpr TBandFlags kHeaderBand{dgTotalHeader, dgTotalHeaderSelected};
constexpr TBandFlags kValuesBand{dgTotalValues, dgTotalValuesSelected};
constexpr TBandFlags kFooterBand{dgTotalFooter, dgTotalFooterSelected};

}  // namespace

TKelTotalsCalc::TKelTotalsCalc(TKelCustomDBGrid& grid)
    : grid_(grid), totalsTimer_([this] { grid_.UpdateCalcValues(false); }), sequenceTimer_([this] {
          grid_.UpdateSequenceValues();
          grid_.Invalidate();
      })
{
}

bool TKelTotalsCalc::ColumnsOnly() const
{
    const TKelDBGridTotals* totals = grid_.Totals();
    return totals->SelectedCols() && !totals->SelectedRows();
}

bool TKelTotalsCalc::Calculate(bool selected)
{
    if (calculating_)
        return false;
    QScopedValueRollback guard(calculating_, true);
    Reset(selected);
    tk::TDataSet* dataSet = grid_.DataSet();
    if (!entries_.empty() && grid_.LinkActiveNow() && dataSet && !dataSet->IsEmpty())
        Walk(selected, *dataSet);
    Final();
    return true;
}

void TKelTotalsCalc::Reset(bool selected)
{
    entries_.clear();
    selectedMode_ = selected;
    needsRecordSelection_ = false;
    const TKelDBGridOptionsEx options = grid_.OptionsEx();
    const bool selectedRows = grid_.Totals()->SelectedRows();
    auto add = [&](TKelColumnTotalValue* total, const TBandFlags& band) {
        if (!total || total->TotalResult() != trCalcValue)
            return;
        const bool selectedBand = options.testFlag(band.selected);
        TEntry entry{};
        entry.total = total;
        entry.field = total->Field();
        entry.kind = total->CalcValue();
        entry.nulls = total->NullValue();
        const auto* floatField = qobject_cast<const tk::TFloatField*>(entry.field);
        entry.currencyFloat = floatField && floatField->Currency();
        entry.selectedOnly = !selected && selectedBand;
        entry.countsRecords =
            total->CalcApply() == caBoth || selectedRows == (total->CalcApply() == caSelectedRows);
        needsRecordSelection_ = needsRecordSelection_ || (entry.selectedOnly && entry.countsRecords);
        // The reset pass: a handler may seed the accumulator.
        tk::Variant seed;
        grid_.TotalCalcValue(total, cpReset, seed);
        total->TempValue() = seed;
        total->Counter() = 0;
        entries_.push_back(entry);
    };
    auto takesPart = [&](const TBandFlags& band) {
        return (options.testFlag(band.shown) || options.testFlag(dgCalcInvisibleRows)) &&
               (!selected || options.testFlag(band.selected));
    };
    const bool header = takesPart(kHeaderBand);
    const bool values = takesPart(kValuesBand);
    const bool footer = takesPart(kFooterBand);
    TKelDBGridColumns* columns = grid_.Columns();
    for (int i = 0; i < columns->Count(); ++i) {
        TKelColumn* column = columns->Items(i);
        if (header)
            add(column->TotalHeader(), kHeaderBand);
        if (values) {
            TKelColumnTotalValues* items = column->TotalValues();
            for (int j = 0; j < items->Count(); ++j)
                add(items->Items(j), kValuesBand);
        }
        if (footer)
            add(column->TotalFooter(), kFooterBand);
    }
}

void TKelTotalsCalc::Walk(bool selected, tk::TDataSet& dataSet)
{
    dataSet.CheckBrowseMode();
    const TPositionLock bracket(grid_);
    const TKelDBGridOptionsEx options = grid_.OptionsEx();
    const bool calcSelected = options.testFlag(dgCalcSelectedRows);
    const bool calcWhole = options.testFlag(dgCalcWholeDataSet);
    TKelBookmarkList* rows = grid_.SelectedRows();
    const bool anySelected = rows->Count() > 0;
    const bool wholeByColumns = selected && ColumnsOnly();
    if (!wholeByColumns && (selected || (calcSelected && (!calcWhole || anySelected)))) {
        for (int i = 0; i < rows->Count(); ++i) {
            const tk::TBookmark& bookmark = rows->Items(i);
            if (!dataSet.BookmarkValid(bookmark))
                continue;
            dataSet.GotoBookmark(bookmark);
            CalcRecord(dataSet);
        }
    } else if (wholeByColumns || (calcWhole && (!calcSelected || !anySelected))) {
        if (CountBySource(dataSet))
            return;
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
            CalcRecord(dataSet);
    }
}

bool TKelTotalsCalc::CountBySource(tk::TDataSet& dataSet)
{
    // The distinct fields of the totals that count records, each scanned
    // once for all of its totals.
    std::vector<tk::TField*> fields;
    std::vector<std::vector<TEntry*>> totalsOf;
    for (TEntry& entry : entries_) {
        if (!entry.countsRecords)
            continue;
        const auto found = std::find(fields.begin(), fields.end(), entry.field);
        const auto index = static_cast<size_t>(found - fields.begin());
        if (found == fields.end()) {
            fields.push_back(entry.field);
            totalsOf.emplace_back();
        }
        totalsOf[index].push_back(&entry);
    }
    if (!TotalsBySourceAllowed(grid_, dataSet, fields, needsRecordSelection_ && !ColumnsOnly()))
        return false;
    return ScanTotalFields(dataSet, fields, [&](size_t index, const tk::Variant& value) {
        for (TEntry* entry : totalsOf[index])
            CountValue(*entry, value);
    });
}

void TKelTotalsCalc::CalcRecord(tk::TDataSet& dataSet)
{
    if (!grid_.TotalCalcQuery(&dataSet))
        return;
    // Bands summing the selected rows only need to know whether this one is.
    const bool recordSelected =
        needsRecordSelection_ && (grid_.SelectedRows()->CurrentRowSelected() || ColumnsOnly());
    for (TEntry& entry : entries_) {
        if (!entry.countsRecords || (entry.selectedOnly && !recordSelected))
            continue;
        CountValue(entry, entry.field ? entry.field->AsVariant() : tk::Variant());
    }
}

void TKelTotalsCalc::CountValue(TEntry& entry, tk::Variant value)
{
    if (entry.currencyFloat && !value.IsEmptyOrNull()) {
        try {
            value = tk::Variant(value.ToCurrency());
        } catch (const tk::EVariantError&) {
            // Beyond the currency range: the total cannot be shown.
            entry.failed = true;
            entry.total->TempValue() = tk::Variant();
        }
    }
    grid_.TotalCalcValue(entry.total, cpCalcRec, value);
    if (value.IsNull()) {
        if (entry.nulls == nvExclude)
            return;
        if (entry.nulls == nvAsZero)
            value = tk::Variant(0);
    }
    AccumulateTotal(entry.kind, value, {entry.total->TempValue(), entry.total->Counter(), entry.failed});
}

void TKelTotalsCalc::Final()
{
    for (TEntry& entry : entries_) {
        TKelColumnTotalValue* total = entry.total;
        tk::Variant value = FinalTotal(entry.kind, total->TempValue(), total->Counter(), entry.failed);
        grid_.TotalCalcValue(total, cpFinal, value);
        total->SetValue(value);
    }
    // Caption totals may show the other part of their caption now.
    grid_.InvalidateTotals();
}

bool TKelTotalsCalc::CalculateSequence()
{
    if (inSequence_)
        return false;
    QScopedValueRollback guard(inSequence_, true);
    recNumber_ = 0;
    recCount_ = 0;
    tk::TDataSet* dataSet = grid_.DataSet();
    if (!grid_.LinkActiveNow() || !dataSet || dataSet->IsEmpty())
        return true;
    dataSet->CheckBrowseMode();
    const TPositionLock bracket(grid_);
    constexpr int far = std::numeric_limits<int>::max();
    recNumber_ = 1 - dataSet->MoveBy(-far);
    recCount_ = dataSet->MoveBy(far) + 1;
    return true;
}

}  // namespace kelgrid
