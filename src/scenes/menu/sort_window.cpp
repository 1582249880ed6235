#include "scenes/menu/sort_window.h"

#include <algorithm>

#include "data/string_table.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "game/walker/party.h"
#include "media/input/multi_input.h"
#include "scenes/system_sounds.h"

namespace {

constexpr int kStrConfirm = 65258, kStrRedo = 65259;

std::string NameOf(int32_t actorId) {
    const TLcfgPlayerItem* a = GamePlayers && actorId > 0 ? GamePlayers->Find(actorId) : nullptr;
    return a ? a->GetName() : std::string();
}

bool Pressed(int button) { return GameInput && GameInput->IsPressed(button); }

}  // namespace

void TLcfSortWindow::Enter() {
    done_ = false;
    result_.Setup(164, 48, 88, 80, false);
    Setup(68, 48, 88, 80, false);
    confirm_.CloseNow();
    ResetChoice();
}

void TLcfSortWindow::ResetChoice() {
    chosenCount_ = 0;
    chosen_.fill(0);
    from_.fill(0);
    source_.fill(0);
    memberCount_ = GamePartyInfo ? std::min(GamePartyInfo->MemberCount(), kMaxMembers) : 0;
    for (int i = 0; i < memberCount_; ++i) source_[size_t(i)] = GamePartyInfo->MemberId(i);
    itemCount_ = memberCount_;
    SetCursor(0);
    SetActive(true);
    DrawNames();
}

void TLcfSortWindow::DrawNames() {
    // Both lists anew: a pick empties a source row and fills a result row.
    Refresh();
    result_.Refresh();
    for (int i = 0; i < memberCount_; ++i)
        if (source_[size_t(i)]) DrawText(8, 16 * i + 8, NameOf(source_[size_t(i)]), 0);
    for (int i = 0; i < chosenCount_; ++i) result_.DrawText(8, 16 * i + 8, NameOf(chosen_[size_t(i)]), 0);
    DrawCursorCell(cursor_, true);
}

void TLcfSortWindow::Update() {
    TLcfWindow::Update();
    result_.Update();
    confirm_.Update();
    if (done_) return;
    if (confirm_.IsVisible())
        UpdateConfirm();
    else if (active_)
        UpdateSource();
}

void TLcfSortWindow::UpdateSource() {
    if (Pressed(TMultiInput::kDecision)) {
        if (cursor_ < 0 || cursor_ >= memberCount_ || source_[size_t(cursor_)] == 0) {
            PlaySystemSound(kSystemSoundBuzzer);
            return;
        }
        PlaySystemSound(kSystemSoundDecision);
        chosen_[size_t(chosenCount_)] = source_[size_t(cursor_)];
        from_[size_t(chosenCount_)] = cursor_;
        ++chosenCount_;
        source_[size_t(cursor_)] = 0;
        DrawNames();
        if (chosenCount_ == memberCount_) {
            SetCursorVisible(false);
            confirm_.Setup(120, 144, 80, 48, false);
            confirm_.DrawText(8, 8, LoadStr(kStrConfirm), 0);
            confirm_.DrawText(8, 24, LoadStr(kStrRedo), 0);
            confirm_.SetActive(true);
            confirm_.SetCursor(0);
        }
    } else if (Pressed(TMultiInput::kCancel)) {
        // With nothing chosen the screen just ends, without a sound.
        if (chosenCount_ == 0) {
            done_ = true;
            return;
        }
        PlaySystemSound(kSystemSoundCancel);
        // Only the last pick goes back, to where it came from.
        --chosenCount_;
        source_[size_t(from_[size_t(chosenCount_)])] = chosen_[size_t(chosenCount_)];
        chosen_[size_t(chosenCount_)] = 0;
        DrawNames();
    }
}

void TLcfSortWindow::UpdateConfirm() {
    const bool decision = Pressed(TMultiInput::kDecision);
    if (decision && confirm_.Cursor() == 0) {
        PlaySystemSound(kSystemSoundDecision);
        if (GamePartyInfo) {
            for (int i = GamePartyInfo->MemberCount() - 1; i >= 0; --i)
                GamePartyInfo->RemoveMember(GamePartyInfo->MemberId(i));
            for (int i = 0; i < chosenCount_; ++i) GamePartyInfo->AddMember(chosen_[size_t(i)]);
        }
        // The party walks with the new leader's looks.
        if (GameParty) GameParty->RefreshGraphic();
        confirm_.CloseNow();
        done_ = true;
    } else if (decision || Pressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        confirm_.CloseNow();
        ResetChoice();
    }
}

void TLcfSortWindow::Draw() {
    TLcfWindow::Draw();
    result_.Draw();
    confirm_.Draw();
}

void TLcfSortWindow::CloseNow() {
    result_.CloseNow();
    confirm_.CloseNow();
    TLcfWindow::CloseNow();
}
