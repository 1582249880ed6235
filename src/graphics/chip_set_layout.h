#pragma once
// Where every chip of a 480x256 chip-set image lies, and which pieces of the
// image make up a tile id at a given animation counter.
//
// Positions are cells of 8x8 pixels. Lower chip indexes 0..161 are: 0..2 the
// water autotile kinds, 3..5 the animated tiles, 6..17 the terrain
// autotiles, 18..161 the plain lower tiles; upper chips are 0..143.

#include <cstdint>

struct ChipCell {
    int column = 0;  // in 8-pixel units
    int row = 0;
    bool operator==(const ChipCell&) const = default;
};

// Four 8x8 quarters: top-left, top-right, bottom-left, bottom-right.
struct AutoTileShape {
    ChipCell quarter[4];
};

constexpr int kLowerChipCount = 162;
constexpr int kUpperChipCount = 144;
constexpr int kChipSetImageWidth = 480;
constexpr int kChipSetImageHeight = 256;

// Base cells of chips 0..17 (water, animated, terrain).
ChipCell AutoChipBaseCell(int chip);
// Source cell of any lower chip 0..161 and of an upper chip 0..143.
ChipCell LowerChipCell(int chip);
ChipCell UpperChipCell(int chip);

// Water shape 0..49 of kind 0..2, before edges and animation.
AutoTileShape WaterShape(int kind, int shape);
AutoTileShape WaterEdgeQuarters(int kind);
// Terrain shape 0..49, offsets within the terrain block.
AutoTileShape TerrainShape(int shape);

// The water animation frame (0..2) at a counter, by the chip set's
// animation type and speed.
int WaterFrame(int64_t counter, int32_t animationType, int32_t animationSpeed);

// What a tile id draws: nothing, one 16x16 cell, or four 8x8 quarters. The
// blank test applies to plain lower and upper chips only.
struct TilePieces {
    enum class Kind : uint8_t { None, Cell, Quarters };
    enum class Chip : uint8_t { Auto, Lower, Upper };
    Kind kind = Kind::None;
    Chip chip = Chip::Auto;
    // Built from quarters (water, terrain): a merged square is drawn at
    // twice the half size, so at odd sizes it is one pixel smaller.
    bool composed = false;
    int chipIndex = 0;
    ChipCell cell;           // Kind::Cell
    AutoTileShape quarters;  // Kind::Quarters, absolute cells
};

// Plans a tile. A negative id and the plain lower ids 5144..9999 fail a
// check (an Exception); ids that fall inside the animated or terrain range
// but name no chip (3150..3999, 4600..4999) draw nothing, as do ids of 20000
// and above. Quarters that form one contiguous 16x16 square are merged into
// a single cell.
TilePieces PlanTile(int32_t tileId, int64_t counter, int32_t waterAnimationType, int32_t waterAnimationSpeed);

// The lower chip index of a lower-layer tile id for the solid test; -1 when
// the id names no lower chip (negative, 3150..3999, 4600..4999). Ids from
// 5144 to 99999 fail a check; 100000 and above give -1.
int ChipIndexForFlag(int32_t tileId);
