// The twenty screen transitions of TLcfScene: block dissolves, blinds,
// stripes, scrolls, splits, zoom, mosaic and raster wave. OLD is the first
// work board (the picture being replaced), NEW the second.
#include <algorithm>
#include <numeric>
#include <vector>

#include "data/clamp.h"
#include "data/random.h"
#include "game/system/game_system.h"
#include "media/board/angle_tables.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/scene.h"

namespace {

constexpr int W = TLcfScene::kWidth;
constexpr int H = TLcfScene::kHeight;
constexpr int kBlocks = 80 * 60;

// Order of the 4x4 blocks for the dissolves (types 1-3).
std::vector<int32_t> BlockOrder(int type) {
    std::vector<int32_t> order(kBlocks);
    std::iota(order.begin(), order.end(), 0);
    if (type == 1) {
        for (int p = 0; p < kBlocks; ++p) std::swap(order[size_t(p)], order[size_t(Random(kBlocks))]);
        return order;
    }
    if (type == 3) std::reverse(order.begin(), order.end());
    // A ragged front: each block may arrive up to ten rows early or late.
    for (int p = 800; p < 4000; ++p) std::swap(order[size_t(p)], order[size_t(p - 800 + Random(1600))]);
    return order;
}

void Copy(TSorvoBoard& screen, const TSorvoBoard& src, int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t w,
          int32_t h) {
    CopyBoardRect(screen, x, y, src, sx, sy, w, h);
}

// A rectangle of a board to the same place on the screen.
void Same(TSorvoBoard& screen, const TSorvoBoard& src, int32_t x, int32_t y, int32_t w, int32_t h) {
    CopyBoardRect(screen, x, y, src, x, y, w, h);
}

void Whole(TSorvoBoard& screen, const TSorvoBoard& src, int32_t x, int32_t y) { Copy(screen, src, x, y, 0, 0, W, H); }

}  // namespace

void TLcfScene::DrawMosaic(TSorvoBoard& board, int32_t a) {
    if (a <= 0) a = 1;
    int32_t k = Random(a) + a / 2;
    TSorvoBoard& screen = GameDraw->Board();
    for (int32_t y = 0; y < H; ++y) {
        int32_t sy = Clamp(a * ((y + k) / a) - a / 2, 0, H - 1);
        const uint16_t* in = board.ScanLine(sy);
        uint16_t* out = screen.ScanLine(y);
        for (int32_t x = 0; x < W; ++x) out[x] = in[Clamp(a * ((x + k) / a) - a / 2, 0, W - 1)];
    }
}

void TLcfScene::DrawWave(TSorvoBoard& board, int32_t p) {
    TSorvoBoard& screen = GameDraw->Board();
    for (int32_t y = 0; y < H; ++y) {
        uint8_t angle = uint8_t((16 * p + 8 * y) & 255);
        int32_t s = int32_t(TableSin(angle) * 2 * p);
        s = Clamp(s, -W, W);
        const uint16_t* in = board.ScanLine(y);
        uint16_t* out = screen.ScanLine(y);
        if (s >= 0) {
            std::copy(in + s, in + W, out);
            std::fill(out + (W - s), out + W, uint16_t(0));
        } else {
            std::copy(in, in + (W + s), out - s);
            std::fill(out, out - s, uint16_t(0));
        }
    }
}

void TLcfScene::RunTransition(bool show, int type) {
    TSorvoBoard& screen = GameDraw->Board();
    TSorvoBoard& oldB = OldBoard();
    TSorvoBoard& newB = NewBoard();
    if (type == 19) {
        Whole(screen, newB, 0, 0);
        GameDraw->Flip();
        return;
    }
    if (type == 0) {
        if (!show)
            FadeOut(3);
        else if (screen.Brightness >= 100)
            CrossFade();
        else
            FadeIn(3);
        return;
    }
    std::vector<int32_t> order;
    if (type >= 1 && type <= 3) order = BlockOrder(type);
    int32_t fx = 160, fy = 120;
    if (type == 16 && GameSystem && GameSystem->scene == 0 && PartyScreenPosition) PartyScreenPosition(fx, fy);

    for (int32_t i = 0; i <= 40; ++i) {
        // Types 1-8 add to the picture: they paint even in frames not shown.
        switch (type) {
            case 1: case 2: case 3:
                if (i < 40)
                    for (int32_t n = i * 120; n < i * 120 + 120; ++n) {
                        int32_t b = order[size_t(n)];
                        Same(screen, newB, (b % 80) * 4, (b / 80) * 4, 4, 4);
                    }
                break;
            case 4:
                for (int32_t j = 0; j < 60; ++j) {
                    int32_t y = show ? 8 * j + 7 - i / 5 : 8 * j + i / 5;
                    Same(screen, newB, 0, y, W, 1);
                }
                break;
            case 5:
                Same(screen, newB, 0, 6 * i, W, 3);
                Same(screen, newB, 0, 237 - 6 * i, W, 3);
                break;
            case 6:
                Same(screen, newB, 8 * i, 0, 4, H);
                Same(screen, newB, 316 - 8 * i, 0, 4, H);
                break;
            case 7:
                Same(screen, newB, 0, 3 * i, W, 3);
                Same(screen, newB, 0, 240 - 3 * i, W, 3);
                Same(screen, newB, 4 * i, 0, 4, H);
                Same(screen, newB, 320 - 4 * i, 0, 4, H);
                break;
            case 8:
                Same(screen, newB, 160 - 4 * i, 120 - 3 * i, 8 * i, 6 * i);
                break;
            default: break;
        }
        if (GameDraw->GetLag() < GameDraw->MaxLag() / 2) {
            switch (type) {
                case 9:
                    Whole(screen, oldB, 0, -6 * i);
                    Whole(screen, newB, 0, 240 - 6 * i);
                    break;
                case 10:
                    Whole(screen, newB, 0, 6 * i - 240);
                    Whole(screen, oldB, 0, 6 * i);
                    break;
                case 11:
                    Whole(screen, oldB, -8 * i, 0);
                    Whole(screen, newB, 320 - 8 * i, 0);
                    break;
                case 12:
                    Whole(screen, newB, 8 * i - 320, 0);
                    Whole(screen, oldB, 8 * i, 0);
                    break;
                case 13:
                    if (show) {
                        Copy(screen, newB, 0, 3 * i - 120, 0, 0, W, 120);
                        Copy(screen, newB, 0, 240 - 3 * i, 0, 120, W, 120);
                        Same(screen, oldB, 0, 3 * i, W, 240 - 6 * i);
                    } else {
                        Copy(screen, oldB, 0, -3 * i, 0, 0, W, 120);
                        Copy(screen, oldB, 0, 120 + 3 * i, 0, 120, W, 120);
                        Same(screen, newB, 0, 120 - 3 * i, W, 6 * i);
                    }
                    break;
                case 14:
                    if (show) {
                        Copy(screen, newB, 4 * i - 160, 0, 0, 0, 160, H);
                        Copy(screen, newB, 320 - 4 * i, 0, 160, 0, 160, H);
                        Same(screen, oldB, 4 * i, 0, 320 - 8 * i, H);
                    } else {
                        Copy(screen, oldB, -4 * i, 0, 0, 0, 160, H);
                        Copy(screen, oldB, 160 + 4 * i, 0, 160, 0, 160, H);
                        Same(screen, newB, 160 - 4 * i, 0, 8 * i, H);
                    }
                    break;
                case 15: {
                    TSorvoBoard& base = show ? oldB : newB;
                    TSorvoBoard& quarters = show ? newB : oldB;
                    Whole(screen, base, 0, 0);
                    int32_t left = show ? 4 * i - 160 : -4 * i;
                    int32_t right = show ? 320 - 4 * i : 160 + 4 * i;
                    int32_t top = show ? 3 * i - 120 : -3 * i;
                    int32_t bottom = show ? 240 - 3 * i : 120 + 3 * i;
                    Copy(screen, quarters, left, top, 0, 0, 160, 120);
                    Copy(screen, quarters, right, top, 160, 0, 160, 120);
                    Copy(screen, quarters, left, bottom, 0, 120, 160, 120);
                    Copy(screen, quarters, right, bottom, 160, 120, 160, 120);
                    break;
                }
                case 16:
                    if (show) {
                        int32_t cx = ClampToScreen((2 * int64_t(40 - i) * fx + 160 * i) / (80 - i));
                        int32_t cy = ClampToScreen((2 * int64_t(40 - i) * (int64_t(fy) - 8) + 120 * i) / (80 - i));
                        StretchBoard(screen, newB, Clamp(cx - 4 * i, 0, 320 - 8 * i), Clamp(cy - 3 * i, 0, 240 - 6 * i),
                                     8 * i, 6 * i);
                    } else {
                        int32_t cx = ClampToScreen((2 * int64_t(i) * fx + 160 * (40 - i)) / (40 + i));
                        int32_t cy = ClampToScreen((2 * int64_t(i) * (int64_t(fy) - 8) + 120 * (40 - i)) / (40 + i));
                        StretchBoard(screen, oldB, Clamp(cx + 4 * i - 160, 0, 8 * i), Clamp(cy + 3 * i - 120, 0, 6 * i),
                                     320 - 8 * i, 240 - 6 * i);
                    }
                    break;
                case 17:
                    if (show)
                        DrawMosaic(newB, 41 - i);
                    else
                        DrawMosaic(oldB, i + 1);
                    break;
                case 18:
                    if (show)
                        DrawWave(newB, 41 - i);
                    else
                        DrawWave(oldB, i + 1);
                    break;
                default: break;
            }
            GameDraw->Flip();
        }
        GameDraw->WaitFrame();
    }
}
