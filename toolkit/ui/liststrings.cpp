#include "toolkit/ui/liststrings.h"

#include "toolkit/ui/listbox.h"

#include <algorithm>
#include <numeric>

namespace tk {

TListWidgetStrings::TListWidgetStrings(TListBox* list) : TStrings(list), list_(list) {}

void TListWidgetStrings::CheckIndex(int index) const
{
    if (index < 0 || index >= list_->count())
        RaiseIndexError(index);
}

QListWidgetItem* TListWidgetStrings::Item(int index) const
{
    CheckIndex(index);
    return list_->item(index);
}

QString TListWidgetStrings::Get(int index) const
{
    return Item(index)->text();
}

int TListWidgetStrings::GetCount() const
{
    return list_->count();
}

void TListWidgetStrings::Insert(int index, const QString& s)
{
    if (index < 0 || index > list_->count())
        RaiseIndexError(index);
    const auto byCode = list_->CodeChange();
    list_->insertItem(index, new QListWidgetItem(s));
}

int TListWidgetStrings::AddObject(const QString& s, const QVariant& object)
{
    if (!list_->Sorted())
        return TStrings::AddObject(s, object);
    // After the last line that does not sort after s, so equal lines keep
    // the order they were added in.
    int index = GetCount();
    while (index > 0 && CompareStrings(Get(index - 1), s) > 0)
        --index;
    InsertObject(index, s, object);
    return index;
}

void TListWidgetStrings::Delete(int index)
{
    CheckIndex(index);
    const auto byCode = list_->CodeChange();
    delete list_->takeItem(index);
}

void TListWidgetStrings::Clear()
{
    const auto byCode = list_->CodeChange();
    list_->clear();
}

void TListWidgetStrings::Put(int index, const QString& s)
{
    Item(index)->setText(s);
}

QVariant TListWidgetStrings::GetObject(int index) const
{
    return Item(index)->data(kItemObjectRole);
}

void TListWidgetStrings::PutObject(int index, const QVariant& object)
{
    Item(index)->setData(kItemObjectRole, object);
}

void TListWidgetStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    const auto byCode = list_->CodeChange();
    QListWidgetItem* moved = list_->item(curIndex);
    const bool wasCurrent = list_->currentItem() == moved;
    const bool wasSelected = moved->isSelected();
    // Taking the item out keeps every role it carries; Qt forgets only its
    // place in the selection and as the current item.
    list_->takeItem(curIndex);
    list_->insertItem(newIndex, moved);
    if (wasCurrent)
        list_->setCurrentItem(moved, QItemSelectionModel::NoUpdate);
    moved->setSelected(wasSelected);
}

void TListWidgetStrings::Exchange(int index1, int index2)
{
    if (index1 == index2)
        return;
    CheckIndex(index1);
    CheckIndex(index2);
    const int low = std::min(index1, index2);
    const int high = std::max(index1, index2);
    Batch([&] {
        Move(high, low);      // the high item now at low, the low one at low + 1
        Move(low + 1, high);  // the low item at high
    });
}

void TListWidgetStrings::SetUpdateState(bool updating)
{
    list_->viewport()->setUpdatesEnabled(!updating);
}

void TListWidgetStrings::Sort()
{
    const int count = GetCount();
    if (count < 2)
        return;
    const auto byCode = list_->CodeChange();
    QListWidgetItem* current = list_->currentItem();
    QList<QListWidgetItem*> items;
    QList<bool> selected;
    for (int i = 0; i < count; ++i) {
        items.append(list_->item(i));
        selected.append(items.last()->isSelected());
    }
    QList<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return CompareStrings(items[a]->text(), items[b]->text()) < 0; });
    while (list_->count() > 0)
        list_->takeItem(0);
    for (int i = 0; i < count; ++i)
        list_->insertItem(i, items[order[i]]);
    if (current)
        list_->setCurrentItem(current, QItemSelectionModel::NoUpdate);
    for (int i = 0; i < count; ++i)
        items[i]->setSelected(selected[i]);
}

}  // namespace tk
