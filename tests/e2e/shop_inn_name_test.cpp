// The demo's town services played through the harness: buy a potion from
// the merchant and sell it back, rest at the innkeeper's, and rename the
// hero at the naming stone. The party is set down beside each townsperson
// (the walk itself is the first-walk test's business) and talks to them
// with the decision key; every screen in between is answered with keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "data/database/database.h"
#include "data/database/item.h"
#include "data/random.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "scenes/name/name_scene.h"
#include "scenes/shop/shop_scene.h"
#include "scenes/title/title_scene.h"
#include "scenes/windows/message_window.h"
#include "support/demo_game.h"

namespace {

using platform::CapturedFrame;

constexpr int kHero = 1;

class TownRunner {
public:
    enum Phase { kTitle, kSettle, kMerchant, kInn, kStone, kDone };

    bool operator()(int frame, const CapturedFrame* last, std::vector<std::string>& hold) {
        if (last) last_ = *last;
        if (!GameSystem) return true;
        if (frame > 9000) return false;
        switch (GameSystem->scene) {
            case kSceneTitle:
                if (TitleScene && TitleScene->Started() && TitleScene->Window().IsOpen()) Pulse(frame, "decision", hold);
                return true;
            case kSceneShop: Shop(frame, hold); return true;
            case kSceneName: Name(frame, hold); return true;
            case kSceneField: break;
            default: return true;
        }
        if (!GameParty) return true;
        if (GameMessageWindow && GameMessageWindow->IsVisible()) {
            quiet_ = 0;
            if (GameMessageWindow->AllShown() && !GameMessageWindow->IsClosing()) {
                if (++shown_ == 4 && phase_ == kInn && GameMessageWindow->ChoiceCount() == 2) shots["inn"] = last_;
                if (shown_ >= 4) Pulse(frame, "decision", hold);
            }
            return true;
        }
        shown_ = 0;
        if (++quiet_ < 30 || GameParty->IsMoving()) return true;
        switch (phase_) {
            case kTitle:
            case kSettle:
                phase_ = kMerchant;
                GamePartyInfo->gold = 100;  // the purse for the errands
                goldBefore = GamePartyInfo->gold;
                Talk(frame, spots.at("Merchant"), hold);
                return true;
            case kMerchant:
                if (!shopDone_) return Retry(frame, "Merchant", hold);
                goldAfterShop = GamePartyInfo->gold;
                phase_ = kInn;
                Talk(frame, spots.at("Innkeeper"), hold);
                return true;
            case kInn:
                if (GamePartyInfo->gold == goldAfterShop) return Retry(frame, "Innkeeper", hold);
                goldAfterInn = GamePartyInfo->gold;
                phase_ = kStone;
                Talk(frame, spots.at("Naming stone"), hold);
                return true;
            case kStone:
                if (!nameDone_) return Retry(frame, "Naming stone", hold);
                phase_ = kDone;
                return false;
            default: return false;
        }
    }

    // Where the townspeople stand, read from the map before the run (the
    // map reader must not run beside the game).
    std::map<std::string, e2e::MapSpot> spots;
    std::map<std::string, CapturedFrame> shots;
    int32_t goldBefore = 0, goldAfterShop = 0, goldAfterInn = 0;
    int potionsBought = 0, potionsAfterSale = -1;
    std::string nameAtStart, nameBase;
    bool Finished() const { return phase_ == kDone; }

private:
    // Set down below the person, facing up, and the decision key.
    void Talk(int frame, const e2e::MapSpot& spot, std::vector<std::string>& hold) {
        if (spot.x < 0) return;
        GameParty->SetPosition(e2e::kTownMap, spot.x, spot.y + 1);
        GameParty->direction = GameParty->facing = 0;
        quiet_ = 0;
        talkFrame_ = frame;
        Pulse(frame, "decision", hold);
    }
    // The key went unheard (an event was still busy): again, a while on.
    bool Retry(int frame, const char* person, std::vector<std::string>& hold) {
        if (frame - talkFrame_ > 180) Talk(frame, spots.at(person), hold);
        return true;
    }

    void Shop(int frame, std::vector<std::string>& hold) {
        TLcfShopScene* shop = ShopScene;
        if (!shop || !shop->Started()) return;
        using S = TLcfShopScene;
        switch (shop->StateNow()) {
            case S::kChoose:
                if (++chooseFrames_ == 20) shots["choose"] = last_;
                if (chooseFrames_ < 20) break;
                // Buy first, then sell, then leave.
                if (potionsAfterSale >= 0) {
                    Pulse(frame, "cancel", hold);
                } else if (potionsBought > 0) {
                    if (shop->MessageBox().Cursor() != 1) Pulse(frame, "down", hold);
                    else Pulse(frame, "decision", hold);
                } else {
                    Pulse(frame, "decision", hold);
                }
                break;
            case S::kBuyList:
                if (potionsBought > 0) {
                    // A blade shows who could wield it and how it compares.
                    if (!IsBlade(shop->BuyList().SelectedItem())) {
                        Pulse(frame, "down", hold);
                        break;
                    }
                    if (++listFrames_ == 30) shots["buy"] = last_;
                    if (listFrames_ > 30) Pulse(frame, "cancel", hold);
                } else if (shop->BuyList().SelectedItem() != e2e::kPotionItem) {
                    Pulse(frame, "down", hold);
                } else {
                    Pulse(frame, "decision", hold);
                }
                break;
            case S::kBuyCount:
                if (Pulse(frame, "decision", hold)) potionsBought = shop->NumberBox().Count();
                break;
            case S::kSellList:
                listFrames_ = 0;
                if (++sellFrames_ == 20) shots["selllist"] = last_;
                if (sellFrames_ < 20) break;
                if (potionsAfterSale >= 0) {
                    Pulse(frame, "cancel", hold);
                } else if (shop->SellList().SelectedItem() != e2e::kPotionItem) {
                    Pulse(frame, "right", hold);
                } else {
                    Pulse(frame, "decision", hold);
                }
                break;
            case S::kSellCount:
                if (++countFrames_ == 20) shots["sell"] = last_;
                if (countFrames_ > 20 && Pulse(frame, "decision", hold))
                    potionsAfterSale = GamePartyInfo->ItemCount(e2e::kPotionItem) - shop->NumberBox().Count();
                break;
            default: break;
        }
        shopDone_ = potionsAfterSale >= 0;
    }

    static bool IsBlade(int32_t id) {
        const TLcfItemItem* item = DbItem && id > 0 ? DbItem->Find(id) : nullptr;
        return item && item->name == "Bronze Sword";
    }

    // The keys that bring the grid's cursor to (column, row): rows first.
    static const char* StepToward(const TLcfNameInputWindow& g, int column, int row) {
        if (g.Row() != row) return g.Row() < row ? "down" : "up";
        if (g.Column() != column) return g.Column() < column ? "right" : "left";
        return nullptr;
    }

    void Name(int frame, std::vector<std::string>& hold) {
        TLcfNameScene* names = NameScene;
        if (!names || !names->Started()) return;
        if (nameAtStart.empty()) {
            nameAtStart = names->View().Text();
            nameFrames_ = 0;
        }
        if (++nameFrames_ < 20) return;
        if (nameFrames_ == 20) shots["name"] = last_;
        const std::string& name = names->View().Text();
        // Cancel takes two bytes at a time: an odd name keeps its first.
        if (!cleared_) {
            if (name.size() <= 1) {
                cleared_ = true;
                nameBase = name;
            } else {
                Pulse(frame, "cancel", hold);
            }
            return;
        }
        // "Kai": K (0, 2), a (5, 0), i (8, 1), then the confirm cell.
        static const int kCells[4][2] = {{0, 2}, {5, 0}, {8, 1}, {8, 8}};
        const size_t next = std::min<size_t>(name.size() - nameBase.size(), 3);
        const char* key = StepToward(names->Grid(), kCells[next][0], kCells[next][1]);
        if (next == 3 && !key && !typedShot_) {
            typedShot_ = true;
            shots["named"] = last_;
        }
        if (Pulse(frame, key ? key : "decision", hold) && next == 3 && !key) nameDone_ = true;
    }

    // Holds `key` on every other frame, so each hold is a new press.
    bool Pulse(int frame, const char* key, std::vector<std::string>& hold) {
        if (frame - pulseFrame_ < 2) return false;
        pulseFrame_ = frame;
        hold.push_back(key);
        return true;
    }

    Phase phase_ = kTitle;
    CapturedFrame last_;
    int pulseFrame_ = -10;
    int quiet_ = 0, shown_ = 0, talkFrame_ = 0;
    int listFrames_ = 0, countFrames_ = 0, nameFrames_ = 0, chooseFrames_ = 0, sellFrames_ = 0;
    bool shopDone_ = false, nameDone_ = false, cleared_ = false, typedShot_ = false;
};

// How many pixels of the picture are not black.
size_t Lit(const CapturedFrame& f) {
    return size_t(std::count_if(f.pixels.begin(), f.pixels.end(), [](uint16_t p) { return p != 0; }));
}

}  // namespace

TEST(DemoTownServices, BuyAPotionSellItBackRestAtTheInnAndNameTheHero) {
    testing_support::TempDir dir;
    if (!e2e::WriteDemoGame(dir.path())) GTEST_SKIP() << "mkdemo was not built";
    TownRunner town;
    for (const char* person : {"Merchant", "Innkeeper", "Naming stone"}) {
        town.spots[person] = e2e::FindEvent(dir.path(), e2e::kTownMap, person);
        ASSERT_GE(town.spots[person].x, 0) << person;
    }
    std::string finalName;
    int potions = -1;
    THarnessOptions o;
    o.gameFolder = dir.path().string();
    o.frames = 9000;
    o.driver = [&](int frame, const CapturedFrame* last, std::vector<std::string>& hold) {
        return town(frame, last, hold);
    };
    o.inspect = [&] {
        if (GamePlayers) finalName = GamePlayers->Get(kHero)->GetName();
        if (GamePartyInfo) potions = GamePartyInfo->ItemCount(e2e::kPotionItem);
    };
    SeededRandom random(1);
    SetRandomSource(&random);
    THarnessResult r = RunHarness(o);
    SetRandomSource(nullptr);
    if (const char* out = std::getenv("VARNOW_E2E_PNG"))
        for (const auto& [name, shot] : town.shots) WriteFramePng(shot, std::string(out) + "/town_" + name + ".png");

    ASSERT_TRUE(town.Finished()) << r.summary;
    // A potion at 20 gold, sold back for half.
    EXPECT_EQ(town.potionsBought, 1);
    EXPECT_EQ(town.potionsAfterSale, 0);
    EXPECT_EQ(potions, 0);
    EXPECT_EQ(town.goldAfterShop, town.goldBefore - 20 + 10);
    // A night at the inn costs 10.
    EXPECT_EQ(town.goldAfterInn, town.goldAfterShop - 10);
    EXPECT_FALSE(town.nameAtStart.empty());  // the stone keeps the old name to start from
    EXPECT_EQ(finalName, town.nameBase + "Kai");
    for (const char* shot : {"choose", "buy", "selllist", "sell", "inn", "name", "named"}) {
        ASSERT_TRUE(town.shots.count(shot)) << shot;
        EXPECT_GT(Lit(town.shots[shot]), 320u * 240u / 2) << shot;
    }
}
