#include "scenes/name/name_windows.h"

#include <algorithm>

#include "media/input/multi_input.h"
#include "scenes/system_sounds.h"
#include "scenes/windows/text_units.h"

namespace {

using Grid = std::array<const char*, 90>;

// Page and confirm cells: a label starting with "<" gets the wide cursor.
#define PAGE_CELL "<Page>"
#define CONFIRM_CELL "<Done>"

// clang-format off
const Grid kPage0 = {
    "A", "B", "C", "D", "E", "a", "b", "c", "d", "e",
    "F", "G", "H", "I", "J", "f", "g", "h", "i", "j",
    "K", "L", "M", "N", "O", "k", "l", "m", "n", "o",
    "P", "Q", "R", "S", "T", "p", "q", "r", "s", "t",
    "U", "V", "W", "X", "Y", "u", "v", "w", "x", "y",
    "Z", " ", " ", " ", " ", "z", " ", " ", " ", " ",
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    " ", " ", " ", " ", " ", " ", " ", " ", " ", " ",
    " ", " ", " ", " ", " ", " ", PAGE_CELL, "", CONFIRM_CELL, "",
};
const Grid kPage1 = {
    "!", "?", ",", ".", "/", "$F", "$G", "$H", "$I", "$J",
    ":", ";", "(", ")", "@", "$K", "$L", "$M", "$N", " ",
    "[", "]", "{", "}", "*", "$O", "$P", "$Q", "$R", "$S",
    "+", "-", "^", "%", "#", "$T", "$U", "$V", "$W", "$X",
    "`", "~", "\"", "'", "=", "$Y", "$Z", " ", " ", " ",
    "&", "|", "_", "\\", " ", "$C", "$o", "$a", "$b", "$c",
    "$s", "$t", "$u", "$v", " ", "$D", "$E", "$p", "$q", "$r",
    "$w", "$x", "$y", "$z", " ", " ", " ", " ", " ", " ",
    " ", " ", " ", " ", " ", " ", PAGE_CELL, "", CONFIRM_CELL, "",
};
// clang-format on

int32_t CellX(int column) { return 24 * column + (column <= 4 ? 8 : 14); }

}  // namespace

// --- The name so far -------------------------------------------------------------

void TLcfNameViewWindow::SetupView() {
    columns = 1;
    Setup(96, 40, 192, 32, false);
    leftMargin = 48;
    topMargin = 8;
    itemWidth = 12;
    cursorHeight = 16;
    itemCount_ = 1;
    name_.clear();
    SetCursorVisible(true);
    Refresh();
}

void TLcfNameViewWindow::SetText(const std::string& name) {
    DrawCursorCell(0, false);
    name_ = name;
    // The next free cell, past the six shown for a longer kept name; a
    // name of millions of bytes keeps the cursor's arithmetic in range.
    leftMargin = int32_t(std::min<size_t>(name_.size(), size_t(1) << 20) / 2) * 16 + 48;
    Refresh();
}

std::vector<std::pair<int32_t, std::string>> TLcfNameViewWindow::Layout(const std::string& name) {
    std::vector<std::pair<int32_t, std::string>> cells;
    const size_t shown = std::min(name.size(), kShownBytes);
    for (size_t b = 0; b < shown;) {
        const size_t length = std::max<size_t>(TextUnitLength(name, b), 1);
        if (b + length > shown) break;
        cells.emplace_back(48 + 16 * int32_t(b / 2) + 6 * int32_t(b % 2), name.substr(b, length));
        b += length;
    }
    return cells;
}

void TLcfNameViewWindow::Refresh() {
    TLcfWindow::Refresh();
    for (const auto& [x, text] : Layout(name_)) DrawText(x, 8, text, 0);
    DrawCursorCell(0, true);
}

// --- The grid ------------------------------------------------------------------------

const std::string& TLcfNameInputWindow::Cell(int page, int row, int column) {
    static const auto strings = [] {
        std::array<std::string, 180> all;
        for (size_t i = 0; i < 90; ++i) {
            all[i] = kPage0[i];
            all[90 + i] = kPage1[i];
        }
        return all;
    }();
    static const std::string kNone;
    if (page < 0 || page >= kPages || row < 0 || row >= kRows || column < 0 || column >= kColumns) return kNone;
    return strings[size_t(page * 90 + row * 10 + column)];
}

void TLcfNameInputWindow::SetupGrid() {
    columns = 1;
    Setup(32, 72, 256, 160, false);
    cursorHeight = 16;
    itemCount_ = 1;
    customInput = true;
    column_ = row_ = 0;
    page_ = 0;
    PlaceCursor();
    SetActive(true);
    Refresh();
}

void TLcfNameInputWindow::SetPage(int page) {
    page_ = page;
    Refresh();
}

void TLcfNameInputWindow::Refresh() {
    TLcfWindow::Refresh();
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            const std::string& text = Cell(page_, r, c);
            if (!text.empty()) DrawText(CellX(c), 16 * r + 8, text, 0);
        }
    DrawCursorCell(0, true);
}

void TLcfNameInputWindow::PlaceCursor() {
    leftMargin = CellX(column_);
    topMargin = 16 * row_ + 8;
    const std::string& text = Cell(page_, row_, column_);
    itemWidth = !text.empty() && text[0] == '<' ? 36 : 12;
}

void TLcfNameInputWindow::MoveTo(int column, int row) {
    DrawCursorCell(0, false);
    column_ = column;
    row_ = row;
    PlaceCursor();
    DrawCursorCell(0, true);
}

void TLcfNameInputWindow::CustomInput() {
    if (!GameInput) return;
    const TMultiInput& in = *GameInput;
    int c = column_, r = row_;
    if (in.IsRepeated(TMultiInput::kDown)) r = (r + 1) % kRows;
    if (in.IsRepeated(TMultiInput::kUp)) r = (r + kRows - 1) % kRows;
    const bool right = in.IsRepeated(TMultiInput::kRight);
    const bool left = in.IsRepeated(TMultiInput::kLeft);
    if (right) c = (c + 1) % kColumns;
    if (left) c = (c + kColumns - 1) % kColumns;
    if (Cell(page_, r, c).empty()) {
        // Step over the empty cell the way the player was going; with no
        // sideways key (or a second empty cell) go back one to the left.
        const int landed = c;
        if (right || left) c = (c + (right ? 1 : kColumns - 1)) % kColumns;
        if (!(right || left) || Cell(page_, r, c).empty()) c = (landed + kColumns - 1) % kColumns;
    }
    if (c == column_ && r == row_) return;
    PlaySystemSound(kSystemSoundCursor);
    MoveTo(c, r);
    blink_ = 0;
}
