// Skills (with reflection) and items: the skill action of enemies, the
// three steps an actor's pose sequence drives, a skill's effect on one
// target, item use and medicine.
#include <algorithm>
#include <vector>

#include "data/database/database.h"
#include "data/database/system.h"
#include "data/random.h"
#include "game/actors/battle_sides.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/battle/battle_actions.h"
#include "game/enemies/monster.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"

namespace {

using Act = TLcfgUnitActItem;

const TLcfSkillItem* SkillOf(const TLcfgUnitItem& b) { return DbSkill ? DbSkill->Find(b.action.skillId) : nullptr; }

// A skill's animation on one battler (index) or a whole side (-1).
void PlayOnSide(bool party, int32_t animationId, int32_t target) {
    if (party) {
        if (GamePlayers) GamePlayers->PlayAnimation(animationId, 0, target);
    } else {
        battle_sides::PlayTroopAnimation(animationId, 0, target);
    }
}

void PlaySkillOn(const TLcfSkillItem& skill, const Act& act) {
    switch (act.targetKind) {
    case Act::kOneMember: PlayOnSide(true, skill.battleAnimation, act.targetIndex); break;
    case Act::kParty: PlayOnSide(true, skill.battleAnimation, -1); break;
    case Act::kOneEnemy: PlayOnSide(false, skill.battleAnimation, act.targetIndex); break;
    case Act::kTroop: PlayOnSide(false, skill.battleAnimation, -1); break;
    default: PlayOnSide(false, skill.battleAnimation, -2); break;
    }
}

// The index of a battler on its own side, or -1.
int32_t SideIndexOf(const TLcfgUnitItem& b) {
    const int n = b.IsActor() ? battle_sides::PartySize() : battle_sides::TroopSize();
    for (int i = 0; i < n; ++i)
        if ((b.IsActor() ? PartyBattler(i) : TroopBattler(i)) == &b) return i;
    return -1;
}

std::vector<TLcfgUnitItem*> WholeSide(bool party) {
    std::vector<TLcfgUnitItem*> v;
    const int n = party ? battle_sides::PartySize() : battle_sides::TroopSize();
    for (int i = 0; i < n; ++i)
        if (TLcfgUnitItem* b = party ? PartyBattler(i) : TroopBattler(i)) v.push_back(b);
    return v;
}

bool Revives(const TLcfSkillItem& skill) { return skill.scope >= 2 && skill.HasCondition(1); }

}  // namespace

// --- The skill action ----------------------------------------------------------------------

void TBattleActions::SkillAction(TLcfgUnitItem& caster, bool fromItem) {
    const TLcfSkillItem* skill = SkillOf(caster);
    if (!skill) {
        caster.actionMarker = 0;
        SettleTurn(caster);
        return;
    }
    caster.castingMarker = 1;
    if (fromItem) caster.itemSkill = 1;
    if (caster.IsActor()) {
        // An item's pose may have settled while its name was shown, which
        // ends the turn; the skill it casts acts on, so the turn does too
        // until the skill's motion is over.
        caster.actionMarker = 2;
        static_cast<TLcfgPlayerItem&>(caster).PrepareActionMotion();
    }
    if (!fromItem) host_.ShowActionLine(skill->name, 20, 30);
    if (!caster.IsEnemy()) return;
    if (caster.action.kind != Act::kItem) caster.LoseSp(skill->Cost(caster.MaxSP(), caster.HalfSpCost()));
    PerformSkill(caster);
}

void TBattleActions::PerformSkill(TLcfgUnitItem& caster) {
    const TLcfSkillItem* skill = SkillOf(caster);
    if (!skill) return;
    const Act& act = caster.action;
    if (skill->IsNormalKind() && !Revives(*skill) && !CheckTarget(caster)) return;
    PlaySkillOn(*skill, act);
    host_.WaitForPartyAnimation();
    if (skill->IsNormalKind()) {
        bool reflect = false;
        if (act.targetKind == Act::kOneMember) {
            const TLcfgUnitItem* t = PartyBattler(act.targetIndex);
            reflect = t && t->ConditionFlagB();
        } else if (act.targetKind == Act::kParty) {
            for (TLcfgUnitItem* m : WholeSide(true)) reflect = reflect || m->ConditionFlagB();
        }
        if (reflect) {
            // Back to the caster's side: the caster itself, or every enemy.
            reflectingCaster = &caster;
            reflectionDirection = act.targetKind == Act::kOneMember ? 1 : 2;
            PlayOnSide(false, skill->battleAnimation, reflectionDirection == 1 ? SideIndexOf(caster) : -1);
            host_.WaitForTroopAnimation();
        }
        ApplySkillEffect(caster, *skill, reflect);
        reflectingCaster = nullptr;
        reflectionDirection = 0;
    }
    if (skill->kind == TLcfSkillItem::kSwitch) FinishSwitchSkill(caster, *skill, true);
}

bool TBattleActions::RefusesSkill(const TLcfgPlayerItem& caster) const {
    const TLcfSkillItem* skill = SkillOf(caster);
    if (!skill) return true;
    return !caster.itemSkill && !caster.CanUseSkill(skill->Id());
}

void TBattleActions::PlaySkillAnimation(TLcfgPlayerItem& caster) {
    const TLcfSkillItem* skill = SkillOf(caster);
    if (!skill) return;
    // A one-target skill whose target fell meanwhile is aimed at the
    // lowest-index living battler of that side before its animation, so
    // that the animation plays where the effect lands.
    if (skill->IsNormalKind() && !Revives(*skill)) CheckTarget(caster);
    PlaySkillOn(*skill, caster.action);
    reflectingCaster = nullptr;
    reflectionDirection = 0;
    reflectionPending = true;
    if (skill->kind == TLcfSkillItem::kSwitch) host_.PlaySkillSound(*skill);
}

void TBattleActions::CheckReflection(TLcfgPlayerItem& caster) {
    const TLcfSkillItem* skill = SkillOf(caster);
    if (!reflectionPending || !skill || !skill->IsNormalKind()) return;
    reflectionPending = false;
    const Act& act = caster.action;
    bool reflect = false;
    if (act.targetKind == Act::kOneEnemy) {
        const TLcfgUnitItem* t = TroopBattler(act.targetIndex);
        reflect = t && t->ConditionFlagB();
    } else if (act.targetKind == Act::kTroop) {
        for (TLcfgUnitItem* e : WholeSide(false)) reflect = reflect || e->ConditionFlagB();
    }
    if (!reflect) return;
    reflectingCaster = &caster;
    reflectionDirection = act.targetKind == Act::kOneEnemy ? 3 : 4;
    PlayOnSide(true, skill->battleAnimation, reflectionDirection == 3 ? SideIndexOf(caster) : -1);
}

void TBattleActions::ApplySkill(TLcfgPlayerItem& caster) {
    const TLcfSkillItem* skill = SkillOf(caster);
    if (!skill) return;
    if (skill->IsNormalKind()) {
        if (!Revives(*skill) && !CheckTarget(caster)) return;
        ApplySkillEffect(caster, *skill, reflectingCaster == &caster);
    }
    if (skill->kind == TLcfSkillItem::kSwitch) FinishSwitchSkill(caster, *skill, false);
}

void TBattleActions::ApplySkillEffect(TLcfgUnitItem& caster, const TLcfSkillItem&, bool reflected) {
    const Act& act = caster.action;
    const bool single = act.targetKind == Act::kOneMember || act.targetKind == Act::kOneEnemy;
    if (reflected) {
        // A reflected single-target effect goes back to the caster, a
        // reflected one on a whole side to the caster's side.
        if (single) {
            ApplySkillTo(caster, caster);
        } else {
            for (TLcfgUnitItem* b : WholeSide(caster.IsActor())) ApplySkillTo(caster, *b);
        }
        return;
    }
    switch (act.targetKind) {
    case Act::kOneMember:
        if (TLcfgUnitItem* t = PartyBattler(act.targetIndex)) ApplySkillTo(caster, *t);
        break;
    case Act::kOneEnemy:
        if (TLcfgUnitItem* t = TroopBattler(act.targetIndex)) ApplySkillTo(caster, *t);
        break;
    case Act::kParty:
    case Act::kTroop:
        for (TLcfgUnitItem* b : WholeSide(act.targetKind == Act::kParty)) ApplySkillTo(caster, *b);
        break;
    default: break;
    }
}

void TBattleActions::FinishSwitchSkill(TLcfgUnitItem& caster, const TLcfSkillItem& skill, bool sound) {
    if (sound) host_.PlaySkillSound(skill);
    if (GameSystem) GameSystem->SetSwitch(skill.switchId, true);
    host_.CloseMessageWindow();
    host_.RunBattleEvents(&caster, 2);
}

// --- A skill on one target -----------------------------------------------------------------

bool TBattleActions::ApplySkillTo(TLcfgUnitItem& caster, TLcfgUnitItem& target) {
    const TLcfSkillItem* found = SkillOf(caster);
    if (!found || !target.present) return false;
    const TLcfSkillItem& skill = *found;
    const int32_t a = caster.SkillDamage(skill.Id(), target);
    int32_t b = skill.successRate;
    const int32_t hpBefore = target.hp;
    // A skill whose failure message is the physical one is dodged like an
    // attack.
    const bool physical = skill.failureMessage == 3;
    const bool enemySide = skill.scope < 2;
    if (physical && enemySide) {
        double x = double(100 - int64_t(b) * caster.ConditionHitRate() / 100);
        if (!caster.IgnoreEvasion()) {
            const double ta = target.EffectiveAgility();
            const double ca = std::max(1, caster.EffectiveAgility());
            x = ((ta / ca - 1) * 0.5 + 1) * x;
            if (target.RaiseEvasion()) x += 25;
        }
        if (!target.CanAct()) x = 0;
        b = int32_t(100 - std::clamp<int64_t>(int64_t(x), -100000, 100000));
    }

    bool happened = false;
    const int attributes = DbAttrib ? DbAttrib->Count() : 0;
    if (!enemySide) {
        if (!target.IsAlive() && !skill.HasCondition(1)) return false;
        host_.ClearMessageLines();
        if (skill.affectsHp) happened |= RecoverHpEffect(target, a, b);
        if (skill.affectsSp) happened |= RaiseParameter(target, 1, b, a);
        if (skill.affectsAttack) happened |= RaiseParameter(target, TLcfgUnitItem::kModAttack, b, a);
        if (skill.affectsDefense) happened |= RaiseParameter(target, TLcfgUnitItem::kModDefense, b, a);
        if (skill.affectsSpirit) happened |= RaiseParameter(target, TLcfgUnitItem::kModSpirit, b, a);
        if (skill.affectsAgility) happened |= RaiseParameter(target, TLcfgUnitItem::kModAgility, b, a);
        if (skill.attributeDefenseShift)
            for (int32_t k = 1; k <= attributes; ++k)
                if (skill.HasAttribute(k)) happened |= ShiftAttributeUpEffect(target, k, b);
    } else {
        if (!target.IsAlive()) return false;
        host_.ClearMessageLines();
        [&] {
            if (skill.affectsHp && skill.absorb) {
                happened |= AbsorbHp(caster, target, b, a);
                if (!target.IsAlive()) return;
            }
            if (skill.affectsSp && skill.absorb) happened |= AbsorbSp(caster, target, b, a);
            if (skill.affectsHp && !skill.absorb) {
                happened |= DealDamage(target, a, 128, skill.attackInfluence, b);
                if (!target.IsAlive()) return;
            }
            if (skill.affectsSp && !skill.absorb) happened |= LowerParameter(target, 1, b, a);
            if (!happened && (skill.affectsHp || skill.affectsSp)) return;
            if (skill.affectsAttack) happened |= LowerParameter(target, TLcfgUnitItem::kModAttack, b, a);
            if (skill.affectsDefense) happened |= LowerParameter(target, TLcfgUnitItem::kModDefense, b, a);
            if (skill.affectsSpirit) happened |= LowerParameter(target, TLcfgUnitItem::kModSpirit, b, a);
            if (skill.affectsAgility) happened |= LowerParameter(target, TLcfgUnitItem::kModAgility, b, a);
            if (!target.IsAlive()) return;
            if (skill.attributeDefenseShift)
                for (int32_t k = 1; k <= attributes; ++k)
                    if (skill.HasAttribute(k)) happened |= ShiftAttributeDownEffect(target, k, b);
        }();
    }

    // Cure or inflict: a party-side skill cures unless its setting turns it
    // round, an enemy-side one inflicts unless the setting does.
    const int conditions = DbStatus ? DbStatus->Count() : 0;
    if (enemySide != (skill.battleSetting == 0)) {
        for (int32_t k = 1; k <= conditions; ++k)
            if (skill.HasCondition(k)) happened |= CureConditionEffect(target, k, b);
        if (hpBefore <= 0 && target.hp > 0) {
            const int64_t n = skill.affectsHp ? int64_t(a) - 1 : int64_t(a) * target.MaxHP() / 100 - 1;
            target.RecoverHp(int32_t(std::clamp<int64_t>(n, 0, 9999)));
        }
    } else {
        for (int32_t k = 1; k <= conditions; ++k)
            if (skill.HasCondition(k)) happened |= InflictConditionEffect(target, k, b);
    }
    if (!happened) ShowMiss(target, physical);
    return happened;
}

// --- Items -----------------------------------------------------------------------------------

void TBattleActions::UseItem(TLcfgUnitItem& user) {
    Act& act = user.action;
    const TLcfItemItem* item = DbItem ? DbItem->Find(act.itemId) : nullptr;
    if (!item) {
        user.actionMarker = 0;
        return;
    }
    user.castingMarker = 2;
    if (user.IsActor()) user.pose = TActorBattleShow::kItem;
    if (GamePartyInfo) GamePartyInfo->UseItem(item->Id());
    const bool plainSkill = item->plainSkillUse != 0;
    if (!(item->kind == TLcfItemItem::kSkillItem && plainSkill)) host_.ShowActionLine(item->name, 10, 40);
    if ((item->kind >= TLcfItemItem::kWeapon && item->kind <= TLcfItemItem::kAccessory) ||
        item->kind == TLcfItemItem::kSkillItem) {
        act.skillId = item->skillId;
        SkillAction(user, !plainSkill);
    } else if (item->kind == TLcfItemItem::kMedicine) {
        host_.PlaySystemSound(kSoundItemUse);
        if (act.targetKind == Act::kParty) {
            for (TLcfgUnitItem* m : WholeSide(true)) Medicine(user, *m, *item);
        } else if (TLcfgUnitItem* t = PartyBattler(act.targetIndex)) {
            Medicine(user, *t, *item);
        }
    } else if (item->kind == TLcfItemItem::kSwitchItem) {
        host_.PlaySystemSound(kSoundItemUse);
        if (GameSystem) GameSystem->SetSwitch(item->switchId, true);
        host_.CloseMessageWindow();
        host_.RunBattleEvents(&user, 2);
    }
}

bool TBattleActions::Medicine(TLcfgUnitItem&, TLcfgUnitItem& target, const TLcfItemItem& item) {
    host_.ClearMessageLines();
    if (item.fallenOnly && target.hp > 0) return false;
    // In battle, unlike the menu and the shop: with permission by hero both
    // the hero's and the class's flag must allow; by class nothing is tested.
    if (target.IsActor() && !(DbSystem && DbSystem->equipByClass)) {
        const TLcfgPlayerItem& actor = static_cast<const TLcfgPlayerItem&>(target);
        if (!item.GetHeroFlag(actor.Id()) || !item.GetJobFlag(actor.ClassId())) return false;
    }
    const int32_t hpBefore = target.hp;
    const int64_t hpAmount = int64_t(target.MaxHP()) * item.hpPercent / 100 + item.hpPoints;
    const int64_t spAmount = int64_t(target.MaxSP()) * item.spPercent / 100 + item.spPoints;
    auto clamp32 = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    bool happened = false;
    if (item.hpPercent > 0 || item.hpPoints > 0) happened |= RecoverHpEffect(target, clamp32(hpAmount), 100);
    if (item.spPercent > 0 || item.spPoints > 0) happened |= RaiseParameter(target, 1, 100, clamp32(spAmount));
    const int conditions = DbStatus ? DbStatus->Count() : 0;
    for (int32_t k = 1; k <= conditions; ++k)
        if (item.HasCondition(k)) happened |= CureConditionEffect(target, k, 100);
    if (hpBefore <= 0 && target.hp > 0) target.RecoverHp(clamp32(std::max<int64_t>(0, hpAmount - 1)));
    return happened;
}
