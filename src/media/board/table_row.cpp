#include "media/board/table_row.h"

#include "media/board/wide_blit.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VARNOW_X86_VECTORS 1
#endif

void TableRowScalar(uint16_t* dst, const uint8_t* src, size_t n, const uint16_t* table, bool skipZero) {
    if (skipZero) {
        for (size_t i = 0; i < n; ++i)
            if (src[i]) dst[i] = table[src[i]];
    } else {
        for (size_t i = 0; i < n; ++i) dst[i] = table[src[i]];
    }
}

#ifdef VARNOW_X86_VECTORS
namespace {

// 32 pixels a step: the table sits in eight registers of 32 entries; two-
// source word permutes look up 64 entries each, and index bits 6 and 7 pick
// among the four results. The ragged end is one more step under a lane
// mask (masked loads never touch the lanes left out), so short rows gain
// as much as long ones.
__attribute__((target("avx512f,avx512bw,avx512vl"))) inline __m512i LookUp32(const __m512i (&t)[8], __m512i idx) {
    const __m512i bit6 = _mm512_set1_epi16(64), bit7 = _mm512_set1_epi16(128);
    const __m512i r01 = _mm512_permutex2var_epi16(t[0], idx, t[1]);
    const __m512i r23 = _mm512_permutex2var_epi16(t[2], idx, t[3]);
    const __m512i r45 = _mm512_permutex2var_epi16(t[4], idx, t[5]);
    const __m512i r67 = _mm512_permutex2var_epi16(t[6], idx, t[7]);
    const __mmask32 m6 = _mm512_test_epi16_mask(idx, bit6), m7 = _mm512_test_epi16_mask(idx, bit7);
    const __m512i low = _mm512_mask_blend_epi16(m6, r01, r23), high = _mm512_mask_blend_epi16(m6, r45, r67);
    return _mm512_mask_blend_epi16(m7, low, high);
}

__attribute__((target("avx512f,avx512bw,avx512vl"))) void TableRowAvx512(uint16_t* dst, const uint8_t* src, size_t n,
                                                                         const uint16_t* table, bool skipZero) {
    __m512i t[8];
    for (int k = 0; k < 8; ++k) t[k] = _mm512_loadu_si512(table + 32 * k);
    for (size_t i = 0; i < n; i += 32) {
        const __mmask32 lanes = n - i >= 32 ? ~__mmask32(0) : (__mmask32(1) << (n - i)) - 1;
        const __m512i idx = _mm512_cvtepu8_epi16(_mm256_maskz_loadu_epi8(lanes, src + i));
        const __m512i colours = LookUp32(t, idx);
        _mm512_mask_storeu_epi16(dst + i, skipZero ? lanes & _mm512_test_epi16_mask(idx, idx) : lanes, colours);
    }
}

// 16 pixels a step with two 8-lane gathers from a 32-bit copy of the table.
__attribute__((target("avx2"))) void TableRowAvx2(uint16_t* dst, const uint8_t* src, size_t n, const uint16_t* table,
                                                  bool skipZero) {
    alignas(32) int32_t wide[256];
    for (int k = 0; k < 256; ++k) wide[k] = table[k];
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m256i i0 = _mm256_cvtepu8_epi32(bytes), i1 = _mm256_cvtepu8_epi32(_mm_srli_si128(bytes, 8));
        const __m256i g0 = _mm256_i32gather_epi32(wide, i0, 4), g1 = _mm256_i32gather_epi32(wide, i1, 4);
        __m256i colours = _mm256_permute4x64_epi64(_mm256_packus_epi32(g0, g1), 0xD8);
        __m256i* out = reinterpret_cast<__m256i*>(dst + i);
        if (skipZero) {
            const __m256i zero = _mm256_cmpeq_epi16(_mm256_cvtepu8_epi16(bytes), _mm256_setzero_si256());
            colours = _mm256_blendv_epi8(colours, _mm256_loadu_si256(out), zero);
        }
        _mm256_storeu_si256(out, colours);
    }
    TableRowScalar(dst + i, src + i, n - i, table, skipZero);
}

bool HasAvx512() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vl");
}

struct RowChoice {
    TableRowFunction row;
    size_t shortest;  // rows below this many pixels take the scalar loop
};

}  // namespace

// The version follows the blit path (the widest the processor runs, or the
// one a test chose). The AVX2 version first widens the whole 256-entry
// table: for short rows (16-pixel tiles, 24-pixel character frames) that
// costs more than the row. The AVX-512 one only loads it into eight
// registers.
void TableRow(uint16_t* dst, const uint8_t* src, size_t n, const uint16_t* table, bool skipZero) {
    static constexpr RowChoice kChoices[] = {{TableRowScalar, SIZE_MAX}, {TableRowAvx2, 64}, {TableRowAvx512, 8}};
    const RowChoice& choice = kChoices[int(CurrentBlitPath())];
    if (n < choice.shortest) {
        TableRowScalar(dst, src, n, table, skipZero);
        return;
    }
    choice.row(dst, src, n, table, skipZero);
}

std::vector<TableRowFunction> TableRowVersions() {
    std::vector<TableRowFunction> versions{TableRowScalar};
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) versions.push_back(TableRowAvx2);
    if (HasAvx512()) versions.push_back(TableRowAvx512);
    return versions;
}
#else
std::vector<TableRowFunction> TableRowVersions() {
    return {TableRowScalar};
}

void TableRow(uint16_t* dst, const uint8_t* src, size_t n, const uint16_t* table, bool skipZero) {
    TableRowScalar(dst, src, n, table, skipZero);
}
#endif

namespace {

// Sixteen 16-bit lanes; the compiler maps them onto whatever vector unit
// the build targets.
typedef uint16_t U16x16 __attribute__((vector_size(32)));
typedef uint8_t U8x16 __attribute__((vector_size(16)));

uint16_t BlendOne(uint32_t s, uint32_t d, uint32_t w, uint32_t v) {
    const uint32_t red = ((s >> 11) * w + (d >> 11) * v) >> 8;
    const uint32_t green = (((s >> 5) & 63) * w + ((d >> 5) & 63) * v) >> 8;
    const uint32_t blue = ((s & 31) * w + (d & 31) * v) >> 8;
    return uint16_t((red << 11) | (green << 5) | blue);
}

}  // namespace

// The body is compiled twice, for the baseline and for AVX2 machines.
__attribute__((always_inline)) inline void BlendRowBody(uint16_t* dst, const uint16_t* colours, const uint8_t* src,
                                                        size_t n, uint16_t w, uint16_t v, bool skipZero) {
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        U16x16 s, d;
        __builtin_memcpy(&s, colours + i, sizeof s);
        __builtin_memcpy(&d, dst + i, sizeof d);
        // Every weighted field stays below 63 * 257, inside 16 bits.
        const U16x16 red = ((s >> 11) * w + (d >> 11) * v) >> 8;
        const U16x16 green = (((s >> 5) & 63) * w + ((d >> 5) & 63) * v) >> 8;
        const U16x16 blue = ((s & 31) * w + (d & 31) * v) >> 8;
        U16x16 out = (red << 11) | (green << 5) | blue;
        if (skipZero) {
            U8x16 bytes;
            __builtin_memcpy(&bytes, src + i, sizeof bytes);
            const U16x16 keep = (U16x16)(__builtin_convertvector(bytes, U16x16) == 0);
            out = (out & ~keep) | (d & keep);
        }
        __builtin_memcpy(dst + i, &out, sizeof out);
    }
    for (; i < n; ++i)
        if (!skipZero || src[i]) dst[i] = BlendOne(colours[i], dst[i], w, v);
}

#ifdef VARNOW_X86_VECTORS
namespace {

// 32 pixels a step, the ragged end under a lane mask.
__attribute__((target("avx512f,avx512bw,avx512vl"))) void BlendRowAvx512(uint16_t* dst, const uint16_t* colours,
                                                                         const uint8_t* src, size_t n, uint16_t w,
                                                                         uint16_t v, bool skipZero) {
    const __m512i ww = _mm512_set1_epi16(int16_t(w)), vv = _mm512_set1_epi16(int16_t(v));
    const __m512i six = _mm512_set1_epi16(63), five = _mm512_set1_epi16(31);
    for (size_t i = 0; i < n; i += 32) {
        const __mmask32 lanes = n - i >= 32 ? ~__mmask32(0) : (__mmask32(1) << (n - i)) - 1;
        const __m512i s = _mm512_maskz_loadu_epi16(lanes, colours + i), d = _mm512_maskz_loadu_epi16(lanes, dst + i);
        // Every weighted field stays below 63 * 257, inside 16 bits.
        const __m512i red = _mm512_srli_epi16(_mm512_add_epi16(_mm512_mullo_epi16(_mm512_srli_epi16(s, 11), ww),
                                                               _mm512_mullo_epi16(_mm512_srli_epi16(d, 11), vv)),
                                              8);
        const __m512i green =
            _mm512_srli_epi16(_mm512_add_epi16(_mm512_mullo_epi16(_mm512_and_si512(_mm512_srli_epi16(s, 5), six), ww),
                                               _mm512_mullo_epi16(_mm512_and_si512(_mm512_srli_epi16(d, 5), six), vv)),
                              8);
        const __m512i blue = _mm512_srli_epi16(_mm512_add_epi16(_mm512_mullo_epi16(_mm512_and_si512(s, five), ww),
                                                                _mm512_mullo_epi16(_mm512_and_si512(d, five), vv)),
                                               8);
        const __m512i out =
            _mm512_or_si512(_mm512_or_si512(_mm512_slli_epi16(red, 11), _mm512_slli_epi16(green, 5)), blue);
        __mmask32 store = lanes;
        if (skipZero) {
            const __m512i idx = _mm512_cvtepu8_epi16(_mm256_maskz_loadu_epi8(lanes, src + i));
            store &= _mm512_test_epi16_mask(idx, idx);
        }
        _mm512_mask_storeu_epi16(dst + i, store, out);
    }
}

__attribute__((target("avx2"))) void BlendRowAvx2(uint16_t* dst, const uint16_t* colours, const uint8_t* src, size_t n,
                                                  uint16_t w, uint16_t v, bool skipZero) {
    BlendRowBody(dst, colours, src, n, w, v, skipZero);
}

void BlendRowBaseline(uint16_t* dst, const uint16_t* colours, const uint8_t* src, size_t n, uint16_t w, uint16_t v,
                      bool skipZero) {
    BlendRowBody(dst, colours, src, n, w, v, skipZero);
}

}  // namespace

void BlendRow(uint16_t* dst, const uint16_t* colours, const uint8_t* src, size_t n, uint16_t w, uint16_t v,
              bool skipZero) {
    static constexpr BlendRowFunction kChoices[] = {BlendRowBaseline, BlendRowAvx2, BlendRowAvx512};
    kChoices[int(CurrentBlitPath())](dst, colours, src, n, w, v, skipZero);
}

std::vector<BlendRowFunction> BlendRowVersions() {
    std::vector<BlendRowFunction> versions{BlendRowBaseline};
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) versions.push_back(BlendRowAvx2);
    if (HasAvx512()) versions.push_back(BlendRowAvx512);
    return versions;
}
#else
std::vector<BlendRowFunction> BlendRowVersions() {
    return {BlendRow};
}

void BlendRow(uint16_t* dst, const uint16_t* colours, const uint8_t* src, size_t n, uint16_t w, uint16_t v,
              bool skipZero) {
    BlendRowBody(dst, colours, src, n, w, v, skipZero);
}
#endif
