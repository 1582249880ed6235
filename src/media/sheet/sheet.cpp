#include "media/sheet/sheet.h"

#include <algorithm>
#include <cstring>

#include "data/string_table.h"
#include "media/copy_clip.h"
#include "media/image/bmp.h"
#include "media/image/load_image_file.h"
#include "media/image/xyz.h"

namespace {

// The part of a rectangle inside a width x height area.
TRect ClipToArea(const TRect& r, int32_t width, int32_t height) {
    return TRect(std::clamp(r.Left, 0, width), std::clamp(r.Top, 0, height), std::clamp(r.Right, 0, width),
                 std::clamp(r.Bottom, 0, height));
}

}  // namespace

TSorvoSheet::TSorvoSheet() : ColorControl1(this), ColorControl2(this) {}

void TSorvoSheet::SetSize(int32_t width, int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    if (int64_t(width) * height > kMaxImagePixels) throw EInvalidGraphic(LoadStr(kStrInvalidBitmap));
    pixels_.assign(size_t(width) * size_t(height), 0);
    width_ = width;
    height_ = height;
}

void TSorvoSheet::Clear() {
    std::fill(pixels_.begin(), pixels_.end(), 0);
    Palette = Palette256{};
    ColorTable.fill(0);
}

void TSorvoSheet::FreePixels() {
    pixels_ = {};
    width_ = height_ = 0;
}

void TSorvoSheet::SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue) {
    if (index < 0 || index > 255) return;
    Palette[index].Red = red;
    Palette[index].Green = green;
    Palette[index].Blue = blue;
}

void TSorvoSheet::LoadFromBitmap(const Bitmap& bitmap, int32_t offsetX, int32_t offsetY) {
    if (bitmap.BitsPerPixel() != 8) throw EInvalidGraphic(LoadStr(kStrInvalidImageFormat));
    if (AutoSize) SetSize(bitmap.Width(), bitmap.Height());
    // Counts can come out negative for offsets beyond the picture, and an
    // offset before the picture's start has nothing to copy for those pixels.
    const int64_t rows = std::min<int64_t>(int64_t(bitmap.Height()) - offsetY, height_);
    const int64_t cols = std::min<int64_t>(int64_t(bitmap.Width()) - offsetX, width_);
    for (int64_t i = 0; i < rows; ++i) {
        const int64_t srcRow = offsetY + i;
        if (srcRow < 0) continue;
        const int64_t skip = offsetX < 0 ? -int64_t(offsetX) : 0;
        if (skip >= cols) break;
        std::memcpy(ScanLine(int32_t(i)) + skip, bitmap.Row(int32_t(srcRow)) + offsetX + skip, size_t(cols - skip));
    }
    Palette = bitmap.Palette;
    UpdateColorTable();
}

void TSorvoSheet::LoadWith(bool raiseErrors, const auto& load) {
    Clear();
    try {
        load();
    } catch (const std::exception&) {
        // A failed load leaves the sheet cleared; only a caller who asked
        // hears of it.
        Clear();
        if (raiseErrors) throw;
    }
}

void TSorvoSheet::LoadFromFileAt(const std::string& fileName, int32_t offsetX, int32_t offsetY, bool raiseErrors) {
    if (fileName.empty()) {
        Clear();
        return;
    }
    LoadWith(raiseErrors, [&] {
        Bitmap bitmap;
        LoadImageFile(bitmap, fileName);
        LoadFromBitmap(bitmap, offsetX, offsetY);
    });
}

void TSorvoSheet::LoadFromResource(std::span<const uint8_t> bitmapBytes, bool raiseErrors) {
    LoadWith(raiseErrors, [&] {
        Bitmap bitmap;
        if (bitmapBytes.size() >= 2 && bitmapBytes[0] == 'B' && bitmapBytes[1] == 'M') {
            ReadBmp(bitmapBytes, bitmap);
        } else {
            ReadPackedDib(bitmapBytes, bitmap);
        }
        LoadFromBitmap(bitmap);
    });
}

void TSorvoSheet::LoadFromXyzResource(std::span<const uint8_t> xyzBytes, bool raiseErrors) {
    LoadWith(raiseErrors, [&] {
        Bitmap bitmap;
        ReadXyz(xyzBytes, bitmap);
        LoadFromBitmap(bitmap);
    });
}

void TSorvoSheet::MirrorHorizontal() {
    for (int32_t y = 0; y < height_; ++y) std::reverse(ScanLine(y), ScanLine(y) + width_);
}

bool TSorvoSheet::SameContent(const TRect& a, const TRect& b) const {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    const int64_t w = a.Width(), h = a.Height();
    if (h <= 0 || w <= 0) return true;
    auto inside = [&](int64_t x, int64_t y) { return x >= 0 && y >= 0 && x < width_ && y < height_; };
    const bool aInside = inside(a.Left, a.Top) && inside(a.Right - 1, a.Bottom - 1);
    const bool bInside = inside(b.Left, b.Top) && inside(b.Right - 1, b.Bottom - 1);
    if (aInside && bInside) {
        for (int64_t y = 0; y < h; ++y) {
            if (std::memcmp(ScanLine(int32_t(a.Top + y)) + a.Left, ScanLine(int32_t(b.Top + y)) + b.Left, size_t(w)))
                return false;
        }
        return true;
    }
    // Partly outside: a pixel outside the sheet equals only another one
    // outside it. Only offsets where at least one side is inside can differ,
    // so walk the part of each rectangle inside the sheet.
    auto at = [&](int64_t x, int64_t y) { return inside(x, y) ? int(ScanLine(int32_t(y))[x]) : -1; };
    for (const auto& [self, other] : {std::pair{a, b}, std::pair{b, a}}) {
        const TRect in = ClipToArea(self, width_, height_);
        for (int64_t y = in.Top; y < in.Bottom; ++y)
            for (int64_t x = in.Left; x < in.Right; ++x)
                if (at(x, y) != at(other.Left + (x - self.Left), other.Top + (y - self.Top))) return false;
    }
    return true;
}

bool TSorvoSheet::IsBlank(const TRect& rect) const {
    const TRect r = ClipToArea(rect, width_, height_);
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        const uint8_t* row = ScanLine(y);
        for (int32_t x = r.Left; x < r.Right; ++x)
            if (row[x] != 0) return false;
    }
    return true;
}

bool TSorvoSheet::IsSolid(const TRect& rect) const {
    const TRect r = ClipToArea(rect, width_, height_);
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        const uint8_t* row = ScanLine(y);
        for (int32_t x = r.Left; x < r.Right; ++x)
            if (row[x] == 0) return false;
    }
    return true;
}

void TSorvoSheet::FillRect(const TRect& rect, uint8_t index) {
    const TRect r = ClipToArea(rect, width_, height_);
    if (r.Left >= r.Right) return;  // also a rectangle given back to front
    for (int32_t y = r.Top; y < r.Bottom; ++y) std::memset(ScanLine(y) + r.Left, index, size_t(r.Right - r.Left));
}

void TSorvoSheet::Draw(int32_t x, int32_t y, const TSorvoSheet& source, const TRect& sourceRect) {
    const CopyClip c = ClipCopy(x, y, sourceRect, source.width_, source.height_, width_, height_);
    if (c.Empty()) return;
    for (int64_t row = 0; row < c.height; ++row) {
        const uint8_t* src = source.ScanLine(int32_t(c.srcY + row)) + c.srcX;
        uint8_t* dst = ScanLine(int32_t(c.dstY + row)) + c.dstX;
        if (!source.Transparent) {
            std::memmove(dst, src, size_t(c.width));
        } else {
            for (int64_t i = 0; i < c.width; ++i)
                if (src[i]) dst[i] = src[i];
        }
    }
}
