#include "platform/font/glyph_source.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <iconv.h>

#include <algorithm>
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
constexpr const char* kHanPackage = "xfonts-wqy";
constexpr const char* kHangulPackage = "xfonts-baekmuk";
constexpr int kBaselineRow = 10;

// How a glyph's rows are placed in the 12-pixel cell.
enum class Placement : uint8_t {
    // On the baseline, cut where it leaves the cell.
    Baseline,
    // On the baseline, moved up or down just enough to lie inside the cell
    // (a few fonts draw tall symbols such as Roman numerals one row above).
    Fitted,
};

// One PCF font opened through FreeType, at its single bitmap size.
class BitmapFont {
public:
    BitmapFont(FT_Library lib, const std::string& path, const char* package, bool unicode,
               Placement placement = Placement::Baseline)
        : placement_(placement) {
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
        // 0208 and KS X 1001 row/cell pairs); an ISO 10646 font has a Unicode
        // charmap.
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
        if (placement_ == Placement::Fitted && bm.rows <= unsigned(GlyphMask::kSize))
            top = std::clamp(top, 0, GlyphMask::kSize - int(bm.rows));
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
    Placement placement_;
};

// Converts one character from one encoding to another through iconv.
class CharConverter {
public:
    CharConverter(const char* to, const char* from, const char* fallbackFrom = nullptr) {
        cd_ = iconv_open(to, from);
        if (cd_ == iconv_t(-1) && fallbackFrom) cd_ = iconv_open(to, fallbackFrom);
    }
    ~CharConverter() {
        if (cd_ != iconv_t(-1)) iconv_close(cd_);
    }
    CharConverter(const CharConverter&) = delete;
    CharConverter& operator=(const CharConverter&) = delete;

    // The converted bytes of one whole character; empty when the input is
    // not one or has no equivalent.
    std::string Convert(const uint8_t* bytes, size_t count) {
        if (cd_ == iconv_t(-1) || count == 0 || count > 4) return {};
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char in[4] = {};
        for (size_t i = 0; i < count; ++i) in[i] = char(bytes[i]);
        char out[16] = {};
        char* inPtr = in;
        size_t inLeft = count;
        char* outPtr = out;
        size_t outLeft = sizeof out;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0) return {};
        // Code pages with combining marks (1255, 1258) hold a base letter back
        // until they see what follows: flush it.
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == size_t(-1)) return {};
        return std::string(out, sizeof out - outLeft);
    }

private:
    iconv_t cd_ = iconv_t(-1);
};

// One character of a code page as a Unicode scalar value; 0 when the bytes
// are not one whole character of the code page.
uint32_t ToUnicode(CharConverter& fromCodePage, const uint8_t* bytes, int count) {
    std::string u = fromCodePage.Convert(bytes, size_t(count));
    if (u.size() != 4) return 0;
    auto b = [&](int i) { return uint32_t(uint8_t(u[size_t(i)])); };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

// A Unicode scalar value as a KS X 1001 row/cell pair (both 0x21..0x7E), the
// code of the Korean bitmap fonts; 0 when the character is not in the set.
uint16_t UnicodeToKsx1001(CharConverter& toEucKr, uint32_t u) {
    uint8_t in[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
    std::string e = toEucKr.Convert(in, 4);
    if (e.size() != 2) return 0;
    uint8_t row = uint8_t(e[0]), cell = uint8_t(e[1]);
    if (row < 0xA1 || row > 0xFE || cell < 0xA1 || cell > 0xFE) return 0;
    return uint16_t((row - 0x80) << 8 | (cell - 0x80));
}

bool IsKoreanCodePage(int codePage) { return codePage == 949 || codePage == 1361; }

}  // namespace

struct GlyphSource::Impl {
    int codePage;
    std::string folder;
    FT_Library lib = nullptr;
    std::unique_ptr<BitmapFont> jisRoman;      // shnm6x12r: JIS X 0201
    std::unique_ptr<BitmapFont> kanji[2];      // shnmk12, shnmk12min: JIS X 0208
    std::unique_ptr<BitmapFont> unicode;       // 6x12: ISO 10646
    std::unique_ptr<BitmapFont> unicodeTall;   // 6x13: ISO 10646, has Thai
    std::unique_ptr<BitmapFont> han;           // WenQuanYi 12 px: ISO 10646
    std::unique_ptr<BitmapFont> hangul[2];     // gulim12, batang12: KS X 1001
    CharConverter toUnicode;
    CharConverter toEucKr;
    std::unordered_map<uint32_t, GlyphMask> cache;

    Impl(int cp, std::string dir)
        : codePage(cp),
          folder(std::move(dir)),
          toUnicode("UTF-32LE", ("CP" + std::to_string(cp)).c_str(), "CP1252"),
          toEucKr("EUC-KR", "UTF-32LE") {
        if (FT_Init_FreeType(&lib) != 0) throw Exception("The font renderer could not be started.");
    }
    ~Impl() {
        jisRoman.reset();
        kanji[0].reset();
        kanji[1].reset();
        unicode.reset();
        unicodeTall.reset();
        han.reset();
        hangul[0].reset();
        hangul[1].reset();
        FT_Done_FreeType(lib);
    }

    std::string Path(const char* file) const { return (std::filesystem::path(folder) / file).string(); }

    BitmapFont& JisRoman() {
        if (!jisRoman)
            jisRoman = std::make_unique<BitmapFont>(lib, Path("misc/shnm6x12r.pcf.gz"), kShinonomePackage, false);
        return *jisRoman;
    }
    BitmapFont& Kanji(FontFace face) {
        int i = face == FontFace::Gothic ? 0 : 1;
        if (!kanji[i])
            kanji[i] = std::make_unique<BitmapFont>(
                lib, Path(i == 0 ? "misc/shnmk12.pcf.gz" : "misc/shnmk12min.pcf.gz"), kShinonomePackage, false);
        return *kanji[i];
    }
    BitmapFont& Unicode() {
        if (!unicode) unicode = std::make_unique<BitmapFont>(lib, Path("misc/6x12.pcf.gz"), kBasePackage, true);
        return *unicode;
    }
    // Letters 6x12 lacks (Thai) come from the 13-pixel font of the same
    // family; its top row is cut off.
    BitmapFont& UnicodeTall() {
        if (!unicodeTall)
            unicodeTall = std::make_unique<BitmapFont>(lib, Path("misc/6x13.pcf.gz"), kBasePackage, true);
        return *unicodeTall;
    }
    // The 9-point face at 96 dpi is the package's 12-pixel one; it has a
    // single face, so both font ids use it.
    BitmapFont& Han() {
        if (!han)
            han = std::make_unique<BitmapFont>(lib, Path("misc/wenquanyi_9pt.pcf"), kHanPackage, true,
                                               Placement::Fitted);
        return *han;
    }
    // Gulim (sans serif) for the first font id, Batang (serif) for the other.
    BitmapFont& Hangul(FontFace face) {
        int i = face == FontFace::Gothic ? 0 : 1;
        if (!hangul[i])
            hangul[i] = std::make_unique<BitmapFont>(
                lib, Path(i == 0 ? "75dpi/gulim12.pcf.gz" : "75dpi/batang12.pcf.gz"), kHangulPackage, false,
                Placement::Fitted);
        return *hangul[i];
    }

    // A one-byte character through Unicode to 6x12.
    GlyphMask RenderSingle(uint8_t byte) {
        GlyphMask m;
        if (byte < 0x20) return m;
        if (codePage == 932) {
            if (!JisRoman().Draw(byte, 0, m)) m = MissingGlyphBox(6);
            return m;
        }
        uint32_t u = ToUnicode(toUnicode, &byte, 1);
        // In a double-byte code page a high byte that is no character of its
        // own is a stray trail byte: blank.
        if (u == 0 && IsDoubleByteCodePage(codePage) && byte >= 0x80) return m;
        if (u == 0 || !(Unicode().Draw(u, 0, m) || UnicodeTall().Draw(u, 0, m))) m = MissingGlyphBox(6);
        return m;
    }

    // A two-byte character: the code page's own national font first, then
    // any font that has its Unicode character (a narrow one centred).
    GlyphMask RenderDouble(FontFace face, const uint8_t* bytes) {
        GlyphMask m;
        if (codePage == 932) {
            uint16_t jis = ShiftJisToJis(bytes[0], bytes[1]);
            if (jis != 0 && Kanji(face).Draw(jis, 0, m)) return m;
        }
        uint32_t u = ToUnicode(toUnicode, bytes, 2);
        if (u == 0) return MissingGlyphBox(12);
        if (IsKoreanCodePage(codePage)) {
            uint16_t ksx = UnicodeToKsx1001(toEucKr, u);
            if (ksx != 0 && Hangul(face).Draw(ksx, 0, m)) return m;
        }
        if (Han().Draw(u, 0, m)) return m;
        if (Unicode().Draw(u, 3, m)) return m;
        return MissingGlyphBox(12);
    }
};

GlyphSource::GlyphSource(int codePage, std::string fontFolder)
    : impl_(std::make_unique<Impl>(codePage, std::move(fontFolder))) {}

GlyphSource::~GlyphSource() = default;

std::string GlyphSource::DefaultFontFolder() { return "/usr/share/fonts/X11"; }

int GlyphSource::CodePage() const { return impl_->codePage; }

void GlyphSource::OpenFonts() {
    int cp = impl_->codePage;
    if (cp == 932) {
        impl_->JisRoman();
        impl_->Kanji(FontFace::Gothic);
        impl_->Kanji(FontFace::Mincho);
    }
    if (IsKoreanCodePage(cp)) {
        impl_->Hangul(FontFace::Gothic);
        impl_->Hangul(FontFace::Mincho);
    }
    if (IsDoubleByteCodePage(cp)) impl_->Han();
    impl_->Unicode();
}

GlyphMask GlyphSource::Render(FontFace face, const uint8_t* bytes, int count) {
    if (count < 1) return GlyphMask{};
    count = count >= 2 ? 2 : 1;
    // Single bytes look the same in both faces.
    uint32_t key = count == 1 ? bytes[0] : (uint32_t(face) + 1) << 16 | uint32_t(bytes[0]) << 8 | bytes[1];
    auto it = impl_->cache.find(key);
    if (it != impl_->cache.end()) return it->second;
    GlyphMask m = count == 1 ? impl_->RenderSingle(bytes[0]) : impl_->RenderDouble(face, bytes);
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
