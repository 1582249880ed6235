#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/file_io.h"

namespace platform {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string StripTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// One folder from user-dirs.dirs: lines like XDG_DOCUMENTS_DIR="$HOME/Documents".
// Empty when it is not set, or set to the home folder itself (which is how
// a user switches a folder off).
std::string UserDir(const std::string& key) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(ConfigFolder() + "/user-dirs.dirs", bytes, nullptr, 1 << 16)) return {};
    std::string text(bytes.begin(), bytes.end());
    std::string home = HomeFolder();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        size_t b = line.find_first_not_of(" \t");
        if (b == std::string::npos || line[b] == '#') continue;
        line = line.substr(b);
        if (line.compare(0, key.size() + 1, key + "=") != 0) continue;
        std::string value = line.substr(key.size() + 1);
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
            value.pop_back();
        if (value.size() < 2 || value.front() != '"' || value.back() != '"') return {};
        value = value.substr(1, value.size() - 2);
        std::string path;
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
            path = home + value.substr(5);
        else if (!value.empty() && value[0] == '/')
            path = value;
        else
            return {};
        path = StripTrailingSlashes(path);
        if (path == StripTrailingSlashes(home)) return {};
        return path;
    }
    return {};
}

}  // namespace

std::string HomeFolder() {
    std::string home = Env("HOME");
    if (!home.empty()) return StripTrailingSlashes(home);
    if (struct passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir)
        return StripTrailingSlashes(pw->pw_dir);
    return "/";
}

std::string ConfigFolder() {
    std::string config = Env("XDG_CONFIG_HOME");
    // The base-directory rules ignore a relative value.
    if (!config.empty() && config[0] == '/') return StripTrailingSlashes(config);
    return HomeFolder() + "/.config";
}

std::string DesktopFolder() {
    std::string xdg = UserDir("XDG_DESKTOP_DIR");
    if (!xdg.empty() && FolderExists(xdg)) return xdg;
    std::string plain = HomeFolder() + "/Desktop";
    if (FolderExists(plain)) return plain;
    return {};
}

std::string DocumentsFolder() {
    std::string xdg = UserDir("XDG_DOCUMENTS_DIR");
    if (!xdg.empty() && FolderExists(xdg)) return xdg;
    std::string plain = HomeFolder() + "/Documents";
    if (FolderExists(plain)) return plain;
    std::string desktop = DesktopFolder();
    if (!desktop.empty()) return desktop;
    return HomeFolder();
}

std::string TempFolder() {
    std::string tmp = Env("TMPDIR");
    if (!tmp.empty()) return StripTrailingSlashes(tmp);
    return "/tmp";
}

}  // namespace platform
