// The run-time map: passability by side with the edge rule and tile events,
// substitution, the view's clamp and wrap, character lists.

#include "world_fixture.h"

using namespace world_test;

namespace {

class MapTest : public WorldTest {};

TEST_F(MapTest, PassabilityBySideFollowsTheUpperAndLowerFlags) {
    unit.Upper().SetTile(1, 1, kDownLeft);
    unit.Upper().SetTile(2, 1, kBlock);
    unit.Upper().SetTile(3, 1, kRoof);       // above, closed: the lower tile decides
    unit.Lower().SetTile(3, 1, kFloor);
    unit.Upper().SetTile(3, 2, kRoof);
    unit.Lower().SetTile(3, 2, kWall);
    Enter(0, 0);
    // side:                         bottom left  right top  whole
    const bool downLeft[5] = {true, true, false, false, true};
    for (int side = 0; side < 5; ++side) {
        EXPECT_EQ(map.IsPassable(1, 1, 0, side), downLeft[side]) << side;
        EXPECT_FALSE(map.IsPassable(2, 1, 0, side)) << side;
        EXPECT_TRUE(map.IsPassable(0, 0, 0, side)) << side;
        EXPECT_FALSE(map.IsPassable(3, 1, 0, side)) << side;  // kRoof has no side bits
        EXPECT_FALSE(map.IsPassable(3, 2, 0, side)) << side;
    }
    EXPECT_FALSE(map.IsPassable(0, 0, 0, 5));
    EXPECT_FALSE(map.IsPassable(0, 0, 0, -1));
    // Outside a map that does not loop: no tiles, no way through, no crash.
    EXPECT_FALSE(map.IsPassable(-1, 0, 0, 4));
    EXPECT_FALSE(map.IsPassable(0, 7, 0, 0));
}

TEST_F(MapTest, TheEdgeRuleOpensOnlyItsAutotileShapesUnderAnAboveTile) {
    TLcfChipSetItem* chips = DbChipSet->FindChipSet(1);
    chips->lowerFlags[6] = 0x20;  // terrain autotile 4000-4049: closed, edge rule
    chips->upperFlags[5] = 0x1F;  // open and above
    unit.Upper().SetTile(1, 1, 10005);
    unit.Upper().SetTile(2, 1, 10005);
    unit.Lower().SetTile(1, 1, 4020);
    unit.Lower().SetTile(2, 1, 4024);
    Enter(0, 0);
    for (int side = 0; side < 5; ++side) {
        EXPECT_TRUE(map.IsPassable(1, 1, 0, side)) << side;
        EXPECT_FALSE(map.IsPassable(2, 1, 0, side)) << side;
    }
}

TEST_F(MapTest, ATileEventOnTheBelowLayerStandsInForTheUpperTileButNeverBlocksItself) {
    TLcfEventPageItem& blocker = AddEvent(1, 2, 2);
    blocker.layer = 0;
    blocker.sheetIndex = 1;  // upper chip 1: closed
    TLcfEventPageItem& roof = AddEvent(2, 3, 3);
    roof.layer = 0;
    roof.sheetIndex = 0;     // an above tile never replaces the upper tile
    unit.Upper().SetTile(3, 3, kBlock);
    Enter(0, 0);
    EXPECT_EQ(map.TileEventAt(2, 2, 0), 10001);
    EXPECT_FALSE(map.IsPassable(2, 2, 0, 4));
    EXPECT_TRUE(map.IsPassable(2, 2, 1, 4));
    EXPECT_FALSE(map.IsPassable(3, 3, 0, 4));
}

TEST_F(MapTest, ATileEventWhoseTileClosesTheSideItLeavesByAlsoMeetsTheParty) {
    AddEvent(1, 2, 2).sheetIndex = 1;  // closed tile
    AddEvent(2, 2, 4).sheetIndex = 0;  // open tile
    Enter(3, 2);
    EXPECT_FALSE(Event(1).Move(1));    // would walk into the party
    EXPECT_EQ(Event(1).x, 2);
    party.TLcfgCharacter::SetPosition(1, 3, 4);
    EXPECT_TRUE(Event(2).Move(1));     // below the party: passes under it
    EXPECT_EQ(Event(2).x, 3);
}

TEST_F(MapTest, SubstitutionTouchesOnlyThePlainTilesAndReplaceTileChangesEveryMatch) {
    unit.Lower().SetTile(0, 0, 5200);   // outside the table: kept as it is
    unit.Upper().SetTile(1, 0, 10200);
    unit.Lower().SetTile(2, 0, 5003);
    Enter(4, 4);
    map.lowerSubstitution[3] = 7;
    map.ReplaceTile(0, 7, 9);
    map.ReplaceTile(0, 1, 9);
    EXPECT_EQ(map.LowerTile(0, 0), 5200);
    EXPECT_EQ(map.UpperTile(1, 0), 10200);
    EXPECT_EQ(map.LowerTile(2, 0), 5009);
    EXPECT_EQ(map.LowerTile(4, 4), 5000);
    EXPECT_EQ(map.LowerTile(1, 1), 5000);
    EXPECT_EQ(map.lowerSubstitution[1], 9);
    EXPECT_EQ(map.LowerTile(-1, 0), -1);
    EXPECT_FALSE(map.IsPassable(0, 0, 0, 4));
}

TEST_F(MapTest, TheViewWrapsOnLoopingMapsAndClampsElsewhere) {
    MakeMap(30, 20, TLcfMap::kScrollLoopBoth);
    Enter(0, 0);
    map.SetViewX(-256);
    EXPECT_EQ(map.viewX, 30 * 256 - 256);
    map.SetViewX(-256 - 5 * 30 * 256);  // a large pan left stays inside
    EXPECT_EQ(map.viewX, 30 * 256 - 256);
    map.SetViewY(20 * 256 + 3);
    EXPECT_EQ(map.viewY, 3);

    MakeMap(10, 40);  // narrower than the screen
    Enter(0, 0);
    map.SetViewX(0);
    EXPECT_EQ(map.viewX, 10 * 256 - 5120);  // against the right edge
    map.SetViewX(-1);
    EXPECT_EQ(map.viewX, 0);
    map.SetViewY(100000);
    EXPECT_EQ(map.viewY, 40 * 256 - 3840);
    EXPECT_EQ(map.viewX, 0);
}

TEST_F(MapTest, ScrollsMoveTheLayersByTheFullDistanceOnlyWhenTheViewMoved) {
    MakeMap(30, 30);
    Enter(15, 15);
    const int32_t before = map.viewX;
    EXPECT_TRUE(map.ScrollRight(100000));
    EXPECT_EQ(map.viewX, 30 * 256 - 5120);
    EXPECT_EQ(effects.scrolledX, 100000);
    EXPECT_GT(map.viewX, before);
    EXPECT_FALSE(map.ScrollRight(16));
    EXPECT_EQ(effects.scrolledX, 100000);
}

TEST_F(MapTest, SetupRejectsAMapWithoutCellsAndAPartyWithoutAMap) {
    unit.width = 0;
    EXPECT_THROW(Enter(0, 0), Exception);
    party.mapId = 0;
    EXPECT_THROW(map.Setup(true), Exception);
}

TEST_F(MapTest, CharactersAreTheEventsThePartyAndTheVehiclesOnThisMapOnly) {
    AddEvent(1, 1, 1);
    AddEvent(2, 2, 2);
    boat->mapId = 1;
    ship->mapId = 2;
    airship->mapId = 1;
    Enter(0, 0);
    ASSERT_EQ(map.CharacterCount(), 5);
    EXPECT_EQ(map.CharacterByIndex(2), &party);
    EXPECT_EQ(map.CharacterByIndex(3), boat.get());
    EXPECT_EQ(map.CharacterByIndex(4), airship.get());
    EXPECT_EQ(map.CharacterByIndex(5), nullptr);
    EXPECT_EQ(map.EventAt(2, 2), 2);
    EXPECT_EQ(map.EventAt(3, 3), 0);
}

}  // namespace
