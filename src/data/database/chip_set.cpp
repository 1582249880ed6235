#include "data/database/chip_set.h"

#include <algorithm>

#include "data/tile_ids.h"

void TLcfChipSetItem::DescribeField(int id, TCatalogVarData& d, bool reading) {
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetString(&imageName, true); break;
    case 3:
        if (reading || !TerrainIsDefault()) d.SetFixed(terrain.data(), kLowerChips * 2);
        break;
    case 4:
        if (reading || !LowerFlagsAreDefault()) d.SetFixed(lowerFlags.data(), kLowerChips);
        break;
    case 5:
        if (reading || !UpperFlagsAreDefault()) d.SetFixed(upperFlags.data(), kUpperChips);
        break;
    case 11: d.SetInteger(&waterAnimationType, 0); break;
    case 12: d.SetInteger(&waterAnimationSpeed, 0); break;
    }
}

void TLcfChipSetItem::Clear() {
    TCatalogItem::Clear();
    terrain.fill(1);
    lowerFlags.fill(kDefaultFlags);
    upperFlags.fill(kDefaultFlags);
    upperFlags[0] = kDefaultUpperChip0Flags;
}

bool TLcfChipSetItem::TerrainIsDefault() const {
    return std::all_of(terrain.begin(), terrain.end(), [](uint16_t t) { return t == 1; });
}

bool TLcfChipSetItem::LowerFlagsAreDefault() const {
    return std::all_of(lowerFlags.begin(), lowerFlags.end(), [](uint8_t f) { return f == kDefaultFlags; });
}

bool TLcfChipSetItem::UpperFlagsAreDefault() const {
    // Upper chip 0 does not count: its default differs, and a set that only
    // changed it reads back with the default again.
    return std::all_of(upperFlags.begin() + 1, upperFlags.end(), [](uint8_t f) { return f == kDefaultFlags; });
}

int TLcfChipSetItem::ChipIndexOfTile(int32_t tile) {
    // Water ids divide toward zero, so the -1 of a cell outside the map
    // reads as chip 0: a character standing there has a real terrain (its
    // bush depth, its damage) rather than none.
    if (tile < kTileAnimatedFirst) return tile / 1000;
    if (tile < kTileLowerFirst) return AutoTileChipIndex(tile);
    if (tile < kTileUpperFirst) return tile - kTileLowerFirst + kChipLowerFirst;  // 5144..9999 land past 161
    return std::clamp(tile - 10000, 0, kUpperChips - 1);
}

int TLcfChipSetItem::GetTerrain(int chip) const {
    return chip >= 0 && chip < kLowerChips ? terrain[static_cast<size_t>(chip)] : 0;
}

uint8_t TLcfChipSetItem::GetLowerFlags(int chip) const {
    return chip >= 0 && chip < kLowerChips ? lowerFlags[static_cast<size_t>(chip)] : 0;
}

uint8_t TLcfChipSetItem::GetUpperFlags(int chip) const {
    return chip >= 0 && chip < kUpperChips ? upperFlags[static_cast<size_t>(chip)] : 0;
}
