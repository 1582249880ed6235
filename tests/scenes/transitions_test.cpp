// The scene base: fades, the cross-fade's exact blend, transitions that
// keep painting while frames are skipped, clipped copies, and the game-over
// scene's key handling.
#include <gtest/gtest.h>

#include "data/errors.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "platform/headless/headless_platform.h"
#include "scenes/game_over/game_over_scene.h"
#include "scenes/scene.h"
#include "support/test_screen.h"

namespace {

constexpr uint64_t kFrame = 1'000'000 / 60;

// A scene whose picture is one colour (through FillRect, so brightness
// applies).
class FlatScene : public TLcfScene {
public:
    void Update() override {}
    void Draw() override { GameDraw->Board().FillRect(RectOfSize(0, 0, kWidth, kHeight), color); }
    uint32_t color = RgbColor(0, 0, 255);
};

class SceneBase : public ::testing::Test {
protected:
    void SetUp() override {
        auto p = std::make_unique<platform::HeadlessPlatform>();
        sys = p.get();
        platform::SetPlatform(std::move(p));
        testing_support::MakeTestScreen();
        GameInput = new TMultiInput();
        sys->display().onPresent = [this](const platform::CapturedFrame& f) { frames.push_back(f); };
    }
    void TearDown() override {
        delete GameInput;
        GameInput = nullptr;
        testing_support::DeleteTestScreen();
        platform::SetPlatform(nullptr);
    }
    // Frames of virtual time spent by fn.
    template <class F>
    int FramesOf(F fn) {
        GameDraw->WaitFrame();  // on the schedule: each later wait is one frame
        uint64_t t0 = sys->NowMicros();
        fn();
        return int((sys->NowMicros() - t0 + kFrame / 2) / kFrame);
    }
    uint16_t Pixel(int x, int y) { return GameDraw->Board().ScanLine(y)[x]; }

    platform::HeadlessPlatform* sys = nullptr;
    std::vector<platform::CapturedFrame> frames;
    FlatScene scene;
};

}  // namespace

TEST_F(SceneBase, FadeInFromBlackTakes34FramesAndBrightnessStepsBy3) {
    GameDraw->Board().Brightness = 0;
    GameDraw->ResetFrameTimer();
    EXPECT_EQ(FramesOf([&] { scene.ShowScreen(0); }), 34);
    EXPECT_EQ(GameDraw->Board().Brightness, 100);
    EXPECT_EQ(Pixel(10, 10), 0x001F);
    // A fade at its goal only draws once more.
    EXPECT_EQ(FramesOf([&] { scene.FadeIn(3); }), 0);
}

TEST_F(SceneBase, ShowScreenFromFullBrightnessCrossFadesWithTheExactBlend) {
    GameDraw->Board().FillRect(RectOfSize(0, 0, 320, 240), RgbColor(255, 0, 0));
    EXPECT_EQ(FramesOf([&] {
                  frames.clear();
                  scene.ShowScreen(0);
              }),
              41);
    ASSERT_EQ(frames.size(), 41u);
    // Frame 20: weight 128, l = 128: red (128*31)/256, blue (129*31)/256.
    uint16_t mixed = frames[20].pixels[0];
    EXPECT_EQ(mixed >> 11, 15);
    EXPECT_EQ(mixed & 31, 15);
    EXPECT_EQ(frames[40].pixels[0], 0x001F);
}

TEST_F(SceneBase, Type1WhileEveryFrameLagsStillEndsWithTheNewPicture) {
    GameDraw->Board().Clear();
    GameDraw->ResetFrameTimer();
    sys->Advance(12 * kFrame);
    // Each pump the clock runs a frame on, so the lag holds.
    sys->onPump = [this] { sys->Advance(kFrame); };
    frames.clear();
    scene.ShowScreen(1);
    sys->onPump = nullptr;
    EXPECT_TRUE(frames.empty());
    for (int y = 0; y < 240; y += 7)
        for (int x = 0; x < 320; x += 5) ASSERT_EQ(Pixel(x, y), 0x001F) << x << "," << y;
}

TEST_F(SceneBase, EveryTransitionShowsAndErasesCompletelyWithinTheScreen) {
    for (int type = 1; type <= 19; ++type) {
        GameDraw->Board().Brightness = 100;
        GameDraw->Board().Clear();
        scene.ShowScreen(type);
        // The blinds, stripes and dissolves end complete; the rest end on
        // their last frame, which is the whole new picture or nearly.
        if (type <= 7 || type == 19) {
            EXPECT_EQ(Pixel(0, 239), 0x001F) << type;
        }
        EXPECT_EQ(Pixel(160, 120), 0x001F) << type;
        scene.EraseScreen(type);
        EXPECT_EQ(GameDraw->Board().Brightness, 0) << type;
    }
}

TEST_F(SceneBase, EraseScreenType19BlacksAtOnceAndAShowThenFadesIn) {
    scene.Draw();
    EXPECT_EQ(FramesOf([&] { scene.EraseScreen(19); }), 0);
    EXPECT_EQ(GameDraw->Board().Brightness, 0);
    EXPECT_EQ(FramesOf([&] { scene.ShowScreen(0); }), 34);
}

TEST_F(SceneBase, FlashRunsTwentyFramesAndEndsAtNormalBrightness) {
    EXPECT_EQ(FramesOf([&] { scene.Flash(); }), 20);
    EXPECT_EQ(GameDraw->Board().Brightness, 100);
}

TEST_F(SceneBase, CopiesClipAtEveryEdge) {
    TSorvoBoard a, b;
    a.SetSize(320, 240);
    b.SetSize(320, 240);
    b.FillRect(RectOfSize(0, 0, 320, 240), RgbColor(255, 255, 255));
    CopyBoardRect(a, 0, -1, b, 0, -1, 320, 1);     // row -1
    CopyBoardRect(a, 0, 480, b, 0, 480, 320, 1);   // row 480
    CopyBoardRect(a, -400, -400, b, 0, 0, 2000, 2000);
    EXPECT_EQ(a.ScanLine(0)[0], 0);
    CopyBoardRect(a, 300, 230, b, 0, 0, 320, 240);
    EXPECT_EQ(a.ScanLine(239)[319], 0xFFFF);
    EXPECT_EQ(a.ScanLine(229)[319], 0);
    StretchBoard(a, b, 10, 10, 0, 0);  // the zoom's empty rectangle paints nothing
}

TEST_F(SceneBase, GameOverIgnoresAHeldKeyAndReturnsToTheTitleOnANewPress) {
    TLcfGameOverScene gameOver;
    sys->PressKey(platform::Key::Enter);
    GameDraw->WaitFrame();
    GameInput->Update();
    gameOver.Update();  // starts; the fade-in flushes the held key
    EXPECT_TRUE(gameOver.Started());
    for (int i = 0; i < 5; ++i) {
        GameDraw->WaitFrame();
        GameInput->Update();
        EXPECT_NO_THROW(gameOver.Update());
    }
    sys->ReleaseKey(platform::Key::Enter);
    GameDraw->WaitFrame();
    GameInput->Update();
    gameOver.Update();
    sys->PressKey(platform::Key::Enter);
    GameDraw->WaitFrame();
    GameInput->Update();
    bool reset = false;
    try {
        gameOver.Update();
    } catch (const ESorvoDrawReset&) {
        reset = true;
    }
    EXPECT_TRUE(reset);
    EXPECT_FALSE(gameOver.Started());
}
