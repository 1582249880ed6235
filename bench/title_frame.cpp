// One title frame (update and draw) on the demo, its commands up and no key
// pressed: the title picture over the whole screen and the command window
// with its blinking cursor. Played through the harness (headless platform),
// the frames timed from inside its loop.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "scenes/title/title_scene.h"
#include "demo_run.h"
#include "support/driver_steps.h"

namespace {

namespace fs = std::filesystem;

void BM_TitleFrame(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "varnow_bench_title_demo";
    if (!bench_demo::WriteDemo(folder)) {
        state.SkipWithError("mkdemo not found (set VARNOW_MKDEMO)");
        return;
    }
    bool timed = false;
    testing_support::DriverSteps steps;
    steps.Settle(testing_support::DriverSteps::TitleReady).Do([&] {
        for (auto _ : state) {
            TitleScene->Update();
            TitleScene->Draw();
        }
        timed = true;
    });
    THarnessOptions o;
    o.gameFolder = folder.string();
    o.frames = 3000;
    o.driver = steps.AsDriver();
    RunHarness(o);
    if (!timed) state.SkipWithError("the title did not come up");
    std::error_code ec;
    fs::remove_all(folder, ec);
}

}  // namespace

BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMicrosecond);
