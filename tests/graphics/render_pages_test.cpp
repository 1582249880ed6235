// Renders pages to PNG files in the build folder so a person can look at
// them: a window of Japanese and Western text with symbol glyphs, and a tile
// field with every kind of autotile. The checks here only guard that
// something was drawn; the pictures are for the eye.
#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/system_graphic.h"
#include "graphics_test_util.h"
#include "platform/font/glyph_source.h"

using namespace graphics_test;

namespace {

// A skin with a blue gradient background, a light frame, white, yellow,
// red and grey text colours and a dark shadow.
void BuildPrettySkin(TSorvoSheet& skin) {
    for (int i = 0; i < 32; ++i) skin.SetPaletteEntry(16 + i, 0, uint8_t(16 + i * 2), uint8_t(64 + i * 4));
    skin.SetPaletteEntry(1, 230, 230, 240);   // frame light
    skin.SetPaletteEntry(2, 120, 120, 160);   // frame dark
    skin.SetPaletteEntry(3, 20, 20, 30);      // shadow
    skin.SetPaletteEntry(4, 255, 255, 255);   // text white
    skin.SetPaletteEntry(5, 255, 220, 90);    // text yellow
    skin.SetPaletteEntry(6, 255, 110, 110);   // text red
    skin.SetPaletteEntry(7, 180, 180, 180);   // text grey
    skin.SetPaletteEntry(8, 250, 250, 120);   // cursor
    skin.UpdateColorTable();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) skin.ScanLine(y)[x] = uint8_t(16 + y);
    // Frame: a two-pixel border, light outside, dark inside.
    for (int base : {32, 64, 96}) {
        uint8_t light = base == 32 ? 1 : 8;
        Fill(skin, base, 0, 32, 32, 0);
        Fill(skin, base, 0, 32, 2, light);
        Fill(skin, base, 30, 32, 2, light);
        Fill(skin, base, 0, 2, 32, light);
        Fill(skin, base + 30, 0, 2, 32, light);
        if (base == 32) {
            Fill(skin, base + 2, 2, 28, 1, 2);
            Fill(skin, base + 2, 29, 28, 1, 2);
            Fill(skin, base + 2, 2, 1, 28, 2);
            Fill(skin, base + 29, 2, 1, 28, 2);
        }
    }
    skin.ScanLine(32)[16] = 3;
    skin.ScanLine(32)[0] = 16;
    const uint8_t colours[20] = {4, 5, 6, 7, 6, 7, 4, 5, 4, 5, 4, 5, 6, 7, 4, 5, 6, 7, 4, 5};
    for (int c = 0; c < 20; ++c) Fill(skin, 16 * (c % 10), 48 + 16 * (c / 10), 16, 16, colours[c]);
}

}  // namespace

TEST(RenderPages, TextWindowToPng) {
    if (!std::filesystem::exists(platform::GlyphSource::DefaultFontFolder() + "/shnmk12.pcf.gz"))
        GTEST_SKIP() << "X11 bitmap fonts not installed";
    TSorvoBoard board;
    board.SetSize(320, 240);
    TLcfSystemGraphic skin(board);
    BuildPrettySkin(skin.Skin());

    TSorvoSheet window;
    window.SetSize(320, 240);
    window.Palette = skin.Skin().Palette;
    window.UpdateColorTable();
    skin.DrawWindowSkin(window, 0, 0, 320, 240);
    skin.DrawCursor(window, RectOfSize(8, 216, 120, 16), 0);
    int y = 8;
    auto line = [&](const char* text, int colour) {
        skin.DrawText(window, 10, y, text, colour);
        y += 16;
    };
    line("Varnow: The quick brown fox jumps over", 0);
    line("the lazy dog. 0123456789 !\"#%&'()*+,-./", 0);
    line("\x97\x45\x8E\xD2\x82\xCD\x95\xF3\x94\xA0\x82\xF0\x8A\x4A\x82\xAF\x82\xBD\x81\x49", 0);
    line("\x81\x75\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\x81\x41\x90\xA2\x8A\x45\x81\x42\x81\x76", 1);
    line("\xCA\xDD\xB6\xB8\x20\xB6\xC0\xB6\xC5\x20\x5C\x31\x30\x30  (half-width, yen)", 2);
    line("\x87\x40\x87\x41\x87\x42\x20\x87\x54\x87\x55\x87\x56\x20\x87\x8A  NEC row 13", 3);
    line("HP 120/200  SP\x01" "8/30  Potion x3", 0);
    line("$A$B$C$D$E$F$G$H$I$J$K$L$M", 0);
    line("$N$O$P$Q$R$S$T$U$V$W$X$Y$Z", 1);
    line("$a$b$c$d$e$f$g$h$i$j$k$l$m", 0);
    line("$n$o$p$q$r$s$t$u$v$w$x$y$z", 2);
    line("Price: 100$$  Mincho below:", 0);
    skin.SetFont(1);
    line("\x81\x75\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\x81\x41\x90\xA2\x8A\x45\x81\x42\x81\x76", 0);
    skin.SetFont(0);
    skin.DrawText(window, 14, 216, "Cursor", 0);
    board.Draw(0, 0, window, window.GetBoundsRect());

    std::string path = SaveBoardPng(board, "text_window.png");
    EXPECT_TRUE(std::filesystem::exists(path));
}
