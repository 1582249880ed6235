// Actors: reset from the database, names, levels and experience, class
// change, equipment, battle commands, battle properties and the save form.
#include <gtest/gtest.h>

#include "battle_world_fixture.h"
#include "game/actors/player.h"
#include "data/database/database.h"

using namespace battle_world;

namespace {

class ActorTest : public BattleWorldTest {
protected:
    void SetUp() override {
        BattleWorldTest::SetUp();
        DbVocabulary->Set(TLcfVocabulary::kLevel, "Lv");
        DbVocabulary->Set(TLcfVocabulary::kLevelUp, "up!");
        DbVocabulary->Set(TLcfVocabulary::kSkillLearned, " learned");
        // Items: 1 sword, 2 two-handed axe, 3 shield, 4 armour granting
        // condition 3, 5 helmet, 6 two-handed axe holding both hands.
        Item(1, Chunks().Str(1, "Sword").Data(3, {1}).Int(11, 10).Int(14, 2).Int(17, 80).Int(18, 5).Int(65, 1).Data(66, {1}));
        Item(2, Chunks().Str(1, "Axe").Data(3, {1}).Int(11, 30).Data(15, {1}));
        Item(3, Chunks().Str(1, "Shield").Data(3, {2}).Int(12, 5).Int(14, 1));
        Item(4, Chunks().Str(1, "Cursed").Data(3, {3}).Int(63, 3).Data(64, {0, 0, 1}).Int(68, 1));
        Item(5, Chunks().Str(1, "Cap").Data(3, {4}).Int(12, 2).Int(25, 1));
        Item(6, Chunks().Str(1, "Great").Data(3, {1}).Data(15, {1}).Int(29, 1));
        for (int s = 1; s <= 5; ++s) Skill(s, Chunks().Str(1, "Skill" + std::to_string(s)));
        Hero(1, Chunks()
                    .Str(1, "Alex")
                    .Str(2, "Knight")
                    .Int(7, 3)
                    .Int(10, 30)
                    .Data(31, RisingCurves({100, 20, 15, 10, 10, 10}, 10))
                    .Int(41, 30)
                    .Int(42, 0)
                    .Int(43, 0)
                    .Data(51, U16s({1, 3, 0, 5, 0}))
                    .Data(63, Learning({{1, 1}, {3, 2}, {5, 3}}))
                    .Data(80, Commands({1, 2, 3, -1, -1, -1, -1})));
        Hero(2, Chunks().Str(1, "Bea").Data(31, FlatCurves(50, 10, 5, 5, 5, 5)).Data(51, U16s({2, 3, 0, 0, 0})));
        Class(1, Chunks()
                     .Str(1, "Mage")
                     .Data(31, FlatCurves(80, 60, 5, 5, 40, 5))
                     .Int(41, 30)
                     .Int(42, 0)
                     .Data(63, Learning({{1, 4}, {2, 5}}))
                     .Int(23, 1)
                     .Data(80, Commands({4, -1, -1, -1, -1, -1, 0})));
        StartGame();
    }
};

}  // namespace

TEST_F(ActorTest, ResetFromTheDatabase) {
    TLcfgPlayerItem& a = Actor(1);
    EXPECT_EQ(a.Level(), 3);
    EXPECT_EQ(a.Exp(), 60);  // base 30: (3 - 1) x 30
    EXPECT_EQ(a.hp, 120);
    EXPECT_EQ(a.MaxHP(), 120);
    EXPECT_EQ(a.skills, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(a.Equipment(0), 1);
    EXPECT_EQ(a.Equipment(1), 3);
    EXPECT_EQ(a.Equipment(3), 5);
    EXPECT_EQ(a.BaseAttack(), 35 + 10);
    EXPECT_EQ(a.BaseDefense(), 30 + 5 + 2);
    // The second hero's initial shield gives way to its two-handed axe.
    EXPECT_EQ(Actor(2).Equipment(0), 2);
    EXPECT_EQ(Actor(2).Equipment(1), 0);
    EXPECT_EQ(DbPlayer->FindPlayer(2)->GetInitialEquipment(1), 0);  // dropped in the loaded database
    EXPECT_EQ(a.BattleCommand(0), 1);
    EXPECT_EQ(a.BattleCommand(6), -1);
    EXPECT_EQ(a.BattleCommand(-1), -1);
}

TEST_F(ActorTest, NamesStoreTheSentinelForTheDatabaseValue) {
    TLcfgPlayerItem& a = Actor(1);
    EXPECT_EQ(a.GetName(), "Alex");
    a.SetName("Max");
    EXPECT_EQ(a.name, "Max");
    a.SetName("Alex");
    EXPECT_EQ(a.name, "\001");
    Hero(1, Chunks().Str(1, "Alexander"));
    EXPECT_EQ(a.GetName(), "Alexander");  // a later database rename shows through
    a.SetFace("Other", 2);
    EXPECT_EQ(a.FaceName(), "Other");
    a.SetFace("", 0);
    EXPECT_TRUE(a.faceName.empty());
}

TEST_F(ActorTest, ExperienceCurveLevelsAndMessages) {
    TLcfgPlayerItem& a = Actor(1);
    EXPECT_EQ(a.ExpForLevel(3), 60);
    EXPECT_EQ(a.ExpForLevel(1), 0);
    a.GainExp(60, true);  // 120 = level 5: learns skill 3
    EXPECT_EQ(a.Level(), 5);
    EXPECT_TRUE(a.KnowsSkill(3));
    ASSERT_EQ(world.lines.size(), 3u);
    EXPECT_EQ(world.lines[0], "Alex Lv 5\001up!");
    EXPECT_EQ(world.lines[1], "Skill3 learned");
    EXPECT_EQ(world.lines[2], "");
    EXPECT_EQ(a.hp, 120);  // a level-up does not raise HP
    a.LoseExp(100);
    EXPECT_EQ(a.Level(), 1);
    EXPECT_TRUE(a.KnowsSkill(3));  // known skills stay
    a.GainExp(2000000000, false);
    EXPECT_EQ(a.Exp(), 9999999);
    EXPECT_EQ(a.Level(), 99);

    // A level whose requirement passes 9999999 is never reached.
    Hero(2, Chunks().Str(1, "Bea").Int(41, 9000000).Int(42, 0));
    TLcfgPlayerItem& b = Actor(2);
    EXPECT_EQ(b.ExpForLevel(3), 10000000);
    EXPECT_EQ(b.MaxLevel(), 2);
    b.GainExp(9999999, false);
    EXPECT_EQ(b.Level(), 2);
}

TEST_F(ActorTest, RaisingALevelPastOneHundredAsksTheCurveThere) {
    Hero(2, Chunks().Str(1, "Bea").Int(7, 50).Int(8, 99).Int(41, 30).Int(42, 30).Int(43, 0));
    StartGame();
    TLcfgPlayerItem& b = Actor(2);
    ASSERT_EQ(b.Level(), 50);
    EXPECT_EQ(b.ExpForLevel(100), 151470);
    EXPECT_EQ(b.ExpForLevel(149), 335220);  // 148 x 30 + 30 x (1 + ... + 148)
    b.RaiseLevel(99, false);
    EXPECT_EQ(b.Exp(), 335220);
    EXPECT_EQ(b.Level(), 99);
    b.LowerLevel(200);
    EXPECT_EQ(b.Exp(), 0);
    EXPECT_EQ(b.Level(), 1);

    // Any level may be asked for: a flat curve answers at once, a steep one
    // stops at 10000000, a falling one is held at -10000000.
    Hero(2, Chunks().Str(1, "Bea").Int(41, 0).Int(42, 0).Int(43, 0));
    EXPECT_EQ(b.ExpForLevel(INT32_MAX), 0);
    Hero(2, Chunks().Str(1, "Bea").Int(41, 1).Int(42, 1).Int(43, 0));
    EXPECT_EQ(b.ExpForLevel(INT32_MAX), 10000000);
    Hero(2, Chunks().Str(1, "Bea").Int(41, -5).Int(42, 0).Int(43, 0));
    EXPECT_EQ(b.ExpForLevel(INT32_MAX), -10000000);
    // A falling increment is judged at its first step.
    Hero(2, Chunks().Str(1, "Bea").Int(41, 0).Int(42, -100).Int(43, 5000100));
    EXPECT_EQ(b.ExpForLevel(3), 10000000);  // 10000200 - 100 passes the limit, though - 300 would not
    EXPECT_EQ(b.ExpForLevel(2), 5000000);
}

TEST_F(ActorTest, ClassChangeSkillModes) {
    TLcfgPlayerItem& a = Actor(1);  // level 3, skills 1 and 2
    a.ChangeClass(1, false, 0, 3, false);
    EXPECT_EQ(a.skills, (std::vector<int32_t>{1, 2}));  // mode 0: the old list
    EXPECT_EQ(a.Level(), 3);
    EXPECT_EQ(a.classField, 1);
    EXPECT_EQ(a.autoBattle, 1);
    EXPECT_EQ(a.BattleCommand(0), 4);
    EXPECT_EQ(a.MaxHP(), 80);  // the class's curves

    a.ChangeClass(-1, false, 0, 3, false);
    a.ChangeClass(1, false, 1, 3, true);
    EXPECT_EQ(a.skills, (std::vector<int32_t>{4, 5}));  // mode 1: the class's up to level 3
    EXPECT_FALSE(world.lines.empty());

    a.ChangeClass(-1, false, 0, 3, false);
    a.skills = {1, 2};
    a.ChangeClass(1, true, 2, 3, false);
    EXPECT_EQ(a.Level(), 1);
    EXPECT_EQ(a.skills, (std::vector<int32_t>{1, 2, 4}));  // mode 2: the union with the class's level-1 skills

    // The same class again is no real change: nothing is unequipped.
    a.Equip(0, 0);
    GamePartyInfo->GainItem(1, 1);
    a.Equip(0, 1);
    a.ChangeClass(1, false, 1, 3, false);
    EXPECT_EQ(a.Equipment(0), 1);
}

TEST_F(ActorTest, ClassChangeParameterModes) {
    TLcfgPlayerItem& a = Actor(1);
    int32_t oldHp = a.MaxHP();
    a.ChangeClass(1, false, 0, 0, false);  // keep old values: effective, set directly
    EXPECT_EQ(a.MaxHP(), oldHp);
    EXPECT_EQ(a.EffectiveAttack(), 35);  // remembered after the equipment came off
    EXPECT_EQ(a.EffectiveSpirit(), 30);  // the class's 40 brought back to the hero's 30
    EXPECT_EQ(a.GetName(), "Alex");

    TLcfgPlayerItem& b = Actor(2);
    int32_t bHp = b.MaxHP();
    b.ChangeClass(1, false, 0, 1, false);  // halved
    EXPECT_EQ(b.MaxHP(), bHp / 2);
    b.ChangeClass(1, false, 0, 2, false);  // the class's level-1 values (flat: no change)
    EXPECT_EQ(b.MaxHP(), 80);
    EXPECT_EQ(b.hp, 25);  // the halved maximum had capped HP
}

TEST_F(ActorTest, ClassZeroUsesTheHerosOwnData) {
    TLcfgPlayerItem& a = Actor(1);
    a.ChangeClass(1, false, 1, 3, false);
    // No class record 0 exists; the hero's own curves and skills stand in.
    ASSERT_NO_THROW(a.ChangeClass(0, true, 1, 2, false));
    EXPECT_EQ(a.classField, 0);
    EXPECT_EQ(a.Level(), 1);
    EXPECT_EQ(a.skills, (std::vector<int32_t>{1}));
    EXPECT_EQ(a.MaxHP(), 100);
    EXPECT_EQ(a.BattleCommand(0), 1);
    EXPECT_EQ(a.commandsChanged, 1);
}

TEST_F(ActorTest, EquipmentAndTheInventory) {
    TLcfgPlayerItem& a = Actor(1);
    GamePartyInfo->GainItem(2, 1);
    a.Equip(0, 2);  // two-handed: the shield goes back
    EXPECT_EQ(a.Equipment(0), 2);
    EXPECT_EQ(a.Equipment(1), 0);
    EXPECT_EQ(GamePartyInfo->ItemCount(1), 1);
    EXPECT_EQ(GamePartyInfo->ItemCount(3), 1);
    EXPECT_EQ(GamePartyInfo->ItemCount(2), 0);
    EXPECT_FALSE(a.CanEquip(1, 1));  // a weapon is no shield
    EXPECT_FALSE(a.CanEquip(0, 99));
    EXPECT_EQ(a.EquippableCount(1), 2);
    EXPECT_EQ(a.EquippableAt(1, 0), 3);
    EXPECT_EQ(a.EquippableAt(1, 1), 0);

    // Equip does not check that the party holds the item.
    a.Equip(3, 0);
    a.Equip(3, 5);
    EXPECT_EQ(a.Equipment(3), 5);

    // SetEquipment empties the other hand without returning its item.
    a.SetEquipment(1, 3);
    EXPECT_EQ(a.Equipment(0), 0);
    EXPECT_EQ(GamePartyInfo->ItemCount(2), 0);

    // A weapon holding both hands keeps the other hand's equipment fixed.
    GamePartyInfo->GainItem(6, 1);
    a.SetEquipment(1, 0);
    a.Equip(0, 6);
    GamePartyInfo->GainItem(3, 1);
    a.Equip(1, 3);
    EXPECT_EQ(a.Equipment(1), 0);
}

TEST_F(ActorTest, ConditionGrantingArmor) {
    Status(3).persistence = 1;
    TLcfgPlayerItem& a = Actor(1);
    GamePartyInfo->GainItem(4, 1);
    a.Equip(2, 4);
    EXPECT_TRUE(a.HasCondition(3));
    a.CureCondition(3);  // held by the armour
    EXPECT_TRUE(a.HasCondition(3));
    a.FullRecover();
    EXPECT_TRUE(a.HasCondition(3));
    a.Unequip(2);
    EXPECT_FALSE(a.HasCondition(3));
    EXPECT_EQ(GamePartyInfo->ItemCount(4), 1);
    // A condition id a game file leaves out (conditions 1-4 and 6) is none.
    Status(6);
    DbItem->Find(4)->conditionSet.SetEntry(5, 1);
    a.Equip(2, 4);
    EXPECT_TRUE(a.HasCondition(3));
}

TEST_F(ActorTest, BattleCommands) {
    DbBattle->commands.SetCount(6);
    TLcfgPlayerItem& a = Actor(1);
    a.ChangeBattleCommand(2, true);  // listed already
    EXPECT_EQ(a.commands, (std::array<int32_t, 7>{1, 2, 3, -1, -1, -1, -1}));
    a.ChangeBattleCommand(5, true);
    EXPECT_EQ(a.commands, (std::array<int32_t, 7>{1, 2, 3, 5, 0, -1, -1}));
    a.ChangeBattleCommand(9, true);  // beyond the battle settings' list
    a.ChangeBattleCommand(1, false);
    EXPECT_EQ(a.commands, (std::array<int32_t, 7>{2, 3, 5, 0, -1, -1, -1}));
    a.ChangeBattleCommand(0, false);
    EXPECT_EQ(a.commands, (std::array<int32_t, 7>{0, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(a.BattleCommand(0), 0);
    // Removing moves the later entries up; the seventh keeps its value.
    a.commands = {1, 2, 3, 0, -1, -1, 0};
    a.ChangeBattleCommand(2, false);
    EXPECT_EQ(a.commands, (std::array<int32_t, 7>{1, 3, 0, -1, -1, 0, 0}));
}

TEST_F(ActorTest, BattlePropertiesOfTheSwingingHand) {
    TLcfgPlayerItem& a = Actor(1);  // sword and shield, cap
    EXPECT_NEAR(a.CriticalRate(), 100.0 / 30 + 5, 1e-9);
    EXPECT_EQ(a.HitRate(), 80);
    EXPECT_TRUE(a.WeaponHasAttribute(1));
    EXPECT_TRUE(a.PreventCritical());
    EXPECT_EQ(a.BattleAgility(), 30 + 1 + 2);
    EXPECT_EQ(a.HandAttack(), 35 + 10);
    a.swingingHand = 1;  // the shield is no weapon
    EXPECT_EQ(a.HitRate(), 90);
    EXPECT_FALSE(a.HandHasAttribute(1));
    EXPECT_EQ(a.HandAttack(), 35);
    EXPECT_EQ(a.AttackAnimationId(), 1);
}

TEST_F(ActorTest, SaveRoundTripDropsUnknownHeroesAndAddsMissingOnes) {
    TLcfgPlayerItem& a = Actor(1);
    a.SetName("Max");
    a.GainExp(500, false);
    a.AddParamModifier(2, 7);
    a.row = 1;
    a.classField = 1;
    a.InflictCondition(2);
    a.LearnSkill(5);
    Bytes saved = lcf_builder::SaveList(*GamePlayers);

    TLcfgPlayer back;
    lcf_builder::LoadList(back, saved);
    ASSERT_EQ(back.Count(), 2);
    TLcfgPlayerItem& b = *back.Get(1);
    EXPECT_EQ(b.name, "Max");
    EXPECT_EQ(b.Level(), a.Level());
    EXPECT_EQ(b.ParamModifier(2), 7);
    EXPECT_EQ(b.row, 1);
    EXPECT_EQ(b.classField, 1);
    EXPECT_TRUE(b.HasCondition(2));
    EXPECT_EQ(b.skills, a.skills);
    EXPECT_EQ(b.equipment, a.equipment);
    EXPECT_EQ(lcf_builder::SaveList(back), saved);

    // A save with a third hero (since removed) and without hero 2.
    Bytes hostile = lcf_builder::List({{1, Chunks().Int(31, 500).Int(32, -5).End()},
                                       {3, Chunks().Str(1, "Gone").End()}});
    TLcfgPlayer other;
    lcf_builder::LoadList(other, hostile);
    ASSERT_EQ(other.Count(), 2);
    EXPECT_EQ(other.Get(1)->Level(), 99);  // clamped to the hero's range
    EXPECT_EQ(other.Get(1)->Exp(), 0);
    EXPECT_EQ(other.Get(2)->GetName(), "Bea");  // created from the database
    EXPECT_THROW(other.Get(3), Exception);
}

TEST_F(ActorTest, WalkingConditionsActOnTheirStepPeriod) {
    // Chunks 63 and 67 count steps: poison every 3 steps, 5 HP; a blessing
    // restoring 2 SP every 2 steps.
    Status(2).mapHpPercent = 3;
    Status(2).mapHpPoints = 5;
    Status(3).spDirection = 1;
    Status(3).mapSpPercent = 2;
    Status(3).mapSpPoints = 2;
    TLcfgPlayerItem& a = Actor(1);
    a.InflictCondition(2);
    a.InflictCondition(3);
    a.sp = 0;
    int32_t hp = a.hp;
    for (int step = 1; step <= 6; ++step) {
        GamePartyInfo->CountStep();
        a.ApplyWalkingConditions();
    }
    EXPECT_EQ(a.hp, hp - 10);
    EXPECT_EQ(a.sp, 6);
    EXPECT_EQ(world.flashes, 2);  // one flash per hurting step
    a.hp = 3;
    for (int step = 0; step < 3; ++step) {
        GamePartyInfo->CountStep();
        a.ApplyWalkingConditions();
    }
    EXPECT_EQ(a.hp, 1);  // walking never kills
}

TEST_F(ActorTest, ClassFlagsDecideWhenTheDatabaseEquipsByClass) {
    // Classes 1 Warrior and 2 Mage. The class flags start at "no class":
    // [0, 1, 0] lets the Warrior alone use the Broadsword and the Tonic.
    Class(1, Chunks().Str(1, "Warrior").Data(31, FlatCurves(80, 10, 20, 20, 5, 5)));
    Class(2, Chunks().Str(1, "Mage").Data(31, FlatCurves(60, 40, 5, 5, 30, 5)));
    Item(7, Chunks().Str(1, "Broadsword").Data(3, {1}).Int(72, 3).Data(73, {0, 1, 0}));
    Item(8, Chunks().Str(1, "Tonic").Data(3, {9}).Int(53, 1).Int(72, 3).Data(73, {0, 1, 0}));
    Skill(1, Chunks().Str(1, "Mend").Int(12, 3).Data(31, {1}));
    Hero(1, Chunks().Str(1, "Wren").Int(57, 1).Data(31, FlatCurves(80, 10, 20, 20, 5, 5)).Data(51, U16s({7, 0, 0, 0, 0})));
    Hero(2, Chunks().Str(1, "Mael").Int(57, 2).Data(31, FlatCurves(60, 40, 5, 5, 30, 5)).Data(51, U16s({7, 0, 0, 0, 0})));
    Hero(3, Chunks().Str(1, "Nob").Data(31, FlatCurves(50, 0, 5, 5, 5, 5)).Data(51, U16s({7, 0, 0, 0, 0})));
    DbSystem->equipByClass = 1;
    DbSystem->party.Resize(0);
    StartGame();

    TLcfgPlayerItem& warrior = Actor(1);
    TLcfgPlayerItem& mage = Actor(2);
    TLcfgPlayerItem& classless = Actor(3);
    EXPECT_EQ(warrior.Equipment(0), 7);  // starting equipment kept
    EXPECT_EQ(mage.Equipment(0), 0);
    EXPECT_EQ(classless.Equipment(0), 0);
    EXPECT_TRUE(warrior.CanEquip(0, 7));
    EXPECT_FALSE(mage.CanEquip(0, 7));
    EXPECT_FALSE(classless.CanEquip(0, 7));

    world.scene = 1;
    GamePartyInfo->GainItem(8, 1);
    GamePartyInfo->AddMember(2);
    GamePartyInfo->AddMember(3);
    EXPECT_FALSE(GamePartyInfo->ItemUsable(8));  // nobody in the party may use it
    GamePartyInfo->AddMember(1);
    EXPECT_TRUE(GamePartyInfo->ItemUsable(8));
    EXPECT_TRUE(warrior.CanUseItem(8));
    EXPECT_FALSE(mage.CanUseItem(8));
    EXPECT_FALSE(classless.CanUseItem(8));

    // A class changed by an event counts, and a class beyond the flags may.
    mage.ChangeClass(1, false, 0, 3, false);
    EXPECT_TRUE(mage.CanEquip(0, 7));
    mage.classField = 5;
    EXPECT_TRUE(mage.CanEquip(0, 7));

    // With the setting off the hero flags decide again.
    DbSystem->equipByClass = 0;
    EXPECT_TRUE(classless.CanEquip(0, 7));
}
