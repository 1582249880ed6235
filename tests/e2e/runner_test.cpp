// The headless runner on the demo: the same keys play the same game (the
// townspeople walk at random), the seed is in the summary, and a PNG that
// cannot be written fails the run instead of being listed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "game/event/map_event.h"
#include "game/map/game_map.h"
#include "scenes/harness/harness.h"
#include "support/demo_game.h"

namespace fs = std::filesystem;

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

    // Runs the varnow_run program; answers its exit status and its output.
    struct Ran {
        int status = -1;
        std::string out, err;
    };
    Ran RunTool(const std::string& arguments) {
        const fs::path tool = fs::path(VARNOW_BINARY_DIR) / "varnow_run";
        Ran r;
        if (!fs::exists(tool)) return r;
        const std::string command = "\"" + tool.string() + "\" \"" + (dir_ / "game").string() + "\" " + arguments +
                                    " >\"" + (dir_ / "out.txt").string() + "\" 2>\"" + (dir_ / "err.txt").string() +
                                    "\"; echo $? >\"" + (dir_ / "status.txt").string() + "\"";
        if (std::system(command.c_str()) != 0) return r;
        auto read = [](const fs::path& p) {
            std::ifstream in(p);
            std::stringstream s;
            s << in.rdbuf();
            return s.str();
        };
        r.status = std::atoi(read(dir_ / "status.txt").c_str());
        r.out = read(dir_ / "out.txt");
        r.err = read(dir_ / "err.txt");
        return r;
    }

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
    Ran plain = RunTool("--frames 60 --png 50 --out \"" + dir_.path().string() + "\"");
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.out.find("seed 1\n"), std::string::npos) << plain.out;
    EXPECT_TRUE(fs::exists(dir_ / "frame_0050.png"));

    Ran seeded = RunTool("--frames 10 --seed 12345");
    EXPECT_EQ(seeded.status, 0) << seeded.err;
    EXPECT_NE(seeded.out.find("seed 12345\n"), std::string::npos) << seeded.out;
    EXPECT_EQ(RunTool("--frames 10 --seed twelve").status, 2);

    Ran missing = RunTool("--frames 60 --png 50 --out \"" + (dir_ / "no/such/folder").string() + "\"");
    EXPECT_NE(missing.status, 0);
    EXPECT_EQ(missing.out.find("png "), std::string::npos) << missing.out;
    EXPECT_NE(missing.err.find("no/such/folder"), std::string::npos) << missing.err;
    // A frame past the end of the run is no picture either.
    Ran late = RunTool("--frames 30 --png 50 --out \"" + dir_.path().string() + "\"");
    EXPECT_NE(late.status, 0);
    EXPECT_NE(late.err.find("frame 50"), std::string::npos) << late.err;
}
