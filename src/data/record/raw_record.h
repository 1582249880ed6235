#pragma once
// Records kept as their raw chunk bytes: stand-ins for record classes whose
// fields are not described yet. Loading checks the chunk structure (ids and
// lengths, up to the terminator) and keeps the bytes; saving writes them back
// unchanged, so a table held this way round-trips byte for byte.

#include <cstdint>
#include <vector>

#include "data/record/catalog.h"

class TLcfRawRecord : public TCatalogBaseItem {
public:
    void DescribeField(int, TCatalogVarData&, bool) override {}
    void Clear() override { chunks.clear(); }
    void LoadFromStream(ByteReader& r) override;
    void SaveToStream(ByteWriter& w) override;

    // The chunks without the terminator.
    std::vector<uint8_t> chunks;
};

class TLcfRawItem : public TCatalogItem {
public:
    using TCatalogItem::TCatalogItem;
    void DescribeField(int, TCatalogVarData&, bool) override {}
    void Clear() override { chunks.clear(); }
    void LoadFromStream(ByteReader& r) override;
    void SaveToStream(ByteWriter& w) override;

    std::vector<uint8_t> chunks;
};

// Shared by both: reads one record's chunks and keeps them.
void ReadRawChunks(ByteReader& r, std::vector<uint8_t>& out);
void WriteRawChunks(ByteWriter& w, const std::vector<uint8_t>& chunks);
