#include "data/database/database.h"
#include "data/database/ground.h"
#include "data/database/mon_group.h"
#include "data/database/system.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/field/field_scene.h"
#include "scenes/game_main.h"
#include "scenes/battle/battle_scene.h"
#include "scenes/windows/message_window.h"

void TLcfFieldScene::StartBattle() {
    if (!GameSystem) return;
    if (GameMessageWindow) GameMessageWindow->Close();
    if (GameParty && GameSystem->Transition(kTransitionTeleportErase) != kNoTransition) GameParty->ResetAnimation();
    DrawAndWait();
    GameSystem->MusicRecord(kGameMusicBeforeBattle) = GameSystem->MusicRecord(kGameMusicCurrent);
    GameSystem->StopAllSounds();
    GameSystem->PlaySound(GameSystem->Sound(kSoundBattleStart));
    GameSystem->PlayMusic(GameSystem->Music(kGameMusicBattle));
    GameSystem->ClearFace();
    TLcfgEncounterBattle scratch;
    TLcfgEncounterBattle& setup = BattleScene ? BattleScene->setup : scratch;
    if (GameDraw->Board().Brightness > 0) {
        if (BattleScene) BattleScene->screenWasBlack = 0;
        Flash();
    } else if (BattleScene) {
        BattleScene->screenWasBlack = 1;
    }
    const int32_t erase = GameSystem->Transition(kTransitionBattleStartErase);
    if (erase != kNoTransition) EraseScreen(erase);
    GameSystem->scene = kSceneBattle;
    // Each special start draws its own chance only when the terrain allows it.
    if (setup.startCondition == 0 && setup.terrainId >= 1 && DbGround)
        if (const TLcfGroundItem* terrain = DbGround->Find(setup.terrainId))
            setup.startCondition = terrain->RollSpecialStart();
}

bool TLcfFieldBattleHooks::TroopAllowedOnTerrain(int32_t troopId, int32_t terrainId) const {
    if (!DbMonGroup) return false;
    return DbMonGroup->FindMonGroup(troopId)->GetTerrainFlag(terrainId) != 0;
}

void TLcfFieldBattleHooks::StartEncounterBattle(const TLcfgEncounterBattle& battle) {
    if (BattleScene) BattleScene->setup = battle;
    if (FieldScene) FieldScene->StartBattle();
}
