#pragma once
// The common base of records that own an event script: the packed bytes as
// stored, and the parsed lines. After a load the lines are the parse of the
// bytes; before a save the bytes are the pack of the lines.

#include <cstdint>
#include <vector>

#include "data/database/event_script.h"
#include "data/record/catalog_base_item.h"

class TLcfBaseEventPageItem : public TCatalogItem {
public:
    explicit TLcfBaseEventPageItem(int32_t id = 0) : TCatalogItem(id) { ClearScript(); }
    // Generic read, then the packed block (its real length) parsed into lines.
    void LoadFromStream(ByteReader& r) override;
    // Lines packed into the block (length set), then the generic write.
    void SaveToStream(ByteWriter& w) override;

    TLcfEventScriptList script;

protected:
    // A cleared script: the bytes 00 00 00 00, one line of code 0.
    void ClearScript();
    // Describes the length and block chunks under the ids of the subclass.
    bool DescribeScript(int id, int lengthId, int blockId, TCatalogVarData& d);

private:
    int32_t packedLength_ = 0;
    std::vector<uint8_t> packed_;
};
