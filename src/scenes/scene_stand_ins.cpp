#include "scenes/scene_stand_ins.h"

#include "data/database/system.h"
#include "game/system/game_system.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/field/field_scene.h"
#include "scenes/startup.h"

void TLcfStandInScene::RestoreMusic() {
    if (GameSystem) GameSystem->PlayMusic(GameSystem->MusicRecord(kGameMusicCurrent));
}

void TLcfStandInScene::Update() {
    RestoreMusic();
    GameSystem->scene = uint8_t(Next ? Next() : next_);
}

void TLcfStandInScene::Draw() { GameDraw->Board().FillRect(RectOfSize(0, 0, kWidth, kHeight), 0); }

void TLcfBattleStandIn::RestoreMusic() {
    if (GameSystem) GameSystem->PlayMusic(GameSystem->MusicRecord(kGameMusicBeforeBattle));
}

void TLcfBattleStandIn::Update() {
    TLcfStandInScene::Update();
    if (BattleTestMode || !FieldScene || !GameSystem || GameSystem->scene != kSceneField) return;
    // A battle that began on a black screen leaves the field black for the
    // game's script to show.
    if (!screenWasBlack) {
        const int32_t show = GameSystem->Transition(kTransitionBattleEndShow);
        if (show != kNoTransition) FieldScene->ShowScreen(show);
    }
    FieldScene->started = true;
}
