// Calls handed to the main thread from other threads, and main-thread timers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/main_thread_queue.h"
#include "platform/thread_timer.h"

using platform::MainThreadQueue;

TEST(MainThreadQueue, SendWaitsForTheMainThreadAndCarriesItsException) {
    int wakes = 0;
    MainThreadQueue q([&] { ++wakes; });
    int value = 0;
    std::string caught;
    std::atomic<bool> finished{false};
    std::thread sender([&] {
        q.Send([&] { value = 42; });
        try {
            q.Send([] { throw std::runtime_error("from main"); });
        } catch (const std::runtime_error& e) {
            caught = e.what();
        }
        finished = true;
    });
    while (!finished) q.RunCalls();  // the main thread's pump
    sender.join();
    EXPECT_EQ(value, 42);
    EXPECT_EQ(caught, "from main");
    // On the main thread a send runs at once.
    q.Send([&] { value = 7; });
    EXPECT_EQ(value, 7);
}

TEST(MainThreadQueue, LateTimerFiresOnceAndStopsWithItsHandle) {
    MainThreadQueue q;
    int fired = 0;
    auto timer = q.StartTimer(50, [&] { ++fired; }, 0);
    EXPECT_EQ(q.MicrosUntilNextTimer(0), 50'000);
    q.RunDue(40'000);
    EXPECT_EQ(fired, 0);
    q.RunDue(260'000);  // five periods late
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(q.MicrosUntilNextTimer(260'000), 50'000);
    timer.reset();
    q.RunDue(1'000'000);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(q.MicrosUntilNextTimer(1'000'000), -1);
}

TEST(ThreadTimer, ErrorOnTheTimerThreadIsRaisedOnTheMainThread) {
    MainThreadQueue q;
    std::atomic<int> ticks{0};
    auto timer = platform::StartThreadTimer(
        1,
        [&] {
            if (++ticks == 3) throw std::runtime_error("sequencer failed");
        },
        &q);
    std::string caught;
    auto start = std::chrono::steady_clock::now();
    while (caught.empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        try {
            q.RunCalls();
        } catch (const std::runtime_error& e) {
            caught = e.what();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(caught, "sequencer failed");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(ticks.load(), 3);  // stopped after the error
}

TEST(MainThreadQueue, TheFrameSleepEndsAtItsDeadlineOrAtOnceWhenACallIsSent) {
    using Clock = std::chrono::steady_clock;
    MainThreadQueue q;
    // Nothing queued: the sleep lasts to its deadline.
    auto t0 = Clock::now();
    q.WaitForCalls(t0 + std::chrono::milliseconds(30));
    EXPECT_GE(Clock::now() - t0, std::chrono::milliseconds(30));

    // A call sent from another thread ends a long sleep early, and the
    // sender is answered by the pump after it.
    std::atomic<bool> done{false};
    std::thread sender([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        q.Send([] {});
        done = true;
    });
    t0 = Clock::now();
    q.WaitForCalls(t0 + std::chrono::seconds(20));
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(10));
    q.RunCalls();
    sender.join();
    EXPECT_TRUE(done);
    // A call already queued: no sleep at all.
    q.Post([] {});
    t0 = Clock::now();
    q.WaitForCalls(t0 + std::chrono::seconds(20));
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(10));
    q.RunCalls();
}
