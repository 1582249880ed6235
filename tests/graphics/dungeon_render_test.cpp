// Renders generated dungeons with the tile renderer and the demo game's
// interior chip set, to PNG files in the build folder for the eye. The
// checks only guard that the generator's tiles all draw.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/folders.h"
#include "data/map/map.h"
#include "data/random.h"
#include "graphics_test_util.h"
#include "support/demo_game.h"
#include "support/test_paths.h"

using namespace graphics_test;

namespace {

// The demo's interior chip set: rock and cave floor autotiles, cave wall
// faces, floor variants, and boulders, crystals and pillars above.
TDungeonTiles CaveTiles() {
    return {4200, 5004, 5005, 4150, 5007, 5008, 10010, 10011, 10012, 10013,
            10014, 10015, 10016, 10017, 10018, 10019, 10020, 10021};
}

std::string Render(TLcfMap& map, const std::string& name) {
    TSorvoBoard board;
    board.SetSize(map.width * 16, map.height * 16);
    TLcfChipSetGraphic& chips = map.ChipSetGraphic();
    chips.SetDrawMode(false);
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) chips.DrawTile(board, x * 16, y * 16, 16, map.Lower().GetTile(x, y), 0);
    chips.SetDrawMode(true);
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) chips.DrawTile(board, x * 16, y * 16, 16, map.Upper().GetTile(x, y), 0);
    return SaveBoardPng(board, name);
}

}  // namespace

TEST(DungeonRender, GeneratedCavesAndOpenAreaToPng) {
    if (!e2e::HaveDemoTool()) GTEST_SKIP() << "mkdemo was not built";
    testing_support::TempDir game;
    ASSERT_TRUE(e2e::WriteDemoGame(game.path()));
    SetGameFolder(game.path().string(), "varnow");

    TLcfChipSetItem chipSet(1);
    chipSet.imageName = "Interior";
    int layout = 0;
    for (const char* name : {"dungeon_corridors.png", "dungeon_caves.png", "dungeon_maze.png", "dungeon_open.png"}) {
        TLcfMap map;
        map.width = 40;
        map.height = 30;
        map.Lower().Resize(40, 30);
        map.Upper().Resize(40, 30);
        map.events.SetCount(4);
        for (int i = 0; i < 4; ++i) {
            map.events.Items(i)->x = 5 + 9 * i;
            map.events.Items(i)->y = 4 + 6 * i;
        }
        map.widePassages = layout == TLcfMap::kLayoutGridMaze;
        map.ChipSetGraphic().SetChipSet(&chipSet);
        SeedRandom(20261209);
        map.Upper().GenerateDungeon(1, layout, CaveTiles(), nullptr, map.events, -1, -1);
        map.Lower().GenerateDungeon(0, layout, CaveTiles(), nullptr, map.events, 15, 20);
        EXPECT_NO_THROW(Render(map, name)) << name;
        ++layout;
    }
    SetGameFolder("", "varnow");
}
