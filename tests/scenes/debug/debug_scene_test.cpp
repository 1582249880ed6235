// The debug scene on the demo through the harness, opened with F9 in test
// play: turning pages across the switch and variable tables, turning a
// switch, editing a variable digit by digit, and opening cleanly again after
// a soft reset in the middle of an edit.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "data/database/database.h"
#include "data/database/switch_variable.h"
#include "game/system/game_system.h"
#include "scenes/debug/debug_scene.h"
#include "scenes/harness/harness.h"
#include "support/demo_game.h"
#include "support/driver_steps.h"
#include "support/test_paths.h"

namespace {

using testing_support::DriverSteps;

class DebugSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::WriteDemoGame(dir_.path())) GTEST_SKIP() << "mkdemo was not built";
    }
    THarnessResult Run(DriverSteps& steps, int frames = 1500) {
        THarnessOptions o;
        o.gameFolder = dir_.path().string();
        o.words = {"TestPlay", "HideTitle"};
        o.frames = frames;
        o.driver = steps.AsDriver();
        return RunHarness(o);
    }
    // F9 on the field, until the scene is up.
    static DriverSteps& OpenDebug(DriverSteps& steps) {
        steps.Settle(DriverSteps::FieldShown).Press("f9");
        return steps.WaitUntil([] { return GameSystem->scene == kSceneDebug && DebugScene->Started(); });
    }
    static std::string Where() {
        return std::string(DebugScene->mode == TDebugMode::Switches ? "S" : "V") + " " +
               std::to_string(DebugScene->switchPosition) + " " + std::to_string(DebugScene->variablePosition);
    }

    testing_support::TempDir dir_;
};

}  // namespace

TEST_F(DebugSceneTest, PagesRunThroughTheSwitchGroupsIntoTheVariablesOnTheSameRowAndBack) {
    DriverSteps steps;
    std::vector<std::string> seen;
    int32_t idOnBlankRow = -1, idOnLastRow = 0;
    bool switchAfterBlankDecision = true;
    steps.NewGame().Do([] { DbSwitch->SetCount(250); });
    OpenDebug(steps).Press("down").Press("down").Do([&] { seen.push_back(Where()); });
    for (int i = 0; i < 3; ++i) steps.Press("right").Do([&] { seen.push_back(Where()); });
    steps.Press("left").Do([&] { seen.push_back(Where()); });
    // Row 4 of group 2 holds 241-250, row 5 nothing: it cannot be chosen.
    steps.Press("down").Press("down").Do([&] {
        seen.push_back(Where());
        idOnLastRow = DebugScene->RightWindow().IdAt(9);
    });
    steps.Press("down").Press("decision").Press("decision").Do([&] {
        idOnBlankRow = DebugScene->RightWindow().IdAt(0);
        switchAfterBlankDecision = GameSystem->GetSwitch(251);
    });
    Run(steps);
    ASSERT_TRUE(steps.Done()) << steps.Left() << " steps left";
    // Switch position, variable position: group × 10 + row.
    EXPECT_EQ(seen, (std::vector<std::string>{"S 2 0", "S 12 0", "S 22 0", "V 22 2", "S 22 2", "S 24 2"}));
    EXPECT_EQ(idOnLastRow, 250);
    EXPECT_EQ(idOnBlankRow, 0);
    EXPECT_FALSE(switchAfterBlankDecision);
}

TEST_F(DebugSceneTest, ASwitchTurnsAndAVariableIsEditedDigitByDigitWithItsSign) {
    DriverSteps steps;
    bool switchOn = false;
    std::vector<std::string> texts;
    int32_t stored = 0, afterCancel = 0, clampedShown = 0, clampedStored = 0;
    int sceneAfterLeave = -1, rightRowKept = -1;
    steps.NewGame().Do([] {
        GameSystem->SetVariable(1, 9);
        GameSystem->SetVariable(2, INT_MIN);
        GameSystem->SetSwitch(1, false);
    });
    OpenDebug(steps).Press("decision").Press("decision").Do([&] { switchOn = GameSystem->GetSwitch(1); });
    // To the variables (left from group 0 wraps to their last group, row 0).
    steps.Press("cancel").Press("left").Press("decision").Press("decision");
    auto text = [&] { texts.push_back(DebugScene->ValueWindow().Text()); };
    steps.Do(text).Press("up").Do(text).Press("down").Do(text);
    for (int i = 0; i < 7; ++i) steps.Press("left");
    // The sign cell negates; left of it there is nothing.
    steps.Press("up").Do(text).Press("left").Press("right").Press("up").Do(text);
    steps.Press("decision").Do([&] { stored = GameSystem->GetVariable(1); });
    // A cancelled edit stores nothing.
    steps.Press("decision").Press("up").Press("cancel").Do([&] { afterCancel = GameSystem->GetVariable(1); });
    // Beyond seven digits: shown, and stored on a confirm, within them.
    steps.Press("down").Press("decision").Do([&] { clampedShown = DebugScene->ValueWindow().Value(); });
    steps.Press("decision").Do([&] { clampedStored = GameSystem->GetVariable(2); });
    steps.Press("cancel").Press("cancel").Wait(2).Do([&] {
        sceneAfterLeave = GameSystem->scene;
        rightRowKept = DebugScene->rightCursor;
    });
    Run(steps);
    ASSERT_TRUE(steps.Done()) << steps.Left() << " steps left";
    EXPECT_TRUE(switchOn);
    EXPECT_EQ(texts, (std::vector<std::string>{"+0000009", "+0000000", "+0000009", "-0000009", "-1000009"}));
    EXPECT_EQ(stored, -1000009);
    EXPECT_EQ(afterCancel, -1000009);
    EXPECT_EQ(clampedShown, -9999999);
    EXPECT_EQ(clampedStored, -9999999);
    EXPECT_EQ(sceneAfterLeave, kSceneField);
    EXPECT_EQ(rightRowKept, 1);
}

TEST_F(DebugSceneTest, AfterASoftResetInTheMiddleOfAnEditF9OpensCleanlyWhereItWas) {
    DriverSteps steps;
    bool valueOpenBefore = false, valueOpenAfter = true, leftActive = false, rightActive = true;
    std::string whereBefore, whereAfter;
    steps.NewGame();
    OpenDebug(steps).Press("left").Press("decision").Press("decision").Do([&] {
        valueOpenBefore = DebugScene->ValueWindow().IsVisible();
        whereBefore = Where();
    });
    steps.Press("f12").NewGame();
    OpenDebug(steps).Wait(3).Do([&] {
        valueOpenAfter = DebugScene->ValueWindow().IsVisible();
        leftActive = DebugScene->LeftWindow().Active();
        rightActive = DebugScene->RightWindow().Active();
        whereAfter = Where();
    });
    // Keys work again: down moves the page.
    std::string moved;
    steps.Press("down").Do([&] { moved = Where(); });
    Run(steps);
    ASSERT_TRUE(steps.Done()) << steps.Left() << " steps left";
    EXPECT_TRUE(valueOpenBefore);
    EXPECT_FALSE(valueOpenAfter);
    EXPECT_TRUE(leftActive);
    EXPECT_FALSE(rightActive);
    EXPECT_EQ(whereAfter, whereBefore);
    EXPECT_EQ(moved, "V 0 1");
}
