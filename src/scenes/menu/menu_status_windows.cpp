#include "scenes/menu/menu_status_windows.h"

#include "data/database/vocabulary.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/windows/window_text.h"

namespace {

int MemberCount() { return GamePartyInfo ? GamePartyInfo->MemberCount() : 0; }

// Rows are as tall as a face: every member stays in view, so the window
// shows as many rows as there are members.
void UseMemberRows(TLcfWindow& w, int32_t itemWidth) {
    w.leftMargin = 64;
    w.itemWidth = itemWidth;
    w.cursorHeight = 48;
    w.rowHeight = TLcfMenuStatusWindow1::kRowHeight;
}

}  // namespace

// --- Party list --------------------------------------------------------------------------

void TLcfMenuStatusWindow1::SetupParty() {
    CloseNow();
    Setup(88, 0, 232, 240, false);
    UseMemberRows(*this, 160);
    visibleRows_ = itemCount_ = MemberCount();
    Refresh();
}

void TLcfMenuStatusWindow1::Refresh() {
    TLcfWindow::Refresh();
    if (!IsVisible()) return;
    for (int i = 0; i < MemberCount(); ++i) {
        const TLcfgPlayerItem* a = GamePartyInfo->Member(i);
        if (!a) continue;
        const int32_t y = kRowHeight * i;
        DrawText(64, y + 8, a->GetName(), 0);
        DrawText(152, y + 8, a->GetTitle(), 0);
        DrawText(64, y + 24, MenuTerm(TLcfVocabulary::kLevelShort), 1);
        DrawText(76, y + 24, FormatNumber("%2d", a->Level()), 0);
        DrawText(106, y + 24, a->ConditionName(), a->ConditionColor());
        DrawText(158, y + 24, MenuTerm(TLcfVocabulary::kHpShort), 1);
        DrawText(170, y + 24, FormatNumber("%4d", a->hp), a->HpColor());
        DrawText(194, y + 24, FormatNumber("/%4d", a->MaxHP()), 0);
        DrawText(158, y + 40, MenuTerm(TLcfVocabulary::kSpShort), 1);
        DrawText(170, y + 40, FormatNumber("%4d", a->sp), a->SpColor());
        DrawText(194, y + 40, FormatNumber("/%4d", a->MaxSP()), 0);
        DrawText(64, y + 40, ExperienceText(*a), 0);
    }
}

void TLcfMenuStatusWindow1::Draw() {
    TLcfWindow::Draw();
    if (!IsVisible() || !GameDraw) return;
    for (int i = 0; i < MemberCount(); ++i) {
        const TLcfgPlayerItem* a = GamePartyInfo->Member(i);
        // Back-row members sit further right.
        int32_t inset = a && a->row != 0 ? 12 : 4;
        GamePartyInfo->DrawFace(GameDraw->Board(), i, x_ + inset, y_ + kRowHeight * i + 8);
    }
}

// --- Target list -----------------------------------------------------------------------

void TLcfMenuStatusWindow2::SetupParty() {
    header1_.Setup(0, 0, 136, 32, false);
    header2_.Setup(0, 32, 136, 32, false);
    Setup(136, 0, 184, 240, false);
    UseMemberRows(*this, 112);
    visibleRows_ = itemCount_ = MemberCount();
    Refresh();
}

void TLcfMenuStatusWindow2::CoverWholeParty() {
    DrawCursorCell(cursor_, false);
    cursorHeight = MemberCount() * kRowHeight - 10;
    itemCount_ = 1;
    cursor_ = 0;
    DrawCursorCell(0, true);
}

void TLcfMenuStatusWindow2::FixOnMember(int slot) {
    DrawCursorCell(cursor_, false);
    topMargin = slot * kRowHeight + 8;
    itemCount_ = 1;
    cursor_ = 0;
    DrawCursorCell(0, true);
}

void TLcfMenuStatusWindow2::Refresh() {
    TLcfWindow::Refresh();
    if (!IsVisible()) return;
    for (int i = 0; i < MemberCount(); ++i) {
        const TLcfgPlayerItem* a = GamePartyInfo->Member(i);
        if (!a) continue;
        const int32_t y = kRowHeight * i;
        DrawText(64, y + 8, a->GetName(), 0);
        DrawText(64, y + 24, MenuTerm(TLcfVocabulary::kLevelShort), 1);
        DrawText(76, y + 24, FormatNumber("%2d", a->Level()), 0);
        DrawText(110, y + 24, MenuTerm(TLcfVocabulary::kHpShort), 1);
        DrawText(122, y + 24, FormatNumber("%4d", a->hp), a->HpColor());
        DrawText(146, y + 24, FormatNumber("/%4d", a->MaxHP()), 0);
        DrawText(64, y + 40, a->ConditionName(), a->ConditionColor());
        DrawText(110, y + 40, MenuTerm(TLcfVocabulary::kSpShort), 1);
        DrawText(128, y + 40, FormatNumber("%3d", a->sp), a->SpColor());
        DrawText(146, y + 40, FormatNumber("/%4d", a->MaxSP()), 0);
    }
    DrawCursorCell(cursor_, true);
}

void TLcfMenuStatusWindow2::Update() {
    TLcfWindow::Update();
    header1_.Update();
    header2_.Update();
}

void TLcfMenuStatusWindow2::Draw() {
    header1_.Draw();
    header2_.Draw();
    TLcfWindow::Draw();
    if (!IsVisible() || !GameDraw) return;
    for (int i = 0; i < MemberCount(); ++i)
        GamePartyInfo->DrawFace(GameDraw->Board(), i, x_ + 8, y_ + kRowHeight * i + 8);
}

void TLcfMenuStatusWindow2::CloseNow() {
    header1_.CloseNow();
    header2_.CloseNow();
    TLcfWindow::CloseNow();
}
