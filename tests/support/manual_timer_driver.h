#pragma once
// A timer driver whose clock moves only when the test says so. While it
// lives it is the driver of every timer created (tk::SetTimerDriver); its
// destructor puts the QTimer driver back. Advance(ms) fires, in order of
// their due time (ties in arming order), every countdown that falls due
// within the step, including countdowns armed by handlers during the step.

#include "toolkit/ui/timerdriver.h"

#include <QString>
#include <vector>

namespace tk::test {

class ManualTimerDriver : public TTimerDriver {
public:
    ManualTimerDriver();
    ~ManualTimerDriver() override;

    std::unique_ptr<TTimerSlot> CreateSlot(std::function<void()> fire) override;

    // Moves the clock by milliseconds (>= 0), firing what falls due.
    void Advance(int milliseconds);
    // Milliseconds since the driver was made.
    qint64 Now() const { return now_; }
    // How many slots exist and how many are armed.
    int SlotCount() const { return static_cast<int>(slots_.size()); }
    int ArmedCount() const;
    // The remaining milliseconds of the armed slots, in creation order, as
    // "150 5" ("" when none is armed).
    QString Pending() const;

    // Makes CreateSlot return nullptr (a timer that cannot be created).
    bool refuseCreation = false;
    // Makes Arm fail (a timer that cannot be started).
    bool refuseArming = false;

private:
    class Slot;
    friend class Slot;

    std::vector<Slot*> slots_;
    qint64 now_ = 0;
    qint64 armSequence_ = 0;
};

}  // namespace tk::test
