// The SDL backend under SDL's dummy video and audio drivers: the window and
// its layouts, timers on both threads, calls sent to the main thread, the
// message box with nobody to click it, and the sound device's real-time
// callback, also when the configured audio driver does not exist.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "platform/sdl/sdl_platform.h"

using namespace platform;

namespace {

class SdlPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
};

std::atomic<long> g_audioFrames{0};

}  // namespace

TEST_F(SdlPlatformTest, WindowPresentsAndMapsTheMouseInBothModes) {
    auto p = CreateSdlPlatform();
    Display& d = p->GetDisplay();
    d.SetCaption("Caption \xE3\x81\x82");
    ASSERT_TRUE(d.SetMode(320, 240, false));
    EXPECT_FALSE(d.IsFullScreen());
    std::vector<uint16_t> pixels(320 * 240, 0x07E0);
    d.Present(pixels.data(), 320, 240, 320, Rect{0, 0, 320, 240});
    std::vector<uint32_t> movie(16 * 8, 0x00FF0000);
    d.PresentXrgb(movie.data(), 16, 8, 16, Rect{10, 10, 16, 8});
    int lx = -1, ly = -1;
    EXPECT_TRUE(d.WindowToLogical(319, 239, lx, ly));
    EXPECT_EQ(lx, 319);
    EXPECT_EQ(ly, 239);
    EXPECT_FALSE(d.WindowToLogical(320, 10, lx, ly));

    // Full screen: 640x480 logical, scaled by a whole factor, centred.
    ASSERT_TRUE(d.SetMode(640, 480, true));
    EXPECT_TRUE(d.IsFullScreen());
    EXPECT_EQ(d.LogicalWidth(), 640);
    d.Present(pixels.data(), 320, 240, 320, Rect{160, 120, 320, 240});
    // The dummy driver's desktop is 1024x768: factor 1, borders of 192
    // and 144 pixels.
    EXPECT_TRUE(d.WindowToLogical(192, 144, lx, ly));
    EXPECT_EQ(lx, 0);
    EXPECT_EQ(ly, 0);
    EXPECT_FALSE(d.WindowToLogical(191, 144, lx, ly));
    EXPECT_TRUE(d.WindowToLogical(192 + 639, 144 + 479, lx, ly));
    EXPECT_EQ(lx, 639);
    ASSERT_TRUE(d.SetMode(320, 240, false));
    EXPECT_FALSE(d.IsFullScreen());
    d.ShowCursor(false);
    p->InhibitScreenSaver(true);
    p->InhibitScreenSaver(false);
}

TEST_F(SdlPlatformTest, WindowWithoutFocusEventsCountsAsActive) {
    auto p = CreateSdlPlatform();
    ASSERT_TRUE(p->GetDisplay().SetMode(320, 240, false));
    p->PumpEvents();
    EXPECT_TRUE(p->IsActive());
    EXPECT_FALSE(p->IsKeyHeld(Key::Enter));
    EXPECT_FALSE(p->TakeKeyWentDown(Key::Enter));
    EXPECT_FALSE(p->GetJoystick().present);
}

TEST_F(SdlPlatformTest, MainThreadTimersRunOnlyFromThePump) {
    auto p = CreateSdlPlatform();
    int fired = 0;
    auto timer = p->StartMainThreadTimer(20, [&] { ++fired; });
    p->SleepMicros(50'000);
    EXPECT_EQ(fired, 0);
    p->PumpEvents();
    EXPECT_EQ(fired, 1);  // late, but once: no burst
    // WaitEvent wakes for the timer rather than sleeping the whole timeout.
    auto t0 = p->NowMillis();
    p->WaitEvent(1000);
    EXPECT_LT(p->NowMillis() - t0, 500u);
    EXPECT_EQ(fired, 2);
    timer.reset();
    p->SleepMicros(30'000);
    p->PumpEvents();
    EXPECT_EQ(fired, 2);
}

TEST_F(SdlPlatformTest, PeriodicTimerRunsOnItsOwnThreadAndSendsToMain) {
    auto p = CreateSdlPlatform();
    std::atomic<int> ticks{0};
    std::atomic<int> sentRan{0};
    const auto mainId = std::this_thread::get_id();
    std::atomic<bool> wrongThread{false};
    auto timer = p->StartPeriodicTimer(10, [&] {
        if (std::this_thread::get_id() == mainId) wrongThread = true;
        ++ticks;
        p->SendToMain([&] {
            if (std::this_thread::get_id() != mainId) wrongThread = true;
            ++sentRan;
        });
    });
    auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(300)) p->WaitEvent(5);
    // Stopping while the callback may be blocked in SendToMain must not
    // deadlock.
    timer.reset();
    // About 30 ticks; wide bounds, as a loaded machine delays threads.
    int n = ticks.load();
    EXPECT_GE(n, 5);
    EXPECT_LE(n, 60);
    EXPECT_GE(sentRan.load(), n - 1);
    EXPECT_FALSE(wrongThread.load());
}

TEST_F(SdlPlatformTest, PostFromAnotherThreadWakesTheWait) {
    auto p = CreateSdlPlatform();
    bool ran = false;
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        p->PostToMain([&] { ran = true; });
    });
    auto t0 = p->NowMillis();
    while (!ran && p->NowMillis() - t0 < 2000) p->WaitEvent(1000);
    poster.join();
    EXPECT_TRUE(ran);
    EXPECT_LT(p->NowMillis() - t0, 900u);
}

TEST_F(SdlPlatformTest, MessageBoxGoesToStderrWithoutBlocking) {
    auto p = CreateSdlPlatform();
    ::testing::internal::CaptureStderr();
    p->ShowMessageBox("Title", "Something went wrong", true);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Title: Something went wrong"), std::string::npos);
    // Game text in the code page (932 by default) comes out as UTF-8.
    ::testing::internal::CaptureStderr();
    p->ShowMessageBox("\x83\x65", "Cannot open \"\x83\x58\"", true);
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("\xE3\x83\x86: Cannot open \"\xE3\x82\xB9\""), std::string::npos);
}

static void RunAudioForAWhile(Platform& p) {
    g_audioFrames = 0;
    ASSERT_TRUE(p.OpenAudio([](int16_t* out, int frames) {
        for (int i = 0; i < frames * 2; ++i) out[i] = 0;
        g_audioFrames += frames;
    }));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    {
        AudioLock lock;  // holds the callback off
        long before = g_audioFrames;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(g_audioFrames.load(), before);
    }
    p.CloseAudio();
    // Real time: about 22050 frames in 0.5 s (one buffer either way, plus
    // what ran after the lock was released).
    EXPECT_GT(g_audioFrames.load(), 5000);
    EXPECT_LT(g_audioFrames.load(), 60000);
}

TEST_F(SdlPlatformTest, AudioCallbackRunsInRealTime) {
    SetPlatform(CreateSdlPlatform());
    RunAudioForAWhile(Sys());
    SetPlatform(nullptr);
}

TEST_F(SdlPlatformTest, AudioFallsBackToTheSilentDriver) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SetPlatform(CreateSdlPlatform());
    RunAudioForAWhile(Sys());
    SetPlatform(nullptr);
}

TEST_F(SdlPlatformTest, ErrorWhileMixingIsRaisedOnTheMainThread) {
    auto p = CreateSdlPlatform();
    ASSERT_TRUE(p->OpenAudio([](int16_t*, int) { throw std::runtime_error("bad sound"); }));
    std::string caught;
    auto start = std::chrono::steady_clock::now();
    while (caught.empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        try {
            p->WaitEvent(10);
        } catch (const std::runtime_error& e) {
            caught = e.what();
        }
    }
    EXPECT_EQ(caught, "bad sound");
    p->CloseAudio();
}
