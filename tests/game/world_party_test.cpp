// The party: walking by input, triggers in front and across counters,
// encounters, panning, vehicles and the save round trip of a moving map.

#include "world_fixture.h"

using namespace world_test;

namespace {

class PartyTest : public WorldTest {
protected:
    void Press(int direction, bool decision = false) {
        input->Direction = direction;
        input->Pressed = decision ? TMultiInput::Bit(TMultiInput::kDecision) : 0;
    }
};

TEST_F(PartyTest, TheDecisionKeyReachesAcrossACounterButNotAcrossPlainFloor) {
    AddEvent(1, 2, 0).layer = 1;  // behind the counter
    AddEvent(2, 4, 0).layer = 1;  // two cells ahead, nothing between
    unit.Upper().SetTile(2, 1, kCounter);
    Enter(2, 2);
    party.direction = party.facing = 0;
    Press(0, true);
    Frame();
    EXPECT_TRUE(Event(1).startRequested);
    EXPECT_TRUE(Event(1).startedByKey);
    party.TLcfgCharacter::SetPosition(1, 4, 2);
    Frame();
    EXPECT_FALSE(Event(2).startRequested);
}

TEST_F(PartyTest, AWalkIntoATouchEventStartsItButATouchEventTwoCellsAheadIsNeverStarted) {
    TLcfEventPageItem& near = AddEvent(1, 2, 1);
    near.layer = 1;
    near.trigger = TLcfgEventItem::kTriggerTouch;
    TLcfEventPageItem& far = AddEvent(2, 0, 1);
    far.layer = 1;
    far.trigger = TLcfgEventItem::kTriggerTouch;
    unit.Upper().SetTile(0, 2, kCounter);
    Enter(2, 2);
    Press(8);
    Frame();
    EXPECT_TRUE(Event(1).startRequested);
    EXPECT_EQ(party.y, 2);
    party.TLcfgCharacter::SetPosition(1, 0, 3);
    Frame();
    EXPECT_FALSE(Event(2).startRequested);
}

TEST_F(PartyTest, StepsCountTowardEncountersWithTheBandFactor) {
    MakeMap(20, 20);
    tree.FindMap(1)->encounterSteps = 25;
    tree.FindMap(1)->encounters.GetOrCreate(1)->troopId = 4;
    Enter(5, 5);
    party.encounterSteps = 120 * 25 - 100;  // the step makes it 120 r: factor 2
    dice.values = {5243};                    // 100 / 25 * 2 / 100 * 65536 = 5242.88
    party.RollEncounter();
    EXPECT_FALSE(party.encounterPending);
    EXPECT_EQ(party.encounterSteps, 120 * 25);
    dice.values = {5242};
    party.encounterSteps = 120 * 25 - 100;
    party.RollEncounter();
    EXPECT_TRUE(party.encounterPending);
    EXPECT_EQ(party.encounterSteps, 0);
    dice.values = {0, 0};
    party.StartEncounter();
    ASSERT_EQ(battle.started.size(), 1u);
    EXPECT_EQ(battle.started[0].troopId, 4);
    EXPECT_EQ(GameSystem->scene, kSceneBattle);
}

TEST_F(PartyTest, NoStepsAreCountedWithoutAnEncounterRateAndExcludedTroopsGiveNoBattle) {
    tree.FindMap(1)->encounterSteps = 0;
    Enter(2, 2);
    party.RollEncounter();
    EXPECT_EQ(party.encounterSteps, 0);
    map.SetEncounterRate(1);
    tree.FindMap(1)->encounters.GetOrCreate(1)->troopId = 4;
    battle.excluded.insert(4);
    dice.values = {0};
    party.RollEncounter();
    EXPECT_TRUE(party.encounterPending);
    EXPECT_EQ(party.encounterSteps, 0);
    party.StartEncounter();
    EXPECT_TRUE(battle.started.empty());
    EXPECT_FALSE(party.encounterPending);
}

TEST_F(PartyTest, APanStopsWhereTheViewStopsAtTheMapEdge) {
    MakeMap(40, 40);
    Enter(20, 20);
    const int32_t startView = map.viewX;
    party.PanScreen(1, 30, 6);  // right by 30 tiles at 128 per frame
    EXPECT_EQ(party.PanFramesLeft(), 60);
    for (int i = 0; i < 80; ++i) Frame();
    EXPECT_EQ(map.viewX, 40 * 256 - 5120);
    EXPECT_EQ(party.panX, TLcfgParty::kPanX - (map.viewX - startView));
    EXPECT_NE(party.panX, party.panTargetX);
    party.ResetPan(6);
    for (int i = 0; i < 80; ++i) Frame();
    EXPECT_EQ(party.panX, TLcfgParty::kPanX);
}

TEST_F(PartyTest, TheViewFollowsAWalkAndAJumpEndsOnWholeTiles) {
    MakeMap(60, 60);
    Enter(30, 30);
    const int32_t view = map.viewX;
    Press(6);
    Frame();
    Press(0);
    WalkOut();
    EXPECT_EQ(party.x, 31);
    EXPECT_EQ(map.viewX, view + 256);
    EXPECT_TRUE(party.JumpTo(33, 30));
    WalkOut();
    EXPECT_EQ(map.viewX % 256, 0);
}

TEST_F(PartyTest, TheBoatIsBoardedFromTheShoreAndStopsAtAnUpperTileThatIsNotAbove) {
    for (int y = 0; y < 4; ++y) {
        unit.Lower().SetTile(3, y, kWater);
        unit.Lower().SetTile(4, y, kWater);
    }
    unit.Upper().SetTile(4, 3, kBlock);
    boat->TLcfgCharacter::SetPosition(1, 3, 3);
    Enter(3, 4);  // on the shore below the boat
    party.direction = party.facing = 0;
    Press(0, true);
    Frame();
    EXPECT_TRUE(party.boarding);
    Press(0);
    WalkOut();
    Frame();
    EXPECT_TRUE(party.riding);
    EXPECT_EQ(party.vehicleKind, 1);
    // Aboard it faces left but still moves the way it stepped on.
    EXPECT_EQ(party.facing, 3);
    EXPECT_EQ(party.direction, 0);
    Press(6);
    Frame();
    EXPECT_EQ(party.x, 3);  // the blocked water ahead
    Press(8);
    Frame();
    WalkOut();
    EXPECT_EQ(party.y, 2);
    EXPECT_EQ(boat->y, 2);
    EXPECT_FALSE(boat->CanMoveTo(0, 0, 2, 3));  // land
}

TEST_F(PartyTest, TheAirshipRisesFliesAndLandsEvenFromAnOddDescent) {
    airship->TLcfgCharacter::SetPosition(1, 2, 2);
    Enter(2, 2);
    party.direction = 1;
    EXPECT_TRUE(party.BoardOrLeaveVehicle());
    EXPECT_TRUE(party.flying);
    EXPECT_EQ(party.facing, 3);
    EXPECT_EQ(party.direction, 1);
    for (int i = 0; i < 40; ++i) Frame();
    EXPECT_EQ(airship->ascent, 0);
    EXPECT_TRUE(party.BoardOrLeaveVehicle());
    airship->descent = 13;  // not a multiple of 8
    for (int i = 0; i < 5; ++i) Frame();
    EXPECT_EQ(airship->descent, 0);
    EXPECT_FALSE(party.riding);
    EXPECT_FALSE(party.flying);
    EXPECT_EQ(party.facing, 2);
    EXPECT_EQ(party.direction, 1);  // boarding, landing and leaving turned only the facing
}

TEST_F(PartyTest, ASaveAndLoadOfAMovingMapKeepsEveryCharacterWhereItWas) {
    MakeMap(20, 20);
    TLcfEventPageItem& walker = AddEvent(1, 5, 5);
    walker.moveType = TLcfgEventItem::kMoveHorizontal;
    walker.moveFrequency = 8;
    walker.layer = 1;
    AddEvent(2, 9, 9).moveType = TLcfgEventItem::kMoveVertical;
    boat->TLcfgCharacter::SetPosition(1, 1, 1);
    Enter(10, 10);
    Press(6);
    for (int i = 0; i < 5; ++i) Frame();
    Press(0);
    map.viewY += 16;  // a view the party's Setup would not give
    const auto partyBytes = lcf_builder::SaveRecord(party);
    const auto mapBytes = lcf_builder::SaveRecord(map);
    const auto boatBytes = lcf_builder::SaveRecord(*boat);
    struct Where { int32_t x, y, progress, direction; };
    std::vector<Where> before;
    for (int i = 0; i < map.CharacterCount(); ++i) {
        const TLcfgCharacter* c = map.CharacterByIndex(i);
        before.push_back({c->x, c->y, c->progress, c->direction});
    }
    const int32_t viewX = map.viewX, viewY = map.viewY;

    party.Clear();
    lcf_builder::LoadRecord(party, partyBytes);
    lcf_builder::LoadRecord(map, mapBytes);
    lcf_builder::LoadRecord(*boat, boatBytes);
    ASSERT_EQ(map.CharacterCount(), int(before.size()));
    for (int i = 0; i < map.CharacterCount(); ++i) {
        const TLcfgCharacter* c = map.CharacterByIndex(i);
        EXPECT_EQ(c->x, before[size_t(i)].x) << i;
        EXPECT_EQ(c->y, before[size_t(i)].y) << i;
        EXPECT_EQ(c->progress, before[size_t(i)].progress) << i;
        EXPECT_EQ(c->direction, before[size_t(i)].direction) << i;
    }
    EXPECT_EQ(map.viewX, viewX);
    EXPECT_EQ(map.viewY, viewY);
    EXPECT_EQ(Event(1).PageNumber(), 1);
}

TEST_F(PartyTest, TeleportTargetsKeepTheirIdsAndTheEscapePointStays) {
    TLcfgTeleport targets;
    targets.Reset();
    targets.SetTarget(5, 1, 2, false, 0);
    targets.SetTarget(3, 4, 4, true, 8);
    targets.SetTarget(5, 7, 7, false, 0);
    targets.SetTarget(-2, 1, 1, false, 0);
    ASSERT_EQ(targets.Count(), 3);
    EXPECT_EQ(targets.ById(5)->x, 7);
    targets.RemoveTarget(0);
    targets.RemoveTarget(3);
    targets.RemoveTarget(9);
    ASSERT_EQ(targets.Count(), 2);
    EXPECT_EQ(targets.EscapePoint()->Id(), 0);
    EXPECT_EQ(targets.ByIndex(1)->Id(), 5);

    Enter(0, 0);
    TLcfgTeleportItem* target = targets.ById(5);
    target->mapId = 1;
    target->x = 3;
    target->switchOn = 1;
    target->switchId = 8;
    target->Execute();
    EXPECT_EQ(party.x, 3);
    EXPECT_EQ(party.y, 7);
    EXPECT_EQ(party.facing, 2);
    EXPECT_TRUE(GameSystem->GetSwitch(8));
}

}  // namespace
