#pragma once
// Calls and timers that must run on the main thread, for backends whose
// events come from the real world: other threads post or send calls here,
// and the backend's pump runs them together with the main-thread timers
// whose time has come.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/platform.h"

namespace platform {

class MainThreadQueue {
public:
    // `wake` is called (from any thread) after a call was queued, so that a
    // backend blocked waiting for events can return to its pump.
    explicit MainThreadQueue(std::function<void()> wake = {});
    ~MainThreadQueue();

    bool OnMainThread() const { return std::this_thread::get_id() == mainThread_; }

    void Post(std::function<void()> fn);
    // Runs fn on the main thread and waits for it; on the main thread it
    // runs at once. An exception thrown by fn is raised again in the sender.
    void Send(std::function<void()> fn);

    // A periodic timer whose callback runs from RunDue on the main thread.
    // Destroying the handle stops it.
    std::unique_ptr<Timer> StartTimer(int intervalMs, std::function<void()> callback, uint64_t nowMicros);

    // On the main thread: runs every queued call, then every timer due at
    // nowMicros (once each, even when it is late by several periods).
    void RunDue(uint64_t nowMicros);
    // Only the queued calls (sent and posted).
    void RunCalls();
    // Blocks until a call is queued or the clock reaches `until`, whichever
    // is first; returns at once when a call is queued already. The frame
    // wait sleeps here, so a call sent from another thread (the sequencer's
    // system-exclusive messages) does not wait for the end of the frame.
    void WaitForCalls(std::chrono::steady_clock::time_point until);
    // Microseconds until the next main-thread timer is due (0 when one is
    // due already), or -1 when there is none.
    int64_t MicrosUntilNextTimer(uint64_t nowMicros);

private:
    class QueueTimer;
    struct TimerEntry {
        uint64_t intervalUs;
        uint64_t due;
        std::function<void()> callback;
    };
    void RemoveTimer(int id);

    std::thread::id mainThread_;
    std::function<void()> wake_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::function<void()>> calls_;
    // Timers are touched only on the main thread.
    std::map<int, TimerEntry> timers_;
    int nextTimerId_ = 1;
};

}  // namespace platform
