// The shared foundations: the bounds-checked reader, the random generator
// and the string table.
#include <gtest/gtest.h>

#include "data/byte_reader.h"
#include "data/clamp.h"
#include "data/random.h"
#include "data/string_table.h"

TEST(ByteReader, ReadsPastTheEndRaiseBeforeCopying) {
    const uint8_t bytes[] = {1, 2, 3, 4, 5};
    ByteReader r(bytes, sizeof bytes);
    EXPECT_EQ(r.ReadU8(), 1);
    EXPECT_EQ(r.ReadU16LE(), 0x0302);
    EXPECT_THROW(r.ReadU32LE(), EReadError);
    EXPECT_EQ(r.Position(), 3u);  // a failed read moves nothing
    EXPECT_THROW(r.ReadVector(size_t(1) << 40), EReadError);
    ByteReader sub = r.Sub(2);
    EXPECT_EQ(sub.ReadU16BE(), 0x0405);
    EXPECT_THROW(sub.ReadU8(), EReadError);
    EXPECT_TRUE(r.AtEnd());
}

TEST(Random, RangeAndNonPositiveCounts) {
    SeedRandom(42);
    for (int i = 0; i < 1000; ++i) {
        int v = Random(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
    }
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
    EXPECT_EQ(Random(1), 0);
}

TEST(Random, InjectedSourceIsUsed) {
    struct Fixed : RandomSource {
        int32_t Next(int32_t n) override { return n - 1; }
    } fixed;
    SetRandomSource(&fixed);
    EXPECT_EQ(Random(10), 9);
    SetRandomSource(nullptr);
}

TEST(StringTable, MessagesKeepTheirExactText) {
    EXPECT_EQ(LoadStr(65295), "Event script referenced a \"shigunichi\" that does not exist.");
    EXPECT_EQ(FormatStr(65304, "DSERR_GENERIC"), "DirectSound Error(DSERR_GENERIC)");
    EXPECT_EQ(LoadStr(12345), "");
}

TEST(Clamp, MinimumWinsWhenBoundsCross) {
    EXPECT_EQ(Clamp(5, 10, 0), 10);
    EXPECT_EQ(Clamp(-1, 0, 3), 0);
    EXPECT_EQ(Clamp(7, 0, 3), 3);
    EXPECT_TRUE(IsAlpha('z'));
    EXPECT_FALSE(IsAlpha(0xC1));
}
