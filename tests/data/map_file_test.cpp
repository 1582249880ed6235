// Map files: layers, the tile-to-chip mapping, the file's chunks and the
// fix-ups after loading. Maps are written by our own writer (or byte by byte
// where a test needs a file our writer would not make) into a temporary
// game folder.
#include <gtest/gtest.h>

#include <functional>

#include "data/database/database.h"
#include "data/folders.h"
#include "data/map/map.h"
#include "data/tile_ids.h"
#include "data/string_table.h"
#include "graphics/graphics_files.h"
#include "support/error_message.h"
#include "support/lcf_builder.h"
#include "support/test_paths.h"

using namespace lcf_builder;
using testing_support::MessageOf;
using testing_support::TempDir;

namespace {

Bytes Cells(int count, uint16_t first, uint16_t step = 1) {
    Bytes b;
    for (int i = 0; i < count; ++i) {
        uint16_t v = uint16_t(first + i * step);
        b.push_back(uint8_t(v));
        b.push_back(uint8_t(v >> 8));
    }
    return b;
}

// A map file: the leading string and the record's chunks.
Bytes MapBytes(const Chunks& record) { return Concat({VarString(kMapFileMagic), record.End()}); }

class MapFile : public ::testing::Test {
protected:
    void SetUp() override { SetGameFolder(dir_.path().string(), "varnow"); }
    void TearDown() override {
        SetGameFolder("", "varnow");
        SetGraphicsFileFinder({});
    }
    std::string Write(const std::string& name, const Bytes& bytes) {
        testing_support::WriteFile(dir_ / name, ToString(bytes));
        return (dir_ / name).string();
    }

    TempDir dir_;
    TLcfDataBase db_;  // chip set 1, no image
};

}  // namespace

TEST(MapLayer, GetTileWrapsOnlyOnLoopingAxesAndSetTileNeverWraps) {
    TLcfMap map;
    TLcfMapLayer& layer = map.Lower();
    layer.Resize(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) layer.SetTile(x, y, 5000 + x + 10 * y);

    map.SetScrollType(TLcfMap::kScrollLoopHorizontal);
    EXPECT_EQ(layer.GetTile(-1, 0), 5003);
    EXPECT_EQ(layer.GetTile(4, 2), 5020);
    EXPECT_EQ(layer.GetTile(-9, 1), 5013);
    EXPECT_EQ(layer.GetTile(0, -1), -1);
    EXPECT_EQ(layer.GetTile(-2147483647, 0), layer.GetTile(((-2147483647 % 4) + 4) % 4, 0));

    map.SetScrollType(TLcfMap::kScrollLoopVertical);
    EXPECT_EQ(layer.GetTile(-1, 0), -1);
    EXPECT_EQ(layer.GetTile(1, -1), 5021);
    EXPECT_EQ(map.Upper().loopVertically, 1);

    map.SetScrollType(TLcfMap::kScrollLoopBoth);
    EXPECT_EQ(layer.GetTile(-1, -1), 5023);
    layer.SetTile(-1, 0, 1);
    layer.SetTile(4, 0, 1);
    EXPECT_EQ(layer.GetTile(3, 0), 5003);
}

TEST(MapLayer, ResizeKeepsTheOverlapAndFillsTheRest) {
    TLcfMap map;
    TLcfMapLayer& upper = map.Upper();
    EXPECT_EQ(upper.Width(), 20);
    EXPECT_EQ(upper.GetTile(19, 14), 10000);
    upper.SetTile(2, 1, 10005);
    upper.SetTile(19, 0, 10006);
    upper.Resize(3, 40);
    EXPECT_EQ(upper.GetTile(2, 1), 10005);
    EXPECT_EQ(upper.GetTile(0, 39), 10000);
    upper.Resize(25, 2);
    EXPECT_EQ(upper.GetTile(2, 1), 10005);
    EXPECT_EQ(upper.GetTile(19, 0), 10000);
    upper.Reset();
    EXPECT_EQ(upper.Width() * upper.Height(), 300);
    EXPECT_EQ(upper.GetTile(2, 1), 10000);
}

TEST(MapTiles, ChipIndexesOfEveryRangeAndBack) {
    EXPECT_EQ(MapTileToChipIndex(-1), -1);
    EXPECT_EQ(MapTileToChipIndex(0), 0);
    EXPECT_EQ(MapTileToChipIndex(2999), 2);
    EXPECT_EQ(MapTileToChipIndex(3050), 4);
    EXPECT_EQ(MapTileToChipIndex(4049), 6);
    EXPECT_EQ(MapTileToChipIndex(4050), 7);
    EXPECT_EQ(MapTileToChipIndex(5143), 161);
    EXPECT_EQ(MapTileToChipIndex(5144), 162);  // open-ended: callers check table ranges
    EXPECT_EQ(MapChipIndexToTile(2), 2000);
    EXPECT_EQ(MapChipIndexToTile(5), 3100);
    EXPECT_EQ(MapChipIndexToTile(6), 4000);
    EXPECT_EQ(MapChipIndexToTile(17), 4550);
    EXPECT_EQ(MapChipIndexToTile(18), 5000);
    for (int tile : {5000, 5143, 5144, 9999, 10000, 10143, 10200, 32767})
        EXPECT_EQ(MapChipIndexToTile(MapTileToChipIndex(tile)), tile) << tile;
}

TEST_F(MapFile, RoundTripWithEventsAndSettingsThroughTheGameFolder) {
    TLcfMap map;
    map.chipSetId = 1;
    map.width = 30;
    map.height = 20;
    map.Lower().Resize(30, 20);
    map.Upper().Resize(30, 20);
    map.Lower().SetTile(29, 19, 5143);
    map.Upper().SetTile(0, 0, 10001);
    map.SetScrollType(TLcfMap::kScrollLoopBoth);
    map.panoramaName = "Sky";
    map.usePanorama = 1;
    map.panoramaSpeedVertical = -3;
    map.generateAtEntry = 1;
    map.generatorLayout = TLcfMap::kLayoutCaves;
    map.roomHeight = 1;  // differs from what an absent chunk reads
    map.wallOffBorder = 0;
    map.generatorBlock[6] = 0x10;
    map.generatorBlock[7] = 0x27;
    map.generatorSettings[4] = 9;
    map.events.SetCount(2);
    map.events.Items(1)->name = "Door";
    map.events.Items(1)->x = 7;
    map.events.Items(1)->pages.SetCount(2);
    map.events.Items(1)->pages.Items(1)->trigger = 1;
    map.saveCounter = 41;
    map.SaveToFile((dir_ / "map0007.LMU").string());
    EXPECT_EQ(map.saveCounter, 42);

    TLcfMap loaded;
    loaded.LoadById(7);
    EXPECT_EQ(loaded.Id(), 7);
    EXPECT_EQ(loaded.saveCounter, 42);
    EXPECT_EQ(loaded.Lower().Width(), 30);
    EXPECT_EQ(loaded.Lower().GetTile(29, 19), 5143);
    EXPECT_EQ(loaded.Upper().GetTile(0, 0), 10001);
    EXPECT_EQ(loaded.Upper().GetTile(-1, -1), 10000);
    EXPECT_TRUE(loaded.Lower().loopHorizontally && loaded.Upper().loopVertically);
    EXPECT_EQ(loaded.panoramaName, "Sky");
    EXPECT_EQ(loaded.panoramaSpeedVertical, -3);
    EXPECT_EQ(loaded.roomHeight, 1);
    EXPECT_EQ(loaded.wallOffBorder, 0);
    EXPECT_EQ(loaded.GeneratorTile(3), 10000);
    EXPECT_EQ(loaded.GeneratorTile(18), 0);
    EXPECT_EQ(loaded.generatorSettings[4], 9);
    ASSERT_EQ(loaded.events.Count(), 2);
    EXPECT_EQ(loaded.events.Items(1)->name, "Door");
    EXPECT_EQ(loaded.events.Items(1)->x, 7);
    EXPECT_EQ(loaded.events.Items(1)->pages.Items(1)->trigger, 1);
    // Everything survives: the record writes back to the same bytes.
    EXPECT_EQ(SaveRecord(loaded), SaveRecord(map));
}

TEST_F(MapFile, AbsentChunksReadAsTheirDefaultsAndDefaultsAreNotWritten) {
    // Room height: absent reads 2, and the writer leaves 2 out.
    Write("Map0001.lmu", MapBytes(Chunks()));
    TLcfMap map;
    map.LoadById(1);
    EXPECT_EQ(map.roomHeight, 2);
    EXPECT_EQ(map.roomWidth, 4);
    EXPECT_EQ(map.wallOffBorder, 1);
    EXPECT_EQ(map.Lower().Width() * map.Lower().Height(), 300);
    EXPECT_EQ(map.Lower().GetTile(19, 14), 0);
    EXPECT_EQ(map.Upper().GetTile(19, 14), 10000);
    Bytes saved = SaveRecord(map);
    Bytes expected = Chunks()
                         .Data(11, {0})
                         .Data(60, Bytes(36, 0))
                         .Data(61, Bytes(36, 0))
                         .Data(62, Bytes(36, 0))
                         .Data(71, Cells(300, 0, 0))
                         .Data(72, Cells(300, 10000, 0))
                         .Data(81, {0})
                         .End();
    EXPECT_EQ(saved, expected);
}

TEST_F(MapFile, LayersFollowTheSizeEvenWhenItComesLateOrALayerIsMissing) {
    // A 30 x 20 map without an upper layer: 30 x 20 cells of 10000.
    Write("Map0002.lmu", MapBytes(Chunks().Int(2, 30).Int(3, 20).Data(71, Cells(600, 5000))));
    TLcfMap map;
    map.LoadById(2);
    ASSERT_EQ(map.Upper().Width(), 30);
    ASSERT_EQ(map.Upper().Height(), 20);
    EXPECT_EQ(map.Upper().GetTile(29, 19), 10000);
    EXPECT_EQ(map.Lower().GetTile(29, 19), 5000 + 599);

    // The layers before the size: read at 20 x 15, then sized to 25 x 10.
    Write("Map0003.lmu", MapBytes(Chunks().Data(71, Cells(300, 5000)).Int(2, 25).Int(3, 10)));
    map.LoadById(3);
    ASSERT_EQ(map.Lower().Width(), 25);
    ASSERT_EQ(map.Lower().Height(), 10);
    EXPECT_EQ(map.Lower().GetTile(19, 9), 5000 + 19 + 9 * 20);
    EXPECT_EQ(map.Lower().GetTile(24, 9), 0);

    // A layer chunk of the wrong length is ignored: the fill id stays.
    Write("Map0004.lmu", MapBytes(Chunks().Int(2, 4).Int(3, 4).Data(71, Cells(15, 5000))));
    map.LoadById(4);
    EXPECT_EQ(map.Lower().GetTile(0, 0), 0);
}

TEST_F(MapFile, DamagedFilesGiveClearErrors) {
    const std::string badSize = "The map file is damaged";
    for (auto [w, h] : {std::pair{0, 15}, {20, 0}, {-1, 5}, {100000, 2}, {32767, 32767}, {2147483647, 2}}) {
        Write("Map0005.lmu", MapBytes(Chunks().Int(2, w).Int(3, h).Data(71, Cells(4, 5000))));
        TLcfMap map;
        EXPECT_EQ(MessageOf([&] { map.LoadById(5); }).rfind(badSize, 0), 0u) << w << " x " << h;
        // Without layer chunks the size is still checked after reading.
        Write("Map0005.lmu", MapBytes(Chunks().Int(2, w).Int(3, h)));
        EXPECT_EQ(MessageOf([&] { map.LoadById(5); }).rfind(badSize, 0), 0u) << w << " x " << h;
    }

    TLcfMap map;
    Write("Map0006.lmu", Concat({VarString("LcfMapTree"), Chunks().End()}));
    EXPECT_EQ(MessageOf([&] { map.LoadById(6); }), LoadStr(65295));
    Write("Map0006.lmu", Concat({VarString(kMapFileMagic), Chunks().Int(2, 30).Body()}));  // no terminator
    EXPECT_THROW(map.LoadById(6), EReadError);
    Write("Map0006.lmu", {});
    EXPECT_EQ(MessageOf([&] { map.LoadById(6); }), LoadStr(65295));
    EXPECT_THROW(map.LoadById(99), EFOpenError);
    EXPECT_EQ(MapFileName(12345), "Map12345.lmu");
    EXPECT_EQ(MapFileName(7), "Map0007.lmu");

    Write("Map0008.lmu", MapBytes(Chunks().Int(1, 5)));
    EXPECT_EQ(MessageOf([&] { map.LoadById(8); }), "Event script referenced a tileset that does not exist.");
}

TEST_F(MapFile, CharacterSheetsArePurgedEvenWhenOneFailsToLoad) {
    SetGraphicsFileFinder([](const std::string&, const std::string& name) {
        return name.rfind("ok", 0) == 0 ? std::string() : std::string("/nonexistent/sheet.png");
    });
    TLcfMap map;
    for (int i = 0; i < 25; ++i) map.CharSetGraphic().Acquire("ok" + std::to_string(i));
    map.events.SetCount(2);
    map.events.Items(0)->pages.Items(0)->sheetName = "ok3";
    map.events.Items(1)->pages.SetCount(2);
    map.events.Items(1)->pages.Items(0)->sheetName = "missing";
    map.events.Items(1)->pages.Items(1)->sheetName = "ok4";
    EXPECT_THROW(map.LoadCharSets(), Exception);
    EXPECT_LT(map.CharSetGraphic().Count(), 20);
    EXPECT_GE(map.CharSetGraphic().IndexOf("ok3"), 0);

    map.events.Items(1)->pages.Items(0)->sheetName.clear();
    map.LoadCharSets();
    EXPECT_GE(map.CharSetGraphic().IndexOf("ok4"), 0);
}
