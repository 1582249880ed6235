// Rotation and zoom about a centre: every board pixel of the box that the
// turned source covers walks back into the source in 16.16 fixed point.
// The walk along a row is a straight line, so the pixels that land inside
// the source form one run: it is found by division once a row, and only it
// is walked, without a test per pixel, gathering its indices for a row
// pass of the pixel rule.
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

// Division rounding up, for a positive divisor.
int64_t CeilDiv(int64_t a, int64_t b) {
    return a >= 0 ? (a + b - 1) / b : -(-a / b);
}

// One axis of the walk: the positions a + k * d that lie in [lo, hi). The
// operands stay below 2^53 (starts are clamped to 4e15, limits are sheet
// sizes times 65536, steps at most 2^40), so nothing overflows. The window
// is the same for every row, so its length in whole steps is divided out
// once, and a row needs one division (for its first step inside) where it
// would need two.
struct StepWindow {
    int64_t d, lo, hi;
    int64_t steps = 0, rest = 0;  // hi - 1 - lo = steps * |d| + rest, 0 <= rest < |d|

    StepWindow(int64_t step, int64_t low, int64_t high) : d(step), lo(low), hi(high) {
        const int64_t e = d < 0 ? -d : d;
        if (e == 0) return;
        steps = (hi - 1 - lo) / e;
        rest = (hi - 1 - lo) - steps * e;
    }

    // Narrows [k0, k1) to the steps inside, for a walk starting at a.
    void Narrow(int64_t a, int64_t& k0, int64_t& k1) const {
        if (k0 >= k1) return;
        if (d == 0) {
            if (a < lo || a >= hi) k1 = k0;
            return;
        }
        int64_t first, last;
        if (d > 0) {
            first = CeilDiv(lo - a, d);
            const int64_t past = a + first * d - lo;  // in [0, d)
            last = first + steps - (rest < past ? 1 : 0);
        } else {
            first = CeilDiv(a - (hi - 1), -d);
            const int64_t below = hi - 1 - (a + first * d);  // in [0, -d)
            last = first + steps - (rest < below ? 1 : 0);
        }
        k0 = std::max(k0, first);
        k1 = std::min(k1, last + 1);
    }
};

}  // namespace

void TSorvoBoard::RotateDraw(int32_t x, int32_t y, TSorvoSheet& sheet, const TRect& sourceRect, int32_t halfWidth,
                             int32_t halfHeight, uint8_t angle, double zoom) {
    if (!(zoom > 0) || !std::isfinite(zoom)) return;
    HandOverBrightness(sheet);

    const double s = TableSin(angle), c = TableCos(angle);
    const double w = double(sourceRect.Width()), h = double(sourceRect.Height());
    const double hw = halfWidth, hh = halfHeight;
    const int64_t p0x = TruncClamped(x - (hw * c - hh * s) * zoom);
    const int64_t p0y = TruncClamped(y - (hw * s + hh * c) * zoom);
    const int64_t p1x = TruncClamped(w * c * zoom + double(p0x));
    const int64_t p1y = TruncClamped(w * s * zoom + double(p0y));
    const int64_t p2x = TruncClamped(double(p0x) - h * s * zoom);
    const int64_t p2y = TruncClamped(h * c * zoom + double(p0y));
    const int64_t p3x = TruncClamped(w * c * zoom + double(p2x));
    const int64_t p3y = TruncClamped(w * s * zoom + double(p2y));

    const int64_t left = std::max<int64_t>(std::min({p0x, p1x, p2x, p3x}), 0);
    const int64_t top = std::max<int64_t>(std::min({p0y, p1y, p2y, p3y}), 0);
    const int64_t right = std::min<int64_t>(std::max({p0x, p1x, p2x, p3x}), width_);
    const int64_t bottom = std::min<int64_t>(std::max({p0y, p1y, p2y, p3y}), height_);
    if (left >= right || top >= bottom) return;

    // Steps and starts are kept in 64 bits: at tiny zooms they leave 32 bits
    // far behind. Clamping them keeps the sums inside 64 bits; a step that
    // large already jumps clean over the source.
    constexpr int64_t kStepLimit = int64_t(1) << 40;
    constexpr double kStartLimit = 4.0e15;
    const int64_t du = std::clamp<int64_t>(TruncClamped(65536.0 * c / zoom), -kStepLimit, kStepLimit);
    const int64_t dv = std::clamp<int64_t>(TruncClamped(-65536.0 * s / zoom), -kStepLimit, kStepLimit);

    // A column or row outside the source rectangle, or outside the sheet,
    // draws nothing; a negative u or v lands outside.
    const int64_t colLo = std::max<int64_t>(sourceRect.Left, 0),
                  colHi = std::min<int64_t>(sourceRect.Right, sheet.Width());
    int64_t rowLo = std::max<int64_t>(sourceRect.Top, 0), rowHi = std::min<int64_t>(sourceRect.Bottom, sheet.Height());
    if (colLo >= colHi || rowLo >= rowHi) return;
    // A transparent sheet draws nothing from its blank top and bottom rows.
    if (sheet.Transparent) {
        const InkRows ink = FindInkRows(sheet, colLo, colHi, rowLo, rowHi);
        if (ink.top >= ink.bottom) return;
        rowLo = ink.top;
        rowHi = ink.bottom;
    }

    const StepWindow columns(du, colLo << 16, colHi << 16), rows(dv, rowLo << 16, rowHi << 16);
    const uint8_t* pixels = sheet.Pixels();
    const int64_t pitch = sheet.Width();
    const size_t size = size_t(sheet.Width()) * size_t(sheet.Height());
    // The wide loops step in 32 bits: every position inside the source
    // fits when its sides are below 32768.
    const bool wide = WideBlits() && colHi < 32768 && rowHi < 32768 && du >= INT32_MIN && du <= INT32_MAX &&
                      dv >= INT32_MIN && dv <= INT32_MAX;
    // Kept from blit to blit, so drawing allocates nothing.
    thread_local std::vector<SlantRun> runs;
    size_t count = 0;
    if (wide && runs.size() < size_t(bottom - top)) runs.resize(size_t(bottom - top));
    pixel_rule::WithRule<false>(sheet, [&](auto rule) {
        for (int64_t py = top; py < bottom; ++py) {
            const double rx = double(left - x), ry = double(py - y);
            const int64_t u = TruncClamped(
                std::clamp(((rx * c + ry * s) / zoom + sourceRect.Left + hw) * 65536.0, -kStartLimit, kStartLimit));
            const int64_t v = TruncClamped(
                std::clamp(((-rx * s + ry * c) / zoom + sourceRect.Top + hh) * 65536.0, -kStartLimit, kStartLimit));
            // Steps k of the row (pixel left + k) whose column and row both
            // fall inside the source.
            int64_t k0 = 0, k1 = right - left;
            columns.Narrow(u, k0, k1);
            rows.Narrow(v, k0, k1);
            if (k0 >= k1) continue;
            const int64_t u0 = u + k0 * du, v0 = v + k0 * dv;
            // Both ends inside the source, so the whole straight run is.
            const int64_t uLast = u0 + (k1 - 1 - k0) * du, vLast = v0 + (k1 - 1 - k0) * dv;
            VARNOW_CHECK((u0 >> 16) >= colLo && (u0 >> 16) < colHi && (uLast >> 16) >= colLo && (uLast >> 16) < colHi);
            VARNOW_CHECK((v0 >> 16) >= rowLo && (v0 >> 16) < rowHi && (vLast >> 16) >= rowLo && (vLast >> 16) < rowHi);
            uint16_t* dst = ScanLine(int32_t(py)) + left + k0;
            if (wide) {
                runs[count++] = {dst, size_t(k1 - k0), u0, v0};
                continue;
            }
            uint8_t indices[256];
            for (int64_t done = 0; done < k1 - k0; done += 256) {
                const size_t part = size_t(std::min<int64_t>(256, k1 - k0 - done));
                SlantRow(indices, part, pixels, size, pitch, u0 + done * du, v0 + done * dv, du, dv);
                rule.Row(dst + done, indices, part);
            }
        }
    });
    if (wide) WideSlantRuns(runs.data(), count, pixels, size, pitch, du, dv, pixel_rule::WideRuleOf(sheet));
}
