// TKelCustomDBGrid: pick lists loaded from the data. Columns with
// poAutoLoadList offer the distinct texts their field holds; the grid
// reloads them when asked (the link opening, someone else's data change),
// at once or, under dgDelayUpdateListItems, from a timer DelayInterval ms
// after the last request, so a burst of changes costs one walk.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/dbtypes.h"
#include "toolkit/data/field.h"

#include <QScopeGuard>
#include <QScopedValueRollback>

namespace kelgrid {

namespace {

// Fields whose values are no short texts to pick from.
bool LoadsFromField(const tk::TField* field)
{
    if (!field)
        return false;
    const tk::TFieldType type = field->DataType();
    return !tk::IsBlobType(type) && !tk::IsObjectType(type) && type != tk::ftBytes &&
           type != tk::ftVarBytes && type != tk::ftCursor;
}

// Adds each record's non-empty edit text of the columns' fields to their
// lists, walking the grid's dataset inside the position bracket.
void AddFieldTexts(TKelCustomDBGrid& grid, const QList<TKelColumn*>& columns,
                   const QList<tk::TStringList*>& lists)
{
    Q_ASSERT(columns.size() == lists.size());
    tk::TDataSet* dataSet = grid.DataSet();
    QList<tk::TField*> fields;
    for (TKelColumn* column : columns)
        fields << column->Field();
    dataSet->CheckBrowseMode();
    // Coming back to the current record is a data change of the walk's
    // own: the change lock keeps it from asking for another load.
    grid.BeginChange();
    auto endChange = qScopeGuard([&grid] { grid.EndChange(); });
    const TPositionLock position(grid);
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
        for (int i = 0; i < fields.size(); ++i) {
            const QString text = fields[i]->Text();
            if (!text.isEmpty())
                lists[i]->Add(text);
        }
    }
}

}  // namespace

bool TKelCustomDBGrid::AutoLoadListPresent(QList<TKelColumn*>* list) const
{
    bool present = false;
    for (int index = 0; index < d_->columns->Count(); ++index) {
        TKelColumn* column = d_->columns->Items(index);
        if (!column->PickOptions().testFlag(poAutoLoadList) || !LoadsFromField(column->Field()))
            continue;
        present = true;
        if (!list)
            return true;
        list->append(column);
    }
    return present;
}

void TKelCustomDBGrid::UpdateListItems(bool checkAutoUpdate)
{
    ++d_->listItemsRequests;
    const bool calculating =
        d_->totalsCalc && (d_->totalsCalc->Calculating() || d_->totalsCalc->SequenceRunning());
    if (HasState(tk::TComponentStateFlag::csLoading) || HasState(tk::TComponentStateFlag::csDestroying) ||
        d_->loadingListItems || calculating)
        return;
    if ((checkAutoUpdate && !d_->optionsExt.testFlag(dgAutoUpdateListItems)) || !AutoLoadListPresent())
        return;
    if (!d_->optionsExt.testFlag(dgDelayUpdateListItems)) {
        LoadListItems();
        return;
    }
    // A timer that cannot run loads at once, inside Start.
    if (!d_->listItemsTimer)
        d_->listItemsTimer = std::make_unique<tk::TSingleShotTimer>([this] { DelayUpdateListItems(); });
    d_->listItemsTimer->Start(DelayInterval);
}

void TKelCustomDBGrid::DelayUpdateListItems()
{
    // Freed from inside its own run: the timer allows that.
    d_->listItemsTimer.reset();
    LoadListItems();
}

bool TKelCustomDBGrid::ListItemsPending() const
{
    return d_->listItemsTimer && d_->listItemsTimer->Active();
}

bool TKelCustomDBGrid::ListItemsLoading() const
{
    return d_->loadingListItems;
}

void TKelCustomDBGrid::LoadListItems()
{
    tk::TDataSet* dataSet = DataSet();
    const bool linked = LinkActiveNow();
    // An edit in progress would be posted or lost by the walk.
    if (d_->loadingListItems || (linked && dataSet->State() != tk::dsBrowse))
        return;
    {
        const QScopedValueRollback<bool> loading(d_->loadingListItems, true);
        QList<TKelColumn*> columns;
        AutoLoadListPresent(&columns);
        // A sorted list finds a text by binary search and keeps one of each.
        QList<tk::TStringList*> lists;
        auto endLists = qScopeGuard([&] {
            // The lists keep their sorted order and end their batch, also
            // when the walk fails.
            for (tk::TStringList* list : lists) {
                list->SetSorted(false);
                list->EndUpdate();
            }
            for (TKelColumn* column : columns)
                column->PickListChanged();
        });
        for (TKelColumn* column : columns) {
            auto* list = qobject_cast<tk::TStringList*>(column->PickList());
            Q_ASSERT(list);
            list->BeginUpdate();
            lists << list;
            if (!column->PickOptions().testFlag(poAppendToList))
                list->Clear();
            list->SetSorted(true);
        }
        if (linked && !dataSet->IsEmpty())
            AddFieldTexts(*this, columns, lists);
    }
    ListItemsUpdated();
}

void TKelCustomDBGrid::ListItemsUpdated()
{
    if (OnListItemsUpdated)
        OnListItemsUpdated(this);
}

}  // namespace kelgrid
