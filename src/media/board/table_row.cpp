#include "media/board/table_row.h"

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
// among the four results.
__attribute__((target("avx512f,avx512bw"))) void TableRowAvx512(uint16_t* dst, const uint8_t* src, size_t n,
                                                                const uint16_t* table, bool skipZero) {
    __m512i t[8];
    for (int k = 0; k < 8; ++k) t[k] = _mm512_loadu_si512(table + 32 * k);
    const __m512i bit6 = _mm512_set1_epi16(64), bit7 = _mm512_set1_epi16(128);
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m512i idx = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)));
        const __m512i r01 = _mm512_permutex2var_epi16(t[0], idx, t[1]);
        const __m512i r23 = _mm512_permutex2var_epi16(t[2], idx, t[3]);
        const __m512i r45 = _mm512_permutex2var_epi16(t[4], idx, t[5]);
        const __m512i r67 = _mm512_permutex2var_epi16(t[6], idx, t[7]);
        const __mmask32 m6 = _mm512_test_epi16_mask(idx, bit6), m7 = _mm512_test_epi16_mask(idx, bit7);
        const __m512i low = _mm512_mask_blend_epi16(m6, r01, r23), high = _mm512_mask_blend_epi16(m6, r45, r67);
        const __m512i colours = _mm512_mask_blend_epi16(m7, low, high);
        if (skipZero) {
            _mm512_mask_storeu_epi16(dst + i, _mm512_test_epi16_mask(idx, idx), colours);
        } else {
            _mm512_storeu_si512(dst + i, colours);
        }
    }
    TableRowScalar(dst + i, src + i, n - i, table, skipZero);
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

using RowFunction = TableRowFunction;

RowFunction ChooseRow() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw")) return TableRowAvx512;
    if (__builtin_cpu_supports("avx2")) return TableRowAvx2;
    return TableRowScalar;
}

}  // namespace

void TableRow(uint16_t* dst, const uint8_t* src, size_t n, const uint16_t* table, bool skipZero) {
    static const RowFunction row = ChooseRow();
    // The vector versions first load or widen the whole 256-entry table:
    // for short rows (16-pixel tiles, 24-pixel character frames) that costs
    // more than the row, and the scalar loop is several times faster.
    if (n < 64) {
        TableRowScalar(dst, src, n, table, skipZero);
        return;
    }
    row(dst, src, n, table, skipZero);
}

std::vector<TableRowFunction> TableRowVersions() {
    std::vector<TableRowFunction> versions{TableRowScalar};
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) versions.push_back(TableRowAvx2);
    if (__builtin_cpu_supports("avx512bw")) versions.push_back(TableRowAvx512);
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
    static const auto blend = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") ? BlendRowAvx2 : BlendRowBaseline;
    }();
    blend(dst, colours, src, n, w, v, skipZero);
}

std::vector<BlendRowFunction> BlendRowVersions() {
    std::vector<BlendRowFunction> versions{BlendRowBaseline};
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) versions.push_back(BlendRowAvx2);
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
