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
    if (!std::filesystem::exists(platform::GlyphSource::DefaultFontFolder() + "/misc/shnmk12.pcf.gz"))
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

// One message box per code page of the Chinese, Korean and Cyrillic scripts,
// both font ids, for the eye; the check only guards that text was drawn.
TEST(RenderPages, MessageBoxInEveryScriptToPng) {
    if (!std::filesystem::exists(platform::GlyphSource::DefaultFontFolder() + "/misc/wenquanyi_9pt.pcf") ||
        !std::filesystem::exists(platform::GlyphSource::DefaultFontFolder() + "/75dpi/gulim12.pcf.gz"))
        GTEST_SKIP() << "X11 bitmap fonts not installed";
    struct Page {
        int codePage;
        const char* lines[3];
    };
    const Page pages[] = {
        // "Welcome to the village. Potion x3 (100 gold)"
        {936, {"\xBB\xB6\xD3\xAD\xC0\xB4\xB5\xBD\xB4\xE5\xD7\xAF\xA1\xA3",
               "\xD2\xA9\xCB\xAE x3 (100 \xBD\xF0\xB1\xD2)", "HP 120/200  SP 8/30"}},
        {950, {"\xC5\x77\xAA\xEF\xA8\xD3\xA8\xEC\xA7\xF8\xB2\xF8\xA1\x43",
               "\xC3\xC4\xA4\xF4 x3 (100 \xAA\xF7\xB9\xF4)", "HP 120/200  SP 8/30"}},
        {949, {"\xB8\xB6\xC0\xBB\xBF\xA1 \xBF\xC0\xBD\xC5 \xB0\xCD\xC0\xBB "
               "\xC8\xAF\xBF\xB5\xC7\xD5\xB4\xCF\xB4\xD9.",
               "\xB9\xB0\xBE\xE0 x3 (100 \xB0\xF1\xB5\xE5)", "HP 120/200  SP 8/30"}},
        {1251, {"\xC4\xEE\xE1\xF0\xEE \xEF\xEE\xE6\xE0\xEB\xEE\xE2\xE0\xF2\xFC!",
                "\xC7\xE5\xEB\xFC\xE5 x3 (100 \xE7\xEE\xEB\xEE\xF2\xE0)", "HP 120/200  SP 8/30"}},
    };
    for (const Page& page : pages) {
        platform::SetTextCodePage(page.codePage);
        TSorvoBoard board;
        board.SetSize(320, 240);
        TLcfSystemGraphic skin(board);
        BuildPrettySkin(skin.Skin());
        TSorvoSheet window;
        window.SetSize(320, 80);
        window.Palette = skin.Skin().Palette;
        window.UpdateColorTable();
        for (int font = 0; font < 2; ++font) {
            skin.SetFont(font);
            skin.DrawWindowSkin(window, 0, 0, 320, 80);
            int y = 8;
            for (const char* text : page.lines) {
                skin.DrawText(window, 10, y, text, font);
                y += 16;
            }
            board.Draw(0, 8 + 96 * font, window, window.GetBoundsRect());
        }
        std::string path = SaveBoardPng(board, "message_box_" + std::to_string(page.codePage) + ".png");
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    platform::SetTextCodePage(platform::CodePage());
}

#include "graphics/chip_set_graphic.h"
#include "graphics/graphics_files.h"
#include "support/test_paths.h"

namespace {

// A chip-set image drawn in code so that autotiles can be judged by eye:
// palette 1 dark outline, 2..4 greens, 5..8 blues, 9 foam, 10..12 sand and
// stone, 13 red, 14 yellow.
void DrawTileSet(TSorvoPng& png) {
    png.SetFormat(480, 256, 8);
    auto pal = [&](int i, int r, int g, int b) { png.Palette[size_t(i)] = PaletteEntry{uint8_t(r), uint8_t(g), uint8_t(b), 0}; };
    pal(1, 30, 40, 20); pal(2, 60, 150, 60); pal(3, 80, 180, 70); pal(4, 50, 120, 50);
    pal(5, 30, 70, 170); pal(6, 40, 90, 200); pal(7, 60, 120, 220); pal(8, 20, 50, 130); pal(9, 220, 240, 255);
    pal(10, 210, 190, 130); pal(11, 150, 150, 150); pal(12, 110, 110, 110); pal(13, 200, 50, 50); pal(14, 240, 220, 60);
    auto put = [&](int x, int y, int v) { png.Row(y)[x] = uint8_t(v); };
    auto fill = [&](int x, int y, int w, int h, auto f) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) put(x + i, y + j, f(i, j));
    };
    // Water block: three frames 16 pixels apart, waves that move right.
    // Rows 0..63 are shore pieces (foam on the outer side of each 16x16
    // piece), 64..79 open water, 80..95 and 96..111 the deep edge pieces.
    for (int frame = 0; frame < 6; ++frame)
        fill(frame * 16, 0, 16, 128, [&](int i, int j) {
            int wave = ((i + j / 4 + frame * 3) % 8) < 2 ? 7 : 6;
            int y = j % 16;
            bool shore = j < 64;
            if (shore && (y < 2 || y > 13 || i < 2 || i > 13)) return 9;
            if (j >= 80 && j < 112) return ((i + frame * 2) % 6) < 2 ? 5 : 8;
            return wave;
        });
    // Animated tiles: a blinking red and yellow light in four frames.
    for (int a = 0; a < 3; ++a)
        fill(48 + 16 * a, 64, 16, 64, [&](int i, int j) {
            int frame = j / 16, y = j % 16;
            int r = (i - 8) * (i - 8) + (y - 8) * (y - 8);
            return r < 10 + frame * 8 ? (a == 0 ? 13 : 14) : 11;
        });
    // Terrain blocks: grass (chip 6), sand (7), stone (8); others plain.
    const int ground[12] = {3, 10, 11, 2, 4, 3, 10, 11, 2, 4, 3, 10};
    const int cells[12][2] = {{0, 16}, {6, 16}, {0, 24}, {6, 24}, {12, 0}, {18, 0}, {12, 8}, {18, 8}, {12, 16}, {18, 16}, {12, 24}, {18, 24}};
    for (int t = 0; t < 12; ++t) {
        int bx = cells[t][0] * 8, by = cells[t][1] * 8, g = ground[t];
        auto body = [&](int i, int j) { return ((i * 7 + j * 13) % 11) == 0 ? 4 : g; };
        fill(bx, by, 48, 64, body);
        // Isolated tile at (0,0): an outline all round.
        fill(bx, by, 16, 16, [&](int i, int j) { return (i == 0 || j == 0 || i == 15 || j == 15) ? 1 : body(i, j); });
        // Inner corners at (32,0): one dark pixel pair at each corner.
        for (int cx : {0, 15})
            for (int cy : {0, 15}) {
                put(bx + 32 + cx, by + cy, 1);
                put(bx + 32 + (cx ? 14 : 1), by + cy, 1);
                put(bx + 32 + cx, by + (cy ? 14 : 1), 1);
            }
        // The 3x3 arrangement at (0,16): outline on its outer border.
        for (int i = 0; i < 48; ++i) {
            put(bx + i, by + 16, 1);
            put(bx + i, by + 63, 1);
            put(bx, by + 16 + i, 1);
            put(bx + 47, by + 16 + i, 1);
        }
    }
    // Plain lower tiles: a checker of colours with a number of dots.
    for (int k = 0; k < 144; ++k) {
        int x = 192 + 96 * (k / 96) + 16 * (k % 6), y = 16 * ((k % 96) / 6);
        fill(x, y, 16, 16, [&](int i, int j) { return (i / 4 + j / 4) % 2 ? 10 + (k % 3) : 2 + (k % 3); });
    }
    // Upper tiles: 0 blank; others a tree, a rock or a flower on blank.
    for (int u = 1; u < 144; ++u) {
        int x = 288 + 96 * ((u + 48) / 96) + 16 * (u % 6), y = 16 * (((u + 48) % 96) / 6);
        fill(x, y, 16, 16, [&](int i, int j) {
            switch (u % 3) {
            case 0: return ((i - 8) * (i - 8) + (j - 6) * (j - 6) < 30) ? 4 : (i >= 7 && i <= 8 && j > 9 ? 12 : 0);
            case 1: return ((i - 8) * (i - 8) + (j - 10) * (j - 10) * 2 < 26) ? 11 : 0;
            default: return ((i - 8) * (i - 8) + (j - 8) * (j - 8) < 6) ? 14 : 0;
            }
        });
    }
}

}  // namespace

TEST(RenderPages, TileFieldToPng) {
    testing_support::TempDir dir;
    TSorvoPng png;
    DrawTileSet(png);
    png.SaveToFile((dir / "field.png").string());
    SetGraphicsFileFinder([&](const std::string&, const std::string& name) { return (dir / (name + ".png")).string(); });
    TLcfChipSetGraphic chips;
    TLcfChipSetItem chipSet(1);
    chipSet.imageName = "field";
    chips.SetChipSet(&chipSet);
    chips.SetDrawMode(true);
    SetGraphicsFileFinder(nullptr);

    // 20x15 cells: plain ground, a pond of water (kind 0) with shores, a
    // grass patch, a sand strip, single tiles, animated lights, trees.
    int lower[15][20], upper[15][20];
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            lower[y][x] = 5000 + 18;  // plain lower tile 18
            upper[y][x] = 10000;
        }
    // Grass patch 8x5 at (1,1): corners, edges, middle; one inner corner.
    for (int y = 1; y <= 5; ++y)
        for (int x = 1; x <= 8; ++x) {
            bool top = y == 1, bottom = y == 5, left = x == 1, right = x == 8;
            int shape = top && left ? 34 : top && right ? 36 : bottom && left ? 40 : bottom && right ? 38 : top ? 20
                      : bottom ? 28 : left ? 16 : right ? 24 : 0;
            lower[y][x] = 4000 + shape;
        }
    lower[3][4] = 4000 + 1;  // middle with its top-left inner corner
    for (int x = 1; x <= 8; ++x) lower[8][x] = 4050 + (x == 1 ? 43 : x == 8 ? 45 : 33);  // sand strip
    lower[10][2] = 4046;  // lone grass tile
    lower[10][4] = 4100 + 46;  // lone stone tile
    // Pond at (11..17, 2..8): open water inside, shore shapes at the border.
    for (int y = 2; y <= 8; ++y)
        for (int x = 11; x <= 17; ++x) lower[y][x] = (y == 2 || y == 8 || x == 11 || x == 17) ? 32 : 0;
    lower[5][14] = 15 * 50;  // deep water: all four edge quarters
    lower[11][12] = 3000;
    lower[11][14] = 3050;
    lower[11][16] = 3100;
    for (int x = 10; x < 20; x += 2) upper[13][x] = 10000 + 1 + (x / 2) % 3;
    upper[1][1] = 10003;

    TSorvoBoard board;
    board.SetSize(320, 240);
    for (int frame : {0, 30}) {
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 20; ++x) {
                chips.DrawTile(board, x * 16, y * 16, 16, lower[y][x], frame);
                chips.DrawTile(board, x * 16, y * 16, 16, upper[y][x], frame);
            }
        std::string path = SaveBoardPng(board, "tile_field_" + std::to_string(frame) + ".png");
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    // Zoomed tiles (size 32) of the grass patch corner, for the eye.
    board.Clear();
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) chips.DrawTile(board, x * 32, y * 32, 32, lower[y][x], 0);
    SaveBoardPng(board, "tile_field_zoomed.png");
}
