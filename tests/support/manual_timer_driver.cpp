#include "tests/support/manual_timer_driver.h"

#include "toolkit/ui/hintengine.h"

#include <QStringList>
#include <algorithm>

namespace tk::test {

class ManualTimerDriver::Slot final : public TTimerSlot {
public:
    Slot(ManualTimerDriver& driver, std::function<void()> fire) : driver_(driver), fire_(std::move(fire))
    {
        driver_.slots_.push_back(this);
    }
    ~Slot() override { std::erase(driver_.slots_, this); }

    bool Arm(int milliseconds) override
    {
        if (driver_.refuseArming)
            return false;
        armed_ = true;
        due_ = driver_.now_ + milliseconds;
        sequence_ = ++driver_.armSequence_;
        return true;
    }
    void Disarm() override { armed_ = false; }

    bool armed_ = false;
    qint64 due_ = 0;
    qint64 sequence_ = 0;

    void Fire()
    {
        armed_ = false;
        const std::function<void()> fire = fire_;  // fire may destroy this slot
        fire();
    }

private:
    ManualTimerDriver& driver_;
    std::function<void()> fire_;
};

ManualTimerDriver::ManualTimerDriver()
{
    SetTimerDriver(this);
}

ManualTimerDriver::~ManualTimerDriver()
{
    // The application's hint engine outlives every test; a hint pending on
    // this clock would keep a slot of it.
    HintEngine().CancelHint();
    SetTimerDriver(nullptr);
    Q_ASSERT(slots_.empty());  // a timer outliving its driver would fire into nothing
}

std::unique_ptr<TTimerSlot> ManualTimerDriver::CreateSlot(std::function<void()> fire)
{
    if (refuseCreation)
        return nullptr;
    return std::make_unique<Slot>(*this, std::move(fire));
}

void ManualTimerDriver::Advance(int milliseconds)
{
    Q_ASSERT(milliseconds >= 0);
    const qint64 target = now_ + milliseconds;
    for (;;) {
        Slot* next = nullptr;
        for (Slot* slot : slots_)
            if (slot->armed_ && slot->due_ <= target &&
                (!next || slot->due_ < next->due_ ||
                 (slot->due_ == next->due_ && slot->sequence_ < next->sequence_)))
                next = slot;
        if (!next)
            break;
        now_ = next->due_;
        next->Fire();
    }
    now_ = target;
}

int ManualTimerDriver::ArmedCount() const
{
    return static_cast<int>(std::count_if(slots_.begin(), slots_.end(), [](Slot* s) { return s->armed_; }));
}

QString ManualTimerDriver::Pending() const
{
    QStringList remaining;
    for (const Slot* slot : slots_)
        if (slot->armed_)
            remaining << QString::number(slot->due_ - now_);
    return remaining.join(QLatin1Char(' '));
}

}  // namespace tk::test
