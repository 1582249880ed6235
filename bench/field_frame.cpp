// One field frame (update and draw), on a map built here and on the demo
// game's busiest map. The built one: 60 x 40 cells of water
// and terrain autotiles, plain and animated tiles with holes for a
// panorama, upper tiles drawn above characters, 120 walking events (about
// 40 on screen), rain, and three pictures. Reports the share of each
// drawing step next to the update.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "data/database/chip_set.h"
#include "data/database/database.h"
#include "data/database/ground.h"
#include "data/folders.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "game/game_world_hooks.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/save/save_data.h"
#include "graphics/system_graphic.h"
#include "scenes/windows/window.h"
#include "data/random.h"
#include "game/map/game_map.h"
#include "game/panorama/panorama.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"
#include "game/system/game_system.h"
#include "game/system/system_hooks.h"
#include "game/walker/party.h"
#include "media/screen/sorvo_draw.h"
#include "platform/headless/headless_platform.h"
#include "scenes/field/field_scene.h"
#include "support/noise_png.h"
#include "demo_run.h"
#include "walking_world.h"

namespace {

namespace fs = std::filesystem;

using Clock = std::chrono::steady_clock;

// Times update and each drawing step of one field frame per iteration and
// reports every step's share of the whole in percent.
void RunFrames(benchmark::State& state, TLcfFieldScene& scene) {
    scene.started = true;
    double spent[9] = {};
    auto timed = [&](int slot, auto fn) {
        const auto t0 = Clock::now();
        fn();
        spent[slot] += std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    };
    for (auto _ : state) {
        ++GameSystem->frameCount;
        timed(0, [&] { scene.Update(); });
        timed(1, [&] { scene.PrepareFrame(); });
        timed(2, [&] { scene.DrawTilesBelow(); });
        timed(3, [&] { scene.DrawCharacters(0); });
        timed(4, [&] { scene.DrawCharacters(1); });
        timed(5, [&] { scene.DrawTilesAbove(); });
        timed(6, [&] { scene.DrawCharacters(2); });
        timed(7, [&] { scene.DrawOverlays(); });
        timed(8, [&] { scene.DrawWindows(); });
    }
    double total = 0;
    for (double s : spent) total += s;
    static const char* const kNames[9] = {"update%", "prepare%", "tiles_below%", "layer0%", "layer1%",
                                          "tiles_above%", "layer2%", "effects_pictures%", "windows%"};
    for (int i = 0; i < 9; ++i) state.counters[kNames[i]] = total > 0 ? 100.0 * spent[i] / total : 0;
}

void BM_FieldFrameBusyMap(benchmark::State& state) {
    platform::SetPlatform(std::make_unique<platform::HeadlessPlatform>());
    const fs::path folder = fs::temp_directory_path() / "varnow_bench_field";
    for (const char* sub : {"ChipSet", "CharSet", "Panorama", "Picture"}) fs::create_directories(folder / sub);
    using testing_support::SaveNoisePng;
    SaveNoisePng((folder / "ChipSet" / "Busy.png").string(), 480, 256, 1, 7);
    SaveNoisePng((folder / "CharSet" / "People.png").string(), 288, 256, 2, 5);
    SaveNoisePng((folder / "Panorama" / "Sky.png").string(), 320, 240, 3, 0);
    SaveNoisePng((folder / "Picture" / "Sign.png").string(), 64, 48, 4, 3);
    SetGameFolder(folder.string(), "Varnow");

    auto draw = std::make_unique<TSorvoDraw>();
    GameDraw = draw.get();
    GameDraw->SetScreenMode(smWindow);
    GameDraw->Initialize();
    TLcfDataBase db;
    TLcfChipSetItem* chips = DbChipSet->GetOrCreate(1);
    chips->imageName = "Busy";
    for (int c = 1; c < 144; c += 5) chips->upperFlags[size_t(c)] = 0x1F;  // drawn above
    DbGround->GetOrCreate(1);
    TSilentSystemAudio audio;
    TSilentSystemScreen sysScreen;
    TLcfgSystem system(&audio, &sysScreen);
    GameSystem = &system;
    TLcfgScreen screen;
    GameScreen = &screen;
    TLcfgPicture pictures;
    GamePictures = &pictures;
    TLcfgPanorama panorama;
    GamePanorama = &panorama;

    constexpr int W = 60, H = 40;
    TLcfMap unit;
    unit.width = W;
    unit.height = H;
    unit.Lower().Resize(W, H);
    unit.Upper().Resize(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int k = (x * 7 + y * 13) % 10;
            const int32_t lower = k < 2 ? (x + y) % 50 : k < 4 ? 4000 + (x * 3 + y) % 50 : k == 4 ? 3000 : 5000 + (x + 2 * y) % 144;
            unit.Lower().SetTile(x, y, lower);
            unit.Upper().SetTile(x, y, (x * 5 + y * 3) % 4 == 0 ? 10000 + (x + y) % 144 : 10000);
        }
    for (int i = 1; i <= 120; ++i) {
        TLcfEventPageItem& page = bench_world::AddWalker(unit, i);
        page.layer = uint8_t(i % 3);
        page.sheetName = "People";
        page.sheetIndex = i % 8;
    }
    unit.ChipSetGraphic().SetChipSet(chips);
    bench_world::WalkingWorld world(unit, 30, 20);
    world.party.sheetName = "People";
    panorama.Configure("Sky", true, H, W, 0, 0, true, false, false, false, false, false, false, false);
    panorama.LoadImage();
    screen.SetWeather(TLcfgScreen::kRain, 2);
    for (int id = 1; id <= 3; ++id)
        pictures.ItemById(id).Show("Sign", 60.0 * id, 80, false, 100, 0, 0, true, 100, 100, 100, 100, 0, 0);
    SeedRandom(7);

    TLcfFieldScene scene;
    RunFrames(state, scene);
    state.counters["characters"] = world.map.CharacterCount();

    GameScreen = nullptr;
    GamePictures = nullptr;
    GamePanorama = nullptr;
    GameSystem = nullptr;
    GameDraw = nullptr;
    draw.reset();
    std::error_code ec;
    fs::remove_all(folder, ec);
    platform::SetPlatform(nullptr);
}

// The demo game's map with the most events, played from a new game with
// the program's own objects.
void BM_FieldFrameDemoBusiestMap(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "varnow_bench_field_demo";
    if (!bench_demo::WriteDemo(folder)) {
        state.SkipWithError("mkdemo not found (set VARNOW_MKDEMO)");
        return;
    }
    platform::SetPlatform(std::make_unique<platform::HeadlessPlatform>());
    SetGameFolder(folder.string(), "Varnow");
    GameDraw = new TSorvoDraw();
    GameDraw->SetScreenMode(smWindow);
    GameDraw->Initialize();
    GameMapTree = new TLcfMapTree();
    GameMapUnit = new TLcfMap(0);
    GameMapTree->Load();
    GameDataBase = new TLcfDataBase();
    GameDataBase->Load();
    GameSystemGraphic = new TLcfSystemGraphic(GameDraw->Board());
    GameSaveData = new TLcfgSaveData(GameSystemGraphic);
    GameSaveData->StartPosition = [] {
        const TLcfMapStartPosition& p = GameMapTree->startPosition;
        return TPartyStart{p.GetMapId(TLcfMapStartPosition::kParty), p.GetX(TLcfMapStartPosition::kParty),
                           p.GetY(TLcfMapStartPosition::kParty)};
    };
    GameSaveData->Reset();
    InstallGameWorldHooks(GameSystemGraphic);
    {
        TLcfFieldScene scene;
        GameInterpreterHooks.field = &scene;
        GameSaveData->NewGame();
        int32_t busiest = GameParty->mapId, most = -1;
        for (int i = 0; i < GameMapTree->Count(); ++i) {
            const TLcfMapTreeItem* entry = GameMapTree->Items(i);
            if (entry->IsArea()) continue;
            TLcfMap probe(entry->Id());
            probe.LoadFromFile((folder / MapFileName(entry->Id())).string());
            if (probe.events.Count() > most) {
                most = probe.events.Count();
                busiest = entry->Id();
            }
        }
        // The middle of the busiest map.
        TLcfMap probe(busiest);
        probe.LoadFromFile((folder / MapFileName(busiest)).string());
        scene.RequestTeleport(busiest, probe.width / 2, probe.height / 2, 0);
        scene.PerformTeleport();
        SeedRandom(7);
        RunFrames(state, scene);
        state.counters["map"] = busiest;
        state.counters["characters"] = GameMap->CharacterCount();
        GameInterpreterHooks.field = nullptr;
    }
    RemoveGameWorldHooks();
    delete GameSaveData;
    GameSaveData = nullptr;
    delete GameSystemGraphic;
    GameSystemGraphic = nullptr;
    delete GameDataBase;
    GameDataBase = nullptr;
    delete GameMapUnit;
    GameMapUnit = nullptr;
    delete GameMapTree;
    GameMapTree = nullptr;
    delete GameDraw;
    GameDraw = nullptr;
    std::error_code ec;
    fs::remove_all(folder, ec);
    platform::SetPlatform(nullptr);
}

}  // namespace

BENCHMARK(BM_FieldFrameBusyMap)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FieldFrameDemoBusiestMap)->Unit(benchmark::kMicrosecond);
