// varnow_run: plays a game folder headless for a number of frames with a
// key script, writes chosen frames as PNG and prints a summary of the state.
//
//   varnow_run GAME_FOLDER [--frames N] [--keys "decision@100-102 down@130"]
//              [--png 10,200,400] [--out FOLDER] [--save SLOT] [--words "TestPlay HideTitle"]
//              [--seed N]
//
// The shared random generator starts from the seed (a fixed one when none
// is given, printed in the summary), so a key script plays the same game on
// every run. It exits non-zero when the game did, when a save or a PNG that
// was asked for could not be written.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "scenes/harness/harness.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: varnow_run GAME_FOLDER [--frames N] [--keys SCRIPT] [--png F1,F2,...] [--out FOLDER]\n"
                 "                  [--save SLOT] [--words \"WORD ...\"] [--seed N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    THarnessOptions options;
    options.gameFolder = argv[1];
    options.pngFolder = ".";
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if (i + 1 >= argc) return Usage();
        std::string v = argv[++i];
        if (a == "--frames") {
            options.frames = std::atoi(v.c_str());
        } else if (a == "--keys") {
            std::string error;
            if (!ParseKeyScript(v, options.keys, &error)) {
                std::fprintf(stderr, "varnow_run: %s\n", error.c_str());
                return 2;
            }
        } else if (a == "--png") {
            std::istringstream in(v);
            std::string n;
            while (std::getline(in, n, ',')) options.pngFrames.push_back(std::atoi(n.c_str()));
        } else if (a == "--out") {
            options.pngFolder = v;
        } else if (a == "--save") {
            options.saveSlot = std::atoi(v.c_str());
        } else if (a == "--seed") {
            char* end = nullptr;
            errno = 0;
            options.seed = std::strtoull(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || errno != 0 || v[0] == '-') {
                std::fprintf(stderr, "varnow_run: bad seed: %s\n", v.c_str());
                return 2;
            }
        } else if (a == "--words") {
            std::istringstream in(v);
            std::string w;
            while (in >> w) options.words.push_back(w);
        } else {
            return Usage();
        }
    }
    THarnessResult r = RunHarness(options);
    std::printf("%s", r.summary.c_str());
    std::printf("exit %d\npresented %d\nfirst frame %.1f ms\ntitle %.1f ms\n", r.exitCode, r.presentCount,
                r.firstPresentMicros / 1000.0, r.titleMicros / 1000.0);
    for (const auto& f : r.pngFiles) std::printf("png %s\n", f.c_str());
    for (const auto& m : r.messageBoxes) std::printf("message box: %s: %s\n", m.caption.c_str(), m.text.c_str());
    for (const auto& e : r.pngErrors) std::fprintf(stderr, "varnow_run: %s\n", e.c_str());
    if (r.exitCode != 0) return r.exitCode;
    if ((options.saveSlot > 0 && !r.saved) || !r.pngErrors.empty()) return 1;
    return 0;
}
