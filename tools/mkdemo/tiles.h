#pragma once
// The chip sets' contents by name: which picture each chip holds, and the
// passability and terrain the database records for it. The art, the
// database and the maps all take their tile numbers from here.

#include <cstdint>
#include <vector>

namespace mkdemo {

// Terrain ids of the database's terrain table.
enum TerrainId : int {
    kTerrainGrass = 1, kTerrainRoad, kTerrainForest, kTerrainHills, kTerrainMountain, kTerrainShallows,
    kTerrainOcean, kTerrainTown, kTerrainCaveFloor, kTerrainSwamp, kTerrainSand, kTerrainWall,
    kTerrainCount = kTerrainWall,
};

// Flag bits of a chip (passable downwards, left, right, upwards; drawn
// above characters; wall-edge rule; counter).
inline constexpr uint8_t kPassAll = 15;
inline constexpr uint8_t kBlocked = 0;
inline constexpr uint8_t kAbove = 16;
inline constexpr uint8_t kWallEdge = 32;
inline constexpr uint8_t kCounter = 64;

// Tile ids as the map layers store them.
constexpr int WaterTile(int kind) { return kind * 1000; }          // shape 0, no edges
constexpr int AnimatedTile(int index) { return 3000 + 50 * index; }
constexpr int TerrainTile(int index, int shape = 0) { return 4000 + 50 * index + shape; }
constexpr int LowerTile(int index) { return 5000 + index; }
constexpr int UpperTile(int index) { return 10000 + index; }

// Pictures that plain tiles can show.
enum class Paint : int {
    kNone,
    // lower
    kGrassPlain, kFlowers, kStonePath, kBridgeH, kBridgeV, kCobble, kWoodWall, kWoodWallWindow, kDoorway,
    kRoofLeft, kRoofMid, kRoofRight, kRoofEaveLeft, kRoofEaveMid, kRoofEaveRight, kStoneWall, kCliff,
    kCaveMouth, kStairsDown, kStairsUp, kWell, kWoodFloor, kStoneFloor, kCarpet, kInnerWall, kInnerWallTop,
    kCaveWall, kCaveWallTop, kCaveFloor, kCaveFloorPebbles, kCaveFloorCrack, kDarkness, kRug, kFireplace,
    kCrystalFloor,
    // upper
    kTreeTop, kTreeTrunk, kBush, kSignpost, kBarrel, kCrate, kPot, kLampPost, kFenceH, kFenceV, kRock,
    kStump, kHay, kCounterTop, kTable, kChair, kBedTop, kBedBottom, kShelf, kPlant, kBoulderTL, kBoulderTR,
    kBoulderBL, kBoulderBR, kCrystalTL, kCrystalTR, kCrystalBL, kCrystalBR, kPillarTL, kPillarTR, kPillarBL,
    kPillarBR, kLantern, kWindowSill,
};

// Materials of the twelve terrain autotiles.
enum class Material : int {
    kGrass, kRoad, kTallGrass, kForest, kHills, kMountain, kSand, kSnow, kPlaza, kSwamp, kMeadow, kDarkGrass,
    kWoodFloor, kStoneFloor, kCarpet, kCaveFloor, kRock, kPit, kTiles, kMoss,
};

struct LowerChip {
    Paint paint;
    uint8_t flags;
    int terrain;
};

struct UpperChip {
    Paint paint;
    uint8_t flags;
};

struct TerrainChip {
    Material material;
    uint8_t flags;
    int terrain;
};

// One chip set: its image name and every chip's picture, flags and terrain.
struct ChipSetDesign {
    const char* name;
    const char* image;
    bool shore_of_grass;              // water kind 1 meets grass instead of rock
    uint8_t water_flags[3];
    int water_terrain[3];
    uint8_t animated_flags[3];
    int animated_terrain[3];
    std::vector<TerrainChip> terrain;   // 12
    std::vector<LowerChip> lower;       // up to 144, rest empty and blocked
    std::vector<UpperChip> upper;       // up to 144; 0 is the empty tile
};

// Chip set 1 (towns and the field) and 2 (houses and the dungeon).
const ChipSetDesign& OutdoorChipSet();
const ChipSetDesign& InteriorChipSet();

// Positions within the designs, for the maps.
namespace outdoor {
namespace autotile {
enum : int { kGrass, kRoad, kTallGrass, kForest, kHills, kMountain, kSand, kSnow, kPlaza, kSwamp, kMeadow, kDarkGrass };
}
namespace lower {
enum : int {
    kGrassPlain, kFlowers, kStonePath, kBridgeH, kBridgeV, kCobble, kWoodWall, kWoodWallWindow, kDoorway,
    kRoofLeft, kRoofMid, kRoofRight, kRoofEaveLeft, kRoofEaveMid, kRoofEaveRight, kStoneWall, kCliff, kCaveMouth,
    kStairsDown, kWell, kSky,
};
}
namespace upper {
enum : int {
    kEmpty, kTreeTop, kTreeTrunk, kBush, kSignpost, kBarrel, kCrate, kPot, kLampPost, kFenceH, kFenceV, kRock,
    kStump, kHay, kLantern,
};
}
}  // namespace outdoor

namespace interior {
namespace autotile {
enum : int { kWoodFloor, kStoneFloor, kCarpet, kCaveFloor, kRock, kPit, kTiles, kMoss, kSand, kGrass, kRoad, kDarkGrass };
}
namespace lower {
enum : int {
    kWoodFloor, kStoneFloor, kInnerWall, kInnerWallTop, kCaveWall, kCaveWallTop, kCaveFloor, kCaveFloorPebbles,
    kCaveFloorCrack, kDarkness, kRug, kFireplace, kStairsUp, kStairsDown, kDoorway, kCrystalFloor,
};
}
namespace upper {
enum : int {
    kEmpty, kCounterTop, kTable, kChair, kBedTop, kBedBottom, kShelf, kPlant, kBarrel, kPot, kBoulderTL,
    kBoulderTR, kBoulderBL, kBoulderBR, kCrystalTL, kCrystalTR, kCrystalBL, kCrystalBR, kPillarTL, kPillarTR,
    kPillarBL, kPillarBR, kWindowSill, kCrate,
};
}
}  // namespace interior

}  // namespace mkdemo
