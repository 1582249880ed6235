// The shop driven key by key from the script line that opens it: buying and
// selling with their prices and limits, the deal and no-deal cases, the
// message set and layout, and the equipment comparison marks.
#include <gtest/gtest.h>

#include <limits>

#include "data/database/item.h"
#include "data/database/player.h"
#include "data/database/vocabulary.h"
#include "data/map/map.h"
#include "game/actors/player.h"
#include "game/party/party_info.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/game_main.h"
#include "scenes/scene_fixture.h"
#include "scenes/shop/shop_command.h"
#include "scenes/shop/shop_scene.h"
#include "scenes/windows/text_units.h"
#include "support/noise_png.h"

using lcf_builder::Script;

namespace {

constexpr int32_t kOpenShop = 10720, kDeal = 20720, kNoDeal = 20721, kShopEnd = 20722, kSwitches = 10210;
enum Items : int32_t { kPotion = 1, kSword, kDagger, kShield, kHerb, kCursed, kCrown, kAxe };
constexpr int kDealSwitch = 1, kNoDealSwitch = 2;

class ShopTest : public scene_test::SceneTest {
protected:
    ShopTest() {
        ShopScene = &shop;
        RegisterShopCommand();
        AddItem(kPotion, "Potion", TLcfItemItem::kMedicine, 25);
        AddItem(kSword, "Sword", TLcfItemItem::kWeapon, 100, 10);
        AddItem(kDagger, "Dagger", TLcfItemItem::kWeapon, 50, 5);
        AddItem(kShield, "Shield", TLcfItemItem::kShield, 40, 0, 3);
        AddItem(kHerb, "Herb", TLcfItemItem::kMedicine, 0);
        AddItem(kCursed, "Cursed", TLcfItemItem::kCommon, -40);
        AddItem(kCrown, "Crown", TLcfItemItem::kCommon, 2000000000);
        AddItem(kAxe, "Axe", TLcfItemItem::kWeapon, 80, 30).twoHanded = 1;
        for (int set = 0; set < 3; ++set)
            DbVocabulary->ShopTerms(set).texts = {"Hello " + std::to_string(set), "Again", "Buy", "Sell", "Leave",
                                                  "Which?", "How many?", "Thanks", "Sell what?", "How many?",
                                                  "Sold"};
        DbVocabulary->Set(TLcfVocabulary::kCurrency, "G");
        DbPlayer->GetOrCreate(1)->name = "Ann";
        DbPlayer->GetOrCreate(2)->name = "Bo";
        MakeParty({1});
        system->scene = kSceneField;
    }
    ~ShopTest() override {
        shop.Reset();
        ShopScene = nullptr;
    }

    TLcfItemItem& AddItem(int32_t id, const std::string& name, uint8_t kind, int32_t price, int32_t attack = 0,
                          int32_t defense = 0) {
        TLcfItemItem* item = DbItem->GetOrCreate(id);
        item->name = name;
        item->description = name + " for sale";
        item->kind = kind;
        item->price = price;
        item->attackBonus = attack;
        item->defenseBonus = defense;
        return *item;
    }

    // Runs the shop line of a script with the deal and no-deal cases, up to
    // the shop's first frame.
    void OpenShop(std::initializer_list<int32_t> params) {
        Script s;
        s.Line(kOpenShop, 0, "", params);
        s.Line(kDeal, 0).Line(kSwitches, 1, "", {0, kDealSwitch, kDealSwitch, 0}).Line(0, 1);
        s.Line(kNoDeal, 0).Line(kSwitches, 1, "", {0, kNoDealSwitch, kNoDealSwitch, 0}).Line(0, 1);
        s.Line(kShopEnd, 0).Line(0);
        scripter->Start(1, s.List());
        scripter->Update();
        ASSERT_EQ(system->scene, kSceneShop);
        shop.Update();
        ASSERT_TRUE(shop.Started());
    }
    // One frame with `button` newly pressed (and repeating).
    void Press(int button) {
        input->Pressed = input->Repeated = TMultiInput::Bit(button);
        shop.Update();
        input->Pressed = input->Repeated = 0;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) shop.Update();
    }
    // Back on the field: the script goes on to its cases.
    void FinishScript() {
        ASSERT_EQ(system->scene, kSceneField);
        scripter->Update();
    }
    int32_t Gold() const { return partyInfo->gold; }

    TLcfShopScene shop;
};

}  // namespace

TEST_F(ShopTest, SellingThreeAtTwentyFiveGivesThirtySixAndRunsTheDealCase) {
    partyInfo->gold = 100;
    partyInfo->GainItem(kPotion, 3);
    OpenShop({2, 0, 0, 0});
    EXPECT_EQ(shop.StateNow(), TLcfShopScene::kSellList);
    EXPECT_EQ(shop.Help().Text(), "Potion\x01" "for\x01" "sale");
    Press(TMultiInput::kDecision);
    ASSERT_EQ(shop.StateNow(), TLcfShopScene::kSellCount);
    EXPECT_EQ(shop.NumberBox().Maximum(), 3);
    Press(TMultiInput::kUp);  // +10, held to the 3 owned
    EXPECT_EQ(shop.NumberBox().Count(), 3);
    EXPECT_EQ(shop.NumberBox().Total(), 36);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Gold(), 136);
    EXPECT_EQ(partyInfo->ItemCount(kPotion), 0);
    EXPECT_EQ(shop.StateNow(), TLcfShopScene::kSold);
    Frames(TLcfShopScene::kDealFrames);
    EXPECT_EQ(shop.StateNow(), TLcfShopScene::kSellList);
    // The emptied inventory keeps its cursor at 0, and a decision buzzes.
    EXPECT_EQ(shop.SellList().Cursor(), 0);
    EXPECT_EQ(shop.SellList().SelectedItem(), 0);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Buzzer"), 1);
    EXPECT_EQ(shop.StateNow(), TLcfShopScene::kSellList);
    Press(TMultiInput::kCancel);  // sell only: out at once
    FinishScript();
    EXPECT_TRUE(system->GetSwitch(kDealSwitch));
    EXPECT_FALSE(system->GetSwitch(kNoDealSwitch));
}

TEST_F(ShopTest, AShopWithoutGoodsShowsOneEmptyEntryAndLeavingWithoutADealRunsTheNoDealCase) {
    // The party's sprites, drawn over the party window for the item chosen.
    TLcfMap unit;
    GameMapUnit = &unit;
    struct Unset {
        ~Unset() { GameMapUnit = nullptr; }
    } unset;
    std::filesystem::create_directories(folder / "CharSet");
    testing_support::SaveNoisePng((folder / "CharSet" / "People.png").string(), 288, 256, 7);
    DbPlayer->Find(1)->sprite = "People";
    auto partyDrawn = [&] {
        auto pixels = [&] {
            shop.Draw();
            std::vector<uint16_t> out;
            for (int y = 20; y < 80; ++y)
                for (int x = 176; x < 320; ++x) out.push_back(GameDraw->Board().ScanLine(y)[x]);
            return out;
        };
        TLcfgPlayerItem& ann = *GamePlayers->Get(1);
        const std::vector<uint16_t> with = pixels();
        ann.spriteName = "Nobody";  // a sheet the shop has not loaded: nothing to draw
        const std::vector<uint16_t> without = pixels();
        ann.spriteName.clear();
        return with != without;
    };
    OpenShop({1, 0, 0, 0, kPotion});
    EXPECT_TRUE(partyDrawn());
    Press(TMultiInput::kCancel);
    FinishScript();
    system->SetSwitch(kNoDealSwitch, false);

    partyInfo->gold = 500;
    OpenShop({1, 0, 0, 0});  // four parameters: no goods
    EXPECT_EQ(shop.StateNow(), TLcfShopScene::kBuyList);
    EXPECT_EQ(shop.BuyList().ItemCount(), 1);
    EXPECT_EQ(shop.BuyList().SelectedItem(), 0);
    // No item, so no one to show as able to use it or not.
    EXPECT_FALSE(partyDrawn());
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Buzzer"), 1);
    EXPECT_EQ(shop.StateNow(), TLcfShopScene::kBuyList);
    Press(TMultiInput::kCancel);  // buy only: out at once
    EXPECT_FALSE(shop.Started());
    FinishScript();
    EXPECT_FALSE(system->GetSwitch(kDealSwitch));
    EXPECT_TRUE(system->GetSwitch(kNoDealSwitch));
    EXPECT_EQ(Gold(), 500);
}

TEST_F(ShopTest, BuyingIsLimitedByGoldAndRoomAndFreeOrNegativePricesCostNothing) {
    partyInfo->gold = 250;
    partyInfo->GainItem(kHerb, 5);
    OpenShop({0, 0, 0, 0, kHerb, kSword, kPotion, kCursed});
    EXPECT_EQ(shop.StateNow(), TLcfShopScene::kChoose);
    EXPECT_EQ(shop.MessageLines(), (std::vector<std::string>{"Hello 0", "  Buy", "  Sell", "  Leave"}));
    Press(TMultiInput::kDecision);
    ASSERT_EQ(shop.StateNow(), TLcfShopScene::kBuyList);

    // A free item: as many as there is room for, 99 - 5 owned.
    Press(TMultiInput::kDecision);
    ASSERT_EQ(shop.StateNow(), TLcfShopScene::kBuyCount);
    EXPECT_EQ(shop.NumberBox().Maximum(), 94);
    for (int i = 0; i < 12; ++i) Press(TMultiInput::kUp);
    EXPECT_EQ(shop.NumberBox().Count(), 94);
    Press(TMultiInput::kLeft);
    EXPECT_EQ(shop.NumberBox().Count(), 93);
    for (int i = 0; i < 12; ++i) Press(TMultiInput::kDown);
    EXPECT_EQ(shop.NumberBox().Count(), 1);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(shop.StateNow(), TLcfShopScene::kBuyList);

    // The sword: 250 gold buys two at 100.
    Press(TMultiInput::kDown);
    EXPECT_EQ(shop.BuyList().SelectedItem(), kSword);
    EXPECT_EQ(shop.Help().Text(), "Sword\x01" "for\x01" "sale");
    Press(TMultiInput::kDecision);
    EXPECT_EQ(shop.NumberBox().Maximum(), 2);
    Press(TMultiInput::kUp);
    EXPECT_EQ(shop.NumberBox().Count(), 2);
    EXPECT_EQ(shop.NumberBox().Total(), 200);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Gold(), 50);
    EXPECT_EQ(partyInfo->ItemCount(kSword), 2);
    Frames(TLcfShopScene::kDealFrames);
    ASSERT_EQ(shop.StateNow(), TLcfShopScene::kBuyList);
    // Now 50 gold does not cover the sword.
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Buzzer"), 1);

    // A negative price is free to buy, and it cannot be sold back.
    Press(TMultiInput::kDown);
    Press(TMultiInput::kDown);
    EXPECT_EQ(shop.BuyList().SelectedItem(), kCursed);
    Press(TMultiInput::kDecision);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Gold(), 50);
    EXPECT_EQ(partyInfo->ItemCount(kCursed), 1);
    Frames(TLcfShopScene::kDealFrames);
    Press(TMultiInput::kCancel);
    ASSERT_EQ(shop.StateNow(), TLcfShopScene::kChoose);
    EXPECT_EQ(shop.MessageLines()[0], "Again");
    Press(TMultiInput::kDown);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(shop.StateNow(), TLcfShopScene::kSellList);
    for (int i = 0; i < 5 && shop.SellList().SelectedItem() != kCursed; ++i) Press(TMultiInput::kRight);
    ASSERT_EQ(shop.SellList().SelectedItem(), kCursed);
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Buzzer"), 2);
    EXPECT_EQ(shop.StateNow(), TLcfShopScene::kSellList);
    EXPECT_EQ(ShopSellPrice(kCursed), 0);
    EXPECT_EQ(ShopBuyPrice(kCursed), 0);
}

TEST_F(ShopTest, OwningNinetyNineRefusesBuyingEvenWithGold) {
    partyInfo->gold = 10000;
    partyInfo->GainItem(kPotion, 99);
    OpenShop({1, 0, 0, 0, kPotion});
    EXPECT_FALSE(shop.BuyList().CanBuySelected());
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Sounds("Buzzer"), 1);
    EXPECT_EQ(shop.StateNow(), TLcfShopScene::kBuyList);
    partyInfo->LoseItem(kPotion, 1);
    Press(TMultiInput::kDecision);
    ASSERT_EQ(shop.StateNow(), TLcfShopScene::kBuyCount);
    EXPECT_EQ(shop.NumberBox().Maximum(), 1);
}

TEST_F(ShopTest, AHugeSellTotalIsReckonedInSixtyFourBitsAndTheGoldStaysInRange) {
    partyInfo->gold = 999000;
    partyInfo->GainItem(kCrown, 3);
    OpenShop({2, 0, 0, 0});
    Press(TMultiInput::kDecision);
    Press(TMultiInput::kUp);
    EXPECT_EQ(shop.NumberBox().Total(), std::numeric_limits<int32_t>::max());
    Press(TMultiInput::kDecision);
    EXPECT_EQ(Gold(), TLcfgPartyInfo::kMaxGold);
}

TEST_F(ShopTest, MessagesComeFromTheSetCutToTheLengthTheFaceLeaves) {
    system->faceName = "Face";
    system->faceShown = 0;
    DbVocabulary->ShopTerms(0).texts[TLcfVocabularyShop::kGreeting] = std::string(48, 'a') + "$F";
    OpenShop({0, 9, 0, 0});  // no set 9: set 0
    // The command shows the face again; a face on the left moves the text.
    EXPECT_EQ(shop.MessageX(), 80);
    EXPECT_EQ(shop.MessageLength(), 38u);
    EXPECT_EQ(shop.MessageLines()[0], std::string(38, 'a'));
    EXPECT_EQ(shop.MessageBox().leftMargin, 86);
    EXPECT_EQ(shop.MessageBox().itemWidth, 220);
    Press(TMultiInput::kCancel);
    ASSERT_FALSE(shop.Started());

    system->faceName.clear();
    OpenShop({0, 1, 0, 0});
    EXPECT_EQ(shop.MessageX(), 8);
    EXPECT_EQ(shop.MessageLength(), 50u);
    EXPECT_EQ(shop.MessageLines()[0], "Hello 1");
    EXPECT_EQ(shop.MessageBox().itemWidth, 292);
    // 48 letters and a symbol pair cut to 49 bytes lose the whole pair.
    EXPECT_EQ(CutToBytes(std::string(48, 'a') + "$F", 49), std::string(48, 'a'));
    EXPECT_EQ(CutToBytes("ab$F", 4), "ab$F");
    EXPECT_EQ(CutToBytes("a$5", 2), "a$");  // "$5" is no symbol
}

TEST_F(ShopTest, ComparisonMarksTryTheItemOnAndPutEverythingBack) {
    partyInfo->AddMember(2);
    TLcfgPlayerItem& ann = *GamePlayers->Get(1);
    TLcfgPlayerItem& bo = *GamePlayers->Get(2);
    ann.equipment = {kDagger, kShield, 0, 0, 0};
    const auto annWorn = ann.equipment;
    EXPECT_EQ(ShopComparisonMark(ann, kSword), 0);
    EXPECT_EQ(ShopComparisonMark(ann, kDagger), 3);
    EXPECT_EQ(ShopComparisonMark(ann, kPotion), -1);
    // The two-handed axe empties the shield hand while tried on.
    EXPECT_EQ(ShopComparisonMark(ann, kAxe), 0);
    EXPECT_EQ(ann.equipment, annWorn);

    // Two weapons: no shield, and a weapon better than the second hand's
    // counts as better even when the first hand's is better still.
    AddItem(9, "Stick", TLcfItemItem::kWeapon, 5, 1);
    bo.twoWeapons = 1;
    bo.equipment = {kSword, 9, 0, 0, 0};
    const auto boWorn = bo.equipment;
    EXPECT_FALSE(ShopMemberMayUse(bo, kShield));
    EXPECT_EQ(ShopComparisonMark(bo, kShield), -1);
    EXPECT_EQ(ShopComparisonMark(bo, kDagger), 0);
    bo.twoWeapons = 0;
    EXPECT_EQ(ShopComparisonMark(bo, kDagger), 2);
    EXPECT_EQ(bo.equipment, boWorn);
    AddItem(10, "Blade", TLcfItemItem::kWeapon, 5, 10);
    EXPECT_EQ(ShopComparisonMark(bo, 10), 1);

    // A hero the item's flags leave out stands greyed with no mark.
    DbItem->Find(kSword)->heroSet.SetEntry(2, 0);
    EXPECT_FALSE(ShopMemberMayUse(bo, kSword));
    EXPECT_EQ(ShopComparisonMark(bo, kSword), -1);
    EXPECT_TRUE(ShopMemberMayUse(ann, kSword));
}
