#pragma once
// Flag and rank sets of database records: a count chunk followed by a block
// of that many bytes, entry i standing for id i + 1. An id outside the stored
// range reads as the set's default (flags 1 or 0, ranks 2 = C or 1 = B;
// ranks 0..4 stand for A..E).

#include <cstdint>

#include "data/record/catalog_var_data.h"
#include "data/record/counted_array.h"

class TLcfFlagSet : public TCountedArray<uint8_t> {
public:
    explicit TLcfFlagSet(uint8_t fallback) : fallback_(fallback) {}

    uint8_t Default() const { return fallback_; }
    // The entry of `id`, or the default outside 1..Length().
    uint8_t GetEntry(int32_t id) const {
        if (id < 1) return fallback_;
        return Get(id - 1, fallback_);
    }
    // Sets the entry of `id` (1..kMaxEntries), growing the set with defaults.
    void SetEntry(int32_t id, uint8_t value);
    // Empty: every id reads the default.
    void Reset() {
        count = 0;
        bytes.clear();
    }
    // The trim-before-write rule: the set shrinks to the position of its
    // last entry that is not the default, and to no more than `limit`.
    void Trim(int limit);
    // Describes chunk `id` when it is the count chunk or the block chunk
    // (countId + 1); answers whether it was one of them.
    bool Describe(int id, int countId, TCatalogVarData& d) {
        if (id == countId) d.SetInteger(&count, 0);
        else if (id == countId + 1) d.SetBlock(&bytes);
        else return false;
        return true;
    }

    // No table of the format reaches this many ids.
    static constexpr int32_t kMaxEntries = 100000;

private:
    uint8_t fallback_;
};

// The current number of conditions and attributes in the database, which
// bound the sets before they are written; without a database, no bound.
int DatabaseConditionCount();
int DatabaseAttributeCount();
