// The effect primitives every action is made of. Each first rolls its
// chance where it takes one, answers whether it took effect, and empties
// the message window's lines once it does.
#include <algorithm>

#include "data/database/database.h"
#include "data/database/system.h"
#include "data/random.h"
#include "game/actors/player_item.h"
#include "game/battle/battle_actions.h"
#include "game/enemies/monster_item.h"

namespace {

bool Roll(int32_t chance) { return Random(100) < chance; }

bool Defending(const TLcfgUnitItem& t) {
    return t.action.kind == TLcfgUnitActItem::kBasic && t.action.basic == TLcfgUnitActItem::kDefend;
}

// Defending halves damage, strong defense halves it once more.
int32_t DefendedDamage(const TLcfgUnitItem& t, int32_t d) {
    if (!Defending(t)) return d;
    d /= 2;
    if (t.StrongDefense()) d /= 2;
    return d;
}

}  // namespace

void TBattleActions::DefeatedEffect(TLcfgUnitItem& target) {
    if (!target.IsEnemy()) return;
    host_.PlaySystemSound(kSoundEnemyDefeated);
    static_cast<TLcfgMonsterItem&>(target).StartDeathFade();
}

bool TBattleActions::DealDamage(TLcfgUnitItem& target, int32_t d, int32_t popupTime, int32_t cureChance,
                                int32_t chance) {
    if (!Roll(chance)) return false;
    d = std::min(9999, DefendedDamage(target, d));
    // A healing attribute turns the blow into a recovery, with its own roll.
    if (d < 0) return RecoverHpEffect(target, d == INT32_MIN ? INT32_MAX : -d, chance);
    host_.ClearMessageLines();
    if (target.IsEnemy()) {
        host_.PlaySystemSound(kSoundEnemyDamaged);
        static_cast<TLcfgMonsterItem&>(target).SetBlink(20);
    } else {
        auto& actor = static_cast<TLcfgPlayerItem&>(target);
        if (d > 0) {
            actor.show.pendingPose = actor.pose;
            actor.pose = TActorBattleShow::kDamaged;
        }
        host_.PlaySystemSound(kSoundAllyDamaged);
    }
    target.DamageHp(d, true);
    target.popupTimer = popupTime;
    if (target.hp <= 0) {
        DefeatedEffect(target);
    } else if (Random(10) < cureChance && DbStatus) {
        // A blow can bring the target to its senses.
        const int n = std::min(target.ConditionCount(), DbStatus->Count());
        for (int32_t k = 1; k <= n; ++k) {
            if (!target.HasCondition(k)) continue;
            const TLcfStatusItem* c = DbStatus->Find(k);
            if (c && Random(100) < c->recoveryByDamage) target.CureCondition(k);
        }
    }
    return true;
}

bool TBattleActions::RecoverHpEffect(TLcfgUnitItem& target, int32_t n, int32_t chance) {
    if (!Roll(chance)) return false;
    n = std::min(9999, n);
    if (target.hp <= 0 || n == 0) return false;
    host_.ClearMessageLines();
    target.RecoverHp(n);
    return true;
}

bool TBattleActions::LowerParameter(TLcfgUnitItem& target, int kind, int32_t chance, int32_t n) {
    if (!Roll(chance)) return false;
    n = std::min(999, n);
    const int32_t changed = kind == 1 ? target.LoseSp(n) : target.ReduceModifier(kind, n);
    if (changed == 0) return false;
    host_.ClearMessageLines();
    return true;
}

bool TBattleActions::RaiseParameter(TLcfgUnitItem& target, int kind, int32_t chance, int32_t n) {
    if (!Roll(chance)) return false;
    n = std::min(999, n);
    if (kind == 1) {
        target.GainSp(n);
    } else if (target.ChangeModifier(kind, n) == 0) {
        return false;
    }
    host_.ClearMessageLines();
    return true;
}

bool TBattleActions::AbsorbHp(TLcfgUnitItem& caster, TLcfgUnitItem& target, int32_t chance, int32_t n) {
    if (!Roll(chance)) return false;
    n = std::min(target.hp, std::min(9999, DefendedDamage(target, n)));
    if (n <= 0) return false;
    host_.ClearMessageLines();
    target.DamageHp(n, true);
    caster.RecoverHp(n);
    if (target.hp <= 0) DefeatedEffect(target);
    return true;
}

bool TBattleActions::AbsorbSp(TLcfgUnitItem& caster, TLcfgUnitItem& target, int32_t chance, int32_t n) {
    if (!Roll(chance)) return false;
    n = std::min(target.sp, std::min(999, n));
    if (n <= 0) return false;
    host_.ClearMessageLines();
    target.LoseSp(n);
    caster.GainSp(n);
    return true;
}

// The rank picks the condition's inflict percentage, which scales the
// chance; the target's armour resistance then takes its share off. This is
// the one place the rank scales an inflict chance.
int32_t TBattleActions::InflictPercent(const TLcfgUnitItem& target, int32_t k, int32_t chance) {
    const TLcfStatusItem* c = DbStatus ? DbStatus->Find(k) : nullptr;
    if (!c) return 0;
    const int64_t scaled = int64_t(chance) * c->InflictChance(target.ConditionRank(k)) / 100;
    const int64_t resist = std::clamp<int64_t>(target.ArmorConditionResist(k), 0, 100);
    return int32_t(std::clamp<int64_t>(scaled * (100 - resist) / 100, 0, 100));
}

bool TBattleActions::InflictConditionEffect(TLcfgUnitItem& target, int32_t k, int32_t chance) {
    const TLcfStatusItem* c = DbStatus ? DbStatus->Find(k) : nullptr;
    if (!c) return false;
    if (target.HasCondition(k)) {
        // Already so: it counts only where there is a message to say so.
        if (c->messageAlready.empty()) return false;
        host_.ClearMessageLines();
        return true;
    }
    if (Random(100) >= InflictPercent(target, k, chance)) return false;
    target.InflictCondition(k);
    if (!target.HasCondition(k)) return false;
    host_.ClearMessageLines();
    if (target.hp <= 0) DefeatedEffect(target);
    return true;
}

bool TBattleActions::CureConditionEffect(TLcfgUnitItem& target, int32_t k, int32_t chance) {
    if (!Roll(chance)) return false;
    if (!target.HasCondition(k)) return false;
    target.CureCondition(k);
    if (target.HasCondition(k)) return false;
    host_.ClearMessageLines();
    return true;
}

bool TBattleActions::ShiftAttributeDownEffect(TLcfgUnitItem& target, int32_t attribute, int32_t chance) {
    if (!Roll(chance) || !target.ShiftAttributeDown(attribute)) return false;
    host_.ClearMessageLines();
    return true;
}

bool TBattleActions::ShiftAttributeUpEffect(TLcfgUnitItem& target, int32_t attribute, int32_t chance) {
    if (!Roll(chance) || !target.ShiftAttributeUp(attribute)) return false;
    host_.ClearMessageLines();
    return true;
}
