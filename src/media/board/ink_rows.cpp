#include "media/board/ink_rows.h"

#include <cstring>

#include "data/errors.h"
#include "media/board/wide_blit.h"

namespace {

// Is every byte of the run 0? Eight bytes a step, or-ed together, so the
// compiler can keep it in vector registers.
bool Blank(const uint8_t* p, size_t n) {
    uint64_t any = 0;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        std::memcpy(&word, p + i, 8);
        any |= word;
    }
    for (; i < n; ++i) any |= p[i];
    return any == 0;
}

}  // namespace

InkRows FindInkRows(const TSorvoSheet& sheet, int64_t colLo, int64_t colHi, int64_t rowLo, int64_t rowHi) {
    VARNOW_CHECK(colLo >= 0 && colLo <= colHi && colHi <= sheet.Width());
    VARNOW_CHECK(rowLo >= 0 && rowLo <= rowHi && rowHi <= sheet.Height());
    const size_t n = size_t(colHi - colLo);
    auto blank = WideBlits() ? WideBlank : Blank;
    InkRows ink{rowLo, rowHi};
    while (ink.top < ink.bottom && blank(sheet.ScanLine(int32_t(ink.top)) + colLo, n)) ++ink.top;
    while (ink.bottom > ink.top && blank(sheet.ScanLine(int32_t(ink.bottom - 1)) + colLo, n)) --ink.bottom;
    return ink;
}
