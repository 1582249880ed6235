// The built-in symbol glyphs: every cell is drawn, and no two are alike.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "graphics/symbol_glyphs.h"

TEST(SymbolGlyphs, GridAddressingAndDistinctNonEmptyGlyphs) {
    int c = -1, r = -1;
    ASSERT_TRUE(SymbolGlyphCell('A', c, r));
    EXPECT_EQ(c, 0); EXPECT_EQ(r, 0);
    ASSERT_TRUE(SymbolGlyphCell('B', c, r));
    EXPECT_EQ(c, 1); EXPECT_EQ(r, 0);
    ASSERT_TRUE(SymbolGlyphCell('N', c, r));
    EXPECT_EQ(c, 0); EXPECT_EQ(r, 1);
    ASSERT_TRUE(SymbolGlyphCell('m', c, r));
    EXPECT_EQ(c, 12); EXPECT_EQ(r, 2);
    ASSERT_TRUE(SymbolGlyphCell('z', c, r));
    EXPECT_EQ(c, 12); EXPECT_EQ(r, 3);
    EXPECT_FALSE(SymbolGlyphCell('$', c, r));
    EXPECT_FALSE(SymbolGlyphCell('[', c, r));

    std::vector<uint8_t> px = SymbolGlyphPixels(7);
    ASSERT_EQ(px.size(), size_t(156 * 48));
    std::set<std::string> seen;
    for (int g = 0; g < 52; ++g) {
        std::string cell;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) {
                uint8_t v = px[size_t((g / 13) * 12 + y) * 156 + size_t((g % 13) * 12 + x)];
                ASSERT_TRUE(v == 0 || v == 7);
                cell += v ? '#' : '.';
            }
        EXPECT_NE(cell.find('#'), std::string::npos) << "glyph " << g << " is empty";
        EXPECT_TRUE(seen.insert(cell).second) << "glyph " << g << " repeats another";
    }
}
