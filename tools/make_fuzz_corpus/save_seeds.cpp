#include "save_seeds.h"

#include <fstream>

#include "data/database/database.h"
#include "data/map/map.h"
#include "data/random.h"
#include "game/map/game_map.h"
#include "game/party/party_info.h"
#include "game/save/save_data.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"

namespace {

// The map the save-file target sets up: 20 x 15, four events that walk
// routes or at random, one of them a parallel process.
void BuildSaveMap(TLcfMap& unit) {
    unit.width = 20;
    unit.height = 15;
    unit.Lower().Resize(20, 15);
    unit.Upper().Resize(20, 15);
    for (int32_t id = 1; id <= 4; ++id) {
        TLcfEventItem* e = unit.events.GetOrCreate(id);
        e->x = id * 3;
        e->y = id * 2;
        TLcfEventPageItem* page = e->pages.GetOrCreate(1);
        page->moveType = id % 2 ? 6 : 1;
        page->trigger = id == 4 ? 4 : 0;
        for (int32_t code : {0, 1, 24, 2, 25, 3, 14}) {
            TLcfMoveRouteItem item;
            item.code = code;
            page->moveRoute.Add(item);
        }
    }
}

std::vector<TLcfMoveRouteItem> Walk(std::initializer_list<int32_t> codes) {
    std::vector<TLcfMoveRouteItem> route;
    for (int32_t code : codes) {
        TLcfMoveRouteItem item;
        item.code = code;
        route.push_back(item);
    }
    return route;
}

void Write(const std::filesystem::path& path, TLcfgSaveData& save) {
    const std::vector<uint8_t> bytes = save.SaveToBytes();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

void WriteSaveSeeds(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    DbPlayer->SetCount(2);
    TLcfMap unit(1);
    BuildSaveMap(unit);
    GameMapUnit = &unit;
    SeedRandom(7);
    TLcfgSaveData save;
    save.Map().MapLoader = [&unit](int32_t id) { unit.SetId(id); };
    save.StartPosition = [] { return TPartyStart{1, 5, 6}; };

    // The party walking a route, the events mid-step.
    save.NewGame();
    GamePartyInfo->AddMember(1);
    GameParty->StartForcedRoute(Walk({1, 1, 2, 24, 3, 0}), 6, true, true);
    for (int i = 0; i < 37; ++i) GameMap->UpdateCharacters();
    Write(dir / "walking.lsd", save);

    // Aboard the boat with the map's overrides, a pan under way and an
    // erased event.
    GameBoat->SetPosition(1, GameParty->x, GameParty->y);
    GameParty->riding = 1;
    GameParty->vehicleKind = TLcfgShip::kBoat;
    GameMap->SetEncounterRate(30);
    GameMap->SetPanorama("Sky");
    GameMap->ReplaceTile(0, 18, 20);
    GameMap->ReplaceTile(1, 3, 0);
    GameParty->PanScreen(1, 3, 4);
    GameMap->events.Items(1)->active = 0;
    for (int i = 0; i < 5; ++i) GameMap->UpdateCharacters();
    Write(dir / "aboard.lsd", save);

    // Rising in the airship on another map.
    GameParty->ForceLeaveVehicle();
    GameParty->SetPosition(2, 4, 4);
    GameAirship->SetPosition(2, 4, 4);
    GameParty->BoardOrLeaveVehicle();
    for (int i = 0; i < 6; ++i) GameMap->UpdateCharacters();
    Write(dir / "airship.lsd", save);

    GameMapUnit = nullptr;
}
