#include "toolkit/ui/singleshottimer.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/timerdriver.h"

#include <QScopeGuard>
#include <algorithm>

namespace tk {

TSingleShotTimer::TSingleShotTimer(std::function<void()> onTimer) : OnTimer(std::move(onTimer)) {}

TSingleShotTimer::~TSingleShotTimer()
{
    *alive_ = false;
}

void TSingleShotTimer::Start(int milliseconds)
{
    interval_ = std::max(milliseconds, 0);
    if (!slot_)
        slot_ = CurrentTimerDriver().CreateSlot([this] { Fire(); });
    if (slot_ && slot_->Arm(interval_)) {
        active_ = true;
        return;
    }
    // No countdown: the work runs now, as the caller's own code. A Start
    // from inside that run is dropped: it could not be deferred either, and
    // running it again would recurse for as long as the work re-arms.
    active_ = false;
    if (runningNow_)
        return;
    const std::shared_ptr<bool> alive = alive_;
    runningNow_ = true;
    const auto clear = qScopeGuard([this, alive] {
        if (*alive)
            runningNow_ = false;
    });
    RunOnTimer();
}

void TSingleShotTimer::Stop()
{
    active_ = false;
    if (slot_)
        slot_->Disarm();
}

void TSingleShotTimer::Fire()
{
    active_ = false;
    // A copy, so that a handler destroying the timer (and with it OnTimer)
    // keeps its own captures alive until it returns.
    const std::function<void()> work = OnTimer;
    if (work)
        Guarded(work);  // nothing of the timer is touched once the work ran
}

void TSingleShotTimer::RunOnTimer() const
{
    if (OnTimer) {
        const std::function<void()> work = OnTimer;
        work();
    }
}

}  // namespace tk
