// Our PNG, XYZ1 and BMP readers and writers, on files built here byte by
// byte: round trips, chunk layouts, the size and progress guards, and the
// error each kind of damage gives.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>

#include "data/string_table.h"
#include "media/image/bmp.h"
#include "media/image/load_image_file.h"
#include "media/image/png.h"
#include "media/image/xyz.h"
#include "support/test_paths.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutBE(Bytes& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}
void PutLE(Bytes& out, uint32_t v, int n = 4) {
    for (int i = 0; i < n; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

void Chunk(Bytes& out, const char* type, const Bytes& data, uint32_t length = UINT32_MAX) {
    PutBE(out, length == UINT32_MAX ? uint32_t(data.size()) : length);
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(crc32(0, Z_NULL, 0), reinterpret_cast<const Bytef*>(type), 4);
    if (!data.empty()) crc = crc32(crc, data.data(), uInt(data.size()));
    PutBE(out, uint32_t(crc));
}

Bytes Signature() {
    return {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
}

Bytes Ihdr(uint32_t w, uint32_t h, uint8_t depth = 8, uint8_t type = 3, uint8_t interlace = 0) {
    Bytes d;
    PutBE(d, w);
    PutBE(d, h);
    d.insert(d.end(), {depth, type, 0, 0, interlace});
    return d;
}

Bytes Compress(const Bytes& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    Bytes out(size);
    EXPECT_EQ(compress(out.data(), &size, raw.data(), uLong(raw.size())), Z_OK);
    out.resize(size);
    return out;
}

// An 8-bit palette PNG whose zlib stream is cut into IDAT chunks of the
// given sizes (the last chunk takes the rest).
Bytes PalettePng(int w, int h, const Bytes& rows, std::vector<size_t> cuts, const Bytes& plte) {
    Bytes png = Signature();
    Chunk(png, "IHDR", Ihdr(w, h));
    Chunk(png, "PLTE", plte);
    Bytes z = Compress(rows);
    size_t at = 0;
    for (size_t cut : cuts) {
        cut = std::min(cut, z.size() - at);
        Chunk(png, "IDAT", Bytes(z.begin() + at, z.begin() + at + cut));
        at += cut;
    }
    Chunk(png, "IDAT", Bytes(z.begin() + at, z.end()));
    Chunk(png, "IEND", {});
    return png;
}

Bitmap Noise(int w, int h, int bits, unsigned seed) {
    Bitmap b;
    b.SetFormat(w, h, bits);
    std::mt19937 rng(seed);
    for (auto& p : b.Pixels()) p = uint8_t(rng());
    for (auto& e : b.Palette) e = PaletteEntry{uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
    return b;
}

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(PngFiles, RoundTripsPaletteAndRgbImages) {
    for (int bits : {8, 24}) {
        Bitmap original = Noise(37, 23, bits, 7);
        TSorvoPng png;
        png.LoadFromBytes(WritePng(original));
        EXPECT_EQ(png.BitsPerPixel(), bits);
        ASSERT_EQ(png.Width(), 37);
        ASSERT_EQ(png.Height(), 23);
        EXPECT_EQ(png.Pixels(), original.Pixels());
        if (bits == 8) {
            EXPECT_EQ(png.Palette, original.Palette);
        }
    }
    // Large enough to need several full 64 KiB IDAT chunks.
    Bitmap big = Noise(400, 300, 24, 3);
    Bytes encoded = WritePng(big);
    EXPECT_GT(encoded.size(), 3u * 65536);
    Bitmap back;
    ReadPng(encoded, back);
    EXPECT_EQ(back.Pixels(), big.Pixels());
}

TEST(PngFiles, StoresRgbAsBlueGreenRedAndUnfiltersEveryFilter) {
    // Two RGB pixels a row, three rows with filters sub, up, paeth and one
    // average row, worked by hand.
    Bytes raw = {1, 10, 20, 30, 5, 5, 5,   // sub: second pixel = (15, 25, 35)
                 2, 1,  1,  1,  1, 1, 1,   // up: (11,21,31) (16,26,36)
                 3, 0,  0,  0,  0, 0, 0,   // average: (5,10,15) then ((5+16)/2...) computed below
                 4, 0,  0,  0,  0, 0, 0,   // paeth
                 9, 7,  7,  7,  7, 7, 7};  // unknown filter: left as stored
    Bytes png = Signature();
    Chunk(png, "IHDR", Ihdr(2, 5, 8, 2));
    Chunk(png, "IDAT", Compress(raw));
    Chunk(png, "IEND", {});
    Bitmap b;
    ReadPng(png, b);
    ASSERT_EQ(b.BitsPerPixel(), 24);
    auto rgb = [&](int x, int y) {
        const uint8_t* p = b.Row(y) + 3 * x;
        return std::array<int, 3>{p[2], p[1], p[0]};
    };
    EXPECT_EQ(rgb(0, 0), (std::array<int, 3>{10, 20, 30}));
    EXPECT_EQ(rgb(1, 0), (std::array<int, 3>{15, 25, 35}));
    EXPECT_EQ(rgb(0, 1), (std::array<int, 3>{11, 21, 31}));
    EXPECT_EQ(rgb(1, 1), (std::array<int, 3>{16, 26, 36}));
    EXPECT_EQ(rgb(0, 2), (std::array<int, 3>{5, 10, 15}));   // (0 + up) / 2
    EXPECT_EQ(rgb(1, 2), (std::array<int, 3>{10, 18, 25}));  // (left + up) / 2
    EXPECT_EQ(rgb(0, 3), (std::array<int, 3>{5, 10, 15}));   // paeth picks up
    EXPECT_EQ(rgb(1, 3), (std::array<int, 3>{10, 18, 25}));
    EXPECT_EQ(rgb(0, 4), (std::array<int, 3>{7, 7, 7}));
}

TEST(PngFiles, ImageDataSplitAnywhereDecodes) {
    const int w = 13, h = 9;
    Bytes rows;
    Bytes plte;
    for (int i = 0; i < 16 * 3; ++i) plte.push_back(uint8_t(i * 5));
    for (int y = 0; y < h; ++y) {
        rows.push_back(0);
        for (int x = 0; x < w; ++x) rows.push_back(uint8_t((x * 7 + y * 3) % 16));
    }
    Bitmap whole;
    ReadPng(PalettePng(w, h, rows, {}, plte), whole);
    // Cuts of one byte, empty chunks and a final chunk that holds only the
    // end of the stream; the first cut falls in the middle of row 0.
    for (const auto& cuts : std::vector<std::vector<size_t>>{{1, 0, 1, 3}, {5, 0, 0, 2, 7}, {2, 2, 2, 2, 2, 2, 2, 2}}) {
        Bitmap split;
        ReadPng(PalettePng(w, h, rows, cuts, plte), split);
        EXPECT_EQ(split.Pixels(), whole.Pixels());
    }
    Bytes z = Compress(rows);
    Bitmap tail;
    ReadPng(PalettePng(w, h, rows, {z.size() - 1}, plte), tail);
    EXPECT_EQ(tail.Pixels(), whole.Pixels());
    // Sixteen palette entries given: the rest are black.
    EXPECT_EQ(whole.Palette[15], (PaletteEntry{225, 230, 235, 0}));
    EXPECT_EQ(whole.Palette[16], PaletteEntry{});
    EXPECT_EQ(whole.Palette[255], PaletteEntry{});
}

TEST(PngFiles, DamagedFilesGiveTheirErrors) {
    const std::string invalid = LoadStr(65326), unsupported = LoadStr(65327), zlib = LoadStr(65296);
    Bytes rows(2 * 4, 0);  // 4 rows of filter byte + 1 pixel
    auto withChunks = [&](const std::function<void(Bytes&)>& body) {
        Bytes png = Signature();
        body(png);
        return png;
    };
    auto load = [](const Bytes& b) {
        return MessageOf([&] {
            Bitmap bm;
            LoadImageBytes(bm, b);
        });
    };
    // The usable file, and that unknown chunks are skipped.
    Bytes good = withChunks([&](Bytes& p) {
        Chunk(p, "IHDR", Ihdr(1, 4));
        Chunk(p, "tEXt", {'a', 0, 'b'});
        Chunk(p, "IDAT", Compress(rows));
        Chunk(p, "IEND", {});
    });
    EXPECT_EQ(load(good), "(no error)");

    EXPECT_EQ(load(withChunks([&](Bytes& p) {
                  Chunk(p, "IDAT", Compress(rows));
                  Chunk(p, "IHDR", Ihdr(1, 4));
                  Chunk(p, "IEND", {});
              })),
              invalid);
    Bytes shortHeader = Ihdr(1, 4);
    shortHeader.pop_back();
    EXPECT_EQ(load(withChunks([&](Bytes& p) { Chunk(p, "IHDR", shortHeader); })), invalid);
    EXPECT_EQ(load(withChunks([&](Bytes& p) { Chunk(p, "IHDR", Ihdr(1, 4), 0x80000000u); })), invalid);
    EXPECT_EQ(load(withChunks([&](Bytes& p) { Chunk(p, "IHDR", Ihdr(1, 4, 4, 3)); })), unsupported);
    EXPECT_EQ(load(withChunks([&](Bytes& p) { Chunk(p, "IHDR", Ihdr(1, 4, 8, 6)); })), unsupported);
    EXPECT_EQ(load(withChunks([&](Bytes& p) { Chunk(p, "IHDR", Ihdr(1, 4, 8, 3, 1)); })), unsupported);
    EXPECT_EQ(load(withChunks([&](Bytes& p) {
                  Chunk(p, "IHDR", Ihdr(1, 4));
                  Chunk(p, "PLTE", Bytes(771, 0));
              })),
              invalid);
    EXPECT_EQ(load(withChunks([&](Bytes& p) {
                  Chunk(p, "IHDR", Ihdr(1, 4));
                  Chunk(p, "IDAT", Compress(rows));
                  Chunk(p, "IEND", {0});
              })),
              invalid);
    // Not zlib data at all.
    EXPECT_EQ(load(withChunks([&](Bytes& p) {
                  Chunk(p, "IHDR", Ihdr(1, 4));
                  Chunk(p, "IDAT", Bytes(20, 0xFF));
                  Chunk(p, "IEND", {});
              })),
              zlib);
    // A complete zlib stream that holds two of the four rows.
    EXPECT_EQ(load(withChunks([&](Bytes& p) {
                  Chunk(p, "IHDR", Ihdr(1, 4));
                  Chunk(p, "IDAT", Compress(Bytes(4, 0)));
                  Chunk(p, "IEND", {});
              })),
              invalid);
    // Image data that stops at a chunk other than IDAT.
    Bytes z = Compress(rows);
    EXPECT_EQ(load(withChunks([&](Bytes& p) {
                  Chunk(p, "IHDR", Ihdr(1, 4));
                  Chunk(p, "IDAT", Bytes(z.begin(), z.begin() + 4));
                  Chunk(p, "IEND", {});
              })),
              invalid);
    // Sizes that the data could never fill, or that no game image has.
    EXPECT_EQ(load(withChunks([&](Bytes& p) {
                  Chunk(p, "IHDR", Ihdr(100000, 100000));
                  Chunk(p, "IDAT", z);
              })),
              invalid);
    // Cut short anywhere: a read error, never a crash.
    for (size_t n = 4; n < good.size(); ++n) {
        Bytes cut(good.begin(), good.begin() + n);
        EXPECT_NE(load(cut), "(no error)") << n;
    }
    // A zero width loads as an empty picture, which is refused as one.
    EXPECT_EQ(load(withChunks([&](Bytes& p) {
                  Chunk(p, "IHDR", Ihdr(0, 4));
                  Chunk(p, "IDAT", Compress(Bytes(4, 0)));
                  Chunk(p, "IEND", {});
              })),
              LoadStr(kStrInvalidBitmap));
}

TEST(XyzFiles, RoundTripAndLayout) {
    Bitmap original = Noise(31, 17, 8, 11);
    Bytes bytes = WriteXyz(original);
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(0, std::memcmp(bytes.data(), "XYZ1", 4));
    EXPECT_EQ(bytes[4] | (bytes[5] << 8), 31);
    EXPECT_EQ(bytes[6] | (bytes[7] << 8), 17);
    TSorvoXyz xyz;
    xyz.LoadFromBytes(bytes);
    EXPECT_EQ(xyz.Pixels(), original.Pixels());
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(xyz.Palette[i].Red, original.Palette[i].Red);
        EXPECT_EQ(xyz.Palette[i].Blue, original.Palette[i].Blue);
    }
    // A 24-bit picture of few colours converts exactly.
    Bitmap rgb;
    rgb.SetFormat(3, 1, 24);
    uint8_t px[9] = {1, 2, 3, 4, 5, 6, 1, 2, 3};
    std::memcpy(rgb.Pixels().data(), px, 9);
    Bitmap back;
    ReadXyz(WriteXyz(rgb), back);
    EXPECT_EQ(back.Pixels(), (std::vector<uint8_t>{0, 1, 0}));
    EXPECT_EQ(back.Palette[1], (PaletteEntry{6, 5, 4, 0}));
}

TEST(XyzFiles, DamagedAndOversizedFilesAreRefused) {
    Bytes good = WriteXyz(Noise(40, 30, 8, 5));
    const std::string zlib = LoadStr(65298);
    // Truncated zlib streams.
    for (size_t keep : {good.size() - 1, good.size() / 2, size_t(12)}) {
        Bytes cut(good.begin(), good.begin() + keep);
        EXPECT_EQ(MessageOf([&] {
                      Bitmap b;
                      ReadXyz(cut, b);
                  }),
                  zlib);
    }
    Bytes bad = good;
    bad[3] = '2';
    EXPECT_EQ(MessageOf([&] {
                  Bitmap b;
                  ReadXyz(bad, b);
              }),
              LoadStr(65297));
    EXPECT_THROW(
        {
            Bitmap b;
            ReadXyz(Bytes{'X', 'Y', 'Z', '1', 1}, b);
        },
        EReadError);
    // 65535 x 65535 claimed by a small file.
    Bytes huge = good;
    huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
    EXPECT_EQ(MessageOf([&] {
                  Bitmap b;
                  ReadXyz(huge, b);
              }),
              LoadStr(65297));
    // Sizes the header cannot hold are refused, not cut.
    Bitmap wide;
    wide.SetFormat(65536, 1, 8);
    EXPECT_THROW(WriteXyz(wide), EInvalidGraphic);
}

TEST(ImageFiles, ChoosesTheReaderByTheFirstBytes) {
    Bitmap b;
    EXPECT_THROW(LoadImageBytes(b, Bytes{'B', 'M', 0}), EReadError);
    EXPECT_EQ(MessageOf([&] {
                  LoadImageBytes(b, Bytes{'X', 'Y', 'Z', '2', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
              }),
              LoadStr(kStrInvalidBitmap));
    Bitmap pic = Noise(5, 4, 8, 1);
    LoadImageBytes(b, WriteXyz(pic));
    EXPECT_EQ(b.Pixels(), pic.Pixels());
    LoadImageBytes(b, WritePng(pic));
    EXPECT_EQ(b.Pixels(), pic.Pixels());
    EXPECT_THROW(LoadImageFile(b, "/nonexistent/none.png"), EFOpenError);
    testing_support::TempDir dir;
    TSorvoPng png;
    static_cast<Bitmap&>(png) = pic;
    png.SaveToFile((dir / "a.png").string());
    LoadImageFile(b, (dir / "a.png").string());
    EXPECT_EQ(b.Pixels(), pic.Pixels());
}

namespace {

// A BMP file with a 40-byte header and a 256-entry palette.
Bytes Bmp8(int32_t w, int32_t h, uint32_t compression, const Bytes& pixels, int bits = 8) {
    Bytes out = {'B', 'M'};
    const uint32_t colors = 1u << bits;
    const uint32_t offset = 14 + 40 + colors * 4;
    PutLE(out, offset + uint32_t(pixels.size()));
    PutLE(out, 0);
    PutLE(out, offset);
    PutLE(out, 40);
    PutLE(out, uint32_t(w));
    PutLE(out, uint32_t(h));
    PutLE(out, 1, 2);
    PutLE(out, uint32_t(bits), 2);
    PutLE(out, compression);
    PutLE(out, uint32_t(pixels.size()));
    PutLE(out, 0);
    PutLE(out, 0);
    PutLE(out, colors);
    PutLE(out, 0);
    for (uint32_t i = 0; i < colors; ++i) {
        out.push_back(uint8_t(i));        // blue
        out.push_back(uint8_t(i * 2));    // green
        out.push_back(uint8_t(255 - i));  // red
        out.push_back(0);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

}  // namespace

TEST(BmpFiles, EightBitLayoutsDecodeToTopDownIndices) {
    // 3x2, rows padded to 4 bytes, stored bottom row first.
    Bytes bottomUp = {4, 5, 6, 0, 1, 2, 3, 0};
    Bitmap b;
    ReadBmp(Bmp8(3, 2, 0, bottomUp), b);
    EXPECT_EQ(b.BitsPerPixel(), 8);
    EXPECT_EQ(b.Pixels(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(b.Palette[2], (PaletteEntry{253, 4, 2, 0}));
    Bytes topDown = {1, 2, 3, 0, 4, 5, 6, 0};
    ReadBmp(Bmp8(3, -2, 0, topDown), b);
    EXPECT_EQ(b.Pixels(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    // RLE8: a run, end of line, a literal run (padded), a move, end.
    Bytes rle = {3, 9, 0, 0, 0, 3, 7, 8, 1, 0, 0, 2, 1, 0, 1, 5, 0, 1};
    ReadBmp(Bmp8(4, 3, 1, rle), b);
    EXPECT_EQ(b.Pixels(), (std::vector<uint8_t>{0, 0, 0, 0,  // row 2 from the bottom: nothing
                                                7, 8, 1, 0,  // literal run
                                                9, 9, 9, 0}));
    // A run past the row end and a move past the bottom stay inside.
    Bytes wild = {200, 1, 0, 2, 255, 255, 50, 2, 0, 1};
    ReadBmp(Bmp8(4, 3, 1, wild), b);
    EXPECT_EQ(b.Pixels()[8], 1);
    // RLE4 and 4-bit pictures keep their bit count: sheets refuse them.
    ReadBmp(Bmp8(4, 1, 2, {4, 0x12, 0, 1}, 4), b);
    EXPECT_EQ(b.BitsPerPixel(), 4);
    EXPECT_EQ(b.Pixels(), (std::vector<uint8_t>{1, 2, 1, 2}));
}

TEST(BmpFiles, BrokenHeadersGiveCleanErrors) {
    EXPECT_EQ(MessageOf([&] {
                  Bitmap b;
                  ReadBmp(Bmp8(0, 2, 0, {}), b);
              }),
              LoadStr(kStrBitmapEmpty));
    EXPECT_EQ(MessageOf([&] {
                  Bitmap b;
                  ReadBmp(Bmp8(3, 2, 0, {1, 2, 3}), b);
              }),
              LoadStr(kStrBitmapShort));
    EXPECT_EQ(MessageOf([&] {
                  Bitmap b;
                  ReadBmp(Bmp8(3, 2, 9, Bytes(8, 0)), b);
              }),
              LoadStr(kStrInvalidBitmap));
    Bytes good = Bmp8(3, 2, 0, Bytes(8, 0));
    for (size_t n = 0; n < good.size(); ++n) {
        Bytes cut(good.begin(), good.begin() + n);
        Bitmap b;
        EXPECT_THROW(ReadBmp(cut, b), Exception) << n;
    }
    // A header claiming a picture larger than any game image.
    Bitmap b;
    EXPECT_THROW(ReadBmp(Bmp8(100000, 100000, 0, {}), b), EInvalidGraphic);
}

TEST(PngFiles, HugeHeadersAreRefusedBeforeAnythingIsAllocated) {
    // Found by fuzzing: 788 million pixels wide and 0 high.
    Bytes png = Signature();
    Chunk(png, "IHDR", Ihdr(0x2F000000, 0, 8, 2));
    Chunk(png, "IEND", {});
    Bitmap b;
    EXPECT_EQ(MessageOf([&] { ReadPng(png, b); }), LoadStr(65326));
    // Also found by fuzzing: an RGB picture whose row bytes times its height
    // leave 64 bits behind is refused for its size, before anything is
    // worked out from that product.
    Bytes huge = Signature();
    Chunk(huge, "IHDR", Ihdr(0x72D60100, 0x60600000, 8, 2));
    Chunk(huge, "IEND", {});
    EXPECT_EQ(MessageOf([&] { ReadPng(huge, b); }), LoadStr(65326));
}

TEST(BmpFiles, PackedBitmapsReadWithoutTheFileHeader) {
    // The layout of a bitmap resource: info header, palette, pixels.
    Bytes file = Bmp8(3, 2, 0, {4, 5, 6, 0, 1, 2, 3, 0});
    Bytes packed(file.begin() + 14, file.end());
    Bitmap a, b;
    ReadBmp(file, a);
    ReadPackedDib(packed, b);
    EXPECT_EQ(a.Pixels(), b.Pixels());
    EXPECT_EQ(a.Palette, b.Palette);
}
