// The running game's answers to the battlers: a hurting step flashes the
// real screen, and the menu's teleport and escape skills and items follow
// the real teleport list and the party's riding state.

#include "battle_world_fixture.h"
#include "game/party/world_party_hooks.h"
#include "game/screen/game_screen.h"
#include "game/system/game_system.h"
#include "game/teleport/teleport.h"
#include "game/walker/party.h"

using namespace battle_world;

namespace {

class RunningUnitWorld : public BattleWorldTest {
protected:
    void SetUp() override {
        BattleWorldTest::SetUp();
        SetUnitWorld(nullptr);
        GameSystem = &system;
        GameScreen = &screen;
        targets.Reset();
        GameTeleports = &targets;
        GameParty = &walker;
        Hero(1, Chunks().Str(1, "Ada").Data(31, FlatCurves(100, 30, 10, 10, 10, 10)));
        Skill(1, Chunks().Str(1, "Warp").Int(8, 1));
        Skill(2, Chunks().Str(1, "Flee").Int(8, 2));
        Item(1, Chunks().Str(1, "Wing").Data(3, {9}).Int(53, 1));
        Item(2, Chunks().Str(1, "Smoke").Data(3, {9}).Int(53, 2));
        DbSystem->party.Resize(0);
        StartGame();
        GamePartyInfo->AddMember(1);
    }
    void TearDown() override {
        GameParty = nullptr;
        GameTeleports = nullptr;
        GameScreen = nullptr;
        GameSystem = nullptr;
        BattleWorldTest::TearDown();
    }

    TLcfgSystem system;
    TLcfgScreen screen;
    TLcfgTeleport targets;
    TLcfgParty walker;
};

}  // namespace

TEST_F(RunningUnitWorld, AHurtingStepFlashesTheScreen) {
    Status(2).mapHpPercent = 1;
    Status(2).mapHpPoints = 5;
    Actor(1).InflictCondition(2);
    TLcfgWorldParty hooks;
    hooks.CountStep();
    EXPECT_EQ(Actor(1).hp, 95);
    EXPECT_EQ(screen.flashRed, 31);
    EXPECT_EQ(screen.flashGreen, 10);
    EXPECT_EQ(screen.flashBlue, 10);
    EXPECT_EQ(screen.FlashStrength(), 20);
    EXPECT_EQ(screen.flashFrames, 6);
    EXPECT_EQ(screen.flashMode, TLcfgScreen::kFlashOnce);
}

TEST_F(RunningUnitWorld, TeleportAndEscapeFollowTheTargetsAndTheRide) {
    system.scene = 1;
    TLcfgPlayerItem& a = Actor(1);
    // Only the escape point, and it leads nowhere.
    EXPECT_FALSE(a.CanUseSkill(1));
    EXPECT_FALSE(a.CanUseSkill(2));
    EXPECT_FALSE(GamePartyInfo->ItemUsable(1));
    EXPECT_FALSE(GamePartyInfo->ItemUsable(2));

    targets.SetTarget(4, 2, 3, false, 0);
    targets.EscapePoint()->mapId = 7;
    EXPECT_TRUE(a.CanUseSkill(1));
    EXPECT_TRUE(a.CanUseSkill(2));
    EXPECT_TRUE(GamePartyInfo->ItemUsable(1));
    EXPECT_TRUE(GamePartyInfo->ItemUsable(2));

    // Aboard the boat the skills refuse; the items look at the airship only.
    walker.riding = 1;
    walker.vehicleKind = 1;
    EXPECT_FALSE(a.CanUseSkill(1));
    EXPECT_FALSE(a.CanUseSkill(2));
    EXPECT_TRUE(GamePartyInfo->ItemUsable(1));
    EXPECT_TRUE(GamePartyInfo->ItemUsable(2));
    walker.vehicleKind = 3;
    EXPECT_FALSE(GamePartyInfo->ItemUsable(1));
    EXPECT_FALSE(GamePartyInfo->ItemUsable(2));

    // The system's permissions still hold.
    walker.riding = 0;
    system.teleportAllowed = 0;
    system.escapeAllowed = 0;
    EXPECT_FALSE(a.CanUseSkill(1));
    EXPECT_FALSE(GamePartyInfo->ItemUsable(2));
}
