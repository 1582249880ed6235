// The screen object on the headless backend: frame schedule, lag, the key
// commands, the window's close, fatal errors and the three layouts.
#include <new>

#include "headless_fixture.h"
#include "media/platform_errors.h"
#include "media/screen/sorvo_draw.h"

using platform::Key;
using platform::Rect;

namespace {

bool SameRect(Rect a, Rect b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

class SorvoDrawTest : public HeadlessTest {
protected:
    // As start-up sets it up, in a window.
    void SetUpLikeStartup(TSorvoDraw& draw) {
        draw.SetFrameRate(60);
        draw.SetMaxLag(20);
        draw.SetScreenZoom(true);
        draw.SetScreenMode(smWindow);
        draw.SetCaption("Test Game");
        draw.Initialize();
    }
    uint64_t Now() { return sys->NowMicros(); }
};

TEST_F(SorvoDrawTest, FramesAreReleasedOnAPerSecondScheduleRebasedEverySixtyFrames) {
    TSorvoDraw draw;
    SetUpLikeStartup(draw);
    draw.ResetFrameTimer();
    uint64_t base = Now();
    for (int i = 0; i < 150; ++i) {
        draw.WaitFrame();
        // Frame i of second s is due at base + 1000 s + 16.67 (i mod 60) ms
        // and released only once the clock is past it; frame 0 waits the
        // wait's 1 ms sleep.
        double due = 1'000'000.0 * (i / 60) + (i % 60) * (1'000'000.0 / 60);
        if (i == 0) due = 1000;
        double at = double(Now() - base);
        ASSERT_GT(at, due - (i == 0 ? 1 : 0)) << "frame " << i;
        ASSERT_LE(at, due + 3) << "frame " << i;
        // Just released, the next frame lies one interval ahead.
        EXPECT_EQ(draw.GetLag(), -1);
    }

    // A restart of the schedule in every frame (a game that plays music each
    // frame) never shortens one: a second still takes sixty frames.
    base = Now();
    for (int i = 1; i <= 60; ++i) {
        sys->Advance(2'000);
        draw.ResetFrameTimer();
        draw.ResetFrameTimer();
        draw.WaitFrame();
        ASSERT_NEAR(double(Now() - base), i * (1'000'000.0 / 60), 2) << "frame " << i;
    }
    // Behind its schedule, a restart starts afresh from now.
    sys->Advance(100'000);
    draw.ResetFrameTimer();
    EXPECT_EQ(draw.GetLag(), 0);
}

TEST_F(SorvoDrawTest, AFrameWaitSleepsOnceToTheDueTimeAndALateOneOnlyRests) {
    TSorvoDraw draw;
    SetUpLikeStartup(draw);
    draw.ResetFrameTimer();
    uint64_t base = Now();
    draw.WaitFrame();  // frame 0, due at once
    // 5 ms of game work a frame, over several seconds: the rest of a
    // millisecond is part of the one sleep to the due time, and every frame
    // is still released just past its time (the schedule's thirds of a
    // millisecond included, where rounding could make a sleep end at once).
    for (int i = 1; i <= 300; ++i) {
        sys->Advance(5'000);
        uint64_t sleeps = sys->sleepCount;
        draw.WaitFrame();
        ASSERT_EQ(sys->sleepCount - sleeps, 1u) << "frame " << i;
        double due = 1'000'000.0 * (i / 60) + (i % 60) * (1'000'000.0 / 60);
        double at = double(Now() - base);
        ASSERT_GT(at, due) << "frame " << i;
        ASSERT_LE(at, due + 2) << "frame " << i;
    }
    // A frame that is late (within MaxLag) rests its millisecond, once.
    sys->Advance(40'000);
    uint64_t sleeps = sys->sleepCount, t = Now();
    draw.WaitFrame();
    EXPECT_EQ(sys->sleepCount - sleeps, 1u);
    EXPECT_EQ(Now() - t, 1'000u);
}

TEST_F(SorvoDrawTest, AWaitStalledLongerThanTwoFramesRestartsTheSchedule) {
    TSorvoDraw draw;
    SetUpLikeStartup(draw);
    for (int i = 0; i < 5; ++i) draw.WaitFrame();
    // The process stands still for 100 ms inside the next wait.
    bool stalled = false;
    sys->onPump = [&] {
        if (!stalled) {
            stalled = true;
            sys->Advance(100'000);
        }
    };
    draw.WaitFrame();
    uint64_t stallEnd = Now();
    // No burst of catch-up frames: the schedule starts afresh from now.
    EXPECT_EQ(draw.GetLag(), 0);
    draw.WaitFrame();
    EXPECT_NEAR(double(Now() - stallEnd), 1000, 5);  // the new frame 0, after the 1 ms sleep
    uint64_t t = Now();
    draw.WaitFrame();
    EXPECT_NEAR(double(Now() - stallEnd), 16'667, 5);
    EXPECT_GT(Now() - t, 15'000u);
}

TEST_F(SorvoDrawTest, LagAboveMaxLagRestartsAtTheNextWaitAndBelowItFramesCatchUp) {
    TSorvoDraw draw;
    SetUpLikeStartup(draw);
    draw.WaitFrame();
    // 200 ms of game work: 11 frames behind, within MaxLag 20. The next
    // frames are released at once until the schedule is caught up.
    sys->Advance(200'000);
    EXPECT_EQ(draw.GetLag(), 11);
    uint64_t t = Now();
    draw.WaitFrame();
    EXPECT_LT(Now() - t, 2'000u);
    EXPECT_EQ(draw.GetLag(), 10);

    // Beyond MaxLag the schedule restarts instead.
    draw.SetMaxLag(4);
    sys->Advance(200'000);
    EXPECT_GT(draw.GetLag(), 4);
    draw.WaitFrame();
    EXPECT_EQ(draw.GetLag(), -1);
    t = Now();
    draw.WaitFrame();
    EXPECT_NEAR(double(Now() - t), 16'667, 5);
}

TEST_F(SorvoDrawTest, LagRoundsToNearestWithTiesToEvenAndSettersClamp) {
    TSorvoDraw draw;
    EXPECT_EQ(draw.FrameRate(), 20);
    EXPECT_EQ(draw.MaxLag(), 4);
    EXPECT_EQ(draw.ScreenMode(), smFullScreen);
    draw.SetFrameRate(0);
    draw.SetFrameRate(-5);
    EXPECT_EQ(draw.FrameRate(), 20);
    draw.SetMaxLag(0);
    EXPECT_EQ(draw.MaxLag(), 1);
    draw.SetMaxLag(1);
    EXPECT_EQ(draw.MaxLag(), 1);
    draw.SetMaxLag(2);
    EXPECT_EQ(draw.MaxLag(), 2);

    draw.ResetFrameTimer();  // interval 50 ms
    struct Case {
        uint64_t atMicros;
        int lag;
    } cases[] = {{24'000, 0}, {25'000, 0}, {26'000, 1}, {75'000, 2}, {125'000, 2}, {174'000, 3}, {175'000, 4}};
    uint64_t base = Now();
    for (const Case& c : cases) {
        sys->Advance(base + c.atMicros - Now());
        EXPECT_EQ(draw.GetLag(), c.lag) << c.atMicros;
    }
}

TEST_F(SorvoDrawTest, AnInactiveWindowHoldsTheGameUntilItHasFocusAgain) {
    TSorvoDraw draw;
    SetUpLikeStartup(draw);
    draw.WaitFrame();
    sys->active = false;
    platform::Event focus;
    focus.type = platform::Event::Type::FocusGained;
    uint64_t t = Now();
    sys->QueueEvent(focus, t + 700'000);
    draw.WaitFrame();
    EXPECT_GE(Now(), t + 700'000);
    EXPECT_TRUE(sys->IsActive());
    EXPECT_EQ(draw.GetLag(), -1);  // the schedule restarted on return
}

TEST_F(SorvoDrawTest, F12RaisesTheResetFromThePumpOnlyWhileTheGameRuns) {
    TSorvoDraw draw;
    SetUpLikeStartup(draw);
    // Outside the main loop F12 does nothing.
    sys->PressKey(Key::F12);
    sys->ReleaseKey(Key::F12, Now() + 5'000);
    for (int i = 0; i < 3; ++i) EXPECT_NO_THROW(draw.WaitFrame());

    int entries = 0;
    int framesInFirstEntry = 0;
    draw.OnMain = [&] {
        if (++entries == 1) {
            sys->PressKey(Key::F12, Now() + 100'000);
            for (;;) {
                draw.WaitFrame();
                ++framesInFirstEntry;
            }
        }
        draw.Terminate();
    };
    EXPECT_EQ(draw.Run(), 0);
    EXPECT_EQ(entries, 2);
    // Three frames went by before; F12 comes at 133 ms, after the frames
    // of 50, 67, 83, 100 and 117 ms.
    EXPECT_EQ(framesInFirstEntry, 5);
    EXPECT_TRUE(sys->messageBoxes.empty());
}

TEST_F(SorvoDrawTest, ClosingTheWindowAbortsTheWaitSilently) {
    TSorvoDraw draw;
    SetUpLikeStartup(draw);
    sys->RequestQuit(Now() + 40'000);
    int frames = 0;
    EXPECT_THROW(
        for (;;) {
            draw.WaitFrame();
            ++frames;
        },
        ESorvoDrawAbort);
    EXPECT_EQ(frames, 3);
    // Every later wait aborts too: nested loops cannot outlive the close.
    EXPECT_THROW(draw.WaitFrame(), ESorvoDrawAbort);

    TSorvoDraw again;
    SetUpLikeStartup(again);
    again.OnMain = [&] {
        sys->RequestQuit(Now() + 20'000);
        for (;;) again.WaitFrame();
    };
    EXPECT_EQ(again.Run(), 0);
    EXPECT_TRUE(sys->messageBoxes.empty());
}

TEST_F(SorvoDrawTest, FatalErrorsLeaveFullScreenAndShowTheirMessage) {
    {
        TSorvoDraw draw;
        draw.SetCaption("My Game");
        draw.Initialize();
        ASSERT_TRUE(sys->display().IsFullScreen());
        draw.OnMain = [&] { throw Exception("Broken map"); };
        EXPECT_EQ(draw.Run(), 1);
        EXPECT_FALSE(sys->display().IsFullScreen());
        ASSERT_EQ(sys->messageBoxes.size(), 1u);
        EXPECT_EQ(sys->messageBoxes[0].caption, "My Game");
        EXPECT_EQ(sys->messageBoxes[0].text, "Broken map");
        EXPECT_TRUE(sys->messageBoxes[0].isError);
    }
    {
        TSorvoDraw draw;
        draw.Initialize();
        draw.OnMain = [] { throw std::bad_alloc(); };
        EXPECT_EQ(draw.Run(), 1);
        ASSERT_EQ(sys->messageBoxes.size(), 2u);
        EXPECT_EQ(sys->messageBoxes[1].text, "Out of memory");
    }
}

TEST_F(SorvoDrawTest, ScreenKeysToggleModeAndZoomWithTheThreeLayouts) {
    TSorvoDraw draw;
    SetUpLikeStartup(draw);
    auto& display = sys->display();
    EXPECT_FALSE(display.IsFullScreen());
    EXPECT_EQ(display.LogicalWidth(), 640);
    EXPECT_TRUE(SameRect(draw.Destination(), {0, 0, 640, 480}));
    EXPECT_EQ(display.Caption(), "Test Game");
    int modeChanges = 0;
    draw.OnModeChange = [&] { ++modeChanges; };

    auto frame = [&] { draw.WaitFrame(); };
    draw.OnMain = [&] {
        // F4: full screen on the 320x240 logical screen.
        sys->PressKey(Key::F4);
        frame();
        EXPECT_EQ(draw.ScreenMode(), smFullScreen);
        EXPECT_TRUE(display.IsFullScreen());
        EXPECT_EQ(display.LogicalWidth(), 320);
        EXPECT_TRUE(SameRect(draw.Destination(), {0, 0, 320, 240}));
        sys->ReleaseKey(Key::F4);
        // Alt+F4 belongs to the window system; Alt+Enter toggles.
        sys->PressKey(Key::Alt);
        sys->PressKey(Key::F4);
        frame();
        EXPECT_EQ(draw.ScreenMode(), smFullScreen);
        sys->ReleaseKey(Key::F4);
        sys->PressKey(Key::Enter);
        frame();
        EXPECT_EQ(draw.ScreenMode(), smWindow);
        sys->ReleaseKey(Key::Enter);
        sys->ReleaseKey(Key::Alt);
        // The system's key repeat is no new press.
        platform::Event repeat;
        repeat.type = platform::Event::Type::KeyDown;
        repeat.key = Key::F4;
        repeat.repeat = true;
        sys->QueueEvent(repeat);
        frame();
        EXPECT_EQ(draw.ScreenMode(), smWindow);
        // F5: the window shrinks to 320x240.
        sys->PressKey(Key::F5);
        frame();
        EXPECT_FALSE(draw.ScreenZoom());
        EXPECT_EQ(display.LogicalWidth(), 320);
        EXPECT_TRUE(SameRect(draw.Destination(), {0, 0, 320, 240}));
        draw.Terminate();
        frame();
    };
    EXPECT_EQ(draw.Run(), 0);
    EXPECT_EQ(modeChanges, 3);
}

TEST_F(SorvoDrawTest, FullScreenWithoutTheLowResolutionFallsBackToCentredOrDoubled) {
    sys->display().acceptMode = [](int w, int, bool fullScreen) { return !(fullScreen && w == 320); };
    TSorvoDraw draw;
    draw.Initialize();
    EXPECT_FALSE(draw.LowResolution());
    EXPECT_EQ(sys->display().LogicalWidth(), 640);
    EXPECT_TRUE(SameRect(draw.Destination(), {160, 120, 320, 240}));
    EXPECT_TRUE(SameRect(draw.ScreenToDestination({10, 20, 100, 50}), {170, 140, 100, 50}));
    draw.SetScreenZoom(true);
    EXPECT_EQ(sys->display().LogicalWidth(), 640);
    EXPECT_TRUE(SameRect(draw.Destination(), {0, 0, 640, 480}));
    // Movies and other screen rectangles double with the picture.
    EXPECT_TRUE(SameRect(draw.ScreenToDestination({10, 20, 100, 50}), {20, 40, 200, 100}));

    // Flip shows the screen board; a picture of another pitch can be shown too.
    draw.Board().ScanLine(239)[319] = 0xF800;
    draw.Flip();
    ASSERT_EQ(sys->display().frames.size(), 1u);
    EXPECT_TRUE(SameRect(sys->display().frames.back().dest, {0, 0, 640, 480}));
    EXPECT_EQ(sys->display().frames.back().pixels[320 * 239 + 319], 0xF800);
    EXPECT_EQ(sys->display().frames.back().pixels[0], 0);
    std::vector<uint16_t> pixels(330 * 240, 0x07E0);
    draw.Flip(pixels.data(), 330);
    ASSERT_EQ(sys->display().frames.size(), 2u);
    EXPECT_EQ(sys->display().frames.back().pixels[320 * 239 + 319], 0x07E0);
    draw.Close();
    draw.Flip();
    EXPECT_EQ(sys->display().frames.size(), 2u);
    EXPECT_FALSE(sys->screenSaverInhibited);
}

TEST_F(SorvoDrawTest, NoFullScreenAtAllKeepsAWindowAndNoWindowRaisesWithTheBackendText) {
    sys->display().acceptMode = [](int, int, bool fullScreen) { return !fullScreen; };
    {
        TSorvoDraw draw;
        draw.Initialize();
        EXPECT_EQ(draw.ScreenMode(), smWindow);
        EXPECT_FALSE(sys->display().IsFullScreen());
        EXPECT_TRUE(sys->screenSaverInhibited);
    }
    sys->display().acceptMode = [](int, int, bool) { return false; };
    sys->lastErrorText = "No video device";
    TSorvoDraw draw;
    try {
        draw.Initialize();
        FAIL() << "no exception";
    } catch (const EDirectDrawError& e) {
        EXPECT_STREQ(e.what(), "DirectDraw Error(No video device)");
    }
}

}  // namespace
