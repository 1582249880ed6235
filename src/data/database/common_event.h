#pragma once
// Common events (database section 25): named scripts that run on their own
// trigger or when called.

#include <cstdint>

#include "data/database/event_page_base.h"
#include "data/record/catalog.h"

class TLcfCommonEventItem : public TLcfBaseEventPageItem {
public:
    enum Trigger : uint8_t { kAutorun = 3, kParallel = 4, kCallOnly = 5 };

    explicit TLcfCommonEventItem(int32_t id = 0) : TLcfBaseEventPageItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    uint8_t trigger = kCallOnly;  // 3 autorun, 4 parallel, anything else only when called
    uint8_t needsSwitch = 0;
    int32_t switchId = 1;
};

class TLcfCommonEvent : public TCatalogOf<TLcfCommonEventItem> {
public:
    TLcfCommonEventItem* GetCommonEvent(int index) const { return GetStrict(index, 65280); }
    TLcfCommonEventItem* FindCommonEvent(int32_t id) const { return FindStrict(id, 65280); }
};
