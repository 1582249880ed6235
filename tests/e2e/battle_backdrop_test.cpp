// Battle tests on copies of the demo whose battle settings choose each
// layout, small windows or translucent ones, fought on the grass before its
// two-layer backdrop: the backdrop fills the screen and the party wins by
// confirming every window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "data/database/battle.h"
#include "data/database/database.h"
#include "data/random.h"
#include "game/actors/player_item.h"
#include "game/enemies/monster.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/battle/battle_scene.h"
#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "scenes/windows/message_window.h"
#include "support/demo_game.h"
#include "support/driver_steps.h"
#include "support/lcf_builder.h"
#include "support/test_paths.h"

namespace {

using testing_support::DriverSteps;

struct Variant {
    const char* name;
    int layout;
    bool small, translucent;
};
void PrintTo(const Variant& v, std::ostream* os) { *os << v.name; }

class DemoBattleBackdrop : public ::testing::TestWithParam<Variant> {
protected:
    void SetUp() override {
        if (!e2e::WriteDemoGame(dir_.path())) GTEST_SKIP() << "mkdemo was not built";
        SetRandomSource(&random_);
        // The copy's battle settings.
        const std::string file = (dir_.path() / "Varnow.ldb").string();
        TLcfDataBase db;
        db.LoadFromFile(file);
        DbBattle->layoutStyle = GetParam().layout;
        DbBattle->compactWindows = GetParam().small ? 1 : 0;
        DbBattle->translucentWindows = GetParam().translucent ? 1 : 0;
        const lcf_builder::Bytes bytes = lcf_builder::SaveDatabase(db);
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    void TearDown() override { SetRandomSource(nullptr); }

    testing_support::TempDir dir_;
    SeededRandom random_{35};
};

// Whether the battle waits for the player: a window takes input or a
// message is up.
bool Asking() {
    const TLcfBattleScene& b = *BattleScene;
    return b.partyCommandWindow.Active() || b.commandWindow.Active() ||
           (b.statusWindow.Active() && b.statusWindow.CursorVisible()) || b.monsterWindow.Active() ||
           b.targetWindow.Active() || b.skillWindow.Active() || b.itemWindow.Active() ||
           (GameMessageWindow && GameMessageWindow->IsVisible());
}

TEST_P(DemoBattleBackdrop, TheGrassBackdropFillsTheScreenAndConfirmingEveryWindowWins) {
    DriverSteps steps;
    std::vector<uint16_t> backdrop;
    bool won = false;
    steps.Settle([] { return GameSystem->scene == kSceneBattle && BattleScene && Asking(); }).Do([&] {
        for (int i = 0; i < GamePartyInfo->MemberCount(); ++i) GamePartyInfo->Member(i)->AddParamModifier(2, 500);
        // Sky and meadow all over the upper screen, past the first cells.
        for (auto [x, y] : {std::pair{200, 10}, {100, 60}, {312, 150}, {40, 140}})
            backdrop.push_back(GameDraw->Board().ScanLine(y)[x]);
    });
    steps.Then([&, frame = 0](std::vector<std::string>& hold) mutable {
        if (GameSystem->scene != kSceneBattle || !BattleScene) return true;
        won = won || (GameMonsters && GameMonsters->AliveCount() == 0);
        if (++frame % 4 == 0 && Asking()) hold.push_back("decision");
        return false;
    });
    THarnessOptions o;
    o.gameFolder = dir_.path().string();
    o.words = {"BattleTest", "", "", "1", "0", "0", "1"};  // the slimes, on the grass
    o.frames = 4000;
    // VARNOW_E2E_PNG names a folder for a frame every 100, to look at a run.
    if (const char* d = std::getenv("VARNOW_E2E_PNG")) {
        o.pngFolder = std::string(d) + "/" + GetParam().name;
        std::filesystem::create_directories(o.pngFolder);
        for (int f = 100; f < o.frames; f += 100) o.pngFrames.push_back(f);
    }
    o.driver = steps.AsDriver();
    const THarnessResult r = RunHarness(o);
    // The battle test ends the program with the battle, before the last
    // step can see it gone.
    ASSERT_EQ(backdrop.size(), 4u) << "the battle never asked\n" << r.summary;
    EXPECT_TRUE(r.messageBoxes.empty());
    EXPECT_EQ(r.sceneNumber, kSceneGameOver) << "a battle test closes through the game-over scene";
    EXPECT_TRUE(won);
    for (size_t i = 0; i < backdrop.size(); ++i) EXPECT_NE(backdrop[i], 0) << "point " << i;
}

INSTANTIATE_TEST_SUITE_P(Layouts, DemoBattleBackdrop,
                         ::testing::Values(Variant{"Layout0", 0, false, false}, Variant{"Layout1", 1, false, false},
                                           Variant{"Layout2", 2, false, false}, Variant{"Small", 1, true, false},
                                           Variant{"Translucent", 1, false, true}, Variant{"Layout2Small", 2, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
