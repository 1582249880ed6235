// The 12-pixel font layer: code page rules, the Shift-JIS conversion and the
// glyphs that come out of the installed X11 bitmap fonts.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/errors.h"
#include "platform/font/glyph_source.h"

using namespace platform;

namespace {

bool FontsInstalled() {
    return std::filesystem::exists(GlyphSource::DefaultFontFolder() + "/shnmk12.pcf.gz") &&
           std::filesystem::exists(GlyphSource::DefaultFontFolder() + "/6x12.pcf.gz");
}

GlyphMask Render(GlyphSource& g, std::initializer_list<uint8_t> bytes, FontFace face = FontFace::Gothic) {
    std::vector<uint8_t> b(bytes);
    return g.Render(face, b.data(), int(b.size()));
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

    GlyphSource chinese(936);
    EXPECT_EQ(Render(chinese, {0xB0, 0xA1}), MissingGlyphBox(12));
    EXPECT_FALSE(Render(chinese, {'x'}).Empty());

    GlyphSource cyrillic(1251);
    GlyphMask zhe = Render(cyrillic, {0xC6});
    EXPECT_FALSE(zhe.Empty());
    EXPECT_NE(zhe, MissingGlyphBox(6));
    EXPECT_NE(zhe, Render(cyrillic, {'A'}));
}
