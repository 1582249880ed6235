// The real program where no display can be reached: it says so and ends,
// instead of playing unseen on a driver that shows nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/demo_game.h"
#include "support/run_program.h"
#include "support/test_paths.h"

namespace fs = std::filesystem;
using testing_support::BuiltProgram;
using testing_support::Quoted;

TEST(NoDisplay, TheProgramSaysThatADisplayIsNeededAndEndsWithStatus1) {
    if (!fs::exists(BuiltProgram("varnow"))) GTEST_SKIP() << "varnow was not built";
    testing_support::TempDir dir;
    ASSERT_TRUE(e2e::WriteDemoGame(dir / "game"));
    // No display at all, and one that names no running server. The time
    // limit ends a program that plays on unseen (status 124).
    for (const char* display : {"-u DISPLAY", "DISPLAY=:97"}) {
        const std::string command = "cd " + Quoted((dir / "game").string()) +
                                    " && env -u SDL_VIDEODRIVER -u WAYLAND_DISPLAY " + display +
                                    " SDL_AUDIODRIVER=dummy timeout 20 " + Quoted(BuiltProgram("varnow").string()) + " \"\" \"\" Window";
        auto r = testing_support::RunProgram(command, dir.path());
        EXPECT_EQ(r.status, 1) << display;
        EXPECT_NE(r.err.find("varnow: no display: DISPLAY (or WAYLAND_DISPLAY) is not set or names no running "
                             "display; Varnow needs a graphical session\n"),
                  std::string::npos)
            << display << ": " << r.err;
    }
}
