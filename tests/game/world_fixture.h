#pragma once
// A map world built in code: a database with one chip set and terrain, a
// map unit and map tree owned by the test, the run-time map, the party and
// the vehicles, fake effects, party info and battle, scripted random
// numbers and input.

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <memory>
#include <set>
#include <vector>

#include "data/database/chip_set.h"
#include "data/database/ground.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "game/map/game_map.h"
#include "game/map/map_world.h"
#include "game/map/world_hooks.h"
#include "game/teleport/teleport.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"
#include "interpreter_fixture.h"

namespace world_test {

// Tile ids of the test chip set.
enum : int32_t {
    kFloor = 5000,       // lower chip 18: open
    kWall = 5001,        // lower chip 19: closed
    kWater = 5002,       // lower chip 20: open, terrain 2 (boats)
    kClear = 10000,      // upper chip 0: open, drawn above
    kBlock = 10001,      // upper chip 1: closed
    kDownLeft = 10002,   // upper chip 2: open at the bottom and left only
    kRoof = 10003,       // upper chip 3: drawn above but closed
    kCounter = 10004,    // upper chip 4: a counter
};

class ScriptedRandom : public RandomSource {
public:
    int32_t Next(int32_t n) override {
        if (values.empty()) return 0;
        const int32_t v = values.front();
        values.pop_front();
        return std::clamp(v, 0, n - 1);
    }
    std::deque<int32_t> values;
};

class FakeEffects : public IWorldScreenHooks {
public:
    void ScrollLayers(int32_t dx, int32_t dy) override {
        scrolledX += dx;
        scrolledY += dy;
    }
    void ConfigurePanorama(bool) override { ++panoramaConfigs; }
    void PanoramaFollowView() override {}
    void FlashScreen(int32_t, int32_t, int32_t, int32_t, int32_t) override { ++flashes; }
    int32_t ShakeOffset() const override { return shake; }
    void DrawAirshipShadow(TSorvoBoard&, int32_t, int32_t, int32_t) override {}
    int64_t scrolledX = 0, scrolledY = 0;
    int panoramaConfigs = 0, flashes = 0;
    int32_t shake = 0;
};

class FakePartyInfo : public IWorldPartyHooks {
public:
    bool HasItem(int32_t id) const override { return items.count(id) > 0; }
    bool HasActor(int32_t id) const override { return actors.count(id) > 0; }
    int32_t TimerSeconds(int timer) const override { return timer == 1 ? timer1 : timer2; }
    bool LeaderSprite(std::string&, int32_t&, bool&) const override { return false; }
    bool ApplyTerrainDamage(int32_t) override { return false; }
    void CountStep() override { ++steps; }
    std::set<int32_t> items, actors;
    int32_t timer1 = 0, timer2 = 0;
    int steps = 0;
};

class FakeBattle : public IWorldBattleHooks {
public:
    bool TroopAllowedOnTerrain(int32_t troop, int32_t) const override { return excluded.count(troop) == 0; }
    void StartEncounterBattle(const TLcfgEncounterBattle& b) override { started.push_back(b); }
    std::set<int32_t> excluded;
    std::vector<TLcfgEncounterBattle> started;
};

class WorldTest : public interp_test::InterpreterTest {
protected:
    WorldTest() {
        TLcfChipSetItem* chips = DbChipSet->GetOrCreate(1);
        chips->lowerFlags[19] = 0x00;
        chips->terrain[20] = 2;
        chips->upperFlags[1] = 0x00;
        chips->upperFlags[2] = 0x03;
        chips->upperFlags[3] = 0x10;
        chips->upperFlags[4] = 0x40;
        DbGround->GetOrCreate(1);
        TLcfGroundItem* water = DbGround->GetOrCreate(2);
        water->boatPassable = water->shipPassable = 1;
        GameMapUnit = &unit;
        GameMapTree = &tree;
        tree.GetOrCreate(1)->encounterSteps = 0;
        GameMap = &map;
        GameParty = &party;
        map.MapLoader = [this](int32_t id) { unit.SetId(id); };
        boat = std::make_unique<TLcfgShip>(TLcfgShip::kBoat);
        ship = std::make_unique<TLcfgShip>(TLcfgShip::kShip);
        airship = std::make_unique<TLcfgShip>(TLcfgShip::kAirship);
        GameBoat = boat.get();
        GameShip = ship.get();
        GameAirship = airship.get();
        GameWorldHooks = {&effects, &partyInfo, &battle};
        GameInterpreterHooks.map = &world;
        SetRandomSource(&dice);
        MakeMap(5, 5);
    }
    ~WorldTest() override {
        SetRandomSource(nullptr);
        GameWorldHooks = {};
        GameBoat = GameShip = GameAirship = nullptr;
        GameParty = nullptr;
        GameMap = nullptr;
        GameMapTree = nullptr;
        GameMapUnit = nullptr;
        GameInterpreterHooks.map = nullptr;
    }

    void MakeMap(int32_t w, int32_t h, uint8_t scroll = TLcfMap::kScrollNone) {
        unit.width = w;
        unit.height = h;
        unit.Lower().Resize(w, h);
        unit.Upper().Resize(w, h);
        unit.SetScrollType(scroll);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                unit.Lower().SetTile(x, y, kFloor);
                unit.Upper().SetTile(x, y, kClear);
            }
    }
    // A map event with one page whose script does something.
    TLcfEventPageItem& AddEvent(int32_t id, int32_t x, int32_t y) {
        TLcfEventItem* e = unit.events.GetOrCreate(id);
        e->x = x;
        e->y = y;
        TLcfEventPageItem* page = e->pages.GetOrCreate(1);
        page->script = interp_test::Lines(lcf_builder::Script().Line(12410, 0, "x").Line(0));
        return *page;
    }
    TLcfEventPageItem& AddPage(int32_t id, int32_t page) {
        TLcfEventPageItem* p = unit.events.GetOrCreate(id)->pages.GetOrCreate(page);
        p->script = interp_test::Lines(lcf_builder::Script().Line(12410, 0, "x").Line(0));
        return *p;
    }
    // Puts the party at (x, y) of map 1 and sets the map up.
    void Enter(int32_t x, int32_t y) {
        party.TLcfgCharacter::SetPosition(1, x, y);
        map.Setup(true);
    }
    TLcfgEventItem& Event(int32_t id) { return *map.events.ItemById(id); }
    // A move route of the commands with these codes.
    static std::vector<TLcfMoveRouteItem> Route(std::initializer_list<int32_t> codes) {
        std::vector<TLcfMoveRouteItem> r;
        for (int32_t c : codes) {
            TLcfMoveRouteItem item;
            item.code = c;
            r.push_back(item);
        }
        return r;
    }
    void Frame() { map.UpdateCharacters(); }
    // Frames until the party stands.
    void WalkOut() {
        for (int i = 0; i < 64 && party.progress > 0; ++i) Frame();
    }

    TLcfMap unit;
    TLcfMapTree tree;
    TLcfgMap map;
    TLcfgParty party;
    std::unique_ptr<TLcfgShip> boat, ship, airship;
    TLcfgMapWorld world;
    FakeEffects effects;
    FakePartyInfo partyInfo;
    FakeBattle battle;
    ScriptedRandom dice;
};

}  // namespace world_test
