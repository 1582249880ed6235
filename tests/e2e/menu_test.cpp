// The main menu on the demo, played through the harness as a person would:
// a new game, two steps through the bog beside the start (its swamp stings
// both members), the satchel past it, then the menu: a potion on the hurt
// leader, the iron sword equipped, the order changed, the game saved, and
// quit back to the title. A driver presses each key once the screen it
// belongs to is up, so the test does not hang on frame numbers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/interpreter/scripter.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "scenes/menu/menu_scene.h"
#include "scenes/save/save_file_scene.h"
#include "scenes/title/title_scene.h"
#include "scenes/windows/message_window.h"
#include "support/demo_game.h"

namespace {

constexpr int kPotion = 1, kBronzeSword = 15, kIronSword = 16;
constexpr int kSatchelSwitch = 19;
constexpr int kSatchelX = 18, kSatchelY = 18;

using M = TLcfMenuScene;

// The program's menu scene.
TLcfMenuScene* Menu() { return dynamic_cast<TLcfMenuScene*>(MenuScene); }

bool MenuAt(int state) {
    return GameSystem && GameSystem->scene == kSceneMenu && Menu() && Menu()->Started() &&
           Menu()->State() == state && GameDraw->Board().Brightness == 100;
}
bool MainMenuAt(int row) {
    return MenuAt(M::kMain) && Menu()->Commands().Active() && !Menu()->Party().Active() &&
           Menu()->Commands().Cursor() == row;
}
int RowOf(int32_t code) {
    const auto& codes = Menu()->Commands().codes;
    for (size_t i = 0; i < codes.size(); ++i)
        if (codes[i] == code) return int(i);
    return int(codes.size());
}
bool FieldQuiet() {
    return GameSystem && GameSystem->scene == kSceneField && GameParty && !GameParty->IsMoving() &&
           !(GameScripter && GameScripter->IsRunning()) && !(GameMessageWindow && GameMessageWindow->IsVisible()) &&
           GameDraw->Board().Brightness == 100;
}

// One step of the plan: once `ready` holds, `key` is pressed for one frame
// (or held while `hold` says so), and the picture may be kept.
struct Step {
    std::string name;
    std::function<bool()> ready;
    std::string key;
    std::string shot;
    std::function<bool()> holdWhile;  // a held key: held until this is false
};

class Plan {
public:
    explicit Plan(std::vector<Step> steps) : steps_(std::move(steps)) {}

    bool operator()(int frame, const platform::CapturedFrame* last, std::vector<std::string>& hold) {
        if (!GameSystem) return true;
        if (GameSystem->scene == kSceneTitle && !quitSeen_) {
            if (TitleScene && TitleScene->Started() && TitleScene->Window().IsOpen() && frame % 6 == 0)
                hold.push_back("decision");
            return true;
        }
        // Messages on the field are read and closed.
        if (GameSystem->scene == kSceneField && GameMessageWindow && GameMessageWindow->IsVisible()) {
            if (frame % 6 == 0) hold.push_back("decision");
            return true;
        }
        if (step_ >= steps_.size()) return false;
        if (frame < nextFrame_) return true;
        const Step& s = steps_[step_];
        if (s.holdWhile) {
            if (s.holdWhile()) {
                hold.push_back(s.key);
            } else {
                ++step_;
                nextFrame_ = frame + 4;
            }
            return true;
        }
        // Ready on two frames in a row: a fade that has just reached full
        // brightness still drops the keys of its last frame.
        if (!s.ready()) {
            readyFrom_ = -1;
            return true;
        }
        if (readyFrom_ < 0) readyFrom_ = frame;
        if (frame - readyFrom_ < 2) return true;
        readyFrom_ = -1;
        if (!s.shot.empty() && last && std::getenv("VARNOW_MENU_SHOTS"))
            WriteFramePng(*last, std::string(std::getenv("VARNOW_MENU_SHOTS")) + "/" + s.shot + ".png");
        if (!s.key.empty()) hold.push_back(s.key);
        reached.push_back(s.name);
        ++step_;
        nextFrame_ = frame + 8;
        return true;
    }
    bool Finished() const { return step_ >= steps_.size(); }
    void SawQuit() { quitSeen_ = true; }
    std::vector<std::string> reached;

private:
    std::vector<Step> steps_;
    size_t step_ = 0;
    int nextFrame_ = 0;
    int readyFrom_ = -1;
    bool quitSeen_ = false;
};

class DemoMenu : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::WriteDemoGame(dir_.path())) GTEST_SKIP() << "mkdemo was not built";
    }
    testing_support::TempDir dir_;
};

}  // namespace

TEST_F(DemoMenu, PotionSwordOrderSaveAndQuitToTheTitle) {
    int32_t hurtHp = 0, maxHp = 0, healedHp = 0, potionsAfter = -1;
    int32_t weapon = 0, bronze = -1, iron = -1;
    std::vector<int32_t> orderAfter;
    bool savedFromMenu = false;
    Plan* plan = nullptr;
    auto aren = [] { return GamePlayers ? GamePlayers->Find(1) : nullptr; };
    auto down = [](int row) { return [row] { return MainMenuAt(row); }; };

    std::vector<Step> steps = {
        // Through the bog to the satchel.
        {"walk", nullptr, "right", "", [] { return !(GameParty && GameParty->x == kSatchelX - 1 && FieldQuiet()); }},
        {"satchel", [] { return FieldQuiet() && GameParty->direction == 1; }, "decision", "field_satchel", nullptr},
        {"hurt",
         [&] {
             if (!FieldQuiet() || !GameSystem->GetSwitch(kSatchelSwitch)) return false;
             hurtHp = aren()->hp;
             maxHp = aren()->MaxHP();
             return true;
         },
         "cancel", "", nullptr},
        // A potion on the leader.
        {"main", [] { return MainMenuAt(0); }, "decision", "menu_main", nullptr},
        {"items", [] { return MenuAt(M::kItemList) && Menu()->Items().SelectedItem() == kPotion; }, "decision",
         "menu_items", nullptr},
        {"target", [] { return MenuAt(M::kItemTarget) && Menu()->Targets().Active(); }, "decision",
         "menu_target", nullptr},
        {"healed",
         [&] {
             if (!MenuAt(M::kItemTarget)) return false;
             healedHp = aren()->hp;
             potionsAfter = GamePartyInfo->ItemCount(kPotion);
             return true;
         },
         "cancel", "menu_target_after", nullptr},
        {"back", [] { return MenuAt(M::kItemList); }, "cancel", "", nullptr},
        // A look at the leader's skills and at both members' status.
        {"to skills", down(0), "down", "", nullptr},
        {"skills", down(1), "decision", "", nullptr},
        {"skill member", [] { return MenuAt(M::kMain) && Menu()->Party().Active(); }, "decision", "", nullptr},
        {"skill list", [] { return MenuAt(M::kSkillList); }, "cancel", "menu_skills", nullptr},
        {"to status", down(1), "down", "", nullptr},
        {"to status 2", down(2), "down", "", nullptr},
        {"status", [] { return MainMenuAt(RowOf(M::kStatus)); }, "decision", "", nullptr},
        {"status member", [] { return MenuAt(M::kMain) && Menu()->Party().Active(); }, "decision", "",
         nullptr},
        {"status page", [] { return MenuAt(M::kStatusPage) && Menu()->StatusPage().ActorId() == 1; }, "right",
         "menu_status", nullptr},
        {"status next", [] { return MenuAt(M::kStatusPage) && Menu()->StatusPage().ActorId() == 2; }, "cancel",
         "menu_status_next", nullptr},
        // The iron sword on the leader.
        {"to equip", [] { return MainMenuAt(RowOf(M::kStatus)); }, "up", "", nullptr},
        {"equip", [] { return MainMenuAt(RowOf(M::kEquipment)); }, "decision", "", nullptr},
        {"member", [] { return MenuAt(M::kMain) && Menu()->Party().Active(); }, "decision", "menu_member",
         nullptr},
        {"slot", [] { return MenuAt(M::kEquip) && Menu()->Equipment().Slots().Active(); }, "decision",
         "menu_equip", nullptr},
        {"sword",
         [] { return MenuAt(M::kEquip) && Menu()->Equipment().Active() &&
                     Menu()->Equipment().CandidateAt(Menu()->Equipment().Cursor()) == kIronSword; },
         "decision", "menu_equip_preview", nullptr},
        {"equipped",
         [&] {
             if (!MenuAt(M::kEquip) || !Menu()->Equipment().Slots().Active()) return false;
             weapon = aren()->Equipment(0);
             bronze = GamePartyInfo->ItemCount(kBronzeSword);
             iron = GamePartyInfo->ItemCount(kIronSword);
             return true;
         },
         "cancel", "menu_equip_after", nullptr},
        // Lysa first.
        {"to order", [] { return MainMenuAt(RowOf(M::kEquipment)); }, "down", "", nullptr},
        {"to order 2", [] { return MainMenuAt(RowOf(M::kEquipment) + 1); }, "down", "", nullptr},
        {"to order 3", [] { return MainMenuAt(RowOf(M::kEquipment) + 2); }, "down", "", nullptr},
        {"order", [] { return MainMenuAt(RowOf(M::kOrder)); }, "decision", "", nullptr},
        {"pick down", [] { return MenuAt(M::kOrderPage) && Menu()->Order().Cursor() == 0; }, "down",
         "menu_order", nullptr},
        {"pick Lysa", [] { return MenuAt(M::kOrderPage) && Menu()->Order().Cursor() == 1; }, "decision", "",
         nullptr},
        {"pick up", [] { return MenuAt(M::kOrderPage) && Menu()->Order().ChosenCount() == 1; }, "up", "",
         nullptr},
        {"pick Aren", [] { return MenuAt(M::kOrderPage) && Menu()->Order().Cursor() == 0; }, "decision", "",
         nullptr},
        {"confirm", [] { return MenuAt(M::kOrderPage) && Menu()->Order().Confirm().Active(); }, "decision",
         "menu_order_confirm", nullptr},
        // Save: the save scene is entered from the menu.
        {"to save",
         [&] {
             if (!MainMenuAt(RowOf(M::kOrder))) return false;
             orderAfter.clear();
             for (int i = 0; i < GamePartyInfo->MemberCount(); ++i) orderAfter.push_back(GamePartyInfo->MemberId(i));
             return true;
         },
         "down", "menu_after_order", nullptr},
        {"to save 2", [] { return MainMenuAt(RowOf(M::kOrder) + 1); }, "down", "", nullptr},
        {"save", [] { return MainMenuAt(RowOf(M::kSave)); }, "decision", "", nullptr},
        // The save screen, entered from the menu, saves and comes back.
        {"in save",
         [&] {
             if (GameSystem->scene != kSceneSave || !SaveFileScene->Started() ||
                 GameDraw->Board().Brightness != 100)
                 return false;
             savedFromMenu = SaveFileScene->saveMode && SaveFileScene->fromMenu;
             return true;
         },
         "decision", "save_screen", nullptr},
        {"to quit", [] { return MainMenuAt(0); }, "up", "menu_after_save", nullptr},
        {"quit", [] { return MainMenuAt(RowOf(0)); }, "decision", "", nullptr},
        {"yes",
         [&] {
             if (!MenuAt(M::kQuit)) return false;
             plan->SawQuit();
             return true;
         },
         "decision", "menu_quit", nullptr},
        {"title", [] { return GameSystem->scene == kSceneTitle && TitleScene && TitleScene->Started(); }, "", "",
         nullptr},
    };
    steps[0].ready = [] { return true; };
    Plan run(steps);
    plan = &run;

    THarnessOptions o;
    o.gameFolder = dir_.path().string();
    o.frames = 4000;
    o.driver = [&](int frame, const platform::CapturedFrame* last, std::vector<std::string>& hold) {
        return run(frame, last, hold);
    };
    std::string menuState;
    o.inspect = [&] {
        if (Menu())
            menuState = "menu state " + std::to_string(Menu()->State()) + " item " +
                        std::to_string(Menu()->Items().SelectedItem()) + " brightness " +
                        std::to_string(GameDraw->Board().Brightness);
    };
    THarnessResult r = RunHarness(o);
    std::string reached;
    for (const auto& s : run.reached) reached += s + ", ";
    ASSERT_TRUE(run.Finished()) << "reached: " << reached << "\n" << menuState << "\n" << r.summary;
    EXPECT_LT(hurtHp, maxHp) << "the bog hurts";
    EXPECT_EQ(healedHp, std::min(maxHp, hurtHp + 50));
    EXPECT_EQ(potionsAfter, 0);
    EXPECT_EQ(weapon, kIronSword);
    EXPECT_EQ(iron, 0);
    EXPECT_EQ(bronze, 1);
    EXPECT_EQ(orderAfter, (std::vector<int32_t>{2, 1}));
    EXPECT_TRUE(savedFromMenu);
    bool saveFile = false;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        saveFile |= entry.path().extension() == ".lsd";
    EXPECT_TRUE(saveFile);
    EXPECT_EQ(r.sceneNumber, kSceneTitle);
}
