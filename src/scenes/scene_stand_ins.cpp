#include "scenes/scene_stand_ins.h"

#include "game/system/game_system.h"
#include "media/screen/sorvo_draw.h"

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
