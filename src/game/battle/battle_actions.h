#pragma once
// How a battler's turn resolves: the condition ticks, the chosen action
// (basic action, skill, item, transformation) with its hit, critical,
// damage and effect rolls, and the small effect primitives every action is
// made of. The battle scene owns one TBattleActions, calls ExecuteAction
// for the battler at the head of its ready list, and forwards its link's
// StrikeIfValid, PlaySkillAnimation, CheckReflection and ApplySkill here.
// What only the scene can do (sounds, its message window, waiting frames,
// battle events, the escape roll, the first-strike marker) goes through
// IBattleActionHost.

#include <cstdint>
#include <string>

class TLcfgUnitItem;
class TLcfgPlayerItem;
class TLcfgMonsterItem;
class TLcfSkillItem;
class TLcfItemItem;

class IBattleActionHost {
public:
    virtual ~IBattleActionHost() = default;
    // One of the system state's sounds (a TLcfSystemSound: escape, enemy
    // or ally damaged, evasion, enemy defeated, item use).
    virtual void PlaySystemSound(int) {}
    // The skill's own sound.
    virtual void PlaySkillSound(const TLcfSkillItem&) {}
    // Sets up the battle message window, shows `text` on line 0, waits
    // (minimum, total frames) and closes the window.
    virtual void ShowActionLine(const std::string&, int /*minimum*/, int /*total*/) {}
    virtual void CloseMessageWindow() {}
    // The scene's count of message lines used, and emptying the window's
    // lines from that count to line 3.
    virtual void SetMessageLinesUsed(int) {}
    virtual void ClearMessageLines() {}
    virtual void FlashScreen(int /*red*/, int /*green*/, int /*blue*/, int /*strength*/, int /*frames*/) {}
    // Frames pass (update, draw, wait) while the party side's battle
    // animation runs.
    virtual void WaitForPartyAnimation() {}
    // The same for the troop side's.
    virtual void WaitForTroopAnimation() {}
    virtual void RunBattleEvents(TLcfgUnitItem*, int /*trigger*/) {}
    // The party's escape roll; true when it succeeded.
    virtual bool TryEscape() { return false; }
    // The party's initiative, ended by the first executed action.
    virtual bool FirstStrike() const { return false; }
    virtual void EndFirstStrike() {}
    virtual void EnableEvents() {}
    virtual int StartCondition() const { return 0; }
};

class TBattleActions {
public:
    explicit TBattleActions(IBattleActionHost& host) : host_(host) {}

    // The battler's turn: true when it is over (the battler leaves the
    // ready list), false when it must wait.
    bool ExecuteAction(TLcfgUnitItem& battler);
    // One condition tick: conditions wear off or deepen, with their HP and
    // SP change per turn.
    void ConditionTick(TLcfgUnitItem& battler);
    // Re-aims a fallen single target at the lowest-index living battler of
    // its side; answers whether the target is alive (true for other target
    // kinds). An empty party slot or an index outside the troop counts as
    // not alive.
    bool CheckTarget(TLcfgUnitItem& battler);

    void PerformBasicAction(TLcfgUnitItem& battler);
    void Attack(TLcfgUnitItem& battler);
    void StrikeTarget(TLcfgUnitItem& attacker, TLcfgUnitItem& target);
    // The link's StrikeIfValid: the hand hit when the target still stands.
    void StrikeIfValid(TLcfgPlayerItem& attacker, TLcfgUnitItem& target);
    // The general hit, and an actor's hit with its swinging hand.
    void Hit(TLcfgUnitItem& attacker, TLcfgUnitItem& target);
    void HandHit(TLcfgPlayerItem& attacker, TLcfgUnitItem& target);
    // The miss value of a hit in percent (0 never misses).
    double MissValue(const TLcfgUnitItem& attacker, const TLcfgUnitItem& target, bool hand) const;

    void SelfDestruct(TLcfgMonsterItem& enemy);
    void Flee(TLcfgUnitItem& battler);

    // --- Skills ---------------------------------------------------------------------
    // The skill action; `fromItem` when an item invokes it (no name, no cost).
    void SkillAction(TLcfgUnitItem& caster, bool fromItem);
    void PerformSkill(TLcfgUnitItem& caster);
    // The actor's skill as its pose sequence drives it.
    // The link's RefusesSkill: before each hit of an actor's skill, whether
    // it may not go on (no longer usable and not from an item). A fallen
    // one target is no reason: the hit is aimed anew (PlaySkillAnimation).
    bool RefusesSkill(const TLcfgPlayerItem& caster) const;
    void PlaySkillAnimation(TLcfgPlayerItem& caster);
    void CheckReflection(TLcfgPlayerItem& caster);
    void ApplySkill(TLcfgPlayerItem& caster);
    // Whether anything happened.
    bool ApplySkillTo(TLcfgUnitItem& caster, TLcfgUnitItem& target);

    // --- Items ----------------------------------------------------------------------
    void UseItem(TLcfgUnitItem& user);
    bool Medicine(TLcfgUnitItem& user, TLcfgUnitItem& target, const TLcfItemItem& item);

    // --- Effect primitives (each answers whether something happened) --------------------
    bool DealDamage(TLcfgUnitItem& target, int32_t d, int32_t popupTime, int32_t cureChance, int32_t chance);
    bool RecoverHpEffect(TLcfgUnitItem& target, int32_t n, int32_t chance);
    // kind 1 SP, 2-5 attack, defense, spirit, agility.
    bool LowerParameter(TLcfgUnitItem& target, int kind, int32_t chance, int32_t n);
    bool RaiseParameter(TLcfgUnitItem& target, int kind, int32_t chance, int32_t n);
    bool AbsorbHp(TLcfgUnitItem& caster, TLcfgUnitItem& target, int32_t chance, int32_t n);
    bool AbsorbSp(TLcfgUnitItem& caster, TLcfgUnitItem& target, int32_t chance, int32_t n);
    bool InflictConditionEffect(TLcfgUnitItem& target, int32_t k, int32_t chance);
    bool CureConditionEffect(TLcfgUnitItem& target, int32_t k, int32_t chance);
    bool ShiftAttributeDownEffect(TLcfgUnitItem& target, int32_t attribute, int32_t chance);
    bool ShiftAttributeUpEffect(TLcfgUnitItem& target, int32_t attribute, int32_t chance);
    void DefeatedEffect(TLcfgUnitItem& target);

    // The percent chance that inflicting condition `k` with `chance` takes
    // on `target`: the chance scaled by the target's inflict percentage for
    // its rank, then reduced by its armour's resistance.
    static int32_t InflictPercent(const TLcfgUnitItem& target, int32_t k, int32_t chance);

    // Reflection markers: the caster whose skill is reflected and the side
    // that receives it (1 one enemy, 2 all enemies, 3 one actor, 4 all actors).
    TLcfgUnitItem* reflectingCaster = nullptr;
    int reflectionDirection = 0;
    bool reflectionPending = false;

private:
    // The hit after the miss value: miss, critical, damage and weapon
    // conditions.
    void ResolveHit(TLcfgUnitItem& attacker, TLcfgUnitItem& target, bool hand);
    void ShowMiss(TLcfgUnitItem& target, bool sound);
    // The skill's effect on its aimed targets, or reflected.
    void ApplySkillEffect(TLcfgUnitItem& caster, const TLcfSkillItem& skill, bool reflectedToCaster);
    void FinishSwitchSkill(TLcfgUnitItem& caster, const TLcfSkillItem& skill, bool sound);
    void EnemyMessage(int stringId);

    IBattleActionHost& host_;
};

// The member in party slot `i` or the enemy at troop index `i`; null for an
// empty slot or an index outside.
TLcfgUnitItem* PartyBattler(int i);
TLcfgUnitItem* TroopBattler(int i);
// An actor whose action shows no pose of its own settles, which ends its
// turn in the next pose update; a turn left "acting" would hold every
// other battler back.
void SettleTurn(TLcfgUnitItem& b);
// Damage variance: d plus a draw of up to 40 % around it (d > 0 only).
int32_t ApplyVariance(int32_t d);
