#pragma once
// The in-memory picture that the image readers produce and the writers take:
// either 8-bit indexed with a 256-entry palette, or 24-bit with rows stored
// blue, green, red. Pictures read from 1- and 4-bit files keep their bit
// count (so the sheets can refuse them) but hold one index byte per pixel,
// and 16- and 32-bit files are expanded to 24 bits.

#include <array>
#include <cstdint>
#include <vector>

#include "data/errors.h"

// A picture that cannot be used: unreadable, empty, or of a pixel format its
// user does not take.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

struct PaletteEntry {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    uint8_t Flags = 0;
    bool operator==(const PaletteEntry&) const = default;
};

using Palette256 = std::array<PaletteEntry, 256>;

// Refuse pictures larger than this many pixels: far beyond any real game
// image (a 64-million-pixel panorama would be absurd), and it keeps hostile
// headers from asking for gigabytes.
constexpr int64_t kMaxImagePixels = int64_t(64) << 20;

class Bitmap {
public:
    Bitmap() = default;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // 8 (indexed, one byte a pixel) or 24 (blue, green, red); pictures from
    // 1- and 4-bit files say 1 or 4 but hold one index byte a pixel.
    int BitsPerPixel() const { return bitsPerPixel_; }
    bool IsIndexed() const { return bitsPerPixel_ <= 8; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    // Bytes in one row: the width for indexed pictures, three times it else.
    size_t RowBytes() const { return size_t(width_) * (IsIndexed() ? 1 : 3); }

    // Sizes the picture, zero-filled. Sizes beyond kMaxImagePixels, or
    // negative ones, raise EInvalidGraphic.
    void SetFormat(int32_t width, int32_t height, int bitsPerPixel);
    void Clear();

    uint8_t* Row(int32_t y) { return pixels_.data() + size_t(y) * RowBytes(); }
    const uint8_t* Row(int32_t y) const { return pixels_.data() + size_t(y) * RowBytes(); }
    std::vector<uint8_t>& Pixels() { return pixels_; }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }

    Palette256 Palette{};

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    int bitsPerPixel_ = 8;
    std::vector<uint8_t> pixels_;
};
