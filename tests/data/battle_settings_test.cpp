// Battle settings, battle commands, per-hero battle display entries and the
// placement of heroes and enemies on the battle screen.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "data/database/battle.h"
#include "data/database/cba_data.h"
#include "data/database/database.h"
#include "support/error_message.h"
#include "support/lcf_builder.h"

using namespace lcf_builder;
using testing_support::MessageOf;

namespace {

// Results by start kind 0..4, then member count 1..8, then member index.
// Worked out separately with exact decimal fractions and the sine in double
// precision: the plain grid (no terrain, layout 0: top 112, depth 392, width
// 16000, offset 0) and a terrain grid (top 100, depth 500, width 100000,
// offset 10), whose width makes 0.67 x 100 an exact 67.
using Expected = std::array<std::vector<std::vector<int>>, 5>;

const Expected kPlainHeroX = {{
    {{288}, {280, 296}, {280, 288, 296}, {280, 286, 291, 296}, {280, 284, 288, 292, 296}, {280, 280, 288, 288, 296, 296}, {280, 284, 286, 288, 291, 292, 296}, {280, 280, 286, 286, 291, 291, 296, 296}},
    {{288}, {280, 296}, {280, 288, 296}, {280, 286, 291, 296}, {280, 284, 288, 292, 296}, {280, 280, 288, 288, 296, 296}, {280, 284, 286, 288, 291, 292, 296}, {280, 280, 286, 286, 291, 291, 296, 296}},
    {{56}, {64, 48}, {64, 56, 48}, {64, 58, 53, 48}, {64, 60, 56, 52, 48}, {64, 64, 56, 56, 48, 48}, {64, 60, 58, 56, 53, 52, 48}, {64, 64, 58, 58, 53, 53, 48, 48}},
    {{288}, {280, 24}, {280, 32, 296}, {280, 34, 291, 24}, {280, 36, 288, 28, 296}, {280, 40, 288, 32, 296, 24}, {280, 36, 286, 32, 291, 28, 296}, {280, 40, 286, 34, 291, 29, 296, 24}},
    {{172}, {172, 172}, {172, 172, 172}, {172, 172, 172, 172}, {172, 172, 172, 172, 172}, {172, 172, 172, 172, 172, 172}, {172, 172, 172, 172, 172, 172, 172}, {172, 172, 172, 172, 172, 172, 172, 172}},
}};
const Expected kPlainHeroY = {{
    {{134}, {112, 157}, {112, 134, 157}, {112, 127, 142, 157}, {112, 123, 134, 146, 157}, {112, 112, 134, 134, 157, 157}, {112, 123, 127, 134, 142, 146, 157}, {112, 112, 127, 127, 142, 142, 157, 157}},
    {{134}, {112, 157}, {112, 134, 157}, {112, 127, 142, 157}, {112, 123, 134, 146, 157}, {112, 112, 134, 134, 157, 157}, {112, 123, 127, 134, 142, 146, 157}, {112, 112, 127, 127, 142, 142, 157, 157}},
    {{134}, {112, 157}, {112, 134, 157}, {112, 127, 142, 157}, {112, 123, 134, 146, 157}, {112, 112, 134, 134, 157, 157}, {112, 123, 127, 134, 142, 146, 157}, {112, 112, 127, 127, 142, 142, 157, 157}},
    {{134}, {134, 134}, {112, 134, 157}, {112, 112, 157, 157}, {112, 127, 134, 142, 157}, {112, 112, 134, 134, 157, 157}, {112, 123, 127, 134, 142, 146, 157}, {112, 112, 127, 127, 142, 142, 157, 157}},
    {{134}, {112, 157}, {112, 134, 157}, {112, 127, 142, 157}, {112, 123, 134, 146, 157}, {112, 112, 134, 134, 157, 157}, {112, 123, 127, 134, 142, 146, 157}, {112, 112, 127, 127, 142, 142, 157, 157}},
}};
const Expected kPlainMonsterX = {{
    {{8}, {40, 0}, {64, 56, 0}, {64, 58, 5, 0}, {72, 68, 64, 12, 8}, {72, 72, 64, 16, 8, 0}, {80, 76, 74, 72, 21, 20, 16}, {80, 80, 74, 74, 21, 21, 16, 16}},
    {{8}, {40, 0}, {64, 56, 0}, {64, 58, 5, 0}, {72, 68, 64, 12, 8}, {72, 72, 64, 16, 8, 0}, {80, 76, 74, 72, 21, 20, 16}, {80, 80, 74, 74, 21, 21, 16, 16}},
    {{312}, {280, 320}, {256, 264, 320}, {256, 262, 315, 320}, {248, 252, 256, 308, 312}, {248, 248, 256, 304, 312, 320}, {240, 244, 246, 248, 299, 300, 304}, {240, 240, 246, 246, 299, 299, 304, 304}},
    {{144}, {144, 176}, {144, 176, 144}, {144, 176, 144, 176}, {144, 176, 144, 176, 144}, {144, 176, 144, 176, 144, 176}, {144, 176, 144, 176, 144, 176, 144}, {144, 176, 144, 176, 144, 176, 144, 176}},
    {{296}, {288, 16}, {288, 24, 304}, {288, 26, 299, 16}, {288, 28, 296, 20, 304}, {288, 32, 296, 24, 304, 16}, {288, 28, 294, 24, 299, 20, 304}, {288, 32, 294, 26, 299, 21, 304, 16}},
}};
const Expected kPlainMonsterY = {{
    {{134}, {112, 157}, {112, 157, 134}, {112, 146, 123, 157}, {112, 134, 157, 123, 146}, {112, 130, 148, 121, 139, 157}, {112, 127, 142, 157, 123, 134, 157}, {112, 124, 137, 150, 118, 131, 144, 156}},
    {{134}, {112, 157}, {112, 157, 134}, {112, 146, 123, 157}, {112, 134, 157, 123, 146}, {112, 130, 148, 121, 139, 157}, {112, 127, 142, 157, 123, 134, 157}, {112, 124, 137, 150, 118, 131, 144, 156}},
    {{134}, {112, 157}, {112, 157, 134}, {112, 146, 123, 157}, {112, 134, 157, 123, 146}, {112, 130, 148, 121, 139, 157}, {112, 127, 142, 157, 123, 134, 157}, {112, 124, 137, 150, 118, 131, 144, 156}},
    {{134}, {112, 157}, {112, 157, 134}, {112, 146, 123, 157}, {112, 134, 157, 123, 146}, {112, 130, 148, 121, 139, 157}, {112, 127, 142, 157, 123, 134, 157}, {112, 124, 137, 150, 118, 131, 144, 156}},
    {{134}, {112, 157}, {112, 157, 134}, {112, 146, 123, 157}, {112, 134, 157, 123, 146}, {112, 130, 148, 121, 139, 157}, {112, 127, 142, 157, 123, 134, 157}, {112, 124, 137, 150, 118, 131, 144, 156}},
}};
const Expected kTerrainHeroX = {{
    {{236}, {186, 286}, {186, 236, 286}, {186, 219, 252, 286}, {186, 211, 236, 261, 286}, {186, 186, 236, 236, 286, 286}, {186, 211, 219, 236, 252, 261, 286}, {186, 186, 219, 219, 252, 252, 286, 286}},
    {{236}, {186, 286}, {186, 236, 286}, {186, 219, 252, 286}, {186, 211, 236, 261, 286}, {186, 186, 236, 236, 286, 286}, {186, 211, 219, 236, 252, 261, 286}, {186, 186, 219, 219, 252, 252, 286, 286}},
    {{88}, {138, 38}, {138, 88, 38}, {138, 105, 72, 38}, {138, 113, 88, 63, 38}, {138, 138, 88, 88, 38, 38}, {138, 113, 105, 88, 72, 63, 38}, {138, 138, 105, 105, 72, 72, 38, 38}},
    {{236}, {186, 34}, {186, 84, 286}, {186, 101, 252, 34}, {186, 109, 236, 59, 286}, {186, 134, 236, 84, 286, 34}, {186, 109, 219, 84, 252, 59, 286}, {186, 134, 219, 101, 252, 68, 286, 34}},
    {{162}, {162, 162}, {162, 162, 162}, {162, 162, 162, 162}, {162, 162, 162, 162, 162}, {162, 162, 162, 162, 162, 162}, {162, 162, 162, 162, 162, 162, 162}, {162, 162, 162, 162, 162, 162, 162, 162}},
}};
const Expected kTerrainHeroY = {{
    {{128}, {100, 157}, {100, 128, 157}, {100, 118, 137, 157}, {100, 114, 128, 143, 157}, {100, 100, 128, 128, 157, 157}, {100, 114, 118, 128, 137, 143, 157}, {100, 100, 118, 118, 137, 137, 157, 157}},
    {{128}, {100, 157}, {100, 128, 157}, {100, 118, 137, 157}, {100, 114, 128, 143, 157}, {100, 100, 128, 128, 157, 157}, {100, 114, 118, 128, 137, 143, 157}, {100, 100, 118, 118, 137, 137, 157, 157}},
    {{128}, {100, 157}, {100, 128, 157}, {100, 118, 137, 157}, {100, 114, 128, 143, 157}, {100, 100, 128, 128, 157, 157}, {100, 114, 118, 128, 137, 143, 157}, {100, 100, 118, 118, 137, 137, 157, 157}},
    {{128}, {128, 128}, {100, 128, 157}, {100, 100, 157, 157}, {100, 118, 128, 137, 157}, {100, 100, 128, 128, 157, 157}, {100, 114, 118, 128, 137, 143, 157}, {100, 100, 118, 118, 137, 137, 157, 157}},
    {{128}, {100, 157}, {100, 128, 157}, {100, 118, 137, 157}, {100, 114, 128, 143, 157}, {100, 100, 128, 128, 157, 157}, {100, 114, 118, 128, 137, 143, 157}, {100, 100, 118, 118, 137, 137, 157, 157}},
}};
const Expected kTerrainMonsterX = {{
    {{60}, {134, 10}, {158, 108, 10}, {158, 125, 44, 10}, {166, 141, 116, 43, 18}, {166, 166, 116, 68, 18, 10}, {174, 149, 141, 124, 60, 51, 26}, {174, 174, 141, 141, 60, 60, 26, 26}},
    {{60}, {134, 10}, {158, 108, 10}, {158, 125, 44, 10}, {166, 141, 116, 43, 18}, {166, 166, 116, 68, 18, 10}, {174, 149, 141, 124, 60, 51, 26}, {174, 174, 141, 141, 60, 60, 26, 26}},
    {{260}, {186, 310}, {162, 212, 310}, {162, 195, 276, 310}, {154, 179, 204, 277, 302}, {154, 154, 204, 252, 302, 310}, {146, 171, 179, 196, 260, 269, 294}, {146, 146, 179, 179, 260, 260, 294, 294}},
    {{144}, {144, 176}, {144, 176, 144}, {144, 176, 144, 176}, {144, 176, 144, 176, 144}, {144, 176, 144, 176, 144, 176}, {144, 176, 144, 176, 144, 176, 144}, {144, 176, 144, 176, 144, 176, 144, 176}},
    {{244}, {194, 26}, {194, 76, 294}, {194, 93, 260, 26}, {194, 101, 244, 51, 294}, {194, 126, 244, 76, 294, 26}, {194, 101, 227, 76, 260, 51, 294}, {194, 126, 227, 93, 260, 60, 294, 26}},
}};
const Expected kTerrainMonsterY = {{
    {{128}, {100, 157}, {100, 157, 128}, {100, 143, 114, 157}, {100, 128, 157, 114, 143}, {100, 123, 146, 111, 134, 157}, {100, 118, 137, 157, 114, 128, 157}, {100, 116, 132, 148, 108, 124, 140, 156}},
    {{128}, {100, 157}, {100, 157, 128}, {100, 143, 114, 157}, {100, 128, 157, 114, 143}, {100, 123, 146, 111, 134, 157}, {100, 118, 137, 157, 114, 128, 157}, {100, 116, 132, 148, 108, 124, 140, 156}},
    {{128}, {100, 157}, {100, 157, 128}, {100, 143, 114, 157}, {100, 128, 157, 114, 143}, {100, 123, 146, 111, 134, 157}, {100, 118, 137, 157, 114, 128, 157}, {100, 116, 132, 148, 108, 124, 140, 156}},
    {{128}, {100, 157}, {100, 157, 128}, {100, 143, 114, 157}, {100, 128, 157, 114, 143}, {100, 123, 146, 111, 134, 157}, {100, 118, 137, 157, 114, 128, 157}, {100, 116, 132, 148, 108, 124, 140, 156}},
    {{128}, {128, 128}, {100, 128, 157}, {100, 100, 157, 157}, {100, 118, 128, 137, 157}, {100, 100, 128, 128, 157, 157}, {100, 114, 118, 128, 137, 143, 157}, {100, 100, 118, 118, 137, 137, 157, 157}},
}};
using Placement = int (*)(const TLcfBattle&, int kind, int count, int index);

void ExpectPlacement(const Expected& want, Placement f, const char* what) {
    TLcfBattle battle;
    for (int kind = 0; kind < 5; ++kind)
        for (int n = 1; n <= 8; ++n)
            for (int i = 0; i < n; ++i)
                EXPECT_EQ(f(battle, kind, n, i), want[kind][n - 1][i]) << what << " kind " << kind << " n " << n << " i " << i;
}

}  // namespace

TEST(BattleSettings, ClearedRecordHasOneUnnamedCommandWrittenWithItsName) {
    TLcfBattle b;
    ASSERT_EQ(b.commands.Count(), 1);
    EXPECT_EQ(b.commands.FindCommand(1)->name, "");
    EXPECT_EQ(b.defeatCommonEvent, 1);
    EXPECT_EQ(b.teleportMap, 1);
    EXPECT_EQ(b.reserved9, 1);
    // Command names are written even when empty.
    EXPECT_EQ(SaveRecord(b), Chunks().Data(10, List({{1, Chunks().Str(1, "").End()}})).End());
    EXPECT_EQ(MessageOf([&] { b.commands.FindCommand(0); }),
              "Event script referenced a battle command that does not exist.");
    EXPECT_EQ(MessageOf([&] { b.commands.GetCommand(1); }),
              "Event script referenced a battle command that does not exist.");
}

TEST(BattleSettings, Chunks4And15AreOneFieldWrittenUnderBoth) {
    TLcfBattle b;
    LoadRecord(b, Chunks().Int(4, 1).End());
    EXPECT_EQ(b.defeatContinues, 1);
    LoadRecord(b, Chunks().Int(15, 3).Int(4, 2).End());
    EXPECT_EQ(b.defeatContinues, 2);  // the later one wins
    LoadRecord(b, Chunks().Int(4, 2).Int(15, 0).End());
    EXPECT_EQ(b.defeatContinues, 0);
    b.commands.Clear();
    b.defeatContinues = 5;
    EXPECT_EQ(SaveRecord(b), Chunks().Int(4, 5).Data(10, VarInt(0)).Int(15, 5).End());
}

TEST(BattleSettings, FullRecordRoundTripsAndCompactMeansExactly1) {
    TLcfBattle b;
    b.autoPlacement = 1;
    b.layoutStyle = 2;
    b.compactWindows = 1;
    b.translucentWindows = 1;
    b.defeatTeleport = 1;
    b.teleportMap = 4;
    b.teleportX = 3;
    b.teleportDirection = 2;
    b.commands.SetCount(3);
    b.commands.FindCommand(2)->name = "Skill";
    b.commands.FindCommand(2)->kind = 1;
    Bytes saved = SaveRecord(b);
    TLcfBattle back;
    LoadRecord(back, saved);
    EXPECT_EQ(back.commands.FindCommand(2)->name, "Skill");
    EXPECT_EQ(back.teleportMap, 4);
    EXPECT_TRUE(back.CompactWindows());
    EXPECT_EQ(SaveRecord(back), saved);
    back.compactWindows = 2;
    EXPECT_FALSE(back.CompactWindows());
}

TEST(CBAData, RoundTripAndProjectileSpeedWithinRange) {
    TLcfCBADataItem c(2);
    EXPECT_EQ(c.skillPose, 3);
    EXPECT_EQ(c.setting13, 1);
    EXPECT_EQ(SaveRecord(c), Chunks().End());
    c.weaponStrip = -1;
    c.motion = TLcfCBADataItem::kJump;
    c.ranged = 1;
    c.projectileSpeed = 2;
    c.setting2 = 7;
    Bytes saved = SaveRecord(c);
    TLcfCBADataItem back(2);
    LoadRecord(back, saved);
    EXPECT_EQ(back.weaponStrip, -1);
    EXPECT_EQ(back.ProjectileFlightCounts(), 120);
    EXPECT_EQ(SaveRecord(back), saved);
    back.projectileSpeed = 9;
    EXPECT_EQ(back.ProjectileSpeed(), 2);
    back.projectileSpeed = -4;
    EXPECT_EQ(back.ProjectileFlightCounts(), 40);
    TLcfCBAData list;
    list.SetCount(1);
    EXPECT_EQ(MessageOf([&] { list.FindCBA(2); }), "Event script referenced a battle animation that does not exist.");
}

TEST(BattlePlacement, PlainGridForEveryCountAndStartKind) {
    ExpectPlacement(kPlainHeroX, [](const TLcfBattle& b, int k, int n, int i) { return b.HeroScreenX(k, 0, 0, n, i, 0); },
                    "hero x");
    ExpectPlacement(kPlainHeroY, [](const TLcfBattle& b, int k, int n, int i) { return b.HeroScreenY(k, 0, 0, n, i); },
                    "hero y");
    ExpectPlacement(kPlainMonsterX,
                    [](const TLcfBattle& b, int k, int n, int i) { return b.MonsterScreenX(k, 0, 0, n, i, 0); },
                    "monster x");
    ExpectPlacement(kPlainMonsterY,
                    [](const TLcfBattle& b, int k, int n, int i) { return b.MonsterScreenY(k, 0, 0, n, i); },
                    "monster y");
}

TEST(BattlePlacement, TerrainGridForEveryCountAndStartKind) {
    TLcfDataBase db;
    TLcfGroundItem* g = DbGround->FindGround(1);
    g->gridTop = 100;
    g->gridDepth = 500;
    g->gridWidth = 100000;
    ExpectPlacement(kTerrainHeroX,
                    [](const TLcfBattle& b, int k, int n, int i) { return b.HeroScreenX(k, 0, 1, n, i, 10); },
                    "hero x");
    ExpectPlacement(kTerrainHeroY, [](const TLcfBattle& b, int k, int n, int i) { return b.HeroScreenY(k, 0, 1, n, i); },
                    "hero y");
    ExpectPlacement(kTerrainMonsterX,
                    [](const TLcfBattle& b, int k, int n, int i) { return b.MonsterScreenX(k, 0, 1, n, i, 10); },
                    "monster x");
    ExpectPlacement(kTerrainMonsterY,
                    [](const TLcfBattle& b, int k, int n, int i) { return b.MonsterScreenY(k, 0, 1, n, i); },
                    "monster y");
}

TEST(BattlePlacement, LayoutGridCountsOutsideTheTablesAndFacing) {
    TLcfBattle b;
    // Layout 2 without terrain: top 132, depth 196, width 24000.
    // n = 1: slant trunc(0.5 x 24) = 12; spread trunc(120 x sin 0.196 x 0.5) = 11.
    EXPECT_EQ(b.HeroScreenX(0, 2, 0, 1, 0, 0), 284);
    EXPECT_EQ(b.HeroScreenY(0, 2, 0, 1, 0), 143);
    // A terrain id the database lacks uses the fixed grid too.
    EXPECT_EQ(b.HeroScreenY(0, 2, 77, 1, 0), 143);
    // Counts of 0 and above 8 read rows 1 and 8; index 8 and up reads 0.
    EXPECT_EQ(b.HeroScreenX(0, 0, 0, 0, 0, 0), b.HeroScreenX(0, 0, 0, 1, 0, 0));
    EXPECT_EQ(b.MonsterScreenX(0, 0, 0, 12, 7, 0), b.MonsterScreenX(0, 0, 0, 8, 7, 0));
    EXPECT_EQ(b.MonsterScreenX(0, 0, 0, 8, 8, 0), 16);  // slant of A = 0, M = 0
    EXPECT_EQ(b.MonsterScreenY(0, 0, 0, 8, 9), 112);
    EXPECT_EQ(b.MonsterScreenX(3, 0, 0, 8, 8, 0), 160);
    EXPECT_EQ(b.MonsterScreenX(0, 0, 0, 3, -1, 0), 16);
    // Offsets at the ends of the integer range do not overflow.
    EXPECT_EQ(b.HeroScreenX(0, 0, 0, 1, 0, INT32_MIN), INT32_MAX);
    EXPECT_EQ(TLcfBattle::MonsterFacing(0, 0), 0);
    EXPECT_EQ(TLcfBattle::MonsterFacing(1, 0), 1);
    EXPECT_EQ(TLcfBattle::MonsterFacing(2, 5), 1);
    EXPECT_EQ(TLcfBattle::MonsterFacing(3, 5), 1);
    EXPECT_EQ(TLcfBattle::MonsterFacing(4, 0), 1);
    EXPECT_EQ(TLcfBattle::MonsterFacing(4, 1), 0);
    EXPECT_EQ(TLcfBattle::MonsterFacing(4, INT32_MAX), 0);
}
