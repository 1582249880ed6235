// The system skin: window pieces, text with colours, shadow, half spaces,
// symbol glyphs and clipping, the timer and the gauges, on a skin built in
// code with one palette index per region.
#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/system_graphic.h"
#include "graphics_test_util.h"
#include "platform/font/glyph_source.h"

using namespace graphics_test;

namespace {

constexpr uint8_t kShadow = 5;
constexpr uint8_t kMenuBackground = 6;
uint8_t ColorIndex(int c) { return uint8_t(100 + c); }

bool FontsInstalled() {
    return std::filesystem::exists(platform::GlyphSource::DefaultFontFolder() + "/misc/shnm6x12r.pcf.gz");
}

// Background: 16 blocks of 8x8, indexes 10..25. Frame: corners 30, edges
// 31 (odd pieces) and 32 (even). Arrows 33, 34. Cursor frames 40 and 41,
// their edges 42/43 and interior 44/45. Small icons 50 + step + 4 kind.
// Timer digits 70..79, colon 80; shadow halves 81, 82. Text colour c is
// 100 + c over its whole cell.
void BuildSkin(TSorvoSheet& skin) {
    DistinctPalette(skin);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) skin.ScanLine(y)[x] = uint8_t(10 + x / 8 + 4 * (y / 8));
    for (int base : {32, 64, 96}) {
        uint8_t corner = base == 32 ? 30 : base == 64 ? 40 : 41;
        uint8_t edge = base == 32 ? 31 : base == 64 ? 42 : 43;
        Fill(skin, base, 0, 32, 32, edge);
        Fill(skin, base + 8, 8, 16, 16, base == 32 ? 0 : base == 64 ? 44 : 45);
        Fill(skin, base + 8, 0, 8, 8, uint8_t(edge + 1 == 32 ? 32 : edge));
        for (int cx : {0, 24})
            for (int cy : {0, 24}) Fill(skin, base + cx, cy, 8, 8, corner);
    }
    Fill(skin, 40, 8, 16, 8, 33);
    Fill(skin, 40, 16, 16, 8, 34);
    for (int k = 0; k < 4; ++k)
        for (int s = 0; s < 4; ++s) Fill(skin, 128 + 8 * s, 8 * k, 8, 8, uint8_t(50 + s + 4 * k));
    for (int d = 0; d < 10; ++d) Fill(skin, 32 + 8 * d, 32, 8, 16, uint8_t(70 + d));
    Fill(skin, 112, 32, 8, 16, 80);
    Fill(skin, 128, 32, 16, 16, 81);
    Fill(skin, 144, 32, 16, 16, 82);
    skin.ScanLine(32)[16] = kShadow;
    skin.ScanLine(32)[0] = kMenuBackground;
    for (int c = 0; c < 20; ++c) Fill(skin, 16 * (c % 10), 48 + 16 * (c / 10), 16, 16, ColorIndex(c));
}

struct Fixture {
    TSorvoBoard board;
    std::unique_ptr<TLcfSystemGraphic> skin;
    Fixture() {
        board.SetSize(320, 240);
        skin = std::make_unique<TLcfSystemGraphic>(board);
        BuildSkin(skin->Skin());
    }
};

int Count(const TSorvoSheet& sheet, int x0, int x1, uint8_t index) {
    int n = 0;
    for (int y = 0; y < sheet.Height(); ++y)
        for (int x = std::max(0, x0); x < std::min(sheet.Width(), x1); ++x) n += sheet.ScanLine(y)[x] == index;
    return n;
}

// The ink of a glyph as drawn at (x, y+2) in colour index `ink`.
platform::GlyphMask DrawnMask(const TSorvoSheet& sheet, int x, int y, uint8_t ink, int width = 12) {
    platform::GlyphMask m;
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < width; ++j)
            if (x + j < sheet.Width() && y + 2 + i < sheet.Height() && At(sheet, x + j, y + 2 + i) == ink) m.Set(j, i);
    return m;
}

platform::GlyphMask FontMask(std::initializer_list<uint8_t> bytes) {
    std::vector<uint8_t> b(bytes);
    return platform::Glyphs().Render(platform::FontFace::Gothic, b.data(), int(b.size()));
}

}  // namespace

TEST(SystemGraphicText, AdvancesSymbolsDollarsAndHalfSpaces) {
    if (!FontsInstalled()) GTEST_SKIP() << "X11 bitmap fonts not installed";
    Fixture f;
    TSorvoSheet sheet;
    sheet.SetSize(120, 20);

    EXPECT_EQ(f.skin->DrawText(sheet, 0, 0, "A$Bc", 3), 24);
    EXPECT_EQ(DrawnMask(sheet, 0, 0, ColorIndex(3)).rows[5] & 0x3F, FontMask({'A'}).rows[5]);
    // The symbol glyph of "$B" (row 0, column 1) spans twelve columns.
    platform::GlyphMask symbol = DrawnMask(sheet, 6, 0, ColorIndex(3));
    EXPECT_FALSE(symbol.Empty());
    platform::GlyphMask dollarB;
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j)
            if (At(f.skin->SymbolSheet(), 12 + j, i)) dollarB.Set(j, i);
    EXPECT_EQ(symbol, dollarB);
    platform::GlyphMask c = DrawnMask(sheet, 18, 0, ColorIndex(3));
    EXPECT_EQ(c, FontMask({'c'}));

    // "$$5": one dollar sign, then the digit at x 12; a final "$" draws itself.
    TSorvoSheet s2;
    s2.SetSize(120, 20);
    EXPECT_EQ(f.skin->DrawText(s2, 0, 0, "$$5$", 0), 24);
    EXPECT_EQ(DrawnMask(s2, 0, 0, ColorIndex(0), 6), FontMask({'$'}));
    EXPECT_EQ(Count(s2, 6, 12, ColorIndex(0)), 0);
    EXPECT_EQ(DrawnMask(s2, 12, 0, ColorIndex(0), 6), FontMask({'5'}));
    EXPECT_EQ(DrawnMask(s2, 18, 0, ColorIndex(0)), FontMask({'$'}));

    // A half space moves the next character 3 pixels and draws nothing.
    TSorvoSheet s3;
    s3.SetSize(120, 20);
    EXPECT_EQ(f.skin->DrawText(s3, 0, 0, "A\x01" "B", 1), 15);
    EXPECT_EQ(DrawnMask(s3, 9, 0, ColorIndex(1)), FontMask({'B'}));

    // A lead byte with nothing after it is a one-byte blank.
    TSorvoSheet s4;
    s4.SetSize(120, 20);
    EXPECT_EQ(f.skin->DrawText(s4, 0, 0, "A\x82", 1), 12);
    EXPECT_EQ(Count(s4, 6, 120, ColorIndex(1)), 0);
}

// Chinese text: a two-byte character is twelve pixels, a byte six; a stray
// high byte and a lead byte at the end draw nothing but keep their six.
TEST(SystemGraphicText, ChineseLineAdvancesByBytes) {
    if (!FontsInstalled() ||
        !std::filesystem::exists(platform::GlyphSource::DefaultFontFolder() + "/misc/wenquanyi_9pt.pcf"))
        GTEST_SKIP() << "X11 bitmap fonts not installed";
    platform::SetTextCodePage(936);
    Fixture f;
    TSorvoSheet sheet;
    sheet.SetSize(120, 20);
    EXPECT_EQ(f.skin->DrawText(sheet, 0, 0, "A\xD6\xD0" "B\xFF" "C\xD6", 2), 42);
    EXPECT_EQ(DrawnMask(sheet, 6, 0, ColorIndex(2)), FontMask({0xD6, 0xD0}));
    EXPECT_NE(FontMask({0xD6, 0xD0}), platform::MissingGlyphBox(12));
    EXPECT_EQ(DrawnMask(sheet, 18, 0, ColorIndex(2), 6), FontMask({'B'}));
    EXPECT_EQ(Count(sheet, 24, 30, ColorIndex(2)), 0);
    EXPECT_EQ(DrawnMask(sheet, 30, 0, ColorIndex(2), 6), FontMask({'C'}));
    EXPECT_EQ(Count(sheet, 36, 120, ColorIndex(2)), 0);
    platform::SetTextCodePage(platform::CodePage());
}

TEST(SystemGraphicText, ShadowColoursAndTheRightEdge) {
    if (!FontsInstalled()) GTEST_SKIP() << "X11 bitmap fonts not installed";
    Fixture f;
    TSorvoSheet sheet;
    sheet.SetSize(100, 20);
    f.skin->DrawText(sheet, 0, 0, "I", 0);
    EXPECT_GT(Count(sheet, 0, 12, kShadow), 0);
    // Every ink pixel's shadow lies one right and one down, unless text covers it.
    platform::GlyphMask m = FontMask({'I'});
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j)
            if (m.Ink(j, i)) {
                uint8_t v = At(sheet, 1 + j, 3 + i);
                EXPECT_TRUE(v == kShadow || v == ColorIndex(0));
            }

    // No shadow when the skin's shadow pixel is index 0.
    f.skin->Skin().ScanLine(32)[16] = 0;
    TSorvoSheet plain;
    plain.SetSize(100, 20);
    f.skin->DrawText(plain, 0, 0, "I", 0);
    EXPECT_EQ(Count(plain, 0, 100, kShadow), 0);
    f.skin->Skin().ScanLine(32)[16] = kShadow;

    // Colour 25 is colour 5; a negative colour is taken as colour 0.
    TSorvoSheet colours;
    colours.SetSize(100, 20);
    f.skin->DrawText(colours, 0, 0, "H", 25);
    f.skin->DrawText(colours, 12, 0, "H", -7);
    f.skin->DrawText(colours, 24, 0, "H", 13);
    EXPECT_GT(Count(colours, 0, 12, ColorIndex(5)), 0);
    EXPECT_GT(Count(colours, 12, 24, ColorIndex(0)), 0);
    EXPECT_GT(Count(colours, 24, 36, ColorIndex(13)), 0);

    // In a sheet 100 wide a character at x 87 is drawn, one at 88 is not; the
    // punctuation 0x81 0x42 ending at 94 is, another double-byte one is not.
    TSorvoSheet edge;
    edge.SetSize(100, 20);
    f.skin->DrawText(edge, 87, 0, "H", 1);
    EXPECT_GT(Count(edge, 87, 100, ColorIndex(1)), 0);
    TSorvoSheet edge2;
    edge2.SetSize(100, 20);
    f.skin->DrawText(edge2, 88, 0, "H", 1);
    EXPECT_EQ(Count(edge2, 0, 100, ColorIndex(1)), 0);
    TSorvoSheet edge3;
    edge3.SetSize(100, 20);
    f.skin->DrawText(edge3, 82, 0, "\x81\x42", 1);
    EXPECT_GT(Count(edge3, 82, 100, ColorIndex(1)), 0);
    TSorvoSheet edge4;
    edge4.SetSize(100, 20);
    f.skin->DrawText(edge4, 82, 0, "\x82\xA0", 1);
    EXPECT_EQ(Count(edge4, 0, 100, ColorIndex(1)), 0);

    // Text partly outside the sheet is clipped, not written out of bounds.
    TSorvoSheet tiny;
    tiny.SetSize(20, 6);
    f.skin->DrawText(tiny, -4, 0, "WW", 2);
    f.skin->DrawText(tiny, 0, -10, "WW", 2);
    EXPECT_GT(Count(tiny, 0, 20, ColorIndex(2)), 0);
}

TEST(SystemGraphicWindow, BackgroundFrameAndCursor) {
    Fixture f;
    TSorvoSheet sheet;
    sheet.SetSize(64, 64);
    // Stretch: a 64x64 window shows each background block 16 pixels wide.
    f.skin->DrawWindowBackground(sheet, 0, 0, 64, 64);
    EXPECT_EQ(At(sheet, 15, 0), 10);
    EXPECT_EQ(At(sheet, 16, 0), 11);
    EXPECT_EQ(At(sheet, 63, 63), 25);
    // Tile: the 32x32 block repeats.
    f.skin->WindowBackgroundMode = 1;
    f.skin->DrawWindowBackground(sheet, 0, 0, 64, 64);
    EXPECT_EQ(At(sheet, 8, 0), 11);
    EXPECT_EQ(At(sheet, 40, 0), 11);
    // Every pixel of a window partly off the sheet, against the skin's
    // 32x32 block: stretched, then tiled.
    for (int mode = 0; mode < 2; ++mode) {
        f.skin->WindowBackgroundMode = mode;
        TSorvoSheet part;
        part.SetSize(64, 64);
        f.skin->DrawWindowBackground(part, -5, -3, 70, 100);
        int wrong = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const int i = y + 3, j = x + 5;
                const int sx = mode == 0 ? j * 32 / 70 : j % 32, sy = mode == 0 ? i * 32 / 100 : i % 32;
                wrong += At(part, x, y) != f.skin->Skin().ScanLine(sy)[sx];
            }
        EXPECT_EQ(wrong, 0) << "mode " << mode;
    }
    f.skin->WindowBackgroundMode = 0;

    // A window 7 high gets a background but no frame.
    TSorvoSheet low;
    low.SetSize(40, 7);
    f.skin->DrawWindowSkin(low, 0, 0, 40, 7);
    EXPECT_EQ(Count(low, 0, 40, 30), 0);
    EXPECT_EQ(At(low, 0, 0), 10);

    TSorvoSheet framed;
    framed.SetSize(40, 24);
    f.skin->DrawWindowSkin(framed, 0, 0, 40, 24);
    EXPECT_EQ(At(framed, 0, 0), 30);
    EXPECT_EQ(At(framed, 39, 23), 30);
    EXPECT_EQ(At(framed, 8, 0), 31);   // piece 1 from x 48
    EXPECT_EQ(At(framed, 16, 0), 32);  // piece 2 from x 40
    EXPECT_EQ(At(framed, 12, 12), 19);  // the frame's hollow middle keeps the background

    TSorvoSheet cursor;
    cursor.SetSize(40, 24);
    f.skin->DrawCursor(cursor, RectOfSize(0, 0, 40, 24), 1);
    EXPECT_EQ(At(cursor, 0, 0), 41);
    EXPECT_EQ(At(cursor, 8, 8), 45);
    EXPECT_EQ(At(cursor, 8, 0), 43);
    f.skin->DrawCursor(cursor, RectOfSize(0, 0, 40, 7), 0);  // too small: nothing
    EXPECT_EQ(Count(cursor, 0, 40, 40), 0);

    EXPECT_EQ(f.skin->BackgroundColor(), (RgbTriple{f.skin->Skin().Palette[kMenuBackground].Red,
                                                    f.skin->Skin().Palette[kMenuBackground].Green,
                                                    f.skin->Skin().Palette[kMenuBackground].Blue}));
}

TEST(SystemGraphicBoard, TimerColonAndGaugeFill) {
    Fixture f;
    const TSorvoSheet& skin = f.skin->Skin();
    auto colour = [&](uint8_t index) { return skin.ColorTable[index]; };
    f.skin->DrawTimer(0, 0, 3630);  // 01:00 with the colon
    EXPECT_EQ(f.board.ScanLine(0)[0], colour(70));
    EXPECT_EQ(f.board.ScanLine(0)[8], colour(71));
    EXPECT_EQ(f.board.ScanLine(0)[16], colour(80));
    EXPECT_EQ(f.board.ScanLine(0)[24], colour(70));
    EXPECT_EQ(f.board.ScanLine(0)[32], colour(70));
    f.board.Clear();
    f.skin->DrawTimer(0, 0, 3629);
    EXPECT_EQ(f.board.ScanLine(0)[8], colour(71));
    EXPECT_EQ(f.board.ScanLine(0)[16], 0);

    TSorvoSheet& sys2 = f.skin->System2();
    DistinctPalette(sys2);
    for (int k = 0; k < 4; ++k)
        for (int piece = 0; piece < 5; ++piece) Fill(sys2, 16 * piece, 16 * (k + 2), 16, 16, uint8_t(150 + piece));
    f.board.Clear();
    f.skin->DrawGauge(40, 100, 1, 25);
    EXPECT_EQ(f.board.ScanLine(100)[24], sys2.ColorTable[150]);
    EXPECT_EQ(f.board.ScanLine(100)[40], sys2.ColorTable[154]);  // full fill
    EXPECT_EQ(f.board.ScanLine(100)[64], sys2.ColorTable[154]);
    EXPECT_EQ(f.board.ScanLine(100)[65], sys2.ColorTable[152]);
    f.skin->DrawGauge(40, 120, 1, 10);
    EXPECT_EQ(f.board.ScanLine(120)[49], sys2.ColorTable[153]);  // partial fill
    EXPECT_EQ(f.board.ScanLine(120)[50], sys2.ColorTable[151]);
    f.skin->DrawGauge(40, 140, 1, 0);
    EXPECT_EQ(f.board.ScanLine(140)[40], sys2.ColorTable[151]);  // body only

    // At the ends of the 32-bit range a gauge and its pieces lie off the
    // board: nothing is drawn (a place the drawing fuzzer found overflowing).
    f.board.Clear();
    f.skin->DrawGauge(INT32_MAX, 0, 1, 25);
    f.skin->DrawGauge(INT32_MIN, 0, 1, 25);
    f.skin->DrawGauge(0, INT32_MAX, 1, 25);
    for (int x = 0; x < 320; ++x) ASSERT_EQ(f.board.ScanLine(0)[x], 0) << x;
    EXPECT_EQ(RectOfSize(INT32_MAX - 4, 0, 16, 16).Right, INT32_MAX);
    EXPECT_EQ(RectOfSize(0, INT32_MIN, 8, -16).Bottom, INT32_MIN);
}

#include "graphics/graphics_files.h"
#include "support/test_paths.h"

TEST(SystemGraphicBoard, LoadImagesIconsDigitsAndTheAirshipShadow) {
    testing_support::TempDir dir;
    std::vector<std::string> asked;
    SetGraphicsFileFinder([&](const std::string& folder, const std::string& name) {
        asked.push_back(folder + "/" + name);
        return name.empty() ? std::string() : (dir / (name + ".png")).string();
    });
    // A second system image whose rows are numbered: row r holds index r + 1.
    {
        TSorvoPng png;
        png.SetFormat(80, 96, 8);
        for (int i = 0; i < 256; ++i)
            png.Palette[size_t(i)] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i * 5), 0};
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 80; ++x) png.Row(y)[x] = uint8_t(y + 1 + (x / 16) * 100 % 150);
        png.SaveToFile((dir / "sys2.png").string());
        png.SetFormat(160, 80, 8);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 160; ++x) png.Row(y)[x] = uint8_t(1 + (x + y) % 200);
        png.SaveToFile((dir / "skin.png").string());
    }
    TSorvoBoard board;
    board.SetSize(160, 120);
    TLcfSystemGraphic skin(board);
    skin.LoadImages("skin", "sys2", "");
    SetGraphicsFileFinder(nullptr);
    EXPECT_EQ(asked, (std::vector<std::string>{"System/skin", "System2/sys2", "System2/sys2"}));
    EXPECT_EQ(At(skin.Skin(), 3, 4), 8);
    // The gauge strip is rows 64..79 of the second image, drawn at opacity 96.
    EXPECT_EQ(At(skin.GaugeStrip(), 0, 0), At(skin.System2(), 0, 64));
    EXPECT_EQ(At(skin.GaugeStrip(), 20, 15), At(skin.System2(), 20, 79));
    EXPECT_EQ(skin.GaugeStrip().Opacity, 96);
    EXPECT_THROW(skin.LoadImages("skin", "sys2", "nosuchframe"), Exception);

    TSorvoSheet& sys2 = skin.System2();
    // Icons step 0, 1, 2, 1 every 20 frames: at counter 60 the frame at x 16.
    skin.DrawAnimIcon1(0, 0, 60);
    EXPECT_TRUE(BoardShows(board, 0, 0, sys2, 16, 16, 16, 16));
    skin.DrawAnimIcon0(20, 0, 40);
    EXPECT_TRUE(BoardShows(board, 20, 0, sys2, 32, 0, 16, 16));
    // Large digits of 907 at 8-pixel steps.
    skin.DrawBigDigits(0, 40, 907);
    EXPECT_TRUE(BoardShows(board, 0, 40, sys2, 72, 80, 8, 16));
    EXPECT_TRUE(BoardShows(board, 8, 40, sys2, 0, 80, 8, 16));
    EXPECT_TRUE(BoardShows(board, 16, 40, sys2, 56, 80, 8, 16));
    // The airship shadow draws at alpha div 4 and leaves the skin opaque.
    board.Clear();
    skin.DrawPair16(100, 100, 1020);
    EXPECT_TRUE(BoardShows(board, 100, 100, skin.Skin(), 144, 32, 16, 16));
    EXPECT_EQ(skin.Skin().Opacity, 255);
    board.Clear();
    skin.DrawPair16(100, 100, 0);
    EXPECT_EQ(board.ScanLine(100)[100], 0);
    skin.DrawUpArrow(0, 60);
    EXPECT_TRUE(BoardShows(board, 0, 60, skin.Skin(), 40, 8, 16, 8));
    skin.DrawSmallGlyph(30, 60, 2, 3);
    EXPECT_TRUE(BoardShows(board, 30, 60, skin.Skin(), 144, 24, 8, 8));
}

TEST(SystemGraphicWindow, WindowsFarOffTheSheetAreClippedCheaply) {
    Fixture f;
    TSorvoSheet sheet;
    sheet.SetSize(40, 40);
    // A frame whose left part lies far off the sheet still draws its visible
    // pieces exactly where a frame starting on the sheet would.
    f.skin->DrawWindowFrame(sheet, -2000000000, 0, 2000000040, 40);
    EXPECT_EQ(At(sheet, 32, 0), 30);  // top-right corner
    EXPECT_EQ(At(sheet, 24, 0), 31);  // piece 250000003 (odd): from x 48
    EXPECT_EQ(At(sheet, 16, 0), 32);  // piece 250000002 (even): from x 40
    EXPECT_EQ(At(sheet, 32, 8), 31);  // right edge
    f.skin->DrawCursor(sheet, RectOfSize(-2000000000, -2000000000, 2000000040, 2000000040), 0);
    EXPECT_EQ(At(sheet, 32, 32), 40);
}
