#pragma once
// What the battlers (enemies, the actors' poses and automatic actions)
// read from the battle scene and tell it. The scene implements this link
// and installs it while it exists; without one a default answers "no
// battle": start condition 0, terrain 0, every flag clear, and the
// callbacks do nothing. Tests install a fake (tests/support).
//
// Decisions this link fixes for both sides:
// - The escape flag is "the party is fleeing": the scene's phase 4, entered
//   by the party command's escape or a successful escape roll and never
//   left until the battle ends. Actors in their running-away pose move only
//   while it is set.
// - "Refuses to go on with a skill": before each hit of a skill the actor
//   asks; the scene refuses when the caster can no longer use the skill
//   (sealed meanwhile, or short of SP; never for a skill an item invokes).
//   A refused hit costs no SP and resolves nothing; the skill's hit loop
//   then ends as if its hits were done. A one target that has fallen is no
//   reason to refuse: the scene aims the hit at the lowest-index living
//   battler of that side, as it does an attack's.

#include <cstdint>
#include <string>

class TLcfgUnitItem;
class TLcfgPlayerItem;

class IBattleSceneLink {
public:
    // A full active-time gauge.
    static constexpr int32_t kFullGauge = 300000;

    virtual ~IBattleSceneLink() = default;

    // --- Set-up of the running battle -----------------------------------
    // 0 normal, 1 the party strikes first, 2 back attack, 3 the party
    // surrounds, 4 the party is surrounded. The troop corrects 3 and 4 when
    // the layout cannot show them and writes the result back here, so every
    // later reader sees the corrected value.
    virtual int StartCondition() const { return 0; }
    virtual void SetStartCondition(int) {}
    // The battle's terrain (0 none): placement grids depend on it.
    virtual int32_t TerrainId() const { return 0; }
    // The party has the initiative (cleared by the first executed action).
    virtual bool FirstStrike() const { return false; }
    // The party chose automatic battle at the party command.
    virtual bool AutoBattle() const { return false; }

    // --- State of the running battle -----------------------------------
    // The victory is under way (end state 2): actors take their victory
    // pose and stop moving between rows.
    virtual bool VictoryPhase() const { return false; }
    // The party is fleeing (see above).
    virtual bool PartyFleeing() const { return false; }
    // The battle interpreter is running an event page: battlers only keep
    // their flash and shake going meanwhile.
    virtual bool BattleEventRunning() const { return false; }
    // The id of the battle command the actor is executing (the last one it
    // chose at its command window), 0 when none: an event can make the
    // attack of one command hit several times.
    virtual int32_t ExecutingCommandId(const TLcfgPlayerItem&) const { return 0; }

    // --- What the actors' pose sequence tells the scene -----------------
    // The action's motion is over (the actor is back or the style has no
    // motion): the scene may end the actor's turn.
    virtual void MotionOver(TLcfgPlayerItem&) {}
    // One hit of an actor's attack with its swinging hand on one target:
    // re-aims a fallen single target, then the hand hit when the target is
    // alive. It hits once; a weapon that attacks twice is counted in the
    // hits due by the pose sequence instead.
    virtual void StrikeIfValid(TLcfgPlayerItem& /*attacker*/, TLcfgUnitItem& /*target*/) {}
    // See "refuses to go on" above.
    virtual bool RefusesSkill(TLcfgPlayerItem&) const { return false; }
    // One hit of an actor's skill: its animation on the targets (and the
    // reflection check pending), the reflection check once that animation
    // has played, then the effect.
    virtual void PlaySkillAnimation(TLcfgPlayerItem&) {}
    virtual void CheckReflection(TLcfgPlayerItem&) {}
    virtual void ApplySkill(TLcfgPlayerItem&) {}

    // --- What the battle interpreter's commands ask of the scene ----------
    // The battle allows the party to escape (set up by whoever started it).
    virtual bool EscapeAllowed() const { return false; }
    // The chance of the party's escape roll, in percent.
    virtual void SetEscapeChance(int32_t) {}
    // No enemy enters the ready list any more.
    virtual void DisableEnemyTurns() {}
    // One battler flees: an enemy leaves with its escape fade, an actor
    // makes the party's escape roll.
    virtual void Flee(TLcfgUnitItem&) {}
    // Ends the battle as aborted; the real scene does not return from it.
    virtual void AbortBattle() {}
    // The backdrop becomes the picture `name` (no terrain) and is loaded
    // again at once.
    virtual void ChangeBackdrop(const std::string&) {}
    // The last command chosen at an actor's command window: its target kind
    // (3 and 4 are enemies), target index, and the id of the actor that
    // chose it (-1 once an enemy's turn has come since).
    virtual int32_t LastTargetKind() const { return 0; }
    virtual int32_t LastTargetIndex() const { return -1; }
    virtual int32_t LastCommandActorId() const { return -1; }
};

// The installed link; never null (the "no battle" default when none is).
IBattleSceneLink& BattleLink();
// nullptr restores the default. The caller keeps ownership.
void SetBattleLink(IBattleSceneLink* link);
