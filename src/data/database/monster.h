#pragma once
// The monsters table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfMonsterItem : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfMonster : public TCatalogOf<TLcfMonsterItem> {
public:
    TLcfMonsterItem* FindMonster(int32_t id) const { return FindStrict(id, 65288); }
};
