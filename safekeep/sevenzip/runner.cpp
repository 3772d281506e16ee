#include "safekeep/sevenzip/runner.h"

#include "safekeep/sevenzip/abi.h"
#include "toolkit/core/application.h"

#include <QCoreApplication>
#include <chrono>

namespace safekeep::sz {

int32_t TCallerThreadRunner::Run(const std::function<int32_t()>& work)
{
    {
        std::lock_guard lock(mutex_);
        callerThread_ = std::this_thread::get_id();
        running_ = true;
        workDone_ = false;
    }
    int32_t result = 0;
    std::thread worker([&] {
        try {
            result = work();
        } catch (...) {
            // An exception leaving the thread would end the process.
            result = E_FAIL;
        }
        std::lock_guard lock(mutex_);
        workDone_ = true;
        posted_.notify_all();
    });
    PumpUntilDone();
    worker.join();
    std::lock_guard lock(mutex_);
    running_ = false;
    return result;
}

void TCallerThreadRunner::PumpUntilDone()
{
    using Clock = std::chrono::steady_clock;
    const auto interval = std::chrono::milliseconds(kRepaintIntervalMs);
    auto nextRepaint = Clock::now() + interval;
    std::unique_lock lock(mutex_);
    for (;;) {
        // Checked first, so that a steady stream of events cannot keep the
        // windows from painting.
        if (Clock::now() >= nextRepaint) {
            lock.unlock();
            if (QCoreApplication::instance())
                tk::Application().ProcessMessages();
            lock.lock();
            nextRepaint = Clock::now() + interval;
        }
        if (!queue_.empty()) {
            Request* request = queue_.front();
            queue_.pop_front();
            lock.unlock();
            request->succeeded = tk::Guarded(*request->event);
            lock.lock();
            request->done = true;
            answered_.notify_all();
            continue;
        }
        if (workDone_)
            return;
        posted_.wait_until(lock, nextRepaint);
    }
}

bool TCallerThreadRunner::Deliver(const std::function<void()>& event)
{
    std::unique_lock lock(mutex_);
    if (!running_ || std::this_thread::get_id() == callerThread_) {
        lock.unlock();
        return tk::Guarded(event);
    }
    Request request{&event};
    queue_.push_back(&request);
    posted_.notify_all();
    answered_.wait(lock, [&] { return request.done; });
    return request.succeeded;
}

}  // namespace safekeep::sz
