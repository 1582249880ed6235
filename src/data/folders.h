#pragma once
// The game folder and the other folders the program uses.
//
// The game folder stands where the original program's own folder stood
// (`ExeDir`): it is the folder of the program file as invoked (argv[0],
// symbolic links not resolved) when that folder holds a Varnow.ldb in any
// case, otherwise the current folder. So both "cd GAME && varnow" and a
// link to varnow placed in a game's folder work.
//
// Folders here are native paths ending in '/'; names from game data are
// resolved under them without regard to case (platform/file_names.h).

#include <optional>
#include <string>

// The game folder, ending in '/' (empty until start-up sets it).
extern std::string ExeDir;
// The program file's name as invoked, without its folder ("varnow").
extern std::string ExeName;
// The game folder's own name (its last component).
extern std::string GameFolderName;
// The game folder cannot be written: saves then go to the documents folder.
extern bool ExeReadOnly;

// The registry key and value that name the KVT folder.
extern const char* const kRegistryKey;
extern const char* const kRuntimePackagePathValue;

// Applies the game-folder rule above.
std::string ChooseGameFolder(const std::string& argv0, const std::string& currentFolder);
// Sets ExeDir, ExeName and GameFolderName.
void SetGameFolder(const std::string& folder, const std::string& programName);

// The game folder (ExeDir).
std::string GetExeFolder();
// The KVT folder ending in '/', or empty when there is none. An empty
// setting is filled, and written back, from a "KVT" folder inside the game
// folder.
std::string GetRuntimePackagePath();
// "FullPackageFlag" of [Varnow] in Varnow.ini: any non-zero number is true;
// a missing file or key, or text that is no number, is false.
bool ReadFullPackageFlag();
std::string GetMyDocumentsFolder();
std::string GetTempFolder();
// The path with the path delimiter ('/' here) appended unless it already
// ends in one; a backslash that is the trail byte of a double-byte character
// is no delimiter.
std::string WithTrailingBackslash(const std::string& path);
// Do the file's first four bytes read "RIFF"? Any failure answers false.
bool IsRiffFile(const std::string& path);

// A file of the game folder named by game data or by the program
// ("Varnow.lmt", "Map0001.lmu"), found without regard to case.
std::optional<std::string> FindGameFile(const std::string& name);
// The ini file named after the program file ("varnow" -> "varnow.ini").
std::string GameIniName();
