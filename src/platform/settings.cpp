#include "platform/settings.h"

#include <cstdio>

#include "platform/file_io.h"
#include "platform/ini_file.h"
#include "platform/user_folders.h"

namespace platform {

std::string SettingsFilePath() { return ConfigFolder() + "/varnow/settings.ini"; }

std::string ReadSetting(const std::string& key, const std::string& name) {
    return IniFile::Load(SettingsFilePath()).ReadString(key, name, "");
}

bool WriteSetting(const std::string& key, const std::string& name, const std::string& value) {
    // One line per value: a line break would split it.
    if (value.find_first_of("\r\n") != std::string::npos) {
        std::fprintf(stderr, "varnow: %s was not stored in %s: it holds a line break\n", name.c_str(),
                     SettingsFilePath().c_str());
        return false;
    }
    std::string folder = ConfigFolder() + "/varnow";
    if (!CreateFolders(folder)) {
        std::fprintf(stderr, "varnow: cannot create the settings folder %s\n", folder.c_str());
        return false;
    }
    IniFile ini = IniFile::Load(SettingsFilePath());
    ini.WriteString(key, name, value);
    std::string text = ini.ToText();
    std::string error;
    if (!WriteFileAtomic(SettingsFilePath(), text.data(), text.size(), &error)) {
        std::fprintf(stderr, "varnow: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
