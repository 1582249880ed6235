#include "tiles.h"

namespace mkdemo {

namespace {

ChipSetDesign MakeOutdoor() {
    ChipSetDesign d;
    d.name = "Outdoor";
    d.image = "Outdoor";
    d.shore_of_grass = true;
    // Shallow water and the lake: boats only. The ocean: ships only; both
    // block walking.
    d.water_flags[0] = kBlocked;
    d.water_flags[1] = kBlocked;
    d.water_flags[2] = kBlocked;
    d.water_terrain[0] = kTerrainShallows;
    d.water_terrain[1] = kTerrainShallows;
    d.water_terrain[2] = kTerrainOcean;
    // Waterfall and lava block; the glowing crystal is walkable.
    d.animated_flags[0] = kBlocked;
    d.animated_flags[1] = kBlocked;
    d.animated_flags[2] = kPassAll;
    d.animated_terrain[0] = kTerrainWall;
    d.animated_terrain[1] = kTerrainWall;
    d.animated_terrain[2] = kTerrainTown;
    d.terrain = {
        {Material::kGrass, kPassAll, kTerrainGrass},      {Material::kRoad, kPassAll, kTerrainRoad},
        {Material::kTallGrass, kPassAll, kTerrainGrass},  {Material::kForest, kPassAll, kTerrainForest},
        {Material::kHills, kPassAll, kTerrainHills},      {Material::kMountain, kBlocked, kTerrainMountain},
        {Material::kSand, kPassAll, kTerrainSand},        {Material::kSnow, kPassAll, kTerrainGrass},
        {Material::kPlaza, kPassAll, kTerrainTown},       {Material::kSwamp, kPassAll, kTerrainSwamp},
        {Material::kMeadow, kPassAll, kTerrainGrass},     {Material::kDarkGrass, kPassAll, kTerrainGrass},
    };
    d.lower = {
        {Paint::kGrassPlain, kPassAll, kTerrainGrass},   {Paint::kFlowers, kPassAll, kTerrainGrass},
        {Paint::kStonePath, kPassAll, kTerrainTown},     {Paint::kBridgeH, kPassAll, kTerrainTown},
        {Paint::kBridgeV, kPassAll, kTerrainTown},       {Paint::kCobble, kPassAll, kTerrainTown},
        {Paint::kWoodWall, kBlocked, kTerrainWall},      {Paint::kWoodWallWindow, kBlocked, kTerrainWall},
        {Paint::kDoorway, kPassAll, kTerrainTown},       {Paint::kRoofLeft, kBlocked, kTerrainWall},
        {Paint::kRoofMid, kBlocked, kTerrainWall},       {Paint::kRoofRight, kBlocked, kTerrainWall},
        {Paint::kRoofEaveLeft, kBlocked, kTerrainWall},  {Paint::kRoofEaveMid, kBlocked, kTerrainWall},
        {Paint::kRoofEaveRight, kBlocked, kTerrainWall}, {Paint::kStoneWall, kBlocked, kTerrainWall},
        {Paint::kCliff, kBlocked, kTerrainWall},         {Paint::kCaveMouth, kPassAll, kTerrainCaveFloor},
        {Paint::kStairsDown, kPassAll, kTerrainTown},    {Paint::kWell, kBlocked, kTerrainWall},
        // Open sky beyond the island's cliffs: nothing drawn, so the
        // panorama shows through.
        {Paint::kNone, kBlocked, kTerrainWall},
    };
    d.upper = {
        {Paint::kNone, kPassAll | kAbove},  {Paint::kTreeTop, kPassAll | kAbove}, {Paint::kTreeTrunk, kBlocked},
        {Paint::kBush, kBlocked},           {Paint::kSignpost, kBlocked},         {Paint::kBarrel, kBlocked},
        {Paint::kCrate, kBlocked},          {Paint::kPot, kBlocked},              {Paint::kLampPost, kBlocked},
        {Paint::kFenceH, kBlocked},         {Paint::kFenceV, kBlocked},           {Paint::kRock, kBlocked},
        {Paint::kStump, kBlocked},          {Paint::kHay, kBlocked},              {Paint::kLantern, kPassAll | kAbove},
    };
    return d;
}

ChipSetDesign MakeInterior() {
    ChipSetDesign d;
    d.name = "Interior";
    d.image = "Interior";
    d.shore_of_grass = false;
    for (int i = 0; i < 3; ++i) {
        d.water_flags[i] = kBlocked;
        d.water_terrain[i] = kTerrainShallows;
    }
    d.water_terrain[2] = kTerrainOcean;
    d.animated_flags[0] = kBlocked;
    d.animated_flags[1] = kBlocked;
    d.animated_flags[2] = kPassAll;
    d.animated_terrain[0] = kTerrainWall;
    d.animated_terrain[1] = kTerrainWall;
    d.animated_terrain[2] = kTerrainCaveFloor;
    d.terrain = {
        {Material::kWoodFloor, kPassAll, kTerrainTown},       {Material::kStoneFloor, kPassAll, kTerrainTown},
        {Material::kCarpet, kPassAll, kTerrainTown},          {Material::kCaveFloor, kPassAll, kTerrainCaveFloor},
        {Material::kRock, kBlocked | kWallEdge, kTerrainWall}, {Material::kPit, kBlocked, kTerrainWall},
        {Material::kTiles, kPassAll, kTerrainTown},           {Material::kMoss, kPassAll, kTerrainSwamp},
        {Material::kSand, kPassAll, kTerrainSand},            {Material::kGrass, kPassAll, kTerrainGrass},
        {Material::kRoad, kPassAll, kTerrainRoad},            {Material::kDarkGrass, kPassAll, kTerrainGrass},
    };
    d.lower = {
        {Paint::kWoodFloor, kPassAll, kTerrainTown},          {Paint::kStoneFloor, kPassAll, kTerrainTown},
        {Paint::kInnerWall, kBlocked, kTerrainWall},          {Paint::kInnerWallTop, kBlocked, kTerrainWall},
        {Paint::kCaveWall, kBlocked, kTerrainWall},           {Paint::kCaveWallTop, kBlocked, kTerrainWall},
        {Paint::kCaveFloor, kPassAll, kTerrainCaveFloor},     {Paint::kCaveFloorPebbles, kPassAll, kTerrainCaveFloor},
        {Paint::kCaveFloorCrack, kPassAll, kTerrainCaveFloor}, {Paint::kDarkness, kBlocked, kTerrainWall},
        {Paint::kRug, kPassAll, kTerrainTown},                {Paint::kFireplace, kBlocked, kTerrainWall},
        {Paint::kStairsUp, kPassAll, kTerrainTown},           {Paint::kStairsDown, kPassAll, kTerrainTown},
        {Paint::kDoorway, kPassAll, kTerrainTown},            {Paint::kCrystalFloor, kPassAll, kTerrainCaveFloor},
    };
    d.upper = {
        {Paint::kNone, kPassAll | kAbove},     {Paint::kCounterTop, kBlocked | kCounter},
        {Paint::kTable, kBlocked},             {Paint::kChair, kPassAll},
        {Paint::kBedTop, kPassAll},            {Paint::kBedBottom, kPassAll},
        {Paint::kShelf, kBlocked},             {Paint::kPlant, kBlocked},
        {Paint::kBarrel, kBlocked},            {Paint::kPot, kBlocked},
        {Paint::kBoulderTL, kBlocked},         {Paint::kBoulderTR, kBlocked},
        {Paint::kBoulderBL, kBlocked},         {Paint::kBoulderBR, kBlocked},
        {Paint::kCrystalTL, kPassAll | kAbove}, {Paint::kCrystalTR, kPassAll | kAbove},
        {Paint::kCrystalBL, kBlocked},         {Paint::kCrystalBR, kBlocked},
        {Paint::kPillarTL, kPassAll | kAbove}, {Paint::kPillarTR, kPassAll | kAbove},
        {Paint::kPillarBL, kBlocked},          {Paint::kPillarBR, kBlocked},
        {Paint::kWindowSill, kBlocked},        {Paint::kCrate, kBlocked},
    };
    return d;
}

}  // namespace

const ChipSetDesign& OutdoorChipSet() {
    static const ChipSetDesign design = MakeOutdoor();
    return design;
}

const ChipSetDesign& InteriorChipSet() {
    static const ChipSetDesign design = MakeInterior();
    return design;
}

}  // namespace mkdemo
