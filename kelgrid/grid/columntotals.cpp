// TKelColumn: its four total objects, the totals of the band's rows and the
// routing of their changes.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/column_p.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntotalvalue.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/totallink.h"
#include "kelgrid/grid/totals.h"

namespace kelgrid {

TKelColumnTotalFields* TKelColumn::CreateTotalFields()
{
    return new TKelColumnTotalFields(this);
}

TKelColumnTotalFooter* TKelColumn::CreateTotalFooter()
{
    return new TKelColumnTotalFooter(this);
}

TKelColumnTotalHeader* TKelColumn::CreateTotalHeader()
{
    return new TKelColumnTotalHeader(this);
}

TKelColumnTotalValues* TKelColumn::CreateTotalValues()
{
    return new TKelColumnTotalValues(this);
}

TKelColumnTotalHeader* TKelColumn::TotalHeader() const
{
    return d_->totalHeader;
}

void TKelColumn::SetTotalHeader(TKelColumnTotalHeader* total)
{
    if (total && total != d_->totalHeader)
        d_->totalHeader->Assign(total);
}

TKelColumnTotalValues* TKelColumn::TotalValues() const
{
    return d_->totalValues;
}

void TKelColumn::SetTotalValues(TKelColumnTotalValues* totals)
{
    if (totals && totals != d_->totalValues)
        d_->totalValues->Assign(totals);
}

bool TKelColumn::IsTotalValuesStored() const
{
    return d_->totalValues->Count() > 0;
}

TKelColumnTotalFields* TKelColumn::TotalFields() const
{
    return d_->totalFields;
}

void TKelColumn::SetTotalFields(TKelColumnTotalFields* total)
{
    if (total && total != d_->totalFields)
        d_->totalFields->Assign(total);
}

TKelColumnTotalFooter* TKelColumn::TotalFooter() const
{
    return d_->totalFooter;
}

void TKelColumn::SetTotalFooter(TKelColumnTotalFooter* total)
{
    if (total && total != d_->totalFooter)
        d_->totalFooter->Assign(total);
}

TKelColumnTotal* TKelColumn::TotalRows(int index) const
{
    TKelCustomDBGrid* grid = Grid();
    if (!grid || index < 0)
        return nullptr;
    const TKelCustomDBGrid::TTotalBand band = grid->TotalBand();
    if (index < band.header)
        return d_->totalHeader;
    index -= band.header;
    if (index < band.values)
        return index < d_->totalValues->Count() ? d_->totalValues->Items(index) : nullptr;
    index -= band.values;
    if (index < band.fields)
        return d_->totalFields;
    index -= band.fields;
    return index < band.footer ? d_->totalFooter : nullptr;
}

TKelColumnTotalValue* TKelColumn::TotalValueRows(int index) const
{
    return qobject_cast<TKelColumnTotalValue*>(TotalRows(index));
}

void TKelColumn::TotalChanged(TKelColumnTotal* total)
{
    TKelCustomDBGrid* grid = Grid();
    if (!grid || grid->HasState(tk::TComponentStateFlag::csLoading))
        return;
    if (total) {
        grid->InvalidateColumn(this);
        return;
    }
    grid->LayoutChanged();
    grid->InvalidateEditor();
}

void TKelColumn::DropTotalFields()
{
    d_->totalHeader->SetField(nullptr);
    for (int i = 0; i < d_->totalValues->Count(); ++i)
        d_->totalValues->Items(i)->SetField(nullptr);
    d_->totalFields->SetField(nullptr);
    d_->totalFooter->SetField(nullptr);
}

void TKelColumn::RestoreTotalDefaults()
{
    d_->totalHeader->RestoreDefaults();
    d_->totalValues->RestoreDefaults();
    d_->totalFields->RestoreDefaults();
    d_->totalFooter->RestoreDefaults();
}

void TKelColumn::AssignTotals(const TKelColumn* column)
{
    d_->totalHeader->Assign(column->TotalHeader());
    d_->totalValues->Assign(column->TotalValues());
    d_->totalFields->Assign(column->TotalFields());
    d_->totalFooter->Assign(column->TotalFooter());
}

void TKelColumn::RefreshTotalFonts()
{
    d_->totalHeader->RefreshDefaultFont();
    for (int i = 0; i < d_->totalValues->Count(); ++i)
        d_->totalValues->Items(i)->RefreshDefaultFont();
    d_->totalFields->RefreshDefaultFont();
    d_->totalFooter->RefreshDefaultFont();
}

}  // namespace kelgrid
