#include "media/image/png.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "data/byte_reader.h"
#include "data/string_table.h"
#include "media/image/file_bytes.h"
#include "media/image/zlib_stream.h"

namespace {

constexpr int kStrInvalidPng = 65326;
constexpr int kStrUnsupportedPng = 65327;
constexpr int kStrPngZlibError = 65296;

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

constexpr uint32_t ChunkType(const char (&name)[5]) {
    return (uint32_t(uint8_t(name[0])) << 24) | (uint32_t(uint8_t(name[1])) << 16) | (uint32_t(uint8_t(name[2])) << 8) |
           uint32_t(uint8_t(name[3]));
}
constexpr uint32_t kIHDR = ChunkType("IHDR");
constexpr uint32_t kPLTE = ChunkType("PLTE");
constexpr uint32_t kIDAT = ChunkType("IDAT");
constexpr uint32_t kIEND = ChunkType("IEND");

// zlib never expands data by more than about 1032 to 1; an image whose rows
// need more than that from the whole file cannot be real.
constexpr int64_t kMaxInflateRatio = 1040;

[[noreturn]] void Invalid() {
    throw EInvalidGraphic(LoadStr(kStrInvalidPng));
}
[[noreturn]] void Unsupported() {
    throw EInvalidGraphic(LoadStr(kStrUnsupportedPng));
}
[[noreturn]] void ZlibError() {
    throw Exception(LoadStr(kStrPngZlibError));
}

struct ChunkHeader {
    uint32_t length;
    uint32_t type;
};

ChunkHeader ReadChunkHeader(ByteReader& r) {
    ChunkHeader h;
    h.length = r.ReadU32BE();
    h.type = r.ReadU32BE();
    // Lengths of 2^31 or more are outside the format.
    if (h.length >= 0x80000000u) Invalid();
    return h;
}

uint8_t Paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return uint8_t(a);
    if (pb <= pc) return uint8_t(b);
    return uint8_t(c);
}

// Undoes a row's filter in place. `row` and `prev` hold `n` bytes after the
// filter byte; bpp is the distance to the byte's left neighbour.
void Unfilter(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t n, size_t bpp) {
    switch (filter) {
        case 1:
            for (size_t i = bpp; i < n; ++i) row[i] = uint8_t(row[i] + row[i - bpp]);
            break;
        case 2:
            for (size_t i = 0; i < n; ++i) row[i] = uint8_t(row[i] + prev[i]);
            break;
        case 3:
            for (size_t i = 0; i < n; ++i) {
                int left = i >= bpp ? row[i - bpp] : 0;
                row[i] = uint8_t(row[i] + ((left + prev[i]) >> 1));
            }
            break;
        case 4:
            for (size_t i = 0; i < n; ++i) {
                int left = i >= bpp ? row[i - bpp] : 0;
                int upLeft = i >= bpp ? prev[i - bpp] : 0;
                row[i] = uint8_t(row[i] + Paeth(left, prev[i], upLeft));
            }
            break;
        default:  // 0, and unknown filters, leave the row as stored
            break;
    }
}

class PngDecoder {
public:
    PngDecoder(std::span<const uint8_t> data, Bitmap& out) : data_(data), r_(data), out_(out) {}

    void Run() {
        auto sig = r_.Take(8);
        if (!std::equal(sig.begin(), sig.end(), kSignature)) Invalid();
        if (!zs_.Init()) ZlibError();
        Palette256 palette{};
        for (;;) {
            ChunkHeader h = ReadChunkHeader(r_);
            if (h.type == kIEND) {
                if (h.length != 0) Invalid();
                r_.ReadU32BE();  // CRC, not checked
                break;
            }
            std::span<const uint8_t> body = r_.Take(h.length);
            if (h.type == kIHDR) {
                Header(body);
            } else if (h.type == kPLTE) {
                if (h.length > 768) Invalid();
                palette = Palette256{};
                for (size_t i = 0; i + 3 <= body.size(); i += 3)
                    palette[i / 3] = PaletteEntry{body[i], body[i + 1], body[i + 2], 0};
                out_.Palette = palette;
            } else if (h.type == kIDAT) {
                if (!haveHeader_) Invalid();
                ImageData(body);
            }
            r_.ReadU32BE();  // CRC, not checked
        }
    }

private:
    void Header(std::span<const uint8_t> body) {
        // A second header would resize the picture under rows already read.
        if (body.size() != 13 || haveHeader_) Invalid();
        ByteReader h(body);
        uint32_t width = h.ReadU32BE();
        uint32_t height = h.ReadU32BE();
        uint8_t depth = h.ReadU8();
        uint8_t colourType = h.ReadU8();
        h.Skip(2);  // compression and filter method
        uint8_t interlace = h.ReadU8();
        if (width >= 0x80000000u || height >= 0x80000000u) Invalid();
        int bits;
        if (colourType == 2 && depth == 8) {
            bits = 24;
        } else if (colourType == 3 && depth == 8) {
            bits = 8;
        } else {
            Unsupported();
        }
        if (interlace != 0) Unsupported();
        bytesPerPixel_ = size_t(bits / 8);
        rowBytes_ = size_t(width) * bytesPerPixel_;
        if (int64_t(width) * height > kMaxImagePixels) Invalid();
        // At least one row buffer is allocated even for a height of 0. With
        // the pixels bounded first, the product stays far inside 64 bits.
        const int64_t streamBytes = int64_t(rowBytes_ + 1) * std::max<int64_t>(height, 1);
        if (streamBytes > int64_t(data_.size()) * kMaxInflateRatio + 1024) Invalid();
        Palette256 palette = out_.Palette;
        out_.SetFormat(int32_t(width), int32_t(height), bits);
        out_.Palette = palette;
        current_.assign(rowBytes_ + 1, 0);
        previous_.assign(rowBytes_ + 1, 0);
        haveHeader_ = true;
    }

    // Decodes rows from this IDAT chunk and, while a row is unfinished,
    // from the IDAT chunks that directly follow it.
    void ImageData(std::span<const uint8_t> body) {
        z_stream& z = zs_.z;
        z.next_in = const_cast<Bytef*>(body.data());
        z.avail_in = uInt(body.size());
        const int32_t height = out_.Height();
        while (row_ < height) {
            if (z.avail_in == 0) {
                r_.ReadU32BE();  // CRC of the chunk used up
                ChunkHeader h = ReadChunkHeader(r_);
                if (h.type != kIDAT) Invalid();
                std::span<const uint8_t> next = r_.Take(h.length);
                z.next_in = const_cast<Bytef*>(next.data());
                z.avail_in = uInt(next.size());
                continue;
            }
            z.next_out = current_.data() + rowFill_;
            z.avail_out = uInt(current_.size() - rowFill_);
            int ret = inflate(&z, Z_NO_FLUSH);
            rowFill_ = current_.size() - z.avail_out;
            if (ret != Z_OK && ret != Z_STREAM_END && !(ret == Z_BUF_ERROR && z.avail_in == 0)) ZlibError();
            if (rowFill_ == current_.size()) FinishRow();
            // A stream that ends before the last row cannot make progress.
            if (ret == Z_STREAM_END && row_ < height) Invalid();
        }
    }

    void FinishRow() {
        Unfilter(current_[0], current_.data() + 1, previous_.data() + 1, rowBytes_, bytesPerPixel_);
        uint8_t* dst = out_.Row(row_);
        if (rowBytes_) std::memcpy(dst, current_.data() + 1, rowBytes_);
        if (bytesPerPixel_ == 3) {
            for (size_t i = 0; i + 2 < rowBytes_; i += 3) std::swap(dst[i], dst[i + 2]);
        }
        std::swap(current_, previous_);
        rowFill_ = 0;
        ++row_;
    }

    std::span<const uint8_t> data_;
    ByteReader r_;
    Bitmap& out_;
    InflateStream zs_;
    bool haveHeader_ = false;
    size_t bytesPerPixel_ = 1;
    size_t rowBytes_ = 0;
    std::vector<uint8_t> current_, previous_;
    size_t rowFill_ = 0;
    int32_t row_ = 0;
};

void PutU32BE(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void PutChunk(std::vector<uint8_t>& out, uint32_t type, const uint8_t* data, size_t size) {
    PutU32BE(out, uint32_t(size));
    size_t typeAt = out.size();
    PutU32BE(out, type);
    if (size) out.insert(out.end(), data, data + size);
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + typeAt, uInt(4));
    // crc32 takes at most 4 GiB at a time; chunks here stay far below.
    if (size) crc = crc32(crc, data, uInt(size));
    PutU32BE(out, uint32_t(crc));
}

}  // namespace

void ReadPng(std::span<const uint8_t> data, Bitmap& out) {
    out.Clear();
    PngDecoder(data, out).Run();
}

std::vector<uint8_t> WritePng(const Bitmap& image) {
    const bool indexed = image.IsIndexed();
    const size_t width = size_t(std::max(image.Width(), 0));
    const size_t height = size_t(std::max(image.Height(), 0));
    DeflateStream zs;
    if (!zs.Init(Z_DEFAULT_COMPRESSION)) ZlibError();

    std::vector<uint8_t> out(kSignature, kSignature + 8);
    uint8_t ihdr[13];
    for (int i = 0; i < 4; ++i) {
        ihdr[i] = uint8_t(width >> (24 - 8 * i));
        ihdr[4 + i] = uint8_t(height >> (24 - 8 * i));
    }
    ihdr[8] = 8;
    ihdr[9] = indexed ? 3 : 2;
    ihdr[10] = ihdr[11] = ihdr[12] = 0;
    PutChunk(out, kIHDR, ihdr, sizeof ihdr);
    if (indexed) {
        uint8_t plte[768];
        for (int i = 0; i < 256; ++i) {
            plte[3 * i] = image.Palette[i].Red;
            plte[3 * i + 1] = image.Palette[i].Green;
            plte[3 * i + 2] = image.Palette[i].Blue;
        }
        PutChunk(out, kPLTE, plte, sizeof plte);
    }

    constexpr size_t kBufferSize = 65536;
    std::vector<uint8_t> buffer(kBufferSize);
    z_stream& z = zs.z;
    z.next_out = buffer.data();
    z.avail_out = uInt(kBufferSize);
    auto drain = [&](bool all) {
        size_t used = kBufferSize - z.avail_out;
        if (used == kBufferSize || (all && used > 0)) {
            PutChunk(out, kIDAT, buffer.data(), used);
            z.next_out = buffer.data();
            z.avail_out = uInt(kBufferSize);
        }
    };

    const size_t rowBytes = image.RowBytes();
    std::vector<uint8_t> row(rowBytes + 1);
    for (size_t y = 0; y < height; ++y) {
        row[0] = 0;
        if (rowBytes) std::memcpy(row.data() + 1, image.Row(int32_t(y)), rowBytes);
        if (!indexed) {
            for (size_t i = 1; i + 2 < row.size(); i += 3) std::swap(row[i], row[i + 2]);
        }
        z.next_in = row.data();
        z.avail_in = uInt(row.size());
        while (z.avail_in > 0) {
            if (deflate(&z, Z_NO_FLUSH) < 0) ZlibError();
            drain(false);
        }
    }
    for (;;) {
        int ret = deflate(&z, Z_FINISH);
        if (ret < 0) ZlibError();
        if (ret == Z_STREAM_END) break;
        drain(false);
    }
    drain(true);
    PutChunk(out, kIEND, nullptr, 0);
    return out;
}

void TSorvoPng::LoadFromFile(const std::string& path) {
    ReadPng(ReadFileBytes(path), *this);
}

void TSorvoPng::SaveToFile(const std::string& path) const {
    WriteFileBytes(path, WritePng(*this));
}
