#include "support/run_program.h"

#include <cstdlib>

#include "support/read_file.h"

namespace testing_support {

namespace {

// Single quotes for the shell, each ' inside written as '\''.
std::string Quoted(const std::string& word) {
    std::string q = "'";
    for (char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace

ProgramRun RunBuiltProgram(const std::string& program, const std::vector<std::string>& words,
                           const std::filesystem::path& cwd, const std::filesystem::path& scratch,
                           const std::vector<std::string>& environment) {
    const std::filesystem::path file = std::filesystem::path(VARNOW_BINARY_DIR) / program;
    ProgramRun r;
    if (!std::filesystem::exists(file)) return r;
    std::filesystem::create_directories(scratch);
    std::string command = "cd " + Quoted(cwd.string()) + " && env";
    for (const std::string& e : environment) command += " " + Quoted(e);
    command += " " + Quoted(file.string());
    for (const std::string& w : words) command += " " + Quoted(w);
    command += " >" + Quoted((scratch / "out.txt").string()) + " 2>" + Quoted((scratch / "err.txt").string()) +
               " </dev/null; echo $? >" + Quoted((scratch / "status.txt").string());
    if (std::system(command.c_str()) != 0) return r;
    r.status = std::atoi(ReadFile(scratch / "status.txt").c_str());
    r.out = ReadFile(scratch / "out.txt");
    r.err = ReadFile(scratch / "err.txt");
    return r;
}

}  // namespace testing_support
