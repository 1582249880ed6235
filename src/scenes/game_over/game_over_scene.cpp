#include "scenes/game_over/game_over_scene.h"

#include "data/asset_lookup.h"
#include "data/database/database.h"
#include "data/database/system.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"

TLcfGameOverScene::TLcfGameOverScene() : picture_(std::make_unique<TSorvoSheet>()) { Reset(); }

void TLcfGameOverScene::Reset() {
    TLcfScene::Reset();
    started_ = false;
    picture_->FreePixels();
}

void TLcfGameOverScene::Start() {
    picture_->SetSize(kWidth, kHeight);
    std::string name = DbSystem ? DbSystem->gameOverPicture : std::string();
    if (!name.empty()) picture_->LoadFromFile(RequireAssetFile(name, "GameOver", kImageExtensions), true);
    started_ = true;
    FadeIn(1);
}

void TLcfGameOverScene::Update() {
    if (!started_) Start();
    if (GameInput->IsPressed(TMultiInput::kDecision) || GameInput->IsPressed(TMultiInput::kCancel)) {
        FadeOut(1);
        Reset();
        GameDraw->Restart();
    }
}

void TLcfGameOverScene::Draw() {
    if (!started_) return;
    TSorvoBoard& board = GameDraw->Board();
    board.FillRect(RectOfSize(0, 0, kWidth, kHeight), 0);
    board.Draw(0, 0, *picture_, RectOfSize(0, 0, kWidth, kHeight));
}
