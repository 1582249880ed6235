#pragma once
// The end-to-end harness: runs the real start-up on a game folder with the
// headless platform (virtual clock, scripted keys, captured frames), for a
// given number of frames, and reports what happened. It changes nothing
// in the game; only the platform underneath is the headless one.
//
// Frames count virtual time: frame k runs from k/60 s after start-up. Saves
// are stamped from the same clock (start-up is midnight, 1 January 2000), so
// the same keys and seed write the same bytes.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"

struct THarnessKey {
    std::string name;     // decision, cancel, up, down, left, right, shift, ctrl, f9, f12
    int firstFrame = 0;   // held from this frame...
    int lastFrame = 0;    // ...through this one
};

constexpr uint64_t kDefaultHarnessSeed = 1;

struct THarnessOptions {
    std::string gameFolder;
    std::vector<std::string> words;  // command-line words after the program
    int frames = 600;
    std::vector<THarnessKey> keys;
    // Frames whose last presented picture is written as PNG into pngFolder
    // ("frame_0123.png").
    std::vector<int> pngFrames;
    std::string pngFolder;
    int saveSlot = 0;  // > 0: the game's own Save to this slot at the end
    // The settings file for the run (where a game's shared asset folder is
    // remembered); empty: the user's own.
    std::string settingsFile;
    // The shared random generator's seed for the run, in place of the
    // clock's: the same keys play the same game every time.
    uint64_t seed = kDefaultHarnessSeed;
    // Runs at the end while every game object still exists (tests look).
    std::function<void()> inspect;
    // Called once a frame, at its first event pump, with the frame's number
    // and the last presented picture (null before the first); it may add key
    // names to `hold` for this frame, on top of `keys`, and returns false to
    // end the run. Tests use it to react to what the game shows instead of
    // guessing frame numbers.
    std::function<bool(int frame, const platform::CapturedFrame* last, std::vector<std::string>& hold)> driver;
};

struct THarnessResult {
    int exitCode = -1;
    std::string summary;  // text summary of the state at the end
    int sceneNumber = -1;
    int mapId = 0, x = 0, y = 0;
    int direction = 0;  // the party's facing: 0 up, 1 right, 2 down, 3 left
    // The game state at the end: switches that are on, variables that are
    // not 0, the gold and the party's actor ids in order.
    std::vector<int32_t> switchesOn;
    std::map<int32_t, int32_t> variables;
    int32_t gold = 0;
    std::vector<int32_t> members;
    int presentCount = 0;
    // Virtual microseconds from start to the first presented frame, and to
    // the first frame with the title's command window open.
    uint64_t firstPresentMicros = 0, titleMicros = 0;
    std::vector<std::string> pngFiles;  // the PNG files written
    std::vector<std::string> pngErrors;  // one line for each that could not be
    std::vector<platform::RecordedMessageBox> messageBoxes;
    bool saved = false;
    std::string saveError;  // why the save at the end failed
};

// Writes a captured picture as a 24-bit PNG file; false (with *error) when
// the file could not be written.
bool WriteFramePng(const platform::CapturedFrame& f, const std::string& path, std::string* error = nullptr);

// Parses "decision@10-12 down@30" (a single frame without "-"); a key name
// it does not know, a frame that is no number and a range that ends before
// it starts are refused, with the reason in *error.
bool ParseKeyScript(const std::string& text, std::vector<THarnessKey>& out, std::string* error = nullptr);
// The key names a key script takes, separated by spaces.
std::string HarnessKeyNames();

// Runs the program; installs the headless platform for the run and removes
// it after.
THarnessResult RunHarness(const THarnessOptions& options);
