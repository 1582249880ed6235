#pragma once
// Windows and OS/2 bitmaps: our own reader, in place of the system's.
//
// Read: the 12-byte OS/2 header and the 40- to 124-byte Windows headers;
// 1, 4 and 8 bits per pixel uncompressed, 8-bit RLE8 and 4-bit RLE4 (both
// decoded to one index a pixel); 16, 24 and 32 bits per pixel, uncompressed
// or with bit-field masks (expanded to 24 bits); rows bottom-up, or top-down
// for a negative height. Pictures keep their file's bit count for 1, 4 and 8
// bits (the sheets take only 8-bit ones).

#include <cstdint>
#include <span>

#include "media/image/bitmap.h"

// A whole .bmp file ("BM", file header, info header, palette, pixels).
// A truncated file raises EInvalidGraphic with the short-file text, a zero
// size the empty-bitmap text, any other malformed or unsupported header the
// invalid-bitmap text.
void ReadBmp(std::span<const uint8_t> data, Bitmap& out);

// A packed bitmap without the file header (info header, palette, pixels),
// the layout of bitmap resources.
void ReadPackedDib(std::span<const uint8_t> data, Bitmap& out);
