#pragma once
// The blits' wide pixel loops, for processors with AVX-512 or AVX2: reading
// the indices (straight, along a slant, or through a column map) and the
// pixel rule in one pass, the colour table loaded once a blit. They write
// exactly what the portable loops write; the blits use them when
// WideBlits() is on and fall back to the portable loops otherwise. Each
// function takes the widest path the processor runs, chosen at run time, so
// the program still runs on any x86-64 (and elsewhere with the portable
// loops alone).

#include <cstddef>
#include <cstdint>
#include <vector>

// The pixel rule as plain values: see pixel_rule.h.
struct WideRule {
    const uint16_t* table;  // 256 RGB565 colours
    bool keyed;             // index 0 leaves the board alone
    bool blend;             // mix with weights w and v instead of writing
    uint16_t w, v;
};

// The instruction sets the blits can use, narrowest first.
enum class BlitPath { kPortable, kAvx2, kAvx512 };

// The path every blit takes (the wide loops and the row helpers of
// table_row.h): the widest this processor runs, unless a test or a
// benchmark chose a narrower one.
BlitPath CurrentBlitPath();
// The paths this processor runs, portable first.
std::vector<BlitPath> AvailableBlitPaths();
// Makes every blit take `path`, which must be available; for tests and
// benchmarks, to check and time each path on one machine.
void SetBlitPathForTesting(BlitPath path);
// "portable", "avx2" or "avx512".
const char* BlitPathName(BlitPath path);

// Whether the wide loops run: the current path is not the portable one.
bool WideBlits();
// On: the widest available path; off: the portable one.
void SetWideBlitsForTesting(bool on);

// A rectangle of indices, rows `srcPitch` bytes apart, onto board rows
// `dstPitch` pixels apart.
void WideBlock(uint16_t* dst, size_t dstPitch, const uint8_t* src, size_t srcPitch, size_t width, size_t rows,
               const WideRule& rule);

// Is every byte of the run 0? (For FindInkRows.)
bool WideBlank(const uint8_t* p, size_t n);

// One board run of a rotated blit: n pixels from dst on, reading the sheet
// at (v >> 16, u >> 16), stepping both by (du, dv) a pixel.
struct SlantRun {
    uint16_t* dst;
    size_t n;
    int64_t u, v;
};
// The caller has checked that every run stays inside the sheet (`size`
// bytes, `pitch` a row) and that all positions and steps fit 32 bits
// (sheets below 32768 pixels a side).
void WideSlantRuns(const SlantRun* runs, size_t count, const uint8_t* pixels, size_t size, int64_t pitch, int64_t du,
                   int64_t dv, const WideRule& rule);

// One board run of a waved blit: n pixels from dst on, reading
// row[columns[k]]; `available` bytes may be read from row on. The columns
// never fall, and the caller has checked columns[0] >= 0 and
// columns[n - 1] < available.
struct MappedRun {
    uint16_t* dst;
    size_t n;
    const uint8_t* row;
    size_t available;
    const int32_t* columns;
};
void WideMappedRuns(const MappedRun* runs, size_t count, const WideRule& rule);
