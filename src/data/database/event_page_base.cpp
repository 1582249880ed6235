#include "data/database/event_page_base.h"

void TLcfBaseEventPageItem::LoadFromStream(ByteReader& r) {
    TCatalogBaseItem::LoadFromStream(r);
    script.Load(packed_);
}

void TLcfBaseEventPageItem::SaveToStream(ByteWriter& w) {
    ByteWriter packed;
    script.SaveToStream(packed);
    packed_ = packed.Take();
    packedLength_ = static_cast<int32_t>(packed_.size());
    WriteFields(w);
}

void TLcfBaseEventPageItem::ClearScript() {
    packed_.assign(4, 0);
    packedLength_ = 4;
    script.Load(packed_);
}

bool TLcfBaseEventPageItem::DescribeScript(int id, int lengthId, int blockId, TCatalogVarData& d) {
    if (id == lengthId)
        d.SetInteger(&packedLength_, 0);
    else if (id == blockId)
        d.SetBlock(&packed_);
    else
        return false;
    return true;
}
