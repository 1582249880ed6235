#pragma once
// The terrain table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfGroundItem : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfGround : public TCatalogOf<TLcfGroundItem> {
public:
    TLcfGroundItem* FindGround(int32_t id) const { return FindStrict(id, 65283); }
};
