#pragma once
// A battle scene for tests: answers with set values and records what the
// battlers tell it. Install it with SetBattleLink (and take it out again)
// or through the BattleLinkGuard below.

#include <string>
#include <vector>

#include "game/battle/battle_scene_link.h"

class TLcfgUnitItem;

class FakeBattleScene : public IBattleSceneLink {
public:
    int StartCondition() const override { return startCondition; }
    void SetStartCondition(int c) override { startCondition = c; }
    int32_t TerrainId() const override { return terrainId; }
    bool FirstStrike() const override { return firstStrike; }
    bool AutoBattle() const override { return autoBattle; }
    bool VictoryPhase() const override { return victoryPhase; }
    bool PartyFleeing() const override { return partyFleeing; }
    bool BattleEventRunning() const override { return eventRunning; }
    int32_t ExecutingCommandId(const TLcfgPlayerItem&) const override { return executingCommand; }

    void MotionOver(TLcfgPlayerItem& a) override { motionsOver.push_back(&a); }
    void StrikeIfValid(TLcfgPlayerItem& a, TLcfgUnitItem& t) override { strikes.push_back({&a, &t}); }
    bool RefusesSkill(TLcfgPlayerItem&) const override { return refuseSkill; }
    void PlaySkillAnimation(TLcfgPlayerItem& a) override { skillAnimations.push_back(&a); }
    void CheckReflection(TLcfgPlayerItem& a) override { reflectionChecks.push_back(&a); }
    void ApplySkill(TLcfgPlayerItem& a) override { skillsApplied.push_back(&a); }

    // Answers.
    int startCondition = 0;
    int32_t terrainId = 0;
    bool firstStrike = false, autoBattle = false, victoryPhase = false, partyFleeing = false;
    bool eventRunning = false, refuseSkill = false;
    int32_t executingCommand = 0;

    // What was told, in order.
    struct Strike {
        TLcfgPlayerItem* attacker;
        TLcfgUnitItem* target;
    };
    std::vector<TLcfgPlayerItem*> motionsOver;
    std::vector<Strike> strikes;
    std::vector<TLcfgPlayerItem*> skillAnimations, reflectionChecks, skillsApplied;
};

// Installs a link for the guard's lifetime.
class BattleLinkGuard {
public:
    explicit BattleLinkGuard(IBattleSceneLink& link) { SetBattleLink(&link); }
    ~BattleLinkGuard() { SetBattleLink(nullptr); }
    BattleLinkGuard(const BattleLinkGuard&) = delete;
    BattleLinkGuard& operator=(const BattleLinkGuard&) = delete;
};
