#include "support/run_program.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace testing_support {

namespace {

std::string ReadText(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

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
    const fs::path out = scratch / "program_out.txt", err = scratch / "program_err.txt",
                   status = scratch / "program_status.txt";
    const std::string line = "(" + command + ") >" + Quoted(out.string()) + " 2>" + Quoted(err.string()) +
                             " </dev/null; echo $? >" + Quoted(status.string());
    RanProgram r;
    if (std::system(line.c_str()) != 0) return r;
    r.status = std::atoi(ReadText(status).c_str());
    r.out = ReadText(out);
    r.err = ReadText(err);
    return r;
}

}  // namespace testing_support
