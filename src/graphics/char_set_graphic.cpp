#include "graphics/char_set_graphic.h"

#include "data/clamp.h"
#include "graphics/graphics_files.h"

int32_t TLcfCharSetGraphic::Acquire(const std::string& fileName, int32_t) {
    int32_t index = IndexOf(fileName);
    if (index >= 0) {
        entries_[size_t(index)].used = true;
        return index;
    }
    Entry e;
    e.name = fileName;
    e.used = true;
    e.sheet = std::make_unique<TSorvoSheet>();
    e.sheet->SetSize(kSheetWidth, kSheetHeight);
    entries_.push_back(std::move(e));
    TSorvoSheet& sheet = *entries_.back().sheet;
    sheet.LoadFromFile(FindGraphicsFile("CharSet", fileName), true);
    return int32_t(entries_.size() - 1);
}

int32_t TLcfCharSetGraphic::IndexOf(const std::string& fileName) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].name == fileName) return int32_t(i);
    return -1;
}

void TLcfCharSetGraphic::MarkAllUnused() {
    for (Entry& e : entries_) e.used = false;
}

void TLcfCharSetGraphic::PurgeUnused() {
    // The last entry is never purged.
    size_t i = 0;
    while (i + 1 < entries_.size()) {
        if (entries_[i].used) {
            ++i;
            continue;
        }
        if (entries_.size() < kKeepSheets) break;
        entries_.erase(entries_.begin() + std::ptrdiff_t(i));
    }
}

void TLcfCharSetGraphic::Clear() {
    entries_.clear();
    Transparent = 0;
    OpacityLevel = 0;
    Grey = 0;
}

void TLcfCharSetGraphic::DrawCharacter(TSorvoBoard& board, int32_t x, int32_t y, int32_t sheetIndex,
                                       int32_t character, int32_t direction, int32_t pattern, int32_t bushDepth,
                                       int32_t) {
    if (sheetIndex < 0 || sheetIndex >= Count() || character < 0 || character > 7 || direction < 0 ||
        direction > 3 || pattern < 0 || pattern > 3 || bushDepth < 0 || bushDepth > 3)
        return;
    TSorvoSheet& sheet = *entries_[size_t(sheetIndex)].sheet;
    int32_t q = pattern == 3 ? 1 : pattern;
    int32_t sx = (character % 4) * 72 + q * kFrameWidth;
    int32_t sy = (character / 4) * 128 + direction * kFrameHeight;

    sheet.Transparent = Transparent != 0;
    sheet.ColorControl1.SetTone(100, 100, 100, Grey ? 0 : 100, true);
    const int32_t full = ClampToInt32(Clamp<int64_t>(255 - 30 * int64_t(OpacityLevel), 0, 255));
    const int32_t half = full / 2;
    int64_t left = int64_t(x) - 12, top = int64_t(y) - 32;
    auto part = [&](int32_t firstRow, int32_t rows, int32_t opacity) {
        sheet.Opacity = opacity;
        board.Draw(ClampToInt32(left), ClampToInt32(top + firstRow), sheet,
                   RectOfSize(sx, sy + firstRow, kFrameWidth, rows));
    };
    switch (bushDepth) {
    case 0: part(0, 32, full); break;
    case 1:
        part(0, 21, full);
        part(21, 11, half);
        break;
    case 2:
        part(0, 16, full);
        part(16, 16, half);
        break;
    case 3: part(0, 32, half); break;
    }
}
