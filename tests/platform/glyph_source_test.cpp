// The 12-pixel font layer: code page rules, the Shift-JIS conversion and the
// glyphs that come out of the installed X11 bitmap fonts.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/errors.h"
#include "platform/font/glyph_source.h"

using namespace platform;

namespace {

bool FontsInstalled() {
    return std::filesystem::exists(GlyphSource::DefaultFontFolder() + "/misc/shnmk12.pcf.gz") &&
           std::filesystem::exists(GlyphSource::DefaultFontFolder() + "/misc/6x12.pcf.gz");
}

GlyphMask Render(GlyphSource& g, std::initializer_list<uint8_t> bytes, FontFace face = FontFace::Gothic) {
    std::vector<uint8_t> b(bytes);
    return g.Render(face, b.data(), int(b.size()));
}

bool CjkFontsInstalled() {
    return std::filesystem::exists(GlyphSource::DefaultFontFolder() + "/misc/wenquanyi_9pt.pcf") &&
           std::filesystem::exists(GlyphSource::DefaultFontFolder() + "/75dpi/gulim12.pcf.gz");
}

int RightmostInk(const GlyphMask& m) {
    int right = -1;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            if (m.Ink(x, y)) right = std::max(right, x);
    return right;
}

}  // namespace

TEST(CodePage, LeadBytesAndShiftJisConversion) {
    EXPECT_TRUE(IsLeadByte(932, 0x81));
    EXPECT_TRUE(IsLeadByte(932, 0x9F));
    EXPECT_FALSE(IsLeadByte(932, 0xA0));  // half-width katakana are single bytes
    EXPECT_FALSE(IsLeadByte(932, 0xDF));
    EXPECT_TRUE(IsLeadByte(932, 0xE0));
    EXPECT_TRUE(IsLeadByte(932, 0xFC));
    EXPECT_FALSE(IsLeadByte(932, 0xFD));
    EXPECT_TRUE(IsLeadByte(949, 0xFE));
    EXPECT_FALSE(IsLeadByte(1252, 0x81));

    EXPECT_EQ(ShiftJisToJis(0x81, 0x40), 0x2121);  // ideographic space
    EXPECT_EQ(ShiftJisToJis(0x81, 0x9F), 0x2221);  // trail above 0x9E moves to the even row
    EXPECT_EQ(ShiftJisToJis(0x82, 0xA0), 0x2422);  // hiragana a
    EXPECT_EQ(ShiftJisToJis(0x88, 0x9F), 0x3021);  // first level-1 kanji
    EXPECT_EQ(ShiftJisToJis(0xE0, 0x40), 0x5F21);
    EXPECT_EQ(ShiftJisToJis(0xEF, 0xFC), 0x7E7E);
    EXPECT_EQ(ShiftJisToJis(0xFA, 0x40), 0);  // IBM extension: not JIS X 0208
    EXPECT_EQ(ShiftJisToJis(0x81, 0x7F), 0);
    EXPECT_EQ(ShiftJisToJis(0x81, 0x3F), 0);
}

TEST(GlyphSource, MissingFontNamesThePackage) {
    GlyphSource g(932, "/nonexistent-font-folder");
    try {
        Render(g, {'A'});
        FAIL() << "expected an exception";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find("xfonts-shinonome"), std::string::npos) << e.Message();
    }
    GlyphSource western(1252, "/nonexistent-font-folder");
    try {
        western.OpenFonts();
        FAIL() << "expected an exception";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find("xfonts-base"), std::string::npos) << e.Message();
    }
}

TEST(GlyphSource, JapaneseCodePageUsesBothShinonomeFaces) {
    if (!FontsInstalled()) GTEST_SKIP() << "X11 bitmap fonts not installed";
    GlyphSource g(932);
    GlyphMask a = Render(g, {'A'});
    EXPECT_FALSE(a.Empty());
    EXPECT_LT(RightmostInk(a), 6);
    EXPECT_TRUE(Render(g, {' '}).Empty());
    EXPECT_TRUE(Render(g, {0x05}).Empty());
    // Byte 0x5C is the yen sign in JIS X 0201, not a backslash.
    GlyphSource western(1252);
    EXPECT_NE(Render(g, {0x5C}), Render(western, {0x5C}));
    // Half-width katakana.
    GlyphMask ka = Render(g, {0xB6});
    EXPECT_FALSE(ka.Empty());
    EXPECT_NE(ka, MissingGlyphBox(6));

    // Hiragana "a": the 12-pixel Mincho face differs from Gothic in its kana.
    GlyphMask kanaGothic = Render(g, {0x82, 0xA0}, FontFace::Gothic);
    GlyphMask kanaMincho = Render(g, {0x82, 0xA0}, FontFace::Mincho);
    EXPECT_FALSE(kanaGothic.Empty());
    EXPECT_FALSE(kanaMincho.Empty());
    EXPECT_NE(kanaGothic, kanaMincho);
    EXPECT_GE(RightmostInk(kanaGothic), 6);  // a full-width glyph
    EXPECT_NE(kanaGothic, MissingGlyphBox(12));
    // The cache must keep the faces apart.
    EXPECT_EQ(Render(g, {0x82, 0xA0}, FontFace::Gothic), kanaGothic);
}

TEST(GlyphSource, ExtensionsFallBackThroughUnicodeOrDrawABox) {
    if (!FontsInstalled()) GTEST_SKIP() << "X11 bitmap fonts not installed";
    GlyphSource g(932);
    // NEC row 13: circled digit one, found in 6x12.
    GlyphMask circled = Render(g, {0x87, 0x40});
    EXPECT_FALSE(circled.Empty());
    EXPECT_NE(circled, MissingGlyphBox(12));
    // A pair that is no character at all.
    EXPECT_EQ(Render(g, {0x85, 0x40}), MissingGlyphBox(12));
    // A single byte JIS X 0201 leaves unassigned is blank, as in the font.
    EXPECT_TRUE(Render(g, {0x80}).Empty());

    GlyphSource cyrillic(1251);
    GlyphMask zhe = Render(cyrillic, {0xC6});
    EXPECT_FALSE(zhe.Empty());
    EXPECT_NE(zhe, MissingGlyphBox(6));
    EXPECT_NE(zhe, Render(cyrillic, {'A'}));
}

// One character of every script, by code page: each must come out as a
// full-width glyph of its own, never the box.
TEST(GlyphSource, EveryDoubleByteCodePageDrawsItsCharacters) {
    if (!FontsInstalled() || !CjkFontsInstalled()) GTEST_SKIP() << "X11 bitmap fonts not installed";
    struct Case {
        int codePage;
        std::initializer_list<uint8_t> bytes;
        const char* what;
    };
    const Case cases[] = {
        {932, {0x87, 0x40}, "circled digit one (NEC row 13)"},
        {932, {0x87, 0x57}, "Roman numeral four (NEC row 13)"},
        {932, {0xFA, 0x5C}, "IBM extension kanji"},
        {936, {0xB0, 0xA1}, "GBK: first level-1 hanzi"},
        {936, {0xD6, 0xD0}, "GBK: zhong"},
        {950, {0xA4, 0xA4}, "Big5: zhong"},
        {950, {0xC5, 0xE9}, "Big5: ti (body), many strokes"},
        {949, {0xB0, 0xA1}, "KS X 1001: ga"},
        {949, {0xC7, 0xD1}, "KS X 1001: han"},
        {949, {0xCA, 0xA1}, "KS X 1001: hanja"},
        {1361, {0x88, 0x61}, "Johab: ga"},
    };
    for (const Case& c : cases) {
        GlyphSource g(c.codePage);
        GlyphMask m = Render(g, c.bytes);
        EXPECT_FALSE(m.Empty()) << c.codePage << " " << c.what;
        EXPECT_NE(m, MissingGlyphBox(12)) << c.codePage << " " << c.what;
        EXPECT_GE(RightmostInk(m), 8) << c.codePage << " " << c.what << ": not full width";
    }

    // The same hanzi in the simplified and the traditional code page is the
    // same glyph; hangul ga in Unified Hangul and Johab too.
    GlyphSource gbk(936), big5(950), uhc(949), johab(1361);
    EXPECT_EQ(Render(gbk, {0xD6, 0xD0}), Render(big5, {0xA4, 0xA4}));
    EXPECT_EQ(Render(uhc, {0xB0, 0xA1}), Render(johab, {0x88, 0x61}));
    // Korean has a second face; Chinese has one, used for both font ids.
    EXPECT_NE(Render(uhc, {0xC7, 0xD1}, FontFace::Gothic), Render(uhc, {0xC7, 0xD1}, FontFace::Mincho));
    EXPECT_EQ(Render(gbk, {0xD6, 0xD0}, FontFace::Gothic), Render(gbk, {0xD6, 0xD0}, FontFace::Mincho));

    // Single bytes of the double-byte pages are the 6x12 letters; a high byte
    // that is no character of its own (a stray trail byte) is blank.
    for (GlyphSource* g : {&gbk, &big5, &uhc}) {
        EXPECT_FALSE(Render(*g, {'x'}).Empty());
        EXPECT_LT(RightmostInk(Render(*g, {'x'})), 6);
        EXPECT_TRUE(Render(*g, {0xFF}).Empty());
    }
    // Not one character: a lead byte with an ASCII control as its trail.
    EXPECT_EQ(Render(gbk, {0xB0, 0x05}), MissingGlyphBox(12));
}

TEST(GlyphSource, SingleByteCodePagesDrawTheirLetters) {
    if (!FontsInstalled()) GTEST_SKIP() << "X11 bitmap fonts not installed";
    // A letter outside ASCII of each Windows code page.
    const std::pair<int, uint8_t> letters[] = {
        {1250, 0x8A},  // S caron
        {1251, 0xC6},  // Cyrillic zhe
        {1252, 0xE9},  // e acute
        {1253, 0xE1},  // Greek alpha
        {1254, 0xF0},  // g breve
        {1255, 0xE0},  // Hebrew alef
        {1257, 0xE8},  // c caron
        {1258, 0xF5},  // o horn
        {874, 0xA1},   // Thai ko kai
    };
    // Arabic (1256) has no letters in any installed 12-pixel font: boxes.
    for (auto [codePage, byte] : letters) {
        GlyphSource g(codePage);
        GlyphMask m = Render(g, {byte});
        EXPECT_FALSE(m.Empty()) << codePage;
        EXPECT_NE(m, MissingGlyphBox(6)) << codePage;
        EXPECT_NE(m, Render(g, {'A'})) << codePage;
    }
}
