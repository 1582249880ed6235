#pragma once
// The skills table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfSkillItem : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfSkill : public TCatalogOf<TLcfSkillItem> {
public:
    TLcfSkillItem* FindSkill(int32_t id) const { return FindStrict(id, 65290); }
};
