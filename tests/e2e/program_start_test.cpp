// The built varnow program started as a user starts it: the usage, an
// option it does not know, a folder without a game, a game without its KVT
// folder and a code page it does not know, each with its message and status.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/test_paths.h"

namespace fs = std::filesystem;
using testing_support::RanProgram;
using testing_support::RunBuiltProgram;

TEST(Program, StartsOnlyWhereAGameIsAndSaysWhyNot) {
    testing_support::TempDir root;
    fs::create_directories(root / "empty");
    const std::vector<std::string> env = {"HOME=" + root.path().string(),
                                          "XDG_CONFIG_HOME=" + (root / "config").string(), "SDL_VIDEODRIVER=dummy",
                                          "SDL_AUDIODRIVER=dummy"};
    auto run = [&](const std::vector<std::string>& words, const fs::path& cwd,
                   std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), env.begin(), env.end());
        return RunBuiltProgram("varnow", words, cwd, root / "run", extra);
    };

    RanProgram r = run({"--help"}, root / "empty");
    if (r.status == -1) GTEST_SKIP() << "varnow was not built";
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: varnow", 0), 0u) << r.out;
    EXPECT_EQ(r.err, "");

    r = run({"--frames", "10"}, root / "empty");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("unknown option \"--frames\"\nUsage: varnow"), std::string::npos) << r.err;

    // Neither needs a display: nothing is said about one.
    for (const char* word : {"--help", "--frames"}) {
        r = RunBuiltProgram("varnow", {word}, root / "empty", root / "run",
                            {"-u", "SDL_VIDEODRIVER", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", env[0], env[1]});
        EXPECT_EQ(r.status, word == std::string("--help") ? 0 : 2);
        EXPECT_EQ(r.err.find("display"), std::string::npos) << r.err;
    }

    // No game here, also when a folder was named: the folder searched.
    for (const std::vector<std::string>& words : {std::vector<std::string>{}, {(root / "game").string()}}) {
        r = run(words, root / "empty");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("No game was found in the folder " + (root / "empty/").string()), std::string::npos)
            << r.err;
        EXPECT_EQ(r.err.find("Runtime Package"), std::string::npos) << r.err;
    }

    // A game (as far as the start goes) without its KVT folder: the
    // program's message, and where it looked.
    testing_support::WriteFile(root / "game/Varnow.ldb", "x");
    r = run({}, root / "game", {"VARNOW_CODEPAGE=abc"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The Zembra Runtime Package is not present or not registered."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find((root / "config/varnow/settings.ini").string() + " names none"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("VARNOW_CODEPAGE=\"abc\" is no code page varnow knows"), std::string::npos) << r.err;
}
