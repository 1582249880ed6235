#include "media/board/board.h"

#include <algorithm>
#include <cstring>

#include "data/string_table.h"
#include "media/board/pixel_rule.h"
#include "media/copy_clip.h"

void TSorvoBoard::Resize(int32_t width, int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (int64_t(width) * height > kMaxImagePixels) throw EInvalidGraphic(LoadStr(kStrInvalidBitmap));
    pixels_.assign(size_t(width) * size_t(height), 0);
    width_ = width;
    height_ = height;
}

void TSorvoBoard::SetSize(int32_t width, int32_t height) {
    if (width == width_ && height == height_) {
        Clear();
        return;
    }
    Resize(width, height);
}

void TSorvoBoard::Clear() {
    // One block write: a pixel loop costs a check per pixel in the sanitizer
    // builds, and the board is cleared every frame.
    if (!pixels_.empty()) std::memset(pixels_.data(), 0, pixels_.size() * sizeof(uint16_t));
}

void TSorvoBoard::HandOverBrightness(TSorvoSheet& sheet) const {
    if (sheet.Brightness == Brightness) return;
    sheet.Brightness = Brightness;
    sheet.UpdateColorTable();
}

void TSorvoBoard::FillRect(const TRect& rect, uint32_t color) {
    const int64_t p = Brightness;
    auto adjust = [p](int64_t c) {
        if (p < 100)
            c = c * p / 100;
        else if (p > 100)
            c = c + (p - 100) * (255 - c) / 100;
        return std::clamp<int64_t>(c, 0, 255);
    };
    const int64_t red = adjust((color >> 16) & 255), green = adjust((color >> 8) & 255), blue = adjust(color & 255);
    const uint16_t pixel = uint16_t(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
    const int32_t left = std::clamp(rect.Left, 0, width_), right = std::clamp(rect.Right, 0, width_);
    const int32_t top = std::clamp(rect.Top, 0, height_), bottom = std::clamp(rect.Bottom, 0, height_);
    if (left >= right || top >= bottom) return;
    // One row pixel by pixel, the others copied from it a row at a time.
    uint16_t* const first = ScanLine(top) + left;
    std::fill(first, first + (right - left), pixel);
    const size_t bytes = size_t(right - left) * sizeof(uint16_t);
    for (int32_t y = top + 1; y < bottom; ++y) std::memcpy(ScanLine(y) + left, first, bytes);
}

void TSorvoBoard::CopyFromBoard(int32_t x, int32_t y, const TSorvoBoard& source, const TRect& sourceRect) {
    const CopyClip c = ClipCopy(x, y, sourceRect, source.width_, source.height_, width_, height_);
    if (c.Empty()) return;
    const size_t bytes = size_t(c.width) * sizeof(uint16_t);
    // A board copied onto itself may overlap: walk rows away from the overlap.
    const bool upward = &source == this && c.dstY > c.srcY;
    for (int64_t i = 0; i < c.height; ++i) {
        const int64_t row = upward ? c.height - 1 - i : i;
        std::memmove(ScanLine(int32_t(c.dstY + row)) + c.dstX, source.ScanLine(int32_t(c.srcY + row)) + c.srcX, bytes);
    }
}

void TSorvoBoard::Draw(int32_t x, int32_t y, TSorvoSheet& sheet, const TRect& sourceRect) {
    const CopyClip c = ClipCopy(x, y, sourceRect, sheet.Width(), sheet.Height(), width_, height_);
    if (c.Empty()) return;
    HandOverBrightness(sheet);
    if (WideBlits()) {
        WideBlock(ScanLine(int32_t(c.dstY)) + c.dstX, size_t(width_), sheet.ScanLine(int32_t(c.srcY)) + c.srcX,
                  size_t(sheet.Width()), size_t(c.width), size_t(c.height), pixel_rule::WideRuleOf(sheet));
        return;
    }
    pixel_rule::WithRule<false>(sheet, [&](auto rule) {
        const size_t width = size_t(c.width);
        for (int64_t row = 0; row < c.height; ++row) {
            const uint8_t* src = sheet.ScanLine(int32_t(c.srcY + row)) + c.srcX;
            uint16_t* dst = ScanLine(int32_t(c.dstY + row)) + c.dstX;
            rule.Row(dst, src, width);
        }
    });
}

void TSorvoBoard::Present(platform::Display& display, platform::Rect dest) const {
    display.Present(pixels_.data(), width_, height_, Pitch(), dest);
}
