// The process-wide change-order list and the registration functions.

#include "kelgrid/grid/orderregistry.h"

#include "kelgrid/grid/orderbuiltins.h"
#include "toolkit/data/dataset.h"

#include <memory>

namespace kelgrid {

namespace {

// Made on first use; UnRegisterChangeOrder must not make it.
std::unique_ptr<TChangeOrderList>& TheList()
{
    static std::unique_ptr<TChangeOrderList> list;
    return list;
}

}  // namespace

QString DataSetClassName(const tk::TDataSet* dataSet)
{
    if (!dataSet)
        return QString();
    const QString qualified = QString::fromLatin1(dataSet->metaObject()->className());
    const int colons = int(qualified.lastIndexOf(QLatin1String("::")));
    return colons < 0 ? qualified : qualified.mid(colons + 2);
}

bool TChangeOrderItem::Matches(tk::TDataSet* dataSet, bool forChange) const
{
    if (!dataSet)
        return false;
    if (DSClassName != DataSetClassName(dataSet) &&
        DSClassName != QString::fromLatin1(dataSet->metaObject()->className()))
        return false;
    if (ChangeOrder == coCustomChangeOrder &&
        !(forChange ? bool(CustomChangeOrder) : bool(CustomCurrentOrder)))
        return false;
    return !IsValid || IsValid(dataSet, ChangeOrder);
}

TChangeOrderList::TChangeOrderList() : items_(BuiltInChangeOrders()) {}

const TChangeOrderItem& TChangeOrderList::Items(int index) const
{
    Q_ASSERT(index >= 0 && index < items_.size());
    return items_[index];
}

void TChangeOrderList::Add(const TChangeOrderItem& item)
{
    items_.append(item);
}

void TChangeOrderList::Remove(const QString& className, TChangeOrder changeOrder)
{
    items_.removeIf([&](const TChangeOrderItem& item) {
        return item.DSClassName == className && item.ChangeOrder == changeOrder;
    });
}

std::optional<TChangeOrderItem> TChangeOrderList::Find(tk::TDataSet* dataSet, bool forChange) const
{
    // A validator may register or unregister entries; walk a copy.
    const QList<TChangeOrderItem> items = items_;
    for (auto it = items.crbegin(); it != items.crend(); ++it)
        if (it->Matches(dataSet, forChange))
            return *it;
    return std::nullopt;
}

TChangeOrderList& ChangeOrderList()
{
    std::unique_ptr<TChangeOrderList>& list = TheList();
    if (!list)
        list = std::make_unique<TChangeOrderList>();
    return *list;
}

void RegisterChangeOrder(const QString& className, TChangeOrder changeOrder, bool ascendOnly,
                         TValidChangeOrder isValid, const QString& propName, const QString& suffix)
{
    if (changeOrder == coCustomChangeOrder)
        return;
    TChangeOrderItem item;
    item.DSClassName = className;
    item.ChangeOrder = changeOrder;
    item.AscendOnly = ascendOnly;
    item.IsValid = std::move(isValid);
    item.PropName = propName;
    item.Suffix = suffix;
    ChangeOrderList().Add(item);
}

void RegisterCustomChangeOrder(const QString& className, TCustomChangeOrder customChangeOrder,
                               TCustomCurrentOrder customCurrentOrder, bool ascendOnly,
                               TValidChangeOrder isValid)
{
    TChangeOrderItem item;
    item.DSClassName = className;
    item.ChangeOrder = coCustomChangeOrder;
    item.AscendOnly = ascendOnly;
    item.IsValid = std::move(isValid);
    item.CustomChangeOrder = std::move(customChangeOrder);
    item.CustomCurrentOrder = std::move(customCurrentOrder);
    ChangeOrderList().Add(item);
}

void UnRegisterChangeOrder(const QString& className, TChangeOrder changeOrder)
{
    if (TheList())
        TheList()->Remove(className, changeOrder);
}

}  // namespace kelgrid
