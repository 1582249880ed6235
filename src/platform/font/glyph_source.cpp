#include "platform/font/glyph_source.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <iconv.h>

#include <cerrno>
#include <filesystem>
#include <unordered_map>

#include "data/errors.h"
#include "platform/code_page.h"

namespace platform {

bool GlyphMask::Empty() const {
    for (uint16_t r : rows)
        if (r) return false;
    return true;
}

bool IsDoubleByteCodePage(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361;
}

bool IsLeadByte(int codePage, uint8_t byte) {
    switch (codePage) {
    case 932: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950: return byte >= 0x81 && byte <= 0xFE;
    case 1361: return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xDE) || (byte >= 0xE0 && byte <= 0xF9);
    default: return false;
    }
}

uint16_t ShiftJisToJis(uint8_t lead, uint8_t trail) {
    if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return 0;
    int row;
    if (lead >= 0x81 && lead <= 0x9F) row = (lead - 0x71) * 2 + 1;
    else if (lead >= 0xE0 && lead <= 0xEF) row = (lead - 0xB1) * 2 + 1;
    else return 0;
    int cell;
    if (trail > 0x9E) {
        ++row;
        cell = trail - 0x7E;
    } else {
        cell = trail - (trail >= 0x80 ? 0x20 : 0x1F);
    }
    if (row < 0x21 || row > 0x7E || cell < 0x21 || cell > 0x7E) return 0;
    return uint16_t(row << 8 | cell);
}

GlyphMask MissingGlyphBox(int width) {
    GlyphMask m;
    int left = width >= 12 ? 1 : 0;
    int right = width >= 12 ? 10 : 4;
    for (int x = left; x <= right; ++x) {
        m.Set(x, 1);
        m.Set(x, 10);
    }
    for (int y = 1; y <= 10; ++y) {
        m.Set(left, y);
        m.Set(right, y);
    }
    return m;
}

namespace {

constexpr const char* kShinonomePackage = "xfonts-shinonome";
constexpr const char* kBasePackage = "xfonts-base";
constexpr int kBaselineRow = 10;

// One PCF font opened through FreeType, at its single bitmap size.
class BitmapFont {
public:
    BitmapFont(FT_Library lib, const std::string& path, const char* package, bool unicode) {
        std::error_code ec;
        if (!std::filesystem::exists(path, ec))
            throw Exception("The font file " + path + " is missing: install the Debian package " + package + ".");
        if (FT_New_Face(lib, path.c_str(), 0, &face_) != 0 || face_->num_fixed_sizes < 1 ||
            face_->num_charmaps < 1)
            throw Exception("The font file " + path + " cannot be read: reinstall the Debian package " +
                            package + ".");
        FT_Select_Size(face_, 0);
        // The X fonts of a legacy charset carry one charmap without an
        // encoding whose codes are the charset's own (JIS X 0201 bytes, JIS X
        // 0208 row/cell pairs); an ISO 10646 font has a Unicode charmap.
        if (!unicode || FT_Select_Charmap(face_, FT_ENCODING_UNICODE) != 0) FT_Set_Charmap(face_, face_->charmaps[0]);
    }
    ~BitmapFont() { FT_Done_Face(face_); }
    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;

    // Draws the glyph of `code` into the mask with its origin at column
    // `originX`; false when the font has no glyph for it.
    bool Draw(uint32_t code, int originX, GlyphMask& mask) {
        FT_UInt index = FT_Get_Char_Index(face_, code);
        if (index == 0) return false;
        if (FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return false;
        const FT_Bitmap& bm = face_->glyph->bitmap;
        int top = kBaselineRow - face_->glyph->bitmap_top;
        int left = originX + face_->glyph->bitmap_left;
        for (unsigned r = 0; r < bm.rows; ++r) {
            int y = top + int(r);
            if (y < 0 || y >= GlyphMask::kSize) continue;
            const unsigned char* row = bm.buffer + ptrdiff_t(r) * bm.pitch;
            for (unsigned c = 0; c < bm.width; ++c) {
                int x = left + int(c);
                if (x < 0 || x >= GlyphMask::kSize) continue;
                bool ink = bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[c >> 3] >> (7 - (c & 7))) & 1) != 0
                                                               : row[c] >= 128;
                if (ink) mask.Set(x, y);
            }
        }
        return true;
    }

private:
    FT_Face face_ = nullptr;
};

// Converts one character of a code page to a Unicode scalar value.
class ToUnicode {
public:
    explicit ToUnicode(int codePage) {
        std::string name = "CP" + std::to_string(codePage);
        cd_ = iconv_open("UTF-32LE", name.c_str());
        if (cd_ == iconv_t(-1)) cd_ = iconv_open("UTF-32LE", "CP1252");
    }
    ~ToUnicode() {
        if (cd_ != iconv_t(-1)) iconv_close(cd_);
    }
    ToUnicode(const ToUnicode&) = delete;
    ToUnicode& operator=(const ToUnicode&) = delete;

    // 0 when the bytes are not one whole character of the code page.
    uint32_t Convert(const uint8_t* bytes, int count) {
        if (cd_ == iconv_t(-1)) return 0;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char in[2] = {char(bytes[0]), count > 1 ? char(bytes[1]) : '\0'};
        unsigned char out[8] = {};
        char* inPtr = in;
        size_t inLeft = size_t(count);
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0 ||
            sizeof out - outLeft != 4)
            return 0;
        return uint32_t(out[0]) | uint32_t(out[1]) << 8 | uint32_t(out[2]) << 16 | uint32_t(out[3]) << 24;
    }

private:
    iconv_t cd_ = iconv_t(-1);
};

}  // namespace

struct GlyphSource::Impl {
    int codePage;
    std::string folder;
    FT_Library lib = nullptr;
    std::unique_ptr<BitmapFont> jisRoman;      // shnm6x12r: JIS X 0201
    std::unique_ptr<BitmapFont> kanji[2];      // shnmk12, shnmk12min: JIS X 0208
    std::unique_ptr<BitmapFont> unicode;       // 6x12: ISO 10646
    ToUnicode toUnicode;
    std::unordered_map<uint32_t, GlyphMask> cache;

    Impl(int cp, std::string dir) : codePage(cp), folder(std::move(dir)), toUnicode(cp) {
        if (FT_Init_FreeType(&lib) != 0) throw Exception("The font renderer could not be started.");
    }
    ~Impl() {
        jisRoman.reset();
        kanji[0].reset();
        kanji[1].reset();
        unicode.reset();
        FT_Done_FreeType(lib);
    }

    std::string Path(const char* file) const { return (std::filesystem::path(folder) / file).string(); }

    BitmapFont& JisRoman() {
        if (!jisRoman) jisRoman = std::make_unique<BitmapFont>(lib, Path("shnm6x12r.pcf.gz"), kShinonomePackage, false);
        return *jisRoman;
    }
    BitmapFont& Kanji(FontFace face) {
        int i = face == FontFace::Gothic ? 0 : 1;
        if (!kanji[i])
            kanji[i] = std::make_unique<BitmapFont>(lib, Path(i == 0 ? "shnmk12.pcf.gz" : "shnmk12min.pcf.gz"),
                                                    kShinonomePackage, false);
        return *kanji[i];
    }
    BitmapFont& Unicode() {
        if (!unicode) unicode = std::make_unique<BitmapFont>(lib, Path("6x12.pcf.gz"), kBasePackage, true);
        return *unicode;
    }

    // Through Unicode to 6x12; a double-width cell centres the narrow glyph.
    bool DrawViaUnicode(const uint8_t* bytes, int count, GlyphMask& m) {
        uint32_t u = toUnicode.Convert(bytes, count);
        if (u == 0) return false;
        return Unicode().Draw(u, count == 2 ? 3 : 0, m);
    }

    GlyphMask Render(FontFace face, const uint8_t* bytes, int count) {
        GlyphMask m;
        if (count == 1 && bytes[0] < 0x20) return m;
        if (codePage == 932) {
            if (count == 1) {
                if (!JisRoman().Draw(bytes[0], 0, m)) m = MissingGlyphBox(6);
                return m;
            }
            uint16_t jis = ShiftJisToJis(bytes[0], bytes[1]);
            if (jis != 0 && Kanji(face).Draw(jis, 0, m)) return m;
            // The code page's own extensions (NEC row 13, the IBM rows) are
            // not in JIS X 0208.
            if (!DrawViaUnicode(bytes, count, m)) m = MissingGlyphBox(12);
            return m;
        }
        if (count == 2) return MissingGlyphBox(12);  // no 12-pixel Han or Hangul font
        if (IsDoubleByteCodePage(codePage)) {
            if (bytes[0] < 0x80 && Unicode().Draw(bytes[0], 0, m)) return m;
            return MissingGlyphBox(6);
        }
        if (!DrawViaUnicode(bytes, 1, m)) m = MissingGlyphBox(6);
        return m;
    }
};

GlyphSource::GlyphSource(int codePage, std::string fontFolder)
    : impl_(std::make_unique<Impl>(codePage, std::move(fontFolder))) {}

GlyphSource::~GlyphSource() = default;

std::string GlyphSource::DefaultFontFolder() { return "/usr/share/fonts/X11/misc"; }

int GlyphSource::CodePage() const { return impl_->codePage; }

void GlyphSource::OpenFonts() {
    if (impl_->codePage == 932) {
        impl_->JisRoman();
        impl_->Kanji(FontFace::Gothic);
        impl_->Kanji(FontFace::Mincho);
    }
    impl_->Unicode();
}

GlyphMask GlyphSource::Render(FontFace face, const uint8_t* bytes, int count) {
    if (count < 1) return GlyphMask{};
    count = count >= 2 ? 2 : 1;
    // Single bytes look the same in both faces.
    uint32_t key = count == 1 ? bytes[0] : (uint32_t(face) + 1) << 16 | uint32_t(bytes[0]) << 8 | bytes[1];
    auto it = impl_->cache.find(key);
    if (it != impl_->cache.end()) return it->second;
    GlyphMask m = impl_->Render(face, bytes, count);
    impl_->cache.emplace(key, m);
    return m;
}

namespace {
std::unique_ptr<GlyphSource>& GlobalGlyphs() {
    static std::unique_ptr<GlyphSource> source;
    return source;
}
}  // namespace

GlyphSource& Glyphs() {
    auto& g = GlobalGlyphs();
    if (!g) g = std::make_unique<GlyphSource>(CodePage());
    return *g;
}

void SetTextCodePage(int codePage) {
    auto& g = GlobalGlyphs();
    if (g && g->CodePage() == codePage) return;
    g = std::make_unique<GlyphSource>(codePage);
}

}  // namespace platform
