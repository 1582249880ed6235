#pragma once
// The rows of a sheet rectangle that hold ink (any index but 0). A blit of
// a transparent sheet leaves the board alone wherever the source shows
// index 0, so it may skip the blank rows at the top and the bottom of the
// source: split pictures keep half of each sheet blank, and many pictures
// have blank borders.

#include <cstdint>

#include "media/sheet/sheet.h"

struct InkRows {
    int64_t top, bottom;  // rows [top, bottom); empty when top >= bottom
};

// Scans the rectangle [colLo, colHi) x [rowLo, rowHi), which must lie
// inside the sheet, from both ends.
InkRows FindInkRows(const TSorvoSheet& sheet, int64_t colLo, int64_t colHi, int64_t rowLo, int64_t rowHi);
