#include "platform/main_thread_queue.h"

#include <exception>
#include <future>
#include <vector>

namespace platform {

class MainThreadQueue::QueueTimer : public Timer {
public:
    QueueTimer(MainThreadQueue* owner, int id) : owner_(owner), id_(id) {}
    ~QueueTimer() override { owner_->RemoveTimer(id_); }

private:
    MainThreadQueue* owner_;
    int id_;
};

MainThreadQueue::MainThreadQueue(std::function<void()> wake)
    : mainThread_(std::this_thread::get_id()), wake_(std::move(wake)) {}

// Calls still queued are dropped, not run: what they would touch may be gone
// by now. (Timers on threads are stopped before the platform goes, so no
// sender is left waiting.)
MainThreadQueue::~MainThreadQueue() = default;

void MainThreadQueue::Post(std::function<void()> fn) {
    {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(fn));
    }
    queued_.notify_all();
    if (wake_) wake_();
}

void MainThreadQueue::Send(std::function<void()> fn) {
    if (OnMainThread()) {
        fn();
        return;
    }
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> result = done->get_future();
    Post([done, fn = std::move(fn)] {
        // The exception, if any, belongs to the sender: hand it over whole,
        // control-flow exceptions included.
        try {
            fn();
            done->set_value();
        } catch (...) {
            done->set_exception(std::current_exception());
        }
    });
    result.get();
}

void MainThreadQueue::RunCalls() {
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard lock(mutex_);
            if (calls_.empty()) return;
            fn = std::move(calls_.front());
            calls_.pop_front();
        }
        fn();
    }
}

void MainThreadQueue::WaitForCalls(std::chrono::steady_clock::time_point until) {
    std::unique_lock lock(mutex_);
    // An absolute deadline on the monotonic clock: one sleep, however often
    // the thread is woken for nothing on the way.
    queued_.wait_until(lock, until, [this] { return !calls_.empty(); });
}

std::unique_ptr<Timer> MainThreadQueue::StartTimer(int intervalMs, std::function<void()> callback,
                                                   uint64_t nowMicros) {
    int id = nextTimerId_++;
    uint64_t interval = uint64_t(intervalMs > 0 ? intervalMs : 1) * 1000;
    timers_[id] = TimerEntry{interval, nowMicros + interval, std::move(callback)};
    return std::make_unique<QueueTimer>(this, id);
}

void MainThreadQueue::RemoveTimer(int id) { timers_.erase(id); }

void MainThreadQueue::RunDue(uint64_t nowMicros) {
    RunCalls();
    // Callbacks may start or stop timers: collect the due ids first.
    std::vector<int> due;
    for (auto& [id, t] : timers_)
        if (t.due <= nowMicros) due.push_back(id);
    for (int id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) continue;
        TimerEntry& t = it->second;
        t.due += t.intervalUs;
        // A late timer fires once and keeps its period from now on, rather
        // than firing a burst to catch up.
        if (t.due <= nowMicros) t.due = nowMicros + t.intervalUs;
        auto callback = t.callback;
        callback();
    }
}

int64_t MainThreadQueue::MicrosUntilNextTimer(uint64_t nowMicros) {
    int64_t best = -1;
    for (auto& [id, t] : timers_) {
        int64_t left = t.due > nowMicros ? int64_t(t.due - nowMicros) : 0;
        if (best < 0 || left < best) best = left;
    }
    return best;
}

}  // namespace platform
