#pragma once
// Converts a frame to the display's pixel format and scales it with nearest
// neighbours in one pass, straight into the memory the display shows. A
// 320x240 frame reaches the screen with one write per output pixel: no
// intermediate texture, no second conversion, no filtering.

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace platform {

// A packed pixel format of 2 or 4 bytes per pixel, given by its channel
// masks (contiguous bits each).
struct PixelFormatMasks {
    int bytesPerPixel = 4;
    uint32_t red = 0x00FF0000, green = 0x0000FF00, blue = 0x000000FF;
    bool operator==(const PixelFormatMasks&) const = default;
};

// The destination: a block of pixels in that format.
struct PixelTarget {
    void* pixels = nullptr;
    int width = 0, height = 0;
    int pitchBytes = 0;
    PixelFormatMasks format;
};

class FrameScaler {
public:
    // Can frames be written into this format? (2 or 4 bytes per pixel.)
    static bool Supports(const PixelFormatMasks& format);

    // Draws a 16-bit RGB565 frame (srcPitch in pixels) scaled into `dest`
    // (target pixels, clipped to the target). Each channel is widened by
    // repeating its top bits, so 0x1F red is full red.
    void Draw565(const PixelTarget& target, const uint16_t* src, int srcWidth, int srcHeight, int srcPitch,
                 Rect dest);
    // The same with 32-bit XRGB8888 pixels.
    void DrawXrgb(const PixelTarget& target, const uint32_t* src, int srcWidth, int srcHeight, int srcPitch,
                  Rect dest);
    // Fills a rectangle of the target with black.
    static void Clear(const PixelTarget& target, Rect area);

private:
    template <typename Out, typename In, typename Convert>
    void Scale(const PixelTarget& target, const In* src, int srcWidth, int srcHeight, int srcPitch, Rect dest,
               Convert convert);
    void PrepareTable(const PixelFormatMasks& format);

    // RGB565 to the target format, built when the format changes.
    std::vector<uint32_t> table565_;
    PixelFormatMasks tableFormat_;
    bool tableReady_ = false;
    // The source column of each output column, and one converted source row.
    std::vector<int> columns_;
    std::vector<uint32_t> row_;
};

}  // namespace platform
