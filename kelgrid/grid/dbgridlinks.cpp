// TKelCustomDBGrid: what the grid does when its data link reports, and the
// field map it gives the link.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"

namespace kelgrid {

void TKelCustomDBGrid::LinkActive(bool active)
{
    d_->selectedRows->LinkActive(active);
    LayoutChanged();
    if (active)
        ApplyOrderOnActivation();
    // --- Settings, style and scroll properties
    if (active)
        RunPendingLayoutLoad();
}

void TKelCustomDBGrid::DataChanged()
{
    d_->selectedRows->KeepSorted();
    LayoutChanged();
    UpdateActive();
}

void TKelCustomDBGrid::EditingChanged()
{
    InvalidateEditor();
}

void TKelCustomDBGrid::RecordChanged(tk::TField* /*field*/)
{
    InvalidateData();
}

void TKelCustomDBGrid::UpdateData() {}

tk::TField* TKelCustomDBGrid::SelectedField() const
{
    TKelColumn* column = ColumnOfRaw(Col());
    return column ? column->Field() : nullptr;
}

void TKelCustomDBGrid::SetSelectedField(tk::TField* field)
{
    if (!field)
        return;
    for (int i = 0; i < d_->columns->Count(); ++i)
        if (d_->columns->Items(i)->Field() == field) {
            SetCol(DataToRawColumn(i));
            return;
        }
}

void TKelCustomDBGrid::DefineFieldMap()
{
    TKelGridDataLink* link = d_->dataLink.get();
    link->ClearMapping();
    if (!link->Active())
        return;
    if (d_->columns->State() == csCustomized) {
        // The user's columns may name fields the dataset lacks: those map to -1.
        link->SetSparseMap(true);
        for (int i = 0; i < d_->columns->Count(); ++i)
            link->AddMapping(d_->columns->Items(i)->FieldName());
    } else {
        link->SetSparseMap(false);
        for (tk::TField* field : link->DataSet()->FieldList())
            if (field->Visible())
                link->AddMapping(field->FullName());
    }
}

bool TKelCustomDBGrid::AcquireFocus()
{
    if (CanFocus() && !hasFocus())
        SetFocus();
    return hasFocus();
}

}  // namespace kelgrid
