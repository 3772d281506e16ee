#include "toolkit/core/collection.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/updatelock.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace tk {
namespace {

// A collection whose full update can be made to fail, as a control's
// re-layout can.
class TWatchedItems : public TCollection {
public:
    TWatchedItems() : TCollection(&TCollectionItem::staticMetaObject) {}
    QStringList log;
    bool failUpdate = false;

protected:
    void Update(TCollectionItem* item) override
    {
        log << (item ? QStringLiteral("update item") : QStringLiteral("update all"));
        if (failUpdate)
            throw EInvalidOperation(QStringLiteral("re-layout failed"));
    }
};

TEST(UpdateLock, EndsTheBatchOnEveryWayOutOfTheScope)
{
    TWatchedItems items;
    {
        TUpdateLock lock(items);
        items.Add();
        items.Add();
        EXPECT_EQ(items.UpdateCount(), 1);
    }
    EXPECT_EQ(items.log, QStringList({"update all"}));

    items.log.clear();
    try {
        TUpdateLock outer(items);
        TUpdateLock inner(items);
        items.Delete(5);
    } catch (const EListError&) {
    }
    EXPECT_EQ(items.UpdateCount(), 0);
    EXPECT_EQ(items.log, QStringList({"update all"}));
}

TEST(UpdateLock, AFailingEndPropagatesUnlessAnotherExceptionIsOnItsWay)
{
    TWatchedItems items;
    items.failUpdate = true;
    EXPECT_THROW({ TUpdateLock lock(items); }, EInvalidOperation);
    EXPECT_EQ(items.UpdateCount(), 0);

    // The exception that left the scope is the one the caller sees.
    try {
        TUpdateLock lock(items);
        items.Items(3);
        FAIL() << "Items(3) should raise";
    } catch (const EListError&) {
    } catch (const EInvalidOperation&) {
        FAIL() << "the closing call's exception replaced the first one";
    }
    EXPECT_EQ(items.UpdateCount(), 0);
}

TEST(UpdateLock, UnlockEndsTheBatchOnce)
{
    TStringList lines;
    TUpdateLock lock(lines);
    EXPECT_TRUE(lock.IsLocked());
    lock.Unlock();
    EXPECT_EQ(lines.UpdateCount(), 0);
    lines.BeginUpdate();  // someone else's bracket, not ended by the lock's scope
    lock.Unlock();
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_EQ(lines.UpdateCount(), 1);
    lines.EndUpdate();
}

TEST(CounterLock, RaisesTheCounterForTheScopeAndNests)
{
    int layoutCount = 0;
    try {
        TCounterLock outer(layoutCount);
        {
            TCounterLock inner(layoutCount);
            EXPECT_EQ(layoutCount, 2);
        }
        EXPECT_EQ(layoutCount, 1);
        Abort();
    } catch (const EAbort&) {
    }
    EXPECT_EQ(layoutCount, 0);
}

}  // namespace
}  // namespace tk
