#include "scenes/title/logo.h"

#include <cstdlib>

#include "media/image/bitmap.h"
#include "media/image/xyz.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;
// Palette: 0-63 the night-sky ramp, 64-127 gold from light to deep,
// 128 the letters' shadow, 129 white.
constexpr uint8_t kSky = 0, kGold = 64, kShadow = 128, kWhite = 129;

// 5x7 capitals of the name, one row a byte (bit 4 leftmost).
const uint8_t kGlyphs[6][7] = {
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},  // V
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},  // A
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},  // R
    {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11},  // N
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E},  // O
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A},  // W
};

Bitmap DrawLogo() {
    Bitmap b;
    b.SetFormat(kWidth, kHeight, 8);
    for (int i = 0; i < 64; ++i) b.Palette[size_t(kSky + i)] = {uint8_t(4 + i / 3), uint8_t(8 + i), uint8_t(40 + i * 2), 0};
    for (int i = 0; i < 64; ++i)
        b.Palette[size_t(kGold + i)] = {uint8_t(255 - i), uint8_t(230 - i * 2), uint8_t(140 - i * 2), 0};
    b.Palette[kShadow] = {2, 4, 20, 0};
    b.Palette[kWhite] = {255, 255, 255, 0};
    auto put = [&](int x, int y, uint8_t c) {
        if (x >= 0 && y >= 0 && x < kWidth && y < kHeight) b.Row(y)[x] = c;
    };
    // Sky: dark at the top, lighter towards the horizon.
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) put(x, y, uint8_t(kSky + y * 63 / (kHeight - 1)));
    // A few fixed stars.
    unsigned seed = 12345;
    for (int i = 0; i < 70; ++i) {
        seed = seed * 1103515245u + 12345u;
        int x = int((seed >> 8) % kWidth);
        seed = seed * 1103515245u + 12345u;
        int y = int((seed >> 8) % 90);
        put(x, y, kWhite);
    }
    // The name, each pixel of the 5x7 glyph a 7x7 block, shadow first.
    constexpr int kScale = 7, kAdvance = 6 * kScale, kTop = 78;
    const int left = (kWidth - (6 * kAdvance - kScale)) / 2;
    for (int pass = 0; pass < 2; ++pass)
        for (int g = 0; g < 6; ++g)
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col) {
                    if (!(kGlyphs[g][row] & (0x10 >> col))) continue;
                    for (int dy = 0; dy < kScale; ++dy)
                        for (int dx = 0; dx < kScale; ++dx) {
                            int x = left + g * kAdvance + col * kScale + dx;
                            int y = kTop + row * kScale + dy;
                            if (pass == 0)
                                put(x + 3, y + 3, kShadow);
                            else
                                put(x, y, uint8_t(kGold + (y - kTop) * 63 / (7 * kScale)));
                        }
                }
    // A gold rule under the name with a diamond in its middle.
    for (int x = 60; x < 260; ++x) put(x, 146, kGold + 10);
    for (int d = 0; d < 6; ++d)
        for (int x = -d; x <= d; ++x) {
            put(160 + x, 140 + d, kGold + 20);
            put(160 + x, 152 - d, kGold + 20);
        }
    return b;
}

}  // namespace

const std::vector<uint8_t>& Logo1Xyz() {
    static const std::vector<uint8_t> bytes = WriteXyz(DrawLogo());
    return bytes;
}
