#pragma once
// Loads a picture file of any kind the game uses, choosing the reader by
// the file's first four bytes: 0x89 "PNG" for PNG, "XYZ1" for XYZ1, anything
// else is read as a BMP.

#include <cstdint>
#include <span>
#include <string>

#include "media/image/bitmap.h"

// Reads the file into `bitmap`. A file of fewer than four bytes raises
// EReadError; an empty result raises EInvalidGraphic with the invalid-bitmap
// text; the readers raise their own errors.
void LoadImageFile(Bitmap& bitmap, const std::string& fileName);

// The same for a file already in memory (built-in pictures, tests).
void LoadImageBytes(Bitmap& bitmap, std::span<const uint8_t> data);
