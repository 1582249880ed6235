#include "media/image/bmp.h"

#include <cstring>
#include <optional>

#include "data/byte_reader.h"
#include "data/string_table.h"

namespace {

enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

[[noreturn]] void Invalid() {
    throw EInvalidGraphic(LoadStr(kStrInvalidBitmap));
}
[[noreturn]] void Short() {
    throw EInvalidGraphic(LoadStr(kStrBitmapShort));
}

// One channel of a bit-field pixel, scaled to 8 bits by repeating its bits
// (a 5-bit c becomes c << 3 | c >> 2).
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m = 0) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        while (bits + shift < 32 && ((m >> (shift + bits)) & 1)) ++bits;
    }
    uint8_t Get(uint32_t pixel) const {
        if (!bits) return 0;
        uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return uint8_t(v >> (bits - 8));
        uint32_t out = 0;
        int filled = 0;
        while (filled < 8) {
            out = (out << bits) | v;
            filled += bits;
        }
        return uint8_t(out >> (filled - 8));
    }
};

struct DibInfo {
    int64_t width = 0;
    int64_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = kBiRgb;
    uint32_t imageSize = 0;
    uint32_t colorsUsed = 0;
    uint32_t masks[3] = {0, 0, 0};
    bool core = false;  // OS/2 header: 3-byte palette entries
};

// Reads the info header at the reader's position; leaves the reader at the
// palette.
DibInfo ReadInfoHeader(ByteReader& r) {
    DibInfo info;
    if (r.Remaining() < 4) Short();
    const uint32_t headerSize = r.ReadU32LE();
    if (headerSize == 12) {
        if (r.Remaining() < 8) Short();
        info.core = true;
        info.width = r.ReadU16LE();
        info.height = r.ReadU16LE();
        r.Skip(2);  // planes
        info.bitCount = r.ReadU16LE();
        return info;
    }
    if (headerSize < 40 || headerSize > 1024) Invalid();
    if (r.Remaining() < headerSize - 4) Short();
    ByteReader h = r.Sub(headerSize - 4);
    info.width = int32_t(h.ReadU32LE());
    int64_t height = int32_t(h.ReadU32LE());
    h.Skip(2);  // planes
    info.bitCount = h.ReadU16LE();
    info.compression = h.ReadU32LE();
    info.imageSize = h.ReadU32LE();
    h.Skip(8);  // resolution
    info.colorsUsed = h.ReadU32LE();
    h.Skip(4);  // colours important
    info.topDown = height < 0;
    info.height = height < 0 ? -height : height;
    if (info.compression == kBiBitfields) {
        // Version 2 and later headers hold the masks; the plain 40-byte
        // header is followed by them.
        ByteReader& m = headerSize >= 52 ? h : r;
        if (m.Remaining() < 12) Short();
        for (auto& mask : info.masks) mask = m.ReadU32LE();
    }
    return info;
}

void DecodeRle(ByteReader r, const DibInfo& info, Bitmap& out) {
    const int64_t width = info.width, height = info.height;
    const bool four = info.compression == kBiRle4;
    int64_t x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](uint8_t index) {
        if (x < width && y < height) out.Row(int32_t(height - 1 - y))[x] = index;
        ++x;
    };
    // A stream that stops without its end code keeps what it has drawn.
    while (r.Remaining() >= 2 && y < height) {
        uint8_t count = r.ReadU8();
        uint8_t value = r.ReadU8();
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(four ? uint8_t(i & 1 ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // move
            if (r.Remaining() < 2) break;
            x += r.ReadU8();
            y += r.ReadU8();
        } else {  // literal run, padded to a 16-bit boundary
            size_t bytes = four ? (size_t(value) + 1) / 2 : value;
            if (r.Remaining() < bytes) Short();
            auto run = r.Take(bytes);
            for (int i = 0; i < value; ++i) put(four ? uint8_t(i & 1 ? run[i / 2] & 15 : run[i / 2] >> 4) : run[i]);
            if (bytes & 1 && r.Remaining() > 0) r.Skip(1);
        }
    }
}

void DecodeRows(std::span<const uint8_t> pixels, const DibInfo& info, Bitmap& out) {
    const int64_t width = info.width, height = info.height;
    const size_t stride = size_t((width * info.bitCount + 31) / 32 * 4);
    if (int64_t(pixels.size()) < int64_t(stride) * height) Short();
    const int bits = info.bitCount;
    Channel red, green, blue;
    if (bits == 16 || bits == 32) {
        uint32_t r = 0x7C00, g = 0x03E0, b = 0x001F;  // 5-5-5 when there are no masks
        if (bits == 32) r = 0xFF0000, g = 0xFF00, b = 0xFF;
        if (info.compression == kBiBitfields) r = info.masks[0], g = info.masks[1], b = info.masks[2];
        red = Channel(r), green = Channel(g), blue = Channel(b);
    }
    for (int64_t s = 0; s < height; ++s) {
        const uint8_t* src = pixels.data() + size_t(s) * stride;
        uint8_t* dst = out.Row(int32_t(info.topDown ? s : height - 1 - s));
        switch (bits) {
            case 1:
                for (int64_t x = 0; x < width; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
                break;
            case 4:
                for (int64_t x = 0; x < width; ++x) dst[x] = x & 1 ? src[x >> 1] & 15 : src[x >> 1] >> 4;
                break;
            case 8:
                std::memcpy(dst, src, size_t(width));
                break;
            case 24:
                std::memcpy(dst, src, size_t(width) * 3);
                break;
            case 16:
            case 32:
                for (int64_t x = 0; x < width; ++x) {
                    uint32_t p = bits == 16 ? uint32_t(src[2 * x] | (src[2 * x + 1] << 8))
                                            : uint32_t(src[4 * x]) | (uint32_t(src[4 * x + 1]) << 8) |
                                                  (uint32_t(src[4 * x + 2]) << 16) | (uint32_t(src[4 * x + 3]) << 24);
                    dst[3 * x] = blue.Get(p);
                    dst[3 * x + 1] = green.Get(p);
                    dst[3 * x + 2] = red.Get(p);
                }
                break;
        }
    }
}

// Reads a bitmap whose info header starts at `headerAt`; `pixelsAt` is the
// file header's offset of the pixels, when there is one.
void ReadDib(std::span<const uint8_t> data, size_t headerAt, std::optional<uint32_t> pixelsAt, Bitmap& out) {
    out.Clear();
    ByteReader r(data);
    r.Seek(headerAt);
    DibInfo info = ReadInfoHeader(r);
    if (info.width == 0 || info.height == 0) throw EInvalidGraphic(LoadStr(kStrBitmapEmpty));
    if (info.width < 0) Invalid();
    const int bits = info.bitCount;
    bool ok = false;
    switch (info.compression) {
        case kBiRgb:
            ok = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
            break;
        case kBiRle8:
            ok = bits == 8 && !info.topDown;
            break;
        case kBiRle4:
            ok = bits == 4 && !info.topDown;
            break;
        case kBiBitfields:
            ok = bits == 16 || bits == 32;
            break;
        default:
            break;
    }
    if (!ok || info.width * info.height > kMaxImagePixels) Invalid();

    if (bits <= 8) {
        uint64_t colors = info.colorsUsed ? info.colorsUsed : (1u << bits);
        if (colors > 256) Invalid();
        const size_t entry = info.core ? 3 : 4;
        if (r.Remaining() < colors * entry) Short();
        for (uint64_t i = 0; i < colors; ++i) {
            uint8_t b = r.ReadU8(), g = r.ReadU8(), red = r.ReadU8();
            if (!info.core) r.Skip(1);
            out.Palette[i] = PaletteEntry{red, g, b, 0};
        }
    }
    size_t pixelStart = r.Position();
    // Deeper bitmaps may carry an optional palette that only a packed
    // bitmap (with no pixel offset) has to step over.
    if (bits > 8 && !pixelsAt) pixelStart += size_t(info.colorsUsed) * (info.core ? 3 : 4);
    if (pixelsAt && *pixelsAt != 0) pixelStart = *pixelsAt;
    if (pixelStart > data.size()) Short();
    std::span<const uint8_t> pixels = data.subspan(pixelStart);

    // Uncompressed rows must all be in the file before anything is sized.
    const bool rle = info.compression == kBiRle8 || info.compression == kBiRle4;
    if (!rle && int64_t(pixels.size()) < (info.width * bits + 31) / 32 * 4 * info.height) Short();
    Palette256 palette = out.Palette;
    out.SetFormat(int32_t(info.width), int32_t(info.height), bits <= 8 ? bits : 24);
    out.Palette = palette;
    if (rle) {
        if (info.imageSize && info.imageSize < pixels.size()) pixels = pixels.first(info.imageSize);
        DecodeRle(ByteReader(pixels), info, out);
    } else {
        DecodeRows(pixels, info, out);
    }
}

}  // namespace

void ReadBmp(std::span<const uint8_t> data, Bitmap& out) {
    out.Clear();
    if (data.size() < 14) Short();
    if (data[0] != 'B' || data[1] != 'M') Invalid();
    ByteReader r(data);
    r.Skip(10);
    uint32_t pixelsAt = r.ReadU32LE();
    ReadDib(data, 14, pixelsAt, out);
}

void ReadPackedDib(std::span<const uint8_t> data, Bitmap& out) {
    ReadDib(data, 0, std::nullopt, out);
}
