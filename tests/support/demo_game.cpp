#include "support/demo_game.h"

#include <cstdlib>
#include <string>

#include "data/database/database.h"
#include "data/folders.h"
#include "data/map/base_map_unit.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"

namespace fs = std::filesystem;

namespace e2e {

namespace {

fs::path DemoTool() { return fs::path(VARNOW_BINARY_DIR) / "mkdemo"; }

}  // namespace

bool HaveDemoTool() { return fs::exists(DemoTool()); }

bool WriteDemoGame(const fs::path& dir) {
    const fs::path tool = DemoTool();
    if (!fs::exists(tool)) return false;
    std::string command = "\"" + tool.string() + "\" \"" + dir.string() + "\" >/dev/null";
    return std::system(command.c_str()) == 0;
}

int StartMapOf(const fs::path& dir) {
    TLcfMapTree tree;
    tree.LoadFromFile((dir / "Varnow.lmt").string());
    return tree.startPosition.GetMapId(TLcfMapStartPosition::kParty);
}

namespace {

// Reads one map of the demo; its chip set is checked against the database,
// so that is read too, for the time of the call.
template <class Fn>
auto WithMap(const fs::path& dir, int mapId, Fn fn) {
    SetGameFolder(dir.string(), "varnow");
    TLcfDataBase db;
    db.Load(dir.string());
    TLcfMap map(mapId);
    map.LoadFromFile((dir / MapFileName(mapId)).string());
    auto result = fn(map);
    SetGameFolder("", "varnow");
    return result;
}

const TLcfEventItem* EventNamed(const TLcfMap& map, const std::string& name) {
    for (int i = 0; i < map.events.Count(); ++i)
        if (map.events.Items(i)->name == name) return map.events.Items(i);
    return nullptr;
}

}  // namespace

MapSpot FindEvent(const fs::path& dir, int mapId, const std::string& name) {
    return WithMap(dir, mapId, [&](const TLcfMap& map) {
        MapSpot spot;
        if (const TLcfEventItem* e = EventNamed(map, name)) spot = {mapId, e->x, e->y, e->Id()};
        return spot;
    });
}

MapSpot TransferTargetOf(const fs::path& dir, int mapId, const std::string& name) {
    return WithMap(dir, mapId, [&](const TLcfMap& map) {
        const TLcfEventItem* e = EventNamed(map, name);
        const TLcfEventPageItem* page = e ? e->pages.Items(0) : nullptr;
        for (int i = 0; page && i < page->script.Count(); ++i) {
            const TLcfEventScriptLine* line = page->script.Lines(i);
            if (line->code == 10810) return MapSpot{line->GetParam(0), line->GetParam(1), line->GetParam(2)};
        }
        return MapSpot{};
    });
}

}  // namespace e2e
