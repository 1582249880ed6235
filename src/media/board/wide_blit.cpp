#include "media/board/wide_blit.h"

#include <algorithm>
#include <span>

#include "data/errors.h"
#include "media/board/index_gather.h"
#include "media/board/wide_blit_avx2.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VARNOW_X86_VECTORS 1
#endif

#ifdef VARNOW_X86_VECTORS
#define VARNOW_WIDE __attribute__((target("avx512f,avx512bw,avx512vl")))

namespace {

bool HasAvx512() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
               __builtin_cpu_supports("avx512vl");
    }();
    return has;
}

enum Mode { kOpaque, kKeyed, kBlend, kBlendKeyed };

// The table in eight registers of 32 entries, and the mixing weights.
struct Regs {
    __m512i t[8];
    __m512i w, v;
};

VARNOW_WIDE inline void LoadRegs(Regs& r, const WideRule& rule) {
    for (int k = 0; k < 8; ++k) r.t[k] = _mm512_loadu_si512(rule.table + 32 * k);
    r.w = _mm512_set1_epi16(int16_t(rule.w));
    r.v = _mm512_set1_epi16(int16_t(rule.v));
}

// The colours of 32 indices in 16-bit lanes: two-source word permutes look
// up 64 entries each, and index bits 6 and 7 pick among the four results.
VARNOW_WIDE inline __m512i LookUp(const Regs& r, __m512i idx) {
    const __m512i r01 = _mm512_permutex2var_epi16(r.t[0], idx, r.t[1]);
    const __m512i r23 = _mm512_permutex2var_epi16(r.t[2], idx, r.t[3]);
    const __m512i r45 = _mm512_permutex2var_epi16(r.t[4], idx, r.t[5]);
    const __m512i r67 = _mm512_permutex2var_epi16(r.t[6], idx, r.t[7]);
    const __mmask32 m6 = _mm512_test_epi16_mask(idx, _mm512_set1_epi16(64));
    const __mmask32 m7 = _mm512_test_epi16_mask(idx, _mm512_set1_epi16(128));
    const __m512i low = _mm512_mask_blend_epi16(m6, r01, r23), high = _mm512_mask_blend_epi16(m6, r45, r67);
    return _mm512_mask_blend_epi16(m7, low, high);
}

// (s * w + d * v) >> 8 per RGB565 field; every weighted field stays below
// 63 * 257, inside 16 bits.
// (The zero-masking shift forms dodge a false uninitialised-value warning
// of the plain ones.)
VARNOW_WIDE inline __m512i Weigh(__m512i a, __m512i b, const Regs& r) {
    return _mm512_maskz_srli_epi16(~__mmask32(0),
                                   _mm512_add_epi16(_mm512_mullo_epi16(a, r.w), _mm512_mullo_epi16(b, r.v)), 8);
}

VARNOW_WIDE inline __m512i Mix(__m512i s, __m512i d, const Regs& r) {
    const __m512i six = _mm512_set1_epi16(63), five = _mm512_set1_epi16(31);
    auto weigh = [&](__m512i a, __m512i b) VARNOW_WIDE { return Weigh(a, b, r); };
    const __m512i red =
        weigh(_mm512_maskz_srli_epi16(~__mmask32(0), s, 11), _mm512_maskz_srli_epi16(~__mmask32(0), d, 11));
    const __m512i green = weigh(_mm512_and_si512(_mm512_maskz_srli_epi16(~__mmask32(0), s, 5), six),
                                _mm512_and_si512(_mm512_maskz_srli_epi16(~__mmask32(0), d, 5), six));
    const __m512i blue = weigh(_mm512_and_si512(s, five), _mm512_and_si512(d, five));
    return _mm512_or_si512(_mm512_or_si512(_mm512_maskz_slli_epi16(~__mmask32(0), red, 11),
                                           _mm512_maskz_slli_epi16(~__mmask32(0), green, 5)),
                           blue);
}

VARNOW_WIDE inline __mmask32 Lanes32(size_t left) {
    return left >= 32 ? ~__mmask32(0) : (__mmask32(1) << left) - 1;
}

// The pixel rule for 32 indices onto 32 board pixels from dst on, under
// `lanes`.
template <int kMode>
VARNOW_WIDE inline void Put(uint16_t* dst, __m512i idx, __mmask32 lanes, const Regs& r) {
    __m512i colours = LookUp(r, idx);
    __mmask32 store = lanes;
    if constexpr (kMode == kKeyed || kMode == kBlendKeyed) store &= _mm512_test_epi16_mask(idx, idx);
    if constexpr (kMode == kBlend || kMode == kBlendKeyed)
        colours = Mix(colours, _mm512_maskz_loadu_epi16(store, dst), r);
    _mm512_mask_storeu_epi16(dst, store, colours);
}

// The same for two rows of at most 16 pixels: the lower lanes go to a, the
// upper ones to b (tiles and their quarters are 16 and 8 wide).
template <int kMode>
VARNOW_WIDE inline void PutTwo(uint16_t* a, uint16_t* b, __m512i idx, __mmask16 lanes, const Regs& r) {
    __m512i colours = LookUp(r, idx);
    __mmask32 store = __mmask32(lanes) | (__mmask32(lanes) << 16);
    if constexpr (kMode == kKeyed || kMode == kBlendKeyed) store &= _mm512_test_epi16_mask(idx, idx);
    if constexpr (kMode == kBlend || kMode == kBlendKeyed) {
        const __m512i d =
            _mm512_maskz_inserti64x4(0xFF, _mm512_castsi256_si512(_mm256_maskz_loadu_epi16(__mmask16(store), a)),
                                     _mm256_maskz_loadu_epi16(__mmask16(store >> 16), b), 1);
        colours = Mix(colours, d, r);
    }
    _mm256_mask_storeu_epi16(a, __mmask16(store), _mm512_maskz_extracti64x4_epi64(0xF, colours, 0));
    _mm256_mask_storeu_epi16(b, __mmask16(store >> 16), _mm512_maskz_extracti64x4_epi64(0xF, colours, 1));
}

// The same for four rows of at most 8 pixels, a quarter of the lanes each
// (the quarters of autotiles are 8 wide).
template <int kMode>
VARNOW_WIDE inline void PutFour(uint16_t* dst, size_t pitch, __m512i idx, __mmask8 lanes, const Regs& r) {
    __m512i colours = LookUp(r, idx);
    const __mmask32 quarter = lanes;
    __mmask32 store = quarter | (quarter << 8) | (quarter << 16) | (quarter << 24);
    if constexpr (kMode == kKeyed || kMode == kBlendKeyed) store &= _mm512_test_epi16_mask(idx, idx);
    if constexpr (kMode == kBlend || kMode == kBlendKeyed) {
        const __m256i d01 = _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_maskz_loadu_epi16(__mmask8(store), dst)),
                                                    _mm_maskz_loadu_epi16(__mmask8(store >> 8), dst + pitch), 1);
        const __m256i d23 = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_maskz_loadu_epi16(__mmask8(store >> 16), dst + 2 * pitch)),
            _mm_maskz_loadu_epi16(__mmask8(store >> 24), dst + 3 * pitch), 1);
        colours = Mix(colours, _mm512_maskz_inserti64x4(0xFF, _mm512_castsi256_si512(d01), d23, 1), r);
    }
    _mm_mask_storeu_epi16(dst, __mmask8(store), _mm512_maskz_extracti32x4_epi32(0xF, colours, 0));
    _mm_mask_storeu_epi16(dst + pitch, __mmask8(store >> 8), _mm512_maskz_extracti32x4_epi32(0xF, colours, 1));
    _mm_mask_storeu_epi16(dst + 2 * pitch, __mmask8(store >> 16), _mm512_maskz_extracti32x4_epi32(0xF, colours, 2));
    _mm_mask_storeu_epi16(dst + 3 * pitch, __mmask8(store >> 24), _mm512_maskz_extracti32x4_epi32(0xF, colours, 3));
}

template <int kMode>
VARNOW_WIDE void Block(uint16_t* dst, size_t dstPitch, const uint8_t* src, size_t srcPitch, size_t width, size_t rows,
                       const Regs& r) {
    size_t y = 0;
    if (width <= 8) {
        const __mmask16 lanes = __mmask16((1u << width) - 1);
        for (; y + 4 <= rows; y += 4) {
            const uint8_t* row = src + y * srcPitch;
            const __m128i r01 =
                _mm_unpacklo_epi64(_mm_maskz_loadu_epi8(lanes, row), _mm_maskz_loadu_epi8(lanes, row + srcPitch));
            const __m128i r23 = _mm_unpacklo_epi64(_mm_maskz_loadu_epi8(lanes, row + 2 * srcPitch),
                                                   _mm_maskz_loadu_epi8(lanes, row + 3 * srcPitch));
            const __m512i idx = _mm512_cvtepu8_epi16(_mm256_inserti128_si256(_mm256_castsi128_si256(r01), r23, 1));
            PutFour<kMode>(dst + y * dstPitch, dstPitch, idx, __mmask8(lanes), r);
        }
    }
    if (width <= 16) {
        const __mmask16 lanes = __mmask16((1u << width) - 1);
        for (; y + 2 <= rows; y += 2) {
            const __m128i first = _mm_maskz_loadu_epi8(lanes, src + y * srcPitch);
            const __m128i second = _mm_maskz_loadu_epi8(lanes, src + (y + 1) * srcPitch);
            const __m512i idx = _mm512_cvtepu8_epi16(_mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1));
            PutTwo<kMode>(dst + y * dstPitch, dst + (y + 1) * dstPitch, idx, lanes, r);
        }
    }
    for (; y < rows; ++y) {
        const uint8_t* from = src + y * srcPitch;
        uint16_t* to = dst + y * dstPitch;
        size_t i = 0;
        for (; i + 32 <= width; i += 32) {
            const __m512i idx = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i)));
            Put<kMode>(to + i, idx, ~__mmask32(0), r);
        }
        if (i < width) {
            const __mmask32 lanes = Lanes32(width - i);
            Put<kMode>(to + i, _mm512_cvtepu8_epi16(_mm256_maskz_loadu_epi8(lanes, from + i)), lanes, r);
        }
    }
}

// 32 gathered dwords (two registers) to 32 indices in 16-bit lanes: the
// lowest byte of each.
VARNOW_WIDE inline __m512i Indices(__m512i g0, __m512i g1) {
    const __m512i byte = _mm512_set1_epi32(255);
    const __m256i i0 = _mm512_maskz_cvtepi32_epi16(0xFFFF, _mm512_and_si512(g0, byte));
    const __m256i i1 = _mm512_maskz_cvtepi32_epi16(0xFFFF, _mm512_and_si512(g1, byte));
    return _mm512_maskz_inserti64x4(0xFF, _mm512_castsi256_si512(i0), i1, 1);
}

// The gathers read four bytes at each position (there is no byte gather)
// and keep the lowest, so the three bytes beyond a position must be
// readable too: positions within three bytes of the sheet's end are read
// singly (slanted runs), or the run is gathered by the portable loop into a
// buffer (mapped runs, whose last column is their largest).
template <int kMode>
VARNOW_WIDE void Slant(const SlantRun* runs, size_t count, const uint8_t* pixels, size_t size, int64_t pitch,
                       int64_t du, int64_t dv, const Regs& r) {
    const __m512i lane = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m512i stepU = _mm512_set1_epi32(int32_t(uint32_t(du) * 16u));
    const __m512i stepV = _mm512_set1_epi32(int32_t(uint32_t(dv) * 16u));
    const __m512i rowBytes = _mm512_set1_epi32(int32_t(pitch));
    // The last position a four-byte read may start at.
    const __m512i lastWhole = _mm512_set1_epi32(int32_t(size) - 4);
    for (const SlantRun& run : std::span(runs, count)) {
        if (run.n == 0) continue;
        // Lanes past the run's end may wrap; they are masked out of the
        // gathers and the stores.
        __m512i u = _mm512_add_epi32(_mm512_set1_epi32(int32_t(run.u)),
                                     _mm512_mullo_epi32(lane, _mm512_set1_epi32(int32_t(du))));
        __m512i v = _mm512_add_epi32(_mm512_set1_epi32(int32_t(run.v)),
                                     _mm512_mullo_epi32(lane, _mm512_set1_epi32(int32_t(dv))));
        auto gather = [&](__mmask16 lanes) VARNOW_WIDE {
            const __m512i row = _mm512_maskz_srai_epi32(0xFFFF, v, 16), col = _mm512_maskz_srai_epi32(0xFFFF, u, 16);
            const __m512i at = _mm512_add_epi32(_mm512_mullo_epi32(row, rowBytes), col);
            u = _mm512_add_epi32(u, stepU);
            v = _mm512_add_epi32(v, stepV);
            // Positions within three bytes of the sheet's end are read one
            // by one.
            const __mmask16 near = _mm512_mask_cmpgt_epi32_mask(lanes, at, lastWhole);
            __m512i got = _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), lanes & ~near, at, pixels, 1);
            if (near) {
                alignas(64) int32_t where[16], bytes[16];
                _mm512_store_si512(where, at);
                _mm512_store_si512(bytes, got);
                for (int k = 0; k < 16; ++k)
                    if (near & (1u << k)) bytes[k] = pixels[where[k]];
                got = _mm512_load_si512(bytes);
            }
            return got;
        };
        for (size_t i = 0; i < run.n; i += 32) {
            const __mmask32 lanes = Lanes32(run.n - i);
            const __m512i g0 = gather(__mmask16(lanes));
            const __m512i g1 = gather(__mmask16(lanes >> 16));
            Put<kMode>(run.dst + i, Indices(g0, g1), lanes, r);
        }
    }
}

template <int kMode>
VARNOW_WIDE void Mapped(const MappedRun* runs, size_t count, const Regs& r) {
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
        for (size_t i = 0; i < run.n; i += 32) {
            const __mmask32 lanes = Lanes32(run.n - i);
            const __mmask16 low = __mmask16(lanes), high = __mmask16(lanes >> 16);
            // Masked loads leave the columns past the run untouched.
            const __m512i c0 = _mm512_maskz_loadu_epi32(low, run.columns + i);
            const __m512i c1 = _mm512_maskz_loadu_epi32(high, run.columns + i + 16);
            const __m512i g0 = _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), low, c0, run.row, 1);
            const __m512i g1 = _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), high, c1, run.row, 1);
            Put<kMode>(run.dst + i, Indices(g0, g1), lanes, r);
        }
    }
}

// Calls f with the mode as a compile-time constant and the loaded registers.
template <class F>
VARNOW_WIDE void WithMode(const WideRule& rule, F&& f) {
    Regs r;
    LoadRegs(r, rule);
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

// The AVX-512 versions of the entry points.
VARNOW_WIDE void Avx512Block(uint16_t* dst, size_t dstPitch, const uint8_t* src, size_t srcPitch, size_t width,
                             size_t rows, const WideRule& rule) {
    WithMode(rule, [&](auto mode, const Regs& r)
                       VARNOW_WIDE { Block<decltype(mode)::value>(dst, dstPitch, src, srcPitch, width, rows, r); });
}

VARNOW_WIDE bool Avx512Blank(const uint8_t* p, size_t n) {
    __m512i any = _mm512_setzero_si512();
    for (size_t i = 0; i < n; i += 64) {
        const __mmask64 lanes = n - i >= 64 ? ~__mmask64(0) : (__mmask64(1) << (n - i)) - 1;
        any = _mm512_or_si512(any, _mm512_maskz_loadu_epi8(lanes, p + i));
    }
    return _mm512_test_epi64_mask(any, any) == 0;
}

VARNOW_WIDE void Avx512SlantRuns(const SlantRun* runs, size_t count, const uint8_t* pixels, size_t size,
                                 int64_t pitch, int64_t du, int64_t dv, const WideRule& rule) {
    WithMode(rule, [&](auto mode, const Regs& r)
                       VARNOW_WIDE { Slant<decltype(mode)::value>(runs, count, pixels, size, pitch, du, dv, r); });
}

VARNOW_WIDE void Avx512MappedRuns(const MappedRun* runs, size_t count, const WideRule& rule) {
    WithMode(rule, [&](auto mode, const Regs& r) VARNOW_WIDE { Mapped<decltype(mode)::value>(runs, count, r); });
}

bool HasAvx2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2");
    }();
    return has;
}

BlitPath BestPath() {
    if (HasAvx512()) return BlitPath::kAvx512;
    if (HasAvx2()) return BlitPath::kAvx2;
    return BlitPath::kPortable;
}

// Chosen on first use (constant-initialised, so a benchmark may switch it
// while static objects are made); -1 until then.
int chosenPath = -1;

inline BlitPath ChosenPath() {
    if (chosenPath < 0) chosenPath = int(BestPath());
    return BlitPath(chosenPath);
}

}  // namespace

std::vector<BlitPath> AvailableBlitPaths() {
    std::vector<BlitPath> paths{BlitPath::kPortable};
    if (HasAvx2()) paths.push_back(BlitPath::kAvx2);
    if (HasAvx512()) paths.push_back(BlitPath::kAvx512);
    return paths;
}

void WideBlock(uint16_t* dst, size_t dstPitch, const uint8_t* src, size_t srcPitch, size_t width, size_t rows,
               const WideRule& rule) {
    VARNOW_CHECK(ChosenPath() != BlitPath::kPortable);
    if (ChosenPath() == BlitPath::kAvx512) {
        Avx512Block(dst, dstPitch, src, srcPitch, width, rows, rule);
    } else {
        Avx2Block(dst, dstPitch, src, srcPitch, width, rows, rule);
    }
}

bool WideBlank(const uint8_t* p, size_t n) {
    VARNOW_CHECK(ChosenPath() != BlitPath::kPortable);
    return ChosenPath() == BlitPath::kAvx512 ? Avx512Blank(p, n) : Avx2Blank(p, n);
}

void WideSlantRuns(const SlantRun* runs, size_t count, const uint8_t* pixels, size_t size, int64_t pitch, int64_t du,
                   int64_t dv, const WideRule& rule) {
    VARNOW_CHECK(ChosenPath() != BlitPath::kPortable);
    VARNOW_CHECK(du >= INT32_MIN && du <= INT32_MAX && dv >= INT32_MIN && dv <= INT32_MAX && size <= INT32_MAX);
    if (ChosenPath() == BlitPath::kAvx512) {
        Avx512SlantRuns(runs, count, pixels, size, pitch, du, dv, rule);
    } else {
        Avx2SlantRuns(runs, count, pixels, size, pitch, du, dv, rule);
    }
}

void WideMappedRuns(const MappedRun* runs, size_t count, const WideRule& rule) {
    VARNOW_CHECK(ChosenPath() != BlitPath::kPortable);
    if (ChosenPath() == BlitPath::kAvx512) {
        Avx512MappedRuns(runs, count, rule);
    } else {
        Avx2MappedRuns(runs, count, rule);
    }
}
#else
namespace {
BlitPath ChosenPath() {
    return BlitPath::kPortable;
}
}  // namespace

std::vector<BlitPath> AvailableBlitPaths() {
    return {BlitPath::kPortable};
}
void WideBlock(uint16_t*, size_t, const uint8_t*, size_t, size_t, size_t, const WideRule&) {
    VARNOW_CHECK(false);
}
void WideSlantRuns(const SlantRun*, size_t, const uint8_t*, size_t, int64_t, int64_t, int64_t, const WideRule&) {
    VARNOW_CHECK(false);
}
void WideMappedRuns(const MappedRun*, size_t, const WideRule&) {
    VARNOW_CHECK(false);
}
bool WideBlank(const uint8_t*, size_t) {
    VARNOW_CHECK(false);
    return false;
}
#endif

BlitPath CurrentBlitPath() {
    return ChosenPath();
}

const char* BlitPathName(BlitPath path) {
    switch (path) {
        case BlitPath::kAvx2:
            return "avx2";
        case BlitPath::kAvx512:
            return "avx512";
        default:
            return "portable";
    }
}

bool WideBlits() {
    return ChosenPath() != BlitPath::kPortable;
}

void SetBlitPathForTesting([[maybe_unused]] BlitPath path) {
    const std::vector<BlitPath> paths = AvailableBlitPaths();
    VARNOW_CHECK(std::find(paths.begin(), paths.end(), path) != paths.end());
#ifdef VARNOW_X86_VECTORS
    chosenPath = int(path);
#endif
}

void SetWideBlitsForTesting(bool on) {
    SetBlitPathForTesting(on ? AvailableBlitPaths().back() : BlitPath::kPortable);
}
