#pragma once
// Finding files named by game data on a case-sensitive file system.
//
// Games were made on a case-insensitive file system, and their data names
// files with backslashes in the ANSI code page: "System\Skin" may be
// system/skin.png here. The resolver walks such a name component by
// component under a trusted folder, matching each without regard to the
// case of any letter of the code page (letter_case.h), against the name as
// stored (code-page bytes) and as converted to UTF-8.
//
// - A backslash or slash separates components, except a backslash that is
//   the trail byte of a double-byte character.
// - Names that are absolute (a leading separator, a drive colon) or have a
//   ".." component are refused: game data never leaves its folder.
// - Folder listings are cached, but a listing is trusted only while the
//   folder is unchanged since well before it was read, so a file written
//   during the run (a save file) is never hidden.

#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class FileKind { Any, File, Folder };

// Splits a game name into components; false when the name is refused
// (empty, absolute, "..", a NUL byte).
bool SplitGameName(const std::string& name, std::vector<std::string>& components);

// The path on disk of `name` under `folder` (a native path, used as it
// stands), or nothing when it is refused or not there (or folder is empty).
std::optional<std::string> ResolveGameName(const std::string& folder, const std::string& name,
                                           FileKind kind = FileKind::File);

// The path at which to write `name` under `folder`: an existing entry of that
// name in any case, else the name converted to UTF-8 in the resolved parent
// folder. Nothing when refused or when the parent folder is missing.
std::optional<std::string> GameNameForWriting(const std::string& folder, const std::string& name);

// Drops the cached listing of a folder (writers call it after a change).
void ForgetFolderListing(const std::string& folder);

// Compares two names as the game's file system would: letters without
// case, other characters byte for byte.
bool SameGameName(const std::string& a, const std::string& b);

}  // namespace platform
