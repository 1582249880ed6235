#pragma once
// The random encounters of one map-tree entry: troop ids.

#include <cstdint>

#include "data/record/catalog.h"

class TLcfEncountItem : public TCatalogItem {
public:
    explicit TLcfEncountItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;

    // Absent reads as 1, and 1 is also what the writer leaves out, so an
    // encounter written and read back keeps its troop.
    int32_t troopId = 1;
};

class TLcfEncount : public TCatalogOf<TLcfEncountItem> {};
