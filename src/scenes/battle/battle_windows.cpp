#include "scenes/battle/battle_windows.h"

#include <cstdio>
#include <string>

#include "data/database/battle.h"
#include "data/database/database.h"
#include "data/database/status.h"
#include "data/database/vocabulary.h"
#include "data/errors.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/enemies/monster.h"
#include "game/party/party_info.h"
#include "graphics/system_graphic.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"

namespace {

const std::string& Term(int id) {
    static const std::string empty;
    return DbVocabulary ? DbVocabulary->Get(id) : empty;
}

TLcfgPlayerItem* Member(int slot) { return GamePartyInfo ? GamePartyInfo->Member(slot) : nullptr; }

std::string Format(const char* format, int32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Window heights and rows: small windows are 68 high at y 172.
int32_t WindowY() { return SmallBattleWindows() ? 172 : 160; }
int32_t WindowHeight() { return SmallBattleWindows() ? 68 : 80; }

}  // namespace

int BattleLayout() {
    int layout = DbBattle ? DbBattle->layoutStyle : 0;
    return layout >= 0 && layout <= 2 ? layout : 0;
}

bool SmallBattleWindows() { return DbBattle && DbBattle->CompactWindows(); }

// --- Monster window ---------------------------------------------------------------------

void TLcfBattleMonsterWindow::BuildList() {
    listed_.clear();
    if (!GameMonsters) return;
    for (int i = 0; i < GameMonsters->Count(); ++i) {
        TLcfgMonsterItem* e = GameMonsters->Items(i);
        if (!e->present || e->hp <= 0) continue;
        e->SortConditions();
        listed_.push_back(i);
    }
}

void TLcfBattleMonsterWindow::Layout() {
    conditionLine_.Setup(0, 0, 320, 32, false);
    conditionLine_.CloseNow();
    if (BattleLayout() == 0)
        Setup(0, WindowY(), 104, WindowHeight(), false);
    else
        Setup(0, 256, 32, 80, false);
    BuildList();
    SetItemCount(int(listed_.size()));
    Refresh();
    SetActive(true);
}

void TLcfBattleMonsterWindow::RefreshList() {
    if (Active() || !IsVisible()) return;
    BuildList();
    SetItemCount(int(listed_.size()));
    if (cursor_ >= itemCount_) cursor_ = 0;
    Refresh();
}

int32_t TLcfBattleMonsterWindow::SelectedEnemy() const {
    return cursor_ >= 0 && cursor_ < int(listed_.size()) ? listed_[size_t(cursor_)] : -1;
}

bool TLcfBattleMonsterWindow::HasConditions() const {
    int32_t i = SelectedEnemy();
    return i >= 0 && GameMonsters && GameMonsters->Items(i)->DisplayCondition(0) != 0;
}

void TLcfBattleMonsterWindow::DrawConditions() {
    if (!HasConditions()) {
        conditionLine_.CloseNow();
        return;
    }
    conditionLine_.Setup(0, 0, 320, 32, false);
    conditionLine_.SetItemCount(0);
    conditionLine_.Refresh();
    const TLcfgMonsterItem* e = GameMonsters->Items(SelectedEnemy());
    for (int i = 0; i < TLcfgUnitItem::kDisplayConditions; ++i) {
        int32_t id = e->DisplayCondition(i);
        if (id == 0 || !DbStatus) continue;
        const TLcfStatusItem* c = DbStatus->FindStatus(id);
        conditionLine_.DrawText(8 + 54 * i, 8, c->name, c->Colour());
    }
}

void TLcfBattleMonsterWindow::CloseNow() {
    TLcfWindow::CloseNow();
    conditionLine_.CloseNow();
}

void TLcfBattleMonsterWindow::Update() {
    int before = cursor_;
    TLcfWindow::Update();
    if (Active() && before != cursor_) DrawConditions();
}

void TLcfBattleMonsterWindow::DrawItem(int32_t x, int32_t y, int index) {
    if (index < 0 || index >= int(listed_.size()) || !GameMonsters) return;
    DrawText(x, y, GameMonsters->Items(listed_[size_t(index)])->GetName(), 0);
}

// --- Status window ----------------------------------------------------------------------

int32_t TLcfBattleStatusWindow::RowY(int slot) const { return slot * rowHeight + topMargin; }

void TLcfBattleStatusWindow::Layout(int32_t x) {
    if (BattleLayout() == 0)
        Setup(104, WindowY(), 216, WindowHeight(), false);
    else
        Setup(x, WindowY(), 244, WindowHeight(), false);
    if (SmallBattleWindows()) {
        topMargin = 2;
        rowHeight = 15;
    }
    customInput = true;
    SetItemCount(GamePartyInfo ? GamePartyInfo->MemberCount() : 0);
    Refresh();
}

void TLcfBattleStatusWindow::DrawItem(int32_t x, int32_t y, int index) {
    const int layout = BattleLayout();
    if (layout == 2) return;  // faces and gauges only, drawn each frame
    TLcfgPlayerItem* a = Member(index);
    if (!a) return;
    (void)x;
    DrawText(8, y, a->GetName(), 0);
    DrawText(84, y, a->ConditionName(), a->ConditionColor());
    if (layout == 0) {
        DrawText(140, y, Format("%4d", a->hp), a->HpColor());
        return;
    }
    DrawText(140, y, Term(TLcfVocabulary::kHpShort), 1);
    DrawText(152, y, Format("%4d", a->hp), a->HpColor());
    DrawText(176, y, Format("/%4d", a->MaxHP()), 0);
    DrawText(206, y, Term(TLcfVocabulary::kSpShort), 1);
    DrawText(218, y, Format("%3d", a->sp), a->SpColor());
}

void TLcfBattleStatusWindow::RedrawRows() {
    if (IsOpen()) Refresh();
    if (IsOpen() && CursorVisible()) DrawCursorCell(cursor_, true);
}

void TLcfBattleStatusWindow::PointAt(int slot) {
    if (slot < 0 || slot >= itemCount_) slot = 0;
    SetCursor(slot);
}

void TLcfBattleStatusWindow::CustomInput() {
    if (!GameInput || itemCount_ <= 0) return;
    int step = GameInput->IsRepeated(TMultiInput::kDown) ? 1 : GameInput->IsRepeated(TMultiInput::kUp) ? -1 : 0;
    if (step == 0) return;
    for (int n = 1; n < itemCount_; ++n) {
        int slot = ((cursor_ + step * n) % itemCount_ + itemCount_) % itemCount_;
        TLcfgPlayerItem* a = Member(slot);
        if (a && a->gauge >= 300000) {
            SetCursor(slot);
            return;
        }
    }
}

void TLcfBattleStatusWindow::Update() {
    const int before = cursor_;
    TLcfWindow::Update();
    ++counter;
    if (OnUpdate) OnUpdate();
    if (BattleLayout() != 0 && CursorVisible() && Active()) {
        if (before != cursor_ || counter % 30 == 0) {
            if (TLcfgPlayerItem* a = Member(cursor_)) a->StartFlash(31, 31, 16, 24, 31);
            lastFlashed = cursor_;
        }
    }
}

void TLcfBattleStatusWindow::Draw() {
    if (!IsVisible()) return;
    const int layout = BattleLayout();
    if (layout != 2 && counter % 8 == 0) RedrawRows();
    // Translucent windows of layout 1 show the gauges through the text.
    const bool gaugesUnderText = layout == 1 && DbBattle && DbBattle->translucentWindows;
    DrawBackground();
    if (gaugesUnderText) DrawGauges(layout);
    DrawContents();
    if (!gaugesUnderText) DrawGauges(layout);
    DrawScrollArrows(counter);
    // The member whose command or target is being chosen.
    if (GameSystemGraphic && CursorVisible() && Active())
        if (TLcfgPlayerItem* a = Member(cursor_)) GameSystemGraphic->DrawAnimIcon1(a->battleX, a->battleY - 40, counter);
}

void TLcfBattleStatusWindow::DrawGauges(int layout) {
    if (!GameSystemGraphic || !IsOpen()) return;
    TLcfSystemGraphic& skin = *GameSystemGraphic;
    const int members = GamePartyInfo ? GamePartyInfo->MemberCount() : 0;
    for (int i = 0; i < members; ++i) {
        TLcfgPlayerItem* a = Member(i);
        if (!a) continue;
        const int32_t atb = a->gauge / 12000;
        if (layout == 2) {
            DrawColumn(*a, i, atb);
            continue;
        }
        // Rows scrolled out of the window are not drawn.
        const int32_t y = y_ + RowY(i) - topRow_ * rowHeight;
        if (y < y_ || y + rowHeight > y_ + height_) continue;
        if (layout == 0)
            skin.DrawGauge(x_ + 176, y, 2, atb);
        else if (DbBattle && DbBattle->translucentWindows)
            skin.DrawGauge(x_ + 212, y, 2, atb);
        else
            skin.DrawGaugeAlt(x_ + 212, y, 0, atb);
    }
}

void TLcfBattleStatusWindow::DrawColumn(const TLcfgPlayerItem& a, int slot, int32_t atb) {
    TLcfSystemGraphic& skin = *GameSystemGraphic;
    const int32_t x = x_ + 80 * slot, top = y_ + RowY(0);
    // Big digits end at x + 72: a number of n digits starts at x + 72 - 8n.
    auto number = [&](int32_t value, int32_t y) {
        skin.DrawBigDigits(x + 72 - 8 * int32_t(std::to_string(value).size()), y, value);
    };
    if (GamePartyInfo && GameDraw) GamePartyInfo->DrawFace(GameDraw->Board(), slot, x, top);
    const int32_t maxHp = a.MaxHP(), maxSp = a.MaxSP();
    skin.DrawGauge(x + 48, top, 0, maxHp > 0 ? int32_t(int64_t(a.hp) * 25 / maxHp) : 0);
    number(a.hp, top);
    skin.DrawGauge(x + 48, top + rowHeight, 1, maxSp > 0 ? int32_t(int64_t(a.sp) * 25 / maxSp) : 0);
    number(a.sp, top + rowHeight);
    skin.DrawGauge(x + 48, top + 2 * rowHeight, 2, atb);
}

// --- Actor command window ---------------------------------------------------------------

void TLcfCommandWindow2::PlaceFor(int32_t actorId, int32_t x, int32_t y, bool animated) {
    CloseNow();
    actorId_ = actorId;
    const int32_t h = SmallBattleWindows() ? 68 : 80;
    Setup(x, SmallBattleWindows() ? y + 12 : y, 76, h, animated);
    int count = 0;
    if (GamePlayers) {
        const TLcfgPlayerItem* a = GamePlayers->Get(actorId);
        while (count < 6 && a->BattleCommand(count) > 0) ++count;
    }
    SetItemCount(count + 1);
    Refresh();
}

int32_t TLcfCommandWindow2::CommandAt(int index) const {
    if (index < 0 || index >= itemCount_ - 1 || !GamePlayers) return 0;
    return GamePlayers->Get(actorId_)->BattleCommand(index);
}

void TLcfCommandWindow2::DrawItem(int32_t x, int32_t y, int index) {
    if (index == itemCount_ - 1) {
        DrawText(x, y, Term(TLcfVocabulary::kRow), 0);
        return;
    }
    int32_t id = CommandAt(index);
    if (id <= 0 || !DbBattle) return;
    const TLcfBattleCMDItem* c = DbBattle->commands.FindCommand(id);
    bool grey = c->kind == 5 && EscapePossible && !EscapePossible();
    DrawText(x, y, c->name, grey ? 3 : 0);
}

// --- Party command window ---------------------------------------------------------------

void TLcfPartyCommandWindow::Place(bool escapeEnabled) {
    escapeEnabled_ = escapeEnabled;
    Setup(0, WindowY(), 76, WindowHeight(), false);
    SetItemCount(3);
    Refresh();
}

void TLcfPartyCommandWindow::SetEscapeEnabled(bool enabled) {
    escapeEnabled_ = enabled;
    Refresh();
    if (CursorVisible()) DrawCursorCell(cursor_, true);
}

void TLcfPartyCommandWindow::DrawItem(int32_t x, int32_t y, int index) {
    static const int kTerms[3] = {TLcfVocabulary::kFight, TLcfVocabulary::kAuto, TLcfVocabulary::kEscape};
    if (index < 0 || index > 2) return;
    DrawText(x, y, Term(kTerms[index]), index == 2 && !escapeEnabled_ ? 3 : 0);
}

// --- Battle message window --------------------------------------------------------------

void TLcfBattleMessageWindow::SetUp() {
    Setup(0, 0, 320, 32, false);
    lines_.fill(std::string());
    SetItemCount(0);
    Refresh();
}

void TLcfBattleMessageWindow::SetLine(int n, const std::string& text) {
    VARNOW_CHECK(n >= 0 && n < kLines);
    lines_[size_t(n)] = text;
    Refresh();
}

void TLcfBattleMessageWindow::Refresh() {
    if (!IsVisible()) return;
    TLcfWindow::Refresh();
    for (int n = 0; n < kLines; ++n)
        if (!lines_[size_t(n)].empty() && 8 + 16 * n < height_) DrawText(8, 8 + 16 * n, lines_[size_t(n)], 0);
}
