// TKelCustomDBGrid: what the grid does when its data link reports.

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
}

void TKelCustomDBGrid::DataChanged()
{
    LayoutChanged();
}

void TKelCustomDBGrid::Scroll(int /*distance*/)
{
    InvalidateData();
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

bool TKelCustomDBGrid::AcquireFocus()
{
    if (CanFocus() && !hasFocus())
        SetFocus();
    return hasFocus();
}

}  // namespace kelgrid
