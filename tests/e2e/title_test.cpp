// The title on the demo game: the window's place and size, HideTitle, the
// grey continue with no saves, and continue once a save exists.
#include <gtest/gtest.h>

#include "media/audio/audio_cantrel.h"
#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "scenes/title/title_scene.h"
#include "support/demo_game.h"

namespace {

class DemoTitle : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::WriteDemoGame(dir_.path())) GTEST_SKIP() << "mkdemo was not built";
    }
    THarnessOptions Options(int frames, std::vector<std::string> words = {}) {
        THarnessOptions o;
        o.gameFolder = dir_.path().string();
        o.frames = frames;
        o.words = std::move(words);
        return o;
    }
    testing_support::TempDir dir_;
};

}  // namespace

TEST_F(DemoTitle, WindowSitsBelowThePictureWithTheTitleMusic) {
    THarnessOptions o = Options(120, {"TestPlay"});
    int x = 0, y = 0, width = 0, playing = 0;
    o.inspect = [&] {
        x = TitleScene->Window().X();
        y = TitleScene->Window().Y();
        width = TitleScene->Window().Width();
        playing = CantrelMusicPlaying();
    };
    RunHarness(o);
    // Terms of 8 bytes each: 8 * 6 + 16 = 64 wide, centred at x 128.
    EXPECT_EQ(width, 64);
    EXPECT_EQ(x, 128);
    EXPECT_EQ(y, 148);
    EXPECT_NE(playing, 0);
}

TEST_F(DemoTitle, HideTitlePutsTheWindowAt88WithoutMusic) {
    THarnessOptions o = Options(60, {"TestPlay", "HideTitle"});
    int y = 0, playing = 1;
    bool open = false;
    o.inspect = [&] {
        y = TitleScene->Window().Y();
        open = TitleScene->Window().IsOpen();
        playing = CantrelMusicPlaying();
    };
    RunHarness(o);
    EXPECT_EQ(y, 88);
    EXPECT_TRUE(open);  // no opening animation
    EXPECT_EQ(playing, 0);
}

TEST_F(DemoTitle, ContinueWithoutSavesIsGreyAndStaysOnTheTitle) {
    THarnessOptions o = Options(120, {"TestPlay", "HideTitle"});
    ParseKeyScript("down@60 decision@80", o.keys);
    bool hasSave = true;
    int cursor = -1;
    o.inspect = [&] {
        hasSave = TitleScene->HasSave();
        cursor = TitleScene->Window().Cursor();
    };
    THarnessResult r = RunHarness(o);
    EXPECT_FALSE(hasSave);
    EXPECT_EQ(cursor, 1);
    EXPECT_EQ(r.sceneNumber, 6);
}

TEST_F(DemoTitle, ContinueWithASaveGoesToTheLoadScreenAndBackWithTheCursorOnContinue) {
    // First run: a new game saved to slot 1.
    THarnessOptions first = Options(200, {"TestPlay", "HideTitle"});
    first.saveSlot = 1;
    ParseKeyScript("decision@60", first.keys);
    ASSERT_TRUE(RunHarness(first).saved);
    // Second run: continue, then cancel the load screen.
    THarnessOptions o = Options(260, {"TestPlay", "HideTitle"});
    ParseKeyScript("down@60 decision@80 cancel@130", o.keys);
    bool hasSave = false;
    int cursor = -1;
    o.inspect = [&] {
        hasSave = TitleScene->HasSave();
        cursor = TitleScene->Window().Cursor();
    };
    THarnessResult r = RunHarness(o);
    EXPECT_TRUE(hasSave);
    EXPECT_EQ(r.sceneNumber, 6);
    EXPECT_EQ(cursor, 1);
}
