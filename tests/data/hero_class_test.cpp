// Heroes and job classes: curves, ranks with trimming, battle commands,
// experience and round trips.
#include <gtest/gtest.h>

#include "data/database/database.h"
#include "data/database/job.h"
#include "data/database/player.h"
#include "data/record/var_int.h"
#include "support/lcf_builder.h"

#include <optional>

using namespace lcf_builder;

namespace {

// The bytes of chunk `id` in a record written by our writer (the record's
// top level only), or nothing when it is absent.
std::optional<Bytes> ChunkOf(const Bytes& record, int32_t id) {
    ByteReader r(record.data(), record.size());
    for (;;) {
        int32_t at = ReadVarInt(r);
        if (at == 0) return std::nullopt;
        size_t length = ReadVarLength(r);
        Bytes data = r.ReadVector(length);
        if (at == id) return data;
    }
}

}  // namespace

TEST(Hero, ClearedHeroHasItsDefaults) {
    TLcfPlayerItem h(1);
    for (int level = 1; level <= 99; ++level) {
        EXPECT_EQ(h.GetParameter(kParamMaxHp, level), 1);
        EXPECT_EQ(h.GetParameter(kParamMaxSp, level), 0);
        for (int kind = kParamAttack; kind <= kParamAgility; ++kind) EXPECT_EQ(h.GetParameter(kind, level), 1);
    }
    EXPECT_EQ(h.GetParameter(0, 100), 0);
    EXPECT_EQ(h.GetParameter(0, 0), 0);
    EXPECT_EQ(h.GetParameter(6, 1), 0);
    EXPECT_EQ(h.GetParameter(-1, 1), 0);
    for (int slot = -2; slot <= 7; ++slot) EXPECT_EQ(h.GetBattleCommand(slot), -1) << slot;
    EXPECT_EQ(h.battleCommands[6], -1);
    EXPECT_EQ(h.GetStatusRank(1), 2);
    EXPECT_EQ(h.GetAttribRank(0), 2);
    EXPECT_EQ(h.finalLevel, 99);
    EXPECT_EQ(h.criticalHits, 1);
    EXPECT_EQ(h.battleX, 220);
    EXPECT_EQ(h.GetInitialEquipment(5), 0);
}

TEST(Hero, CurvesAreKindMajorAndCommandsSigned32Bit) {
    TLcfPlayerItem h(1);
    h.SetParameter(kParamAttack, 5, 0x1234);
    h.SetParameter(kParamAttack, 100, 7);  // ignored
    h.SetParameter(7, 1, 7);               // ignored
    h.battleCommands[1] = 0x01020304;
    Bytes saved = SaveRecord(h);
    Bytes curves = *ChunkOf(saved, 31);
    ASSERT_EQ(curves.size(), 1188u);
    size_t at = 2 * (99 * 2 + 5 - 1);
    EXPECT_EQ(curves[at], 0x34);
    EXPECT_EQ(curves[at + 1], 0x12);
    EXPECT_EQ(curves[2 * 99], 0);  // SP at level 1
    Bytes commands = *ChunkOf(saved, 80);
    ASSERT_EQ(commands.size(), 28u);
    EXPECT_EQ((Bytes(commands.begin(), commands.begin() + 8)), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1}));
    // A curve block of the wrong length keeps the defaults.
    TLcfPlayerItem back(1);
    LoadRecord(back, Chunks().Data(31, Bytes(1187, 9)).Data(80, Bytes(27, 0)).End());
    EXPECT_EQ(back.GetParameter(kParamAttack, 1), 1);
    EXPECT_EQ(back.GetBattleCommand(0), -1);
}

TEST(Hero, RanksAllCWriteCountZeroAndAnEmptyBlock) {
    TLcfPlayerItem h(1);
    for (int id = 1; id <= 5; ++id) h.statusRanks.SetEntry(id, 2);
    Bytes saved = SaveRecord(h);
    EXPECT_FALSE(ChunkOf(saved, 71).has_value());
    EXPECT_EQ(*ChunkOf(saved, 72), Bytes{});
    TLcfPlayerItem back(1);
    LoadRecord(back, saved);
    EXPECT_EQ(back.GetStatusRank(3), 2);
    EXPECT_EQ(back.statusRanks.Length(), 0);
}

TEST(Hero, RanksAreTrimmedToTheDatabasesConditionsAndAttributes) {
    TLcfDataBase db;
    DbStatus->SetCount(10);
    DbAttrib->SetCount(3);
    TLcfPlayerItem h(1);
    for (int id = 1; id <= 12; ++id) h.statusRanks.SetEntry(id, 0);
    h.attribRanks.SetEntry(2, 4);  // trailing default entries go
    h.attribRanks.SetEntry(3, 2);
    Bytes saved = SaveRecord(h);
    EXPECT_EQ(*ChunkOf(saved, 71), Bytes{10});
    EXPECT_EQ(ChunkOf(saved, 72)->size(), 10u);
    EXPECT_EQ(*ChunkOf(saved, 73), Bytes{2});
    EXPECT_EQ(*ChunkOf(saved, 74), (Bytes{2, 4}));
    TLcfPlayerItem back(1);
    LoadRecord(back, saved);
    EXPECT_EQ(back.GetStatusRank(10), 0);
    EXPECT_EQ(back.GetStatusRank(11), 2);
    EXPECT_EQ(back.GetAttribRank(2), 4);
    EXPECT_EQ(back.GetAttribRank(1), 2);
}

TEST(Hero, CountAndBlockDisagreeingGiveTheShorter) {
    TLcfPlayerItem h(1);
    LoadRecord(h, Chunks().Int(71, 5).Data(72, {0, 1, 4}).Int(73, 1).Data(74, {3, 3, 3}).End());
    EXPECT_EQ(h.GetStatusRank(3), 4);
    EXPECT_EQ(h.GetStatusRank(4), 2);
    EXPECT_EQ(h.GetAttribRank(1), 3);
    EXPECT_EQ(h.GetAttribRank(2), 2);
    LoadRecord(h, Chunks().Int(71, -7).Data(72, {0}).End());
    EXPECT_EQ(h.GetStatusRank(1), 2);
}

TEST(Hero, FullHeroRoundTrips) {
    TLcfPlayerItem h(3);
    h.name = "Alex";
    h.title = "Knight";
    h.sprite = "Hero1";
    h.spriteIndex = 2;
    h.initialLevel = 5;
    h.criticalHits = 0;
    h.face = "Face1";
    h.SetInitialEquipment(0, 7);
    h.SetInitialEquipment(4, 300);
    h.jobClass = 2;
    h.battleX = -10;
    h.twoWeapons = 1;
    h.expCorrection = -4;
    h.SetParameter(kParamMaxHp, 99, 9999);
    h.battleCommands = {1, 2, 3, -1, -1, -1, 9};
    h.skills.Add()->skillId = 4;
    h.skills.Add()->level = 10;
    h.statusRanks.SetEntry(2, 0);
    h.reserved67 = "x";
    Bytes saved = SaveRecord(h);
    TLcfPlayerItem back(3);
    LoadRecord(back, saved);
    EXPECT_EQ(back.title, "Knight");
    EXPECT_EQ(back.GetInitialEquipment(4), 300);
    EXPECT_EQ(back.GetParameter(kParamMaxHp, 99), 9999);
    EXPECT_EQ(back.GetBattleCommand(2), 3);
    EXPECT_EQ(back.GetBattleCommand(6), -1);  // stored, never read
    EXPECT_EQ(back.battleCommands[6], 9);
    EXPECT_EQ(back.skills.Items(1)->level, 10);
    EXPECT_EQ(back.GetStatusRank(2), 0);
    EXPECT_EQ(SaveRecord(back), saved);
}

TEST(JobClass, DefaultCommandsCoverSlots0To5AndRoundTrip) {
    TLcfJobItem j(1);
    EXPECT_EQ(j.battleCommands[5], -1);
    EXPECT_EQ(j.battleCommands[6], 0);
    EXPECT_EQ(j.GetParameter(kParamMaxSp, 50), 0);
    EXPECT_EQ(j.GetParameter(kParamSpirit, 50), 1);
    j.name = "Mage";
    j.autoBattle = 1;
    j.expBase = 10;
    j.skills.Add()->skillId = 12;
    j.attribRanks.SetEntry(1, 0);
    Bytes saved = SaveRecord(j);
    TLcfJobItem back(1);
    LoadRecord(back, saved);
    EXPECT_EQ(back.skills.Items(0)->skillId, 12);
    EXPECT_EQ(back.GetAttribRank(1), 0);
    EXPECT_EQ(back.ExpForLevel(2), 10 + 300);
    EXPECT_EQ(SaveRecord(back), saved);
    TLcfJob table;
    table.SetCount(1);
    EXPECT_THROW(table.FindJob(2), Exception);
}

TEST(HeroGrowth, ExperienceCurveIn64BitsAndCriticalChance) {
    EXPECT_EQ(ExperienceForLevel(300, 300, 0, 1), 0);
    EXPECT_EQ(ExperienceForLevel(300, 300, 0, -5), 0);
    EXPECT_EQ(ExperienceForLevel(300, 300, 0, 2), 600);
    EXPECT_EQ(ExperienceForLevel(300, 300, 0, 3), 600 + 300 * 3);
    EXPECT_EQ(ExperienceForLevel(10, 20, 5, 4), 3 * 10 + 3 * 5 + 20 * 6);
    EXPECT_EQ(ExperienceForLevel(0, 0, 0, 99), 0);
    // Above 9999999 counts as 10000000; products that would overflow 32 bits too.
    EXPECT_EQ(ExperienceForLevel(9999999, 0, 1, 2), 10000000);
    EXPECT_EQ(ExperienceForLevel(INT32_MAX, INT32_MAX, INT32_MAX, 99), 10000000);
    EXPECT_EQ(ExperienceForLevel(0, INT32_MAX, 0, INT32_MAX), 10000000);
    EXPECT_EQ(ExperienceForLevel(INT32_MIN, 0, INT32_MIN, 99), INT32_MIN);
    EXPECT_EQ(ExperienceForLevel(-10, 0, 0, 3), -20);
    EXPECT_DOUBLE_EQ(CriticalChancePercent(1, 30), 100.0 / 30);
    EXPECT_EQ(CriticalChancePercent(1, 0), 0);
    EXPECT_EQ(CriticalChancePercent(1, -3), 0);
    EXPECT_EQ(CriticalChancePercent(0, 30), 0);
    TLcfPlayerItem h(1);
    h.criticalRate = 4;
    EXPECT_DOUBLE_EQ(h.CriticalChance(), 25.0);
}
