// A battler's turn: the gate that decides whether it may act now, the
// condition ticks, the dispatch by action kind, the basic actions, target
// re-aiming, fleeing and self-destruction.
#include "game/battle/battle_actions.h"

#include <algorithm>

#include "data/database/database.h"
#include "data/database/system.h"
#include "data/random.h"
#include "data/string_table.h"
#include "game/actors/battle_sides.h"
#include "game/actors/player_item.h"
#include "game/enemies/monster.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"

namespace {

using Act = TLcfgUnitActItem;
using Show = TActorBattleShow;

bool AnyActing(bool actors) {
    if (actors) {
        for (int i = 0; i < battle_sides::PartySize(); ++i)
            if (const TLcfgUnitItem* a = battle_sides::PartyMember(i); a && a->actionMarker == 2) return true;
    } else {
        for (int i = 0; i < battle_sides::TroopSize(); ++i)
            if (const TLcfgUnitItem* e = battle_sides::Enemy(i); e && e->actionMarker == 2) return true;
    }
    return false;
}

TLcfgPlayerItem* OtherActingActor(const TLcfgUnitItem& self) {
    for (int i = 0; i < battle_sides::PartySize(); ++i)
        if (TLcfgPlayerItem* a = battle_sides::PartyMember(i); a && a != &self && a->actionMarker == 2) return a;
    return nullptr;
}

// The action names the battler's own choice cannot carry out any more.
bool ActionDropped(const TLcfgUnitItem& b) {
    const Act& act = b.action;
    if (act.kind == Act::kSkill) {
        if (!DbSkill || !DbSkill->Find(act.skillId) || !b.CanUseSkill(act.skillId)) return true;
    }
    if (act.kind == Act::kItem) {
        if (!GamePartyInfo || !GamePartyInfo->HasItem(act.itemId)) return true;
    }
    return act.targetKind == Act::kOneMember && act.targetIndex >= battle_sides::PartySize();
}

}  // namespace

void SettleTurn(TLcfgUnitItem& b) {
    if (b.IsActor()) b.pose = Show::kSettle;
}

TLcfgUnitItem* PartyBattler(int i) { return battle_sides::PartyMember(i); }

TLcfgUnitItem* TroopBattler(int i) { return battle_sides::Enemy(i); }

int32_t ApplyVariance(int32_t d) {
    if (d <= 0) return d;
    const int32_t l = std::max<int32_t>(1, int32_t(int64_t(d) * 4 / 10));
    return int32_t(std::clamp<int64_t>(int64_t(d) + Random(l + 1) - l / 2, INT32_MIN, INT32_MAX));
}

// --- The turn ----------------------------------------------------------------------------

bool TBattleActions::ExecuteAction(TLcfgUnitItem& battler) {
    if (battle_sides::PartyAnimationRunning() || battle_sides::TroopAnimationRunning() || AnyActing(false))
        return false;
    if (battler.IsActor()) {
        auto& actor = static_cast<TLcfgPlayerItem&>(battler);
        if (battle_sides::PartySlotOf(actor) < 0 || actor.IsIncapacitated()) return true;
        if (TLcfgPlayerItem* other = OtherActingActor(actor)) {
            if (other->IsIncapacitated()) {
                other->actionMarker = 0;
                host_.EnableEvents();
            }
            return false;
        }
    } else {
        if (AnyActing(true)) return false;
        // The party's initiative: enemies lose the turns that come before
        // the first executed action.
        if (host_.FirstStrike()) return true;
    }

    Act& act = battler.action;
    if (ActionDropped(battler)) {
        battler.actionMarker = 0;
        host_.EnableEvents();
        // An enemy loses the turn. An actor keeps its place at the head of
        // the ready list: with no turn pending its gauge fills again and it
        // chooses anew, before anyone behind it. One that cannot act would
        // never fill its gauge and would hold the list for ever, so it
        // loses the turn.
        return battler.IsEnemy() || !battler.CanAct();
    }
    if (battler.IsEnemy() && act.kind == Act::kSkill && act.targetKind == Act::kOneEnemy) {
        const TLcfgUnitItem* target = TroopBattler(act.targetIndex);
        if (!target || !target->SkillAffects(act.skillId)) return true;
    }
    if (act.kind == Act::kChooseAtTurn || battler.IsBerserk() || battler.IsConfused()) battler.DecideAction();
    if (battler.IsEnemy()) battler.StartFlash(31, 31, 31, 10, 10);

    // Every other battler ticks first, the acting one last.
    for (int i = 0; i < battle_sides::PartySize(); ++i)
        if (TLcfgUnitItem* a = PartyBattler(i); a && a != &battler) ConditionTick(*a);
    for (int i = 0; i < battle_sides::TroopSize(); ++i)
        if (TLcfgUnitItem* e = TroopBattler(i); e && e != &battler) ConditionTick(*e);
    ConditionTick(battler);

    if (battler.IsActor()) {
        if (act.kind == Act::kNone && battler.actionMarker == 0) return true;
        battler.actionMarker = 2;
    } else if (act.kind == Act::kNone) {
        battler.StartFlash(31, 31, 31, 0, 0);
        return true;
    }
    battler.castingMarker = 0;
    battler.itemSkill = 0;

    switch (act.kind) {
    case Act::kBasic: PerformBasicAction(battler); break;
    case Act::kSkill: SkillAction(battler, false); break;
    case Act::kTransform:
        host_.ClearMessageLines();
        if (battler.IsEnemy())
            static_cast<TLcfgMonsterItem&>(battler).Transform(act.transformId);
        else
            SettleTurn(battler);
        break;
    case Act::kItem: UseItem(battler); break;
    default: battler.actionMarker = 0; break;
    }
    host_.EndFirstStrike();
    if (GameSystem) {
        if (act.switchOnId > 0) GameSystem->SetSwitch(act.switchOnId, true);
        if (act.switchOffId > 0) GameSystem->SetSwitch(act.switchOffId, false);
    }
    return true;
}

void TBattleActions::ConditionTick(TLcfgUnitItem& b) {
    if (!DbStatus) return;
    const int32_t strongest = b.StrongestCondition();
    const int n = std::min(b.ConditionCount(), DbStatus->Count());
    for (int32_t i = 1; i <= n; ++i) {
        const int level = b.Condition(i);
        if (level <= 0) continue;
        const TLcfStatusItem* c = DbStatus->Find(i);
        if (!c) continue;
        if (level > c->minimumTurns && Random(100) < c->recoveryChance) {
            b.CureCondition(i);
            if (i == strongest && b.IsActor()) static_cast<TLcfgPlayerItem&>(b).SetIdlePose();
            continue;
        }
        b.SetCondition(i, level + 1);
        const int32_t hpChange = int32_t(std::clamp<int64_t>(
            c->battleHpPoints + int64_t(b.MaxHP()) * c->battleHpPercent / 100, INT32_MIN + 1, INT32_MAX));
        if (c->hpDirection == 0)
            b.DamageHpNonLethal(hpChange);
        else if (c->hpDirection == 1)
            b.RecoverHp(hpChange);
        const int32_t spChange = int32_t(std::clamp<int64_t>(
            c->battleSpPoints + int64_t(b.MaxSP()) * c->battleSpPercent / 100, INT32_MIN + 1, INT32_MAX));
        if (c->spDirection == 0)
            b.LoseSp(spChange);
        else if (c->spDirection == 1)
            b.GainSp(spChange);
    }
}

bool TBattleActions::CheckTarget(TLcfgUnitItem& battler) {
    Act& act = battler.action;
    const bool party = act.targetKind == Act::kOneMember;
    if (!party && act.targetKind != Act::kOneEnemy) return true;
    auto at = [party](int i) { return party ? PartyBattler(i) : TroopBattler(i); };
    if (const TLcfgUnitItem* t = at(act.targetIndex); t && t->IsAlive()) return true;
    const int size = party ? battle_sides::PartySize() : battle_sides::TroopSize();
    for (int i = 0; i < size; ++i)
        if (const TLcfgUnitItem* t = at(i); t && t->IsAlive()) {
            act.targetIndex = i;
            return true;
        }
    return false;
}

// --- Basic actions --------------------------------------------------------------------------

void TBattleActions::EnemyMessage(int stringId) { host_.ShowActionLine(LoadStr(stringId), 10, 40); }

void TBattleActions::PerformBasicAction(TLcfgUnitItem& b) {
    Act& act = b.action;
    const bool enemy = b.IsEnemy();
    auto* actor = b.IsActor() ? static_cast<TLcfgPlayerItem*>(&b) : nullptr;
    switch (act.basic) {
    case Act::kAttack: Attack(b); break;
    case Act::kDoubleAttack:
        if (enemy) EnemyMessage(65248);
        Attack(b);
        break;
    case Act::kDefend:
        if (enemy) EnemyMessage(65249);
        if (actor) actor->pose = Show::kDefend;
        break;
    case Act::kObserve:
        if (enemy) EnemyMessage(65250);
        SettleTurn(b);
        break;
    case Act::kCharge:
        if (enemy) EnemyMessage(65251);
        b.charged = 1;
        SettleTurn(b);
        break;
    case Act::kSelfDestruct:
        if (enemy) {
            EnemyMessage(65252);
            SelfDestruct(static_cast<TLcfgMonsterItem&>(b));
        }
        break;
    case Act::kEscape:
        if (enemy) EnemyMessage(65253);
        if (enemy && host_.StartCondition() == 3) {
            act.basic = Act::kDoNothing;
            break;
        }
        Flee(b);
        break;
    case Act::kDoNothing: b.pose = Show::kDoNothing; break;
    case Act::kChangeRow:
        // The pose update moves the actor and takes its row from the
        // row-change target; writing the row here too would have it
        // flip back on the next frame.
        if (actor) actor->ChangeRow();
        break;
    default: break;
    }
}

void TBattleActions::Flee(TLcfgUnitItem& b) {
    if (b.IsEnemy()) {
        host_.PlaySystemSound(kSoundEscape);
        b.present = 0;
        static_cast<TLcfgMonsterItem&>(b).StartEscapeFade();
        return;
    }
    if (!host_.TryEscape()) {
        b.action.basic = Act::kDoNothing;
        b.pose = Show::kSettle;
    }
}

void TBattleActions::SelfDestruct(TLcfgMonsterItem& enemy) {
    enemy.present = 0;
    host_.PlaySystemSound(kSoundEnemyDefeated);
    enemy.StartEscapeFade();
    for (int i = 0; i < battle_sides::PartySize(); ++i) {
        TLcfgUnitItem* m = PartyBattler(i);
        if (!m || !m->IsAlive()) continue;
        host_.SetMessageLinesUsed(1);
        host_.ClearMessageLines();
        int32_t d = std::max<int32_t>(0, int32_t(int64_t(enemy.EffectiveAttack()) - m->EffectiveDefense() / 2));
        d = ApplyVariance(d);
        DealDamage(*m, d, 128, 10, 100);
    }
}
