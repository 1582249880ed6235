#pragma once
// A sheet: an 8-bit palette picture with its own 256 colours, and the table
// of those colours in the screen's RGB565 format after the colour pipeline
// (saturation, tone, flash, brightness). Blits look every pixel up in the
// table, so a tint or fade costs 256 colour computations, not one a pixel.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/image/bitmap.h"
#include "media/rect.h"
#include "media/sheet/color_control.h"

class TSorvoSheet {
public:
    TSorvoSheet();
    // The colour controls point back at their sheet: a sheet stays where
    // it was made (hold it by pointer to move it about).
    TSorvoSheet(const TSorvoSheet&) = delete;
    TSorvoSheet& operator=(const TSorvoSheet&) = delete;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    TRect GetBoundsRect() const { return TRect(0, 0, width_, height_); }

    // Frees and reallocates zeroed pixels when the size changes; the same
    // size keeps the pixels. Sizes beyond kMaxImagePixels raise
    // EInvalidGraphic; negative ones count as 0.
    void SetSize(int32_t width, int32_t height);
    // Zeroes the pixels, the palette and the colour table.
    void Clear();
    // Frees the pixels; the size becomes 0x0.
    void FreePixels();

    uint8_t* Pixels() { return pixels_.data(); }
    const uint8_t* Pixels() const { return pixels_.data(); }
    // Row y's first pixel; rows are Width() bytes, back to back.
    uint8_t* ScanLine(int32_t y) { return pixels_.data() + size_t(y) * size_t(width_); }
    const uint8_t* ScanLine(int32_t y) const { return pixels_.data() + size_t(y) * size_t(width_); }

    // Writes one palette entry; the caller rebuilds the table.
    void SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue);
    // Rebuilds all 256 entries of ColorTable from Palette.
    void UpdateColorTable();
    // Turns the hue of palette entries 1..255 by whole degrees, then
    // rebuilds the table.
    void RotateHue(int32_t degrees);

    // Copies an 8-bit picture from pixel (offsetX, offsetY) on, with its
    // palette, and rebuilds the table. Other bit counts raise
    // EInvalidGraphic. With AutoSize the sheet first takes the picture's size.
    void LoadFromBitmap(const Bitmap& bitmap, int32_t offsetX = 0, int32_t offsetY = 0);
    // Clears, then loads an image file (BMP, PNG or XYZ1) by path. An empty
    // path only clears. With raiseErrors false a failure leaves the sheet
    // cleared instead of raising.
    void LoadFromFileAt(const std::string& fileName, int32_t offsetX, int32_t offsetY, bool raiseErrors);
    void LoadFromFile(const std::string& fileName, bool raiseErrors) { LoadFromFileAt(fileName, 0, 0, raiseErrors); }
    // Pictures built into the program: a BMP (a whole file, or a packed
    // bitmap without file header) and an XYZ1 image.
    void LoadFromResource(std::span<const uint8_t> bitmapBytes, bool raiseErrors);
    void LoadFromXyzResource(std::span<const uint8_t> xyzBytes, bool raiseErrors);

    // Reverses every row in place.
    void MirrorHorizontal();
    // Do two rectangles hold the same indices? False for different sizes,
    // true for empty ones. Pixels outside the sheet compare equal to each
    // other and to nothing inside.
    bool SameContent(const TRect& a, const TRect& b) const;
    // Is every pixel of the rectangle (clipped to the sheet) index 0? Is
    // none? Both hold for an empty rectangle.
    bool IsBlank(const TRect& rect) const;
    bool IsSolid(const TRect& rect) const;
    // Fills the rectangle, clipped to the sheet, with one index.
    void FillRect(const TRect& rect, uint8_t index);
    // Copies indices of a rectangle of another sheet to (x, y), clipped to
    // both; a transparent source skips its index 0.
    void Draw(int32_t x, int32_t y, const TSorvoSheet& source, const TRect& sourceRect);

    // Red, green, blue and a flags byte the pipeline ignores.
    Palette256 Palette{};
    // RGB565: red in bits 15-11, green 10-5, blue 4-0.
    std::array<uint16_t, 256> ColorTable{};
    bool Transparent = false;  // while on, no blit draws index 0
    int32_t Opacity = 255;     // 0..255, for the board's blits
    bool AutoSize = false;     // while on, loading resizes to the image
    TSorvoColorControl ColorControl1;
    TSorvoColorControl ColorControl2;
    int32_t Brightness = 100;  // percent: 0 black, 100 unchanged, 200 white

private:
    void LoadWith(bool raiseErrors, const auto& load);

    std::vector<uint8_t> pixels_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};
