#pragma once
// A map file: size, chip set, scrolling, panorama, random-generation
// settings, the two tile layers and the events. One TLcfMap, GameMapUnit,
// holds the map the party is on.
//
// The layers are sized while reading: when the reader asks for chunk 71 or
// 72 the layer is resized to the width and height read so far and the chunk
// is a block of width x height x 2 bytes (any other length is ignored and
// the layer keeps its fill id). Width and height are checked first, and
// again after the whole record is read, when both layers are sized to the
// final width and height (so chunks 2 and 3 may come after the layers).

#include <array>
#include <cstdint>
#include <string>

#include "data/database/event.h"
#include "data/map/base_map_unit.h"
#include "data/map/map_layer.h"
#include "data/tile_ids.h"
#include "graphics/char_set_graphic.h"
#include "graphics/chip_set_graphic.h"

class TLcfMap : public TLcfBaseMapUnit {
public:
    // Map sizes beyond these are damage: no editor makes them, and the
    // generator keeps coordinates in 16 bits.
    static constexpr int32_t kMaxSide = 32767;
    static constexpr int64_t kMaxCells = int64_t(1) << 22;
    static constexpr int kGeneratorTileCount = 18;

    // Scroll types.
    enum : uint8_t { kScrollNone = 0, kScrollLoopVertical = 1, kScrollLoopHorizontal = 2, kScrollLoopBoth = 3 };
    // Generator layout kinds.
    enum : int32_t { kLayoutCorridors = 0, kLayoutCaves = 1, kLayoutGridMaze = 2, kLayoutOpenArea = 3 };

    explicit TLcfMap(int32_t id = 0);
    TLcfMap(const TLcfMap&) = delete;
    TLcfMap& operator=(const TLcfMap&) = delete;

    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    // The file's bytes, then the fix-ups: layer sizes, scroll type, chip set
    // (message 65311 when the database has none of that id), its image, the
    // character sheets.
    void LoadFromBytes(std::span<const uint8_t> bytes) override;
    // Adds 1 to the save counter first (save stamps compare it).
    void SaveToFile(const std::string& path) override;

    // Both layers loop horizontally for types 2 and 3, vertically for 1 and 3.
    void SetScrollType(uint8_t type);
    bool LoopsHorizontally() const { return scrollType == kScrollLoopHorizontal || scrollType == kScrollLoopBoth; }
    bool LoopsVertically() const { return scrollType == kScrollLoopVertical || scrollType == kScrollLoopBoth; }
    // Tile `index` (0..17) of the generator block used at entry (chunk 62);
    // 0 for any other index.
    int16_t GeneratorTile(int index) const;
    TDungeonTiles GeneratorTiles() const;
    // Marks every cached character sheet unused, acquires the sheets of all
    // event pages, then purges the unused ones, also when a load fails.
    void LoadCharSets();

    // Raises a read error unless w x h is a map size this program accepts.
    static void CheckSize(int32_t width, int32_t height);

    TLcfMapLayer& Lower() { return lower_; }
    TLcfMapLayer& Upper() { return upper_; }
    const TLcfMapLayer& Lower() const { return lower_; }
    const TLcfMapLayer& Upper() const { return upper_; }
    TLcfChipSetGraphic& ChipSetGraphic() { return chipSetGraphic_; }
    const TLcfChipSetGraphic& ChipSetGraphic() const { return chipSetGraphic_; }
    TLcfCharSetGraphic& CharSetGraphic() { return charSetGraphic_; }

    int32_t chipSetId = 1;
    int32_t width = TLcfMapLayer::kDefaultWidth;
    int32_t height = TLcfMapLayer::kDefaultHeight;
    uint8_t scrollType = kScrollNone;
    uint8_t usePanorama = 0;
    std::string panoramaName;
    uint8_t panoramaLoopHorizontal = 0;
    uint8_t panoramaLoopVertical = 0;
    uint8_t panoramaAutoScrollHorizontal = 0;
    int32_t panoramaSpeedHorizontal = 0;
    uint8_t panoramaAutoScrollVertical = 0;
    int32_t panoramaSpeedVertical = 0;
    uint8_t generateAtEntry = 0;
    int32_t generatorLayout = kLayoutCorridors;
    uint8_t generatorSetting = 0;
    std::array<int32_t, 5> generatorSettings{};  // chunks 43..47, kept, not used
    int32_t widePassages = 0;                     // > 0: wide passages
    int32_t roomWidth = 4;
    // Absent reads as 2, and 2 is also what the writer leaves out, so a map
    // written and read back keeps its room height.
    int32_t roomHeight = 2;
    uint8_t wallOffBorder = 1;
    uint8_t twoHighWalls = 1;
    uint8_t floorVariantA = 1;
    uint8_t floorVariantB = 1;
    uint8_t objectsSecondKind = 1;
    uint8_t objectsThirdKind = 1;
    std::array<uint8_t, 36> generatorBlockA{};  // chunk 60, kept, not used
    std::array<uint8_t, 36> generatorBlockB{};  // chunk 61, kept, not used
    std::array<uint8_t, 36> generatorBlock{};   // chunk 62: T0..T17
    TLcfEvent events;
    int32_t saveCounter = 0;

private:
    TLcfMapLayer lower_;
    TLcfMapLayer upper_;
    TLcfChipSetGraphic chipSetGraphic_;
    TLcfCharSetGraphic charSetGraphic_;
};

// The map the party is on (made at start-up), or nullptr.
extern TLcfMap* GameMapUnit;
