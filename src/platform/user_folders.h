#pragma once
// The user's folders, found as a desktop user expects on Linux. Each answer
// is a native path without a trailing slash.

#include <string>

namespace platform {

// $HOME, else the password database's home, else "/".
std::string HomeFolder();
// $XDG_CONFIG_HOME when absolute, else ~/.config.
std::string ConfigFolder();
// The documents folder: XDG_DOCUMENTS_DIR from user-dirs.dirs when it
// exists, else ~/Documents when it exists, else the desktop folder, else
// the home folder.
std::string DocumentsFolder();
// XDG_DESKTOP_DIR when it exists, else ~/Desktop when it exists; empty when
// there is none.
std::string DesktopFolder();
// $TMPDIR when set, else /tmp.
std::string TempFolder();

}  // namespace platform
