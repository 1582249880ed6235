#pragma once
// Tile ids of the map layers and their chip indexes.
//
//   0..2999      three water autotiles, 1000 ids each   -> chips 0..2
//   3000..3149   three animated tiles, 50 ids each      -> chips 3..5
//   4000..4599   twelve terrain autotiles, 50 shapes    -> chips 6..17
//   5000..5143   144 plain lower tiles                  -> chips 18..161
//   10000..10143 144 upper tiles (upper chips 0..143)
//
// From 0 to 4999 every mapping of the program agrees (AutoTileChipIndex).
// Elsewhere they differ on purpose:
// - the map layers and the dungeon generator use the open-ended
//   MapTileToChipIndex: every id from 5000 up is id - 4982, so
//   chip -> id -> chip is exact for any tile of 5000 and above (the
//   generator relies on that round trip); ids from 5144 up give chip
//   indexes past the lower table, and every table indexed by chip checks
//   its range;
// - the chip sets' passability and terrain lookups send every id from
//   10000 up to upper chip clamp(id - 10000, 0, 143);
// - the tile renderer draws ids 10000..19999 as upper chips clamped alike;
// - the cell outside a map (-1): the map layers and the renderer name no
//   chip (-1); the chip sets' lookups divide it like water, toward zero,
//   to chip 0.

#include <cstdint>

inline constexpr int32_t kTileAnimatedFirst = 3000;
inline constexpr int32_t kTileTerrainFirst = 4000;
inline constexpr int32_t kTileLowerFirst = 5000;
inline constexpr int32_t kTileUpperFirst = 10000;
// Ids below this carry an autotile shape (id mod 50).
inline constexpr int32_t kTileShapedEnd = kTileLowerFirst;
// Lower chip indexes: 0..2 water, 3..5 animated, 6..17 terrain.
inline constexpr int32_t kChipAnimatedFirst = 3;
inline constexpr int32_t kChipTerrainFirst = 6;
inline constexpr int32_t kChipLowerFirst = 18;

// The chip of an autotile id 0..4999 (water, animated, terrain). Shared by
// every tile-to-chip mapping; ids outside 0..4999 are the caller's.
constexpr int32_t AutoTileChipIndex(int32_t tile) {
    if (tile < kTileAnimatedFirst) return tile / 1000;
    if (tile < kTileTerrainFirst) return (tile - kTileAnimatedFirst) / 50 + kChipAnimatedFirst;
    return (tile - kTileTerrainFirst) / 50 + kChipTerrainFirst;
}

// -1 for a negative id; the autotile chips below 5000; id - 4982 from 5000 up.
constexpr int32_t MapTileToChipIndex(int32_t tile) {
    if (tile < 0) return -1;
    if (tile < kTileLowerFirst) return AutoTileChipIndex(tile);
    return tile - (kTileLowerFirst - kChipLowerFirst);
}

// The first id of a chip: index x 1000 for water, x 50 + 2850 for the
// animated tiles, x 50 + 3700 for the terrain autotiles, index + 4982 above.
// A negative index answers itself scaled like water (never a valid id).
constexpr int32_t MapChipIndexToTile(int32_t chip) {
    if (chip < kChipAnimatedFirst) return chip * 1000;
    if (chip < kChipTerrainFirst) return chip * 50 + 2850;
    if (chip < kChipLowerFirst) return chip * 50 + 3700;
    return chip + (kTileLowerFirst - kChipLowerFirst);
}
