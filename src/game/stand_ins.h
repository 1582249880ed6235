#pragma once
// Stand-ins for the run-time game objects that are not built yet. Each one
// keeps the bytes of its save chunk exactly as read and writes them back
// unchanged, so a save made by the game survives a load and a save here.
// Clear forgets them (a new game starts from nothing).
//
// The stand-ins, by save chunk (each later piece replaces its own):
//   104 party               111 map world
// (102 screen effects, 103 pictures, 105-107 the vehicles, 108 actors,
// 109 party info, 110 teleport targets and 112 panorama are the real
// objects.)
//   never saved: enemies and the battle interpreter (nothing kept).
// Scene stand-ins are listed in scenes/scene_stand_ins.h.

#include <cstdint>
#include <string>
#include <vector>

#include "data/record/catalog_base_item.h"

class TLcfgChunkStandIn : public TCatalogBaseItem {
public:
    explicit TLcfgChunkStandIn(std::string what) : what_(std::move(what)) {}
    void DescribeField(int, TCatalogVarData&, bool) override {}
    void Clear() override { bytes.clear(); }
    // Keeps the whole chunk body.
    void LoadFromStream(ByteReader& r) override;
    void SaveToStream(ByteWriter& w) override;
    const std::string& What() const { return what_; }

    std::vector<uint8_t> bytes;

private:
    std::string what_;
};

// The party's stand-in also remembers where the party stands, so the field's
// stand-in can hold it on its map. The position is not saved.
class TLcfgPartyStandIn : public TLcfgChunkStandIn {
public:
    TLcfgPartyStandIn() : TLcfgChunkStandIn("party") {}
    void Clear() override {
        TLcfgChunkStandIn::Clear();
        mapId = x = y = direction = 0;
    }
    int32_t mapId = 0, x = 0, y = 0, direction = 0;
};
