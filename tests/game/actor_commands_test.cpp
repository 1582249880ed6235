// Actor commands: who a command reaches (party, one actor, an actor named
// by a variable), the game-over test after it, the damage formula and its
// spread, the second-hand rule of equipping, and the single-actor commands'
// side effects.

#include <algorithm>

#include "battle_world_fixture.h"
#include "data/string_table.h"
#include "game/actors/player.h"
#include "game/party/party_info.h"
#include "game/vehicle/ship.h"
#include "interpreter_fixture.h"
#include "support/error_message.h"
#include "support/noise_png.h"

using namespace interp_test;
using testing_support::MessageOf;
using lcf_builder::Script;

namespace {

constexpr int32_t kChangeStat = 10430, kEquip = 10450, kChangeHp = 10460;
constexpr int32_t kDamage = 10500, kActorGraphic = 10630, kActorFace = 10640, kVehicleGraphic = 10650;
constexpr int32_t kBattleFields = 1007;
constexpr int32_t kSword = 1, kDagger = 2, kAxe = 3, kShield = 4, kHelmet = 5;

class CountingHooks : public FakeParty {
public:
    void CheckGameOver() override { ++gameOverChecks; }
    void RebuildBattleSprites(int32_t actorId) override { rebuilt.push_back(actorId); }
    int gameOverChecks = 0;
    std::vector<int32_t> rebuilt;
};

class GraphicMap : public FakeMap {
public:
    void RefreshPartyGraphic() override { ++graphicRefreshes; }
    int graphicRefreshes = 0;
};

class ActorCommandTest : public InterpreterTest {
protected:
    ActorCommandTest() {
        for (int32_t id = 1; id <= 3; ++id) {
            DbPlayer->GetOrCreate(id);
            // Defense 400 and spirit 800 make the damage reductions whole.
            lcf_builder::LoadRecord(*DbPlayer->Find(id),
                                    lcf_builder::Chunks()
                                        .Str(1, "H" + std::to_string(id))
                                        .Data(31, battle_world::FlatCurves(500, 30, 12, 400, 800, 15))
                                        .End());
        }
        DbItem->SetCount(5);
        auto item = [](int32_t id, uint8_t kind, bool twoHanded) {
            TLcfItemItem& it = *DbItem->Find(id);
            it.kind = kind;
            it.twoHanded = twoHanded ? 1 : 0;
        };
        item(kSword, TLcfItemItem::kWeapon, false);
        item(kDagger, TLcfItemItem::kWeapon, false);
        item(kAxe, TLcfItemItem::kWeapon, true);
        item(kShield, TLcfItemItem::kShield, false);
        item(kHelmet, TLcfItemItem::kHelmet, false);
        DbSystem->party.Resize(0);
        players = std::make_unique<TLcfgPlayer>();
        GamePlayers = players.get();
        partyInfo = std::make_unique<TLcfgPartyInfo>();
        GamePartyInfo = partyInfo.get();
        GameInterpreterHooks.field = &hooks;
        GameInterpreterHooks.battle = &hooks;
        GameInterpreterHooks.map = &graphicMap;
    }
    ~ActorCommandTest() override {
        GamePartyInfo = nullptr;
        GamePlayers = nullptr;
    }

    void Do(int32_t code, std::initializer_list<int32_t> params, const std::string& text = "") {
        RunParallel(Script().Line(code, 0, text, params).Line(0));
    }
    TLcfgPlayerItem& Actor(int32_t id) { return *GamePlayers->Get(id); }

    CountingHooks hooks;
    GraphicMap graphicMap;
    std::unique_ptr<TLcfgPlayer> players;
    std::unique_ptr<TLcfgPartyInfo> partyInfo;
};

TEST_F(ActorCommandTest, TargetsArePartyOneActorOrTheActorInAVariable) {
    partyInfo->AddMember(1);
    partyInfo->AddMember(3);
    Do(kChangeHp, {0, 0, 1, 0, 100, 0});  // every member loses 100
    EXPECT_EQ(Actor(1).hp, 400);
    EXPECT_EQ(Actor(2).hp, 500);
    EXPECT_EQ(Actor(3).hp, 400);
    Do(kChangeHp, {1, 2, 1, 0, 50, 0});  // actor 2
    EXPECT_EQ(Actor(2).hp, 450);
    system->SetVariable(7, 3);
    system->SetVariable(8, 30);
    Do(kChangeHp, {2, 7, 1, 1, 8, 0});  // the actor in v7 loses v8
    EXPECT_EQ(Actor(3).hp, 370);
    EXPECT_EQ(MessageOf([&] { Do(kChangeHp, {1, 9, 1, 0, 1, 0}); }), LoadStr(65289));
}

TEST_F(ActorCommandTest, GameOverIsTestedOnTheFieldOnlyAndNeverForAnEmptyParty) {
    Do(kChangeHp, {0, 0, 1, 0, 9999, 1});
    EXPECT_EQ(hooks.gameOverChecks, 0);  // empty party: nothing at all
    partyInfo->AddMember(2);
    Do(kChangeHp, {0, 0, 1, 0, 9999, 1});
    EXPECT_EQ(hooks.gameOverChecks, 1);
    EXPECT_TRUE(Actor(2).HasCondition(1));
    system->scene = kSceneBattle;
    Do(kChangeHp, {1, 1, 0, 0, 10, 0});
    EXPECT_EQ(hooks.gameOverChecks, 1);
}

TEST_F(ActorCommandTest, ChangeStatReadsItsAmountFromP4AndP5) {
    system->SetVariable(4, 25);
    Do(kChangeStat, {1, 1, 0, 2, 1, 4});  // attack + v4
    EXPECT_EQ(Actor(1).ParamModifier(2), 25);
    Do(kChangeStat, {1, 1, 1, 0, 0, 100});  // max HP - 100
    EXPECT_EQ(Actor(1).MaxHP(), 400);
    EXPECT_EQ(Actor(1).hp, 400);
    Do(kChangeStat, {1, 1, 0, 6, 0, 100});  // no seventh parameter
    Do(kChangeStat, {1, 1, 0, -1, 0, 100});
    for (int kind = 0; kind < 6; ++kind) EXPECT_EQ(Actor(1).ParamModifier(kind), kind == 2 ? 25 : kind == 0 ? -100 : 0);
}

TEST_F(ActorCommandTest, DamageSubtractsDefenseAndSpiritProductsEachDividedOnItsOwn) {
    // Defense 400, spirit 800: p3 × 400 / 400 = p3 and p4 × 800 / 800 = p4.
    Do(kDamage, {1, 1, 100, 0, 0, 0, 1, 5});
    EXPECT_EQ(Var(5), 100);
    EXPECT_EQ(Actor(1).hp, 400);
    Do(kDamage, {1, 1, 100, 30, 20, 0, 1, 5});
    EXPECT_EQ(Var(5), 50);
    // Products far beyond 32 bits are exact: the damage is simply 0.
    Do(kDamage, {1, 1, 100, INT32_MAX, INT32_MAX, 0, 1, 5});
    EXPECT_EQ(Var(5), 0);
    // A spread turns nothing into 0 or 1.
    std::set<int32_t> seen;
    for (int i = 0; i < 50; ++i) {
        Do(kDamage, {1, 2, 10, 100, 0, 1, 1, 5});
        seen.insert(Var(5));
    }
    EXPECT_EQ(seen, (std::set<int32_t>{0, 1}));
    // Separate division: 399/400 and 799/800 both vanish, though together
    // they would make 1.
    lcf_builder::LoadRecord(*DbPlayer->Find(3), lcf_builder::Chunks()
                                                    .Str(1, "H3")
                                                    .Data(31, battle_world::FlatCurves(500, 30, 12, 399, 799, 15))
                                                    .End());
    Actor(3).Clear();
    Do(kDamage, {1, 3, 100, 1, 1, 0, 1, 5});
    EXPECT_EQ(Var(5), 100);
}

TEST_F(ActorCommandTest, DamageSpreadOfTenTenthsGivesFiftyToOneHundredFifty) {
    int32_t low = 1000, high = -1;
    for (int i = 0; i < 400; ++i) {
        Actor(1).hp = 500;
        Do(kDamage, {1, 1, 100, 0, 0, 10, 1, 5});
        low = std::min(low, Var(5));
        high = std::max(high, Var(5));
        ASSERT_EQ(Actor(1).hp, 500 - Var(5));
    }
    EXPECT_EQ(low, 50);
    EXPECT_EQ(high, 150);
}

TEST_F(ActorCommandTest, DamageCanKill) {
    partyInfo->AddMember(1);
    Do(kDamage, {0, 0, 9999, 0, 0, 0, 0, 0});
    EXPECT_EQ(Actor(1).hp, 0);
    EXPECT_TRUE(Actor(1).HasCondition(1));
    EXPECT_EQ(hooks.gameOverChecks, 1);
}

TEST_F(ActorCommandTest, OneHandedWeaponGoesToTheFreeSecondHandOfATwoWeaponActor) {
    TLcfgPlayerItem& a = Actor(1);
    a.twoWeapons = 1;
    Do(kEquip, {1, 1, 0, 0, kShield});  // a shield is no weapon of a two-weapon actor
    EXPECT_EQ(a.Equipment(1), 0);
    Do(kEquip, {1, 1, 0, 0, kSword});  // the first hand is empty: it takes the weapon
    EXPECT_EQ(a.Equipment(0), kSword);
    EXPECT_EQ(a.Equipment(1), 0);
    Do(kEquip, {1, 1, 1, 0});
    Do(kEquip, {1, 1, 0, 0, kSword});
    Do(kEquip, {1, 1, 0, 0, kDagger});
    EXPECT_EQ(a.Equipment(0), kSword);
    EXPECT_EQ(a.Equipment(1), kDagger);
    // Both hands full: the new weapon replaces the first hand's.
    Do(kEquip, {1, 1, 0, 0, kSword});
    EXPECT_EQ(a.Equipment(0), kSword);
    EXPECT_EQ(a.Equipment(1), kDagger);

    // A two-handed weapon, new or held, keeps to the first hand.
    Do(kEquip, {1, 1, 1, 5});
    Do(kEquip, {1, 1, 0, 0, kAxe});
    Do(kEquip, {1, 1, 0, 0, kDagger});
    EXPECT_EQ(a.Equipment(0), kDagger);
    EXPECT_EQ(a.Equipment(1), 0);
    Do(kEquip, {1, 1, 0, 0, kAxe});
    EXPECT_EQ(a.Equipment(0), kAxe);
    EXPECT_EQ(a.Equipment(1), 0);

    // An actor with one weapon hand swaps its weapon.
    TLcfgPlayerItem& b = Actor(2);
    Do(kEquip, {1, 2, 0, 0, kSword});
    Do(kEquip, {1, 2, 0, 0, kDagger});
    EXPECT_EQ(b.Equipment(0), kDagger);
    EXPECT_EQ(b.Equipment(1), 0);
    // An armour goes to its own slot; slot 5 takes everything off.
    Do(kEquip, {1, 2, 0, 0, kShield});
    Do(kEquip, {1, 2, 0, 0, kHelmet});
    EXPECT_EQ(b.Equipment(1), kShield);
    EXPECT_EQ(b.Equipment(3), kHelmet);
    Do(kEquip, {1, 2, 1, 5});
    for (int slot = 0; slot < 5; ++slot) EXPECT_EQ(b.Equipment(slot), 0);
    EXPECT_EQ(partyInfo->ItemCount(kShield), 1);
    // A missing item is an error.
    EXPECT_EQ(MessageOf([&] { Do(kEquip, {1, 2, 0, 0, 99}); }), LoadStr(65284));
}

TEST_F(ActorCommandTest, InBattleAWeaponChangeRebuildsTheBattleSprites) {
    Do(kEquip, {1, 1, 0, 0, kSword});
    EXPECT_TRUE(hooks.rebuilt.empty());
    system->scene = kSceneBattle;
    Do(kEquip, {1, 2, 0, 0, kHelmet});
    EXPECT_TRUE(hooks.rebuilt.empty());  // no weapon held
    Do(kEquip, {1, 1, 0, 0, kDagger});
    EXPECT_EQ(hooks.rebuilt, std::vector<int32_t>{1});
}

TEST_F(ActorCommandTest, LooksOfOneActorAndOfAVehicle) {
    partyInfo->AddMember(2);
    Do(kActorGraphic, {2, 3, 1}, "Knight");
    EXPECT_EQ(Actor(2).SpriteName(), "Knight");
    EXPECT_EQ(Actor(2).SpriteIndex(), 3);
    EXPECT_EQ(Actor(2).SpriteTransparency(), 3);
    EXPECT_EQ(graphicMap.graphicRefreshes, 1);

    std::filesystem::create_directories(folder / "FaceSet");
    testing_support::SaveNoisePng((folder / "FaceSet" / "Faces.png").string(), 192, 96, 7);
    EXPECT_EQ(partyInfo->FaceSheet(0).Pixels()[0], 0);
    Do(kActorFace, {2, 1}, "Faces");
    EXPECT_EQ(Actor(2).FaceName(), "Faces");
    EXPECT_NE(partyInfo->FaceSheet(0).Pixels()[0], 0);

    TLcfgShip ship(TLcfgShip::kShip);
    GameShip = &ship;
    Do(kVehicleGraphic, {1, 4}, "Galleon");
    Do(kVehicleGraphic, {3, 5}, "Nothing");
    GameShip = nullptr;
    EXPECT_EQ(ship.SpriteName(), "Galleon");
    EXPECT_EQ(ship.sheetName, "Galleon");
    EXPECT_EQ(ship.sheetIndex, 4);
}

TEST_F(ActorCommandTest, BattleRepeatFieldsOfAnActor) {
    Do(kBattleFields, {3, 2, 4});
    EXPECT_EQ(Actor(3).repeatCommand, 2);
    EXPECT_EQ(Actor(3).repeatCount, 4);
    Do(kBattleFields, {4, 2, 4});  // beyond the actors: nothing
    EXPECT_EQ(MessageOf([&] { Do(kBattleFields, {0, 2, 4}); }), LoadStr(65289));
}

}  // namespace
