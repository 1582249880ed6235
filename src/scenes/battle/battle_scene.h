#pragma once
// TLcfBattleScene (scene number 2): an active-time battle between the
// party and the current troop in front of a backdrop. Every present
// battler fills a gauge at a speed set by its agility; a full gauge puts an
// enemy in the ready list with its action decided, and an actor in the
// command queue, from which it enters the ready list once its action is
// chosen (by the player or automatic battle). The battle leaves to the
// field or the game-over scene (in battle test it ends the program).
//
// Every nested loop of the battle (waits, window slides, target choice,
// messages) runs Tick, draws and waits once a frame. EndBattle leaves all of
// them at once by throwing ELcfBattleEnd, which only Update catches.
//
// A turn resolves through the scene's TBattleActions (game/battle), to
// which the link's hit and skill callbacks of the actors' poses go too.

#include <array>
#include <map>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/errors.h"
#include "game/battle/battle_actions.h"
#include "game/battle/battle_scene_link.h"
#include "game/interpreter/branch_target.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/map/world_hooks.h"
#include "game/panorama/panorama.h"
#include "scenes/battle/battle_action_host.h"
#include "scenes/battle/battle_windows.h"
#include "scenes/scene.h"
#include "scenes/windows/item_window.h"
#include "scenes/windows/skill_window.h"

class TSorvoSheet;
class TLcfgUnitItem;
class TLcfgPlayerItem;


// One entry of the frame's drawing order.
struct TOrder {
    int32_t index = 0;  // troop index of an enemy, database id of an actor
    int32_t depth = 0;
    bool isActor = false;
};
// Ascending depth; equal depths put the higher index first.
bool CompareOrder(const TOrder& a, const TOrder& b);

class TLcfBattleScene : public TLcfScene, public IBattleSceneLink, public IBattleSceneHooks {
public:
    enum Phase : int { kPartyCommand = 0, kGauges = 1, kActorCommand = 2, kFleeing = 4 };
    enum EndKind : int { kVictory = 0, kEscape = 1, kDefeat = 2, kAbort = 3 };
    enum EndState : int { kRunning = 0, kDefeatUnderWay = 1, kVictoryUnderWay = 2, kEnded = 3 };
    static constexpr int kQueue = 5;

    TLcfBattleScene();
    ~TLcfBattleScene() override;

    void Reset() override;
    void Update() override;
    void Draw() override;

    void Start();
    void Tick();
    void WaitFrames(int minimum, int total);
    // One frame of a nested loop: input update, Tick, draw and wait. Unlike
    // WaitFrames it neither flushes input nor lingers while cancel is held.
    void NestedFrame();
    [[noreturn]] void Abort() { EndBattle(kAbort); }
    [[noreturn]] void EndBattle(int kind);
    void CheckBattleEnd();
    void ProcessReadyList();
    void RunBattleEvents(TLcfgUnitItem* battler, int trigger);
    void SetPhase(int phase) {
        if (phase_ != kFleeing) phase_ = phase;
    }
    int PhaseNow() const { return phase_; }
    void SetQueuedActor(int i, int32_t slot);
    int32_t QueuedActor(int i) const;

    // Victory, defeat and escape.
    void Victory();
    void Defeat();
    bool TryEscape();
    void PartyFlee();
    void LeaveByFlight();
    void ShowPooledMessages();

    // The party command's escape: allowed, no turn taken yet, and the
    // party has the initiative.
    bool MayEscapeFromPartyCommand() const;
    // The row command: refused to the only member of the row that faces
    // the enemy.
    bool CanChangeRow(const TLcfgPlayerItem& actor) const;
    // An actor's escape command: allowed and not surrounded.
    bool EscapePossible() const;
    // One frame of the active-time gauges and of the command start (the
    // first status window runs it from its update).
    void RunGauges();
    // The actor (slot) enters the ready list with its chosen action.
    void ActorReady(int slot);
    // Whether the frame shows the actor command window.
    bool CommandWindowShown() const;
    // The turn of the battler at the head of the ready list: answers
    // whether it is finished (the battler leaves the list).
    bool ExecuteAction(TLcfgUnitItem& battler);

    // --- IBattleSceneLink --------------------------------------------------------
    int StartCondition() const override { return setup.startCondition; }
    void SetStartCondition(int c) override { setup.startCondition = c; }
    int32_t TerrainId() const override { return setup.terrainId; }
    bool FirstStrike() const override { return setup.firstStrike; }
    bool AutoBattle() const override { return autoBattle != 0; }
    bool VictoryPhase() const override { return endState == kVictoryUnderWay; }
    bool PartyFleeing() const override { return phase_ == kFleeing; }
    bool BattleEventRunning() const override;
    void StrikeIfValid(TLcfgPlayerItem& a, TLcfgUnitItem& t) override { actions.StrikeIfValid(a, t); }
    bool RefusesSkill(TLcfgPlayerItem& a) const override { return actions.RefusesSkill(a); }
    void PlaySkillAnimation(TLcfgPlayerItem& a) override { actions.PlaySkillAnimation(a); }
    void CheckReflection(TLcfgPlayerItem& a) override { actions.CheckReflection(a); }
    void ApplySkill(TLcfgPlayerItem& a) override { actions.ApplySkill(a); }
    int32_t ExecutingCommandId(const TLcfgPlayerItem& actor) const override;
    bool EscapeAllowed() const override { return setup.escapeAllowed; }
    void SetEscapeChance(int32_t percent) override { escapeChance = percent; }
    void DisableEnemyTurns() override { enemyTurnsEnabled = 0; }
    void Flee(TLcfgUnitItem& battler) override { actions.Flee(battler); }
    [[noreturn]] void AbortBattle() override { Abort(); }
    void ChangeBackdrop(const std::string& name) override;
    int32_t LastTargetKind() const override { return lastTargetKind; }
    int32_t LastTargetIndex() const override { return lastTargetIndex; }
    int32_t LastCommandActorId() const override { return lastActorId; }

    // --- IBattleSceneHooks -------------------------------------------------------
    bool EnemyTurnsEnabled() const override { return enemyTurnsEnabled != 0; }
    bool EventsEnabled() const override { return eventsEnabled != 0; }
    void DisableEvents() override { eventsEnabled = 0; }
    int32_t CommandQueueEntry(int entry) const override { return QueuedActor(entry); }
    void SetCommandQueueEntry(int entry, int32_t slot) override { SetQueuedActor(entry, slot); }
    void PartyShrank() override;
    void RebuildBattleSprites(int32_t actorId) override;

    // --- Set-up, filled by the caller before scene number 2 ----------------------
    TLcfgEncounterBattle setup;
    // Receives the end kind (the calling script's branch byte).
    TLcfgBranchTarget resultTarget;
    // The screen was black when the battle started.
    uint8_t screenWasBlack = 0;

    // --- Turns -------------------------------------------------------------------
    TBattleSceneActionHost actionHost{*this};
    TBattleActions actions{actionHost};

    // --- State -------------------------------------------------------------------
    bool started = false;
    int32_t commandingSlot = -1;
    int32_t escapeChance = 0;
    std::vector<TLcfgUnitItem*> readyList;
    std::array<int32_t, kQueue> queue{};
    uint8_t targetingEnemies = 0;
    int endState = kRunning;
    int32_t endCountdown = 0;
    uint8_t defeatPending = 0, victoryPending = 0;
    int32_t lastTargetKind = 0, lastTargetIndex = 0, lastActorId = 0;
    // The battle command each actor (by id) chose last in this battle.
    std::map<int32_t, int32_t> chosenCommands;
    uint8_t autoBattle = 0;
    uint8_t eventsEnabled = 0;
    uint8_t enemyTurnsEnabled = 1;
    uint8_t holding = 0;
    int32_t messageLinesUsed = 0;
    int32_t itemTop = 0, itemCursor = 0;

    // --- Windows -----------------------------------------------------------------
    TLcfBattleStatusWindow statusWindow;
    TLcfPartyCommandWindow partyCommandWindow;
    TLcfCommandWindow2 commandWindow;
    TLcfSkillWindow skillWindow;
    TLcfItemWindow itemWindow;
    TLcfBattleStatusWindow targetWindow;
    TLcfBattleMonsterWindow monsterWindow;
    TLcfBattleMessageWindow messageWindow;

private:
    void LoadBackdrop();
    void OpenPartyCommand();
    void StartGauges();
    void SlideWindows(bool out);
    void OpenActorCommands(int slot);
    // The actor command window of a party slot where layouts 1 and 2 show
    // it while the status cursor picks a member (no cursor of its own).
    void PlaceCommandsFor(int slot);
    // Berserk, confused or on automatic battle in this battle.
    bool DecidesByItself(const TLcfgPlayerItem& actor) const;
    void ActorCommandInput();
    bool ChooseEnemyTarget(TLcfgPlayerItem& actor);
    bool ChooseActorTarget(TLcfgPlayerItem& actor);
    bool ChooseSkill(TLcfgPlayerItem& actor, int32_t commandId);
    bool ChooseItem(TLcfgPlayerItem& actor);
    bool TargetBySkill(TLcfgPlayerItem& actor, int32_t skillId);
    void EnemyReady(TLcfgUnitItem& enemy);
    void RemoveFromQueue(int slot);
    void CommandInputStart();
    int32_t ComputeEscapeChance() const;
    void DrawBattlers();
    void RunDebugScene();
    void ShowLine(const std::string& text, int minimum, int total);

    // A terrain's two-layer backdrop (in place of the backdrop picture).
    bool TerrainBackdrop() const;

    int phase_ = kPartyCommand;
    std::array<TLcfgPanorama, 2> layers_;
    bool inCommandInput_ = false;
    // The phase when this frame's windows began to update: a cancel that
    // ended an actor's command input is not read again as a cancel of the
    // gauges.
    int phaseBeforeWindows_ = kPartyCommand;
    std::unique_ptr<TSorvoSheet> backdrop_;
};

// The battle commands of scripts: start a battle, game over, return to
// the title.
void RegisterBattleCommands();
