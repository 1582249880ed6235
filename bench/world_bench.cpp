// One frame of the map world: a 100 x 100 map with 200 events walking at
// random and the party walking back and forth on a forced route.
#include <benchmark/benchmark.h>

#include "data/database/chip_set.h"
#include "data/database/database.h"
#include "data/database/ground.h"
#include "data/map/map.h"
#include "data/random.h"
#include "game/map/game_map.h"
#include "game/walker/party.h"

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
        TLcfEventItem* e = unit.events.GetOrCreate(i);
        e->x = (i * 37) % 100;
        e->y = (i * 53) % 100;
        TLcfEventPageItem* page = e->pages.GetOrCreate(1);
        page->moveType = uint8_t(1 + i % 5);  // random, back and forth, toward and away
        page->moveFrequency = 7;
        page->moveSpeed = 4;
        page->layer = 1;
        page->sheetName = "Hero";
    }
    GameMapUnit = &unit;
    TLcfgMap map;
    TLcfgParty party;
    GameMap = &map;
    GameParty = &party;
    map.MapLoader = [&](int32_t id) { unit.SetId(id); };
    party.TLcfgCharacter::SetPosition(1, 50, 50);
    map.Setup(true);
    std::vector<TLcfMoveRouteItem> route(8);
    for (size_t i = 0; i < route.size(); ++i) route[i].code = i < 4 ? 1 : 3;
    party.StartForcedRoute(route, 8, true, false);
    SeedRandom(7);
    for (auto _ : state) map.UpdateCharacters();
    state.counters["characters"] = map.CharacterCount();
    GameMap = nullptr;
    GameParty = nullptr;
    GameMapUnit = nullptr;
}

}  // namespace

BENCHMARK(BM_WorldFrame100x100With200Events)->Unit(benchmark::kMicrosecond);
