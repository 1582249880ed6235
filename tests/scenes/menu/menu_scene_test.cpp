// The menu scene: which commands answer, item and skill use on the party
// with their payment, the checks before a teleport or escape, switch
// items, rows, the party order, equipment previews and quitting.
#include <gtest/gtest.h>

#include "data/database/animation.h"
#include "data/errors.h"
#include "scenes/menu/menu_fixture.h"

using namespace menu_test;

namespace {

class MenuScene : public MenuTest {};

}  // namespace

TEST_F(MenuScene, CommandRowsSkipCodesThatNameNoCommandAndEndWithQuit) {
    DbSystem->menuCommands.Resize(4);
    const uint16_t codes[4] = {1, 0, 9, 4};
    for (int i = 0; i < 4; ++i) DbSystem->menuCommands.Set(i, codes[i]);
    Open();
    EXPECT_EQ(menu->Commands().codes, (std::vector<int32_t>{1, 4}));
    EXPECT_EQ(menu->Commands().ItemCount(), 3);
    EXPECT_EQ(menu->Commands().Height(), 3 * 16 + 16);
    menu->Commands().SetCursor(2);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(menu->State(), TLcfMenuScene::kQuit);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(menu->State(), TLcfMenuScene::kMain);
    EXPECT_TRUE(menu->Commands().Active());
}

TEST_F(MenuScene, WithAnEmptyPartyOnlySaveWaitAndQuitAnswer) {
    partyInfo->RemoveMember(1);
    partyInfo->RemoveMember(2);
    Open();
    for (int32_t code : {TLcfMenuScene::kItem, TLcfMenuScene::kSkill, TLcfMenuScene::kEquipment,
                         TLcfMenuScene::kStatus, TLcfMenuScene::kRow, TLcfMenuScene::kOrder}) {
        const int buzzes = Sounds("Buzzer");
        Choose(code);
        EXPECT_EQ(Sounds("Buzzer"), buzzes + 1) << "command " << code;
        EXPECT_EQ(menu->State(), TLcfMenuScene::kMain);
        EXPECT_TRUE(menu->Commands().Active());
    }
    // Wait/active changes the flag and stays.
    system->battleWaitMode = 0;
    Choose(TLcfMenuScene::kWaitMode);
    EXPECT_EQ(system->battleWaitMode, 1);
    EXPECT_TRUE(menu->Started());
    Choose(TLcfMenuScene::kWaitMode);
    EXPECT_EQ(system->battleWaitMode, 0);
    // Save leaves for the save scene in save mode, from the menu.
    bool saveMode = false, fromMenu = false;
    TLcfMenuScene::SetSaveMode = [&](bool on) { saveMode = on; };
    TLcfMenuScene::SetSaveFromMenu = [&](bool on) { fromMenu = on; };
    Choose(TLcfMenuScene::kSave);
    TLcfMenuScene::SetSaveMode = nullptr;
    TLcfMenuScene::SetSaveFromMenu = nullptr;
    EXPECT_EQ(system->scene, kSceneSave);
    EXPECT_TRUE(saveMode);
    EXPECT_TRUE(fromMenu);
    EXPECT_FALSE(menu->Started());
}

TEST_F(MenuScene, SavingForbiddenBuzzesAndCancelLeavesForTheField) {
    system->saveAllowed = 0;
    Open();
    const int buzzes = Sounds("Buzzer");
    Choose(TLcfMenuScene::kSave);
    EXPECT_EQ(Sounds("Buzzer"), buzzes + 1);
    EXPECT_EQ(system->scene, kSceneMenu);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(system->scene, kSceneField);
    EXPECT_FALSE(menu->Started());
}

TEST_F(MenuScene, MedicineOnAFullMemberBuzzesAndOnAHurtOneHealsAndIsUsedUp) {
    partyInfo->GainItem(kPotion, 2);
    Actor(2).hp -= 40;
    Open();
    Choose(TLcfMenuScene::kItem);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kItemList);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kItemTarget);
    EXPECT_EQ(menu->Targets().ItemCount(), 2);
    const int buzzes = Sounds("Buzzer");
    Press(TMultiInput::kDecision);  // Aren is at full HP
    EXPECT_EQ(Sounds("Buzzer"), buzzes + 1);
    EXPECT_EQ(partyInfo->ItemCount(kPotion), 2);
    EXPECT_EQ(Sounds("Chime"), 0);
    Press(TMultiInput::kDown);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Actor(2).hp, Actor(2).MaxHP() - 10);
    EXPECT_EQ(partyInfo->ItemCount(kPotion), 1);
    EXPECT_EQ(Sounds("Chime"), 1);
    // Back to the list where it was.
    Press(TMultiInput::kCancel);
    EXPECT_EQ(menu->State(), TLcfMenuScene::kItemList);
    EXPECT_EQ(menu->Items().SelectedItem(), kPotion);
}

TEST_F(MenuScene, MedicineForThePartyTakesOneCursorOverEveryone) {
    partyInfo->GainItem(kRoundHeal, 1);
    Actor(1).hp -= 20;
    Actor(2).hp -= 20;
    Open();
    Choose(TLcfMenuScene::kItem);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kItemTarget);
    EXPECT_EQ(menu->Targets().ItemCount(), 1);
    EXPECT_EQ(menu->Targets().cursorHeight, 2 * 58 - 10);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Actor(1).hp, Actor(1).MaxHP() - 10);
    EXPECT_EQ(Actor(2).hp, Actor(2).MaxHP() - 10);
    EXPECT_EQ(partyInfo->ItemCount(kRoundHeal), 0);
    // None left: the buzzer.
    const int buzzes = Sounds("Buzzer");
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Buzzer"), buzzes + 1);
}

TEST_F(MenuScene, ASkillThroughAnItemIsPerformedByTheHighestLevelMemberWithoutSp) {
    partyInfo->GainItem(kSkillScroll, 2);
    Actor(1).sp = 0;
    Actor(2).sp = 0;
    Open();
    Choose(TLcfMenuScene::kItem);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kItemTarget);
    // A skill on its user: the cursor is fixed on the member chosen in the
    // party list, none yet, so the first row; Lysa (level 7) performs it.
    EXPECT_EQ(menu->Targets().ItemCount(), 1);
    EXPECT_EQ(menu->Targets().topMargin, 8);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Actor(2).sp, 12);  // the skill's 12, nothing paid
    EXPECT_EQ(Actor(1).sp, 0);
    EXPECT_EQ(partyInfo->ItemCount(kSkillScroll), 1);
    // Once the second member has been chosen for a row change, the
    // cursor stands on the second row.
    Press(TMultiInput::kCancel);
    Press(TMultiInput::kCancel);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kMain);
    Choose(TLcfMenuScene::kRow);
    Press(TMultiInput::kDown);
    Press(TMultiInput::kDecision);
    Choose(TLcfMenuScene::kItem);
    ChooseItem(kSkillScroll);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kItemTarget);
    EXPECT_EQ(menu->Targets().topMargin, 58 + 8);
}

TEST_F(MenuScene, AnItemsTeleportOrEscapeWithNowhereToGoBuzzesBeforeAnythingIsPaid) {
    partyInfo->GainItem(kWing, 1);
    Open();
    Choose(TLcfMenuScene::kItem);
    const int buzzes = Sounds("Buzzer");
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Buzzer"), buzzes + 1);
    EXPECT_EQ(menu->State(), TLcfMenuScene::kItemList);
    EXPECT_EQ(partyInfo->ItemCount(kWing), 1);
    // With a place to go the list opens; cancel goes back to the items.
    teleports.SetTarget(5, 3, 4, false, 0);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kTeleport);
    EXPECT_EQ(menu->Teleports().ItemCount(), 1);
    EXPECT_EQ(menu->Teleports().TargetIndex(), 1);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(menu->State(), TLcfMenuScene::kItemList);
    EXPECT_EQ(menu->Items().SelectedItem(), kWing);
    // An escape with the escape point on no map.
    DbItem->Find(kWing)->skillId = kEscapeSkill;
    const int before = Sounds("Buzzer");
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Buzzer"), before + 1);
    EXPECT_EQ(menu->State(), TLcfMenuScene::kItemList);
    // Choosing a place leaves the menu; an item that performs a skill is
    // never used up.
    DbItem->Find(kWing)->skillId = kTeleportSkill;
    DbSkill->Find(kTeleportSkill)->sound.name = "Chime";
    Press(TMultiInput::kDecision);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kTeleport);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Chime"), 1);
    EXPECT_EQ(system->scene, kSceneField);
    EXPECT_FALSE(menu->Started());
    EXPECT_EQ(partyInfo->ItemCount(kWing), 1);
}

TEST_F(MenuScene, ASwitchItemIsUsedTurnsItsSwitchOnAndLeaves) {
    partyInfo->GainItem(kSwitchBell, 1);
    Open();
    Choose(TLcfMenuScene::kItem);
    Press(TMultiInput::kDecision);
    EXPECT_TRUE(system->GetSwitch(9));
    EXPECT_EQ(partyInfo->ItemCount(kSwitchBell), 0);
    EXPECT_EQ(system->scene, kSceneField);
    EXPECT_FALSE(menu->Started());
}

TEST_F(MenuScene, SkillsNeedAMemberWhoCanActAndCostTheUsersSp) {
    Actor(2).LearnSkill(kHeal);
    // The skill sounds like the first timing of its animation that has a
    // sound.
    TLcfAnimationItem& sparkle = *DbAnimation->GetOrCreate(1);
    sparkle.timings.Add()->sound.name = "(OFF)";
    sparkle.timings.Add()->sound.name = "Chime";
    sparkle.timings.Add()->sound.name = "Cursor";
    DbSkill->Find(kHeal)->battleAnimation = 1;
    Actor(1).hp = 50;
    Actor(1).SetCondition(2, 1);  // asleep
    Open();
    Choose(TLcfMenuScene::kSkill);
    ASSERT_TRUE(menu->Party().Active());
    const int buzzes = Sounds("Buzzer");
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Buzzer"), buzzes + 1);
    EXPECT_TRUE(menu->Party().Active());
    Press(TMultiInput::kDown);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kSkillList);
    EXPECT_EQ(menu->Skills().SelectedSkill(), kHeal);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kSkillTarget);
    EXPECT_EQ(menu->Targets().ItemCount(), 2);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Actor(1).hp, 90);
    EXPECT_EQ(Actor(2).sp, Actor(2).MaxSP() - 5);
    EXPECT_EQ(Sounds("Chime"), 1);
    // Back on the main screen the party list is set up anew.
    Press(TMultiInput::kCancel);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(menu->State(), TLcfMenuScene::kMain);
    EXPECT_TRUE(menu->Commands().Active());
}

TEST_F(MenuScene, TheRowCommandKeepsSomeoneInFront) {
    Open();
    Choose(TLcfMenuScene::kRow);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Actor(1).row, 1);
    EXPECT_FALSE(menu->Party().CursorVisible());
    Choose(TLcfMenuScene::kRow);
    Press(TMultiInput::kDown);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Actor(2).row, 0);  // the only one in front stays there
    Choose(TLcfMenuScene::kRow);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Actor(1).row, 0);
}

TEST_F(MenuScene, OrderCancelGivesBackTheLastPickAndConfirmReordersTheParty) {
    partyInfo->AddMember(3);
    Open();
    Choose(TLcfMenuScene::kOrder);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kOrderPage);
    TLcfSortWindow& order = menu->Order();
    Press(TMultiInput::kDecision);  // Aren
    Press(TMultiInput::kDown);
    Press(TMultiInput::kDecision);  // Lysa
    EXPECT_EQ(order.ChosenCount(), 2);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(order.ChosenCount(), 1);
    EXPECT_EQ(order.ChosenId(0), 1);
    EXPECT_EQ(order.SourceId(1), 2);
    // A picked entry cannot be picked again.
    order.SetCursor(0);
    const int buzzes = Sounds("Buzzer");
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Buzzer"), buzzes + 1);
    order.SetCursor(2);
    Press(TMultiInput::kDecision);  // Borin
    order.SetCursor(1);
    Press(TMultiInput::kDecision);  // Lysa
    ASSERT_TRUE(order.Confirm().IsVisible());
    Press(TMultiInput::kDecision);  // Confirm
    EXPECT_EQ(menu->State(), TLcfMenuScene::kMain);
    ASSERT_EQ(partyInfo->MemberCount(), 3);
    EXPECT_EQ(partyInfo->MemberId(0), 1);
    EXPECT_EQ(partyInfo->MemberId(1), 3);
    EXPECT_EQ(partyInfo->MemberId(2), 2);
}

TEST_F(MenuScene, EquipmentPreviewsLeaveTheInventoryExact) {
    partyInfo->GainItem(kSword, 1);
    partyInfo->GainItem(kShield, 1);
    Open();
    Choose(TLcfMenuScene::kEquipment);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kEquip);
    TLcfEquipWindow& equip = menu->Equipment();
    EXPECT_EQ(equip.ItemCount(), 2);  // the spare sword and nothing
    const int32_t attack = Actor(1).BaseAttack();
    // Preview "nothing", then cancel.
    Press(TMultiInput::kDecision);
    ASSERT_TRUE(equip.Active());
    Press(TMultiInput::kRight);
    Frame();
    EXPECT_EQ(Actor(1).BaseAttack(), attack - 5);
    EXPECT_EQ(partyInfo->ItemCount(kSword), 1);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(Actor(1).Equipment(0), kSword);
    EXPECT_EQ(partyInfo->ItemCount(kSword), 1);
    EXPECT_TRUE(equip.Slots().Active());
    // Preview the shield in the second slot, then take it.
    Press(TMultiInput::kDown);
    EXPECT_EQ(equip.Slot(), 1);
    Press(TMultiInput::kDecision);
    Frame();
    EXPECT_EQ(Actor(1).Equipment(1), kShield);
    EXPECT_EQ(partyInfo->ItemCount(kShield), 1);  // a preview only
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Actor(1).Equipment(1), kShield);
    EXPECT_EQ(partyInfo->ItemCount(kShield), 0);
    EXPECT_EQ(partyInfo->ItemCount(kSword), 1);
    EXPECT_EQ(Actor(1).Equipment(0), kSword);
    // Cancel on the slots closes the screen and the main screen returns.
    Press(TMultiInput::kCancel);
    Frame();
    EXPECT_EQ(menu->State(), TLcfMenuScene::kMain);
}

TEST_F(MenuScene, FixedEquipmentOffersNothingAndBuzzes) {
    partyInfo->GainItem(kSword, 1);
    partyInfo->RemoveMember(2);
    Actor(1).lockEquipment = 1;
    Open();
    Choose(TLcfMenuScene::kEquipment);
    Press(TMultiInput::kDecision);
    TLcfEquipWindow& equip = menu->Equipment();
    EXPECT_EQ(equip.ItemCount(), 0);
    const int buzzes = Sounds("Buzzer");
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Buzzer"), buzzes + 1);
    EXPECT_FALSE(equip.Active());
    // With one member, right and left stay with that member.
    Press(TMultiInput::kRight);
    EXPECT_EQ(equip.ActorId(), 1);
}

TEST_F(MenuScene, StatusPageSwitchesMembersAndWidensTheGoldWindow) {
    Open();
    Choose(TLcfMenuScene::kStatus);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kStatusPage);
    EXPECT_EQ(menu->Gold().Width(), 124);
    EXPECT_EQ(menu->StatusPage().ActorId(), 1);
    Press(TMultiInput::kLeft);
    EXPECT_EQ(menu->StatusPage().ActorId(), 2);
    Press(TMultiInput::kRight);
    EXPECT_EQ(menu->StatusPage().ActorId(), 1);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(menu->State(), TLcfMenuScene::kMain);
    EXPECT_EQ(menu->Gold().Width(), 88);
}

TEST_F(MenuScene, QuitFadesTheMusicAndRaisesTheReset) {
    Open();
    Choose(0);  // the quit row
    ASSERT_EQ(menu->State(), TLcfMenuScene::kQuit);
    EXPECT_EQ(menu->QuitQuestion().Cursor(), 0);
    EXPECT_THROW(Press(TMultiInput::kDecision), ESorvoDrawReset);
    EXPECT_EQ(system->scene, kSceneField);
    EXPECT_NE(std::find(audio.log.begin(), audio.log.end(), "fade 400"), audio.log.end());
}

TEST_F(MenuScene, OnlyATypeNineItemAimsLikeItsSkillAFlaggedOneMovesOverTheMembers) {
    // A weapon that performs a skill for everyone: one member at a time to
    // point at, but the skill still reaches the whole party.
    TLcfItemItem& sword = *DbItem->Find(kSword);
    sword.performsSkill = 1;
    sword.skillId = kHealAll;
    partyInfo->GainItem(kSword, 1);
    DbItem->Find(kSkillScroll)->skillId = kHealAll;
    partyInfo->GainItem(kSkillScroll, 1);
    Actor(1).hp -= 30;
    Actor(2).hp -= 30;
    Open();
    Choose(TLcfMenuScene::kItem);
    ChooseItem(kSword);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kItemTarget);
    EXPECT_EQ(menu->Targets().ItemCount(), 2);
    EXPECT_EQ(menu->Targets().cursorHeight, 48);
    Press(TMultiInput::kDown);
    EXPECT_EQ(menu->Targets().Cursor(), 1);
    Press(TMultiInput::kDecision);
    EXPECT_GT(Actor(1).hp, Actor(1).MaxHP() - 30);
    EXPECT_GT(Actor(2).hp, Actor(2).MaxHP() - 30);

    // Performing a skill on its user: the cursor is not fixed either.
    Press(TMultiInput::kCancel);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kItemList);
    sword.skillId = kFocus;
    Actor(2).sp = 0;
    ChooseItem(kSword);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kItemTarget);
    EXPECT_EQ(menu->Targets().ItemCount(), 2);
    EXPECT_EQ(menu->Targets().topMargin, 8);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Actor(2).sp, 12);  // Lysa, the highest level, performs it on herself

    // A scroll (type 9) with the party-wide skill takes the one cursor over everyone.
    Press(TMultiInput::kCancel);
    ChooseItem(kSkillScroll);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kItemTarget);
    EXPECT_EQ(menu->Targets().ItemCount(), 1);
    EXPECT_EQ(menu->Targets().cursorHeight, 2 * 58 - 10);
}

TEST_F(MenuScene, CancellingTheOrderWithNothingChosenIsSilent) {
    Open();
    Choose(TLcfMenuScene::kOrder);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kOrderPage);
    Press(TMultiInput::kDecision);
    const int cancels = Sounds("Cancel");
    Press(TMultiInput::kCancel);  // gives back the pick
    EXPECT_EQ(Sounds("Cancel"), cancels + 1);
    EXPECT_EQ(menu->State(), TLcfMenuScene::kOrderPage);
    Press(TMultiInput::kCancel);  // nothing chosen: done
    EXPECT_EQ(Sounds("Cancel"), cancels + 1);
    EXPECT_EQ(menu->State(), TLcfMenuScene::kMain);
}

namespace {

// The menu with a look at every picture it draws, fades included.
class WatchedMenu : public TLcfMenuScene {
public:
    std::function<void()> onDraw;
    void Draw() override {
        if (onDraw) onDraw();
        TLcfMenuScene::Draw();
    }
};

}  // namespace

TEST_F(MenuScene, LeavingAListScreenHidesTheListBeforeTheFade) {
    auto watched = std::make_unique<WatchedMenu>();
    WatchedMenu& w = *watched;
    menu = std::move(watched);
    partyInfo->GainItem(kWing, 1);
    teleports.SetTarget(5, 3, 4, false, 0);
    Actor(2).LearnSkill(kHeal);
    // Counts the pictures of the screen being left, and those among them
    // that still show its window.
    int pictures = 0, shown = 0;
    auto watch = [&](int state, const TLcfWindow& window, bool narrowGold = false) {
        pictures = shown = 0;
        w.onDraw = [&, state, narrowGold] {
            if (w.State() != state) return;
            ++pictures;
            if (window.IsVisible() || (narrowGold && w.Gold().Width() != 88)) ++shown;
        };
    };
    auto check = [&](const char* what) {
        EXPECT_GT(pictures, 0) << what;
        EXPECT_EQ(shown, 0) << what;
        w.onDraw = nullptr;
    };
    Open();
    Choose(TLcfMenuScene::kItem);
    ChooseItem(kWing);
    ASSERT_EQ(w.State(), TLcfMenuScene::kTeleport);
    watch(TLcfMenuScene::kTeleport, w.Teleports());
    Press(TMultiInput::kCancel);
    ASSERT_EQ(w.State(), TLcfMenuScene::kItemList);
    check("teleport list");
    watch(TLcfMenuScene::kItemList, w.Items());
    Press(TMultiInput::kCancel);
    ASSERT_EQ(w.State(), TLcfMenuScene::kMain);
    check("item list");

    Choose(TLcfMenuScene::kSkill);
    Press(TMultiInput::kDown);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(w.State(), TLcfMenuScene::kSkillList);
    watch(TLcfMenuScene::kSkillList, w.Skills());
    Press(TMultiInput::kCancel);
    ASSERT_EQ(w.State(), TLcfMenuScene::kMain);
    check("skill list");

    // The status page goes, and the gold window is narrow again, before the fade.
    Choose(TLcfMenuScene::kStatus);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(w.State(), TLcfMenuScene::kStatusPage);
    watch(TLcfMenuScene::kStatusPage, w.StatusPage(), true);
    Press(TMultiInput::kCancel);
    ASSERT_EQ(w.State(), TLcfMenuScene::kMain);
    check("status page");
}

// Only a target screen brings its list back where it was; the teleport
// list returns to the item or skill list set up anew, cursor at the top.
TEST_F(MenuScene, CancellingTheTeleportListReturnsToTheListFromTheTop) {
    partyInfo->GainItem(kPotion, 1);
    partyInfo->GainItem(kWing, 1);
    teleports.SetTarget(5, 3, 4, false, 0);
    Actor(2).LearnSkill(kHeal);
    Actor(2).LearnSkill(kTeleportSkill);
    Open();
    Choose(TLcfMenuScene::kItem);
    ChooseItem(kWing);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kTeleport);
    Press(TMultiInput::kCancel);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kItemList);
    EXPECT_EQ(menu->Items().Cursor(), 0);
    EXPECT_EQ(menu->Items().SelectedItem(), kPotion);
    // A target screen in between does not bring an older place back.
    ChooseItem(kPotion);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kItemTarget);
    Press(TMultiInput::kCancel);
    ChooseItem(kWing);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(menu->Items().SelectedItem(), kPotion);
    Press(TMultiInput::kCancel);

    Choose(TLcfMenuScene::kSkill);
    Press(TMultiInput::kDown);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kSkillList);
    Press(TMultiInput::kRight);
    ASSERT_EQ(menu->Skills().SelectedSkill(), kTeleportSkill);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kTeleport);
    Press(TMultiInput::kCancel);
    ASSERT_EQ(menu->State(), TLcfMenuScene::kSkillList);
    EXPECT_EQ(menu->Skills().Cursor(), 0);
    EXPECT_EQ(menu->Skills().SelectedSkill(), kHeal);
}
