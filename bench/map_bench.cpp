// Map figures: loading a 500 x 500 map with 1000 events from its file
// (layers, events with a page each, the fix-ups after loading), and both
// generator passes on a 100 x 100 map for each layout.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "data/database/database.h"
#include "data/folders.h"
#include "data/map/map.h"
#include "data/random.h"

namespace {

std::string WriteLargeMap() {
    TLcfMap map;
    map.width = 500;
    map.height = 500;
    map.Lower().Resize(500, 500);
    map.Upper().Resize(500, 500);
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 500; ++x) {
            map.Lower().SetTile(x, y, (x * 7 + y) % 5 == 0 ? 4000 + (x % 47) : 5000 + (x + y) % 144);
            if ((x + y) % 11 == 0) map.Upper().SetTile(x, y, 10000 + x % 144);
        }
    map.events.SetCount(1000);
    for (int i = 0; i < 1000; ++i) {
        TLcfEventItem* e = map.events.Items(i);
        e->name = "Event " + std::to_string(i + 1);
        e->x = (i * 37) % 500;
        e->y = (i * 91) % 500;
        TLcfEventPageItem* page = e->pages.Items(0);
        page->trigger = uint8_t(i % 3);
        page->script.Clear();
        page->script.Add(TLcfEventScriptLine(10110, 0, "Hello there, traveller.", {}));
        page->script.Add(TLcfEventScriptLine(10220, 0, "", {0, 12, 12, 0, 0, 250, 0}));
        page->script.Add(TLcfEventScriptLine(0, 0));
    }
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "varnow_map_bench";
    std::filesystem::create_directories(dir);
    map.SaveToFile((dir / "Map0001.lmu").string());
    return dir.string();
}

void BM_LoadMap500x500With1000Events(benchmark::State& state) {
    TLcfDataBase db;
    const std::string folder = WriteLargeMap();
    SetGameFolder(folder, "varnow");
    TLcfMap map;
    for (auto _ : state) {
        map.LoadById(1);
        benchmark::DoNotOptimize(map.Lower().GetTile(499, 499));
    }
    state.counters["events"] = map.events.Count();
    std::filesystem::remove_all(folder);
}

void BM_GenerateDungeon100x100(benchmark::State& state) {
    TLcfMap map;
    map.width = map.height = 100;
    map.Lower().Resize(100, 100);
    map.Upper().Resize(100, 100);
    map.events.SetCount(20);
    for (int i = 0; i < 20; ++i) {
        map.events.Items(i)->x = (i * 37) % 100;
        map.events.Items(i)->y = (i * 53) % 100;
    }
    const int32_t layout = int32_t(state.range(0));
    const TDungeonTiles tiles = {4200, 5004, 5005, 4150, 5007, 5008, 10010, 10011, 10012,
                                 10013, 10014, 10015, 10016, 10017, 10018, 10019, 10020, 10021};
    uint64_t seed = 1;
    for (auto _ : state) {
        SeedRandom(seed++);
        map.Upper().GenerateDungeon(1, layout, tiles, nullptr, map.events, -1, -1);
        map.Lower().GenerateDungeon(0, layout, tiles, nullptr, map.events, 50, 50);
        benchmark::DoNotOptimize(map.Lower().GetTile(50, 50));
    }
}

}  // namespace

BENCHMARK(BM_LoadMap500x500With1000Events)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateDungeon100x100)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
