#include "media/image/bitmap.h"

#include "data/string_table.h"

void Bitmap::SetFormat(int32_t width, int32_t height, int bitsPerPixel) {
    if (width < 0 || height < 0 || int64_t(width) * height > kMaxImagePixels)
        throw EInvalidGraphic(LoadStr(kStrInvalidBitmap));
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    pixels_.assign(RowBytes() * size_t(height), 0);
}

void Bitmap::Clear() {
    width_ = 0;
    height_ = 0;
    bitsPerPixel_ = 8;
    pixels_.clear();
    Palette = Palette256{};
}
