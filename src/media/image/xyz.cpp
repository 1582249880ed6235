#include "media/image/xyz.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "data/byte_reader.h"
#include "data/string_table.h"
#include "media/image/file_bytes.h"
#include "media/image/zlib_stream.h"

namespace {

constexpr int kStrInvalidXyz = 65297;
constexpr int kStrXyzZlibError = 65298;
constexpr size_t kPaletteBytes = 768;
// See the PNG reader: zlib cannot expand by much more than 1032 to 1.
constexpr int64_t kMaxInflateRatio = 1040;

[[noreturn]] void Invalid() {
    throw EInvalidGraphic(LoadStr(kStrInvalidXyz));
}
[[noreturn]] void ZlibError() {
    throw Exception(LoadStr(kStrXyzZlibError));
}

}  // namespace

void ReadXyz(std::span<const uint8_t> data, Bitmap& out) {
    out.Clear();
    ByteReader r(data);
    auto sig = r.Take(4);
    if (std::memcmp(sig.data(), "XYZ1", 4) != 0) Invalid();
    const uint16_t width = r.ReadU16LE();
    const uint16_t height = r.ReadU16LE();
    const int64_t pixels = int64_t(width) * height;
    const int64_t inflated = int64_t(kPaletteBytes) + pixels;
    // The header alone may claim up to 65535 x 65535; refuse what the
    // compressed bytes could never hold.
    if (pixels > kMaxImagePixels || inflated > int64_t(r.Remaining()) * kMaxInflateRatio + 1024) Invalid();
    out.SetFormat(width, height, 8);

    InflateStream zs;
    if (!zs.Init()) ZlibError();
    std::vector<uint8_t> buffer(size_t(inflated), 0);
    std::span<const uint8_t> input = r.Take(r.Remaining());
    zs.z.next_in = const_cast<Bytef*>(input.data());
    zs.z.avail_in = uInt(input.size());
    zs.z.next_out = buffer.data();
    zs.z.avail_out = uInt(buffer.size());
    if (inflate(&zs.z, Z_FINISH) < 0) ZlibError();

    for (int i = 0; i < 256; ++i) out.Palette[i] = PaletteEntry{buffer[3 * i], buffer[3 * i + 1], buffer[3 * i + 2], 0};
    if (pixels > 0) std::memcpy(out.Pixels().data(), buffer.data() + kPaletteBytes, size_t(pixels));
}

std::vector<uint8_t> WriteXyz(const Bitmap& image) {
    const int32_t width = std::max(image.Width(), 0);
    const int32_t height = std::max(image.Height(), 0);
    // The header holds 16-bit sizes; larger ones would be cut silently.
    if (width > 0xFFFF || height > 0xFFFF) Invalid();

    std::vector<uint8_t> raw(kPaletteBytes + size_t(width) * size_t(height));
    if (image.IsIndexed()) {
        for (int i = 0; i < 256; ++i) {
            raw[3 * i] = image.Palette[i].Red;
            raw[3 * i + 1] = image.Palette[i].Green;
            raw[3 * i + 2] = image.Palette[i].Blue;
        }
        if (!raw.empty() && width > 0 && height > 0)
            std::memcpy(raw.data() + kPaletteBytes, image.Pixels().data(), size_t(width) * size_t(height));
    } else {
        // A 24-bit picture converts exactly when it has at most 256 colours.
        std::map<uint32_t, uint8_t> indexOf;
        for (int32_t y = 0; y < height; ++y) {
            const uint8_t* src = image.Row(y);
            uint8_t* dst = raw.data() + kPaletteBytes + size_t(y) * size_t(width);
            for (int32_t x = 0; x < width; ++x) {
                uint32_t bgr =
                    uint32_t(src[3 * x]) | (uint32_t(src[3 * x + 1]) << 8) | (uint32_t(src[3 * x + 2]) << 16);
                auto it = indexOf.find(bgr);
                if (it == indexOf.end()) {
                    if (indexOf.size() == 256) throw EInvalidGraphic(LoadStr(kStrInvalidImageFormat));
                    uint8_t index = uint8_t(indexOf.size());
                    it = indexOf.emplace(bgr, index).first;
                    raw[3 * index] = src[3 * x + 2];
                    raw[3 * index + 1] = src[3 * x + 1];
                    raw[3 * index + 2] = src[3 * x];
                }
                dst[x] = it->second;
            }
        }
    }

    DeflateStream zs;
    if (!zs.Init(Z_DEFAULT_COMPRESSION)) ZlibError();
    std::vector<uint8_t> out(8);
    std::memcpy(out.data(), "XYZ1", 4);
    out[4] = uint8_t(width);
    out[5] = uint8_t(width >> 8);
    out[6] = uint8_t(height);
    out[7] = uint8_t(height >> 8);
    const size_t bound = deflateBound(&zs.z, uLong(raw.size()));
    out.resize(8 + bound);
    zs.z.next_in = raw.data();
    zs.z.avail_in = uInt(raw.size());
    zs.z.next_out = out.data() + 8;
    zs.z.avail_out = uInt(bound);
    if (deflate(&zs.z, Z_FINISH) != Z_STREAM_END) ZlibError();
    out.resize(8 + (bound - zs.z.avail_out));
    return out;
}

void TSorvoXyz::LoadFromFile(const std::string& path) {
    ReadXyz(ReadFileBytes(path), *this);
}

void TSorvoXyz::SaveToFile(const std::string& path) const {
    WriteFileBytes(path, WriteXyz(*this));
}
