#include "scenes/name/name_scene.h"

#include "data/clamp.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/system/game_system.h"
#include "graphics/graphics_files.h"
#include "graphics/system_graphic.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/system_sounds.h"
#include "scenes/windows/text_units.h"

namespace {

constexpr int32_t kFaceSize = 48;

TLcfgPlayerItem* Actor(int32_t id) { return GamePlayers && id > 0 ? GamePlayers->Find(id) : nullptr; }

std::string CurrentName(int32_t id) {
    TLcfgPlayerItem* actor = Actor(id);
    return actor ? actor->GetName() : std::string();
}

}  // namespace

std::string NameAfterCancel(const std::string& name) {
    if (name.size() <= 1) return name;
    return name.substr(0, TextUnitStart(name, name.size() - 2));
}

TLcfNameScene::TLcfNameScene() : face_(std::make_unique<TSorvoSheet>()) {
    face_->Transparent = true;
    Reset();
}

void TLcfNameScene::Reset() {
    TLcfScene::Reset();
    started_ = false;
    faceFrame_.CloseNow();
    view_.CloseNow();
    grid_.CloseNow();
    face_->FreePixels();
    actorId = 0;
    startPage = 0;
    keepName = false;
}

void TLcfNameScene::Start() {
    face_->SetSize(kFaceSize, kFaceSize);
    face_->Clear();
    TLcfgPlayerItem* actor = Actor(actorId);
    if (actor && !actor->FaceName().empty()) {
        const int64_t index = actor->FaceIndex();
        // An index outside the image copies nothing: the loader clips.
        face_->LoadFromFileAt(FindGraphicsFile("FaceSet", actor->FaceName()),
                              ClampToInt32((index % 4) * kFaceSize),
                              ClampToInt32((index / 4) * kFaceSize), true);
    }
    GameDraw->Board().Clear();
    GameDraw->Flip();
    started_ = true;
    faceFrame_.Setup(32, 8, 64, 64, false);
    view_.SetupView();
    grid_.SetupGrid();
    grid_.SetPage(startPage == 1 ? 1 : 0);
    view_.SetText(keepName ? CurrentName(actorId) : std::string());
    FadeIn(20);
}

void TLcfNameScene::Leave() {
    FadeOut(20);
    GameDraw->Board().Clear();
    GameDraw->Flip();
    Reset();
    if (GameSystem) GameSystem->scene = kSceneField;
}

void TLcfNameScene::Update() {
    if (!started_) Start();
    faceFrame_.Update();
    view_.Update();
    grid_.Update();
    if (!GameInput) return;
    using Grid = TLcfNameInputWindow;
    const std::string& name = view_.Text();
    if (GameInput->IsPressed(TMultiInput::kDecision)) {
        const int c = grid_.Column(), r = grid_.Row();
        if (r == Grid::kControlRow && c == Grid::kConfirmColumn) {
            PlaySystemSound(kSystemSoundDecision);
            if (name.empty()) {
                view_.SetText(CurrentName(actorId));
                return;
            }
            if (TLcfgPlayerItem* actor = Actor(actorId)) actor->SetName(name);
            Leave();
        } else if (r == Grid::kControlRow && c == Grid::kPageColumn) {
            PlaySystemSound(kSystemSoundDecision);
            grid_.SetPage(1 - grid_.Page());
        } else if (name.size() >= kAcceptBelow) {
            PlaySystemSound(kSystemSoundBuzzer);
        } else {
            PlaySystemSound(kSystemSoundDecision);
            view_.SetText(name + Grid::Cell(grid_.Page(), r, c));
            if (view_.Text().size() == kMaxBytes) grid_.MoveTo(Grid::kConfirmColumn, Grid::kControlRow);
        }
    } else if (GameInput->IsPressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        view_.SetText(NameAfterCancel(name));
    }
}

void TLcfNameScene::Draw() {
    if (!started_) return;
    TSorvoBoard& board = GameDraw->Board();
    uint32_t background = 0;
    if (GameSystemGraphic) {
        RgbTriple c = GameSystemGraphic->BackgroundColor();
        background = RgbColor(c.red, c.green, c.blue);
    }
    board.FillRect(RectOfSize(0, 0, kWidth, kHeight), background);
    faceFrame_.Draw();
    view_.Draw();
    grid_.Draw();
    board.Draw(40, 16, *face_, face_->GetBoundsRect());
}
