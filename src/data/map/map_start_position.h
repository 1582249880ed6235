#pragma once
// Where the party and the three vehicles start: a map id and a cell each.

#include <cstdint>

#include "data/record/catalog_base_item.h"

class TLcfMapStartPosition : public TCatalogBaseItem {
public:
    // Kinds: 0 the party, 1 the boat, 2 the ship, 3 the airship.
    enum : int32_t { kParty = 0, kBoat = 1, kShip = 2, kAirship = 3, kKinds = 4 };

    TLcfMapStartPosition() { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;

    // Any other kind answers 0.
    int32_t GetMapId(int32_t kind) const { return Field(kind, 0); }
    int32_t GetX(int32_t kind) const { return Field(kind, 1); }
    int32_t GetY(int32_t kind) const { return Field(kind, 2); }

    // Per kind: map id, x, y (chunks 1-3, 11-13, 21-23, 31-33).
    int32_t positions[kKinds][3] = {};

private:
    int32_t Field(int32_t kind, int field) const {
        return kind >= 0 && kind < kKinds ? positions[kind][field] : 0;
    }
};
