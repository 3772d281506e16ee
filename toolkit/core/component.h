#pragma once
// The object model every component stands on: persistent objects that copy
// themselves with Assign, and components with a name, an owner (the QObject
// parent), a state and free notification.

#include <QFlags>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

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

enum class TOperation { opInsert, opRemove };

enum class TComponentStateFlag {
    csLoading = 0x01,
    csReading = 0x02,
    csWriting = 0x04,
    csDestroying = 0x08,
    csDesigning = 0x10,
};
Q_DECLARE_FLAGS(TComponentState, TComponentStateFlag)

class TComponent : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
public:
    explicit TComponent(QObject* owner = nullptr);
    ~TComponent() override;

    QString Name() const { return objectName(); }
    void SetName(const QString& name) { setObjectName(name); }
    QObject* Owner() const { return parent(); }

    TComponentState ComponentState() const { return state_; }
    bool HasState(TComponentStateFlag flag) const { return state_.testFlag(flag); }
    void SetState(TComponentStateFlag flag, bool on = true) { state_.setFlag(flag, on); }

    // Streaming calls this after all properties were read: clears csLoading.
    virtual void Loaded();

    // Asks for opRemove notification when this component is freed. The
    // observer's Notification (TComponent observers) or callback runs while
    // this component is still whole, before its subclasses' members die.
    void FreeNotification(TComponent* observer);
    void FreeNotification(QObject* observer, std::function<void(TComponent*)> onFree);
    void RemoveFreeNotification(QObject* observer);

    // Sends the free notifications now and marks the component csDestroying.
    // A subclass destructor calls it first when observers must still see its
    // state; the base destructor calls it otherwise. Runs once.
    void Destroying();

    // Owned component by name, case-insensitive (see FindComponent below).
    QObject* FindComponent(const QString& name) const;

protected:
    // Receives notifications about components this one observes.
    virtual void Notification(TComponent* component, TOperation operation);

private:
    struct Observer {
        QPointer<QObject> object;
        std::function<void(TComponent*)> onFree;
    };
    QList<Observer> observers_;
    TComponentState state_;
};

// The components an owner owns are its descendants; a name is found
// case-insensitively, nearer descendants first. Nothing found: nullptr.
QObject* FindComponent(const QObject* owner, const QString& name);

// The class name of any QObject without namespace qualification.
QString ClassNameOf(const QObject* object);

}  // namespace tk

Q_DECLARE_OPERATORS_FOR_FLAGS(tk::TComponentState)
