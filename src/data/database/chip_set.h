#pragma once
// The chip sets table. Its entries are kept as their raw chunks until the
// record's fields are described, so the section loads, keeps its ids and
// writes back unchanged.

#include "data/record/raw_record.h"

class TLcfChipSetItem : public TLcfRawItem {
public:
    using TLcfRawItem::TLcfRawItem;
};

class TLcfChipSet : public TCatalogOf<TLcfChipSetItem> {
public:
    TLcfChipSetItem* FindChipSet(int32_t id) const { return FindStrict(id, 65311); }
};
