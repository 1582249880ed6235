// Drawing of an actor in battle: its pictures, the pose's frame or battle
// animation with the flash and the screen's tone, the after-image trail,
// the swinging weapon and the projectiles.
#include <algorithm>
#include <cstring>

#include "data/clamp.h"
#include "data/database/database.h"
#include "data/errors.h"
#include "game/actors/actor_battle_sprites.h"
#include "game/actors/battle_sides.h"
#include "game/actors/player_item.h"
#include "game/screen/game_screen.h"
#include "game/screen/round_even.h"
#include "graphics/animation_graphic.h"
#include "graphics/graphics_files.h"
#include "media/board/board.h"

// --- Pictures ------------------------------------------------------------------------------------

TActorBattleSprites::TActorBattleSprites() : poseGraphic_(std::make_unique<TLcfAnimationGraphic>()) {
    for (Strip& s : frames_) s.plain.Transparent = s.mirror.Transparent = true;
    for (Strip& s : weapons_) s.plain.Transparent = s.mirror.Transparent = true;
    for (Strip& s : projectiles_) s.plain.Transparent = s.mirror.Transparent = true;
}

TActorBattleSprites::~TActorBattleSprites() = default;

void TActorBattleSprites::Clear() {
    for (Strip& s : frames_) s.plain.Clear(), s.mirror.Clear();
    for (Strip& s : weapons_) s.plain.Clear(), s.mirror.Clear();
    for (Strip& s : projectiles_) s.plain.Clear(), s.mirror.Clear();
    poseGraphic_->Clear();
    poseGraphicId_ = 0;
    poseGraphicMirrored_ = 0;
}

void TActorBattleSprites::Load(Strip& strip, const std::string& folder, const std::string& name, int32_t row,
                               int32_t size) {
    strip.plain.Clear();
    strip.mirror.Clear();
    if (name.empty() || row < 0 || row > 4096) return;
    std::string path;
    try {
        path = FindGraphicsFile(folder, name);
    } catch (const EFOpenError&) {
        // A missing picture leaves the strip empty: the battle goes on.
        return;
    }
    strip.plain.SetSize(3 * size, size);
    strip.plain.LoadFromFileAt(path, 0, row * size, false);
    if (strip.plain.Width() != 3 * size || strip.plain.Height() != size) {
        strip.plain.Clear();
        return;
    }
    strip.mirror.SetSize(3 * size, size);
    std::memcpy(strip.mirror.Pixels(), strip.plain.Pixels(), size_t(3 * size) * size_t(size));
    strip.mirror.Palette = strip.plain.Palette;
    strip.mirror.UpdateColorTable();
    strip.mirror.MirrorHorizontal();
}

void TActorBattleSprites::Build(const TLcfgPlayerItem& actor) {
    Clear();
    const TLcfAnimation2Item* set = DbAnimation2 ? DbAnimation2->Find(actor.BattlerAnimationId()) : nullptr;
    if (!set) return;
    for (int e = 0; e < kEntries; ++e)
        if (const TLcfBattleMyCharacterItem* pose = set->poses.Find(e + 1))
            Load(frames_[size_t(e)], "BattleCharSet", pose->image, pose->index, kFrameSize);
    for (int hand = 0; hand < 2; ++hand) {
        const TLcfCBADataItem* e = actor.WeaponDisplay(hand);
        if (!e) continue;
        auto weaponPicture = [&](int32_t strip) -> const TLcfCBAWeaponItem* {
            return strip >= 0 && strip < set->weapons.Count() ? set->weapons.Items(strip) : nullptr;
        };
        if (const TLcfCBAWeaponItem* w = weaponPicture(e->weaponStrip))
            Load(weapons_[size_t(hand)], "BattleWeapon", w->image, w->index, kWeaponSize);
        if (e->ranged)
            if (const TLcfCBAWeaponItem* w = weaponPicture(e->projectileStrip))
                Load(projectiles_[size_t(hand)], "BattleWeapon", w->image, w->index, kWeaponSize);
    }
}

TSorvoSheet& TActorBattleSprites::Frames(int entry, bool mirrored) {
    Strip& s = frames_[size_t(std::clamp(entry, 0, kEntries - 1))];
    return mirrored ? s.mirror : s.plain;
}

TSorvoSheet& TActorBattleSprites::Weapon(int hand, bool mirrored) {
    Strip& s = weapons_[hand == 1 ? 1 : 0];
    return mirrored ? s.mirror : s.plain;
}

TSorvoSheet& TActorBattleSprites::Projectile(int hand, bool mirrored) {
    Strip& s = projectiles_[hand == 1 ? 1 : 0];
    return mirrored ? s.mirror : s.plain;
}

TLcfAnimationGraphic& TActorBattleSprites::PoseGraphic(int32_t id, int32_t mirrored) {
    if (id != poseGraphicId_ || mirrored != poseGraphicMirrored_) {
        poseGraphicId_ = id;
        poseGraphicMirrored_ = mirrored;
        const TLcfAnimationItem* a = id != 0 && DbAnimation ? DbAnimation->Find(id) : nullptr;
        if (a)
            poseGraphic_->SetAnimation(a, mirrored, true);
        else
            poseGraphic_->Clear();
    }
    return *poseGraphic_;
}

// --- The actor ---------------------------------------------------------------------------------------

TLcfgPlayerItem::~TLcfgPlayerItem() = default;

TActorBattleSprites& TLcfgPlayerItem::Sprites() {
    if (!sprites_) sprites_ = std::make_unique<TActorBattleSprites>();
    return *sprites_;
}

void TLcfgPlayerItem::BuildBattleSprites() {
    ApplyEquipmentConditions();
    Sprites().Build(*this);
}

namespace {

// A 3-frame strip's cell for frame f (a mirrored strip is reversed whole).
TRect Cell(int32_t frame, int32_t size, bool mirrored) {
    const int32_t f = std::clamp(frame, 0, 2);
    const int32_t cell = mirrored ? 2 - f : f;
    return RectOfSize(cell * size, 0, size, size);
}

// The battler's own flash on control 1, the screen's tone and flash on 2.
void ApplyColours(TSorvoSheet& sheet, const TLcfgUnitItem& b) {
    sheet.ColorControl1.SetFlash(b.flashRed, b.flashGreen, b.flashBlue, RoundEven(b.flashStrength), true);
    if (GameScreen)
        GameScreen->ApplyTone(sheet.ColorControl2);
    else
        sheet.ColorControl2.Reset(true);
}

}  // namespace

void TLcfgPlayerItem::DrawBattler(TSorvoBoard& board) {
    if (show.blinkTimer % 10 > 4) return;
    const int32_t sx = GameScreen ? GameScreen->shakeX : 0, sy = GameScreen ? GameScreen->shakeY : 0;
    const int32_t x = ClampToScreen(int64_t(battleX) + shakeOffsetX + sx), y = ClampToScreen(int64_t(battleY) + sy);
    const bool mirrored = facing == 1;
    TActorBattleSprites& sprites = Sprites();

    const int32_t animationId = show.poseAnimationId;
    const bool weaponPose = pose == TActorBattleShow::kFirstHand || pose == TActorBattleShow::kSecondHand;
    if (animationId != 0 && show.animatedPose == pose) {
        TLcfAnimationGraphic& g = sprites.PoseGraphic(animationId, facing);
        if (const TLcfAnimationItem* a = g.Animation()) {
            // Centred on the battler: the position byte places only the
            // animations played on the party side.
            g.DrawFrameToned(board, x, y, show.poseAnimationCounter / 2, a->large != 0, flashRed, flashGreen, flashBlue,
                             flashStrength);
        }
    } else {
        TSorvoSheet& sheet = sprites.Frames(ShownEntry(), mirrored);
        const TRect cell = Cell(show.frame, TActorBattleSprites::kFrameSize, mirrored);
        const int32_t half = TActorBattleSprites::kFrameSize / 2;
        auto drawWeapon = [&] {
            if (!weaponPose) return;
            TSorvoSheet& w = sprites.Weapon(swingingHand, mirrored);
            if (w.Width() == 0) return;
            ApplyColours(w, *this);
            const int32_t wh = TActorBattleSprites::kWeaponSize / 2;
            board.Draw(x - wh, y - wh, w, Cell(show.frame, TActorBattleSprites::kWeaponSize, mirrored));
        };
        const bool weaponOver = (pose == TActorBattleShow::kSecondHand && facing == 0) ||
                                (pose == TActorBattleShow::kFirstHand && facing == 1);
        if (!weaponOver) drawWeapon();
        if (sheet.Width() != 0) {
            ApplyColours(sheet, *this);
            if (show.motionStyle > 0 && show.afterImage) {
                static constexpr int32_t kOpacity[3] = {64, 128, 192};
                for (int i = 0; i < 3; ++i) {
                    const TBattlePoint p = show.trail[size_t(i)];
                    const TBattlePoint newer = i < 2 ? show.trail[size_t(i) + 1] : TBattlePoint{battleX, battleY};
                    // A position sharing either coordinate with the next
                    // newer one leaves no image.
                    if (p.x == newer.x || p.y == newer.y) continue;
                    sheet.Opacity = kOpacity[i];
                    board.Draw(ClampToInt32(int64_t(p.x) + shakeOffsetX + sx - half), ClampToInt32(int64_t(p.y) + sy - half), sheet,
                               cell);
                }
                sheet.Opacity = 255;
            }
            board.Draw(x - half, y - half, sheet, cell);
        }
        if (weaponOver) drawWeapon();
    }
    // The trail moves on with every drawn frame.
    show.trail[0] = show.trail[1];
    show.trail[1] = show.trail[2];
    show.trail[2] = {battleX, battleY};

    // Projectiles in flight.
    if (weaponPose && show.ranged && !IsConfused() && frameCounter < show.flightTime) {
        TSorvoSheet& p = sprites.Projectile(swingingHand, mirrored);
        if (p.Width() == 0) return;
        ApplyColours(p, *this);
        const int32_t ph = TActorBattleSprites::kWeaponSize / 2;
        const TRect cell = Cell(show.frame, TActorBattleSprites::kWeaponSize, mirrored);
        for (size_t i = 0; i < show.projectiles.size(); ++i) {
            if (show.projectileMode == 2) {
                const TLcfgUnitItem* e = battle_sides::Enemy(int(i));
                if (!e || !e->IsAlive()) continue;
            }
            board.Draw(show.projectiles[i].x + sx - ph, show.projectiles[i].y + sy - ph, p, cell);
        }
    }
}

void TLcfgPlayerItem::DrawBattleAnimation(TSorvoBoard& board, TLcfAnimationGraphic& graphic, int32_t animationId,
                                          int32_t frame) {
    const TLcfAnimationItem* a = animationId != 0 && DbAnimation ? DbAnimation->Find(animationId) : nullptr;
    if (!a) return;
    const int32_t dy = a->position == TLcfAnimationItem::kTop ? -24 : a->position == TLcfAnimationItem::kBottom ? 24 : 0;
    graphic.DrawFrame(board, battleX, battleY + dy, frame, a->large != 0);
}
