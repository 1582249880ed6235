#pragma once
// One entry of the map tree (its id is the map id): its place in the tree,
// music, battle backdrop, teleport, escape and save permissions, encounters
// and, for an area, the rectangle it marks inside its parent map.

#include <array>
#include <cstdint>
#include <string>

#include "data/database/audio_reference.h"
#include "data/map/encount.h"

class TLcfMapTreeItem : public TCatalogItem {
public:
    // Entry kinds (chunk 4).
    enum : uint8_t { kKindArea = 2 };
    // Settings that may defer to the parent entry.
    enum : uint8_t { kAsParent = 0 };
    enum : uint8_t { kMusicKeep = 1, kMusicOwn = 2 };
    enum : uint8_t { kBackdropTerrain = 1, kBackdropOwn = 2 };
    enum : uint8_t { kAllowed = 1, kForbidden = 2 };

    explicit TLcfMapTreeItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    bool IsArea() const { return kind == kKindArea; }
    // The area covers left <= x < right and top <= y < bottom.
    bool AreaContains(int32_t x, int32_t y) const {
        return x >= area[0] && x < area[2] && y >= area[1] && y < area[3];
    }

    int32_t parentId = 0;
    int32_t treeValue3 = 0;  // chunks 3, 5, 6, 7: the editor's, kept
    uint8_t kind = 0;
    int32_t treeValue5 = 0;
    int32_t treeValue6 = 0;
    uint8_t treeValue7 = 0;
    uint8_t musicKind = kAsParent;
    TLcfMusic music;
    uint8_t backdropKind = kAsParent;
    std::string backdropName;
    uint8_t teleport = kAsParent;
    uint8_t escape = kAsParent;
    uint8_t save = kAsParent;
    TLcfEncount encounters;
    int32_t encounterSteps = 25;
    std::array<int32_t, 4> area{};  // left, top, right, bottom, in tiles
};
