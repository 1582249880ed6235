// The demo game's generator: its output is deterministic and loads back
// through the game's own readers; its music and sounds are well-formed.

#include "support/demo_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/asset_lookup.h"
#include "data/byte_reader.h"
#include "data/database/database.h"
#include "data/folders.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/record/var_int.h"
#include "media/audio/midi_player.h"
#include "media/audio/wave_file.h"
#include "media/image/bitmap.h"
#include "media/image/load_image_file.h"
#include "support/run_program.h"
#include "support/test_paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}


// Every regular file below `root`, by relative path, with its bytes.
std::map<std::string, std::vector<uint8_t>> Snapshot(const fs::path& root) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), root).generic_string()] = ReadAll(entry.path());
    return files;
}

class DemoGame : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!e2e::HaveDemoTool()) return;
        folder_ = new TempDir();
        generated_ = e2e::WriteDemoGame(folder_->path());
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    void SetUp() override {
        if (!folder_) GTEST_SKIP() << "mkdemo was not built";
        ASSERT_TRUE(generated_);
    }
    static fs::path Path(const std::string& relative) { return folder_->path() / relative; }

    static TempDir* folder_;
    static bool generated_;
};

TempDir* DemoGame::folder_ = nullptr;
bool DemoGame::generated_ = false;

TEST_F(DemoGame, SameBytesOnEveryRun) {
    TempDir again;
    ASSERT_TRUE(e2e::WriteDemoGame(again.path()));
    const auto first = Snapshot(folder_->path());
    const auto second = Snapshot(again.path());
    ASSERT_FALSE(first.empty());
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        auto other = second.find(name);
        ASSERT_NE(other, second.end()) << name;
        EXPECT_TRUE(bytes == other->second) << name << " differs between runs";
    }
    // Nothing half-written is left behind.
    for (const auto& [name, bytes] : first) EXPECT_EQ(name.find(".part"), std::string::npos) << name;
}

// The tool as a command: its usage on request, no folder named like an
// option, and a folder it cannot write named with the reason.
TEST_F(DemoGame, TheToolTakesNoOptionForAFolderAndSaysWhatFailed) {
    using testing_support::Quoted;
    TempDir scratch;
    const std::string tool = Quoted(testing_support::BuiltProgram("mkdemo").string());
    auto run = [&](const std::string& arguments) {
        return testing_support::RunProgram("cd " + Quoted(scratch.path().string()) + " && " + tool + " " + arguments,
                                           scratch.path());
    };
    for (const char* help : {"--help", "-h"}) {
        auto r = run(help);
        EXPECT_EQ(r.status, 0) << help;
        EXPECT_EQ(r.out.rfind("usage: mkdemo FOLDER\n", 0), 0u) << r.out;
    }
    for (const char* option : {"--version", "-", "-x"}) {
        auto r = run(option);
        EXPECT_EQ(r.status, 2) << option;
        EXPECT_EQ(r.err, std::string("mkdemo: unknown option ") + option + "\nusage: mkdemo FOLDER\n" +
                             "Writes the demo game \"The Lantern of Varrow\" into FOLDER (created when missing).\n");
    }
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run("a b").status, 2);
    // Nothing was written for any of them.
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(scratch.path()))
        if (entry.path().filename().string().rfind("program_", 0) != 0) left.push_back(entry.path().string());
    EXPECT_TRUE(left.empty()) << left.front();

    testing_support::WriteFile(scratch / "file", "x");
    auto blocked = run("file/game");
    EXPECT_EQ(blocked.status, 1);
    EXPECT_EQ(blocked.err, "mkdemo: cannot create the folder file/game: Not a directory\n");
    // A file in the way of one of the game's own folders.
    testing_support::WriteFile(scratch / "game/Music", "x");
    auto inner = run("game");
    EXPECT_EQ(inner.status, 1);
    EXPECT_EQ(inner.err, "mkdemo: cannot create the folder game/Music: Not a directory\n") << inner.err;
}

TEST_F(DemoGame, IniNamesTheGameAndNeedsNoSharedAssets) {
    const auto bytes = ReadAll(Path("Varnow.ini"));
    const std::string ini(bytes.begin(), bytes.end());
    EXPECT_NE(ini.find("[Varnow]"), std::string::npos);
    EXPECT_NE(ini.find("GameTitle=The Lantern of Varrow"), std::string::npos);
    EXPECT_NE(ini.find("FullPackageFlag=1"), std::string::npos);
}

// Writes the database's tables back the way the generator lays them out.
std::vector<uint8_t> SaveDatabase(TLcfDataBase& db) {
    ByteWriter file;
    WriteVarString(file, kDatabaseMagic);
    for (const TLcfDataBase::Table& table : db.Tables()) {
        ByteWriter section;
        if (table.list) table.list->SaveToStream(section);
        else table.record->SaveToStream(section);
        WriteVarInt(file, table.section);
        WriteVarInt(file, static_cast<int32_t>(section.Size()));
        file.WriteBytes(section.Data());
    }
    return file.Take();
}

TEST_F(DemoGame, DatabaseLoadsBackIntoTheSameRecords) {
    TLcfDataBase db;
    db.LoadFromFile(Path("Varnow.ldb"));

    // The system record was written once, so its save counter reads 1.
    EXPECT_EQ(DbSystem->saveCounter, 1);
    EXPECT_EQ(DbSystem->titlePicture, "Title");
    EXPECT_EQ(DbSystem->systemSkin, "Lantern");
    EXPECT_EQ(DbSystem->systemImage2, "Gauges");
    ASSERT_EQ(DbSystem->PartySize(), 2);
    EXPECT_EQ(DbSystem->GetPartyMember(0), 1);
    EXPECT_EQ(DbSystem->MenuCommandCount(), 8);
    EXPECT_EQ(DbSystem->music[kMusicTitle].name, "Title");
    EXPECT_EQ(DbSystem->music[kMusicBattle].name, "Battle");
    for (const TLcfSound& sound : DbSystem->sounds) EXPECT_FALSE(sound.IsOff());
    EXPECT_EQ(DbSystem->battleTestParty.Count(), 4);

    // Terms are plain ASCII: bytes from 0x81 would read as double-byte
    // lead bytes in the default code page.
    EXPECT_EQ(DbVocabulary->Get(TLcfVocabulary::kNewGame), "New Game");
    for (int id = 1; id <= TLcfVocabulary::kLastChunk; ++id)
        for (unsigned char c : DbVocabulary->Get(id)) EXPECT_LT(c, 0x80) << "term " << id;

    EXPECT_GE(DbSwitch->Count(), 10);
    EXPECT_EQ(DbSwitch->FindSwitch(1)->name, "Welcome");
    EXPECT_EQ(DbVariable->FindVariable(1)->name, "Seconds");

    // The autorun common event turns its own switch off before it ends.
    const TLcfCommonEventItem* welcome = DbCommonEvent->FindCommonEvent(1);
    EXPECT_EQ(welcome->trigger, TLcfCommonEventItem::kAutorun);
    ASSERT_EQ(welcome->needsSwitch, 1);
    bool turns_off = false;
    for (int i = 0; i < welcome->script.Count(); ++i) {
        const TLcfEventScriptLine* line = welcome->script.Lines(i);
        if (line->code == 10210 && line->GetParam(0) == 0 && line->GetParam(1) == welcome->switchId &&
            line->GetParam(3) == 1)
            turns_off = true;
    }
    EXPECT_TRUE(turns_off);
    EXPECT_EQ(DbCommonEvent->FindCommonEvent(2)->trigger, TLcfCommonEventItem::kParallel);

    // Written again, the loaded tables give the file's bytes (apart from the
    // save counter, which every write raises).
    DbSystem->saveCounter = 0;
    EXPECT_TRUE(SaveDatabase(db) == ReadAll(Path("Varnow.ldb")));
}

// --- images --------------------------------------------------------------

struct ExpectedImage {
    const char* folder;
    int width;   // 0: any
    int height;  // 0: any
    int cell_w;  // the size must be a multiple of these
    int cell_h;
};

TEST_F(DemoGame, ImagesDecodeAsIndexedPicturesOfTheirLayoutSizes) {
    const ExpectedImage expected[] = {
        {"System", 160, 80, 1, 1},     {"System2", 80, 96, 1, 1},   {"ChipSet", 480, 256, 1, 1},
        {"CharSet", 288, 256, 1, 1},   {"FaceSet", 192, 0, 48, 48}, {"Title", 320, 240, 1, 1},
        {"GameOver", 320, 240, 1, 1},  {"Battle", 480, 0, 96, 96},  {"Monster", 0, 0, 1, 1},
        {"Backdrop", 320, 240, 1, 1},  {"Panorama", 0, 0, 1, 1},    {"Picture", 0, 0, 1, 1},
        {"Frame", 320, 240, 1, 1},
    };
    int pngs = 0, xyzs = 0;
    for (const ExpectedImage& kind : expected) {
        SCOPED_TRACE(kind.folder);
        ASSERT_TRUE(fs::is_directory(Path(kind.folder)));
        int count = 0;
        for (const auto& entry : fs::directory_iterator(Path(kind.folder))) {
            SCOPED_TRACE(entry.path().filename().string());
            Bitmap bitmap;
            LoadImageFile(bitmap, entry.path().string());
            EXPECT_EQ(bitmap.BitsPerPixel(), 8);  // sheets refuse anything else
            if (kind.width) {
                EXPECT_EQ(bitmap.Width(), kind.width);
            }
            if (kind.height) {
                EXPECT_EQ(bitmap.Height(), kind.height);
            }
            EXPECT_EQ(bitmap.Width() % kind.cell_w, 0);
            EXPECT_EQ(bitmap.Height() % kind.cell_h, 0);
            (entry.path().extension() == ".png" ? pngs : xyzs) += 1;
            ++count;
        }
        EXPECT_GT(count, 0);
    }
    EXPECT_GT(pngs, 0);
    EXPECT_GT(xyzs, 0);
}

TEST_F(DemoGame, TransparentIndexWhereTheLayoutsNeedIt) {
    Bitmap chips;
    LoadImageFile(chips, Path("ChipSet/Outdoor.png").string());
    // Upper tile 0 is the empty tile: every pixel transparent.
    for (int y = 128; y < 144; ++y)
        for (int x = 288; x < 304; ++x) ASSERT_EQ(chips.Row(y)[x], 0) << x << "," << y;
    Bitmap heroes;
    LoadImageFile(heroes, Path("CharSet/Heroes.png").string());
    EXPECT_EQ(heroes.Row(0)[0], 0);
    Bitmap skin;
    LoadImageFile(skin, Path("System/Lantern.png").string());
    // The frame's middle is see-through; the shadow and background colour
    // pixels are set; the twenty text colours are drawn.
    EXPECT_NE(skin.Row(32)[16], 0);
    EXPECT_NE(skin.Row(32)[0], 0);
    for (int c = 0; c < 20; ++c) EXPECT_NE(skin.Row(48 + 16 * (c / 10) + 8)[16 * (c % 10) + 8], 0) << c;
}

// The shop's comparison marks are the skin's 8×8 icons, row = mark: 0 the
// total rises, 1 equal, 2 falls, 3 already equipped; columns are the four
// animation steps. Each step must read as its mark.
TEST_F(DemoGame, SkinComparisonMarksReadAsTheirMeaning) {
    Bitmap skin;
    LoadImageFile(skin, Path("System/Lantern.png").string());
    for (int step = 0; step < 4; ++step) {
        struct Cell {
            std::vector<int> widths;  // opaque pixels per drawn row, top down
            int red = 0, green = 0, diagonal = 0, antidiagonal = 0;
            std::vector<uint8_t> pixels;
        } cells[4];
        for (int mark = 0; mark < 4; ++mark) {
            Cell& c = cells[mark];
            for (int j = 0; j < 8; ++j) {
                int width = 0;
                for (int i = 0; i < 8; ++i) {
                    const uint8_t index = skin.Row(8 * mark + j)[128 + 8 * step + i];
                    c.pixels.push_back(index);
                    if (index == 0) continue;
                    ++width;
                    const PaletteEntry& e = skin.Palette[index];
                    if (e.Red > e.Green + 40 && e.Red > e.Blue + 40) ++c.red;
                    if (e.Green > e.Red + 40 && e.Green > e.Blue + 40) ++c.green;
                    if (i == j) ++c.diagonal;
                    if (i == 7 - j) ++c.antidiagonal;
                }
                if (width > 0) c.widths.push_back(width);
            }
            ASSERT_FALSE(c.widths.empty()) << "mark " << mark << " step " << step;
        }
        auto narrowest = [](const Cell& c) {
            return int(std::min_element(c.widths.begin(), c.widths.end()) - c.widths.begin());
        };
        // Rises: a green arrow whose tip is its top row.
        EXPECT_GT(cells[0].green, 0) << step;
        EXPECT_EQ(narrowest(cells[0]), 0) << step;
        // Equal: two level bars, neither green nor red.
        EXPECT_EQ(cells[1].widths.size(), 2u) << step;
        EXPECT_EQ(cells[1].red + cells[1].green, 0) << step;
        // Falls: a red arrow whose tip is its bottom row.
        EXPECT_GT(cells[2].red, 0) << step;
        EXPECT_EQ(narrowest(cells[2]), int(cells[2].widths.size()) - 1) << step;
        // Equipped: not a cross (which reads as "cannot use") and unlike
        // the other three.
        EXPECT_FALSE(cells[3].diagonal >= 4 && cells[3].antidiagonal >= 4) << step;
        EXPECT_EQ(cells[3].red, 0) << step;
        for (int mark = 0; mark < 3; ++mark) EXPECT_NE(cells[3].pixels, cells[mark].pixels) << step;
    }
}

TEST_F(DemoGame, EveryAssetTheDatabaseNamesIsFound) {
    TLcfDataBase db;
    db.LoadFromFile(Path("Varnow.ldb"));
    SetGameFolder(folder_->path().string(), "varnow");
    struct Reference {
        std::string name;
        std::string folder;
        const ExtensionList* extensions;
    };
    std::vector<Reference> refs = {
        {DbSystem->boatSheet, "CharSet", &kImageExtensions},   {DbSystem->shipSheet, "CharSet", &kImageExtensions},
        {DbSystem->airshipSheet, "CharSet", &kImageExtensions}, {DbSystem->titlePicture, "Title", &kImageExtensions},
        {DbSystem->gameOverPicture, "GameOver", &kImageExtensions}, {DbSystem->systemSkin, "System", &kImageExtensions},
        {DbSystem->systemImage2, "System2", &kImageExtensions},
        {DbSystem->battleTestBackdrop, "Backdrop", &kImageExtensions},
    };
    for (const TLcfMusic& music : DbSystem->music) refs.push_back({music.name, "Music", &kMusicExtensions});
    for (const TLcfSound& sound : DbSystem->sounds) refs.push_back({sound.name, "Sound", &kSoundExtensions});
    for (int i = 0; i < DbCommonEvent->Count(); ++i) {
        const TLcfEventScriptList& script = DbCommonEvent->Items(i)->script;
        for (int j = 0; j < script.Count(); ++j) {
            const TLcfEventScriptLine* line = script.Lines(j);
            if (line->code == 10130 && !line->text.empty()) refs.push_back({line->text, "FaceSet", &kImageExtensions});
            if (line->code == 11550) refs.push_back({line->text, "Sound", &kSoundExtensions});
        }
    }
    for (int i = 0; i < DbChipSet->Count(); ++i)
        refs.push_back({DbChipSet->Items(i)->imageName, "ChipSet", &kImageExtensions});
    for (int i = 0; i < DbPlayer->Count(); ++i) {
        refs.push_back({DbPlayer->Items(i)->sprite, "CharSet", &kImageExtensions});
        refs.push_back({DbPlayer->Items(i)->face, "FaceSet", &kImageExtensions});
    }
    for (int i = 0; i < DbGround->Count(); ++i) {
        const TLcfGroundItem* terrain = DbGround->Items(i);
        refs.push_back({terrain->backdrop, "Backdrop", &kImageExtensions});
        if (terrain->backdropKind == 1) refs.push_back({terrain->layer1Image, "Frame", &kImageExtensions});
        if (terrain->backdropKind == 1 && terrain->layer2Shown)
            refs.push_back({terrain->layer2Image, "Frame", &kImageExtensions});
        if (!DbGround->Items(i)->stepSound.IsOff())
            refs.push_back({DbGround->Items(i)->stepSound.name, "Sound", &kSoundExtensions});
    }
    for (int i = 0; i < DbAnimation->Count(); ++i) {
        const TLcfAnimationItem* animation = DbAnimation->Items(i);
        refs.push_back({animation->image, animation->large ? "Battle2" : "Battle", &kImageExtensions});
        for (int t = 0; t < animation->timings.Count(); ++t)
            if (!animation->timings.Items(t)->sound.IsOff())
                refs.push_back({animation->timings.Items(t)->sound.name, "Sound", &kSoundExtensions});
    }
    for (const Reference& ref : refs) {
        EXPECT_FALSE(ref.name.empty()) << ref.folder;
        EXPECT_TRUE(FindAssetFile(ref.name, ref.folder, *ref.extensions).has_value()) << ref.folder << "/" << ref.name;
    }
    SetGameFolder("", "varnow");
}

TEST_F(DemoGame, ChipSetsAndAnimationsMatchTheirImages) {
    TLcfDataBase db;
    db.LoadFromFile(Path("Varnow.ldb"));
    ASSERT_EQ(DbChipSet->Count(), 2);
    for (int i = 0; i < DbChipSet->Count(); ++i) {
        const TLcfChipSetItem* chips = DbChipSet->Items(i);
        SCOPED_TRACE(chips->name);
        // The empty upper tile never blocks; ground tiles let the party walk.
        EXPECT_EQ(chips->GetUpperFlags(0), 0x1F);
        int walkable = 0;
        for (int chip = 6; chip < 18; ++chip) walkable += (chips->GetLowerFlags(chip) & 0x0F) == 0x0F;
        EXPECT_GT(walkable, 4);
        for (int chip = 0; chip < TLcfChipSetItem::kLowerChips; ++chip) {
            EXPECT_GE(chips->GetTerrain(chip), 1);
            EXPECT_LE(chips->GetTerrain(chip), 12);
        }
    }
    bool counter = false;
    for (int chip = 0; chip < TLcfChipSetItem::kUpperChips; ++chip)
        counter = counter || (DbChipSet->Items(1)->GetUpperFlags(chip) & kChipCounter);
    EXPECT_TRUE(counter) << "the inn's counter lets the party talk across it";

    ASSERT_GE(DbAnimation->Count(), 6);
    for (int i = 0; i < DbAnimation->Count(); ++i) {
        const TLcfAnimationItem* animation = DbAnimation->Items(i);
        SCOPED_TRACE(animation->name);
        Bitmap cells;
        LoadImageFile(cells, Path("Battle/" + animation->image + ".xyz").string());
        const int cell_count = 5 * (cells.Height() / 96);
        ASSERT_GT(animation->FrameCount(), 0);
        for (int f = 0; f < animation->FrameCount(); ++f)
            for (int c = 0; c < animation->frames.Items(f)->cells.Count(); ++c)
                EXPECT_LT(animation->frames.Items(f)->cells.Items(c)->pattern, cell_count);
    }
}

TEST_F(DemoGame, TerrainConditionsAndBattleCommands) {
    TLcfDataBase db;
    db.LoadFromFile(Path("Varnow.ldb"));
    // Every chip's terrain names an entry of the terrain table.
    for (int i = 0; i < DbChipSet->Count(); ++i)
        for (int chip = 0; chip < TLcfChipSetItem::kLowerChips; ++chip)
            EXPECT_NE(DbGround->Find(DbChipSet->Items(i)->GetTerrain(chip)), nullptr);
    bool damaging = false, rare_encounters = false;
    for (int i = 0; i < DbGround->Count(); ++i) {
        damaging = damaging || DbGround->Items(i)->damage > 0;
        rare_encounters = rare_encounters || DbGround->Items(i)->encounterRate < 100;
    }
    EXPECT_TRUE(damaging);
    EXPECT_TRUE(rare_encounters);

    ASSERT_GE(DbStatus->Count(), 3);
    EXPECT_EQ(DbStatus->FindStatus(1)->name, "Fallen");
    std::set<std::string> names;
    for (int i = 0; i < DbStatus->Count(); ++i) names.insert(DbStatus->Items(i)->name);
    EXPECT_TRUE(names.count("Poison"));
    EXPECT_TRUE(names.count("Sleep"));
    EXPECT_GE(DbAttrib->Count(), 4);

    // The battle commands: attack, skills, defend, item and escape kinds.
    std::set<int32_t> kinds;
    for (int i = 0; i < DbBattle->commands.Count(); ++i) {
        EXPECT_FALSE(DbBattle->commands.Items(i)->name.empty());
        kinds.insert(DbBattle->commands.Items(i)->kind);
    }
    for (int kind : {0, 1, 3, 4, 5}) EXPECT_TRUE(kinds.count(kind)) << kind;
}

TEST_F(DemoGame, FourHeroesWithClassesCurvesAndBattleCommands) {
    TLcfDataBase db;
    db.LoadFromFile(Path("Varnow.ldb"));
    ASSERT_EQ(DbPlayer->Count(), 4);
    for (int i = 0; i < DbSystem->PartySize(); ++i) EXPECT_NO_THROW(DbPlayer->FindPlayer(DbSystem->GetPartyMember(i)));
    for (int i = 0; i < DbPlayer->Count(); ++i) {
        const TLcfPlayerItem* hero = DbPlayer->Items(i);
        SCOPED_TRACE(hero->name);
        EXPECT_FALSE(hero->name.empty());
        const TLcfJobItem* job = DbJob->FindJob(hero->jobClass);
        // Heroes grow: every parameter is higher at the final level.
        for (const TLcfGrowthItem* growth : {static_cast<const TLcfGrowthItem*>(hero),
                                             static_cast<const TLcfGrowthItem*>(job)})
            for (int kind = 0; kind < TLcfGrowthItem::kKinds; ++kind) {
                if (kind == 1 && growth->GetParameter(1, 99) == 0) continue;  // no SP at all
                EXPECT_GT(growth->GetParameter(kind, 99), growth->GetParameter(kind, 1)) << kind;
            }
        // Without battle commands a hero could do nothing in battle.
        for (const TLcfGrowthItem* growth : {static_cast<const TLcfGrowthItem*>(hero),
                                             static_cast<const TLcfGrowthItem*>(job)}) {
            int commands = 0;
            for (int slot = 0; slot < TLcfGrowthItem::kMenuSlots; ++slot) {
                const int32_t id = growth->GetBattleCommand(slot);
                if (id < 0) continue;
                EXPECT_NO_THROW(DbBattle->commands.FindCommand(id));
                ++commands;
            }
            EXPECT_GE(commands, 4);
        }
        EXPECT_GT(job->skills.Count(), 0);
        EXPECT_GT(hero->ExpForLevel(10), hero->ExpForLevel(2));
    }
}

// Walkable: neither layer blocks the cell in every direction.
bool Walkable(const TLcfChipSetItem& chips, const TLcfMap& map, int x, int y) {
    const int lower = map.Lower().GetTile(x, y), upper = map.Upper().GetTile(x, y);
    const uint8_t up = chips.UpperFlagsOfTile(upper);
    if (!(up & kChipAbove) && (up & 0x0F) == 0) return false;
    return (chips.LowerFlagsOfTile(lower) & 0x0F) != 0;
}

TEST_F(DemoGame, TheGreenReachsEncountersAreFoughtBeforeATwoLayerBackdropOnItsMostCommonGround) {
    TLcfDataBase db;
    db.LoadFromFile(Path("Varnow.ldb"));
    SetGameFolder(folder_->path().string(), "varnow");
    TLcfMap map(e2e::kFieldMap);
    map.LoadFromFile(Path(MapFileName(e2e::kFieldMap)).string());
    SetGameFolder("", "varnow");
    const TLcfChipSetItem* chips = DbChipSet->Find(map.chipSetId);
    ASSERT_NE(chips, nullptr);
    std::map<int, int> cells;  // terrain id -> cells the party may walk on
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x)
            if (Walkable(*chips, map, x, y)) ++cells[chips->TerrainOfTile(map.Lower().GetTile(x, y))];
    int ground = 0;
    for (auto [id, n] : cells)
        if (DbGround->Find(id)->encounterRate > 0 && (ground == 0 || n > cells[ground])) ground = id;
    ASSERT_NE(ground, 0);
    const TLcfGroundItem* terrain = DbGround->Find(ground);
    SCOPED_TRACE(terrain->name);
    EXPECT_EQ(terrain->backdropKind, 1);
    // A far layer drifting on its horizontal loop and a near one over it.
    EXPECT_TRUE(terrain->layer1ScrollH);
    EXPECT_NE(terrain->layer1SpeedH, 0);
    EXPECT_TRUE(terrain->layer2Shown);
    Bitmap near;
    LoadImageFile(near, Path("Frame/" + terrain->layer2Image + ".png").string());
    EXPECT_EQ(near.Row(0)[0], 0);  // open where the sky shows through
    EXPECT_NE(near.Row(239)[0], 0);
    // A backdrop the map names itself would replace the terrain's, and the
    // layers would never show in an encounter there.
    TLcfMapTree tree;
    tree.LoadFromFile(Path("Varnow.lmt").string());
    ASSERT_NE(tree.FindMap(e2e::kFieldMap), nullptr);
    EXPECT_NE(tree.FindMap(e2e::kFieldMap)->backdropKind, TLcfMapTreeItem::kBackdropOwn);
}

// Backdrops and the far layers are drawn without the transparent colour,
// so a pixel left at index 0 shows as black in battle.
TEST_F(DemoGame, OpaqueBattleBackdropsAreFilledEverywhere) {
    TLcfDataBase db;
    db.LoadFromFile(Path("Varnow.ldb"));
    std::vector<fs::path> images;
    for (const auto& entry : fs::directory_iterator(Path("Backdrop"))) images.push_back(entry.path());
    for (int i = 1; i <= DbGround->Count(); ++i)
        if (const TLcfGroundItem* terrain = DbGround->Find(i); terrain && terrain->backdropKind == 1)
            images.push_back(Path("Frame/" + terrain->layer1Image + ".png"));
    ASSERT_GT(images.size(), 1u);
    for (const fs::path& path : images) {
        SCOPED_TRACE(path.filename().string());
        Bitmap bitmap;
        LoadImageFile(bitmap, path.string());
        int unpainted = 0, firstX = -1, firstY = -1;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (bitmap.Row(y)[x] == 0 && unpainted++ == 0) firstX = x, firstY = y;
        EXPECT_EQ(unpainted, 0) << "first at " << firstX << "," << firstY;
    }
}

TEST_F(DemoGame, MapTreeAndMapsLoadAndEveryTransferLandsOnOpenGround) {
    TLcfDataBase db;
    db.LoadFromFile(Path("Varnow.ldb"));
    SetGameFolder(folder_->path().string(), "varnow");
    TLcfMapTree tree;
    tree.LoadFromFile(Path("Varnow.lmt").string());
    ASSERT_GE(tree.Count(), 4);
    EXPECT_EQ(tree.Order().size(), static_cast<size_t>(tree.Count()));
    // A new game needs the party's start; the vehicles have theirs too.
    for (int kind = 0; kind < TLcfMapStartPosition::kKinds; ++kind)
        EXPECT_NE(tree.startPosition.GetMapId(kind), 0) << kind;
    bool area = false, encounters = false;
    for (int i = 0; i < tree.Count(); ++i) {
        area = area || tree.Items(i)->IsArea();
        encounters = encounters || tree.Items(i)->encounters.Count() > 0;
        if (tree.Items(i)->musicKind == TLcfMapTreeItem::kMusicOwn) {
            EXPECT_TRUE(FindAssetFile(tree.Items(i)->music.name, "Music", kMusicExtensions).has_value());
        }
        if (tree.Items(i)->backdropKind == TLcfMapTreeItem::kBackdropOwn) {
            EXPECT_TRUE(FindAssetFile(tree.Items(i)->backdropName, "Backdrop", kImageExtensions).has_value());
        }
    }
    EXPECT_TRUE(area);
    EXPECT_TRUE(encounters);

    struct Target {
        int map, x, y;
        std::string from;
    };
    std::vector<Target> targets;
    for (int kind = 0; kind < TLcfMapStartPosition::kKinds; kind += 3)
        targets.push_back({tree.startPosition.GetMapId(kind), tree.startPosition.GetX(kind),
                           tree.startPosition.GetY(kind), "start"});
    std::set<int> codes;
    for (int i = 0; i < tree.Count(); ++i) {
        const TLcfMapTreeItem* entry = tree.Items(i);
        if (entry->IsArea()) continue;
        SCOPED_TRACE(entry->name);
        TLcfMap map(entry->Id());
        map.LoadFromFile(Path(MapFileName(entry->Id())).string());
        for (int e = 0; e < map.events.Count(); ++e) {
            const TLcfEventItem* event = map.events.Items(e);
            EXPECT_GE(event->x, 0);
            EXPECT_LT(event->x, map.width);
            EXPECT_GE(event->y, 0);
            EXPECT_LT(event->y, map.height);
            for (int p = 0; p < event->pages.Count(); ++p) {
                const TLcfEventPageItem* page = event->pages.Items(p);
                if (!page->sheetName.empty()) {
                    EXPECT_TRUE(FindAssetFile(page->sheetName, "CharSet", kImageExtensions).has_value());
                }
                for (int l = 0; l < page->script.Count(); ++l) {
                    const TLcfEventScriptLine* line = page->script.Lines(l);
                    codes.insert(line->code);
                    if (line->code == 10720) {
                        for (int g = 4; g < line->ParamCount(); ++g) EXPECT_NE(DbItem->Find(line->GetParam(g)), nullptr);
                    }
                    if (line->code == 10320) {
                        EXPECT_NE(DbItem->Find(line->GetParam(2)), nullptr);
                    }
                    if (line->code == 10330) {
                        EXPECT_NE(DbPlayer->Find(line->GetParam(2)), nullptr);
                    }
                    if (line->code == 10810)
                        targets.push_back({line->GetParam(0), line->GetParam(1), line->GetParam(2), event->name});
                    if (line->code == 10130 && !line->text.empty()) {
                        EXPECT_TRUE(FindAssetFile(line->text, "FaceSet", kImageExtensions).has_value());
                    }
                    if (line->code == 11110) {
                        EXPECT_TRUE(FindAssetFile(line->text, "Picture", kImageExtensions).has_value());
                    }
                    if (line->code == 11550) {
                        EXPECT_TRUE(FindAssetFile(line->text, "Sound", kSoundExtensions).has_value());
                    }
                }
            }
        }
    }
    // The town shows what the game offers: messages with faces, choices,
    // number input, a shop, an inn, name entry, saving, transfers, a move
    // route, a picture, a tint and a battle.
    for (int code : {10110, 10130, 10140, 10150, 10720, 10730, 10740, 11910, 10810, 11110, 11030, 10710})
        EXPECT_TRUE(codes.count(code)) << code;

    for (const Target& t : targets) {
        SCOPED_TRACE(t.from);
        const TLcfMapTreeItem* entry = tree.FindMap(t.map);
        ASSERT_FALSE(entry->IsArea());
        TLcfMap map(t.map);
        map.LoadFromFile(Path(MapFileName(t.map)).string());
        ASSERT_GE(t.x, 0);
        ASSERT_LT(t.x, map.width);
        ASSERT_GE(t.y, 0);
        ASSERT_LT(t.y, map.height);
        if (!map.generateAtEntry) {
            EXPECT_TRUE(Walkable(*DbChipSet->FindChipSet(map.chipSetId), map, t.x, t.y)) << t.x << "," << t.y;
        }
    }
    SetGameFolder("", "varnow");
}

TEST_F(DemoGame, SkillsAndItemsCoverEveryKindAndFitTheHeroes) {
    TLcfDataBase db;
    db.LoadFromFile(Path("Varnow.ldb"));
    ASSERT_GE(DbSkill->Count(), 18);
    std::set<int> skill_kinds;
    bool damage = false, healing = false, inflicts = false;
    for (int i = 0; i < DbSkill->Count(); ++i) {
        const TLcfSkillItem* skill = DbSkill->Items(i);
        SCOPED_TRACE(skill->name);
        skill_kinds.insert(skill->kind);
        // An influence of 11 or more seals a skill for everyone.
        EXPECT_LE(skill->attackInfluence, 10);
        EXPECT_LE(skill->spiritInfluence, 10);
        const bool at_enemies = skill->scope <= TLcfSkillItem::kAllEnemies;
        damage = damage || (skill->affectsHp && at_enemies);
        healing = healing || (skill->affectsHp && !at_enemies);
        for (int c = 2; c <= DbStatus->Count(); ++c) inflicts = inflicts || (at_enemies && skill->GetStatusFlag(c));
        EXPECT_NO_THROW(DbAnimation->FindAnimation(skill->battleAnimation));
        if (skill->kind == TLcfSkillItem::kSwitch) {
            EXPECT_NO_THROW(DbSwitch->FindSwitch(skill->switchId));
        }
    }
    for (int kind : {0, 1, 2, 3}) EXPECT_TRUE(skill_kinds.count(kind)) << "skill kind " << kind;
    EXPECT_TRUE(damage);
    EXPECT_TRUE(healing);
    EXPECT_TRUE(inflicts);

    ASSERT_GE(DbItem->Count(), 28);
    std::set<int> item_kinds;
    bool two_handed = false, teleport_item = false, performs = false;
    for (int i = 0; i < DbItem->Count(); ++i) {
        const TLcfItemItem* item = DbItem->Items(i);
        SCOPED_TRACE(item->name);
        item_kinds.insert(item->kind);
        two_handed = two_handed || item->IsTwoHandedWeapon();
        // Heroes and their classes share numbers: the class flags say the
        // same as the hero flags, whichever the database goes by.
        for (int h = 1; h <= DbPlayer->Count(); ++h) EXPECT_EQ(item->GetJobFlag(h), item->GetHeroFlag(h)) << h;
        if (item->kind == TLcfItemItem::kSkillItem || item->kind == TLcfItemItem::kSkillBook || item->performsSkill) {
            const TLcfSkillItem* skill = DbSkill->FindSkill(item->skillId);
            teleport_item = teleport_item || skill->kind == TLcfSkillItem::kTeleport;
            performs = performs || item->kind == TLcfItemItem::kSkillItem || item->performsSkill;
        }
        if (item->IsWeapon()) {
            EXPECT_NO_THROW(DbAnimation->FindAnimation(item->battleAnimation));
        }
    }
    for (int kind = 1; kind <= 10; ++kind) EXPECT_TRUE(item_kinds.count(kind)) << "item kind " << kind;
    EXPECT_TRUE(two_handed);
    EXPECT_TRUE(teleport_item);
    EXPECT_TRUE(performs);

    // Starting equipment goes in its own slot, and its hero may wear it.
    for (int i = 0; i < DbPlayer->Count(); ++i) {
        const TLcfPlayerItem* hero = DbPlayer->Items(i);
        for (int slot = 0; slot < 5; ++slot) {
            const int32_t id = hero->GetInitialEquipment(slot);
            if (id == 0) continue;
            const TLcfItemItem* item = DbItem->FindItem(id);
            EXPECT_EQ(item->EquipSlot(), slot) << hero->name << " " << item->name;
            EXPECT_EQ(item->GetHeroFlag(hero->Id()), 1) << hero->name << " " << item->name;
            EXPECT_EQ(item->GetJobFlag(hero->jobClass), 1) << hero->name << " " << item->name;
        }
        for (int l = 0; l < hero->skills.Count(); ++l) EXPECT_NO_THROW(DbSkill->FindSkill(hero->skills.Items(l)->skillId));
        const TLcfJobItem* job = DbJob->FindJob(hero->jobClass);
        for (int l = 0; l < job->skills.Count(); ++l) EXPECT_NO_THROW(DbSkill->FindSkill(job->skills.Items(l)->skillId));
    }
}

TEST_F(DemoGame, EnemiesAndTroopsWithActionsAndBattleEvents) {
    TLcfDataBase db;
    db.LoadFromFile(Path("Varnow.ldb"));
    SetGameFolder(folder_->path().string(), "varnow");
    ASSERT_GE(DbMonster->Count(), 10);
    for (int i = 0; i < DbMonster->Count(); ++i) {
        const TLcfMonsterItem* enemy = DbMonster->Items(i);
        SCOPED_TRACE(enemy->name);
        EXPECT_TRUE(FindAssetFile(enemy->picture, "Monster", kImageExtensions).has_value());
        ASSERT_GT(enemy->actions.Count(), 0);
        for (int a = 0; a < enemy->actions.Count(); ++a) {
            const TLcfMonsterActItem* action = enemy->actions.Items(a);
            if (action->kind == TLcfMonsterActItem::kSkill) {
                EXPECT_NO_THROW(DbSkill->FindSkill(action->skillId));
            }
        }
        if (enemy->dropItem != 0) {
            EXPECT_NO_THROW(DbItem->FindItem(enemy->dropItem));
        }
        EXPECT_GT(enemy->experience, 0);
    }
    ASSERT_GE(DbMonGroup->Count(), 6);
    int with_events = 0;
    for (int i = 0; i < DbMonGroup->Count(); ++i) {
        const TLcfMonGroupItem* troop = DbMonGroup->Items(i);
        SCOPED_TRACE(troop->name);
        ASSERT_GT(troop->members.Count(), 0);
        for (int m = 0; m < troop->members.Count(); ++m) {
            EXPECT_NO_THROW(DbMonster->FindMonster(troop->members.Items(m)->monsterId));
            EXPECT_GT(troop->members.Items(m)->x, 0);
            EXPECT_LT(troop->members.Items(m)->x, 320);
        }
        for (int p = 0; p < troop->pages.Count(); ++p)
            if (troop->pages.Items(p)->trigger.Flags() != 0 && troop->pages.Items(p)->script.Count() > 1) ++with_events;
    }
    EXPECT_GE(with_events, 2);
    // Every troop the maps can meet exists.
    TLcfMapTree tree;
    tree.LoadFromFile(Path("Varnow.lmt").string());
    for (int i = 0; i < tree.Count(); ++i)
        for (int e = 0; e < tree.Items(i)->encounters.Count(); ++e)
            EXPECT_NO_THROW(DbMonGroup->FindMonGroup(tree.Items(i)->encounters.Items(e)->troopId));
    SetGameFolder("", "varnow");
}

// --- music ---------------------------------------------------------------

uint32_t ReadVarLen(ByteReader& r) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const uint8_t b = r.ReadU8();
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80)) return value;
    }
    ADD_FAILURE() << "variable-length number longer than four bytes";
    return value;
}

uint32_t ReadU32BE(ByteReader& r) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | r.ReadU8();
    return v;
}

uint16_t ReadU16BE(ByteReader& r) {
    const uint16_t hi = r.ReadU8();
    return static_cast<uint16_t>((hi << 8) | r.ReadU8());
}

struct MidiSummary {
    int tracks = 0;
    int notes_on = 0;
    int notes_off = 0;
    uint32_t last_tick = 0;
    std::vector<uint32_t> loop_marks;  // ticks of controller-111 events
};

// Walks a standard MIDI file strictly: every track must end with its
// end-of-track event exactly at its declared length.
MidiSummary ParseMidi(const std::vector<uint8_t>& bytes) {
    MidiSummary summary;
    ByteReader r(bytes.data(), bytes.size());
    EXPECT_EQ(r.ReadString(4), "MThd");
    EXPECT_EQ(ReadU32BE(r), 6u);
    EXPECT_EQ(ReadU16BE(r), 1);
    const int tracks = ReadU16BE(r);
    EXPECT_GT(ReadU16BE(r), 0);
    for (int t = 0; t < tracks; ++t) {
        EXPECT_EQ(r.ReadString(4), "MTrk");
        const uint32_t length = ReadU32BE(r);
        ByteReader track = r.Sub(length);
        uint32_t tick = 0;
        uint8_t running = 0;
        bool ended = false;
        while (!track.AtEnd()) {
            EXPECT_FALSE(ended) << "events after the end of track";
            tick += ReadVarLen(track);
            uint8_t status = track.ReadU8();
            if (status == 0xFF) {
                const uint8_t type = track.ReadU8();
                track.Skip(ReadVarLen(track));
                if (type == 0x2F) ended = true;
                continue;
            }
            EXPECT_GE(status, 0x80) << "the writer never relies on running status";
            running = status;
            const uint8_t a = track.ReadU8();
            const bool two = (running & 0xF0) != 0xC0 && (running & 0xF0) != 0xD0;
            const uint8_t b = two ? track.ReadU8() : 0;
            EXPECT_LT(a, 0x80);
            EXPECT_LT(b, 0x80);
            if ((running & 0xF0) == 0x90) ++summary.notes_on;
            if ((running & 0xF0) == 0x80) ++summary.notes_off;
            if ((running & 0xF0) == 0xB0 && a == 111) summary.loop_marks.push_back(tick);
        }
        EXPECT_TRUE(ended);
        summary.last_tick = std::max(summary.last_tick, tick);
        ++summary.tracks;
    }
    EXPECT_TRUE(r.AtEnd());
    return summary;
}

TEST_F(DemoGame, MusicIsWellFormedAndLoops) {
    const std::vector<std::string> looping = {"Title", "Town", "Field", "Dungeon", "Battle", "Boat"};
    const std::vector<std::string> once = {"Victory", "GameOver", "Inn"};
    for (const auto& name : looping) {
        SCOPED_TRACE(name);
        const MidiSummary m = ParseMidi(ReadAll(Path("Music/" + name + ".mid")));
        EXPECT_GT(m.notes_on, 20);
        EXPECT_EQ(m.notes_on, m.notes_off);
        ASSERT_EQ(m.loop_marks.size(), 1u);
        EXPECT_LT(m.loop_marks[0], m.last_tick);
        // Loops are whole bars of 4/4 at 480 ticks a quarter.
        EXPECT_EQ((m.last_tick - m.loop_marks[0]) % 1920, 0u);
    }
    for (const auto& name : once) {
        SCOPED_TRACE(name);
        const MidiSummary m = ParseMidi(ReadAll(Path("Music/" + name + ".mid")));
        EXPECT_EQ(m.notes_on, m.notes_off);
        // A mark at the very end makes the player rest there.
        ASSERT_EQ(m.loop_marks.size(), 1u);
        EXPECT_EQ(m.loop_marks[0], m.last_tick);
    }
}

// A MIDI output that plays nothing and drives no clock: the test steps the
// sequencer itself.
class SilentMidiOut : public platform::audio::MidiOut {
public:
    void ShortMessage(uint32_t) override {}
    void SysEx(const uint8_t*, size_t) override {}
    void Reset() override {}
    void SetClock(std::function<void()>) override {}
};

TEST_F(DemoGame, TheGamesMidiPlayerLoopsTheLoopingPiecesAndRestsAfterTheOthers) {
    for (const char* name : {"Title", "Inn"}) {
        SCOPED_TRACE(name);
        const auto bytes = ReadAll(Path(std::string("Music/") + name + ".mid"));
        const MidiSummary summary = ParseMidi(bytes);
        TMidiPlayer player(std::make_unique<SilentMidiOut>());
        player.LoadBytes(bytes);
        ASSERT_FALSE(player.Events().empty());
        EXPECT_EQ(player.LoopTick(), summary.loop_marks.at(0));
        EXPECT_EQ(player.LastTick(), summary.last_tick);
        player.Play();
        // Half a minute of music is more than either piece lasts.
        for (int ms = 0; ms < 30000; ++ms) player.Step();
        EXPECT_TRUE(player.Looped());
        EXPECT_TRUE(player.Playing());
        if (player.LoopTick() < player.LastTick()) {
            EXPECT_GE(player.CurrentTick(), player.LoopTick());
        }
    }
}

// --- sounds --------------------------------------------------------------

struct WaveSummary {
    int format = 0;
    int channels = 0;
    int rate = 0;
    int block_align = 0;
    int bits = 0;
    size_t data_bytes = 0;
    uint32_t fact_samples = 0;
};

WaveSummary ParseWave(const std::vector<uint8_t>& bytes) {
    WaveSummary s;
    ByteReader r(bytes.data(), bytes.size());
    EXPECT_EQ(r.ReadString(4), "RIFF");
    EXPECT_EQ(r.ReadU32LE(), bytes.size() - 8);
    EXPECT_EQ(r.ReadString(4), "WAVE");
    while (!r.AtEnd()) {
        const std::string tag = r.ReadString(4);
        const uint32_t size = r.ReadU32LE();
        ByteReader chunk = r.Sub(size);
        if (size % 2) r.Skip(1);
        if (tag == "fmt ") {
            s.format = chunk.ReadU16LE();
            s.channels = chunk.ReadU16LE();
            s.rate = static_cast<int>(chunk.ReadU32LE());
            chunk.ReadU32LE();
            s.block_align = chunk.ReadU16LE();
            s.bits = chunk.ReadU16LE();
            if (s.format == 2) {
                EXPECT_EQ(chunk.ReadU16LE(), 32);  // extra bytes
                const int per_block = chunk.ReadU16LE();
                EXPECT_EQ(per_block, (s.block_align - 7) * 2 + 2);
                EXPECT_EQ(chunk.ReadU16LE(), 7);  // coefficient pairs
            }
        } else if (tag == "fact") {
            s.fact_samples = chunk.ReadU32LE();
        } else if (tag == "data") {
            s.data_bytes = size;
        }
    }
    return s;
}

TEST_F(DemoGame, SoundsAreRiffWavesAndSomeAreAdpcm) {
    int adpcm = 0;
    for (const char* name : {"Cursor", "Decision", "Cancel", "Buzzer", "Hit", "Heal", "Door", "Item", "Defeated"}) {
        SCOPED_TRACE(name);
        const WaveSummary s = ParseWave(ReadAll(Path(std::string("Sound/") + name + ".wav")));
        EXPECT_EQ(s.channels, 1);
        EXPECT_EQ(s.rate, 22050);
        EXPECT_GT(s.data_bytes, 0u);
        if (s.format == 1) {
            EXPECT_EQ(s.bits, 16);
            EXPECT_EQ(s.data_bytes % 2, 0u);
        } else {
            ASSERT_EQ(s.format, 2);
            ++adpcm;
            EXPECT_EQ(s.bits, 4);
            EXPECT_EQ(s.data_bytes % static_cast<size_t>(s.block_align), 0u);
            EXPECT_GT(s.fact_samples, 0u);
        }
    }
    EXPECT_GE(adpcm, 1);
}

TEST_F(DemoGame, TheGamesWaveReaderDecodesEverySound) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(Path("Sound"))) {
        SCOPED_TRACE(entry.path().filename().string());
        const auto bytes = ReadAll(entry.path());
        const WaveSummary summary = ParseWave(bytes);
        const WaveData wave = ReadWaveFile(bytes);
        ASSERT_TRUE(wave.pcm);
        EXPECT_EQ(wave.rate, 22050);
        EXPECT_GE(wave.pcm->Frames(), summary.format == 2 ? summary.fact_samples : summary.data_bytes / 2);
        // Every effect is audible.
        int peak = 0;
        for (int16_t sample : wave.pcm->samples) peak = std::max(peak, std::abs(static_cast<int>(sample)));
        EXPECT_GT(peak, 8000);
        ++count;
    }
    EXPECT_GE(count, 12);
}

}  // namespace
