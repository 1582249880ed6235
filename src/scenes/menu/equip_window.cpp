#include "scenes/menu/equip_window.h"

#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/vocabulary.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "media/input/multi_input.h"
#include "scenes/scene.h"
#include "scenes/system_sounds.h"
#include "scenes/windows/window_text.h"

namespace {

const TLcfItemItem* ItemOf(int32_t id) { return DbItem && id > 0 ? DbItem->Find(id) : nullptr; }

bool Pressed(int button) { return GameInput && GameInput->IsPressed(button); }

std::array<int32_t, 4> ParametersOf(const TLcfgPlayerItem& a) {
    return {a.BaseAttack(), a.BaseDefense(), a.BaseSpirit(), a.BaseAgility()};
}

}  // namespace

void DrawEquipmentSlots(TLcfWindow& w, const TLcfgPlayerItem& actor) {
    const int labels[5] = {TLcfVocabulary::kWeapon,
                           actor.twoWeapons ? int(TLcfVocabulary::kWeapon) : int(TLcfVocabulary::kShield),
                           TLcfVocabulary::kArmour, TLcfVocabulary::kHelmet, TLcfVocabulary::kAccessory};
    for (int r = 0; r < 5; ++r) {
        w.DrawText(8, 8 + 16 * r, MenuTerm(labels[r]), 1);
        const TLcfItemItem* item = ItemOf(actor.Equipment(r));
        if (item) w.DrawText(68, 8 + 16 * r, item->name, 0);
    }
}

// --- Parameter window ------------------------------------------------------------------

void TLcfEquipSubWindow1::Refresh() {
    TLcfWindow::Refresh();
    const TLcfgPlayerItem* a = owner_.Actor();
    if (!IsVisible() || !a) return;
    before_ = ParametersOf(*a);
    DrawText(8, 8, a->GetName(), 0);
    const int labels[4] = {TLcfVocabulary::kAttack, TLcfVocabulary::kDefense, TLcfVocabulary::kSpirit,
                           TLcfVocabulary::kAgility};
    for (int r = 0; r < 4; ++r) {
        const int32_t y = 24 + 16 * r;
        DrawText(8, y, MenuTerm(labels[r]), 1);
        DrawText(56, y, FormatNumber("%4d", before_[size_t(r)]), 0);
        DrawText(80, y, "->", 1);
    }
    RefreshPreview();
}

void TLcfEquipSubWindow1::RefreshPreview() {
    const TLcfgPlayerItem* a = owner_.Actor();
    if (!IsVisible() || !a) return;
    // The new values' column is cleared in the item sheet and the window
    // alike, so nothing of an earlier preview stays behind.
    const TRect column = RectOfSize(92, 24, 24, 66);
    items_->FillRect(column, 0);
    window_->Draw(column.Left, column.Top, *clean_, column);
    if (!owner_.Active()) return;
    const std::array<int32_t, 4> now = ParametersOf(*a);
    for (int r = 0; r < 4; ++r) {
        const int32_t b = before_[size_t(r)], v = now[size_t(r)];
        DrawText(92, 24 + 16 * r, FormatNumber("%4d", v), v > b ? 2 : v < b ? 3 : 0);
    }
}

// --- Slot window -----------------------------------------------------------------------

void TLcfEquipSubWindow2::Refresh() {
    TLcfWindow::Refresh();
    const TLcfgPlayerItem* a = owner_.Actor();
    if (IsVisible() && a) DrawEquipmentSlots(*this, *a);
    DrawCursorCell(cursor_, true);
}

// --- Candidate list ----------------------------------------------------------------------

TLcfEquipWindow::TLcfEquipWindow() : parameters_(*this), slots_(*this) {}
TLcfEquipWindow::~TLcfEquipWindow() = default;

TLcfgPlayerItem* TLcfEquipWindow::Actor() const {
    return GamePlayers && actorId_ > 0 ? GamePlayers->Find(actorId_) : nullptr;
}

bool TLcfEquipWindow::EquipmentFixed() const {
    const TLcfgPlayerItem* a = Actor();
    return !a || a->lockEquipment != 0;
}

int32_t TLcfEquipWindow::CandidateAt(int n) const {
    const TLcfgPlayerItem* a = Actor();
    return a ? a->EquippableAt(slot_, n) : 0;
}

void TLcfEquipWindow::SetupFor(int32_t actorId) {
    actorId_ = actorId;
    slot_ = 0;
    lastPreview_ = -1;
    columns = 2;
    help_.Setup(0, 0, 320, 32, false);
    parameters_.Setup(0, 32, 124, 96, false);
    slots_.Setup(124, 32, 196, 96, false);
    slots_.SetItemCount(5);
    Setup(0, 128, 320, 112, false);
    parameters_.Refresh();
    slots_.Refresh();
    slots_.SetActive(true);
    Refresh();
}

void TLcfEquipWindow::Refresh() {
    cursor_ = topRow_ = 0;
    const TLcfgPlayerItem* a = Actor();
    itemCount_ = EquipmentFixed() || !a ? 0 : a->EquippableCount(slot_);
    TLcfWindow::Refresh();
    UpdateHelp();
}

void TLcfEquipWindow::RefreshAll() {
    parameters_.Refresh();
    slots_.Refresh();
    Refresh();
}

void TLcfEquipWindow::DrawItem(int32_t x, int32_t y, int index) {
    const int32_t id = CandidateAt(index);
    const TLcfItemItem* item = ItemOf(id);
    if (!item) return;
    DrawText(x, y, item->name, 0);
    DrawText(x + 120, y, FormatNumber(": %2d", GamePartyInfo ? GamePartyInfo->ItemCount(id) : 0), 0);
}

void TLcfEquipWindow::UpdateHelp() {
    const TLcfgPlayerItem* a = Actor();
    int32_t id = 0;
    if (slots_.Active())
        id = a ? a->Equipment(slots_.Cursor()) : 0;
    else if (cursor_ >= 0 && cursor_ < itemCount_)
        id = CandidateAt(cursor_);
    const TLcfItemItem* item = ItemOf(id);
    help_.SetText(item ? item->description : std::string());
}

void TLcfEquipWindow::RestoreSaved() {
    TLcfgPlayerItem* a = Actor();
    if (!a) return;
    for (int s = 0; s < TLcfgPlayerItem::kSlots; ++s) a->equipment[size_t(s)] = saved_[size_t(s)];
}

void TLcfEquipWindow::Update() {
    TLcfWindow::Update();
    help_.Update();
    parameters_.Update();
    slots_.Update();
    if (!IsVisible()) return;
    UpdateHelp();
    TLcfgPlayerItem* a = Actor();
    if (active_ && a && cursor_ != lastPreview_) {
        RestoreSaved();
        a->SetEquipment(slot_, CandidateAt(cursor_));
        lastPreview_ = cursor_;
        parameters_.RefreshPreview();
    }
    if (slots_.Active())
        SlotInput();
    else if (active_)
        ListInput();
}

void TLcfEquipWindow::SlotInput() {
    if (slots_.Cursor() != slot_) {
        slot_ = slots_.Cursor();
        Refresh();
    }
    TLcfgPlayerItem* a = Actor();
    if (Pressed(TMultiInput::kDecision)) {
        const TLcfItemItem* worn = a ? ItemOf(a->Equipment(slot_)) : nullptr;
        if (!a || EquipmentFixed() || (worn && worn->holdsBothHands) || a->ConditionFlagC()) {
            PlaySystemSound(kSystemSoundBuzzer);
            return;
        }
        PlaySystemSound(kSystemSoundDecision);
        for (int s = 0; s < TLcfgPlayerItem::kSlots; ++s) saved_[size_t(s)] = a->Equipment(s);
        slots_.SetActive(false);
        SetActive(true);
        lastPreview_ = -1;
    } else if (Pressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        CloseNow();
    } else if (GamePartyInfo && GamePartyInfo->MemberCount() >= 2) {
        if (Pressed(TMultiInput::kRight))
            SwitchMember(1);
        else if (Pressed(TMultiInput::kLeft))
            SwitchMember(-1);
    }
}

void TLcfEquipWindow::ListInput() {
    TLcfgPlayerItem* a = Actor();
    const bool decision = Pressed(TMultiInput::kDecision);
    if (!decision && !Pressed(TMultiInput::kCancel)) return;
    PlaySystemSound(decision ? kSystemSoundDecision : kSystemSoundCancel);
    const int32_t chosen = CandidateAt(cursor_);
    SetCursorVisible(false);
    slots_.SetActive(true);
    // The preview is undone first: equipping over it would give the
    // previewed item back to the inventory.
    RestoreSaved();
    if (decision && a) {
        a->Equip(slot_, chosen);
        RefreshAll();
    } else {
        Refresh();
        parameters_.RefreshPreview();
    }
}

void TLcfEquipWindow::SwitchMember(int step) {
    PlaySystemSound(kSystemSoundCursor);
    if (scene) scene->FadeOut(20);
    actorId_ = NeighbourMemberId(actorId_, step);
    RefreshAll();
    if (scene) scene->FadeIn(20);
}

void TLcfEquipWindow::Draw() {
    help_.Draw();
    parameters_.Draw();
    slots_.Draw();
    TLcfWindow::Draw();
}

void TLcfEquipWindow::CloseNow() {
    help_.CloseNow();
    parameters_.CloseNow();
    slots_.CloseNow();
    TLcfWindow::CloseNow();
}
