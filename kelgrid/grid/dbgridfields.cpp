// TKelCustomDBGrid: the fields the grid shows, by column and by the data
// link's map, and reopening the dataset on the same record.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"

namespace kelgrid {

tk::TField* TKelCustomDBGrid::ColField(int dataColumn) const
{
    if (!LinkActiveNow() || dataColumn < 0 || dataColumn >= d_->columns->Count())
        return nullptr;
    return d_->columns->Items(dataColumn)->Field();
}

QString TKelCustomDBGrid::FieldValue(int dataColumn) const
{
    tk::TField* field = ColField(dataColumn);
    return field ? field->DisplayText() : QString();
}

int TKelCustomDBGrid::FieldCount() const
{
    return d_->dataLink->FieldCount();
}

tk::TField* TKelCustomDBGrid::Fields(int index) const
{
    return d_->dataLink->Fields(index);
}

bool TKelCustomDBGrid::ValidFieldIndex(int index) const
{
    return d_->dataLink->GetMappedIndex(index) >= 0;
}

void TKelCustomDBGrid::RefreshDataSet()
{
    if (!LinkActiveNow())
        return;
    tk::TDataSet& dataSet = *DataSet();
    // The records are read again and the record the key fields name comes
    // back on its screen row; without key fields (or when it is gone) the
    // dataset's own refresh keeps what it can. A pending edit is posted
    // first, and the new records are read before the old ones go, so a
    // dataset that cannot be read again (an in-memory one) raises and keeps
    // everything it had.
    dataSet.CheckBrowseMode();
    tk::Variant keys;
    if (!d_->keyFields.isEmpty())
        keys = dataSet.FieldValues(d_->keyFields);
    const int row = Position();
    dataSet.Refresh();
    if (!keys.IsUnassigned())
        dataSet.Locate(d_->keyFields, keys);
    d_->selectedRows->Clear();
    GotoPosition(row, tk::TBookmark());
}

}  // namespace kelgrid
