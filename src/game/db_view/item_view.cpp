#include "game/db_view/item_view.h"

#include "data/database/database.h"
#include "game/db_view/record_view.h"

void TLcfgItemView::DescribeField(int id, TCatalogVarData& d, bool) {
    if (heroes.Describe(id, 61, d) || conditions.Describe(id, 63, d) || attributes.Describe(id, 65, d) ||
        classes.Describe(id, 72, d))
        return;
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 3: d.SetFixed(&kind, 1); break;
    case 6: d.SetInteger(&uses, 1); break;
    case 11: d.SetInteger(&attack, 0); break;
    case 12: d.SetInteger(&defense, 0); break;
    case 13: d.SetInteger(&spirit, 0); break;
    case 14: d.SetInteger(&agility, 0); break;
    case 15: d.SetFixed(&twoHanded, 1); break;
    case 16: d.SetInteger(&spCost, 0); break;
    case 17: d.SetInteger(&hitRate, 90); break;
    case 18: d.SetInteger(&criticalBonus, 0); break;
    case 20: d.SetInteger(&battleAnimation, 1); break;
    case 21: d.SetBoolean(&firstStrike, 0); break;
    case 22: d.SetBoolean(&attackTwice, 0); break;
    case 23: d.SetBoolean(&attackAll, 0); break;
    case 24: d.SetBoolean(&ignoreEvasion, 0); break;
    case 25: d.SetBoolean(&preventCritical, 0); break;
    case 26: d.SetBoolean(&raiseEvasion, 0); break;
    case 27: d.SetBoolean(&halfSpCost, 0); break;
    case 28: d.SetBoolean(&noTerrainDamage, 0); break;
    case 29: d.SetBoolean(&holdsBothHands, 0); break;
    case 37: d.SetBoolean(&fieldOnly, 0); break;
    case 53: d.SetInteger(&skillId, 1); break;
    case 57: d.SetBoolean(&switchOnField, 1); break;
    case 58: d.SetBoolean(&switchInBattle, 0); break;
    case 67: d.SetInteger(&conditionRate, 0); break;
    case 68: d.SetInteger(&conditionMode, 0); break;
    case 71: d.SetBoolean(&performsSkill, 0); break;
    default: break;
    }
}

void TLcfgItemView::Clear() {
    name.clear();
    kind = kCommon;
    uses = 1;
    attack = defense = spirit = agility = 0;
    twoHanded = 0;
    spCost = 0;
    hitRate = 90;
    criticalBonus = 0;
    battleAnimation = 1;
    firstStrike = attackTwice = attackAll = ignoreEvasion = 0;
    preventCritical = raiseEvasion = halfSpCost = noTerrainDamage = 0;
    holdsBothHands = 0;
    fieldOnly = 0;
    skillId = 1;
    switchOnField = 1;
    switchInBattle = 0;
    heroes.Reset();
    conditions.Reset();
    attributes.Reset();
    conditionRate = 0;
    conditionMode = 0;
    performsSkill = 0;
    classes.Reset();
}

const TLcfgItemView& ItemView(int32_t itemId) {
    static TLcfgViewCache<TLcfgItemView> cache;
    VARNOW_CHECK(DbItem != nullptr);
    return cache.Get(*DbItem->FindItem(itemId), [] { return std::make_unique<TLcfgItemView>(); });
}

const TLcfgItemView* FindItemView(int32_t itemId) {
    if (itemId <= 0 || !DbItem || !DbItem->Find(itemId)) return nullptr;
    return &ItemView(itemId);
}

int ItemTableCount() { return DbItem ? DbItem->Count() : 0; }
