#pragma once
// The inner loop of the plain blits: n palette indices looked up in a
// 256-entry RGB565 table and written to the board, optionally skipping index
// 0. Wide vector versions are chosen at start-up where the processor has
// them; all versions write the same pixels.

#include <cstddef>
#include <cstdint>
#include <vector>

void TableRow(uint16_t* dst, const uint8_t* src, size_t n, const uint16_t* table, bool skipZero);

// The portable version, for comparison in tests.
void TableRowScalar(uint16_t* dst, const uint8_t* src, size_t n, const uint16_t* table, bool skipZero);

// Every version of TableRow this processor can run, so tests can check
// each against the portable one.
using TableRowFunction = void (*)(uint16_t*, const uint8_t*, size_t, const uint16_t*, bool);
std::vector<TableRowFunction> TableRowVersions();

// Mixes n colours into the board with weights w and v (w + v = 257), per
// RGB565 field: (colour * w + board * v) >> 8. With skipZero, pixels whose
// index in `src` is 0 keep the board's colour.
void BlendRow(uint16_t* dst, const uint16_t* colours, const uint8_t* src, size_t n, uint16_t w, uint16_t v,
              bool skipZero);

using BlendRowFunction = void (*)(uint16_t*, const uint16_t*, const uint8_t*, size_t, uint16_t, uint16_t, bool);
std::vector<BlendRowFunction> BlendRowVersions();
