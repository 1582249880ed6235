#pragma once
// Helpers shared by the scaling blits: exact products of spans that may be
// as large as 32-bit coordinates allow, and the scaled clipping of one span
// against a limit.

#include <cmath>
#include <cstdint>

namespace scaled_clip {

// a * b / c, truncated toward zero, without overflow for 33-bit operands.
// Products that fit 64 bits (nearly all) skip the slow 128-bit division.
inline int64_t MulDiv(int64_t a, int64_t b, int64_t c) {
    int64_t product;
    if (!__builtin_mul_overflow(a, b, &product) && c != -1) return product / c;
    return int64_t((__int128)a * b / c);
}

// Clips the span at `a` of length `n` against [0, limit); the other span
// (position `otherPos`, length `m`) shrinks in proportion and moves in step
// when the start is cut. False when the span is left empty.
inline bool ClipSpan(int64_t& a, int64_t& n, int64_t limit, int64_t& otherPos, int64_t& m) {
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

// A double turned into an integer by truncation, kept far inside 64 bits
// (coordinates that large draw nothing anyway).
inline int64_t TruncClamped(double v) {
    constexpr double kLimit = 4.0e15;
    if (std::isnan(v)) return 0;
    if (v > kLimit) return int64_t(kLimit);
    if (v < -kLimit) return -int64_t(kLimit);
    return int64_t(std::trunc(v));
}

// The same with rounding to the nearest integer, ties to even.
inline int64_t RoundClamped(double v) {
    return TruncClamped(std::nearbyint(v));
}

// 64-bit values fitted into 32 bits for rectangles.
inline int32_t Fit32(int64_t v) {
    return v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : int32_t(v));
}

}  // namespace scaled_clip
