#pragma once
// The program's start-up: the entry's folder and KVT checks, the main form's
// creation (screen object, command line, caption) and its first showing
// (the loads), then the frame loop until the window closes.
//
// It runs against whatever platform is set (platform::Sys()), so tests run
// it headless.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Command-line switches, each word compared exactly.
extern bool BattleTestMode;  // word 1 "BattleTest"
extern bool TestPlayMode;    // BattleTestMode, or word 1 "TestPlay"
extern bool ShowLogo;        // not TestPlayMode
extern bool ShowTitle;       // word 2 is not "HideTitle"

// Reads the switches from the words after the program name.
void ReadCommandLine(const std::vector<std::string>& args);

// "--help" (or "-h") prints the usage and answers 0; another word starting
// with "--" prints the usage on stderr and answers 2; otherwise nothing.
// The entry asks before it opens the display, so neither needs one.
std::optional<int> ReadOptions(const std::vector<std::string>& args);

// Runs the program: args as main received them (args[0] the program as
// invoked), currentFolder the process's current folder. Answers the exit
// code: 0 after the window was closed (or the usage was printed for
// "--help"), 2 for another word starting with "--", 1 when there is no game
// in the game folder, the game cannot start or it ends with an error (the
// message was shown).
int VarnowMain(const std::vector<std::string>& args, const std::string& currentFolder);

#include <functional>
#include <optional>
// When set, start-up seeds the shared random generator with this in place of
// the clock: the end-to-end harness replays a key script as the same game.
extern std::optional<uint64_t> StartupRandomSeed;

// Observation point for the end-to-end harness: runs after the frame loop
// ended and before anything is torn down (state summary, a final save).
extern std::function<void()> OnBeforeTeardown;
