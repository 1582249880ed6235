// One frame of screen effects: a full-screen panorama, 50 rotating and
// waving pictures and strength-2 weather, updated and drawn.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "blit_path_choice.h"

#include "data/random.h"
#include "game/panorama/panorama.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"
#include "graphics/graphics_files.h"
#include "media/board/board.h"
#include "media/image/png.h"
#include "media/sheet/sheet.h"

namespace {

void SavePng(const std::string& path, int width, int height, bool holes) {
    TSorvoPng png;
    png.SetFormat(width, height, 8);
    for (int i = 0; i < 256; ++i)
        png.Palette[size_t(i)] = PaletteEntry{uint8_t(i * 97), uint8_t(i * 57 + 80), uint8_t(i * 31 + 160), 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            png.Row(y)[x] = holes && ((x / 8 + y / 8) % 3 == 0) ? 0 : uint8_t(1 + (x * 3 + y * 5) % 255);
    png.SaveToFile(path);
}

void ScreenEffectsFrame(benchmark::State& state, int weatherKind, int pictureSize = 64, bool split = true) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "varnow_bench_effects";
    std::filesystem::create_directories(dir);
    SavePng((dir / "sky.png").string(), 640, 480, false);
    SavePng((dir / "pic.png").string(), pictureSize, pictureSize, true);
    SetGraphicsFileFinder([&](const std::string&, const std::string& name) { return (dir / (name + ".png")).string(); });
    SeedRandom(7);

    TLcfgPanorama panorama;
    TLcfgPicture pictures;
    TLcfgScreen screen;
    GameScreen = &screen;
    panorama.Configure("sky", true, 15, 20, 1, -1, true, false, false, false, true, true, true, true);
    panorama.LoadImage();
    for (int32_t id = 1; id <= TLcfgPicture::kCount; ++id)
        pictures.ItemById(id).Show("pic", 20 + (id * 37) % 280, 20 + (id * 53) % 200, false, 100 + id, 20, 0, split,
                                   100, 100, 100, 100, id % 2 ? 1 : 2, 5);
    screen.SetWeather(weatherKind, 2);
    screen.StartTint(120, 90, 90, 100, 0);
    TSorvoBoard board;
    board.SetSize(320, 240);
    for (auto _ : state) {
        screen.Update();
        pictures.UpdateAll();
        panorama.AutoScroll();
        for (int y = 0; y < 240; y += 16)
            for (int x = 0; x < 320; x += 16) panorama.DrawTile(board, x, y, screen.shakeY, screen.shakeX);
        pictures.DrawAll(board);
        screen.DrawEffects(board);
        benchmark::DoNotOptimize(board.Bits());
    }
    GameScreen = nullptr;
    SetGraphicsFileFinder(nullptr);
    std::filesystem::remove_all(dir);
}

void BM_EffectsFrameRain(benchmark::State& s) { ScreenEffectsFrame(s, TLcfgScreen::kRain); }
void BM_EffectsFrameSnow(benchmark::State& s) { ScreenEffectsFrame(s, TLcfgScreen::kSnow); }
void BM_EffectsFrameFog(benchmark::State& s) { ScreenEffectsFrame(s, TLcfgScreen::kFog); }
void BM_EffectsFrameSandstorm(benchmark::State& s) { ScreenEffectsFrame(s, TLcfgScreen::kSandstorm); }

}  // namespace

BENCHMARK(BM_EffectsFrameRain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EffectsFrameSnow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EffectsFrameFog)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EffectsFrameSandstorm)->Unit(benchmark::kMicrosecond);

namespace {
void BM_EffectsFramePicturesOnly(benchmark::State& s) { ScreenEffectsFrame(s, TLcfgScreen::kNoWeather); }
}  // namespace
BENCHMARK(BM_EffectsFramePicturesOnly)->Unit(benchmark::kMicrosecond);

namespace {
// Smaller pictures drawn whole (no split halves): 32x32 at 101-150 percent.
void BM_EffectsFrameRainSmallPictures(benchmark::State& s) { ScreenEffectsFrame(s, TLcfgScreen::kRain, 32, false); }
}  // namespace
BENCHMARK(BM_EffectsFrameRainSmallPictures)->Unit(benchmark::kMicrosecond);
