#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/ui/singleshottimer.h"

#include "tests/support/manual_timer_driver.h"
#include "tests/support/qt_printers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace tk {
namespace {

using test::ManualTimerDriver;

class SingleShotTimerTest : public ::testing::Test {
protected:
    QString Log() const { return log_.join(QLatin1Char(' ')); }
    void Note(const QString& what) { log_ << QStringLiteral("%1@%2").arg(what).arg(clock_.Now()); }

    ManualTimerDriver clock_;
    QStringList log_;
};

TEST_F(SingleShotTimerTest, FiresOnceAfterItsIntervalAndIsInactiveInTheHandler)
{
    TSingleShotTimer timer;
    timer.OnTimer = [&] { Note(timer.Active() ? QStringLiteral("active") : QStringLiteral("fired")); };
    EXPECT_EQ(clock_.SlotCount(), 0);  // created on demand
    timer.Start(200);
    EXPECT_TRUE(timer.Active());
    clock_.Advance(199);
    EXPECT_EQ(Log(), QString());
    clock_.Advance(1);
    clock_.Advance(1000);
    EXPECT_EQ(Log(), QStringLiteral("fired@200"));
    EXPECT_FALSE(timer.Active());
}

// The scroll timer re-arms itself from its handler with an interval that
// shrinks as the mouse goes further: max(200 - 15 * d, 5) for d = 0, 4, 13, 20.
TEST_F(SingleShotTimerTest, ReArmedInsideItsOwnHandlerWithAnotherInterval)
{
    const QList<int> intervals{200, 140, 5, 5};
    int fired = 0;
    TSingleShotTimer timer;
    timer.OnTimer = [&] {
        Note(QStringLiteral("tick"));
        if (++fired < intervals.size())
            timer.Start(intervals[fired]);
    };
    timer.Start(intervals[0]);
    clock_.Advance(1000);
    EXPECT_EQ(Log(), QStringLiteral("tick@200 tick@340 tick@345 tick@350"));
    EXPECT_EQ(timer.Interval(), 5);
    EXPECT_FALSE(timer.Active());
}

TEST_F(SingleShotTimerTest, RestartReplacesThePendingRunSoBurstsCoalesce)
{
    TSingleShotTimer timer([&] { Note(QStringLiteral("run")); });
    timer.Start(200);
    clock_.Advance(150);
    timer.Start(200);
    EXPECT_EQ(clock_.Pending(), QStringLiteral("200"));
    clock_.Advance(1000);
    EXPECT_EQ(Log(), QStringLiteral("run@350"));
}

TEST_F(SingleShotTimerTest, StoppedTimerDoesNotFireAndNegativeIntervalsCountAsZero)
{
    TSingleShotTimer timer([&] { Note(QStringLiteral("run")); });
    timer.Start(50);
    timer.Stop();
    EXPECT_FALSE(timer.Active());
    clock_.Advance(100);
    EXPECT_EQ(Log(), QString());
    timer.Start(-7);
    EXPECT_EQ(timer.Interval(), 0);
    clock_.Advance(0);
    EXPECT_EQ(Log(), QStringLiteral("run@100"));
}

TEST_F(SingleShotTimerTest, FreedInsideItsOwnHandler)
{
    auto timer = std::make_unique<TSingleShotTimer>();
    auto other = std::make_unique<TSingleShotTimer>([&] { Note(QStringLiteral("other")); });
    timer->OnTimer = [&, keep = std::make_shared<QString>(QStringLiteral("captured"))] {
        timer.reset();
        other->Stop();
        Note(*keep);  // the handler's captures outlive the timer that held them
    };
    timer->Start(10);
    other->Start(10);
    clock_.Advance(20);
    EXPECT_EQ(timer, nullptr);
    EXPECT_EQ(Log(), QStringLiteral("captured@10"));
    EXPECT_EQ(clock_.SlotCount(), 1);
}

TEST_F(SingleShotTimerTest, HandlerExceptionGoesToTheApplicationNotToTheEventLoop)
{
    const auto previous = Application().OnException;
    QStringList reported;
    Application().OnException = [&](const QString& message) { reported << message; };
    TSingleShotTimer timer([] { throw Exception(QStringLiteral("totals failed")); });
    timer.Start(5);
    EXPECT_NO_THROW(clock_.Advance(5));
    Application().OnException = previous;
    EXPECT_EQ(reported, QStringList{QStringLiteral("totals failed")});
}

struct FallbackCase {
    const char* name;
    bool refuseCreation;
    bool refuseArming;
};

class SingleShotTimerFallback : public SingleShotTimerTest,
                                public ::testing::WithParamInterface<FallbackCase> {};

TEST_P(SingleShotTimerFallback, RunsTheWorkAtOnceAndRaisesToTheCaller)
{
    clock_.refuseCreation = GetParam().refuseCreation;
    clock_.refuseArming = GetParam().refuseArming;
    int runs = 0;
    TSingleShotTimer timer;
    timer.OnTimer = [&] {
        ++runs;
        timer.Start(200);  // a re-arm from the immediate run is dropped, not recursed into
    };
    timer.Start(200);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(timer.Active());
    clock_.Advance(1000);
    EXPECT_EQ(runs, 1);

    timer.OnTimer = [] { throw Exception(QStringLiteral("update failed")); };
    EXPECT_THROW(timer.Start(200), Exception);
    timer.OnTimer = [&] { ++runs; };
    timer.Start(200);  // the failed run left the timer usable
    EXPECT_EQ(runs, 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, SingleShotTimerFallback,
                         ::testing::Values(FallbackCase{"CannotBeCreated", true, false},
                                           FallbackCase{"CannotBeStarted", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// With QTimer: a thread without an event loop cannot run a timer, so the
// work happens inside Start.
TEST(SingleShotTimerQt, OnAThreadWithoutEventLoopRunsTheWorkAtOnce)
{
    bool ranInsideStart = false;
    std::thread worker([&] {
        TSingleShotTimer timer;
        bool ran = false;
        timer.OnTimer = [&] { ran = true; };
        timer.Start(10);
        ranInsideStart = ran && !timer.Active();
    });
    worker.join();
    EXPECT_TRUE(ranInsideStart);
}

// With QTimer on the event loop: freed inside its own timeout, the next run
// of the loop deletes the QTimer it was cut loose from.
TEST(SingleShotTimerQt, FiresFromTheEventLoopAndMayBeFreedThere)
{
    auto timer = std::make_unique<TSingleShotTimer>();
    int fired = 0;
    timer->OnTimer = [&] {
        ++fired;
        timer.reset();
    };
    timer->Start(0);
    EXPECT_EQ(fired, 0);  // not inside Start: the event loop runs it
    QElapsedTimer waited;
    waited.start();
    while (fired == 0 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(timer, nullptr);
}

}  // namespace
}  // namespace tk
