// Rotation and zoom about a centre: every board pixel of the box that the
// turned source covers walks back into the source in 16.16 fixed point.
#include <algorithm>
#include <cmath>

#include "media/board/angle_tables.h"
#include "media/board/board.h"
#include "media/board/pixel_rule.h"
#include "media/board/scaled_clip.h"

using namespace scaled_clip;

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
    const int64_t rowLo = std::max<int64_t>(sourceRect.Top, 0),
                  rowHi = std::min<int64_t>(sourceRect.Bottom, sheet.Height());
    if (colLo >= colHi || rowLo >= rowHi) return;

    pixel_rule::WithRule(sheet, [&](auto rule) {
        for (int64_t py = top; py < bottom; ++py) {
            const double rx = double(left - x), ry = double(py - y);
            int64_t u = TruncClamped(
                std::clamp(((rx * c + ry * s) / zoom + sourceRect.Left + hw) * 65536.0, -kStartLimit, kStartLimit));
            int64_t v = TruncClamped(
                std::clamp(((-rx * s + ry * c) / zoom + sourceRect.Top + hh) * 65536.0, -kStartLimit, kStartLimit));
            uint16_t* dst = ScanLine(int32_t(py));
            for (int64_t px = left; px < right; ++px, u += du, v += dv) {
                const int64_t col = u >> 16, row = v >> 16;
                if (col < colLo || col >= colHi || row < rowLo || row >= rowHi) continue;
                rule(dst[px], sheet.ScanLine(int32_t(row))[col]);
            }
        }
    });
}
