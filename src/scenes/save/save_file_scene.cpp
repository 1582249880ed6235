#include "scenes/save/save_file_scene.h"

#include <algorithm>
#include <string>

#include "data/database/database.h"
#include "data/database/vocabulary.h"
#include "data/errors.h"
#include "game/interpreter/command_handlers.h"
#include "game/map/game_map.h"
#include "game/save/save_data.h"
#include "game/system/game_system.h"
#include "graphics/system_graphic.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/field/field_scene.h"
#include "scenes/game_main.h"
#include "scenes/system_sounds.h"

namespace {

std::string Term(int id) { return DbVocabulary ? DbVocabulary->Get(id) : std::string(); }

uint32_t BackgroundColor() {
    if (!GameSystemGraphic) return 0;
    RgbTriple c = GameSystemGraphic->BackgroundColor();
    return RgbColor(c.red, c.green, c.blue);
}

}  // namespace

void TLcfSaveFileScene::Reset() {
    TLcfScene::Reset();
    started_ = false;
    help_.CloseNow();
    saveMode = false;
    fromMenu = false;
    top_ = 1;
    cursor_ = 1;
    frameCounter_ = 0;
    scroll_ = 0;
    reopenOn_ = 0;
}

void TLcfSaveFileScene::Start() {
    GameDraw->Board().Clear();
    GameDraw->Flip();
    started_ = true;
    help_.Setup(0, 0, 320, 32, false);
    help_.SetText(Term(saveMode ? TLcfVocabulary::kSaveWhere : TLcfVocabulary::kLoadWhich));
    for (int slot = 1; slot <= kSlots; ++slot) SlotWindow(slot).RefreshSlot(slot, saveMode);

    if (reopenOn_ > 0) {
        cursor_ = reopenOn_;
    } else if (saveMode) {
        // The slot number comes from the save file: keep it on the list.
        cursor_ = std::clamp<int32_t>(GameSystem ? GameSystem->lastSaveSlot : 1, 1, kSlots);
    } else {
        // The newest save; the lowest slot on a tie, slot 1 when none.
        cursor_ = 1;
        for (int slot = 2; slot <= kSlots; ++slot)
            if (SlotWindow(slot).SaveTime() > SlotWindow(cursor_).SaveTime()) cursor_ = slot;
    }
    reopenOn_ = 0;
    top_ = std::clamp(cursor_ - 2, 1, kLastTop);
    SlotWindow(cursor_).SetActive(true);
    frameCounter_ = 0;
    FadeIn(20);
}

void TLcfSaveFileScene::Leave() {
    FadeOut(20);
    GameDraw->Board().Clear();
    GameDraw->Flip();
    started_ = false;
    help_.CloseNow();
    frameCounter_ = 0;
    scroll_ = 0;
}

void TLcfSaveFileScene::MoveCursor(int to) {
    PlaySystemSound(kSystemSoundCursor);
    SlotWindow(cursor_).SetCursorVisible(false);
    cursor_ = to;
    SlotWindow(cursor_).SetActive(true);
}

void TLcfSaveFileScene::Update() {
    if (!started_) Start();
    help_.Update();
    for (auto& slot : slots_) slot.Update();
    ++frameCounter_;
    if (scroll_ > 0)
        scroll_ = std::max(0, scroll_ - kScrollStep);
    else if (scroll_ < 0)
        scroll_ = std::min(0, scroll_ + kScrollStep);

    // The cursor moves only once the list is at rest; down wins over up.
    if (scroll_ == 0) {
        if (GameInput->IsRepeated(TMultiInput::kDown) && cursor_ < kSlots) {
            MoveCursor(cursor_ + 1);
            if (cursor_ - 3 >= top_) {
                ++top_;
                scroll_ = -kSlotHeight;
            }
        } else if (GameInput->IsRepeated(TMultiInput::kUp) && cursor_ > 1) {
            MoveCursor(cursor_ - 1);
            if (cursor_ < top_) {
                --top_;
                scroll_ = kSlotHeight;
            }
        }
    }

    if (GameInput->IsPressed(TMultiInput::kDecision)) {
        Decide();
    } else if (GameInput->IsPressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        Leave();
        GameSystem->scene = saveMode ? (fromMenu ? kSceneMenu : kSceneField) : kSceneTitle;
    }
}

void TLcfSaveFileScene::Decide() {
    if (saveMode) {
        // The file holds the new slot and count. A save that could not be
        // written leaves them as they were and keeps the list up.
        const int32_t oldSlot = GameSystem->lastSaveSlot, oldCount = GameSystem->saveCount;
        GameSystem->lastSaveSlot = cursor_;
        ++GameSystem->saveCount;
        if (!GameSaveData->Save(cursor_)) {
            GameSystem->lastSaveSlot = oldSlot;
            GameSystem->saveCount = oldCount;
            PlaySystemSound(kSystemSoundBuzzer);
            return;
        }
        PlaySystemSound(kSystemSoundDecision);
        Leave();
        GameSystem->scene = fromMenu ? kSceneMenu : kSceneField;
        return;
    }
    if (!SlotWindow(cursor_).HoldsSave()) {
        PlaySystemSound(kSystemSoundBuzzer);
        return;
    }
    LoadChosenSlot();
}

void TLcfSaveFileScene::LoadChosenSlot() {
    PlaySystemSound(kSystemSoundDecision);
    GameSystem->FadeOutMusic(800);
    Leave();
    for (int i = 0; i < 48; ++i) GameDraw->WaitFrame();
    GameSystem->StopMusic();
    for (int i = 0; i < 16; ++i) GameDraw->WaitFrame();
    const int slot = cursor_;
    std::string error;
    if (!GameSaveData->Load(slot, &error)) {
        // A save that cannot be loaded (damaged, its map gone, no map at
        // all) has left every object reset: no game could go on from that,
        // so the error ends the program.
        if (!error.empty()) throw Exception(error);
        // The file vanished since the list was read: the list opens again
        // on the same slot.
        PlaySystemSound(kSystemSoundBuzzer);
        reopenOn_ = slot;
        return;
    }
    GameSystem->scene = kSceneField;
    // The saved tune from its start at once, though it was playing already.
    TLcfMusic music = GameSystem->MusicRecord(kGameMusicCurrent);
    music.fadeIn = 0;
    GameSystem->PlayMusic(music, true);
    if (GameMap) GameMap->events.RefreshAll();
    FieldScene->FadeIn(3);
}

void TLcfSaveFileScene::Draw() {
    if (!started_) return;
    for (int slot = 1; slot <= kSlots; ++slot) {
        int32_t y = SlotY(slot);
        if (y > -kSlotHeight && y < kHeight) SlotWindow(slot).DrawAt(y);
    }
    help_.Draw();
    TSorvoBoard& board = GameDraw->Board();
    const uint32_t background = BackgroundColor();
    board.FillRect(RectOfSize(0, 32, kWidth, 8), background);
    board.FillRect(RectOfSize(0, 232, kWidth, 8), background);
    if (GameSystemGraphic && (frameCounter_ / 20) % 2 == 0) {
        if (top_ > 1) GameSystemGraphic->DrawUpArrow(152, 32);
        if (top_ < kLastTop) GameSystemGraphic->DrawDownArrow(152, 232);
    }
}

namespace {

VARNOW_COMMAND(OpenSaveMenu) {
    (void)scripter;
    (void)frame;
    (void)line;
    if (!GameSystem || !SaveFileScene) return;
    SaveFileScene->saveMode = true;
    SaveFileScene->fromMenu = false;
    GameSystem->scene = kSceneSave;
}

}  // namespace

void RegisterSaveCommand() { SetCommandHandler(11910, OpenSaveMenu); }
