// Party info: members, inventory, item uses and usability, gold, timers,
// turn tests, averages, exhaustion and the save form.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "battle_world_fixture.h"
#include "graphics/graphics_files.h"
#include "media/sheet/sheet.h"

using namespace battle_world;

namespace {

class PartyInfoTest : public BattleWorldTest {
protected:
    void SetUp() override {
        BattleWorldTest::SetUp();
        for (int id = 1; id <= 5; ++id)
            Hero(id, Chunks().Str(1, "H" + std::to_string(id)).Data(31, FlatCurves(100, 30, 10, 10, 10, 10)));
        DbSystem->party.Resize(0);
        StartGame();
    }
    TLcfgPartyInfo& party() { return *GamePartyInfo; }
};

void PutLE(Bytes& out, uint32_t v, int n = 4) {
    for (int i = 0; i < n; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// A 192x96 8-bit face set, top-down, each 48x48 cell filled with its
// index + 1.
Bytes FaceSetBmp() {
    const int w = 192, h = 96;
    Bytes out = {'B', 'M'};
    const uint32_t offset = 14 + 40 + 256 * 4;
    PutLE(out, offset + w * h);
    PutLE(out, 0);
    PutLE(out, offset);
    PutLE(out, 40);
    PutLE(out, w);
    PutLE(out, uint32_t(-h));
    PutLE(out, 1, 2);
    PutLE(out, 8, 2);
    PutLE(out, 0);
    PutLE(out, w * h);
    PutLE(out, 0);    // horizontal resolution
    PutLE(out, 0);    // vertical resolution
    PutLE(out, 256);  // colours used
    PutLE(out, 0);    // important colours
    for (int i = 0; i < 256; ++i) PutLE(out, uint32_t(i) * 0x010101u);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.push_back(uint8_t((y / 48) * 4 + x / 48 + 1));
    return out;
}

}  // namespace

TEST_F(PartyInfoTest, ResetTakesTheDatabasesInitialPartyOfKnownActors) {
    DbSystem->party.Resize(3);
    DbSystem->party.Set(0, 2);
    DbSystem->party.Set(1, 9);
    DbSystem->party.Set(2, 2);
    party().Reset();
    EXPECT_EQ(party().MemberCount(), 1);
    EXPECT_EQ(party().MemberId(0), 2);
}

TEST_F(PartyInfoTest, MembersAtMostFourEachOnce) {
    for (int id = 1; id <= 5; ++id) party().AddMember(id);
    party().AddMember(2);
    EXPECT_EQ(party().MemberCount(), 4);
    EXPECT_FALSE(party().IsMember(5));
    party().RemoveMember(1);
    EXPECT_EQ(party().MemberId(0), 2);
    EXPECT_EQ(party().Member(0), &Actor(2));
    EXPECT_EQ(party().Member(3), nullptr);
    EXPECT_EQ(party().Member(-1), nullptr);
    party().RemoveMember(9);
    EXPECT_EQ(party().MemberCount(), 3);
}

TEST_F(PartyInfoTest, FacesFollowTheSlotsAndClipOutsideTheImage) {
    auto dir = std::filesystem::temp_directory_path() / ("varnow_faces_" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(dir);
    {
        Bytes bmp = FaceSetBmp();
        std::ofstream(dir / "Faces.bmp", std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), long(bmp.size()));
    }
    SetGraphicsFileFinder([&](const std::string& folder, const std::string& name) {
        EXPECT_EQ(folder, "FaceSet");
        return name.empty() ? std::string() : (dir / (name + ".bmp")).string();
    });
    Actor(1).SetFace("Faces", 5);
    Actor(2).SetFace("Faces", 9);  // beyond the image's two rows
    party().AddMember(1);
    party().AddMember(2);
    EXPECT_EQ(party().FaceSheet(0).Pixels()[0], 6);
    EXPECT_EQ(party().FaceSheet(0).Pixels()[48 * 48 - 1], 6);
    EXPECT_EQ(party().FaceSheet(1).Pixels()[0], 0);
    Actor(2).SetFace("Faces", 2);
    party().RemoveMember(1);  // slot 1 moves up and is reloaded
    EXPECT_EQ(party().FaceSheet(0).Pixels()[0], 3);
    EXPECT_EQ(party().FaceSheet(1).Pixels()[0], 0);
    SetGraphicsFileFinder({});
    std::filesystem::remove_all(dir);
}

TEST_F(PartyInfoTest, InventoryStaysSortedAndCapped) {
    party().GainItem(5, 1);
    party().GainItem(2, 1);
    party().GainItem(9, 1);
    EXPECT_EQ(party().ItemIdAt(0), 2);
    EXPECT_EQ(party().ItemIdAt(1), 5);
    EXPECT_EQ(party().ItemIdAt(2), 9);
    EXPECT_EQ(party().ItemIdAt(3), 0);
    party().GainItem(7, 150);
    EXPECT_EQ(party().ItemCount(7), 99);
    party().GainItem(7, 1);
    EXPECT_EQ(party().ItemCount(7), 99);
    party().GainItem(0, 3);
    party().GainItem(3, -2);
    EXPECT_EQ(party().ItemEntryCount(), 4);
    party().LoseItem(7, 200);
    EXPECT_EQ(party().ItemCount(7), 0);
    EXPECT_EQ(party().ItemEntryCount(), 3);
    party().LoseItem(8, 1);
    EXPECT_EQ(party().ItemEntryCount(), 3);
    party().AddMember(1);
    Item(5, Chunks().Data(3, {1}));
    Actor(1).SetEquipment(0, 5);
    EXPECT_EQ(party().EquippedCount(5), 1);
    EXPECT_TRUE(party().HasItem(5));
}

TEST_F(PartyInfoTest, ItemUsesAreCountedPerPiece) {
    Item(1, Chunks().Data(3, {6}).Int(6, 3));
    Item(2, Chunks().Data(3, {9}).Int(6, 1).Int(71, 1));
    party().GainItem(1, 2);
    party().UseItem(1);
    party().UseItem(1);
    EXPECT_EQ(party().ItemUsesAt(0), 2);
    party().UseItem(1);
    EXPECT_EQ(party().ItemCount(1), 1);
    EXPECT_EQ(party().ItemUsesAt(0), 0);
    party().UseItem(1);
    party().GainItem(1, 1);  // gaining keeps the spent uses
    EXPECT_EQ(party().ItemUsesAt(0), 1);
    party().LoseItem(1, 1);  // losing resets them even when pieces remain
    EXPECT_EQ(party().ItemCount(1), 1);
    EXPECT_EQ(party().ItemUsesAt(0), 0);
    party().GainItem(2, 1);
    party().UseItem(2);  // performs a skill: never used up
    EXPECT_EQ(party().ItemCount(2), 1);
    EXPECT_THROW(party().UseItem(99), Exception);
}

TEST_F(PartyInfoTest, ItemUsableByScene) {
    Item(1, Chunks().Data(3, {6}).Int(37, 1));  // field-only medicine
    Item(2, Chunks().Data(3, {9}).Int(53, 1));  // teleport skill item
    Skill(1, Chunks().Data(8, {1}));
    Item(3, Chunks().Data(3, {9}).Int(53, 2));  // healing skill item for one ally
    Skill(2, Chunks().Data(12, {3}).Int(31, 1));
    party().AddMember(1);
    world.scene = 1;
    EXPECT_TRUE(party().ItemUsable(1));
    EXPECT_FALSE(party().ItemUsable(0));
    EXPECT_FALSE(party().ItemUsable(2));
    world.teleportTargets = 2;
    world.inVehicle = true;  // the item's check looks at the airship only
    EXPECT_TRUE(party().ItemUsable(2));
    world.inAirship = true;
    EXPECT_FALSE(party().ItemUsable(2));
    EXPECT_TRUE(party().ItemUsable(3));
    Status(2).restriction = TLcfStatusItem::kCannotAct;
    Actor(1).InflictCondition(2);
    EXPECT_FALSE(party().ItemUsable(3));  // no member able to act
    world.scene = 2;
    EXPECT_FALSE(party().ItemUsable(1));
    EXPECT_TRUE(party().ItemUsable(3));
    world.scene = 0;
    EXPECT_FALSE(party().ItemUsable(3));
}

TEST_F(PartyInfoTest, GoldStaysWithinRange) {
    party().GainGold(2000000000);
    party().GainGold(2000000000);
    EXPECT_EQ(party().gold, 999999);
    party().LoseGold(-5);  // a negative loss is a gain, still capped
    EXPECT_EQ(party().gold, 999999);
    party().LoseGold(2000000000);
    EXPECT_EQ(party().gold, 0);
    party().GainGold(-10);
    EXPECT_EQ(party().gold, 0);
}

TEST_F(PartyInfoTest, TimerCountsDownAndRefreshesEachSecond) {
    party().SetTimer(0, 10);
    EXPECT_EQ(party().TimerState(0).frames, 659);
    party().StartTimer(0, true, false);
    for (int f = 0; f < 60; ++f) {
        EXPECT_EQ(party().Timer1Seconds(), 10);
        party().TickTimers();
    }
    EXPECT_EQ(party().Timer1Seconds(), 9);
    EXPECT_EQ(world.refreshes, 1);
    for (int f = 60; f < 600; ++f) party().TickTimers();
    EXPECT_EQ(party().TimerState(0).frames, 59);
    EXPECT_EQ(party().Timer1Seconds(), 0);
    EXPECT_FALSE(party().TimerState(0).running);
    EXPECT_EQ(world.refreshes, 10);
    party().TickTimers();
    EXPECT_EQ(party().TimerState(0).frames, 59);

    party().SetTimer(1, -5);  // negative seconds count as 0
    EXPECT_EQ(party().TimerState(1).frames, 59);
    party().StartTimer(1, false, false);
    party().TickTimers();
    EXPECT_FALSE(party().TimerState(1).running);
    party().SetTimer(1, 2000000000);
    EXPECT_EQ(party().TimerState(1).frames, 359999);
}

TEST_F(PartyInfoTest, TurnTests) {
    for (int t = 0; t <= 12; ++t) {
        party().battleTurns = t;
        EXPECT_EQ(party().TurnMatches(3, 5), t == 5 || t == 8 || t == 11) << t;
        EXPECT_EQ(party().TurnMatches(0, 3), t == 3) << t;
        EXPECT_EQ(party().TurnMatches(2, 1), t % 2 == 1) << t;
    }
    EXPECT_TRUE(party().TurnMatches(-1, INT32_MIN));
}

TEST_F(PartyInfoTest, AveragesAndExhaustion) {
    EXPECT_EQ(party().AverageAgility(), 1);  // empty party: 0 becomes 1
    EXPECT_EQ(party().AverageLevel(), 1);
    EXPECT_EQ(party().Exhaustion(), 0);
    party().AddMember(1);
    TLcfgPlayerItem& a = Actor(1);
    a.hp = 50;
    a.sp = 30;
    EXPECT_EQ(party().Exhaustion(), 34);  // 100 - trunc((1 + 1) x 100 / 3)
    a.hp = 100;
    EXPECT_EQ(party().Exhaustion(), 0);
    a.hp = 0;
    a.sp = 0;
    EXPECT_EQ(party().Exhaustion(), 100);
    a.hp = 5000;  // above the maximum
    EXPECT_EQ(party().Exhaustion(), 0);
    EXPECT_EQ(party().AverageAgility(), 10);
}

TEST_F(PartyInfoTest, SaveRoundTripAndNormalisedLoads) {
    party().AddMember(3);
    party().AddMember(1);
    party().GainItem(4, 12);
    party().GainItem(2, 1);
    Item(4, Chunks().Int(6, 5));
    party().UseItem(4);
    party().GainGold(1234);
    party().SetTimer(1, 30);
    party().StartTimer(1, true, true);
    party().CountBattle();
    party().CountVictory();
    party().CountEscape();
    party().CountStep();
    party().CountTurn();
    Bytes saved = lcf_builder::SaveRecord(party());

    TLcfgPartyInfo back;
    lcf_builder::LoadRecord(back, saved);
    EXPECT_EQ(back.MemberCount(), 2);
    EXPECT_EQ(back.MemberId(0), 3);
    EXPECT_EQ(back.ItemIdAt(0), 2);
    EXPECT_EQ(back.ItemCountAt(1), 12);
    EXPECT_EQ(back.ItemUsesAt(1), 1);
    EXPECT_EQ(back.gold, 1234);
    EXPECT_EQ(back.TimerState(1).frames, 30 * 60 + 59);
    EXPECT_TRUE(back.TimerState(1).inBattle);
    EXPECT_EQ(back.battles, 1);
    EXPECT_EQ(back.victories, 1);
    EXPECT_EQ(back.escapes, 1);
    EXPECT_EQ(back.steps, 1);
    EXPECT_EQ(back.battleTurns, 1);
    EXPECT_EQ(lcf_builder::SaveRecord(back), saved);

    // A hostile save: six members with a repeat and an unknown actor, items
    // out of order with counts 0 and 150 and a repeated id, gold beyond range.
    Bytes hostile = Chunks()
                        .Int(1, 6)
                        .Data(2, U16s({1, 2, 1, 40, 3, 4}))
                        .Int(11, 5)
                        .Data(12, U16s({9, 3, 0, 3, 5}))
                        .Data(13, {150, 10, 4, 95, 0})
                        .Data(14, {1, 2})
                        .Int(21, -50)
                        .Int(23, 900000)
                        .End();
    TLcfgPartyInfo bad;
    lcf_builder::LoadRecord(bad, hostile);
    EXPECT_EQ(bad.MemberCount(), 4);
    EXPECT_EQ(bad.MemberId(2), 3);
    EXPECT_EQ(bad.MemberId(3), 4);
    ASSERT_EQ(bad.ItemEntryCount(), 2);
    EXPECT_EQ(bad.ItemIdAt(0), 3);
    EXPECT_EQ(bad.ItemCountAt(0), 99);
    EXPECT_EQ(bad.ItemIdAt(1), 9);
    EXPECT_EQ(bad.ItemCountAt(1), 99);
    EXPECT_EQ(bad.gold, 0);
    EXPECT_EQ(bad.TimerState(0).frames, 359999);
    // Truncated: a clear error, never a crash.
    Bytes cut(saved.begin(), saved.begin() + long(saved.size() / 2));
    TLcfgPartyInfo broken;
    ByteReader r(cut);
    EXPECT_THROW(broken.LoadFromStream(r), Exception);
}
