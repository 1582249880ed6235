// varnow_run: plays a game folder headless for a number of frames with a
// key script, writes chosen frames as PNG and prints a summary of the state.
//
// Every argument is checked before the game starts: a bad one gets the
// usage and status 2. The shared random generator starts from the seed (a
// fixed one when none is given, printed in the summary) and saves are
// stamped from the run's own clock, so a key script plays the same game and
// writes the same save on every run. The runner keeps its settings in a
// file of its own and never touches the user's. It exits non-zero when the
// game did, or when a save or a PNG that was asked for could not be written.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "scenes/harness/harness.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLastSaveSlot = 15;

void PrintUsage(std::FILE* to) {
    std::fprintf(to,
                 "usage: varnow_run GAME_FOLDER [options]\n"
                 "Plays the game in GAME_FOLDER headless with scripted keys, writes chosen frames as PNG\n"
                 "and prints the state at the end.\n"
                 "  --frames N        frames to play, 60 a second (default 600)\n"
                 "  --keys SCRIPT     keys held on frames: \"decision@100-102 down@130\" holds Enter on\n"
                 "                    frames 100 to 102 and Down on frame 130\n"
                 "                    keys: %s\n"
                 "                    (decision is Enter, cancel is Escape)\n"
                 "  --png F1,F2,...   frames written as OUT/frame_NNNN.png (frame_0450.png for 450)\n"
                 "  --out OUT         folder for the PNGs and the runner's settings, created when missing\n"
                 "                    (default: the current folder)\n"
                 "  --save SLOT       saves the game at the end to slot 1-15 (SaveNN.lsd, where the game\n"
                 "                    saves)\n"
                 "  --words \"W ...\"   the words after the program on its command line, e.g.\n"
                 "                    \"TestPlay HideTitle\" (none by default)\n"
                 "  --seed N          the random generator's seed (default %llu)\n"
                 "  --settings FILE   the settings file of the run (where a game's KVT folder is\n"
                 "                    remembered; default OUT/varnow_run_settings.ini); the user's own\n"
                 "                    settings are never read or written\n"
                 "  --help            this text\n",
                 HarnessKeyNames().c_str(), static_cast<unsigned long long>(kDefaultHarnessSeed));
}

int Refuse(const std::string& why) {
    std::fprintf(stderr, "varnow_run: %s\n", why.c_str());
    PrintUsage(stderr);
    return 2;
}

// A whole decimal number within [low, high].
bool ParseNumber(const std::string& text, unsigned long long low, unsigned long long high,
                 unsigned long long& out) {
    if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    out = std::strtoull(text.c_str(), nullptr, 10);
    return errno == 0 && out >= low && out <= high;
}

}  // namespace

int main(int argc, char** argv) {
    THarnessOptions options;
    std::string out = ".";
    bool haveFolder = false;
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            PrintUsage(stdout);
            return 0;
        }
        if (a.size() < 2 || a[0] != '-') {
            if (haveFolder) return Refuse("one game folder only, but also \"" + a + "\"");
            options.gameFolder = a;
            haveFolder = true;
            continue;
        }
        static const char* const kOptions[] = {"--frames", "--keys", "--png",  "--out",
                                               "--save",   "--seed", "--words", "--settings"};
        bool known = false;
        for (const char* o : kOptions) known = known || a == o;
        if (!known) return Refuse("unknown option " + a);
        if (i + 1 >= args.size()) return Refuse(a + " needs a value");
        const std::string& v = args[++i];
        unsigned long long n = 0;
        if (a == "--frames") {
            if (!ParseNumber(v, 1, INT_MAX, n)) return Refuse("--frames takes a number of frames from 1, not \"" + v + "\"");
            options.frames = int(n);
        } else if (a == "--keys") {
            std::string error;
            if (!ParseKeyScript(v, options.keys, &error)) return Refuse(error);
        } else if (a == "--png") {
            std::istringstream in(v);
            std::string f;
            options.pngFrames.clear();
            while (std::getline(in, f, ',')) {
                if (!ParseNumber(f, 0, INT_MAX, n))
                    return Refuse("--png takes frame numbers separated by commas, not \"" + v + "\"");
                options.pngFrames.push_back(int(n));
            }
            if (options.pngFrames.empty()) return Refuse("--png takes frame numbers separated by commas");
        } else if (a == "--out") {
            if (v.empty()) return Refuse("--out needs a folder");
            out = v;
        } else if (a == "--save") {
            if (!ParseNumber(v, 1, kLastSaveSlot, n))
                return Refuse("--save takes a slot from 1 to " + std::to_string(kLastSaveSlot) + ", not \"" + v + "\"");
            options.saveSlot = int(n);
        } else if (a == "--seed") {
            if (!ParseNumber(v, 0, ULLONG_MAX, n)) return Refuse("--seed takes a whole number from 0, not \"" + v + "\"");
            options.seed = n;
        } else if (a == "--words") {
            std::istringstream in(v);
            std::string w;
            options.words.clear();
            while (in >> w) options.words.push_back(w);
        } else if (a == "--settings") {
            if (v.empty()) return Refuse("--settings needs a file name");
            options.settingsFile = v;
        }
    }
    if (!haveFolder) return Refuse("no game folder given");
    std::error_code ec;
    if (!fs::is_directory(options.gameFolder, ec)) return Refuse("no such folder: " + options.gameFolder);
    for (int f : options.pngFrames)
        if (f > options.frames)
            return Refuse("--png frame " + std::to_string(f) + " is past the end of the run (--frames " +
                          std::to_string(options.frames) + ")");

    // The output folder exists before the run, so that a run is never
    // played in vain for want of it.
    fs::create_directories(out, ec);
    if (!fs::is_directory(out)) {
        std::fprintf(stderr, "varnow_run: cannot create the output folder %s: %s\n", out.c_str(),
                     ec ? ec.message().c_str() : "a file of that name is in the way");
        return 1;
    }
    options.pngFolder = out;
    if (options.settingsFile.empty()) options.settingsFile = (fs::path(out) / "varnow_run_settings.ini").string();

    THarnessResult r = RunHarness(options);
    std::printf("%s", r.summary.c_str());
    std::printf("exit %d\npresented %d\nfirst frame %.1f ms\ntitle %.1f ms\n", r.exitCode, r.presentCount,
                r.firstPresentMicros / 1000.0, r.titleMicros / 1000.0);
    for (const auto& f : r.pngFiles) std::printf("png %s\n", f.c_str());
    for (const auto& m : r.messageBoxes) std::printf("message box: %s: %s\n", m.caption.c_str(), m.text.c_str());
    for (const auto& e : r.pngErrors) std::fprintf(stderr, "varnow_run: %s\n", e.c_str());
    if (options.saveSlot > 0 && !r.saved)
        std::fprintf(stderr, "varnow_run: the save to slot %d failed: %s\n", options.saveSlot,
                     r.saveError.empty() ? "the game had not started" : r.saveError.c_str());
    if (r.exitCode != 0) return r.exitCode;
    if ((options.saveSlot > 0 && !r.saved) || !r.pngErrors.empty()) return 1;
    return 0;
}
