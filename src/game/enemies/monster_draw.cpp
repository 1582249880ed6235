// Drawing of the enemies and of the troop's battle animation.

#include <cmath>

#include "data/clamp.h"
#include "data/database/database.h"
#include "game/enemies/monster.h"
#include "game/screen/game_screen.h"
#include "game/screen/round_even.h"
#include "media/board/angle_tables.h"
#include "media/board/board.h"
#include "media/sheet/sheet.h"

void TLcfgMonsterItem::Draw(TSorvoBoard& board) {
    if (hp <= 0 && deathFade <= 0) return;
    if (blinkTimer % 10 > 4) return;
    int32_t opacity = deathFade > 0 ? deathFade * 7 : escapeFade > 0 ? escapeFade * 12 : 255;
    if (Data().transparent) opacity = opacity * 160 / 255;

    TSorvoSheet& sheet = facing == 1 ? *mirrored_ : *picture_;
    if (sheet.Width() <= 0 || sheet.Height() <= 0) return;
    // Its own flash on one control, the screen's tint and flash on the other.
    sheet.ColorControl1.SetFlash(flashRed, flashGreen, flashBlue, RoundEven(flashStrength), true);
    if (GameScreen) GameScreen->ApplyTone(sheet.ColorControl2);
    sheet.Opacity = opacity;

    const double zoom = escapeFade > 0 ? (20.0 - escapeFade) / 20.0 + 1.0 : 1.0;
    const int32_t bob = Data().floating ? int32_t(TableSin(uint8_t(frameCounter)) * 4) : 0;
    const int32_t sx = GameScreen ? GameScreen->shakeX : 0, sy = GameScreen ? GameScreen->shakeY : 0;
    board.ZoomDraw(ClampToScreen(int64_t(battleX) + shakeOffsetX + sx), ClampToScreen(int64_t(battleY) + bob + sy), sheet,
                   sheet.GetBoundsRect(), sheet.Width() / 2, sheet.Height() / 2, zoom);
}

void TLcfgMonsterItem::DrawBattleAnimation(TSorvoBoard& board, TLcfAnimationGraphic& graphic, int32_t frame) {
    const TLcfAnimationItem* item = graphic.Animation();
    if (!item) return;
    const int32_t h = PictureHeight() / 2;
    int32_t c = 0;
    if (item->position == 0) c = h;
    else if (item->position == 2) c = -h;
    graphic.DrawFrame(board, battleX, ClampToScreen(int64_t(battleY) - c), frame, item->large != 0);
}

void TLcfgMonster::DrawAnimation(TSorvoBoard& board, const std::vector<int32_t>& drawOrder) {
    if (!animation_.Active() || animation_.Id() <= 0) return;
    TLcfAnimationGraphic& graphic = animation_.Graphic();
    const TLcfAnimationItem* item = graphic.Animation();
    if (!item) return;
    const int32_t frame = animation_.Frame();
    const int32_t target = animation_.Target();
    if (item->scope == 1 || target == TLcfgSideAnimation::kScreen) {
        graphic.DrawFrame(board, 160, 80, frame, item->large != 0);
    } else if (target >= 0) {
        if (TLcfgMonsterItem* e = Items(target)) e->DrawBattleAnimation(board, graphic, frame);
    } else {
        for (int32_t i : drawOrder)
            if (TLcfgMonsterItem* e = Items(i)) e->DrawBattleAnimation(board, graphic, frame);
    }
}
