#include "toolkit/core/application.h"
#include "toolkit/core/component.h"
#include "toolkit/core/exceptions.h"

#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace tk {
namespace {

// A component whose state observers must still see when it is freed.
class TWatched : public TComponent {
public:
    using TComponent::TComponent;
    ~TWatched() override { Destroying(); }
    QString payload = QStringLiteral("alive");
};

class TWatcher : public TComponent {
public:
    using TComponent::TComponent;
    QString seen;
    TComponentCore* removed = nullptr;

protected:
    void Notification(TComponentCore* component, TOperation operation) override
    {
        if (operation == TOperation::opRemove) {
            removed = component;
            seen = static_cast<TWatched*>(component)->payload;
        }
    }
};

TEST(Component, FindsOwnedComponentsCaseInsensitivelyNearestFirst)
{
    QWidget form;
    auto* panel = new QWidget(&form);
    auto* deep = new QPushButton(panel);
    deep->setObjectName(QStringLiteral("btnOK"));
    auto* shallow = new QPushButton(&form);
    shallow->setObjectName(QStringLiteral("BtnOk"));
    EXPECT_EQ(FindComponent(&form, QStringLiteral("BTNOK")), shallow);
    EXPECT_EQ(FindComponent(panel, QStringLiteral("btnok")), deep);
    EXPECT_EQ(FindComponent(&form, QStringLiteral("missing")), nullptr);
    EXPECT_EQ(FindComponent(&form, QString()), nullptr);
}

TEST(Component, FreeNotificationArrivesWhileTheObjectIsWhole)
{
    TWatcher watcher;
    auto* watched = new TWatched;
    watched->FreeNotification(&watcher);
    delete watched;
    EXPECT_EQ(watcher.removed, watched);
    EXPECT_EQ(watcher.seen, QStringLiteral("alive"));
}

TEST(Component, AComponentThatHasToldItsObserversTakesNoNewOnes)
{
    // A late observer asks while the component is going (from another
    // observer's notification); it is not linked, so neither it nor the
    // component keeps a link to the other once both are freed.
    auto late = std::make_unique<TWatcher>();
    TWatcher first;
    auto* watched = new TWatched;
    watched->FreeNotification(&first, [&](TComponent* going) { going->FreeNotification(late.get()); });
    delete watched;
    EXPECT_EQ(late->removed, nullptr);
    late.reset();  // must not reach back into the freed component
}

TEST(Component, FreeNotificationSkipsObserversThatLeftOrWereFreed)
{
    auto* watched = new TWatched;
    int calls = 0;
    {
        QObject shortLived;
        watched->FreeNotification(&shortLived, [&](TComponent*) { ++calls; });
    }
    QObject unsubscribed;
    watched->FreeNotification(&unsubscribed, [&](TComponent*) { ++calls; });
    watched->RemoveFreeNotification(&unsubscribed);
    delete watched;
    EXPECT_EQ(calls, 0);
}

TEST(Component, OwnerFreesOwnedComponents)
{
    TWatcher watcher;
    auto* owner = new TComponent;
    auto* owned = new TWatched(owner);
    owned->SetName(QStringLiteral("Child"));
    owned->FreeNotification(&watcher);
    EXPECT_EQ(owned->Owner(), owner);
    EXPECT_EQ(owner->FindComponent(QStringLiteral("child")), owned);
    delete owner;
    EXPECT_EQ(watcher.removed, owned);
}

TEST(Component, AssignWithoutSupportNamesBothClasses)
{
    TComponent a, b;
    try {
        a.Assign(&b);
        FAIL() << "Assign should raise";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a TComponent to a TComponent"));
    }
}

TEST(Application, GuardedKeepsExceptionsAwayFromTheCallerAndIgnoresAbort)
{
    QStringList shown;
    auto saved = Application().OnException;
    Application().OnException = [&](const QString& m) { shown << m; };
    EXPECT_TRUE(Guarded([] {}));
    EXPECT_FALSE(Guarded([] { throw EConvertError(QStringLiteral("bad number")); }));
    EXPECT_FALSE(Guarded([] { Abort(); }));
    EXPECT_FALSE(Guarded([] { throw std::runtime_error("plain"); }));
    EXPECT_FALSE(Guarded([] { throw 42; }));
    Application().OnException = saved;
    EXPECT_EQ(shown, (QStringList{QStringLiteral("bad number"), QStringLiteral("plain"),
                                  QStringLiteral("Unknown exception")}));
}

}  // namespace
}  // namespace tk
