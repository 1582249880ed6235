#include "scenes/scene.h"

#include <algorithm>

#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"

std::function<void(int32_t&, int32_t&)> TLcfScene::PartyScreenPosition;

namespace {

TSorvoBoard& Screen() { return GameDraw->Board(); }

void FlushInput() {
    if (GameInput) GameInput->Flush();
}

bool Lagging() { return GameDraw->GetLag() >= GameDraw->MaxLag() / 2; }

}  // namespace

TLcfScene::TLcfScene() {
    for (auto& b : work_) b.SetSize(kWidth, kHeight);
}

void TLcfScene::Reset() {
    for (auto& b : work_) b.Clear();
}

void TLcfScene::DrawAndWait() {
    if (!Lagging()) {
        Draw();
        GameDraw->Flip();
    }
    GameDraw->WaitFrame();
}

void TLcfScene::FadeIn(double step) {
    double level = Screen().Brightness;
    while (Screen().Brightness < 100) {
        level += step;
        Screen().Brightness = int32_t(std::min(100.0, double(int64_t(level))));
        DrawAndWait();
    }
    Draw();
    GameDraw->Flip();
    FlushInput();
}

void TLcfScene::FadeOut(double step) {
    double level = Screen().Brightness;
    while (Screen().Brightness > 0) {
        level -= step;
        Screen().Brightness = int32_t(std::max(0.0, double(int64_t(level))));
        DrawAndWait();
    }
    Draw();
    GameDraw->Flip();
    FlushInput();
}

void TLcfScene::Flash() {
    for (int pass = 0; pass < 2; ++pass)
        for (int k = 0; k < 10; ++k) {
            Screen().Brightness = 200 - 10 * k;
            DrawAndWait();
        }
    Screen().Brightness = 100;
    Draw();
    GameDraw->Flip();
    FlushInput();
}

void TLcfScene::ShowScreen(int type) {
    // Type 0 keeps the brightness, so a dark screen fades in.
    if (type != 0) Screen().Brightness = 100;
    CopyBoardRect(OldBoard(), 0, 0, Screen(), 0, 0, kWidth, kHeight);
    Draw();
    CopyBoardRect(NewBoard(), 0, 0, Screen(), 0, 0, kWidth, kHeight);
    CopyBoardRect(Screen(), 0, 0, OldBoard(), 0, 0, kWidth, kHeight);
    RunTransition(true, type);
    FlushInput();
}

void TLcfScene::EraseScreen(int type) {
    Draw();
    CopyBoardRect(OldBoard(), 0, 0, Screen(), 0, 0, kWidth, kHeight);
    NewBoard().Clear();
    RunTransition(false, type);
    Screen().Brightness = 0;
    // Drawn black but not shown: the next picture replaces it.
    Draw();
    FlushInput();
}

void TLcfScene::CrossFade() {
    TSorvoBoard& screen = Screen();
    for (int i = 0; i <= 40; ++i) {
        if (!Lagging()) {
            int32_t w = int32_t(i * 6.4);
            uint32_t l = uint32_t(256 - w);
            uint32_t m = 257 - l;
            const uint16_t* o = OldBoard().Bits();
            const uint16_t* n = NewBoard().Bits();
            uint16_t* s = screen.Bits();
            for (size_t p = 0; p < size_t(kWidth) * kHeight; ++p) {
                uint32_t r = (l * (o[p] >> 11) + m * (n[p] >> 11)) >> 8;
                uint32_t g = (l * ((o[p] >> 5) & 63) + m * ((n[p] >> 5) & 63)) >> 8;
                uint32_t b = (l * (o[p] & 31) + m * (n[p] & 31)) >> 8;
                // With l = 0 the new value times 257/256 may pass the top.
                s[p] = uint16_t((std::min(r, 31u) << 11) | (std::min(g, 63u) << 5) | std::min(b, 31u));
            }
            GameDraw->Flip();
        }
        GameDraw->WaitFrame();
    }
    FlushInput();
}

void CopyBoardRect(TSorvoBoard& dest, int32_t x, int32_t y, const TSorvoBoard& source, int32_t sx, int32_t sy,
                   int32_t width, int32_t height) {
    // Clip against the source, then the destination, in 64 bits.
    int64_t x0 = x, y0 = y, sx0 = sx, sy0 = sy, w = width, h = height;
    if (sx0 < 0) { x0 -= sx0; w += sx0; sx0 = 0; }
    if (sy0 < 0) { y0 -= sy0; h += sy0; sy0 = 0; }
    w = std::min<int64_t>(w, source.Width() - sx0);
    h = std::min<int64_t>(h, source.Height() - sy0);
    if (x0 < 0) { sx0 -= x0; w += x0; x0 = 0; }
    if (y0 < 0) { sy0 -= y0; h += y0; y0 = 0; }
    w = std::min<int64_t>(w, dest.Width() - x0);
    h = std::min<int64_t>(h, dest.Height() - y0);
    if (w <= 0 || h <= 0) return;
    for (int64_t row = 0; row < h; ++row)
        std::copy_n(source.ScanLine(int32_t(sy0 + row)) + sx0, w, dest.ScanLine(int32_t(y0 + row)) + x0);
}

void StretchBoard(TSorvoBoard& dest, const TSorvoBoard& source, int32_t sx, int32_t sy, int32_t width,
                  int32_t height) {
    if (width <= 0 || height <= 0) return;
    for (int32_t y = 0; y < dest.Height(); ++y) {
        int64_t srcY = sy + int64_t(y) * height / dest.Height();
        if (srcY < 0 || srcY >= source.Height()) continue;
        const uint16_t* in = source.ScanLine(int32_t(srcY));
        uint16_t* out = dest.ScanLine(y);
        for (int32_t x = 0; x < dest.Width(); ++x) {
            int64_t srcX = sx + int64_t(x) * width / dest.Width();
            if (srcX >= 0 && srcX < source.Width()) out[x] = in[srcX];
        }
    }
}
