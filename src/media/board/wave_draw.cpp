// A centred zoom whose rows are shifted sideways by a sine wave. Only rows
// are clipped up front; each row is cut to the board on its own after its
// shift.
#include <algorithm>
#include <cmath>

#include "media/board/angle_tables.h"
#include "media/board/board.h"
#include "media/board/pixel_rule.h"
#include "media/board/scaled_clip.h"

using namespace scaled_clip;

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
    pixel_rule::WithRule(sheet, [&](auto rule) {
        for (int64_t j = 0; j < destRows; ++j) {
            const int64_t rowRel =
                std::min(srcRows - 1, MulDiv(destTop + j - top, sh, bottom - top) - (srcTop - sourceRect.Top));
            const int64_t srcRow = srcTop + rowRel;
            if (srcRow < 0 || srcRow >= sheet.Height()) continue;
            const int64_t step = MulDiv(256 * j, srcRows, destRows) / period;
            const uint8_t angle = uint8_t((phase + step) & 255);
            const int64_t shift = TruncClamped(TableSin(angle) * amplitude * zoom);
            const int64_t origin = left + shift;
            const int64_t first = std::max<int64_t>(0, -origin);
            const int64_t last = std::min<int64_t>(destWidth, int64_t(width_) - origin);
            if (first >= last) continue;
            const uint8_t* src = sheet.ScanLine(int32_t(srcRow));
            uint16_t* dst = ScanLine(int32_t(destTop + j));
            // Column i shows source column min(sw - 1, i * sw div span),
            // stepped without a division per pixel.
            int64_t q = MulDiv(first, sw, span);
            int64_t r = int64_t((__int128)first * sw - (__int128)q * span);
            for (int64_t i = first; i < last; ++i) {
                const int64_t col = sourceRect.Left + std::min(sw - 1, q);
                if (col >= 0 && col < sheet.Width()) rule(dst[origin + i], src[col]);
                q += wholeStep;
                r += partStep;
                if (r >= span) {
                    r -= span;
                    ++q;
                }
            }
        }
    });
}
