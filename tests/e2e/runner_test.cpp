// The headless runner on the demo: the same keys play the same game (the
// townspeople walk at random), the seed is in the summary, and a PNG that
// cannot be written fails the run instead of being listed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "game/event/map_event.h"
#include "game/map/game_map.h"
#include "scenes/harness/harness.h"
#include "support/demo_game.h"
#include "support/run_program.h"

namespace fs = std::filesystem;
using testing_support::BuiltProgram;
using testing_support::Quoted;
using testing_support::RanProgram;
using testing_support::RunProgram;

namespace {

class DemoRunner : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::WriteDemoGame(dir_ / "game")) GTEST_SKIP() << "mkdemo was not built";
    }

    // A new game, the opening messages read, then the town left to itself
    // for a while; answers every map event's cell at the end.
    std::vector<std::pair<int32_t, int32_t>> Townspeople(std::optional<uint64_t> seed) {
        THarnessOptions o;
        o.gameFolder = (dir_ / "game").string();
        o.words = {"TestPlay", "HideTitle"};
        o.frames = 900;
        if (seed) o.seed = *seed;
        std::string keys = "decision@60-61";
        for (int f = 120; f < 400; f += 20) keys += " decision@" + std::to_string(f);
        EXPECT_TRUE(ParseKeyScript(keys, o.keys));
        std::vector<std::pair<int32_t, int32_t>> cells;
        o.inspect = [&] {
            for (int i = 0; GameMap && i < GameMap->events.Count(); ++i)
                cells.emplace_back(GameMap->events.Items(i)->x, GameMap->events.Items(i)->y);
        };
        THarnessResult r = RunHarness(o);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.sceneNumber, 0) << r.summary;
        return cells;
    }

    // Runs the varnow_run program on the game with the arguments; answers
    // its exit status and its output.
    RanProgram RunTool(const std::string& arguments, const std::string& environment = "") {
        if (!fs::exists(BuiltProgram("varnow_run"))) return {};
        return RunProgram(environment + " " + Quoted(BuiltProgram("varnow_run").string()) + " " +
                              Quoted((dir_ / "game").string()) + " " + arguments,
                          dir_.path());
    }
    std::string InDir(const std::string& name) { return Quoted((dir_ / name).string()); }

    testing_support::TempDir dir_;
};

}  // namespace

TEST_F(DemoRunner, TheSameKeysAndSeedWalkTheTownspeopleTheSameWayEveryRun) {
    const auto first = Townspeople(std::nullopt);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(Townspeople(std::nullopt), first);
    EXPECT_EQ(Townspeople(kDefaultHarnessSeed), first);
    // Another seed is another walk (one of two, to stay clear of a chance
    // meeting).
    EXPECT_TRUE(Townspeople(77) != first || Townspeople(78) != first);
}

TEST_F(DemoRunner, TheToolPrintsItsSeedAndFailsOnAPngItCannotWrite) {
    if (!fs::exists(fs::path(VARNOW_BINARY_DIR) / "varnow_run")) GTEST_SKIP() << "varnow_run was not built";
    RanProgram plain = RunTool("--frames 60 --png 50 --out \"" + dir_.path().string() + "\"");
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.out.find("seed 1\n"), std::string::npos) << plain.out;
    EXPECT_TRUE(fs::exists(dir_ / "frame_0050.png"));

    RanProgram seeded = RunTool("--frames 10 --seed 12345");
    EXPECT_EQ(seeded.status, 0) << seeded.err;
    EXPECT_NE(seeded.out.find("seed 12345\n"), std::string::npos) << seeded.out;
    EXPECT_EQ(RunTool("--frames 10 --seed twelve").status, 2);

    // The output folder is made when missing; one that cannot be is named,
    // with the reason, before anything is played.
    RanProgram made = RunTool("--frames 60 --png 50 --out " + InDir("no/such/folder"));
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(fs::exists(dir_ / "no/such/folder/frame_0050.png"));
    testing_support::WriteFile(dir_ / "file", "x");
    RanProgram blocked = RunTool("--frames 60 --png 50 --out " + InDir("file/sub"));
    EXPECT_EQ(blocked.status, 1);
    EXPECT_EQ(blocked.out, "");
    EXPECT_EQ(blocked.err, "varnow_run: cannot create the output folder " + (dir_ / "file/sub").string() +
                               ": Not a directory\n");
    // A frame past the end of the run is no picture either.
    RanProgram late = RunTool("--frames 30 --png 50 --out " + InDir(""));
    EXPECT_EQ(late.status, 2);
    EXPECT_NE(late.err.find("frame 50"), std::string::npos) << late.err;
}

TEST_F(DemoRunner, TheToolChecksEveryArgumentBeforeItPlays) {
    if (!fs::exists(BuiltProgram("varnow_run"))) GTEST_SKIP() << "varnow_run was not built";
    const std::string keyNames = "decision cancel up down left right shift ctrl f9 f12";
    for (const char* help : {"--help", "-h"}) {
        RanProgram r = RunProgram(Quoted(BuiltProgram("varnow_run").string()) + " " + help, dir_.path());
        EXPECT_EQ(r.status, 0) << help;
        EXPECT_EQ(r.out.rfind("usage: varnow_run GAME_FOLDER", 0), 0u) << r.out;
        EXPECT_NE(r.out.find(keyNames), std::string::npos) << r.out;
        EXPECT_EQ(r.err, "");
    }
    // Each is refused with its reason and the usage, status 2, and the game
    // never starts (it would print its summary).
    const std::pair<std::string, std::string> bad[] = {
        {"--frames abc", "--frames takes a number of frames from 1, not \"abc\""},
        {"--frames 0", "--frames takes a number of frames from 1, not \"0\""},
        {"--frames", "--frames needs a value"},
        {"--png abc", "--png takes frame numbers separated by commas, not \"abc\""},
        {"--png 10,,20", "--png takes frame numbers separated by commas, not \"10,,20\""},
        {"--keys decision@10-5", "frame range ends before it starts in \"decision@10-5\""},
        {"--keys decision@10x", "bad frame range in \"decision@10x\" (KEY@FRAME or KEY@FIRST-LAST, frames from 0)"},
        {"--keys decision", "no frame in \"decision\" (KEY@FRAME or KEY@FIRST-LAST)"},
        {"--keys jump@5", "unknown key \"jump\" in \"jump@5\" (the keys: " + keyNames + ")"},
        {"--save 0", "--save takes a slot from 1 to 15, not \"0\""},
        {"--save 1000", "--save takes a slot from 1 to 15, not \"1000\""},
        {"--seed -1", "--seed takes a whole number from 0, not \"-1\""},
        {"--fast", "unknown option --fast"},
        {"other", "one game folder only, but also \"other\""},
    };
    for (const auto& [arguments, why] : bad) {
        RanProgram r = RunTool(arguments);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_EQ(r.out, "") << arguments;
        EXPECT_EQ(r.err.rfind("varnow_run: " + why + "\nusage: varnow_run GAME_FOLDER", 0), 0u) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir_ / "game/Save1000.lsd"));
    RanProgram none = RunProgram(Quoted(BuiltProgram("varnow_run").string()) + " " + InDir("nothing"), dir_.path());
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err.rfind("varnow_run: no such folder: " + (dir_ / "nothing").string() + "\n", 0), 0u)
        << none.err;
}

TEST_F(DemoRunner, TheSameKeysWriteTheSameSaveAndAFailedSaveSaysWhy) {
    if (!fs::exists(BuiltProgram("varnow_run"))) GTEST_SKIP() << "varnow_run was not built";
    const std::string run = "--frames 300 --words \"TestPlay HideTitle\" --keys \"decision@60-61 left@150-170\"";
    RanProgram first = RunTool(run + " --save 1 --out " + InDir("out"));
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out.find("saved slot 1\n"), std::string::npos) << first.out;
    fs::rename(dir_ / "game/Save01.lsd", dir_ / "first.lsd");
    // The wall clock moves on to another second; the save must not.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    RanProgram second = RunTool(run + " --save 1 --out " + InDir("out"));
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(RunProgram("cmp " + InDir("first.lsd") + " " + InDir("game/Save01.lsd"), dir_.path()).status, 0);

    // A folder where the save goes: the path and the system's reason.
    fs::create_directories(dir_ / "game/Save02.lsd");
    RanProgram failed = RunTool(run + " --save 2 --out " + InDir("out"));
    EXPECT_EQ(failed.status, 1);
    const std::string why = "Cannot replace \"" + (dir_ / "game/Save02.lsd").string() + "\": Is a directory";
    EXPECT_NE(failed.out.find("saved slot 2 FAILED: " + why + "\n"), std::string::npos) << failed.out;
    EXPECT_NE(failed.err.find("varnow_run: the save to slot 2 failed: " + why + "\n"), std::string::npos)
        << failed.err;
}

TEST_F(DemoRunner, TheToolKeepsItsSettingsApartFromTheUsers) {
    if (!fs::exists(BuiltProgram("varnow_run"))) GTEST_SKIP() << "varnow_run was not built";
    // A game that needs a shared asset folder and ships one: the folder is
    // remembered, in the runner's own file.
    testing_support::WriteFile(dir_ / "game/Varnow.ini", "[Varnow]\r\nGameTitle=Needs KVT\r\n");
    fs::create_directories(dir_ / "game/KVT");
    const std::string user = "env -u XDG_CONFIG_HOME HOME=" + InDir("home");
    RanProgram own = RunTool("--frames 30 --out " + InDir("out"), user);
    EXPECT_EQ(own.status, 0) << own.err;
    EXPECT_FALSE(fs::exists(dir_ / "home/.config/varnow/settings.ini"));
    std::ifstream remembered(dir_ / "out/varnow_run_settings.ini");
    std::stringstream text;
    text << remembered.rdbuf();
    EXPECT_NE(text.str().find("RuntimePackagePath=" + (dir_ / "game/KVT").string()), std::string::npos)
        << text.str();
    RanProgram named = RunTool("--frames 30 --settings " + InDir("mine.ini"), user);
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_TRUE(fs::exists(dir_ / "mine.ini"));
    EXPECT_FALSE(fs::exists(dir_ / "home/.config/varnow/settings.ini"));

    // Nor is the user's read: a folder remembered there does not stand in
    // for the one the game lacks.
    fs::remove_all(dir_ / "game/KVT");
    fs::create_directories(dir_ / "userkvt");
    testing_support::WriteFile(dir_ / "home/.config/varnow/settings.ini",
                               "[Software\\Korvella\\Zembra]\nRuntimePackagePath=" + (dir_ / "userkvt").string() + "\n");
    RanProgram apart = RunTool("--frames 30 --out " + InDir("out2"), user);
    EXPECT_EQ(apart.status, 1) << apart.out;
    EXPECT_EQ(apart.out.find("scene "), std::string::npos) << apart.out;
}
