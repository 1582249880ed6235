#include "data/database/item.h"

void TLcfItemItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (id >= 41 && id <= 46) return d.SetInteger(&parameterIncrease[id - 41], 0);
    if (heroSet.Describe(id, 61, d) || conditionSet.Describe(id, 63, d) || attributeSet.Describe(id, 65, d) ||
        classSet.Describe(id, 72, d))
        return;
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetString(&description, true); break;
    case 3: d.SetFixed(&kind, 1); break;
    case 5: d.SetInteger(&price, 0); break;
    case 6: d.SetInteger(&uses, 1); break;
    case 11: d.SetInteger(&attackBonus, 0); break;
    case 12: d.SetInteger(&defenseBonus, 0); break;
    case 13: d.SetInteger(&spiritBonus, 0); break;
    case 14: d.SetInteger(&agilityBonus, 0); break;
    case 15: d.SetFixed(&twoHanded, 1); break;
    case 16: d.SetInteger(&weaponSpCost, 0); break;
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
    case 31: d.SetFixed(&scope, 1); break;
    case 32: d.SetInteger(&hpPercent, 0); break;
    case 33: d.SetInteger(&hpPoints, 0); break;
    case 34: d.SetInteger(&spPercent, 0); break;
    case 35: d.SetInteger(&spPoints, 0); break;
    case 37: d.SetBoolean(&fieldOnly, 0); break;
    case 38: d.SetBoolean(&fallenOnly, 0); break;
    case 51: d.SetFixed(&plainSkillUse, 1); break;
    case 53: d.SetInteger(&skillId, 1); break;
    case 55: d.SetInteger(&switchId, 1); break;
    case 57: d.SetBoolean(&switchOnField, 1); break;
    case 58: d.SetBoolean(&switchInBattle, 0); break;
    case 67: d.SetInteger(&conditionRate, 0); break;
    case 68: d.SetInteger(&conditionMode, 0); break;
    case 69: d.SetInteger(&reserved69, -1); break;
    case 70: d.SetList(&battleDisplay); break;
    case 71: d.SetBoolean(&performsSkill, 0); break;
    case 75: d.SetInteger(&projectileArc, 0); break;
    case 76: d.SetInteger(&projectileTarget, 0); break;
    }
}

void TLcfItemItem::Clear() {
    TCatalogItem::Clear();
    kind = kCommon;
    twoHanded = 0;
    scope = 0;
    plainSkillUse = 0;
    heroSet.Reset();
    conditionSet.Reset();
    attributeSet.Reset();
    battleDisplay.SetCount(1);
    classSet.Reset();
}

void TLcfItemItem::SaveToStream(ByteWriter& w) {
    conditionSet.Trim(DatabaseConditionCount());
    attributeSet.Trim(DatabaseAttributeCount());
    WriteFields(w);
}
