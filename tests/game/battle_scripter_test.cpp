// The battle interpreter: which troop page a moment of the battle starts,
// its per-frame run (pooled lines, defeated troops, a stalled command) and
// the battle-only commands, played against a fake battle scene.

#include <algorithm>

#include "data/errors.h"
#include "enemy_fixture.h"
#include "game/interpreter/battle_scripter.h"
#include "game/interpreter/command_table.h"
#include "interpreter_fixture.h"

using namespace battle_world;
using lcf_builder::Script;

namespace {

using Flag = TLcfBattleEventTrigger::Flag;

constexpr int32_t kControlVariables = 10220;

// Sets variable `var` to `value`: the mark a page leaves when it runs.
Script& Mark(Script& s, int32_t var, int32_t value, int32_t indent = 0) {
    return s.Line(kControlVariables, indent, "", {0, var, var, 0, 0, value});
}

class BattleEventTest : public EnemyWorldTest {
protected:
    void SetUp() override {
        platform::SetPlatform(std::make_unique<platform::HeadlessPlatform>());
        EnemyWorldTest::SetUp();
        Hero(1, Chunks().Str(1, "Ann").Data(31, FlatCurves(100, 20, 30, 20, 10, 30)));
        Hero(2, Chunks().Str(1, "Bob").Data(31, FlatCurves(100, 20, 30, 20, 10, 30)));
        Hero(3, Chunks().Str(1, "Cid").Data(31, FlatCurves(100, 20, 30, 20, 10, 30)));
        Monster(1, Chunks().Str(1, "Slime").Int(4, 40).Int(5, 12));
        Monster(2, Chunks().Str(1, "Ghost").Int(4, 0).Int(5, 0));
        DbAnimation->SetCount(2);
        Status(1).restriction = TLcfStatusItem::kCannotAct;  // death
        Status(1).recoveryChance = 0;
        StartGame();
        Party({1, 2});
        MakeTroop(1, {{1, 100, 100, false}, {1, 150, 100, false}, {2, 200, 100, true}});
        DbMonGroup->Find(1)->pages.Clear();
        troop.SetupTroop(1);
        system = std::make_unique<TLcfgSystem>(&audio, &screen);
        GameSystem = system.get();
        GameSystem->scene = kSceneBattle;
        input = std::make_unique<TMultiInput>();
        GameInterpreterHooks = {&window, &pool, nullptr, &hooks, nullptr, nullptr, input.get(), false};
        GameBattleScripter = &scripter;
    }
    void TearDown() override {
        GameBattleScripter = nullptr;
        GameInterpreterHooks = {};
        GameSystem = nullptr;
        system.reset();
        EnemyWorldTest::TearDown();
        platform::SetPlatform(nullptr);
    }

    TLcfBattleEventTrigger& Page(int32_t id, uint16_t flags, const Script& script) {
        TLcfBattleEventPageItem* page = DbMonGroup->Find(1)->pages.GetOrCreate(id);
        page->trigger.SetFlags(flags);
        page->script.Assign(script.List());
        return page->trigger;
    }
    // A page that sets variable 1 to its own id.
    TLcfBattleEventTrigger& MarkPage(int32_t id, uint16_t flags) {
        Script s;
        return Page(id, flags, Mark(s, 1, id).Line(0));
    }
    // Starts a triggered page (if any) and runs it to its end; the id of
    // the page that ran, 0 for none.
    int32_t RunTriggered(int trigger, TLcfgUnitItem* battler = nullptr) {
        GameSystem->SetVariable(1, 0);
        if (!scripter.FindTriggeredPage(1, trigger, battler)) return 0;
        scripter.Update();
        return GameSystem->GetVariable(1);
    }
    void Run(Script& s) {
        scripter.Start(0, s.Line(0).List());
        scripter.Update();
    }
    TLcfgMonsterItem& Enemy(int i) { return *troop.Member(i); }

    interp_test::FakeAudio audio;
    interp_test::FakeScreen screen;
    interp_test::FakeWindow window;
    interp_test::FakePool pool;
    interp_test::FakeParty hooks;
    std::unique_ptr<TLcfgSystem> system;
    std::unique_ptr<TMultiInput> input;
    TLcfgBattleScripter scripter;
};

TEST_F(BattleEventTest, TheTriggerKindDecidesWhichPagesAreLookedAt) {
    MarkPage(1, 0);  // no condition at all: never runs
    GameSystem->SetSwitch(1, true);
    MarkPage(2, Flag::kSwitchA);
    MarkPage(3, Flag::kTurn);  // battle turn 0
    for (int trigger : {1, 2, 3}) EXPECT_NE(RunTriggered(trigger), 1) << trigger;
    scripter.ClearPageFlags();
    // Before a turn only pages with a turn condition count, after an
    // enemy's turn only those with a state condition, at the start any.
    EXPECT_EQ(RunTriggered(TLcfgBattleScripter::kBeforeTurn), 3);
    scripter.ClearPageFlags();
    EXPECT_EQ(RunTriggered(TLcfgBattleScripter::kAfterEnemyTurn), 2);
    scripter.ClearPageFlags();
    EXPECT_EQ(RunTriggered(TLcfgBattleScripter::kBattleStart), 2);
    // Only the first passing page runs per call; a page that ran waits for
    // the next queued turn.
    EXPECT_EQ(RunTriggered(TLcfgBattleScripter::kBattleStart), 3);
    EXPECT_EQ(RunTriggered(TLcfgBattleScripter::kBattleStart), 0);
    scripter.ClearPageFlags();
    EXPECT_EQ(RunTriggered(TLcfgBattleScripter::kBattleStart), 2);

    // A chosen battle command counts as a turn condition; it needs the
    // battler to be that actor.
    DbMonGroup->Find(1)->pages.Clear();
    TLcfBattleEventTrigger& t = MarkPage(4, Flag::kCommand);
    t.commandHeroId = 2;
    t.commandId = 5;
    scene.executingCommand = 5;
    scripter.ClearPageFlags();
    EXPECT_EQ(RunTriggered(1, &Actor(1)), 0);
    EXPECT_EQ(RunTriggered(1), 0);
    EXPECT_EQ(RunTriggered(2, &Actor(2)), 0);
    EXPECT_EQ(RunTriggered(1, &Actor(2)), 4);
}

TEST_F(BattleEventTest, ConditionsOfPagesReadTheBattleAsItStands) {
    // The variable condition is "at least".
    TLcfBattleEventTrigger& v = MarkPage(1, Flag::kVariable);
    v.variableId = 5;
    v.variableValue = 3;
    for (auto [value, runs] : {std::pair{2, false}, {3, true}, {9, true}}) {
        scripter.ClearPageFlags();
        GameSystem->SetVariable(5, value);
        EXPECT_EQ(RunTriggered(3), runs ? 1 : 0) << value;
    }
    DbMonGroup->Find(1)->pages.Clear();

    // Enemy HP percentage, truncated; it needs a battler.
    TLcfBattleEventTrigger& hp = MarkPage(1, Flag::kMonsterHp);
    hp.monsterIndex = 1;
    hp.monsterHpMin = 0;
    hp.monsterHpMax = 49;
    Enemy(1).hp = 20;  // 50 %
    scripter.ClearPageFlags();
    EXPECT_EQ(RunTriggered(2, &Enemy(0)), 0);
    Enemy(1).hp = 19;  // 47 %
    EXPECT_EQ(RunTriggered(2), 0);
    EXPECT_EQ(RunTriggered(2, &Enemy(0)), 1);
    // An enemy without max HP reads 0 %; an index outside the troop fails.
    hp.monsterIndex = 2;
    hp.monsterHpMax = 0;
    scripter.ClearPageFlags();
    EXPECT_EQ(RunTriggered(2, &Enemy(0)), 1);
    hp.monsterIndex = 7;
    scripter.ClearPageFlags();
    EXPECT_EQ(RunTriggered(2, &Enemy(0)), 0);
    DbMonGroup->Find(1)->pages.Clear();

    // An actor's HP counts only while it is in the party.
    TLcfBattleEventTrigger& a = MarkPage(1, Flag::kHeroHp);
    a.heroId = 3;
    scripter.ClearPageFlags();
    EXPECT_EQ(RunTriggered(2, &Actor(1)), 0);
    GamePartyInfo->AddMember(3);
    EXPECT_EQ(RunTriggered(2, &Actor(1)), 1);
    DbMonGroup->Find(1)->pages.Clear();

    // An enemy's own turns: when a battler is given, it must be that enemy.
    TLcfBattleEventTrigger& et = MarkPage(1, Flag::kMonsterTurn);
    et.monsterTurnIndex = 1;
    et.monsterTurnB = 2;
    Enemy(1).turnCounter = 2;
    scripter.ClearPageFlags();
    EXPECT_EQ(RunTriggered(1, &Enemy(0)), 0);
    EXPECT_EQ(RunTriggered(1, &Enemy(1)), 1);
    scripter.ClearPageFlags();
    EXPECT_EQ(RunTriggered(1), 1);
}

TEST_F(BattleEventTest, PageIdsOutsideOneToAHundredKeepTheirOwnDoneFlags) {
    MarkPage(150, Flag::kTurn);
    EXPECT_EQ(RunTriggered(1), 150);
    EXPECT_TRUE(scripter.PageDone(150));
    EXPECT_FALSE(scripter.PageDone(50));
    EXPECT_EQ(RunTriggered(1), 0);  // ran once, like any other page
    scripter.Clear();
    EXPECT_FALSE(scripter.PageDone(150));
    scripter.SetPageDone(-4);
    EXPECT_TRUE(scripter.PageDone(-4));
}

TEST_F(BattleEventTest, UpdateShowsPooledLinesOneToABoxAndStopsForADefeatedTroop) {
    pool.lines = {"Ann gained a level.", "", "Ann learned Fire.", "Bob gained a level."};
    Script s;
    Run(Mark(s, 1, 7));
    // The pool empties before the page goes on, one line per box (the
    // empty line is dropped).
    std::vector<std::string> shown;
    for (int frame = 0; frame < 10 && scripter.IsRunning(); ++frame) {
        if (!window.lines.empty() && window.visible) {
            shown.push_back(window.lines.front());
            window.visible = false;  // the player closes the box
        }
        scripter.Update();
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Ann gained a level.", "Ann learned Fire.", "Bob gained a level."}));
    EXPECT_EQ(GameSystem->GetVariable(1), 7);

    // With every enemy down no command runs, however long it is updated.
    for (int i = 0; i < troop.Count(); ++i) Enemy(i).hp = 0;
    Script late;
    scripter.Start(0, Mark(late, 1, 8).Line(0).List());
    for (int frame = 0; frame < 3; ++frame) scripter.Update();
    EXPECT_EQ(GameSystem->GetVariable(1), 7);
    EXPECT_TRUE(scripter.IsRunning());
}

TEST_F(BattleEventTest, AStalledCommandDisablesEventsAndTheEndForgetsTheHeldKey) {
    // A message while the box is up holds the script: events are switched
    // off, the enemy turns stay on.
    window.visible = true;
    Script s;
    Run(s.Line(10110, 0, "Hi"));
    EXPECT_FALSE(hooks.battleEvents);
    EXPECT_TRUE(hooks.enemyTurns);
    EXPECT_TRUE(scripter.IsRunning());

    window.visible = false;
    input->RepeatButton = TMultiInput::kDecision;
    input->RepeatCounter = 30;
    Script e;
    Run(e);
    EXPECT_FALSE(scripter.IsRunning());
    EXPECT_EQ(input->RepeatCounter, 0u);
}

TEST_F(BattleEventTest, EnemyCommandsChangeHpSpConditionsAndPresence) {
    // Half of 40 HP lost, then a lethal constant that kills: the defeat
    // fade starts once, when the enemy falls.
    Script s;
    s.Line(13110, 0, "", {0, 1, 2, 50, 0});
    Run(s);
    EXPECT_EQ(Enemy(0).hp, 20);
    Script k;
    Run(k.Line(13110, 0, "", {0, 1, 0, 99, 0}));
    EXPECT_EQ(Enemy(0).hp, 1);  // not lethal
    EXPECT_EQ(Enemy(0).deathFade, 0);
    Script l;
    Run(l.Line(13110, 0, "", {0, 1, 0, 99, 1}));
    EXPECT_EQ(Enemy(0).hp, 0);
    EXPECT_EQ(Enemy(0).deathFade, TLcfgMonsterItem::kDeathFadeFrames);
    // A percentage of 0 HP still takes at least 1; from a variable; healing.
    GameSystem->SetVariable(3, 15);
    Script p;
    Run(p.Line(13110, 0, "", {1, 1, 2, 1, 0}));
    EXPECT_EQ(Enemy(1).hp, 39);
    Script lose;
    Run(lose.Line(13110, 0, "", {1, 1, 1, 3, 0}).Line(13110, 0, "", {1, 0, 0, 4, 0}));
    EXPECT_EQ(Enemy(1).hp, 39 - 15 + 4);

    Script m;
    Run(m.Line(13120, 0, "", {1, 1, 0, 5}).Line(13130, 0, "", {1, 0, 2}));
    EXPECT_EQ(Enemy(1).sp, 7);
    EXPECT_TRUE(Enemy(1).HasCondition(2));
    Script c;
    Run(c.Line(13130, 0, "", {1, 1, 2}));
    EXPECT_FALSE(Enemy(1).HasCondition(2));

    EXPECT_FALSE(Enemy(2).present);
    Script h;
    Run(h.Line(13150, 0, "", {2}));
    EXPECT_TRUE(Enemy(2).present);

    // An index outside the troop is the script's error.
    Script bad;
    EXPECT_THROW(Run(bad.Line(13110, 0, "", {5, 0, 0, 1})), Exception);
}

TEST_F(BattleEventTest, SceneCommandsGoThroughTheBattleScene) {
    scene.terrainId = 4;
    Script b;
    Run(b.Line(13210, 0, "Cave").Line(13410));
    EXPECT_EQ(scene.backdrop, "Cave");
    EXPECT_EQ(scene.terrainId, 0);
    EXPECT_EQ(scene.backdropLoads, 1);
    EXPECT_EQ(scene.aborts, 1);

    // With four parameters p3 is not read: the troop's side, and the wait
    // is twice the 20 frames (one already spent in this update).
    Script a;
    scripter.Start(0, a.Line(13260, 0, "", {1, 0, 1, 1}).Line(0).List());
    scripter.Update();
    EXPECT_TRUE(troop.Animation().Active());
    EXPECT_EQ(troop.Animation().Target(), 0);
    EXPECT_EQ(scripter.waitCounter, 39);
    // With five, p3 puts it on the party: an actor id becomes its slot, an
    // actor outside the party gets nothing and nobody waits.
    troop.ResetAnimation();
    Script pa;
    Run(pa.Line(13260, 0, "", {2, 2, 0, 1, 0}));
    EXPECT_FALSE(troop.Animation().Active());
    EXPECT_TRUE(GamePlayers->Animation().Active());
    EXPECT_EQ(GamePlayers->Animation().Target(), 1);
    GamePlayers->ResetAnimation();
    scripter.Start(0, Script().Line(13260, 0, "", {2, 3, 1, 1, 0}).Line(0).List());
    scripter.Update();
    EXPECT_FALSE(GamePlayers->Animation().Active());
    EXPECT_EQ(scripter.waitCounter, 0);
}

TEST_F(BattleEventTest, BattleBranchesReadTheLastCommand) {
    // Each branch sets variable 2 to 1 when taken, else 2.
    auto branch = [&](std::initializer_list<int32_t> params) {
        GameSystem->SetVariable(2, 0);
        Script s;
        s.Line(13310, 0, "", params);
        Mark(s, 2, 1, 1);
        s.Line(0, 1).Line(23310, 0);
        Mark(s, 2, 2, 1);
        s.Line(0, 1).Line(23311, 0).Line(0);
        scripter.Start(0, s.List());
        scripter.Update();
        return GameSystem->GetVariable(2);
    };
    GameSystem->SetVariable(4, 6);
    EXPECT_EQ(branch({1, 4, 0, 6, 0}), 1);
    EXPECT_EQ(branch({1, 4, 0, 6, 5}), 2);
    EXPECT_EQ(branch({0, 9, 1}), 1);  // switch 9 is off
    EXPECT_EQ(branch({3, 0}), 1);
    Enemy(0).LoseHp(999, true);
    EXPECT_EQ(branch({3, 0}), 2);
    EXPECT_EQ(branch({2, 1}), 1);

    scene.lastTargetKind = 3;
    scene.lastTargetIndex = 1;
    EXPECT_EQ(branch({4, 1}), 1);
    EXPECT_EQ(branch({4, 0}), 2);
    scene.lastTargetKind = 1;
    EXPECT_EQ(branch({4, 1}), 2);

    scene.lastActorId = 2;
    scene.executingCommand = 4;
    EXPECT_EQ(branch({5, 2, 4}), 1);
    EXPECT_EQ(branch({5, 1, 4}), 2);
    EXPECT_EQ(branch({5, 2, 3}), 2);
    EXPECT_EQ(branch({6, 0}), 2);
}

TEST_F(BattleEventTest, ForceFleeHonoursTheEscapeRuleAndTheSurround) {
    auto flee = [&](std::initializer_list<int32_t> params) {
        scene.fled.clear();
        scene.escapeChance = 0;
        Script s;
        Run(s.Line(1006, 0, "", params));
        return scene.fled.size();
    };
    scene.escapeAllowed = false;
    EXPECT_EQ(flee({0, 0, 0}), 0u);
    EXPECT_EQ(scene.escapeChance, 0);
    scene.escapeAllowed = true;

    // The party: every member that can still stand, and enemy turns stop.
    Actor(2).LoseHp(999, true);
    EXPECT_EQ(flee({0, 0, 0}), 1u);
    EXPECT_EQ(scene.fled.front(), &Actor(1));
    EXPECT_EQ(scene.escapeChance, 100);
    EXPECT_FALSE(scene.enemyTurns);
    // Surrounded: held back only when p2 is set (and present).
    scene.startCondition = 4;
    EXPECT_EQ(flee({0, 0, 1}), 0u);
    EXPECT_EQ(flee({0, 0}), 1u);
    EXPECT_EQ(flee({1, 0, 1}), 2u);

    // The troop surrounded: every living enemy unless p2; a single enemy
    // never.
    scene.startCondition = 3;
    EXPECT_EQ(flee({1, 0, 1}), 0u);
    EXPECT_EQ(flee({1, 0, 0}), 2u);
    EXPECT_EQ(flee({2, 1, 0}), 0u);
    scene.startCondition = 0;
    EXPECT_EQ(flee({2, 1, 0}), 1u);
    EXPECT_EQ(scene.fled.front(), &Enemy(1));
    EXPECT_EQ(flee({2, 2, 0}), 0u);  // hidden: not alive
    EXPECT_EQ(scene.escapeChance, 100);
}

TEST_F(BattleEventTest, NoBattleCommandIsLeftUnhandled) {
    const std::vector<int32_t> unhandled = UnhandledCommandCodes();
    for (int32_t code : {1006, 13110, 13120, 13130, 13150, 13210, 13260, 13310, 23310, 13410})
        EXPECT_EQ(std::count(unhandled.begin(), unhandled.end(), code), 0) << code;
}

}  // namespace
