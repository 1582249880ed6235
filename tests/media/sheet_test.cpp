// Sheets: the colour pipeline's arithmetic, hue rotation, loading rules and
// the index-level operations.
#include "media/sheet/sheet.h"

#include <gtest/gtest.h>

#include <random>

#include "data/string_table.h"
#include "media/image/file_bytes.h"
#include "media/image/png.h"
#include "media/image/xyz.h"
#include "support/test_paths.h"

namespace {

int R(uint16_t c) {
    return c >> 11;
}
int G(uint16_t c) {
    return (c >> 5) & 63;
}
int B(uint16_t c) {
    return c & 31;
}

// A sheet whose entry 1 is the given colour.
void OneColour(TSorvoSheet& s, uint8_t r, uint8_t g, uint8_t b) {
    s.SetPaletteEntry(1, r, g, b);
    s.UpdateColorTable();
}

}  // namespace

TEST(ColorPipeline, ToneCombinesBothControlsAndClamps) {
    TSorvoSheet s;
    OneColour(s, 128, 128, 128);  // 16, 32, 16 on the 5-6-5 scale
    EXPECT_EQ(s.ColorTable[1], (16 << 11) | (32 << 5) | 16);
    s.ColorControl1.SetTone(150, 150, 150, 100, false);
    s.ColorControl2.SetTone(150, 100, 50, 100, true);
    // 150 + 150 - 100 = 200 drives to full; 150 + 100 - 100 = 150 half way;
    // 150 + 50 - 100 = 100 leaves the channel.
    EXPECT_EQ(R(s.ColorTable[1]), 31);
    EXPECT_EQ(G(s.ColorTable[1]), 32 + (63 - 32) * 50 / 100);
    EXPECT_EQ(B(s.ColorTable[1]), 16);
    s.ColorControl1.SetTone(50, 0, 250, 100, false);
    s.ColorControl2.SetTone(50, 100, 250, 100, true);
    EXPECT_EQ(R(s.ColorTable[1]), 0);   // 0
    EXPECT_EQ(G(s.ColorTable[1]), 0);   // 0
    EXPECT_EQ(B(s.ColorTable[1]), 31);  // 400 clamps to 200
    // Index 0 goes through the pipeline too.
    EXPECT_EQ(B(s.ColorTable[0]), 31);
}

TEST(ColorPipeline, SaturationUsesTheSixBitGreen) {
    TSorvoSheet s;
    OneColour(s, 248, 0, 0);  // (31, 0, 0): grey = 93 / 10 = 9
    s.ColorControl1.SetTone(100, 100, 100, 0, true);
    EXPECT_EQ(R(s.ColorTable[1]), 9);
    EXPECT_EQ(G(s.ColorTable[1]), 18);
    EXPECT_EQ(B(s.ColorTable[1]), 9);
    // Above 100: pushed away from grey and clamped.
    OneColour(s, 128, 64, 32);  // (16, 16, 4): grey = (48 + 48 + 4) / 10 = 10
    s.ColorControl1.SetTone(100, 100, 100, 200, true);
    EXPECT_EQ(R(s.ColorTable[1]), 3 * 16 - 20);
    EXPECT_EQ(G(s.ColorTable[1]), 3 * 16 - 40);
    EXPECT_EQ(B(s.ColorTable[1]), 0);  // 12 - 20 clamps
    // Halfway, the division truncates toward zero.
    s.ColorControl1.SetTone(100, 100, 100, 150, true);
    EXPECT_EQ(B(s.ColorTable[1]), 0);  // (50*4 + 50*(-8)) / 100 = -2 -> 0
    EXPECT_EQ(R(s.ColorTable[1]), (50 * 16 + 50 * 28) / 100);
}

TEST(ColorPipeline, FlashesApplyOneAfterTheOther) {
    TSorvoSheet s;
    OneColour(s, 0, 0, 0);
    s.ColorControl1.SetFlash(31, 31, 31, 32, true);
    EXPECT_EQ(s.ColorTable[1], (31 << 11) | (62 << 5) | 31);
    s.ColorControl1.SetFlash(31, 31, 31, 16, true);
    EXPECT_EQ(R(s.ColorTable[1]), 15);
    EXPECT_EQ(G(s.ColorTable[1]), 31);
    // The second flash works on the first one's result.
    s.ColorControl2.SetFlash(0, 0, 0, 16, true);
    EXPECT_EQ(R(s.ColorTable[1]), 7);
    EXPECT_EQ(G(s.ColorTable[1]), 15);
}

TEST(ColorPipeline, BrightnessRunsFromBlackToWhite) {
    TSorvoSheet s;
    OneColour(s, 100, 100, 100);
    s.Brightness = 0;
    s.UpdateColorTable();
    EXPECT_EQ(s.ColorTable[1], 0);
    s.Brightness = 200;
    s.UpdateColorTable();
    EXPECT_EQ(s.ColorTable[1], 0xFFFF);
    // Out-of-range settings stay inside their channel's bits.
    s.Brightness = 100;
    s.ColorControl1.SetFlash(255, 0, 0, 32, true);
    EXPECT_EQ(R(s.ColorTable[1]), 31);
    EXPECT_EQ(G(s.ColorTable[1]), 0);
    // Colours and strengths a script may hold, one flash over the other,
    // saturate without overflowing.
    s.ColorControl1.SetFlash(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, false);
    s.ColorControl2.SetFlash(INT32_MAX, INT32_MIN, 0, INT32_MAX, false);
    s.UpdateColorTable();
    EXPECT_EQ(R(s.ColorTable[1]), 31);
    EXPECT_EQ(G(s.ColorTable[1]), 0);
    EXPECT_EQ(B(s.ColorTable[1]), 0);
    s.Brightness = INT32_MAX;
    s.UpdateColorTable();
}

TEST(ColorPipeline, SettersRebuildOnlyOnChangeAndOnRequest) {
    TSorvoSheet s;
    OneColour(s, 200, 200, 200);
    const uint16_t before = s.ColorTable[1];
    s.ColorControl1.SetTone(0, 0, 0, 100, false);
    EXPECT_EQ(s.ColorTable[1], before);  // stored, not applied
    s.ColorTable[1] = 1234;
    s.ColorControl1.SetTone(0, 0, 0, 100, true);  // same values: nothing happens
    EXPECT_EQ(s.ColorTable[1], 1234);
    s.ColorControl1.Reset(true);
    EXPECT_EQ(s.ColorTable[1], before);
}

TEST(RotateHue, TurnsColoursAndKeepsEntryZeroAndGreys) {
    TSorvoSheet s;
    s.SetPaletteEntry(0, 255, 0, 0);
    s.SetPaletteEntry(1, 255, 0, 0);
    s.SetPaletteEntry(2, 90, 90, 90);
    s.SetPaletteEntry(3, 200, 100, 50);
    const Palette256 before = s.Palette;
    s.RotateHue(0);
    EXPECT_EQ(s.Palette, before);
    s.RotateHue(120);
    EXPECT_EQ(s.Palette[0], before[0]);
    EXPECT_EQ(s.Palette[1], (PaletteEntry{0, 255, 0, 0}));
    EXPECT_EQ(s.Palette[2], before[2]);
    // (200, 100, 50): hue 20, S = 191, m = 149.8..., lo = 50.1...; turned to
    // 140 (sector 2, fraction 1/3, x = round(49.9) = 50).
    EXPECT_EQ(s.Palette[3].Red, 50);
    EXPECT_EQ(s.Palette[3].Green, 200);
    EXPECT_EQ(s.Palette[3].Blue, 100);
    EXPECT_EQ(s.ColorTable[1], 63 << 5);
    s.RotateHue(240);  // back round to red
    EXPECT_EQ(s.Palette[1], before[1]);
}

TEST(Sheet, SizeClearAndLoadKeepTheSheetsOwnSize) {
    TSorvoSheet s;
    s.SetSize(4, 3);
    s.Pixels()[5] = 9;
    s.SetSize(4, 3);
    EXPECT_EQ(s.Pixels()[5], 9);
    s.SetSize(3, 4);
    EXPECT_EQ(s.Pixels()[5], 0);

    Bitmap image;
    image.SetFormat(6, 2, 8);
    for (int i = 0; i < 12; ++i) image.Pixels()[i] = uint8_t(i + 1);
    image.Palette[3] = PaletteEntry{255, 255, 255, 0};
    s.LoadFromBitmap(image, 1, 0);
    EXPECT_EQ(s.Width(), 3);  // not resized
    EXPECT_EQ(s.ScanLine(0)[0], 2);
    EXPECT_EQ(s.ScanLine(1)[2], 10);
    EXPECT_EQ(s.ScanLine(2)[0], 0);  // the picture has only two rows
    EXPECT_EQ(s.ColorTable[3], 0xFFFF);
    // Offsets beyond either edge copy nothing they cannot.
    s.LoadFromBitmap(image, 7, 5);
    s.LoadFromBitmap(image, -2, -1);
    EXPECT_EQ(s.ScanLine(1)[2], 1);

    testing_support::TempDir dir;
    const std::string file = (dir / "x.png").string();
    WriteFileBytes(file, WritePng(image));
    s.LoadFromFile(file, true);
    EXPECT_EQ(s.Width(), 3);
    s.AutoSize = true;
    s.LoadFromFile(file, true);
    EXPECT_EQ(s.Width(), 6);
    EXPECT_EQ(s.Height(), 2);
    // A failed load leaves the old size, all zero; an empty name only clears.
    s.LoadFromFile((dir / "missing.png").string(), false);
    EXPECT_EQ(s.Width(), 6);
    EXPECT_EQ(s.Pixels()[0], 0);
    EXPECT_EQ(s.Palette[3], PaletteEntry{});
    EXPECT_THROW(s.LoadFromFile((dir / "missing.png").string(), true), EFOpenError);
    s.LoadFromFile(file, true);
    s.LoadFromFile("", true);
    EXPECT_EQ(s.Width(), 6);
    EXPECT_EQ(s.Pixels()[0], 0);
    // Only 8-bit pictures are taken.
    Bitmap rgb;
    rgb.SetFormat(2, 2, 24);
    WriteFileBytes(file, WritePng(rgb));
    EXPECT_EQ(([&] {
                  try {
                      s.LoadFromFile(file, true);
                  } catch (const EInvalidGraphic& e) {
                      return std::string(e.what());
                  }
                  return std::string();
              }()),
              LoadStr(kStrInvalidImageFormat));
    // Built-in pictures: XYZ1 and BMP bytes.
    s.LoadFromXyzResource(WriteXyz(image), true);
    EXPECT_EQ(s.ScanLine(1)[5], 12);
    EXPECT_THROW(s.LoadFromResource(std::vector<uint8_t>{1, 2, 3}, true), Exception);
}

TEST(Sheet, IndexOperationsClipAndCompare) {
    TSorvoSheet s;
    s.SetSize(4, 4);
    EXPECT_TRUE(s.IsBlank(TRect(-5, -5, 50, 50)));
    EXPECT_FALSE(s.IsSolid(TRect(0, 0, 1, 1)));
    EXPECT_TRUE(s.IsSolid(TRect(2, 2, 2, 5)));  // empty
    s.FillRect(TRect(3, 0, 1, 4), 5);  // back to front: nothing
    EXPECT_TRUE(s.IsBlank(s.GetBoundsRect()));
    s.FillRect(TRect(2, -3, 9, 2), 7);
    EXPECT_EQ(s.ScanLine(0)[2], 7);
    EXPECT_EQ(s.ScanLine(1)[3], 7);
    EXPECT_EQ(s.ScanLine(2)[3], 0);
    EXPECT_TRUE(s.IsSolid(TRect(2, 0, 10, 2)));
    EXPECT_FALSE(s.IsBlank(TRect(3, 1, 9, 9)));
    EXPECT_TRUE(s.SameContent(TRect(2, 0, 4, 1), TRect(2, 1, 4, 2)));
    EXPECT_FALSE(s.SameContent(TRect(0, 0, 2, 1), TRect(2, 0, 4, 1)));
    EXPECT_FALSE(s.SameContent(TRect(0, 0, 2, 1), TRect(0, 0, 3, 1)));
    EXPECT_TRUE(s.SameContent(TRect(0, 0, 2, 0), TRect(1, 1, 3, 1)));
    // Partly outside: compared without reading outside the sheet.
    EXPECT_FALSE(s.SameContent(TRect(3, 0, 5, 1), TRect(2, 0, 4, 1)));
    EXPECT_TRUE(s.SameContent(TRect(3, 3, 6, 6), TRect(3, 3, 6, 6)));
    s.ScanLine(3)[0] = 1;
    s.MirrorHorizontal();
    EXPECT_EQ(s.ScanLine(3)[3], 1);
    EXPECT_EQ(s.ScanLine(0)[1], 7);
    EXPECT_EQ(s.ScanLine(0)[2], 0);
}

TEST(Sheet, DrawCopiesIndicesClippedAndSkipsZeroWhenTransparent) {
    TSorvoSheet src, dst;
    src.SetSize(3, 2);
    const uint8_t px[] = {0, 1, 2, 3, 0, 4};
    std::copy(px, px + 6, src.Pixels());
    dst.SetSize(4, 3);
    dst.FillRect(dst.GetBoundsRect(), 9);
    dst.Draw(0, 0, src, src.GetBoundsRect());
    EXPECT_EQ(dst.ScanLine(0)[0], 0);
    src.Transparent = true;
    dst.FillRect(dst.GetBoundsRect(), 9);
    dst.Draw(2, 2, src, TRect(-1, -1, 3, 2));  // source clipped: (0,0) lands at (3,3) -> off the sheet
    dst.Draw(-1, 1, src, src.GetBoundsRect());
    EXPECT_EQ(dst.ScanLine(1)[0], 1);
    EXPECT_EQ(dst.ScanLine(1)[1], 2);
    EXPECT_EQ(dst.ScanLine(2)[0], 9);  // index 0 skipped
    EXPECT_EQ(dst.ScanLine(2)[1], 4);
    EXPECT_EQ(dst.ScanLine(0)[0], 9);
}

TEST(Sheet, SameContentOfHugeRectanglesOnlyLooksInsideTheSheet) {
    TSorvoSheet s;
    s.SetSize(3, 3);
    const TRect huge(-2000000000, -2000000000, 2000000000, 2000000000);
    EXPECT_TRUE(s.SameContent(huge, huge));  // returns at once
    s.ScanLine(1)[1] = 4;
    EXPECT_FALSE(s.SameContent(huge, TRect(-1999999999, -2000000000, 2000000001, 2000000000)));
}
