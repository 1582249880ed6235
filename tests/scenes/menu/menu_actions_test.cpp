// Item and skill effects of the menu on one member, who performs an item's
// skill, the windows' experience line and the quit question's width, and
// the script command that opens the menu.
#include <gtest/gtest.h>

#include "game/interpreter/command_table.h"
#include "scenes/menu/end_window.h"
#include "scenes/menu/menu_actions.h"
#include "scenes/menu/menu_fixture.h"
#include "scenes/windows/window_text.h"

using namespace menu_test;
using namespace menu_actions;

namespace {

class MenuActions : public MenuTest {
protected:
    // Actor 2 dead: 0 HP and condition 1.
    TLcfgPlayerItem& DeadLysa() {
        TLcfgPlayerItem& a = Actor(2);
        a.hp = 0;
        a.SetCondition(1, 1);
        return a;
    }
};

}  // namespace

TEST_F(MenuActions, MedicineRevivesOnlyTheFallenWithTheRestOfItsRecovery) {
    const TLcfItemItem& phoenix = *DbItem->Find(kPhoenix);
    EXPECT_FALSE(ApplyMedicine(phoenix, Actor(1)));  // alive: no effect
    TLcfgPlayerItem& lysa = DeadLysa();
    EXPECT_TRUE(ApplyMedicine(phoenix, lysa));
    EXPECT_FALSE(lysa.HasCondition(1));
    EXPECT_EQ(lysa.hp, 40);  // 1 from the cure, then 80 x 50 % - 1
    // A potion does nothing for the dead, and the forbidden get nothing.
    lysa.hp = 0;
    lysa.SetCondition(1, 1);
    EXPECT_FALSE(ApplyMedicine(*DbItem->Find(kPotion), lysa));
    Actor(1).hp = 10;
    DbItem->Find(kPotion)->heroSet.SetEntry(1, 0);
    EXPECT_FALSE(ApplyMedicine(*DbItem->Find(kPotion), Actor(1)));
    EXPECT_EQ(Actor(1).hp, 10);
}

TEST_F(MenuActions, ARevivingSkillAddsItsAmountLessOneOrAShareOfMaximumHp) {
    TLcfSkillItem& raise = MakeSkill(6, "Raise", TLcfSkillItem::kOneAlly, 10);
    raise.conditionSet.SetEntry(1, 1);
    raise.baseEffect = 30;
    raise.affectsHp = 1;
    TLcfgPlayerItem& lysa = DeadLysa();
    EXPECT_TRUE(ApplySkill(Actor(1), raise, lysa));
    EXPECT_EQ(lysa.hp, 30);  // 1 + 29
    // Without the HP flag the amount is a percentage of maximum HP.
    raise.affectsHp = 0;
    raise.baseEffect = 25;
    lysa.hp = 0;
    lysa.SetCondition(1, 1);
    EXPECT_TRUE(ApplySkill(Actor(1), raise, lysa));
    EXPECT_EQ(lysa.hp, 20);  // 1 + 80 x 25 / 100 - 1
    // On the living it has nothing to cure.
    EXPECT_FALSE(ApplySkill(Actor(1), raise, lysa));
    // With its battle setting it inflicts instead.
    raise.battleSetting = 1;
    TLcfSkillItem& lull = raise;
    lull.conditionSet.SetEntry(1, 0);
    lull.conditionSet.SetEntry(2, 1);
    EXPECT_TRUE(ApplySkill(Actor(1), lull, lysa));
    EXPECT_TRUE(lysa.HasCondition(2));

    // A cure that worn armour refuses changes nothing, so it is no success
    // (the menu buzzes and takes no SP); without the armour it cures.
    TLcfSkillItem& wake = MakeSkill(7, "Wake", TLcfSkillItem::kOneAlly, 3);
    wake.conditionSet.SetEntry(2, 1);
    DbStatus->Find(2)->persistence = 1;
    TLcfItemItem& shield = *DbItem->Find(kShield);
    shield.conditionMode = 1;
    shield.conditionSet.SetEntry(2, 1);
    TLcfgPlayerItem& aren = Actor(1);
    aren.equipment[1] = kShield;
    aren.SetCondition(2, 1);
    EXPECT_FALSE(ApplySkill(Actor(2), wake, aren));
    EXPECT_TRUE(aren.HasCondition(2));
    aren.equipment[1] = 0;
    EXPECT_TRUE(ApplySkill(Actor(2), wake, aren));
    EXPECT_FALSE(aren.HasCondition(2));
}

TEST_F(MenuActions, BooksAndSeedsNeedAPermittedLivingMember) {
    const TLcfItemItem& book = *DbItem->Find(kBook);
    EXPECT_TRUE(ApplySkillBook(book, Actor(1)));
    EXPECT_TRUE(Actor(1).KnowsSkill(kHealAll));
    EXPECT_FALSE(ApplySkillBook(book, Actor(1)));  // known already
    const TLcfItemItem& seed = *DbItem->Find(kSeed);
    const int32_t attack = Actor(1).BaseAttack();
    EXPECT_TRUE(ApplyParameterItem(seed, Actor(1)));
    EXPECT_EQ(Actor(1).BaseAttack(), attack + 3);
    EXPECT_FALSE(ApplyParameterItem(seed, DeadLysa()));
    EXPECT_FALSE(ApplySkillBook(book, Actor(2)));
}

TEST_F(MenuActions, TheItemSkillUserIsTheHighestLevelPermittedMemberWhoCanAct) {
    const TLcfItemItem& scroll = *DbItem->Find(kSkillScroll);
    EXPECT_EQ(ItemSkillUserSlot(scroll), 1);  // Lysa, level 7
    Actor(2).SetCondition(2, 1);              // asleep
    EXPECT_EQ(ItemSkillUserSlot(scroll), 0);
    DbItem->Find(kSkillScroll)->heroSet.SetEntry(1, 0);
    EXPECT_EQ(ItemSkillUserSlot(scroll), -1);
    // Equal levels: the first in the party.
    Actor(2).SetCondition(2, 0);
    DbItem->Find(kSkillScroll)->heroSet.SetEntry(1, 1);
    Actor(2).level = Actor(1).level;
    EXPECT_EQ(ItemSkillUserSlot(scroll), 0);
}

TEST_F(MenuActions, ExperienceAtTheHighestLevelAndQuitWindowsWithinTheScreen) {
    EXPECT_EQ(ExperienceText(Actor(1)).size(), 15u);
    Actor(1).level = Actor(1).MaxLevel();
    EXPECT_EQ(ExperienceText(Actor(1)), "-------/-------");
    EXPECT_EQ(TLcfEndWindow::WidthFor(4), 40);
    EXPECT_LE(TLcfEndWindow::WidthFor(400), 320);
    DbVocabulary->Set(TLcfVocabulary::kQuitConfirm, std::string(300, 'x'));
    TLcfEndWindow end;
    end.SetupQuestion();
    EXPECT_GE(end.Question().X(), 0);
    EXPECT_LE(end.Question().X() + end.Question().Width(), 320);
    EXPECT_EQ(end.Cursor(), 0);
    EXPECT_TRUE(end.Active());
}

TEST_F(MenuActions, TheOpenMenuCommandAsksForTheMenuUnlessAMessageIsUp) {
    system->scene = kSceneField;
    lcf_builder::Script s;
    s.Line(11950).Line(0);
    window.visible = true;
    RunParallel(s);
    EXPECT_EQ(system->scene, kSceneField);
    window.visible = false;
    RunParallel(s);
    EXPECT_EQ(system->scene, kSceneMenu);
}
