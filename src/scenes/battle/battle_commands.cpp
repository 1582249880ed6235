// The script commands that hand the game to a battle or end it: start a
// battle (its outcome goes to the case lines that follow), game over and
// the return to the title.

#include "data/database/database.h"
#include "data/database/ground.h"
#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/interpreter/command_table.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "media/audio/audio_cantrel.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/battle/battle_scene.h"
#include "scenes/field/field_scene.h"
#include "scenes/game_main.h"

namespace {

std::string TerrainBackdrop(int32_t terrainId) {
    if (!DbGround || terrainId < 1) return {};
    return DbGround->Find(terrainId) ? DbGround->Find(terrainId)->backdrop : std::string();
}

VARNOW_COMMAND(StartBattle) {
    if (!GameSystem || !BattleScene) return;
    const int count = line.ParamCount();
    const int32_t condition = count >= 7 ? line.GetParam(6) : 0;
    // Lines written before formation and terrain existed stand for 1.
    const int32_t formation = count >= 8 ? line.GetParam(7) : 1;
    const int32_t terrain = count >= 8 ? line.GetParam(8) : 1;

    TLcfgEncounterBattle& setup = BattleScene->setup;
    setup = TLcfgEncounterBattle();
    setup.startCondition = condition;
    const int32_t source = line.GetParam(0);
    setup.troopId = source == 0 ? line.GetParam(1) : source == 1 ? GameSystem->GetVariable(line.GetParam(1)) : 0;
    switch (line.GetParam(2)) {
        case 0:
            if (!GameSystem->mapBattleBackground.empty()) {
                setup.backdrop = GameSystem->mapBattleBackground;
                setup.terrainId = GameSystem->mapBattleTerrain;
            } else {
                setup.terrainId = GameParty ? GameParty->TerrainId() : 0;
                setup.backdrop = TerrainBackdrop(setup.terrainId);
            }
            break;
        case 1:
            setup.backdrop = line.text;
            setup.formation = formation;
            setup.terrainId = 0;
            break;
        case 2:
            setup.backdrop = TerrainBackdrop(terrain);
            setup.terrainId = terrain;
            break;
        default: break;
    }
    setup.escapeAllowed = line.GetParam(3) > 0;
    setup.defeatHandledByCaller = line.GetParam(4) > 0;
    setup.firstStrike = line.GetParam(5) != 0;
    setup.startedByEvent = true;
    BattleScene->resultTarget = scripter.TargetOf(frame, line.indent);
    scripter.battleResult = BattleScene->resultTarget;
    if (FieldScene)
        FieldScene->StartBattle();
    else
        GameSystem->scene = kSceneBattle;
    // The field's own start rolls a special start from the terrain; the
    // script's condition stands.
    setup.startCondition = condition;
    // Escape mode 1: an escaped battle ends the calling script.
    scripter.battleResultCheck = line.GetParam(3) == 1;
}

VARNOW_COMMAND(GameOver) {
    (void)scripter;
    (void)frame;
    (void)line;
    if (!GameSystem) return;
    GameSystem->PlayMusic(GameSystem->Music(kGameMusicGameOver));
    TLcfScene* current = GameSystem->scene == kSceneBattle ? static_cast<TLcfScene*>(BattleScene)
                                                          : static_cast<TLcfScene*>(FieldScene);
    if (current) current->FadeOut(3);
    GameSystem->scene = kSceneGameOver;
}

VARNOW_COMMAND(ReturnToTitle) {
    (void)scripter;
    (void)frame;
    (void)line;
    CantrelStopMusic();
    CantrelStopAllSounds();
    GameDraw->Restart();
}

}  // namespace

void RegisterBattleCommands() {
    SetCommandHandler(10710, StartBattle);
    SetCommandHandler(12420, GameOver);
    SetCommandHandler(12510, ReturnToTitle);
}
