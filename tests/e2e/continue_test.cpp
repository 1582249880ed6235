// A game saved on the demo's start map and loaded again in a new run of the
// program: the party, the map's events and the vehicles stand where they
// were, the map is set up from its file, and the game plays on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/map/map.h"
#include "game/interpreter/scripter.h"
#include "game/map/game_map.h"
#include "game/save/save_data.h"
#include "game/system/game_system.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"
#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "scenes/title/title_scene.h"
#include "scenes/windows/message_window.h"
#include "support/demo_game.h"

namespace {

// Where every character of the current map stands, one line each.
std::string Places() {
    std::string s;
    if (!GameMap || !GameParty) return s;
    s += "map " + std::to_string(GameParty->mapId) + "\n";
    for (int i = 0; i < GameMap->CharacterCount(); ++i) {
        const TLcfgCharacter* c = GameMap->CharacterByIndex(i);
        s += std::to_string(c->Id()) + " " + std::to_string(c->x) + "," + std::to_string(c->y) + " d" +
             std::to_string(int(c->direction)) + "\n";
    }
    if (GameBoat) s += "boat " + std::to_string(GameBoat->mapId) + " " + std::to_string(GameBoat->x) + "\n";
    return s;
}

class DemoContinue : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::WriteDemoGame(dir_.path())) GTEST_SKIP() << "mkdemo was not built";
    }
    testing_support::TempDir dir_;
};

}  // namespace

TEST_F(DemoContinue, ASavedGameLoadsOntoItsMapWithEveryoneInPlace) {
    // Run 1: new game, the opening messages closed, a few steps, a save.
    std::string saved;
    int walked = 0;
    THarnessOptions first;
    first.gameFolder = dir_.path().string();
    first.words = {"TestPlay"};
    first.frames = 1500;
    first.saveSlot = 1;
    first.driver = [&](int frame, const platform::CapturedFrame*, std::vector<std::string>& hold) {
        if (!GameSystem) return true;
        if (GameSystem->scene == 6) {
            if (TitleScene && TitleScene->Started() && TitleScene->Window().IsOpen() && frame % 4 == 0)
                hold.push_back("decision");
            return true;
        }
        if (GameSystem->scene != 0 || !GameParty) return true;
        if (GameMessageWindow && GameMessageWindow->IsVisible()) {
            if (frame % 4 == 0) hold.push_back("decision");
            return true;
        }
        // Once the opening has played out: up, then left, then a while
        // standing so the town's walkers move on.
        if (GameScripter && GameScripter->IsRunning()) return true;
        ++walked;
        if (walked > 30 && walked <= 70) hold.push_back("up");
        else if (walked > 70 && walked <= 100) hold.push_back("left");
        return walked < 220;
    };
    first.inspect = [&] { saved = Places(); };
    THarnessResult one = RunHarness(first);
    ASSERT_TRUE(one.saved) << one.summary;
    ASSERT_EQ(one.sceneNumber, 0) << one.summary;
    ASSERT_FALSE(saved.empty());
    EXPECT_NE(one.y, 18) << one.summary;  // the party walked

    // Run 2: from the title, the slot loaded as the load screen does.
    std::string loaded, mapFile;
    bool done = false;
    THarnessOptions second;
    second.gameFolder = dir_.path().string();
    second.words = {"TestPlay"};
    second.frames = 900;
    second.driver = [&](int, const platform::CapturedFrame*, std::vector<std::string>&) {
        if (done || !GameSystem || GameSystem->scene != 6 || !TitleScene || !TitleScene->Window().IsOpen())
            return true;
        std::string error;
        EXPECT_TRUE(GameSaveData->Load(1, &error)) << error;
        loaded = Places();
        mapFile = std::to_string(GameMapUnit ? GameMapUnit->Id() : 0);
        GameSystem->scene = 0;
        GameMap->events.RefreshAll();
        done = true;
        return true;
    };
    THarnessResult two = RunHarness(second);
    EXPECT_TRUE(done);
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(mapFile, std::to_string(one.mapId));
    EXPECT_TRUE(two.messageBoxes.empty()) << (two.messageBoxes.empty() ? "" : two.messageBoxes[0].text);
    EXPECT_EQ(two.sceneNumber, 0) << two.summary;
    EXPECT_EQ(two.mapId, one.mapId);
}
