#pragma once
// A battle animation played on one side of a battle (the troop or the
// party): which animation, on whom (a battler index, -1 the whole side,
// -2 the screen), its frame counter, and the per-frame screen flash,
// target flashes, shakes and timing sounds. The side supplies its battlers
// through a callback; drawing stays with the side.

#include <cstdint>
#include <functional>
#include <memory>

#include "graphics/animation_graphic.h"

class TLcfgUnitItem;

class TLcfgSideAnimation {
public:
    static constexpr int32_t kWholeSide = -1;
    static constexpr int32_t kScreen = -2;
    // Frames the animation-less hit (id 0) lasts.
    static constexpr int32_t kBareFrames = 20;
    // Index of the system sound the animation-less hit plays.
    static constexpr int kBareSound = 6;

    TLcfgSideAnimation();
    ~TLcfgSideAnimation();

    // Starts an animation; id 0 is the bare hit. An unknown id raises the
    // animation table's message before anything changes.
    void Play(int32_t animationId, bool mirrored, int32_t target);
    // Nothing runs.
    void Reset();

    // One frame. `battler` answers the side's battler at an index, or null
    // past the end; a target flash goes to the target or to every battler
    // of the side.
    void Update(const std::function<TLcfgUnitItem*(int)>& battler);

    bool Active() const { return active_; }
    int32_t Id() const { return id_; }
    int32_t Target() const { return target_; }
    int32_t Counter() const { return counter_; }
    // The frame being shown (counter div 2).
    int32_t Frame() const { return counter_ / 2; }
    TLcfAnimationGraphic& Graphic() { return *graphic_; }

private:
    std::unique_ptr<TLcfAnimationGraphic> graphic_;
    int32_t id_ = 0;
    int32_t target_ = 0;
    int32_t counter_ = 0;
    bool active_ = false;
};
