// A centred zoom whose rows are shifted sideways by a sine wave. Only rows
// are clipped up front; each row is cut to the board on its own after its
// shift. Every row maps its columns the same way, so the column map is made
// once a blit over the columns some row shows; each row is also cut to the
// columns that fall inside the sheet (a run, as the map only grows), so the
// pixel loop tests nothing.
#include <algorithm>
#include <cmath>
#include <vector>

#include "data/errors.h"
#include "media/board/angle_tables.h"
#include "media/board/board.h"
#include "media/board/index_gather.h"
#include "media/board/ink_rows.h"
#include "media/board/pixel_rule.h"
#include "media/board/scaled_clip.h"

using namespace scaled_clip;

namespace {

// quotient = (start + n * step) div divisor for n = 0, 1, 2 ..., all
// non-negative, advanced by Next() with an addition and a carry.
struct Stepper {
    int64_t quotient, remainder, whole, part, divisor;
    Stepper(int64_t start, int64_t step, int64_t by)
        : quotient(MulDiv(start, step, by)),
          remainder(int64_t((__int128)start * step - (__int128)quotient * by)),
          whole(step / by),
          part(step % by),
          divisor(by) {}
    void Next() {
        quotient += whole;
        remainder += part;
        if (remainder >= divisor) {
            remainder -= divisor;
            ++quotient;
        }
    }
};

}  // namespace

void TSorvoBoard::WaveDraw(int32_t x, int32_t y, TSorvoSheet& sheet, const TRect& sourceRect, int32_t halfWidth,
                           int32_t halfHeight, int32_t amplitude, int32_t period, int32_t phase, double zoom) {
    if (!std::isfinite(zoom)) return;
    const int64_t left = x - TruncClamped(halfWidth * zoom), top = y - TruncClamped(halfHeight * zoom);
    const int64_t right = x + TruncClamped(halfWidth * zoom), bottom = y + TruncClamped(halfHeight * zoom);
    const int64_t sw = sourceRect.Width(), sh = sourceRect.Height();
    const int64_t destWidth = TruncClamped(double(sw) * zoom), destHeight = TruncClamped(double(sh) * zoom);

    int64_t srcTop = sourceRect.Top, srcRows = sh, destTop = top, destRows = destHeight;
    if (!ClipSpan(srcTop, srcRows, sheet.Height(), destTop, destRows) ||
        !ClipSpan(destTop, destRows, height_, srcTop, srcRows))
        return;
    if (srcRows <= 0 || destRows <= 0 || right <= left || bottom <= top) return;
    HandOverBrightness(sheet);
    if (period <= 0 || destWidth <= 0 || sw <= 0) return;

    const int64_t span = right - left;  // columns map through the box width
    const int64_t wholeStep = sw / span, partStep = sw % span;
    const int64_t sheetWidth = sheet.Width();
    // Column i shows source column min(sw - 1, i * sw div span); it never
    // falls as i grows. The first i showing a column at or past `limit`:
    auto firstReaching = [&](int64_t limit) {
        int64_t lo = 0, hi = destWidth;
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (sourceRect.Left + std::min(sw - 1, MulDiv(mid, sw, span)) >= limit) {
                hi = mid;
            } else {
                lo = mid + 1;
            }
        }
        return lo;
    };
    const int64_t insideFrom = firstReaching(0), insideTo = firstReaching(sheetWidth);
    if (insideFrom >= insideTo) return;
    // A transparent sheet draws nothing from its blank top and bottom rows
    // (of the columns shown).
    InkRows ink{0, sheet.Height()};
    if (sheet.Transparent) {
        ink = FindInkRows(sheet, sourceRect.Left + std::min(sw - 1, MulDiv(insideFrom, sw, span)),
                          sourceRect.Left + std::min(sw - 1, MulDiv(insideTo - 1, sw, span)) + 1, 0, sheet.Height());
        if (ink.top >= ink.bottom) return;
    }

    struct RowPlan {
        int64_t destRow, srcRow, origin, from, to;  // columns i in [from, to) at origin + i
    };
    thread_local std::vector<RowPlan> plans;
    plans.clear();
    int64_t mapFrom = INT64_MAX, mapTo = INT64_MIN;
    // The row map (destTop - top + j) * sh div (bottom - top) and the wave's
    // 256 * j * srcRows div destRows, stepped from row to row without
    // divisions. The first numerator is never negative: clipping only moves
    // destTop down from top.
    VARNOW_CHECK(destTop >= top);
    Stepper rowMap(destTop - top, sh, bottom - top), waveSteps(0, 256 * srcRows, destRows);
    for (int64_t j = 0; j < destRows; ++j, rowMap.Next(), waveSteps.Next()) {
        const int64_t rowRel = std::min(srcRows - 1, rowMap.quotient - (srcTop - sourceRect.Top));
        const int64_t srcRow = srcTop + rowRel;
        if (srcRow < ink.top || srcRow >= ink.bottom) continue;
        const int64_t step = waveSteps.quotient / period;
        const uint8_t angle = uint8_t((phase + step) & 255);
        const int64_t shift = TruncClamped(TableSin(angle) * amplitude * zoom);
        const int64_t origin = left + shift;
        const int64_t from = std::max({int64_t(0), -origin, insideFrom});
        const int64_t to = std::min({destWidth, int64_t(width_) - origin, insideTo});
        if (from >= to) continue;
        plans.push_back({destTop + j, srcRow, origin, from, to});
        mapFrom = std::min(mapFrom, from);
        mapTo = std::max(mapTo, to);
    }
    if (plans.empty()) return;

    // The sheet columns of i in [from, to), stepped without a division per
    // column.
    auto fillMap = [&](int64_t from, int64_t to, std::vector<int32_t>& map) {
        map.resize(size_t(to - from));
        int64_t q = MulDiv(from, sw, span);
        int64_t r = int64_t((__int128)from * sw - (__int128)q * span);
        for (size_t k = 0; k < map.size(); ++k) {
            map[k] = int32_t(sourceRect.Left + std::min(sw - 1, q));
            q += wholeStep;
            r += partStep;
            if (r >= span) {
                r -= span;
                ++q;
            }
        }
    };
    // One map for every row, unless the rows spread so far apart (a huge
    // amplitude) that a map per row costs less.
    const bool shared = mapTo - mapFrom <= 8 * int64_t(width_) + 4096;
    thread_local std::vector<int32_t> map;
    if (shared) fillMap(mapFrom, mapTo, map);

    const bool wide = WideBlits();
    // Kept from blit to blit, so drawing allocates nothing.
    thread_local std::vector<MappedRun> runs;
    size_t runCount = 0;
    if (wide && runs.size() < plans.size()) runs.resize(plans.size());
    pixel_rule::WithRule<false>(sheet, [&](auto rule) {
        for (const RowPlan& plan : plans) {
            if (!shared) fillMap(plan.from, plan.to, map);
            const int32_t* columns = map.data() + (shared ? plan.from - mapFrom : 0);
            const size_t count = size_t(plan.to - plan.from);
            // The map only grows, so its two ends bound every column read.
            VARNOW_CHECK(columns[0] >= 0 && columns[count - 1] < sheetWidth);
            VARNOW_CHECK(plan.origin + plan.from >= 0 && plan.origin + plan.to <= width_);
            const uint8_t* src = sheet.ScanLine(int32_t(plan.srcRow));
            const size_t available = size_t(sheet.Height() - plan.srcRow) * size_t(sheetWidth);
            // The origin alone may lie far outside the row: add the column first.
            uint16_t* dst = ScanLine(int32_t(plan.destRow)) + (plan.origin + plan.from);
            if (wide) {
                runs[runCount++] = {dst, count, src, available, columns};
                // A map made for this row alone is refilled by the next row:
                // its run is drawn at once.
                if (!shared) {
                    WideMappedRuns(runs.data(), runCount, pixel_rule::WideRuleOf(sheet));
                    runCount = 0;
                }
                continue;
            }
            uint8_t indices[256];
            for (size_t done = 0; done < count; done += 256) {
                const size_t part = std::min<size_t>(256, count - done);
                MappedRow(indices, part, src, available, columns + done);
                rule.Row(dst + done, indices, part);
            }
        }
    });
    if (wide && runCount > 0) WideMappedRuns(runs.data(), runCount, pixel_rule::WideRuleOf(sheet));
}
