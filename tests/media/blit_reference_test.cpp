// The fast blits against plain reference versions kept here: the same
// rounding, clipping, transparency key, opacity mixing and ties, pixel for
// pixel, over many angles, zooms, wave strengths and phases, and positions
// on, across and far off the board (negative ones included). The reference
// versions walk every pixel of the box they cover with no shortcut, so any
// span, table or vector trick in the real blits must reproduce them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "media/board/angle_tables.h"
#include "media/board/board.h"
#include "media/board/wide_blit.h"

namespace {

// ---- The reference blits --------------------------------------------------

struct RefBoard {
    std::vector<uint16_t> px;
    int64_t w = 0, h = 0;
    uint16_t& At(int64_t x, int64_t y) { return px[size_t(y * w + x)]; }
};

void RefPixel(uint16_t& d, uint8_t c, const TSorvoSheet& s) {
    if (s.Transparent && c == 0) return;
    const int op = std::clamp(s.Opacity, 0, 255);
    const uint32_t src = s.ColorTable[c];
    if (op >= 255) {
        d = uint16_t(src);
        return;
    }
    const uint32_t w = uint32_t(op + 1), v = uint32_t(256 - op);
    const uint32_t r = ((src >> 11) * w + (d >> 11) * v) >> 8;
    const uint32_t g = (((src >> 5) & 63) * w + ((d >> 5) & 63) * v) >> 8;
    const uint32_t b = ((src & 31) * w + (d & 31) * v) >> 8;
    d = uint16_t((r << 11) | (g << 5) | b);
}

uint8_t SheetAt(const TSorvoSheet& s, int64_t x, int64_t y) {
    return s.Pixels()[size_t(y * s.Width() + x)];
}

int64_t MulDiv(int64_t a, int64_t b, int64_t c) {
    return int64_t((__int128)a * b / c);
}

int64_t Trunc(double v) {
    if (std::isnan(v)) return 0;
    if (v > 4.0e15) return int64_t(4.0e15);
    if (v < -4.0e15) return -int64_t(4.0e15);
    return int64_t(std::trunc(v));
}

int32_t Fit32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

bool ClipSpan(int64_t& a, int64_t& n, int64_t limit, int64_t& otherPos, int64_t& m) {
    if (n <= 0) return false;
    if (a < 0) {
        const int64_t nOld = n;
        n += a;
        if (n <= 0) return false;
        const int64_t mNew = MulDiv(m, n, nOld);
        otherPos -= MulDiv(a, mNew, n);
        m = mNew;
        a = 0;
    }
    if (a + n > limit) {
        const int64_t nOld = n;
        n = limit - a;
        if (n <= 0) return false;
        m = MulDiv(m, n, nOld);
        if (m == 0) m = 1;
    }
    return true;
}

void ClipAxis(int64_t& src, int64_t& dst, int64_t& size, int64_t srcLimit, int64_t dstLimit) {
    if (src < 0) {
        size += src;
        dst -= src;
        src = 0;
    }
    if (src + size > srcLimit) size = srcLimit - src;
    if (dst < 0) {
        size += dst;
        src -= dst;
        dst = 0;
    }
    if (dst + size > dstLimit) size = dstLimit - dst;
}

void RefDraw(RefBoard& b, int64_t x, int64_t y, const TSorvoSheet& s, const TRect& r) {
    int64_t sx = r.Left, sy = r.Top, dx = x, dy = y, w = r.Width(), h = r.Height();
    ClipAxis(sx, dx, w, s.Width(), b.w);
    ClipAxis(sy, dy, h, s.Height(), b.h);
    for (int64_t j = 0; j < h; ++j)
        for (int64_t i = 0; i < w; ++i) RefPixel(b.At(dx + i, dy + j), SheetAt(s, sx + i, sy + j), s);
}

void RefStretch(RefBoard& b, const TRect& dest, const TSorvoSheet& s, const TRect& r) {
    const int64_t sw = r.Width(), sh = r.Height(), dw = dest.Width(), dh = dest.Height();
    if (sw == dw && sh == dh) return RefDraw(b, dest.Left, dest.Top, s, r);
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    int64_t sx = r.Left, sy = r.Top, dx = dest.Left, dy = dest.Top, csw = sw, csh = sh, cdw = dw, cdh = dh;
    if (!ClipSpan(sx, csw, s.Width(), dx, cdw) || !ClipSpan(dx, cdw, b.w, sx, csw)) return;
    if (!ClipSpan(sy, csh, s.Height(), dy, cdh) || !ClipSpan(dy, cdh, b.h, sy, csh)) return;
    if (csw <= 0 || csh <= 0 || cdw <= 0 || cdh <= 0) return;
    for (int64_t j = 0; j < cdh; ++j) {
        const int64_t row = r.Top + MulDiv(dy + j - dest.Top, sh, dh);
        if (row < 0 || row >= s.Height()) continue;
        for (int64_t i = 0; i < cdw; ++i) {
            const int64_t col = r.Left + MulDiv(dx + i - dest.Left, sw, dw);
            if (col >= 0 && col < s.Width()) RefPixel(b.At(dx + i, dy + j), SheetAt(s, col, row), s);
        }
    }
}

void RefZoom(RefBoard& b, int32_t x, int32_t y, const TSorvoSheet& s, const TRect& r, int32_t hw, int32_t hh,
             double zoom) {
    if (zoom == 1.0) return RefDraw(b, Fit32(int64_t(x) - hw), Fit32(int64_t(y) - hh), s, r);
    if (!std::isfinite(zoom)) return;
    auto round = [](double v) { return Fit32(Trunc(std::nearbyint(v))); };
    RefStretch(b, TRect(round(x - hw * zoom), round(y - hh * zoom), round(x + hw * zoom), round(y + hh * zoom)), s, r);
}

void RefRotate(RefBoard& b, int32_t x, int32_t y, const TSorvoSheet& s, const TRect& r, int32_t halfWidth,
               int32_t halfHeight, uint8_t angle, double zoom) {
    if (!(zoom > 0) || !std::isfinite(zoom)) return;
    const double sn = TableSin(angle), cs = TableCos(angle);
    const double w = double(r.Width()), h = double(r.Height()), hw = halfWidth, hh = halfHeight;
    const int64_t p0x = Trunc(x - (hw * cs - hh * sn) * zoom), p0y = Trunc(y - (hw * sn + hh * cs) * zoom);
    const int64_t p1x = Trunc(w * cs * zoom + double(p0x)), p1y = Trunc(w * sn * zoom + double(p0y));
    const int64_t p2x = Trunc(double(p0x) - h * sn * zoom), p2y = Trunc(h * cs * zoom + double(p0y));
    const int64_t p3x = Trunc(w * cs * zoom + double(p2x)), p3y = Trunc(w * sn * zoom + double(p2y));
    const int64_t left = std::max<int64_t>(std::min({p0x, p1x, p2x, p3x}), 0);
    const int64_t top = std::max<int64_t>(std::min({p0y, p1y, p2y, p3y}), 0);
    const int64_t right = std::min<int64_t>(std::max({p0x, p1x, p2x, p3x}), b.w);
    const int64_t bottom = std::min<int64_t>(std::max({p0y, p1y, p2y, p3y}), b.h);
    const int64_t stepLimit = int64_t(1) << 40;
    const int64_t du = std::clamp<int64_t>(Trunc(65536.0 * cs / zoom), -stepLimit, stepLimit);
    const int64_t dv = std::clamp<int64_t>(Trunc(-65536.0 * sn / zoom), -stepLimit, stepLimit);
    const int64_t colLo = std::max<int64_t>(r.Left, 0), colHi = std::min<int64_t>(r.Right, s.Width());
    const int64_t rowLo = std::max<int64_t>(r.Top, 0), rowHi = std::min<int64_t>(r.Bottom, s.Height());
    for (int64_t py = top; py < bottom; ++py) {
        const double rx = double(left - x), ry = double(py - y);
        int64_t u = Trunc(std::clamp(((rx * cs + ry * sn) / zoom + r.Left + hw) * 65536.0, -4.0e15, 4.0e15));
        int64_t v = Trunc(std::clamp(((-rx * sn + ry * cs) / zoom + r.Top + hh) * 65536.0, -4.0e15, 4.0e15));
        for (int64_t px = left; px < right; ++px, u += du, v += dv) {
            const int64_t col = u >> 16, row = v >> 16;
            if (col >= colLo && col < colHi && row >= rowLo && row < rowHi)
                RefPixel(b.At(px, py), SheetAt(s, col, row), s);
        }
    }
}

void RefWave(RefBoard& b, int32_t x, int32_t y, const TSorvoSheet& s, const TRect& r, int32_t halfWidth,
             int32_t halfHeight, int32_t amplitude, int32_t period, int32_t phase, double zoom) {
    if (!std::isfinite(zoom)) return;
    const int64_t left = x - Trunc(halfWidth * zoom), top = y - Trunc(halfHeight * zoom);
    const int64_t right = x + Trunc(halfWidth * zoom), bottom = y + Trunc(halfHeight * zoom);
    const int64_t sw = r.Width(), sh = r.Height();
    const int64_t destWidth = Trunc(double(sw) * zoom), destHeight = Trunc(double(sh) * zoom);
    int64_t srcTop = r.Top, srcRows = sh, destTop = top, destRows = destHeight;
    if (!ClipSpan(srcTop, srcRows, s.Height(), destTop, destRows) || !ClipSpan(destTop, destRows, b.h, srcTop, srcRows))
        return;
    if (srcRows <= 0 || destRows <= 0 || right <= left || bottom <= top) return;
    if (period <= 0 || destWidth <= 0 || sw <= 0) return;
    for (int64_t j = 0; j < destRows; ++j) {
        const int64_t srcRow =
            srcTop + std::min(srcRows - 1, MulDiv(destTop + j - top, sh, bottom - top) - (srcTop - r.Top));
        if (srcRow < 0 || srcRow >= s.Height()) continue;
        const uint8_t angle = uint8_t((phase + MulDiv(256 * j, srcRows, destRows) / period) & 255);
        const int64_t origin = left + Trunc(TableSin(angle) * amplitude * zoom);
        for (int64_t i = std::max<int64_t>(0, -origin); i < std::min<int64_t>(destWidth, b.w - origin); ++i) {
            const int64_t col = r.Left + std::min(sw - 1, MulDiv(i, sw, right - left));
            if (col >= 0 && col < s.Width()) RefPixel(b.At(origin + i, destTop + j), SheetAt(s, col, srcRow), s);
        }
    }
}

// ---- Fixtures -------------------------------------------------------------

// A sheet of patches and holes (index 0 in blocks and single pixels) with
// a full palette, so every index maps to its own colour.
void PatternSheet(TSorvoSheet& s, int w, int h, unsigned seed) {
    s.SetSize(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool hole = ((x / 5 + y / 3) % 4 == 0) || rng() % 9 == 0;
            s.ScanLine(y)[x] = hole ? 0 : uint8_t(1 + rng() % 255);
        }
    for (int i = 0; i < 256; ++i) s.SetPaletteEntry(i, uint8_t(rng()), uint8_t(rng()), uint8_t(rng()));
    s.UpdateColorTable();
}

struct Pair {
    TSorvoBoard board;
    RefBoard ref;
    Pair(int w, int h) {
        board.SetSize(w, h);
        ref.w = w;
        ref.h = h;
        ref.px.resize(size_t(w) * size_t(h));
    }
    std::vector<uint16_t> before;
    int drawn = 0;  // cases that changed the board
    void Noise(std::mt19937& rng) {
        for (auto& p : ref.px) p = uint16_t(rng());
        std::memcpy(board.Bits(), ref.px.data(), ref.px.size() * 2);
        before = ref.px;
    }
    bool Same() {
        if (ref.px != before) ++drawn;
        return std::memcmp(board.Bits(), ref.px.data(), ref.px.size() * 2) == 0;
    }
    // A fingerprint of the board, to pin whole runs to the output of the
    // blits as first written (the sine table comes from the C library, so
    // another library may shift a rounding and need a new fingerprint).
    uint64_t Hash() const {
        uint64_t h = 1469598103934665603ull;
        for (uint16_t p : ref.px) h = (h ^ p) * 1099511628211ull;
        return h;
    }
};

// Each sheet state the blits distinguish: keyed or not, opaque or mixed.
struct Look {
    bool transparent;
    int opacity;
};
constexpr Look kLooks[] = {{true, 255}, {false, 255}, {true, 128}, {false, 77}, {true, 3}, {false, 300}, {true, -4}};

// Every case runs on each path the processor has: the portable loops, and
// the AVX2 and AVX-512 wide loops.
class BlitReference : public testing::TestWithParam<BlitPath> {
protected:
    void SetUp() override { SetBlitPathForTesting(GetParam()); }
    void TearDown() override { SetWideBlitsForTesting(true); }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(EveryPath, BlitReference, testing::ValuesIn(AvailableBlitPaths()),
                         [](const testing::TestParamInfo<BlitPath>& info) { return BlitPathName(info.param); });

TEST_P(BlitReference, RotationMatchesTheReferenceAtEveryAngle) {
    TSorvoSheet s;
    PatternSheet(s, 37, 29, 1);
    Pair p(96, 72);
    std::mt19937 rng(11);
    uint64_t fold = 0;
    // Every angle at a few zooms, centred and across each edge.
    for (int angle = 0; angle < 256; ++angle)
        for (double zoom : {1.0, 1.37, 0.61}) {
            const Look look = kLooks[size_t(angle) % std::size(kLooks)];
            s.Transparent = look.transparent;
            s.Opacity = look.opacity;
            const int x = int(rng() % 140) - 22, y = int(rng() % 110) - 19;
            p.Noise(rng);
            p.board.RotateDraw(x, y, s, s.GetBoundsRect(), 18, 14, uint8_t(angle), zoom);
            RefRotate(p.ref, x, y, s, s.GetBoundsRect(), 18, 14, uint8_t(angle), zoom);
            ASSERT_TRUE(p.Same()) << "angle " << angle << " zoom " << zoom << " at " << x << "," << y;
            fold = fold * 31 + p.Hash();
        }
    // Random source rectangles (part outside the sheet, back to front),
    // odd centres, tiny to large zooms, far and negative positions.
    const double zooms[] = {1e-6, 0.02, 0.5, 0.999, 1.0, 1.001, 1.5, 2.0, 3.7, 9.0, 40.0};
    const int places[] = {-100000, -300, -40, -1, 0, 13, 48, 95, 96, 130, 5000, INT32_MIN / 2, INT32_MAX / 2};
    for (int k = 0; k < 1500; ++k) {
        const Look look = kLooks[rng() % std::size(kLooks)];
        s.Transparent = look.transparent;
        s.Opacity = look.opacity;
        const bool wild = rng() % 4 == 0;
        const int l = int(rng() % (wild ? 50 : 34)) - (wild ? 8 : 4),
                  t = int(rng() % (wild ? 40 : 26)) - (wild ? 6 : 4);
        const TRect r(l, t, l + int(rng() % 44) - (wild ? 4 : -1), t + int(rng() % 36) - (wild ? 4 : -1));
        const int hw = int(rng() % 40) - 5, hh = int(rng() % 30) - 5;
        const bool far = rng() % 8 == 0;
        const int x = far ? places[rng() % std::size(places)] : int(rng() % 130) - 17;
        const int y = far ? places[rng() % std::size(places)] : int(rng() % 100) - 14;
        const double zoom = rng() % 3 ? zooms[rng() % std::size(zooms)] : 0.2 + (rng() % 10000) / 2000.0;
        const uint8_t angle = uint8_t(rng());
        p.Noise(rng);
        p.board.RotateDraw(x, y, s, r, hw, hh, angle, zoom);
        RefRotate(p.ref, x, y, s, r, hw, hh, angle, zoom);
        ASSERT_TRUE(p.Same()) << "case " << k << " angle " << int(angle) << " zoom " << zoom << " at " << x << "," << y
                              << " rect " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
        fold = fold * 31 + p.Hash();
    }
    // Sheets 32768 or more pixels along a side step beyond 32 bits in the
    // source and take the portable loop.
    const int drawnBefore = p.drawn;
    for (const auto& [w, h] : {std::pair{40000, 3}, std::pair{2, 33000}}) {
        TSorvoSheet big;
        PatternSheet(big, w, h, 9);
        for (int k = 0; k < 12; ++k) {
            big.Transparent = k % 2;
            big.Opacity = k % 3 ? 255 : 140;
            const TRect r = k % 4 < 2 ? big.GetBoundsRect() : TRect(w - 30, h - 2, w, h);
            const int hw = k % 4 < 2 ? w / 2 - 40 + k * 7 : 15, hh = k % 4 < 2 ? h / 2 - 30 + k * 5 : 1;
            const uint8_t angle = uint8_t(k * 23);
            p.Noise(rng);
            p.board.RotateDraw(48, 36, big, r, hw, hh, angle, 1.0 + k * 0.1);
            RefRotate(p.ref, 48, 36, big, r, hw, hh, angle, 1.0 + k * 0.1);
            ASSERT_TRUE(p.Same()) << "big sheet " << w << "x" << h << " case " << k;
            fold = fold * 31 + p.Hash();
        }
    }
    EXPECT_GE(p.drawn - drawnBefore, 16);
    EXPECT_GT(p.drawn, 1000);  // enough cases reach the board to count
    EXPECT_EQ(fold, 359708460461985439u) << "pinned fingerprint";
}

TEST_P(BlitReference, WaveMatchesTheReferenceAtEveryStrengthAndPhase) {
    TSorvoSheet s;
    PatternSheet(s, 41, 33, 2);
    Pair p(100, 76);
    std::mt19937 rng(12);
    uint64_t fold = 0;
    const double zooms[] = {1.0, 1.01, 1.37, 1.5, 2.0, 0.5, 0.73, 3.2, 0.05, 0.0, -1.0, 25.0};
    const int amplitudes[] = {0, 1, 4, 8, 12, 8, -5, 40, 300, 100000};
    const int periods[] = {32, 1, 7, 16, 32, 5, 1000, 0, -3};
    for (int k = 0; k < 2500; ++k) {
        const Look look = kLooks[size_t(k) % std::size(kLooks)];
        s.Transparent = look.transparent;
        s.Opacity = look.opacity;
        TRect r = s.GetBoundsRect();
        if (k % 3 == 1) {
            const int l = int(rng() % 30) - 6, t = int(rng() % 26) - 6;
            r = TRect(l, t, l + int(rng() % 40) - 3, t + int(rng() % 34) - 3);
        }
        const int hw = k % 5 == 4 ? int(rng() % 40) - 5 : int(r.Width() / 2);
        const int hh = k % 5 == 4 ? int(rng() % 30) - 5 : int(r.Height() / 2);
        const int x = k % 11 == 10 ? int(rng() % 400000) - 200000 : int(rng() % 150) - 25;
        const int y = k % 13 == 12 ? int(rng() % 400000) - 200000 : int(rng() % 120) - 22;
        const double zoom = k % 4 == 3 ? 0.3 + (rng() % 8000) / 2000.0 : zooms[rng() % std::size(zooms)];
        const int amplitude = amplitudes[rng() % std::size(amplitudes)];
        const int period = periods[rng() % std::size(periods)];
        const int phase = k % 7 == 6 ? int(rng()) : int(rng() % 512) - 100;
        p.Noise(rng);
        p.board.WaveDraw(x, y, s, r, hw, hh, amplitude, period, phase, zoom);
        RefWave(p.ref, x, y, s, r, hw, hh, amplitude, period, phase, zoom);
        ASSERT_TRUE(p.Same()) << "case " << k << " amplitude " << amplitude << " period " << period << " phase "
                              << phase << " zoom " << zoom << " at " << x << "," << y;
        fold = fold * 31 + p.Hash();
    }
    // Huge zooms with a wave: the rows' shifts spread so far apart that
    // each row gets a column map of its own, yet every row stays on the
    // board.
    const int drawnBefore = p.drawn;
    for (int k = 0; k < 60; ++k) {
        const Look look = kLooks[size_t(k) % std::size(kLooks)];
        s.Transparent = look.transparent;
        s.Opacity = look.opacity;
        const double zoom = 500.0 + (rng() % 20000);
        const int amplitude = int(rng() % 101) - 50, period = 1 + int(rng() % 64), phase = int(rng());
        const int x = int(rng() % 100), y = int(rng() % 76);
        p.Noise(rng);
        p.board.WaveDraw(x, y, s, s.GetBoundsRect(), 20, 16, amplitude, period, phase, zoom);
        RefWave(p.ref, x, y, s, s.GetBoundsRect(), 20, 16, amplitude, period, phase, zoom);
        ASSERT_TRUE(p.Same()) << "spread case " << k << " amplitude " << amplitude << " zoom " << zoom;
        fold = fold * 31 + p.Hash();
    }
    EXPECT_GE(p.drawn - drawnBefore, 30);
    EXPECT_GT(p.drawn, 600);  // enough cases reach the board to count
    EXPECT_EQ(fold, 12364271653102953989u) << "pinned fingerprint";
}

TEST_P(BlitReference, PlainStretchAndZoomMatchTheReference) {
    TSorvoSheet s;
    PatternSheet(s, 48, 40, 3);
    Pair p(80, 64);
    std::mt19937 rng(13);
    uint64_t fold = 0;
    for (int k = 0; k < 3000; ++k) {
        const Look look = kLooks[rng() % std::size(kLooks)];
        s.Transparent = look.transparent;
        s.Opacity = look.opacity;
        // Tile-like cells (8 and 16 wide, on the grid) and random ones.
        TRect r;
        if (k % 2) {
            const int side = k % 4 == 1 ? 16 : 8;
            r = RectOfSize(int(rng() % 6) * 8, int(rng() % 5) * 8, side, side);
        } else {
            const int l = int(rng() % 60) - 8, t = int(rng() % 50) - 8;
            r = TRect(l, t, l + int(rng() % 70) - 4, t + int(rng() % 60) - 4);
        }
        const int x = int(rng() % 110) - 20, y = int(rng() % 90) - 16;
        p.Noise(rng);
        switch (k % 3) {
            case 0:
                p.board.Draw(x, y, s, r);
                RefDraw(p.ref, x, y, s, r);
                break;
            case 1: {
                const TRect d = k % 6 == 1 ? RectOfSize(x, y, int(r.Width()), int(r.Height()))
                                           : RectOfSize(x, y, int(rng() % 90) - 5, int(rng() % 70) - 5);
                p.board.StretchDraw(d, s, r);
                RefStretch(p.ref, d, s, r);
                break;
            }
            default: {
                const double zoom = k % 9 == 2 ? 1.0 : 0.1 + (rng() % 6000) / 1500.0;
                p.board.ZoomDraw(x, y, s, r, int(r.Width() / 2), int(r.Height() / 2), zoom);
                RefZoom(p.ref, x, y, s, r, int(r.Width() / 2), int(r.Height() / 2), zoom);
            }
        }
        ASSERT_TRUE(p.Same()) << "case " << k << " at " << x << "," << y;
        fold = fold * 31 + p.Hash();
    }
    EXPECT_GT(p.drawn, 1300);  // enough cases reach the board to count
    EXPECT_EQ(fold, 7138541884430744147u) << "pinned fingerprint";
}

TEST_P(BlitReference, BlankRowsOfTransparentSheetsMatchTheReference) {
    // Sheets blank at the top, at the bottom, in the middle, all over, or
    // with a single inked row: a transparent sheet may skip the blank rows,
    // an opaque one draws them, and both must match the reference.
    TSorvoSheet s;
    Pair p(90, 70);
    std::mt19937 rng(14);
    uint64_t fold = 0;
    for (int shape = 0; shape < 6; ++shape) {
        // Odd shapes are wider than one 64-byte vector step.
        const int width = shape % 2 ? 150 : 33;
        PatternSheet(s, width, 27, 20 + unsigned(shape));
        for (int y = 0; y < 27; ++y) {
            const bool blank = shape == 0   ? y < 13
                               : shape == 1 ? y >= 13
                               : shape == 2 ? y >= 8 && y < 20
                               : shape == 3 ? true
                               : shape == 4 ? y != 5
                                            : y < 2 || y > 24;
            if (blank) std::fill(s.ScanLine(y), s.ScanLine(y) + width, uint8_t(0));
        }
        for (int k = 0; k < 300; ++k) {
            const Look look = kLooks[rng() % std::size(kLooks)];
            s.Transparent = look.transparent;
            s.Opacity = look.opacity;
            TRect r = s.GetBoundsRect();
            if (k % 3 == 1) {
                const int l = int(rng() % 30) - 4, t = int(rng() % 24) - 4;
                r = TRect(l, t, l + 1 + int(rng() % 36), t + 1 + int(rng() % 30));
            }
            const int x = int(rng() % 120) - 15, y = int(rng() % 100) - 15;
            const double zoom = k % 5 == 0 ? 1.0 : 0.4 + (rng() % 6000) / 2000.0;
            p.Noise(rng);
            if (k % 2) {
                const uint8_t angle = uint8_t(rng());
                p.board.RotateDraw(x, y, s, r, int(r.Width() / 2), int(r.Height() / 2), angle, zoom);
                RefRotate(p.ref, x, y, s, r, int(r.Width() / 2), int(r.Height() / 2), angle, zoom);
            } else {
                const int amplitude = int(rng() % 20) - 4, phase = int(rng() % 256);
                p.board.WaveDraw(x, y, s, r, int(r.Width() / 2), int(r.Height() / 2), amplitude, 32, phase, zoom);
                RefWave(p.ref, x, y, s, r, int(r.Width() / 2), int(r.Height() / 2), amplitude, 32, phase, zoom);
            }
            ASSERT_TRUE(p.Same()) << "shape " << shape << " case " << k;
            fold = fold * 31 + p.Hash();
        }
    }
    EXPECT_GT(p.drawn, 900);  // enough cases reach the board to count
    EXPECT_EQ(fold, 15168984313429509887u) << "pinned fingerprint";
}

TEST_P(BlitReference, EveryBlitShowsItsSheetsCurrentColours) {
    // The wide loops may keep a colour table from blit to blit: another
    // sheet's colours, or new colours of the same sheet, must show at once.
    TSorvoSheet a, b;
    PatternSheet(a, 40, 20, 5);
    PatternSheet(b, 40, 20, 6);
    Pair p(64, 48);
    std::mt19937 rng(15);
    p.Noise(rng);
    for (int k = 0; k < 60; ++k) {
        TSorvoSheet& s = k % 4 == 0 ? b : a;
        if (k % 5 == 4) {
            for (int i = 0; i < 256; i += 3) s.SetPaletteEntry(i, uint8_t(rng()), uint8_t(rng()), uint8_t(rng()));
            s.UpdateColorTable();
        }
        s.Transparent = k % 2;
        s.Opacity = k % 6 == 5 ? 100 : 255;
        const int x = int(rng() % 50) - 10, y = int(rng() % 40) - 10;
        switch (k % 3) {
            case 0:
                p.board.Draw(x, y, s, s.GetBoundsRect());
                RefDraw(p.ref, x, y, s, s.GetBoundsRect());
                break;
            case 1:
                p.board.RotateDraw(x, y, s, s.GetBoundsRect(), 20, 10, uint8_t(k * 13), 1.3);
                RefRotate(p.ref, x, y, s, s.GetBoundsRect(), 20, 10, uint8_t(k * 13), 1.3);
                break;
            default:
                p.board.WaveDraw(x, y, s, s.GetBoundsRect(), 20, 10, 6, 16, k * 7, 1.2);
                RefWave(p.ref, x, y, s, s.GetBoundsRect(), 20, 10, 6, 16, k * 7, 1.2);
        }
        ASSERT_TRUE(p.Same()) << "case " << k;
    }
}
