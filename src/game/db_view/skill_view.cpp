#include "game/db_view/skill_view.h"

#include "data/database/database.h"
#include "data/clamp.h"
#include "game/db_view/record_view.h"

void TLcfgSkillView::DescribeField(int id, TCatalogVarData& d, bool) {
    if (conditions.Describe(id, 41, d) || attributes.Describe(id, 43, d)) return;
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 8: d.SetFixed(&kind, 1); break;
    case 9: d.SetInteger(&spByPercent, 0); break;
    case 10: d.SetInteger(&spPercent, 0); break;
    case 11: d.SetInteger(&spCost, 0); break;
    case 12: d.SetFixed(&scope, 1); break;
    case 18: d.SetBoolean(&usableOnField, 1); break;
    case 19: d.SetBoolean(&usableInBattle, 0); break;
    case 21: d.SetInteger(&attackInfluence, 0); break;
    case 22: d.SetInteger(&spiritInfluence, 3); break;
    case 23: d.SetInteger(&variance, 4); break;
    case 24: d.SetInteger(&power, 0); break;
    case 25: d.SetInteger(&successRate, 100); break;
    case 31: d.SetBoolean(&affectsHp, 0); break;
    case 32: d.SetBoolean(&affectsSp, 0); break;
    case 33: d.SetBoolean(&affectsAttack, 0); break;
    case 34: d.SetBoolean(&affectsDefense, 0); break;
    case 35: d.SetBoolean(&affectsSpirit, 0); break;
    case 36: d.SetBoolean(&affectsAgility, 0); break;
    case 37: d.SetBoolean(&absorb, 0); break;
    case 38: d.SetBoolean(&ignoreDefense, 0); break;
    case 45: d.SetBoolean(&attributeShift, 0); break;
    default: break;
    }
}

void TLcfgSkillView::Clear() {
    name.clear();
    kind = kNormal;
    spByPercent = spPercent = spCost = 0;
    scope = kOneEnemy;
    usableOnField = 1;
    usableInBattle = 0;
    attackInfluence = 0;
    spiritInfluence = 3;
    variance = 4;
    power = 0;
    successRate = 100;
    affectsHp = affectsSp = affectsAttack = affectsDefense = affectsSpirit = affectsAgility = 0;
    absorb = ignoreDefense = 0;
    conditions.Reset();
    attributes.Reset();
    attributeShift = 0;
}

int32_t TLcfgSkillView::Cost(int32_t maxSp, bool half) const {
    if (spByPercent == 0) {
        int64_t c = spCost;
        return ClampToInt32(half ? (c + 1) / 2 : c);
    }
    int64_t c = int64_t(maxSp) * spPercent / 100;
    return ClampToInt32(half ? c / 2 : c);
}

const TLcfgSkillView& SkillView(int32_t skillId) {
    static TLcfgViewCache<TLcfgSkillView> cache;
    VARNOW_CHECK(DbSkill != nullptr);
    return cache.Get(*DbSkill->FindSkill(skillId), [] { return std::make_unique<TLcfgSkillView>(); });
}
