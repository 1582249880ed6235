#pragma once
// A rectangle of pixels: (Left, Top, Right, Bottom), Right and Bottom
// exclusive. Widths may come out negative for rectangles given back to
// front; every user treats such a rectangle as empty.

#include <cstdint>

#include "data/clamp.h"

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
        : Left(left), Top(top), Right(right), Bottom(bottom) {}

    // Widths in 64 bits: coordinates come from game data and may be extreme.
    constexpr int64_t Width() const { return int64_t(Right) - Left; }
    constexpr int64_t Height() const { return int64_t(Bottom) - Top; }
    constexpr bool operator==(const TRect&) const = default;
};

// A rectangle from its position and size; an edge past the 32-bit range
// stops at its end (such a rectangle lies far off any sheet).
constexpr TRect RectOfSize(int32_t x, int32_t y, int32_t width, int32_t height) {
    return TRect(x, y, ClampToInt32(int64_t(x) + width), ClampToInt32(int64_t(y) + height));
}
