// The one-pass conversion and scaling of frames into the display's pixels:
// colours widened as the screen shows them, whole-factor and uneven
// scaling, clipping at the target's edges, 16- and 32-bit targets.
#include <gtest/gtest.h>

#include <vector>

#include "platform/frame_scaler.h"

using namespace platform;

namespace {

struct Target32 {
    int width, height;
    std::vector<uint32_t> pixels;
    Target32(int w, int h) : width(w), height(h), pixels(size_t(w * h), 0xDEADBEEF) {}
    PixelTarget View() {
        PixelTarget t;
        t.pixels = pixels.data();
        t.width = width;
        t.height = height;
        t.pitchBytes = width * 4;
        return t;
    }
    uint32_t At(int x, int y) const { return pixels[size_t(y * width + x)]; }
};

}  // namespace

TEST(FrameScaler, WidensRgb565ChannelsByRepeatingTheirTopBits) {
    const uint16_t src[4] = {0xF800, 0x07E0, 0x001F, 0x8410};  // red, green, blue, mid grey
    Target32 t(4, 1);
    FrameScaler scaler;
    scaler.Draw565(t.View(), src, 4, 1, 4, Rect{0, 0, 4, 1});
    EXPECT_EQ(t.At(0, 0), 0xFF0000u);
    EXPECT_EQ(t.At(1, 0), 0x00FF00u);
    EXPECT_EQ(t.At(2, 0), 0x0000FFu);
    EXPECT_EQ(t.At(3, 0), 0x848284u);  // 10000 -> 10000100, 100000 -> 10000010

    // A display with red and blue swapped, and one of 16 bits.
    PixelTarget bgr = t.View();
    bgr.format = PixelFormatMasks{4, 0x000000FF, 0x0000FF00, 0x00FF0000};
    scaler.Draw565(bgr, src, 4, 1, 4, Rect{0, 0, 4, 1});
    EXPECT_EQ(t.At(0, 0), 0x0000FFu);
    EXPECT_EQ(t.At(2, 0), 0xFF0000u);
    std::vector<uint16_t> out16(4);
    PixelTarget t16{out16.data(), 4, 1, 8, PixelFormatMasks{2, 0xF800, 0x07E0, 0x001F}};
    scaler.Draw565(t16, src, 4, 1, 4, Rect{0, 0, 4, 1});
    EXPECT_EQ(out16, std::vector<uint16_t>(src, src + 4));
}

TEST(FrameScaler, ScalesByNearestNeighboursAndClipsToTheTarget) {
    // A 3x2 frame with a pitch wider than its width.
    const uint16_t src[2 * 4] = {0x0001, 0x0002, 0x0003, 0xFFFF, 0x0004, 0x0005, 0x0006, 0xFFFF};
    Target32 t(10, 8);
    FrameScaler scaler;
    // Scale 3 at (1,1): 9x6 pixels, each source pixel a 3x3 block.
    scaler.Draw565(t.View(), src, 3, 2, 4, Rect{1, 1, 9, 6});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            if (x < 1 || y < 1 || y > 6) {
                EXPECT_EQ(t.At(x, y), 0xDEADBEEFu) << x << "," << y;  // outside: untouched
                continue;
            }
            uint16_t p = src[((y - 1) / 3) * 4 + (x - 1) / 3];
            uint32_t b = p & 0x1F;
            EXPECT_EQ(t.At(x, y), (b << 3) | (b >> 2)) << x << "," << y;
        }

    // A place partly off the target is clipped, keeping the source mapping.
    Target32 c(4, 4);
    scaler.Draw565(c.View(), src, 3, 2, 4, Rect{-2, -1, 6, 4});
    // Output (x, y) is place (x + 2, y + 1): source column (x + 2) * 3 / 6,
    // source row (y + 1) * 2 / 4.
    auto expect = [&](int x, int y) {
        int sx = (x + 2) * 3 / 6, sy = (y + 1) * 2 / 4;
        uint32_t b = src[sy * 4 + sx] & 0x1F;
        return (b << 3) | (b >> 2);
    };
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(c.At(x, y), expect(x, y)) << x << "," << y;
    EXPECT_EQ(c.At(0, 3), 0xDEADBEEFu);

    // Nothing at all off the target, or with an empty source.
    Target32 n(2, 2);
    scaler.Draw565(n.View(), src, 3, 2, 4, Rect{5, 5, 6, 4});
    scaler.Draw565(n.View(), src, 0, 2, 4, Rect{0, 0, 2, 2});
    EXPECT_EQ(n.At(0, 0), 0xDEADBEEFu);
}

TEST(FrameScaler, MovieFramesAndClearing) {
    const uint32_t src[2] = {0xFF123456, 0x00ABCDEF};
    Target32 t(4, 2);
    FrameScaler scaler;
    scaler.DrawXrgb(t.View(), src, 2, 1, 2, Rect{0, 0, 4, 2});
    EXPECT_EQ(t.At(0, 0), 0x123456u);  // the unused top byte is dropped
    EXPECT_EQ(t.At(3, 1), 0xABCDEFu);
    std::vector<uint16_t> out16(2);
    PixelTarget t16{out16.data(), 2, 1, 4, PixelFormatMasks{2, 0xF800, 0x07E0, 0x001F}};
    scaler.DrawXrgb(t16, src, 2, 1, 2, Rect{0, 0, 2, 1});
    EXPECT_EQ(out16[0], uint16_t((0x12 >> 3) << 11 | (0x34 >> 2) << 5 | (0x56 >> 3)));

    FrameScaler::Clear(t.View(), Rect{1, 0, 10, 1});
    EXPECT_EQ(t.At(0, 0), 0x123456u);
    EXPECT_EQ(t.At(1, 0), 0u);
    EXPECT_EQ(t.At(3, 0), 0u);
    EXPECT_EQ(t.At(3, 1), 0xABCDEFu);
    EXPECT_FALSE(FrameScaler::Supports(PixelFormatMasks{3, 0xFF0000, 0xFF00, 0xFF}));
}
