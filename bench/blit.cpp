// Full-screen 320x240 sheet blits onto the board: plain, transparent and at
// 50 % opacity, beside memcpy of the same 16-bit screen bytes. Items are
// pixels, so the figures read as pixels per second.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "media/board/board.h"
#include "media/board/table_row.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;

void NoiseSheet(TSorvoSheet& sheet) {
    sheet.SetSize(kWidth, kHeight);
    std::mt19937 rng(1);
    for (int i = 0; i < kWidth * kHeight; ++i) sheet.Pixels()[i] = uint8_t(rng());
    for (int i = 0; i < 256; ++i) sheet.SetPaletteEntry(i, uint8_t(rng()), uint8_t(rng()), uint8_t(rng()));
    sheet.UpdateColorTable();
}

void RunBlit(benchmark::State& state, bool transparent, int opacity) {
    TSorvoSheet sheet;
    NoiseSheet(sheet);
    sheet.Transparent = transparent;
    sheet.Opacity = opacity;
    TSorvoBoard board;
    board.SetSize(kWidth, kHeight);
    for (auto _ : state) {
        board.Draw(0, 0, sheet, sheet.GetBoundsRect());
        benchmark::DoNotOptimize(board.Bits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_Memcpy(benchmark::State& state) {
    std::vector<uint16_t> src(kWidth * kHeight, 0x1234), dst(kWidth * kHeight);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(uint16_t));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// The portable row loop alone, as on processors without wide vectors.
void BM_PlainRowsPortable(benchmark::State& state) {
    TSorvoSheet sheet;
    NoiseSheet(sheet);
    TSorvoBoard board;
    board.SetSize(kWidth, kHeight);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y)
            TableRowScalar(board.ScanLine(y), sheet.ScanLine(y), kWidth, sheet.ColorTable.data(), false);
        benchmark::DoNotOptimize(board.Bits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_PlainBlit(benchmark::State& state) {
    RunBlit(state, false, 255);
}
void BM_TransparentBlit(benchmark::State& state) {
    RunBlit(state, true, 255);
}
void BM_HalfOpacityBlit(benchmark::State& state) {
    RunBlit(state, false, 128);
}

}  // namespace

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_PlainBlit);
BENCHMARK(BM_TransparentBlit);
BENCHMARK(BM_HalfOpacityBlit);
BENCHMARK(BM_PlainRowsPortable);

namespace {

// One 64x64 picture with holes, keyed and at 80 % opacity, as the picture
// layer draws it: rotated a little further each iteration, waved with a
// moving phase, or zoomed. Items are source pixels.
void PictureSheet(TSorvoSheet& sheet) {
    sheet.SetSize(64, 64);
    std::mt19937 rng(2);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) sheet.ScanLine(y)[x] = (x / 8 + y / 8) % 3 == 0 ? 0 : uint8_t(1 + rng() % 255);
    for (int i = 0; i < 256; ++i) sheet.SetPaletteEntry(i, uint8_t(rng()), uint8_t(rng()), uint8_t(rng()));
    sheet.UpdateColorTable();
    sheet.Transparent = true;
    sheet.Opacity = 204;
}

void BM_RotatedPicture(benchmark::State& state) {
    TSorvoSheet sheet;
    PictureSheet(sheet);
    TSorvoBoard board;
    board.SetSize(kWidth, kHeight);
    uint8_t angle = 0;
    for (auto _ : state) {
        board.RotateDraw(160, 120, sheet, sheet.GetBoundsRect(), 32, 32, angle += 3, 1.3);
        benchmark::DoNotOptimize(board.Bits());
    }
    state.SetItemsProcessed(state.iterations() * 64 * 64);
}

void BM_WavedPicture(benchmark::State& state) {
    TSorvoSheet sheet;
    PictureSheet(sheet);
    TSorvoBoard board;
    board.SetSize(kWidth, kHeight);
    int32_t phase = 0;
    for (auto _ : state) {
        board.WaveDraw(160, 120, sheet, sheet.GetBoundsRect(), 32, 32, 8, 32, phase += 8, 1.3);
        benchmark::DoNotOptimize(board.Bits());
    }
    state.SetItemsProcessed(state.iterations() * 64 * 64);
}

void BM_ZoomedPicture(benchmark::State& state) {
    TSorvoSheet sheet;
    PictureSheet(sheet);
    TSorvoBoard board;
    board.SetSize(kWidth, kHeight);
    for (auto _ : state) {
        board.ZoomDraw(160, 120, sheet, sheet.GetBoundsRect(), 32, 32, 1.3);
        benchmark::DoNotOptimize(board.Bits());
    }
    state.SetItemsProcessed(state.iterations() * 64 * 64);
}

}  // namespace

BENCHMARK(BM_RotatedPicture);
BENCHMARK(BM_WavedPicture);
BENCHMARK(BM_ZoomedPicture);
