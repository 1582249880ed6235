#include "data/asset_lookup.h"

#include "data/errors.h"
#include "data/folders.h"
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
    if (!found) throw EFOpenError(FormatStr(kStrFileOpenError, folder + "\\" + name));
    return *found;
}
