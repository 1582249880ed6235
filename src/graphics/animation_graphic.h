#pragma once
// Draws one battle animation: its cell image (and a copy with every cell
// mirrored in place), the per-frame flash of the target and of the screen
// and the shake, worked out once when the animation is set, the timing
// sounds, and the cells of a frame scaled, toned and translucent.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/database/animation.h"
#include "media/board/board.h"
#include "media/sheet/sheet.h"

struct AnimationFlash {
    int32_t red = 0, green = 0, blue = 0, strength = 0;
    bool operator==(const AnimationFlash&) const = default;
};

class TLcfAnimationGraphic {
public:
    // Plays a timing's sound: by default through the audio front end; an
    // empty function restores that.
    using SoundPlayer = std::function<void(const TLcfSound&)>;
    static void SetSoundPlayer(SoundPlayer player);

    TLcfAnimationGraphic();
    // Forgets the image, mirrored := 0, clears both sheets.
    void Clear();
    // Stores the animation of the database (or none), loads its image when
    // the name or the cell size changed, and rebuilds the tables (all zero
    // with timings off). Load errors propagate.
    void SetAnimation(const TLcfAnimationItem* animation, int32_t mirrored, bool timingsOff);
    const TLcfAnimationItem* Animation() const { return animation_; }

    // Draws every visible cell of a frame in list order with the frame's
    // target flash on colour control 2 and the cell's tone on control 1.
    void DrawFrame(TSorvoBoard& board, int32_t x, int32_t y, int32_t frameIndex, bool large);
    // As DrawFrame, with a further flash on colour control 1. That flash is
    // left in place: a later DrawFrame sets only the tone.
    void DrawFrameToned(TSorvoBoard& board, int32_t x, int32_t y, int32_t frameIndex, bool large, int32_t red,
                        int32_t green, int32_t blue, double strength);
    // Plays the sound of every timing at frame index + 1.
    void PlayTimingSounds(int32_t frameIndex) const;
    // The same for an animation that needs no drawing (no image loaded).
    static void PlayTimingSoundsOf(const TLcfAnimationItem& animation, int32_t frameIndex);

    // Table lookups; zero outside the tables.
    AnimationFlash TargetFlash(int32_t frameIndex) const;
    AnimationFlash ScreenFlash(int32_t frameIndex) const;
    int32_t FrameShake(int32_t frameIndex) const;
    // 0 without timings, else min(20, the frame of the last timing in list order).
    int32_t FlashFrameCount() const;

    TSorvoSheet& Sheet() { return *sheet_; }
    TSorvoSheet& MirroredSheet() { return *mirroredSheet_; }

private:
    void LoadImage(const std::string& name, bool large);
    void BuildTables(bool timingsOff);
    void DrawCells(TSorvoBoard& board, int32_t x, int32_t y, int32_t frameIndex, bool large);

    const TLcfAnimationItem* animation_ = nullptr;
    std::string imageName_;
    bool imageLarge_ = false;
    bool imageLoaded_ = false;
    int32_t mirrored_ = 0;
    std::unique_ptr<TSorvoSheet> sheet_;
    std::unique_ptr<TSorvoSheet> mirroredSheet_;
    std::vector<AnimationFlash> targetFlash_;
    std::vector<AnimationFlash> screenFlash_;
    std::vector<int32_t> shake_;
};
