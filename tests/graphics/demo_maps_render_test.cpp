// Renders the demo game's maps with the tile renderer and the character
// sheets, to PNG files in the build folder for the eye. The checks guard
// that every tile and every event's sprite the maps name can be drawn.

#include <gtest/gtest.h>

#include <filesystem>

#include "data/database/database.h"
#include "data/folders.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/random.h"
#include "graphics_test_util.h"
#include "support/demo_game.h"
#include "support/test_paths.h"

using namespace graphics_test;

TEST(DemoMapsRender, EveryMapDrawsWithItsEventsToPng) {
    if (!e2e::HaveDemoTool()) GTEST_SKIP() << "mkdemo was not built";
    testing_support::TempDir game;
    ASSERT_TRUE(e2e::WriteDemoGame(game.path()));
    SetGameFolder(game.path().string(), "varnow");
    TLcfDataBase db;
    db.Load(game.path());
    TLcfMapTree tree;
    tree.LoadFromFile((game.path() / kMapTreeFileName).string());

    int drawn = 0;
    for (int i = 0; i < tree.Count(); ++i) {
        const TLcfMapTreeItem* entry = tree.Items(i);
        if (entry->IsArea()) continue;
        SCOPED_TRACE(entry->name);
        TLcfMap map(entry->Id());
        map.LoadFromFile((game.path() / MapFileName(entry->Id())).string());
        if (map.generateAtEntry) {
            // As the run-time map does at entry: objects first, then the
            // cave itself around the events and the party's arrival point.
            SeedRandom(20261209);
            map.Upper().GenerateDungeon(1, map.generatorLayout, map.GeneratorTiles(), &tree, map.events, -1, -1);
            map.Lower().GenerateDungeon(0, map.generatorLayout, map.GeneratorTiles(), &tree, map.events, 4, 3);
        }
        TSorvoBoard board;
        board.SetSize(map.width * 16, map.height * 16);
        TLcfChipSetGraphic& chips = map.ChipSetGraphic();
        chips.SetDrawMode(true);
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) chips.DrawTile(board, x * 16, y * 16, 16, map.Lower().GetTile(x, y), 0);
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) chips.DrawTile(board, x * 16, y * 16, 16, map.Upper().GetTile(x, y), 0);
        TLcfCharSetGraphic& sprites = map.CharSetGraphic();
        sprites.Transparent = 1;
        for (int e = 0; e < map.events.Count(); ++e) {
            const TLcfEventItem* event = map.events.Items(e);
            const TLcfEventPageItem* page = event->pages.Items(0);
            if (!page || page->sheetName.empty()) continue;
            const int sheet = sprites.IndexOf(page->sheetName);
            ASSERT_GE(sheet, 0) << page->sheetName;
            sprites.DrawCharacter(board, event->x * 16 + 8, event->y * 16 + 16, sheet, page->sheetIndex,
                                  page->direction, page->pattern, 0, 0);
        }
        EXPECT_FALSE(SaveBoardPng(board, "demo_map_" + std::to_string(entry->Id()) + ".png").empty());
        ++drawn;
    }
    EXPECT_GE(drawn, 4);
    SetGameFolder("", "varnow");
}
