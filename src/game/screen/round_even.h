#pragma once
// Rounding of the interpolated effect values: to the nearest integer, ties
// to the even one (2.5 -> 2, 3.5 -> 4). Values beyond 32 bits are clamped
// and a NaN counts as 0, so a damaged save cannot overflow a conversion.

#include <cmath>
#include <cstdint>

inline int32_t RoundEven(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    double r = std::nearbyint(v);
    // nearbyint follows the rounding mode; the default mode is ties-to-even,
    // and nothing here changes it, but make sure of the tie rule anyway.
    if (std::fabs(v - std::trunc(v)) == 0.5) {
        const double down = std::floor(v);
        r = std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
    }
    return int32_t(r);
}

// Floor modulo: the result lies in 0..m-1 for m > 0 whatever the sign of v.
inline int64_t FloorMod(int64_t v, int64_t m) {
    if (m <= 0) return 0;
    const int64_t r = v % m;
    return r < 0 ? r + m : r;
}
