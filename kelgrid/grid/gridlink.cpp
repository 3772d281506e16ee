#include "kelgrid/grid/gridlink.h"

#include "kelgrid/grid/dbgrid.h"
#include "toolkit/core/updatelock.h"

#include <QScopedValueRollback>

namespace kelgrid {

TKelGridDataLink::TKelGridDataLink(TKelCustomDBGrid* grid) : grid_(grid)
{
    SetVisualControl(true);
}

TKelGridDataLink::~TKelGridDataLink() = default;

void TKelGridDataLink::ActiveChanged()
{
    grid_->LinkActive(Active());
    modified_ = false;
}

void TKelGridDataLink::DataSetChanged()
{
    grid_->DataChanged();
    modified_ = false;
}

void TKelGridDataLink::DataSetScrolled(int distance)
{
    grid_->Scroll(distance);
}

void TKelGridDataLink::EditingChanged()
{
    grid_->EditingChanged();
}

void TKelGridDataLink::FocusControl(tk::TField*& field)
{
    if (!field)
        return;
    grid_->SetSelectedField(field);
    if (grid_->SelectedField() == field && grid_->AcquireFocus())
        field = nullptr;
}

void TKelGridDataLink::LayoutChanged()
{
    {
        const bool old = grid_->LayoutFromDataSet();
        grid_->SetLayoutFromDataSet(true);
        auto restore = qScopeGuard([&] { grid_->SetLayoutFromDataSet(old); });
        grid_->LayoutChanged();
    }
    tk::TDataLink::LayoutChanged();
}

void TKelGridDataLink::RecordChanged(tk::TField* field)
{
    grid_->RecordChanged(field);
    modified_ = false;
}

void TKelGridDataLink::UpdateData()
{
    QScopedValueRollback<bool> guard(inUpdateData_, true);
    if (modified_)
        grid_->UpdateData();
    modified_ = false;
}

}  // namespace kelgrid
