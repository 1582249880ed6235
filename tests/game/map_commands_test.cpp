// The map, transfer, vehicle and movement commands on a map world built in
// code, with a field scene that records transfers and carries them out.

#include "game/interpreter/command_handlers.h"
#include "world_fixture.h"

using namespace world_test;
using lcf_builder::Script;

namespace {

enum : int32_t {
    kTransfer = 10810,
    kMemorize = 10820,
    kRecall = 10830,
    kVehicleLocation = 10850,
    kEventLocation = 10860,
    kSwap = 10870,
    kTerrain = 10910,
    kEventId = 10920,
    kTransparent = 11310,
    kFlash = 11320,
    kMoveRoute = 11330,
    kWaitMovement = 11340,
    kStopMovement = 11350,
    kPanorama = 11720,
    kReplaceTile = 11750,
    kTeleportTargets = 11810,
    kEscape = 11830,
    kWait = 11410,
};

// Stores requests like the field scene and performs them by placing the
// party and turning it.
class FakeField : public IFieldSceneHooks {
public:
    void InnRest() override {}
    void RequestTeleport(int32_t m, int32_t x, int32_t y, int32_t f) override {
        pending = true;
        map = m;
        tx = x;
        ty = y;
        facing = f;
        ++requests;
    }
    void PerformTeleport() override {
        if (!pending) return;
        pending = false;
        ++performs;
        GameParty->SetPosition(map, tx, ty);
        commands::ApplyScriptDirection(*GameParty, facing);
    }
    bool pending = false;
    int32_t map = 0, tx = 0, ty = 0, facing = 0;
    int requests = 0, performs = 0;
};

// Records the panorama settings the map holds when it reconfigures.
class PanoramaEffects : public FakeEffects {
public:
    void ConfigurePanorama(bool load) override {
        FakeEffects::ConfigurePanorama(load);
        loaded = load;
        hLoop = GameMap->PanoramaHLoop();
        hSpeed = GameMap->PanoramaHSpeed();
        vSpeed = GameMap->PanoramaVSpeed();
    }
    bool loaded = false, hLoop = false;
    int32_t hSpeed = 0, vSpeed = 0;
};

class MapCommandsTest : public WorldTest {
protected:
    MapCommandsTest() {
        GameInterpreterHooks.field = &field;
        targets.Reset();
        GameTeleports = &targets;
    }
    ~MapCommandsTest() override { GameTeleports = nullptr; }

    // Runs the lines (an end line is added) as the script of `eventId` for
    // one interpreter frame.
    void Run(Script script, int32_t eventId = 0) {
        scripter->Start(eventId, script.Line(0).List());
        scripter->Update();
    }
    void Drive(int frames) {
        for (int i = 0; i < frames; ++i) Frame();
    }

    FakeField field;
    TLcfgTeleport targets;
};

TEST_F(MapCommandsTest, ATransferToTheSameMapKeepsTheFramesEventIdsAnotherMapZeroesEveryFrame) {
    AddEvent(1, 0, 0);
    Enter(1, 1);
    Run(Script().Line(kTransfer, 0, "", {1, 3, 3, 2}).Line(kWait, 0, "", {10}), 1);
    EXPECT_EQ(field.requests, 1);
    EXPECT_EQ(field.performs, 1);
    EXPECT_EQ(party.x, 3);
    EXPECT_EQ(party.y, 3);
    EXPECT_EQ(party.direction, 1);  // facing 2 is right
    EXPECT_EQ(party.facing, 1);
    ASSERT_EQ(scripter->frames.Count(), 1);
    EXPECT_EQ(scripter->frames.Items(0)->eventId, 1);

    // Fewer than four parameters: the facing is kept.
    Run(Script().Line(kTransfer, 0, "", {1, 2, 4}).Line(kWait, 0, "", {10}), 1);
    EXPECT_EQ(field.facing, 0);
    EXPECT_EQ(party.direction, 1);

    // A call stack of two frames moved to map 2.
    scripter->Start(1, Script().Line(kWait, 0, "", {10}).Line(0).List());
    scripter->CallScript(Script().Line(kTransfer, 0, "", {2, 1, 1, 0}).Line(kWait, 0, "", {10}).Line(0).List(), 1);
    scripter->Update();
    EXPECT_EQ(party.mapId, 2);
    ASSERT_EQ(scripter->frames.Count(), 2);
    EXPECT_EQ(scripter->frames.Items(0)->eventId, 0);
    EXPECT_EQ(scripter->frames.Items(1)->eventId, 0);
}

TEST_F(MapCommandsTest, AParallelProcessOnlyRequestsItsTransfer) {
    AddEvent(1, 0, 0);
    Enter(1, 1);
    TLcfgRegularScripter parallel;
    parallel.Start(1, Script().Line(kTransfer, 0, "", {2, 4, 4, 1}).Line(0).List());
    parallel.Update();
    EXPECT_EQ(field.requests, 1);
    EXPECT_EQ(field.performs, 0);
    EXPECT_TRUE(field.pending);
    EXPECT_EQ(party.mapId, 1);
    EXPECT_EQ(parallel.frames.Items(0)->eventId, 1);
}

TEST_F(MapCommandsTest, MemorizedLocationIsRecalledWithAFacing) {
    Enter(2, 3);
    Run(Script().Line(kMemorize, 0, "", {1, 2, 3}));
    EXPECT_EQ(Var(1), 1);
    EXPECT_EQ(Var(2), 2);
    EXPECT_EQ(Var(3), 3);
    Enter(0, 0);
    Run(Script().Line(kRecall, 0, "", {1, 2, 3, 4}));
    EXPECT_EQ(party.x, 2);
    EXPECT_EQ(party.y, 3);
    EXPECT_EQ(party.facing, 3);  // left
    // Hostile coordinates are kept within reach of 32-bit arithmetic.
    GameSystem->SetVariable(2, INT32_MAX);
    Run(Script().Line(kRecall, 0, "", {1, 2, 3}));
    EXPECT_EQ(field.tx, commands::kScriptCoordinateLimit);
}

TEST_F(MapCommandsTest, EventDirectionsOneToFourBecomeZeroToThreeOnlyWithFiveParametersAndNeverByVariables) {
    AddEvent(1, 0, 0);
    AddEvent(2, 4, 4);
    Enter(2, 2);
    TLcfgEventItem& e = Event(1);
    e.direction = e.facing = 2;
    Run(Script().Line(kEventLocation, 0, "", {1, 0, 3, 1, 2}));
    EXPECT_EQ(e.x, 3);
    EXPECT_EQ(e.y, 1);
    EXPECT_EQ(e.direction, 1);
    EXPECT_EQ(e.facing, 1);
    // Four parameters: no direction is read.
    Run(Script().Line(kEventLocation, 0, "", {1, 0, 1, 1}));
    EXPECT_EQ(e.direction, 1);
    // 0 and 5 keep it.
    Run(Script().Line(kEventLocation, 0, "", {1, 0, 1, 1, 0}).Line(kEventLocation, 0, "", {1, 0, 1, 1, 5}));
    EXPECT_EQ(e.direction, 1);
    // By variables the direction stays even with a fifth parameter; 10005 is
    // the running event.
    GameSystem->SetVariable(7, 4);
    GameSystem->SetVariable(8, 0);
    Run(Script().Line(kEventLocation, 0, "", {10005, 1, 7, 8, 4}), 1);
    EXPECT_EQ(e.x, 4);
    EXPECT_EQ(e.y, 0);
    EXPECT_EQ(e.direction, 1);

    Run(Script().Line(kSwap, 0, "", {10005, 2}), 1);
    EXPECT_EQ(e.x, 4);
    EXPECT_EQ(e.y, 4);
    EXPECT_EQ(Event(2).x, 4);
    EXPECT_EQ(Event(2).y, 0);
    // A missing event is the script's error.
    EXPECT_THROW(Run(Script().Line(kSwap, 0, "", {1, 9})), Exception);
}

TEST_F(MapCommandsTest, VehicleDirectionsNeedSixParametersAndAnUnknownVehicleDoesNothing) {
    Enter(0, 0);
    boat->TLcfgCharacter::SetPosition(1, 0, 4);
    Run(Script().Line(kVehicleLocation, 0, "", {0, 0, 1, 2, 3, 1}));
    EXPECT_EQ(boat->x, 2);
    EXPECT_EQ(boat->y, 3);
    EXPECT_EQ(boat->direction, 0);  // 1 is up
    EXPECT_EQ(boat->facing, 0);
    Run(Script().Line(kVehicleLocation, 0, "", {0, 0, 1, 4, 4}));  // five: none read
    EXPECT_EQ(boat->x, 4);
    EXPECT_EQ(boat->direction, 0);
    GameSystem->SetVariable(1, 1);
    GameSystem->SetVariable(2, 1);
    GameSystem->SetVariable(3, 2);
    Run(Script().Line(kVehicleLocation, 0, "", {1, 1, 1, 2, 3, 2}));  // the ship, by variables
    EXPECT_EQ(ship->mapId, 1);
    EXPECT_EQ(ship->x, 1);
    EXPECT_EQ(ship->y, 2);
    EXPECT_EQ(ship->direction, 3);  // as it was
    const int32_t ax = airship->x, ay = airship->y;
    Run(Script().Line(kVehicleLocation, 0, "", {3, 0, 1, 3, 3, 1}));
    EXPECT_EQ(airship->x, ax);
    EXPECT_EQ(airship->y, ay);
}

TEST_F(MapCommandsTest, ThePartyAboardAVehicleIsPlacedAndDrivesItsMoveRoute) {
    for (int x = 0; x < 5; ++x) unit.Lower().SetTile(x, 2, kWater);
    boat->TLcfgCharacter::SetPosition(1, 1, 2);
    Enter(1, 2);
    party.riding = 1;
    party.vehicleKind = TLcfgShip::kBoat;

    // Placing the boat the party rides places the party, the boat with it.
    Run(Script().Line(kVehicleLocation, 0, "", {0, 0, 1, 0, 2, 2}));
    EXPECT_EQ(party.x, 0);
    EXPECT_EQ(party.direction, 1);
    EXPECT_EQ(boat->x, 0);

    // A route for the party moves the boat along the water and stops at land.
    Run(Script().Line(kMoveRoute, 0, "", {10001, 8, 0, 1, 1, 1, 2}));
    Drive(80);
    EXPECT_EQ(party.x, 2);
    EXPECT_EQ(party.y, 2);  // down is land, skipped
    EXPECT_EQ(boat->x, 2);
    EXPECT_EQ(boat->y, 2);
    // The same when the script names the boat.
    Run(Script().Line(kMoveRoute, 0, "", {10002, 8, 0, 0, 1}));
    Drive(40);
    EXPECT_EQ(boat->x, 3);
    EXPECT_EQ(party.x, 3);
}

TEST_F(MapCommandsTest, AParallelEventPlacingTheRiddenVehicleOnAnotherMapLeavesTheMoveToTheField) {
    // Setting the other map up replaces the event that runs the line.
    boat->TLcfgCharacter::SetPosition(1, 1, 2);
    TLcfEventPageItem& page = AddEvent(1, 4, 4);
    page.trigger = TLcfgEventItem::kTriggerParallel;
    page.script = interp_test::Lines(Script().Line(kVehicleLocation, 0, "", {0, 0, 2, 3, 1, 4}).Line(0));
    Enter(1, 2);
    party.riding = 1;
    party.vehicleKind = TLcfgShip::kBoat;
    Frame();
    EXPECT_EQ(party.mapId, 1);
    ASSERT_EQ(field.requests, 1);
    EXPECT_EQ(field.map, 2);
    EXPECT_EQ(field.tx, 3);
    EXPECT_EQ(field.ty, 1);
    field.PerformTeleport();
    EXPECT_EQ(party.mapId, 2);
    EXPECT_EQ(party.direction, 3);  // 4 is left
    EXPECT_EQ(boat->mapId, 2);
    EXPECT_EQ(boat->x, 3);
}

TEST_F(MapCommandsTest, AParallelCommonEventPlacingTheRiddenVehicleOnAnotherMapPlacesThePartyAtOnce) {
    // A common event's process is no map event's: the map change keeps it.
    boat->TLcfgCharacter::SetPosition(1, 1, 2);
    Enter(1, 2);
    party.riding = 1;
    party.vehicleKind = TLcfgShip::kBoat;
    TLcfgRegularScripter common;
    common.Start(0, Script().Line(kVehicleLocation, 0, "", {0, 0, 2, 3, 1, 4}).Line(kWait, 0, "", {10}).Line(0).List());
    common.Update();
    EXPECT_EQ(field.requests, 0);
    EXPECT_EQ(party.mapId, 2);
    EXPECT_EQ(party.x, 3);
    EXPECT_EQ(party.direction, 3);  // 4 is left
    EXPECT_EQ(boat->mapId, 2);
    EXPECT_EQ(boat->x, 3);
    EXPECT_TRUE(common.IsRunning());
}

TEST_F(MapCommandsTest, TheMapInterpreterPlacingTheRiddenVehicleOnAnotherMapNoLongerBelongsToItsEvent) {
    boat->TLcfgCharacter::SetPosition(1, 1, 2);
    AddEvent(1, 4, 4);
    Enter(1, 2);
    party.riding = 1;
    party.vehicleKind = TLcfgShip::kBoat;
    // Event 1 of map 2 is another event: erasing "this event" must not
    // reach it.
    Run(Script().Line(kVehicleLocation, 0, "", {0, 0, 2, 3, 1, 4}).Line(12320).Line(kWait, 0, "", {10}), 1);
    EXPECT_EQ(party.mapId, 2);
    EXPECT_EQ(boat->mapId, 2);
    ASSERT_EQ(scripter->frames.Count(), 1);
    EXPECT_EQ(scripter->frames.Items(0)->eventId, 0);
    EXPECT_TRUE(Event(1).active);
}

TEST_F(MapCommandsTest, TerrainOffTheMapIsChipZerosEventIdsZeroAndBothWrapOnALoopingOne) {
    // Off the map the lower tile is -1, which reads as water chip 0.
    DbChipSet->FindChipSet(1)->terrain[0] = 3;
    DbGround->GetOrCreate(3)->bushDepth = 2;
    unit.Lower().SetTile(0, 0, kWater);
    AddEvent(1, 2, 2);
    Enter(1, 1);
    GameSystem->SetVariable(20, 0);
    GameSystem->SetVariable(21, 0);
    Run(Script()
            .Line(kTerrain, 0, "", {0, 0, 0, 1})
            .Line(kTerrain, 0, "", {0, 1, 1, 2})
            .Line(kTerrain, 0, "", {0, -1, 0, 3})
            .Line(kTerrain, 0, "", {0, 5, 0, 4})
            .Line(kTerrain, 0, "", {1, 20, 21, 5})
            .Line(kEventId, 0, "", {0, 2, 2, 6})
            .Line(kEventId, 0, "", {0, 3, 3, 7})
            .Line(kEventId, 0, "", {0, 7, 2, 8}));
    EXPECT_EQ(Var(1), 2);
    EXPECT_EQ(Var(2), 1);
    EXPECT_EQ(Var(3), 3);
    EXPECT_EQ(Var(4), 3);
    EXPECT_EQ(Var(5), 2);
    EXPECT_EQ(Var(6), 1);
    EXPECT_EQ(Var(7), 0);
    EXPECT_EQ(Var(8), 0);

    unit.SetScrollType(TLcfMap::kScrollLoopBoth);
    Run(Script()
            .Line(kTerrain, 0, "", {0, 5, -5, 3})
            .Line(kTerrain, 0, "", {0, INT32_MIN, 0, 4})
            .Line(kEventId, 0, "", {0, 7, -3, 8}));
    EXPECT_EQ(Var(3), 2);
    EXPECT_EQ(Var(4), 1);  // INT32_MIN wraps to column 2
    EXPECT_EQ(Var(8), 1);

    // An event placed off the map, and the party recalled there, stand on
    // chip 0's terrain: its bush depth, not an error.
    unit.SetScrollType(TLcfMap::kScrollNone);
    GameSystem->SetVariable(20, -3);
    GameSystem->SetVariable(21, 7);
    Event(1).layer = 1;
    Run(Script().Line(kEventLocation, 0, "", {1, 1, 20, 21}), 1);
    ASSERT_EQ(Event(1).x, -3);
    EXPECT_EQ(Event(1).TerrainId(), 3);
    EXPECT_EQ(Event(1).BushDepth(), DbGround->FindGround(3)->BushDepth());
    GameSystem->SetVariable(19, 1);
    Run(Script().Line(kRecall, 0, "", {19, 20, 21}));
    ASSERT_EQ(party.x, -3);
    EXPECT_EQ(party.BushDepth(), DbGround->FindGround(3)->BushDepth());
}

TEST_F(MapCommandsTest, WaitForAllMovementHoldsTheScriptUntilTheEventsRoutesRanThrough) {
    AddEvent(1, 0, 0);
    Enter(4, 4);
    Run(Script()
            .Line(kMoveRoute, 0, "", {1, 8, 0, 0, 1, 1})
            .Line(kWaitMovement)
            .Line(kMemorize, 0, "", {1, 2, 3}));
    int frames = 0;
    while (Var(1) == 0 && frames < 200) {
        Frame();
        scripter->Update();
        ++frames;
        if (Var(1) == 0) {
            EXPECT_TRUE(Event(1).forcedActive);
            EXPECT_FALSE(Event(1).forcedRunThrough);
        }
    }
    EXPECT_EQ(Var(1), 1);
    EXPECT_EQ(Event(1).x, 2);
    EXPECT_GT(frames, 8);

    // The party's route is not waited for, even when it is blocked.
    unit.Upper().SetTile(4, 3, kBlock);
    GameSystem->SetVariable(1, 0);
    Run(Script()
            .Line(kMoveRoute, 0, "", {10001, 8, 0, 0, 0})
            .Line(kWaitMovement)
            .Line(kMemorize, 0, "", {1, 2, 3}));
    EXPECT_TRUE(party.forcedActive);
    EXPECT_EQ(Var(1), 1);

    // Stopping all movement cancels every character's route.
    Run(Script().Line(kMoveRoute, 0, "", {1, 3, 1, 0, 3}).Line(kMoveRoute, 0, "", {10001, 3, 1, 0, 0}).Line(kStopMovement));
    EXPECT_FALSE(Event(1).forcedActive);
    EXPECT_FALSE(party.forcedActive);
}

TEST_F(MapCommandsTest, RouteParametersDecodeOneValueEachAndDropACommandCutShort) {
    const std::vector<int32_t> params = {10001, 8, 1, 0, 32, 200, 34, 3, 'a', 'b', 'c', 5, 1, 35, 9, 'x'};
    const std::vector<TLcfMoveRouteItem> route = commands::MoveCommandsFromParams(params, 4);
    ASSERT_EQ(route.size(), 3u);
    EXPECT_EQ(route[0].code, 32);
    EXPECT_EQ(route[0].switchId, 200);
    EXPECT_EQ(route[1].graphicName, "abc");
    EXPECT_EQ(route[1].graphicIndex, 5);
    EXPECT_EQ(route[2].code, 1);
    EXPECT_TRUE(commands::MoveCommandsFromParams({0, 0, 0, 0, 34, -1}, 4).empty());

    // Frequencies outside 1..8 are kept inside the pause table.
    AddEvent(1, 0, 0);
    Enter(4, 4);
    Run(Script().Line(kMoveRoute, 0, "", {1, 99, 1, 0, 1}));
    EXPECT_EQ(Event(1).frequency, 8);
    Run(Script().Line(kMoveRoute, 0, "", {1, -5, 1, 0, 1}));
    EXPECT_EQ(Event(1).frequency, 1);
}

TEST_F(MapCommandsTest, TransparencyFlashAndItsWait) {
    Enter(1, 1);
    Run(Script().Line(kTransparent, 0, "", {0}));
    EXPECT_TRUE(party.hidden);
    Run(Script().Line(kTransparent, 0, "", {1}).Line(kFlash, 0, "", {10001, 31, 0, 0, 20, 5, 1}));
    EXPECT_FALSE(party.hidden);
    EXPECT_EQ(party.flashRed, 31);
    EXPECT_EQ(party.flashFrames, 30);
    EXPECT_EQ(scripter->waitCounter, 29);  // one frame already counted
    Run(Script().Line(kFlash, 0, "", {10001, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(scripter->waitCounter, 0);  // waits at least one frame, now done
    EXPECT_TRUE(scripter->IsRunning());
    Run(Script().Line(kFlash, 0, "", {10001, 0, 0, 0, 0, INT32_MAX, 0}));
    EXPECT_EQ(party.flashFrames, INT32_MAX);
}

TEST_F(MapCommandsTest, PanoramaSettingsAreStoredBeforeTheNameReconfigures) {
    PanoramaEffects panorama;
    GameWorldHooks.screen = &panorama;
    Enter(1, 1);
    Run(Script().Line(kPanorama, 0, "Sky", {1, 0, 1, -3, 0, 2}));
    EXPECT_TRUE(panorama.loaded);
    EXPECT_TRUE(panorama.hLoop);
    EXPECT_EQ(panorama.hSpeed, -3);
    EXPECT_EQ(panorama.vSpeed, 2);
    EXPECT_EQ(map.PanoramaName(), "Sky");
    Run(Script().Line(kPanorama, 0, "Sky", {0, 0, 0, 4, 0, 0}));
    EXPECT_FALSE(panorama.loaded);  // same name: not reloaded
    EXPECT_EQ(panorama.hSpeed, 4);
}

TEST_F(MapCommandsTest, TilesEncounterRateTeleportTargetsAndTheEscapePoint) {
    Enter(1, 1);
    Run(Script()
            .Line(kReplaceTile, 0, "", {0, 0, 1})
            .Line(kReplaceTile, 0, "", {0, 1, 300})
            .Line(11740, 0, "", {25})
            .Line(kTeleportTargets, 0, "", {0, 4, 2, 3, 1, 9})
            .Line(kTeleportTargets, 0, "", {0, 6, 1, 1, 0, 0})
            .Line(kTeleportTargets, 0, "", {1, 6})
            .Line(kEscape, 0, "", {3, 7, 8, 1, 11})
            .Line(kTeleportTargets, 0, "", {0, 5, INT32_MIN, 1, 0, 0}));
    EXPECT_EQ(map.LowerTile(0, 0), kWall);
    EXPECT_EQ(map.EncounterRate(), 25);
    ASSERT_EQ(targets.Count(), 3);
    EXPECT_EQ(targets.ById(5)->x, -commands::kScriptCoordinateLimit);
    EXPECT_EQ(targets.ById(4)->x, 2);
    EXPECT_EQ(targets.ById(4)->switchId, 9);
    const TLcfgTeleportItem* escape = targets.EscapePoint();
    EXPECT_EQ(escape->mapId, 3);
    EXPECT_EQ(escape->x, 7);
    EXPECT_EQ(escape->y, 8);
    EXPECT_EQ(escape->switchOn, 1);
    EXPECT_EQ(escape->switchId, 11);
}

}  // namespace
