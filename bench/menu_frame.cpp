// One menu frame (update and draw) on the demo: a new game with the party
// filled up to four members, the menu opened from the field; once on the
// main menu, once on the equipment screen of the leader. Played through the
// harness (headless platform), the frames timed from inside its loop.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/database/player.h"
#include "game/interpreter/scripter.h"
#include "game/party/party_info.h"
#include "game/walker/party.h"
#include "game/system/game_system.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "scenes/menu/menu_scene.h"
#include "scenes/windows/message_window.h"
#include "demo_run.h"
#include "support/driver_steps.h"

namespace {

namespace fs = std::filesystem;
using M = TLcfMenuScene;

TLcfMenuScene* Menu() { return dynamic_cast<TLcfMenuScene*>(MenuScene); }

bool MenuAt(int subState) {
    return GameSystem && GameSystem->scene == kSceneMenu && Menu() && Menu()->Started() &&
           Menu()->State() == subState && GameDraw->Board().Brightness == 100;
}

void RunMenuFrames(benchmark::State& state, bool equipment) {
    const fs::path folder = fs::temp_directory_path() / "varnow_bench_menu_demo";
    if (!bench_demo::WriteDemo(folder)) {
        state.SkipWithError("mkdemo not found (set VARNOW_MKDEMO)");
        return;
    }
    bool timed = false;
    testing_support::DriverSteps steps;
    steps.NewGame()
        .Do([] {
            for (int32_t id = 1; id <= HeroCount() && GamePartyInfo->MemberCount() < 4; ++id)
                if (!GamePartyInfo->IsMember(id)) GamePartyInfo->AddMember(id);
        })
        // Messages on the field are read on until it is quiet.
        .Then([frame = 0](std::vector<std::string>& hold) mutable {
            const bool message = GameMessageWindow && GameMessageWindow->IsVisible();
            const bool busy = message || (GameScripter && GameScripter->IsRunning()) || GameParty->IsMoving();
            if (message && ++frame % 6 == 0) hold.push_back("decision");
            return !busy && GameDraw->Board().Brightness == 100;
        })
        .Wait(3)
        .Press("cancel")
        .Settle([] { return MenuAt(M::kMain) && Menu()->Commands().Active(); });
    if (equipment) {
        steps.Then([frame = 0](std::vector<std::string>& hold) mutable {
            const auto& codes = Menu()->Commands().codes;
            int row = 0;
            while (size_t(row) < codes.size() && codes[size_t(row)] != M::kEquipment) ++row;
            if (Menu()->Commands().Cursor() == row) return true;
            if (++frame % 3 == 0) hold.push_back("down");
            return false;
        });
        steps.Press("decision").Settle([] { return Menu()->Party().Active(); }).Press("decision");
        steps.Settle([] { return MenuAt(M::kEquip); });
    }
    steps.Do([&] {
        for (auto _ : state) {
            MenuScene->Update();
            MenuScene->Draw();
        }
        state.counters["members"] = GamePartyInfo->MemberCount();
        timed = true;
    });
    THarnessOptions o;
    o.gameFolder = folder.string();
    o.words = {"TestPlay", "HideTitle"};
    o.frames = 3000;
    o.driver = steps.AsDriver();
    RunHarness(o);
    if (!timed) state.SkipWithError("the menu did not come up");
    std::error_code ec;
    fs::remove_all(folder, ec);
}

void BM_MenuFrameMain(benchmark::State& state) { RunMenuFrames(state, false); }
void BM_MenuFrameEquipment(benchmark::State& state) { RunMenuFrames(state, true); }

}  // namespace

BENCHMARK(BM_MenuFrameMain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MenuFrameEquipment)->Unit(benchmark::kMicrosecond);
