#include "scenes/menu/menu_actions.h"

#include <algorithm>

#include "data/database/animation.h"
#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/skill.h"
#include "data/database/status.h"
#include "data/clamp.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"

namespace menu_actions {

namespace {

int ConditionCount() { return DbStatus ? DbStatus->Count() : 0; }

constexpr int32_t kDeath = 1;

// max HP × percent div 100 + points, within 32 bits.
int32_t Amount(int32_t maximum, int32_t percent, int32_t points) {
    return ClampToInt32(int64_t(maximum) * percent / 100 + points);
}

}  // namespace

bool ApplyMedicine(const TLcfItemItem& item, TLcfgPlayerItem& target) {
    if (!target.ItemAllowed(item)) return false;
    if (item.fallenOnly && target.hp > 0) return false;
    const bool wasDead = !target.IsAlive();
    bool success = false;
    const int32_t hp = Amount(target.MaxHP(), item.hpPercent, item.hpPoints);
    if (item.hpPercent > 0 || item.hpPoints > 0) success |= target.RecoverHp(hp) > 0;
    if (item.spPercent > 0 || item.spPoints > 0)
        success |= target.GainSp(Amount(target.MaxSP(), item.spPercent, item.spPoints)) > 0;
    for (int32_t c = 1; c <= ConditionCount(); ++c)
        if (item.HasCondition(c) && target.HasCondition(c)) {
            target.CureCondition(c);
            success |= !target.HasCondition(c);
        }
    // Cured of death with 1 HP: the rest of the recovery follows.
    if (wasDead && target.IsAlive()) target.RecoverHp(std::max(0, hp - 1));
    return success;
}

bool ApplySkillBook(const TLcfItemItem& item, TLcfgPlayerItem& target) {
    if (!target.ItemAllowed(item) || !target.IsAlive() || target.KnowsSkill(item.skillId)) return false;
    target.LearnSkill(item.skillId);
    return target.KnowsSkill(item.skillId);
}

bool ApplyParameterItem(const TLcfItemItem& item, TLcfgPlayerItem& target) {
    if (!target.ItemAllowed(item) || !target.IsAlive()) return false;
    for (int kind = 0; kind < 6; ++kind) target.AddParamModifier(kind, item.parameterIncrease[kind]);
    return true;
}

bool ApplySkill(const TLcfgPlayerItem& user, const TLcfSkillItem& skill, TLcfgPlayerItem& target) {
    const int32_t a = user.SkillDamage(skill.Id(), target);
    const bool wasDead = !target.IsAlive();
    bool success = false;
    if (skill.affectsHp) success |= target.RecoverHp(a) > 0;
    if (skill.affectsSp) success |= target.GainSp(a) > 0;
    // A skill aimed at the party cures its conditions unless its battle
    // setting turns it round; one aimed at enemies inflicts them unless
    // the setting turns it round.
    const bool cures = skill.AimsAtEnemies() != (skill.battleSetting == 0);
    for (int32_t c = 1; c <= ConditionCount(); ++c) {
        if (!skill.HasCondition(c)) continue;
        if (cures && target.HasCondition(c)) {
            target.CureCondition(c);
            if (target.HasCondition(c)) continue;
            success = true;
            if (c == kDeath && wasDead && target.IsAlive()) {
                const int64_t rest = skill.affectsHp ? int64_t(a) - 1 : int64_t(a) * target.MaxHP() / 100 - 1;
                target.RecoverHp(ClampToInt32(std::max<int64_t>(0, rest)));
            }
        } else if (!cures && !target.HasCondition(c)) {
            target.InflictCondition(c);
            success |= target.HasCondition(c);
        }
    }
    return success;
}

int ItemSkillUserSlot(const TLcfItemItem& item) {
    if (!GamePartyInfo) return -1;
    int best = -1;
    int32_t bestLevel = 0;
    for (int slot = 0; slot < GamePartyInfo->MemberCount(); ++slot) {
        const TLcfgPlayerItem* a = GamePartyInfo->Member(slot);
        if (!a || !a->ItemAllowed(item) || !a->CanAct()) continue;
        if (best < 0 || a->Level() > bestLevel) {
            best = slot;
            bestLevel = a->Level();
        }
    }
    return best;
}

int32_t SkillCost(const TLcfgPlayerItem& user, const TLcfSkillItem& skill) {
    return skill.Cost(user.MaxSP(), user.HalfSpCost());
}

void PlaySkillAnimationSound(const TLcfSkillItem& skill) {
    const TLcfAnimationItem* animation = DbAnimation ? DbAnimation->Find(skill.battleAnimation) : nullptr;
    if (!animation || !GameSystem) return;
    for (int i = 0; i < animation->timings.Count(); ++i) {
        const TLcfAnimationTimingItem* t = animation->timings.Items(i);
        if (t && t->sound.name != "(OFF)") {
            GameSystem->PlaySound(t->sound);
            return;
        }
    }
}

}  // namespace menu_actions
