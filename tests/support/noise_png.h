#pragma once
// Pictures of seeded noise saved as PNG, for tests and benchmarks that need
// sheets with something on every pixel. Header-only, so that the benchmarks
// can use it without the test library.

#include <cstdint>
#include <string>

#include "media/image/png.h"

namespace testing_support {

// An 8-bit picture of seeded noise with no index 0, except for holes of
// index 0 in every `holeEvery`-th diagonal band of 4 x 4 blocks when
// `holeEvery` is above 0.
inline void SaveNoisePng(const std::string& path, int width, int height, uint32_t seed, int holeEvery = 0) {
    TSorvoPng png;
    png.SetFormat(width, height, 8);
    for (int i = 0; i < 256; ++i)
        png.Palette[size_t(i)] = PaletteEntry{uint8_t(i * 97), uint8_t(i * 57 + 80), uint8_t(i * 31 + 160), 0};
    uint32_t s = seed;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            s = s * 1664525u + 1013904223u;
            const bool hole = holeEvery > 0 && ((x / 4 + y / 4) % holeEvery == 0);
            png.Row(y)[x] = hole ? 0 : uint8_t(1 + (s >> 24) % 255);
        }
    png.SaveToFile(path);
}

}  // namespace testing_support
