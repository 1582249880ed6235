#include "data/folders.h"

#include <filesystem>

#include "platform/code_page.h"
#include "platform/file_io.h"
#include "platform/file_names.h"
#include "platform/ini_file.h"
#include "platform/program_path.h"
#include "platform/settings.h"
#include "platform/user_folders.h"

std::string ExeDir;
std::string ExeName = "varnow";
std::string GameFolderName;
bool ExeReadOnly = false;

const char* const kRegistryKey = "Software\\Korvella\\Zembra";
const char* const kRuntimePackagePathValue = "RuntimePackagePath";

namespace {

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {};
    return path.substr(0, slash + 1);
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec) return path;
    std::string text = absolute.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

std::string LastComponent(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string ChooseGameFolder(const std::string& argv0, const std::string& currentFolder) {
    std::string program = platform::ProgramPathFromArgv0(argv0, currentFolder);
    std::string programFolder = FolderOf(program);
    if (!programFolder.empty() && platform::ResolveGameName(programFolder, "Varnow.ldb", platform::FileKind::File))
        return programFolder;
    return WithTrailingBackslash(currentFolder);
}

void SetGameFolder(const std::string& folder, const std::string& programName) {
    ExeDir = WithTrailingBackslash(folder);
    std::string name = LastComponent(programName);
    ExeName = name.empty() ? "varnow" : name;
    GameFolderName = LastComponent(ExeDir);
}

std::string GetExeFolder() { return ExeDir; }

std::string GetRuntimePackagePath() {
    // A write-back that failed is not tried again on every lookup (each
    // would fail the same way); the folder found stands for this run.
    static std::string unsavedKvt;
    std::string kvt = platform::ReadSetting(kRegistryKey, kRuntimePackagePathValue);
    // A remembered folder that is gone (the game that brought it was
    // deleted) counts as none, so that a game's own KVT takes its place.
    if (!kvt.empty() && !platform::FolderExists(kvt)) kvt.clear();
    if (kvt.empty() && !ExeDir.empty()) {
        if (auto found = platform::ResolveGameName(ExeDir, "KVT", platform::FileKind::Folder)) {
            // Stored absolute: a path relative to the folder the program
            // happened to start in means nothing to the next start.
            kvt = AbsolutePath(*found);
            if (kvt != unsavedKvt && !platform::WriteSetting(kRegistryKey, kRuntimePackagePathValue, kvt))
                unsavedKvt = kvt;
        }
    }
    return kvt.empty() ? std::string() : WithTrailingBackslash(kvt);
}

bool ReadFullPackageFlag() {
    auto ini = FindGameFile("Varnow.ini");
    if (!ini) return false;
    return platform::IniFile::Load(*ini).ReadInteger("Varnow", "FullPackageFlag", 0) != 0;
}

std::string GetMyDocumentsFolder() { return WithTrailingBackslash(platform::DocumentsFolder()); }

std::string GetTempFolder() { return WithTrailingBackslash(platform::TempFolder()); }

std::string WithTrailingBackslash(const std::string& path) {
    // Walk the bytes so that a trail byte equal to '\' is not taken for one.
    bool endsInDelimiter = false;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (platform::IsLeadByte(c) && i + 1 < path.size()) {
            ++i;
            endsInDelimiter = false;
            continue;
        }
        endsInDelimiter = c == '/' || c == '\\';
    }
    return endsInDelimiter ? path : path + "/";
}

bool IsRiffFile(const std::string& path) {
    std::vector<uint8_t> head;
    if (!platform::ReadFilePrefix(path, 4, head) || head.size() < 4) return false;
    return head[0] == 'R' && head[1] == 'I' && head[2] == 'F' && head[3] == 'F';
}

std::optional<std::string> FindGameFile(const std::string& name) {
    if (ExeDir.empty()) return std::nullopt;
    return platform::ResolveGameName(ExeDir, name, platform::FileKind::File);
}

std::string GameIniName() {
    size_t dot = ExeName.find_last_of('.');
    if (dot == std::string::npos || dot == 0) return ExeName + ".ini";
    return ExeName.substr(0, dot) + ".ini";
}
