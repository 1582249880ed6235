// One frame of the map world: a 100 x 100 map with 200 events walking at
// random and the party walking back and forth on a forced route.
#include <benchmark/benchmark.h>

#include "data/database/chip_set.h"
#include "data/database/database.h"
#include "data/database/ground.h"
#include "data/map/map.h"
#include "data/random.h"
#include "walking_world.h"

namespace {

void BM_WorldFrame100x100With200Events(benchmark::State& state) {
    TLcfDataBase db;
    DbChipSet->GetOrCreate(1);
    DbGround->GetOrCreate(1);
    TLcfMap unit;
    unit.width = unit.height = 100;
    unit.Lower().Resize(100, 100);
    unit.Upper().Resize(100, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            unit.Lower().SetTile(x, y, 5000);
            unit.Upper().SetTile(x, y, (x * 13 + y * 7) % 17 == 0 ? 10001 : 10000);
        }
    for (int i = 1; i <= 200; ++i) {
        TLcfEventPageItem& page = bench_world::AddWalker(unit, i);
        page.layer = 1;
        page.sheetName = "Hero";
    }
    bench_world::WalkingWorld world(unit, 50, 50);
    SeedRandom(7);
    for (auto _ : state) world.map.UpdateCharacters();
    state.counters["characters"] = world.map.CharacterCount();
}

}  // namespace

BENCHMARK(BM_WorldFrame100x100With200Events)->Unit(benchmark::kMicrosecond);
