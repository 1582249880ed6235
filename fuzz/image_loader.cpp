// Feeds arbitrary bytes to the image loader (PNG, XYZ1 and BMP readers by
// the first bytes), then through a sheet and back through our writers.
// Every input must either load or raise one of the program's errors.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "media/image/load_image_file.h"
#include "media/image/png.h"
#include "media/image/xyz.h"
#include "media/sheet/sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bitmap bitmap;
    try {
        LoadImageBytes(bitmap, std::span<const uint8_t>(data, size));
    } catch (const Exception&) {
        return 0;
    }
    if (bitmap.BitsPerPixel() == 8) {
        TSorvoSheet sheet;
        sheet.AutoSize = true;
        sheet.LoadFromBitmap(bitmap);
        sheet.RotateHue(int32_t(size % 360));
    }
    // Small pictures go round our writers and must come back unchanged.
    if (int64_t(bitmap.Width()) * bitmap.Height() <= 4096) {
        Bitmap back;
        ReadPng(WritePng(bitmap), back);
        if (back.Pixels() != bitmap.Pixels()) std::abort();
        if (bitmap.IsIndexed()) {
            ReadXyz(WriteXyz(bitmap), back);
            if (back.Pixels() != bitmap.Pixels()) std::abort();
        }
    }
    return 0;
}
