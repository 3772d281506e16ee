#pragma once
// The component model shared by non-visual components (QObject-based
// TComponent, component.h) and controls (QWidget-based, toolkit/ui/control.h).
//
// Design
// ------
// A component is a QObject that also inherits TComponentCore, a plain C++
// class (moc cannot handle templates or a second QObject base, so the core
// is not a QObject). The core holds:
//   - the component state flags (csLoading, csDestroying...) and Tag;
//   - the owner: an explicit core pointer, independent of the Qt parent. A
//     non-visual component may own a widget, a form owns the controls of its
//     design wherever they sit, and re-parenting a widget keeps its owner;
//   - the owned components, in insertion order;
//   - the free-notification links: observers told "this one is going"
//     (other cores through Notification, or any QObject through a callback),
//     and the cores this one observes, so that an observer that goes first
//     unlinks itself.
// CoreOf(QObject*) reaches the core of any QObject that has one (a
// dynamic_cast), so FindComponent, streaming, translation and free
// notification work alike for components and controls.
//
// Who owns whom: an owner frees its owned components when it is destroyed;
// an owned component that is freed first leaves its owner's list. A QObject
// component is usually also the Qt child of its owner (TComponent's
// constructor makes it so), a control the Qt child of its parent widget;
// either deletion path runs the same core destructor.
//
// Order of destruction (most derived first):
//   1. Destroying(): the most derived class that must still be seen whole
//      calls it first in its destructor; otherwise the core destructor does,
//      which still runs before the QObject/QWidget part is torn down (the
//      core is the second base). It flags csDestroying on this component and
//      everything it owns, then sends Notification(this, opRemove) to every
//      free-notification observer and to the owner (or runs the observer's
//      callback). Runs once.
//   2. The owned components are freed, last inserted first (each is
//      notified and leaves the list): by TComponent's and TControl's
//      destructors, while their members still live, else by the core's.
//      The core destructor unlinks this component from the components it
//      observes and leaves its owner's list.
//   3. The QObject/QWidget destructor deletes remaining Qt children.

#include <QFlags>
#include <QList>
#include <QPointer>
#include <QString>
#include <functional>

class QObject;

namespace tk {

enum class TOperation { opInsert, opRemove };

enum class TComponentStateFlag {
    csLoading = 0x01,
    csReading = 0x02,
    csWriting = 0x04,
    csDestroying = 0x08,
    csDesigning = 0x10,
};
Q_DECLARE_FLAGS(TComponentState, TComponentStateFlag)

class TComponentCore {
public:
    // self is the QObject this core belongs to (the object under
    // construction); owner may be null.
    TComponentCore(QObject* self, TComponentCore* owner);
    virtual ~TComponentCore();
    TComponentCore(const TComponentCore&) = delete;
    TComponentCore& operator=(const TComponentCore&) = delete;

    // The QObject of this component; never null.
    QObject* ComponentObject() const { return self_; }
    // objectName of the QObject.
    QString Name() const;
    void SetName(const QString& name);
    // The class name without namespace ("TButton").
    QString ComponentClassName() const;

    qint64 Tag() const { return tag_; }
    void SetTag(qint64 tag) { tag_ = tag; }

    TComponentState ComponentState() const { return state_; }
    bool HasState(TComponentStateFlag flag) const { return state_.testFlag(flag); }
    void SetState(TComponentStateFlag flag, bool on = true) { state_.setFlag(flag, on); }

    // Streaming calls this after all properties were read: clears csLoading.
    virtual void Loaded();

    // --- Ownership ------------------------------------------------------------
    TComponentCore* Owner() const { return owner_; }
    // Makes this core own component, taking it from its previous owner; the
    // Qt parent is not touched. Both owners get Notification (opRemove from
    // the old, opInsert on the new). Null or this: nothing.
    void InsertComponent(TComponentCore* component);
    // Gives up ownership of component (not freed); nothing if not owned.
    void RemoveComponent(TComponentCore* component);
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // Owned component by position, 0 <= index < ComponentCount().
    TComponentCore* Components(int index) const;
    // The owned component called name (any case, direct ownership only);
    // nullptr for an empty name or none.
    TComponentCore* FindComponent(const QString& name) const;
    // Frees every owned component, last first.
    void DestroyComponents();

    // --- Free notification ----------------------------------------------------
    // Asks for Notification(this, opRemove) on observer when this component
    // is freed; the link is dropped when either goes first. Repeated calls
    // keep one link. Null or this, or a component that has already told its
    // observers it is going: nothing.
    void FreeNotification(TComponentCore* observer);
    // As above for any QObject: onFree runs with this component while it is
    // still whole. A destroyed observer is skipped.
    void FreeNotification(QObject* observer, std::function<void(TComponentCore*)> onFree);
    // Drops the links of observer (a component or a callback's owner).
    void RemoveFreeNotification(QObject* observer);

    // Sends the free notifications now and flags csDestroying (see above).
    void Destroying();

protected:
    // Told about components this one observes or owns. The base does nothing.
    virtual void Notification(TComponentCore* component, TOperation operation);

private:
    struct Observer {
        QPointer<QObject> object;
        TComponentCore* core = nullptr;  // set for a core observer
        std::function<void(TComponentCore*)> onFree;
    };
    void MarkDestroying();

    QObject* self_;
    TComponentCore* owner_ = nullptr;
    QList<TComponentCore*> components_;
    QList<Observer> observers_;
    QList<TComponentCore*> observing_;
    TComponentState state_;
    qint64 tag_ = 0;
    bool notified_ = false;
};

// The core of object, or nullptr when it is not a component.
TComponentCore* CoreOf(const QObject* object);

}  // namespace tk

Q_DECLARE_OPERATORS_FOR_FLAGS(tk::TComponentState)
