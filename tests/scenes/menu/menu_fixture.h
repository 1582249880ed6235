#pragma once
// The menu scene over a small party built in code: two heroes with flat
// parameter curves, an inventory the tests fill, the teleport list, the
// headless screen object and keys pressed one frame at a time.

#include <gtest/gtest.h>

#include <memory>

#include "data/database/item.h"
#include "data/database/skill.h"
#include "data/database/status.h"
#include "data/database/system.h"
#include "data/database/vocabulary.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/battle_world_fixture.h"
#include "game/party/party_info.h"
#include "game/teleport/teleport.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/menu/menu_scene.h"
#include "scenes/scene_fixture.h"

namespace menu_test {

using battle_world::FlatCurves;
using battle_world::U16s;
using lcf_builder::Chunks;

// Item and skill ids of the test database.
enum : int32_t {
    kPotion = 1, kSword = 2, kShield = 3, kSkillScroll = 4, kSwitchBell = 5, kWing = 6, kRoundHeal = 7,
    kPhoenix = 8, kBook = 9, kSeed = 10,
};
enum : int32_t { kHeal = 1, kHealAll = 2, kTeleportSkill = 3, kEscapeSkill = 4, kFocus = 5 };

class MenuTest : public scene_test::SceneTest {
protected:
    MenuTest() {
        DbSystem->sounds[kSoundItemUse].name = "Chime";
        DbSystem->menuCommands.Resize(8);
        const uint16_t codes[8] = {1, 2, 3, 5, 6, 7, 8, 4};
        for (int i = 0; i < 8; ++i) DbSystem->menuCommands.Set(i, codes[i]);
        DbStatus->SetCount(2);
        DbStatus->Find(1)->name = "Dead";
        DbStatus->Find(1)->persistence = 1;
        DbStatus->Find(1)->restriction = TLcfStatusItem::kCannotAct;
        DbStatus->Find(2)->name = "Sleep";
        DbStatus->Find(2)->restriction = TLcfStatusItem::kCannotAct;
        Hero(1, "Aren", 5, FlatCurves(100, 30, 20, 10, 10, 10), {kSword, 0, 0, 0, 0});
        Hero(2, "Lysa", 7, FlatCurves(80, 40, 10, 10, 20, 10), {0, 0, 0, 0, 0});
        Hero(3, "Borin", 3, FlatCurves(90, 0, 15, 15, 5, 5), {0, 0, 0, 0, 0});

        MakeItem(kPotion, "Potion", TLcfItemItem::kMedicine).hpPoints = 30;
        MakeItem(kSword, "Sword", TLcfItemItem::kWeapon).attackBonus = 5;
        MakeItem(kShield, "Shield", TLcfItemItem::kShield).defenseBonus = 4;
        TLcfItemItem& scroll = MakeItem(kSkillScroll, "Scroll", TLcfItemItem::kSkillItem);
        scroll.skillId = kFocus;
        TLcfItemItem& bell = MakeItem(kSwitchBell, "Bell", TLcfItemItem::kSwitchItem);
        bell.switchId = 9;
        TLcfItemItem& wing = MakeItem(kWing, "Wing", TLcfItemItem::kCommon);
        wing.performsSkill = 1;
        wing.skillId = kTeleportSkill;
        MakeItem(kRoundHeal, "Round", TLcfItemItem::kMedicine).hpPoints = 10;
        DbItem->Find(kRoundHeal)->scope = 1;
        TLcfItemItem& phoenix = MakeItem(kPhoenix, "Phoenix", TLcfItemItem::kMedicine);
        phoenix.hpPercent = 50;
        phoenix.fallenOnly = 1;
        phoenix.conditionSet.SetEntry(1, 1);
        MakeItem(kBook, "Book", TLcfItemItem::kSkillBook).skillId = kHealAll;
        MakeItem(kSeed, "Seed", TLcfItemItem::kSeed).parameterIncrease[2] = 3;

        MakeSkill(kHeal, "Heal", TLcfSkillItem::kOneAlly, 5).affectsHp = 1;
        DbSkill->Find(kHeal)->baseEffect = 40;
        MakeSkill(kHealAll, "HealAll", TLcfSkillItem::kAllAllies, 10).affectsHp = 1;
        DbSkill->Find(kHealAll)->baseEffect = 20;
        MakeSkill(kTeleportSkill, "Warp", TLcfSkillItem::kSelf, 8).kind = TLcfSkillItem::kTeleport;
        MakeSkill(kEscapeSkill, "Flee", TLcfSkillItem::kSelf, 4).kind = TLcfSkillItem::kEscape;
        TLcfSkillItem& focus = MakeSkill(kFocus, "Focus", TLcfSkillItem::kSelf, 6);
        focus.affectsSp = 1;
        focus.baseEffect = 12;

        DbSystem->party.Resize(2);
        DbSystem->party.Set(0, 1);
        DbSystem->party.Set(1, 2);
        MakeParty({});
        teleports.Reset();
        GameTeleports = &teleports;
        system->scene = kSceneMenu;
        menu = std::make_unique<TLcfMenuScene>();
    }
    ~MenuTest() override {
        menu.reset();
        GameTeleports = nullptr;
    }

    void Hero(int32_t id, const std::string& name, int level, const lcf_builder::Bytes& curves,
              std::initializer_list<uint16_t> equipment) {
        DbPlayer->GetOrCreate(id);
        lcf_builder::LoadRecord(*DbPlayer->Find(id), Chunks()
                                                          .Str(1, name)
                                                          .Int(7, level)
                                                          .Data(31, curves)
                                                          .Data(51, U16s(equipment))
                                                          .End());
    }
    TLcfItemItem& MakeItem(int32_t id, const std::string& name, uint8_t kind) {
        TLcfItemItem& item = *DbItem->GetOrCreate(id);
        item.name = name;
        item.kind = kind;
        item.uses = 1;
        return item;
    }
    TLcfSkillItem& MakeSkill(int32_t id, const std::string& name, uint8_t scope, int32_t cost) {
        TLcfSkillItem& skill = *DbSkill->GetOrCreate(id);
        skill.name = name;
        skill.scope = scope;
        skill.spCost = cost;
        skill.spiritInfluence = 0;
        skill.variance = 0;
        skill.battleAnimation = 0;
        return skill;
    }
    TLcfgPlayerItem& Actor(int32_t id) { return *GamePlayers->Get(id); }

    // One frame of the menu with the button newly pressed (and repeated,
    // so lists move their cursors).
    void Press(int button) {
        input->Pressed = input->Repeated = TMultiInput::Bit(button);
        menu->Update();
        input->Pressed = input->Repeated = 0;
    }
    void Frame() { menu->Update(); }
    // Opens the menu (the first frame starts it).
    void Open() {
        Frame();
        ASSERT_TRUE(menu->Started());
    }
    // Moves the command list's cursor to the row of `code` and chooses it.
    void Choose(int32_t code) {
        const auto& codes = menu->Commands().codes;
        int row = int(codes.size());
        for (size_t i = 0; i < codes.size(); ++i)
            if (codes[i] == code) row = int(i);
        menu->Commands().SetCursor(row);
        Press(TMultiInput::kDecision);
    }
    // On the item list: puts the cursor on item `id` and chooses it.
    void ChooseItem(int32_t id) {
        TLcfItemWindow& items = menu->Items();
        for (int i = 0; i < items.ItemCount(); ++i) {
            items.SetCursor(i);
            if (items.SelectedItem() == id) break;
        }
        ASSERT_EQ(items.SelectedItem(), id);
        Press(TMultiInput::kDecision);
    }

    TLcfgTeleport teleports;
    std::unique_ptr<TLcfMenuScene> menu;
};

}  // namespace menu_test
