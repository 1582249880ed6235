#include "platform/thread_timer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "platform/main_thread_queue.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

class ThreadTimer : public Timer {
public:
    ThreadTimer(int intervalMs, std::function<void()> callback, MainThreadQueue* mainQueue)
        : interval_(std::chrono::milliseconds(intervalMs > 0 ? intervalMs : 1)),
          callback_(std::move(callback)),
          mainQueue_(mainQueue) {
        thread_ = std::thread([this] { Run(); });
    }

    ~ThreadTimer() override {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        std::unique_lock lock(mutex_);
        while (!finished_) {
            lock.unlock();
            if (mainQueue_ && mainQueue_->OnMainThread()) mainQueue_->RunCalls();
            lock.lock();
            wake_.wait_for(lock, std::chrono::milliseconds(1), [this] { return finished_; });
        }
        lock.unlock();
        thread_.join();
    }

private:
    void Run() {
        auto next = Clock::now() + interval_;
        std::unique_lock lock(mutex_);
        while (!stop_) {
            if (wake_.wait_until(lock, next, [this] { return stop_; })) break;
            lock.unlock();
            bool failed = false;
            try {
                callback_();
            } catch (...) {
                // An error on the timer thread belongs to the game: raise it
                // again on the main thread (the fatal-error path shows it),
                // and stop ticking.
                failed = true;
                if (mainQueue_) mainQueue_->Post([e = std::current_exception()] { std::rethrow_exception(e); });
            }
            lock.lock();
            if (failed) break;
            next += interval_;
            // After a long stall (a suspended process, a debugger) start
            // the schedule afresh instead of firing a burst of catch-ups.
            auto now = Clock::now();
            if (now > next + 10 * interval_) next = now + interval_;
        }
        finished_ = true;
        wake_.notify_all();
    }

    Clock::duration interval_;
    std::function<void()> callback_;
    MainThreadQueue* mainQueue_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<Timer> StartThreadTimer(int intervalMs, std::function<void()> callback,
                                        MainThreadQueue* mainQueue) {
    return std::make_unique<ThreadTimer>(intervalMs, std::move(callback), mainQueue);
}

}  // namespace platform
