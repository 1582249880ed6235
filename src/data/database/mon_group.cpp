#include "data/database/mon_group.h"

void TLcfMonGroupMonsterItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetInteger(&monsterId, 1); break;
    case 2: d.SetInteger(&x, 0); break;
    case 3: d.SetInteger(&y, 0); break;
    case 4: d.SetBoolean(&hidden, 0); break;
    }
}

bool BattleTurnMatches(int32_t count, int32_t a, int32_t b) {
    if (a == 0) return count == b;
    return count >= b && int64_t(count) % a == int64_t(b) % a;
}

void TLcfBattleEventTrigger::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetFixed(flags, 2); break;
    case 2: d.SetInteger(&switchA, 1); break;
    case 3: d.SetInteger(&switchB, 1); break;
    case 4: d.SetInteger(&variableId, 1); break;
    case 5: d.SetInteger(&variableValue, 0); break;
    case 6: d.SetInteger(&turnA, 0); break;
    case 7: d.SetInteger(&turnB, 0); break;
    case 8: d.SetInteger(&exhaustionMin, 0); break;
    case 9: d.SetInteger(&exhaustionMax, 100); break;
    case 10: d.SetInteger(&monsterIndex, 0); break;
    case 11: d.SetInteger(&monsterHpMin, 0); break;
    case 12: d.SetInteger(&monsterHpMax, 100); break;
    case 13: d.SetInteger(&heroId, 1); break;
    case 14: d.SetInteger(&heroHpMin, 0); break;
    case 15: d.SetInteger(&heroHpMax, 100); break;
    case 16: d.SetInteger(&monsterTurnIndex, 0); break;
    case 17: d.SetInteger(&monsterTurnA, 0); break;
    case 18: d.SetInteger(&monsterTurnB, 0); break;
    case 19: d.SetInteger(&heroTurnId, 1); break;
    case 20: d.SetInteger(&heroTurnA, 0); break;
    case 21: d.SetInteger(&heroTurnB, 0); break;
    case 22: d.SetInteger(&commandHeroId, 1); break;
    case 23: d.SetInteger(&commandId, 1); break;
    }
}

void TLcfBattleEventTrigger::Clear() {
    TCatalogBaseItem::Clear();
    flags[0] = flags[1] = 0;
}

void TLcfBattleEventPageItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (DescribeScript(id, 11, 12, d)) return;
    if (id == 2) d.SetRecord(&trigger);
}

void TLcfBattleEventPageItem::Clear() {
    TLcfBaseEventPageItem::Clear();
    trigger.Clear();
    ClearScript();
}

void TLcfMonGroupItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (terrainSet.Describe(id, 4, d)) return;
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetList(&members); break;
    case 3: d.SetInteger(&autoPlacement, 0); break;
    case 6: d.SetBoolean(&randomAppearance, 0); break;
    case 11: d.SetList(&pages); break;
    }
}

void TLcfMonGroupItem::Clear() {
    TCatalogItem::Clear();
    members.Clear();
    terrainSet.Reset();
    pages.SetCount(1);
}
