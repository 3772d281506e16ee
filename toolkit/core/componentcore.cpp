#include "toolkit/core/componentcore.h"

#include "toolkit/core/component.h"

#include <QObject>
#include <utility>

namespace tk {

TComponentCore::TComponentCore(QObject* self, TComponentCore* owner) : self_(self)
{
    Q_ASSERT(self);
    if (owner)
        owner->InsertComponent(this);
}

TComponentCore::~TComponentCore()
{
    Destroying();
    DestroyComponents();
    for (TComponentCore* observed : std::exchange(observing_, {}))
        observed->observers_.removeIf([this](const Observer& o) { return o.core == this; });
    // Observers linked after the notifications went out must not keep a
    // link to this core either.
    for (const Observer& o : std::exchange(observers_, {}))
        if (o.core)
            o.core->observing_.removeOne(this);
    if (owner_)
        owner_->RemoveComponent(this);
}

QString TComponentCore::Name() const
{
    return self_->objectName();
}

void TComponentCore::SetName(const QString& name)
{
    self_->setObjectName(name);
}

QString TComponentCore::ComponentClassName() const
{
    return ClassNameOf(self_);
}

void TComponentCore::Loaded()
{
    state_.setFlag(TComponentStateFlag::csLoading, false);
}

void TComponentCore::InsertComponent(TComponentCore* component)
{
    if (!component || component == this || component->owner_ == this)
        return;
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    component->owner_ = this;
    components_.append(component);
    Notification(component, TOperation::opInsert);
}

void TComponentCore::RemoveComponent(TComponentCore* component)
{
    if (!component || component->owner_ != this)
        return;
    components_.removeOne(component);
    component->owner_ = nullptr;
    // A component being freed told its owner already, while it was whole.
    if (!component->notified_)
        Notification(component, TOperation::opRemove);
}

TComponentCore* TComponentCore::Components(int index) const
{
    Q_ASSERT(index >= 0 && index < components_.size());
    return components_.at(index);
}

TComponentCore* TComponentCore::FindComponent(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    for (TComponentCore* component : components_)
        if (component->Name().compare(name, Qt::CaseInsensitive) == 0)
            return component;
    return nullptr;
}

void TComponentCore::DestroyComponents()
{
    // Each deletion removes the component from the list.
    while (!components_.isEmpty()) {
        TComponentCore* last = components_.last();
        delete last->self_;
        Q_ASSERT(components_.isEmpty() || components_.last() != last);
    }
}

void TComponentCore::FreeNotification(TComponentCore* observer)
{
    // Once the observers were told, a new one would never hear of the end.
    if (!observer || observer == this || notified_)
        return;
    RemoveFreeNotification(observer->self_);
    observers_.append({observer->self_, observer, {}});
    observer->observing_.append(this);
}

void TComponentCore::FreeNotification(QObject* observer, std::function<void(TComponentCore*)> onFree)
{
    if (!observer || observer == self_ || notified_)
        return;
    RemoveFreeNotification(observer);
    observers_.append({observer, nullptr, std::move(onFree)});
}

void TComponentCore::RemoveFreeNotification(QObject* observer)
{
    observers_.removeIf([this, observer](const Observer& o) {
        const bool drop = o.object == observer || (!o.core && o.object.isNull());
        if (drop && o.core)
            o.core->observing_.removeOne(this);
        return drop;
    });
}

void TComponentCore::MarkDestroying()
{
    SetState(TComponentStateFlag::csDestroying);
    for (TComponentCore* component : components_)
        component->MarkDestroying();
}

void TComponentCore::Destroying()
{
    if (notified_)
        return;
    notified_ = true;
    MarkDestroying();
    // Observers may remove themselves (or others) while being told.
    const QList<Observer> observers = std::exchange(observers_, {});
    for (const Observer& o : observers) {
        if (o.core) {
            o.core->observing_.removeOne(this);
            o.core->Notification(this, TOperation::opRemove);
        } else if (o.object && o.onFree) {
            o.onFree(this);
        }
    }
    if (owner_)
        owner_->Notification(this, TOperation::opRemove);
}

void TComponentCore::Notification(TComponentCore*, TOperation) {}

TComponentCore* CoreOf(const QObject* object)
{
    return dynamic_cast<TComponentCore*>(const_cast<QObject*>(object));
}

}  // namespace tk
