// The map world's questions about the party, answered by the party
// information and the actors: items held or worn, members, timers, the
// leader's sprite, terrain damage and healing, the step count.

#include "battle_world_fixture.h"
#include "game/party/world_party_hooks.h"

using namespace battle_world;

namespace {

class WorldPartyHooks : public BattleWorldTest {
protected:
    void SetUp() override {
        BattleWorldTest::SetUp();
        for (int id = 1; id <= 3; ++id)
            Hero(id, Chunks().Str(1, "H" + std::to_string(id)).Data(31, FlatCurves(100, 30, 10, 10, 10, 10)));
        TLcfItemItem* boots = DbItem->GetOrCreate(3);
        boots->kind = TLcfItemItem::kShield;
        boots->noTerrainDamage = 1;
        DbSystem->party.Resize(0);
        StartGame();
        GamePartyInfo->AddMember(1);
        GamePartyInfo->AddMember(2);
        for (int id = 1; id <= 3; ++id) Actor(id).hp = 50;
    }
    TLcfgWorldParty hooks;
};

TEST_F(WorldPartyHooks, ItemsHeldOrWornMembersAndTimers) {
    EXPECT_FALSE(hooks.HasItem(3));
    GamePartyInfo->GainItem(3, 1);
    EXPECT_TRUE(hooks.HasItem(3));
    GamePartyInfo->LoseItem(3, 1);
    Actor(2).SetEquipment(1, 3);
    EXPECT_TRUE(hooks.HasItem(3));  // worn counts
    EXPECT_TRUE(hooks.HasActor(2));
    EXPECT_FALSE(hooks.HasActor(3));  // an actor outside the party
    GamePartyInfo->SetTimer(1, 7);
    EXPECT_EQ(hooks.TimerSeconds(2), 7);
    EXPECT_EQ(hooks.TimerSeconds(1), 0);
}

TEST_F(WorldPartyHooks, TheLeadersSpriteAndAnEmptyParty) {
    Actor(1).SetSprite("Heroes", 5, true);
    std::string name;
    int32_t index = 0;
    bool transparent = false;
    ASSERT_TRUE(hooks.LeaderSprite(name, index, transparent));
    EXPECT_EQ(name, "Heroes");
    EXPECT_EQ(index, 5);
    EXPECT_TRUE(transparent);
    GamePartyInfo->RemoveMember(1);
    GamePartyInfo->RemoveMember(2);
    EXPECT_FALSE(hooks.LeaderSprite(name, index, transparent));
}

TEST_F(WorldPartyHooks, TerrainDamageSparesTheProtectedAndNeverKills) {
    Actor(2).SetEquipment(1, 3);
    EXPECT_TRUE(hooks.ApplyTerrainDamage(20));
    EXPECT_EQ(Actor(1).hp, 30);
    EXPECT_EQ(Actor(2).hp, 50);
    EXPECT_EQ(Actor(3).hp, 50);  // not in the party
    EXPECT_TRUE(hooks.ApplyTerrainDamage(1000));
    EXPECT_EQ(Actor(1).hp, 1);
    // Healing floors hurt no one.
    EXPECT_FALSE(hooks.ApplyTerrainDamage(-10));
    EXPECT_EQ(Actor(1).hp, 11);
    EXPECT_EQ(Actor(2).hp, 60);
    // Only protected members: no damage dealt, no flash.
    Actor(1).SetEquipment(1, 3);
    EXPECT_FALSE(hooks.ApplyTerrainDamage(5));
}

TEST_F(WorldPartyHooks, AStepCountsAndTheStampsFollowTheParty) {
    hooks.CountStep();
    hooks.CountStep();
    EXPECT_EQ(GamePartyInfo->steps, 2);
    // Without a party record the stamps never hold state back.
    EXPECT_TRUE(hooks.MapStampCurrent());
    EXPECT_TRUE(hooks.DatabaseStampCurrent());
    GamePartyInfo->GainGold(100);
    hooks.LoseGold(30);
    EXPECT_EQ(GamePartyInfo->gold, 70);
}

}  // namespace
