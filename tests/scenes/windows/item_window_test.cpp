// The item list over the party's inventory: items, the help line with its
// narrow blanks, and an empty list that answers no item.
#include <gtest/gtest.h>

#include "data/database/item.h"
#include "game/interpreter_fixture.h"
#include "game/party/party_info.h"
#include "scenes/windows/item_window.h"

namespace {

class ItemWindowTest : public interp_test::InterpreterTest {
protected:
    ItemWindowTest() {
        system->scene = kSceneMenu;
        GamePartyInfo = &partyInfo;
    }
    ~ItemWindowTest() override { GamePartyInfo = nullptr; }
    TLcfgPartyInfo partyInfo;
    TLcfItemWindow w;
};

}  // namespace

TEST_F(ItemWindowTest, ListsTheInventoryWithHelpAndAnEmptyListSelectsNothing) {
    w.SetupFor(0);
    EXPECT_EQ(w.ItemCount(), 0);
    EXPECT_EQ(w.Cursor(), 0);
    w.SetCursor(0);
    EXPECT_EQ(w.Cursor(), -1);  // no cursor in an empty list
    EXPECT_EQ(w.SelectedItem(), 0);
    EXPECT_FALSE(w.IsSelectable(5));

    for (int32_t id = 1; id <= 3; ++id) {
        TLcfItemItem* item = DbItem->GetOrCreate(id);
        item->name = "Item" + std::to_string(id);
        item->description = "Heals a bit";
    }
    partyInfo.GainItem(2, 3);
    partyInfo.GainItem(3, 1);
    w.SetupFor(0);
    EXPECT_EQ(w.ItemCount(), 2);
    EXPECT_EQ(w.SelectedItem(), partyInfo.ItemIdAt(0));
    EXPECT_TRUE(w.IsSelectable(w.SelectedItem()));
    EXPECT_EQ(w.Help().Text(), "Heals\x01" "a\x01" "bit");
    w.CloseNow();
    EXPECT_EQ(w.Help().Text(), "");
    EXPECT_FALSE(w.Help().IsVisible());
}
