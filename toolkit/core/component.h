#pragma once
// The object model every component stands on: persistent objects that copy
// themselves with Assign, and non-visual components on the component core
// (componentcore.h: name, Tag, owner and owned components, state, free
// notification). TK_COMPONENT publishes Name and Tag in any component class,
// QObject- or QWidget-based.

#include "toolkit/core/componentcore.h"

#include <QFlags>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

// Published Name and Tag of a component class (QObject or QWidget based, with
// TComponentCore as a base). A macro, since moc cannot read templates.
#define TK_COMPONENT                                                                                         \
    Q_PROPERTY(QString Name READ Name WRITE SetName)                                                         \
    Q_PROPERTY(qint64 Tag READ Tag WRITE SetTag)                                                             \
    Q_CLASSINFO("Default:Tag", "0")

namespace tk {

// An event that passes only its sender.
using TNotifyEvent = std::function<void(QObject* sender)>;

// An object whose published properties are streamed and that can copy
// another object's state into itself.
class TPersistent : public QObject {
    Q_OBJECT
public:
    explicit TPersistent(QObject* parent = nullptr);

    // Copies source's state into this object. Without an override, asks the
    // source to do it (AssignTo); neither knowing how raises EConvertError.
    virtual void Assign(const TPersistent* source);
    // The class name without namespace ("TStringList").
    QString ClassName() const;

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

// A non-visual component: a QObject with the component core. Its owner is
// also its Qt parent at construction, so it dies with the owner either way.
class TComponent : public TPersistent, public TComponentCore {
    Q_OBJECT
    TK_COMPONENT
public:
    // owner may be any QObject; when it is a component it also owns this one.
    explicit TComponent(QObject* owner = nullptr);
    ~TComponent() override;

    using TComponentCore::Name;
    using TComponentCore::SetName;

    void FreeNotification(TComponentCore* observer) { TComponentCore::FreeNotification(observer); }
    // As TComponentCore::FreeNotification, with the callback given this
    // component as a TComponent.
    void FreeNotification(QObject* observer, std::function<void(TComponent*)> onFree);

    // Owned component by name, case-insensitive (see FindComponent below).
    QObject* FindComponent(const QString& name) const;
};

// The component called name (any case) that owner owns. For an owner that is
// no component (a plain QObject), its Qt descendants are searched instead,
// nearer ones first. Nothing found or an empty name: nullptr.
QObject* FindComponent(const QObject* owner, const QString& name);

// The class name of any QObject without namespace qualification.
QString ClassNameOf(const QObject* object);

}  // namespace tk
