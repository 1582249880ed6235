// The whole program on the demo game through the harness: logo, title, new
// game; F12 back to the title; HideTitle; a save at the end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "scenes/title/title_scene.h"
#include "support/demo_game.h"

namespace fs = std::filesystem;

namespace {

class DemoEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::WriteDemoGame(dir_.path())) GTEST_SKIP() << "mkdemo was not built";
    }
    THarnessOptions Options(int frames) {
        THarnessOptions o;
        o.gameFolder = dir_.path().string();
        o.frames = frames;
        // Frames to look at by eye when asked for.
        if (const char* out = std::getenv("VARNOW_E2E_PNG")) o.pngFolder = out;
        return o;
    }
    testing_support::TempDir dir_;
};

}  // namespace

TEST_F(DemoEndToEnd, LogoThenTitleThenNewGameReachesTheStartMap) {
    THarnessOptions o = Options(700);
    // The logo runs about 10 + 10 + 20 + 60 + 10 frames; the title then
    // fades in. Decision on frame 400 picks "new game".
    ParseKeyScript("decision@400-402", o.keys);
    o.pngFrames = {60, 90, 300, 420, 690};
    THarnessResult r = RunHarness(o);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.messageBoxes.empty()) << (r.messageBoxes.empty() ? "" : r.messageBoxes[0].text);
    EXPECT_EQ(r.sceneNumber, 0) << r.summary;
    EXPECT_EQ(r.mapId, e2e::StartMapOf(dir_.path()));
    EXPECT_GT(r.titleMicros, 0u);
    EXPECT_NE(r.summary.find("scene 0"), std::string::npos);
}

TEST_F(DemoEndToEnd, WithoutKeysTheTitleWaitsAndF12ReturnsToIt) {
    THarnessOptions o = Options(600);
    // New game, then F12 held on the field brings the title back.
    ParseKeyScript("decision@400-401 f12@560-565", o.keys);
    THarnessResult r = RunHarness(o);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.sceneNumber, 6) << r.summary;
}

TEST_F(DemoEndToEnd, HoldingDecisionSkipsTheLogoWithoutChoosingACommand) {
    THarnessOptions o = Options(260);
    ParseKeyScript("decision@40-120", o.keys);
    THarnessResult r = RunHarness(o);
    EXPECT_EQ(r.sceneNumber, 6) << r.summary;
    // Held through the logo: the title came early and still waits.
    EXPECT_LT(r.titleMicros, 2'400'000u);
}

TEST_F(DemoEndToEnd, TestPlaySkipsTheLogoAndSavesToASlot) {
    THarnessOptions o = Options(300);
    o.words = {"TestPlay", "HideTitle"};
    o.saveSlot = 3;
    ParseKeyScript("decision@150", o.keys);
    THarnessResult r = RunHarness(o);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.sceneNumber, 0) << r.summary;
    EXPECT_TRUE(r.saved);
    EXPECT_TRUE(fs::exists(dir_.path() / "Save03.lsd"));
}

TEST_F(DemoEndToEnd, TheTitleComesBackTwentyFramesAfterF12IsLetGo) {
    // New game at frame 60, then F12 held from 200 through 300.
    auto run = [&](int frames) {
        THarnessOptions o = Options(frames);
        o.words = {"TestPlay", "HideTitle"};
        ParseKeyScript("decision@60 f12@200-300", o.keys);
        bool started = true;
        o.inspect = [&] { started = TitleScene->Started(); };
        RunHarness(o);
        return started;
    };
    EXPECT_FALSE(run(315));
    EXPECT_TRUE(run(330));
}

TEST_F(DemoEndToEnd, BadBattleTestWordsEndWithTheMonsterGroupMessageAndSayTheWordsOnStderr) {
    // The box always keeps the program's message; stderr says what was
    // wrong and which words a battle test takes.
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"BattleTest"}, "TROOP (word 4) is missing"},
        {{"BattleTest", "", "Window", "abc", "0", "0", "0"}, "TROOP (word 4) is \"abc\", no whole number"},
        {{"BattleTest", "", "Window", "1", "0", "0", "x"}, "TERRAIN (word 7) is \"x\""},
        {{"BattleTest", "", "Window", "99", "0", "0", "0"}, "there is no monster group 99"},
    };
    for (const auto& [words, note] : cases) {
        THarnessOptions o = Options(120);
        o.words = words;
        testing::internal::CaptureStderr();
        THarnessResult r = RunHarness(o);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(r.exitCode, 0) << note;
        ASSERT_EQ(r.messageBoxes.size(), 1u) << note;
        EXPECT_EQ(r.messageBoxes[0].text, "Event script referenced a monster group that does not exist.");
        EXPECT_NE(err.find("varnow: battle test: " + note), std::string::npos) << err;
        EXPECT_NE(err.find("varnow BattleTest WORD2 WORD3 TROOP FORMATION CONDITION TERRAIN"), std::string::npos)
            << err;
    }
}

TEST_F(DemoEndToEnd, BattleTestFightsOnAutoAndEndsTheProgramAfterTheVictory) {
    THarnessOptions o = Options(4000);
    o.words = {"BattleTest", "", "", "1", "0", "0", "0"};
    // The party command opens once the start is over: "Auto".
    o.keys = {{"down", 300, 301}, {"decision", 320, 321}};
    THarnessResult r = RunHarness(o);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.messageBoxes.empty());
    EXPECT_EQ(r.sceneNumber, 7);  // the battle ended, and with it the loop
    EXPECT_GT(r.gold, 0);          // the troop's gold was won
    EXPECT_LT(r.presentCount, 3900);
}
