#pragma once
// The demo game for the benchmarks, written by mkdemo into a temporary
// folder: mkdemo is looked for as $VARNOW_MKDEMO, then beside the current
// folder (run from the build folder or its bench/).

#include <cstdlib>
#include <filesystem>
#include <string>

namespace bench_demo {

// Writes the demo into `folder`; false when mkdemo is missing or fails.
inline bool WriteDemo(const std::filesystem::path& folder) {
    std::string mkdemo;
    if (const char* env = std::getenv("VARNOW_MKDEMO")) mkdemo = env;
    for (const char* guess : {"./mkdemo", "../mkdemo"})
        if (mkdemo.empty() && std::filesystem::exists(guess)) mkdemo = guess;
    return !mkdemo.empty() &&
           std::system(("\"" + mkdemo + "\" \"" + folder.string() + "\" >/dev/null").c_str()) == 0;
}

}  // namespace bench_demo
