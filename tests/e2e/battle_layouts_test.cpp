// Encounters on the demo's Green Reach fought in every battle layout (and
// layout 1 with small and with translucent windows), the party of three
// with one member on automatic battle: the player gives up the first
// target, and in layouts 1 and 2 goes back from the running gauges to the
// party command once, and the battle is still won.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/database/battle.h"
#include "data/database/database.h"
#include "data/random.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "scenes/battle/battle_scene.h"
#include "scenes/field/field_scene.h"
#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "scenes/windows/message_window.h"
#include "support/demo_game.h"
#include "support/driver_steps.h"
#include "support/test_paths.h"

namespace {

using testing_support::DriverSteps;

struct Settings {
    int layout = 1;
    int32_t small = 0;
    uint8_t translucent = 0;
};

// Keys for the battle, a few frames apart; records what happened.
struct OffPathPlayer {
    int autoSlot = 1;
    bool cancelledTarget = false, cancelledGauges = false, backAtPartyCommand = false, autoActed = false;
    bool manualChose = false;
    int frame = 0;

    bool Step(std::vector<std::string>& hold) {
        if (GameSystem->scene != kSceneBattle || !BattleScene) return DriverSteps::FieldShown();
        TLcfBattleScene& b = *BattleScene;
        const int layout = BattleLayout();
        if (TLcfgPlayerItem* a = GamePartyInfo->Member(autoSlot); a && a->actionMarker == 2) autoActed = true;
        for (int s = 0; s < GamePartyInfo->MemberCount(); ++s)
            if (s != autoSlot && b.chosenCommands.count(GamePartyInfo->Member(s)->Id())) manualChose = true;
        if (cancelledGauges && b.partyCommandWindow.Active()) backAtPartyCommand = true;
        if (++frame % 4 != 0) return false;
        if (b.targetingEnemies && !cancelledTarget) {
            hold.push_back("cancel");
            cancelledTarget = true;
            return false;
        }
        if (b.commandWindow.Active() && b.commandWindow.IsOpen()) {
            if (b.commandWindow.Cursor() != 0) hold.push_back("up");
            else hold.push_back("decision");  // attack
            return false;
        }
        if (b.partyCommandWindow.Active() && b.partyCommandWindow.IsOpen()) {
            if (b.partyCommandWindow.Cursor() != 0) hold.push_back("up");
            else hold.push_back("decision");  // fight
            return false;
        }
        if (layout != 0 && !cancelledGauges && b.PhaseNow() == TLcfBattleScene::kGauges) {
            hold.push_back("cancel");
            cancelledGauges = true;
            return false;
        }
        if ((b.statusWindow.Active() && b.statusWindow.CursorVisible()) || b.monsterWindow.Active() ||
            (GameMessageWindow && GameMessageWindow->IsVisible()))
            hold.push_back("decision");
        return false;
    }
};

class DemoBattleLayouts : public ::testing::TestWithParam<Settings> {
protected:
    void SetUp() override {
        if (!e2e::WriteDemoGame(dir_.path())) GTEST_SKIP() << "mkdemo was not built";
        SetRandomSource(&random_);
    }
    void TearDown() override { SetRandomSource(nullptr); }

    testing_support::TempDir dir_;
    SeededRandom random_{2024};
};

TEST_P(DemoBattleLayouts, AnEncounterWithACancelledTargetAndAnAutomaticMemberIsWon) {
    const Settings settings = GetParam();
    const e2e::MapSpot field = e2e::TransferTargetOf(dir_.path(), e2e::kTownMap, "To the Green Reach");
    DriverSteps steps;
    OffPathPlayer player;
    int32_t victories = 0;
    uint8_t autoSetting = 0, manualSetting = 1;
    steps.NewGame()
        .Do([&] { FieldScene->RequestTeleport(field.map, field.x, field.y, 0); })
        .Settle([] { return DriverSteps::FieldShown() && GameParty->mapId == e2e::kFieldMap; })
        .Do([&] {
            DbBattle->layoutStyle = settings.layout;
            DbBattle->compactWindows = settings.small;
            DbBattle->translucentWindows = settings.translucent;
            for (int32_t id = 2; GamePartyInfo->MemberCount() < 3; ++id)
                if (!GamePartyInfo->IsMember(id)) GamePartyInfo->AddMember(id);
            for (int i = 0; i < GamePartyInfo->MemberCount(); ++i) {
                GamePartyInfo->Member(i)->AddParamModifier(2, 400);
                GamePartyInfo->Member(i)->AddParamModifier(3, 400);
            }
            GamePartyInfo->Member(player.autoSlot)->autoBattle = 1;
            GameParty->encounterPending = 1;
        })
        .Then([frame = 0](std::vector<std::string>& hold) mutable {
            if (GameSystem->scene == kSceneBattle) return true;
            if (GameMessageWindow && GameMessageWindow->IsVisible() && ++frame % 4 == 0) hold.push_back("decision");
            return false;
        })
        .Then([&](std::vector<std::string>& hold) { return player.Step(hold); })
        .Do([&] {
            victories = GamePartyInfo->victories;
            autoSetting = GamePartyInfo->Member(player.autoSlot)->autoBattle;
            manualSetting = GamePartyInfo->Member(0)->autoBattle;
        });

    THarnessOptions o;
    o.gameFolder = dir_.path().string();
    o.words = {"TestPlay", "HideTitle"};
    o.frames = 8000;
    // VARNOW_E2E_PNG names a folder for a frame every 50, to look at a run.
    if (const char* d = std::getenv("VARNOW_E2E_PNG")) {
        o.pngFolder = std::string(d) + "/layout" + std::to_string(settings.layout) + "_" +
                      std::to_string(settings.small) + std::to_string(settings.translucent);
        std::filesystem::create_directories(o.pngFolder);
        for (int f = 100; f < o.frames; f += 50) o.pngFrames.push_back(f);
    }
    o.driver = steps.AsDriver();
    THarnessResult r = RunHarness(o);
    ASSERT_TRUE(steps.Done()) << steps.Left() << " steps left\n" << r.summary;
    EXPECT_TRUE(r.messageBoxes.empty());
    EXPECT_EQ(victories, 1);
    EXPECT_TRUE(player.cancelledTarget);
    EXPECT_TRUE(player.autoActed);
    EXPECT_TRUE(player.manualChose);
    if (settings.layout != 0) {
        EXPECT_TRUE(player.backAtPartyCommand);
    }
    // The automatic member's own setting is as it was, the others' too.
    EXPECT_EQ(autoSetting, 1);
    EXPECT_EQ(manualSetting, 0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, DemoBattleLayouts,
                         ::testing::Values(Settings{0, 0, 0}, Settings{1, 0, 0}, Settings{2, 0, 0},
                                           Settings{1, 1, 0}, Settings{1, 0, 1}),
                         [](const ::testing::TestParamInfo<Settings>& info) {
                             const Settings& s = info.param;
                             return "Layout" + std::to_string(s.layout) + (s.small ? "Small" : "") +
                                    (s.translucent ? "Translucent" : "");
                         });

}  // namespace
