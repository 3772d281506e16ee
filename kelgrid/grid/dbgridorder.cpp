// TKelCustomDBGrid: the sort order the title markers show, the order
// bracket, and reordering the dataset through the change-order registry.
//
// A reorder never leaves the dataset half-changed: the property is set (or
// the SQL rewritten between closing and reopening); when that raises, the
// old value is put back, the dataset reopened when it had been open and the
// markers set to the order in effect, with a beep. Order texts that reach
// the dataset hold only the field names of the grid's columns.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/orderfields.h"
#include "kelgrid/grid/orderregistry.h"
#include "toolkit/core/beep.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/textutils.h"
#include "toolkit/core/updatelock.h"
#include "toolkit/core/variant.h"
#include "toolkit/data/dataset.h"

#include <QScopedValueRollback>

namespace kelgrid {

namespace {

constexpr int kMaxOrderColumns = 9;

QString PropertyOr(const QString& propName, const char* fallback)
{
    return propName.isEmpty() ? QString::fromLatin1(fallback) : propName;
}

// The string list a (dotted) property holds, else nullptr.
tk::TStrings* StringsProperty(tk::TDataSet* dataSet, const QString& path)
{
    try {
        const tk::TPropertyTarget target = tk::ResolvePropertyPath(dataSet, path);
        if (!target.object)
            return nullptr;
        return qobject_cast<tk::TStrings*>(tk::GetObjectProp(target.object, target.property));
    } catch (const tk::EPropertyError&) {
        return nullptr;
    }
}

QStringList TextLines(const QString& text)
{
    tk::TStringList lines;
    lines.SetText(text);
    return lines.ToStringList();
}

}  // namespace

// --- The order text -------------------------------------------------------------------

QString TKelCustomDBGrid::OrderFields() const
{
    if (d_->columns->State() == csDefault && !LinkActiveNow())
        return d_->lastOrderFields;
    QList<TOrderItem> items;
    for (TKelColumn* column : d_->columns->OrderList())
        items.append({column->FieldName(), column->Title()->Marker() == tmDescend});
    return FormatOrderFields(items);
}

void TKelCustomDBGrid::SetOrderFields(const QString& orderFields)
{
    TOrderUpdateLock bracket(*this);
    if (d_->columns->State() == csDefault && !LinkActiveNow()) {
        d_->lastOrderFields = tk::Trim(orderFields);
        return;
    }
    const TKelDBGridOptions options = d_->options;
    const bool autoSwitch = options.testFlag(dgMarkerAutoSwitch);
    // While loading, the titles' stored markers carry the order; the text
    // only puts the order list in its sequence.
    const bool keepMarkers =
        HasState(tk::TComponentStateFlag::csLoading) && !autoSwitch && !options.testFlag(dgMarkerAutoToggle);
    if (!keepMarkers)
        d_->columns->RemoveMarkers();
    int position = 0;
    for (const TOrderItem& item : ParseOrderFields(orderFields)) {
        TKelColumn* column = FindColumn(item.name);
        if (column && keepMarkers) {
            QList<TKelColumn*>& order = d_->columns->order_;
            const int at = int(order.indexOf(column));
            if (at > position && position < order.size())
                order.swapItemsAt(at, position);
        } else if (column && !column->FieldName().isEmpty()) {
            const QList<TKelColumn*>& order = d_->columns->OrderList();
            if (!order.contains(column) && order.size() < kMaxOrderColumns)
                column->Title()->SetMarkerIndex(int(order.size()) * 2 + 2 + (item.descending ? 1 : 0));
        }
        ++position;
        if (autoSwitch)
            break;
    }
    d_->lastOrderFields = OrderFields();
}

void TKelCustomDBGrid::BeginOrderUpdate()
{
    // Marker changes repaint their columns themselves; the bracket only
    // decides whether the order changed.
    if (d_->orderUpdateLock++ == 0)
        d_->lockOrderFields = OrderFields();
}

void TKelCustomDBGrid::EndOrderUpdate()
{
    if (d_->orderUpdateLock == 0 || --d_->orderUpdateLock > 0)
        return;
    const QString now = OrderFields();
    if (now == d_->lockOrderFields)
        return;
    d_->lastOrderFields = now;
    if (HasState(tk::TComponentStateFlag::csLoading))
        return;
    tk::TDataSet* dataSet = DataSet();
    if (dataSet && dataSet->Active())
        dataSet->CheckBrowseMode();
    Invalidate();
    OrderChanged();
}

int TKelCustomDBGrid::OrderUpdateLock() const
{
    return d_->orderUpdateLock;
}

void TKelCustomDBGrid::SetupOrderFields(const QString& orderFields)
{
    tk::TCounterLock lock(d_->orderUpdateLock);
    SetOrderFields(orderFields);
}

void TKelCustomDBGrid::SetupCurrentOrder()
{
    SetupOrderFields(CurrentDataSetOrder());
}

QString TKelCustomDBGrid::KeyFields() const
{
    return d_->keyFields;
}

void TKelCustomDBGrid::SetKeyFields(const QString& keyFields)
{
    d_->keyFields = keyFields;
}

void TKelCustomDBGrid::OrderChanged()
{
    if (d_->optionsEx.testFlag(dgAutoUpdateOrder)) {
        // A closed dataset is ordered when it opens (ApplyOrderOnActivation).
        if (!LinkActiveNow() || ChangeDataSetOrder())
            return;
    }
    if (OnOrderChanged)
        OnOrderChanged(this);
}

void TKelCustomDBGrid::OrderUpdated()
{
    Invalidate();
    if (OnOrderUpdated)
        OnOrderUpdated(this);
}

void TKelCustomDBGrid::UpdateOrder(bool checkAutoUpdate)
{
    if (HasState(tk::TComponentStateFlag::csLoading))
        return;
    if (checkAutoUpdate) {
        if (d_->optionsEx.testFlag(dgLoadCurrentOrder))
            SetupCurrentOrder();
        else if (!d_->optionsEx.testFlag(dgAutoUpdateOrder))
            return;
    }
    ChangeDataSetOrder(OrderFields());
}

void TKelCustomDBGrid::ApplyOrderOnActivation()
{
    if (d_->reordering || HasState(tk::TComponentStateFlag::csLoading))
        return;
    if (d_->optionsEx.testFlag(dgLoadCurrentOrder)) {
        SetupCurrentOrder();
        return;
    }
    // Without an order of its own the grid leaves the dataset's order alone.
    const QString last = CheckedOrderFields(d_->lastOrderFields);
    if (last.isEmpty())
        return;
    if (d_->columns->State() == csDefault)
        SetupOrderFields(last);
    if (d_->optionsEx.testFlag(dgAutoUpdateOrder))
        ChangeDataSetOrder(last);
}

QString TKelCustomDBGrid::CheckedOrderFields(const QString& orderFields)
{
    QList<TOrderItem> kept;
    bool dropped = false;
    for (TOrderItem item : ParseOrderFields(orderFields)) {
        TKelColumn* column = FindColumn(item.name);
        if (!column || column->FieldName().isEmpty()) {
            dropped = true;
            continue;
        }
        item.name = column->FieldName();
        kept.append(item);
    }
    if (dropped)
        tk::Beep();
    return FormatOrderFields(kept);
}

// --- Reordering the dataset ------------------------------------------------------------

bool TKelCustomDBGrid::ChangeDataSetOrder(const QString& orderFields)
{
    tk::TDataSet* dataSet = DataSource() ? DataSource()->DataSet() : nullptr;
    if (!dataSet)
        return false;
    const std::optional<TChangeOrderItem> entry = ChangeOrderList().Find(dataSet, true);
    if (!entry)
        return false;
    if (d_->optionsEx.testFlag(dgAutoAscendOrder) &&
        d_->options.testFlag(dgMarkerAscendOnly) != entry->AscendOnly)
        SetOptions(entry->AscendOnly ? d_->options | dgMarkerAscendOnly
                                     : d_->options & ~TKelDBGridOptions(dgMarkerAscendOnly));
    QString order = CheckedOrderFields(orderFields.isEmpty() ? OrderFields() : orderFields);
    if (d_->options.testFlag(dgMarkerAscendOnly)) {
        QList<TOrderItem> items = ParseOrderFields(order);
        for (TOrderItem& item : items)
            item.descending = false;
        order = FormatOrderFields(items);
    }
    switch (entry->ChangeOrder) {
    case coChangeIndexFields:
        ChangeIndexFields(order, entry->PropName, entry->Suffix);
        break;
    case coChangeOrderFields:
        ChangeOrderFields(order, entry->PropName);
        break;
    case coChangeSQLOrderFields:
        ChangeSQLOrderFields(order, entry->PropName);
        break;
    case coCustomChangeOrder:
        entry->CustomChangeOrder(this, order);
        break;
    }
    return true;
}

QString TKelCustomDBGrid::CurrentDataSetOrder()
{
    tk::TDataSet* dataSet = DataSource() ? DataSource()->DataSet() : nullptr;
    const std::optional<TChangeOrderItem> entry = ChangeOrderList().Find(dataSet, false);
    if (!entry)
        return QString();
    switch (entry->ChangeOrder) {
    case coChangeIndexFields:
        return CurrentIndexFields(entry->PropName, entry->Suffix);
    case coChangeOrderFields:
        return CurrentOrderFields(entry->PropName);
    case coChangeSQLOrderFields:
        return CurrentSQLOrderFields(entry->PropName);
    case coCustomChangeOrder:
        return entry->CustomCurrentOrder(this);
    }
    return QString();
}

void TKelCustomDBGrid::Reorder(const std::function<void()>& apply, const std::function<void()>& restore,
                               const QString& appliedOrder, const QString& restoredOrder, bool closeFirst)
{
    tk::TDataSet* dataSet = DataSource()->DataSet();
    QScopedValueRollback reordering(d_->reordering, true);
    const bool wasActive = dataSet->Active();
    tk::Variant keys;
    if (wasActive && !d_->keyFields.isEmpty()) {
        try {
            keys = dataSet->FieldValues(d_->keyFields);
        } catch (const tk::Exception&) {
            keys = tk::Variant();
        }
    }
    bool failed = false;
    {
        tk::TUpdateLock update(*this);
        try {
            if (closeFirst)
                dataSet->Close();
            apply();
            if (wasActive && !dataSet->Active())
                dataSet->Open();
        } catch (const tk::Exception&) {
            failed = true;
        }
        if (failed) {
            try {
                restore();
                if (wasActive && !dataSet->Active())
                    dataSet->Open();
            } catch (const tk::Exception&) {
                // The previous state cannot be brought back either; the
                // dataset stays closed.
            }
        }
    }
    // Default columns are made again after a reopen: mark the order in effect.
    LayoutChanged();
    const QString inEffect = failed ? restoredOrder : appliedOrder;
    if (OrderFields() != inEffect)
        SetupOrderFields(inEffect);
    if (failed)
        tk::Beep();
    if (!keys.IsUnassigned() && dataSet->Active()) {
        try {
            dataSet->Locate(d_->keyFields, keys);
        } catch (const tk::Exception&) {
            // A key field the dataset lacks: the record is not found again.
        }
    }
    d_->selectedRows->Clear();
    OrderUpdated();
}

void TKelCustomDBGrid::ChangeIndexFields(const QString& orderFields, const QString& propName,
                                         const QString& suffix)
{
    tk::TDataSet* dataSet = DataSource()->DataSet();
    const QString property = PropertyOr(propName, "IndexFieldNames");
    QString current;
    try {
        current = tk::GetPropertyPath(dataSet, property);
    } catch (const tk::EPropertyError&) {
        return;
    }
    if (CompareOrderFields(IndexFieldsToOrderFields(current, suffix), orderFields))
        return;
    const QString wanted = OrderFieldsToIndexFields(orderFields, suffix);
    Reorder([&] { tk::SetPropertyPath(dataSet, property, wanted); },
            [&] { tk::SetPropertyPath(dataSet, property, current); }, orderFields,
            IndexFieldsToOrderFields(current, suffix), false);
}

void TKelCustomDBGrid::ChangeOrderFields(const QString& orderFields, const QString& propName)
{
    tk::TDataSet* dataSet = DataSource()->DataSet();
    const QString property = PropertyOr(propName, "CommandText");
    QString current;
    try {
        current = tk::GetPropertyPath(dataSet, property);
    } catch (const tk::EPropertyError&) {
        return;
    }
    const QStringList lines = TextLines(current);
    const QString currentOrder = ExtractOrderFields(lines);
    if (CompareOrderFields(currentOrder, orderFields))
        return;
    const QString lineBreak =
        current.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    const QString wanted = ModifyOrderFields(lines, orderFields).join(lineBreak);
    Reorder([&] { tk::SetPropertyPath(dataSet, property, wanted); },
            [&] { tk::SetPropertyPath(dataSet, property, current); }, orderFields, currentOrder, true);
}

void TKelCustomDBGrid::ChangeSQLOrderFields(const QString& orderFields, const QString& propName)
{
    tk::TDataSet* dataSet = DataSource()->DataSet();
    tk::TStrings* sql = StringsProperty(dataSet, PropertyOr(propName, "SQL"));
    if (!sql)
        return;
    const QString currentOrder = ExtractOrderFields(sql);
    if (CompareOrderFields(currentOrder, orderFields))
        return;
    const QStringList saved = sql->ToStringList();
    Reorder([&] { ModifyOrderFields(sql, orderFields); }, [&] { sql->SetStrings(saved); }, orderFields,
            currentOrder, true);
}

QString TKelCustomDBGrid::CurrentIndexFields(const QString& propName, const QString& suffix)
{
    try {
        return IndexFieldsToOrderFields(
            tk::GetPropertyPath(DataSource()->DataSet(), PropertyOr(propName, "IndexFieldNames")), suffix);
    } catch (const tk::EPropertyError&) {
        return QString();
    }
}

QString TKelCustomDBGrid::CurrentOrderFields(const QString& propName)
{
    try {
        return ExtractOrderFields(
            TextLines(tk::GetPropertyPath(DataSource()->DataSet(), PropertyOr(propName, "CommandText"))));
    } catch (const tk::EPropertyError&) {
        return QString();
    }
}

QString TKelCustomDBGrid::CurrentSQLOrderFields(const QString& propName)
{
    return ExtractOrderFields(StringsProperty(DataSource()->DataSet(), PropertyOr(propName, "SQL")));
}

}  // namespace kelgrid
