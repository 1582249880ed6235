// Battle animation drawing: the flash and shake tables, timing sounds, the
// image cache and the mirrored sheet, and where cells land.
#include <gtest/gtest.h>

#include <memory>

#include "graphics/animation_graphic.h"
#include "graphics/graphics_files.h"
#include "graphics_test_util.h"
#include "support/test_paths.h"

using namespace graphics_test;

namespace {

struct TimingSpec {
    int frame, scope, strength, shake = 0;
    const char* sound = "(OFF)";
};

std::unique_ptr<TLcfAnimationItem> Animation(std::vector<TimingSpec> timings, int frames = 10) {
    auto a = std::make_unique<TLcfAnimationItem>(1);
    a->image = "cells";
    a->frames.SetCount(frames);
    for (const TimingSpec& spec : timings) {
        TLcfAnimationTimingItem* t = a->timings.Add();
        t->frame = spec.frame;
        t->flashScope = uint8_t(spec.scope);
        t->flashRed = 31;
        t->flashGreen = 10;
        t->flashBlue = 5;
        t->flashStrength = spec.strength;
        t->shake = spec.shake;
        t->sound.name = spec.sound;
    }
    return a;
}

struct AnimationFixture {
    testing_support::TempDir dir;
    std::vector<std::string> lookups;
    TLcfAnimationGraphic a;
    std::vector<std::unique_ptr<TLcfAnimationItem>> held;  // outlive the renderer's pointer
    AnimationFixture() {
        SaveNoisePng((dir / "cells.png").string(), 480, 192, 5);
        SetGraphicsFileFinder([this](const std::string& folder, const std::string& name) {
            lookups.push_back(folder + "/" + name);
            return name.empty() ? std::string() : (dir / (name + ".png")).string();
        });
    }
    ~AnimationFixture() {
        SetGraphicsFileFinder(nullptr);
        TLcfAnimationGraphic::SetSoundPlayer(nullptr);
    }
    TLcfAnimationItem* Set(std::unique_ptr<TLcfAnimationItem> item, int mirrored = 0, bool timingsOff = false) {
        held.push_back(std::move(item));
        a.SetAnimation(held.back().get(), mirrored, timingsOff);
        return held.back().get();
    }
};

}  // namespace

TEST(AnimationGraphic, FlashAndShakeTables) {
    AnimationFixture f;
    TLcfAnimationGraphic& a = f.a;
    f.Set(Animation({{3, 1, 24}}));
    const int want[] = {28, 24, 20, 16, 12, 8};
    for (int j = 2; j <= 7; ++j) EXPECT_EQ(a.TargetFlash(j).strength, want[j - 2]) << j;
    EXPECT_EQ(a.TargetFlash(1).strength, 0);
    EXPECT_EQ(a.TargetFlash(8).strength, 0);
    EXPECT_EQ(a.TargetFlash(2), (AnimationFlash{31, 10, 5, 28}));
    EXPECT_EQ(a.ScreenFlash(2).strength, 0);

    // 7/6 of 31 is capped at 31; a screen flash goes to the other table;
    // shake is written even without a flash; later timings overwrite.
    f.Set(Animation({{1, 1, 31}, {2, 2, 12, 1}, {4, 0, 31, 2}, {3, 1, 6}}));
    EXPECT_EQ(a.TargetFlash(0).strength, 31);
    EXPECT_EQ(a.ScreenFlash(1).strength, 14);
    EXPECT_EQ(a.FrameShake(1), 1);
    EXPECT_EQ(a.FrameShake(3), 0);  // the last timing writes its shake 0 over frame 4's
    EXPECT_EQ(a.FrameShake(7), 0);
    EXPECT_EQ(a.FrameShake(8), 2);
    EXPECT_EQ(a.TargetFlash(3).strength, 6);  // frame 3's timing overwrote frame 1's fading flash
    EXPECT_EQ(a.TargetFlash(2).strength, 7);
    // The last timing in list order, not the largest frame.
    EXPECT_EQ(a.FlashFrameCount(), 3);

    // Out of the table: zero. Timings before frame 1 or past the end write
    // only the entries inside.
    EXPECT_EQ(a.TargetFlash(-1), AnimationFlash{});
    EXPECT_EQ(a.FrameShake(1000), 0);
    f.Set(Animation({{-2, 1, 31, 1}, {0, 1, 12}, {4, 1, 31}, {30, 1, 31, 2}, {12, 1, 31, 2}}, 2));
    EXPECT_EQ(a.TargetFlash(0).strength, 12);
    EXPECT_EQ(a.TargetFlash(1).strength, 10);
    EXPECT_EQ(a.TargetFlash(3).strength, 31);
    EXPECT_EQ(a.FrameShake(0), 0);
    EXPECT_EQ(a.FrameShake(11), 2);  // the table has 2 + 10 entries
    EXPECT_EQ(a.FlashFrameCount(), 12);
    f.Set(Animation({{30, 1, 31, 2}}, 2));
    EXPECT_EQ(a.FlashFrameCount(), 20);

    f.Set(Animation({{3, 1, 24, 1}}), 0, true);
    EXPECT_EQ(a.TargetFlash(2).strength, 0);
    EXPECT_EQ(a.FrameShake(2), 0);
    f.Set(Animation({}));
    EXPECT_EQ(a.FlashFrameCount(), 0);
    a.SetAnimation(nullptr, 0, false);
    EXPECT_EQ(a.FlashFrameCount(), 0);
    EXPECT_EQ(a.TargetFlash(0), AnimationFlash{});
}

TEST(AnimationGraphic, TimingSoundsAndTheImageCache) {
    AnimationFixture f;
    std::vector<std::string> played;
    TLcfAnimationGraphic::SetSoundPlayer([&](const TLcfSound& s) { played.push_back(s.name); });
    f.Set(Animation({{3, 0, 0, 0, "Slash"}, {3, 0, 0, 0, "(OFF)"}, {4, 0, 0, 0, "Boom"}, {3, 0, 0, 0, "Ring"}}));
    f.a.PlayTimingSounds(2);
    EXPECT_EQ(played, (std::vector<std::string>{"Slash", "Ring"}));
    f.a.PlayTimingSounds(9);
    EXPECT_EQ(played.size(), 2u);

    EXPECT_EQ(f.lookups, (std::vector<std::string>{"Battle/cells"}));
    f.Set(Animation({}), 1);  // same image: no reload
    EXPECT_EQ(f.lookups.size(), 1u);
    auto large = Animation({});
    large->large = 1;
    f.Set(std::move(large));  // same name, other folder
    EXPECT_EQ(f.lookups.back(), "Battle2/cells");
    EXPECT_EQ(f.lookups.size(), 2u);
}

TEST(AnimationGraphic, MirroredCellsAndDrawing) {
    AnimationFixture f;
    TLcfAnimationGraphic& a = f.a;
    auto view = Animation({{1, 1, 16}}, 3);
    TLcfAnimationCellItem* cell = view->frames.Items(0)->cells.Add();
    cell->pattern = 6;  // column 1, row 1
    cell->x = 10;
    view->frames.Items(0)->cells.Add()->visible = 0;
    TLcfAnimationItem* item = f.Set(std::move(view));
    TSorvoSheet& plain = a.Sheet();
    TSorvoSheet& mirror = a.MirroredSheet();
    ASSERT_EQ(plain.Width(), 480);
    // Every cell is mirrored in place.
    for (int y : {96, 150, 191})
        for (int x : {96, 120, 191}) EXPECT_EQ(At(mirror, x, y), At(plain, 96 + 191 - x, y));

    TSorvoBoard board;
    board.SetSize(320, 240);
    a.DrawFrame(board, 100, 100, 0, false);
    // Centre at (110, 100): the cell's top-left lands at (62, 52), drawn
    // with frame 0's target flash (16 x 7 / 6) on colour control 2.
    EXPECT_EQ(plain.ColorControl2.FlashStrength, 18);
    EXPECT_TRUE(BoardShows(board, 62, 52, plain, 96, 96, 96, 96));

    // Mirrored: the offset turns round (centre x 90) and the mirrored sheet is used.
    a.SetAnimation(item, 1, false);
    TSorvoBoard b3;
    b3.SetSize(320, 240);
    a.DrawFrame(b3, 100, 100, 0, false);
    EXPECT_TRUE(BoardShows(b3, 42, 52, mirror, 96, 96, 96, 96));

    // A flash given to DrawFrameToned stays for the next DrawFrame.
    a.DrawFrameToned(b3, 100, 100, 0, false, 31, 31, 31, 7.5);
    EXPECT_EQ(mirror.ColorControl1.FlashStrength, 8);
    a.DrawFrame(b3, 100, 100, 0, false);
    EXPECT_EQ(mirror.ColorControl1.FlashStrength, 8);
    // Frames outside the animation draw nothing.
    TSorvoBoard b4;
    b4.SetSize(320, 240);
    a.DrawFrame(b4, 100, 100, 3, false);
    a.DrawFrame(b4, 100, 100, -1, false);
    for (int y = 0; y < 240; y += 7)
        for (int x = 0; x < 320; x += 7) ASSERT_EQ(b4.ScanLine(y)[x], 0);
}
