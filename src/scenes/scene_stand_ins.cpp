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
