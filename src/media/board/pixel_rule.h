#pragma once
// The rule every sheet blit writes a pixel by: a transparent sheet skips
// index 0; an opaque one writes its table colour; otherwise the table colour
// s and the board pixel d mix per field with weights Opacity + 1 and
// 256 - Opacity (which add up to 257) and a shift by 8.
//
// The rule is chosen once per blit, so the pixel loops compile without
// per-pixel tests for the common opaque case.

#include <algorithm>
#include <cstdint>

#include "media/sheet/sheet.h"

namespace pixel_rule {

inline uint16_t Blend(uint32_t s, uint32_t d, uint32_t w, uint32_t v) {
    const uint32_t red = ((s >> 11) * w + (d >> 11) * v) >> 8;
    const uint32_t green = (((s >> 5) & 63) * w + ((d >> 5) & 63) * v) >> 8;
    const uint32_t blue = ((s & 31) * w + (d & 31) * v) >> 8;
    return uint16_t((red << 11) | (green << 5) | blue);
}

struct Opaque {
    const uint16_t* table;
    void operator()(uint16_t& d, uint8_t c) const { d = table[c]; }
};

struct OpaqueKeyed {
    const uint16_t* table;
    void operator()(uint16_t& d, uint8_t c) const {
        if (c) d = table[c];
    }
};

struct Translucent {
    const uint16_t* table;
    uint32_t w, v;
    bool keyed;
    void operator()(uint16_t& d, uint8_t c) const {
        if (keyed && c == 0) return;
        d = Blend(table[c], d, w, v);
    }
};

// Calls f with the rule for this sheet. Opacity is taken as 0..255.
template <class F>
void WithRule(const TSorvoSheet& sheet, F&& f) {
    const int32_t opacity = std::clamp(sheet.Opacity, 0, 255);
    const uint16_t* table = sheet.ColorTable.data();
    if (opacity >= 255) {
        if (sheet.Transparent) {
            f(OpaqueKeyed{table});
        } else {
            f(Opaque{table});
        }
    } else {
        f(Translucent{table, uint32_t(opacity + 1), uint32_t(256 - opacity), sheet.Transparent});
    }
}

}  // namespace pixel_rule
