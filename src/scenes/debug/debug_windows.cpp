#include "scenes/debug/debug_windows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "data/database/database.h"
#include "data/database/switch_variable.h"
#include "game/system/game_system.h"
#include "media/input/multi_input.h"
#include "scenes/system_sounds.h"

namespace {

constexpr int kRows = 10;

}  // namespace

// --- Pages ---------------------------------------------------------------------

void TLcfDebugLeftWindow::Fill(TDebugMode mode, int32_t position) {
    mode_ = mode;
    group_ = position / 10;
    if (!IsVisible()) Setup(0, 32, 96, 176, false);
    SetItemCount(kRows);
    Refresh();
    SetCursor(position % 10);
}

void TLcfDebugLeftWindow::DrawItem(int32_t x, int32_t y, int index) {
    const int64_t a = int64_t(group_) * 100 + index * 10;
    char range[40];
    std::snprintf(range, sizeof range, "%.4lld-%.4lld", static_cast<long long>(a + 1), static_cast<long long>(a + 10));
    std::string text = mode_ == TDebugMode::Switches ? "S" : "V";
    text += "\x01[\x01";
    text += range;
    text += "\x01]";
    DrawText(x, y, text, 0);
}

// --- Ids of a page ---------------------------------------------------------------

void TLcfDebugRightWindow::Fill(TDebugMode mode, int32_t position) {
    mode_ = mode;
    position_ = position;
    if (!IsVisible()) Setup(96, 32, 224, 176, false);
    SetItemCount(kRows);
    Refresh();
    DrawCursorCell(cursor_, true);
}

int32_t TLcfDebugRightWindow::IdAt(int row) const {
    if (row < 0 || row >= kRows) return 0;
    const int64_t id = int64_t(position_) * 10 + row + 1;
    if (id > INT32_MAX) return 0;
    const bool named = mode_ == TDebugMode::Switches ? DbSwitch && DbSwitch->Find(int32_t(id))
                                                     : DbVariable && DbVariable->Find(int32_t(id));
    return named ? int32_t(id) : 0;
}

void TLcfDebugRightWindow::DrawItem(int32_t x, int32_t y, int index) {
    const int32_t id = IdAt(index);
    if (id == 0) return;
    const std::string& name =
        mode_ == TDebugMode::Switches ? DbSwitch->Find(id)->name : DbVariable->Find(id)->name;
    char text[24];
    std::snprintf(text, sizeof text, "%.4d:", id);
    DrawText(x, y, text + name, 0);
    if (mode_ == TDebugMode::Switches) {
        const bool on = GameSystem && GameSystem->GetSwitch(id);
        DrawText(x + 172, y, on ? "[ ON ]" : "[\x01OFF\x01]", 0);
    } else {
        std::snprintf(text, sizeof text, "%8d", GameSystem ? GameSystem->GetVariable(id) : 0);
        DrawText(x + 160, y, text, 0);
    }
}

// --- Value editor ------------------------------------------------------------------

void TLcfDebugValueWindow::Open(int64_t value) {
    // A value from a save may lie beyond seven digits (even INT_MIN):
    // shown, and stored on a confirm, as the nearest seven-digit one.
    value_ = int32_t(std::clamp<int64_t>(value, -kLimit, kLimit));
    Setup(120, 104, 110, 32, false);
    SetItemCount(kCells);
    Refresh();
    SetActive(true);
    SetCursor(kCells - 1);
}

std::string TLcfDebugValueWindow::Text() const {
    char text[16];
    std::snprintf(text, sizeof text, "%c%.7d", value_ >= 0 ? '+' : '-', std::abs(value_));
    return text;
}

TRect TLcfDebugValueWindow::GetCursorRect(int index) const {
    const int32_t left = leftMargin - 4 + 12 * index;
    return TRect(left, topMargin, left + 14, topMargin + cursorHeight);
}

TRect TLcfDebugValueWindow::GetItemRect(int index) const { return GetCursorRect(index); }

void TLcfDebugValueWindow::DrawItem(int32_t x, int32_t y, int index) {
    const std::string text = Text();
    if (index >= 0 && index < int(text.size())) DrawText(x, y, text.substr(size_t(index), 1), 0);
}

void TLcfDebugValueWindow::Turn(bool up) {
    PlaySystemSound(kSystemSoundCursor);
    if (cursor_ == 0) {
        value_ = -value_;
    } else {
        std::string text = Text();
        const int digit = text[size_t(cursor_)] - '0';
        text[size_t(cursor_)] = char('0' + (up ? (digit + 1) % 10 : (digit + 9) % 10));
        // Read back from the characters, sign included.
        const int32_t magnitude = int32_t(std::strtol(text.c_str() + 1, nullptr, 10));
        value_ = text[0] == '-' ? -magnitude : magnitude;
    }
    Refresh();
    DrawCursorCell(cursor_, true);
}

void TLcfDebugValueWindow::Update() {
    if (IsOpen() && Active() && GameInput && cursor_ >= 0 && cursor_ < kCells) {
        if (GameInput->IsRepeated(TMultiInput::kDown))
            Turn(false);
        else if (GameInput->IsRepeated(TMultiInput::kUp))
            Turn(true);
    }
    TLcfWindow::Update();
}
