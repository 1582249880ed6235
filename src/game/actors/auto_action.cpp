// The automatic choice of an actor's action (auto battle): every usable
// skill and the plain attack are valued by how much of their target's HP
// they would take (or give back), and the best wins; the attack wins ties.
// The choice of action and the choice of its target are two evaluations:
// the damage formulas and the values draw random numbers, so the target of
// the chosen attack or skill is valued afresh and may differ from the one
// that gave the action its value.

#include <algorithm>
#include <functional>
#include <vector>

#include "data/database/database.h"
#include "data/random.h"
#include "game/actors/player_item.h"
#include "game/enemies/monster.h"
#include "game/party/party_info.h"

namespace {

int TroopCount() { return GameMonsters ? GameMonsters->Count() : 0; }
TLcfgUnitItem* TroopMember(int i) { return GameMonsters ? GameMonsters->Items(i) : nullptr; }
int PartyCount() { return GamePartyInfo ? GamePartyInfo->MemberCount() : 0; }
TLcfgUnitItem* PartyMember(int i) { return GamePartyInfo ? GamePartyInfo->Member(i) : nullptr; }

const TLcfgUnitItem* FirstLivingEnemy() {
    for (int i = 0; i < TroopCount(); ++i)
        if (TroopMember(i)->IsAlive()) return TroopMember(i);
    return nullptr;
}

double RandomFraction() { return Random(100) / 100.0; }

// The greatest value over a side (the first of equal ones; index 0 when
// none is above 0) or the sum of the side's values.
TAutoChoice BestOf(int count, const std::function<double(int)>& value, bool sum) {
    TAutoChoice c;
    for (int i = 0; i < count; ++i) {
        const double v = value(i);
        if (sum) {
            c.value += v;
        } else if (v > c.value) {
            c.value = v;
            c.target = i;
        }
    }
    return c;
}

}  // namespace

double TLcfgPlayerItem::SkillValueOn(int32_t skillId, const TLcfgUnitItem& target) const {
    const TLcfSkillItem& skill = *DbSkill->FindSkill(skillId);
    const int32_t m = MaxSP();
    const double cost = skill.Cost(m, false);
    if (skill.AimsAtEnemies()) {
        if (!target.IsAlive() || !skill.affectsHp) return 0;
        const double hp = target.hp;
        double v = std::min<double>(SkillDamage(skillId, target), hp) / hp;
        if (v == 1.0) v = 1.5;
        if (m > 0) v = std::max(0.0, v - cost / m * 0.25);
        if (&target == FirstLivingEnemy()) v = v * 1.5 + 0.5;
        return v;
    }
    if (skill.scope > TLcfSkillItem::kAllAllies) return 0;
    if (target.hp <= 0) return skill.HasCondition(1) ? skill.baseEffect / 1000.0 + 1.0 : 0.0;
    if (!skill.affectsHp) return 0;
    const int32_t maxHp = target.MaxHP();
    // A target without HP to speak of gains nothing from healing.
    if (maxHp <= 0) return 0;
    double v = std::min<double>(SkillDamage(skillId, target), double(maxHp) - target.hp) / maxHp;
    if (m > 0) v = std::max(0.0, v - cost / m * 0.125);
    return v;
}

TAutoChoice TLcfgPlayerItem::SkillChoice(int32_t skillId) const {
    if (!CanUseSkill(skillId)) return {};
    const TLcfSkillItem& skill = *DbSkill->FindSkill(skillId);
    if (!skill.IsNormalKind()) return {};
    auto onTroop = [&](int i) { return SkillValueOn(skillId, *TroopMember(i)); };
    auto onParty = [&](int i) { return SkillValueOn(skillId, *PartyMember(i)); };
    TAutoChoice c;
    switch (skill.scope) {
    case TLcfSkillItem::kOneEnemy: c = BestOf(TroopCount(), onTroop, false); break;
    case TLcfSkillItem::kAllEnemies: c = BestOf(TroopCount(), onTroop, true); break;
    case TLcfSkillItem::kSelf: c.value = SkillValueOn(skillId, *this); break;
    case TLcfSkillItem::kOneAlly: c = BestOf(PartyCount(), onParty, false); break;
    case TLcfSkillItem::kAllAllies: c = BestOf(PartyCount(), onParty, true); break;
    default: break;
    }
    if (c.value > 0) c.value += RandomFraction();
    return c;
}

double TLcfgPlayerItem::AttackValueOn(const TLcfgUnitItem& enemy) const {
    if (!enemy.IsAlive()) return 0;
    const double hp = enemy.hp;
    double v = std::min<double>(AttackDamage(enemy), hp) / hp;
    if (v == 1.0) v = 1.5;
    if (&enemy == FirstLivingEnemy()) v = v * 1.5 + 0.5;
    if (v > 0) v = v * 1.5 + RandomFraction();
    return v;
}

TAutoChoice TLcfgPlayerItem::AttackChoice() const {
    return BestOf(TroopCount(), [&](int i) { return AttackValueOn(*TroopMember(i)); }, false);
}

void TLcfgPlayerItem::DecideAutoAction() {
    std::vector<TAutoChoice> values;
    values.reserve(skills.size());
    double best = 0;
    for (int32_t id : skills) {
        values.push_back(SkillChoice(id));
        best = std::max(best, values.back().value);
    }
    const TAutoChoice attack = AttackChoice();
    if (attack.value >= best) {
        action.kind = TLcfgUnitActItem::kBasic;
        action.basic = TLcfgUnitActItem::kAttack;
        if (AttackAll()) {
            action.targetKind = TLcfgUnitActItem::kTroop;
        } else {
            action.targetKind = TLcfgUnitActItem::kOneEnemy;
            action.targetIndex = AttackChoice().target;
        }
        return;
    }
    size_t chosen = 0;
    while (values[chosen].value != best) ++chosen;
    const int32_t skillId = skills[chosen];
    action.kind = TLcfgUnitActItem::kSkill;
    action.skillId = skillId;
    auto onTroop = [&](int i) { return SkillValueOn(skillId, *TroopMember(i)); };
    auto onParty = [&](int i) { return SkillValueOn(skillId, *PartyMember(i)); };
    switch (DbSkill->FindSkill(skillId)->scope) {
    case TLcfSkillItem::kOneEnemy:
        action.targetKind = TLcfgUnitActItem::kOneEnemy;
        action.targetIndex = BestOf(TroopCount(), onTroop, false).target;
        break;
    case TLcfSkillItem::kAllEnemies: action.targetKind = TLcfgUnitActItem::kTroop; break;
    case TLcfSkillItem::kSelf: {
        action.targetKind = TLcfgUnitActItem::kOneMember;
        int slot = 0;
        for (int i = 0; i < PartyCount(); ++i)
            if (PartyMember(i) == this) slot = i;
        action.targetIndex = slot;
        break;
    }
    case TLcfSkillItem::kOneAlly:
        action.targetKind = TLcfgUnitActItem::kOneMember;
        action.targetIndex = BestOf(PartyCount(), onParty, false).target;
        break;
    case TLcfSkillItem::kAllAllies: action.targetKind = TLcfgUnitActItem::kParty; break;
    default: break;
    }
}
