#include "support/run_program.h"

#include <cstdlib>

#include "support/read_file.h"

namespace fs = std::filesystem;

namespace testing_support {

std::string Quoted(const std::string& word) {
    std::string q = "\"";
    for (char c : word) {
        if (c == '"' || c == '\\' || c == '$' || c == '`') q += '\\';
        q += c;
    }
    return q + "\"";
}

fs::path BuiltProgram(const std::string& name) { return fs::path(VARNOW_BINARY_DIR) / name; }

RanProgram RunProgram(const std::string& command, const fs::path& scratch) {
    fs::create_directories(scratch);
    const fs::path out = scratch / "program_out.txt", err = scratch / "program_err.txt",
                   status = scratch / "program_status.txt";
    const std::string line = "(" + command + ") >" + Quoted(out.string()) + " 2>" + Quoted(err.string()) +
                             " </dev/null; echo $? >" + Quoted(status.string());
    RanProgram r;
    if (std::system(line.c_str()) != 0) return r;
    r.status = std::atoi(ReadFile(status).c_str());
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    return r;
}

RanProgram RunBuiltProgram(const std::string& program, const std::vector<std::string>& words,
                           const fs::path& cwd, const fs::path& scratch, const std::vector<std::string>& environment) {
    const fs::path file = BuiltProgram(program);
    if (!fs::exists(file)) return {};
    std::string command = "cd " + Quoted(cwd.string()) + " && env";
    for (const std::string& e : environment) command += " " + Quoted(e);
    command += " " + Quoted(file.string());
    for (const std::string& w : words) command += " " + Quoted(w);
    return RunProgram(command, scratch);
}

}  // namespace testing_support
