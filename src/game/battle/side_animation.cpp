#include "game/battle/side_animation.h"

#include "data/database/database.h"
#include "game/battler/unit_item.h"
#include "game/screen/game_screen.h"
#include "game/system/game_system.h"

TLcfgSideAnimation::TLcfgSideAnimation() : graphic_(std::make_unique<TLcfAnimationGraphic>()) {}

TLcfgSideAnimation::~TLcfgSideAnimation() = default;

void TLcfgSideAnimation::Play(int32_t animationId, bool mirrored, int32_t target) {
    if (animationId != 0) {
        // A screen-wide run sets its timings' flashes and shakes aside: it
        // has no battler to flash, and it lasts only as long as its timings.
        graphic_->SetAnimation(DbAnimation->FindAnimation(animationId), mirrored ? 1 : 0, target == kScreen);
    } else {
        graphic_->SetAnimation(nullptr, 0, false);
    }
    id_ = animationId;
    target_ = target;
    counter_ = 0;
    active_ = true;
}

void TLcfgSideAnimation::Reset() {
    active_ = false;
    id_ = 0;
    counter_ = 0;
}

void TLcfgSideAnimation::Update(const std::function<TLcfgUnitItem*(int)>& battler) {
    if (!active_) return;
    // The counter advances for the bare hit too, or it would never end.
    ++counter_;
    if (id_ == 0) {
        if (counter_ == 1 && GameSystem) GameSystem->PlaySound(GameSystem->Sound(kBareSound));
        if (counter_ >= kBareFrames) active_ = false;
        return;
    }
    const TLcfAnimationItem* item = graphic_->Animation();
    const int64_t frames = item ? item->FrameCount() : 0;
    const int64_t length = target_ == kScreen ? int64_t(graphic_->FlashFrameCount()) * 2 : frames * 2;
    if (counter_ >= length) {
        active_ = false;
        return;
    }
    const int32_t f = Frame();
    // The flash tables hold frame count + 10 entries; a screen-wide run can
    // outlast them (its length comes from the timings), and the lookups
    // answer "no flash" there.
    const AnimationFlash screen = graphic_->ScreenFlash(f);
    if (GameScreen) GameScreen->StartFlash(screen.red, screen.green, screen.blue, screen.strength, 0,
                                           TLcfgScreen::kFlashOnce);
    const AnimationFlash flash = graphic_->TargetFlash(f);
    const int32_t shake = graphic_->FrameShake(f);
    auto touch = [&](TLcfgUnitItem* b) {
        if (!b) return;
        b->StartFlash(flash.red, flash.green, flash.blue, flash.strength, 0);
        if (shake == 1) b->StartShake(3, 4, 30);
    };
    if (target_ >= 0) {
        touch(battler(target_));
    } else if (target_ == kWholeSide) {
        for (int i = 0; TLcfgUnitItem* b = battler(i); ++i) touch(b);
    }
    if (shake == 2 && GameScreen) GameScreen->StartShake(3, 4, 30, 0);
    if (counter_ % 2 == 1) graphic_->PlayTimingSounds(f);
}
