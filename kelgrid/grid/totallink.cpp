#include "kelgrid/grid/totallink.h"

#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/totals.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/dataset.h"

#include <algorithm>

namespace kelgrid {

TKelTotalDataLink::TKelTotalDataLink(TKelCustomDBGrid* grid) : grid_(grid)
{
    SetVisualControl(true);
}

TKelTotalDataLink::~TKelTotalDataLink() = default;

void TKelTotalDataLink::UpdateBufferCount()
{
    if (!Active())
        return;
    const int records = DataSet() ? DataSet()->RecordCount() : 0;
    const int maxRow = grid_->Totals() ? grid_->Totals()->DataMaxRow() : 0;
    const int count = maxRow > 0 ? std::min(maxRow, records) : records;
    SetBufferCount(std::max(1, count));
}

int TKelTotalDataLink::FieldRowCount() const
{
    return Active() ? RecordCount() : 0;
}

void TKelTotalDataLink::ActiveChanged()
{
    if (Active() && DataSet() && DataSet()->IsUnidirectional())
        throw tk::EDatabaseError(tk::LoadResString(&tk::SDataSetUnidirectional));
    UpdateBufferCount();
    grid_->TotalsChanged(1, nullptr);
}

void TKelTotalDataLink::DataSetChanged()
{
    if (grid_->UpdateInProgress())
        return;
    UpdateBufferCount();
    grid_->TotalsChanged(1, nullptr);
}

void TKelTotalDataLink::DataSetScrolled(int /*distance*/) {}

void TKelTotalDataLink::RecordChanged(tk::TField* field)
{
    grid_->TotalsChanged(3, field);
}

}  // namespace kelgrid
