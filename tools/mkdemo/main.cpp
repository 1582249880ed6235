// mkdemo: writes the demo game, made entirely by code, into a folder.
//
//   mkdemo FOLDER
//
// The output is the same, byte for byte, on every run.

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "demo_game.h"

namespace {

void PrintUsage(std::FILE* to) {
    std::fprintf(to,
                 "usage: mkdemo FOLDER\n"
                 "Writes the demo game \"The Lantern of Varrow\" into FOLDER (created when missing).\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintUsage(stdout);
        return 0;
    }
    // A word that starts with "-" is an option this tool does not have, not
    // a folder to write into ("./-name" names such a folder).
    if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
        if (argc == 2 && argv[1][0] == '-') std::fprintf(stderr, "mkdemo: unknown option %s\n", argv[1]);
        PrintUsage(stderr);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "mkdemo: cannot create the folder %s: %s\n", argv[1],
                     ec ? ec.message().c_str() : "a file of that name is in the way");
        return 1;
    }
    try {
        mkdemo::OutputFolder out{folder};
        mkdemo::WriteDemoGame(out);
        std::printf("mkdemo: wrote %zu files to %s\n", out.written().size(), argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mkdemo: %s\n", error.what());
        return 1;
    }
    return 0;
}
