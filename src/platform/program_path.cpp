#include "platform/program_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace platform {

namespace {

std::string Absolute(const std::string& path, const std::string& currentFolder) {
    if (path.empty() || path[0] == '/' || currentFolder.empty()) return path;
    std::string p = path;
    while (p.compare(0, 2, "./") == 0) p = p.substr(2);
    std::string out = currentFolder;
    if (out.back() != '/') out += '/';
    out += p;
    return out;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string ProgramPathFromArgv0(const std::string& argv0, const std::string& currentFolder) {
    if (argv0.empty()) return {};
    if (argv0.find('/') != std::string::npos) return Absolute(argv0, currentFolder);
    const char* pathEnv = std::getenv("PATH");
    std::string path = pathEnv ? pathEnv : "/usr/local/bin:/usr/bin:/bin";
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t end = path.find(':', pos);
        if (end == std::string::npos) end = path.size();
        std::string dir = path.substr(pos, end - pos);
        pos = end + 1;
        if (dir.empty()) dir.assign(1, '.');  // an empty PATH entry means the current folder
        std::string candidate = dir;
        candidate += '/';
        candidate += argv0;
        if (IsExecutableFile(candidate)) return Absolute(candidate, currentFolder);
    }
    return {};
}

std::string CurrentFolder() {
    std::vector<char> buffer(4096);
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (::getcwd(buffer.data(), buffer.size())) return std::string(buffer.data());
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

}  // namespace platform
