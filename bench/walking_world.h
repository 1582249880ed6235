#pragma once
// A map world built in code for the benchmarks: events that walk about and
// a party that walks four steps up and four back, over and over.

#include <cstdint>
#include <vector>

#include "data/map/map.h"
#include "game/map/game_map.h"
#include "game/walker/party.h"

namespace bench_world {

// Event `i` of `unit`, spread over the map by its id, with one page that
// walks one of the five self-moving ways (at random, back and forth, toward
// and away). The caller gives it its layer and sprite.
inline TLcfEventPageItem& AddWalker(TLcfMap& unit, int i) {
    TLcfEventItem* e = unit.events.GetOrCreate(i);
    e->x = (i * 37) % unit.width;
    e->y = (i * 53) % unit.height;
    TLcfEventPageItem* page = e->pages.GetOrCreate(1);
    page->moveType = uint8_t(1 + i % 5);
    page->moveFrequency = 7;
    page->moveSpeed = 4;
    return *page;
}

// The run-time map and the party over `unit` as map 1, installed as the
// game's own while it lives; the party stands at (x, y) on a forced route.
class WalkingWorld {
public:
    WalkingWorld(TLcfMap& unit, int32_t x, int32_t y) {
        GameMapUnit = &unit;
        GameMap = &map;
        GameParty = &party;
        map.MapLoader = [&unit](int32_t id) { unit.SetId(id); };
        party.TLcfgCharacter::SetPosition(1, x, y);
        map.Setup(true);
        std::vector<TLcfMoveRouteItem> route(8);
        for (size_t i = 0; i < route.size(); ++i) route[i].code = i < 4 ? 1 : 3;
        party.StartForcedRoute(route, 8, true, false);
    }
    ~WalkingWorld() {
        GameMap = nullptr;
        GameParty = nullptr;
        GameMapUnit = nullptr;
    }
    WalkingWorld(const WalkingWorld&) = delete;
    WalkingWorld& operator=(const WalkingWorld&) = delete;

    TLcfgMap map;
    TLcfgParty party;
};

}  // namespace bench_world
