#pragma once
// The rule every sheet blit writes a pixel by: a transparent sheet skips
// index 0; an opaque one writes its table colour; otherwise the table colour
// s and the board pixel d mix per field with weights Opacity + 1 and
// 256 - Opacity (which add up to 257) and a shift by 8.
//
// The rule is chosen once per blit, so the pixel loops compile without
// per-pixel tests for the common opaque case. Each rule offers a per-pixel
// form (for the stretching blit) and a whole-row form (for the plain blit,
// and for the rotating and waving blits once they have gathered a row of
// indices).

#include <algorithm>
#include <cstdint>

#include "media/board/table_row.h"
#include "media/board/wide_blit.h"
#include "media/sheet/sheet.h"

namespace pixel_rule {

struct Opaque {
    const uint16_t* table;
    void operator()(uint16_t& d, uint8_t c) const { d = table[c]; }
    void Row(uint16_t* dst, const uint8_t* src, size_t n) const { TableRow(dst, src, n, table, false); }
};

struct OpaqueKeyed {
    const uint16_t* table;
    void operator()(uint16_t& d, uint8_t c) const {
        if (c) d = table[c];
    }
    void Row(uint16_t* dst, const uint8_t* src, size_t n) const { TableRow(dst, src, n, table, true); }
};

// The three fields of an RGB565 colour spread 21 bits apart in 64 bits, so
// one multiplication weighs all three: each weighted field stays below
// 2^14 (63 * 257), far inside its 21 bits.
inline uint64_t Spread(uint32_t c) {
    return uint64_t(c >> 11) | (uint64_t((c >> 5) & 63) << 21) | (uint64_t(c & 31) << 42);
}

inline uint16_t Unspread(uint64_t weightedSum) {
    return uint16_t((((weightedSum >> 8) & 31) << 11) | (((weightedSum >> 29) & 63) << 5) | ((weightedSum >> 50) & 31));
}

// `weighted` holds each table colour spread and multiplied by w, made once
// per blit for the per-pixel form (null when the blit uses only the row
// form). Rows look their colours up first, then mix them in a vector pass.
struct Translucent {
    const uint64_t* weighted;
    const uint16_t* table;
    uint32_t w, v;
    bool keyed;
    void Row(uint16_t* dst, const uint8_t* src, size_t n) const {
        uint16_t colours[256];
        for (size_t done = 0; done < n; done += 256) {
            const size_t part = std::min<size_t>(256, n - done);
            TableRow(colours, src + done, part, table, false);
            BlendRow(dst + done, colours, src + done, part, uint16_t(w), uint16_t(v), keyed);
        }
    }
    void operator()(uint16_t& d, uint8_t c) const {
        if (keyed && c == 0) return;
        d = Unspread(weighted[c] + Spread(d) * v);
    }
};

// Calls f with the rule for this sheet. Opacity is taken as 0..255. Blits
// that never use the per-pixel form pass perPixel false and skip the
// weighted table.
template <bool perPixel = true, class F>
void WithRule(const TSorvoSheet& sheet, F&& f) {
    const int32_t opacity = std::clamp(sheet.Opacity, 0, 255);
    const uint16_t* table = sheet.ColorTable.data();
    if (opacity >= 255) {
        if (sheet.Transparent) {
            f(OpaqueKeyed{table});
        } else {
            f(Opaque{table});
        }
        return;
    }
    const uint32_t w = uint32_t(opacity + 1), v = uint32_t(256 - opacity);
    if constexpr (perPixel) {
        uint64_t weighted[256];
        for (int c = 0; c < 256; ++c) weighted[c] = Spread(table[c]) * w;
        f(Translucent{weighted, table, w, v, sheet.Transparent});
    } else {
        f(Translucent{nullptr, table, w, v, sheet.Transparent});
    }
}

// The same rule for the wide loops.
inline WideRule WideRuleOf(const TSorvoSheet& sheet) {
    const int32_t opacity = std::clamp(sheet.Opacity, 0, 255);
    return WideRule{sheet.ColorTable.data(), sheet.Transparent, opacity < 255, uint16_t(opacity + 1),
                    uint16_t(256 - opacity)};
}

}  // namespace pixel_rule
