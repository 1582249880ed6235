// Attacks: who is struck, and the hit itself (miss value, critical, damage
// with charge and variance, and a weapon's conditions). The general hit
// serves enemies and every strike outside an actor's pose sequence; the
// hand hit is an actor's swing with the weapon of its current hand.
#include <algorithm>

#include "data/database/database.h"
#include "data/database/system.h"
#include "data/random.h"
#include "game/actors/battle_sides.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/battle/battle_actions.h"

namespace {

using Act = TLcfgUnitActItem;

// Battle animation 1 on the party's side: one member, all (-1) or the
// screen (-2).
void PlayStrikeAnimation(int32_t target) {
    if (GamePlayers) GamePlayers->PlayAnimation(1, 0, target);
}

int32_t StrikeAnimationTarget(const Act& act) {
    if (act.targetKind == Act::kOneMember) return act.targetIndex;
    if (act.targetKind == Act::kParty) return -1;
    return -2;
}

}  // namespace

void TBattleActions::Attack(TLcfgUnitItem& b) {
    if (!CheckTarget(b)) {
        SettleTurn(b);
        return;
    }
    if (b.IsActor()) {
        // The pose sequence strikes at its hit frames.
        static_cast<TLcfgPlayerItem&>(b).PrepareActionMotion();
        return;
    }
    const Act& act = b.action;
    PlayStrikeAnimation(StrikeAnimationTarget(act));
    switch (act.targetKind) {
    case Act::kOneMember:
        if (TLcfgUnitItem* t = PartyBattler(act.targetIndex)) StrikeTarget(b, *t);
        break;
    case Act::kParty:
        for (int i = 0; i < battle_sides::PartySize(); ++i)
            if (TLcfgUnitItem* t = PartyBattler(i)) StrikeTarget(b, *t);
        break;
    case Act::kOneEnemy:
        if (TLcfgUnitItem* t = TroopBattler(act.targetIndex)) StrikeTarget(b, *t);
        break;
    case Act::kTroop:
        for (int i = 0; i < battle_sides::TroopSize(); ++i)
            if (TLcfgUnitItem* t = TroopBattler(i)) StrikeTarget(b, *t);
        break;
    default: break;
    }
}

void TBattleActions::StrikeTarget(TLcfgUnitItem& attacker, TLcfgUnitItem& target) {
    if (target.IsAlive()) Hit(attacker, target);
    const Act& act = attacker.action;
    if ((attacker.AttackTwice() || act.basic == Act::kDoubleAttack) && target.IsAlive() && act.kind != Act::kNone) {
        host_.WaitForPartyAnimation();
        PlayStrikeAnimation(StrikeAnimationTarget(act));
        Hit(attacker, target);
    }
}

void TBattleActions::StrikeIfValid(TLcfgPlayerItem& attacker, TLcfgUnitItem& target) {
    if (CheckTarget(attacker) && target.IsAlive()) HandHit(attacker, target);
}

double TBattleActions::MissValue(const TLcfgUnitItem& attacker, const TLcfgUnitItem& target, bool hand) const {
    if (!target.CanAct()) return 0;
    double m = double(100 - int64_t(attacker.HitRate()) * attacker.ConditionHitRate() / 100);
    if (!attacker.IgnoreEvasion()) {
        // Effective agilities; an attacker's is at least 1 (the battle
        // agility it rests on is kept to 1..999).
        const double ta = target.EffectiveAgility();
        const double aa = std::max(1, attacker.EffectiveAgility());
        m = ((ta / aa - 1) * 0.5 + 1) * m;
        if (target.RaiseEvasion()) m += 25;
        // The back row (the front row when attacked from behind) is harder
        // to reach; surrounded battlers always are. The general hit weighs
        // position for actors only.
        if (hand || target.IsActor()) {
            const int cond = host_.StartCondition();
            if (((cond == 0 || cond == 1) && target.row == 1) || (cond == 2 && target.row == 0) || cond == 3) m += 25;
        }
    }
    return m;
}

void TBattleActions::Hit(TLcfgUnitItem& attacker, TLcfgUnitItem& target) {
    host_.SetMessageLinesUsed(1);
    host_.ClearMessageLines();
    ResolveHit(attacker, target, false);
}

void TBattleActions::HandHit(TLcfgPlayerItem& attacker, TLcfgUnitItem& target) { ResolveHit(attacker, target, true); }

void TBattleActions::ShowMiss(TLcfgUnitItem& target, bool sound) {
    host_.ClearMessageLines();
    if (sound) host_.PlaySystemSound(kSoundEvasion);
    target.ShowPopupText(DbVocabulary ? DbVocabulary->Get(TLcfVocabulary::kMiss) : std::string());
}

void TBattleActions::ResolveHit(TLcfgUnitItem& attacker, TLcfgUnitItem& target, bool hand) {
    if (target.ConditionFlagA() || MissValue(attacker, target, hand) * 100 > Random(10000)) {
        ShowMiss(target, true);
        return;
    }
    double c = attacker.CriticalRate();
    if (target.PreventCritical() || attacker.IsSameKind(target)) c = 0;
    const bool critical = c * 100 > Random(10000);
    if (critical) host_.FlashScreen(28, 28, 28, 20, 8);

    auto* actor = attacker.IsActor() ? static_cast<TLcfgPlayerItem*>(&attacker) : nullptr;
    int64_t d = hand && actor ? actor->WeaponAttackDamage(target) : attacker.AttackDamage(target);
    if (critical)
        d *= 3;
    else if (attacker.charged)
        d *= 2;
    attacker.charged = 0;
    d = ApplyVariance(int32_t(std::clamp<int64_t>(d, INT32_MIN, INT32_MAX)));
    DealDamage(target, int32_t(d), 128, 10, 100);

    if (!actor || !DbItem || !DbStatus || target.hp <= 0) return;
    const TLcfItemItem* weapon = DbItem->Find(actor->Equipment(actor->swingingHand == 1 ? 1 : 0));
    if (!weapon || !weapon->IsWeapon()) return;
    const int32_t mode = weapon->conditionMode;
    for (int32_t k = 1; k <= DbStatus->Count(); ++k) {
        const int32_t r = hand ? actor->HandConditionRate(k) : actor->WeaponConditionRate(k);
        if (r <= 0) continue;
        if (mode == 0 && !target.HasCondition(k))
            InflictConditionEffect(target, k, r);
        else if (mode != 0 && target.HasCondition(k))
            CureConditionEffect(target, k, weapon->conditionRate);
    }
}
