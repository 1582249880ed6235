// Enemies: setting a troop up (who appears, where, facing, gauges, the
// corrected start condition), the action choice, transformation, the
// per-frame timers and the troop's battle animation.

#include <algorithm>

#include "data/errors.h"
#include "media/board/board.h"
#include "enemy_fixture.h"

using namespace battle_world;

namespace {

class EnemyTest : public EnemyWorldTest {
protected:
    void SetUp() override {
        EnemyWorldTest::SetUp();
        Hero(1, Chunks().Str(1, "Ann").Data(31, FlatCurves(100, 20, 30, 20, 10, 30)));
        Hero(2, Chunks().Str(1, "Bob").Data(31, FlatCurves(100, 20, 30, 20, 10, 30)));
        Monster(1, Chunks().Str(1, "Slime").Int(4, 40).Int(5, 12));
        StartGame();
        Party({1, 2});
    }

    // A one-enemy troop of enemy 1, set up.
    TLcfgMonsterItem& Lone() {
        MakeTroop(1, {{1, 100, 100, false}});
        troop.SetupTroop(1);
        return *troop.Member(0);
    }

    // How often each action of enemy 1 is chosen over many decisions.
    std::vector<int> Tally(int decisions) {
        TLcfgMonsterItem& e = Lone();
        std::vector<int> counts(4, 0);
        for (int i = 0; i < decisions; ++i) {
            e.DecideAction();
            const TLcfgUnitActItem& a = e.action;
            if (a.kind == TLcfgUnitActItem::kNone) ++counts[0];
            else if (a.basic == TLcfgUnitActItem::kAttack) ++counts[1];
            else if (a.basic == TLcfgUnitActItem::kDefend) ++counts[2];
            else ++counts[3];
        }
        return counts;
    }
};

TEST_F(EnemyTest, RatingsWeighTenLessTheirDistanceFromTheBest) {
    // Attack 50, defend 45, observe 40: weights 10, 5 and 0.
    Monster(1, Chunks().Int(4, 40).Data(42, Acts({Act(0, 0, 50), Act(0, 2, 45), Act(0, 3, 40)})));
    TLcfgMonsterItem& e = Lone();
    dice.ranges.clear();
    dice.script = {14};
    e.DecideAction();
    EXPECT_EQ(dice.ranges.front(), 15);
    EXPECT_EQ(e.action.basic, TLcfgUnitActItem::kDefend);  // 10..14 is the second action
    dice.script = {9, 0};
    e.DecideAction();
    EXPECT_EQ(e.action.basic, TLcfgUnitActItem::kAttack);
    EXPECT_EQ(e.action.targetKind, TLcfgUnitActItem::kOneMember);

    std::vector<int> counts = Tally(600);
    EXPECT_EQ(counts[3], 0);  // observe never
    EXPECT_GT(counts[1], counts[2]);
    EXPECT_GT(counts[2], 100);
}

TEST_F(EnemyTest, ActionsThatFailTheirConditionsLeaveNothing) {
    // A switch that is off, a turn count not reached, a skill it cannot pay.
    DbSkill->Find(1)->spCost = 99;
    Monster(1, Chunks().Int(4, 40).Int(5, 12).Data(42, Acts({Act(0, 0, 50, 1), Act(0, 0, 50, 2, 0, 9), Act(1, 1, 50),
                                                              Act(0, 2, 0)})));
    TLcfgMonsterItem& e = Lone();
    e.DecideAction();
    EXPECT_EQ(e.action.kind, TLcfgUnitActItem::kNone);

    // Own SP percent with a maximum of 0 reads as 0 percent.
    Monster(1, Chunks().Int(4, 40).Int(5, 0).Data(42, Acts({Act(0, 2, 50, 5, 0, 0)})));
    TLcfgMonsterItem& z = Lone();
    z.DecideAction();
    EXPECT_EQ(z.action.basic, TLcfgUnitActItem::kDefend);
    Monster(1, Chunks().Int(4, 0).Data(42, Acts({Act(0, 2, 50, 4, 1, 100)})));
    TLcfgMonsterItem& h = Lone();
    h.DecideAction();
    EXPECT_EQ(h.action.kind, TLcfgUnitActItem::kNone);
}

TEST_F(EnemyTest, TargetsAreLivingMembersAndNoneLeavesTheActionEmpty) {
    Monster(1, Chunks().Int(4, 40).Data(42, Acts({Act(0, 2, 50)})));
    TLcfgMonsterItem& e = Lone();
    GamePartyInfo->Member(0)->hp = 0;
    // Charged: an attack on a living member, drawn again past the dead one.
    e.charged = 1;
    dice.script = {0, 0, 1};
    e.DecideAction();
    EXPECT_EQ(e.action.kind, TLcfgUnitActItem::kBasic);
    EXPECT_EQ(e.action.basic, TLcfgUnitActItem::kAttack);
    EXPECT_EQ(e.action.targetIndex, 1);

    // With nobody alive the draw would never end: no action instead.
    GamePartyInfo->Member(1)->hp = 0;
    e.DecideAction();
    EXPECT_EQ(e.action.kind, TLcfgUnitActItem::kNone);
    e.charged = 0;
    Monster(1, Chunks().Int(4, 40).Data(42, Acts({Act(0, 0, 50)})));
    e.DecideAction();
    EXPECT_EQ(e.action.kind, TLcfgUnitActItem::kNone);
}

TEST_F(EnemyTest, SkillsThatWouldDoNothingToTheirSideDropOut) {
    // On oneself changing nothing: never chosen. On one ally, healing HP:
    // any living enemy gains from it.
    Skill(2, Chunks().Int(12, TLcfSkillItem::kSelf));
    Skill(3, Chunks().Int(12, TLcfSkillItem::kOneAlly).Int(31, 1));
    Monster(1, Chunks().Int(4, 40).Data(42, Acts({Act(1, 2, 50), Act(1, 3, 50)})));
    MakeTroop(1, {{1, 100, 100, false}, {1, 200, 100, false}});
    troop.SetupTroop(1);
    TLcfgMonsterItem& e = *troop.Member(1);
    for (int i = 0; i < 20; ++i) {
        e.DecideAction();
        ASSERT_EQ(e.action.kind, TLcfgUnitActItem::kSkill);
        EXPECT_EQ(e.action.skillId, 3);
        EXPECT_EQ(e.action.targetKind, TLcfgUnitActItem::kOneEnemy);
    }
    // The ally search gives up after 100 draws and keeps index 0.
    troop.Member(0)->hp = 0;
    Monster(1, Chunks().Int(4, 40).Data(42, Acts({Act(1, 3, 50)})));
    dice.ranges.clear();
    dice.script.assign(101, 0);
    std::fill(dice.script.begin() + 1, dice.script.end(), 0);
    e.DecideAction();
    EXPECT_EQ(dice.ranges.size(), 101u);
    EXPECT_EQ(e.action.targetIndex, 0);
    // Everyone who could gain has fallen: the skill drops out.
    e.hp = 0;
    e.DecideAction();
    EXPECT_EQ(e.action.kind, TLcfgUnitActItem::kNone);
    // On itself: its own troop index.
    e.hp = 5;
    Skill(2, Chunks().Int(12, TLcfSkillItem::kSelf).Int(31, 1));
    Monster(1, Chunks().Int(4, 40).Data(42, Acts({Act(1, 2, 50)})));
    e.DecideAction();
    EXPECT_EQ(e.action.targetKind, TLcfgUnitActItem::kOneEnemy);
    EXPECT_EQ(e.action.targetIndex, 1);
}

TEST_F(EnemyTest, RandomAppearanceSparesTheFirstShownEnemyAndEveryClearDraws) {
    MakeTroop(1, {{1, 50, 100, true}, {1, 100, 100, false}, {1, 150, 100, false}, {1, 200, 100, false}}, true);
    dice.ranges.clear();
    dice.script = {0, 0, 0, 14, 0, 0};
    troop.SetupTroop(1);
    // Each enemy's frame counter, then whether it appears.
    EXPECT_EQ(dice.ranges, (std::vector<int32_t>{64, 64, 64, 15, 64, 15}));
    EXPECT_EQ(troop.Member(0)->present, 0);  // hidden, no draw
    EXPECT_EQ(troop.Member(1)->present, 1);  // the first shown: no draw
    EXPECT_EQ(troop.Member(2)->present, 0);  // 14: not below 9
    EXPECT_EQ(troop.Member(3)->present, 1);
    for (int i = 0; i < 20; ++i) {
        troop.SetupTroop(1);
        EXPECT_EQ(troop.Member(1)->present, 1);
    }
}

TEST_F(EnemyTest, PlacementMirrorsOnABackAttackAndKeepsPicturesOnScreen) {
    Picture("tall", 60, 100);
    Monster(1, Chunks().Str(2, "tall").Int(4, 40));
    MakeTroop(1, {{1, 100, 20, false}, {1, 250, 220, false}, {1, 40, 120, true}});
    troop.SetupTroop(1);
    EXPECT_EQ(troop.Member(0)->battleY, 50);  // 20 lifted to half the picture
    EXPECT_EQ(troop.Member(1)->battleY, 180);
    EXPECT_EQ(troop.Member(2)->battleX, 40);
    EXPECT_EQ(troop.Member(0)->gauge, IBattleSceneLink::kFullGauge / 2);
    EXPECT_EQ(troop.Member(2)->gauge, 0);  // hidden
    EXPECT_EQ(troop.Member(0)->homeX, troop.Member(0)->battleX);

    // A picture taller than the band: the upper limit is tested first.
    Picture("giant", 200, 240);
    Monster(2, Chunks().Str(2, "giant").Int(4, 40));
    MakeTroop(2, {{2, 160, 150, false}, {2, 160, 60, false}});
    troop.SetupTroop(2);
    EXPECT_EQ(troop.Member(0)->battleY, 110);
    EXPECT_EQ(troop.Member(1)->battleY, 120);

    scene.startCondition = kStartBackAttack;
    troop.SetupTroop(1);
    EXPECT_EQ(troop.Member(0)->battleX, 220);
    EXPECT_EQ(troop.Member(0)->gauge, IBattleSceneLink::kFullGauge);
    EXPECT_EQ(troop.Member(0)->facing, 1);

    scene.startCondition = kStartNormal;
    scene.firstStrike = true;
    troop.SetupTroop(1);
    EXPECT_EQ(troop.Member(0)->gauge, 0);
}

TEST_F(EnemyTest, SurroundStartsNeedTheGridAndTwoOnTheSurroundedSide) {
    Monster(1, Chunks().Int(4, 40));
    MakeTroop(1, {{1, 100, 100, false}, {1, 200, 100, false}});
    scene.startCondition = kStartSurround;
    troop.SetupTroop(1);
    EXPECT_EQ(scene.startCondition, kStartInitiative);  // no grid
    scene.startCondition = kStartPincer;
    troop.SetupTroop(1);
    EXPECT_EQ(scene.startCondition, kStartBackAttack);

    DbBattle->autoPlacement = 1;
    scene.startCondition = kStartPincer;
    troop.SetupTroop(1);
    EXPECT_EQ(scene.startCondition, kStartPincer);
    // Placed by the grid: the two ends of the screen, facing each other.
    EXPECT_GT(troop.Member(0)->battleX, 160);
    EXPECT_LT(troop.Member(1)->battleX, 160);
    EXPECT_EQ(troop.Member(0)->facing, 1);
    EXPECT_EQ(troop.Member(1)->facing, 0);
    EXPECT_EQ(troop.Member(0)->gauge, IBattleSceneLink::kFullGauge);
    // A hidden enemy takes its place as if the whole group stood: third of
    // three at the right end (304), not third of two (288).
    MakeTroop(3, {{1, 100, 100, false}, {1, 200, 100, false}, {1, 50, 50, true}});
    troop.SetupTroop(3);
    EXPECT_EQ(troop.Member(2)->battleX, 304);
    EXPECT_EQ(troop.Member(2)->gauge, 0);
    // One enemy cannot surround anyone.
    MakeTroop(2, {{1, 100, 100, false}, {1, 200, 100, true}});
    troop.SetupTroop(2);
    EXPECT_EQ(scene.startCondition, kStartBackAttack);
    // The battle's terrain gives the grid.
    scene.startCondition = kStartSurround;
    troop.SetupTroop(1);
    const int32_t y0 = troop.Member(0)->battleY;
    DbGround->GetOrCreate(1)->gridTop = 200;
    scene.terrainId = 1;
    scene.startCondition = kStartSurround;
    troop.SetupTroop(1);
    EXPECT_EQ(troop.Member(0)->battleY - y0, 200 - 112);
    // A party of one cannot surround either.
    GamePartyInfo->RemoveMember(2);
    scene.startCondition = kStartSurround;
    troop.SetupTroop(1);
    EXPECT_EQ(scene.startCondition, kStartInitiative);
    EXPECT_EQ(troop.Member(0)->gauge, 0);
}

TEST_F(EnemyTest, FacingTurnsTowardTheParty) {
    Monster(1, Chunks().Int(4, 40));
    MakeTroop(1, {{1, 100, 100, false}, {1, 200, 100, false}});
    troop.SetupTroop(1);
    GamePartyInfo->Member(0)->battleX = 150;
    GamePartyInfo->Member(1)->battleX = 260;
    troop.UpdateFacing();
    EXPECT_EQ(troop.Member(0)->facing, 0);  // someone stands to its right
    EXPECT_EQ(troop.Member(1)->facing, 0);
    GamePartyInfo->Member(1)->present = 0;
    troop.UpdateFacing();
    EXPECT_EQ(troop.Member(1)->facing, 1);  // the absent one does not count
    scene.startCondition = kStartBackAttack;
    troop.UpdateFacing();
    EXPECT_EQ(troop.Member(0)->facing, 0);
    EXPECT_EQ(troop.Member(1)->facing, 1);
}

TEST_F(EnemyTest, TransformKeepsHpAndSpUnlessTheNewMaximaAreLower) {
    Monster(2, Chunks().Int(4, 25).Int(5, 50));
    TLcfgMonsterItem& e = Lone();
    EXPECT_EQ(e.hp, 40);
    EXPECT_EQ(e.sp, 12);
    e.Transform(2);
    EXPECT_EQ(e.EnemyId(), 2);
    EXPECT_EQ(e.hp, 25);
    EXPECT_EQ(e.sp, 12);
    EXPECT_EQ(e.flashDuration, 20);
    EXPECT_THROW(e.Transform(9), Exception);
    EXPECT_EQ(e.EnemyId(), 2);
}

TEST_F(EnemyTest, FiguresOfTheTroop) {
    EXPECT_EQ(troop.AverageAgility(), 1);  // empty troop
    Monster(1, Chunks().Int(4, 40).Int(9, 7).Int(21, 1).Int(22, 0).Int(26, 1));
    Monster(2, Chunks().Int(4, 40).Int(9, 10).Int(21, 1).Int(22, 20));
    MakeTroop(1, {{1, 100, 100, false}, {2, 200, 100, true}});
    troop.SetupTroop(1);
    EXPECT_EQ(troop.AverageAgility(), 8);  // hidden ones count
    EXPECT_EQ(troop.AliveCount(), 1);
    EXPECT_EQ(troop.Member(0)->CriticalRate(), 0);  // a chance of 0: none
    EXPECT_EQ(troop.Member(1)->CriticalRate(), 5);
    EXPECT_EQ(troop.Member(0)->HitRate(), 70);
    EXPECT_EQ(troop.Member(1)->HitRate(), 90);
    EXPECT_THROW(troop.Member(2), Exception);
    try {
        troop.Member(-1);
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Event script referenced a monster that does not exist.");
    }
    troop.Member(1)->turnCounter = 4;
    troop.ResetTurnCounts();
    EXPECT_EQ(troop.Member(1)->turnCounter, 0);
    EXPECT_THROW(troop.SetupTroop(7), Exception);
}

TEST_F(EnemyTest, TimersRunDownAndTheBareHitEndsAfterTwentyFrames) {
    TLcfgMonsterItem& e = Lone();
    e.SetBlink(3);
    e.StartDeathFade();
    e.popupTimer = 10;
    const int32_t counter = e.frameCounter;
    troop.Update();
    EXPECT_EQ(e.blinkTimer, 2);
    EXPECT_EQ(e.deathFade, TLcfgMonsterItem::kDeathFadeFrames - 1);
    EXPECT_EQ(e.popupTimer, 6);
    EXPECT_EQ(e.frameCounter, counter + 1);
    e.hp = 0;
    EXPECT_TRUE(e.IsShown());  // still fading
    e.deathFade = 0;
    EXPECT_FALSE(e.IsShown());
    e.StartEscapeFade();
    EXPECT_EQ(e.DrawOrder(), e.battleY + 1000);

    troop.PlayAnimation(0, false, 0);
    int frames = 0;
    while (troop.Animation().Active() && frames < 100) {
        troop.Update();
        ++frames;
    }
    EXPECT_EQ(frames, 20);
}

TEST_F(EnemyTest, AnimationFlashesItsTargetsAndAScreenWideOneStopsOnTimeWithoutFlashOrShake) {
    MakeTroop(1, {{1, 100, 100, false}, {1, 200, 100, false}});
    troop.SetupTroop(1);
    TLcfAnimationItem& anim = *DbAnimation->GetOrCreate(1);
    anim.frames.SetCount(3);
    TLcfAnimationTimingItem& t = *anim.timings.GetOrCreate(1);
    t.frame = 1;
    t.flashScope = TLcfAnimationTimingItem::kTarget;
    t.flashStrength = 24;
    t.shake = 1;
    troop.PlayAnimation(1, false, 1);
    troop.Update();  // counter 1, frame 0
    EXPECT_EQ(troop.Member(0)->flashStrength, 0);
    EXPECT_EQ(troop.Member(1)->flashStrength, 28);
    EXPECT_EQ(troop.Member(1)->shakeDuration, 30);
    for (int i = 0; i < 10 && troop.Animation().Active(); ++i) troop.Update();
    EXPECT_FALSE(troop.Animation().Active());
    EXPECT_EQ(troop.Animation().Counter(), 6);

    troop.PlayAnimation(1, false, TLcfgSideAnimation::kWholeSide);
    troop.Update();
    EXPECT_EQ(troop.Member(0)->flashStrength, 28);

    EXPECT_EQ(troop.Animation().Graphic().FrameShake(0), 1);

    // Screen-wide: as long as its timings (last at frame 19), past the flash
    // tables of a three-frame animation; its timings set up no flash and no
    // shake, so nothing flashes or shakes (its sounds still play).
    anim.timings.GetOrCreate(2)->frame = 19;
    troop.Member(0)->StartFlash(0, 0, 0, 0, 0);
    troop.Member(0)->shakeDuration = 0;
    troop.PlayAnimation(1, false, TLcfgSideAnimation::kScreen);
    EXPECT_EQ(troop.Animation().Graphic().TargetFlash(0).strength, 0);
    EXPECT_EQ(troop.Animation().Graphic().FrameShake(0), 0);
    int frames = 0;
    while (troop.Animation().Active() && frames < 100) {
        troop.Update();
        ++frames;
    }
    EXPECT_EQ(frames, 38);
    EXPECT_EQ(troop.Member(0)->flashStrength, 0);
    EXPECT_EQ(troop.Member(0)->shakeDuration, 0);
    EXPECT_THROW(troop.PlayAnimation(5, false, 0), Exception);
}

}  // namespace

namespace {

int LitPixels(const TSorvoBoard& board, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += board.ScanLine(y)[x] != 0;
    return n;
}

TEST_F(EnemyTest, DrawnCentredWhileShownAndNotBlinking) {
    Picture("blob", 20, 10);
    Monster(1, Chunks().Str(2, "blob").Int(4, 40));
    TLcfgMonsterItem& e = Lone();
    TSorvoBoard board;
    board.SetSize(320, 240);
    e.Draw(board);
    const int lit = LitPixels(board, 90, 95, 110, 105);
    EXPECT_GT(lit, 190);
    EXPECT_EQ(LitPixels(board, 0, 0, 320, 240), lit);
    board.Clear();
    e.SetBlink(5);  // 5 mod 10 is above 4: the dark half of the blink
    e.Draw(board);
    e.hp = 0;  // fallen, no fade
    e.SetBlink(0);
    e.Draw(board);
    EXPECT_EQ(LitPixels(board, 0, 0, 320, 240), 0);
    e.StartDeathFade();
    e.Draw(board);
    EXPECT_GT(LitPixels(board, 90, 95, 110, 105), 190);
    EXPECT_EQ(e.Picture().Opacity, TLcfgMonsterItem::kDeathFadeFrames * 7);
    // Its flash strength rounds half to even; a translucent enemy at 160/255.
    Monster(1, Chunks().Str(2, "blob").Int(4, 40).Int(10, 1));
    e.hp = 40;
    e.deathFade = 0;
    e.flashStrength = 2.5;
    e.Draw(board);
    EXPECT_EQ(e.Picture().ColorControl1.FlashStrength, 2);
    EXPECT_EQ(e.Picture().Opacity, 160);
    e.flashStrength = 3.5;
    e.facing = 1;
    e.Draw(board);
    EXPECT_EQ(e.MirroredPicture().ColorControl1.FlashStrength, 4);
}

}  // namespace

// Places from a game file may be any 32-bit value: far off screen the
// enemy stays (mirrored on a back attack), shakes there and draws nothing,
// and its depth still sorts it by its place.
TEST_F(EnemyTest, EnemiesAtExtremePlacesStayOffScreenWhenShakenAndSortByDepth) {
    Picture("blob", 20, 10);
    Monster(1, Chunks().Str(2, "blob").Int(4, 40));
    MakeTroop(1, {{1, INT32_MIN, 100, false}, {1, INT32_MAX, 120, false}});
    for (int cond : {kStartNormal, kStartBackAttack}) {
        SCOPED_TRACE(cond);
        scene.startCondition = cond;
        troop.SetupTroop(1);
        TLcfgMonsterItem& left = *troop.Member(cond == kStartNormal ? 0 : 1);
        TLcfgMonsterItem& right = *troop.Member(cond == kStartNormal ? 1 : 0);
        EXPECT_LT(left.battleX, -1000000);
        EXPECT_GT(right.battleX, 1000000);
        TSorvoBoard board;
        board.SetSize(320, 240);
        for (TLcfgMonsterItem* e : {&left, &right}) {
            e->shakeOffsetX = e == &left ? INT32_MIN + 5 : INT32_MAX - 5;
            e->Draw(board);
        }
        EXPECT_EQ(LitPixels(board, 0, 0, 320, 240), 0);
    }
    MakeTroop(1, {{1, 100, INT32_MAX, false}, {1, 100, INT32_MIN, false}});
    troop.SetupTroop(1);
    EXPECT_GT(troop.Member(0)->DrawOrder(), troop.Member(1)->DrawOrder());
}
