// Switch, variable, timer, gold, item and party commands: ranges, operands,
// 64-bit arithmetic with its clamp, page refreshes and the battle's command
// queue when the party shrinks.

#include <array>
#include <chrono>
#include <set>

#include "battle_world_fixture.h"
#include "game/enemies/monster.h"
#include "interpreter_fixture.h"
#include "world_fixture.h"

using namespace interp_test;
using lcf_builder::Script;

namespace {

constexpr int32_t kSwitches = 10210, kVariables = 10220, kTimer = 10230;
constexpr int32_t kGold = 10310, kItems = 10320, kParty = 10330;
constexpr int32_t kMaxValue = 9999999;

// A battle whose command queue the party command packs.
class QueueBattle : public FakeParty {
public:
    int32_t CommandQueueEntry(int entry) const override { return queue[size_t(entry)]; }
    void SetCommandQueueEntry(int entry, int32_t index) override { queue[size_t(entry)] = index; }
    void PartyShrank() override { ++shrinks; }
    void CheckGameOver() override { ++gameOverChecks; }
    std::array<int32_t, 4> queue{-1, -1, -1, -1};
    int shrinks = 0, gameOverChecks = 0;
};

class StateCommandTest : public InterpreterTest {
protected:
    StateCommandTest() {
        for (int32_t id = 1; id <= 5; ++id) {
            DbPlayer->GetOrCreate(id);
            lcf_builder::LoadRecord(*DbPlayer->Find(id),
                                    lcf_builder::Chunks()
                                        .Str(1, "H" + std::to_string(id))
                                        .Data(31, battle_world::FlatCurves(100, 30, 12, 13, 14, 15))
                                        .End());
        }
        DbItem->SetCount(10);
        DbSystem->party.Resize(0);
        players = std::make_unique<TLcfgPlayer>();
        GamePlayers = players.get();
        partyInfo = std::make_unique<TLcfgPartyInfo>();
        GamePartyInfo = partyInfo.get();
        GameInterpreterHooks.battle = &queue;
        GameInterpreterHooks.field = &queue;
    }
    ~StateCommandTest() override {
        GamePartyInfo = nullptr;
        GamePlayers = nullptr;
    }

    // Runs one command line (and the end of the list) as a parallel process.
    void Do(int32_t code, std::initializer_list<int32_t> params) {
        RunParallel(Script().Line(code, 0, "", params).Line(0));
    }
    // v[id] op operand kind 0 (constant).
    void SetVar(int32_t id, int32_t op, int32_t value) { Do(kVariables, {0, id, 0, op, 0, value, 0}); }

    QueueBattle queue;
    std::unique_ptr<TLcfgPlayer> players;
    std::unique_ptr<TLcfgPartyInfo> partyInfo;
};

TEST_F(StateCommandTest, DivisionAndRemainderTruncateTowardZero) {
    SetVar(1, 0, -7);
    SetVar(1, 4, 2);
    EXPECT_EQ(Var(1), -3);
    SetVar(2, 0, 7);
    SetVar(2, 5, -2);
    EXPECT_EQ(Var(2), 1);
    SetVar(3, 0, -7);
    SetVar(3, 5, 2);
    EXPECT_EQ(Var(3), -1);
    // Dividing by a variable that holds 0 divides by 1.
    SetVar(4, 0, 9);
    Do(kVariables, {0, 4, 0, 4, 1, 50, 0});
    EXPECT_EQ(Var(4), 9);
    // Only division and remainder replace a 0: adding it adds nothing.
    Do(kVariables, {0, 4, 0, 1, 1, 50, 0});
    EXPECT_EQ(Var(4), 9);
}

TEST_F(StateCommandTest, ResultsAreComputedIn64BitsAndClamped) {
    SetVar(1, 0, kMaxValue);
    SetVar(1, 1, 1);
    EXPECT_EQ(Var(1), kMaxValue);
    SetVar(2, 0, 3000000);
    SetVar(2, 3, 1000);  // 3e9 would wrap negative in 32 bits
    EXPECT_EQ(Var(2), kMaxValue);
    SetVar(3, 0, -65536);
    SetVar(3, 3, 65536);
    EXPECT_EQ(Var(3), -kMaxValue);
    SetVar(4, 0, INT32_MIN);
    EXPECT_EQ(Var(4), -kMaxValue);
    SetVar(5, 0, -kMaxValue);
    SetVar(5, 2, INT32_MAX);
    EXPECT_EQ(Var(5), -kMaxValue);
}

TEST_F(StateCommandTest, EachVariableOfARangeDrawsItsOwnNumberFromAReversedRange) {
    Do(kVariables, {1, 1, 200, 0, 3, 10, 3});
    std::set<int32_t> seen;
    for (int32_t id = 1; id <= 200; ++id) {
        EXPECT_GE(Var(id), 3);
        EXPECT_LE(Var(id), 10);
        seen.insert(Var(id));
    }
    EXPECT_EQ(seen.size(), 8u);
    // The widest span there is stays inside its bounds.
    Do(kVariables, {0, 201, 0, 0, 3, INT32_MAX, INT32_MIN});
    EXPECT_GE(Var(201), -kMaxValue);
    EXPECT_LE(Var(201), kMaxValue);
    Do(kVariables, {0, 202, 0, 0, 3, 6, 6});
    EXPECT_EQ(Var(202), 6);
}

TEST_F(StateCommandTest, RangesStayInsideTheIdCapAndAReversedRangeChangesNothing) {
    const auto start = std::chrono::steady_clock::now();
    Do(kSwitches, {1, TLcfgSystem::kMaxSwitchId - 1, INT32_MAX, 0});
    Do(kVariables, {1, INT32_MIN, INT32_MAX, 0, 0, 4, 0});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(GameSystem->SwitchCount(), TLcfgSystem::kMaxSwitchId);
    EXPECT_TRUE(GameSystem->GetSwitch(TLcfgSystem::kMaxSwitchId));
    EXPECT_EQ(GameSystem->VariableCount(), TLcfgSystem::kMaxVariableId);
    EXPECT_EQ(Var(1), 4);
    EXPECT_EQ(Var(TLcfgSystem::kMaxVariableId), 4);

    const int refreshes = map.refreshes;
    Do(kVariables, {1, 5, 3, 0, 0, 8, 0});
    EXPECT_EQ(Var(3), 4);
    EXPECT_EQ(map.refreshes, refreshes + 1);
}

TEST_F(StateCommandTest, SwitchesTurnOnOffAndToggleByIdRangeAndVariable) {
    GameSystem->SetVariable(9, 4);
    Do(kSwitches, {1, 1, 3, 0});
    Do(kSwitches, {0, 2, 0, 2});  // toggle 2 off
    Do(kSwitches, {2, 9, 0, 2});  // toggle switch v9 = 4 on
    Do(kSwitches, {0, 3, 0, 7});  // an unknown operation changes nothing
    EXPECT_TRUE(GameSystem->GetSwitch(1));
    EXPECT_FALSE(GameSystem->GetSwitch(2));
    EXPECT_TRUE(GameSystem->GetSwitch(3));
    EXPECT_TRUE(GameSystem->GetSwitch(4));
    EXPECT_EQ(map.refreshes, 4);
}

TEST_F(StateCommandTest, OperandsReadActorsItemsPartyAndGameCounters) {
    partyInfo->AddMember(2);
    partyInfo->GainItem(3, 7);
    partyInfo->gold = 120;
    partyInfo->battles = 4;
    GameSystem->SetVariable(20, 21);
    GameSystem->SetVariable(21, 55);
    Do(kVariables, {0, 1, 0, 0, 2, 20, 0});   // the variable that v20 names
    Do(kVariables, {0, 2, 0, 0, 4, 3, 0});    // item 3 owned
    Do(kVariables, {0, 3, 0, 0, 5, 2, 4});    // actor 2 max HP
    Do(kVariables, {0, 4, 0, 0, 5, 2, 9});    // actor 2 agility
    Do(kVariables, {0, 5, 0, 0, 7, 0, 0});    // gold
    Do(kVariables, {0, 6, 0, 0, 7, 2, 0});    // party size
    Do(kVariables, {0, 7, 0, 0, 7, 4, 0});    // battles
    DbMonster->SetCount(2);
    DbMonster->Find(2)->maxSp = 203;
    DbMonster->Find(2)->agility = 41;
    TLcfgMonster troop;
    GameMonsters = &troop;
    troop.GetOrCreate(1)->SetupEnemy(1);
    troop.GetOrCreate(2)->SetupEnemy(1);
    troop.GetOrCreate(3)->SetupEnemy(2);
    troop.Items(2)->sp = 77;
    Do(kVariables, {0, 8, 0, 0, 8, 2, 3});    // enemy 2 (from 0), max SP
    Do(kVariables, {0, 10, 0, 0, 8, 2, 1});   // its SP
    Do(kVariables, {0, 11, 0, 0, 8, 2, 7});   // its agility
    Do(kVariables, {0, 12, 0, 0, 8, 3, 0});   // no enemy 3: 0, not an error
    GameMonsters = nullptr;
    Do(kVariables, {0, 9, 0, 0, 9, 1, 1});    // an unknown kind is 0
    EXPECT_EQ(Var(1), 55);
    EXPECT_EQ(Var(2), 7);
    EXPECT_EQ(Var(3), 100);
    EXPECT_EQ(Var(4), 15);
    EXPECT_EQ(Var(5), 120);
    EXPECT_EQ(Var(6), 1);
    EXPECT_EQ(Var(7), 4);
    EXPECT_EQ(Var(8), 203);
    EXPECT_EQ(Var(9), 0);
    EXPECT_EQ(Var(10), 77);
    EXPECT_EQ(Var(11), 41);
    EXPECT_EQ(Var(12), 0);
    EXPECT_THROW(Do(kVariables, {0, 10, 0, 0, 5, 77, 0}), Exception);  // no actor 77
}

TEST_F(StateCommandTest, TimersGoldAndItems) {
    GameSystem->SetVariable(5, 30);
    Do(kTimer, {0, 2, 90, 0, 0, 0});  // p1 2 sets nothing
    EXPECT_EQ(partyInfo->Timer1Seconds(), 0);
    Do(kTimer, {0, 1, 5, 0, 0, 1});   // timer 2 from v5
    EXPECT_EQ(partyInfo->Timer2Seconds(), 30);
    Do(kTimer, {1, 0, 0, 1, 1, 1});
    EXPECT_TRUE(partyInfo->TimerState(1).running);
    EXPECT_TRUE(partyInfo->TimerState(1).visible);
    Do(kTimer, {2, 0, 0, 0, 0, 1});
    EXPECT_FALSE(partyInfo->TimerState(1).running);

    const int refreshes = map.refreshes;
    Do(kGold, {0, 0, 500});
    Do(kGold, {1, 1, 5});
    EXPECT_EQ(partyInfo->gold, 470);
    EXPECT_EQ(map.refreshes, refreshes);  // gold is no page condition

    Do(kItems, {0, 0, 4, 1, 5});
    Do(kItems, {1, 0, 4, 0, 10});
    Do(kItems, {0, 1, 5, 0, 2});  // item id from v5 = 30
    EXPECT_EQ(partyInfo->ItemCount(4), 20);
    EXPECT_EQ(partyInfo->ItemCount(30), 2);
    EXPECT_EQ(map.refreshes, refreshes + 3);
}

TEST_F(StateCommandTest, ThePartyChangesAndABattlePacksItsCommandQueueWhenItShrinks) {
    Do(kParty, {0, 0, 1});
    Do(kParty, {0, 0, 2});
    Do(kParty, {0, 0, 99});  // no such actor: nobody joins
    EXPECT_EQ(partyInfo->MemberCount(), 2);
    EXPECT_EQ(queue.gameOverChecks, 3);
    Do(kParty, {0, 0, 3});
    Do(kParty, {0, 0, 4});
    Do(kParty, {0, 0, 5});  // a fifth member changes nothing
    Do(kParty, {0, 0, 1});  // nor one already in the party
    EXPECT_EQ(partyInfo->MemberCount(), 4);

    GameSystem->scene = kSceneBattle;
    queue.queue = {1, 3, 0, -1};  // actors 2, 4 and 1 wait for input
    Do(kParty, {1, 0, 2});
    EXPECT_EQ(partyInfo->MemberCount(), 3);  // 1, 3, 4
    EXPECT_EQ(queue.queue, (std::array<int32_t, 4>{2, 0, -1, -1}));
    EXPECT_EQ(queue.shrinks, 1);
    Do(kParty, {0, 0, 5});
    // The newcomer starts its battle and takes its place beside the others:
    // its database battle x less the front row's 24.
    EXPECT_EQ(players->Get(5)->show.battleStarted, 1);
    EXPECT_EQ(players->Get(5)->homeX, DbPlayer->FindPlayer(5)->battleX - 24);
    EXPECT_EQ(queue.shrinks, 1);  // it grew
    EXPECT_EQ(queue.gameOverChecks, 7);  // only on the field
    GameSystem->scene = kSceneField;
}

// A map built in code: page choice follows the switch command, the
// character operand reads real events, and an erased event runs no more.
class StateCommandWorldTest : public world_test::WorldTest {};

TEST_F(StateCommandWorldTest, AnEventPageChosenByASwitchFlipsAfterTheSwitchCommand) {
    AddEvent(1, 3, 2);
    TLcfEventPageItem& lit = AddPage(1, 2);
    lit.condition.flags = TLcfEventCondition::kSwitchA;
    lit.condition.switchA = 6;
    Enter(0, 0);
    EXPECT_EQ(Event(1).PageNumber(), 1);
    TLcfgRegularScripter r;
    r.Start(0, Script().Line(kSwitches, 0, "", {0, 6, 0, 0}).Line(0).List());
    r.Update();
    EXPECT_EQ(Event(1).PageNumber(), 2);
    r.Start(0, Script().Line(kSwitches, 0, "", {0, 6, 0, 2}).Line(0).List());
    r.Update();
    EXPECT_EQ(Event(1).PageNumber(), 1);
}

TEST_F(StateCommandWorldTest, CharacterOperandsAndErasingReadTheRealEvents) {
    AddEvent(1, 3, 2);
    Enter(1, 4);
    Event(1).facing = 3;
    RunParallel(Script()
                    .Line(kVariables, 0, "", {0, 1, 0, 0, 6, 10005, 1})  // x
                    .Line(kVariables, 0, "", {0, 2, 0, 0, 6, 10005, 2})  // y
                    .Line(kVariables, 0, "", {0, 3, 0, 0, 6, 10005, 3})  // facing left: 4
                    .Line(kVariables, 0, "", {0, 4, 0, 0, 6, 10001, 2})  // the party's y
                    .Line(kVariables, 0, "", {0, 5, 0, 0, 6, 10001, 0})  // the party's map
                    .Line(12320)
                    .Line(kVariables, 0, "", {0, 6, 0, 0, 0, 1, 0})  // not reached this frame
                    .Line(0),
                1);
    EXPECT_EQ(Var(1), 3);
    EXPECT_EQ(Var(2), 2);
    EXPECT_EQ(Var(3), 4);
    EXPECT_EQ(Var(4), 4);
    EXPECT_EQ(Var(5), 1);
    // Erased: inactive, and its parallel script stops after that step.
    EXPECT_FALSE(Event(1).active);
    EXPECT_EQ(world.ActivePageScript(1), nullptr);
    EXPECT_EQ(Var(6), 0);
}

TEST_F(StateCommandWorldTest, BranchesAndCallsReadTheRealMap) {
    AddEvent(1, 3, 2);
    AddPage(1, 2).script =
        Lines(Script().Line(kVariables, 0, "", {0, 7, 0, 0, 0, 70, 0}).Line(0));
    Enter(1, 4);
    Event(1).facing = 1;
    TLcfgRegularScripter r;
    r.Start(1, Script()
                   .Line(12010, 0, "", {6, 10005, 1})  // this event faces right
                   .Line(kVariables, 1, "", {0, 1, 0, 0, 0, 1, 0})
                   .Line(22011, 0)
                   .Line(12010, 0, "", {7, 0})  // aboard the boat: no
                   .Line(kVariables, 1, "", {0, 2, 0, 0, 0, 1, 0})
                   .Line(22011, 0)
                   .Line(12330, 0, "", {1, 10005, 2})  // page 2 of the map file's event
                   .Line(0)
                   .List());
    r.Update();
    EXPECT_EQ(GameSystem->GetVariable(1), 1);
    EXPECT_EQ(GameSystem->GetVariable(2), 0);
    EXPECT_EQ(GameSystem->GetVariable(7), 70);
    r.Start(1, Script().Line(12330, 0, "", {1, 1, 3}).Line(0).List());
    EXPECT_THROW(r.Update(), Exception);  // no page 3
}

}  // namespace
