// Items and skills: flag sets, trimming, fixed blocks and kind helpers.
#include <gtest/gtest.h>

#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/skill.h"
#include "support/lcf_builder.h"

using namespace lcf_builder;

TEST(Item, ClearedItemWritesItsFixedBlocksAndOneDisplayEntry) {
    TLcfItemItem it(1);
    EXPECT_EQ(it.uses, 1);
    EXPECT_EQ(it.hitRate, 90);
    EXPECT_EQ(it.reserved69, -1);
    ASSERT_EQ(it.battleDisplay.Count(), 1);
    Bytes display = List({{1, Chunks().End()}});
    EXPECT_EQ(SaveRecord(it), Chunks()
                                  .Data(3, {0})
                                  .Data(15, {0})
                                  .Data(31, {0})
                                  .Data(51, {0})
                                  .Data(62, {})
                                  .Data(64, {})
                                  .Data(66, {})
                                  .Data(70, display)
                                  .Data(73, {})
                                  .End());
}

TEST(Item, FlagSetsReadTheirDefaultsOutsideTheStoredRange) {
    TLcfItemItem it(1);
    LoadRecord(it, Chunks().Int(61, 2).Data(62, {0, 1}).Int(63, 1).Data(64, {1}).Int(72, 1).Data(73, {0}).End());
    EXPECT_EQ(it.GetHeroFlag(1), 0);
    EXPECT_EQ(it.GetHeroFlag(2), 1);
    EXPECT_EQ(it.GetHeroFlag(3), 1);  // outside: anyone may use it
    EXPECT_EQ(it.GetHeroFlag(0), 1);
    EXPECT_EQ(it.GetJobFlag(0), 0);  // the class flags start at "no class"
    EXPECT_EQ(it.GetJobFlag(1), 1);
    EXPECT_EQ(it.GetJobFlag(-1), 1);
    EXPECT_EQ(it.GetStatusFlag(1), 1);
    EXPECT_EQ(it.GetStatusFlag(2), 0);
    EXPECT_EQ(it.GetAttribFlag(1), 0);
    EXPECT_EQ(it.GetAttribFlag(INT32_MIN), 0);
    // Without chunks 61/62 every hero may use it.
    LoadRecord(it, Chunks().Str(1, "Potion").End());
    for (int hero = 1; hero <= 50; ++hero) EXPECT_EQ(it.GetHeroFlag(hero), 1);
}

TEST(Item, ConditionAndAttributeSetsAreTrimmedHeroSetsAreNot) {
    TLcfItemItem it(1);
    for (int id = 1; id <= 10; ++id) it.conditionSet.SetEntry(id, 0);
    it.conditionSet.SetEntry(3, 1);
    it.heroSet.SetEntry(4, 1);  // all 1, written as it is
    Bytes saved = SaveRecord(it);
    TLcfItemItem back(1);
    LoadRecord(back, saved);
    EXPECT_EQ(back.conditionSet.Length(), 3);
    EXPECT_EQ(back.GetStatusFlag(3), 1);
    EXPECT_EQ(back.heroSet.Length(), 4);
    EXPECT_EQ(SaveRecord(back), saved);
    // The database's attributes bound the attribute set.
    TLcfDataBase db;
    DbAttrib->SetCount(2);
    it.attributeSet.SetEntry(5, 1);
    it.attributeSet.SetEntry(1, 1);
    LoadRecord(back, SaveRecord(it));
    EXPECT_EQ(back.attributeSet.Length(), 1);
    // Cut at the limit, the set also loses the defaults before the cut.
    it.attributeSet.Reset();
    it.attributeSet.SetEntry(1, 1);
    it.attributeSet.SetEntry(3, 1);
    DbAttrib->SetCount(2);
    saved = SaveRecord(it);
    LoadRecord(back, saved);
    EXPECT_EQ(back.attributeSet.Length(), 1);
    EXPECT_EQ(SaveRecord(back), saved);
}

TEST(Item, KindsSlotsAndTwoHandedWeapons) {
    TLcfItemItem it(1);
    const int slots[] = {-1, 0, 1, 2, 3, 4, -1, -1, -1, -1, -1, -1};
    for (int k = 0; k <= 11; ++k) {
        it.kind = static_cast<uint8_t>(k);
        EXPECT_EQ(it.EquipSlot(), slots[k]) << k;
        EXPECT_EQ(it.IsWeapon(), k == 1);
        EXPECT_EQ(it.IsArmor(), k >= 2 && k <= 5);
    }
    it.kind = TLcfItemItem::kWeapon;
    it.twoHanded = 1;
    EXPECT_TRUE(it.IsTwoHandedWeapon());
    it.twoHanded = 2;
    EXPECT_FALSE(it.IsTwoHandedWeapon());
    it.twoHanded = 1;
    it.kind = TLcfItemItem::kShield;
    EXPECT_FALSE(it.IsTwoHandedWeapon());
    // The kind is a fixed block: a chunk of another length is ignored.
    LoadRecord(it, Chunks().Data(3, {1, 0}).Data(15, {1}).End());
    EXPECT_EQ(it.kind, TLcfItemItem::kCommon);
    EXPECT_EQ(it.twoHanded, 1);
}

TEST(Item, FullItemRoundTrips) {
    TLcfItemItem it(2);
    it.name = "Bow";
    it.description = "Shoots";
    it.kind = TLcfItemItem::kWeapon;
    it.price = 500;
    it.attackBonus = 12;
    it.twoHanded = 1;
    it.holdsBothHands = 1;
    it.parameterIncrease[5] = 3;
    it.switchOnField = 0;
    it.reserved69 = 0;
    it.performsSkill = 1;
    it.projectileTarget = 3;
    it.classSet.SetEntry(2, 0);  // class 1
    it.battleDisplay.SetCount(3);
    it.battleDisplay.FindCBA(3)->ranged = 1;
    it.battleDisplay.FindCBA(3)->projectileSpeed = 1;
    Bytes saved = SaveRecord(it);
    TLcfItemItem back(2);
    LoadRecord(back, saved);
    EXPECT_EQ(back.description, "Shoots");
    EXPECT_EQ(back.parameterIncrease[5], 3);
    EXPECT_EQ(back.reserved69, 0);
    EXPECT_EQ(back.GetJobFlag(1), 0);
    EXPECT_EQ(back.battleDisplay.FindCBA(3)->ProjectileFlightCounts(), 80);
    EXPECT_EQ(SaveRecord(back), saved);
}

TEST(Skill, ClearedSkillAndKinds) {
    TLcfSkillItem s(1);
    EXPECT_TRUE(s.sound.IsOff());
    EXPECT_EQ(s.spiritInfluence, 3);
    EXPECT_EQ(s.variance, 4);
    EXPECT_EQ(s.reserved49, -1);
    EXPECT_EQ(s.battleDisplay.Count(), 1);
    EXPECT_EQ(SaveRecord(s), Chunks()
                                 .Data(8, {0})
                                 .Data(12, {0})
                                 .Record(16, Chunks().Str(1, "(OFF)"))
                                 .Data(42, {})
                                 .Data(44, {})
                                 .Data(50, List({{1, Chunks().End()}}))
                                 .End());
    const bool normal[] = {true, false, false, false, true, true};
    for (int k = 0; k < 6; ++k) {
        s.kind = static_cast<uint8_t>(k);
        EXPECT_EQ(s.IsNormalKind(), normal[k]) << k;
    }
}

TEST(Skill, FullSkillRoundTripsWithTrimmedSets) {
    TLcfDataBase db;
    DbStatus->SetCount(4);
    DbAttrib->SetCount(3);
    TLcfSkillItem s(5);
    s.name = "Heal";
    s.message1 = "casts";
    s.kind = TLcfSkillItem::kSwitch;
    s.scope = TLcfSkillItem::kAllAllies;
    s.sound.name = "Chime";
    s.usableInBattle = 1;
    s.attackInfluence = -2;
    s.reserved49 = 7;
    for (int id = 1; id <= 8; ++id) s.conditionSet.SetEntry(id, 1);
    s.attributeSet.SetEntry(2, 1);
    s.battleDisplay.FindCBA(1)->skillPose = 10;
    Bytes saved = SaveRecord(s);
    TLcfSkillItem back(5);
    LoadRecord(back, saved);
    EXPECT_EQ(back.conditionSet.Length(), 4);
    EXPECT_EQ(back.GetStatusFlag(4), 1);
    EXPECT_EQ(back.GetStatusFlag(5), 0);
    EXPECT_EQ(back.GetAttribFlag(2), 1);
    EXPECT_EQ(back.sound.name, "Chime");
    EXPECT_EQ(back.battleDisplay.FindCBA(1)->skillPose, 10);
    EXPECT_EQ(SaveRecord(back), saved);
    TLcfSkill table;
    EXPECT_THROW(table.FindSkill(1), Exception);
}
