#include "kelgrid/grid/gridlink.h"

#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/griderror.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/resourcestring.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"

#include <QScopeGuard>
#include <QScopedValueRollback>
#include <algorithm>

namespace kelgrid {

TKelGridDataLink::TKelGridDataLink(TKelCustomDBGrid* grid) : grid_(grid)
{
    Q_ASSERT(grid);
    SetVisualControl(true);
}

TKelGridDataLink::~TKelGridDataLink()
{
    ClearMapping();
}

// --- Field map ---------------------------------------------------------------------

int TKelGridDataLink::GrownCapacity(int capacity, int needed)
{
    const qint64 doubled = capacity == 0 ? 8 : 2 * qint64(capacity);
    return static_cast<int>(std::min<qint64>(std::max<qint64>(doubled, needed), MaxMappedFields));
}

bool TKelGridDataLink::AddMapping(const QString& fieldName)
{
    if (fieldCount_ >= MaxMappedFields)
        InvalidGridOperation(tk::LoadResString(&tk::STooManyColumns));
    tk::TDataSet* dataSet = DataSet();
    tk::TField* field = nullptr;
    if (dataSet)
        field = sparseMap_ ? dataSet->FindField(fieldName) : dataSet->FieldByName(fieldName);
    // A field on its way out maps to no field.
    if (field && field->HasState(tk::TComponentStateFlag::csDestroying))
        field = nullptr;
    if (fieldCount_ == MapCapacity())
        fieldMap_.resize(GrownCapacity(MapCapacity(), fieldCount_ + 1));
    int index = -1;
    if (field) {
        index = dataSet->FieldList().IndexOf(field);
        field->FreeNotification(static_cast<tk::TComponentCore*>(grid_));
    }
    fieldMap_[fieldCount_++] = index;
    return true;
}

void TKelGridDataLink::ClearMapping()
{
    fieldCount_ = 0;
}

int TKelGridDataLink::GetMappedIndex(int index) const
{
    return index >= 0 && index < fieldCount_ ? fieldMap_[index] : -1;
}

tk::TField* TKelGridDataLink::Fields(int index) const
{
    const int mapped = GetMappedIndex(index);
    tk::TDataSet* dataSet = DataSet();
    // A map older than the dataset's field list (a field freed since the
    // last layout) must not reach past it.
    if (mapped < 0 || !dataSet || mapped >= dataSet->FieldList().Count())
        return nullptr;
    return dataSet->FieldList().Field(mapped);
}

bool TKelGridDataLink::DefaultFields() const
{
    tk::TDataSet* dataSet = DataSet();
    if (!dataSet)
        return true;
    if (!dataSet->DefaultFields())
        return false;
    if (sparseMap_)
        for (int i = 0; i < fieldCount_; ++i)
            if (fieldMap_[i] < 0)
                return false;
    return true;
}

bool TKelGridDataLink::IsAggRow(int /*index*/) const
{
    return false;
}

// --- Pending edit --------------------------------------------------------------------

void TKelGridDataLink::Cancel()
{
    tk::TDataSet* dataSet = DataSet();
    if (!dataSet)
        return;
    grid_->BeginChange();
    auto release = qScopeGuard([this] { grid_->EndChange(); });
    dataSet->Cancel();
}

void TKelGridDataLink::Reset()
{
    if (modified_)
        RecordChanged(nullptr);
    else
        Cancel();
}

// --- Events of the data source ----------------------------------------------------------

void TKelGridDataLink::ActiveChanged()
{
    if (Active() && DataSet() && DataSet()->IsUnidirectional())
        throw tk::EDatabaseError(tk::LoadResString(&tk::SDataSetUnidirectional));
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
    if (grid_->SelectedField() == field && grid_->AcquireFocus()) {
        field = nullptr;
        grid_->ShowEditor();
    }
}

void TKelGridDataLink::LayoutChanged()
{
    {
        const bool old = grid_->LayoutFromDataSet();
        grid_->SetLayoutFromDataSet(true);
        auto restore = qScopeGuard([this, old] { grid_->SetLayoutFromDataSet(old); });
        grid_->LayoutChanged();
    }
    tk::TDataLink::LayoutChanged();
}

void TKelGridDataLink::RecordChanged(tk::TField* field)
{
    if (field && modified_ && !inUpdateData_ && !field->Calculated() && !field->Lookup() &&
        field != grid_->SelectedField()) {
        TKelColumn* column = grid_->FindColumn(field->FullName());
        if (column && column->Index() >= grid_->FixedCols())
            UpdateData();
    }
    grid_->RecordChanged(field);
    modified_ = false;
}

void TKelGridDataLink::UpdateData()
{
    if (inUpdateData_)
        return;
    const QScopedValueRollback<bool> guard(inUpdateData_, true);
    if (modified_)
        grid_->UpdateData();
    modified_ = false;
}

}  // namespace kelgrid
