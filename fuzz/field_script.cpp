// Plays a map file on the real map world for a bounded number of frames:
// the save container's objects (system, party, vehicles, run-time map,
// interpreters), the map world's hooks and the field scene, on the headless
// platform. The map's events run their pages (transfers, vehicles, routes,
// tiles, panorama, branches, calls, erasing, switches, variables, gold,
// items, party), the party walks by scripted keys, the field draws the map
// from a chip set, a character sheet and a panorama, and at the end the game
// is saved, loaded back and saved again: the party's and the map's chunks
// must come back unchanged. Map files are untrusted: nothing may crash,
// hang or allocate without bound; a clear error ends the run.
//
// Input: 8 header bytes, then a map file (its magic first).
//   0, 1   the party's start cell
//   2      frames to run (1-64)
//   3      bit 0: common event 1 runs the first page of event 1 as a
//          parallel process; bit 1: the party starts aboard the boat
//   4-7    the keys, one byte per frame, repeating: bits 0-2 the direction
//          (0 none, 1 down, 2 left, 3 right, 4 up), bit 3 decision,
//          bit 4 cancel
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <span>

#include "data/database/chip_set.h"
#include "data/database/database.h"
#include "data/database/ground.h"
#include "data/errors.h"
#include "data/folders.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "data/random.h"
#include "game/common_events/common_event_state.h"
#include "game/game_world_hooks.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/map/game_map.h"
#include "game/party/party_info.h"
#include "game/save/save_data.h"
#include "game/system/game_system.h"
#include "game/vehicle/ship.h"
#include "game/walker/party.h"
#include "graphics/chip_set_layout.h"
#include "media/image/png.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "platform/headless/headless_platform.h"
#include "scenes/field/field_scene.h"

namespace {

// The run time grows with the cells (the generator, the events' searches).
constexpr int64_t kMaxCells = 64 * 64;
constexpr int kHeader = 8;

// A game folder with a chip set "Tiles", a character sheet "People" and a
// panorama "Sky", each pixel of them a colour index of its own, so the
// field draws every tile, sprite and panorama cell the map asks for.
void WriteImages(const std::filesystem::path& folder) {
    for (const char* sub : {"ChipSet", "CharSet", "Panorama"}) std::filesystem::create_directories(folder / sub);
    auto write = [](const std::filesystem::path& path, int w, int h) {
        TSorvoPng png;
        png.SetFormat(w, h, 8);
        for (int i = 0; i < 256; ++i) png.Palette[i] = PaletteEntry{uint8_t(i), uint8_t(i * 7), uint8_t(i * 13), 0};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) png.Row(y)[x] = uint8_t((x / 4 + y / 4) % 256);
        png.SaveToFile(path.string());
    };
    write(folder / "ChipSet" / "Tiles.png", kChipSetImageWidth, kChipSetImageHeight);
    write(folder / "CharSet" / "People.png", 288, 256);
    write(folder / "Panorama" / "Sky.png", 320, 240);
}

struct World {
    World() {
        platform::SetPlatform(std::make_unique<platform::HeadlessPlatform>());
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("varnow_fuzz_field_" + std::to_string(getpid()));
        WriteImages(folder);
        SetGameFolder(folder.string(), "Varnow");
        db = std::make_unique<TLcfDataBase>();
        DbPlayer->SetCount(3);
        DbItem->SetCount(4);
        DbStatus->SetCount(3);
        DbCommonEvent->SetCount(2);
        TLcfChipSetItem* chips = DbChipSet->GetOrCreate(1);
        chips->imageName = "Tiles";
        chips->lowerFlags[19] = 0x00;  // a wall
        chips->terrain[20] = 2;        // water
        chips->upperFlags[1] = 0x00;
        chips->upperFlags[4] = 0x40;  // a counter
        DbGround->GetOrCreate(1);
        TLcfGroundItem* water = DbGround->GetOrCreate(2);
        water->boatPassable = water->shipPassable = 1;
        for (int id : {1, 2}) tree.AppendToOrder(tree.GetOrCreate(id));
        tree.FindMap(2)->parentId = 1;
        GameMapTree = &tree;
        GameMapUnit = &unit;
        GameDraw = new TSorvoDraw();
        GameDraw->SetFrameRate(60);
        GameDraw->SetMaxLag(20);
        GameDraw->SetScreenMode(smWindow);
        GameDraw->Initialize();
        save = std::make_unique<TLcfgSaveData>();
        GameSaveData = save.get();
        // Every map id reads the one map of the input.
        save->Map().MapLoader = [this](int32_t id) { unit.SetId(id); };
        InstallGameWorldHooks(nullptr);
        scene = std::make_unique<TLcfFieldScene>();
        GameInterpreterHooks.field = scene.get();
        input = std::make_unique<TMultiInput>();
        GameInterpreterHooks.input = input.get();
    }

    std::unique_ptr<TLcfDataBase> db;
    TLcfMapTree tree;
    TLcfMap unit{1};
    std::unique_ptr<TLcfgSaveData> save;
    std::unique_ptr<TLcfFieldScene> scene;
    std::unique_ptr<TMultiInput> input;
};

std::vector<uint8_t> Chunk(TLcfgSaveData& save, int id) {
    ByteWriter w;
    save.ChunkOwner(id)->SaveToStream(w);
    return w.Take();
}

void SetKeys(TMultiInput& input, uint8_t k) {
    static constexpr int kDirections[8] = {0, 2, 4, 6, 8, 0, 0, 0};
    static constexpr int kButtons[8] = {0, TMultiInput::kDown, TMultiInput::kLeft, TMultiInput::kRight,
                                        TMultiInput::kUp, 0, 0, 0};
    input.Direction = kDirections[k & 7];
    input.Held = input.Pressed = input.Repeated = 0;
    if (input.Direction) input.Held |= TMultiInput::Bit(kButtons[k & 7]);
    if (k & 8) input.Pressed |= TMultiInput::Bit(TMultiInput::kDecision);
    if (k & 16) input.Pressed |= TMultiInput::Bit(TMultiInput::kCancel);
    input.Held |= input.Pressed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World* world = new World;
    if (size < kHeader) return 0;
    World& w = *world;
    try {
        w.unit.LoadFromBytes(std::span<const uint8_t>(data + kHeader, size - kHeader));
    } catch (const Exception&) {
        return 0;
    }
    if (int64_t(w.unit.width) * w.unit.height > kMaxCells) return 0;
    SeedRandom(size);

    const int frames = 1 + data[2] % 64;
    TLcfCommonEventItem* common = DbCommonEvent->Items(0);
    common->trigger = (data[3] & 1) ? TLcfCommonEventItem::kParallel : TLcfCommonEventItem::kCallOnly;
    common->script.Clear();
    if (const TLcfEventItem* e = w.unit.events.Items(0); e && e->pages.Count() > 0)
        common->script.Assign(e->pages.Items(0)->script);

    try {
        w.scene->Reset();
        // A dark screen and a scene that has faded in already: transfers and
        // the first frame draw no transition frames, which would cost more
        // than the scripts.
        w.scene->started = true;
        GameDraw->Board().Brightness = 0;
        w.save->StartPosition = [&] { return TPartyStart{1, data[0] % w.unit.width, data[1] % w.unit.height}; };
        w.save->NewGame();
        GamePartyInfo->AddMember(1);
        GamePartyInfo->AddMember(2);
        if (data[3] & 2) {
            GameBoat->SetPosition(1, GameParty->x, GameParty->y);
            GameParty->riding = 1;
            GameParty->vehicleKind = TLcfgShip::kBoat;
        }
        for (int f = 0; f < frames && GameSystem->scene == kSceneField; ++f) {
            SetKeys(*w.input, data[4 + f % 4]);
            w.scene->Update();
            // Drawing costs more than the scripts: every eighth frame.
            if (f % 8 == 0) w.scene->Draw();
        }
    } catch (const Exception&) {
        // A clear error ends the game.
        return 0;
    }

    std::vector<uint8_t> bytes = w.save->SaveToBytes();
    const std::vector<uint8_t> party = Chunk(*w.save, 104), map = Chunk(*w.save, 111);
    w.save->LoadFromBytes(bytes, false);
    if (Chunk(*w.save, 104) != party || Chunk(*w.save, 111) != map) std::abort();
    return 0;
}
