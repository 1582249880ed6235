// The soft reset on the demo through the harness: F12 while a message box is
// up leaves nothing of the box or its queued lines for the next game.
#include <gtest/gtest.h>

#include "game/system/game_system.h"
#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "scenes/title/title_scene.h"
#include "scenes/windows/message_window.h"
#include "support/demo_game.h"
#include "support/test_paths.h"

TEST(SoftReset, F12WithAMessageUpClosesTheBoxAndEmptiesItsQueue) {
    testing_support::TempDir dir;
    if (!e2e::WriteDemoGame(dir.path())) GTEST_SKIP() << "mkdemo was not built";
    THarnessOptions o;
    o.gameFolder = dir.path().string();
    o.words = {"TestPlay", "HideTitle"};
    o.frames = 1200;
    bool boxSeen = false, backAtTitle = false;
    int resetFrame = -1;
    o.driver = [&](int frame, const platform::CapturedFrame*, std::vector<std::string>& hold) {
        if (!GameSystem) return true;
        if (GameSystem->scene == 6 && TitleScene && TitleScene->Started()) {
            if (boxSeen) {
                // Back at the title after the reset: look a while, then stop.
                backAtTitle = true;
                return frame < resetFrame + 60;
            }
            if (TitleScene->Window().IsOpen() && frame % 4 == 0) hold.push_back("decision");
            return true;
        }
        if (GameSystem->scene == 0 && GameMessageWindow && GameMessageWindow->IsOpen()) boxSeen = true;
        if (boxSeen && resetFrame < 0) resetFrame = frame;
        if (boxSeen && frame < resetFrame + 5) hold.push_back("f12");
        return true;
    };
    bool visible = true, queued = true;
    o.inspect = [&] {
        visible = GameMessageWindow->IsVisible();
        queued = GameMessagePool->HasLines();
    };
    RunHarness(o);
    ASSERT_TRUE(boxSeen) << "the demo showed no message";
    ASSERT_TRUE(backAtTitle);
    EXPECT_FALSE(visible);
    EXPECT_FALSE(queued);
}
