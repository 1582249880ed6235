// The battle scene on a battle built in code: who may escape and when,
// the gauges under the wait modes, the battle timer, the command list and
// the row command, and how victory, defeat and escape end the battle.
#include <gtest/gtest.h>

#include "data/database/ground.h"
#include "data/database/mon_group.h"
#include "data/database/monster.h"
#include "game/interpreter/scripter.h"
#include "scenes/battle/battle_fixture.h"
#include "scenes/game_main.h"
#include "scenes/startup.h"

namespace {

using namespace battle_test;

TEST_F(BattleSceneTest, ThePartyMayEscapeFromItsCommandOnlyBeforeTheFirstTurnAndWithTheInitiative) {
    battle->setup.escapeAllowed = true;
    battle->setup.startCondition = kStartInitiative;
    battle->Start();
    EXPECT_TRUE(battle->MayEscapeFromPartyCommand());
    GamePartyInfo->CountTurn();
    EXPECT_FALSE(battle->MayEscapeFromPartyCommand());

    // A normal start: only first strike opens it.
    battle->setup.startCondition = kStartNormal;
    battle->setup.firstStrike = false;
    battle->Start();
    EXPECT_FALSE(battle->MayEscapeFromPartyCommand());
    battle->setup.firstStrike = true;
    battle->Start();
    EXPECT_TRUE(battle->MayEscapeFromPartyCommand());
    battle->setup.escapeAllowed = false;
    EXPECT_FALSE(battle->MayEscapeFromPartyCommand());

    // A back attack takes the first strike away.
    battle->setup.escapeAllowed = true;
    battle->setup.startCondition = kStartBackAttack;
    battle->Start();
    EXPECT_FALSE(battle->setup.firstStrike);
    EXPECT_FALSE(battle->MayEscapeFromPartyCommand());
}

TEST_F(BattleSceneTest, TheEscapeCommandIsRefusedUnderAPincerEvenWhenEscapeIsAllowed) {
    battle->setup.escapeAllowed = true;
    for (int c = kStartNormal; c <= kStartSurround; ++c) {
        battle->setup.startCondition = c;
        EXPECT_TRUE(battle->EscapePossible()) << c;
    }
    battle->setup.startCondition = kStartPincer;
    EXPECT_FALSE(battle->EscapePossible());
    battle->setup.startCondition = kStartNormal;
    battle->setup.escapeAllowed = false;
    EXPECT_FALSE(battle->EscapePossible());
}

TEST_F(BattleSceneTest, ThreeFailedEscapesRaiseTheChanceByTenEachAndFirstStrikeTurnsAFailedRollIntoSuccess) {
    battle->Start();
    battle->escapeChance = 20;
    dice.script = {99, 99, 99};
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(battle->TryEscape());
    EXPECT_EQ(battle->escapeChance, 50);
    EXPECT_NE(battle->PhaseNow(), TLcfBattleScene::kFleeing);

    // Under first strike the roll is still drawn (and here fails), then
    // the initiative makes the escape succeed.
    battle->setup.firstStrike = true;
    dice.ranges.clear();
    dice.script = {99};
    EXPECT_TRUE(battle->TryEscape());
    EXPECT_EQ(dice.ranges, std::vector<int32_t>{100});
    EXPECT_EQ(battle->PhaseNow(), TLcfBattleScene::kFleeing);
    // Fleeing is final: no later phase change is taken.
    battle->SetPhase(TLcfBattleScene::kGauges);
    EXPECT_EQ(battle->PhaseNow(), TLcfBattleScene::kFleeing);
}

TEST_F(BattleSceneTest, APartyEscapeUnderTheInitiativeEndsTheBattleAsAnEscape) {
    battle->setup.escapeAllowed = true;
    battle->setup.startCondition = kStartInitiative;
    battle->Start();
    ASSERT_TRUE(battle->MayEscapeFromPartyCommand());
    battle->PartyFlee();
    EXPECT_TRUE(battle->PartyFleeing());
    RunUntilEnd(200);
    EXPECT_EQ(system->scene, kSceneField);
    EXPECT_EQ(GamePartyInfo->battles, 1);
    EXPECT_EQ(GamePartyInfo->escapes, 1);
    EXPECT_EQ(GamePartyInfo->victories, 0);
}

TEST_F(BattleSceneTest, UnderWaitModeOneTheGaugesStandWhileAnActorChoosesItsCommand) {
    battle->Start();
    battle->SetPhase(TLcfBattleScene::kActorCommand);
    ASSERT_TRUE(battle->statusWindow.IsOpen());
    auto gauges = [&] { return std::make_pair(Member(0).gauge, troop.Member(0)->gauge); };
    system->battleWaitMode = 1;
    const auto before = gauges();
    battle->RunGauges();
    EXPECT_EQ(gauges(), before);
    system->battleWaitMode = 0;
    battle->RunGauges();
    EXPECT_GT(Member(0).gauge, before.first);
    EXPECT_GT(troop.Member(0)->gauge, before.second);

    // In the party command nothing fills.
    battle->SetPhase(TLcfBattleScene::kPartyCommand);
    const auto standing = gauges();
    battle->RunGauges();
    EXPECT_EQ(gauges(), standing);
}

TEST_F(BattleSceneTest, AFullGaugeQueuesAnActorOnceAndAnEnemyWaitsWhileEnemyTurnsAreOff) {
    battle->Start();
    battle->SetPhase(TLcfBattleScene::kActorCommand);
    Member(1).gauge = IBattleSceneLink::kFullGauge + 1;
    battle->RunGauges();
    battle->RunGauges();
    EXPECT_EQ(battle->QueuedActor(0), 1);
    EXPECT_EQ(battle->QueuedActor(1), -1);
    EXPECT_EQ(Member(1).gauge, IBattleSceneLink::kFullGauge);

    battle->enemyTurnsEnabled = 0;
    troop.Member(0)->gauge = IBattleSceneLink::kFullGauge + 1;
    battle->RunGauges();
    EXPECT_TRUE(battle->readyList.empty());
    EXPECT_GT(troop.Member(0)->gauge, IBattleSceneLink::kFullGauge);
    battle->enemyTurnsEnabled = 1;
    troop.Member(1)->gauge = IBattleSceneLink::kFullGauge + 1;
    battle->RunGauges();
    // One enemy a frame, in troop order.
    ASSERT_EQ(battle->readyList.size(), 1u);
    EXPECT_EQ(battle->readyList[0], troop.Member(0));
    EXPECT_EQ(troop.Member(0)->gauge, 0);
    EXPECT_EQ(troop.Member(0)->actionMarker, 1);
}

TEST_F(BattleSceneTest, AnActorsTurnEndsWithItsGaugeFreeToFillAgain) {
    battle->Start();
    battle->SetQueuedActor(0, 0);
    Member(0).gauge = IBattleSceneLink::kFullGauge;
    Member(0).action.kind = TLcfgUnitActItem::kBasic;
    Member(0).action.basic = TLcfgUnitActItem::kDefend;
    battle->ActorReady(0);
    EXPECT_EQ(battle->QueuedActor(0), -1);
    EXPECT_EQ(Member(0).gauge, 0);
    EXPECT_EQ(Member(0).actionMarker, 1);
    EXPECT_EQ(GamePartyInfo->battleTurns, 1);
    battle->SetPhase(TLcfBattleScene::kGauges);
    battle->ProcessReadyList();
    EXPECT_TRUE(battle->readyList.empty());
    // Defending, it acts until its pose settles; then its gauge is free.
    EXPECT_EQ(Member(0).actionMarker, 2);
    GamePlayers->UpdateBattle();
    EXPECT_EQ(Member(0).actionMarker, 0);
    EXPECT_EQ(Member(0).action.kind, TLcfgUnitActItem::kBasic);  // defending stays
}

TEST_F(BattleSceneTest, ABattleTimerRunningOutEndsTheBattleCountingOnlyTheBattle) {
    battle->resultTarget = TLcfgBranchTarget();
    GamePartyInfo->SetTimer(0, 1);
    GamePartyInfo->StartTimer(0, true, true);
    EXPECT_LT(RunUntilEnd(300), 300);
    EXPECT_EQ(system->scene, kSceneField);
    EXPECT_EQ(GamePartyInfo->battles, 1);
    EXPECT_EQ(GamePartyInfo->victories + GamePartyInfo->escapes + GamePartyInfo->defeats, 0);

    // A timer started without ever being set shows 0 and never stops. In
    // battle test the end waits thirty frames that still tick; the battle
    // that is ending is not ended again on each of them.
    struct TestModeGuard {
        TestModeGuard() { BattleTestMode = true; }
        ~TestModeGuard() { BattleTestMode = false; }
    } testMode;
    system->scene = kSceneBattle;
    GamePartyInfo->StartTimer(1, false, true);
    ASSERT_EQ(GamePartyInfo->TimerState(1).frames, 0);
    EXPECT_EQ(RunUntilEnd(300), 1);
    EXPECT_EQ(system->scene, kSceneGameOver);
    EXPECT_EQ(GamePartyInfo->battles, 1);
}

TEST_F(BattleSceneTest, TheCommandListStopsAtTheFirstEmptySlotAndEndsWithTheRowCommand) {
    battle->Start();
    TLcfgPlayerItem& a = Member(0);
    a.commandsChanged = 1;
    a.commands = {1, 2, -1, 3, 4, 5};
    battle->commandWindow.PlaceFor(a.Id(), 28, 160, false);
    EXPECT_EQ(battle->commandWindow.ItemCount(), 3);
    EXPECT_EQ(battle->commandWindow.CommandAt(1), 2);
    EXPECT_EQ(battle->commandWindow.CommandAt(2), 0);  // the row command
}

TEST_F(BattleSceneTest, TheOnlyMemberOfTheFrontRowCannotChangeRows) {
    battle->Start();
    Member(0).facing = Member(1).facing = 0;
    Member(0).row = 0;
    Member(1).row = 1;
    EXPECT_FALSE(battle->CanChangeRow(Member(0)));
    EXPECT_TRUE(battle->CanChangeRow(Member(1)));  // the back row always may
    Member(1).row = 0;
    EXPECT_TRUE(battle->CanChangeRow(Member(0)));
    EXPECT_TRUE(battle->CanChangeRow(Member(1)));
}

TEST_F(BattleSceneTest, ATroopOfHiddenEnemiesIsBeatenAtOnceWithoutRewards) {
    Group(1, {true, true});
    GamePartyInfo->GainGold(10);
    EXPECT_LT(RunUntilEnd(2000), 2000);
    EXPECT_EQ(system->scene, kSceneField);
    EXPECT_EQ(GamePartyInfo->victories, 1);
    EXPECT_EQ(GamePartyInfo->gold, 10);
    EXPECT_EQ(Member(0).Exp(), 0);
}

TEST_F(BattleSceneTest, VictoryRewardsGoToStandingMembersAndAZeroDropChanceStillDropsOnZero) {
    TLcfMonsterItem* slime = DbMonster->Find(1);
    slime->experience = 7;
    slime->gold = 5;
    slime->dropItem = 2;
    slime->dropChance = 0;
    Group(1, {false});
    battle->Start();
    troop.Member(0)->hp = 0;
    Member(1).hp = 0;
    dice.script = {0};  // the drop roll
    EXPECT_TRUE(Ends([&] {
        for (int i = 0; i < 2000; ++i) battle->Tick();
    }));
    EXPECT_EQ(system->scene, kSceneField);
    EXPECT_EQ(Member(0).Exp(), 7);
    EXPECT_EQ(Member(1).Exp(), 0);
    EXPECT_EQ(GamePartyInfo->gold, 5);
    EXPECT_EQ(GamePartyInfo->ItemCount(2), 1);
}

TEST_F(BattleSceneTest, DefeatLeadsToGameOverUnlessTheCallerHandlesIt) {
    auto fallen = [&] {
        battle->Start();
        for (int i = 0; i < 2; ++i) Member(i).hp = 0, Member(i).SetCondition(1, 1);
        return Ends([&] {
            for (int i = 0; i < 2000; ++i) battle->Tick();
        });
    };
    battle->setup.startedByEvent = true;
    EXPECT_TRUE(fallen());
    EXPECT_EQ(system->scene, kSceneGameOver);
    EXPECT_EQ(GamePartyInfo->defeats, 0);

    system->scene = kSceneBattle;
    battle->setup.defeatHandledByCaller = true;
    EXPECT_TRUE(fallen());
    EXPECT_EQ(system->scene, kSceneField);
    EXPECT_EQ(GamePartyInfo->defeats, 1);
}

TEST_F(BattleSceneTest, PooledMessagesAreAllShownAndTheFieldKeepsItsMessagePlacement) {
    battle->Start();
    system->messageAvoidsParty = 1;
    messagePool.Add("First\\.");
    messagePool.Add("");
    messagePool.Add("Second\\.");
    battle->ShowPooledMessages();
    EXPECT_FALSE(messagePool.HasLines());
    EXPECT_FALSE(messageWindow.IsVisible());
    EXPECT_EQ(system->messageAvoidsParty, 1);
}

TEST_F(BattleSceneTest, TheBattleMessageBoxRefusesALineOutsideItsFour) {
    battle->messageWindow.SetUp();
    battle->messageWindow.SetLine(3, "last");
    EXPECT_EQ(battle->messageWindow.Line(3), "last");
    EXPECT_THROW(battle->messageWindow.SetLine(4, "x"), Exception);
    EXPECT_THROW(battle->messageWindow.SetLine(-1, "x"), Exception);
}

// --- Troop pages -----------------------------------------------------------------------

constexpr int32_t kChangeBackdrop = 13210, kAbortBattle = 13410, kForceFlee = 1006;

TEST_F(BattleSceneTest, ATurnPageChangesTheBackdropOnItsTurnEvenAfterEventsStalled) {
    std::vector<std::string> loaded;
    SetGraphicsFileFinder([&](const std::string& folder, const std::string& name) {
        loaded.push_back(folder + "/" + name);
        return std::string();
    });
    lcf_builder::Script s;
    s.Line(kChangeBackdrop, 0, "Cave");
    TLcfBattleEventTrigger& t = TroopPage(1, TLcfBattleEventTrigger::kTurn, s);
    t.turnA = 0;
    t.turnB = 2;
    battle->setup.backdrop = "Field";
    battle->Start();
    EXPECT_EQ(battle->setup.backdrop, "Field");
    battle->SetPhase(TLcfBattleScene::kGauges);
    auto turnOf = [&](int slot) {
        battle->SetQueuedActor(0, slot);
        Member(slot).action.kind = TLcfgUnitActItem::kBasic;
        Member(slot).action.basic = TLcfgUnitActItem::kDefend;
        battle->ActorReady(slot);
        battle->ProcessReadyList();
    };
    turnOf(0);  // the party's first turn: not yet
    EXPECT_EQ(battle->setup.backdrop, "Field");
    // A page left stalled on a message switches events off; the next page
    // must still run to its end.
    battle->eventsEnabled = 0;
    loaded.clear();
    battle->setup.terrainId = 3;
    turnOf(1);
    EXPECT_EQ(battle->setup.backdrop, "Cave");
    EXPECT_EQ(battle->setup.terrainId, 0);
    EXPECT_EQ(loaded, std::vector<std::string>{"Backdrop/Cave"});
    EXPECT_FALSE(battle->BattleEventRunning());
}

TEST_F(BattleSceneTest, APageThatEndsTheBattleAbortsItCountingOnlyTheBattle) {
    lcf_builder::Script s;
    s.Line(kAbortBattle);
    TroopPage(1, TLcfBattleEventTrigger::kSwitchA, s);
    system->SetSwitch(1, true);
    EXPECT_TRUE(Ends([&] { battle->Start(); }));
    EXPECT_EQ(system->scene, kSceneField);
    EXPECT_EQ(GamePartyInfo->battles, 1);
    EXPECT_EQ(GamePartyInfo->victories + GamePartyInfo->escapes + GamePartyInfo->defeats, 0);
}

TEST_F(BattleSceneTest, AForcedPartyFleeEscapesOnlyFromABattleThatAllowsIt) {
    lcf_builder::Script s;
    s.Line(kForceFlee, 0, "", {0, 0, 0});
    TroopPage(1, TLcfBattleEventTrigger::kSwitchA, s);
    system->SetSwitch(1, true);
    battle->setup.escapeAllowed = false;
    battle->Start();
    EXPECT_FALSE(battle->PartyFleeing());
    EXPECT_TRUE(battle->EnemyTurnsEnabled());

    battle->setup.escapeAllowed = true;
    battle->Start();
    EXPECT_EQ(battle->escapeChance, 100);
    EXPECT_FALSE(battle->EnemyTurnsEnabled());
    EXPECT_TRUE(battle->PartyFleeing());
    EXPECT_LT(RunUntilEnd(300), 300);
    EXPECT_EQ(GamePartyInfo->escapes, 1);
}

// --- The script commands ---------------------------------------------------------------

constexpr int32_t kStartBattle = 10710, kVictoryCase = 20710, kEscapeCase = 20711, kDefeatCase = 20712,
                  kBattleEnd = 20713, kSwitches = 10210;

class BattleCommandTest : public BattleSceneTest {
protected:
    BattleCommandTest() { RegisterBattleCommands(); }
    // Runs lines until the script waits or ends (at most `n`).
    void Step(int n) {
        for (int i = 0; i < n && scripter->IsRunning(); ++i) scripter->ExecuteCommand();
    }
    // The battle ends with `kind`, as EndBattle reports it.
    void EndWith(int kind) {
        system->scene = kSceneBattle;
        EXPECT_TRUE(Ends([&] { battle->EndBattle(kind); }));
    }
    // A battle line, its three cases (each turning on switch 1, 2 or 3) and
    // the block's end.
    static lcf_builder::Script BattleWithCases(std::initializer_list<int32_t> params, const std::string& text = "") {
        lcf_builder::Script s;
        s.Line(kStartBattle, 0, text, params);
        int32_t sw = 1;
        for (int32_t code : {kVictoryCase, kEscapeCase, kDefeatCase}) {
            s.Line(code, 0).Line(kSwitches, 1, "", {0, sw, sw, 0}).Line(0, 1);
            ++sw;
        }
        return s.Line(kBattleEnd, 0).Line(0);
    }
};

TEST_F(BattleCommandTest, AShortBattleLineDefaultsFormationAndTerrainAndKeepsTheScriptsStartCondition) {
    scripter->Start(0, BattleWithCases({0, 1, 1, 1, 1, 1, 3}, "Plains").List());
    Step(1);
    EXPECT_EQ(system->scene, kSceneBattle);
    const TLcfgEncounterBattle& setup = battle->setup;
    EXPECT_EQ(setup.troopId, 1);
    EXPECT_EQ(setup.backdrop, "Plains");
    EXPECT_EQ(setup.formation, 1);  // fewer than 8 parameters
    EXPECT_EQ(setup.terrainId, 0);
    EXPECT_EQ(setup.startCondition, 3);
    EXPECT_TRUE(setup.escapeAllowed);
    EXPECT_TRUE(setup.defeatHandledByCaller);
    EXPECT_TRUE(setup.firstStrike);
    EXPECT_TRUE(setup.startedByEvent);

    // Troop from a variable, backdrop of terrain p8.
    DbGround->GetOrCreate(2)->backdrop = "Shore";
    system->SetVariable(4, 1);
    scripter->Start(0, BattleWithCases({1, 4, 2, 0, 0, 0, 0, 0, 2}).List());
    Step(1);
    EXPECT_EQ(battle->setup.troopId, 1);
    EXPECT_EQ(battle->setup.backdrop, "Shore");
    EXPECT_EQ(battle->setup.terrainId, 2);
    EXPECT_FALSE(battle->setup.escapeAllowed);
}

TEST_F(BattleCommandTest, EscapeModeOneEndsTheScriptOnAnEscapeAndModeTwoRunsTheEscapeCase) {
    scripter->Start(0, BattleWithCases({0, 1, 0, 1, 0, 0, 0, 1, 1}).List());
    Step(1);
    EndWith(TLcfBattleScene::kEscape);
    Step(20);
    EXPECT_FALSE(scripter->IsRunning());
    EXPECT_FALSE(system->GetSwitch(2));

    scripter->Start(0, BattleWithCases({0, 1, 0, 2, 0, 0, 0, 1, 1}).List());
    Step(1);
    EndWith(TLcfBattleScene::kEscape);
    Step(20);
    EXPECT_FALSE(system->GetSwitch(1));
    EXPECT_TRUE(system->GetSwitch(2));
    EXPECT_FALSE(system->GetSwitch(3));
}

TEST_F(BattleCommandTest, AHandledDefeatRunsTheDefeatCaseAndAnAbortedBattleNoCase) {
    scripter->Start(0, BattleWithCases({0, 1, 0, 1, 1, 0, 0, 1, 1}).List());
    Step(1);
    EndWith(TLcfBattleScene::kDefeat);
    EXPECT_EQ(system->scene, kSceneField);
    Step(20);
    EXPECT_TRUE(system->GetSwitch(3));

    system->SetSwitch(3, false);
    scripter->Start(0, BattleWithCases({0, 1, 0, 1, 1, 0, 0, 1, 1}).List());
    Step(1);
    EndWith(TLcfBattleScene::kAbort);
    Step(20);
    for (int32_t sw = 1; sw <= 3; ++sw) EXPECT_FALSE(system->GetSwitch(sw)) << sw;
}

TEST_F(BattleCommandTest, GameOverFadesTheFieldOutAndSwitchesToTheGameOverScene) {
    system->scene = kSceneField;
    FieldScene = scene.get();
    Enter(2, 2);
    GameDraw->Board().Brightness = 100;
    scripter->Start(0, lcf_builder::Script().Line(12420, 0).Line(0).List());
    Step(1);
    FieldScene = nullptr;
    EXPECT_EQ(system->scene, kSceneGameOver);
    EXPECT_EQ(GameDraw->Board().Brightness, 0);
}

// --- Frames and transitions ---------------------------------------------------------------

TEST_F(BattleSceneTest, APageThatEndsWithinItsFirstFrameCostsNoFrameOfItsOwn) {
    lcf_builder::Script s;
    s.Line(kSwitches, 0, "", {0, 5, 5, 0});
    TroopPage(1, TLcfBattleEventTrigger::kSwitchA, s);
    system->SetSwitch(1, true);
    battle->Start();
    system->SetSwitch(5, false);
    battleScripter.ClearPageFlags();
    const uint64_t pumps = sys->pumpCount;
    battle->RunBattleEvents(nullptr, 3);
    EXPECT_TRUE(system->GetSwitch(5));
    EXPECT_EQ(sys->pumpCount, pumps);
}

TEST_F(BattleSceneTest, WithoutAnEraseTheFieldShowsItselfOverTheLastBattlePicture) {
    system->SetTransition(kTransitionBattleEndErase, TLcfgSystem::kNoTransition);
    system->SetTransition(kTransitionBattleEndShow, 0);
    FieldScene = scene.get();
    Enter(2, 2);
    battle->Start();
    GameDraw->Board().Brightness = 100;
    std::vector<int> brightness;
    sys->display().onPresent = [&](const platform::CapturedFrame&) {
        brightness.push_back(GameDraw->Board().Brightness);
    };
    EXPECT_TRUE(Ends([&] { battle->EndBattle(TLcfBattleScene::kVictory); }));
    sys->display().onPresent = nullptr;
    FieldScene = nullptr;
    EXPECT_EQ(system->scene, kSceneField);
    // A blend of the two pictures at full brightness, not a fade from black.
    ASSERT_FALSE(brightness.empty());
    EXPECT_EQ(*std::min_element(brightness.begin(), brightness.end()), 100);
}

}  // namespace
