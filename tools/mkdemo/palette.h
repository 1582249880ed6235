#pragma once
// The one palette that every demo image shares: index 0 is the transparent
// key, then sixteen hues in ramps of fifteen shades (0 darkest, 7 the hue
// itself, 14 nearly white), then a few single colours.

#include <array>
#include <cstdint>

namespace mkdemo {

struct Rgb {
    uint8_t r, g, b;
};

using Palette = std::array<Rgb, 256>;

enum Hue {
    kGray, kSkin, kBrown, kRed, kOrange, kYellow, kGreen, kForest,
    kTeal, kBlue, kNavy, kPurple, kPink, kSand, kSlate, kIce,
};

inline constexpr int kHueCount = 16;
inline constexpr int kShades = 15;
inline constexpr uint8_t kClear = 0;     // transparent key
inline constexpr uint8_t kInk = 241;     // outline colour
inline constexpr uint8_t kWhite = 242;
inline constexpr uint8_t kBlack = 243;   // opaque black
inline constexpr uint8_t kShadow = 244;  // text shadow

// Palette index of a hue at a shade (0..14, clamped).
constexpr uint8_t Shade(Hue hue, int shade) {
    return static_cast<uint8_t>(1 + static_cast<int>(hue) * kShades + (shade < 0 ? 0 : shade > 14 ? 14 : shade));
}

const Palette& DemoPalette();

}  // namespace mkdemo
