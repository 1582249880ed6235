// Characters: steps, jumps, facing, animation and move routes.

#include "media/board/board.h"
#include "world_fixture.h"

using namespace world_test;

namespace {

class CharacterTest : public WorldTest {};

// Events that walk right in a row, each into the cell of the one ahead,
// which is updated first so it can step away.
void MakeQueue(TLcfMap& unit, int32_t n) {
    for (int32_t id = 1; id <= n; ++id) {
        TLcfEventItem* e = unit.events.GetOrCreate(id);
        e->x = id - 1;
        e->y = 0;
        TLcfEventPageItem* page = e->pages.GetOrCreate(1);
        page->sheetName = "People";
        page->overlapForbidden = 1;
        page->moveType = TLcfgEventItem::kMoveRoute;
        page->moveFrequency = 8;
        TLcfMoveRouteItem right;
        right.code = 1;
        page->moveRoute.Add(right);
    }
}

TEST_F(CharacterTest, AQueueOfEventsStepsTogetherAndAVeryLongOneCannotExhaustTheStack) {
    MakeMap(12, 3);
    MakeQueue(unit, 10);
    Enter(0, 2);
    for (int i = 0; i < 3 && Event(10).x == 9; ++i) Frame();
    for (int32_t id = 1; id <= 10; ++id) EXPECT_EQ(Event(id).x, id) << id;  // all in the same frame

    // A map file's queue far longer than any game has: the nesting is
    // bounded, so the front steps at once and the rest follows a few
    // hundred at a time, without a crash.
    constexpr int32_t kLong = 2000;
    unit.events.Clear();
    MakeMap(kLong + 8, 2);
    MakeQueue(unit, kLong);
    Enter(0, 1);
    int frames = 0;
    for (; frames < 60 && Event(1).x == 0; ++frames) Frame();
    EXPECT_GT(Event(1).x, 0);
    EXPECT_GE(Event(kLong).x, kLong);
    EXPECT_GT(frames, 2);
}

TEST_F(CharacterTest, ADiagonalStepTakesEitherLShapedPathAndABlockedStepStillTurns) {
    // Up from (1,2) is closed; right then up is open.
    unit.Upper().SetTile(1, 1, kBlock);
    Enter(1, 2);
    EXPECT_TRUE(party.Move(4));  // up-right
    EXPECT_EQ(party.x, 2);
    EXPECT_EQ(party.y, 1);
    EXPECT_EQ(party.progress, 256);
    WalkOut();
    party.facing = 1;
    EXPECT_FALSE(party.Move(3));  // into (1,1): closed
    EXPECT_EQ(party.direction, 3);
    EXPECT_EQ(party.facing, 3);
    EXPECT_EQ(party.x, 2);
}

TEST_F(CharacterTest, ANonSkippableBlockedRouteRetriesWhileASkippableOneEnds) {
    unit.Upper().SetTile(2, 1, kBlock);
    Enter(2, 2);
    party.StartForcedRoute(Route({0, 0}), 8, false, false);
    for (int i = 0; i < 10; ++i) Frame();
    EXPECT_TRUE(party.forcedActive);
    EXPECT_EQ(party.forcedPosition, 0);
    EXPECT_EQ(party.y, 2);

    party.StartForcedRoute(Route({0, 0}), 8, false, true);
    for (int i = 0; i < 3; ++i) Frame();
    EXPECT_FALSE(party.forcedActive);
    EXPECT_EQ(party.frequency, 2);  // the saved frequency came back
}

TEST_F(CharacterTest, TurnsOfARepeatingRouteStopAtTheStartOrWaitHalfThePause) {
    Enter(2, 2);
    party.StartForcedRoute(Route({16, 16, 16}), 8, true, false);
    Frame();
    EXPECT_EQ(party.facing, 1 + 0);  // facing 2 turned right three times: 1
    EXPECT_EQ(party.forcedPosition, 0);
    party.StartForcedRoute(Route({16, 16}), 7, true, false);
    Frame();
    EXPECT_EQ(party.forcedPosition, 1);
    EXPECT_EQ(party.pause, 2);  // T(7) div 2
}

TEST_F(CharacterTest, AJumpWithoutItsEndDoesNothingAndAJumpLandsWhereItsStepsSay) {
    Enter(1, 1);
    party.StartForcedRoute(Route({24, 1, 1}), 8, false, false);
    Frame();
    EXPECT_EQ(party.x, 1);
    EXPECT_FALSE(party.jumping);
    party.StartForcedRoute(Route({24, 1, 1, 2, 25}), 8, false, false);
    Frame();
    EXPECT_TRUE(party.jumping);
    EXPECT_EQ(party.x, 3);
    EXPECT_EQ(party.y, 2);
    EXPECT_EQ(party.jumpOriginX, 1);
    for (int i = 0; i < 40; ++i) Frame();
    EXPECT_FALSE(party.jumping);
    EXPECT_FALSE(party.forcedActive);
}

TEST_F(CharacterTest, TheJumpOriginShiftsWithTheTargetsWrap) {
    MakeMap(10, 10, TLcfMap::kScrollLoopHorizontal);
    Enter(9, 5);
    EXPECT_TRUE(party.JumpTo(11, 5));
    EXPECT_EQ(party.x, 1);
    EXPECT_EQ(party.jumpOriginX, -1);
}

TEST_F(CharacterTest, TurnTowardPrefersVerticalOnATieAndTheShorterWayRoundOnLoops) {
    MakeMap(20, 20, TLcfMap::kScrollLoopHorizontal);
    Enter(1, 5);
    party.TurnToward(3, 7);
    EXPECT_EQ(party.direction, 2);
    party.TurnToward(19, 5);  // one step left across the seam
    EXPECT_EQ(party.direction, 3);
}

TEST_F(CharacterTest, AStandingCharacterOfTypeZeroHoldsAnOddPatternWhileTypeOneKeepsStepping) {
    Enter(2, 2);
    party.animationType = 0;
    party.pattern = 0;
    for (int i = 0; i < 200; ++i) Frame();
    EXPECT_EQ(party.pattern % 2, 1);
    const int32_t held = party.pattern;
    for (int i = 0; i < 50; ++i) Frame();
    EXPECT_EQ(party.pattern, held);
    party.animationType = 1;
    std::set<int32_t> seen;
    for (int i = 0; i < 100; ++i) {
        Frame();
        seen.insert(party.pattern);
    }
    EXPECT_EQ(seen.size(), 4u);
}

TEST_F(CharacterTest, ScreenPositionsTruncateTowardZeroAndWrapOnLoopingMaps) {
    MakeMap(10, 10, TLcfMap::kScrollLoopBoth);
    Enter(0, 0);
    map.viewX = -24;  // -1.5 px: truncates to -1
    map.viewY = 0;
    EXPECT_EQ(party.ScreenX(), 0 * 16 + 1 + 8);
    party.x = 9;
    map.viewX = 0;
    EXPECT_EQ(party.ScreenX(), 9 * 16 + 8);
    party.progress = 100;
    party.direction = 1;
    EXPECT_EQ(party.ScreenX(), 9 * 16 + 8 - (100 + 15) / 16);
    party.direction = 0;
    EXPECT_EQ(party.ScreenY(), 16 + 100 / 16);
    // A shake offset of any size is added in 64 bits when drawn.
    TSorvoBoard board;
    board.SetSize(320, 240);
    unit.ChipSetGraphic().SetChipSet(DbChipSet->Find(1));
    for (int32_t shake : {INT32_MAX, INT32_MIN}) {
        effects.shake = shake;
        party.Draw(board);
    }
}

TEST_F(CharacterTest, LoadedIndexFieldsAreKeptInRangeAndARouteResumesWithItsFrequency) {
    Enter(2, 2);
    party.StartForcedRoute(Route({1, 3, 1, 3}), 6, true, false);
    party.forcedPosition = 99;
    party.direction = 200;
    party.speed = 0;
    party.layer = 9;
    party.animationType = 77;
    party.transparency = -4;
    const auto bytes = lcf_builder::SaveRecord(party);
    TLcfgParty copy;
    GameParty = &copy;
    lcf_builder::LoadRecord(copy, bytes);
    EXPECT_EQ(copy.forcedPosition, 4);
    EXPECT_EQ(copy.direction, 7);
    EXPECT_EQ(copy.speed, 1);
    EXPECT_EQ(copy.layer, 2);
    EXPECT_EQ(copy.animationType, 5);
    EXPECT_EQ(copy.transparency, 0);
    copy.CancelForcedRoute();
    EXPECT_EQ(copy.frequency, 2);  // not the route's 6
    GameParty = &party;
    map.Setup(true);
}

}  // namespace
