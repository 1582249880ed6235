// Actors in battle: placement and facing by start condition, the pose
// sequence (damage and item poses, idle pose, row change, the action's
// motion out and back), the hit loop's count and costs, and the party
// side's battle animation. Headless, against a fake battle scene.
#include <gtest/gtest.h>

#include "battle_world_fixture.h"
#include "data/database/battle.h"
#include "data/database/database.h"
#include "game/actors/player.h"
#include "game/actors/battle_sides.h"
#include "game/battle/side_animation.h"
#include "game/enemies/monster.h"
#include "graphics/graphics_files.h"
#include "media/board/board.h"
#include "support/fake_battle_scene.h"
#include "support/noise_png.h"
#include "support/test_paths.h"

using namespace battle_world;
using Show = TActorBattleShow;

namespace {

class ActorBattleTest : public BattleWorldTest {
protected:
    void SetUp() override {
        BattleWorldTest::SetUp();
        world.scene = 2;  // skills are refused outside battle
        // Condition 1 is death; 2 stops acting for good; 3 wears off.
        Status(1).priority = 100;
        Status(2).restriction = TLcfStatusItem::kCannotAct;
        Status(2).recoveryChance = 0;
        Status(3).restriction = TLcfStatusItem::kCannotAct;
        Status(3).recoveryChance = 50;
        // Weapon 1: attacks twice, one extra swing for hero 1, animation 0.
        Item(1, Chunks().Str(1, "Twin").Data(3, {1}).Int(20, 0).Data(22, {1}).Int(16, 3));
        DbItem->Find(1)->battleDisplay.GetOrCreate(1)->swingCount = 1;
        // Weapons 2 and 3: plain, animations 7 and 8.
        Item(2, Chunks().Str(1, "Left").Data(3, {1}).Int(20, 7));
        Item(3, Chunks().Str(1, "Right").Data(3, {1}).Int(20, 8));
        Skill(1, Chunks().Str(1, "Fire").Int(11, 5));
        for (int32_t id = 7; id <= 9; ++id) DbAnimation->GetOrCreate(id)->frames.SetCount(2);
        DbAnimation2->GetOrCreate(1);
        for (int32_t id = 1; id <= 4; ++id)
            Hero(id, Chunks()
                         .Str(1, "H" + std::to_string(id))
                         .Data(31, FlatCurves(100, 50, 20, 10, 10, 10))
                         .Int(59, 200 + 10 * id)
                         .Int(60, 100 + 10 * id)
                         .Int(62, 1));
        StartGame();
        for (int32_t id = 1; id <= 4; ++id) GamePartyInfo->AddMember(id);
        link_ = std::make_unique<BattleLinkGuard>(scene);
    }
    void TearDown() override {
        link_.reset();
        BattleWorldTest::TearDown();
    }
    // Battle frames of the party (its members and its side's animation).
    void Frames(TLcfgPlayerItem&, int n) {
        for (int i = 0; i < n; ++i) GamePlayers->UpdateBattle();
    }
    // Frames until the pose leaves `pose`; answers the frames taken.
    int UntilPoseLeaves(TLcfgPlayerItem& a, uint8_t pose, int limit = 500) {
        int n = 0;
        while (a.pose == pose && n < limit) {
            GamePlayers->UpdateBattle();
            ++n;
        }
        return n;
    }

    FakeBattleScene scene;
    std::unique_ptr<BattleLinkGuard> link_;
};

}  // namespace

TEST_F(ActorBattleTest, PlacementFollowsTheStartCondition) {
    constexpr int32_t full = IBattleSceneLink::kFullGauge;
    Actor(2).row = 1;
    Actor(4).SetCondition(3, 1);  // cannot act for now, but wears off
    for (int cond = 0; cond <= 4; ++cond) {
        scene.startCondition = cond;
        GamePlayers->PlaceForBattle();
        SCOPED_TRACE(cond);
        // Front row: the hero's battle x less 24; back row: the x itself;
        // attacked from behind the party stands mirrored.
        EXPECT_EQ(Actor(1).homeX, cond == 2 ? 320 - 24 - 210 : 210 - 24);
        EXPECT_EQ(Actor(2).homeX, cond == 2 ? 320 - 220 : 220);
        EXPECT_EQ(Actor(1).battleX, Actor(1).homeX);
        EXPECT_EQ(Actor(3).homeY, 130);
        EXPECT_EQ(Actor(2).facing, cond == 3 ? 1 : 0);
        EXPECT_EQ(Actor(3).facing, 0);
        const int32_t gauge = cond == 1 || cond == 3 ? full : cond == 2 || cond == 4 ? 0 : full / 2;
        EXPECT_EQ(Actor(1).gauge, gauge);
        EXPECT_EQ(Actor(4).gauge, gauge);  // it may recover: not incapacitated
        EXPECT_EQ(Actor(1).show.battleStarted, 1);
    }
    // Under a normal start the party's initiative, or a member's own first
    // strike, fills the gauge.
    scene.startCondition = 0;
    scene.firstStrike = true;
    GamePlayers->PlaceForBattle();
    EXPECT_EQ(Actor(3).gauge, full);

    // An incapacitated member keeps the gauge it had, whatever the start;
    // a small battle x is raised to 24.
    Actor(3).SetCondition(2, 1);
    Actor(3).gauge = 12345;
    DbPlayer->FindPlayer(1)->battleX = 10;
    for (int cond : {2, 1, 0}) {
        scene.startCondition = cond;
        GamePlayers->PlaceForBattle();
        EXPECT_EQ(Actor(3).gauge, 12345) << cond;
    }
    EXPECT_EQ(Actor(1).homeX, 24);
}

// Battle places from a game file may be any 32-bit value: the far left is
// raised to 24, mirrored on a back attack it lies far to the right, the
// lowest hero is drawn last, and shaken far off screen it draws nothing.
TEST_F(ActorBattleTest, ExtremeBattlePlacesAreRaisedMirroredAndSortedWithoutOverflow) {
    DbPlayer->FindPlayer(1)->battleX = INT32_MIN;
    DbPlayer->FindPlayer(2)->battleX = INT32_MAX;
    DbPlayer->FindPlayer(3)->battleY = INT32_MAX;
    DbPlayer->FindPlayer(4)->battleY = INT32_MIN;
    GamePlayers->PlaceForBattle();
    EXPECT_EQ(Actor(1).battleX, 24);
    EXPECT_GT(Actor(2).battleX, 1000000);
    EXPECT_GT(Actor(3).DrawOrder(), Actor(2).DrawOrder());
    EXPECT_LT(Actor(4).DrawOrder(), Actor(2).DrawOrder());
    scene.startCondition = kStartBackAttack;
    GamePlayers->PlaceForBattle();
    EXPECT_GT(Actor(1).battleX, 1000000);
    EXPECT_EQ(Actor(2).battleX, 24);
    TSorvoBoard board;
    board.SetSize(320, 240);
    Actor(1).shakeOffsetX = INT32_MAX;
    Actor(1).DrawBattler(board);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) ASSERT_EQ(board.ScanLine(y)[x], 0) << x << "," << y;
}

TEST_F(ActorBattleTest, EveryoneMovesToTheFrontWhenNoFrontMemberCanFight) {
    for (int32_t id = 1; id <= 4; ++id) Actor(id).row = id <= 2 ? 0 : 1;
    Actor(1).SetCondition(2, 1);
    Actor(2).SetCondition(2, 1);
    GamePlayers->PlaceForBattle();
    for (int32_t id = 1; id <= 4; ++id) EXPECT_EQ(Actor(id).row, 0) << id;
    EXPECT_EQ(Actor(3).homeX, 230 - 24);
    // A condition that wears off does not count as unable to fight.
    Actor(3).row = Actor(4).row = 1;
    Actor(1).SetCondition(2, 0);
    Actor(1).SetCondition(3, 1);
    GamePlayers->PlaceForBattle();
    EXPECT_EQ(Actor(3).row, 1);
    EXPECT_EQ(Actor(3).homeX, 230);
}

TEST_F(ActorBattleTest, AutomaticPlacementUsesTheLayoutAndTerrain) {
    DbBattle->autoPlacement = 1;
    DbBattle->layoutStyle = 2;
    scene.startCondition = 0;
    GamePlayers->PlaceForBattle();
    EXPECT_EQ(Actor(2).homeX, std::max(24, DbBattle->HeroScreenX(0, 2, 0, 4, 1, 24)));
    EXPECT_EQ(Actor(2).homeY, DbBattle->HeroScreenY(0, 2, 0, 4, 1) - 24);
    // The fixed grid of layout 2 differs from the others'.
    EXPECT_NE(DbBattle->HeroScreenY(0, 2, 0, 4, 1), DbBattle->HeroScreenY(0, 0, 0, 4, 1));
}

TEST_F(ActorBattleTest, TheIdlePoseFollowsConditionsThenThePendingPose) {
    TLcfgPlayerItem& a = Actor(1);
    a.show.pendingPose = Show::kSecondHand;
    a.SetIdlePose();
    EXPECT_EQ(a.pose, Show::kSecondHand);
    a.show.pendingPose = Show::kSkill;
    a.SetIdlePose();
    EXPECT_EQ(a.pose, Show::kSettle);
    a.InflictCondition(3);
    a.SetIdlePose();
    EXPECT_EQ(a.pose, Show::kCondition);
    a.InflictCondition(1);
    a.SetIdlePose();
    EXPECT_EQ(a.pose, Show::kDead);
}

TEST_F(ActorBattleTest, TheDamagePoseReturnsToAnAttackSkillOrReturnOnly) {
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    const uint8_t pending[] = {1, 2, 5, 13, 3, 6, 0};
    for (uint8_t p : pending) {
        a.pose = Show::kDamaged;
        a.show.pendingPose = p;
        a.frameCounter = -1000;  // no hit can start meanwhile
        const int n = UntilPoseLeaves(a, Show::kDamaged);
        EXPECT_EQ(n, 30) << int(p);  // 60 counts without an animation
        const bool resumes = p == 1 || p == 2 || p == 5 || p == 13;
        EXPECT_EQ(a.pose, resumes ? p : uint8_t(Show::kSettle)) << int(p);
    }
}

TEST_F(ActorBattleTest, TheItemPoseWaitsForItsAnimationsLastFrame) {
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    a.pose = Show::kItem;
    EXPECT_EQ(UntilPoseLeaves(a, Show::kItem), 30);
    // Shown as a 40-frame animation it lasts until that reaches frame 39.
    DbAnimation->GetOrCreate(9)->frames.SetCount(40);
    TLcfBattleMyCharacterItem* entry = DbAnimation2->Find(1)->poses.Find(Show::kEntryItem + 1);
    entry->kind = TLcfBattleMyCharacterItem::kAnimation;
    entry->animationId = 9;
    a.pose = Show::kItem;
    const int n = UntilPoseLeaves(a, Show::kItem);
    EXPECT_EQ(n, 2 * 39 + 1);
    EXPECT_EQ(a.pose, Show::kSettle);
}

TEST_F(ActorBattleTest, TheTurnStateClearsAfterAnItemUseAndARowChange) {
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    a.actionMarker = 2;
    a.pose = Show::kItem;
    Frames(a, 32);
    EXPECT_EQ(a.pose, Show::kIdle);
    EXPECT_EQ(a.actionMarker, 0);

    // A row change moves the actor 24 pixels back (facing the enemies on
    // its left), and the turn ends once it settles.
    const int32_t x = a.battleX;
    a.actionMarker = 2;
    a.ChangeRow();
    EXPECT_EQ(a.row, 0);  // the move comes with the next update
    Frames(a, 1);
    EXPECT_EQ(a.row, 1);
    EXPECT_EQ(a.battleX, x + 24);
    EXPECT_EQ(a.homeX, x + 24);
    Frames(a, 2);
    EXPECT_EQ(a.pose, Show::kIdle);
    EXPECT_EQ(a.actionMarker, 0);
    // A marker of a battler merely waiting in the ready list stays.
    a.actionMarker = 1;
    a.pose = Show::kDoNothing;
    Frames(a, 2);
    EXPECT_EQ(a.actionMarker, 1);
    // Defending shows pose 10 after settling.
    a.action.kind = TLcfgUnitActItem::kBasic;
    a.action.basic = TLcfgUnitActItem::kDefend;
    a.pose = Show::kSettle;
    Frames(a, 1);
    EXPECT_EQ(a.pose, Show::kDefend);
}

TEST_F(ActorBattleTest, RowChangesMoveByStartConditionAndFacing) {
    scene.startCondition = 2;
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    const int32_t front = a.homeX;
    a.ChangeRow();
    Frames(a, 1);
    // Under a back attack the back row lies 24 to the right, as placement
    // puts it.
    EXPECT_EQ(a.homeX, front + 24);
    a.ChangeRow();
    Frames(a, 1);
    EXPECT_EQ(a.homeX, front);
    EXPECT_EQ(a.row, 0);
}

TEST_F(ActorBattleTest, HitsDueCountAttackTwiceOnceAndTheEventRepeat) {
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    a.SetEquipment(0, 1);
    a.action.kind = TLcfgUnitActItem::kBasic;
    a.action.targetKind = TLcfgUnitActItem::kOneMember;
    a.action.targetIndex = 1;
    a.actionMarker = 2;
    const int32_t sp = a.sp;
    a.PrepareActionMotion();
    EXPECT_EQ(a.pose, Show::kStepOut);
    Frames(a, 1);
    EXPECT_EQ(a.pose, Show::kFirstHand);
    // (1 extra swing + 1) doubled by attacking twice: 4 hand hits, never
    // the scene's double strike.
    EXPECT_EQ(a.HitsDue(), 4);
    EXPECT_EQ(UntilPoseLeaves(a, Show::kFirstHand), 4 * 30);
    ASSERT_EQ(scene.strikes.size(), 4u);
    for (const auto& s : scene.strikes) EXPECT_EQ(s.target, &Actor(2));
    EXPECT_EQ(a.sp, sp - 4 * 3);  // each swing's SP cost
    EXPECT_EQ(scene.motionsOver.size(), 1u);
    Frames(a, 2);
    EXPECT_EQ(a.pose, Show::kIdle);
    EXPECT_EQ(a.actionMarker, 0);

    // An event made command 1 repeat three times: 12 hits.
    DbBattle->commands.GetOrCreate(1)->kind = 0;
    scene.executingCommand = 1;
    a.repeatCommand = 1;
    a.repeatCount = 3;
    scene.strikes.clear();
    a.PrepareActionMotion();
    Frames(a, 1);
    EXPECT_EQ(a.HitsDue(), 12);
    UntilPoseLeaves(a, Show::kFirstHand, 2000);
    EXPECT_EQ(scene.strikes.size(), 12u);
    // A count of 0 or less leaves no hits due: the swing still comes once,
    // then the motion ends and the turn with it.
    for (int32_t count : {0, -1}) {
        a.repeatCount = count;
        scene.strikes.clear();
        scene.motionsOver.clear();
        a.actionMarker = 2;
        a.PrepareActionMotion();
        Frames(a, 1);
        EXPECT_EQ(a.HitsDue(), 0) << count;
        EXPECT_EQ(UntilPoseLeaves(a, Show::kFirstHand), 30) << count;
        EXPECT_EQ(scene.strikes.size(), 1u) << count;
        EXPECT_EQ(scene.motionsOver.size(), 1u) << count;
        Frames(a, 2);
        EXPECT_EQ(a.pose, Show::kIdle) << count;
        EXPECT_EQ(a.actionMarker, 0) << count;
    }
    // Not for a skill command (kind 3 and above).
    a.repeatCount = 3;
    DbBattle->commands.Find(1)->kind = 3;
    EXPECT_EQ(a.HitsDue(), 4);
    // The largest swing count a file can hold counts in 64 bits.
    DbItem->Find(1)->battleDisplay.GetOrCreate(1)->swingCount = INT32_MAX;
    EXPECT_EQ(a.HitsDue(), 9999);
}

TEST_F(ActorBattleTest, OnlyTheSecondHandFilledSwingsItAndUsesItsAnimation) {
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(2);
    a.twoWeapons = 1;
    a.SetEquipment(0, 0);
    a.SetEquipment(1, 2);
    a.action.kind = TLcfgUnitActItem::kBasic;
    a.action.targetKind = TLcfgUnitActItem::kOneMember;
    a.action.targetIndex = 0;
    a.PrepareActionMotion();
    Frames(a, 1);
    EXPECT_EQ(a.pose, Show::kSecondHand);
    EXPECT_EQ(a.swingingHand, 1);
    EXPECT_EQ(GamePlayers->Animation().Id(), 7);
    EXPECT_EQ(GamePlayers->Animation().Target(), 0);

    // Both hands filled: the first hand, then the second with its own
    // animation.
    a.SetEquipment(0, 3);
    scene.strikes.clear();
    GamePlayers->ResetAnimation();
    a.PrepareActionMotion();
    Frames(a, 1);
    EXPECT_EQ(a.pose, Show::kFirstHand);
    EXPECT_EQ(GamePlayers->Animation().Id(), 8);
    UntilPoseLeaves(a, Show::kFirstHand);
    EXPECT_EQ(a.pose, Show::kSecondHand);
    EXPECT_EQ(GamePlayers->Animation().Id(), 7);
    UntilPoseLeaves(a, Show::kSecondHand);
    EXPECT_EQ(scene.strikes.size(), 2u);
}

TEST_F(ActorBattleTest, AStepOutGoesToTheTargetAndBack) {
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    a.SetEquipment(0, 2);
    TLcfCBADataItem* e = DbItem->Find(2)->battleDisplay.GetOrCreate(1);
    e->motion = TLcfCBADataItem::kJump;
    a.action.kind = TLcfgUnitActItem::kBasic;
    a.action.targetKind = TLcfgUnitActItem::kOneMember;
    a.action.targetIndex = 1;
    const TBattlePoint home{a.homeX, a.homeY};
    a.PrepareActionMotion();
    EXPECT_EQ(a.show.target, (TBattlePoint{home.x - 24, home.y}));
    Frames(a, 6);  // counter 12 of 25: half way, in the air
    EXPECT_EQ(a.battleX, home.x - 24 * 12 / 25);
    EXPECT_LT(a.battleY, home.y - 10);
    Frames(a, 7);  // counter 26: there, and swinging
    EXPECT_EQ(a.pose, Show::kFirstHand);
    EXPECT_EQ(a.battleX, home.x - 24);
    EXPECT_EQ(a.battleY, home.y);
    UntilPoseLeaves(a, Show::kFirstHand);
    EXPECT_EQ(a.pose, Show::kReturning);
    EXPECT_EQ(scene.motionsOver.size(), 1u);
    UntilPoseLeaves(a, Show::kReturning);
    EXPECT_EQ(a.pose, Show::kSettle);
    EXPECT_EQ(a.battleX, home.x);
    EXPECT_EQ(a.battleY, home.y);

    // Moving to the target counts only against one enemy: here it is none.
    e->motion = TLcfCBADataItem::kMoveToTarget;
    a.PrepareActionMotion();
    EXPECT_EQ(a.show.motionStyle, 0);
}

TEST_F(ActorBattleTest, ASkillHitsAsOftenAsTheLastSwingCountAndPaysItsSp) {
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    a.castingMarker = 1;
    a.action.kind = TLcfgUnitActItem::kSkill;
    a.action.skillId = 1;
    a.action.targetKind = TLcfgUnitActItem::kOneMember;
    TLcfCBADataItem* e = DbSkill->Find(1)->battleDisplay.GetOrCreate(1);
    e->motion = TLcfCBADataItem::kStepOut;
    e->skillPose = 12;
    a.SetEquipment(0, 1);
    a.PrepareHand(0);  // the twin weapon's two swings are left behind
    const int32_t sp = a.sp;
    a.PrepareActionMotion();
    UntilPoseLeaves(a, Show::kStepOut);
    EXPECT_EQ(a.pose, Show::kSkill);
    EXPECT_EQ(a.ShownEntry(), 12);
    EXPECT_EQ(a.HitsDue(), 2);
    UntilPoseLeaves(a, Show::kSkill);
    EXPECT_EQ(scene.skillAnimations.size(), 2u);
    EXPECT_EQ(scene.reflectionChecks.size(), 2u);
    EXPECT_EQ(scene.skillsApplied.size(), 2u);
    EXPECT_EQ(a.sp, sp - 2 * 5);
    // After a skill a step out comes back in the stepping pose.
    EXPECT_EQ(a.pose, Show::kStepBack);
    EXPECT_EQ(a.show.pendingPose, Show::kSettle);

    // An item's skill costs nothing; a refused skill resolves nothing.
    a.itemSkill = 1;
    a.sp = sp;
    scene.skillsApplied.clear();
    a.PrepareActionMotion();
    UntilPoseLeaves(a, Show::kStepOut);
    EXPECT_EQ(a.ShownEntry(), Show::kEntryIdle);
    UntilPoseLeaves(a, Show::kSkill);
    EXPECT_EQ(a.sp, sp);
    scene.refuseSkill = true;
    scene.skillsApplied.clear();
    a.PrepareActionMotion();
    UntilPoseLeaves(a, Show::kStepOut);
    UntilPoseLeaves(a, Show::kSkill);
    EXPECT_TRUE(scene.skillsApplied.empty());

    // A skill command (kinds 1 and 2) that an event repeats 0 or -1 times
    // still casts once, then finishes.
    scene.refuseSkill = false;
    a.itemSkill = 0;
    scene.executingCommand = 2;
    a.repeatCommand = 2;
    for (int32_t kind : {1, 2})
        for (int32_t count : {0, -1}) {
            DbBattle->commands.GetOrCreate(2)->kind = kind;
            a.repeatCount = count;
            scene.skillsApplied.clear();
            scene.motionsOver.clear();
            a.sp = sp;
            a.PrepareActionMotion();
            UntilPoseLeaves(a, Show::kStepOut);
            EXPECT_EQ(a.HitsDue(), 0);
            EXPECT_LT(UntilPoseLeaves(a, Show::kSkill), 500) << kind << " " << count;
            EXPECT_EQ(scene.skillsApplied.size(), 1u) << kind << " " << count;
            EXPECT_EQ(scene.motionsOver.size(), 1u) << kind << " " << count;
            EXPECT_EQ(a.sp, sp - 5) << kind << " " << count;
        }
}

TEST_F(ActorBattleTest, FramesFollowTheCounterAndAZeroFrameLengthCountsAsOne) {
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    DbAnimation2->Find(1)->reserved2 = 0;
    EXPECT_EQ(a.FrameLength(), 1);
    a.pose = Show::kFirstHand;
    a.action.targetKind = TLcfgUnitActItem::kOneMember;
    a.frameCounter = -2;
    Frames(a, 1);
    EXPECT_EQ(a.show.frame, 0);
    Frames(a, 1);
    EXPECT_EQ(a.show.frame, 2);
    a.pose = Show::kDefend;
    a.frameCounter = 36;
    Frames(a, 1);
    EXPECT_EQ(a.show.frame, 1);
    Frames(a, 1);
    EXPECT_EQ(a.show.frame, 2);
    a.frameCounter = 400;
    Frames(a, 1);
    EXPECT_EQ(a.show.frame, 2);  // held
}

TEST_F(ActorBattleTest, VictoryEventsAndFleeing) {
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    TLcfgPlayerItem& b = Actor(2);
    b.InflictCondition(1);
    scene.victoryPhase = true;
    a.ChangeRow();
    Frames(a, 1);
    Frames(b, 1);
    EXPECT_EQ(a.pose, Show::kVictory);
    EXPECT_EQ(a.row, 0);  // no row moves during the victory
    EXPECT_EQ(b.pose, Show::kDead);
    scene.victoryPhase = false;
    a.show.rowTarget = a.row;

    // While an event runs only flash and shake go on.
    scene.eventRunning = true;
    const int32_t counter = a.frameCounter;
    a.StartFlash(31, 0, 0, 20, 10);
    Frames(a, 1);
    EXPECT_EQ(a.frameCounter, counter);
    EXPECT_LT(a.flashStrength, 20);
    scene.eventRunning = false;

    // Running away moves only while the party flees.
    a.pose = Show::kRunningAway;
    const int32_t x = a.battleX;
    Frames(a, 2);
    EXPECT_EQ(a.battleX, x);
    scene.partyFleeing = true;
    Frames(a, 2);
    EXPECT_EQ(a.battleX, x + 12);
}

TEST_F(ActorBattleTest, ThePartySideAnimationFlashesItsTargetAndEnds) {
    GamePlayers->PlaceForBattle();
    TLcfAnimationItem* anim = DbAnimation->GetOrCreate(9);
    anim->frames.SetCount(3);
    TLcfAnimationTimingItem* t = anim->timings.GetOrCreate(1);
    t->frame = 1;
    t->flashScope = 1;
    t->flashStrength = 12;
    t->shake = 1;
    GamePlayers->PlayAnimation(9, 0, 1);
    GamePlayers->UpdateBattle();
    EXPECT_GT(Actor(2).flashStrength, 0);  // frame 0 already takes the flash
    EXPECT_EQ(Actor(1).flashStrength, 0);
    EXPECT_GT(Actor(2).shakeDuration, 0);
    int n = 1;
    while (GamePlayers->AnimationRunning() && n < 100) {
        GamePlayers->UpdateBattle();
        ++n;
    }
    EXPECT_EQ(n, 6);  // twice its three frames

    // Screen-wide it runs by its flash frames (the last timing's frame,
    // here past the frame tables' end) without reading beyond them.
    t->frame = 20;
    anim->frames.SetCount(1);
    GamePlayers->PlayAnimation(9, 0, TLcfgSideAnimation::kScreen);
    n = 0;
    while (GamePlayers->AnimationRunning() && n < 100) {
        GamePlayers->UpdateBattle();
        ++n;
    }
    EXPECT_EQ(n, 40);

    // With no animation it still ends, after 20 frames.
    GamePlayers->PlayAnimation(0, 0, -1);
    n = 0;
    while (GamePlayers->AnimationRunning() && n < 100) {
        GamePlayers->UpdateBattle();
        ++n;
    }
    EXPECT_EQ(n, 20);
}

namespace {

// The same battles with a troop: `n` enemies standing left of the party.
class ActorTroopTest : public ActorBattleTest {
protected:
    void SetUp() override {
        ActorBattleTest::SetUp();
        GameMonsters = &troop;
    }
    void TearDown() override {
        GameMonsters = nullptr;
        ActorBattleTest::TearDown();
    }
    void Troop(int n) {
        troop.Reset();
        for (int i = 1; i <= n; ++i) {
            TLcfgMonsterItem* e = troop.GetOrCreate(i);
            e->hp = 10;
            e->battleX = 20 + 10 * i;
            e->battleY = 40 + 2 * i;
        }
    }
    // Actor 1 with a ranged weapon of the given target mode.
    TLcfgPlayerItem& Archer(int mode, bool attackAll, bool arc = false) {
        Item(4, Chunks().Str(1, "Bow").Data(3, {1}).Int(20, 0).Data(23, {uint8_t(attackAll)}).Int(75, arc).Int(76, mode));
        TLcfCBADataItem* e = DbItem->Find(4)->battleDisplay.GetOrCreate(1);
        e->ranged = 1;
        e->projectileSpeed = 0;
        TLcfgPlayerItem& a = Actor(1);
        a.SetEquipment(0, 4);
        a.action.kind = TLcfgUnitActItem::kBasic;
        a.action.targetKind = TLcfgUnitActItem::kOneEnemy;
        a.action.targetIndex = 2;
        return a;
    }

    TLcfgMonster troop;
};

}  // namespace

TEST_F(ActorTroopTest, ProjectilesAreSizedToTheTroopAndFlyStraight) {
    Troop(11);  // more than eight targets
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Archer(2, true);
    a.PrepareActionMotion();
    Frames(a, 1);
    EXPECT_EQ(a.pose, Show::kFirstHand);
    EXPECT_EQ(a.action.targetKind, TLcfgUnitActItem::kTroop);  // the weapon attacks all
    Frames(a, 5);  // counter 10 of 40
    ASSERT_EQ(a.show.projectiles.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        const TBattlePoint t = battle_sides::EnemyPosition(i);
        EXPECT_EQ(a.show.projectiles[size_t(i)],
                  (TBattlePoint{a.battleX + (t.x - a.battleX) * 10 / 40, a.battleY + (t.y - a.battleY) * 10 / 40}))
            << i;
    }
    UntilPoseLeaves(a, Show::kFirstHand);
    EXPECT_EQ(scene.strikes.size(), 11u);  // one swing on every enemy

    // Towards the troop's middle: the present enemies' sum over the whole
    // troop's size (absent ones pull it toward the corner).
    Troop(4);
    troop.Items(3)->present = 0;
    Archer(1, true);
    a.PrepareActionMotion();
    Frames(a, 21);  // counter 40: arrived
    ASSERT_EQ(a.show.projectiles.size(), 1u);
    EXPECT_EQ(a.show.projectiles[0], (TBattlePoint{(30 + 40 + 50) / 4, (42 + 44 + 46) / 4}));

    // A mode for several targets falls back to one for a weapon that
    // attacks one enemy.
    Archer(2, false);
    a.PrepareHand(0);
    EXPECT_EQ(a.show.projectileMode, 0);
}

TEST_F(ActorTroopTest, AnArcRisesAboveTheLineAndReachesTheTargetHalfway) {
    Troop(3);
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Archer(0, false, true);
    a.PrepareActionMotion();
    Frames(a, 1);
    const TBattlePoint t = battle_sides::EnemyPosition(2);
    Frames(a, 5);  // a quarter of the way round: above the middle of the line
    const TBattlePoint q = a.show.projectiles.at(0);
    EXPECT_NEAR(q.x, (a.battleX + t.x) / 2, 2);
    EXPECT_LT(q.y, (a.battleY + t.y) / 2 - 20);
    Frames(a, 5);  // half way round: at the target
    EXPECT_NEAR(a.show.projectiles[0].x, t.x, 2);
    EXPECT_NEAR(a.show.projectiles[0].y, t.y, 2);
}

TEST_F(ActorTroopTest, EachInTurnHitsEveryLivingEnemyAndSkipsTheFallen) {
    Troop(5);
    troop.Items(1)->hp = 0;
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Archer(3, false);
    a.PrepareActionMotion();
    Frames(a, 1);
    EXPECT_EQ(a.HitsDue(), 5);
    UntilPoseLeaves(a, Show::kFirstHand, 2000);
    ASSERT_EQ(scene.strikes.size(), 4u);
    EXPECT_EQ(scene.strikes[0].target, troop.Items(0));
    EXPECT_EQ(scene.strikes[1].target, troop.Items(2));
    EXPECT_EQ(scene.strikes[3].target, troop.Items(4));
    // A ranged weapon with no hits due (an event repeats its command 0
    // times) finishes at once without a strike.
    DbBattle->commands.GetOrCreate(1)->kind = 0;
    scene.executingCommand = 1;
    a.repeatCommand = 1;
    a.repeatCount = 0;
    Archer(0, false);
    scene.strikes.clear();
    scene.motionsOver.clear();
    a.PrepareActionMotion();
    Frames(a, 2);
    EXPECT_NE(a.pose, Show::kFirstHand);
    EXPECT_TRUE(scene.strikes.empty());
    EXPECT_EQ(scene.motionsOver.size(), 1u);
    a.repeatCommand = 0;
    Archer(3, false);
    // The attack ends when nobody is left to hit.
    troop.Items(0)->hp = 0;
    for (int i = 2; i < 5; ++i) troop.Items(i)->hp = 0;
    scene.strikes.clear();
    a.PrepareActionMotion();
    Frames(a, 2);
    EXPECT_TRUE(scene.strikes.empty());
    EXPECT_NE(a.pose, Show::kFirstHand);

    // A weapon for the whole troop (target kind 4) stops as soon as the
    // troop has fallen, too: the second of its two swings never comes, and
    // is not paid for.
    Troop(2);
    Item(5, Chunks().Str(1, "Sweep").Data(3, {1}).Int(20, 0).Data(23, {1}).Int(16, 3));
    DbItem->Find(5)->battleDisplay.GetOrCreate(1)->swingCount = 1;
    a.SetEquipment(0, 5);
    a.action.targetKind = TLcfgUnitActItem::kOneEnemy;
    a.action.targetIndex = 0;
    const int32_t sp = a.sp;
    scene.strikes.clear();
    scene.motionsOver.clear();
    a.PrepareActionMotion();
    Frames(a, 1);
    ASSERT_EQ(a.action.targetKind, TLcfgUnitActItem::kTroop);
    EXPECT_EQ(a.HitsDue(), 2);
    for (int n = 0; n < 500 && a.pose == Show::kFirstHand; ++n) {
        Frames(a, 1);
        if (!scene.strikes.empty())
            for (int i = 0; i < 2; ++i) troop.Items(i)->hp = 0;
    }
    EXPECT_NE(a.pose, Show::kFirstHand);
    EXPECT_EQ(scene.strikes.size(), 2u);  // one swing on each enemy
    EXPECT_EQ(a.sp, sp - 3);
    EXPECT_EQ(scene.motionsOver.size(), 1u);
}

TEST_F(ActorTroopTest, EachInTurnAimsTheActionAtTheMemberOfEachHit) {
    // A bow for the whole troop, each in turn: every hit's projectile,
    // animation and strike go to that hit's enemy, as the action's target.
    Troop(3);
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Archer(3, true);
    DbItem->Find(4)->battleAnimation = 7;
    a.action.targetIndex = 0;
    a.PrepareActionMotion();
    std::vector<int32_t> animationTargets;
    for (int n = 0; n < 2000 && (a.pose == Show::kStepOut || a.pose == Show::kFirstHand); ++n) {
        const bool running = troop.Animation().Active();
        GamePlayers->UpdateBattle();
        troop.Update();
        if (!running && troop.Animation().Active()) animationTargets.push_back(troop.Animation().Target());
        if (a.pose == Show::kFirstHand && a.frameCounter == 20) {
            // Half way: the projectile flies at the enemy of the hit to come.
            const int hit = a.show.hitsDone;
            ASSERT_EQ(a.action.targetKind, TLcfgUnitActItem::kOneEnemy);
            ASSERT_EQ(a.action.targetIndex, hit % 3);
            const TBattlePoint t = battle_sides::EnemyPosition(hit % 3);
            ASSERT_EQ(a.show.projectiles.size(), 1u);
            EXPECT_EQ(a.show.projectiles[0],
                      (TBattlePoint{a.battleX + (t.x - a.battleX) / 2, a.battleY + (t.y - a.battleY) / 2}))
                << hit;
        }
    }
    EXPECT_EQ(animationTargets, (std::vector<int32_t>{0, 1, 2}));
    ASSERT_EQ(scene.strikes.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(scene.strikes[size_t(i)].target, troop.Items(i)) << i;
}

TEST_F(ActorTroopTest, FacingTurnsTowardTheEnemies) {
    Troop(2);
    GamePlayers->PlaceForBattle();
    GamePlayers->UpdateFacing();
    EXPECT_EQ(Actor(1).facing, 0);  // enemies to the left
    troop.Items(0)->battleX = troop.Items(1)->battleX = 300;
    GamePlayers->UpdateFacing();
    EXPECT_EQ(Actor(1).facing, 1);
    // Attacked from behind the rule turns round: facing 1 toward an enemy
    // at or right of the actor.
    scene.startCondition = 2;
    GamePlayers->UpdateFacing();
    EXPECT_EQ(Actor(1).facing, 1);
    troop.Items(0)->battleX = troop.Items(1)->battleX = 10;
    GamePlayers->UpdateFacing();
    EXPECT_EQ(Actor(1).facing, 0);
    // Surrounded either way: by member index.
    scene.startCondition = 4;
    GamePlayers->UpdateFacing();
    EXPECT_EQ(Actor(1).facing, 0);
    EXPECT_EQ(Actor(2).facing, 1);
    // Moving to the target stops beside the enemy, on the actor's side.
    scene.startCondition = 0;
    Actor(1).facing = 0;
    DbItem->Find(2)->battleDisplay.GetOrCreate(1)->motion = TLcfCBADataItem::kMoveToTarget;
    Actor(1).SetEquipment(0, 2);
    Actor(1).action.targetKind = TLcfgUnitActItem::kOneEnemy;
    Actor(1).action.targetIndex = 1;
    Actor(1).PrepareActionMotion();
    EXPECT_EQ(Actor(1).show.motionStyle, TLcfCBADataItem::kMoveToTarget);
    EXPECT_EQ(Actor(1).show.target.y, troop.Items(1)->battleY);
    EXPECT_GE(Actor(1).show.target.x, troop.Items(1)->battleX);
}

TEST_F(ActorTroopTest, AStepOrAJumpGoesOneStepForwardEvenAgainstOneEnemy) {
    // Only moving to the target runs to the enemy; a step out and a jump
    // cover 24 pixels toward the side the actor faces, whatever the target.
    Troop(2);
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    a.SetEquipment(0, 2);
    TLcfCBADataItem* e = DbItem->Find(2)->battleDisplay.GetOrCreate(1);
    a.action.targetKind = TLcfgUnitActItem::kOneEnemy;
    a.action.targetIndex = 1;
    for (int32_t style : {TLcfCBADataItem::kStepOut, TLcfCBADataItem::kJump}) {
        e->motion = style;
        for (int32_t facing : {0, 1}) {
            a.facing = facing;
            a.PrepareActionMotion();
            EXPECT_EQ(a.show.target, (TBattlePoint{a.homeX + (facing == 0 ? -24 : 24), a.homeY})) << style;
        }
    }
    a.facing = 0;
    e->motion = TLcfCBADataItem::kMoveToTarget;
    a.PrepareActionMotion();
    EXPECT_EQ(a.show.target,
              (TBattlePoint{troop.Items(1)->battleX + battle_sides::EnemyHalfWidth(1), troop.Items(1)->battleY}));
}

namespace {

int LitPixels(const TSorvoBoard& board, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += board.ScanLine(y)[x] != 0;
    return n;
}

class ActorDrawTest : public ActorBattleTest {
protected:
    void SetUp() override {
        ActorBattleTest::SetUp();
        // Two rows of battler frames and one row of weapon frames.
        hero_ = (dir_.path() / "hero.png").string();
        weapon_ = (dir_.path() / "sword.png").string();
        testing_support::SaveNoisePng(hero_, 144, 96, 3);
        testing_support::SaveNoisePng(weapon_, 192, 64, 4);
        cells_ = (dir_.path() / "cells.png").string();
        testing_support::SaveNoisePng(cells_, 480, 96, 5);
        SetGraphicsFileFinder([this](const std::string& folder, const std::string& name) -> std::string {
            if (folder == "BattleCharSet" && name == "hero") return hero_;
            if (folder == "BattleWeapon" && name == "sword") return weapon_;
            if (folder == "Battle" && name == "cells") return cells_;
            return {};
        });
        TLcfAnimation2Item* set = DbAnimation2->Find(1);
        set->poses.Find(1)->image = "hero";
        set->poses.Find(1)->index = 1;
        set->weapons.Find(3)->image = "sword";
        DbItem->Find(2)->battleDisplay.GetOrCreate(1)->weaponStrip = 2;
        Actor(1).SetEquipment(0, 2);
        board.SetSize(320, 240);
    }
    void TearDown() override {
        SetGraphicsFileFinder(nullptr);
        ActorBattleTest::TearDown();
    }

    TSorvoBoard board;

private:
    testing_support::TempDir dir_;
    std::string hero_, weapon_, cells_;
};

}  // namespace

TEST_F(ActorDrawTest, TheFrameIsDrawnCentredAndTheWeaponBesideIt) {
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    a.battleX = 100;
    a.battleY = 100;
    a.pose = Show::kIdle;
    a.DrawBattler(board);
    const int lit = LitPixels(board, 76, 76, 124, 124);
    EXPECT_EQ(lit, 48 * 48);
    EXPECT_EQ(LitPixels(board, 0, 0, 320, 240), lit);
    // Blinking hides it half the time.
    board.Clear();
    a.show.blinkTimer = 7;
    a.DrawBattler(board);
    EXPECT_EQ(LitPixels(board, 0, 0, 320, 240), 0);
    a.show.blinkTimer = 0;
    // Swinging: the 64x64 weapon frame around it (its entry 1 picture is
    // empty, so only the weapon shows), mirrored as well.
    for (int32_t facing : {0, 1}) {
        board.Clear();
        a.facing = facing;
        a.PrepareHand(0);
        a.pose = Show::kFirstHand;
        a.DrawBattler(board);
        EXPECT_EQ(LitPixels(board, 68, 68, 132, 132), 64 * 64) << facing;
        EXPECT_EQ(LitPixels(board, 0, 0, 320, 240), 64 * 64) << facing;
    }
}

TEST_F(ActorDrawTest, AfterImagesShowOnlyWhereBothCoordinatesChanged) {
    GamePlayers->PlaceForBattle();
    TLcfgPlayerItem& a = Actor(1);
    a.pose = Show::kIdle;
    a.show.motionStyle = TLcfCBADataItem::kStepOut;
    a.show.afterImage = 1;
    a.battleX = 230;
    a.battleY = 120;
    // Trailing positions 50 pixels apart, so that each image has a box of
    // its own left of the actor's.
    auto ghostPixels = [&](TBattlePoint p) { return LitPixels(board, p.x - 24, p.y - 24, p.x + 24, p.y + 24); };
    auto drawWithTrail = [&](std::array<TBattlePoint, 3> trail) {
        board.Clear();
        a.show.trail = trail;
        a.DrawBattler(board);
    };
    // A horizontal move: y never changes, so no image at all.
    const std::array<TBattlePoint, 3> level{{{80, 120}, {130, 120}, {180, 120}}};
    drawWithTrail(level);
    for (const TBattlePoint& p : level) EXPECT_EQ(ghostPixels(p), 0) << p.x;
    EXPECT_EQ(LitPixels(board, 0, 0, 320, 240), 48 * 48);
    // Both coordinates changing at every step: all three.
    const std::array<TBattlePoint, 3> rising{{{80, 60}, {130, 80}, {180, 100}}};
    drawWithTrail(rising);
    for (const TBattlePoint& p : rising) EXPECT_GT(ghostPixels(p), 0) << p.x;
    // Each is compared with the next newer position only: the oldest stands
    // level with the second, which differs from the third in both.
    const std::array<TBattlePoint, 3> mixed{{{80, 80}, {130, 80}, {180, 100}}};
    drawWithTrail(mixed);
    EXPECT_EQ(ghostPixels(mixed[0]), 0);
    EXPECT_GT(ghostPixels(mixed[1]), 0);
    EXPECT_GT(ghostPixels(mixed[2]), 0);
    // Without the flag there is no trail.
    a.show.afterImage = 0;
    drawWithTrail(rising);
    EXPECT_EQ(LitPixels(board, 0, 0, 320, 240), 48 * 48);
}

TEST_F(ActorDrawTest, APoseShownAsAnAnimationIsCentredOnTheBattler) {
    GamePlayers->PlaceForBattle();
    // Entry 0 shows animation 9: one 96x96 cell at the anchor, and the
    // position byte at the bottom (which only the party-side animation uses).
    TLcfAnimationItem* anim = DbAnimation->GetOrCreate(9);
    anim->image = "cells";
    anim->position = TLcfAnimationItem::kBottom;
    anim->frames.SetCount(1);
    anim->frames.Items(0)->cells.GetOrCreate(1);
    TLcfBattleMyCharacterItem* entry = DbAnimation2->Find(1)->poses.Find(Show::kEntryIdle + 1);
    entry->kind = TLcfBattleMyCharacterItem::kAnimation;
    entry->animationId = 9;
    TLcfgPlayerItem& a = Actor(1);
    a.pose = Show::kIdle;
    GamePlayers->UpdateBattle();  // sets the pose's animation up
    a.battleX = 150;
    a.battleY = 110;
    a.DrawBattler(board);
    EXPECT_EQ(LitPixels(board, 150 - 48, 110 - 48, 150 + 48, 110 + 48), 96 * 96);
    EXPECT_EQ(LitPixels(board, 0, 0, 320, 240), 96 * 96);
}
