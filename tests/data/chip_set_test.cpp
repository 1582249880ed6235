// Chip sets: default blocks left out of writes, fixed-block lengths, and the
// tile id to chip index mapping with its getters.
#include <gtest/gtest.h>

#include "data/database/chip_set.h"
#include "support/lcf_builder.h"

using namespace lcf_builder;

TEST(ChipSet, ClearedSetHasItsDefaultsAndWritesOnlyItsNames) {
    TLcfChipSetItem c(1);
    EXPECT_EQ(c.GetTerrain(0), 1);
    EXPECT_EQ(c.GetTerrain(161), 1);
    EXPECT_EQ(c.GetLowerFlags(100), 15);
    EXPECT_EQ(c.GetUpperFlags(0), 31);
    EXPECT_EQ(c.GetUpperFlags(143), 15);
    EXPECT_EQ(SaveRecord(c), Chunks().End());
    c.name = "World";
    c.imageName = "World1";
    EXPECT_EQ(SaveRecord(c), Chunks().Str(1, "World").Str(2, "World1").End());
}

TEST(ChipSet, UpperChip0AloneIsNotWrittenAndReadsBack31) {
    TLcfChipSetItem c(1);
    c.upperFlags[0] = 15;
    EXPECT_EQ(SaveRecord(c), Chunks().End());
    LoadRecord(c, SaveRecord(c));
    EXPECT_EQ(c.GetUpperFlags(0), 31);
    // Any other upper chip brings the whole block, chip 0 included.
    c.upperFlags[0] = 0;
    c.upperFlags[143] = kChipCounter;
    Bytes saved = SaveRecord(c);
    TLcfChipSetItem back(1);
    LoadRecord(back, saved);
    EXPECT_EQ(back.GetUpperFlags(0), 0);
    EXPECT_EQ(back.GetUpperFlags(143), 0x40);
    EXPECT_EQ(SaveRecord(back), saved);
}

TEST(ChipSet, ChangedBlocksRoundTrip) {
    TLcfChipSetItem c(3);
    c.terrain[161] = 7;
    c.lowerFlags[18] = kChipAbove | kChipPassUp;
    c.waterAnimationType = 1;
    c.waterAnimationSpeed = 2;
    Bytes saved = SaveRecord(c);
    TLcfChipSetItem back(3);
    LoadRecord(back, saved);
    EXPECT_EQ(back.GetTerrain(161), 7);
    EXPECT_EQ(back.GetTerrain(160), 1);
    EXPECT_EQ(back.GetLowerFlags(18), 0x18);
    EXPECT_TRUE(back.WaterThreeSteps());
    EXPECT_EQ(back.WaterFrameTicks(), 12);
    EXPECT_EQ(SaveRecord(back), saved);
    // Terrain is 16-bit little-endian in lower chip order.
    ASSERT_GE(saved.size(), 3u + 324u);
    EXPECT_EQ((Bytes{saved[0], saved[1], saved[2]}), (Bytes{0x03, 0x82, 0x44}));
    EXPECT_EQ(saved[3 + 322], 7);
    EXPECT_EQ(saved[3 + 323], 0);
}

TEST(ChipSet, BlocksOfTheWrongLengthAreIgnored) {
    TLcfChipSetItem c(1);
    LoadRecord(c, Chunks().Data(4, Bytes(161, 0)).Data(5, Bytes(144, 0)).Data(3, Bytes(323, 0)).Int(11, 1).End());
    EXPECT_EQ(c.GetLowerFlags(0), 15);  // 161 bytes: ignored
    EXPECT_EQ(c.GetUpperFlags(5), 0);   // 144 bytes: taken
    EXPECT_EQ(c.GetTerrain(0), 1);      // 323 bytes: ignored
    EXPECT_EQ(c.waterAnimationType, 1); // later chunks still read
}

TEST(ChipSet, TileIdsMapToChipIndexes) {
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(0), 0);
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(2999), 2);
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(3000), 3);
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(3100), 5);
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(4000), 6);
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(4599), 17);
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(5000), 18);
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(5143), 161);
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(10000), 0);
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(10144), 143);
    // Water ids divide toward zero: the -1 outside a map is chip 0.
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(-1), 0);
    EXPECT_EQ(TLcfChipSetItem::ChipIndexOfTile(INT32_MIN), INT32_MIN / 1000);

    TLcfChipSetItem c(1);
    for (int i = 0; i < TLcfChipSetItem::kLowerChips; ++i) {
        c.terrain[static_cast<size_t>(i)] = static_cast<uint16_t>(100 + i);
        c.lowerFlags[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    }
    c.upperFlags[143] = 0x4F;
    EXPECT_EQ(c.TerrainOfTile(1500), 101);
    EXPECT_EQ(c.TerrainOfTile(5000), 118);
    EXPECT_EQ(c.TerrainOfTile(5143), 261);  // the last plain tile is a real chip
    EXPECT_EQ(c.LowerFlagsOfTile(5143), 161);
    EXPECT_EQ(c.TerrainOfTile(5144), 0);    // past the plain tiles
    EXPECT_EQ(c.LowerFlagsOfTile(9999), 0);
    EXPECT_EQ(c.UpperFlagsOfTile(10144), 0x4F);
    EXPECT_EQ(c.UpperFlagsOfTile(9999), 0);
    // The -1 outside a map reads water chip 0; a chip below 0 reads 0.
    EXPECT_EQ(c.TerrainOfTile(-1), 100);
    EXPECT_EQ(c.TerrainOfTile(-999), 100);
    EXPECT_EQ(c.TerrainOfTile(-1000), 0);
    EXPECT_EQ(c.LowerFlagsOfTile(INT32_MIN), 0);
    EXPECT_EQ(c.GetUpperFlags(144), 0);
}

TEST(ChipSet, FindChipSet0Raises) {
    TLcfChipSet table;
    table.SetCount(2);
    EXPECT_EQ(table.FindChipSet(2)->Id(), 2);
    try {
        table.FindChipSet(0);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Event script referenced a tileset that does not exist.");
    }
}
