#include "game/game_world_hooks.h"

#include <memory>

#include "game/interpreter/interpreter_hooks.h"
#include "game/map/game_map.h"
#include "game/map/map_world.h"
#include "game/map/world_screen_hooks.h"
#include "game/panorama/panorama.h"
#include "game/party/world_party_hooks.h"

namespace {

struct TInstalledHooks {
    explicit TInstalledHooks(TLcfSystemGraphic* skin) : screen(skin) {}
    TLcfgWorldScreen screen;
    TLcfgMapAnimationTargets targets;
    TLcfgWorldParty party;
    TLcfgMapWorld map;
};

std::unique_ptr<TInstalledHooks> Installed;

}  // namespace

void InstallGameWorldHooks(TLcfSystemGraphic* skin) {
    RemoveGameWorldHooks();
    Installed = std::make_unique<TInstalledHooks>(skin);
    GameWorldHooks.screen = &Installed->screen;
    GameWorldHooks.party = &Installed->party;
    GameWorldHooks.battle = nullptr;
    GameMapAnimationTargets = &Installed->targets;
    GameInterpreterHooks.map = &Installed->map;
    GameInterpreterHooks.party = &Installed->party;
    if (GamePanorama) {
        GamePanorama->ViewX = [] { return GameMap ? GameMap->viewX : 0; };
        GamePanorama->ViewY = [] { return GameMap ? GameMap->viewY : 0; };
    }
}

void RemoveGameWorldHooks() {
    if (!Installed) return;
    if (GameWorldHooks.screen == &Installed->screen) GameWorldHooks.screen = nullptr;
    if (GameWorldHooks.party == &Installed->party) GameWorldHooks.party = nullptr;
    if (GameMapAnimationTargets == &Installed->targets) GameMapAnimationTargets = nullptr;
    if (GameInterpreterHooks.map == &Installed->map) GameInterpreterHooks.map = nullptr;
    if (GameInterpreterHooks.party == &Installed->party) GameInterpreterHooks.party = nullptr;
    if (GamePanorama) {
        GamePanorama->ViewX = nullptr;
        GamePanorama->ViewY = nullptr;
    }
    Installed.reset();
}
