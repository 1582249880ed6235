#pragma once
// The demo game written into a temporary folder by the mkdemo tool, and
// what tests need to know of it.
#include <filesystem>
#include <optional>
#include <string>

#include "support/test_paths.h"

namespace e2e {

// What the demo's first walk touches, as tools/mkdemo writes it: the town
// and the field maps, the switch the lamplighter's first answer turns on and
// the variable either answer sets, and the well's wish.
constexpr int kTownMap = 1, kFieldMap = 3;
constexpr int kPromisedTamSwitch = 13, kChoiceVariable = 7, kWishVariable = 8;
// The chest behind the elder's house: its switch and what it holds.
constexpr int kChestOpenedSwitch = 5, kPotionItem = 1;
// The child's game of tag runs while this switch is on.
constexpr int kPlayingTagSwitch = 14;

struct MapSpot {
    int map = 0, x = -1, y = -1;
    int event = 0;  // the event's id, when the spot is an event's
};

// Whether the mkdemo tool was built beside the test programs.
bool HaveDemoTool();
// Writes the demo into dir; false when mkdemo was not built or failed.
bool WriteDemoGame(const std::filesystem::path& dir);
// The tree's party start map, read back from the folder.
int StartMapOf(const std::filesystem::path& dir);
// The cell of the first event named `name` on map `mapId` (x −1 when there
// is none), and where the first transfer in its first page leads (map 0
// when it has none).
MapSpot FindEvent(const std::filesystem::path& dir, int mapId, const std::string& name);
MapSpot TransferTargetOf(const std::filesystem::path& dir, int mapId, const std::string& name);

}  // namespace e2e
