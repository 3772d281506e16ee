// TKelDBGridColumns: adding columns, the state, rebuilding from the
// dataset, the field map and change routing. The order list is in
// columnmarkers.cpp.

#include "kelgrid/grid/columns.h"

#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"

#include <QScopeGuard>

namespace kelgrid {

TKelDBGridColumns::TKelDBGridColumns(TKelCustomDBGrid* grid, const QMetaObject* columnClass)
    : tk::TCollection(columnClass, grid), grid_(grid)
{
}

TKelDBGridColumns::~TKelDBGridColumns()
{
    // The columns go with the base; they must not look for an order list
    // or a grid on the way.
    order_.clear();
    grid_ = nullptr;
}

TKelColumn* TKelDBGridColumns::Items(int index) const
{
    return static_cast<TKelColumn*>(tk::TCollection::Items(index));
}

TKelColumn* TKelDBGridColumns::Add()
{
    return static_cast<TKelColumn*>(tk::TCollection::Add());
}

TKelColumn* TKelDBGridColumns::InternalAdd()
{
    // The grid must not lay out while the new column still counts as
    // stored: that would drop the default columns before it.
    if (grid_)
        grid_->BeginLayout();
    auto endLayout = qScopeGuard([this] {
        if (grid_)
            grid_->EndLayout();
    });
    TKelColumn* column = Add();
    column->SetStored(false);
    return column;
}

TKelColumn* TKelDBGridColumns::AddAutoNumber()
{
    auto* column = static_cast<TKelColumn*>(Insert(0));
    column->SetAutoNumber(true);
    column->SetAlignment(tk::taRightJustify);
    column->Title()->SetAlignment(tk::taRightJustify);
    column->SetSuppressRTL(true);
    column->Title()->SetCaption(DefAutoNumberTitle);
    const bool active = grid_ && grid_->LinkActiveNow();
    column->SetWidth(active ? DefAutoNumberWidth : column->DefaultWidth());
    return column;
}

TKelColumn* TKelDBGridColumns::AddAutoSelect()
{
    auto* column = static_cast<TKelColumn*>(Insert(0));
    column->SetCheckBox(true);
    column->SetAlignment(tk::taCenter);
    column->Title()->SetAlignment(tk::taCenter);
    column->SetSuppressRTL(true);
    column->Title()->SetCaption(DefAutoSelectTitle);
    const bool active = grid_ && grid_->LinkActiveNow();
    column->SetWidth(active ? DefAutoSelectWidth : column->DefaultWidth());
    return column;
}

void TKelDBGridColumns::AddAutoColumns(bool stored)
{
    if (!grid_)
        return;
    // The number column goes in last so that it comes first.
    if (grid_->OptionsExt().testFlag(dgAutoSelectColumn))
        AddAutoSelect()->SetStored(stored);
    if (grid_->OptionsExt().testFlag(dgAutoNumberColumn))
        AddAutoNumber()->SetStored(stored);
}

TDBGridColumnsState TKelDBGridColumns::State() const
{
    return Count() > 0 && Items(Count() - 1)->Stored() ? csCustomized : csDefault;
}

void TKelDBGridColumns::SetState(TDBGridColumnsState state)
{
    if (state == State())
        return;
    if (state == csCustomized)
        RebuildColumns();
    else
        Clear();
}

void TKelDBGridColumns::AddFieldColumns(const QList<tk::TField*>& fields)
{
    for (tk::TField* field : fields) {
        Add()->SetFieldName(field->FullName());
        if (const tk::TFields* children = field->ChildFields())
            AddFieldColumns(QList<tk::TField*>(children->begin(), children->end()));
    }
}

void TKelDBGridColumns::RebuildColumns()
{
    tk::TDataSet* dataSet = grid_ && grid_->DataSource() ? grid_->DataSource()->DataSet() : nullptr;
    if (!dataSet) {
        Clear();
        return;
    }
    grid_->BeginLayout();
    auto endLayout = qScopeGuard([this] { grid_->EndLayout(); });
    Clear();
    const tk::TFields& fields = dataSet->Fields();
    AddFieldColumns(QList<tk::TField*>(fields.begin(), fields.end()));
    if (Count() > 0)
        AddAutoColumns(true);
}

void TKelDBGridColumns::RestoreDefaults()
{
    BeginUpdate();
    auto end = qScopeGuard([this] { EndUpdate(); });
    for (int i = 0; i < Count(); ++i)
        Items(i)->RestoreDefaults();
}

QStringList TKelDBGridColumns::FieldNames() const
{
    QStringList names;
    for (int i = 0; i < Count(); ++i)
        names << Items(i)->FieldName();
    return names;
}

QList<TKelColumn*> TKelDBGridColumns::ColumnsOfField(const tk::TField* field) const
{
    QList<TKelColumn*> columns;
    for (int i = 0; field && i < Count(); ++i)
        if (Items(i)->Field() == field)
            columns << Items(i);
    return columns;
}

void TKelDBGridColumns::Notify(tk::TCollectionItem* item, TCollectionNotification action)
{
    if (action != cnAdded)
        RemoveFromOrder(static_cast<TKelColumn*>(item));
}

void TKelDBGridColumns::Update(tk::TCollectionItem* item)
{
    if (!grid_ || grid_->HasState(tk::TComponentStateFlag::csLoading) ||
        grid_->HasState(tk::TComponentStateFlag::csDestroying))
        return;
    if (!item) {
        grid_->LayoutChanged();
        return;
    }
    auto* column = static_cast<TKelColumn*>(item);
    grid_->InvalidateColumn(column);
    const int raw = grid_->DataToRawColumn(column->Index());
    // Until the next layout the matrix may not have this column yet.
    if (grid_->UpdateLock() == 0 && raw < grid_->ColCount())
        grid_->SetColWidths(raw, column->Width());
}

}  // namespace kelgrid
