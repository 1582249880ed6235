// One battle frame (update and draw) of the demo's battle test: the test
// party (four) against the third troop (two goblins and a wolf) at the
// party command, with a battle animation on the whole troop kept running.
// Played through the harness (headless platform), the frames timed from
// inside its loop.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/actors/battle_sides.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "scenes/battle/battle_scene.h"
#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "demo_run.h"
#include "support/driver_steps.h"

namespace {

namespace fs = std::filesystem;

bool PartyCommandOpen() {
    return GameSystem && GameSystem->scene == kSceneBattle && BattleScene &&
           BattleScene->partyCommandWindow.Active() && BattleScene->partyCommandWindow.IsOpen();
}

void BM_BattleFrameDemoBattleTest(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "varnow_bench_battle_demo";
    if (!bench_demo::WriteDemo(folder)) {
        state.SkipWithError("mkdemo not found (set VARNOW_MKDEMO)");
        return;
    }
    bool timed = false;
    testing_support::DriverSteps steps;
    steps.Settle(PartyCommandOpen).Do([&] {
        for (auto _ : state) {
            if (!battle_sides::TroopAnimationRunning()) battle_sides::PlayTroopAnimation(1, 0, -1);
            BattleScene->Tick();
            BattleScene->Draw();
        }
        state.counters["actors"] = GamePartyInfo->MemberCount();
        state.counters["enemies"] = battle_sides::TroopSize();
        timed = true;
    });
    THarnessOptions o;
    o.gameFolder = folder.string();
    o.words = {"BattleTest", "", "", "3", "0", "0", "0"};
    o.frames = 1200;
    o.driver = steps.AsDriver();
    RunHarness(o);
    if (!timed) state.SkipWithError("the battle test's party command did not come up");
    std::error_code ec;
    fs::remove_all(folder, ec);
}

}  // namespace

BENCHMARK(BM_BattleFrameDemoBattleTest)->Unit(benchmark::kMicrosecond);
