#include "data/asset_lookup.h"

#include "data/errors.h"
#include "data/folders.h"
#include "data/stderr_note.h"
#include "data/string_table.h"
#include "platform/file_names.h"

const ExtensionList kImageExtensions = {"bmp", "png", "xyz"};
const ExtensionList kMusicExtensions = {"mid", "wav", "mp3"};
const ExtensionList kSoundExtensions = {"wav"};
const ExtensionList kMovieExtensions = {"avi", "mpg"};

namespace {

std::optional<std::string> FindIn(const std::string& base, const std::string& name, const std::string& folder,
                                  const ExtensionList& extensions) {
    for (const std::string& ext : extensions) {
        auto found = platform::ResolveGameName(base, folder + "\\" + name + "." + ext, platform::FileKind::File);
        if (found) return found;
    }
    return std::nullopt;
}

// Where a missing asset was looked for: each folder searched, with the
// extensions tried (names match without regard to case).
std::string MissingAssetNote(const std::string& name, const std::string& folder, const ExtensionList& extensions) {
    std::string tried;
    for (const std::string& ext : extensions) tried += (tried.empty() ? "" : ", ") + ("." + ext);
    std::string note = "no file for \"" + folder + "\\" + name + "\" (" + tried + ", any case) in the game folder " +
                       ExeDir + folder + "/";
    const std::string kvt = GetRuntimePackagePath();
    if (kvt.empty())
        note += "; there is no KVT folder";
    else
        note += " nor in the KVT folder " + kvt + folder + "/";
    return note;
}

}  // namespace

std::optional<std::string> FindAssetFile(const std::string& name, const std::string& folder,
                                         const ExtensionList& extensions) {
    if (name.empty()) return std::string();
    if (!ExeDir.empty())
        if (auto found = FindIn(ExeDir, name, folder, extensions)) return found;
    // Read afresh: the setting may have been filled since the last call.
    // With no KVT folder there is nothing more to search (names relative to
    // the current folder would open unrelated files).
    std::string kvt = GetRuntimePackagePath();
    if (!kvt.empty())
        if (auto found = FindIn(kvt, name, folder, extensions)) return found;
    return std::nullopt;
}

std::string RequireAssetFile(const std::string& name, const std::string& folder, const ExtensionList& extensions) {
    auto found = FindAssetFile(name, folder, extensions);
    if (!found) {
        NoteOnStderr(MissingAssetNote(name, folder, extensions));
        throw EFOpenError(FormatStr(kStrFileOpenError, folder + "\\" + name));
    }
    return *found;
}
