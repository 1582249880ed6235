// Command input off the straight path, in each battle layout: automatic
// members among manual ones, cancel at every step (the party command, a
// target, a skill or item list), refused commands, where the actor
// command window stands while the cursor moves, and when an actor's gauge
// fills again after its turn.
#include <gtest/gtest.h>

#include "data/database/skill.h"
#include "game/interpreter/interpreter_hooks.h"
#include "scenes/battle/battle_fixture.h"

namespace {

using battle_test::BattleSceneTest;
using platform::Key;
using Act = TLcfgUnitActItem;
constexpr int32_t kFull = IBattleSceneLink::kFullGauge;
constexpr int32_t kChangePartyMembers = 10330, kWait = 11410;

class BattleInputTest : public BattleSceneTest {
protected:
    BattleInputTest() {
        GameInput = input.get();
        DbMonster->Find(1)->maxHp = 9999;  // the battle does not end by itself
        DbBattle->commands.FindCommand(2)->kind = 4;  // item
        DbBattle->commands.FindCommand(3)->kind = 3;  // defend
        DbBattle->commands.FindCommand(4)->kind = 1;  // skills
        for (int slot = 0; slot < 2; ++slot) {
            TLcfgPlayerItem& a = Member(slot);
            a.commandsChanged = 1;
            a.commands.fill(-1);
            a.commands[0] = 1;  // attack
            a.commands[1] = 2;  // item
            a.commands[2] = 5;  // escape
        }
        sys->onPump = [this] { Pump(); };
    }
    ~BattleInputTest() override {
        sys->onPump = nullptr;
        GameInput = nullptr;
    }

    // Holds `key` for one frame as soon as `ready` holds (after the keys
    // asked for before it).
    void When(std::function<bool()> ready, Key key) { keys_.push_back({std::move(ready), key}); }
    void Now(Key key) {
        When([] { return true; }, key);
    }
    bool KeysLeft() const { return !keys_.empty() || held_ != Key::None; }

    // One frame of the main loop.
    void Frame() {
        GameDraw->WaitFrame();
        input->Update();
        battle->Update();
    }
    // Frames until `done` holds (at most `limit`): whether it came.
    bool Until(const std::function<bool()>& done, int limit = 600) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            Frame();
        }
        return done();
    }
    // Starts the battle in `layout`; in layouts 1 and 2 "fight" is chosen.
    void Fight(int layout) {
        DbBattle->layoutStyle = layout;
        battle->Start();
        if (layout != 0) {
            Now(Key::Enter);
            ASSERT_TRUE(Until([&] { return battle->PhaseNow() == TLcfBattleScene::kGauges; }));
        }
        battle->enemyTurnsEnabled = 0;
    }
    // Fills member `slot`'s gauge and, in layouts 1 and 2, chooses it at
    // the status cursor: its commands open.
    void OpenCommandsOf(int slot) {
        Member(slot).gauge = kFull + 1;
        if (BattleLayout() != 0) {
            ASSERT_TRUE(Until([&] { return battle->statusWindow.CursorVisible() && battle->statusWindow.Active(); }));
            if (battle->statusWindow.Cursor() != slot) Now(Key::Down);
            When([&] { return battle->statusWindow.Cursor() == slot; }, Key::Enter);
        }
        ASSERT_TRUE(Until([&] { return CommandsOpenFor(slot); }));
    }
    bool CommandsOpenFor(int slot) {
        return battle->PhaseNow() == TLcfBattleScene::kActorCommand && battle->commandWindow.Active() &&
               battle->commandWindow.IsOpen() && battle->commandWindow.ActorId() == Member(slot).Id();
    }
    // Member `slot` is offered `commands` (battle command ids) and the row
    // command.
    void Commands(int slot, std::initializer_list<int32_t> commands) {
        Member(slot).commands.fill(-1);
        std::copy(commands.begin(), commands.end(), Member(slot).commands.begin());
    }
    // Skills 1..count of `scope` at no cost, all learnt by member 0.
    void Skills(int32_t count, uint8_t scope) {
        DbSkill->SetCount(count);
        for (int32_t id = 1; id <= count; ++id) {
            DbSkill->Find(id)->name = "Skill" + std::to_string(id);
            DbSkill->Find(id)->scope = scope;
            Member(0).LearnSkill(id);
        }
    }
    // The actor command window's cursor to `row`, then a decision there.
    void Choose(int row) {
        ASSERT_TRUE(Until([&] { return !KeysLeft(); }, 30));
        battle->commandWindow.SetCursor(row);
        Now(Key::Enter);
    }

private:
    // A key stays down until a frame's input update has seen it held, so
    // that it counts as pressed and repeated once.
    void Pump() {
        if (held_ != Key::None) {
            if (!input->IsHeld(Button(held_))) return;
            sys->ReleaseKey(held_);
            held_ = Key::None;
            return;
        }
        // A key pressed again before a frame saw it up would be no new press.
        if (keys_.empty() || input->Held != 0 || !keys_.front().ready()) return;
        held_ = keys_.front().key;
        keys_.pop_front();
        sys->PressKey(held_);
    }
    static int Button(Key key) {
        switch (key) {
            case Key::Enter: return TMultiInput::kDecision;
            case Key::Escape: return TMultiInput::kCancel;
            case Key::Up: return TMultiInput::kUp;
            default: return TMultiInput::kDown;
        }
    }
    struct Step {
        std::function<bool()> ready;
        Key key;
    };
    std::deque<Step> keys_;
    Key held_ = Key::None;
};

TEST_F(BattleInputTest, AnAutomaticMemberLeavesTheStatusCursorToTheNextManualOne) {
    Member(0).autoBattle = 1;
    Fight(1);
    EXPECT_EQ(Member(0).show.autoThisBattle, 1);
    EXPECT_EQ(Member(1).show.autoThisBattle, 0);
    Member(0).gauge = Member(1).gauge = kFull + 1;
    // Member 0 is queued first and decides by itself: its turn begins.
    ASSERT_TRUE(Until([&] { return Member(0).actionMarker != 0; }));
    EXPECT_EQ(Member(0).gauge, 0);
    ASSERT_TRUE(Until([&] { return battle->statusWindow.CursorVisible() && battle->statusWindow.Active(); }));
    EXPECT_EQ(battle->statusWindow.Cursor(), 1);
    // The other member takes input: its commands open on a decision.
    Now(Key::Enter);
    EXPECT_TRUE(Until([&] { return CommandsOpenFor(1); }, 60));
}

TEST_F(BattleInputTest, CancelWhileTheGaugesRunGoesBackToThePartyCommand) {
    for (int layout : {1, 2}) {
        SCOPED_TRACE(layout);
        Fight(layout);
        EXPECT_FALSE(battle->partyCommandWindow.Active());
        Now(Key::Escape);
        ASSERT_TRUE(Until([&] { return battle->PhaseNow() == TLcfBattleScene::kPartyCommand; }, 60));
        EXPECT_TRUE(battle->partyCommandWindow.Active());
        EXPECT_TRUE(battle->partyCommandWindow.CursorVisible());
        EXPECT_EQ(battle->statusWindow.X(), 76);
        EXPECT_EQ(battle->partyCommandWindow.X(), 0);
        EXPECT_EQ(Sounds("Cancel"), 1);
        EXPECT_EQ(battle->statusWindow.backRequest, 0);
        // "Fight" again starts the gauges afresh.
        Now(Key::Enter);
        EXPECT_TRUE(Until([&] { return battle->PhaseNow() == TLcfBattleScene::kGauges; }, 60));
        audio.log.clear();
    }
}

TEST_F(BattleInputTest, CancelAtTheActorsCommandsDoesNotAlsoLeaveForThePartyCommand) {
    for (int layout : {1, 2}) {
        SCOPED_TRACE(layout);
        Fight(layout);
        Member(1).gauge = kFull + 1;  // the status cursor may move to it
        OpenCommandsOf(0);
        Now(Key::Escape);
        ASSERT_TRUE(Until([&] { return battle->PhaseNow() == TLcfBattleScene::kGauges; }, 60));
        for (int i = 0; i < 10; ++i) Frame();
        EXPECT_NE(battle->PhaseNow(), TLcfBattleScene::kPartyCommand);
        EXPECT_EQ(Sounds("Cancel"), 1);
        // The status cursor takes input again: another member may be picked.
        EXPECT_TRUE(battle->statusWindow.CursorVisible());
        EXPECT_TRUE(battle->statusWindow.Active());
        // Layout 1 leaves the commands beside the status without a cursor;
        // layout 2 closes them until the status cursor moves.
        EXPECT_EQ(battle->commandWindow.IsVisible(), layout == 1);
        EXPECT_FALSE(battle->commandWindow.CursorVisible());
        Now(Key::Down);
        ASSERT_TRUE(Until([&] { return !KeysLeft() && battle->statusWindow.Cursor() == 1; }, 30));
        Frame();
        EXPECT_TRUE(battle->commandWindow.IsVisible());
        EXPECT_EQ(battle->commandWindow.ActorId(), Member(1).Id());
        audio.log.clear();
    }
}

TEST_F(BattleInputTest, AnActorFallenWhileChoosingHandsTheStatusCursorOn) {
    system->battleWaitMode = 0;
    Fight(1);
    OpenCommandsOf(0);
    Member(1).gauge = kFull + 1;
    Member(0).hp = 0;
    Member(0).SetCondition(1, 1);
    ASSERT_TRUE(Until([&] { return battle->statusWindow.CursorVisible() && battle->statusWindow.Cursor() == 1; }, 30));
    Now(Key::Enter);
    EXPECT_TRUE(Until([&] { return CommandsOpenFor(1); }, 30));
}

TEST_F(BattleInputTest, ACancelledTargetBringsTheWindowsBackAndTheGaugesRunOn) {
    system->battleWaitMode = 0;
    for (int layout : {0, 1, 2}) {
        SCOPED_TRACE(layout);
        Fight(layout);
        OpenCommandsOf(0);
        Choose(0);  // attack
        When([&] { return battle->targetingEnemies != 0; }, Key::Escape);
        ASSERT_TRUE(Until([&] { return !KeysLeft() && battle->targetingEnemies == 0; }, 60));
        Frame();
        EXPECT_TRUE(battle->statusWindow.IsOpen());
        EXPECT_EQ(battle->statusWindow.X(), layout == 0 ? 104 : 0);
        if (layout == 0) {
            EXPECT_TRUE(battle->monsterWindow.IsOpen());
        }
        // The actor chooses again.
        EXPECT_TRUE(CommandsOpenFor(0));
        const int32_t before = troop.Member(0)->gauge;
        Frame();
        EXPECT_GT(troop.Member(0)->gauge, before);
    }
}

TEST_F(BattleInputTest, ARefusedCommandLeavesTheCommandWindowAsItWas) {
    battle->setup.escapeAllowed = true;
    DbBattle->autoPlacement = 1;  // a pincer needs the placement grid
    for (int layout : {0, 1, 2}) {
        SCOPED_TRACE(layout);
        // Escape under a pincer.
        battle->setup.startCondition = kStartPincer;
        Fight(layout);
        OpenCommandsOf(0);
        Choose(2);
        Until([&] { return !KeysLeft(); }, 30);
        Frame();
        EXPECT_TRUE(CommandsOpenFor(0));
        EXPECT_EQ(battle->commandWindow.Cursor(), 2);
        // The row command of the only member in the front row.
        battle->setup.startCondition = kStartNormal;
        Fight(layout);
        Member(0).row = Member(0).show.rowTarget = Member(0).facing;
        Member(1).row = Member(1).show.rowTarget = 1 - Member(0).facing;
        OpenCommandsOf(0);
        Choose(3);
        Until([&] { return !KeysLeft(); }, 30);
        Frame();
        EXPECT_TRUE(CommandsOpenFor(0));
        EXPECT_EQ(battle->commandWindow.Cursor(), 3);
        EXPECT_EQ(Sounds("Buzzer"), 2);
        EXPECT_TRUE(battle->readyList.empty());
        EXPECT_EQ(Member(0).actionMarker, 0);
        audio.log.clear();
    }
}

TEST_F(BattleInputTest, TheActorCommandWindowFollowsTheStatusCursor) {
    for (int layout : {1, 2}) {
        SCOPED_TRACE(layout);
        Fight(layout);
        Member(0).gauge = Member(1).gauge = kFull + 1;
        ASSERT_TRUE(Until([&] { return battle->statusWindow.CursorVisible() && battle->statusWindow.Active(); }));
        EXPECT_EQ(battle->statusWindow.Cursor(), 0);
        EXPECT_EQ(battle->commandWindow.ActorId(), Member(0).Id());
        EXPECT_EQ(battle->commandWindow.X(), layout == 1 ? 244 : 0);
        EXPECT_EQ(battle->commandWindow.Y(), layout == 1 ? 160 : 80);
        Now(Key::Down);
        ASSERT_TRUE(Until([&] { return battle->statusWindow.Cursor() == 1; }, 30));
        Frame();
        EXPECT_EQ(battle->commandWindow.ActorId(), Member(1).Id());
        EXPECT_TRUE(battle->commandWindow.IsOpen());
        EXPECT_FALSE(battle->commandWindow.CursorVisible());
    }
}

TEST_F(BattleInputTest, LayoutOneTargetChoiceShowsTheCommandingActorsCommandsBesideTheStatus) {
    Fight(1);
    OpenCommandsOf(1);
    Choose(0);
    bool looked = false;
    When(
        [&] {
            if (!battle->targetingEnemies) return false;
            looked = true;
            EXPECT_EQ(battle->statusWindow.X(), 0);
            EXPECT_FALSE(battle->statusWindow.CursorVisible());
            EXPECT_TRUE(battle->commandWindow.IsOpen());
            EXPECT_EQ(battle->commandWindow.X(), 244);
            EXPECT_EQ(battle->commandWindow.ActorId(), Member(1).Id());
            EXPECT_FALSE(battle->commandWindow.CursorVisible());
            return true;
        },
        Key::Enter);
    ASSERT_TRUE(Until([&] { return Member(1).actionMarker != 0; }, 120));
    EXPECT_TRUE(looked);
    EXPECT_EQ(Member(1).action.targetKind, Act::kOneEnemy);
}

TEST_F(BattleInputTest, LayoutOneActorTargetChoiceReplacesTheCommandWindow) {
    TLcfItemItem* potion = DbItem->Find(1);
    potion->name = "Potion";
    potion->kind = TLcfItemItem::kMedicine;
    potion->hpPoints = 10;
    GamePartyInfo->GainItem(1, 3);
    Fight(1);
    OpenCommandsOf(0);
    Choose(1);  // item
    When([&] { return battle->itemWindow.Active(); }, Key::Enter);
    bool looked = false;
    When(
        [&] {
            if (!battle->targetWindow.Active()) return false;
            looked = true;
            EXPECT_EQ(battle->targetWindow.X(), 0);
            EXPECT_TRUE(battle->commandWindow.IsOpen());
            EXPECT_EQ(battle->commandWindow.X(), 244);
            EXPECT_EQ(battle->commandWindow.ActorId(), Member(0).Id());
            return true;
        },
        Key::Escape);
    // The cancelled target gives the item list back, without the commands
    // over it; cancel that too.
    When(
        [&] {
            if (!looked || !battle->itemWindow.Active()) return false;
            EXPECT_FALSE(battle->commandWindow.IsVisible());
            return true;
        },
        Key::Escape);
    ASSERT_TRUE(Until([&] { return !KeysLeft() && CommandsOpenFor(0); }, 200));
    EXPECT_TRUE(looked);
    EXPECT_TRUE(battle->statusWindow.IsOpen());
    EXPECT_EQ(battle->statusWindow.X(), 0);
}

TEST_F(BattleInputTest, LayoutOneAGivenUpSkillTargetLeavesTheListUncovered) {
    Commands(0, {1, 4});
    Skills(2, TLcfSkillItem::kOneEnemy);
    DbSkill->Find(2)->scope = TLcfSkillItem::kOneAlly;
    Fight(1);
    for (int skill : {0, 1}) {
        SCOPED_TRACE(skill);
        OpenCommandsOf(0);
        Choose(1);  // skills
        When(
            [&] {
                if (!battle->skillWindow.Active()) return false;
                battle->skillWindow.SetCursor(skill);
                return true;
            },
            Key::Enter);
        bool targeted = false, looked = false;
        When(
            [&] {
                targeted = battle->targetingEnemies || battle->targetWindow.Active();
                if (targeted) {
                    EXPECT_TRUE(battle->commandWindow.IsVisible());
                }
                return targeted;
            },
            Key::Escape);
        When(
            [&] {
                if (!targeted || !battle->skillWindow.Active()) return false;
                looked = true;
                EXPECT_FALSE(battle->commandWindow.IsVisible());
                EXPECT_EQ(battle->skillWindow.Cursor(), skill);
                return true;
            },
            Key::Escape);
        ASSERT_TRUE(Until([&] { return !KeysLeft() && CommandsOpenFor(0); }, 200));
        EXPECT_TRUE(looked);
        Now(Key::Escape);
        ASSERT_TRUE(Until([&] { return !KeysLeft() && battle->PhaseNow() == TLcfBattleScene::kGauges; }, 60));
    }
}

TEST_F(BattleInputTest, TheSkillListOpensAgainAtTheTopRowItWasLeftAt) {
    system->battleWaitMode = 0;
    Commands(0, {1, 4});
    Skills(17, TLcfSkillItem::kSelf);
    Fight(1);
    // Rows of two, four rows seen: skill 12 (row 5) scrolls to top row 2,
    // then skill 10 (row 4) is chosen from there, above the last row seen.
    OpenCommandsOf(0);
    Choose(1);
    When(
        [&] {
            if (!battle->skillWindow.Active()) return false;
            battle->skillWindow.SetCursor(11);
            battle->skillWindow.SetCursor(9);
            EXPECT_EQ(battle->skillWindow.TopRow(), 2);
            return true;
        },
        Key::Enter);
    ASSERT_TRUE(Until([&] { return !KeysLeft() && Member(0).actionMarker != 0; }, 120));
    EXPECT_EQ(Member(0).action.skillId, 10);
    ASSERT_TRUE(Until([&] { return Member(0).actionMarker == 0 && battle->readyList.empty(); }, 600));
    OpenCommandsOf(0);
    Choose(1);
    bool looked = false;
    When(
        [&] {
            if (!battle->skillWindow.Active()) return false;
            looked = true;
            EXPECT_EQ(battle->skillWindow.TopRow(), 2);
            EXPECT_EQ(battle->skillWindow.Cursor(), 9);
            return true;
        },
        Key::Escape);
    ASSERT_TRUE(Until([&] { return !KeysLeft() && CommandsOpenFor(0); }, 200));
    EXPECT_TRUE(looked);
}

TEST_F(BattleInputTest, DefendEscapeAndTheRowCommandKeepTheLastCommandsTarget) {
    system->battleWaitMode = 0;
    battle->setup.escapeAllowed = true;
    Commands(0, {1, 3, 5});
    Fight(1);
    battle->escapeChance = -1000;  // every escape fails
    OpenCommandsOf(0);
    Choose(0);  // attack
    When([&] { return battle->targetingEnemies != 0; }, Key::Enter);
    ASSERT_TRUE(Until([&] { return !KeysLeft() && Member(0).actionMarker != 0; }, 120));
    EXPECT_EQ(battle->LastTargetKind(), Act::kOneEnemy);
    EXPECT_EQ(battle->LastTargetIndex(), 0);
    for (int row : {1, 3, 2}) {  // defend, row, escape
        SCOPED_TRACE(row);
        ASSERT_TRUE(Until([&] { return Member(0).actionMarker == 0 && battle->readyList.empty(); }, 600));
        const int32_t turns = Member(0).turnCounter;
        OpenCommandsOf(0);
        Choose(row);
        ASSERT_TRUE(Until([&] { return !KeysLeft() && Member(0).turnCounter > turns; }, 120));
        EXPECT_EQ(battle->LastTargetKind(), Act::kOneEnemy);
        EXPECT_EQ(battle->LastTargetIndex(), 0);
        EXPECT_EQ(battle->LastCommandActorId(), Member(0).Id());
    }
}

TEST_F(BattleInputTest, LayoutTwoHidesTheCommandsOfAnAutomaticMemberUnderTheStatusCursor) {
    DbBattle->layoutStyle = 2;
    battle->Start();
    battle->statusWindow.PointAt(1);
    Member(1).show.autoThisBattle = 1;
    EXPECT_FALSE(battle->CommandWindowShown());
    Member(1).show.autoThisBattle = 0;
    EXPECT_TRUE(battle->CommandWindowShown());
    // Other layouts always show it.
    DbBattle->layoutStyle = 1;
    Member(1).show.autoThisBattle = 1;
    EXPECT_TRUE(battle->CommandWindowShown());
}

TEST_F(BattleInputTest, ThePartyCommandSetsThisBattlesAutoFlagsAndKeepsTheActorsOwn) {
    Member(0).autoBattle = 1;  // as a class with automatic battle gives it
    DbBattle->layoutStyle = 1;
    battle->Start();
    battle->partyCommandWindow.SetCursor(1);  // auto
    Now(Key::Enter);
    ASSERT_TRUE(Until([&] { return battle->PhaseNow() == TLcfBattleScene::kGauges; }));
    EXPECT_EQ(Member(0).autoBattle, 1);
    EXPECT_EQ(Member(1).autoBattle, 0);
    EXPECT_EQ(Member(1).show.autoThisBattle, 1);

    // Back and "fight": the manual member is manual again, the other not.
    Now(Key::Escape);
    ASSERT_TRUE(Until([&] { return battle->PhaseNow() == TLcfBattleScene::kPartyCommand; }, 60));
    battle->partyCommandWindow.SetCursor(0);
    Now(Key::Enter);
    ASSERT_TRUE(Until([&] { return battle->PhaseNow() == TLcfBattleScene::kGauges; }));
    EXPECT_EQ(Member(0).show.autoThisBattle, 1);
    EXPECT_EQ(Member(1).show.autoThisBattle, 0);
    EXPECT_EQ(Member(0).autoBattle, 1);
    EXPECT_EQ(Member(1).autoBattle, 0);
    // The automatic member decides by itself.
    battle->enemyTurnsEnabled = 0;
    Member(0).gauge = kFull + 1;
    EXPECT_TRUE(Until([&] { return Member(0).actionMarker != 0; }, 60));
}

TEST_F(BattleInputTest, AMemberLeavingWhileAnotherChoosesLeavesTheCommandsWithTheActorShown) {
    // A page takes Hero 1 out of the party while Hero 2 (queued before
    // Hero 3) has its commands open or picks its target; last, Hero 2
    // itself leaves while it picks its target.
    GameInterpreterHooks.battle = battle.get();
    struct Case {
        int layout;
        bool whileTargeting;
        int32_t leaving;
    };
    for (Case c : {Case{0, false, 1}, Case{1, false, 1}, Case{0, true, 1}, Case{0, true, 2},
                   Case{1, true, 2}}) {
        SCOPED_TRACE(c.layout + 10 * c.whileTargeting + 100 * c.leaving);
        lcf_builder::Script leave;
        leave.Line(kWait, 0, "", {1}).Line(kChangePartyMembers, 0, "", {1, 0, c.leaving});
        TroopPage(1, TLcfBattleEventTrigger::kSwitchA, leave);
        for (int32_t id : {1, 2, 3}) GamePartyInfo->RemoveMember(id);
        for (int32_t id : {1, 2, 3}) GamePartyInfo->AddMember(id);
        system->SetSwitch(1, false);
        Fight(c.layout);
        for (int slot = 0; slot < 3; ++slot) Member(slot).actionMarker = 0;
        Member(2).gauge = kFull + 1;
        OpenCommandsOf(1);
        TLcfgPlayerItem &second = Member(1), &third = Member(2);
        const int32_t turns2 = second.turnCounter, turns3 = third.turnCounter;
        system->SetSwitch(1, true);
        auto startPage = [&] { ASSERT_TRUE(battleScripter.FindTriggeredPage(1, 3, nullptr)); };
        if (c.whileTargeting) {
            Choose(0);
            When(
                [&] {
                    if (!battle->targetingEnemies) return false;
                    startPage();
                    return true;
                },
                Key::Up);
            When([&] { return GamePartyInfo->MemberCount() == 2; }, Key::Enter);
        } else {
            startPage();
            ASSERT_TRUE(Until([&] { return GamePartyInfo->MemberCount() == 2; }, 30));
            if (c.layout == 0) {
                EXPECT_EQ(battle->PhaseNow(), TLcfBattleScene::kGauges);
                EXPECT_FALSE(battle->commandWindow.IsVisible());
                EXPECT_FALSE(battle->statusWindow.CursorVisible());
            } else {
                EXPECT_EQ(battle->statusWindow.Cursor(), 0);
            }
            // The commands shown are Hero 2's, and the decision readies it.
            ASSERT_TRUE(Until([&] { return CommandsOpenFor(0); }, 30));
            EXPECT_EQ(battle->commandWindow.ActorId(), second.Id());
            Choose(0);
            When([&] { return battle->targetingEnemies != 0; }, Key::Enter);
        }
        if (c.leaving == 2) {
            // Its choice goes with it; Hero 3 chooses its own.
            if (c.layout != 0) {
                ASSERT_TRUE(Until([&] { return !KeysLeft() && battle->statusWindow.Active(); }, 120));
                EXPECT_EQ(battle->statusWindow.Cursor(), 1);
                Now(Key::Enter);
            }
            ASSERT_TRUE(Until([&] { return !KeysLeft() && CommandsOpenFor(1); }, 120));
            EXPECT_EQ(battle->commandWindow.ActorId(), third.Id());
            EXPECT_EQ(second.turnCounter + third.turnCounter, turns2 + turns3);
            EXPECT_TRUE(battle->readyList.empty());
            continue;
        }
        ASSERT_TRUE(Until([&] { return !KeysLeft() && second.turnCounter + third.turnCounter > turns2 + turns3; }, 120));
        EXPECT_EQ(second.turnCounter, turns2 + 1);
        EXPECT_EQ(third.turnCounter, turns3);
        EXPECT_EQ(battle->QueuedActor(0), 1);  // Hero 3 still waits
    }
    GameInterpreterHooks.battle = nullptr;
}

// --- Turns ---------------------------------------------------------------------------------

TEST_F(BattleInputTest, AnActorsGaugeStandsUntilItsTurnIsOver) {
    system->battleWaitMode = 0;
    Fight(1);
    battle->SetQueuedActor(0, 0);
    Member(0).gauge = kFull;
    Member(0).action.kind = Act::kBasic;
    Member(0).action.basic = Act::kAttack;
    Member(0).action.targetKind = Act::kOneEnemy;
    Member(0).action.targetIndex = 0;
    battle->ActorReady(0);
    EXPECT_EQ(Member(0).actionMarker, 1);  // in the ready list
    // Waiting in the list and acting, the gauge does not move.
    int acting = 0;
    for (int i = 0; i < 600 && Member(0).actionMarker != 0; ++i) {
        EXPECT_EQ(Member(0).gauge, 0);
        acting += Member(0).actionMarker == 2;
        Frame();
    }
    EXPECT_GT(acting, 10);  // stepping out, striking, coming back
    EXPECT_EQ(Member(0).actionMarker, 0);
    EXPECT_TRUE(battle->readyList.empty());
    // Then it fills again.
    Frame();
    EXPECT_GT(Member(0).gauge, 0);
}

TEST_F(BattleInputTest, CancelHeldThroughAnEnemysSkillAnimationDoesNotDelayItsEffect) {
    // A skill that hurts one member for exactly 10, with the bare hit as
    // its animation (20 frames).
    lcf_builder::LoadRecord(*DbSkill->GetOrCreate(1), battle_world::Chunks()
                                                          .Str(1, "Sting")
                                                          .Int(12, 0)
                                                          .Int(22, 0)
                                                          .Int(23, 0)
                                                          .Int(24, 10)
                                                          .Int(31, 1)
                                                          .Int(14, 0)
                                                          .End());
    Fight(0);
    TLcfgMonsterItem& enemy = *troop.Member(0);
    enemy.action.kind = Act::kSkill;
    enemy.action.skillId = 1;
    enemy.action.targetKind = Act::kOneMember;
    enemy.action.targetIndex = 0;
    // Runs the enemy's turn, with cancel going down (and staying down) once
    // the skill's name has gone and its animation plays, or without it.
    // Answers how many input updates came after the animation had ended
    // and before the effect landed.
    auto turn = [&](bool holdCancel) {
        const int32_t hp = Member(0).hp;
        bool pressed = false, seenRunning = false;
        int late = 0, runningFrames = 0;
        sys->onPump = [&] {
            const bool running = GamePlayers->AnimationRunning();
            if (running && !pressed && holdCancel) {
                sys->PressKey(Key::Escape);
                pressed = true;
            }
            seenRunning = seenRunning || running;
            runningFrames += running;
            if (seenRunning && !running && Member(0).hp == hp && ++late == 20) sys->ReleaseKey(Key::Escape);
        };
        EXPECT_TRUE(battle->ExecuteAction(enemy));
        sys->onPump = nullptr;
        EXPECT_EQ(pressed, holdCancel);
        EXPECT_EQ(input->IsHeld(TMultiInput::kCancel), holdCancel);
        EXPECT_GE(runningFrames, 19);
        EXPECT_EQ(Member(0).hp, hp - 10);
        sys->ReleaseKey(Key::Escape);
        input->Update();
        return late;
    };
    const int free = turn(false);
    EXPECT_EQ(turn(true), free);
}

TEST_F(BattleInputTest, AnActorWithNothingToDoStillEndsTheFirstStrike) {
    battle->setup.firstStrike = true;
    Fight(1);
    battle->SetQueuedActor(0, 0);
    Member(0).action.kind = Act::kNone;
    Member(0).action.basic = Act::kAttack;
    battle->ActorReady(0);
    battle->ProcessReadyList();
    EXPECT_TRUE(battle->readyList.empty());
    EXPECT_FALSE(battle->setup.firstStrike);
    EXPECT_EQ(Member(0).actionMarker, 0);
}

TEST_F(BattleInputTest, AnActorWhoseTurnNeverStartedIsIdleAgainOnceItLeavesTheList) {
    Fight(1);
    battle->SetQueuedActor(0, 0);
    Member(0).action.kind = Act::kBasic;
    Member(0).action.basic = Act::kAttack;
    Member(0).action.targetKind = Act::kOneEnemy;
    battle->ActorReady(0);
    Member(0).hp = 0;
    Member(0).SetCondition(1, 1);  // fallen before its turn
    battle->ProcessReadyList();
    EXPECT_TRUE(battle->readyList.empty());
    EXPECT_EQ(Member(0).actionMarker, 0);
}

TEST_F(BattleInputTest, AnActorWhoseItemIsGoneChoosesAgainBeforeTheEnemiesBehindItAndActsOnce) {
    // Two members chose the last potion; the second finds none left. It
    // keeps its place at the head of the ready list, its gauge fills again
    // and it chooses anew; the enemy behind it waits, and the new choice (a
    // defence, whose action stays after the turn) runs once, not twice.
    DbItem->Find(1)->kind = TLcfItemItem::kMedicine;
    DbItem->Find(1)->hpPoints = 10;
    DbBattle->commands.FindCommand(3)->kind = 3;  // defend
    Member(1).commands[3] = 3;
    // Every executed turn ticks the conditions of all battlers: a slime
    // outside the list loses 1 HP a tick.
    DbStatus->SetCount(2);
    DbStatus->Find(2)->battleHpPoints = 1;
    DbStatus->Find(2)->hpDirection = 0;
    GamePartyInfo->GainItem(1, 1);
    Fight(0);
    troop.Member(1)->SetCondition(2, 1);
    for (int slot = 0; slot < 2; ++slot) {
        battle->SetQueuedActor(0, slot);
        Member(slot).action.kind = Act::kItem;
        Member(slot).action.itemId = 1;
        Member(slot).action.targetKind = Act::kOneMember;
        Member(slot).action.targetIndex = slot;
        battle->ActorReady(slot);
    }
    Member(0).agilityModifier = -1000;  // the first takes no further part
    TLcfgMonsterItem& enemy = *troop.Member(0);
    enemy.action.kind = Act::kNone;
    enemy.actionMarker = 1;
    battle->readyList.push_back(&enemy);
    auto inList = [&](const TLcfgUnitItem* b) {
        return int(std::count(battle->readyList.begin(), battle->readyList.end(), b));
    };

    ASSERT_TRUE(Until([&] { return CommandsOpenFor(1); }, 1000));
    EXPECT_EQ(GamePartyInfo->ItemCount(1), 0);
    ASSERT_EQ(battle->readyList.size(), 2u);
    EXPECT_EQ(battle->readyList[0], &Member(1));
    EXPECT_EQ(inList(&enemy), 1);
    Choose(3);
    ASSERT_TRUE(Until([&] { return inList(&Member(1)) == 0; }));
    EXPECT_EQ(Member(1).action.basic, Act::kDefend);
    EXPECT_EQ(inList(&enemy), 1);  // it acts after the new choice
    ASSERT_TRUE(Until([&] { return battle->readyList.empty(); }));
    for (int i = 0; i < 30; ++i) Frame();
    // Three turns ran: the potion, the defence and the enemy's.
    EXPECT_EQ(troop.Member(1)->hp, 9999 - 3);
    EXPECT_EQ(Member(1).actionMarker, 0);
}

}  // namespace

namespace {

using battle_test::BattleSceneTest;
using Act = TLcfgUnitActItem;

// Two members aim one-target skills; whoever comes second may find its
// target fallen.
class AimedSkillTest : public BattleSceneTest {
protected:
    AimedSkillTest() {
        DbMonster->Find(1)->maxHp = 9999;
        // Skill 1 hurts one enemy for exactly 50; skill 2 heals one ally
        // for 100. Each costs 5 SP.
        lcf_builder::LoadRecord(*DbSkill->GetOrCreate(1), battle_world::Chunks()
                                                              .Str(1, "Bolt")
                                                              .Int(11, 5)
                                                              .Int(12, 0)
                                                              .Int(22, 0)
                                                              .Int(23, 0)
                                                              .Int(24, 50)
                                                              .Int(31, 1)
                                                              .Int(14, 0)
                                                              .End());
        lcf_builder::LoadRecord(*DbSkill->GetOrCreate(2), battle_world::Chunks()
                                                              .Str(1, "Mend")
                                                              .Int(11, 5)
                                                              .Int(12, 3)
                                                              .Int(22, 0)
                                                              .Int(23, 0)
                                                              .Int(24, 100)
                                                              .Int(31, 1)
                                                              .Int(14, 0)
                                                              .End());
        battle->Start();
        battle->SetPhase(TLcfBattleScene::kGauges);
        battle->enemyTurnsEnabled = 0;
    }
    void Cast(int slot, int32_t skillId, int targetKind, int targetIndex) {
        TLcfgPlayerItem& a = Member(slot);
        a.action.kind = Act::kSkill;
        a.action.skillId = skillId;
        a.action.targetKind = targetKind;
        a.action.targetIndex = targetIndex;
        battle->SetQueuedActor(0, slot);
        battle->ActorReady(slot);
    }
    // Frames until both turns are over.
    void PlayTurns() {
        for (int i = 0; i < 2000 && !(battle->readyList.empty() && Member(0).actionMarker == 0 &&
                                      Member(1).actionMarker == 0);
             ++i) {
            battle->Tick();
            battle->ProcessReadyList();
        }
        ASSERT_TRUE(battle->readyList.empty());
    }
};

TEST_F(AimedSkillTest, ADamageSkillWhoseEnemyFellHitsTheLowestLivingOneAndIsPaidFor) {
    troop.Member(0)->hp = 30;
    const int32_t sp0 = Member(0).sp, sp1 = Member(1).sp;
    Cast(0, 1, Act::kOneEnemy, 0);
    Cast(1, 1, Act::kOneEnemy, 0);
    PlayTurns();
    EXPECT_EQ(troop.Member(0)->hp, 0);  // the first one's bolt felled it
    EXPECT_EQ(troop.Member(1)->hp, 9999 - 50);
    EXPECT_EQ(Member(1).action.targetIndex, 1);
    EXPECT_EQ(Member(0).sp, sp0 - 5);
    EXPECT_EQ(Member(1).sp, sp1 - 5);

    // An item that casts the skill, aimed at the fallen enemy, is not used
    // up for nothing either.
    TLcfItemItem& rod = *DbItem->Find(2);
    rod.kind = TLcfItemItem::kSkillItem;
    rod.skillId = 1;
    GamePartyInfo->GainItem(2, 1);
    TLcfgPlayerItem& a = Member(0);
    a.action.kind = Act::kItem;
    a.action.itemId = 2;
    a.action.targetKind = Act::kOneEnemy;
    a.action.targetIndex = 0;
    battle->SetQueuedActor(0, 0);
    battle->ActorReady(0);
    PlayTurns();
    EXPECT_EQ(GamePartyInfo->ItemCount(2), 0);
    EXPECT_EQ(troop.Member(1)->hp, 9999 - 100);
    EXPECT_EQ(a.sp, sp0 - 5);  // the item pays no SP
}

TEST_F(AimedSkillTest, AHealOnAnAllyWhoFellGoesToTheLowestLivingMember) {
    Member(0).hp = 10;
    Member(1).hp = 0;
    Member(1).SetCondition(1, 1);
    const int32_t sp0 = Member(0).sp;
    Cast(0, 2, Act::kOneMember, 1);
    PlayTurns();
    EXPECT_EQ(Member(0).hp, std::min(110, Member(0).MaxHP()));
    EXPECT_EQ(Member(1).hp, 0);
    EXPECT_EQ(Member(0).sp, sp0 - 5);
}

}  // namespace
