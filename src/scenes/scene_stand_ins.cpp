#include "scenes/scene_stand_ins.h"

#include "game/system/game_system.h"
#include "media/screen/sorvo_draw.h"

void TLcfStandInScene::Update() { GameSystem->scene = uint8_t(next_); }

void TLcfStandInScene::Draw() { GameDraw->Board().FillRect(RectOfSize(0, 0, kWidth, kHeight), 0); }

void TLcfFieldStandIn::Draw() {
    GameDraw->Board().FillRect(RectOfSize(0, 0, kWidth, kHeight), RgbColor(16, 40, 24));
}
