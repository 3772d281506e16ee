#pragma once
// TSingleShotTimer: a single-shot, re-armable timer on the user-interface
// thread, for deferred work (delayed totals, select and update timers, the
// scroll timer of a drag beyond the data area).
//
// - The countdown behind it is created on the first Start, from the current
//   timer driver (timerdriver.h), and kept for later Starts.
// - Start(ms) arms or re-arms: a pending countdown is replaced, so bursts of
//   requests coalesce into one run ms after the last. Each Start may give
//   another interval. Negative intervals count as 0.
// - When it fires, the timer is inactive again and OnTimer runs guarded
//   (tk::Guarded): an exception goes to the application's handler, never
//   into Qt's event loop. The handler may re-arm the timer, stop it, or
//   destroy it.
// - A timer that cannot be created or armed (no application object, a
//   thread without an event loop: see timerdriver.h) runs OnTimer at once,
//   inside Start and unguarded, so an exception reaches Start's caller as
//   the work itself would have raised it. A Start made by that immediate
//   run is dropped (it cannot be deferred either; running it again would
//   recurse for as long as the work re-arms).

#include <functional>
#include <memory>

namespace tk {

class TTimerSlot;

class TSingleShotTimer {
public:
    explicit TSingleShotTimer(std::function<void()> onTimer = {});
    ~TSingleShotTimer();
    TSingleShotTimer(const TSingleShotTimer&) = delete;
    TSingleShotTimer& operator=(const TSingleShotTimer&) = delete;

    // Arms (or re-arms) the timer to fire once after milliseconds.
    void Start(int milliseconds);
    // Cancels a pending run; no-op when none is pending.
    void Stop();
    // Whether a run is pending.
    bool Active() const { return active_; }
    // The interval of the last Start (0 before the first).
    int Interval() const { return interval_; }

    // The work; without one, firing does nothing.
    std::function<void()> OnTimer;

private:
    void Fire();
    void RunOnTimer() const;

    std::unique_ptr<TTimerSlot> slot_;
    bool active_ = false;
    int interval_ = 0;
    bool runningNow_ = false;  // OnTimer runs inside Start (no countdown)
    // Cleared by the destructor, so that an immediate run whose work
    // destroyed the timer does not touch it afterwards.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tk
