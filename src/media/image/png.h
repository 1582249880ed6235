#pragma once
// PNG images: the reader takes 8-bit palette (colour type 3) and 8-bit RGB
// (colour type 2) images without interlacing, with the zlib stream split
// over IDAT chunks anywhere; the writer writes 8-bit palette or 24-bit RGB.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/image/bitmap.h"

// Reads a PNG file held in memory into `out`. Format errors raise
// EInvalidGraphic ("Invalid PNG Image", "Unsupported PNG Image"), zlib
// failures a plain Exception ("Zlib Error"), a file that ends early
// EReadError.
void ReadPng(std::span<const uint8_t> data, Bitmap& out);

// Encodes a picture as PNG: pictures of 8 bits or fewer become palette
// images with all 256 palette entries, others 24-bit RGB.
std::vector<uint8_t> WritePng(const Bitmap& image);

// A picture that loads and saves itself as PNG.
class TSorvoPng : public Bitmap {
public:
    void LoadFromBytes(std::span<const uint8_t> data) { ReadPng(data, *this); }
    std::vector<uint8_t> SaveToBytes() const { return WritePng(*this); }
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
};
