#include "images.h"

#include <cstring>
#include <string>

#include "art.h"
#include "media/image/bitmap.h"
#include "media/image/png.h"
#include "media/image/xyz.h"

namespace mkdemo {
namespace {

Bitmap ToBitmap(const Bitmap8& image) {
    Bitmap bitmap;
    bitmap.SetFormat(image.width(), image.height(), 8);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(bitmap.Row(y), image.pixels().data() + static_cast<size_t>(y) * static_cast<size_t>(image.width()),
                    static_cast<size_t>(image.width()));
    for (size_t i = 0; i < 256; ++i) {
        const Rgb c = image.palette()[i];
        bitmap.Palette[i] = PaletteEntry{c.r, c.g, c.b, 0};
    }
    return bitmap;
}

// Battle pictures and full-screen backgrounds go out as XYZ1, everything
// else as PNG.
bool StoredAsXyz(const std::string& folder) {
    return folder == "Monster" || folder == "Battle" || folder == "Backdrop" || folder == "Panorama" ||
           folder == "Picture";
}

}  // namespace

void WriteImages(OutputFolder& out) {
    for (const NamedImage& image : DrawAllArt()) {
        const Bitmap bitmap = ToBitmap(image.image);
        const bool xyz = StoredAsXyz(image.folder);
        std::vector<uint8_t> bytes = xyz ? WriteXyz(bitmap) : WritePng(bitmap);
        out.Write(image.folder + "/" + image.name + (xyz ? ".xyz" : ".png"), Bytes(bytes.begin(), bytes.end()));
    }
}

}  // namespace mkdemo
