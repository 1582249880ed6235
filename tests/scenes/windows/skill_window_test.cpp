// The skill list: a subset battle command filters by skill type, costs are
// fixed or a share of the maximum SP, and no skill is selected outside the
// list.
#include <gtest/gtest.h>

#include "data/database/battle.h"
#include "data/database/skill.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/interpreter_fixture.h"
#include "scenes/windows/skill_window.h"

class SkillWindowFixture : public interp_test::InterpreterTest {
protected:
    void Body() {
        DbPlayer->GetOrCreate(1);
        TLcfgPlayer players;
        GamePlayers = &players;
        TLcfgPlayerItem* actor = players.Get(1);
        for (int32_t id = 1; id <= 4; ++id) {
            TLcfSkillItem* s = DbSkill->GetOrCreate(id);
            s->name = "Skill" + std::to_string(id);
            s->spCost = 5;
            s->kind = uint8_t(id <= 2 ? 0 : id == 3 ? 4 : 5);
            actor->LearnSkill(id);
        }
        DbBattle->commands.GetOrCreate(1)->kind = 2;
        DbBattle->commands.GetOrCreate(2)->kind = 2;
        system->scene = kSceneBattle;
        TLcfSkillWindow w;
        w.SetupFor(1, 2);  // the second subset command: type 5
        EXPECT_TRUE(w.Filtered());
        EXPECT_EQ(w.ItemCount(), 1);
        EXPECT_EQ(w.SelectedSkill(), 4);
        EXPECT_EQ(w.CostOf(4), 5);
        EXPECT_TRUE(w.SpWindow().IsVisible());  // battle layout 0: SP beside the list
        EXPECT_EQ(w.SpWindow().Y(), 136);
        w.SetupFor(1, 3);  // no such command: the whole list
        EXPECT_FALSE(w.Filtered());
        EXPECT_EQ(w.ItemCount(), 4);
        w.ReturnTo(3, 0);
        EXPECT_EQ(w.Cursor(), 2);
        w.ReturnTo(9, 5);  // not in the list: nothing moves
        EXPECT_EQ(w.Cursor(), 2);
        EXPECT_EQ(w.TopRow(), 0);
        system->scene = kSceneMenu;
        w.SetupFor(1, 0);
        EXPECT_TRUE(w.Header().IsVisible());
        EXPECT_EQ(w.Y(), 64);
        w.SetupFor(2, 0);  // an actor that does not exist: empty
        w.SetCursor(0);
        EXPECT_EQ(w.SelectedSkill(), 0);
        w.CloseNow();
        EXPECT_FALSE(w.SpWindow().IsVisible());
        GamePlayers = nullptr;
    }
};

TEST_F(SkillWindowFixture, ASubsetCommandFiltersByTypeAndAnEmptyListSelectsNothing) { Body(); }
