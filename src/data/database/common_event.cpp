#include "data/database/common_event.h"

void TLcfCommonEventItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (DescribeScript(id, 21, 22, d)) return;
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 11: d.SetFixed(&trigger, 1); break;
    case 12: d.SetBoolean(&needsSwitch, 0); break;
    case 13: d.SetInteger(&switchId, 1); break;
    }
}

void TLcfCommonEventItem::Clear() {
    TLcfBaseEventPageItem::Clear();
    trigger = kCallOnly;
    ClearScript();
}
