#include "scenes/title/title_scene.h"

#include <algorithm>

#include "data/asset_lookup.h"
#include "data/database/database.h"
#include "data/database/system.h"
#include "data/database/vocabulary.h"
#include "game/save/save_data.h"
#include "game/system/game_system.h"
#include "graphics/system_graphic.h"
#include "media/audio/audio_cantrel.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/field/field_scene.h"
#include "scenes/game_main.h"
#include "scenes/save/save_file_scene.h"
#include "scenes/startup.h"
#include "scenes/system_sounds.h"
#include "scenes/title/logo.h"

namespace {

std::string Term(int id) { return DbVocabulary ? DbVocabulary->Get(id) : std::string(); }

}  // namespace

TLcfTitleScene::TLcfTitleScene() : picture_(std::make_unique<TSorvoSheet>()) { Reset(); }

void TLcfTitleScene::Reset() {
    TLcfScene::Reset();
    started_ = false;
    firstEntry_ = true;
    picture_->FreePixels();
    window_.CloseNow();
}

void TLcfTitleScene::ShowLogoSequence() {
    for (int i = 0; i < 10; ++i) DrawAndWait();
    picture_->LoadFromXyzResource(Logo1Xyz(), true);
    FadeIn(10);
    GameDraw->ResetFrameTimer();
    for (int i = 0; i < 20; ++i) DrawAndWait();
    for (int i = 0; i < 60; ++i) {
        DrawAndWait();
        GameInput->Update();
        if (GameInput->IsHeld(TMultiInput::kDecision)) break;
    }
    GameInput->Flush();
    FadeOut(10);
    ShowLogo = false;
}

void TLcfTitleScene::Start() {
    started_ = true;
    picture_->SetSize(kWidth, kHeight);
    if (firstEntry_ && ShowLogo) ShowLogoSequence();

    hasSave_ = false;
    for (int slot = 1; slot <= TLcfgSaveData::kSlotCount; ++slot)
        if (GameSaveData->LoadHeader(slot) && GameSaveHeader->saveTime > 0) {
            hasSave_ = true;
            break;
        }

    // The picture loads even when hidden; Draw decides whether it shows.
    picture_->SetSize(kWidth, kHeight);
    std::string name = DbSystem ? DbSystem->titlePicture : std::string();
    if (!name.empty()) picture_->LoadFromFile(RequireAssetFile(name, "Title", kImageExtensions), true);
    if (ShowTitle) PlayTitleMusic();

    const std::string terms[3] = {Term(TLcfVocabulary::kNewGame), Term(TLcfVocabulary::kContinue),
                                  Term(TLcfVocabulary::kShutdown)};
    size_t longest = std::max({terms[0].size(), terms[1].size(), terms[2].size()});
    int32_t width = int32_t(longest) * 6 + 16;
    if (ShowTitle && firstEntry_) FadeIn(3);
    if (ShowTitle)
        window_.Setup(160 - width / 2, 148, width, 64, firstEntry_);
    else
        window_.Setup(160 - width / 2, 88, width, 64, false);
    window_.SetItemCount(3);
    window_.DrawText(8, 8, terms[0], 0);
    window_.DrawText(8, 24, terms[1], hasSave_ ? 0 : 3);
    window_.DrawText(8, 40, terms[2], 0);
    window_.SetActive(true);
    if (!firstEntry_) window_.SetCursor(1);
    FadeIn(20);
}

void TLcfTitleScene::Leave() {
    FadeOut(20);
    GameDraw->Board().Clear();
    GameDraw->Flip();
    Reset();
    firstEntry_ = false;
}

void TLcfTitleScene::Update() {
    if (!started_) Start();
    window_.Update();
    if (!window_.IsOpen() || !GameInput->IsPressed(TMultiInput::kDecision)) return;
    switch (window_.Cursor()) {
        case 0:
            PlaySystemSound(kSystemSoundDecision);
            GameSystem->FadeOutMusic(800);
            Leave();
            for (int i = 0; i < 48; ++i) GameDraw->WaitFrame();
            GameSystem->StopMusic();
            for (int i = 0; i < 16; ++i) GameDraw->WaitFrame();
            GameSystem->scene = 0;
            GameSaveData->NewGame();
            FieldScene->FadeIn(3);
            break;
        case 1:
            if (!hasSave_) {
                PlaySystemSound(kSystemSoundBuzzer);
                break;
            }
            PlaySystemSound(kSystemSoundDecision);
            Leave();
            SaveFileScene->saveMode = false;
            SaveFileScene->fromMenu = false;
            GameSystem->scene = kSceneSave;
            break;
        default:
            PlaySystemSound(kSystemSoundDecision);
            GameSystem->FadeOutMusic(400);
            FadeOut(4);
            GameDraw->Terminate();
            break;
    }
}

void TLcfTitleScene::Draw() {
    if (!started_) return;
    TSorvoBoard& board = GameDraw->Board();
    uint32_t background = 0;
    if (GameSystemGraphic) {
        RgbTriple c = GameSystemGraphic->BackgroundColor();
        background = RgbColor(c.red, c.green, c.blue);
    }
    const bool pictureShown = ShowLogo || ShowTitle;
    // An opaque picture (of the screen's size) hides the whole background:
    // filling it first would be drawn over, every frame.
    const bool pictureCovers = pictureShown && !picture_->Transparent && picture_->Opacity >= 255 &&
                               picture_->Width() >= kWidth && picture_->Height() >= kHeight;
    if (!pictureCovers) board.FillRect(RectOfSize(0, 0, kWidth, kHeight), background);
    if (pictureShown) board.Draw(0, 0, *picture_, RectOfSize(0, 0, kWidth, kHeight));
    window_.Draw();
}
