#pragma once
// Where the game graphics find their image files: one seam for the asset
// lookup, so the renderers need not know the game folder's layout.

#include <functional>
#include <string>

// The path of image `name` in the game's `folder` ("System", "ChipSet",
// "CharSet", "Battle"...): empty for an empty name, the bare name when no
// file is found (so the image loader reports it as missing).
std::string FindGraphicsFile(const std::string& folder, const std::string& name);

// Tests and tools point the lookup elsewhere; an empty function restores the
// game's own lookup.
using GraphicsFileFinder = std::function<std::string(const std::string& folder, const std::string& name)>;
void SetGraphicsFileFinder(GraphicsFileFinder finder);
