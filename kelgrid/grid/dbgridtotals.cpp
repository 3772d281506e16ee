// TKelCustomDBGrid: the grid's side of the totals calculation and of the
// sequence numbers: when a request runs (at once or from its timer), the
// event dispatchers, the text of total cells and the delayed work. The
// calculation itself is the TKelTotalsCalc part (totalscalc.h).

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columntotalvalue.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/totallink.h"
#include "kelgrid/grid/totals.h"
#include "kelgrid/grid/totalscalc.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"

#include <QScopeGuard>

namespace kelgrid {

namespace {

TKelTotalsCalc& CalcOf(TKelCustomDBGrid& grid, TKelCustomDBGridPrivate& d)
{
    if (!d.totalsCalc)
        d.totalsCalc = std::make_unique<TKelTotalsCalc>(grid);
    return *d.totalsCalc;
}

}  // namespace

// --- Requests ------------------------------------------------------------------------

void TKelCustomDBGrid::UpdateTotals(bool checkAutoUpdate)
{
    ++d_->totalsRequests;
    if (HasState(tk::TComponentStateFlag::csLoading) || HasState(tk::TComponentStateFlag::csDestroying) ||
        UpdateInProgress())
        return;
    const TKelDBGridOptionsEx options = d_->optionsEx;
    if ((checkAutoUpdate && !options.testFlag(dgAutoUpdateTotals)) || !d_->totals->CalcValues() ||
        (!d_->totals->Visible() && !options.testFlag(dgCalcInvisibleRows)))
        return;
    if (options.testFlag(dgDelayUpdateTotals))
        CalcOf(*this, *d_).TotalsTimer().Start(DelayInterval);
    else
        UpdateCalcValues(false);
}

void TKelCustomDBGrid::UpdateSequence(bool checkAutoUpdate)
{
    ++d_->sequenceRequests;
    if (HasState(tk::TComponentStateFlag::csLoading) || HasState(tk::TComponentStateFlag::csDestroying) ||
        UpdateInProgress())
        return;
    if ((checkAutoUpdate && !d_->optionsEx.testFlag(dgAutoUpdateSequence)) || !ForcedSequence())
        return;
    if (d_->optionsEx.testFlag(dgDelayUpdateSequence)) {
        CalcOf(*this, *d_).SequenceTimer().Start(DelayInterval);
    } else {
        UpdateSequenceValues();
        Invalidate();
    }
}

bool TKelCustomDBGrid::TotalsPending() const
{
    return d_->totalsCalc && d_->totalsCalc->TotalsTimer().Active();
}

bool TKelCustomDBGrid::SequencePending() const
{
    return d_->totalsCalc && d_->totalsCalc->SequenceTimer().Active();
}

void TKelCustomDBGrid::PerformDelayed()
{
    // The walks below run over saved records only.
    if (LinkActiveNow())
        DataSet()->CheckBrowseMode();
    if (d_->selectTimer && d_->selectTimer->Active())
        PerformDelayedSelect();
    if (ListItemsPending())
        DelayUpdateListItems();
    if (SequencePending()) {
        d_->totalsCalc->SequenceTimer().Stop();
        UpdateSequenceValues();
        Invalidate();
    }
    if (TotalsPending()) {
        d_->totalsCalc->TotalsTimer().Stop();
        UpdateCalcValues(false);
    }
}

// --- Calculation ---------------------------------------------------------------------

void TKelCustomDBGrid::UpdateCalcValues(bool selected)
{
    if (HasState(tk::TComponentStateFlag::csDestroying))
        return;
    TKelTotalsCalc& calc = CalcOf(*this, *d_);
    // Totals are taken over saved records only: an edit in progress would
    // be posted or lost by the walk.
    if (calc.Calculating() || (LinkActiveNow() && DataSet()->State() != tk::dsBrowse))
        return;
    if (!d_->totals->CalcValues())
        return;
    if (calc.Calculate(selected))
        TotalsUpdated();
}

bool TKelCustomDBGrid::TotalCalcQuery(tk::TDataSet* dataSet)
{
    bool accept = true;
    if (OnTotalCalcQuery)
        OnTotalCalcQuery(this, dataSet, accept);
    return accept;
}

void TKelCustomDBGrid::TotalCalcValue(TKelColumnTotalValue* total, TCalcPass pass, tk::Variant& value)
{
    if (OnTotalCalcValue)
        OnTotalCalcValue(total, pass, value);
}

void TKelCustomDBGrid::TotalGetText(TKelColumn* column, int index, QString& text, TTextKind kind)
{
    if (OnTotalGetText)
        OnTotalGetText(column, index, text, kind);
}

void TKelCustomDBGrid::TotalsUpdated()
{
    if (OnTotalsUpdated)
        OnTotalsUpdated(this);
}

void TKelCustomDBGrid::TotalsChanged(int kind, tk::TField* /*field*/)
{
    if (HasState(tk::TComponentStateFlag::csLoading) || !d_->totals->Visible() || kind == trNone)
        return;
    // A caption change may come with another number of field rows.
    if (kind == trCaption)
        LayoutChanged();
    else
        InvalidateTotals();
}

// --- Cell text -----------------------------------------------------------------------

QString TKelCustomDBGrid::GetTotalText(TKelColumn* column, int index, TTextKind kind)
{
    TKelColumnTotal* total = column ? column->TotalRows(index) : nullptr;
    if (!total || !total->Visible())
        return {};
    QString text;
    if (total->TotalResult() == trTotalField && !qobject_cast<TKelColumnTotalValue*>(total)) {
        // A field row: the record of the totals link that row shows.
        TKelTotalDataLink* link = d_->totals->DataLink();
        tk::TField* field = total->Field();
        if (!link->Active())
            return {};
        const TTotalBand band = TotalBand();
        const int active = link->ActiveRecord();
        auto restore = qScopeGuard([&] { link->SetActiveRecord(active); });
        link->SetActiveRecord(index - band.header - band.values);
        text = field ? field->DisplayText() : QString();
    } else {
        text = total->DisplayText();
    }
    TotalGetText(column, index, text, kind);
    return text;
}

// --- Sequence numbers ----------------------------------------------------------------

bool TKelCustomDBGrid::ForcedSequence() const
{
    return d_->options.testFlag(dgForceSequence) && LinkActiveNow();
}

void TKelCustomDBGrid::UpdateSequenceValues()
{
    if (HasState(tk::TComponentStateFlag::csDestroying) || !ForcedSequence() ||
        DataSet()->State() != tk::dsBrowse)
        return;
    if (!CalcOf(*this, *d_).CalculateSequence())
        return;
    // The walk put the current record back on its row: the numbers, the
    // bar and every auto-number cell show the new values.
    d_->lastActiveRecord = d_->dataLink->ActiveRecord();
    UpdateScrollBar();
    UpdateActive();
    InvalidateEditor();
    Invalidate();
    SequenceUpdated();
}

void TKelCustomDBGrid::SequenceUpdated()
{
    if (OnSequenceUpdated)
        OnSequenceUpdated(this);
}

int TKelCustomDBGrid::RecCount() const
{
    if (ForcedSequence())
        return d_->totalsCalc ? d_->totalsCalc->RecCount() : 0;
    tk::TDataSet* dataSet = DataSet();
    return LinkActiveNow() && dataSet ? dataSet->RecordCount() : 0;
}

}  // namespace kelgrid
