#pragma once
// Battles built in code for the enemy and automatic-action tests: the
// battle world of the actor tests, a troop, a fake battle scene, enemy and
// monster-group records, enemy pictures of a chosen size, and a random
// source that answers scripted numbers (then seeded ones) and records every
// range asked for.

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "battle_world_fixture.h"
#include "game/enemies/monster.h"
#include "graphics/graphics_files.h"
#include "support/fake_battle_scene.h"
#include "support/noise_png.h"
#include "support/scripted_random.h"
#include "support/test_paths.h"

namespace battle_world {

class EnemyWorldTest : public BattleWorldTest {
protected:
    void SetUp() override {
        BattleWorldTest::SetUp();
        SetRandomSource(&dice);
        SetBattleLink(&scene);
        GameMonsters = &troop;
        world.scene = 2;  // skills are usable in battle only
        SetGraphicsFileFinder([this](const std::string& folder, const std::string& name) -> std::string {
            if (name.empty()) return {};
            auto it = pictures_.find(folder + "/" + name);
            return it == pictures_.end() ? std::string() : it->second;
        });
    }
    void TearDown() override {
        SetGraphicsFileFinder(nullptr);
        GameMonsters = nullptr;
        SetBattleLink(nullptr);
        BattleWorldTest::TearDown();
    }

    void Monster(int32_t id, const Chunks& c) { lcf_builder::LoadRecord(*DbMonster->GetOrCreate(id), c.End()); }
    // An action list entry: kind, basic action or skill, condition kind,
    // bounds, rating.
    static Bytes Act(int kind, int what, int rating, int condition = 0, int a = 0, int b = 0) {
        Chunks c;
        c.Data(1, Bytes{uint8_t(kind)});
        if (kind == 0) c.Data(2, Bytes{uint8_t(what)});
        if (kind == 1) c.Int(3, what);
        if (kind == 2) c.Int(4, what);
        c.Data(5, Bytes{uint8_t(condition)}).Int(6, a).Int(7, b).Int(13, rating);
        return c.End();
    }
    static Bytes Acts(std::vector<Bytes> acts) {
        std::vector<std::pair<int32_t, Bytes>> items;
        int32_t id = 1;
        for (Bytes& b : acts) items.push_back({id++, std::move(b)});
        return lcf_builder::List(items);
    }
    // A picture of the given size under "Monster".
    void Picture(const std::string& name, int width, int height) {
        const std::string path = (dir_ / (name + ".png")).string();
        testing_support::SaveNoisePng(path, width, height, 7);
        pictures_["Monster/" + name] = path;
    }
    // A party of the given database heroes.
    void Party(std::vector<int32_t> ids) {
        for (int32_t id : ids) GamePartyInfo->AddMember(id);
    }

    testing_support::ScriptedRandom dice{99};
    FakeBattleScene scene;
    TLcfgMonster troop;

private:
    testing_support::TempDir dir_;
    std::map<std::string, std::string> pictures_;
};

}  // namespace battle_world
