// Battlers: HP and SP operations, battle modifiers, conditions, attribute
// shifts, the attack and skill damage formulas and the per-battler effects.
#include <gtest/gtest.h>

#include <set>

#include "battle_world_fixture.h"
#include "game/battler/unit_item.h"
#include "data/database/database.h"
#include "media/board/board.h"

using namespace battle_world;

namespace {

// A battler whose parameters and weapon attributes the test sets.
class TestBattler : public TLcfgUnitItem {
public:
    explicit TestBattler(bool actor = false) : TLcfgUnitItem(1), actor_(actor) {}
    std::string GetName() const override { return "T"; }
    int32_t MaxHP() const override { return maxHp; }
    int32_t MaxSP() const override { return maxSp; }
    int32_t BaseAttack() const override { return atk; }
    int32_t BaseDefense() const override { return def; }
    int32_t BaseSpirit() const override { return spi; }
    int32_t BaseAgility() const override { return agi; }
    int32_t BattleAgility() const override { return agi; }
    int AttributeRank(int32_t) const override { return rank; }
    int ConditionRank(int32_t) const override { return 2; }
    bool WeaponHasAttribute(int32_t id) const override { return weapon.count(id) != 0; }
    double CriticalRate() const override { return 0; }
    int32_t HitRate() const override { return 90; }
    bool HalfSpCost() const override { return halfSp; }
    bool IsSameKind(const TLcfgUnitItem& o) const override { return o.IsActor() == actor_; }
    bool IsActor() const override { return actor_; }
    bool IsEnemy() const override { return !actor_; }
    void DecideAction() override { ++decisions; }

    int32_t maxHp = 100, maxSp = 50, atk = 100, def = 100, spi = 100, agi = 100;
    int rank = 2;
    std::set<int32_t> weapon;
    bool halfSp = false;
    int decisions = 0;

private:
    bool actor_;
};

// Answers scripted values and counts the draws.
class CountingRandom : public RandomSource {
public:
    int32_t Next(int32_t n) override {
        ++draws;
        lastRange = n;
        return n - 1;
    }
    int draws = 0;
    int32_t lastRange = 0;
};

class BattlerTest : public BattleWorldTest {};

}  // namespace

TEST_F(BattlerTest, HpOperationsDifferInPopupAndResult) {
    TestBattler b;
    b.hp = 50;
    EXPECT_EQ(b.RecoverHp(80), 50);  // capped at max HP
    EXPECT_EQ(b.popupTimer, 131);
    EXPECT_EQ(b.PopupText(), "80");  // the requested amount
    EXPECT_EQ(b.PopupColour(), 9);

    EXPECT_EQ(b.DamageHp(30, true), 30);
    EXPECT_EQ(b.popupTimer, 131);
    EXPECT_EQ(b.DamageHp(500, false), 69);  // not lethal: exactly 1 HP left
    EXPECT_EQ(b.hp, 1);
    EXPECT_EQ(b.popupTimer, 127);
    EXPECT_EQ(b.PopupText(), "500");
    // Its pop-up is drawn wherever a file places the battler, shaken.
    TSorvoBoard board;
    board.SetSize(320, 240);
    b.battleX = b.battleY = INT32_MIN;
    b.DrawPopup(board, 0, -1000000);

    b.popupTimer = 0;
    b.LoseHp(0, false);  // no loss, no pop-up
    EXPECT_EQ(b.popupTimer, 0);
    b.hp = 40;
    b.LoseHp(100, false);  // not lethal: shows the HP actually lost
    EXPECT_EQ(b.hp, 1);
    EXPECT_EQ(b.PopupText(), "39");
    b.hp = 40;
    EXPECT_EQ(b.DamageHpNonLethal(100), 39);

    b.DamageHp(100, true);
    EXPECT_EQ(b.hp, 0);
    EXPECT_TRUE(b.HasCondition(1));
    EXPECT_EQ(b.RecoverHp(10), 0);  // the fallen are not healed
    EXPECT_EQ(b.DamageHp(10, true), 0);
    EXPECT_EQ(b.HpColor(), 5);

    b.sp = 10;
    EXPECT_EQ(b.GainSp(1000), 40);
    EXPECT_EQ(b.LoseSp(1000), 50);
    EXPECT_EQ(b.SpColor(), 4);
}

TEST_F(BattlerTest, ModifierBoundsComeFromTheBase) {
    TestBattler b;
    b.atk = 15;  // odd: the floor is -(15 div 2) = -7
    EXPECT_EQ(b.ChangeModifier(TLcfgUnitItem::kModAttack, -100), -7);
    EXPECT_EQ(b.EffectiveAttack(), 8);
    EXPECT_EQ(b.ChangeModifier(TLcfgUnitItem::kModAttack, -1), 0);  // half reached
    EXPECT_EQ(b.ChangeModifier(TLcfgUnitItem::kModAttack, 100), 22);
    EXPECT_EQ(b.EffectiveAttack(), 30);  // double the base
    EXPECT_EQ(b.ReduceModifier(TLcfgUnitItem::kModAttack, 5), 5);
    EXPECT_EQ(b.attackModifier, 10);
    EXPECT_EQ(b.ChangeModifier(7, 10), 0);
}

TEST_F(BattlerTest, AttackAndDefenseLookAtAllConditionsSpiritAndAgilityAtTheFirst) {
    Status(2).parameterEffect = 0;  // halves
    Status(2).affectsAttack = Status(2).affectsSpirit = 1;
    Status(3).parameterEffect = 1;  // doubles
    Status(3).affectsAttack = Status(3).affectsSpirit = 1;
    TestBattler b;
    b.atk = b.spi = 100;
    b.InflictCondition(2);
    b.InflictCondition(3);
    EXPECT_EQ(b.EffectiveAttack(), 100);  // halving and doubling cancel
    EXPECT_EQ(b.EffectiveSpirit(), 50);   // only condition 2 counts
    b.CureCondition(2);
    EXPECT_EQ(b.EffectiveSpirit(), 200);
    b.atk = 9999;
    EXPECT_EQ(b.EffectiveAttack(), 19998);  // doubling is not clamped again
}

TEST_F(BattlerTest, PriorityPurgeRemovesWeakConditionsAndCanCureDeath) {
    Status(1).priority = 50;
    Status(2).priority = 80;
    Status(3).priority = 90;
    Status(4).priority = 81;
    TestBattler b;
    b.hp = 10;
    b.InflictCondition(2);
    b.InflictCondition(4);
    b.InflictCondition(3);
    EXPECT_FALSE(b.HasCondition(2));
    EXPECT_TRUE(b.HasCondition(4));
    EXPECT_EQ(b.StrongestCondition(), 3);
    b.SortConditions();
    EXPECT_EQ(b.DisplayCondition(0), 3);
    EXPECT_EQ(b.DisplayCondition(1), 4);
    EXPECT_EQ(b.DisplayCondition(2), 0);

    TestBattler c;
    c.hp = 10;
    c.InflictCondition(1);
    EXPECT_EQ(c.hp, 0);
    c.InflictCondition(3);  // 90 purges death (50): HP comes back as 1
    EXPECT_FALSE(c.HasCondition(1));
    EXPECT_EQ(c.hp, 1);
}

TEST_F(BattlerTest, ConditionRulesInBattle) {
    world.scene = 2;
    Status(2).restriction = TLcfStatusItem::kCannotAct;
    Status(3).restriction = TLcfStatusItem::kAttacksAllies;
    Status(2).recoveryChance = 0;
    TestBattler enemy;
    enemy.hp = 10;
    enemy.action.kind = TLcfgUnitActItem::kBasic;
    enemy.charged = 1;
    enemy.InflictCondition(3);
    EXPECT_EQ(enemy.decisions, 1);  // a confused enemy decides again at once
    EXPECT_EQ(enemy.charged, 0);
    EXPECT_EQ(enemy.pose, TLcfgUnitItem::kConditionPose);
    enemy.CureCondition(3);
    EXPECT_EQ(enemy.action.kind, TLcfgUnitActItem::kNone);
    enemy.action.kind = TLcfgUnitActItem::kBasic;
    enemy.InflictCondition(2);
    EXPECT_FALSE(enemy.CanAct());
    EXPECT_TRUE(enemy.IsIncapacitated());
    EXPECT_EQ(enemy.action.kind, TLcfgUnitActItem::kNone);
    // Battle end cures battle-only conditions and those with a recovery chance.
    Status(2).persistence = 1;
    Status(4).persistence = 1;
    Status(4).recoveryChance = 10;
    enemy.InflictCondition(4);
    enemy.attackModifier = 5;
    enemy.EndBattle();
    EXPECT_TRUE(enemy.HasCondition(2));
    EXPECT_FALSE(enemy.HasCondition(4));
    EXPECT_EQ(enemy.attackModifier, 0);
}

TEST_F(BattlerTest, ArraysGrowOnDemandAndOutOfRangeIdsReadNeutral) {
    TestBattler b;
    b.rank = 1;
    EXPECT_EQ(b.Condition(99), 0);
    b.SetCondition(99, 1);
    EXPECT_EQ(b.Condition(99), 0);
    EXPECT_EQ(b.AttributeShift(0), 0);
    EXPECT_FALSE(b.ShiftAttributeDown(7));
    DbAttrib->GetOrCreate(3);  // the database grows: the new entry reads shift 0
    EXPECT_EQ(b.AttributeShift(3), 0);
    EXPECT_TRUE(b.ShiftAttributeDown(3));
    EXPECT_EQ(b.AttributeRankNow(3), 0);  // down is toward A
    EXPECT_EQ(b.AttributeRate(3), 300);
    EXPECT_FALSE(b.ShiftAttributeDown(3));
    b.rank = 0;
    EXPECT_FALSE(b.ShiftAttributeDown(1));
    b.rank = 4;
    EXPECT_FALSE(b.ShiftAttributeUp(1));
}

TEST_F(BattlerTest, AttackDamageRowsStartConditionsAndAttributes) {
    DbAttrib->Find(1)->rates[2] = 150;  // physical, rank C
    DbAttrib->Find(2)->rates[2] = -50;  // magical, rank C: heals
    TestBattler attacker(true), target(true);
    attacker.atk = 400;
    target.def = 200;
    attacker.weapon = {1, 2};
    // d = 400/2 - 200/4 = 150; both attributes with one negative: min(P, M).
    struct Case {
        int start, attackerRow, targetRow, expected;
    };
    const Case cases[] = {
        {0, 0, 0, 187 * -50 / 100},              // front attacker raised
        {0, 1, 0, -75},                          // back attacker not raised
        {0, 0, 1, (187 * -50 / 100) * 75 / 100}, // back target lowered
        {1, 0, 1, (187 * -50 / 100) * 75 / 100},
        {2, 1, 0, (187 * -50 / 100) * 75 / 100}, // back attack mirrors the rows
        {2, 0, 1, -75},
        {3, 1, 1, (187 * -50 / 100) * 75 / 100}, // surround: always both
        {4, 0, 1, -75},                          // surrounded: neither
    };
    for (const Case& c : cases) {
        world.start = c.start;
        attacker.row = c.attackerRow;
        target.row = c.targetRow;
        EXPECT_EQ(attacker.AttackDamage(target), c.expected) << c.start << c.attackerRow << c.targetRow;
    }
    world.start = 0;
    attacker.row = target.row = 0;
    DbAttrib->Find(2)->rates[2] = 200;
    EXPECT_EQ(attacker.AttackDamage(target), (187 * 150 / 100) * 200 / 100);
    attacker.weapon = {1};
    EXPECT_EQ(attacker.AttackDamage(target), 187 * 150 / 100);
    attacker.weapon = {};
    EXPECT_EQ(attacker.AttackDamage(target), 187);
    TestBattler enemy(false);  // enemies get no row bonus
    enemy.atk = 400;
    EXPECT_EQ(enemy.AttackDamage(target), 150);
}

TEST_F(BattlerTest, SkillCostsHalveUpForFixedAndDownForPercent) {
    world.scene = 2;
    Skill(1, Chunks().Int(11, 7));
    Skill(2, Chunks().Int(9, 1).Int(10, 25));
    EXPECT_EQ(DbSkill->FindSkill(1)->Cost(30, true), 4);
    EXPECT_EQ(DbSkill->FindSkill(2)->Cost(30, false), 7);
    EXPECT_EQ(DbSkill->FindSkill(2)->Cost(30, true), 3);
    TestBattler b;
    b.maxSp = 30;
    b.halfSp = true;
    b.sp = 3;
    EXPECT_FALSE(b.CanUseSkill(1));
    EXPECT_TRUE(b.CanUseSkill(2));
    b.sp = 4;
    EXPECT_TRUE(b.CanUseSkill(1));
    EXPECT_FALSE(b.CanUseSkill(0));
    // Sealing by condition: a physical limit of 0 refuses attack influence 0.
    Status(2).blockPhysical = 1;
    Status(2).physicalLimit = 0;
    b.InflictCondition(2);
    EXPECT_FALSE(b.CanUseSkill(1));
    world.scene = 0;
    b.CureCondition(2);
    EXPECT_FALSE(b.CanUseSkill(1));  // neither menu nor battle
}

TEST_F(BattlerTest, IdsAGameFileLeavesOutAreNoRecord) {
    // Attributes 1, 2 and 4; conditions 1-4 and 6: ids 3 and 5 have none.
    DbAttrib->GetOrCreate(4)->kind = TLcfAttribItem::kPhysical;
    Status(6).persistence = 1;
    TLcfSkillItem& skill = *DbSkill->FindSkill(1);
    skill.attributeSet.SetEntry(3, 1);
    TestBattler actor(true), target(true);
    world.scene = 2;
    EXPECT_TRUE(actor.CanUseSkill(1));
    // On the field a skill that only cures conditions is usable for one that
    // lasts: an id without a record is no such condition.
    world.scene = 1;
    skill.scope = TLcfSkillItem::kSelf;
    skill.conditionSet.SetEntry(5, 1);
    EXPECT_FALSE(actor.CanUseSkill(1));
    world.scene = 0;
    actor.atk = 400;
    target.def = 200;
    actor.weapon = {3};
    EXPECT_EQ(actor.AttackDamage(target), 187);
}

TEST_F(BattlerTest, SkillDamageDrawsVarianceOnlyForPositiveResults) {
    CountingRandom counting;
    SetRandomSource(&counting);
    Skill(1, Chunks().Int(24, 100).Int(21, 0).Int(22, 0).Int(23, 2).Data(12, {2}));
    TestBattler user, target;
    // h = 100 * 2 / 10 = 20: Random(21) - 10.
    EXPECT_EQ(user.SkillDamage(1, target), 100 + 20 - 10);
    EXPECT_EQ(counting.lastRange, 21);
    EXPECT_EQ(counting.draws, 1);
    DbAttrib->Find(2)->rates[2] = -50;
    Skill(2, Chunks().Int(24, 100).Int(22, 0).Int(23, 2).Data(12, {2}).Int(43, 2).Data(44, {0, 1}));
    EXPECT_EQ(user.SkillDamage(2, target), -50);  // negative: no draw, no clamp
    EXPECT_EQ(counting.draws, 1);
    // Aimed at enemies, defense and spirit are subtracted.
    Skill(3, Chunks().Int(24, 10).Int(21, 20).Int(22, 0).Int(23, 0).Data(12, {0}));
    EXPECT_EQ(user.SkillDamage(3, target), 10 + 100 - 50);
    SetRandomSource(&random);
}

TEST_F(BattlerTest, SkillAffectsByScopeAndState) {
    Skill(1, Chunks().Data(12, {0}));
    Skill(2, Chunks().Data(12, {3}).Int(31, 1));
    Skill(3, Chunks().Data(12, {3}).Int(41, 1).Data(42, {1}));
    Skill(4, Chunks().Data(8, {3}));
    TestBattler b;
    b.hp = 10;
    EXPECT_TRUE(b.SkillAffects(1));
    EXPECT_TRUE(b.SkillAffects(2));
    EXPECT_FALSE(b.SkillAffects(3));
    b.hp = 0;
    EXPECT_FALSE(b.SkillAffects(1));
    EXPECT_FALSE(b.SkillAffects(2));
    EXPECT_TRUE(b.SkillAffects(3));  // revives
    EXPECT_TRUE(b.SkillAffects(4));
}

TEST_F(BattlerTest, TurnsFlashAndShake) {
    TestBattler b;
    for (int t = 1; t <= 11; ++t) {
        b.CountTurn();
        bool expected = t == 5 || t == 8 || t == 11;
        EXPECT_EQ(b.TurnMatches(3, 5), expected) << t;
    }
    b.StartFlash(31, 0, 0, 30, 3);
    b.UpdateEffects();
    EXPECT_DOUBLE_EQ(b.flashStrength, 20);  // duration lowered before the division
    b.UpdateEffects();
    EXPECT_DOUBLE_EQ(b.flashStrength, 10);
    b.UpdateEffects();
    EXPECT_DOUBLE_EQ(b.flashStrength, 0);
    b.StartShake(5, 9, 40);
    int maxOffset = 0;
    for (int i = 0; i < 40; ++i) {
        b.UpdateEffects();
        maxOffset = std::max(maxOffset, std::abs(b.shakeOffsetX));
    }
    EXPECT_GT(maxOffset, 0);
    EXPECT_LE(maxOffset, 11);
    EXPECT_EQ(b.shakeOffsetX, 0);
    EXPECT_EQ(b.shakeDuration, 0);
}
