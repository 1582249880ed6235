// The board and its blitters: the pixel rule, clipping at every edge of the
// board and of the sheet, the scaling maps, rotation, the wave, and the
// brightness hand-over.
#include "media/board/board.h"

#include <gtest/gtest.h>

#include <random>

#include "media/board/angle_tables.h"
#include "media/board/table_row.h"
#include "platform/headless/headless_platform.h"

namespace {

// A sheet of random indices whose table is 1000 + index, so a board pixel
// tells which index was drawn.
void NoiseSheet(TSorvoSheet& s, int w, int h, unsigned seed) {
    s.SetSize(w, h);
    std::mt19937 rng(seed);
    for (int i = 0; i < w * h; ++i) s.Pixels()[i] = uint8_t(rng() % 8);
    for (int i = 0; i < 256; ++i) s.SetPaletteEntry(i, uint8_t(i * 8), uint8_t(i * 4), uint8_t(i * 8));
    s.UpdateColorTable();
}

constexpr uint16_t kBack = 0x1234;

void Fill(TSorvoBoard& b, uint16_t v) {
    std::fill(b.Bits(), b.Bits() + b.Width() * b.Height(), v);
}

uint16_t Mix(uint16_t s, uint16_t d, int w, int v) {
    int r = ((s >> 11) * w + (d >> 11) * v) >> 8;
    int g = (((s >> 5) & 63) * w + ((d >> 5) & 63) * v) >> 8;
    int b = ((s & 31) * w + (d & 31) * v) >> 8;
    return uint16_t((r << 11) | (g << 5) | b);
}

// What a board pixel holding `before` becomes when index c of the sheet is
// drawn over it.
uint16_t Expected(const TSorvoSheet& s, uint8_t c, uint16_t before) {
    if (s.Transparent && c == 0) return before;
    int op = std::clamp(s.Opacity, 0, 255);
    if (op == 255) return s.ColorTable[c];
    return Mix(s.ColorTable[c], before, op + 1, 256 - op);
}

}  // namespace

TEST(Board, SizeClearAndFill) {
    TSorvoBoard b;
    b.SetSize(5, 4);
    EXPECT_EQ(b.Stride(), 10);
    Fill(b, 7);
    b.SetSize(5, 4);  // same size still clears
    EXPECT_EQ(b.ScanLine(3)[4], 0);
    b.SetSize(3, 1);  // a single row clears too
    Fill(b, 7);
    b.Clear();
    EXPECT_EQ(b.ScanLine(0)[2], 0);

    b.SetSize(4, 4);
    b.FillRect(TRect(-2, 1, 2, 9), RgbColor(255, 255, 255));
    EXPECT_EQ(b.ScanLine(1)[1], 0xFFFF);
    EXPECT_EQ(b.ScanLine(3)[0], 0xFFFF);
    EXPECT_EQ(b.ScanLine(0)[0], 0);
    EXPECT_EQ(b.ScanLine(1)[2], 0);
    // 24 to 16 bits truncates; brightness adjusts each component first.
    b.FillRect(TRect(0, 0, 1, 1), RgbColor(0x0F, 0x07, 0xFF));
    EXPECT_EQ(b.ScanLine(0)[0], (1 << 11) | (1 << 5) | 31);
    b.Brightness = 0;
    b.FillRect(TRect(0, 0, 4, 4), RgbColor(255, 200, 100));
    EXPECT_EQ(b.ScanLine(2)[2], 0);
    b.Brightness = 150;
    b.FillRect(TRect(0, 0, 1, 1), RgbColor(100, 0, 255));
    // 100 + 50 * 155 / 100 = 177; 0 + 127 = 127.
    EXPECT_EQ(b.ScanLine(0)[0], ((177 >> 3) << 11) | ((127 >> 2) << 5) | 31);
}

TEST(Board, CopyFromBoardClipsAndHandlesOverlap) {
    TSorvoBoard a, b;
    a.SetSize(4, 4);
    for (int i = 0; i < 16; ++i) a.Bits()[i] = uint16_t(i);
    b.SetSize(3, 3);
    b.CopyFromBoard(-1, 1, a, TRect(0, 0, 4, 4));
    EXPECT_EQ(b.ScanLine(1)[0], 1);
    EXPECT_EQ(b.ScanLine(2)[1], 6);
    EXPECT_EQ(b.ScanLine(0)[0], 0);
    a.CopyFromBoard(0, 1, a, TRect(0, 0, 4, 3));  // down by one row, overlapping
    EXPECT_EQ(a.ScanLine(3)[0], 8);
    EXPECT_EQ(a.ScanLine(1)[3], 3);
}

TEST(Board, PixelRuleInThePlainBlit) {
    TSorvoSheet s;
    NoiseSheet(s, 8, 8, 1);
    TSorvoBoard b;
    b.SetSize(8, 8);
    for (bool transparent : {false, true})
        for (int opacity : {255, 300, 128, 0, -20}) {
            s.Transparent = transparent;
            s.Opacity = opacity;
            Fill(b, kBack);
            b.Draw(0, 0, s, s.GetBoundsRect());
            for (int i = 0; i < 64; ++i)
                ASSERT_EQ(b.Bits()[i], Expected(s, s.Pixels()[i], kBack)) << transparent << " " << opacity << " " << i;
        }
    // 128 mixes with weights 129 and 128.
    EXPECT_EQ(Mix(31 << 11, 0, 129, 128), 15 << 11);
}

TEST(Board, WideRowsFollowThePixelRuleInEveryVectorPath) {
    // Rows long enough for the 16- and 32-pixel steps, with ragged ends.
    TSorvoSheet s;
    NoiseSheet(s, 157, 3, 8);
    std::mt19937 rng(4);
    for (int i = 0; i < 256; ++i) s.SetPaletteEntry(i, uint8_t(rng()), uint8_t(rng()), uint8_t(rng()));
    s.UpdateColorTable();
    for (int i = 0; i < 157 * 3; i += 3) s.Pixels()[i] = uint8_t(rng());  // all 256 indices occur
    TSorvoBoard b;
    b.SetSize(160, 3);
    for (bool transparent : {false, true})
        for (int opacity : {255, 200, 128, 1, 0}) {
            s.Transparent = transparent;
            s.Opacity = opacity;
            for (int i = 0; i < 160 * 3; ++i) b.Bits()[i] = uint16_t(rng());
            std::vector<uint16_t> before(b.Bits(), b.Bits() + 160 * 3);
            b.Draw(1, 0, s, s.GetBoundsRect());
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 160; ++x) {
                    const uint16_t old = before[size_t(y) * 160 + x];
                    const uint16_t want = (x >= 1 && x < 158) ? Expected(s, s.ScanLine(y)[x - 1], old) : old;
                    ASSERT_EQ(b.ScanLine(y)[x], want) << transparent << " " << opacity << " " << x << "," << y;
                }
        }
}

TEST(Board, PlainBlitClipsAtEveryEdge) {
    TSorvoSheet s;
    NoiseSheet(s, 7, 5, 2);
    s.Transparent = true;
    TSorvoBoard b;
    b.SetSize(10, 9);
    for (int x = -9; x <= 11; ++x)
        for (int y = -7; y <= 10; ++y)
            for (const TRect& src : {TRect(0, 0, 7, 5), TRect(-2, -3, 9, 6), TRect(3, 2, 5, 4), TRect(6, 4, 2, 1)}) {
                Fill(b, kBack);
                b.Draw(x, y, s, src);
                for (int py = 0; py < 9; ++py)
                    for (int px = 0; px < 10; ++px) {
                        const int sx = src.Left + px - x, sy = src.Top + py - y;
                        const bool in = sx >= std::max(0, src.Left) && sx < std::min(7, src.Right) &&
                                        sy >= std::max(0, src.Top) && sy < std::min(5, src.Bottom);
                        const uint16_t want = in ? Expected(s, s.ScanLine(sy)[sx], kBack) : kBack;
                        ASSERT_EQ(b.ScanLine(py)[px], want) << x << "," << y << " px " << px << "," << py;
                    }
            }
}

TEST(Board, StretchMapsUseTheUnclippedSizes) {
    TSorvoSheet s;
    NoiseSheet(s, 6, 5, 3);
    TSorvoBoard b;
    b.SetSize(12, 10);
    std::mt19937 rng(9);
    for (int round = 0; round < 3000; ++round) {
        auto r = [&](int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); };
        TRect src(r(-3, 4), r(-3, 4), 0, 0), dst(r(-15, 12), r(-15, 10), 0, 0);
        src.Right = src.Left + r(-1, 8);
        src.Bottom = src.Top + r(-1, 8);
        dst.Right = dst.Left + r(-1, 25);
        dst.Bottom = dst.Top + r(-1, 25);
        s.Transparent = rng() & 1;
        s.Opacity = (rng() & 1) ? 255 : 100;
        Fill(b, kBack);
        b.StretchDraw(dst, s, src);
        const int64_t sw = src.Width(), sh = src.Height(), dw = dst.Width(), dh = dst.Height();
        for (int py = 0; py < 10; ++py)
            for (int px = 0; px < 12; ++px) {
                const uint16_t got = b.ScanLine(py)[px];
                if (got == kBack) continue;
                // Every written pixel lies in the destination and shows the
                // mapped source pixel, which lies inside the sheet.
                ASSERT_TRUE(px >= dst.Left && px < dst.Right && py >= dst.Top && py < dst.Bottom) << round;
                int64_t sx = src.Left + (px - dst.Left) * sw / dw, sy = src.Top + (py - dst.Top) * sh / dh;
                if (sw == dw && sh == dh) sx = src.Left + px - dst.Left, sy = src.Top + py - dst.Top;
                ASSERT_TRUE(sx >= 0 && sx < 6 && sy >= 0 && sy < 5) << round;
                ASSERT_EQ(got, Expected(s, s.ScanLine(int(sy))[sx], kBack)) << round;
            }
    }
    // A source starting one column before the sheet, stretched to 10: the
    // clipped destination starts at a pixel that maps to column -1, which
    // stays untouched; the rest show their mapped columns.
    s.Transparent = false;
    s.Opacity = 255;
    Fill(b, kBack);
    b.StretchDraw(TRect(0, 0, 10, 5), s, TRect(-1, 0, 2, 5));
    int shown = 0;
    for (int px = 0; px < 10; ++px) {
        const int64_t sx = -1 + px * 3 / 10;
        if (sx < 0) {
            EXPECT_EQ(b.ScanLine(0)[px], kBack) << px;
        } else if (b.ScanLine(0)[px] != kBack) {
            EXPECT_EQ(b.ScanLine(0)[px], s.ColorTable[s.ScanLine(0)[sx]]) << px;
            ++shown;
        }
    }
    EXPECT_EQ(shown, 5);
}

TEST(Board, ZoomPlacesTheCentre) {
    TSorvoSheet s;
    NoiseSheet(s, 4, 4, 4);
    TSorvoBoard a, b;
    a.SetSize(20, 20);
    b.SetSize(20, 20);
    a.ZoomDraw(10, 10, s, s.GetBoundsRect(), 2, 2, 1.0);
    b.Draw(8, 8, s, s.GetBoundsRect());
    EXPECT_TRUE(std::equal(a.Bits(), a.Bits() + 400, b.Bits()));
    b.Clear();
    b.ZoomDraw(10, 10, s, s.GetBoundsRect(), 2, 2, 2.0);  // box (6,6)-(14,14)
    EXPECT_EQ(b.ScanLine(6)[6], s.ColorTable[s.ScanLine(0)[0]]);
    EXPECT_EQ(b.ScanLine(13)[13], s.ColorTable[s.ScanLine(3)[3]]);
    EXPECT_EQ(b.ScanLine(5)[6], 0);
    EXPECT_EQ(b.ScanLine(14)[14], 0);
    b.ZoomDraw(10, 10, s, s.GetBoundsRect(), 2, 2, 1e300);  // no crash
    b.ZoomDraw(10, 10, s, s.GetBoundsRect(), 2, 2, std::nan(""));
}

TEST(Board, RotationQuarterTurnsAndGuards) {
    TSorvoSheet s;
    NoiseSheet(s, 6, 4, 5);
    TSorvoBoard a, b;
    a.SetSize(20, 20);
    b.SetSize(20, 20);
    a.RotateDraw(10, 10, s, s.GetBoundsRect(), 3, 2, 0, 1.0);
    b.Draw(7, 8, s, s.GetBoundsRect());
    EXPECT_TRUE(std::equal(a.Bits(), a.Bits() + 400, b.Bits()));
    // A quarter turn: source columns run down the board, source rows
    // right to left. The walk is in floating point then 16.16, so a column
    // may come out one less where a product lands a hair below a whole
    // number (as the fixed-point walk does by design).
    a.Clear();
    for (int i = 0; i < 24; ++i) s.Pixels()[i] = uint8_t(i + 1);
    for (int i = 0; i < 256; ++i) s.ColorTable[i] = uint16_t(i);
    s.Brightness = a.Brightness;
    a.RotateDraw(10, 10, s, s.GetBoundsRect(), 3, 2, 64, 1.0);
    int drawn = 0;
    for (int py = 0; py < 20; ++py)
        for (int px = 0; px < 20; ++px)
            if (const int got = a.ScanLine(py)[px]) {
                ++drawn;
                const int u = (got - 1) % 6, v = (got - 1) / 6;
                EXPECT_EQ(v, -(px - 10) + 2) << px << "," << py;
                EXPECT_TRUE(u == py - 10 + 3 || u == py - 10 + 2) << px << "," << py;
            }
    EXPECT_GE(drawn, 15);
    NoiseSheet(s, 6, 4, 5);
    // Zoom 0 or below draws nothing and hands nothing over.
    a.Brightness = 50;
    a.RotateDraw(10, 10, s, s.GetBoundsRect(), 3, 2, 0, 0.0);
    EXPECT_EQ(s.Brightness, 100);
    // The hand-over comes before the empty-box exit.
    a.RotateDraw(-100, -100, s, s.GetBoundsRect(), 3, 2, 0, 1.0);
    EXPECT_EQ(s.Brightness, 50);
    // Tiny and huge zooms, sources beyond the sheet: nothing read outside.
    for (double zoom : {1e-9, 1e-4, 0.3, 7.0, 1e9})
        for (int angle : {0, 13, 64, 100, 200})
            a.RotateDraw(10, 10, s, TRect(-3, -3, 9, 8), 3, 2, uint8_t(angle), zoom);
}

TEST(Board, WaveShiftsRowsAndCutsThemAtTheEdges) {
    TSorvoSheet s;
    NoiseSheet(s, 8, 6, 6);
    TSorvoBoard a, b;
    a.SetSize(30, 30);
    b.SetSize(30, 30);
    // Amplitude 0 is a centred zoom whose columns map through the box.
    a.WaveDraw(15, 15, s, s.GetBoundsRect(), 4, 3, 0, 32, 0, 2.0);
    b.StretchDraw(TRect(7, 9, 23, 21), s, s.GetBoundsRect());
    EXPECT_TRUE(std::equal(a.Bits(), a.Bits() + 900, b.Bits()));
    // Row j is shifted by trunc(sin(angle) * amplitude * zoom).
    a.Clear();
    a.WaveDraw(15, 15, s, s.GetBoundsRect(), 4, 3, 5, 4, 64, 1.0);
    const int shift0 = int(std::trunc(TableSin(64) * 5));  // row 0: angle = phase
    EXPECT_EQ(a.ScanLine(12)[11 + shift0], s.ColorTable[s.ScanLine(0)[0]]);
    const int shift1 = int(std::trunc(TableSin(64 + 256 / 4) * 5));
    EXPECT_EQ(a.ScanLine(13)[11 + shift1], s.ColorTable[s.ScanLine(1)[0]]);
    // Period 0 still hands the brightness over, then draws nothing.
    a.Clear();
    a.Brightness = 30;
    a.WaveDraw(15, 15, s, s.GetBoundsRect(), 4, 3, 5, 0, 0, 1.0);
    EXPECT_EQ(s.Brightness, 30);
    EXPECT_TRUE(std::all_of(a.Bits(), a.Bits() + 900, [](uint16_t p) { return p == 0; }));
    // Rows pushed past either side, sources beyond the sheet, odd zooms.
    for (int x : {-20, 0, 15, 29, 50})
        for (double zoom : {0.01, 0.5, 1.0, 3.0, 1e7})
            a.WaveDraw(x, x, s, TRect(-4, -4, 12, 10), 8, 7, 40, 3, -77, zoom);
    // Found by fuzzing: at a zoom of 1e14 a row starts far to the left of
    // the board's memory while the columns it shows are inside the board.
    a.Brightness = 100;
    for (int x : {-20, 0, 15}) {
        a.Clear();
        a.WaveDraw(x, x, s, TRect(-4, -4, 12, 10), 8, 7, 0, 3, 0, 1e14);
        EXPECT_TRUE(std::any_of(a.Bits(), a.Bits() + 900, [](uint16_t p) { return p != 0; })) << x;
    }
}

TEST(Board, BrightnessIsHandedToEachSheetDrawn) {
    TSorvoSheet s;
    NoiseSheet(s, 2, 2, 7);
    s.SetPaletteEntry(1, 255, 255, 255);
    s.UpdateColorTable();
    TSorvoBoard b;
    b.SetSize(4, 4);
    b.Brightness = 0;
    b.Draw(10, 10, s, s.GetBoundsRect());  // clipped away: no hand-over
    EXPECT_EQ(s.Brightness, 100);
    b.Draw(0, 0, s, s.GetBoundsRect());
    EXPECT_EQ(s.Brightness, 0);
    EXPECT_EQ(s.ColorTable[1], 0);
    b.Brightness = 200;
    b.StretchDraw(TRect(0, 0, 4, 4), s, s.GetBoundsRect());
    EXPECT_EQ(s.ColorTable[1], 0xFFFF);
}

TEST(Board, PresentsThroughTheDisplay) {
    platform::HeadlessDisplay display;
    display.SetMode(320, 240, false);
    TSorvoBoard b;
    b.SetSize(320, 240);
    b.FillRect(TRect(0, 0, 1, 1), RgbColor(255, 0, 0));
    b.Present(display, platform::Rect{0, 0, 320, 240});
    ASSERT_EQ(display.frames.size(), 1u);
    EXPECT_EQ(display.frames[0].width, 320);
    EXPECT_EQ(display.frames[0].pixels[0], 31 << 11);
    EXPECT_EQ(display.frames[0].pixels[1], 0);
}

TEST(Board, EveryRowVersionWritesThePortablePixels) {
    std::mt19937 rng(12);
    uint16_t table[256];
    for (auto& t : table) t = uint16_t(rng());
    std::vector<uint8_t> src(300);
    for (auto& c : src) c = uint8_t(rng() % 3 == 0 ? 0 : rng());
    std::vector<uint16_t> base(300), colours(300);
    for (auto& p : base) p = uint16_t(rng());
    for (auto& p : colours) p = uint16_t(rng());
    for (bool skip : {false, true})
        for (size_t n : {size_t(0), size_t(7), size_t(16), size_t(33), size_t(255), size_t(299)}) {
            std::vector<uint16_t> want = base;
            TableRowScalar(want.data() + 1, src.data() + 1, n, table, skip);
            for (TableRowFunction row : TableRowVersions()) {
                std::vector<uint16_t> got = base;
                row(got.data() + 1, src.data() + 1, n, table, skip);
                EXPECT_EQ(got, want) << n << " " << skip;
            }
            for (int opacity : {0, 77, 128, 254}) {
                std::vector<uint16_t> blended = base;
                for (size_t i = 0; i < n; ++i)
                    if (!skip || src[1 + i])
                        blended[1 + i] = Mix(colours[1 + i], base[1 + i], opacity + 1, 256 - opacity);
                for (BlendRowFunction blend : BlendRowVersions()) {
                    std::vector<uint16_t> got = base;
                    blend(got.data() + 1, colours.data() + 1, src.data() + 1, n, uint16_t(opacity + 1),
                          uint16_t(256 - opacity), skip);
                    EXPECT_EQ(got, blended) << n << " " << skip << " " << opacity;
                }
            }
        }
}

TEST(Board, RotationAndWaveFollowThePixelRuleLikeThePlainBlits) {
    // Rotation by 0 at zoom 1 is the plain blit, and a wave of amplitude 0
    // the centred stretch: with every transparency and opacity, on noise.
    TSorvoSheet s;
    NoiseSheet(s, 10, 8, 11);
    TSorvoBoard a, b;
    a.SetSize(24, 24);
    b.SetSize(24, 24);
    std::mt19937 rng(2);
    for (bool transparent : {false, true})
        for (int opacity : {255, 128, 0}) {
            s.Transparent = transparent;
            s.Opacity = opacity;
            for (int i = 0; i < 576; ++i) a.Bits()[i] = b.Bits()[i] = uint16_t(rng());
            a.RotateDraw(12, 12, s, s.GetBoundsRect(), 5, 4, 0, 1.0);
            b.Draw(7, 8, s, s.GetBoundsRect());
            EXPECT_TRUE(std::equal(a.Bits(), a.Bits() + 576, b.Bits())) << transparent << " " << opacity;
            for (int i = 0; i < 576; ++i) a.Bits()[i] = b.Bits()[i] = uint16_t(rng());
            a.WaveDraw(12, 12, s, s.GetBoundsRect(), 5, 4, 0, 32, 0, 2.0);
            b.StretchDraw(TRect(2, 4, 22, 20), s, s.GetBoundsRect());
            EXPECT_TRUE(std::equal(a.Bits(), a.Bits() + 576, b.Bits())) << transparent << " " << opacity;
        }
}
