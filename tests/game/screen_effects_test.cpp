// Screen effects: the tone fade, flashes, shakes, weather (every kind at
// every strength drawn with ASan watching), the battle animation on the map
// and the saved record.
#include <gtest/gtest.h>

#include <map>

#include "data/database/animation.h"
#include "data/database/database.h"
#include "effects_fixture.h"
#include "game/screen/game_screen.h"
#include "game/screen/screen_layers.h"
#include "graphics/animation_graphic.h"
#include "media/board/board.h"

using namespace effects_test;

namespace {

struct FakeTargets : IMapAnimationTargets {
    std::map<int32_t, std::pair<int32_t, int32_t>> where{{IMapAnimationTargets::kParty, {160, 128}}, {5, {40, 64}}};
    int flashes = 0;
    int32_t lastStrength = -1;
    bool TargetExists(int32_t target) const override { return where.count(target) != 0; }
    bool TargetScreenPosition(int32_t target, int32_t& x, int32_t& y) const override {
        auto it = where.find(target);
        if (it == where.end()) return false;
        x = it->second.first;
        y = it->second.second;
        return true;
    }
    void FlashTarget(int32_t, int32_t, int32_t, int32_t, int32_t strength) override {
        ++flashes;
        lastStrength = strength;
    }
};

struct ScreenTest : EffectsFixture {
    TLcfgScreen screen;
    TSorvoBoard board;
    ScreenTest() { board.SetSize(320, 240); }
};

TEST_F(ScreenTest, TintReachesItsTargetExactlyOnTheLastUpdate) {
    screen.StartTint(0, 50, 200, 20, 30);
    for (int i = 1; i < 30; ++i) {
        screen.Update();
        ASSERT_NE(screen.tone[0], 0) << i;
    }
    screen.Update();
    EXPECT_EQ(screen.tone[0], 0);
    EXPECT_EQ(screen.tone[2], 200);
    EXPECT_EQ(screen.TintSaturation(), 20);

    screen.StartTint(100, 100, 100, 100, 0);
    EXPECT_EQ(screen.TintRed(), 100);  // at once
    screen.tone[0] = 100.5;
    screen.tone[1] = 101.5;
    EXPECT_EQ(screen.TintRed(), 100);  // ties go to the even neighbour
    EXPECT_EQ(screen.TintGreen(), 102);
}

TEST_F(ScreenTest, RepeatingFlashRestartsAndStopFlashEndsIt) {
    screen.StartFlash(31, 0, 0, 30, 10, TLcfgScreen::kFlashRepeat);
    for (int i = 0; i < 9; ++i) screen.Update();
    EXPECT_LT(screen.flashStrength, 30);
    EXPECT_GT(screen.flashStrength, 0);
    screen.Update();  // frames ran out: start again
    EXPECT_EQ(screen.flashStrength, 30);
    EXPECT_EQ(screen.flashFrames, 10);
    screen.Update();
    screen.StopFlash();
    screen.Update();
    EXPECT_EQ(screen.FlashStrength(), 0);
    screen.Update();
    EXPECT_EQ(screen.FlashStrength(), 0);
}

TEST_F(ScreenTest, ShakeStepsTowardTheSineAndModeTwoNeverEnds) {
    screen.StartShake(5, 5, 100, TLcfgScreen::kShakeUntilStopped);
    int32_t previous = 0, widest = 0;
    for (int i = 0; i < 400; ++i) {
        screen.Update();
        ASSERT_LE(std::abs(screen.shakeX - previous), 5 * 5 / 4 + 1);
        ASSERT_LE(std::abs(screen.shakeX), 11);
        ASSERT_EQ(screen.shakeY, 0);
        widest = std::max(widest, std::abs(screen.shakeX));
        previous = screen.shakeX;
    }
    EXPECT_GT(widest, 5);
    // Stopping a mode-2 shake only empties its frames, which Update refills.
    screen.StopShake();
    screen.Update();
    EXPECT_EQ(screen.shakeFrames, 65535);
    // The command's endless shake (mode 1, 65535 frames) does stop.
    screen.StartShake(5, 5, 65535, 1);
    screen.Update();
    screen.StopShake();
    screen.Update();
    EXPECT_EQ(screen.shakeX, 0);
    // Huge strengths and speeds from a script keep the offset within its
    // limit, and the mist and a loaded record add it without overflowing.
    screen.SetWeather(TLcfgScreen::kFog, 2);
    for (int32_t strength : {INT32_MAX, INT32_MIN}) {
        screen.StartShake(strength, INT32_MAX, 30, 0);
        for (int i = 0; i < 30; ++i) {
            screen.Update();
            ASSERT_LE(std::abs(screen.shakeX), TLcfgScreen::kShakeLimit);
            screen.DrawEffects(board);
        }
    }
    TLcfgScreen hostile;
    hostile.shakeX = INT32_MAX;
    hostile.shakeY = INT32_MIN;
    ByteWriter w;
    hostile.SaveToStream(w);
    ByteReader r(w.Bytes());
    screen.LoadFromStream(r);
    EXPECT_EQ(screen.shakeX, TLcfgScreen::kShakeLimit);
    EXPECT_EQ(screen.shakeY, -TLcfgScreen::kShakeLimit);
}

TEST_F(ScreenTest, WeatherStrengthAndKindAreKeptInRange) {
    screen.SetWeather(1, 9);
    EXPECT_EQ(screen.weatherStrength, 2);
    screen.SetWeather(7, -3);
    EXPECT_EQ(screen.weatherKind, 4);
    EXPECT_EQ(screen.weatherStrength, 0);

    TLcfgScreen hostile;
    hostile.weatherKind = 4;
    hostile.weatherStrength = 200;
    hostile.weatherX = -77;
    ByteWriter w;
    hostile.SaveToStream(w);
    ByteReader r(w.Bytes());
    screen.LoadFromStream(r);
    EXPECT_EQ(screen.weatherStrength, 2);
    EXPECT_EQ(screen.weatherX, 5120 - 77);
    screen.Update();
    screen.DrawEffects(board);
}

TEST_F(ScreenTest, EveryWeatherKindAtEveryStrengthDrawsInsideTheBoard) {
    for (int kind = 1; kind <= 4; ++kind)
        for (int strength = 0; strength <= 2; ++strength) {
            screen.Clear();
            screen.SetWeather(kind, strength);
            screen.StartShake(9, 9, 100, 0);
            for (int i = 0; i < 300; ++i) {
                screen.Update();
                screen.ScrollRight(37);
                screen.ScrollDown(53);
                screen.DrawEffects(board);
            }
            ASSERT_GE(screen.weatherX, 0);
            ASSERT_LT(screen.weatherY, 2560);
        }
}

TEST_F(ScreenTest, FogLayersAreTheMistCellRepeated) {
    screen.SetWeather(TLcfgScreen::kFog, 2);
    screen.StartShake(4, 4, 10, 0);
    for (int i = 0; i < 3; ++i) screen.Update();
    const int32_t shake = screen.shakeX;
    ASSERT_NE(shake, 0);
    screen.DrawEffects(board);  // the first draw: both counters at 1

    // The layers cell by cell from the 16x16 mist sheet.
    TSorvoBoard expected;
    expected.SetSize(320, 240);
    TSorvoSheet& mist = screen.MistSheet();
    mist.Opacity = 96;
    for (int row = 0; row <= 14; ++row)
        for (int col = -16; col <= 19; ++col) expected.Draw(col * 16 + shake, row * 16, mist, TRect(0, 0, 16, 16));
    mist.Opacity = 160;
    for (int row = -16; row <= 15; ++row)
        for (int col = 0; col <= 20; ++col) expected.Draw(col * 16 + shake, row * 16 - 4, mist, TRect(0, 0, 16, 16));
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) ASSERT_EQ(board.ScanLine(y)[x], expected.ScanLine(y)[x]) << x << "," << y;
}

TEST_F(ScreenTest, RainConsidersTwentyToAHundredParticles) {
    for (int strength : {0, 2}) {
        screen.Clear();
        screen.SetWeather(TLcfgScreen::kRain, strength);
        for (int i = 1; i <= 255; ++i) screen.Particle(i) = TLcfgWeatherParticle{};
        // One living particle just past the counted range, one inside it.
        const int inside = 40 * strength + 20;
        screen.Particle(inside) = TLcfgWeatherParticle{6, 100, 50, 0};
        screen.Particle(inside + 1) = TLcfgWeatherParticle{6, 200, 50, 0};
        board.Clear();
        screen.DrawEffects(board);
        EXPECT_NE(board.ScanLine(50)[105], 0);
        EXPECT_EQ(board.ScanLine(50)[205], 0);
    }
}

TEST_F(ScreenTest, WeatherLayerScrollsWithTheView) {
    screen.ScrollLeft(10);
    EXPECT_EQ(screen.weatherX, 5110);
    screen.ScrollUp(2565);
    EXPECT_EQ(screen.weatherY, 5);
    screen.ScrollDown(6);
    EXPECT_EQ(screen.weatherY, 2559);
}

struct MapAnimationTest : ScreenTest {
    TLcfAnimation animations;
    TLcfAnimation* savedDb = DbAnimation;
    FakeTargets targets;
    int sounds = 0;
    MapAnimationTest() {
        Image("cells", 480, 192);
        TLcfAnimationItem* a = animations.GetOrCreate(1);
        a->image = "cells";
        a->frames.SetCount(10);
        TLcfAnimationTimingItem* t = a->timings.Add();
        t->frame = 2;
        t->flashScope = TLcfAnimationTimingItem::kScreen;
        t->flashStrength = 18;
        t->sound.name = "boom";
        TLcfAnimationTimingItem* u = a->timings.Add();
        u->frame = 4;
        u->flashScope = TLcfAnimationTimingItem::kTarget;
        u->flashStrength = 12;
        u->sound.name = "(OFF)";
        DbAnimation = &animations;
        GameMapAnimationTargets = &targets;
        TLcfAnimationGraphic::SetSoundPlayer([this](const TLcfSound&) { ++sounds; });
    }
    ~MapAnimationTest() override {
        DbAnimation = savedDb;
        GameMapAnimationTargets = nullptr;
        TLcfAnimationGraphic::SetSoundPlayer(nullptr);
    }
};

TEST_F(MapAnimationTest, TenFramesRunTwentyUpdatesWithFlashesAndSounds) {
    screen.ShowMapAnimation(1, 0, false, 5);
    int ran = 0, strongest = 0;
    while (screen.animationRunning && ran < 100) {
        screen.Update();
        screen.DrawMapAnimation(board);
        strongest = std::max(strongest, screen.FlashStrength());
        ++ran;
    }
    EXPECT_EQ(ran, 20);
    EXPECT_EQ(sounds, 1);  // the timing at frame 2 plays once, on an odd counter
    EXPECT_EQ(strongest, 21);  // 18 * 7 / 6 at the timing's own frame
    EXPECT_EQ(targets.flashes, 19);
    EXPECT_EQ(targets.lastStrength, 0);

    screen.ShowMapAnimation(1, 1, true, IMapAnimationTargets::kParty);
    screen.Update();
    screen.DrawMapAnimation(board);
    // A target at the far edge of the screen positions, under a shake.
    targets.where[5] = {INT32_MAX, INT32_MIN};
    screen.shakeX = screen.shakeY = TLcfgScreen::kShakeLimit;
    screen.ShowMapAnimation(1, 0, false, 5);
    screen.DrawMapAnimation(board);
    screen.ShowMapAnimation(1, 0, true, 5);
    screen.DrawMapAnimation(board);
    EXPECT_THROW(screen.ShowMapAnimation(1, 0, false, 99), Exception);
}

TEST_F(MapAnimationTest, ReloadStopsWhenTheTargetHasGoneAndARebuiltMapStopsIt) {
    screen.ShowMapAnimation(1, 0, false, 5);
    screen.Update();
    ByteWriter w;
    screen.SaveToStream(w);

    targets.where.erase(5);  // the game was edited: event 5 is gone
    TLcfgScreen loaded;
    ByteReader r(w.Bytes());
    loaded.LoadFromStream(r);
    EXPECT_TRUE(loaded.animationRunning);
    EXPECT_NO_THROW(loaded.ReloadMapAnimation());
    EXPECT_FALSE(loaded.animationRunning);

    screen.ShowMapAnimation(1, 0, false, IMapAnimationTargets::kParty);
    screen.MapRebuilt();
    EXPECT_FALSE(screen.animationRunning);
    screen.Update();
    screen.DrawMapAnimation(board);
}

TEST_F(ScreenTest, SavedRecordRoundTrips) {
    screen.StartTint(10, 20, 30, 40, 7);
    screen.Update();
    screen.StartFlash(1, 2, 3, 25, 9, 1);
    screen.StartShake(3, 4, 50, 2);
    screen.SetWeather(2, 1);
    screen.ScrollRight(99);
    screen.Update();
    ByteWriter w;
    screen.SaveToStream(w);
    TLcfgScreen copy;
    ByteReader r(w.Bytes());
    copy.LoadFromStream(r);
    ByteWriter again;
    copy.SaveToStream(again);
    EXPECT_EQ(w.Bytes(), again.Bytes());
    EXPECT_EQ(copy.tone[0], screen.tone[0]);
    EXPECT_EQ(copy.shakeMode, 2);
    EXPECT_EQ(copy.weatherKind, 2);
    EXPECT_EQ(copy.weatherX, 99);
}

TEST(ScreenLayers, ScrollReachesOnlyTheLayersThatExist) {
    ScrollScreenLayers(16, -16);  // none made: nothing happens
    TLcfgScreen screen;
    GameScreen = &screen;
    ScrollScreenLayers(-32, 48);
    GameScreen = nullptr;
    EXPECT_EQ(screen.weatherX, 5120 - 32);
    EXPECT_EQ(screen.weatherY, 2560 - 48);
}

}  // namespace
