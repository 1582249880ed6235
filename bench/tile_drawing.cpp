// Drawing a full 320x240 screen of map tiles: 20x15 cells of the lower
// layer (water, animated and terrain autotiles mixed with plain tiles) and
// the upper layer (half of it blank chips), as the field scene does every
// frame. Goal: well under 100 us a frame.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "blit_path_choice.h"

#include "graphics/chip_set_graphic.h"
#include "graphics/graphics_files.h"
#include "media/image/png.h"

namespace {

std::string NoiseChipSet() {
    std::string path = (std::filesystem::temp_directory_path() / "varnow_bench_chipset.png").string();
    TSorvoPng png;
    png.SetFormat(480, 256, 8);
    for (int i = 0; i < 256; ++i) png.Palette[size_t(i)] = PaletteEntry{uint8_t(i), uint8_t(i * 3), uint8_t(i * 7), 0};
    uint32_t s = 1;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 480; ++x) {
            s = s * 1664525u + 1013904223u;
            // Upper tiles 0..47 (x 288..383, rows 8..15) stay blank.
            bool blankUpper = x >= 288 && x < 384 && y >= 128;
            png.Row(y)[x] = blankUpper ? 0 : uint8_t(1 + (s >> 24) % 255);
        }
    png.SaveToFile(path);
    return path;
}

void BM_FullScreenBothLayers(benchmark::State& state) {
    std::string path = NoiseChipSet();
    SetGraphicsFileFinder([&](const std::string&, const std::string&) { return path; });
    TLcfChipSetGraphic chips;
    TLcfChipSetItem chipSet(1);
    chipSet.imageName = "bench";
    chips.SetChipSet(&chipSet);
    chips.SetDrawMode(true);
    SetGraphicsFileFinder(nullptr);

    int lower[15][20], upper[15][20];
    uint32_t s = 7;
    auto next = [&](uint32_t n) {
        s = s * 1664525u + 1013904223u;
        return int((s >> 8) % n);
    };
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            switch (next(4)) {
            case 0: lower[y][x] = next(3) * 1000 + next(20) * 50 + next(50); break;  // water with edges
            case 1: lower[y][x] = 4000 + next(12) * 50 + next(50); break;           // terrain
            case 2: lower[y][x] = 3000 + next(3) * 50; break;                        // animated
            default: lower[y][x] = 5000 + next(144); break;                          // plain
            }
            upper[y][x] = 10000 + next(96);  // half of these are blank
        }
    TSorvoBoard board;
    board.SetSize(320, 240);
    int frame = 0;
    for (auto _ : state) {
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 20; ++x) {
                chips.DrawTile(board, x * 16, y * 16, 16, lower[y][x], frame);
                chips.DrawTile(board, x * 16, y * 16, 16, upper[y][x], frame);
            }
        ++frame;
        benchmark::DoNotOptimize(board.Bits());
    }
    state.SetLabel("600 tiles a frame");
    std::filesystem::remove(path);
}
BENCHMARK(BM_FullScreenBothLayers)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// For scale on a busy machine: one plain transparent blit of a whole
// 320x240 sheet, the same pixel work as 300 opaque tiles.
void BM_ReferenceFullScreenBlit(benchmark::State& state) {
    TSorvoSheet sheet;
    sheet.SetSize(320, 240);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) sheet.ScanLine(y)[x] = uint8_t(1 + (x * 7 + y * 13) % 255);
    sheet.Transparent = true;
    TSorvoBoard board;
    board.SetSize(320, 240);
    for (auto _ : state) {
        board.Draw(0, 0, sheet, sheet.GetBoundsRect());
        benchmark::DoNotOptimize(board.Bits());
    }
}
BENCHMARK(BM_ReferenceFullScreenBlit)->Unit(benchmark::kMicrosecond);

}  // namespace
