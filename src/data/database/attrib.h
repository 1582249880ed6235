#pragma once
// The attributes table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfAttribItem : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfAttrib : public TCatalogOf<TLcfAttribItem> {
public:
    TLcfAttribItem* FindAttrib(int32_t id) const { return FindStrict(id, 65310); }
};
