#pragma once
// Small value helpers shared by every subsystem.

#include <cstdint>

// minimum when value < minimum, else maximum when value > maximum, else
// value. The minimum test comes first, so the minimum wins when
// minimum > maximum.
template <typename T>
constexpr T Clamp(T value, T minimum, T maximum) {
    if (value < minimum) return minimum;
    if (value > maximum) return maximum;
    return value;
}

// Arithmetic on values from files is done in 64 bits and clamped to 32 where
// it is stored.
constexpr int32_t ClampToInt32(int64_t v) {
    return v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : int32_t(v));
}

// A drawing position worked out from stored values, kept where the drawing
// code's own offsets (cells, frames, zoom) cannot overflow: a position that
// far out is off the screen either way.
constexpr int32_t ClampToScreen(int64_t v) {
    return v < INT32_MIN / 2 ? INT32_MIN / 2 : (v > INT32_MAX / 2 ? INT32_MAX / 2 : int32_t(v));
}

// ASCII letters only; never locale-dependent.
constexpr bool IsAlpha(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
