#include "kelgrid/grid/columns.h"

#include "kelgrid/grid/dbgrid.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"

namespace kelgrid {

TKelColumn::TKelColumn(tk::TCollection* collection) : tk::TCollectionItem(collection) {}

TKelColumn::~TKelColumn() = default;

TKelCustomDBGrid* TKelColumn::Grid() const
{
    auto* columns = qobject_cast<TKelDBGridColumns*>(Collection());
    return columns ? columns->Grid() : nullptr;
}

void TKelColumn::SetFieldName(const QString& name)
{
    if (name == fieldName_)
        return;
    fieldName_ = name;
    field_ = nullptr;
    Changed(true);
}

tk::TField* TKelColumn::Field() const
{
    if (!field_ && !fieldName_.isEmpty()) {
        TKelCustomDBGrid* grid = Grid();
        tk::TDataSet* dataSet = grid ? grid->DataSet() : nullptr;
        if (dataSet)
            field_ = dataSet->FindField(fieldName_);
    }
    return field_;
}

void TKelColumn::SetField(tk::TField* field)
{
    field_ = field;
}

TKelColumn* TKelColumn::ParentColumn() const
{
    return nullptr;
}

int TKelColumn::Depth() const
{
    int depth = 0;
    for (TKelColumn* parent = ParentColumn(); parent; parent = parent->ParentColumn())
        ++depth;
    return depth;
}

bool TKelColumn::Showing() const
{
    return true;
}

TKelDBGridColumns::TKelDBGridColumns(TKelCustomDBGrid* grid, const QMetaObject* columnClass)
    : tk::TCollection(columnClass, grid), grid_(grid)
{
}

TKelColumn* TKelDBGridColumns::Items(int index) const
{
    return static_cast<TKelColumn*>(tk::TCollection::Items(index));
}

TKelColumn* TKelDBGridColumns::Add()
{
    return static_cast<TKelColumn*>(tk::TCollection::Add());
}

TDBGridColumnsState TKelDBGridColumns::State() const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Stored())
            return csCustomized;
    return csDefault;
}

void TKelDBGridColumns::Update(tk::TCollectionItem* /*item*/)
{
    if (grid_)
        grid_->LayoutChanged();
}

}  // namespace kelgrid
