#include "platform/frame_scaler.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace platform {

namespace {

// An 8-bit channel value placed into a channel mask.
uint32_t PackChannel(uint32_t mask, uint32_t value8) {
    int bits = std::popcount(mask);
    if (bits == 0) return 0;
    uint32_t v = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
    return (v << std::countr_zero(mask)) & mask;
}

uint32_t Pack(const PixelFormatMasks& f, uint32_t r, uint32_t g, uint32_t b) {
    return PackChannel(f.red, r) | PackChannel(f.green, g) | PackChannel(f.blue, b);
}

constexpr PixelFormatMasks kXrgb8888{};

// The part of `dest` inside the target.
Rect ClipToTarget(const PixelTarget& target, Rect dest) {
    int x0 = std::max(dest.x, 0), y0 = std::max(dest.y, 0);
    int x1 = int(std::min<int64_t>(int64_t(dest.x) + dest.w, target.width));
    int y1 = int(std::min<int64_t>(int64_t(dest.y) + dest.h, target.height));
    if (x1 <= x0 || y1 <= y0) return Rect{0, 0, 0, 0};
    return Rect{x0, y0, x1 - x0, y1 - y0};
}

uint8_t* RowAt(const PixelTarget& target, int y) {
    return static_cast<uint8_t*>(target.pixels) + ptrdiff_t(y) * target.pitchBytes;
}

}  // namespace

bool FrameScaler::Supports(const PixelFormatMasks& format) {
    return (format.bytesPerPixel == 2 || format.bytesPerPixel == 4) && format.red && format.green && format.blue;
}

void FrameScaler::PrepareTable(const PixelFormatMasks& format) {
    if (tableReady_ && tableFormat_ == format) return;
    table565_.resize(65536);
    for (uint32_t p = 0; p < 65536; ++p) {
        uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
        table565_[p] = Pack(format, (r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
    }
    tableFormat_ = format;
    tableReady_ = true;
}

template <typename Out, typename In, typename Convert>
void FrameScaler::Scale(const PixelTarget& target, const In* src, int srcWidth, int srcHeight, int srcPitch,
                        Rect dest, Convert convert) {
    if (!target.pixels || !src || srcWidth <= 0 || srcHeight <= 0 || srcPitch < srcWidth || dest.w <= 0 ||
        dest.h <= 0)
        return;
    Rect clip = ClipToTarget(target, dest);
    if (clip.w == 0) return;
    columns_.resize(size_t(clip.w));
    for (int i = 0; i < clip.w; ++i)
        columns_[size_t(i)] = int(int64_t(clip.x + i - dest.x) * srcWidth / dest.w);
    const size_t rowBytes = size_t(clip.w) * sizeof(Out);
    int lastSourceRow = -1;
    const uint8_t* lastRow = nullptr;
    for (int y = clip.y; y < clip.y + clip.h; ++y) {
        int sy = int(int64_t(y - dest.y) * srcHeight / dest.h);
        Out* out = reinterpret_cast<Out*>(RowAt(target, y)) + clip.x;
        if (sy == lastSourceRow) {
            // A repeated source row: copy the row just written.
            std::memcpy(out, lastRow, rowBytes);
            continue;
        }
        const In* in = src + ptrdiff_t(sy) * srcPitch;
        for (int i = 0; i < clip.w; ++i) out[i] = Out(convert(in[columns_[size_t(i)]]));
        lastSourceRow = sy;
        lastRow = reinterpret_cast<const uint8_t*>(out);
    }
}

void FrameScaler::Draw565(const PixelTarget& target, const uint16_t* src, int srcWidth, int srcHeight, int srcPitch,
                          Rect dest) {
    if (!Supports(target.format)) return;
    PrepareTable(target.format);
    const uint32_t* table = table565_.data();
    auto convert = [table](uint16_t p) { return table[p]; };
    if (target.format.bytesPerPixel == 4)
        Scale<uint32_t>(target, src, srcWidth, srcHeight, srcPitch, dest, convert);
    else
        Scale<uint16_t>(target, src, srcWidth, srcHeight, srcPitch, dest, convert);
}

void FrameScaler::DrawXrgb(const PixelTarget& target, const uint32_t* src, int srcWidth, int srcHeight,
                           int srcPitch, Rect dest) {
    if (!Supports(target.format)) return;
    const PixelFormatMasks format = target.format;
    auto convert = [format](uint32_t p) { return Pack(format, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); };
    if (format == kXrgb8888)
        Scale<uint32_t>(target, src, srcWidth, srcHeight, srcPitch, dest, [](uint32_t p) { return p & 0xFFFFFF; });
    else if (format.bytesPerPixel == 4)
        Scale<uint32_t>(target, src, srcWidth, srcHeight, srcPitch, dest, convert);
    else
        Scale<uint16_t>(target, src, srcWidth, srcHeight, srcPitch, dest, convert);
}

void FrameScaler::Clear(const PixelTarget& target, Rect area) {
    if (!target.pixels || (target.format.bytesPerPixel != 2 && target.format.bytesPerPixel != 4)) return;
    Rect clip = ClipToTarget(target, area);
    for (int y = clip.y; y < clip.y + clip.h; ++y)
        std::memset(RowAt(target, y) + ptrdiff_t(clip.x) * target.format.bytesPerPixel, 0,
                    size_t(clip.w) * size_t(target.format.bytesPerPixel));
}

}  // namespace platform
