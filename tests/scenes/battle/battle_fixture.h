#pragma once
// The battle scene on a battle built in code: three heroes (two in the
// party), a troop of slimes, five battle commands (the fifth an escape),
// scripted random numbers, and keys tapped through the headless platform
// when a condition holds, also inside the scene's own nested loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "data/database/battle.h"
#include "data/database/ground.h"
#include "data/database/item.h"
#include "data/database/mon_group.h"
#include "data/database/monster.h"
#include "data/database/status.h"
#include "data/database/vocabulary.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/battle_world_fixture.h"
#include "game/enemies/monster.h"
#include "game/interpreter/battle_scripter.h"
#include "game/interpreter/scripter.h"
#include "game/party/party_info.h"
#include "graphics/graphics_files.h"
#include "scenes/battle/battle_scene.h"
#include "scenes/field/field_fixture.h"
#include "scenes/game_main.h"
#include "scenes/windows/message_window.h"
#include "support/scripted_random.h"

#include "platform/headless/headless_platform.h"

namespace battle_test {

class BattleSceneTest : public field_test::FieldTest {
protected:
    BattleSceneTest() {
        SetRandomSource(&dice);
        SetGraphicsFileFinder([](const std::string&, const std::string&) { return std::string(); });
        for (int32_t id = 1; id <= 3; ++id)
            lcf_builder::LoadRecord(*DbPlayer->GetOrCreate(id),
                                    battle_world::Chunks()
                                        .Str(1, "Hero" + std::to_string(id))
                                        .Data(31, battle_world::FlatCurves(100, 20, 30, 20, 10, 30))
                                        .End());
        TLcfMonsterItem* slime = DbMonster->GetOrCreate(1);
        slime->name = "Slime";
        slime->maxHp = 40;
        slime->agility = 30;
        DbStatus->SetCount(1);
        DbStatus->Find(1)->restriction = TLcfStatusItem::kCannotAct;  // death
        DbItem->SetCount(2);
        Group(1, {false, false});
        DbBattle->layoutStyle = 0;
        DbBattle->commands.SetCount(5);
        for (int32_t id = 1; id <= 5; ++id) DbBattle->commands.FindCommand(id)->name = "Cmd" + std::to_string(id);
        DbBattle->commands.FindCommand(5)->kind = 5;
        players = std::make_unique<TLcfgPlayer>();
        GamePlayers = players.get();
        partyInfo = std::make_unique<TLcfgPartyInfo>();
        GamePartyInfo = partyInfo.get();
        GameMonsters = &troop;
        GameBattleScripter = &battleScripter;
        GameMessageWindow = &messageWindow;
        GameMessagePool = &messagePool;
        GamePartyInfo->AddMember(1);
        GamePartyInfo->AddMember(2);
        battle = std::make_unique<TLcfBattleScene>();
        BattleScene = battle.get();
        system->scene = kSceneBattle;
        battle->setup.troopId = 1;
    }
    ~BattleSceneTest() override {
        BattleScene = nullptr;
        battle.reset();
        GameMessageWindow = nullptr;
        GameMessagePool = nullptr;
        GameBattleScripter = nullptr;
        GameMonsters = nullptr;
        GamePartyInfo = nullptr;
        GamePlayers = nullptr;
        SetGraphicsFileFinder(nullptr);
        SetRandomSource(nullptr);
    }

    // A troop of slimes in a row, each hidden or not.
    static void Group(int32_t id, std::vector<bool> hidden) {
        std::vector<battle_world::TroopEntry> entries;
        for (size_t i = 0; i < hidden.size(); ++i) entries.push_back({1, 100 + 60 * int32_t(i), 100, hidden[i]});
        battle_world::MakeTroop(id, entries);
    }
    // Page `id` of troop 1 with conditions `flags` and the given lines.
    static TLcfBattleEventTrigger& TroopPage(int32_t id, uint16_t flags, lcf_builder::Script& script) {
        TLcfBattleEventPageItem* page = DbMonGroup->Find(1)->pages.GetOrCreate(id);
        page->trigger.SetFlags(flags);
        page->script.Assign(script.Line(0).List());
        return page->trigger;
    }
    // Runs `f`; true when it ended the battle.
    static bool Ends(const std::function<void()>& f) {
        try {
            f();
        } catch (const ELcfBattleEnd&) {
            return true;
        }
        return false;
    }
    // Update frames until the battle ends or `limit` frames passed;
    // answers the frames run.
    int RunUntilEnd(int limit) {
        for (int i = 0; i < limit; ++i) {
            battle->Update();
            if (system->scene != kSceneBattle) return i + 1;
        }
        return limit;
    }
    TLcfgPlayerItem& Member(int slot) { return *GamePartyInfo->Member(slot); }

    testing_support::ScriptedRandom dice{7};
    std::unique_ptr<TLcfgPlayer> players;
    std::unique_ptr<TLcfgPartyInfo> partyInfo;
    TLcfgMonster troop;
    TLcfgBattleScripter battleScripter;
    TLcfMessageWindow messageWindow;
    TLcfMessagePool messagePool;
    std::unique_ptr<TLcfBattleScene> battle;
};

}  // namespace battle_test
