#include "media/image/load_image_file.h"

#include <cstring>

#include "data/string_table.h"
#include "media/image/bmp.h"
#include "media/image/file_bytes.h"
#include "media/image/png.h"
#include "media/image/xyz.h"

void LoadImageBytes(Bitmap& bitmap, std::span<const uint8_t> data) {
    if (data.size() < 4) {
        bitmap.Clear();
        throw EReadError();
    }
    static const uint8_t kPng[4] = {0x89, 'P', 'N', 'G'};
    if (std::memcmp(data.data(), kPng, 4) == 0) {
        ReadPng(data, bitmap);
    } else if (std::memcmp(data.data(), "XYZ1", 4) == 0) {
        ReadXyz(data, bitmap);
    } else {
        ReadBmp(data, bitmap);
    }
    if (bitmap.Empty()) throw EInvalidGraphic(LoadStr(kStrInvalidBitmap));
}

void LoadImageFile(Bitmap& bitmap, const std::string& fileName) {
    LoadImageBytes(bitmap, ReadFileBytes(fileName));
}
