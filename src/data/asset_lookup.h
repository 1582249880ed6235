#pragma once
// Finding an asset file (image, music, sound, movie) by the name that the
// database or a script stores: the whole game folder first, then the KVT
// folder, each with the asset kind's extensions in order.

#include <optional>
#include <string>
#include <vector>

using ExtensionList = std::vector<std::string>;

// In search order.
extern const ExtensionList kImageExtensions;  // "bmp", "png", "xyz"
extern const ExtensionList kMusicExtensions;  // "mid", "wav", "mp3"
extern const ExtensionList kSoundExtensions;  // "wav"
extern const ExtensionList kMovieExtensions;  // "avi", "mpg"

// The path of the asset `name` (no extension) in the asset folder `folder`
// ("CharSet", "Music", ...):
// - an empty name answers an empty string (it only clears what it names);
// - a file found answers its path;
// - nothing found (or a name that would leave the folder) answers nullopt.
std::optional<std::string> FindAssetFile(const std::string& name, const std::string& folder,
                                         const ExtensionList& extensions);

// As FindAssetFile, for loaders: a miss raises EFOpenError naming the asset
// ("CharSet\Hero").
std::string RequireAssetFile(const std::string& name, const std::string& folder, const ExtensionList& extensions);
