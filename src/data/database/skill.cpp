#include "data/database/skill.h"

#include "data/clamp.h"

void TLcfSkillItem::DescribeField(int id, TCatalogVarData& d, bool) {
    if (conditionSet.Describe(id, 41, d) || attributeSet.Describe(id, 43, d)) return;
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetString(&description, true); break;
    case 3: d.SetString(&message1, true); break;
    case 4: d.SetString(&message2, true); break;
    case 7: d.SetInteger(&failureMessage, 0); break;
    case 8: d.SetFixed(&kind, 1); break;
    case 9: d.SetInteger(&spByPercent, 0); break;
    case 10: d.SetInteger(&spPercent, 0); break;
    case 11: d.SetInteger(&spCost, 0); break;
    case 12: d.SetFixed(&scope, 1); break;
    case 13: d.SetInteger(&switchId, 1); break;
    case 14: d.SetInteger(&battleAnimation, 1); break;
    case 16: d.SetRecord(&sound); break;
    case 18: d.SetBoolean(&usableOnField, 1); break;
    case 19: d.SetBoolean(&usableInBattle, 0); break;
    case 20: d.SetInteger(&battleSetting, 0); break;
    case 21: d.SetInteger(&attackInfluence, 0); break;
    case 22: d.SetInteger(&spiritInfluence, 3); break;
    case 23: d.SetInteger(&variance, 4); break;
    case 24: d.SetInteger(&baseEffect, 0); break;
    case 25: d.SetInteger(&successRate, 100); break;
    case 31: d.SetBoolean(&affectsHp, 0); break;
    case 32: d.SetBoolean(&affectsSp, 0); break;
    case 33: d.SetBoolean(&affectsAttack, 0); break;
    case 34: d.SetBoolean(&affectsDefense, 0); break;
    case 35: d.SetBoolean(&affectsSpirit, 0); break;
    case 36: d.SetBoolean(&affectsAgility, 0); break;
    case 37: d.SetBoolean(&absorb, 0); break;
    case 38: d.SetBoolean(&ignoreDefense, 0); break;
    case 39: d.SetBoolean(&reserved39, 0); break;
    case 45: d.SetBoolean(&attributeDefenseShift, 0); break;
    case 49: d.SetInteger(&reserved49, -1); break;
    case 50: d.SetList(&battleDisplay); break;
    }
}

void TLcfSkillItem::Clear() {
    TCatalogItem::Clear();
    kind = kNormal;
    scope = kOneEnemy;
    sound.Clear();
    conditionSet.Reset();
    attributeSet.Reset();
    battleDisplay.SetCount(1);
}

void TLcfSkillItem::SaveToStream(ByteWriter& w) {
    conditionSet.Trim(DatabaseConditionCount());
    attributeSet.Trim(DatabaseAttributeCount());
    WriteFields(w);
}

int32_t TLcfSkillItem::Cost(int32_t maxSp, bool half) const {
    if (spByPercent == 0) {
        int64_t c = spCost;
        return ClampToInt32(half ? (c + 1) / 2 : c);
    }
    int64_t c = int64_t(maxSp) * spPercent / 100;
    return ClampToInt32(half ? c / 2 : c);
}
