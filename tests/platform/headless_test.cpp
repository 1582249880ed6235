// The headless backend's virtual clock, timers and key script: every later
// test of scenes relies on them being deterministic.
#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"

using namespace platform;

TEST(HeadlessPlatform, ClockMovesOnlyWhenAskedAndTimersFireInOrder) {
    HeadlessPlatform p;
    uint64_t start = p.NowMicros();
    std::vector<uint64_t> fired;
    auto timer = p.StartPeriodicTimer(10, [&] { fired.push_back(p.NowMicros() - start); });
    EXPECT_EQ(p.NowMicros(), start);
    p.SleepMicros(35'000);
    EXPECT_EQ(fired, (std::vector<uint64_t>{10'000, 20'000, 30'000}));
    timer.reset();
    p.SleepMicros(100'000);
    EXPECT_EQ(fired.size(), 3u);
}

TEST(HeadlessPlatform, TapBetweenPumpsIsNotLost) {
    HeadlessPlatform p;
    p.TapKey(Key::Enter);
    p.PumpEvents();
    EXPECT_FALSE(p.IsKeyHeld(Key::Enter));
    EXPECT_TRUE(p.TakeKeyWentDown(Key::Enter));
    EXPECT_FALSE(p.TakeKeyWentDown(Key::Enter));
}

TEST(HeadlessPlatform, ScheduledKeysArriveAtTheirTime) {
    HeadlessPlatform p;
    uint64_t t = p.NowMicros();
    p.PressKey(Key::Up, t + 5000);
    p.ReleaseKey(Key::Up, t + 9000);
    p.PumpEvents();
    EXPECT_FALSE(p.IsKeyHeld(Key::Up));
    p.SleepMicros(5000);
    p.PumpEvents();
    EXPECT_TRUE(p.IsKeyHeld(Key::Up));
    p.WaitEvent(100);  // jumps to the release
    EXPECT_EQ(p.NowMicros(), t + 9000);
    EXPECT_FALSE(p.IsKeyHeld(Key::Up));
}

TEST(HeadlessPlatform, FramesAndAudioAreCaptured) {
    HeadlessPlatform p;
    std::vector<uint16_t> pixels(320 * 240, 0xF800);
    p.GetDisplay().Present(pixels.data(), 320, 240, 320, Rect{0, 0, 320, 240});
    ASSERT_EQ(p.display().frames.size(), 1u);
    EXPECT_EQ(p.display().frames.back().pixels[100], 0xF800);
    EXPECT_TRUE(p.OpenAudio([](int16_t* out, int frames) {
        for (int i = 0; i < frames * 2; ++i) out[i] = 7;
    }));
    auto samples = p.RenderAudio(4);
    EXPECT_EQ(samples.size(), 8u);
    EXPECT_EQ(samples[7], 7);
}
