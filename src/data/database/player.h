#pragma once
// The heroes table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfPlayerItem : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfPlayer : public TCatalogOf<TLcfPlayerItem> {
public:
    TLcfPlayerItem* FindPlayer(int32_t id) const { return FindStrict(id, 65289); }
};
