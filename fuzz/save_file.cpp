// Loads arbitrary bytes as a save file, whole and header only. A damaged
// save must end in a read error and a reset game, never a crash or a huge
// allocation; what loads must save again and run a few frames of its map.
// The party's chunk sets up a small map built here, with events that walk
// routes, so the map's chunk and its saved events are reached too.
#include <cstdint>
#include <span>

#include "data/errors.h"
#include "data/map/map.h"
#include "game/map/game_map.h"
#include "game/save/save_data.h"

namespace {

TLcfMap* MakeMap() {
    auto* unit = new TLcfMap(0);
    unit->width = 20;
    unit->height = 15;
    unit->Lower().Resize(20, 15);
    unit->Upper().Resize(20, 15);
    for (int32_t id = 1; id <= 4; ++id) {
        TLcfEventItem* e = unit->events.GetOrCreate(id);
        e->x = id * 3;
        e->y = id * 2;
        TLcfEventPageItem* page = e->pages.GetOrCreate(1);
        page->moveType = id % 2 ? 6 : 1;  // a route, or random steps
        page->trigger = id == 4 ? 4 : 0;  // one parallel page
        for (int32_t code : {0, 1, 24, 2, 25, 3, 14}) {
            TLcfMoveRouteItem item;
            item.code = code;
            page->moveRoute.Add(item);
        }
    }
    return unit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TLcfMap* unit = GameMapUnit = MakeMap();
    static TLcfgSaveData* saveData = [] {
        auto* s = new TLcfgSaveData();
        s->Map().MapLoader = [](int32_t id) { unit->SetId(id); };
        return s;
    }();
    std::span<const uint8_t> bytes(data, size);
    try {
        saveData->LoadFromBytes(bytes, true);
    } catch (const Exception&) {
    }
    try {
        saveData->LoadFromBytes(bytes, false);
        saveData->SaveToBytes();
        for (int i = 0; i < 8; ++i) GameMap->UpdateCharacters();
    } catch (const Exception&) {
        saveData->Reset();
    }
    return 0;
}
