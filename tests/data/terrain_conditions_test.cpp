// Terrain, attributes and conditions.
#include <gtest/gtest.h>

#include "data/database/attrib.h"
#include "data/database/ground.h"
#include "data/database/status.h"
#include "data/random.h"
#include "support/lcf_builder.h"

using namespace lcf_builder;

namespace {

// Answers a scripted sequence and counts the draws.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<int32_t> values) : values_(std::move(values)) {}
    int32_t Next(int32_t n) override {
        EXPECT_EQ(n, 100);
        return draws < values_.size() ? values_[draws++] : (++draws, 99);
    }
    size_t draws = 0;

private:
    std::vector<int32_t> values_;
};

struct RandomGuard {
    explicit RandomGuard(RandomSource* s) { SetRandomSource(s); }
    ~RandomGuard() { SetRandomSource(nullptr); }
};

}  // namespace

TEST(Terrain, DefaultsRoundTripAndBushDepthWithinRange) {
    TLcfGroundItem g(1);
    EXPECT_EQ(g.encounterRate, 100);
    EXPECT_EQ(g.airshipPassable, 1);
    EXPECT_EQ(g.gridWidth, 16000);
    EXPECT_TRUE(g.stepSound.IsOff());
    // The bush depth block and the sound record are always written.
    EXPECT_EQ(SaveRecord(g), Chunks().Data(11, {0}).Record(15, Chunks().Str(1, "(OFF)")).End());
    g.name = "Forest";
    g.damage = -5;
    g.bushDepth = 2;
    g.backdropKind = 1;
    g.layer2Image = "Clouds";
    g.specialStarts = 15;
    g.gridTop = 90;
    Bytes saved = SaveRecord(g);
    TLcfGroundItem back(1);
    LoadRecord(back, saved);
    EXPECT_EQ(back.damage, -5);
    EXPECT_EQ(back.BushDepth(), 2);
    EXPECT_EQ(back.layer2Image, "Clouds");
    EXPECT_EQ(SaveRecord(back), saved);
    back.bushDepth = 200;
    EXPECT_EQ(back.BushDepth(), 3);
}

TEST(Terrain, SpecialStartDrawsOnlyForTheBitsThatAreSet) {
    TLcfGroundItem g(1);
    {
        // No bits: never a special start, and nothing drawn.
        ScriptedRandom r({0, 0, 0, 0});
        RandomGuard guard(&r);
        EXPECT_EQ(g.RollSpecialStart(), 0);
        EXPECT_EQ(r.draws, 0u);
    }
    g.specialStarts = TLcfGroundItem::kBackAttack | TLcfGroundItem::kPincer;
    {
        // Back attack fails (10 is not below 10), pincer succeeds (4 < 5).
        ScriptedRandom r({10, 4});
        RandomGuard guard(&r);
        EXPECT_EQ(g.RollSpecialStart(), 4);
        EXPECT_EQ(r.draws, 2u);
    }
    {
        ScriptedRandom r({9});
        RandomGuard guard(&r);
        EXPECT_EQ(g.RollSpecialStart(), 2);
        EXPECT_EQ(r.draws, 1u);
    }
    g.specialStarts = 15;
    {
        ScriptedRandom r({50, 50, 9, 0});
        RandomGuard guard(&r);
        EXPECT_EQ(g.RollSpecialStart(), 3);
        EXPECT_EQ(r.draws, 3u);
    }
    {
        ScriptedRandom r({99, 99, 99, 99});
        RandomGuard guard(&r);
        EXPECT_EQ(g.RollSpecialStart(), 0);
        EXPECT_EQ(r.draws, 4u);
    }
    // With the seeded generator: as many draws as bits set.
    g.specialStarts = TLcfGroundItem::kInitiative | TLcfGroundItem::kSurround | TLcfGroundItem::kPincer;
    g.initiativeChance = g.surroundChance = g.pincerChance = 0;
    SeedRandom(1234);
    g.RollSpecialStart();
    int32_t next = Random(1000000);
    SeedRandom(1234);
    for (int i = 0; i < 3; ++i) Random(100);
    EXPECT_EQ(Random(1000000), next);
}

TEST(Attribute, RatesByRankAndOutside) {
    TLcfAttribItem a(1);
    EXPECT_EQ(a.GetRate(0), 300);
    EXPECT_EQ(a.GetRate(2), 100);
    EXPECT_EQ(a.GetRate(4), 0);
    EXPECT_EQ(a.GetRate(5), 0);
    EXPECT_EQ(a.GetRate(-1), 0);
    EXPECT_EQ(SaveRecord(a), Chunks().Data(2, {0}).End());
    a.kind = TLcfAttribItem::kMagical;
    a.rates[4] = -50;
    Bytes saved = SaveRecord(a);
    TLcfAttribItem back(1);
    LoadRecord(back, saved);
    EXPECT_EQ(back.GetRate(4), -50);
    EXPECT_EQ(back.kind, 1);
    EXPECT_EQ(SaveRecord(back), saved);
}

TEST(Condition, DefaultsRoundTripAndColourWithinRange) {
    TLcfStatusItem s(3);
    EXPECT_EQ(s.InflictChance(0), 100);
    EXPECT_EQ(s.InflictChance(1), 80);
    EXPECT_EQ(s.InflictChance(2), 60);
    EXPECT_EQ(s.InflictChance(3), 30);
    EXPECT_EQ(s.InflictChance(4), 0);
    EXPECT_EQ(s.InflictChance(5), 0);
    EXPECT_EQ(s.reserved39, 6);
    EXPECT_EQ(SaveRecord(s), Chunks().Data(2, {0}).Data(5, {0}).End());
    s.name = "Poison";
    s.persistence = 1;
    s.restriction = TLcfStatusItem::kCannotAct;
    s.inflictChance[4] = 10;
    s.messageAlready = "already";
    s.messageEachTurn = "hurts";
    s.mapHpPoints = 1;
    Bytes saved = SaveRecord(s);
    TLcfStatusItem back(3);
    LoadRecord(back, saved);
    EXPECT_EQ(back.messageAlready, "already");
    EXPECT_EQ(back.InflictChance(4), 10);
    EXPECT_EQ(SaveRecord(back), saved);
    back.colour = 25;
    EXPECT_EQ(back.Colour(), 19);
    back.colour = -3;
    EXPECT_EQ(back.Colour(), 0);
}

TEST(Condition, TheFallenStateLosesTwoMessagesOnEveryLoad) {
    Bytes rec = Chunks().Str(51, "falls").Str(53, "already").Str(54, "each").Str(55, "up").End();
    TLcfStatus table;
    LoadList(table, List({{1, rec}, {2, rec}}));
    const TLcfStatusItem* fallen = table.FindStatus(1);
    EXPECT_EQ(fallen->messageHero, "falls");
    EXPECT_EQ(fallen->messageAlready, "");
    EXPECT_EQ(fallen->messageEachTurn, "");
    EXPECT_EQ(fallen->messageRecovery, "up");
    EXPECT_EQ(table.FindStatus(2)->messageAlready, "already");
    EXPECT_EQ(table.FindStatus(2)->messageEachTurn, "each");
}
