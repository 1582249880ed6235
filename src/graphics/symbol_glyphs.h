#pragma once
// The 52 symbol glyphs that text draws for "$A".."$Z" and "$a".."$z": hearts
// and suits, shapes, arrows, notes, weather, equipment, faces and marks. They
// are the program's own pictures, laid out as one 156x48 image of 13 columns
// by 4 rows of 12x12 cells (A..M, N..Z, a..m, n..z).

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kSymbolGlyphSize = 12;
constexpr int kSymbolGlyphColumns = 13;
constexpr int kSymbolGlyphRows = 4;
constexpr int kSymbolSheetWidth = kSymbolGlyphSize * kSymbolGlyphColumns;  // 156
constexpr int kSymbolSheetHeight = kSymbolGlyphSize * kSymbolGlyphRows;    // 48

// Cell of the glyph for a letter: column and row in the grid; false for a
// byte that is not A..Z or a..z.
bool SymbolGlyphCell(uint8_t letter, int& column, int& row);

// The whole 156x48 image, one byte per pixel, rows top to bottom: `ink` where
// a glyph has ink, 0 elsewhere.
std::vector<uint8_t> SymbolGlyphPixels(uint8_t ink = 1);
