// The tile renderer on chip sets of noise: what each tile id puts on the
// board, the blank and solid flags, matching autotiles and image reloads.
#include <gtest/gtest.h>

#include "data/errors.h"
#include "graphics/chip_set_graphic.h"
#include "graphics/chip_set_layout.h"
#include "graphics/graphics_files.h"
#include "graphics_test_util.h"
#include "support/test_paths.h"

using namespace graphics_test;

namespace {

struct ChipSetFixture {
    testing_support::TempDir dir;
    TSorvoBoard board;
    TLcfChipSetGraphic chips;
    int lookups = 0;

    ChipSetFixture() {
        SaveNoisePng((dir / "noise.png").string(), 480, 256, 7);
        SetGraphicsFileFinder([this](const std::string& folder, const std::string& name) {
            ++lookups;
            EXPECT_EQ(folder, "ChipSet");
            return name.empty() ? std::string() : (dir / (name + ".png")).string();
        });
        board.SetSize(64, 64);
    }
    ~ChipSetFixture() { SetGraphicsFileFinder(nullptr); }

    TLcfChipSetItem chipSet{1};
    void Use(const std::string& image = "noise") {
        chipSet.imageName = image;
        chips.SetChipSet(&chipSet);
    }
    TSorvoSheet& Sheet() { return chips.Sheet(); }
};

}  // namespace

TEST(ChipSetGraphic, WaterAnimatedAndUpperTilesLandOnTheBoard) {
    ChipSetFixture f;
    f.Use();
    f.chips.DrawTile(f.board, 0, 0, 16, 0, 0);
    EXPECT_TRUE(BoardShows(f.board, 0, 0, f.Sheet(), 0, 64, 16, 16));
    f.chips.DrawTile(f.board, 0, 0, 16, 0, 24);
    EXPECT_TRUE(BoardShows(f.board, 0, 0, f.Sheet(), 16, 64, 16, 16));
    f.chips.DrawTile(f.board, 0, 0, 16, 0, 72);
    EXPECT_TRUE(BoardShows(f.board, 0, 0, f.Sheet(), 16, 64, 16, 16));

    f.chips.DrawTile(f.board, 16, 0, 16, 3050, 18);
    EXPECT_TRUE(BoardShows(f.board, 16, 0, f.Sheet(), 64, 112, 16, 16));

    f.chips.DrawTile(f.board, 32, 0, 16, 10200, 0);
    ChipCell upper143 = UpperChipCell(143);
    EXPECT_TRUE(BoardShows(f.board, 32, 0, f.Sheet(), upper143.column * 8, upper143.row * 8, 16, 16));

    // Water with edge bit 1: the top-left quarter is the edge quarter.
    f.chips.DrawTile(f.board, 48, 0, 16, 50, 0);
    EXPECT_TRUE(BoardShows(f.board, 48, 0, f.Sheet(), 0, 80, 8, 8));
    EXPECT_TRUE(BoardShows(f.board, 56, 0, f.Sheet(), 8, 64, 8, 8));
    EXPECT_TRUE(BoardShows(f.board, 48, 8, f.Sheet(), 0, 72, 16, 8));
}

TEST(ChipSetGraphic, SizesBlankChipsAndIdsWithoutAChip) {
    ChipSetFixture f;
    f.Use();
    // Zoomed: every quarter becomes 16x16.
    f.chips.DrawTile(f.board, 0, 0, 32, 4046, 0);
    TilePieces p = PlanTile(4046, 0, 0, 0);
    for (int q = 0; q < 4; ++q) {
        int sx = p.quarters.quarter[q].column * 8, sy = p.quarters.quarter[q].row * 8;
        uint16_t want = f.Sheet().ColorTable[f.Sheet().ScanLine(sy)[sx]];
        EXPECT_EQ(f.board.ScanLine((q / 2) * 16)[(q % 2) * 16], want);
        EXPECT_EQ(f.board.ScanLine((q / 2) * 16 + 1)[(q % 2) * 16 + 1], want);
    }
    // At an odd size a contiguous autotile loses a pixel; a plain tile does not.
    f.board.Clear();
    f.chips.DrawTile(f.board, 0, 0, 15, 0, 0);
    EXPECT_NE(f.board.ScanLine(13)[13], 0);
    EXPECT_EQ(f.board.ScanLine(14)[14], 0);
    f.chips.DrawTile(f.board, 20, 0, 15, 5000, 0);
    EXPECT_NE(f.board.ScanLine(14)[34], 0);

    // A blank upper chip is skipped while transparency is on, drawn when off.
    ChipCell c0 = UpperChipCell(0);
    SaveNoisePng((f.dir / "blank.png").string(), 480, 256, 9);
    {
        TSorvoPng png;
        png.LoadFromFile((f.dir / "blank.png").string());
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) png.Row(c0.row * 8 + y)[c0.column * 8 + x] = 0;
        png.SaveToFile((f.dir / "blank.png").string());
    }
    f.Use("blank");
    EXPECT_TRUE(f.chips.UpperBlank(0));
    EXPECT_FALSE(f.chips.UpperBlank(1));
    f.board.Clear();
    f.chips.SetDrawMode(true);
    f.board.FillRect(RectOfSize(0, 0, 16, 16), RgbColor(255, 255, 255));
    uint16_t white = f.board.ScanLine(0)[0];
    f.chips.DrawTile(f.board, 0, 0, 16, 10000, 0);
    EXPECT_EQ(f.board.ScanLine(5)[5], white);
    f.chips.SetDrawMode(false);
    f.chips.DrawTile(f.board, 0, 0, 16, 10000, 0);
    EXPECT_EQ(f.board.ScanLine(5)[5], f.Sheet().ColorTable[0]);

    // Ids inside the animated and terrain ranges that name no chip draw
    // nothing; the plain ids past the last chip and negative ids fail.
    f.board.Clear();
    f.chips.DrawTile(f.board, 0, 0, 16, 3150, 0);
    f.chips.DrawTile(f.board, 0, 0, 16, 4999, 0);
    EXPECT_EQ(f.board.ScanLine(0)[0], 0);
    EXPECT_THROW(f.chips.DrawTile(f.board, 0, 0, 16, 5144, 0), Exception);
    EXPECT_THROW(f.chips.DrawTile(f.board, 0, 0, 16, -1, 0), Exception);
    TLcfChipSetGraphic none;
    EXPECT_THROW(none.DrawTile(f.board, 0, 0, 16, 0, 0), Exception);
}

TEST(ChipSetGraphic, SolidFlagsAndMatchingAutotiles) {
    ChipSetFixture f;
    {
        TSorvoPng png;
        SaveNoisePng((f.dir / "flags.png").string(), 480, 256, 3);
        png.LoadFromFile((f.dir / "flags.png").string());
        png.Row(70)[50] = 0;  // one hole in animated tile 0's column
        ChipCell c20 = LowerChipCell(20);
        png.Row(c20.row * 8 + 15)[c20.column * 8 + 15] = 0;
        // Terrain chip 6 continues into terrain chip 8: the square right of
        // chip 6's base cell is chip 8's base square.
        ChipCell b6 = AutoChipBaseCell(6), b8 = AutoChipBaseCell(8);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                png.Row(b6.row * 8 + y)[b6.column * 8 + 16 + x] = png.Row(b8.row * 8 + y)[b8.column * 8 + x];
        png.SaveToFile((f.dir / "flags.png").string());
    }
    f.Use("flags");
    EXPECT_TRUE(f.chips.ChipFlag(0));
    EXPECT_TRUE(f.chips.ChipFlag(2999));
    EXPECT_FALSE(f.chips.ChipFlag(3000));
    EXPECT_TRUE(f.chips.ChipFlag(3050));
    EXPECT_TRUE(f.chips.ChipFlag(4000));
    EXPECT_TRUE(f.chips.ChipFlag(5001));
    EXPECT_FALSE(f.chips.ChipFlag(5002));
    EXPECT_FALSE(f.chips.ChipFlag(3150));
    EXPECT_FALSE(f.chips.ChipFlag(-5));
    EXPECT_THROW(f.chips.ChipFlag(5144), Exception);

    EXPECT_EQ(f.chips.MatchingAutoTile(6), 8);
    EXPECT_EQ(f.chips.MatchingAutoTile(7), -1);
    EXPECT_EQ(f.chips.MatchingAutoTile(0), 0);
    EXPECT_EQ(f.chips.MatchingAutoTile(18), -1);
    EXPECT_EQ(f.chips.MatchingAutoTile(-1), -1);
}

TEST(ChipSetGraphic, UnchangedNameIsSkippedEvenAfterAFailedLoad) {
    ChipSetFixture f;
    EXPECT_THROW(f.chips.LoadImage("missing"), Exception);
    EXPECT_EQ(f.lookups, 1);
    EXPECT_NO_THROW(f.chips.LoadImage("missing"));
    EXPECT_EQ(f.lookups, 1);
    // The failed load left a cleared sheet whose flags say so.
    EXPECT_FALSE(f.chips.ChipFlag(5000));
    f.chips.LoadImage("noise");
    f.chips.LoadImage("noise");
    EXPECT_EQ(f.lookups, 2);
    EXPECT_TRUE(f.chips.ChipFlag(5000));
}
