// The real objects plugged into the map world: the view's scroll moves the
// weather and the pictures, the panorama takes the map's settings, a
// rebuilt map stops the map animation (a load keeps it), animation targets
// are found by id, and the interpreter's hooks point at the real world.

#include "game/game_world_hooks.h"
#include "game/panorama/panorama.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"
#include "effects_fixture.h"
#include "graphics/char_set_graphic.h"
#include "graphics/graphics_files.h"
#include "media/board/board.h"
#include "world_fixture.h"

using namespace world_test;

namespace {

class WorldWiring : public WorldTest {
protected:
    WorldWiring() {
        GameScreen = &screen;
        GamePanorama = &panorama;
        InstallGameWorldHooks(nullptr);
        MakeMap(40, 30);
    }
    ~WorldWiring() override {
        RemoveGameWorldHooks();
        GamePanorama = nullptr;
        GameScreen = nullptr;
    }
    TLcfgScreen screen;
    TLcfgPanorama panorama;
};

TEST_F(WorldWiring, InstallPointsEveryHookAtTheRealObjectsAndRemoveClearsThem) {
    EXPECT_NE(GameWorldHooks.screen, nullptr);
    EXPECT_NE(GameWorldHooks.party, nullptr);
    EXPECT_EQ(GameWorldHooks.battle, nullptr);
    EXPECT_NE(GameMapAnimationTargets, nullptr);
    ASSERT_NE(GameInterpreterHooks.map, nullptr);
    EXPECT_NE(GameInterpreterHooks.party, nullptr);
    AddEvent(3, 2, 2);
    Enter(5, 5);
    EXPECT_EQ(GameInterpreterHooks.map->PartyCharacter(), &party);
    EXPECT_EQ(GameInterpreterHooks.map->EventCharacter(3), &Event(3));
    EXPECT_TRUE(GameInterpreterHooks.map->EventExists(3));
    ASSERT_TRUE(bool(panorama.ViewX));
    map.viewX = 1234;
    EXPECT_EQ(panorama.ViewX(), 1234);
    RemoveGameWorldHooks();
    EXPECT_EQ(GameWorldHooks.screen, nullptr);
    EXPECT_EQ(GameWorldHooks.party, nullptr);
    EXPECT_EQ(GameMapAnimationTargets, nullptr);
    EXPECT_EQ(GameInterpreterHooks.map, nullptr);
    EXPECT_EQ(GameInterpreterHooks.party, nullptr);
    EXPECT_FALSE(bool(panorama.ViewX));
}

TEST_F(WorldWiring, ScrollingTheViewMovesTheWeatherByTheFullDistance) {
    Enter(20, 15);
    const int32_t wx = screen.weatherX, wy = screen.weatherY;
    ASSERT_TRUE(map.ScrollRight(256));
    EXPECT_EQ(screen.weatherX, (wx + 256 + 5120) % 5120);
    ASSERT_TRUE(map.ScrollDown(128));
    EXPECT_EQ(screen.weatherY, ((wy - 128) % 2560 + 2560) % 2560);
    // At the left edge the view cannot move: nothing scrolls.
    map.SetViewX(0);
    const int32_t before = screen.weatherX;
    EXPECT_FALSE(map.ScrollLeft(256));
    EXPECT_EQ(screen.weatherX, before);
}

TEST_F(WorldWiring, ThePanoramaFollowsTheMapsSettingsAndView) {
    unit.usePanorama = 1;
    unit.panoramaName = "";  // enabled without a name: a cleared 16x16 piece
    unit.panoramaLoopHorizontal = 1;
    Enter(20, 15);
    EXPECT_TRUE(panorama.Enabled());
    EXPECT_EQ(panorama.Width(), 16);
    // The looping axis starts at the view (1/16 pixel of view is 1/32 of
    // panorama) wrapped into the image.
    EXPECT_EQ(panorama.X(), map.viewX % (16 * 32));
    map.SetPanorama("");
    unit.usePanorama = 0;
    map.SetPanorama("");
    EXPECT_FALSE(panorama.Enabled());
}

TEST_F(WorldWiring, ChangingTheImageKeepsALoopingPanoramaWhereItScrolled) {
    testing_support::TempDir dir;
    effects_test::SaveRampPng(dir / "day.png", 160, 120);
    effects_test::SaveRampPng(dir / "night.png", 160, 120);
    SetGraphicsFileFinder([&](const std::string&, const std::string& name) { return (dir / (name + ".png")).string(); });
    struct FinderReset {
        ~FinderReset() { SetGraphicsFileFinder(nullptr); }
    } finderReset;
    // The map's sky loops and scrolls on its own, horizontally only.
    unit.usePanorama = 1;
    unit.panoramaName = "day";
    unit.panoramaLoopHorizontal = 1;
    unit.panoramaAutoScrollHorizontal = 1;
    unit.panoramaSpeedHorizontal = -4;
    Enter(20, 15);
    for (int frame = 0; frame < 25; ++frame) panorama.AutoScroll();
    const int32_t x = panorama.X(), y = panorama.Y();
    ASSERT_EQ(x, map.viewX + 25 * 16);  // 16/32 pixel a frame from where the view placed it
    // A script swaps the image, keeping the settings.
    map.panoramaHLoop = map.panoramaHScroll = true;
    map.panoramaHSpeed = -4;
    map.SetPanorama("night");
    EXPECT_EQ(panorama.X(), x);
    EXPECT_EQ(panorama.Y(), y);  // the axis that follows the map, placed again alike
}

TEST_F(WorldWiring, AMapRebuiltStopsTheMapAnimationButALoadKeepsIt) {
    AddEvent(4, 1, 1);
    Enter(2, 2);
    screen.animationRunning = 1;
    screen.animationTarget = 4;
    map.Setup(true, true);
    EXPECT_EQ(screen.animationRunning, 1);
    map.Setup(true);
    EXPECT_EQ(screen.animationRunning, 0);
}

TEST_F(WorldWiring, AnimationTargetsAreFoundByIdAndFlashTheirCharacter) {
    AddEvent(6, 3, 4);
    Enter(2, 2);
    IMapAnimationTargets& targets = *GameMapAnimationTargets;
    EXPECT_TRUE(targets.TargetExists(IMapAnimationTargets::kParty));
    EXPECT_TRUE(targets.TargetExists(IMapAnimationTargets::kAirship));
    EXPECT_TRUE(targets.TargetExists(6));
    EXPECT_FALSE(targets.TargetExists(7));
    int32_t x = 0, y = 0;
    ASSERT_TRUE(targets.TargetScreenPosition(6, x, y));
    EXPECT_EQ(x, Event(6).ScreenX());
    EXPECT_EQ(y, Event(6).ScreenY());
    EXPECT_FALSE(targets.TargetScreenPosition(7, x, y));
    targets.FlashTarget(IMapAnimationTargets::kParty, 31, 0, 15, 20);
    EXPECT_EQ(party.flashRed, 31);
    EXPECT_EQ(party.flashBlue, 15);
    EXPECT_DOUBLE_EQ(party.flashStrength, 20);
    // A target whose event went with the map's rebuild is simply gone.
    unit.events.Clear();
    map.Setup(true);
    EXPECT_FALSE(targets.TargetExists(6));
    targets.FlashTarget(6, 1, 1, 1, 1);
}

TEST_F(WorldWiring, TheScreenFlashAndShakeComeFromTheScreenEffects) {
    GameWorldHooks.screen->FlashScreen(31, 10, 10, 20, 6);
    EXPECT_EQ(screen.flashRed, 31);
    EXPECT_EQ(screen.flashFrames, 6);
    EXPECT_EQ(screen.flashMode, TLcfgScreen::kFlashOnce);
    screen.shakeX = -5;
    EXPECT_EQ(GameWorldHooks.screen->ShakeOffset(), -5);
}

// A character is drawn through its own flash and the screen's tone and
// flash, whichever character shared its sheet before.
TEST_F(WorldWiring, CharactersDrawThroughTheirFlashAndTheScreensTone) {
    testing_support::TempDir dir;
    effects_test::SaveRampPng(dir / "People.png", 288, 256);
    SetGraphicsFileFinder([&](const std::string&, const std::string& name) { return (dir / (name + ".png")).string(); });
    struct FinderReset {
        ~FinderReset() { SetGraphicsFileFinder(nullptr); }
    } finderReset;
    AddEvent(1, 8, 8).sheetName = "People";
    AddEvent(2, 12, 8).sheetName = "People";
    Enter(10, 10);
    TSorvoBoard board;
    board.SetSize(320, 240);
    // The frame's middle column, a few rows up from the feet.
    auto pixel = [&](int32_t id) {
        board.Clear();
        Event(id).Draw(board);
        const int32_t x = Event(id).ScreenX(), y = Event(id).ScreenY() - 8;
        EXPECT_TRUE(x >= 0 && x < 320 && y >= 0 && y < 240);
        return x >= 0 && x < 320 && y >= 0 && y < 240 ? board.ScanLine(y)[x] : uint16_t(0);
    };
    const uint16_t plain = pixel(1);
    ASSERT_NE(plain, 0);
    Event(1).StartFlash(31, 31, 31, 32, 10);
    EXPECT_EQ(pixel(1), 0xFFDF);  // white: (31, 62, 31)
    EXPECT_EQ(pixel(2), plain);   // the sheet's flash was the other character's
    Event(1).StartFlash(31, 31, 31, 0, 0);
    EXPECT_EQ(pixel(1), plain);
    // Tint 0 takes every channel away: black; saturation 0 at 100 tint: grey.
    screen.StartTint(0, 0, 0, 100, 0);
    screen.Update();
    EXPECT_EQ(pixel(2), 0);
    screen.StartTint(100, 100, 100, 0, 0);
    screen.Update();
    const uint16_t grey = pixel(2);
    EXPECT_EQ((grey >> 11) & 31, ((grey >> 5) & 63) / 2);
    screen.StartTint(100, 100, 100, 100, 0);
    screen.StartFlash(31, 0, 0, 32, 5, TLcfgScreen::kFlashOnce);
    EXPECT_EQ(pixel(2), 0xF800);  // the screen's red flash
    SetGraphicsFileFinder(nullptr);
}

}  // namespace
