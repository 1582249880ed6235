#pragma once
// The demo game written into a temporary folder by the mkdemo tool. When
// the demo has no map tree of its own yet, a one-map tree with a start
// position is added so a new game can begin.
#include <filesystem>
#include <optional>

#include "support/test_paths.h"

namespace e2e {

// The start position given to a demo without a map tree.
constexpr int kFallbackStartMap = 1, kFallbackStartX = 9, kFallbackStartY = 7;

// Writes the demo into dir; false when mkdemo was not built or failed.
bool WriteDemoGame(const std::filesystem::path& dir);
// The tree's party start map, read back from the folder.
int StartMapOf(const std::filesystem::path& dir);

}  // namespace e2e
