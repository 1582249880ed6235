#pragma once
// The demo's images, drawn by code into 8-bit palette bitmaps. Each one is
// named by its asset folder and file name (without extension), as the
// database and the maps refer to it.

#include <string>
#include <vector>

#include "bitmap8.h"

namespace mkdemo {

struct NamedImage {
    std::string folder;  // "System", "ChipSet", "CharSet", ...
    std::string name;
    Bitmap8 image;
};

namespace art {
inline constexpr const char* kSkin = "Lantern";         // System
inline constexpr const char* kSystem2 = "Gauges";       // System2
inline constexpr const char* kTitle = "Title";          // Title
inline constexpr const char* kGameOver = "GameOver";    // GameOver
inline constexpr const char* kOutdoor = "Outdoor";      // ChipSet
inline constexpr const char* kInterior = "Interior";    // ChipSet
inline constexpr const char* kHeroes = "Heroes";        // CharSet and FaceSet
inline constexpr const char* kTownsfolk = "Townsfolk";  // CharSet and FaceSet
inline constexpr const char* kObjects = "Objects";      // CharSet
inline constexpr const char* kVehicles = "Vehicles";    // CharSet
inline constexpr const char* kSky = "Sky";              // Panorama
inline constexpr const char* kGrassland = "Grassland";  // Backdrop
inline constexpr const char* kCave = "Cave";            // Backdrop
inline constexpr const char* kStreet = "Street";        // Backdrop
// The grass's battle backdrop in two layers: a sky that drifts by and the
// meadow in front of it.
inline constexpr const char* kMeadowSky = "MeadowSky";  // Frame
inline constexpr const char* kMeadow = "Meadow";        // Frame
inline constexpr const char* kMap = "Map";              // Picture
inline constexpr const char* kLanternPicture = "Lantern";  // Picture
inline constexpr const char* kLetter = "Letter";        // Picture
// BattleCharSet: one sheet per hero, in hero order.
inline constexpr const char* kBattlers[4] = {"Aren", "Lysa", "Borin", "Mira"};
// Rows of a battler sheet, one per pose of the battler set's first twelve
// entries; each row holds three 48×48 frames.
inline constexpr int kBattlerRows = 12;
}  // namespace art

// Each drawing function returns the images of one family.
std::vector<NamedImage> DrawSystemArt();      // skin and second system image
std::vector<NamedImage> DrawChipSets();
std::vector<NamedImage> DrawCharacterSets();
std::vector<NamedImage> DrawFaces();
std::vector<NamedImage> DrawBattlers();       // the heroes' side-view battle sheets
std::vector<NamedImage> DrawScenes();         // title, game over, panorama, backdrops, frames, pictures
std::vector<NamedImage> DrawMonsters();
std::vector<NamedImage> DrawBattleAnimations();

// All of them, in a fixed order.
std::vector<NamedImage> DrawAllArt();

}  // namespace mkdemo
