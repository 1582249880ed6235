#pragma once
// Runs a built program of this project as a user would from a shell, for
// tests of what it prints and the status it ends with.

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct ProgramRun {
    int status = -1;  // -1 when the program is not built or could not be run
    std::string out, err;
};

// Runs `program` (a file in the build folder) with `words` in the folder
// `cwd`, with `environment` ("NAME=value") added; stdout and stderr are kept
// in files under `scratch`.
ProgramRun RunBuiltProgram(const std::string& program, const std::vector<std::string>& words,
                           const std::filesystem::path& cwd, const std::filesystem::path& scratch,
                           const std::vector<std::string>& environment = {});

}  // namespace testing_support
