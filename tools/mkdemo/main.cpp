// mkdemo: writes the demo game, made entirely by code, into a folder.
//
//   mkdemo FOLDER
//
// The output is the same, byte for byte, on every run.

#include <cstdio>
#include <exception>
#include <filesystem>

#include "demo_game.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    try {
        mkdemo::OutputFolder out{std::filesystem::path(argv[1])};
        mkdemo::WriteDemoGame(out);
        std::printf("mkdemo: wrote %zu files to %s\n", out.written().size(), argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mkdemo: %s\n", error.what());
        return 1;
    }
    return 0;
}
