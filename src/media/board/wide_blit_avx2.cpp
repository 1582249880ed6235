// The wide loops for processors with AVX2 but no AVX-512. AVX2 has no word
// permutes across a whole register, so colours come from the table widened
// to 32-bit entries by an eight-lane gather; indices read along a slant or
// through a column map come from gathers of the sheet too. Sixteen pixels
// make a step, 16-bit lanes for the pixel rule. AVX2 has no byte or word
// masks, so a run's ragged end is read under dword gather masks and written
// in pairs of pixels under dword masks, an odd last one alone.
#include "media/board/wide_blit_avx2.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

#include <algorithm>
#include <span>

#include "media/board/index_gather.h"

#define VARNOW_AVX2 __attribute__((target("avx2")))

namespace {

enum Mode { kOpaque, kKeyed, kBlend, kBlendKeyed };

struct Regs {
    const int32_t* table;  // the 256 colours widened to 32 bits
    __m256i w, v;
};

// The sheet's table widened for the gathers. Kept from blit to blit, and
// widened again only when the colours differ: a frame draws most of its
// blits from a few tables (the chip set, the panorama, a picture). The
// comparison is inline, as tiles make it once every 256 pixels.
VARNOW_AVX2 const int32_t* WidenedTable(const uint16_t* table) {
    struct Cache {
        bool filled = false;
        alignas(32) uint16_t colours[256];
        alignas(32) int32_t wide[256];
    };
    thread_local Cache cache;
    const __m256i* from = reinterpret_cast<const __m256i*>(table);
    __m256i* kept = reinterpret_cast<__m256i*>(cache.colours);
    __m256i differ = _mm256_setzero_si256();
    for (int k = 0; k < 16; ++k)
        differ = _mm256_or_si256(differ, _mm256_xor_si256(_mm256_loadu_si256(from + k), _mm256_load_si256(kept + k)));
    if (!cache.filled || !_mm256_testz_si256(differ, differ)) {
        __m256i* wide = reinterpret_cast<__m256i*>(cache.wide);
        for (int k = 0; k < 16; ++k) {
            const __m256i c = _mm256_loadu_si256(from + k);
            _mm256_store_si256(kept + k, c);
            _mm256_store_si256(wide + 2 * k, _mm256_cvtepu16_epi32(_mm256_castsi256_si128(c)));
            _mm256_store_si256(wide + 2 * k + 1, _mm256_cvtepu16_epi32(_mm256_extracti128_si256(c, 1)));
        }
        cache.filled = true;
    }
    return cache.wide;
}

// (s * w + d * v) >> 8 per RGB565 field; every weighted field stays below
// 63 * 257, inside 16 bits.
VARNOW_AVX2 inline __m256i Weigh(__m256i a, __m256i b, const Regs& r) {
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, r.w), _mm256_mullo_epi16(b, r.v)), 8);
}

VARNOW_AVX2 inline __m256i Mix(__m256i s, __m256i d, const Regs& r) {
    const __m256i six = _mm256_set1_epi16(63), five = _mm256_set1_epi16(31);
    const __m256i red = Weigh(_mm256_srli_epi16(s, 11), _mm256_srli_epi16(d, 11), r);
    const __m256i green =
        Weigh(_mm256_and_si256(_mm256_srli_epi16(s, 5), six), _mm256_and_si256(_mm256_srli_epi16(d, 5), six), r);
    const __m256i blue = Weigh(_mm256_and_si256(s, five), _mm256_and_si256(d, five), r);
    return _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi16(red, 11), _mm256_slli_epi16(green, 5)), blue);
}

// Two registers of eight 32-bit values below 65536 to one of sixteen
// 16-bit values, in order.
VARNOW_AVX2 inline __m256i Narrow(__m256i a, __m256i b) {
    return _mm256_permute4x64_epi64(_mm256_packus_epi32(a, b), 0xD8);
}

// The lanes below `left` (of eight; any count) as a gather mask.
VARNOW_AVX2 inline __m256i LaneMask(int64_t left) {
    const int32_t n = int32_t(std::clamp<int64_t>(left, 0, 8));
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(n), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// The colours of sixteen indices (eight in each of i0 and i1, 32-bit
// lanes, each below 256) put onto the board pixels d by the pixel rule.
template <int kMode>
VARNOW_AVX2 inline __m256i Rule(__m256i i0, __m256i i1, __m256i d, const Regs& r) {
    __m256i colours = Narrow(_mm256_i32gather_epi32(r.table, i0, 4), _mm256_i32gather_epi32(r.table, i1, 4));
    if constexpr (kMode == kBlend || kMode == kBlendKeyed) colours = Mix(colours, d, r);
    if constexpr (kMode == kKeyed || kMode == kBlendKeyed)
        colours = _mm256_blendv_epi8(colours, d, _mm256_cmpeq_epi16(Narrow(i0, i1), _mm256_setzero_si256()));
    return colours;
}

// The pixel rule for sixteen indices onto eight board pixels at a and eight
// at b.
template <int kMode>
VARNOW_AVX2 inline void Put(uint16_t* a, uint16_t* b, __m256i i0, __m256i i1, const Regs& r) {
    __m256i d = _mm256_setzero_si256();
    if constexpr (kMode != kOpaque)
        d = _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a))),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)), 1);
    const __m256i colours = Rule<kMode>(i0, i1, d, r);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(a), _mm256_castsi256_si128(colours));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(b), _mm256_extracti128_si256(colours, 1));
}

// The same for the first n (below 16) of the sixteen pixels from dst on;
// nothing past them is read or written: whole pairs of pixels move under a
// dword mask, an odd last one alone.
template <int kMode>
VARNOW_AVX2 void PutPart(uint16_t* dst, size_t n, __m256i i0, __m256i i1, const Regs& r) {
    const __m256i pairs = LaneMask(int64_t(n / 2));
    __m256i d = _mm256_setzero_si256();
    if constexpr (kMode != kOpaque) {
        d = _mm256_maskload_epi32(reinterpret_cast<const int*>(dst), pairs);
        if (n & 1) {
            const __m256i last = _mm256_cmpeq_epi16(_mm256_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15),
                                                    _mm256_set1_epi16(int16_t(n - 1)));
            d = _mm256_blendv_epi8(d, _mm256_set1_epi16(int16_t(dst[n - 1])), last);
        }
    }
    const __m256i colours = Rule<kMode>(i0, i1, d, r);
    _mm256_maskstore_epi32(reinterpret_cast<int*>(dst), pairs, colours);
    if (n & 1) {
        alignas(32) uint16_t out[16];
        _mm256_store_si256(reinterpret_cast<__m256i*>(out), colours);
        dst[n - 1] = out[n - 1];
    }
}

// Eight indices from eight bytes, and sixteen from sixteen.
VARNOW_AVX2 inline __m256i Bytes8(const uint8_t* p) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
}

template <int kMode>
VARNOW_AVX2 void Block(uint16_t* dst, size_t dstPitch, const uint8_t* src, size_t srcPitch, size_t width, size_t rows,
                       const Regs& r) {
    size_t y = 0;
    // Quarters of autotiles are 8 wide: two rows a step.
    if (width == 8) {
        for (; y + 2 <= rows; y += 2)
            Put<kMode>(dst + y * dstPitch, dst + (y + 1) * dstPitch, Bytes8(src + y * srcPitch),
                       Bytes8(src + (y + 1) * srcPitch), r);
    }
    for (; y < rows; ++y) {
        const uint8_t* from = src + y * srcPitch;
        uint16_t* to = dst + y * dstPitch;
        size_t i = 0;
        for (; i + 16 <= width; i += 16) Put<kMode>(to + i, to + i + 8, Bytes8(from + i), Bytes8(from + i + 8), r);
        if (i < width) {
            // Only the row's own bytes are read.
            alignas(32) int32_t indices[16] = {};
            for (size_t k = 0; k < width - i; ++k) indices[k] = from[i + k];
            PutPart<kMode>(to + i, width - i, _mm256_load_si256(reinterpret_cast<const __m256i*>(indices)),
                           _mm256_load_si256(reinterpret_cast<const __m256i*>(indices + 8)), r);
        }
    }
}

// The gathers read four bytes at each position (there is no byte gather)
// and keep the lowest, so the three bytes beyond a position must be
// readable too: positions within three bytes of the sheet's end are read
// singly (slanted runs), or the run is gathered by the portable loop into a
// buffer (mapped runs, whose last column is their largest).
template <int kMode>
VARNOW_AVX2 void Slant(const SlantRun* runs, size_t count, const uint8_t* pixels, size_t size, int64_t pitch,
                       int64_t du, int64_t dv, const Regs& r) {
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i stepU = _mm256_set1_epi32(int32_t(uint32_t(du) * 8u));
    const __m256i stepV = _mm256_set1_epi32(int32_t(uint32_t(dv) * 8u));
    const __m256i rowBytes = _mm256_set1_epi32(int32_t(pitch));
    const __m256i byte = _mm256_set1_epi32(255);
    // The last position a four-byte read may start at.
    const __m256i lastWhole = _mm256_set1_epi32(int32_t(size) - 4);
    for (const SlantRun& run : std::span(runs, count)) {
        if (run.n == 0) continue;
        // Lanes past the run's end may wrap; they are masked out of the
        // gathers, and never stored.
        __m256i u = _mm256_add_epi32(_mm256_set1_epi32(int32_t(run.u)),
                                     _mm256_mullo_epi32(lane, _mm256_set1_epi32(int32_t(du))));
        __m256i v = _mm256_add_epi32(_mm256_set1_epi32(int32_t(run.v)),
                                     _mm256_mullo_epi32(lane, _mm256_set1_epi32(int32_t(dv))));
        auto gather = [&](int64_t left) VARNOW_AVX2 {
            const __m256i at = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(v, 16), rowBytes),
                                                _mm256_srai_epi32(u, 16));
            u = _mm256_add_epi32(u, stepU);
            v = _mm256_add_epi32(v, stepV);
            const __m256i lanes = LaneMask(left);
            const __m256i near = _mm256_and_si256(lanes, _mm256_cmpgt_epi32(at, lastWhole));
            __m256i got = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), reinterpret_cast<const int*>(pixels),
                                                      at, _mm256_andnot_si256(near, lanes), 1);
            if (const int nearLanes = _mm256_movemask_ps(_mm256_castsi256_ps(near))) {
                alignas(32) int32_t where[8], bytes[8];
                _mm256_store_si256(reinterpret_cast<__m256i*>(where), at);
                _mm256_store_si256(reinterpret_cast<__m256i*>(bytes), got);
                for (int k = 0; k < 8; ++k)
                    if (nearLanes & (1 << k)) bytes[k] = pixels[where[k]];
                got = _mm256_load_si256(reinterpret_cast<const __m256i*>(bytes));
            }
            return _mm256_and_si256(got, byte);
        };
        for (size_t i = 0; i < run.n; i += 16) {
            const int64_t left = int64_t(run.n - i);
            const __m256i i0 = gather(left);
            const __m256i i1 = gather(left - 8);
            if (left >= 16) {
                Put<kMode>(run.dst + i, run.dst + i + 8, i0, i1, r);
            } else {
                PutPart<kMode>(run.dst + i, size_t(left), i0, i1, r);
            }
        }
    }
}

template <int kMode>
VARNOW_AVX2 void Mapped(const MappedRun* runs, size_t count, const Regs& r) {
    const __m256i byte = _mm256_set1_epi32(255);
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), lane8 = _mm256_add_epi32(lane, _mm256_set1_epi32(8));
    for (const MappedRun& run : std::span(runs, count)) {
        if (run.n == 0) continue;
        if (int64_t(run.columns[run.n - 1]) + 4 > int64_t(run.available)) {
            uint8_t indices[256];
            for (size_t done = 0; done < run.n; done += 256) {
                const size_t part = std::min<size_t>(256, run.n - done);
                MappedRow(indices, part, run.row, run.available, run.columns + done);
                Block<kMode>(run.dst + done, 0, indices, 0, part, 1, r);
            }
            continue;
        }
        const int* row = reinterpret_cast<const int*>(run.row);
        size_t i = 0;
        for (; i + 16 <= run.n; i += 16) {
            const __m256i c0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(run.columns + i));
            const __m256i c1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(run.columns + i + 8));
            // Sixteen columns in a row (a wave at zoom 1) are read straight,
            // saving two gathers.
            const __m256i first = _mm256_set1_epi32(run.columns[i]);
            const __m256i straight0 = _mm256_cmpeq_epi32(c0, _mm256_add_epi32(first, lane));
            const __m256i straight1 = _mm256_cmpeq_epi32(c1, _mm256_add_epi32(first, lane8));
            if (_mm256_testc_si256(_mm256_and_si256(straight0, straight1), _mm256_set1_epi32(-1))) {
                const uint8_t* from = run.row + run.columns[i];
                Put<kMode>(run.dst + i, run.dst + i + 8, Bytes8(from), Bytes8(from + 8), r);
                continue;
            }
            const __m256i i0 = _mm256_and_si256(_mm256_i32gather_epi32(row, c0, 1), byte);
            const __m256i i1 = _mm256_and_si256(_mm256_i32gather_epi32(row, c1, 1), byte);
            Put<kMode>(run.dst + i, run.dst + i + 8, i0, i1, r);
        }
        if (i < run.n) {
            // Masked loads and gathers leave the columns past the run alone.
            const int64_t left = int64_t(run.n - i);
            const __m256i m0 = LaneMask(left), m1 = LaneMask(left - 8);
            const __m256i c0 = _mm256_maskload_epi32(run.columns + i, m0);
            const __m256i c1 = _mm256_maskload_epi32(run.columns + i + 8, m1);
            const __m256i i0 = _mm256_and_si256(_mm256_mask_i32gather_epi32(_mm256_setzero_si256(), row, c0, m0, 1), byte);
            const __m256i i1 = _mm256_and_si256(_mm256_mask_i32gather_epi32(_mm256_setzero_si256(), row, c1, m1, 1), byte);
            PutPart<kMode>(run.dst + i, size_t(left), i0, i1, r);
        }
    }
}

// Calls f with the mode as a compile-time constant and the loaded registers.
template <class F>
VARNOW_AVX2 void WithMode(const WideRule& rule, F&& f) {
    const Regs r{WidenedTable(rule.table), _mm256_set1_epi16(int16_t(rule.w)), _mm256_set1_epi16(int16_t(rule.v))};
    if (rule.blend) {
        if (rule.keyed) {
            f(std::integral_constant<int, kBlendKeyed>(), r);
        } else {
            f(std::integral_constant<int, kBlend>(), r);
        }
    } else if (rule.keyed) {
        f(std::integral_constant<int, kKeyed>(), r);
    } else {
        f(std::integral_constant<int, kOpaque>(), r);
    }
}

}  // namespace

VARNOW_AVX2 void Avx2Block(uint16_t* dst, size_t dstPitch, const uint8_t* src, size_t srcPitch, size_t width,
                           size_t rows, const WideRule& rule) {
    WithMode(rule, [&](auto mode, const Regs& r)
                       VARNOW_AVX2 { Block<decltype(mode)::value>(dst, dstPitch, src, srcPitch, width, rows, r); });
}

VARNOW_AVX2 bool Avx2Blank(const uint8_t* p, size_t n) {
    __m256i any = _mm256_setzero_si256();
    size_t i = 0;
    for (; i + 32 <= n; i += 32) any = _mm256_or_si256(any, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i)));
    uint8_t rest = 0;
    for (; i < n; ++i) rest |= p[i];
    return _mm256_testz_si256(any, any) && rest == 0;
}

VARNOW_AVX2 void Avx2SlantRuns(const SlantRun* runs, size_t count, const uint8_t* pixels, size_t size, int64_t pitch,
                               int64_t du, int64_t dv, const WideRule& rule) {
    WithMode(rule, [&](auto mode, const Regs& r)
                       VARNOW_AVX2 { Slant<decltype(mode)::value>(runs, count, pixels, size, pitch, du, dv, r); });
}

VARNOW_AVX2 void Avx2MappedRuns(const MappedRun* runs, size_t count, const WideRule& rule) {
    WithMode(rule, [&](auto mode, const Regs& r) VARNOW_AVX2 { Mapped<decltype(mode)::value>(runs, count, r); });
}
#endif
