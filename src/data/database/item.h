#pragma once
// The items table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfItemItem : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfItem : public TCatalogOf<TLcfItemItem> {
public:
    TLcfItemItem* FindItem(int32_t id) const { return FindStrict(id, 65284); }
};
