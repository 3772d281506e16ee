#include "toolkit/core/collection.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"
#include "toolkit/core/updatelock.h"

#include <QByteArray>
#include <QMetaMethod>

namespace tk {

namespace {

// Index of the item class's invokable constructor taking the collection, -1
// when it has none. Matched by parameter type name so that it does not
// matter whether the class wrote "TCollection*" or "tk::TCollection*".
int CollectionConstructorIndex(const QMetaObject* itemClass)
{
    for (int i = 0; i < itemClass->constructorCount(); ++i) {
        const QMetaMethod constructor = itemClass->constructor(i);
        if (constructor.parameterCount() != 1)
            continue;
        const QByteArray type = constructor.parameterTypeName(0);
        if (type == "TCollection*" || type == "tk::TCollection*")
            return i;
    }
    return -1;
}

}  // namespace

// --- TCollectionItem -------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) : TPersistent(nullptr)
{
    if (collection)
        collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem()
{
    // Subclass parts are gone by now, so the collection is not asked to
    // Notify about this item; it only learns that its content changed.
    if (collection_)
        collection_->RemoveItem(this, false);
}

void TCollectionItem::SetCollection(TCollection* collection)
{
    if (collection == collection_)
        return;
    if (collection_)
        collection_->RemoveItem(this, true);
    if (collection) {
        collection->InsertItem(this);
        collection->Notify(this, TCollection::cnAdded);
        collection->ItemChanged(nullptr);
    }
}

int TCollectionItem::Index() const
{
    return collection_ ? static_cast<int>(collection_->items_.indexOf(this)) : -1;
}

void TCollectionItem::SetIndex(int index)
{
    const int current = Index();
    if (current < 0 || current == index)
        return;
    if (index < 0 || index >= collection_->Count())
        RaiseListIndexError(index);
    collection_->items_.move(current, index);
    Changed(true);
}

QString TCollectionItem::DisplayName() const
{
    return ClassName();
}

void TCollectionItem::Assign(const TPersistent* source)
{
    if (source && source->metaObject()->inherits(metaObject())) {
        AssignPublishedProperties(this, source);
        return;
    }
    TPersistent::Assign(source);
}

void TCollectionItem::Changed(bool allItems)
{
    if (collection_)
        collection_->ItemChanged(allItems ? nullptr : this);
}

// --- TCollection -----------------------------------------------------------

TCollection::TCollection(const QMetaObject* itemClass, QObject* owner)
    : TPersistent(owner), itemClass_(itemClass)
{
    if (!itemClass || !itemClass->inherits(&TCollectionItem::staticMetaObject)) {
        throw EInvalidOperation(
            QStringLiteral("%1 is not a collection item class")
                .arg(itemClass ? QLatin1String(itemClass->className()) : QLatin1String("(none)")));
    }
}

TCollection::~TCollection()
{
    const QList<TCollectionItem*> items = std::exchange(items_, {});
    for (TCollectionItem* item : items) {
        item->collection_ = nullptr;
        delete item;
    }
}

TCollectionItem* TCollection::CreateItem()
{
    const int constructor = CollectionConstructorIndex(itemClass_);
    if (constructor < 0) {
        throw EInvalidOperation(QStringLiteral("%1 has no invokable constructor taking a collection")
                                    .arg(QLatin1String(itemClass_->className())));
    }
    QObject* created = nullptr;
    TCollection* self = this;
    void* arguments[] = {&created, &self};
    itemClass_->static_metacall(QMetaObject::CreateInstance, constructor, arguments);
    return qobject_cast<TCollectionItem*>(created);
}

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = CreateItem();
    if (!item) {
        throw EInvalidOperation(
            QStringLiteral("Cannot create an item of %1").arg(QLatin1String(itemClass_->className())));
    }
    // A substituted item may have been made without this collection.
    if (item->collection_ != this) {
        if (item->collection_)
            item->collection_->RemoveItem(item, true);
        InsertItem(item);
    }
    Notify(item, cnAdded);
    ItemChanged(nullptr);
    return item;
}

TCollectionItem* TCollection::Insert(int index)
{
    if (index < 0 || index > Count())
        RaiseListIndexError(index);
    TUpdateLock lock(*this);
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    TCollectionItem* item = Items(index);
    Notify(item, cnDeleting);
    // The item may have moved while being notified; remove it where it is.
    items_.removeOne(item);
    item->collection_ = nullptr;
    delete item;
    ItemChanged(nullptr);
}

void TCollection::Clear()
{
    if (items_.isEmpty())
        return;
    TUpdateLock lock(*this);
    while (!items_.isEmpty())
        Delete(Count() - 1);
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= items_.size())
        RaiseListIndexError(index);
    return items_[index];
}

void TCollection::SetItems(int index, const TCollectionItem* value)
{
    Items(index)->Assign(value);
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (TCollectionItem* item : items_) {
        if (item->id_ == id)
            return item;
    }
    return nullptr;
}

void TCollection::BeginUpdate()
{
    ++updateCount_;
}

void TCollection::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0)
        Update(nullptr);
}

void TCollection::Changed()
{
    ItemChanged(nullptr);
}

void TCollection::Assign(const TPersistent* source)
{
    const auto* collection = qobject_cast<const TCollection*>(source);
    if (!collection) {
        TPersistent::Assign(source);
        return;
    }
    if (collection == this)
        return;
    TUpdateLock lock(*this);
    Clear();
    for (TCollectionItem* sourceItem : collection->items_)
        Add()->Assign(sourceItem);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::InsertItem(TCollectionItem* item)
{
    items_.append(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    item->setParent(this);
}

void TCollection::RemoveItem(TCollectionItem* item, bool notify)
{
    if (notify)
        Notify(item, cnExtracting);
    items_.removeOne(item);
    item->collection_ = nullptr;
    item->setParent(nullptr);
    ItemChanged(nullptr);
}

void TCollection::ItemChanged(TCollectionItem* item)
{
    // Inside a batch the outermost EndUpdate reports everything at once.
    if (updateCount_ == 0)
        Update(item);
}

}  // namespace tk
