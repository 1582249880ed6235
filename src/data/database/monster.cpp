#include "data/database/monster.h"

#include "data/database/hero_growth.h"

void TLcfMonsterActItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetFixed(&kind, 1); break;
    case 2: d.SetFixed(&basicAction, 1); break;
    case 3: d.SetInteger(&skillId, 1); break;
    case 4: d.SetInteger(&transformInto, 1); break;
    case 5: d.SetFixed(&condition, 1); break;
    case 6: d.SetInteger(&conditionA, 0); break;
    case 7: d.SetInteger(&conditionB, 0); break;
    case 8: d.SetInteger(&conditionSwitch, 1); break;
    case 9: d.SetBoolean(&switchOn, 0); break;
    case 10: d.SetInteger(&switchOnId, 1); break;
    case 11: d.SetBoolean(&switchOff, 0); break;
    case 12: d.SetInteger(&switchOffId, 1); break;
    case 13: d.SetInteger(&rating, 50); break;
    }
}

void TLcfMonsterActItem::Clear() {
    TCatalogItem::Clear();
    kind = kBasic;
    basicAction = 0;
    condition = kAlways;
}

void TLcfMonsterItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (statusRanks.Describe(id, 31, d) || attribRanks.Describe(id, 33, d)) return;
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetString(&picture, true); break;
    case 3: d.SetInteger(&hue, 0); break;
    case 4: d.SetInteger(&maxHp, 10); break;
    case 5: d.SetInteger(&maxSp, 10); break;
    case 6: d.SetInteger(&attack, 10); break;
    case 7: d.SetInteger(&defense, 10); break;
    case 8: d.SetInteger(&spirit, 10); break;
    case 9: d.SetInteger(&agility, 10); break;
    case 10: d.SetBoolean(&transparent, 0); break;
    case 11: d.SetInteger(&experience, 0); break;
    case 12: d.SetInteger(&gold, 0); break;
    case 13: d.SetInteger(&dropItem, 0); break;
    case 14: d.SetInteger(&dropChance, 100); break;
    case 21: d.SetBoolean(&criticalHits, 0); break;
    case 22: d.SetInteger(&criticalRate, 30); break;
    case 26: d.SetBoolean(&missesOften, 0); break;
    case 28: d.SetBoolean(&floating, 0); break;
    case 42: d.SetList(&actions); break;
    }
}

void TLcfMonsterItem::Clear() {
    TCatalogItem::Clear();
    statusRanks.Reset();
    attribRanks.Reset();
    actions.Clear();
}

void TLcfMonsterItem::SaveToStream(ByteWriter& w) {
    statusRanks.Trim(DatabaseConditionCount());
    attribRanks.Trim(DatabaseAttributeCount());
    WriteFields(w);
}

double TLcfMonsterItem::CriticalChance() const { return CriticalChancePercent(criticalHits, criticalRate); }
