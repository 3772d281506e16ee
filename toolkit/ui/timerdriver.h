#pragma once
// The time source behind the toolkit's timers. A driver creates countdown
// slots; a slot, once armed, calls its fire function a number of
// milliseconds later on the user-interface thread, once. The real driver
// uses QTimer; tests install a driver of their own that advances time on
// demand, so no test ever sleeps.
//
// A driver may fail to create or to arm a slot; the timer then runs its work
// at once (see singleshottimer.h). With QTimer that happens when there is no
// application object, or when the calling thread has no event dispatcher
// (a thread Qt did not start) or is not the thread the timer lives in.

#include <functional>
#include <memory>

namespace tk {

class TTimerSlot {
public:
    virtual ~TTimerSlot() = default;
    // Starts (or restarts) the countdown; false when the countdown cannot
    // run, in which case nothing will fire. milliseconds >= 0.
    virtual bool Arm(int milliseconds) = 0;
    // Cancels a pending countdown; no-op when none is pending.
    virtual void Disarm() = 0;
};

class TTimerDriver {
public:
    virtual ~TTimerDriver() = default;
    // A new, unarmed slot that calls fire when its countdown ends; nullptr
    // when no slot can be created. fire may destroy the slot.
    virtual std::unique_ptr<TTimerSlot> CreateSlot(std::function<void()> fire) = 0;
};

// The driver timers use: the installed one, else the QTimer driver.
TTimerDriver& CurrentTimerDriver();
// Installs driver for all timers created afterwards (slots already created
// keep theirs); nullptr goes back to the QTimer driver. The driver must
// outlive every slot it created.
void SetTimerDriver(TTimerDriver* driver);

}  // namespace tk
