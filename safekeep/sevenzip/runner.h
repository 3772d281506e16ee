#pragma once
// Runs one library call on a worker thread while the calling thread stays in
// charge of everything the application sees. The library calls our
// callbacks from its own threads, but event handlers touch windows, so the
// callbacks post each event here and wait; the calling thread delivers the
// posted events one at a time, in order, and between them lets the
// application repaint at a bounded rate.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace safekeep::sz {

class TCallerThreadRunner {
public:
    // How often, at most, the waiting thread lets the application process
    // its pending events (painting, input).
    static constexpr int kRepaintIntervalMs = 40;

    TCallerThreadRunner() = default;
    TCallerThreadRunner(const TCallerThreadRunner&) = delete;
    TCallerThreadRunner& operator=(const TCallerThreadRunner&) = delete;

    // Runs work on a new thread and delivers posted events until it ends;
    // returns work's result. Not re-entrant for one runner.
    int32_t Run(const std::function<int32_t()>& work);

    // Runs event on the thread that called Run and waits until it ran; runs
    // it at once when called on that thread or outside Run. The event runs
    // guarded: an exception goes to the application's handler and Deliver
    // returns false, so that the caller can stop the operation.
    bool Deliver(const std::function<void()>& event);

private:
    struct Request {
        const std::function<void()>* event;
        bool done = false;
        bool succeeded = false;
    };
    // Delivers posted events and repaints until the worker has finished.
    void PumpUntilDone();

    std::mutex mutex_;
    std::condition_variable posted_;
    std::condition_variable answered_;
    std::deque<Request*> queue_;
    std::thread::id callerThread_;
    bool running_ = false;
    bool workDone_ = false;
};

}  // namespace safekeep::sz
