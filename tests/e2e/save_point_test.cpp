// Saving at the demo's save crystal and playing on from the title: the
// crystal's script opens the save screen, the game goes into slot 3, F12
// quits to the title, and continue loads slot 3 with the party where it
// saved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/interpreter/scripter.h"
#include "game/save/save_data.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "media/audio/audio_cantrel.h"
#include "scenes/harness/harness.h"
#include "scenes/save/save_file_scene.h"
#include "scenes/windows/message_window.h"
#include "support/demo_game.h"
#include "support/driver_steps.h"
#include "support/test_paths.h"

namespace {

using testing_support::DriverSteps;

struct Spot {
    int map = 0, x = -1, y = -1;
    bool operator==(const Spot&) const = default;
};

std::string Text(const Spot& s) {
    return std::to_string(s.map) + ":" + std::to_string(s.x) + "," + std::to_string(s.y);
}

Spot PartySpot() { return GameParty ? Spot{GameParty->mapId, GameParty->x, GameParty->y} : Spot{}; }

// Message boxes are closed as they come; otherwise one step toward (x, y),
// up or down first, whenever the party stands still.
DriverSteps::Step WalkTo(int x, int y) {
    auto frame = std::make_shared<int>(0);
    return [x, y, frame](std::vector<std::string>& hold) {
        ++*frame;
        if (GameMessageWindow && GameMessageWindow->IsVisible()) {
            if (*frame % 4 == 0) hold.push_back("decision");
            return false;
        }
        if ((GameScripter && GameScripter->IsRunning()) || GameParty->IsMoving()) return false;
        if (GameParty->y != y) hold.push_back(GameParty->y < y ? "down" : "up");
        else if (GameParty->x != x) hold.push_back(GameParty->x < x ? "right" : "left");
        else return true;
        return false;
    };
}

// Presses decision every few frames until the scene is the one wanted
// (through the boxes the event shows on the way).
DriverSteps::Step DecideUntilScene(int scene) {
    auto frame = std::make_shared<int>(0);
    return [scene, frame](std::vector<std::string>& hold) {
        if (GameSystem->scene == scene) return true;
        if (++*frame % 4 == 0) hold.push_back("decision");
        return false;
    };
}

}  // namespace

TEST(DemoSavePoint, SaveAtTheCrystalInSlotThreeQuitAndContinueFromThere) {
    testing_support::TempDir dir;
    if (!e2e::WriteDemoGame(dir.path())) GTEST_SKIP() << "mkdemo was not built";
    const e2e::MapSpot crystal = e2e::FindEvent(dir.path(), e2e::kTownMap, "Save crystal");
    ASSERT_GE(crystal.x, 0);

    DriverSteps steps;
    Spot saved, loaded;
    int saveCursor = 0, loadCursor = 0, loadTop = 0;
    bool fileWritten = false;
    steps.NewGame();
    // Below the crystal, facing it, then talk to it.
    steps.Then(WalkTo(crystal.x, crystal.y + 1)).Press("up").Then(DecideUntilScene(kSceneSave));
    steps.Settle([] { return SaveFileScene->Started() && GameDraw->Board().Brightness == 100; });
    steps.Do([&] { saveCursor = SaveFileScene->CursorSlot(); });
    steps.Wait(4).Press("down").Wait(2).Press("down").Wait(10).Press("decision");
    std::string savedMusic, loadedMusic;
    bool musicPlaying = false;
    steps.Settle(DriverSteps::FieldShown).Do([&] {
        saved = PartySpot();
        savedMusic = GameSystem->MusicRecord(kGameMusicCurrent).name;
        fileWritten = GameSaveData->LoadHeader(3);
    });
    steps.Press("f12");
    steps.Settle(DriverSteps::TitleReady);
    steps.Press("down").Press("decision");
    steps.Settle([] {
        return GameSystem->scene == kSceneSave && SaveFileScene->Started() && GameDraw->Board().Brightness == 100;
    });
    steps.Do([&] {
        loadCursor = SaveFileScene->CursorSlot();
        loadTop = SaveFileScene->TopSlot();
    });
    // The map's music plays again, though the load screen stopped it.
    steps.Wait(4).Press("decision").Settle(DriverSteps::FieldShown).Do([&] {
        loaded = PartySpot();
        loadedMusic = GameSystem->MusicRecord(kGameMusicCurrent).name;
        musicPlaying = CantrelMusicPlaying() != 0;
    });

    THarnessOptions o;
    o.gameFolder = dir.path().string();
    o.words = {"TestPlay", "HideTitle"};
    o.frames = 4000;
    o.driver = steps.AsDriver();
    THarnessResult r = RunHarness(o);
    ASSERT_TRUE(steps.Done()) << steps.Left() << " steps left\n" << r.summary;
    EXPECT_TRUE(r.messageBoxes.empty());
    EXPECT_EQ(saveCursor, 1);
    EXPECT_TRUE(fileWritten);
    EXPECT_EQ(saved, (Spot{e2e::kTownMap, crystal.x, crystal.y + 1})) << Text(saved);
    EXPECT_EQ(loadCursor, 3);
    EXPECT_EQ(loadTop, 1);
    EXPECT_EQ(loaded, saved) << Text(loaded) << " vs " << Text(saved);
    EXPECT_EQ(r.sceneNumber, kSceneField);
    EXPECT_FALSE(savedMusic.empty());
    EXPECT_EQ(loadedMusic, savedMusic);
    EXPECT_TRUE(musicPlaying);
}
