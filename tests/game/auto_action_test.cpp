// An actor's automatic action (auto battle, berserk, confusion) and the
// attack properties of the hand that swings.

#include "enemy_fixture.h"

using namespace battle_world;

namespace {

class AutoActionTest : public EnemyWorldTest {
protected:
    void SetUp() override {
        EnemyWorldTest::SetUp();
        // Attack 30 against defense 20 from the front row: 12 damage.
        Hero(1, Chunks().Str(1, "Ann").Data(31, FlatCurves(100, 20, 30, 20, 10, 30)));
        Hero(2, Chunks().Str(1, "Bob").Data(31, FlatCurves(100, 20, 30, 20, 10, 30)));
        Monster(1, Chunks().Int(4, 100).Int(7, 20));
        Monster(2, Chunks().Int(4, 10).Int(7, 20));
        // A plain damage skill: exactly its power, no variance, free.
        Skill(1, Chunks().Int(12, 0).Int(22, 0).Int(23, 0).Int(24, 2).Int(31, 1));
        Item(1, Chunks().Str(1, "Bow").Data(3, {1}).Int(20, 7).Int(23, 1));
        Item(2, Chunks().Str(1, "Knife").Data(3, {1}).Int(20, 8));
        StartGame();
        Party({1, 2});
    }
    TLcfgPlayerItem& Ann() { return Actor(1); }
    void Troop(std::vector<TroopEntry> entries) {
        MakeTroop(1, std::move(entries));
        troop.SetupTroop(1);
    }
};

TEST_F(AutoActionTest, AnActorWithoutAUsableSkillAttacksTheBestTarget) {
    // A kill on the second enemy outweighs the first-enemy bonus.
    Troop({{1, 100, 100, false}, {2, 200, 100, false}});
    DbSkill->Find(1)->spCost = 50;  // more than it has
    Ann().LearnSkill(1);
    Ann().DecideAction();
    EXPECT_EQ(Ann().action.kind, TLcfgUnitActItem::kBasic);
    EXPECT_EQ(Ann().action.basic, TLcfgUnitActItem::kAttack);
    EXPECT_EQ(Ann().action.targetKind, TLcfgUnitActItem::kOneEnemy);
    EXPECT_EQ(Ann().action.targetIndex, 1);
    // A weapon that hits all of them takes the whole troop.
    Ann().SetEquipment(0, 1);
    Ann().DecideAction();
    EXPECT_EQ(Ann().action.targetKind, TLcfgUnitActItem::kTroop);
    // The dead are worth nothing.
    Ann().SetEquipment(0, 0);
    troop.Member(1)->hp = 0;
    Ann().DecideAction();
    EXPECT_EQ(Ann().action.targetIndex, 0);
}

TEST_F(AutoActionTest, TheAttackWinsATieWithASkill) {
    // One enemy of 100 HP. Attack: 12 / 100 -> x1.5 + 0.5 (first living
    // enemy) -> x1.5 = 1.02, plus its random part. Skill: 2 / 100 -> x1.5
    // + 0.5 = 0.53, plus its random part. Skill values are drawn first.
    Troop({{1, 100, 100, false}});
    Ann().LearnSkill(1);
    dice.script = {49, 0};
    Ann().DecideAction();
    EXPECT_EQ(Ann().action.kind, TLcfgUnitActItem::kBasic);
    dice.script = {50, 0};
    Ann().DecideAction();
    EXPECT_EQ(Ann().action.kind, TLcfgUnitActItem::kSkill);
    EXPECT_EQ(Ann().action.skillId, 1);
    EXPECT_EQ(Ann().action.targetKind, TLcfgUnitActItem::kOneEnemy);
    EXPECT_EQ(Ann().action.targetIndex, 0);
}

TEST_F(AutoActionTest, TheTargetIsValuedAfreshAfterTheChoice) {
    // A skill with variance on two enemies: one variance draw each and its
    // own random part, the attack's part for each enemy; then, the skill
    // chosen, a variance draw for each enemy again to pick its target.
    Skill(1, Chunks().Int(12, 0).Int(22, 0).Int(23, 5).Int(24, 40).Int(31, 1));
    Monster(2, Chunks().Int(4, 45).Int(7, 20));
    Troop({{1, 100, 100, false}, {2, 200, 100, false}});
    Ann().LearnSkill(1);
    // Variance: h = 20, so 40 + 0..20 - 10. First 30 on the first enemy
    // (0.3 x1.5 + 0.5 = 0.95) and 50 on the second, a kill (1.5): the skill
    // wins over the attack (1.02). Valued again, 50 on the first (1.25) and
    // 30 on the second (0.67): the first is the target.
    dice.ranges.clear();
    dice.script = {0, 20, 0, 0, 0, 20, 0};
    Ann().DecideAction();
    EXPECT_EQ(dice.ranges, (std::vector<int32_t>{21, 21, 100, 100, 100, 21, 21}));
    ASSERT_EQ(Ann().action.kind, TLcfgUnitActItem::kSkill);
    EXPECT_EQ(Ann().action.targetIndex, 0);

    // The attack likewise: the first values favour the second enemy (1.02
    // against 0.4 + 0.99), the second ones the first.
    TLcfgPlayerItem& bob = Actor(2);
    dice.ranges.clear();
    dice.script = {0, 99, 99, 0};
    bob.DecideAction();
    EXPECT_EQ(dice.ranges, (std::vector<int32_t>{100, 100, 100, 100}));
    ASSERT_EQ(bob.action.kind, TLcfgUnitActItem::kBasic);
    EXPECT_EQ(bob.action.targetIndex, 0);
    // A weapon that attacks all needs no target, and no second look.
    bob.SetEquipment(0, 1);
    dice.ranges.clear();
    bob.DecideAction();
    EXPECT_EQ(dice.ranges.size(), 2u);
    EXPECT_EQ(bob.action.targetKind, TLcfgUnitActItem::kTroop);
}

TEST_F(AutoActionTest, SkillValuesWeighKillsCostsAndTheFirstLivingEnemy) {
    Troop({{1, 100, 100, false}, {1, 200, 100, false}});
    TLcfgMonsterItem& first = *troop.Member(0);
    TLcfgMonsterItem& second = *troop.Member(1);
    // 50 of 100 HP, cost 5 of 20 max SP (a real division): 0.5 - 0.0625.
    Skill(1, Chunks().Int(11, 5).Int(12, 0).Int(22, 0).Int(23, 0).Int(24, 50).Int(31, 1));
    EXPECT_DOUBLE_EQ(Ann().SkillValueOn(1, second), 0.4375);
    EXPECT_DOUBLE_EQ(Ann().SkillValueOn(1, first), 0.4375 * 1.5 + 0.5);
    // A kill counts 1.5 before the cost is taken off.
    second.hp = 40;
    EXPECT_DOUBLE_EQ(Ann().SkillValueOn(1, second), 1.5 - 0.0625);
    second.hp = 0;
    EXPECT_EQ(Ann().SkillValueOn(1, second), 0);
    // Healing a member: the share of the missing HP it restores; half the
    // cost's weight.
    Skill(2, Chunks().Int(11, 5).Int(12, 3).Int(22, 0).Int(23, 0).Int(24, 30).Int(31, 1));
    Actor(2).hp = 40;
    EXPECT_DOUBLE_EQ(Ann().SkillValueOn(2, Actor(2)), 0.3 - 0.03125);
    Actor(2).hp = 90;
    EXPECT_DOUBLE_EQ(Ann().SkillValueOn(2, Actor(2)), 0.1 - 0.03125);
    // Reviving: by power; without a revival the fallen are worth nothing.
    Actor(2).hp = 0;
    EXPECT_EQ(Ann().SkillValueOn(2, Actor(2)), 0);
    Skill(3, Chunks().Int(12, 3).Int(24, 250).Int(31, 1).Int(41, 1).Data(42, {1}));
    EXPECT_DOUBLE_EQ(Ann().SkillValueOn(3, Actor(2)), 1.25);
    // No effect on HP: nothing to weigh.
    Skill(4, Chunks().Int(12, 0).Int(32, 1));
    EXPECT_EQ(Ann().SkillValueOn(4, first), 0);
    // Outside battle no skill can be used, so none is worth anything.
    world.scene = 0;
    EXPECT_EQ(Ann().SkillChoice(1).value, 0);
}

TEST_F(AutoActionTest, BerserkAndConfusedActorsAttackAtRandom) {
    Troop({{1, 100, 100, false}, {1, 150, 100, false}, {1, 200, 100, false}});
    Status(2).restriction = 2;  // berserk
    Status(3).restriction = 3;  // confused
    Ann().SetCondition(2, 1);
    dice.script = {9};
    Ann().DecideAction();
    EXPECT_EQ(dice.ranges.back(), 3);  // the troop, alive or not
    EXPECT_EQ(Ann().action.targetKind, TLcfgUnitActItem::kOneEnemy);
    EXPECT_EQ(Ann().action.targetIndex, 2);
    Ann().SetCondition(2, 0);
    Ann().SetCondition(3, 1);
    Ann().DecideAction();
    EXPECT_EQ(dice.ranges.back(), 2);  // the party
    EXPECT_EQ(Ann().action.targetKind, TLcfgUnitActItem::kOneMember);
}

TEST_F(AutoActionTest, TheAnimationOfAnAttackFollowsTheHandsThatHoldWeapons) {
    TLcfgPlayerItem& a = Ann();
    a.twoWeapons = 1;
    EXPECT_EQ(a.AttackAnimationId(), 1);  // unarmed
    a.SetEquipment(1, 2);
    EXPECT_EQ(a.AttackAnimationId(), 8);  // only the second hand is filled
    EXPECT_EQ(a.SecondAttackAnimationId(), 0);
    a.SetEquipment(0, 1);
    EXPECT_EQ(a.AttackAnimationId(), 7);
    EXPECT_EQ(a.SecondAttackAnimationId(), 8);
    a.twoWeapons = 0;
    EXPECT_EQ(a.SecondAttackAnimationId(), 0);
}

TEST_F(AutoActionTest, TheSwingingHandAloneGivesItsAttributesAndConditions) {
    // The first hand's weapon carries an attribute the enemy takes double
    // (rank B) and a 40 % poison; the second hand's does neither.
    Item(4, Chunks().Str(1, "Flame").Data(3, {1}).Int(63, 2).Data(64, {0, 1}).Int(65, 1).Data(66, {1}).Int(67, 40));
    Monster(1, Chunks().Int(4, 100).Int(7, 20).Int(33, 1).Data(34, {1}));
    Troop({{1, 100, 100, false}});
    const TLcfgMonsterItem& enemy = *troop.Member(0);
    TLcfgPlayerItem& a = Ann();
    a.twoWeapons = 1;
    a.SetEquipment(0, 4);
    a.SetEquipment(1, 2);
    EXPECT_EQ(a.WeaponAttackDamage(enemy), 24);
    EXPECT_TRUE(a.HandHasAttribute(1));
    EXPECT_EQ(a.HandConditionRate(2), 40);
    a.swingingHand = 1;
    EXPECT_EQ(a.WeaponAttackDamage(enemy), 12);
    EXPECT_FALSE(a.HandHasAttribute(1));
    EXPECT_EQ(a.HandConditionRate(2), 0);
    // Both hands together for the plain attack.
    EXPECT_EQ(a.AttackDamage(enemy), 24);
    EXPECT_EQ(a.WeaponConditionRate(2), 40);
}

TEST_F(AutoActionTest, HandAttackClampsAfterConditions) {
    // 30 + a weapon of 5000 (no 999 cap on the sum), doubled by a condition:
    // 10060, then held at 9999.
    Item(3, Chunks().Str(1, "Club").Data(3, {1}).Int(11, 5000));
    Ann().SetEquipment(0, 3);
    Status(2).affectsAttack = 1;
    Status(2).parameterEffect = 1;
    world.scene = 0;
    EXPECT_EQ(Ann().HandAttack(), 5030);
    Ann().SetCondition(2, 1);
    EXPECT_EQ(Ann().HandAttack(), 9999);
    // Halving a weak attack still leaves 1.
    Ann().SetEquipment(0, 0);
    Ann().attackModifier = -29;
    Status(2).parameterEffect = 0;
    EXPECT_EQ(Ann().HandAttack(), 1);
}

}  // namespace
