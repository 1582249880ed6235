#include "field_scripts.h"

#include <fstream>

#include "data/database/event.h"
#include "data/map/map.h"
#include "data/record/var_int.h"

namespace {

using Line = TLcfEventScriptLine;

enum : int32_t {
    kEnd = 0,
    kSwitches = 10210,
    kVariables = 10220,
    kTimer = 10230,
    kGold = 10310,
    kItems = 10320,
    kParty = 10330,
    kTransfer = 10810,
    kMemorize = 10820,
    kRecall = 10830,
    kVehicle = 10840,
    kVehicleLocation = 10850,
    kEventLocation = 10860,
    kSwap = 10870,
    kTerrain = 10910,
    kEventId = 10920,
    kTransparent = 11310,
    kFlash = 11320,
    kMoveRoute = 11330,
    kWaitMovement = 11340,
    kStopMovement = 11350,
    kTileset = 11710,
    kPanorama = 11720,
    kEncounterRate = 11740,
    kReplaceTile = 11750,
    kTeleportTargets = 11810,
    kEscape = 11830,
    kIf = 12010,
    kElse = 22010,
    kEndIf = 22011,
    kLoop = 12210,
    kLoopEnd = 22210,
    kBreak = 12220,
    kErase = 12320,
    kCallEvent = 12330,
    kWait = 11410,
};

void Add(TLcfEventScriptList& s, int32_t code, int32_t indent, std::vector<int32_t> params, std::string text = {}) {
    s.Add(Line(code, indent, std::move(text), std::move(params)));
}

// Switches, variables with every operand, the timers, gold, items and the
// party, each followed by the branch that tests it.
TLcfEventScriptList StateScript() {
    TLcfEventScriptList s;
    Add(s, kSwitches, 0, {0, 1, 0, 0});
    Add(s, kSwitches, 0, {1, 2, 9, 2});
    Add(s, kIf, 0, {0, 1, 0});
    Add(s, kVariables, 1, {0, 1, 0, 0, 0, 7});
    Add(s, kElse, 0, {});
    Add(s, kVariables, 1, {1, 2, 4, 1, 3, -5, 5});
    Add(s, kEndIf, 0, {});
    for (int kind = 1; kind <= 8; ++kind) Add(s, kVariables, 0, {0, 3 + kind, 0, kind % 6, kind, 1, kind % 3});
    Add(s, kVariables, 0, {2, 1, 0, 3, 0, 3});
    Add(s, kIf, 0, {1, 1, 0, 7, 0});
    Add(s, kTimer, 1, {0, 0, 30, 0, 0, 0});
    Add(s, kTimer, 1, {1, 0, 0, 1, 0, 0});
    Add(s, kEndIf, 0, {});
    Add(s, kIf, 0, {2, 0, 0});
    Add(s, kGold, 1, {0, 0, 500});
    Add(s, kEndIf, 0, {});
    Add(s, kIf, 0, {3, 100, 0});
    Add(s, kItems, 1, {0, 0, 2, 0, 3});
    Add(s, kEndIf, 0, {});
    Add(s, kIf, 0, {4, 2, 0});
    Add(s, kParty, 1, {0, 0, 3});
    Add(s, kParty, 1, {1, 0, 1});
    Add(s, kEndIf, 0, {});
    for (int test = 0; test <= 6; ++test) Add(s, kIf, 0, {5, 2, test, 1}), Add(s, kEndIf, 0, {});
    Add(s, kIf, 0, {6, 10001, 2});
    Add(s, kGold, 1, {1, 1, 4});
    Add(s, kEndIf, 0, {});
    for (int kind : {7, 8, 9, 10}) Add(s, kIf, 0, {kind, 0, 0}), Add(s, kEndIf, 0, {});
    Add(s, kLoop, 0, {});
    Add(s, kVariables, 1, {0, 20, 0, 1, 0, 1});
    Add(s, kIf, 1, {1, 20, 0, 3, 1});
    Add(s, kBreak, 2, {});
    Add(s, kEndIf, 1, {});
    Add(s, kLoopEnd, 0, {});
    Add(s, kTimer, 0, {2, 0, 0, 0, 0, 1});
    Add(s, kEnd, 0, {});
    return s;
}

// Transfers, vehicles, event places, the map's questions and overrides,
// routes and flashes.
TLcfEventScriptList MapScript() {
    TLcfEventScriptList s;
    Add(s, kMemorize, 0, {1, 2, 3});
    Add(s, kVehicleLocation, 0, {0, 0, 1, 3, 2, 2});
    Add(s, kVehicleLocation, 0, {2, 1, 1, 2, 3});
    Add(s, kVehicle, 0, {});
    Add(s, kEventLocation, 0, {2, 0, 5, 5, 3});
    Add(s, kEventLocation, 0, {10005, 1, 2, 3});
    Add(s, kSwap, 0, {1, 2});
    Add(s, kSwap, 0, {10001, 3});
    Add(s, kTerrain, 0, {0, 4, 4, 5});
    Add(s, kEventId, 0, {1, 2, 3, 6});
    Add(s, kTileset, 0, {1});
    Add(s, kPanorama, 0, {1, 0, 1, -3, 1, 2}, "Sky");
    Add(s, kEncounterRate, 0, {25});
    Add(s, kReplaceTile, 0, {0, 18, 20});
    Add(s, kReplaceTile, 0, {1, 1, 0});
    Add(s, kTeleportTargets, 0, {0, 1, 4, 4, 1, 3});
    Add(s, kTeleportTargets, 0, {1, 2});
    Add(s, kEscape, 0, {1, 2, 2, 1, 4});
    Add(s, kTransparent, 0, {0});
    Add(s, kFlash, 0, {10001, 31, 0, 0, 20, 5, 1});
    Add(s, kMoveRoute, 0, {10005, 4, 0, 1, 1, 2, 3, 0, 32, 5, 34, 2, 'H', 'i', 1, 11});
    Add(s, kMoveRoute, 0, {10001, 3, 1, 0, 2, 2, 1});
    Add(s, kWaitMovement, 0, {});
    Add(s, kStopMovement, 0, {});
    Add(s, kTransparent, 0, {1});
    Add(s, kTransfer, 0, {1, 6, 6, 2});
    Add(s, kWait, 0, {2});
    Add(s, kTransfer, 0, {2, 1, 1, 3});
    Add(s, kRecall, 0, {1, 2, 3, 0});
    Add(s, kCallEvent, 0, {1, 3, 1});
    Add(s, kCallEvent, 0, {0, 1});
    Add(s, kErase, 0, {});
    Add(s, kEnd, 0, {});
    return s;
}

TLcfEventItem* AddEvent(TLcfMap& map, int32_t id, int32_t x, int32_t y, uint8_t trigger, TLcfEventScriptList script) {
    TLcfEventItem* e = map.events.GetOrCreate(id);
    e->x = x;
    e->y = y;
    TLcfEventPageItem* page = e->pages.GetOrCreate(1);
    page->trigger = trigger;
    page->script = std::move(script);
    page->sheetName = "People";
    page->sheetIndex = id % 8;
    page->moveType = uint8_t(id % 3);
    return e;
}

void WriteSeed(const std::filesystem::path& path, std::array<uint8_t, 8> header, TLcfMap& map) {
    ByteWriter w;
    for (uint8_t b : header) w.WriteU8(b);
    WriteVarString(w, kMapFileMagic);
    map.SaveToStream(w);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(w.Bytes().data()), static_cast<std::streamsize>(w.Size()));
}

}  // namespace

void BuildFieldMap(TLcfMap& map, int32_t width, int32_t height) {
    map.width = width;
    map.height = height;
    map.Lower().Resize(width, height);
    map.Upper().Resize(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const bool water = x >= width - 3;
            const bool wall = !water && (x == 0 || y == 0);
            map.Lower().SetTile(x, y, water ? 5002 : wall ? 5001 : 5000);
            map.Upper().SetTile(x, y, x == 4 && y == 3 ? 10004 : 10000);
        }
}

void WriteFieldScriptSeeds(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    TLcfMap map(1);
    BuildFieldMap(map, 14, 10);
    // Each script alone, run by the party's touch, by itself and in
    // parallel.
    AddEvent(map, 1, 3, 3, 3, StateScript());
    WriteSeed(dir / "state_autorun.bin", {3, 4, 40, 0, 0, 0, 0, 0}, map);
    map.events.Items(0)->pages.Items(0)->trigger = 4;
    WriteSeed(dir / "state_parallel.bin", {3, 4, 40, 1, 0, 0, 0, 0}, map);
    map.events.Clear();
    AddEvent(map, 1, 2, 2, 1, MapScript());
    WriteSeed(dir / "map_touch.bin", {2, 3, 60, 0, 4, 4, 8, 0}, map);
    // All together: an autorun, a parallel process, a touch and a key
    // event, a call chain that calls itself, and a looping map with a boat.
    map.events.Clear();
    AddEvent(map, 1, 3, 3, 4, StateScript());
    AddEvent(map, 2, 5, 2, 3, MapScript());
    TLcfEventScriptList self;
    Add(self, kVariables, 0, {0, 30, 0, 1, 0, 1});
    Add(self, kCallEvent, 0, {1, 10005, 1});
    Add(self, kEnd, 0, {});
    AddEvent(map, 3, 6, 6, 1, self);
    TLcfEventScriptList key;
    Add(key, kVehicle, 0, {});
    Add(key, kTransfer, 0, {1, 12, 8, 1});
    Add(key, kEnd, 0, {});
    AddEvent(map, 4, 7, 7, 0, key);
    map.events.Items(3)->pages.Items(0)->layer = 1;
    WriteSeed(dir / "everything.bin", {6, 5, 63, 3, 1, 3, 8, 16}, map);
    map.SetScrollType(TLcfMap::kScrollLoopBoth);
    map.usePanorama = 1;
    map.panoramaName = "Sky";
    map.panoramaAutoScrollHorizontal = 1;
    map.panoramaSpeedHorizontal = 3;
    WriteSeed(dir / "looping.bin", {0, 0, 63, 2, 2, 2, 4, 4}, map);
    // A wide map with autotiles and above-tiles, walked along.
    TLcfMap wide(1);
    BuildFieldMap(wide, 40, 12);
    for (int32_t x = 5; x < 30; ++x) {
        wide.Lower().SetTile(x, 6, 4000 + 50 * (x % 12) + x % 47);
        wide.Upper().SetTile(x, 4, 10003);
    }
    AddEvent(wide, 1, 8, 5, 4, StateScript());
    AddEvent(wide, 2, 12, 6, 1, MapScript());
    WriteSeed(dir / "wide.bin", {6, 5, 63, 0, 3, 3, 3, 4}, wide);
}
