#pragma once
// A periodic timer on a thread of its own, for callbacks that must keep
// time while the main thread is busy (the input sampler, the MIDI
// sequencer's step).

#include <functional>
#include <memory>

#include "platform/platform.h"

namespace platform {

class MainThreadQueue;

// Calls `callback` every intervalMs on a timer thread. Destroying the handle
// stops the timer and waits for a running callback to finish; while it
// waits it keeps running calls that the callback sends to the main thread
// through `mainQueue` (when given), so that stopping a timer whose callback
// is blocked in SendToMain cannot deadlock. An exception thrown by the
// callback stops the timer and is raised again on the main thread, from its
// next pump.
std::unique_ptr<Timer> StartThreadTimer(int intervalMs, std::function<void()> callback,
                                        MainThreadQueue* mainQueue);

}  // namespace platform
