#include "palette.h"

#include <algorithm>
#include <cmath>

namespace mkdemo {

namespace {

constexpr Rgb kBase[kHueCount] = {
    {128, 128, 132},  // gray
    {228, 176, 136},  // skin
    {140, 92, 52},    // brown
    {204, 48, 48},    // red
    {236, 132, 36},   // orange
    {240, 204, 56},   // yellow
    {84, 168, 64},    // green
    {36, 110, 60},    // forest
    {44, 156, 156},   // teal
    {72, 140, 232},   // blue
    {44, 56, 150},    // navy
    {136, 72, 180},   // purple
    {232, 116, 164},  // pink
    {218, 194, 136},  // sand
    {96, 104, 128},   // slate
    {160, 224, 244},  // ice
};

uint8_t Mix(uint8_t from, uint8_t to, double t) {
    return static_cast<uint8_t>(std::lround(from + (to - from) * t));
}

Palette Build() {
    Palette palette{};
    palette[kClear] = {0, 0, 0};
    for (int hue = 0; hue < kHueCount; ++hue) {
        const Rgb base = kBase[hue];
        for (int shade = 0; shade < kShades; ++shade) {
            Rgb colour;
            if (shade <= 7) {
                // From a deep, slightly blue-tinted dark up to the hue.
                const double t = 0.18 + 0.82 * shade / 7.0;
                colour = {Mix(12, base.r, t), Mix(10, base.g, t), Mix(20, base.b, t)};
            } else {
                const double t = (shade - 7) / 8.0;
                colour = {Mix(base.r, 255, t), Mix(base.g, 255, t), Mix(base.b, 250, t)};
            }
            palette[Shade(static_cast<Hue>(hue), shade)] = colour;
        }
    }
    palette[kInk] = {28, 22, 34};
    palette[kWhite] = {255, 255, 255};
    palette[kBlack] = {2, 2, 4};
    palette[kShadow] = {16, 16, 24};
    for (int i = 245; i < 256; ++i) palette[static_cast<size_t>(i)] = {0, 0, 0};
    return palette;
}

}  // namespace

const Palette& DemoPalette() {
    static const Palette palette = Build();
    return palette;
}

}  // namespace mkdemo
