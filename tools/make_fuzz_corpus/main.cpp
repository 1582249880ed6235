// Writes the small seed files of the record-format fuzz targets:
//   make_fuzz_corpus CORPUS_DIR [DEMO_FOLDER]
// into CORPUS_DIR/database_loader, CORPUS_DIR/event_list,
// CORPUS_DIR/map_loader, CORPUS_DIR/field_script and CORPUS_DIR/save_file,
// and, given a game folder tools/mkdemo wrote, the scene targets' seeds
// from its database into CORPUS_DIR/battle_scene and CORPUS_DIR/menu_scenes.
// Every file is valid data made with our own writers.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "../../fuzz/scene_input.h"
#include "data/database/database.h"
#include "data/database/event.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/record/var_int.h"
#include "field_scripts.h"
#include "game_tables.h"
#include "save_seeds.h"
#include "scene_seeds.h"

namespace {

// The database's sections in ascending id order, only those in `sections`
// (all when empty).
void WriteBytes(const std::filesystem::path& path, const ByteWriter& w) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(w.Bytes().data()), static_cast<std::streamsize>(w.Size()));
}

void WriteEvents(TLcfEvent& events, const std::filesystem::path& path) {
    ByteWriter w;
    events.SaveToStream(w);
    WriteBytes(path, w);
}

void Write(TLcfDataBase& db, const std::filesystem::path& path, std::vector<int32_t> sections = {}) {
    ByteWriter w;
    WriteVarString(w, kDatabaseMagic);
    std::vector<TLcfDataBase::Table> tables = db.Tables();
    std::sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) { return a.section < b.section; });
    for (const auto& t : tables) {
        if (!sections.empty() && std::find(sections.begin(), sections.end(), t.section) == sections.end()) continue;
        std::vector<uint8_t> bytes = scene_input::TableBytes(t);
        WriteVarInt(w, t.section);
        WriteVarInt(w, static_cast<int32_t>(bytes.size()));
        w.WriteBytes(bytes);
    }
    WriteBytes(path, w);
}

// Map loader seeds: a leading 0 for a map file, 1 for a map tree.
void WriteMap(TLcfMap& map, const std::filesystem::path& path) {
    ByteWriter w;
    w.WriteU8(0);
    WriteVarString(w, kMapFileMagic);
    map.SaveToStream(w);
    WriteBytes(path, w);
}

void WriteTree(TLcfMapTree& tree, const std::filesystem::path& path) {
    ByteWriter w;
    w.WriteU8(1);
    tree.SaveTree(w);
    WriteBytes(path, w);
}

void SizeMap(TLcfMap& map, int width, int height) {
    map.width = width;
    map.height = height;
    map.Lower().Resize(width, height);
    map.Upper().Resize(width, height);
}

void WriteMapSeeds(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    TLcfMap plain;
    WriteMap(plain, dir / "defaults.bin");

    // A small generated cave with events, every generator setting and tile.
    TLcfMap cave;
    SizeMap(cave, 24, 18);
    cave.generateAtEntry = 1;
    cave.generatorLayout = TLcfMap::kLayoutCaves;
    cave.widePassages = 1;
    cave.roomHeight = 3;
    const int16_t tiles[18] = {4200, 5004, 5005, 4150, 5007, 5008, 10010, 10011, 10012,
                               10013, 10014, 10015, 10016, 10017, 10018, 10019, 10020, 10021};
    for (int i = 0; i < 18; ++i) {
        cave.generatorBlock[size_t(2 * i)] = uint8_t(tiles[i]);
        cave.generatorBlock[size_t(2 * i + 1)] = uint8_t(tiles[i] >> 8);
    }
    cave.events.SetCount(3);
    for (int i = 0; i < 3; ++i) {
        cave.events.Items(i)->x = 4 + 6 * i;
        cave.events.Items(i)->y = 3 + 4 * i;
    }
    cave.events.Items(2)->name = "Stairs";
    WriteMap(cave, dir / "cave.bin");
    for (int layout : {TLcfMap::kLayoutCorridors, TLcfMap::kLayoutGridMaze, TLcfMap::kLayoutOpenArea}) {
        cave.generatorLayout = layout;
        cave.twoHighWalls = uint8_t(layout != TLcfMap::kLayoutGridMaze);
        WriteMap(cave, dir / ("layout" + std::to_string(layout) + ".bin"));
    }

    // A looping field with a panorama and painted layers.
    TLcfMap field;
    SizeMap(field, 30, 20);
    field.SetScrollType(TLcfMap::kScrollLoopBoth);
    field.usePanorama = 1;
    field.panoramaName = "Sky";
    field.panoramaAutoScrollHorizontal = 1;
    field.panoramaSpeedHorizontal = -2;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            field.Lower().SetTile(x, y, (x + y) % 3 == 0 ? 4000 + (x % 47) : 5000 + (x * y) % 144);
            if (x % 7 == 0) field.Upper().SetTile(x, y, 10000 + y);
        }
    WriteMap(field, dir / "field.bin");

    TLcfMapTree tree;
    for (int id : {3, 1, 2}) tree.AppendToOrder(tree.GetOrCreate(id));
    tree.FindMap(1)->name = "World";
    tree.FindMap(2)->parentId = 1;
    tree.FindMap(2)->musicKind = TLcfMapTreeItem::kMusicOwn;
    tree.FindMap(2)->music.name = "Town";
    tree.FindMap(2)->encounters.SetCount(2);
    tree.FindMap(3)->kind = TLcfMapTreeItem::kKindArea;
    tree.FindMap(3)->area = {2, 3, 5, 4};
    tree.activeMapId = 2;
    tree.startPosition.positions[0][0] = 1;
    tree.startPosition.positions[0][1] = 5;
    tree.startPosition.positions[2][0] = 1;
    WriteTree(tree, dir / "tree.bin");
    TLcfMapTree empty;
    WriteTree(empty, dir / "empty_tree.bin");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_fuzz_corpus DIR [DEMO_FOLDER]\n");
        return 2;
    }
    std::filesystem::path dir = std::filesystem::path(argv[1]) / "database_loader";
    std::filesystem::create_directories(dir);
    TLcfDataBase db;
    Write(db, dir / "header_only.ldb", {-1});
    Write(db, dir / "defaults.ldb");

    DbSystem->boatSheet = "Boat";
    DbSystem->party.Resize(2, 2);
    DbSystem->music[kMusicBattle].name = "Fight";
    DbSystem->sounds[kSoundCursor].name = "Cursor";
    DbSystem->battleTestParty.SetCount(1);
    DbSystem->battleTestParty.Items(0)->equipment[1] = 4;
    Write(db, dir / "system.ldb", {22});

    DbVocabulary->Set(TLcfVocabulary::kCurrency, "G");
    DbVocabulary->ShopTerms(1).texts[0] = "Hi";
    DbVocabulary->InnTerms(1).texts[3] = "Stay";
    Write(db, dir / "terms.ldb", {21});

    DbSwitch->SetCount(3);
    DbSwitch->Items(1)->name = "Door";
    DbVariable->SetCount(2);
    DbVariable->Items(0)->name = "Count";
    Write(db, dir / "names.ldb", {23, 24});

    DbCommonEvent->SetCount(2);
    TLcfCommonEventItem* ce = DbCommonEvent->Items(0);
    ce->name = "Clock";
    ce->trigger = TLcfCommonEventItem::kParallel;
    ce->needsSwitch = 1;
    ce->script.Clear();
    ce->script.Add(TLcfEventScriptLine(10110, 0, "Hello", {}));
    ce->script.Add(TLcfEventScriptLine(11340, 0, "", {10005, 0, 0, 2, 1, 2, 34, 35}));
    ce->script.Add(TLcfEventScriptLine(0, 0));
    Write(db, dir / "common_events.ldb", {25});

    FillGameTables();
    Write(db, dir / "heroes_classes.ldb", {11, 30});
    Write(db, dir / "items_skills.ldb", {12, 13, 17, 18});
    Write(db, dir / "monsters_troops.ldb", {14, 15});
    Write(db, dir / "terrain_attributes_conditions.ldb", {16, 17, 18});
    Write(db, dir / "animations.ldb", {19, 32});
    Write(db, dir / "chip_sets_battle.ldb", {20, 29});

    Write(db, dir / "everything.ldb");

    std::filesystem::path events = std::filesystem::path(argv[1]) / "event_list";
    std::filesystem::create_directories(events);
    TLcfEvent list;
    WriteEvents(list, events / "empty.bin");
    list.SetCount(2);
    WriteEvents(list, events / "two_plain.bin");
    TLcfEventItem* ev = list.Items(1);
    ev->name = "Chest";
    ev->x = 4;
    ev->y = 7;
    ev->pages.SetCount(2);
    TLcfEventPageItem* page = ev->pages.Items(1);
    page->condition.flags = TLcfEventCondition::kSwitchA | TLcfEventCondition::kVariable;
    page->condition.switchA = 3;
    page->condition.variableValue = 10;
    page->sheetName = "Chest";
    page->trigger = 1;
    page->moveType = 6;
    const uint8_t route[] = {1, 2, 0x20, 7, 0x22, 2, 'C', 'h', 1, 0x23, 1, 'x', 100, 100, 50};
    page->moveRoute.SetData(route);
    page->script.Clear();
    page->script.Add(TLcfEventScriptLine(10110, 0, "Found it", {}));
    page->script.Add(TLcfEventScriptLine(10150, 0, "", {1, 1, 0, 0, 1}));
    page->script.Add(TLcfEventScriptLine(0, 0));
    WriteEvents(list, events / "chest.bin");

    WriteMapSeeds(std::filesystem::path(argv[1]) / "map_loader");
    WriteFieldScriptSeeds(std::filesystem::path(argv[1]) / "field_script");
    WriteSaveSeeds(std::filesystem::path(argv[1]) / "save_file");
    if (argc == 3) WriteSceneSeeds(argv[1], argv[2]);
    return 0;
}
