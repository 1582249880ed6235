#pragma once
// A small game built in code for the battler, actor and party tests: a
// database whose heroes, classes, items, skills, conditions, attributes and
// troops the tests fill in, the actors and the party, a world whose scene
// and start condition the tests set, and a seeded random generator.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/database/database.h"
#include "data/database/mon_group.h"
#include "data/random.h"
#include "game/actors/player.h"
#include "game/battler/unit_world.h"
#include "game/party/party_info.h"
#include "support/lcf_builder.h"

namespace battle_world {

using lcf_builder::Bytes;
using lcf_builder::Chunks;

// Records what reaches the world and answers with set values.
class FakeWorld : public IUnitWorld {
public:
    int Scene() const override { return scene; }
    int BattleStartCondition() const override { return start; }
    void QueueMessageLine(const std::string& line) override { lines.push_back(line); }
    int TeleportTargetCount() const override { return teleportTargets; }
    bool PartyInVehicle() const override { return inVehicle; }
    bool PartyInAirship() const override { return inAirship; }
    void RefreshMapEvents() override { ++refreshes; }
    void FlashScreen(int, int, int, int, int) override { ++flashes; }

    int scene = 0;
    int start = 0;
    int teleportTargets = 0;
    bool inVehicle = false, inAirship = false;
    int refreshes = 0, flashes = 0;
    std::vector<std::string> lines;
};

// Six curves, each the same value at every level.
inline Bytes FlatCurves(int hp, int sp, int atk, int def, int spi, int agi) {
    Bytes b(1188);
    int v[6] = {hp, sp, atk, def, spi, agi};
    for (int k = 0; k < 6; ++k)
        for (int l = 0; l < 99; ++l) {
            b[size_t(2 * (99 * k + l))] = uint8_t(v[k]);
            b[size_t(2 * (99 * k + l) + 1)] = uint8_t(v[k] >> 8);
        }
    return b;
}

// Curves rising by `step` per level from the level-1 value.
inline Bytes RisingCurves(std::array<int, 6> base, int step) {
    Bytes b(1188);
    for (int k = 0; k < 6; ++k)
        for (int l = 0; l < 99; ++l) {
            int v = base[size_t(k)] + step * l;
            b[size_t(2 * (99 * k + l))] = uint8_t(v);
            b[size_t(2 * (99 * k + l) + 1)] = uint8_t(v >> 8);
        }
    return b;
}

inline Bytes Learning(std::vector<std::pair<int, int>> levelSkill) {
    std::vector<std::pair<int32_t, Bytes>> items;
    int id = 1;
    for (auto [level, skill] : levelSkill) items.push_back({id++, Chunks().Int(1, level).Int(2, skill).End()});
    return lcf_builder::List(items);
}

inline Bytes Commands(std::array<int32_t, 7> c) {
    Bytes b;
    for (int32_t v : c)
        for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    return b;
}

// A troop's member: enemy id, the centre of its picture, and whether it
// stays hidden until a script shows it.
struct TroopEntry {
    int32_t enemy, x, y;
    bool hidden;
};

// Troop `id` made anew through the record's own reader.
inline void MakeTroop(int32_t id, const std::vector<TroopEntry>& entries, bool randomAppearance = false,
                      int autoPlacement = 0) {
    std::vector<std::pair<int32_t, Bytes>> items;
    int32_t n = 1;
    for (const TroopEntry& e : entries)
        items.push_back({n++, Chunks().Int(1, e.enemy).Int(2, e.x).Int(3, e.y).Int(4, e.hidden ? 1 : 0).End()});
    lcf_builder::LoadRecord(*DbMonGroup->GetOrCreate(id), Chunks()
                                                              .Data(2, lcf_builder::List(items))
                                                              .Int(3, autoPlacement)
                                                              .Int(6, randomAppearance ? 1 : 0)
                                                              .End());
}

inline Bytes U16s(std::initializer_list<uint16_t> v) {
    Bytes b;
    for (uint16_t x : v) {
        b.push_back(uint8_t(x));
        b.push_back(uint8_t(x >> 8));
    }
    return b;
}

class BattleWorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = std::make_unique<TLcfDataBase>();
        SetUnitWorld(&world);
        SetRandomSource(&random);
        DbStatus->SetCount(4);
        DbAttrib->SetCount(2);
        DbAttrib->Find(1)->kind = TLcfAttribItem::kPhysical;
        DbAttrib->Find(2)->kind = TLcfAttribItem::kMagical;
        DbItem->SetCount(10);
        DbSkill->SetCount(5);
    }
    void TearDown() override {
        GamePartyInfo = nullptr;
        GamePlayers = nullptr;
        party_.reset();
        players_.reset();
        SetRandomSource(nullptr);
        SetUnitWorld(nullptr);
        db_.reset();
    }

    void Hero(int32_t id, const Chunks& c) {
        if (DbPlayer->Count() < id) DbPlayer->GetOrCreate(id);
        lcf_builder::LoadRecord(*DbPlayer->Find(id), c.End());
    }
    void Class(int32_t id, const Chunks& c) {
        DbJob->GetOrCreate(id);
        lcf_builder::LoadRecord(*DbJob->Find(id), c.End());
    }
    void Item(int32_t id, const Chunks& c) { lcf_builder::LoadRecord(*DbItem->GetOrCreate(id), c.End()); }
    void Skill(int32_t id, const Chunks& c) { lcf_builder::LoadRecord(*DbSkill->GetOrCreate(id), c.End()); }
    TLcfStatusItem& Status(int32_t id) { return *DbStatus->GetOrCreate(id); }

    // Actors and party from the database as it stands.
    void StartGame() {
        GamePartyInfo = nullptr;
        party_.reset();
        players_ = std::make_unique<TLcfgPlayer>();
        GamePlayers = players_.get();
        party_ = std::make_unique<TLcfgPartyInfo>();
        GamePartyInfo = party_.get();
    }
    TLcfgPlayerItem& Actor(int32_t id) { return *GamePlayers->Get(id); }

    FakeWorld world;
    SeededRandom random{12345};
    std::unique_ptr<TLcfDataBase> db_;
    std::unique_ptr<TLcfgPlayer> players_;
    std::unique_ptr<TLcfgPartyInfo> party_;
};

}  // namespace battle_world
