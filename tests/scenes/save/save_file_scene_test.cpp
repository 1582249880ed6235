// The save and load screen on the demo through the harness: where the
// cursor starts, how the list glides, where each way out leads, and slots
// that cannot be read or loaded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "data/database/event_script.h"
#include "game/actors/player_item.h"
#include "game/interpreter/scripter.h"
#include "game/party/party_info.h"
#include "game/save/save_clock.h"
#include "game/save/save_data.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "scenes/harness/harness.h"
#include "scenes/save/save_file_scene.h"
#include "scenes/windows/message_window.h"
#include "support/demo_game.h"
#include "support/driver_steps.h"
#include "support/test_paths.h"

namespace {

using testing_support::DriverSteps;

class SaveScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::WriteDemoGame(dir_.path())) GTEST_SKIP() << "mkdemo was not built";
    }
    void TearDown() override { SetSaveClock(nullptr); }

    THarnessResult Run(DriverSteps& steps, int frames = 1500) {
        THarnessOptions o;
        o.gameFolder = dir_.path().string();
        o.words = {"TestPlay", "HideTitle"};
        o.frames = frames;
        o.driver = steps.AsDriver();
        return RunHarness(o);
    }
    // Saves of a new game into the slots at the given times (days).
    void SaveNewGame(std::vector<std::pair<int, double>> slots) {
        DriverSteps steps;
        steps.NewGame().Do([&] {
            for (auto [slot, time] : slots) {
                SetSaveClock([time] { return time; });
                EXPECT_TRUE(GameSaveData->Save(slot));
            }
            SetSaveClock(nullptr);
        });
        Run(steps);
        ASSERT_TRUE(steps.Done());
    }
    // The screen is up and faded in, ready for keys.
    static bool ScreenReady() {
        return GameSystem->scene == kSceneSave && SaveFileScene->Started() && GameDraw->Board().Brightness == 100;
    }
    // The script's save command, run by the map's interpreter once it is
    // free.
    static DriverSteps& SaveCommand(DriverSteps& steps) {
        // Boxes the opening shows are closed first.
        auto frame = std::make_shared<int>(0);
        steps.Then([frame](std::vector<std::string>& hold) {
            if (GameMessageWindow && GameMessageWindow->IsVisible()) {
                if (++*frame % 4 == 0) hold.push_back("decision");
                return false;
            }
            return !GameScripter->IsRunning();
        });
        steps.Do([] {
            static const TLcfEventScriptList script = [] {
                TLcfEventScriptList list;
                list.Add(TLcfEventScriptLine(11910, 0));
                list.Add(TLcfEventScriptLine(0, 0));
                return list;
            }();
            GameScripter->Start(0, script);
        });
        return steps.Settle(ScreenReady);
    }
    static void OpenForSaving(bool fromMenu, int32_t lastSlot = 1) {
        GameSystem->lastSaveSlot = lastSlot;
        SaveFileScene->saveMode = true;
        SaveFileScene->fromMenu = fromMenu;
        GameSystem->scene = kSceneSave;
    }
    // From the title: continue, into the load screen.
    static DriverSteps& Continue(DriverSteps& steps) {
        steps.Settle(DriverSteps::TitleReady);
        steps.Press("down").Press("decision");
        return steps.Settle(ScreenReady);
    }
    std::filesystem::path SlotFile(int slot) const {
        char name[16];
        std::snprintf(name, sizeof name, "Save%.2d.lsd", slot);
        return dir_.path() / name;
    }

    testing_support::TempDir dir_;
};

}  // namespace

TEST_F(SaveScreen, LoadListStartsOnTheNewestSaveGreysEmptyAndUnreadableSlotsAndCancelsToTheTitle) {
    // Slot 9 is written first but is the newer.
    SaveNewGame({{9, 45000.5}, {4, 45000.25}});
    { std::ofstream(SlotFile(5), std::ios::binary) << "LcfSaveData garbage"; }

    DriverSteps steps;
    int cursor = 0, top = 0;
    bool held4 = false, held5 = true, held9 = false;
    int sceneAfterEmpty = -1, sceneAfterCancel = -1;
    Continue(steps).Do([&] {
        cursor = SaveFileScene->CursorSlot();
        top = SaveFileScene->TopSlot();
        held4 = SaveFileScene->SlotWindow(4).HoldsSave();
        held5 = SaveFileScene->SlotWindow(5).HoldsSave();
        held9 = SaveFileScene->SlotWindow(9).HoldsSave();
    });
    // Slot 8 is empty: the buzzer, and the list stays.
    steps.Press("up").Press("decision").Wait(2).Do([&] { sceneAfterEmpty = GameSystem->scene; });
    steps.Press("cancel").WaitUntil([] { return GameSystem->scene != kSceneSave; }).Do([&] {
        sceneAfterCancel = GameSystem->scene;
    });
    Run(steps);
    ASSERT_TRUE(steps.Done()) << steps.Left() << " steps left";
    EXPECT_EQ(cursor, 9);
    EXPECT_EQ(top, 7);
    EXPECT_TRUE(held4);
    EXPECT_FALSE(held5);
    EXPECT_TRUE(held9);
    EXPECT_EQ(sceneAfterEmpty, kSceneSave);
    EXPECT_EQ(sceneAfterCancel, kSceneTitle);
}

TEST_F(SaveScreen, TheListGlidesOneSlotInEightFramesAndTheSavedFileHoldsTheNewSlotAndCount) {
    DriverSteps steps;
    int cursor = 0, topBefore = 0, topAfter = 0, cursorAfterGlide = 0;
    int32_t countBefore = -1;
    std::vector<int32_t> offsets;
    steps.NewGame().Do([&] {
        countBefore = GameSystem->saveCount;
        GameSystem->lastSaveSlot = 3;
    });
    SaveCommand(steps).Do([&] {
        cursor = SaveFileScene->CursorSlot();
        topBefore = SaveFileScene->TopSlot();
    });
    // Down once; a second down while the list moves is not taken.
    steps.Then([&](std::vector<std::string>& hold) {
        hold.push_back("down");
        return true;
    });
    steps.Then([&](std::vector<std::string>& hold) {
        offsets.push_back(SaveFileScene->ScrollOffset());
        if (offsets.size() == 3) hold.push_back("down");
        return SaveFileScene->ScrollOffset() == 0 && offsets.size() > 1;
    });
    steps.Do([&] {
        topAfter = SaveFileScene->TopSlot();
        cursorAfterGlide = SaveFileScene->CursorSlot();
    });
    steps.Wait(2).Press("decision").Settle(DriverSteps::FieldShown);
    int32_t slotInFile = 0, countInFile = 0;
    steps.Do([&] {
        ASSERT_TRUE(GameSaveData->Load(4));
        slotInFile = GameSystem->lastSaveSlot;
        countInFile = GameSystem->saveCount;
    });
    Run(steps);
    ASSERT_TRUE(steps.Done()) << steps.Left() << " steps left";
    EXPECT_EQ(cursor, 3);
    EXPECT_EQ(topBefore, 1);
    EXPECT_EQ(topAfter, 2);
    EXPECT_EQ(cursorAfterGlide, 4);
    // Seen after each frame's update: -64 set, then 8 pixels a frame.
    ASSERT_FALSE(offsets.empty());
    EXPECT_EQ(offsets.front(), -64);
    EXPECT_EQ(offsets, (std::vector<int32_t>{-64, -56, -48, -40, -32, -24, -16, -8, 0}));
    EXPECT_EQ(slotInFile, 4);
    EXPECT_EQ(countInFile, countBefore + 1);
}

TEST_F(SaveScreen, CancelGoesBackToTheFieldOrTheMenuByWhoOpenedIt) {
    // The menu's scene is watched by a probe for part of the run.
    struct Probe : TLcfScene {
        void Update() override {
            ++visits;
            GameSystem->scene = kSceneField;
        }
        void Draw() override {}
        int visits = 0;
    } probe;
    TLcfScene* menu = nullptr;
    int sceneFromScript = -1;
    DriverSteps steps;
    steps.NewGame();
    SaveCommand(steps).Press("cancel").WaitUntil([] { return GameSystem->scene != kSceneSave; }).Do([&] {
        sceneFromScript = GameSystem->scene;
    });
    steps.Settle(DriverSteps::FieldShown).Do([&] {
        menu = MenuScene;
        MenuScene = &probe;
        OpenForSaving(true);
    });
    steps.Settle(ScreenReady).Press("cancel").WaitUntil([&] { return probe.visits > 0; }).Do([&] {
        MenuScene = menu;
    });
    Run(steps);
    if (menu) MenuScene = menu;
    ASSERT_TRUE(steps.Done()) << steps.Left() << " steps left";
    EXPECT_EQ(sceneFromScript, kSceneField);
    EXPECT_EQ(probe.visits, 1);
}

TEST_F(SaveScreen, ASlotNumberFromTheFileOutsideTheListStartsOnTheLastSlot) {
    DriverSteps steps;
    int cursor = 0, top = 0;
    steps.NewGame().Do([] { OpenForSaving(false, 99); }).Settle(ScreenReady).Do([&] {
        cursor = SaveFileScene->CursorSlot();
        top = SaveFileScene->TopSlot();
    });
    Run(steps);
    ASSERT_TRUE(steps.Done());
    EXPECT_EQ(cursor, 15);
    EXPECT_EQ(top, 13);
}

TEST_F(SaveScreen, AFaceThatIsMissingShowsNoFaceAndAnIndexPastTheImageTakesItsLastCell) {
    DriverSteps steps;
    steps.NewGame().Do([] {
        TLcfgPlayerItem* leader = GamePartyInfo->Member(0);
        ASSERT_NE(leader, nullptr);
        const std::string face = leader->FaceName();
        ASSERT_FALSE(face.empty());
        leader->SetFace("NoSuchFace", 0);
        EXPECT_TRUE(GameSaveData->Save(2));
        leader->SetFace(face, 1000);
        EXPECT_TRUE(GameSaveData->Save(3));
    });
    steps.Press("f12");
    bool held2 = false, face2 = true, face3 = false;
    Continue(steps).Do([&] {
        held2 = SaveFileScene->SlotWindow(2).HoldsSave();
        face2 = SaveFileScene->SlotWindow(2).Face(0).Width() > 0;
        face3 = SaveFileScene->SlotWindow(3).Face(0).Width() > 0;
    });
    THarnessResult r = Run(steps);
    ASSERT_TRUE(steps.Done()) << r.summary;
    EXPECT_TRUE(r.messageBoxes.empty());
    EXPECT_TRUE(held2);
    EXPECT_FALSE(face2);
    EXPECT_TRUE(face3);
}

TEST_F(SaveScreen, AVanishedSaveReopensTheListAndOneThatCannotLoadEndsTheProgram) {
    SaveNewGame({{6, 45000.0}});
    DriverSteps steps;
    bool listed = false, listedAgain = true;
    int cursorAgain = 0;
    Continue(steps).Do([&] {
        listed = SaveFileScene->SlotWindow(6).HoldsSave();
        std::filesystem::remove(SlotFile(6));
    });
    steps.Press("decision").WaitUntil([] { return !SaveFileScene->Started(); }).Settle(ScreenReady).Do([&] {
        cursorAgain = SaveFileScene->CursorSlot();
        listedAgain = SaveFileScene->SlotWindow(6).HoldsSave();
    });
    THarnessResult r = Run(steps);
    ASSERT_TRUE(steps.Done()) << steps.Left() << " steps left\n" << r.summary;
    EXPECT_TRUE(listed);
    EXPECT_EQ(cursorAgain, 6);
    EXPECT_FALSE(listedAgain);
    EXPECT_EQ(r.sceneNumber, kSceneSave);
    EXPECT_TRUE(r.messageBoxes.empty());

    // A save whose map file is gone, and one whose party stands on no map
    // (as a battle test leaves it): the error ends the program, never a
    // field without a map.
    int32_t mapId = 0;
    DriverSteps saving;
    saving.NewGame().Do([&] {
        mapId = GameParty->mapId;
        SetSaveClock([] { return 45001.0; });
        EXPECT_TRUE(GameSaveData->Save(6));
        GameParty->mapId = 0;
        SetSaveClock([] { return 45000.0; });
        EXPECT_TRUE(GameSaveData->Save(7));
        SetSaveClock(nullptr);
    });
    Run(saving);
    ASSERT_TRUE(saving.Done());
    char mapFile[16];
    std::snprintf(mapFile, sizeof mapFile, "Map%.4d.lmu", mapId);
    ASSERT_TRUE(std::filesystem::remove(dir_.path() / mapFile));
    // The newer slot 6 is chosen first; then, without it, slot 7.
    for (int slot : {6, 7}) {
        if (slot == 7) std::filesystem::remove(SlotFile(6));
        DriverSteps steps;
        int cursor = 0;
        Continue(steps).Do([&] { cursor = SaveFileScene->CursorSlot(); });
        steps.Press("decision").WaitUntil([] { return false; });
        THarnessResult r = Run(steps);
        EXPECT_EQ(cursor, slot);
        EXPECT_NE(r.exitCode, 0) << "slot " << slot << "\n" << r.summary;
        ASSERT_EQ(r.messageBoxes.size(), 1u) << "slot " << slot;
        EXPECT_TRUE(r.messageBoxes[0].isError);
        EXPECT_NE(r.messageBoxes[0].text.find(slot == 6 ? mapFile : "map that does not exist"), std::string::npos)
            << r.messageBoxes[0].text;
    }
}
