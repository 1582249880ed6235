#pragma once
// The monster groups table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfMonGroupItem : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfMonGroup : public TCatalogOf<TLcfMonGroupItem> {
public:
    TLcfMonGroupItem* FindMonGroup(int32_t id) const { return FindStrict(id, 65287); }
};
