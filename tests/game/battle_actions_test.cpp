// How turns resolve: the turn gate, target re-aiming, hits with their miss,
// critical and charge rolls, damage with defending and its cap, skills with
// cure or inflict and reflection, medicine and condition ticks.

#include <string>
#include <vector>

#include "enemy_fixture.h"
#include "data/database/system.h"
#include "game/battle/battle_actions.h"

using namespace battle_world;
using Act = TLcfgUnitActItem;
using Show = TActorBattleShow;

namespace {

class RecordingHost : public IBattleActionHost {
public:
    void PlaySystemSound(int i) override { sounds.push_back(i); }
    void ShowActionLine(const std::string& text, int, int) override { lines.push_back(text); }
    void FlashScreen(int, int, int, int, int) override { ++flashes; }
    bool TryEscape() override { return escapes; }
    bool FirstStrike() const override { return firstStrike; }
    void EndFirstStrike() override { firstStrike = false; }
    void EnableEvents() override { ++eventsEnabled; }
    void RunBattleEvents(TLcfgUnitItem*, int trigger) override { triggers.push_back(trigger); }
    int StartCondition() const override { return start; }

    std::vector<int> sounds;
    std::vector<std::string> lines;
    std::vector<int> triggers;
    int flashes = 0, eventsEnabled = 0, start = 0;
    bool firstStrike = false, escapes = false;
};

class BattleActionsTest : public EnemyWorldTest {
protected:
    void SetUp() override {
        EnemyWorldTest::SetUp();
        // Condition 1 is death; 2 stops acting for good; 3 reflects skills.
        Status(1).priority = 100;
        Status(2).restriction = TLcfStatusItem::kCannotAct;
        Status(3).flagB = 1;
        Hero(1, Chunks().Str(1, "Ann").Data(31, FlatCurves(999, 50, 30, 20, 10, 30)));
        Hero(2, Chunks().Str(1, "Bob").Data(31, FlatCurves(999, 50, 30, 20, 10, 30)));
        // A strong enemy with a critical chance, and a frail one.
        Monster(1, Chunks().Str(1, "Ogre").Int(4, 30000).Int(6, 200).Int(7, 20).Int(21, 1).Int(22, 30));
        Monster(2, Chunks().Str(1, "Imp").Int(4, 10).Int(6, 10).Int(7, 10));
        StartGame();
        Party({1, 2});
        MakeTroop(1, {{1, 100, 100, false}, {2, 150, 100, false}, {2, 200, 100, false}});
        troop.SetupTroop(1);
    }
    TLcfgPlayerItem& Ann() { return Actor(1); }
    TLcfgPlayerItem& Bob() { return Actor(2); }
    TLcfgMonsterItem& Enemy(int i) { return *troop.Member(i); }
    // The rolls of one general hit that lands: miss roll, critical roll,
    // variance (the middle, so none), the damage chance, the cure chance.
    void LandingHit(bool critical, int32_t d) {
        const int32_t l = std::max<int32_t>(1, d * 4 / 10);
        dice.script = {9999, critical ? 0 : 9999, l / 2, 0, 9};
    }

    RecordingHost host;
    TBattleActions actions{host};
};

TEST_F(BattleActionsTest, DefendingHalvesDamageStrongDefenseQuartersItAndItIsCapped) {
    Ann().action.kind = Act::kBasic;
    Ann().action.basic = Act::kDefend;
    EXPECT_TRUE(actions.DealDamage(Ann(), 403, 128, 0, 100));
    EXPECT_EQ(Ann().hp, 999 - 201);
    Ann().strongDefense = 1;
    Ann().hp = 999;
    actions.DealDamage(Ann(), 403, 128, 0, 100);
    EXPECT_EQ(Ann().hp, 999 - 100);  // halved twice, in integers
    EXPECT_EQ(Ann().pose, Show::kDamaged);
    EXPECT_EQ(host.sounds.back(), kSoundAllyDamaged);

    // No single blow takes more than 9999.
    TLcfgMonsterItem& ogre = Enemy(0);
    actions.DealDamage(ogre, 123456, 128, 0, 100);
    EXPECT_EQ(ogre.hp, 30000 - 9999);
    EXPECT_EQ(ogre.blinkTimer, 20);
    EXPECT_EQ(host.sounds.back(), kSoundEnemyDamaged);

    // A failed chance roll does nothing.
    dice.script = {50};
    EXPECT_FALSE(actions.DealDamage(ogre, 5, 128, 0, 50));
    EXPECT_EQ(ogre.hp, 30000 - 9999);
}

TEST_F(BattleActionsTest, NegativeDamageHealsThroughItsOwnRollAndDeathFadesAnEnemy) {
    Ann().hp = 500;
    dice.ranges.clear();
    EXPECT_TRUE(actions.DealDamage(Ann(), -40, 128, 0, 100));
    EXPECT_EQ(Ann().hp, 540);
    EXPECT_EQ(dice.ranges, (std::vector<int32_t>{100, 100}));
    EXPECT_NE(Ann().pose, Show::kDamaged);

    TLcfgMonsterItem& imp = Enemy(1);
    actions.DealDamage(imp, 50, 128, 10, 100);
    EXPECT_EQ(imp.hp, 0);
    EXPECT_GT(imp.deathFade, 0);
    EXPECT_EQ(host.sounds.back(), kSoundEnemyDefeated);
}

TEST_F(BattleActionsTest, ACriticalTriplesDamageIgnoresTheChargeAndUsesItUp) {
    TLcfgMonsterItem& ogre = Enemy(0);
    const int32_t base = ogre.AttackDamage(Ann());
    ASSERT_GT(base, 0);

    ogre.charged = 1;
    LandingHit(true, base * 3);
    actions.Hit(ogre, Ann());
    EXPECT_EQ(Ann().hp, 999 - base * 3);
    EXPECT_EQ(ogre.charged, 0);
    EXPECT_EQ(host.flashes, 1);

    // A charged blow without a critical doubles.
    Ann().hp = 999;
    ogre.charged = 1;
    LandingHit(false, base * 2);
    actions.Hit(ogre, Ann());
    EXPECT_EQ(Ann().hp, 999 - base * 2);
    EXPECT_EQ(ogre.charged, 0);
    EXPECT_EQ(host.flashes, 1);

    // Between battlers of one side there are no criticals.
    TLcfgMonsterItem& imp = Enemy(1);
    imp.hp = 10;
    dice.script = {9999, 0};
    dice.ranges.clear();
    actions.Hit(ogre, imp);
    EXPECT_EQ(host.flashes, 1);
}

TEST_F(BattleActionsTest, ATargetThatCannotActIsNeverMissed) {
    TLcfgMonsterItem& ogre = Enemy(0);
    // The lowest miss roll misses a target that can dodge...
    dice.script = {0};
    actions.Hit(ogre, Ann());
    EXPECT_EQ(Ann().hp, 999);
    EXPECT_EQ(host.sounds.back(), kSoundEvasion);
    EXPECT_EQ(Ann().PopupText(), DbVocabulary->Get(TLcfVocabulary::kMiss));

    // ...but not one that cannot act.
    Ann().InflictCondition(2);
    EXPECT_EQ(actions.MissValue(ogre, Ann(), false), 0);
    const int32_t d = ogre.AttackDamage(Ann());
    dice.script = {0, 9999, std::max(1, d * 4 / 10) / 2, 0, 9};
    actions.Hit(ogre, Ann());
    EXPECT_EQ(Ann().hp, 999 - d);
}

TEST_F(BattleActionsTest, TheMissValueWeighsAgilityEvasionAndPosition) {
    TLcfgMonsterItem& ogre = Enemy(0);  // hit rate 90, agility 10
    // Ann's agility 30 against 10: ((3 - 1) * 0.5 + 1) * 10 = 20.
    EXPECT_DOUBLE_EQ(actions.MissValue(ogre, Ann(), false), 20);
    // The back row adds 25 for actor targets; so does a surround.
    Ann().row = 1;
    EXPECT_DOUBLE_EQ(actions.MissValue(ogre, Ann(), false), 45);
    Ann().row = 0;
    host.start = 3;
    EXPECT_DOUBLE_EQ(actions.MissValue(ogre, Ann(), false), 45);
    // The general hit leaves an enemy target's position out; the hand hit
    // weighs it for any target.
    const double general = actions.MissValue(Ann(), ogre, false);
    EXPECT_DOUBLE_EQ(actions.MissValue(Ann(), ogre, true), general + 25);
}

TEST_F(BattleActionsTest, ADeadTargetIsReplacedByTheLowestIndexLivingOne) {
    TLcfgMonsterItem& ogre = Enemy(0);
    ogre.action.targetKind = Act::kOneEnemy;
    ogre.action.targetIndex = 2;
    Enemy(2).hp = 0;
    Enemy(0).hp = 0;
    EXPECT_TRUE(actions.CheckTarget(ogre));
    EXPECT_EQ(ogre.action.targetIndex, 1);
    // An index outside the troop counts as fallen.
    ogre.action.targetIndex = 7;
    EXPECT_TRUE(actions.CheckTarget(ogre));
    EXPECT_EQ(ogre.action.targetIndex, 1);
    Enemy(1).hp = 0;
    EXPECT_FALSE(actions.CheckTarget(ogre));

    // An empty party slot likewise.
    ogre.action.targetKind = Act::kOneMember;
    ogre.action.targetIndex = 3;
    Ann().hp = 0;
    EXPECT_TRUE(actions.CheckTarget(ogre));
    EXPECT_EQ(ogre.action.targetIndex, 1);
    // Whole sides need no aim.
    ogre.action.targetKind = Act::kParty;
    Bob().hp = 0;
    EXPECT_TRUE(actions.CheckTarget(ogre));
}

TEST_F(BattleActionsTest, ARowChangeStaysChanged) {
    GamePlayers->PlaceForBattle();
    Ann().action.kind = Act::kBasic;
    Ann().action.basic = Act::kChangeRow;
    Ann().actionMarker = 2;
    actions.PerformBasicAction(Ann());
    for (int i = 0; i < 5; ++i) GamePlayers->UpdateBattle();
    EXPECT_EQ(Ann().row, 1);
    for (int i = 0; i < 30; ++i) GamePlayers->UpdateBattle();
    EXPECT_EQ(Ann().row, 1);
}

TEST_F(BattleActionsTest, TheTurnGateDropsActionsAndEndsFirstStrike) {
    TLcfgMonsterItem& ogre = Enemy(0);
    ogre.action.kind = Act::kBasic;
    ogre.action.basic = Act::kObserve;
    // With the party's initiative the enemy loses its turn.
    host.firstStrike = true;
    EXPECT_TRUE(actions.ExecuteAction(ogre));
    EXPECT_TRUE(host.lines.empty());
    host.firstStrike = false;

    // An actor waits while another actor acts.
    Bob().actionMarker = 2;
    Ann().action.kind = Act::kBasic;
    Ann().action.basic = Act::kObserve;
    EXPECT_FALSE(actions.ExecuteAction(Ann()));
    // ...and enemies while any actor does.
    EXPECT_FALSE(actions.ExecuteAction(ogre));
    Bob().actionMarker = 0;

    // An item the party lacks drops the action: an actor waits at the head
    // of the list to choose again, unless it cannot act (it would never
    // choose again); an enemy loses the turn.
    Ann().action.kind = Act::kItem;
    Ann().action.itemId = 3;
    Ann().actionMarker = 1;
    EXPECT_FALSE(actions.ExecuteAction(Ann()));
    EXPECT_EQ(Ann().actionMarker, 0);
    Status(4).restriction = TLcfStatusItem::kCannotAct;
    Status(4).recoveryChance = 50;
    Ann().InflictCondition(4);
    ASSERT_FALSE(Ann().CanAct());
    ASSERT_FALSE(Ann().IsIncapacitated());
    Ann().actionMarker = 1;
    EXPECT_TRUE(actions.ExecuteAction(Ann()));
    EXPECT_EQ(Ann().actionMarker, 0);
    Ann().CureCondition(4);
    ogre.action.kind = Act::kItem;
    ogre.action.itemId = 3;
    EXPECT_TRUE(actions.ExecuteAction(ogre));

    // An executed action ends the initiative and sets its switches.
    ogre.action.kind = Act::kBasic;
    ogre.action.basic = Act::kObserve;
    host.firstStrike = false;
    Ann().action.kind = Act::kBasic;
    Ann().action.basic = Act::kDefend;
    Ann().action.switchOnId = 4;
    host.firstStrike = true;
    EXPECT_TRUE(actions.ExecuteAction(Ann()));
    EXPECT_FALSE(host.firstStrike);
    EXPECT_EQ(Ann().pose, Show::kDefend);
    EXPECT_EQ(Ann().actionMarker, 2);
}

TEST_F(BattleActionsTest, ActionsWithoutAMotionOfTheirOwnEndTheActorsTurn) {
    // Observing, charging and an attack whose targets are all gone show no
    // pose of their own; the turn must still end, or every other battler
    // would wait for ever.
    GamePlayers->PlaceForBattle();
    for (uint8_t basic : {Act::kObserve, Act::kCharge, Act::kAttack}) {
        for (int i = 0; i < 3; ++i) Enemy(i).hp = basic == Act::kAttack ? 0 : Enemy(i).hp;
        Ann().action.kind = Act::kBasic;
        Ann().action.basic = basic;
        Ann().action.targetKind = Act::kOneEnemy;
        Ann().actionMarker = 1;
        EXPECT_TRUE(actions.ExecuteAction(Ann()));
        EXPECT_EQ(Ann().actionMarker, 2);
        for (int i = 0; i < 3; ++i) GamePlayers->UpdateBattle();
        EXPECT_EQ(Ann().actionMarker, 0) << int(basic);
    }
}

TEST_F(BattleActionsTest, EnemyBasicActionsShowTheirMessages) {
    TLcfgMonsterItem& ogre = Enemy(0);
    ogre.action.kind = Act::kBasic;
    ogre.action.basic = Act::kCharge;
    EXPECT_TRUE(actions.ExecuteAction(ogre));
    EXPECT_EQ(ogre.charged, 1);
    ASSERT_EQ(host.lines.size(), 1u);

    // Surrounded enemies cannot flee: the action becomes doing nothing.
    host.start = 3;
    ogre.action.basic = Act::kEscape;
    actions.PerformBasicAction(ogre);
    EXPECT_EQ(ogre.action.basic, Act::kDoNothing);
    EXPECT_TRUE(ogre.present);
    host.start = 0;
    ogre.action.basic = Act::kEscape;
    actions.PerformBasicAction(ogre);
    EXPECT_FALSE(ogre.present);
    EXPECT_GT(ogre.escapeFade, 0);
    EXPECT_EQ(host.sounds.back(), kSoundEscape);
}

TEST_F(BattleActionsTest, ConditionTicksWearOffOrDeepenWithTheirHpChange) {
    // Condition 3 wears off after its first turn with a 50 % chance and
    // takes 10 % of max HP plus 5 each turn, never the last point.
    TLcfStatusItem& c = Status(3);
    c.minimumTurns = 1;
    c.recoveryChance = 50;
    c.battleHpPercent = 10;
    c.battleHpPoints = 5;
    Ann().InflictCondition(3);
    dice.script = {};
    actions.ConditionTick(Ann());  // level 1, not past its turns: no roll
    EXPECT_EQ(Ann().Condition(3), 2);
    EXPECT_EQ(Ann().hp, 999 - 104);
    dice.script = {50};
    actions.ConditionTick(Ann());
    EXPECT_EQ(Ann().Condition(3), 3);
    dice.script = {49};
    actions.ConditionTick(Ann());
    EXPECT_FALSE(Ann().HasCondition(3));
    Bob().hp = 3;
    Bob().InflictCondition(3);
    c.minimumTurns = 9;
    actions.ConditionTick(Bob());
    EXPECT_EQ(Bob().hp, 1);
}

// --- Skills and items ------------------------------------------------------------------------

class SkillActionsTest : public BattleActionsTest {
protected:
    void SetUp() override {
        BattleActionsTest::SetUp();
        Status(4).inflictChance[0] = 100;
        // Skill 1 hurts one enemy for exactly 50 and inflicts condition 4.
        Skill(1, Chunks().Str(1, "Bolt").Int(12, 0).Int(22, 0).Int(23, 0).Int(24, 50).Int(31, 1).Int(14, 0));
        DbSkill->Find(1)->conditionSet.SetEntry(4, 1);
        // Skill 2 heals one ally for 100 and cures condition 4.
        Skill(2, Chunks().Str(1, "Mend").Int(12, 3).Int(22, 0).Int(23, 0).Int(24, 100).Int(31, 1).Int(14, 0));
        DbSkill->Find(2)->conditionSet.SetEntry(4, 1);
    }
};

TEST_F(SkillActionsTest, CureOrInflictFollowsTheSideTurnedRoundByTheSetting) {
    TLcfgMonsterItem& ogre = Enemy(0);
    Ann().action.skillId = 1;
    EXPECT_TRUE(actions.ApplySkillTo(Ann(), ogre));
    EXPECT_EQ(ogre.hp, 30000 - 50);
    EXPECT_TRUE(ogre.HasCondition(4));

    // The setting turns an enemy-side skill into a cure.
    DbSkill->Find(1)->battleSetting = 1;
    DbSkill->Find(1)->affectsHp = 0;
    EXPECT_TRUE(actions.ApplySkillTo(Ann(), ogre));
    EXPECT_FALSE(ogre.HasCondition(4));

    // A party-side skill cures, and turned round it inflicts.
    Bob().hp = 500;
    Bob().InflictCondition(4);
    Ann().action.skillId = 2;
    EXPECT_TRUE(actions.ApplySkillTo(Ann(), Bob()));
    EXPECT_EQ(Bob().hp, 600);
    EXPECT_FALSE(Bob().HasCondition(4));
    DbSkill->Find(2)->battleSetting = 1;
    DbSkill->Find(2)->affectsHp = 0;
    EXPECT_TRUE(actions.ApplySkillTo(Ann(), Bob()));
    EXPECT_TRUE(Bob().HasCondition(4));
}

TEST_F(SkillActionsTest, APhysicalSkillIsDodgedLikeAnAttack) {
    TLcfgMonsterItem& imp = Enemy(1);
    TLcfSkillItem& bolt = *DbSkill->Find(1);
    bolt.failureMessage = 3;
    bolt.successRate = 0;
    bolt.conditionSet.SetEntry(4, 0);
    Ann().action.skillId = 1;
    // A dodge chance of 100 % scaled by agility (10 against 30): the skill
    // lands only on a roll below 34.
    dice.script = {34};
    EXPECT_FALSE(actions.ApplySkillTo(Ann(), imp));
    EXPECT_EQ(imp.hp, 10);
    EXPECT_EQ(host.sounds.back(), kSoundEvasion);
    // Unless the target cannot act.
    imp.InflictCondition(2);
    ASSERT_FALSE(imp.CanAct());
    ASSERT_TRUE(imp.IsAlive());
    EXPECT_TRUE(actions.ApplySkillTo(Ann(), imp));
    EXPECT_EQ(imp.hp, 0);
}

TEST_F(SkillActionsTest, AReflectedSkillGoesBackToTheCaster) {
    TLcfgMonsterItem& ogre = Enemy(0);
    ogre.InflictCondition(3);
    ASSERT_TRUE(ogre.HasCondition(3)) << ogre.ConditionCount();
    ASSERT_TRUE(ogre.ConditionFlagB());
    Ann().action.kind = Act::kSkill;
    Ann().action.skillId = 1;
    Ann().action.targetKind = Act::kOneEnemy;
    Ann().action.targetIndex = 0;
    actions.PlaySkillAnimation(Ann());
    actions.CheckReflection(Ann());
    EXPECT_EQ(actions.reflectingCaster, &Ann());
    EXPECT_EQ(actions.reflectionDirection, 3);
    actions.ApplySkill(Ann());
    EXPECT_EQ(ogre.hp, 30000);
    EXPECT_EQ(Ann().hp, 999 - 50);
    // Without the condition the skill lands where it was aimed.
    ogre.CureCondition(3);
    actions.PlaySkillAnimation(Ann());
    actions.CheckReflection(Ann());
    EXPECT_EQ(actions.reflectingCaster, nullptr);
    actions.ApplySkill(Ann());
    EXPECT_EQ(ogre.hp, 30000 - 50);
}

TEST_F(SkillActionsTest, InflictChanceIsScaledByRankThenResistance) {
    for (int32_t& p : Status(4).inflictChance) p = 60;
    TLcfgMonsterItem& ogre = Enemy(0);
    EXPECT_EQ(TBattleActions::InflictPercent(ogre, 4, 50), 30);
    EXPECT_EQ(TBattleActions::InflictPercent(ogre, 4, 100), 60);
    // Already afflicted counts only where there is a message to say so.
    ogre.InflictCondition(4);
    EXPECT_FALSE(actions.InflictConditionEffect(ogre, 4, 100));
    Status(4).messageAlready = "is already so";
    EXPECT_TRUE(actions.InflictConditionEffect(ogre, 4, 100));
}

TEST_F(SkillActionsTest, MedicineHealsOnlyWhoMayUseItAndRevivalItemsOnlyTheFallen) {
    // Item 5: medicine of 50 HP; item 6: revives with 10 % of max HP.
    Item(5, Chunks().Str(1, "Herb").Data(3, {6}).Int(33, 50));
    Item(6, Chunks().Str(1, "Feather").Data(3, {6}).Int(32, 10).Data(38, {1}));
    DbItem->Find(6)->conditionSet.SetEntry(1, 1);
    Ann().hp = 100;
    EXPECT_TRUE(actions.Medicine(Bob(), Ann(), *DbItem->Find(5)));
    EXPECT_EQ(Ann().hp, 150);
    EXPECT_FALSE(actions.Medicine(Bob(), Ann(), *DbItem->Find(6)));
    Ann().DamageHp(9999, true);
    ASSERT_EQ(Ann().hp, 0);
    EXPECT_TRUE(actions.Medicine(Bob(), Ann(), *DbItem->Find(6)));
    EXPECT_EQ(Ann().hp, 99);  // 1 from the cure, then 10 % less that point
    // A hero the item does not allow gets nothing.
    DbItem->Find(5)->heroSet.SetEntry(1, 0);
    EXPECT_FALSE(actions.Medicine(Bob(), Ann(), *DbItem->Find(5)));
    EXPECT_EQ(Ann().hp, 99);
}

TEST_F(SkillActionsTest, MedicineNeedsBothFlagsUnlessPermissionGoesByClass) {
    Item(5, Chunks().Str(1, "Herb").Data(3, {6}).Int(33, 50));
    TLcfItemItem& herb = *DbItem->Find(5);
    herb.classSet.SetEntry(Ann().ClassId() + 1, 0);
    Ann().hp = 100;
    // By hero: the hero flag allows, the class flag does not.
    DbSystem->equipByClass = 0;
    ASSERT_NE(herb.GetHeroFlag(Ann().Id()), 0);
    EXPECT_FALSE(actions.Medicine(Bob(), Ann(), herb));
    EXPECT_EQ(Ann().hp, 100);
    // By class: no test at all, even with both flags off.
    DbSystem->equipByClass = 1;
    herb.heroSet.SetEntry(Ann().Id(), 0);
    EXPECT_TRUE(actions.Medicine(Bob(), Ann(), herb));
    EXPECT_EQ(Ann().hp, 150);
}

TEST_F(SkillActionsTest, AnEnemySkillOnAReflectingActorHitsTheEnemyItself) {
    TLcfgMonsterItem& ogre = Enemy(0);
    ogre.action.kind = Act::kSkill;
    ogre.action.skillId = 1;
    ogre.action.targetKind = Act::kOneMember;
    ogre.action.targetIndex = 1;
    Bob().InflictCondition(3);
    ogre.sp = 0;  // the bolt is free
    EXPECT_TRUE(actions.ExecuteAction(ogre));
    EXPECT_EQ(Bob().hp, 999);
    EXPECT_EQ(ogre.hp, 30000 - 50);
    EXPECT_EQ(host.lines, std::vector<std::string>{"Bolt"});
    // Aimed at the whole party, it goes to the whole troop instead.
    ogre.action.targetKind = Act::kParty;
    actions.PerformSkill(ogre);
    EXPECT_EQ(Ann().hp, 999);
    EXPECT_EQ(ogre.hp, 30000 - 100);
    EXPECT_EQ(Enemy(1).hp, 0);
}

TEST_F(SkillActionsTest, ItemsAreUsedUpAndMedicineReachesTheWholeParty) {
    Item(5, Chunks().Str(1, "Herb").Data(3, {6}).Int(33, 50));
    Item(7, Chunks().Str(1, "Bell").Data(3, {10}).Int(55, 2));
    GamePartyInfo->GainItem(5, 2);
    GamePartyInfo->GainItem(7, 1);
    Ann().hp = Bob().hp = 100;
    Ann().action.kind = Act::kItem;
    Ann().action.itemId = 5;
    Ann().action.targetKind = Act::kParty;
    EXPECT_TRUE(actions.ExecuteAction(Ann()));
    EXPECT_EQ(Ann().hp, 150);
    EXPECT_EQ(Bob().hp, 150);
    EXPECT_EQ(GamePartyInfo->ItemCount(5), 1);
    EXPECT_EQ(Ann().castingMarker, 2);
    EXPECT_EQ(host.sounds.back(), kSoundItemUse);

    // A switch item runs the battle's events for the action.
    Ann().actionMarker = 0;
    Ann().action.itemId = 7;
    EXPECT_TRUE(actions.ExecuteAction(Ann()));
    EXPECT_EQ(host.triggers, std::vector<int>{2});
    EXPECT_EQ(GamePartyInfo->ItemCount(7), 0);
    // Gone now: the next try is dropped, and the actor is to choose again.
    Ann().actionMarker = 1;
    EXPECT_FALSE(actions.ExecuteAction(Ann()));
    EXPECT_EQ(Ann().actionMarker, 0);
}

}  // namespace
