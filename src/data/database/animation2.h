#pragma once
// The battler animation sets table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfAnimation2Item : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfAnimation2 : public TCatalogOf<TLcfAnimation2Item> {
public:
    TLcfAnimation2Item* GetAnimation2(int index) const { return GetStrict(index, 65309); }
    TLcfAnimation2Item* FindAnimation2(int32_t id) const { return FindStrict(id, 65309); }
};
