// The character-sheet cache and character frames: acquiring and purging,
// failed loads, patterns, bush depth and opacity, out-of-range arguments.
#include <gtest/gtest.h>

#include "data/errors.h"
#include "graphics/char_set_graphic.h"
#include "graphics/graphics_files.h"
#include "graphics_test_util.h"
#include "support/test_paths.h"

using namespace graphics_test;

namespace {

struct CharSetFixture {
    testing_support::TempDir dir;
    TSorvoBoard board;
    TLcfCharSetGraphic chars;
    int lookups = 0;

    CharSetFixture() {
        SaveNoisePng((dir / "hero.png").string(), 288, 256, 11);
        SetGraphicsFileFinder([this](const std::string& folder, const std::string& name) {
            ++lookups;
            EXPECT_EQ(folder, "CharSet");
            // Every name but "missing" shows the same noise sheet.
            return name == "missing" ? name : (dir / "hero.png").string();
        });
        board.SetSize(64, 64);
    }
    ~CharSetFixture() { SetGraphicsFileFinder(nullptr); }
};

uint16_t Blend(uint16_t s, uint16_t d, int opacity) {
    int w = opacity + 1, v = 256 - opacity;
    int r = (((s >> 11) & 31) * w + ((d >> 11) & 31) * v) >> 8;
    int g = (((s >> 5) & 63) * w + ((d >> 5) & 63) * v) >> 8;
    int b = ((s & 31) * w + (d & 31) * v) >> 8;
    return uint16_t(r << 11 | g << 5 | b);
}

}  // namespace

TEST(CharSetGraphic, AcquireCachesByNameAndKeepsFailedSheets) {
    CharSetFixture f;
    EXPECT_EQ(f.chars.Acquire("hero"), 0);
    EXPECT_EQ(f.chars.Acquire("hero"), 0);
    EXPECT_EQ(f.lookups, 1);
    EXPECT_EQ(f.chars.Acquire("Hero"), 1);  // exact comparison
    EXPECT_THROW(f.chars.Acquire("missing"), Exception);
    EXPECT_EQ(f.chars.Count(), 3);
    EXPECT_EQ(f.chars.IndexOf("missing"), 2);
    EXPECT_EQ(f.chars.Acquire("missing"), 2);  // cached, cleared, not loaded again
    EXPECT_EQ(f.lookups, 3);
    EXPECT_EQ(f.chars.Sheets(2).Width(), 288);
    EXPECT_EQ(f.chars.IndexOf("nobody"), -1);
}

TEST(CharSetGraphic, PurgeKeepsNineteenAndTheLastEntry) {
    CharSetFixture f;
    for (int i = 0; i < 19; ++i) f.chars.Acquire("c" + std::to_string(i));
    f.chars.MarkAllUnused();
    f.chars.PurgeUnused();
    EXPECT_EQ(f.chars.Count(), 19);
    for (int i = 19; i < 25; ++i) f.chars.Acquire("c" + std::to_string(i));
    f.chars.MarkAllUnused();
    f.chars.PurgeUnused();
    EXPECT_EQ(f.chars.Count(), 19);
    EXPECT_EQ(f.chars.Name(0), "c6");
    EXPECT_EQ(f.chars.Name(18), "c24");
    // A used entry is passed over; the walk stops below twenty.
    f.chars.Acquire("d0");
    f.chars.Acquire("d1");
    f.chars.MarkAllUnused();
    f.chars.Acquire("c6");
    f.chars.PurgeUnused();
    EXPECT_EQ(f.chars.Count(), 19);
    EXPECT_EQ(f.chars.Name(0), "c6");
    EXPECT_EQ(f.chars.Name(1), "c9");
}

TEST(CharSetGraphic, FramesBushDepthAndOpacity) {
    CharSetFixture f;
    int32_t index = f.chars.Acquire("hero");
    TSorvoSheet& sheet = f.chars.Sheets(index);
    // Character 5, direction 2, pattern 3 (drawn as 1): source (1*72 + 24, 128 + 64).
    f.chars.DrawCharacter(f.board, 30, 40, index, 5, 2, 3, 0);
    EXPECT_TRUE(BoardShows(f.board, 18, 8, sheet, 96, 192, 24, 32));
    TSorvoBoard other;
    other.SetSize(64, 64);
    f.chars.DrawCharacter(other, 30, 40, index, 5, 2, 1, 0);
    EXPECT_TRUE(BoardShows(other, 18, 8, sheet, 96, 192, 24, 32));

    // Bush depth 1 at opacity level 2: top 21 rows at 195, bottom 11 at 97.
    f.board.FillRect(RectOfSize(0, 0, 64, 64), RgbColor(200, 40, 90));
    uint16_t under = f.board.ScanLine(0)[0];
    f.chars.OpacityLevel = 2;
    f.chars.DrawCharacter(f.board, 12, 32, index, 0, 0, 0, 1);
    EXPECT_EQ(f.board.ScanLine(20)[3], Blend(sheet.ColorTable[sheet.ScanLine(20)[3]], under, 195));
    EXPECT_EQ(f.board.ScanLine(21)[3], Blend(sheet.ColorTable[sheet.ScanLine(21)[3]], under, 97));
    EXPECT_EQ(f.board.ScanLine(31)[23], Blend(sheet.ColorTable[sheet.ScanLine(31)[23]], under, 97));
    EXPECT_EQ(f.board.ScanLine(32)[3], under);
    f.chars.OpacityLevel = 0;

    // Grey sets saturation 0 on colour control 1.
    f.chars.Grey = 1;
    f.chars.DrawCharacter(f.board, 12, 32, index, 0, 0, 0, 0);
    EXPECT_EQ(sheet.ColorControl1.Saturation, 0);
    f.chars.Grey = 0;
    f.chars.DrawCharacter(f.board, 12, 32, index, 0, 0, 0, 0);
    EXPECT_EQ(sheet.ColorControl1.Saturation, 100);

    // Anything out of range draws nothing.
    TSorvoBoard empty;
    empty.SetSize(64, 64);
    for (auto args : std::vector<std::array<int, 5>>{
             {1, 0, 0, 0, 0}, {-1, 0, 0, 0, 0}, {0, 8, 0, 0, 0}, {0, -1, 0, 0, 0}, {0, 0, 4, 0, 0},
             {0, 0, -1, 0, 0}, {0, 0, 0, 4, 0}, {0, 0, 0, -1, 0}, {0, 0, 0, 0, 4}})
        f.chars.DrawCharacter(empty, 30, 40, args[0], args[1], args[2], args[3], args[4]);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(empty.ScanLine(y)[x], 0);
}
