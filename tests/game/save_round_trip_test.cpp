// Whole save files of a running world: a new game, a game mid-walk and a
// game aboard a vehicle each save, load and save again to the same bytes;
// records as the original writes them (defaults left out, one-byte blocks
// always written) load to the values the game had; and every truncation
// and bit flip of those files gives a read error or a game that plays on.
#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <vector>

#include "data/database/chip_set.h"
#include "data/database/database.h"
#include "data/database/ground.h"
#include "data/database/player.h"
#include "data/database/system.h"
#include "data/errors.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/random.h"
#include "data/record/var_int.h"
#include "game/common_events/common_event_state.h"
#include "game/game_world_hooks.h"
#include "game/map/game_map.h"
#include "game/party/party_info.h"
#include "game/save/save_clock.h"
#include "game/save/save_data.h"
#include "game/system/game_system.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"
#include "support/lcf_builder.h"

namespace {

constexpr int32_t kFloor = 5000, kWater = 5002, kClear = 10000;

class SeededDice : public RandomSource {
public:
    int32_t Next(int32_t n) override {
        state = state * 1103515245u + 12345u;
        return n > 0 ? int32_t((state >> 8) % uint32_t(n)) : 0;
    }
    uint32_t state = 1;
};

TLcfMoveRouteItem Command(int32_t code) {
    TLcfMoveRouteItem item;
    item.code = code;
    return item;
}

class SaveRoundTrip : public ::testing::Test {
protected:
    SaveRoundTrip() {
        TLcfChipSetItem* chips = DbChipSet->GetOrCreate(1);
        chips->terrain[20] = 2;  // lower chip 20 (tile 5002): water
        TLcfGroundItem* water = DbGround->GetOrCreate(2);
        water->boatPassable = water->shipPassable = 1;
        unit_.width = 20;
        unit_.height = 15;
        unit_.chipSetId = 1;
        unit_.Lower().Resize(20, 15);
        unit_.Upper().Resize(20, 15);
        for (int32_t y = 0; y < 15; ++y)
            for (int32_t x = 0; x < 20; ++x) {
                unit_.Lower().SetTile(x, y, x >= 15 ? kWater : kFloor);
                unit_.Upper().SetTile(x, y, kClear);
            }
        // Walkers: own routes with a jump, random steps, one parallel page.
        for (int32_t id = 1; id <= 5; ++id) {
            TLcfEventItem* e = unit_.events.GetOrCreate(id);
            e->x = 2 + 2 * id;
            e->y = 2 + id;
            TLcfEventPageItem* page = e->pages.GetOrCreate(1);
            page->sheetName = "People";
            page->moveFrequency = 7;
            page->moveSpeed = 4;
            page->moveType = id % 2 ? 6 : 1;
            page->trigger = id == 5 ? 4 : 0;
            page->script = lcf_builder::Script().Line(12410, 0, "x").Line(0).List();
            for (int32_t code : {1, 2, 24, 3, 25, 3, 0, 14}) page->moveRoute.Add(Command(code));
        }
        // Two heroes with sprites of their own; the first starts alone.
        const char* sprites[2] = {"Hero", "Knight"};
        for (int32_t id = 1; id <= 2; ++id) {
            TLcfPlayerItem* hero = DbPlayer->GetOrCreate(id);
            hero->sprite = sprites[id - 1];
            hero->spriteIndex = id + 1;
            hero->transparentSprite = uint8_t(id == 2);
        }
        DbSystem->party.Resize(1);
        DbSystem->party.Set(0, 1);
        tree_.GetOrCreate(1);
        const int32_t starts[3][4] = {{TLcfMapStartPosition::kParty, 1, 8, 7},
                                      {TLcfMapStartPosition::kBoat, 1, 16, 7},
                                      {TLcfMapStartPosition::kAirship, 1, 3, 12}};
        for (const auto& s : starts)
            for (int f = 0; f < 3; ++f) tree_.startPosition.positions[s[0]][f] = s[f + 1];
        GameMapTree = &tree_;
        GameMapUnit = &unit_;
        SetRandomSource(&dice_);
        // The time of saving would differ between two saves a second apart.
        SetSaveClock([] { return DaysSince1899(2026, 12, 9, 6, 30, 0); });
        data_ = std::make_unique<TLcfgSaveData>();
        data_->Map().MapLoader = [this](int32_t id) { unit_.SetId(id); };
        data_->StartPosition = [this] {
            const TLcfMapStartPosition& p = tree_.startPosition;
            return TPartyStart{p.GetMapId(0), p.GetX(0), p.GetY(0)};
        };
        InstallGameWorldHooks(nullptr);
        data_->NewGame();
    }
    ~SaveRoundTrip() override {
        RemoveGameWorldHooks();
        data_.reset();
        SetRandomSource(nullptr);
        SetSaveClock(nullptr);
        GameMapUnit = nullptr;
        GameMapTree = nullptr;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) GameMap->UpdateCharacters();
    }
    // Save, load, save: the second file must be the first.
    void ExpectRoundTrip(const char* what) {
        const std::vector<uint8_t> first = data_->SaveToBytes();
        data_->LoadFromBytes(first, false);
        EXPECT_EQ(data_->SaveToBytes(), first) << what;
    }
    // Every cut, and a bit flip in every third byte, loads to an error or to a game
    // that runs and saves again.
    void ExpectDamageIsSafe(const std::vector<uint8_t>& good) {
        auto tryLoad = [&](std::span<const uint8_t> bytes) {
            try {
                data_->LoadFromBytes(bytes, true);
            } catch (const Exception&) {
            }
            try {
                data_->LoadFromBytes(bytes, false);
                Frames(3);
                data_->SaveToBytes();
            } catch (const Exception&) {
                data_->Reset();
            }
        };
        for (size_t n = 0; n < good.size(); ++n) tryLoad(std::span(good.data(), n));
        std::vector<uint8_t> flipped = good;
        for (size_t i = 0; i < good.size(); i += 3) {
            flipped[i] = uint8_t(good[i] ^ (1u << (i / 3 % 8)));
            tryLoad(flipped);
            flipped[i] = good[i];
        }
    }

    TLcfDataBase db_;
    TLcfMap unit_;
    TLcfMapTree tree_;
    SeededDice dice_;
    std::unique_ptr<TLcfgSaveData> data_;
};

}  // namespace

TEST_F(SaveRoundTrip, ANewGameAGameMidWalkAndAGameAboardAVehicleSaveLoadAndSaveToTheSameBytes) {
    ASSERT_EQ(GameParty->mapId, 1);
    ASSERT_EQ(GameMap->events.Count(), 5);
    ExpectRoundTrip("new game");

    // Mid-walk: the party on a route mid-step that gave it another sprite,
    // led by the second hero, the walkers under way, a pan.
    ASSERT_EQ(GameParty->sheetName, "Hero");
    GamePartyInfo->AddMember(2);
    GamePartyInfo->RemoveMember(1);
    TLcfMoveRouteItem ghost = Command(34);
    ghost.graphicName = "Ghost";
    ghost.graphicIndex = 6;
    GameParty->StartForcedRoute({ghost, Command(40), Command(1), Command(1), Command(2), Command(3), Command(0)}, 7,
                                true, false);
    GameParty->PanScreen(1, 3, 2);
    GameParty->PanScreen(2, 2, 2);
    Frames(23);
    bool midStep = false;
    for (int i = 0; i < GameMap->CharacterCount(); ++i) midStep |= GameMap->CharacterByIndex(i)->progress > 0;
    ASSERT_TRUE(midStep);
    ASSERT_EQ(GameParty->sheetName, "Ghost");
    GameMap->events.Find(1)->RequestStart();  // waiting for the interpreter
    // The load dresses the party as its leader and centres the pan; the
    // view stays as saved.
    const int32_t viewX = GameMap->viewX, viewY = GameMap->viewY;
    data_->LoadFromBytes(data_->SaveToBytes(), false);
    EXPECT_EQ(GameParty->sheetName, "Knight");
    EXPECT_EQ(GameParty->sheetIndex, 3);
    EXPECT_EQ(GameParty->transparency, 3);
    EXPECT_EQ(GameParty->panX, TLcfgParty::kPanX);
    EXPECT_EQ(GameParty->panTargetX, TLcfgParty::kPanX);
    EXPECT_EQ(GameParty->panY, TLcfgParty::kPanY);
    EXPECT_EQ(GameParty->panTargetY, TLcfgParty::kPanY);
    EXPECT_EQ(GameMap->viewX, viewX);
    EXPECT_EQ(GameMap->viewY, viewY);
    ExpectRoundTrip("mid-walk");
    EXPECT_TRUE(GameMap->events.Find(1)->startRequested);
    EXPECT_TRUE(GameMap->events.Find(1)->waitingForScript);

    // Aboard the boat, mid-step on the water.
    GameParty->CancelForcedRoute();
    Frames(40);
    GameParty->TLcfgCharacter::SetPosition(1, 14, 7);
    GameBoat->TLcfgCharacter::SetPosition(1, 15, 7);
    GameParty->direction = GameParty->facing = 1;
    ASSERT_TRUE(GameParty->BoardOrLeaveVehicle());
    Frames(40);
    ASSERT_TRUE(GameParty->riding);
    GameParty->Move(1);
    Frames(2);
    ASSERT_GT(GameParty->progress, 0);
    ExpectRoundTrip("aboard the boat");
    EXPECT_TRUE(GameParty->riding);
    EXPECT_EQ(GameParty->vehicleKind, TLcfgShip::kBoat);

    // In the airship while it rises.
    GameParty->ForceLeaveVehicle();
    GameParty->TLcfgCharacter::SetPosition(1, 3, 12);
    Frames(1);
    ASSERT_TRUE(GameParty->BoardOrLeaveVehicle());
    Frames(5);
    ASSERT_GT(GameAirship->ascent, 0);
    ExpectRoundTrip("rising airship");
    EXPECT_TRUE(GameParty->InAirship());
}

TEST_F(SaveRoundTrip, TruncatedOrBitFlippedSavesFailCleanlyOrPlayOn) {
    const std::vector<uint8_t> newGame = data_->SaveToBytes();
    GameParty->StartForcedRoute({Command(1), Command(2), Command(3), Command(0)}, 7, true, false);
    Frames(23);
    const std::vector<uint8_t> midWalk = data_->SaveToBytes();
    GameParty->CancelForcedRoute();
    GameParty->TLcfgCharacter::SetPosition(1, 3, 12);
    Frames(1);
    ASSERT_TRUE(GameParty->BoardOrLeaveVehicle());
    Frames(5);
    const std::vector<uint8_t> aboard = data_->SaveToBytes();
    ExpectDamageIsSafe(newGame);
    ExpectDamageIsSafe(midWalk);
    ExpectDamageIsSafe(aboard);
    // The undamaged file still loads after all that.
    data_->LoadFromBytes(aboard, false);
    EXPECT_TRUE(GameParty->InAirship());
}
TEST_F(SaveRoundTrip, ACharacterRecordIsWrittenAsTheOriginalWritesIt) {
    // Map id, x, y and speed have no default of their own and are always
    // written; direction, facing, layer and animation type are one-byte
    // blocks, always written; the forced route is a nested record.
    TLcfgParty party;
    ByteWriter w;
    party.SaveToStream(w);
    const std::vector<uint8_t> expected = {0x0B, 1, 0, 0x0C, 1, 0, 0x0D, 1, 0, 0x15, 1, 2, 0x16, 1, 2,
                                           0x21, 1, 1, 0x23, 1, 0, 0x25, 1, 4, 0x29, 3, 0x0C, 0, 0, 0};
    EXPECT_EQ(w.Bytes(), expected);
    // A record that leaves them out loads Clear's values, not the
    // descriptor's.
    const std::vector<uint8_t> bare = {0x17, 1, 3, 0};  // pattern 3 only
    ByteReader r(bare);
    GameBoat->LoadFromStream(r);
    EXPECT_EQ(GameBoat->pattern, 3);
    EXPECT_EQ(GameBoat->speed, 4);
    EXPECT_EQ(GameBoat->mapId, 1);  // the map tree's start
    EXPECT_EQ(GameBoat->x, 16);
    EXPECT_EQ(GameBoat->direction, 3);
}

TEST_F(SaveRoundTrip, CommonEventStatesKeepTheirIdsWhenTheSaveHoldsIdsTheDatabaseLacks) {
    DbCommonEvent->SetCount(2);
    GameCommonEvents->Reset();
    GameCommonEvents->Find(2)->Scripter().Start(0, lcf_builder::Script().Line(12410, 0, "x").Line(0).List());
    ByteWriter saved;
    GameCommonEvents->SaveToStream(saved);
    // The same list with an entry of id 0 in front, as a damaged file holds.
    ByteWriter damaged;
    WriteVarInt(damaged, 3);
    WriteVarInt(damaged, 0);
    WriteVarInt(damaged, 0);  // its empty record
    ByteReader counted(saved.Data());
    ReadVarInt(counted);
    damaged.WriteBytes(counted.Take(counted.Remaining()));
    ByteReader r(damaged.Data());
    data_->ChunkOwner(114)->LoadFromStream(r);
    ASSERT_EQ(GameCommonEvents->Count(), 2);
    EXPECT_FALSE(GameCommonEvents->Find(1)->Scripter().IsRunning());
    EXPECT_TRUE(GameCommonEvents->Find(2)->Scripter().IsRunning());
}
