#pragma once
// The battle animations table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfAnimationItem : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfAnimation : public TCatalogOf<TLcfAnimationItem> {
public:
    TLcfAnimationItem* GetAnimation(int index) const { return GetStrict(index, 65309); }
    TLcfAnimationItem* FindAnimation(int32_t id) const { return FindStrict(id, 65309); }
};
