// Map events: page choice, start requests, touch, autonomous movement,
// parallel processes and the list's save form.

#include "world_fixture.h"

using namespace world_test;

namespace {

class MapEventTest : public WorldTest {};

TEST_F(MapEventTest, PagesAreChosenHighestFirstBySwitchesVariablesItemsActorsAndTimers) {
    AddEvent(1, 1, 1);
    TLcfEventPageItem& bySwitch = AddPage(1, 2);
    bySwitch.condition.flags = TLcfEventCondition::kSwitchA | TLcfEventCondition::kSwitchB;
    bySwitch.condition.switchA = 3;
    bySwitch.condition.switchB = 4;
    TLcfEventPageItem& byVariable = AddPage(1, 3);
    byVariable.condition.flags = TLcfEventCondition::kVariable;
    byVariable.condition.variableId = 5;
    byVariable.condition.variableValue = 10;
    byVariable.condition.compare = TLcfEventCondition::kNotEqual;
    TLcfEventPageItem& byItem = AddPage(1, 4);
    byItem.condition.flags = TLcfEventCondition::kItem | TLcfEventCondition::kHero;
    byItem.condition.itemId = 7;
    byItem.condition.heroId = 2;
    TLcfEventPageItem& byTimer = AddPage(1, 5);
    byTimer.condition.flags = TLcfEventCondition::kTimer1 | TLcfEventCondition::kTimer2;
    byTimer.condition.timer1Seconds = 30;
    byTimer.condition.timer2Seconds = 5;
    partyInfo.timer1 = 31;
    GameSystem->SetVariable(5, 10);
    Enter(0, 0);
    EXPECT_EQ(Event(1).PageNumber(), 1);
    GameSystem->SetSwitch(3, true);
    map.events.RefreshAll();
    EXPECT_EQ(Event(1).PageNumber(), 1);
    GameSystem->SetSwitch(4, true);
    map.events.RefreshAll();
    EXPECT_EQ(Event(1).PageNumber(), 2);
    GameSystem->SetVariable(5, 11);
    map.events.RefreshAll();
    EXPECT_EQ(Event(1).PageNumber(), 3);
    partyInfo.items.insert(7);
    map.events.RefreshAll();
    EXPECT_EQ(Event(1).PageNumber(), 3);
    partyInfo.actors.insert(2);
    map.events.RefreshAll();
    EXPECT_EQ(Event(1).PageNumber(), 4);
    partyInfo.timer1 = 30;
    map.events.RefreshAll();
    EXPECT_EQ(Event(1).PageNumber(), 5);
}

TEST_F(MapEventTest, AnEventWithoutAPageIsThroughAndOneWithOnlyAnEndLineIsNeverStarted) {
    TLcfEventPageItem& gated = AddEvent(1, 1, 1);
    gated.condition.flags = TLcfEventCondition::kSwitchA;
    gated.condition.switchA = 9;
    TLcfEventPageItem& empty = AddEvent(2, 2, 2);
    empty.script = interp_test::Lines(lcf_builder::Script().Line(0));
    Enter(0, 0);
    EXPECT_EQ(Event(1).PageNumber(), 0);
    EXPECT_TRUE(Event(1).through);
    EXPECT_EQ(Event(1).Trigger(), 5);
    Event(2).RequestStart();
    EXPECT_FALSE(Event(2).startRequested);
}

TEST_F(MapEventTest, ARequestTurnsOnlyTheFacingTowardTheParty) {
    AddEvent(1, 2, 4);
    Enter(2, 1);
    Event(1).direction = Event(1).facing = 1;
    Event(1).RequestStart();
    EXPECT_TRUE(Event(1).startRequested);
    EXPECT_TRUE(Event(1).waitingForScript);
    EXPECT_EQ(Event(1).facing, 0);
    EXPECT_EQ(Event(1).direction, 1);
}

TEST_F(MapEventTest, APendingStartKeepsTheEventStillUntilItsScriptHasRun) {
    TLcfEventPageItem& walker = AddEvent(1, 2, 2);
    walker.moveType = TLcfgEventItem::kMoveVertical;
    walker.moveFrequency = 8;
    Enter(0, 0);
    Event(1).RequestStart();
    for (int i = 0; i < 20; ++i) Frame();
    EXPECT_EQ(Event(1).y, 2);
    EXPECT_EQ(Event(1).waitCounter, 1);
    world.EndEventRun(1);
    world.ClearStartRequest(1);
    for (int i = 0; i < 3; ++i) Frame();
    EXPECT_NE(Event(1).y, 2);
}

TEST_F(MapEventTest, AParallelScriptRunsWhileTheInterpreterIsBusyAndEventsStandStill) {
    TLcfEventPageItem& parallel = AddEvent(1, 0, 0);
    parallel.trigger = TLcfgEventItem::kTriggerParallel;
    parallel.script = interp_test::Lines(lcf_builder::Script().Line(10120, 0, "", {0, 0, 1, 0}).Line(0));
    TLcfEventPageItem& walker = AddEvent(2, 3, 1);
    walker.moveType = TLcfgEventItem::kMoveVertical;
    walker.moveFrequency = 8;
    Enter(4, 4);
    scripter->Start(0, interp_test::Lines(lcf_builder::Script().Line(12410, 0, "busy").Line(0)));
    ASSERT_TRUE(GameScripter->IsRunning());
    GameSystem->messagePosition = 2;
    for (int i = 0; i < 10; ++i) Frame();
    EXPECT_EQ(GameSystem->messagePosition, 0);
    EXPECT_EQ(Event(2).y, 1);
    scripter->Clear();
    for (int i = 0; i < 3; ++i) Frame();
    EXPECT_NE(Event(2).y, 1);
}

TEST_F(MapEventTest, AParallelScriptRunsOnceAFrameWhenThePartyKeepsBumpingItsEvent) {
    // The party's step test updates the event in its way first, so that it
    // may move off; its script has had its frame all the same.
    TLcfEventPageItem& counter = AddEvent(1, 1, 2);
    counter.trigger = TLcfgEventItem::kTriggerParallel;
    counter.layer = 1;
    counter.script = interp_test::Lines(lcf_builder::Script().Line(10220, 0, "", {0, 1, 0, 1, 0, 1}).Line(0));
    Enter(2, 2);
    input->Direction = 4;
    for (int i = 0; i < 30; ++i) Frame();
    EXPECT_EQ(party.x, 2);
    EXPECT_EQ(party.direction, 3);
    EXPECT_EQ(Var(1), 30);
}

TEST_F(MapEventTest, ARandomWalkerDrawsItsPauseFromTheSharedGeneratorEvenWhenItIsZero) {
    TLcfEventPageItem& walker = AddEvent(1, 2, 2);
    walker.moveType = TLcfgEventItem::kMoveRandom;
    walker.moveFrequency = 8;  // pause 0
    Enter(0, 0);
    dice.values = {9};  // "wait": Random(pause) with pause 0 answers 0
    Frame();
    EXPECT_EQ(Event(1).x, 2);
    EXPECT_EQ(Event(1).y, 2);
    EXPECT_EQ(Event(1).waitCounter, 1);
}

TEST_F(MapEventTest, AnEventTouchStartsWhenTheEventWalksIntoTheParty) {
    TLcfEventPageItem& touch = AddEvent(1, 2, 3);
    touch.trigger = TLcfgEventItem::kTriggerEventTouch;
    touch.layer = 1;
    touch.direction = 0;
    touch.moveType = TLcfgEventItem::kMoveRoute;
    TLcfMoveRouteItem up;
    up.code = 0;
    touch.moveRoute.Add(up);
    Enter(2, 2);
    for (int i = 0; i < 40 && !Event(1).startRequested; ++i) Frame();
    EXPECT_EQ(Event(1).y, 3);
    EXPECT_TRUE(Event(1).startRequested);
    EXPECT_FALSE(Event(1).startedByKey);
}

TEST_F(MapEventTest, SavedEventsComeBackOnlyForThisMapVersionAndUnknownEventsAreSkipped) {
    AddEvent(1, 1, 1);
    AddEvent(2, 3, 3);
    Enter(0, 0);
    Event(1).x = 4;
    Event(2).startRequested = 1;
    party.mapStamp = unit.saveCounter;
    auto bytes = lcf_builder::SaveList(map.events);
    unit.events.Delete(2);  // the map file no longer has event 2
    map.Setup(true);
    lcf_builder::LoadList(map.events, bytes);
    EXPECT_EQ(map.events.Count(), 1);
    EXPECT_EQ(Event(1).x, 4);
    Event(1).x = 1;
    party.mapStamp = unit.saveCounter + 1;
    lcf_builder::LoadList(map.events, bytes);
    EXPECT_EQ(Event(1).x, 1);
}

TEST_F(MapEventTest, ClearingAParallelInterpreterOutsideItsRunIsImmediate) {
    TLcfEventPageItem& parallel = AddEvent(1, 0, 0);
    parallel.trigger = TLcfgEventItem::kTriggerParallel;
    parallel.script = interp_test::Lines(lcf_builder::Script().Line(11410, 0, "", {50}).Line(0));
    Enter(4, 4);
    Frame();
    EXPECT_TRUE(Event(1).Scripter().IsRunning());
    Event(1).Scripter().RequestClear();
    EXPECT_FALSE(Event(1).Scripter().IsRunning());
}

}  // namespace
