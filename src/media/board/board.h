#pragma once
// The board: a 16-bit RGB565 drawing target (red bits 15-11, green 10-5,
// blue 4-0), rows top to bottom. Sheets are drawn onto it through their
// colour tables, honouring their transparency and opacity: plainly,
// stretched, zoomed, rotated, or waved row by row. The screen board is shown
// through the platform display.

#include <cstdint>
#include <vector>

#include "media/rect.h"
#include "media/sheet/sheet.h"
#include "platform/platform.h"

// A 24-bit colour for TSorvoBoard::FillRect: 0xRRGGBB.
constexpr uint32_t RgbColor(uint8_t red, uint8_t green, uint8_t blue) {
    return (uint32_t(red) << 16) | (uint32_t(green) << 8) | blue;
}

class TSorvoBoard {
public:
    TSorvoBoard() = default;
    TSorvoBoard(const TSorvoBoard&) = delete;
    TSorvoBoard& operator=(const TSorvoBoard&) = delete;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    void SetWidth(int32_t width) { Resize(width, height_); }
    void SetHeight(int32_t height) { Resize(width_, height); }
    // The same size only clears; another size reallocates, black.
    void SetSize(int32_t width, int32_t height);
    // Every pixel black.
    void Clear();

    // Pixels of row 0; rows are Pitch() pixels (Stride() bytes) apart.
    uint16_t* Bits() { return pixels_.data(); }
    const uint16_t* Bits() const { return pixels_.data(); }
    int32_t Pitch() const { return width_; }
    int32_t Stride() const { return width_ * int32_t(sizeof(uint16_t)); }
    uint16_t* ScanLine(int32_t y) { return pixels_.data() + size_t(y) * size_t(width_); }
    const uint16_t* ScanLine(int32_t y) const { return pixels_.data() + size_t(y) * size_t(width_); }

    // Fills the rectangle (clipped) with a 24-bit colour (see RgbColor),
    // first adjusted by the board's brightness.
    void FillRect(const TRect& rect, uint32_t color);
    // Copies 16-bit pixels of another board (or of this one), clipped.
    void CopyFromBoard(int32_t x, int32_t y, const TSorvoBoard& source, const TRect& sourceRect);

    // The plain blit of a sheet's rectangle to (x, y).
    void Draw(int32_t x, int32_t y, TSorvoSheet& sheet, const TRect& sourceRect);
    // Nearest-neighbour scaling of the source rectangle into destRect.
    void StretchDraw(const TRect& destRect, TSorvoSheet& sheet, const TRect& sourceRect);
    // Zoom about (x, y), where the source's centre (halfWidth, halfHeight
    // into it) lands.
    void ZoomDraw(int32_t x, int32_t y, TSorvoSheet& sheet, const TRect& sourceRect, int32_t halfWidth,
                  int32_t halfHeight, double zoom);
    // Rotation by a byte angle (256 to a turn) and zoom about (x, y).
    void RotateDraw(int32_t x, int32_t y, TSorvoSheet& sheet, const TRect& sourceRect, int32_t halfWidth,
                    int32_t halfHeight, uint8_t angle, double zoom);
    // Zoom about (x, y) with every row shifted by a sine wave: one full wave
    // every `period` source rows, `amplitude` pixels (times the zoom) wide,
    // starting at angle `phase`.
    void WaveDraw(int32_t x, int32_t y, TSorvoSheet& sheet, const TRect& sourceRect, int32_t halfWidth,
                  int32_t halfHeight, int32_t amplitude, int32_t period, int32_t phase, double zoom);

    // Shows the whole board scaled into dest of the display's logical
    // screen.
    void Present(platform::Display& display, platform::Rect dest) const;

    // Percent 0..200: below 100 darkens, above whitens. Handed to each sheet
    // drawn (its colour table is rebuilt when it differs).
    int32_t Brightness = 100;

private:
    void Resize(int32_t width, int32_t height);
    // Copies the board's brightness into the sheet, rebuilding its table
    // when it changes.
    void HandOverBrightness(TSorvoSheet& sheet) const;

    std::vector<uint16_t> pixels_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};
