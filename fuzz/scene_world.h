#pragma once
// The game the scene fuzz targets play: every process-wide object start-up
// makes (screen, input, map, database, skin, save data, scenes), on the
// headless platform, with every image the game asks for answered by one of
// a few pictures written once. Each input builds a small battle-ready
// database, edits it (scene_input.h), and runs the real frame loop for a
// bounded number of frames with one key byte per frame; when the frames
// are spent the next pump ends the run the way closing the window does.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/database/battle.h"
#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/mon_group.h"
#include "data/database/monster.h"
#include "data/database/player.h"
#include "data/database/skill.h"
#include "data/database/status.h"
#include "data/database/system.h"
#include "data/errors.h"
#include "data/folders.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/random.h"
#include "game/game_world_hooks.h"
#include "game/map/game_map.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/party/party_info.h"
#include "game/save/save_data.h"
#include "game/system/game_system.h"
#include "graphics/graphics_files.h"
#include "graphics/system_graphic.h"
#include "media/image/png.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "platform/headless/headless_platform.h"
#include "scene_input.h"
#include "scenes/game_main.h"
#include "scenes/windows/message_window.h"

namespace scene_world {

// An 8-bit picture whose every pixel is a colour of its own pattern.
inline void WritePicture(const std::filesystem::path& path, int w, int h) {
    TSorvoPng png;
    png.SetFormat(w, h, 8);
    for (int i = 0; i < 256; ++i) png.Palette[i] = PaletteEntry{uint8_t(i), uint8_t(i * 7), uint8_t(i * 13), 0};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) png.Row(y)[x] = uint8_t((x / 4 + y / 4 * 3) % 256);
    png.SaveToFile(path.string());
}

class World {
public:
    World() {
        auto owned = std::make_unique<platform::HeadlessPlatform>();
        sys = owned.get();
        sys->display().frameLimit = 0;
        platform::SetPlatform(std::move(owned));
        folder = std::filesystem::temp_directory_path() / ("varnow_fuzz_scene_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        SetGameFolder(folder.string(), "Varnow");
        // One picture a folder, of the size the game's drawing expects.
        struct Size {
            const char* folder;
            int w, h;
        };
        static const Size kSizes[] = {
            {"System", TLcfSystemGraphic::kSkinWidth, TLcfSystemGraphic::kSkinHeight},
            {"System2", TLcfSystemGraphic::kSystem2Width, TLcfSystemGraphic::kSystem2Height},
            {"Monster", 64, 48},        {"Backdrop", 320, 160},   {"Battle", 480, 192},
            {"BattleCharSet", 144, 384}, {"BattleWeapon", 192, 512}, {"CharSet", 288, 256},
            {"FaceSet", 192, 192},      {"Panorama", 320, 240},   {"Picture", 32, 32},
        };
        for (const Size& s : kSizes) WritePicture(folder / (std::string(s.folder) + ".png"), s.w, s.h);
        SetGraphicsFileFinder([this](const std::string& sub, const std::string& name) {
            if (name.empty()) return std::string();
            std::filesystem::path p = folder / (sub + ".png");
            return std::filesystem::exists(p) ? p.string() : (folder / "Picture.png").string();
        });

        GameDraw = new TSorvoDraw();
        GameDraw->SetFrameRate(60);
        GameDraw->SetMaxLag(20);
        GameDraw->SetScreenMode(smWindow);
        GameDraw->Initialize();
        GameInput = new TMultiInput();
        sys->onPump = [this] { HoldKeys(); };
        GameDraw->OnPump = [this] {
            if (Frame() >= frameLimit) throw ESorvoDrawAbort{};
            GameInput->Sample();
        };
        GameMapTree = &tree;
        tree.AppendToOrder(tree.GetOrCreate(1));
        GameMapUnit = &unit;
        GameDataBase = new TLcfDataBase();
        FillBase();
        GameSystemGraphic = new TLcfSystemGraphic(GameDraw->Board());
        GameSaveData = new TLcfgSaveData(GameSystemGraphic);
        GameSaveData->StartPosition = [] { return TPartyStart{1, 0, 0}; };
        GameSaveData->Map().MapLoader = [this](int32_t id) { unit.SetId(id); };
        GameMessagePool = new TLcfMessagePool();
        GameMessageWindow = new TLcfMessageWindow();
        GameInterpreterHooks.messageWindow = GameMessageWindow;
        GameInterpreterHooks.messagePool = GameMessagePool;
        GameInterpreterHooks.input = GameInput;
        InstallGameWorldHooks(GameSystemGraphic);
        CreateScenes();
    }

    // A database a battle and the menu can run on: the menu's rows, four
    // heroes with flat growth, a class, skills of healing and harm, a
    // potion, a sword and a shield, death and a poison among sixteen
    // conditions, attributes, plain animations, two monsters and troop 1 of
    // both, the five battle commands.
    static void FillBase() {
        GameDataBase->Reset();
        DbSystem->systemSkin = "Skin";
        DbSystem->systemImage2 = "Gauges";
        // Instant scene changes: a transition draws the whole screen forty
        // times (edits may ask for one).
        DbSystem->transitions.fill(uint8_t(TLcfgSystem::kNoTransition));
        // The menu's rows: items, skills, equipment, status, row, order,
        // wait mode, save (without them the menu holds only its quit row).
        const uint16_t menu[8] = {1, 2, 3, 5, 6, 7, 8, 4};
        DbSystem->menuCommands.Resize(8);
        for (int i = 0; i < 8; ++i) DbSystem->menuCommands.Set(i, menu[i]);
        DbBattle->commands.SetCount(5);
        const char* const names[5] = {"Attack", "Skill", "Guard", "Item", "Flee"};
        const int32_t kinds[5] = {0, 1, 3, 4, 5};
        for (int32_t id = 1; id <= 5; ++id) {
            DbBattle->commands.FindCommand(id)->name = names[id - 1];
            DbBattle->commands.FindCommand(id)->kind = kinds[id - 1];
        }
        DbJob->SetCount(1);
        DbPlayer->SetCount(4);
        for (int32_t id = 1; id <= 4; ++id) {
            TLcfPlayerItem* h = DbPlayer->Find(id);
            h->name = "Hero" + std::to_string(id);
            h->sprite = h->face = "Hero";
            h->battleX = 200 + 20 * id;
            h->battleY = 60 + 30 * id;
            h->jobClass = id == 4 ? 1 : 0;
            const int values[6] = {120, 30, 25, 20, 15, 20 + 5 * id};
            for (int k = 0; k < 6; ++k)
                for (int level = 1; level <= 99; ++level) h->SetParameter(k, level, values[k] + level);
            h->battleCommands = {1, 2, 3, 4, 5, -1, -1};
            h->skills.Add()->skillId = 1;
            h->skills.Add()->skillId = 2;
            h->SetInitialEquipment(0, 2);
        }
        // Every id a seed's records refer to exists (edits reach ids 1-32).
        DbSkill->SetCount(scene_input::kMaxRecord);
        DbAnimation->SetCount(scene_input::kMaxRecord);
        TLcfSkillItem* fire = DbSkill->Find(1);
        fire->name = "Fire";
        fire->spCost = 3;
        fire->baseEffect = 30;
        fire->affectsHp = 1;
        fire->scope = TLcfSkillItem::kOneEnemy;
        fire->attributeSet.SetEntry(2, 1);
        TLcfSkillItem* heal = DbSkill->Find(2);
        heal->name = "Heal";
        heal->spCost = 2;
        heal->baseEffect = 40;
        heal->affectsHp = 1;
        heal->scope = TLcfSkillItem::kOneAlly;
        heal->usableInBattle = 1;
        DbSkill->Find(3)->kind = TLcfSkillItem::kEscape;
        DbItem->SetCount(scene_input::kMaxRecord);
        TLcfItemItem* potion = DbItem->Find(1);
        potion->name = "Potion";
        potion->kind = TLcfItemItem::kMedicine;
        potion->hpPoints = 50;
        TLcfItemItem* sword = DbItem->Find(2);
        sword->name = "Sword";
        sword->kind = TLcfItemItem::kWeapon;
        sword->attackBonus = 10;
        TLcfItemItem* shield = DbItem->Find(3);
        shield->name = "Shield";
        shield->kind = TLcfItemItem::kShield;
        shield->defenseBonus = 5;
        DbStatus->SetCount(scene_input::kMaxRecord);
        DbStatus->Find(1)->restriction = TLcfStatusItem::kCannotAct;  // death
        DbStatus->Find(2)->name = "Poison";
        DbAttrib->SetCount(4);
        DbMonster->SetCount(2);
        for (int32_t id = 1; id <= 2; ++id) {
            TLcfMonsterItem* m = DbMonster->Find(id);
            m->name = "Slime";
            m->picture = "Slime";
            m->maxHp = 40 * id;
            m->attack = 20;
            m->agility = 25;
            m->experience = 5;
            m->gold = 7;
            m->actions.Add();
        }
        DbMonster->Find(2)->actions.Add()->kind = TLcfMonsterActItem::kSkill;
        TLcfMonGroupItem* troop = DbMonGroup->GetOrCreate(1);
        troop->name = "Slimes";
        troop->members.SetCount(2);
        for (int32_t i = 1; i <= 2; ++i) {
            troop->members.Find(i)->monsterId = i;
            troop->members.Find(i)->x = 60 + 80 * i;
            troop->members.Find(i)->y = 100;
        }
    }

    // The base database with the input's edits, through the file form;
    // answers where the keys start, 0 when the database is refused.
    size_t BuildDatabase(std::span<const uint8_t> data) {
        FillBase();
        const size_t keys = scene_input::ApplyEdits(*GameDataBase, data);
        const std::vector<std::string> edits = scene_input::EditsByTable(*GameDataBase, data);
        std::vector<uint8_t> bytes = scene_input::DatabaseBytes(
            *GameDataBase, [&](size_t index, const TLcfDataBase::Table& t) -> const std::vector<uint8_t>& {
                return TableBytesOf(index, edits[index], t);
            });
        try {
            GameDataBase->Reset();
            ByteReader r(bytes.data(), bytes.size());
            GameDataBase->LoadFromStream(r);
        } catch (const Exception&) {
            return 0;
        }
        return keys;
    }

    // A table's file form, remembered by its edits: writing the tables
    // field by field cost more than the frames of a short input, and a
    // mutation seldom changes the edits of more than one table. The
    // remembered bytes are a pure function of the base and the edits; the
    // database itself is loaded afresh from them for every input.
    const std::vector<uint8_t>& TableBytesOf(size_t index, const std::string& edits, const TLcfDataBase::Table& t) {
        auto key = std::make_pair(index, edits);
        if (auto it = tableBytes.find(key); it != tableBytes.end()) return it->second;
        std::vector<uint8_t> bytes = scene_input::TableBytes(t);
        tableBytesSize += bytes.size() + edits.size();
        if (tableBytesSize > kTableBytesLimit) {
            tableBytes.clear();
            tableBytesSize = bytes.size() + edits.size();
        }
        return tableBytes.emplace(std::move(key), std::move(bytes)).first->second;
    }

    // The game reset (with the party on map 1 when `newGame`); the frames
    // and keys of this input start after that. False when a clear error
    // refused the new game.
    bool Begin(std::span<const uint8_t> input, size_t keysAt, int maxFrames, bool newGame) {
        keys = {};
        frameLimit = INT32_MAX;
        for (platform::Key k : kKeys) sys->ReleaseKey(k);
        SeedRandom(input.size());
        GameMessagePool->Clear();
        GameMessageWindow->CloseNow();
        for (int n = 0; n <= 7; ++n)
            if (TLcfScene* s = SceneOf(n)) s->Reset();
        try {
            if (newGame)
                GameSaveData->NewGame();
            else
                GameSaveData->Reset();
        } catch (const Exception&) {
            return false;
        }
        GameDraw->Board().Brightness = 100;
        keys = input.subspan(keysAt);
        startMicros = sys->NowMicros();
        frameLimit = 1 + int((size_t(input[0]) | size_t(input[1]) << 8) % size_t(maxFrames));
        return true;
    }

    // One input's set-up: the database with its edits, `adjust` on it, the
    // game reset as Begin does, and a party of one to four heroes chosen by
    // byte 3. False when the input is refused.
    template <class Adjust>
    bool Prepare(std::span<const uint8_t> input, int maxFrames, bool newGame, Adjust adjust) {
        if (input.size() < scene_input::kHeader) return false;
        const size_t keysAt = BuildDatabase(input);
        if (keysAt == 0) return false;
        adjust();
        if (!Begin(input, keysAt, maxFrames, newGame)) return false;
        const int members = 1 + (input[3] & 3);
        for (int i = 0; i < members; ++i) GamePartyInfo->AddMember(1 + ((input[3] >> 2) + i) % 4);
        return true;
    }

    // The frame loop until the scene is none of those `stay` allows, the
    // frames are spent or a clear error ends the game.
    template <class Stay>
    void Run(Stay stay) {
        Play([&] {
            while (stay(GameSystem->scene)) RunSceneFrame();
        });
    }

    // Runs `play`, which draws and waits frames, until it returns, the
    // frames are spent or a clear error ends the game.
    template <class F>
    static void Play(F play) {
        try {
            play();
        } catch (const ESorvoDrawAbort&) {
            // The frames are spent.
        } catch (const ESorvoDrawReset&) {
            // Back to the title.
        } catch (const Exception&) {
            // A clear error ends the game.
        }
    }

    int Frame() const { return int((sys->NowMicros() - startMicros) / (1'000'000 / 60)); }

    platform::HeadlessPlatform* sys = nullptr;
    std::filesystem::path folder;
    TLcfMapTree tree;
    TLcfMap unit{1};

private:
    static constexpr platform::Key kKeys[8] = {platform::Key::Down, platform::Key::Left, platform::Key::Right,
                                               platform::Key::Up,   platform::Key::Enter, platform::Key::Escape,
                                               platform::Key::Shift, platform::Key::Shift};

    // At every pump, before its events: the keys of the frame held.
    void HoldKeys() {
        const int frame = Frame();
        const uint8_t k = keys.empty() ? 0 : keys[size_t(frame) % keys.size()];
        const int direction = k & 7;
        const bool held[8] = {direction == 1, direction == 2, direction == 3, direction == 4,
                              (k & 8) != 0,   (k & 16) != 0,  (k & 32) != 0, (k & 32) != 0};
        for (int i = 0; i < 7; ++i) {
            if (held[i] == sys->IsKeyHeld(kKeys[i])) continue;
            if (held[i])
                sys->PressKey(kKeys[i]);
            else
                sys->ReleaseKey(kKeys[i]);
        }
    }

    static constexpr size_t kTableBytesLimit = size_t(64) << 20;
    std::map<std::pair<size_t, std::string>, std::vector<uint8_t>> tableBytes;
    size_t tableBytesSize = 0;

    std::span<const uint8_t> keys;
    int frameLimit = 1;
    uint64_t startMicros = 0;
};

// The one world of a fuzz process, made at its first input.
inline World& TheWorld() {
    static World* world = new World;
    return *world;
}

// libFuzzer's flags for the scene targets, before its own parsing: leak
// detection off unless the command line asks for it. The world lives
// across inputs by design (an input's database is freed by the next one;
// pictures, glyphs and table bytes stay cached), so most inputs end with
// more allocations than frees, and libFuzzer then runs each again and
// scans the whole heap: about half the time of a run, for a check that
// cannot tell a cache from a leak. The sanitizer run of the test suite
// checks every test program, scenes included, for leaks at its end.
inline void DefaultFlags(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i)
        if (std::string_view((*argv)[i]).starts_with("-detect_leaks=")) return;
    static std::vector<char*> args;
    static char detectLeaks[] = "-detect_leaks=0";
    args.assign(*argv, *argv + *argc);
    args.push_back(detectLeaks);
    args.push_back(nullptr);
    *argc = int(args.size()) - 1;
    *argv = args.data();
}

}  // namespace scene_world
