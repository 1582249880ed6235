#pragma once
// Helpers for the game-graphics tests: sheets built in code and a way to
// save what a board shows as a PNG to look at.

#include <cstdint>
#include <string>

#include "media/board/board.h"
#include "media/image/bitmap.h"
#include "media/image/png.h"
#include "media/sheet/sheet.h"
#include "support/noise_png.h"

namespace graphics_test {

// A palette where index i has a colour of its own, easy to tell apart.
inline void DistinctPalette(TSorvoSheet& sheet) {
    for (int i = 0; i < 256; ++i)
        sheet.SetPaletteEntry(i, uint8_t((i * 97) & 0xFF), uint8_t((i * 57 + 80) & 0xFF), uint8_t((i * 31 + 160) & 0xFF));
    sheet.SetPaletteEntry(0, 0, 0, 0);
    sheet.UpdateColorTable();
}

inline void Fill(TSorvoSheet& sheet, int x, int y, int w, int h, uint8_t index) {
    sheet.FillRect(RectOfSize(x, y, w, h), index);
}

inline uint8_t At(const TSorvoSheet& sheet, int x, int y) { return sheet.ScanLine(y)[x]; }

// Saves a board as PNG beside the build's test programs.
inline std::string SaveBoardPng(const TSorvoBoard& board, const std::string& name) {
    TSorvoPng png;
    png.SetFormat(board.Width(), board.Height(), 24);
    for (int y = 0; y < board.Height(); ++y) {
        const uint16_t* src = board.ScanLine(y);
        uint8_t* dst = png.Row(y);
        for (int x = 0; x < board.Width(); ++x) {
            uint16_t c = src[x];
            dst[3 * x + 0] = uint8_t(((c & 0x1F) * 255) / 31);
            dst[3 * x + 1] = uint8_t((((c >> 5) & 0x3F) * 255) / 63);
            dst[3 * x + 2] = uint8_t(((c >> 11) * 255) / 31);
        }
    }
    std::string path = std::string(VARNOW_BINARY_DIR) + "/" + name;
    png.SaveToFile(path);
    return path;
}

}  // namespace graphics_test

namespace graphics_test {

using testing_support::SaveNoisePng;

// Does the board show the sheet's rectangle (w x h at sx, sy) at (x, y),
// pixel for pixel through the sheet's colour table?
inline ::testing::AssertionResult BoardShows(const TSorvoBoard& board, int x, int y, const TSorvoSheet& sheet, int sx,
                                             int sy, int w, int h) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            uint16_t want = sheet.ColorTable[sheet.ScanLine(sy + j)[sx + i]];
            uint16_t got = board.ScanLine(y + j)[x + i];
            if (want != got)
                return ::testing::AssertionFailure() << "pixel (" << x + i << "," << y + j << ") is " << got
                                                     << ", source (" << sx + i << "," << sy + j << ") gives " << want;
        }
    return ::testing::AssertionSuccess();
}

}  // namespace graphics_test
