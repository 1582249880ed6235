#pragma once
// Chip sets (database section 20): one tile-set image with the terrain of
// every lower chip, the passability flags of every lower and upper chip and
// how its water autotiles animate.
//
// Lower chip indexes 0..161: 0..2 the water autotile kinds, 3..5 the
// animated tiles, 6..17 the terrain autotiles, 18..161 the plain lower tiles.
// Upper chip indexes 0..143.

#include <array>
#include <bit>
#include <cstdint>
#include <string>

#include "data/record/catalog.h"

static_assert(std::endian::native == std::endian::little, "16-bit blocks are kept in file byte order");

// Passability flag bits of lower and upper chips.
enum TLcfChipFlag : uint8_t {
    kChipPassDown = 0x01,
    kChipPassLeft = 0x02,
    kChipPassRight = 0x04,
    kChipPassUp = 0x08,
    kChipAbove = 0x10,    // drawn above characters; on an upper chip it does not block either
    kChipWallEdge = 0x20, // lower terrain autotiles: the wall-edge rule
    kChipCounter = 0x40,  // upper chips: the decision key reaches across
};

class TLcfChipSetItem : public TCatalogItem {
public:
    static constexpr int kLowerChips = 162;
    static constexpr int kUpperChips = 144;
    // Passable every way; upper chip 0 (the empty upper tile) also never blocks.
    static constexpr uint8_t kDefaultFlags = 0x0F;
    static constexpr uint8_t kDefaultUpperChip0Flags = 0x1F;

    explicit TLcfChipSetItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    // The three blocks are left out of a write while they hold their defaults.
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    // The lower chip index of a lower-layer tile id, or the upper chip index
    // of an upper-layer id (10000 and above). Ids below 3000 are water,
    // divided toward zero: the -1 outside a map is chip 0; a chip below 0
    // (ids of -1000 and less) every getter answers with 0.
    static int ChipIndexOfTile(int32_t tile);

    // Terrain id of lower chip 0..161; 0 outside.
    int GetTerrain(int chip) const;
    // Flag byte of lower chip 0..161; 0 outside.
    uint8_t GetLowerFlags(int chip) const;
    // Flag byte of upper chip 0..143; 0 outside.
    uint8_t GetUpperFlags(int chip) const;
    int TerrainOfTile(int32_t tile) const { return GetTerrain(ChipIndexOfTile(tile)); }
    uint8_t LowerFlagsOfTile(int32_t tile) const { return GetLowerFlags(ChipIndexOfTile(tile)); }
    uint8_t UpperFlagsOfTile(int32_t tile) const { return GetUpperFlags(ChipIndexOfTile(tile)); }

    // Water: 0 four steps (frames 0, 1, 2, 1), anything else three (0, 1, 2).
    bool WaterThreeSteps() const { return waterAnimationType != 0; }
    // Counter ticks per water frame: 24, or 12 for any non-zero speed.
    int WaterFrameTicks() const { return waterAnimationSpeed != 0 ? 12 : 24; }

    std::string imageName;  // in the folder "ChipSet", without extension
    std::array<uint16_t, kLowerChips> terrain{};
    std::array<uint8_t, kLowerChips> lowerFlags{};
    std::array<uint8_t, kUpperChips> upperFlags{};
    int32_t waterAnimationType = 0;
    int32_t waterAnimationSpeed = 0;

private:
    bool TerrainIsDefault() const;
    bool LowerFlagsAreDefault() const;
    bool UpperFlagsAreDefault() const;
};

class TLcfChipSet : public TCatalogOf<TLcfChipSetItem> {
public:
    TLcfChipSetItem* FindChipSet(int32_t id) const { return FindStrict(id, 65311); }
};
