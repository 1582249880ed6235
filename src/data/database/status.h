#pragma once
// The conditions table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfStatusItem : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfStatus : public TCatalogOf<TLcfStatusItem> {
public:
    TLcfStatusItem* FindStatus(int32_t id) const { return FindStrict(id, 65291); }
};
