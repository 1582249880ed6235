#pragma once
// The per-user settings store that stands in for the registry: one small
// file, <config>/varnow/settings.ini (config = $XDG_CONFIG_HOME or
// ~/.config), with one section per registry key, e.g.
//
//   [Software\Korvella\Zembra]
//   RuntimePackagePath=/home/me/games/KVT/

#include <string>

namespace platform {

std::string SettingsFilePath();

// Points the store at another file, so that a tool that plays games (the
// headless runner) keeps its settings apart from the user's; an empty path
// returns to the user's file.
void UseSettingsFile(const std::string& path);

// The value, or empty when the file, key or value is missing.
std::string ReadSetting(const std::string& key, const std::string& name);

// Stores the value, creating the folder and file when missing. Never
// throws: false when the file cannot be written (the caller goes on).
bool WriteSetting(const std::string& key, const std::string& name, const std::string& value);

}  // namespace platform
