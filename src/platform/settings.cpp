#include "platform/settings.h"

#include <cstdio>
#include <filesystem>

#include "platform/file_io.h"
#include "platform/ini_file.h"
#include "platform/user_folders.h"

namespace platform {

namespace {
std::string& SettingsFileInUse() {
    static std::string path;
    return path;
}
}  // namespace

std::string SettingsFilePath() {
    if (!SettingsFileInUse().empty()) return SettingsFileInUse();
    std::string path = ConfigFolder();
    path += "/varnow/settings.ini";
    return path;
}

void UseSettingsFile(const std::string& path) { SettingsFileInUse() = path; }

std::string ReadSetting(const std::string& key, const std::string& name) {
    return IniFile::Load(SettingsFilePath()).ReadString(key, name, "");
}

bool WriteSetting(const std::string& key, const std::string& name, const std::string& value) {
    // One line per value: a line break would split it.
    const std::string path = SettingsFilePath();
    if (value.find_first_of("\r\n") != std::string::npos) {
        std::fprintf(stderr, "varnow: %s was not stored in %s: it holds a line break\n", name.c_str(), path.c_str());
        return false;
    }
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : parent.string();
    if (!CreateFolders(folder)) {
        std::fprintf(stderr, "varnow: cannot create the settings folder %s\n", folder.c_str());
        return false;
    }
    IniFile ini = IniFile::Load(path);
    ini.WriteString(key, name, value);
    std::string text = ini.ToText();
    std::string error;
    if (!WriteFileAtomic(path, text.data(), text.size(), &error)) {
        std::fprintf(stderr, "varnow: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
