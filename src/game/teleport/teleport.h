#pragma once
// Places the teleport skills can send the party to, keyed by map id, and
// the escape point (id 0) that escape skills use. Saved as chunk 110 of the
// save file. Ids never shift when a target is removed.

#include "data/record/catalog.h"

class TLcfgTeleportItem : public TCatalogItem {
public:
    explicit TLcfgTeleportItem(int32_t id = 0) : TCatalogItem(id) {}
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // Takes the party there (leaving any vehicle), turns the switch on when
    // asked and lets every map event re-select its page.
    void Execute();

    int32_t mapId = 0, x = 0, y = 0;  // [1-3]
    uint8_t switchOn = 0;             // [4]
    int32_t switchId = 0;             // [5]
};

class TLcfgTeleport : public TCatalogOf<TLcfgTeleportItem> {
public:
    // Empty list with the escape point.
    void Reset();
    // The escape point (made when missing).
    TLcfgTeleportItem* EscapePoint();
    // A missing entry fails a check.
    TLcfgTeleportItem* ByIndex(int index) const;
    TLcfgTeleportItem* ById(int32_t id) const;
    // Get or create the target of that map and set it. Negative ids are
    // refused.
    void SetTarget(int32_t mapId, int32_t x, int32_t y, bool switchOn, int32_t switchId);
    // Removes the target of that map; the escape point is never removed.
    void RemoveTarget(int32_t mapId);
    // The list read, negative ids dropped, the escape point made if missing.
    void LoadFromStream(ByteReader& r) override;
};

// The list as a save-file chunk: its body is the list form, and Clear
// resets to the escape point alone.
class TLcfgTeleportChunk : public TCatalogBaseItem {
public:
    TLcfgTeleportChunk() { targets.Reset(); }
    void DescribeField(int, TCatalogVarData&, bool) override {}
    void Clear() override { targets.Reset(); }
    void LoadFromStream(ByteReader& r) override;
    void SaveToStream(ByteWriter& w) override { targets.SaveToStream(w); }
    TLcfgTeleport targets;
};

extern TLcfgTeleport* GameTeleports;
