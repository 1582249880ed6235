#pragma once
// Attributes (database section 17): damage percent by the target's rank.

#include <cstdint>

#include "data/record/catalog.h"

class TLcfAttribItem : public TCatalogItem {
public:
    enum Kind : uint8_t { kPhysical = 0, kMagical = 1 };

    explicit TLcfAttribItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    // The rate of rank 0..4 (A..E); 0 for any other rank.
    int32_t GetRate(int rank) const;

    uint8_t kind = kPhysical;
    int32_t rates[5] = {300, 200, 100, 50, 0};
};

class TLcfAttrib : public TCatalogOf<TLcfAttribItem> {
public:
    TLcfAttribItem* FindAttrib(int32_t id) const { return FindStrict(id, 65310); }
};
