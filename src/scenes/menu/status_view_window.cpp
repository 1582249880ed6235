#include "scenes/menu/status_view_window.h"

#include "data/database/database.h"
#include "data/database/job.h"
#include "data/database/vocabulary.h"
#include "data/string_table.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/menu/equip_window.h"
#include "scenes/scene.h"
#include "scenes/system_sounds.h"
#include "scenes/windows/window_text.h"

namespace {

constexpr int kStrName = 65254, kStrClass = 65255, kStrTitle = 65256, kStrCondition = 65257;
constexpr int kStrFront = 65260, kStrBack = 65261;

bool Pressed(int button) { return GameInput && GameInput->IsPressed(button); }

}  // namespace

void TLcfStatusViewHpWindow::Refresh() {
    TLcfWindow::Refresh();
    const TLcfgPlayerItem* a = owner_.Actor();
    if (!IsVisible() || !a) return;
    DrawText(8, 8, MenuTerm(TLcfVocabulary::kStatusLabel1), 1);
    DrawText(8, 24, MenuTerm(TLcfVocabulary::kStatusLabel2), 1);
    DrawText(8, 40, MenuTerm(TLcfVocabulary::kStatusLabel3), 1);
    DrawText(74, 8, FormatNumber("%4d", a->hp), a->HpColor());
    DrawText(98, 8, FormatNumber("/%7d", a->MaxHP()), 0);
    DrawText(74, 24, FormatNumber("%4d", a->sp), a->SpColor());
    DrawText(98, 24, FormatNumber("/%7d", a->MaxSP()), 0);
    DrawText(56, 40, ExperienceText(*a), 0);
}

void TLcfStatusViewAbirityWindow::Refresh() {
    TLcfWindow::Refresh();
    const TLcfgPlayerItem* a = owner_.Actor();
    if (!IsVisible() || !a) return;
    const int labels[4] = {TLcfVocabulary::kAttack, TLcfVocabulary::kDefense, TLcfVocabulary::kSpirit,
                           TLcfVocabulary::kAgility};
    const int32_t values[4] = {a->BaseAttack(), a->BaseDefense(), a->BaseSpirit(), a->BaseAgility()};
    for (int r = 0; r < 4; ++r) {
        DrawText(8, 8 + 16 * r, MenuTerm(labels[r]), 1);
        DrawText(74, 8 + 16 * r, FormatNumber("%4d", values[r]), 0);
    }
}

void TLcfStatusViewEquipWindow::Refresh() {
    TLcfWindow::Refresh();
    const TLcfgPlayerItem* a = owner_.Actor();
    if (IsVisible() && a) DrawEquipmentSlots(*this, *a);
}

TLcfStatusViewWindow::TLcfStatusViewWindow() : hp_(*this), ability_(*this), equipment_(*this) {}

TLcfgPlayerItem* TLcfStatusViewWindow::Actor() const {
    return GamePlayers && actorId_ > 0 ? GamePlayers->Find(actorId_) : nullptr;
}

void TLcfStatusViewWindow::SetupFor(int32_t actorId) {
    actorId_ = actorId;
    hp_.Setup(124, 0, 196, 64, false);
    ability_.Setup(124, 64, 196, 80, false);
    equipment_.Setup(124, 144, 196, 96, false);
    Setup(0, 0, 124, 208, false);
    RefreshAll();
}

void TLcfStatusViewWindow::RefreshAll() {
    hp_.Refresh();
    ability_.Refresh();
    equipment_.Refresh();
    Refresh();
}

void TLcfStatusViewWindow::Refresh() {
    TLcfWindow::Refresh();
    const TLcfgPlayerItem* a = Actor();
    if (!IsVisible() || !a) return;
    DrawText(92, 8, LoadStr(a->row != 0 ? kStrBack : kStrFront), 0);
    DrawText(8, 56, LoadStr(kStrName), 1);
    DrawText(44, 72, a->GetName(), 0);
    DrawText(8, 88, LoadStr(kStrClass), 1);
    const int32_t cls = a->ClassId();
    if (cls > 0 && DbJob)
        if (const TLcfJobItem* job = DbJob->Find(cls)) DrawText(44, 104, job->name, 0);
    DrawText(8, 120, LoadStr(kStrTitle), 1);
    DrawText(44, 136, a->GetTitle(), 0);
    DrawText(8, 152, LoadStr(kStrCondition), 1);
    DrawText(44, 168, a->ConditionName(), a->ConditionColor());
    DrawText(8, 184, MenuTerm(TLcfVocabulary::kLevel), 1);
    DrawText(74, 184, FormatNumber("%2d", a->Level()), 0);
}

void TLcfStatusViewWindow::Update() {
    TLcfWindow::Update();
    hp_.Update();
    ability_.Update();
    equipment_.Update();
    if (!IsVisible() || !GamePartyInfo || GamePartyInfo->MemberCount() < 2) return;
    const int step = Pressed(TMultiInput::kRight) ? 1 : Pressed(TMultiInput::kLeft) ? -1 : 0;
    if (step == 0) return;
    PlaySystemSound(kSystemSoundCursor);
    if (scene) scene->FadeOut(20);
    actorId_ = NeighbourMemberId(actorId_, step);
    RefreshAll();
    if (scene) scene->FadeIn(20);
}

void TLcfStatusViewWindow::Draw() {
    hp_.Draw();
    ability_.Draw();
    equipment_.Draw();
    TLcfWindow::Draw();
    const int slot = PartySlotOf(actorId_);
    if (IsVisible() && GameDraw && slot >= 0) GamePartyInfo->DrawFace(GameDraw->Board(), slot, x_ + 8, y_ + 8);
}

void TLcfStatusViewWindow::CloseNow() {
    hp_.CloseNow();
    ability_.CloseNow();
    equipment_.CloseNow();
    TLcfWindow::CloseNow();
}
