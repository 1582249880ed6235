#pragma once
// Runs a built program through the shell, as a user would from a terminal,
// and answers its exit status and what it wrote.

#include <filesystem>
#include <string>

namespace testing_support {

struct RanProgram {
    int status = -1;  // -1: the shell could not run it
    std::string out, err;
};

// `command` is a shell command line (quote paths with Quoted); its output
// goes through files in `scratch`.
RanProgram RunProgram(const std::string& command, const std::filesystem::path& scratch);

// The word in double quotes, for a shell command line.
std::string Quoted(const std::string& word);

// A program built beside the tests (varnow, varnow_run, mkdemo).
std::filesystem::path BuiltProgram(const std::string& name);

}  // namespace testing_support
