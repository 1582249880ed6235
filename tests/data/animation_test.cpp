// Battle animations and battler animation sets.
#include <gtest/gtest.h>

#include "data/database/animation.h"
#include "data/database/animation2.h"
#include "support/error_message.h"
#include "support/lcf_builder.h"

using namespace lcf_builder;
using testing_support::MessageOf;

TEST(Animation, ClearedAnimationHas20EmptyFramesAndNoTimings) {
    TLcfAnimationItem a(1);
    EXPECT_EQ(a.FrameCount(), 20);
    EXPECT_EQ(a.frames.Items(19)->Id(), 20);
    EXPECT_EQ(a.frames.Items(0)->cells.Count(), 0);
    EXPECT_EQ(a.timings.Count(), 0);
    EXPECT_EQ(a.position, TLcfAnimationItem::kBottom);
    // The two fixed bytes and both lists are always written.
    Bytes twenty = VarInt(20);
    for (int id = 1; id <= 20; ++id) twenty = Concat({twenty, VarInt(id), Chunks().Data(1, VarInt(0)).End()});
    EXPECT_EQ(SaveRecord(a),
              Chunks().Data(6, VarInt(0)).Data(9, {0}).Data(10, {2}).Data(12, twenty).End());
    TLcfAnimationItem back(1);
    LoadRecord(back, SaveRecord(a));
    EXPECT_EQ(back.FrameCount(), 20);
    // A record without chunk 12 keeps the 20 frames; an empty list has none.
    LoadRecord(back, Chunks().Str(1, "Fire").End());
    EXPECT_EQ(back.FrameCount(), 20);
    LoadRecord(back, Chunks().Data(12, VarInt(0)).End());
    EXPECT_EQ(back.FrameCount(), 0);
}

TEST(Animation, FullRecordRoundTrips) {
    TLcfAnimationItem a(4);
    a.name = "Fire";
    a.image = "Fire1";
    a.large = 1;
    a.scope = 1;
    a.position = TLcfAnimationItem::kCentre;
    a.frames.SetCount(2);
    TLcfAnimationCellItem* cell = a.frames.Items(1)->cells.Add();
    cell->visible = 0;
    cell->pattern = 7;
    cell->x = -40;
    cell->transparency = 30;
    TLcfAnimationTimingItem* t = a.timings.Add();
    t->frame = 2;
    t->sound.name = "Fire";
    t->flashScope = TLcfAnimationTimingItem::kScreen;
    t->flashRed = 0;
    t->shake = 1;
    Bytes saved = SaveRecord(a);
    TLcfAnimationItem back(4);
    LoadRecord(back, saved);
    EXPECT_EQ(back.image, "Fire1");
    EXPECT_EQ(back.FrameCount(), 2);
    const TLcfAnimationCellItem* c = back.frames.Items(1)->cells.Items(0);
    EXPECT_EQ(c->visible, 0);
    EXPECT_EQ(c->x, -40);
    EXPECT_EQ(c->zoom, 100);
    EXPECT_EQ(back.timings.Items(0)->sound.name, "Fire");
    EXPECT_EQ(back.timings.Items(0)->flashGreen, 31);
    EXPECT_EQ(back.timings.Items(0)->flashRed, 0);
    EXPECT_EQ(SaveRecord(back), saved);
}

TEST(Animation, RepeatedItemIdsReadAsAnOrdinaryList) {
    // The same id twice: the later record wins and the data after it is
    // still read in step.
    Bytes one = Chunks().Str(1, "First").End();
    Bytes two = Chunks().Str(1, "Second").Data(12, VarInt(0)).End();
    Bytes three = Chunks().Str(1, "Third").End();
    TLcfAnimation table;
    table.SetCount(5);
    LoadList(table, List({{2, one}, {2, two}, {3, three}}));
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.FindAnimation(2)->name, "Second");
    EXPECT_EQ(table.FindAnimation(2)->FrameCount(), 0);
    EXPECT_EQ(table.FindAnimation(3)->name, "Third");
    EXPECT_EQ(MessageOf([&] { table.GetAnimation(2); }),
              "Event script referenced a battle animation that does not exist.");
}

TEST(Animation, OpacityFollowsTransparencyWithinRange) {
    TLcfAnimationCellItem c;
    EXPECT_EQ(c.Opacity(), 255);
    c.transparency = 50;
    EXPECT_EQ(c.Opacity(), 127);
    c.transparency = 99;
    EXPECT_EQ(c.Opacity(), 2);
    c.transparency = 100;
    EXPECT_EQ(c.Opacity(), 0);
    c.transparency = 150;
    EXPECT_EQ(c.Opacity(), 0);
    c.transparency = -50;
    EXPECT_EQ(c.Opacity(), 255);
    c.transparency = INT32_MIN;
    EXPECT_EQ(c.Opacity(), 255);
    c.transparency = INT32_MAX;
    EXPECT_EQ(c.Opacity(), 0);
}

TEST(Animation2, ClearedSetHas32NamedPosesAnd32Weapons) {
    TLcfAnimation2Item s(1);
    ASSERT_EQ(s.poses.Count(), 32);
    ASSERT_EQ(s.weapons.Count(), 32);
    EXPECT_EQ(s.poses.GetPose(0)->name, "Idle Stance");
    EXPECT_EQ(s.poses.GetPose(11)->name, "Item");
    EXPECT_EQ(s.poses.GetPose(12)->name, "");
    EXPECT_EQ(s.poses.GetPose(31)->Id(), 32);
    EXPECT_EQ(s.poses.GetPose(4)->animationId, 1);
    EXPECT_EQ(MessageOf([&] { s.poses.GetPose(32); }), "Event script referenced a battle pose that does not exist.");
    EXPECT_EQ(MessageOf([&] { s.poses.GetPose(-1); }), "Event script referenced a battle pose that does not exist.");
    EXPECT_EQ(s.weapons.GetWeaponAnimation(31)->Id(), 32);
    EXPECT_EQ(MessageOf([&] { s.weapons.GetWeaponAnimation(32); }),
              "Event script referenced a weapon animation that does not exist.");
}

TEST(Animation2, RoundTripAndMissingListsKeepTheDefaults) {
    TLcfAnimation2Item s(2);
    s.name = "Knight";
    s.poses.GetPose(3)->kind = TLcfBattleMyCharacterItem::kAnimation;
    s.poses.GetPose(3)->animationId = 9;
    s.poses.GetPose(3)->image = "Knight";
    s.weapons.GetWeaponAnimation(0)->image = "Sword";
    s.weapons.GetWeaponAnimation(0)->index = 2;
    Bytes saved = SaveRecord(s);
    TLcfAnimation2Item back(2);
    LoadRecord(back, saved);
    EXPECT_EQ(back.poses.GetPose(3)->animationId, 9);
    EXPECT_EQ(back.poses.GetPose(0)->name, "Idle Stance");
    EXPECT_EQ(back.weapons.GetWeaponAnimation(0)->index, 2);
    EXPECT_EQ(SaveRecord(back), saved);
    LoadRecord(back, Chunks().Str(1, "Bare").Int(2, 5).End());
    EXPECT_EQ(back.reserved2, 5);
    EXPECT_EQ(back.poses.Count(), 32);
    EXPECT_EQ(back.poses.GetPose(1)->name, "Right Hand");
}
