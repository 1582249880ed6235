// Name entry from the script line that opens it: moving over the grid and
// its empty cells, the length limits, cancel, confirming, and the view's
// two-byte cells.
#include <gtest/gtest.h>

#include "game/actors/player.h"
#include "scenes/game_main.h"
#include "scenes/name/name_command.h"
#include "scenes/name/name_scene.h"
#include "scenes/scene_fixture.h"

using lcf_builder::Script;

namespace {

using Grid = TLcfNameInputWindow;
constexpr int32_t kInputName = 10740;

class NameTest : public scene_test::SceneTest {
protected:
    NameTest() {
        NameScene = &names;
        RegisterNameCommand();
        DbPlayer->GetOrCreate(1)->name = "Aren";
        MakeParty({});
        system->scene = kSceneField;
    }
    ~NameTest() override {
        names.Reset();
        NameScene = nullptr;
    }
    void Open(int32_t page, int32_t keep) {
        scripter->Start(1, Script().Line(kInputName, 0, "", {1, page, keep}).Line(0).List());
        scripter->Update();
        ASSERT_EQ(system->scene, kSceneName);
        names.Update();
        ASSERT_TRUE(names.Started());
    }
    void Press(int button) {
        input->Pressed = input->Repeated = TMultiInput::Bit(button);
        names.Update();
        input->Pressed = input->Repeated = 0;
    }
    // Decision on the cell (column, row) of the page shown.
    void Pick(int column, int row) {
        names.Grid().MoveTo(column, row);
        Press(TMultiInput::kDecision);
    }
    const std::string& Name() { return names.View().Text(); }

    TLcfNameScene names;
};

}  // namespace

TEST_F(NameTest, TheCursorStepsOverEmptyCellsAndWidensOnControlCells) {
    Open(0, 0);
    Grid& g = names.Grid();
    EXPECT_EQ(g.Page(), 0);
    EXPECT_EQ(Grid::Cell(0, 0, 0), "A");
    EXPECT_EQ(Grid::Cell(1, 0, 5), "$F");
    EXPECT_EQ(Grid::Cell(0, 8, 7), "");
    g.MoveTo(7, 7);
    Press(TMultiInput::kDown);  // (7, 8) is empty: back to the page cell
    EXPECT_EQ(g.Column(), Grid::kPageColumn);
    EXPECT_EQ(g.Row(), Grid::kControlRow);
    EXPECT_EQ(g.itemWidth, 36);
    EXPECT_EQ(Sounds("Cursor"), 1);
    Press(TMultiInput::kRight);  // over 7 to confirm
    EXPECT_EQ(g.Column(), Grid::kConfirmColumn);
    Press(TMultiInput::kRight);  // over 9, round to 0
    EXPECT_EQ(g.Column(), 0);
    EXPECT_EQ(g.itemWidth, 12);
    EXPECT_EQ(g.leftMargin, 8);
    Press(TMultiInput::kLeft);  // round to 9, over it to confirm
    EXPECT_EQ(g.Column(), Grid::kConfirmColumn);
    EXPECT_EQ(g.leftMargin, 24 * 8 + 14);
    EXPECT_EQ(g.topMargin, 16 * 8 + 8);
    Press(TMultiInput::kDown);  // rows wrap
    EXPECT_EQ(g.Row(), 0);
    // The page cell flips the page.
    Pick(Grid::kPageColumn, Grid::kControlRow);
    EXPECT_EQ(g.Page(), 1);
    EXPECT_EQ(Name(), "");
}

TEST_F(NameTest, NamesStopAtTwelveBytesAndTheCursorJumpsToConfirm) {
    Open(0, 0);
    for (int i = 0; i < 11; ++i) Pick(0, 0);
    EXPECT_EQ(Name(), std::string(11, 'A'));
    Pick(1, 0);  // over 10 bytes: refused
    EXPECT_EQ(Sounds("Buzzer"), 1);
    EXPECT_EQ(Name(), std::string(11, 'A'));
    // Six two-byte cells: the view's cursor sits past the last full one.
    EXPECT_EQ(names.View().leftMargin, 5 * 16 + 48);

    Press(TMultiInput::kCancel);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(Name(), std::string(7, 'A'));
    EXPECT_EQ(names.View().leftMargin, 3 * 16 + 48);
    // Two two-byte symbols bring it to exactly 12 bytes.
    Pick(Grid::kPageColumn, Grid::kControlRow);
    Pick(0, 0);
    Pick(5, 0);
    Pick(6, 0);
    EXPECT_EQ(Name(), std::string(7, 'A') + "!$F$G");
    EXPECT_EQ(names.Grid().Column(), Grid::kConfirmColumn);
    EXPECT_EQ(names.Grid().Row(), Grid::kControlRow);
    EXPECT_EQ(names.View().leftMargin, 6 * 16 + 48);
}

TEST_F(NameTest, CancelTakesTwoBytesButNeverHalfACharacter) {
    EXPECT_EQ(NameAfterCancel(""), "");
    EXPECT_EQ(NameAfterCancel("A"), "A");
    EXPECT_EQ(NameAfterCancel("AB"), "");
    EXPECT_EQ(NameAfterCancel("ABC"), "A");
    EXPECT_EQ(NameAfterCancel("A$F"), "A");
    EXPECT_EQ(NameAfterCancel("$FA"), "");  // not a lone "$"
    EXPECT_EQ(NameAfterCancel("$F$GA"), "$F");

    // The view shows two bytes a cell; a symbol across a cell border is
    // drawn whole, and nothing past 12 bytes.
    using Cells = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(TLcfNameViewWindow::Layout("AB$F"), (Cells{{48, "A"}, {54, "B"}, {64, "$F"}}));
    EXPECT_EQ(TLcfNameViewWindow::Layout("A$FB"), (Cells{{48, "A"}, {54, "$F"}, {70, "B"}}));
    EXPECT_EQ(TLcfNameViewWindow::Layout("ABCDEFGHIJK$F").back(), (std::pair<int32_t, std::string>{128, "K"}));

    Open(0, 0);
    Pick(0, 0);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(Name(), "A");
    Pick(1, 0);
    Press(TMultiInput::kCancel);
    EXPECT_EQ(Name(), "");
    EXPECT_EQ(Sounds("Cancel"), 2);
}

TEST_F(NameTest, ConfirmingAnEmptyNameFillsInTheCurrentOneAndConfirmingAgainStoresIt) {
    Open(1, 0);
    EXPECT_EQ(names.Grid().Page(), 1);
    Pick(Grid::kConfirmColumn, Grid::kControlRow);
    EXPECT_TRUE(names.Started());
    EXPECT_EQ(Name(), "Aren");
    Press(TMultiInput::kCancel);
    Press(TMultiInput::kDecision);
    EXPECT_FALSE(names.Started());
    EXPECT_EQ(system->scene, kSceneField);
    EXPECT_EQ(GamePlayers->Get(1)->GetName(), "Ar");
}

TEST_F(NameTest, KeepingTheNameStartsFromItAndTheStartPageIsRead) {
    GamePlayers->Get(1)->SetName("Zed");
    Open(0, 1);
    EXPECT_EQ(Name(), "Zed");
    EXPECT_EQ(names.View().leftMargin, 1 * 16 + 48);
    Pick(0, 1);  // "F"
    Pick(Grid::kConfirmColumn, Grid::kControlRow);
    EXPECT_EQ(GamePlayers->Get(1)->GetName(), "ZedF");

    // A kept name longer than the view shows: the cursor waits past it.
    GamePlayers->Get(1)->SetName("Fourteen Bytes");
    Open(0, 1);
    EXPECT_EQ(names.View().leftMargin, 7 * 16 + 48);
}
