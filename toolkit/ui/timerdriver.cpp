#include "toolkit/ui/timerdriver.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>

namespace tk {
namespace {

class QtTimerSlot final : public TTimerSlot {
public:
    explicit QtTimerSlot(std::function<void()> fire) : fire_(std::move(fire)), timer_(new QTimer)
    {
        timer_->setSingleShot(true);
        timer_->setTimerType(Qt::PreciseTimer);  // scroll timers run at a few milliseconds
        QObject::connect(timer_, &QTimer::timeout, [this] { Fire(); });
    }

    ~QtTimerSlot() override
    {
        // Destroyed inside its own timeout the QTimer is still in its
        // signal: it is cut loose and left to the event loop to delete.
        *alive_ = false;
        if (firing_ > 0) {
            timer_->disconnect();
            timer_->stop();
            timer_->deleteLater();
        } else {
            delete timer_;
        }
    }

    bool Arm(int milliseconds) override
    {
        Q_ASSERT(milliseconds >= 0);
        if (!QCoreApplication::instance() || QThread::currentThread() != timer_->thread() ||
            !QAbstractEventDispatcher::instance(QThread::currentThread()))
            return false;
        timer_->start(milliseconds);
        return timer_->isActive();
    }

    void Disarm() override { timer_->stop(); }

private:
    void Fire()
    {
        // The fire function may destroy this slot (even from a nested event
        // loop): it runs from a copy, and the slot is touched afterwards only
        // when the shared flag says it still lives.
        const std::shared_ptr<bool> alive = alive_;
        const std::function<void()> fire = fire_;
        ++firing_;
        fire();
        if (*alive)
            --firing_;
    }

    std::function<void()> fire_;
    QTimer* timer_;
    int firing_ = 0;  // depth of Fire calls on the stack
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class QtTimerDriver final : public TTimerDriver {
public:
    std::unique_ptr<TTimerSlot> CreateSlot(std::function<void()> fire) override
    {
        return std::make_unique<QtTimerSlot>(std::move(fire));
    }
};

TTimerDriver* installed = nullptr;

}  // namespace

TTimerDriver& CurrentTimerDriver()
{
    static QtTimerDriver qtDriver;
    return installed ? *installed : qtDriver;
}

void SetTimerDriver(TTimerDriver* driver)
{
    installed = driver;
}

}  // namespace tk
