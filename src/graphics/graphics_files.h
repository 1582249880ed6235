#pragma once
// Where the game graphics find their image files: one seam over the asset
// lookup, so that tests and tools can point the renderers elsewhere.

#include <functional>
#include <string>

// The path of image `name` in the asset folder `folder` ("System",
// "ChipSet", "CharSet", "Battle"...): empty for an empty name (loading it
// only clears the sheet); a name that no file answers raises EFOpenError.
std::string FindGraphicsFile(const std::string& folder, const std::string& name);

// An empty function restores the game's own lookup.
using GraphicsFileFinder = std::function<std::string(const std::string& folder, const std::string& name)>;
void SetGraphicsFileFinder(GraphicsFileFinder finder);
