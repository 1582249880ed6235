#include "media/image/load_image_file.h"

#include <cstring>

#include "data/stderr_note.h"
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
    const std::vector<uint8_t> bytes = ReadFileBytes(fileName);
    try {
        LoadImageBytes(bitmap, bytes);
    } catch (const std::exception& e) {
        // The box keeps the decoder's text; stderr says which file it was,
        // and when the file does not start as any image kind, that too.
        auto starts = [&](const char* head, size_t n) {
            return bytes.size() >= n && std::memcmp(bytes.data(), head, n) == 0;
        };
        if (!starts("\x89PNG", 4) && !starts("XYZ1", 4) && !starts("BM", 2))
            NoteOnStderr(fileName + " is not an image: it starts with none of the headers of BMP, PNG or XYZ");
        else
            NoteFileError(fileName, e);
        throw;
    }
}
