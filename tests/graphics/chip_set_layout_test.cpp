// Tile planning: which cells of the chip-set image a tile id draws.
#include <gtest/gtest.h>

#include "data/errors.h"
#include "graphics/chip_set_layout.h"

namespace {
using Kind = TilePieces::Kind;

TilePieces Plan(int id, int counter = 0, int type = 0, int speed = 0) { return PlanTile(id, counter, type, speed); }
}  // namespace

TEST(ChipSetLayout, ChipCellsFollowTheImageLayout) {
    EXPECT_EQ(LowerChipCell(18), (ChipCell{24, 0}));    // plain lower tile 0 at (192, 0)
    EXPECT_EQ(LowerChipCell(18 + 7), (ChipCell{26, 2}));
    EXPECT_EQ(LowerChipCell(18 + 95), (ChipCell{34, 30}));
    EXPECT_EQ(LowerChipCell(18 + 96), (ChipCell{36, 0}));  // lower tiles 96.. at x 288
    EXPECT_EQ(LowerChipCell(161), (ChipCell{46, 14}));
    EXPECT_EQ(UpperChipCell(0), (ChipCell{36, 16}));       // upper tiles 0..47 at x 288, rows 8..15
    EXPECT_EQ(UpperChipCell(48), (ChipCell{48, 0}));       // upper 48.. at x 384
    EXPECT_EQ(UpperChipCell(143), (ChipCell{58, 30}));
    EXPECT_EQ(LowerChipCell(9), (ChipCell{6, 24}));
}

TEST(ChipSetLayout, WaterAnimatesAndSwapsEdgesBeforeTheFrameShift) {
    TilePieces p = Plan(0, 0);
    ASSERT_EQ(p.kind, Kind::Cell);  // contiguous: one blit
    EXPECT_EQ(p.cell, (ChipCell{0, 8}));
    EXPECT_EQ(Plan(0, 24).cell, (ChipCell{2, 8}));
    EXPECT_EQ(Plan(0, 48).cell, (ChipCell{4, 8}));
    EXPECT_EQ(Plan(0, 72).cell, (ChipCell{2, 8}));  // 0, 1, 2, 1
    EXPECT_EQ(Plan(0, 72, 1).cell, (ChipCell{0, 8}));  // three-step: 0, 1, 2
    EXPECT_EQ(Plan(0, 12, 0, 1).cell, (ChipCell{2, 8}));  // fast water
    EXPECT_EQ(Plan(0, 12, 0, 0).cell, (ChipCell{0, 8}));

    // Edge bit 1 replaces only the top-left quarter; the frame shift moves
    // the edge quarter too.
    TilePieces e = Plan(50, 24);
    ASSERT_EQ(e.kind, Kind::Quarters);
    EXPECT_EQ(e.quarters.quarter[0], (ChipCell{2, 10}));
    EXPECT_EQ(e.quarters.quarter[1], (ChipCell{3, 8}));
    EXPECT_EQ(e.quarters.quarter[3], (ChipCell{3, 9}));
    // All four edge bits: the edge square is contiguous again.
    EXPECT_EQ(Plan(15 * 50).cell, (ChipCell{0, 10}));

    // Kind 1 moves the quarters above row 8 six columns right; kind 2 moves
    // rows 8 and 9 down six rows, and its shape 49 is its own.
    TilePieces k1 = Plan(1000 + 1);
    EXPECT_EQ(k1.quarters.quarter[0], (ChipCell{6, 6}));
    EXPECT_EQ(k1.quarters.quarter[1], (ChipCell{1, 8}));
    EXPECT_EQ(Plan(2000).cell, (ChipCell{0, 14}));
    EXPECT_EQ(Plan(2049).cell, (ChipCell{0, 12}));
    EXPECT_EQ(Plan(49).cell, (ChipCell{0, 0}));
    EXPECT_EQ(Plan(1049).cell, (ChipCell{6, 0}));
}

TEST(ChipSetLayout, AnimatedTerrainAndPlainTiles) {
    TilePieces a = Plan(3050, 18);
    ASSERT_EQ(a.kind, Kind::Cell);
    EXPECT_EQ(a.cell, (ChipCell{8, 14}));
    EXPECT_EQ(Plan(3000, 24).cell, (ChipCell{6, 8}));
    EXPECT_EQ(Plan(3149, 6).cell, (ChipCell{10, 10}));
    // Speeds of the chip set do not apply to animated tiles.
    EXPECT_EQ(Plan(3050, 18, 1, 1).cell, (ChipCell{8, 14}));

    TilePieces t = Plan(4000 + 46);
    ASSERT_EQ(t.kind, Kind::Quarters);
    EXPECT_EQ(t.chipIndex, 6);
    EXPECT_EQ(t.quarters.quarter[0], (ChipCell{0, 18}));
    EXPECT_EQ(t.quarters.quarter[1], (ChipCell{5, 18}));
    EXPECT_EQ(t.quarters.quarter[2], (ChipCell{0, 23}));
    EXPECT_EQ(t.quarters.quarter[3], (ChipCell{5, 23}));
    TilePieces whole = Plan(4000 + 11 * 50);  // shape 0 of the last terrain: one square
    EXPECT_EQ(whole.kind, Kind::Cell);
    EXPECT_EQ(whole.cell, (ChipCell{20, 28}));

    TilePieces lower = Plan(5000);
    EXPECT_EQ(lower.chip, TilePieces::Chip::Lower);
    EXPECT_EQ(lower.chipIndex, 18);
    TilePieces upper = Plan(10200);
    EXPECT_EQ(upper.chip, TilePieces::Chip::Upper);
    EXPECT_EQ(upper.chipIndex, 143);
    EXPECT_EQ(upper.cell, UpperChipCell(143));
}

TEST(ChipSetLayout, IdsOutsideEveryChip) {
    EXPECT_EQ(Plan(3150).kind, Kind::None);
    EXPECT_EQ(Plan(3999).kind, Kind::None);
    EXPECT_EQ(Plan(4600).kind, Kind::None);
    EXPECT_EQ(Plan(4999).kind, Kind::None);
    EXPECT_EQ(Plan(20000).kind, Kind::None);
    EXPECT_THROW(Plan(-1), Exception);
    EXPECT_THROW(Plan(5144), Exception);
    EXPECT_THROW(Plan(9999), Exception);
    EXPECT_NO_THROW(Plan(5143));
    // A negative counter (a wrapped frame count) still picks a real frame.
    EXPECT_NO_THROW(Plan(0, -5));
    EXPECT_NO_THROW(Plan(3000, -5));

    EXPECT_EQ(ChipIndexForFlag(-1), -1);
    EXPECT_EQ(ChipIndexForFlag(2999), 2);
    EXPECT_EQ(ChipIndexForFlag(3149), 5);
    EXPECT_EQ(ChipIndexForFlag(3150), -1);
    EXPECT_EQ(ChipIndexForFlag(4599), 17);
    EXPECT_EQ(ChipIndexForFlag(4600), -1);
    EXPECT_EQ(ChipIndexForFlag(5143), 161);
    EXPECT_THROW(ChipIndexForFlag(5144), Exception);
    EXPECT_EQ(ChipIndexForFlag(100000), -1);
}
