#include "scenes/debug/debug_scene.h"

#include <algorithm>

#include "data/database/database.h"
#include "data/database/switch_variable.h"
#include "game/map/game_map.h"
#include "game/system/game_system.h"
#include "graphics/system_graphic.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/game_main.h"
#include "scenes/system_sounds.h"

namespace {

// The last group of a table of `count` ids (0 for an empty table).
int32_t LastGroup(int32_t count) { return count > 0 ? (count - 1) / 100 : 0; }

int32_t SwitchCount() { return DbSwitch ? DbSwitch->Count() : 0; }
int32_t VariableCount() { return DbVariable ? DbVariable->Count() : 0; }

}  // namespace

void TLcfDebugScene::Reset() {
    TLcfScene::Reset();
    started_ = false;
    left_.CloseNow();
    right_.CloseNow();
}

void TLcfDebugScene::Start() {
    started_ = true;
    startedInRun_ = GameResetCount;
    // A soft reset in the middle of an edit leaves the editor open.
    value_.CloseNow();
    right_.CloseNow();
    left_.CloseNow();
    FillBoth();
    right_.SetCursor(std::clamp(rightCursor, 0, 9));
    left_.SetActive(true);
}

void TLcfDebugScene::FillBoth() {
    left_.Fill(mode, Position());
    right_.Fill(mode, Position());
}

void TLcfDebugScene::Leave() {
    rightCursor = right_.Cursor();
    Reset();
    GameSystem->scene = BattleInProgress && BattleInProgress() ? kSceneBattle : kSceneField;
    if (GameMap) GameMap->events.RefreshAll();
}

void TLcfDebugScene::Update() {
    if (!started_ || startedInRun_ != GameResetCount) Start();
    left_.Update();
    right_.Update();
    value_.Update();
    if (left_.Active())
        UpdateLeft();
    else if (right_.Active())
        UpdateRight();
    else if (value_.Active())
        UpdateValue();
}

void TLcfDebugScene::TurnPage(int step) {
    const int row = left_.Cursor();
    const bool switches = mode == TDebugMode::Switches;
    const int32_t last = LastGroup(switches ? SwitchCount() : VariableCount());
    const int32_t group = Position() / 10;
    if (step > 0 && group < last) {
        Position() += 10;
    } else if (step < 0 && group > 0) {
        Position() -= 10;
    } else {
        // Past the end of one table the other begins, on the same row.
        mode = switches ? TDebugMode::Variables : TDebugMode::Switches;
        const int32_t otherLast = LastGroup(switches ? VariableCount() : SwitchCount());
        Position() = (step > 0 ? 0 : otherLast * 10) + row;
    }
    FillBoth();
}

void TLcfDebugScene::UpdateLeft() {
    int32_t& position = Position();
    if (left_.Cursor() != position % 10) {
        position = position / 10 * 10 + left_.Cursor();
        right_.Fill(mode, position);
    }
    if (GameInput->IsRepeated(TMultiInput::kRight)) {
        PlaySystemSound(kSystemSoundCursor);
        TurnPage(+1);
    } else if (GameInput->IsRepeated(TMultiInput::kLeft)) {
        PlaySystemSound(kSystemSoundCursor);
        TurnPage(-1);
    } else if (GameInput->IsPressed(TMultiInput::kDecision)) {
        PlaySystemSound(kSystemSoundDecision);
        left_.SetActive(false);
        right_.SetActive(true);
    } else if (GameInput->IsPressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        Leave();
    }
}

void TLcfDebugScene::UpdateRight() {
    const int32_t id = right_.IdAt(right_.Cursor());
    if (GameInput->IsPressed(TMultiInput::kDecision)) {
        if (id == 0) return;
        PlaySystemSound(kSystemSoundDecision);
        if (mode == TDebugMode::Switches) {
            GameSystem->SetSwitch(id, !GameSystem->GetSwitch(id));
            right_.Fill(mode, Position());
        } else {
            right_.SetActive(false);
            value_.Open(GameSystem->GetVariable(id));
        }
    } else if (GameInput->IsPressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        left_.SetActive(true);
        right_.SetCursorVisible(false);
    }
}

void TLcfDebugScene::UpdateValue() {
    if (GameInput->IsPressed(TMultiInput::kDecision)) {
        PlaySystemSound(kSystemSoundDecision);
        value_.CloseNow();
        GameSystem->SetVariable(variablePosition * 10 + right_.Cursor() + 1, value_.Value());
        right_.Fill(mode, Position());
        right_.SetActive(true);
    } else if (GameInput->IsPressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        value_.CloseNow();
        right_.SetActive(true);
    }
}

void TLcfDebugScene::Draw() {
    if (!started_) return;
    uint32_t background = 0;
    if (GameSystemGraphic) {
        RgbTriple c = GameSystemGraphic->BackgroundColor();
        background = RgbColor(c.red, c.green, c.blue);
    }
    GameDraw->Board().FillRect(RectOfSize(0, 0, kWidth, kHeight), background);
    left_.Draw();
    right_.Draw();
    value_.Draw();
}
