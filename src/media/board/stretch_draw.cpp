// Nearest-neighbour scaling and the centred zoom built on it.
#include <algorithm>
#include <cmath>
#include <vector>

#include "media/board/board.h"
#include "media/board/pixel_rule.h"
#include "media/board/scaled_clip.h"

using namespace scaled_clip;

namespace {

// For each of `count` destination pixels from `clippedStart`, the source
// pixel it shows, or -1 where that lies outside the sheet. The map uses the
// unclipped spans, so clipping never shifts what is shown.
std::vector<int32_t> ScaleMap(int64_t clippedStart, int64_t count, int64_t destStart, int64_t destSize,
                              int64_t srcStart, int64_t srcSize, int64_t sheetSize) {
    std::vector<int32_t> map(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        const int64_t s = srcStart + MulDiv(clippedStart + i - destStart, srcSize, destSize);
        map[size_t(i)] = s >= 0 && s < sheetSize ? int32_t(s) : -1;
    }
    return map;
}

}  // namespace

void TSorvoBoard::StretchDraw(const TRect& destRect, TSorvoSheet& sheet, const TRect& sourceRect) {
    const int64_t sw = sourceRect.Width(), sh = sourceRect.Height();
    const int64_t dw = destRect.Width(), dh = destRect.Height();
    if (sw == dw && sh == dh) {
        Draw(destRect.Left, destRect.Top, sheet, sourceRect);
        return;
    }
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;

    int64_t sx = sourceRect.Left, sy = sourceRect.Top, dx = destRect.Left, dy = destRect.Top;
    int64_t csw = sw, csh = sh, cdw = dw, cdh = dh;
    if (!ClipSpan(sx, csw, sheet.Width(), dx, cdw) || !ClipSpan(dx, cdw, width_, sx, csw)) return;
    if (!ClipSpan(sy, csh, sheet.Height(), dy, cdh) || !ClipSpan(dy, cdh, height_, sy, csh)) return;
    if (csw <= 0 || csh <= 0 || cdw <= 0 || cdh <= 0) return;
    HandOverBrightness(sheet);

    const std::vector<int32_t> cols = ScaleMap(dx, cdw, destRect.Left, dw, sourceRect.Left, sw, sheet.Width());
    const std::vector<int32_t> rows = ScaleMap(dy, cdh, destRect.Top, dh, sourceRect.Top, sh, sheet.Height());
    if (WideBlits()) {
        // The columns inside the sheet form one run (the map never falls):
        // every row reads it through the wide loops.
        const auto inside = [](int32_t c) { return c >= 0; };
        const size_t first = size_t(std::find_if(cols.begin(), cols.end(), inside) - cols.begin());
        size_t last = first;
        while (last < cols.size() && cols[last] >= 0) ++last;
        if (std::none_of(cols.begin() + ptrdiff_t(last), cols.end(), inside)) {
            if (first == last) return;
            thread_local std::vector<MappedRun> runs;
            runs.clear();
            const size_t sheetBytes = size_t(sheet.Width()) * size_t(sheet.Height());
            for (int64_t j = 0; j < cdh; ++j) {
                if (rows[size_t(j)] < 0) continue;
                const size_t rowStart = size_t(rows[size_t(j)]) * size_t(sheet.Width());
                runs.push_back({ScanLine(int32_t(dy + j)) + dx + first, last - first, sheet.Pixels() + rowStart,
                                sheetBytes - rowStart, cols.data() + first});
            }
            WideMappedRuns(runs.data(), runs.size(), pixel_rule::WideRuleOf(sheet));
            return;
        }
    }
    pixel_rule::WithRule(sheet, [&](auto rule) {
        for (int64_t j = 0; j < cdh; ++j) {
            if (rows[size_t(j)] < 0) continue;
            const uint8_t* src = sheet.ScanLine(rows[size_t(j)]);
            uint16_t* dst = ScanLine(int32_t(dy + j)) + dx;
            for (int64_t i = 0; i < cdw; ++i) {
                const int32_t c = cols[size_t(i)];
                if (c >= 0) rule(dst[i], src[c]);
            }
        }
    });
}

void TSorvoBoard::ZoomDraw(int32_t x, int32_t y, TSorvoSheet& sheet, const TRect& sourceRect, int32_t halfWidth,
                           int32_t halfHeight, double zoom) {
    if (zoom == 1.0) {
        Draw(Fit32(int64_t(x) - halfWidth), Fit32(int64_t(y) - halfHeight), sheet, sourceRect);
        return;
    }
    if (!std::isfinite(zoom)) return;
    const TRect dest(Fit32(RoundClamped(x - halfWidth * zoom)), Fit32(RoundClamped(y - halfHeight * zoom)),
                     Fit32(RoundClamped(x + halfWidth * zoom)), Fit32(RoundClamped(y + halfHeight * zoom)));
    StretchDraw(dest, sheet, sourceRect);
}
