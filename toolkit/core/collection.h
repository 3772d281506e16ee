#pragma once
// Collections: an ordered list of items of one item class that a component
// publishes as a property (a list view's Columns, a status bar's Panels).
// Items carry published properties of their own and an ID that stays with
// the item for its life, so that translations and streamed links can name an
// item independently of its position.
//
// An item class declares an invokable constructor taking the collection,
// which is how the collection creates items of that class:
//
//     class TListColumn : public tk::TCollectionItem {
//         Q_OBJECT
//         Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
//     public:
//         Q_INVOKABLE explicit TListColumn(tk::TCollection* collection);
//         ...
//     };
//     tk::TCollection columns(&TListColumn::staticMetaObject, listView);

#include "toolkit/core/component.h"

#include <QList>
#include <QMetaObject>
#include <QString>

namespace tk {

class TCollection;

class TCollectionItem : public TPersistent {
    Q_OBJECT
public:
    // Appends the item to collection (when given): it becomes the
    // collection's QObject child and takes the collection's next ID. This
    // registration is silent; TCollection::Add and Insert send the cnAdded
    // notification and the change once the item is fully constructed.
    Q_INVOKABLE explicit TCollectionItem(TCollection* collection);
    // A deleted item leaves its collection, which reports a full change.
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    // Moves the item to another collection (nullptr: to none; the caller
    // then owns it). The item takes a new ID from the new collection.
    void SetCollection(TCollection* collection);

    // Unique within the collection and never reused.
    int ID() const { return id_; }
    // Position in the collection, -1 without one.
    int Index() const;
    // Moves the item to position index and reports a full change. Raises
    // EListError when index is out of bounds. Virtual so that an item class
    // can move more than itself (a column with its nested columns); the
    // collection's Insert positions new items through it.
    virtual void SetIndex(int index);

    // The text a designer or editor shows for the item: the class name
    // unless a subclass knows better.
    virtual QString DisplayName() const;

    // From an item of the same class (or a subclass): copies the published
    // writable stored properties; sub-objects copy themselves with Assign.
    void Assign(const TPersistent* source) override;

protected:
    // Tells the collection that this item (allItems false) or the whole
    // collection (allItems true) changed. Inside a collection's
    // BeginUpdate/EndUpdate the change is reported once, as a full update,
    // at the outermost EndUpdate.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

class TCollection : public TPersistent {
    Q_OBJECT
public:
    // What Notify tells about an item.
    enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };
    Q_ENUM(TCollectionNotification)

    // itemClass must descend from TCollectionItem. owner is the QObject
    // parent: the component that publishes the collection.
    explicit TCollection(const QMetaObject* itemClass, QObject* owner = nullptr);
    // Frees the items without notifications.
    ~TCollection() override;

    const QMetaObject* ItemClass() const { return itemClass_; }
    QObject* Owner() const { return parent(); }

    // Creates an item of the item class at the end.
    TCollectionItem* Add();
    // Creates an item at position index (0 <= index <= Count).
    TCollectionItem* Insert(int index);
    // Notifies cnDeleting, removes the item and frees it.
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError "List index out of bounds (index)".
    TCollectionItem* Items(int index) const;
    // Writing an item assigns into the existing one (the item stays, with
    // its ID and position): Items(index)->Assign(value). Raises as Items and
    // as the item's Assign.
    void SetItems(int index, const TCollectionItem* value);
    // The item with that ID, or nullptr.
    TCollectionItem* FindItemID(int id) const;
    // The ID the next added item gets.
    int NextID() const { return nextId_; }

    // Batches changes: while the count is above zero no Update runs; the
    // outermost EndUpdate always calls Update(nullptr), also when nothing was
    // reported inside the batch (owners use the bracket to force a full
    // refresh). An EndUpdate without a BeginUpdate does nothing.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Reports that the whole collection changed (deferred inside a batch).
    void Changed();

    // From another collection: under BeginUpdate, clears this one and adds
    // one item per source item, each assigned from its source item.
    void Assign(const TPersistent* source) override;

protected:
    // Called when item changed, or everything when item is nullptr.
    // Subclasses update their control here; the base does nothing.
    virtual void Update(TCollectionItem* item);
    // Called when an item was added, is about to be deleted, or leaves for
    // another collection. The base does nothing.
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);
    // Constructs a new item of the item class for this collection (through
    // its invokable constructor). Subclasses may substitute another item.
    virtual TCollectionItem* CreateItem();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    // Takes item out (telling Notify cnExtracting when notify) and reports
    // the change.
    void RemoveItem(TCollectionItem* item, bool notify);
    // A change of item (nullptr: everything), reported now or at EndUpdate.
    void ItemChanged(TCollectionItem* item);

    const QMetaObject* itemClass_;
    QList<TCollectionItem*> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
};

}  // namespace tk
