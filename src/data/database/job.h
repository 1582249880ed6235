#pragma once
// The job classes table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfJobItem : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfJob : public TCatalogOf<TLcfJobItem> {
public:
    TLcfJobItem* FindJob(int32_t id) const { return FindStrict(id, 65285); }
};
