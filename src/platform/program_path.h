#pragma once
// Where the program file is, as it was invoked.

#include <string>

namespace platform {

// The program file's path from argv[0], without resolving symbolic links (a
// link to the program placed in a game's folder counts as being there). A
// name without a slash was found through PATH and is looked up the same way.
// Relative results are made absolute against currentFolder. Empty when it
// cannot be found.
std::string ProgramPathFromArgv0(const std::string& argv0, const std::string& currentFolder);

// The process's current folder (empty when it cannot be read).
std::string CurrentFolder();

}  // namespace platform
