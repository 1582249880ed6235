// Plays a battle of an edited database on the real battle scene for a
// bounded number of frames: heroes, classes, skills, items, conditions,
// attributes, monsters and troops as the edits leave them (any value a game
// file could hold), a troop's battle event pages with commands, every
// battle layout and start condition, a party of one to four, and keys by
// frame through victory, defeat, escape and the battle's events. Nothing
// may crash, hang, overflow or allocate without bound; a clear error ends
// the run.
//
// Input: scene_input.h, with the set-up bytes
//   2   bits 0-2 the start condition (mod 5), bit 3 first strike, bit 4
//       escape allowed, bits 5-6 the layout (mod 3), bit 7 automatic
//       placement
//   3   bits 0-1 the heroes added - 1, bits 2-3 the first of them - 1
//       (after the database's starting party; four at most)
//   4   the troop (1-8)
//   5   bits 0-1 the terrain (0-3), bits 2-3 the formation (mod 3), bit 4
//       the battle starts as a random encounter on the field (the field's
//       flash, erase and the special start the terrain rolls), bit 5 the
//       party also holds three of each of items 2-32, bit 6 the battle
//       test's battle (its end waits, then the game is over)
#include <cstdint>
#include <cstdlib>

#include "data/database/battle.h"
#include "game/map/world_hooks.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "scene_world.h"
#include "scenes/battle/battle_scene.h"
#include "scenes/game_main.h"
#include "scenes/startup.h"

namespace {

// Long enough for a start, a turn and a victory or defeat (whose end alone
// waits sixty frames); short enough that one input runs in a few
// milliseconds.
constexpr int kMaxFrames = 240;

// The field hands the battle over as a random encounter does; the field
// draws and waits on the way, so the frames may run out or the game end.
void StartFromField(const TLcfgEncounterBattle& setup) {
    if (GameWorldHooks.battle) scene_world::World::Play([&] { GameWorldHooks.battle->StartEncounterBattle(setup); });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    scene_world::DefaultFlags(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    scene_world::World& w = scene_world::TheWorld();
    const bool ready = w.Prepare(std::span<const uint8_t>(data, size), kMaxFrames, false, [&] {
        DbBattle->layoutStyle = (data[2] >> 5) % 3;
        DbBattle->autoPlacement = data[2] >> 7;
    });
    if (!ready) return 0;
    GamePartyInfo->GainItem(1, 3);
    if (data[5] & 32)
        for (int32_t id = 2; id <= DbItem->Count() && id <= scene_input::kMaxRecord; ++id)
            GamePartyInfo->GainItem(id, 3);
    TLcfgEncounterBattle& setup = BattleScene->setup;
    setup = TLcfgEncounterBattle();
    setup.startCondition = (data[2] & 7) % 5;
    setup.firstStrike = (data[2] & 8) != 0;
    setup.escapeAllowed = (data[2] & 16) != 0;
    setup.troopId = 1 + data[4] % 8;
    setup.terrainId = data[5] & 3;
    setup.formation = (data[5] >> 2) % 3;
    setup.backdrop = "Field";
    GameSystem->scene = kSceneBattle;
    BattleTestMode = (data[5] & 64) != 0;
    if (data[5] & 16) StartFromField(TLcfgEncounterBattle(setup));
    if (GameSystem->scene != kSceneBattle) return 0;
    w.Run([](int scene) { return scene == kSceneBattle; });
    return 0;
}
