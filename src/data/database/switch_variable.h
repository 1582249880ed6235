#pragma once
// Names of the game's switches and variables (database sections 23 and 24);
// only the debug scene shows them.

#include "data/record/catalog.h"

// A switch or variable name; the item id is the switch or variable number.
class TLcfNameItem : public TCatalogItem {
public:
    using TCatalogItem::TCatalogItem;
    void DescribeField(int id, TCatalogVarData& d, bool) override {
        if (id == 1) d.SetString(&name, true);
    }
};

class TLcfSwitchItem : public TLcfNameItem {
public:
    using TLcfNameItem::TLcfNameItem;
};

class TLcfVariableItem : public TLcfNameItem {
public:
    using TLcfNameItem::TLcfNameItem;
};

class TLcfSwitch : public TCatalogOf<TLcfSwitchItem> {
public:
    TLcfSwitchItem* FindSwitch(int32_t id) const { return FindStrict(id, 65292); }
};

class TLcfVariable : public TCatalogOf<TLcfVariableItem> {
public:
    TLcfVariableItem* FindVariable(int32_t id) const { return FindStrict(id, 65293); }
};
