// Drawing of the screen effects: the weather particles and mist layers, and
// the battle animation on the map.

#include <algorithm>
#include <cmath>

#include "data/clamp.h"
#include "game/screen/game_screen.h"
#include "game/screen/round_even.h"
#include "graphics/animation_graphic.h"
#include "media/board/angle_tables.h"
#include "media/board/board.h"
#include "media/sheet/sheet.h"

void TLcfgScreen::DrawEffects(TSorvoBoard& board) {
    if (weatherKind == kNoWeather) return;
    particleSheet_->ColorControl1.SetTone(TintRed(), TintGreen(), TintBlue(), TintSaturation(), true);
    mistSheet_->ColorControl1.SetTone(TintRed(), TintGreen(), TintBlue(), TintSaturation(), true);
    switch (weatherKind) {
    case kRain:
    case kSnow: DrawParticles(board); break;
    case kFog: DrawMist(board); break;
    case kSandstorm:
        DrawMist(board);
        DrawSand(board);
        break;
    default: break;
    }
}

// Rain streaks and snow dots, repeated every 320 pixels across and 160
// down so that the layer tiles the screen wherever the view has scrolled it.
void TLcfgScreen::DrawParticles(TSorvoBoard& board) {
    const bool rain = weatherKind == kRain;
    const int32_t count = 40 * weatherStrength + 20;
    const int32_t maxLife = rain ? 12 : 30;
    const int32_t perLife = weatherStrength + (rain ? 5 : 7);
    const TRect source = rain ? TRect(0, 0, 6, 24) : TRect(0, 24, 2, 26);
    const int32_t w = int32_t(source.Width()), h = int32_t(source.Height());
    const int64_t baseX = int64_t(weatherX / 16) + shakeX, baseY = int64_t(weatherY / 16) + shakeY;
    TSorvoSheet& sheet = *particleSheet_;
    for (int i = 1; i <= count; ++i) {
        const TLcfgWeatherParticle& p = particles_[size_t(i)];
        if (p.life < 1 || p.life > maxLife) continue;
        sheet.Opacity = std::min(255, p.life * perLife);
        const int64_t px = int64_t(p.x) + baseX, py = int64_t(p.y) + baseY;
        for (int32_t dy = -160; dy <= 320; dy += 160) {
            const int64_t y = py + dy;
            if (y + h <= 0 || y >= board.Height()) continue;
            for (int32_t dx = -320; dx <= 320; dx += 320) {
                const int64_t x = px + dx;
                if (x + w <= 0 || x >= board.Width()) continue;
                board.Draw(int32_t(x), int32_t(y), sheet, source);
            }
        }
    }
}

// Two layers of 16x16 mist cells: the first (rows 0-14, columns -16..19)
// drifts right, the second (rows -16..15, columns 0-20) left while it bobs
// up and down.
void TLcfgScreen::DrawMist(TSorvoBoard& board) {
    ++mistCounter1_;
    ++mistCounter2_;
    if (mistCounter1_ < 0) mistCounter1_ = 0;
    if (mistCounter2_ < 0) mistCounter2_ = 0;

    const int32_t x1 = ClampToScreen(int64_t((mistCounter1_ / 4) % 16) + shakeX), y1 = ClampToScreen(shakeY);
    DrawMistLayer(board, TRect(x1 - 16 * 16, y1, x1 + 20 * 16, y1 + 15 * 16), x1, y1, mistOpacity1_);

    const int32_t bob = int32_t(std::trunc(TableSin(uint8_t((mistCounter1_ / 32) & 255)) * 8)) - 4;
    const int32_t x2 = ClampToScreen(int64_t(-((mistCounter2_ / 8) % 16)) + shakeX);
    const int32_t y2 = ClampToScreen(int64_t(bob) + shakeY);
    DrawMistLayer(board, TRect(x2, y2 - 16 * 16, x2 + 21 * 16, y2 + 16 * 16), x2, y2, mistOpacity2_);
}

void TLcfgScreen::DrawMistLayer(TSorvoBoard& board, const TRect& covered, int32_t originX, int32_t originY,
                                int32_t opacity) {
    const int32_t left = std::max(covered.Left, 0), top = std::max(covered.Top, 0);
    const int32_t right = std::min(covered.Right, board.Width()), bottom = std::min(covered.Bottom, board.Height());
    if (right <= left || bottom <= top) return;
    TSorvoSheet& tiles = *mistTiles_;
    if (tiles.Width() < board.Width() + 16 || tiles.Height() < board.Height() + 16) {
        tiles.SetSize(board.Width() + 16, board.Height() + 16);
        for (int32_t y = 0; y < tiles.Height(); ++y)
            for (int32_t x = 0; x < tiles.Width(); ++x) tiles.ScanLine(y)[x] = mistSheet_->ScanLine(y % 16)[x % 16];
        tiles.Palette = mistSheet_->Palette;
        tiles.UpdateColorTable();
    }
    const TSorvoColorControl& tone = mistSheet_->ColorControl1;
    tiles.ColorControl1.SetTone(tone.ToneRed, tone.ToneGreen, tone.ToneBlue, tone.Saturation, true);
    tiles.Opacity = opacity;
    const int32_t sx = int32_t(FloorMod(int64_t(left) - originX, 16));
    const int32_t sy = int32_t(FloorMod(int64_t(top) - originY, 16));
    board.Draw(left, top, tiles, RectOfSize(sx, sy, right - left, bottom - top));
}

// Sand grains: 1x2 pixels of the four sand colours.
void TLcfgScreen::DrawSand(TSorvoBoard& board) {
    TSorvoSheet& sheet = *mistSheet_;
    const int32_t last = 64 * weatherStrength + 127;
    for (int i = 3; i <= last; ++i) {
        const TLcfgWeatherParticle& p = particles_[size_t(i)];
        if (p.life <= 0) continue;
        sheet.Opacity = std::clamp(p.opacity, 0, 255);
        const int64_t x = int64_t(p.x) + shakeX, y = int64_t(p.y) + shakeY;
        if (x + 1 <= 0 || x >= board.Width() || y + 2 <= 0 || y >= board.Height()) continue;
        board.Draw(int32_t(x), int32_t(y), sheet, TRect(i % 4, 16, i % 4 + 1, 18));
    }
}

void TLcfgScreen::DrawMapAnimation(TSorvoBoard& board) {
    if (!animationRunning) return;
    const TLcfAnimationItem* item = animation_->Animation();
    if (!item) return;
    const int32_t frame = animationCounter / 2;
    const bool large = item->large != 0;
    if (animationWholeMap) {
        for (int32_t i = -1; i <= 2; ++i)
            for (int32_t j = -1; j <= 1; ++j)
                animation_->DrawFrame(board, ClampToScreen(int64_t(weatherX / 16) + 320 * j + shakeX),
                                      ClampToScreen(int64_t(weatherY / 16) + 160 * i + shakeY), frame, large);
        return;
    }
    if (item->scope == 1) {
        animation_->DrawFrame(board, ClampToScreen(160 + int64_t(shakeX)), ClampToScreen(120 + int64_t(shakeY)), frame,
                              large);
        return;
    }
    int32_t x = 0, y = 0;
    if (!GameMapAnimationTargets || !GameMapAnimationTargets->TargetScreenPosition(animationTarget, x, y)) return;
    const int32_t lift = item->position == TLcfAnimationItem::kTop ? 24 : item->position == TLcfAnimationItem::kCentre ? 12 : 0;
    animation_->DrawFrame(board, ClampToScreen(int64_t(x) + shakeX), ClampToScreen(int64_t(y) + shakeY - lift), frame,
                          large);
}
