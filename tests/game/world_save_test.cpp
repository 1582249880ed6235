// The party's and the map's save chunks: a moving map saved mid-step and
// loaded again keeps every character where it was and goes on exactly as
// it would have; the load order (party first, which sets the map up) and
// the stamps.

#include <sstream>

#include "world_fixture.h"

using namespace world_test;

namespace {

class WorldSave : public WorldTest {
protected:
    WorldSave() {
        SetRandomSource(&seeded);
        MakeMap(40, 30);
        for (int32_t id = 1; id <= 6; ++id) {
            TLcfEventPageItem& page = AddEvent(id, 2 + 3 * (id % 5), 2 + 2 * (id / 2));
            page.sheetName = "People";
            page.moveFrequency = 8;
            page.moveSpeed = 4;
            page.moveType = id % 2 ? TLcfgEventItem::kMoveRandom : TLcfgEventItem::kMoveRoute;
            for (const TLcfMoveRouteItem& item : Route({1, 1, 2, 3, 3, 0, 14}))  // a walk with a jump-free turn
                page.moveRoute.Add(item);
        }
        Enter(10, 7);
        party.StartForcedRoute(Route({1, 1, 2, 3, 3, 0}), 8, true, true);
    }
    ~WorldSave() override { SetRandomSource(&dice); }

    // Every character's place, step and look, one line each.
    std::string Snapshot() {
        std::ostringstream s;
        for (int i = 0; i < map.CharacterCount(); ++i) {
            const TLcfgCharacter* c = map.CharacterByIndex(i);
            s << c->Id() << ": " << c->mapId << " " << c->x << "," << c->y << " p" << c->progress << " d"
              << int(c->direction) << " f" << int(c->facing) << " a" << c->pattern << " w" << c->waitCounter
              << " r" << c->forcedPosition << " s" << c->pause << "\n";
        }
        s << "view " << map.viewX << "," << map.viewY << " pan " << party.panX << "," << party.panY << " to "
          << party.panTargetX << "," << party.panTargetY << " sprite " << party.sheetName << "\n";
        return s.str();
    }
    std::vector<uint8_t> Save(TCatalogBaseItem& item) {
        ByteWriter w;
        item.SaveToStream(w);
        return w.Take();
    }
    // The container's order: the party (which sets the map up), then the map.
    void Load(const std::vector<uint8_t>& partyBytes, const std::vector<uint8_t>& mapBytes) {
        ByteReader p(partyBytes);
        party.LoadFromStream(p);
        ByteReader m(mapBytes);
        map.LoadFromStream(m);
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }

    SeededRandom seeded{77};
};

TEST_F(WorldSave, AMovingMapSavedMidStepGoesOnExactlyAsItWouldHave) {
    Frames(37);
    bool midStep = false;
    for (int i = 0; i < map.CharacterCount(); ++i) midStep |= map.CharacterByIndex(i)->progress > 0;
    ASSERT_TRUE(midStep);
    const std::vector<uint8_t> partyBytes = Save(party), mapBytes = Save(map);
    const std::string atSave = Snapshot();
    seeded.Seed(5);
    Frames(90);
    const std::string later = Snapshot();

    // Something else happens in between: another map, other places.
    party.TLcfgCharacter::SetPosition(2, 1, 1);
    map.Setup(true);
    Frames(10);

    Load(partyBytes, mapBytes);
    EXPECT_EQ(Snapshot(), atSave);
    EXPECT_EQ(Save(party), partyBytes);
    EXPECT_EQ(Save(map), mapBytes);
    seeded.Seed(5);
    Frames(90);
    EXPECT_EQ(Snapshot(), later);

    // Neither the pan nor a sprite a route gave the party outlives a load:
    // the pan is centred and the party looks like its leader (here none),
    // while the view stays where the pan had taken it.
    party.PanScreen(1, 3, 2);  // right three tiles, 8 units a frame: still panning at the save
    party.sheetName = "Hero";
    party.sheetIndex = 5;
    party.transparency = 4;
    Frames(37);
    ASSERT_NE(party.panX, party.panTargetX);
    const int32_t viewX = map.viewX, viewY = map.viewY;
    Load(Save(party), Save(map));
    EXPECT_EQ(party.panX, TLcfgParty::kPanX);
    EXPECT_EQ(party.panTargetX, TLcfgParty::kPanX);
    EXPECT_EQ(party.panY, TLcfgParty::kPanY);
    EXPECT_EQ(party.panTargetY, TLcfgParty::kPanY);
    EXPECT_EQ(map.viewX, viewX);
    EXPECT_EQ(map.viewY, viewY);
    EXPECT_EQ(party.sheetName, "");
    EXPECT_EQ(party.sheetIndex, 0);
    EXPECT_EQ(party.transparency, 0);
}

TEST_F(WorldSave, SavedEventsOfAnotherMapVersionAreNotLoaded) {
    Frames(40);
    map.SetEncounterRate(12);
    const std::vector<uint8_t> partyBytes = Save(party), mapBytes = Save(map);
    unit.saveCounter += 1;  // the map was edited and saved since
    Load(partyBytes, mapBytes);
    for (int32_t id = 1; id <= 6; ++id) {
        EXPECT_EQ(Event(id).x, unit.events.Find(id)->x) << id;
        EXPECT_EQ(Event(id).y, unit.events.Find(id)->y) << id;
        EXPECT_EQ(Event(id).progress, 0) << id;
    }
    // The rest of the map's record still loads.
    EXPECT_EQ(map.encounterRateOverride, 12);
}

TEST_F(WorldSave, AnEventsFieldsThatHoldTheirDefaultComeBackAsSavedNotAsItsPageSetsThem) {
    // A page that sets every field a page change sets away from its default.
    TLcfEventPageItem& page = *unit.events.Find(2)->pages.Items(0);
    page.semiTransparent = 1;
    page.moveFrequency = 5;
    page.sheetIndex = 3;
    page.pattern = 0;
    page.animationType = 4;
    page.moveType = TLcfgEventItem::kMoveRandom;
    map.Setup(true);
    TLcfgEventItem& e = Event(2);
    ASSERT_EQ(e.transparency, 3);
    // What route commands leave behind: opaque again, frequency and pattern
    // stepped to 2 and 1, the graphic changed to upper tile 0, no pause left.
    e.transparency = 0;
    e.frequency = 2;
    e.pattern = 1;
    e.sheetName.clear();
    e.sheetIndex = 0;
    e.pause = 0;
    const std::vector<uint8_t> partyBytes = Save(party), mapBytes = Save(map);
    Load(partyBytes, mapBytes);
    TLcfgEventItem& loaded = Event(2);
    EXPECT_EQ(loaded.PageNumber(), 1);
    EXPECT_EQ(loaded.transparency, 0);
    EXPECT_EQ(loaded.frequency, 2);
    EXPECT_EQ(loaded.pattern, 1);
    EXPECT_EQ(loaded.sheetName, "");
    EXPECT_EQ(loaded.sheetIndex, 0);
    EXPECT_EQ(loaded.pause, 0);
    EXPECT_EQ(Save(map), mapBytes);
}

TEST_F(WorldSave, IndexFieldsOutOfRangeInASaveAreKeptInRange) {
    // The party record as a hostile file may hold it.
    const std::vector<uint8_t> bytes = lcf_builder::Chunks()
                                           .Int(11, 1)
                                           .Int(12, 3)
                                           .Int(13, 3)
                                           .Int(23, 99)    // pattern
                                           .Int(37, 1000)  // speed
                                           .Int(32, -5)    // frequency
                                           .Int(103, 77)   // vehicle kind
                                           .Int(105, -1)   // walking speed
                                           .Int(121, 0)    // pan speed
                                           .End();
    ByteReader r(bytes);
    party.LoadFromStream(r);
    EXPECT_GE(party.pattern, 0);
    EXPECT_LE(party.pattern, 3);
    EXPECT_GE(party.speed, 1);
    EXPECT_LE(party.speed, 6);
    EXPECT_GE(party.frequency, 1);
    EXPECT_LE(party.frequency, 8);
    EXPECT_LE(party.vehicleKind, 3);
    EXPECT_GE(party.walkingSpeed, 1);
    EXPECT_GE(party.panSpeed, 1);
    EXPECT_EQ(unit.Id(), 1);  // the map was set up
    Frames(20);
}

TEST_F(WorldSave, ANarrowMapsViewComesBackAsSavedAndAViewOffTheMapIsBroughtIn) {
    MakeMap(12, 10);
    Enter(10, 8);  // a request past the middle: the far clamp
    // Against the right and bottom screen edges: a negative view.
    ASSERT_EQ(map.viewX, 12 * 256 - 5120);
    ASSERT_EQ(map.viewY, 10 * 256 - 3840);
    const std::vector<uint8_t> partyBytes = Save(party), mapBytes = Save(map);
    Load(partyBytes, mapBytes);
    EXPECT_EQ(map.viewX, 12 * 256 - 5120);
    EXPECT_EQ(map.viewY, 10 * 256 - 3840);
    // A wide map with a view past its edge, as a damaged save may hold.
    MakeMap(40, 30);
    Enter(20, 15);
    map.viewX = 40 * 256;
    map.viewY = -700;
    const std::vector<uint8_t> bad = Save(map);
    Load(Save(party), bad);
    EXPECT_EQ(map.viewX, 40 * 256 - 5120);
    EXPECT_EQ(map.viewY, 0);
}

TEST_F(WorldSave, PositionsAndPansAtTheEdgesOfTheIntegersInASaveOrAMapFileNeverOverflow) {
    const int32_t limit = TLcfgCharacter::kCoordinateLimit;
    // A map file's event at the edge of the integers.
    unit.events.Find(1)->x = INT32_MAX;
    unit.events.Find(1)->y = INT32_MIN;
    map.Setup(true);
    EXPECT_EQ(Event(1).x, limit);
    EXPECT_EQ(Event(1).y, -limit);
    // The party's record as a hostile save may hold it, mid-jump.
    const std::vector<uint8_t> bytes = lcf_builder::Chunks()
                                           .Int(11, 1)
                                           .Int(12, INT32_MAX)
                                           .Int(13, INT32_MIN)
                                           .Int(62, INT32_MIN)  // jump origin
                                           .Int(63, INT32_MAX)
                                           .Int(112, INT32_MIN)  // pan and its target at opposite ends
                                           .Int(114, INT32_MAX)
                                           .Int(113, INT32_MAX)
                                           .Int(115, INT32_MIN)
                                           .End();
    ByteReader r(bytes);
    party.LoadFromStream(r);
    EXPECT_EQ(party.x, limit);
    EXPECT_EQ(party.y, -limit);
    EXPECT_EQ(party.jumpOriginX, -limit);
    EXPECT_EQ(party.jumpOriginY, limit);
    // The saved pan goes with the load; pans at the ends of the integers
    // come from panning a looping map on and on.
    EXPECT_EQ(party.panX, TLcfgParty::kPanX);
    EXPECT_EQ(party.panTargetY, TLcfgParty::kPanY);
    party.panX = INT32_MIN;
    party.panTargetX = INT32_MAX;
    party.panY = INT32_MAX;
    party.panTargetY = INT32_MIN;
    // Steps off the far edge and the jump arithmetic stay in range.
    const std::vector<TLcfMoveRouteItem> walk = Route({1, 2, 24, 3, 0});
    party.through = 1;
    party.StartForcedRoute(walk, 8, true, false);
    Event(1).through = 1;
    Event(1).StartForcedRoute(walk, 8, true, false);
    Frames(40);
    (void)party.ScreenX();
    (void)party.ScreenY();
    // Panning on from there stays inside the integers.
    for (int i = 0; i < 4; ++i) {
        party.PanScreen(i, INT32_MAX, 6);
        party.PanScreen(i, INT32_MAX, 6);
        party.PanScreen(i, INT32_MAX, 6);
        Frames(1);
    }
    EXPECT_EQ(party.panTargetY, INT32_MIN);
    EXPECT_GT(party.PanFramesLeft(), 0);
}

}  // namespace
