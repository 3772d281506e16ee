#include "toolkit/core/component.h"

#include "toolkit/core/exceptions.h"

#include <QMetaObject>
#include <QQueue>

namespace tk {

TPersistent::TPersistent(QObject* parent) : QObject(parent) {}

void TPersistent::Assign(const TPersistent* source)
{
    if (source) {
        source->AssignTo(this);
        return;
    }
    throw EConvertError(QStringLiteral("Cannot assign a nil to a %1").arg(ClassName()));
}

void TPersistent::AssignTo(TPersistent* dest) const
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(ClassName(), dest->ClassName()));
}

QString TPersistent::ClassName() const
{
    return ClassNameOf(this);
}

TComponent::TComponent(QObject* owner) : TPersistent(owner), TComponentCore(this, CoreOf(owner)) {}

TComponent::~TComponent()
{
    Destroying();
    DestroyComponents();
}

void TComponent::FreeNotification(QObject* observer, std::function<void(TComponent*)> onFree)
{
    TComponentCore::FreeNotification(observer, [this, onFree = std::move(onFree)](TComponentCore*) {
        if (onFree)
            onFree(this);
    });
}

QObject* TComponent::FindComponent(const QString& name) const
{
    return tk::FindComponent(this, name);
}

QObject* FindComponent(const QObject* owner, const QString& name)
{
    if (!owner || name.isEmpty())
        return nullptr;
    if (const TComponentCore* core = CoreOf(owner)) {
        const TComponentCore* found = core->FindComponent(name);
        return found ? found->ComponentObject() : nullptr;
    }
    // Breadth first, so a form's own control wins over a same-named
    // object deep inside another control.
    QQueue<const QObject*> pending;
    pending.enqueue(owner);
    while (!pending.isEmpty()) {
        const QObject* current = pending.dequeue();
        for (QObject* child : current->children()) {
            if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
                return child;
            pending.enqueue(child);
        }
    }
    return nullptr;
}

QString ClassNameOf(const QObject* object)
{
    if (!object)
        return QString();
    const QString full = QString::fromLatin1(object->metaObject()->className());
    const qsizetype colon = full.lastIndexOf(QLatin1Char(':'));
    return colon < 0 ? full : full.mid(colon + 1);
}

}  // namespace tk
