#pragma once
// Runs a built program of this project through the shell, as a user would
// from a terminal, and answers its exit status and what it wrote.

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct RanProgram {
    int status = -1;  // -1: the program is not built, or the shell could not run it
    std::string out, err;
};

// `command` is a shell command line (quote paths with Quoted); its output
// goes through files in `scratch`.
RanProgram RunProgram(const std::string& command, const std::filesystem::path& scratch);

// Runs `program` (a file in the build folder) with `words` in the folder
// `cwd`, with `environment` ("NAME=value") added.
RanProgram RunBuiltProgram(const std::string& program, const std::vector<std::string>& words,
                           const std::filesystem::path& cwd, const std::filesystem::path& scratch,
                           const std::vector<std::string>& environment = {});

// The word in double quotes, for a shell command line.
std::string Quoted(const std::string& word);

// A program built beside the tests (varnow, varnow_run, mkdemo).
std::filesystem::path BuiltProgram(const std::string& name);

}  // namespace testing_support
