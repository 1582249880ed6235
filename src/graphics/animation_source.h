#pragma once
// What the battle-animation renderer reads from an animation of the
// database: its image, cell size, timings and frames of cells.

#include <cstdint>
#include <string>
#include <vector>

struct AnimationCellView {
    bool visible = true;
    int32_t pattern = 0;  // cell picture: column pattern mod 5, row pattern div 5
    int32_t x = 0;        // centre offset from the anchor
    int32_t y = 0;
    int32_t zoom = 100;   // percent
    int32_t red = 100;    // tone percent
    int32_t green = 100;
    int32_t blue = 100;
    int32_t saturation = 100;
    int32_t transparency = 0;  // percent
};

struct AnimationSoundView {
    std::string name = "(OFF)";  // in the folder "Sound"
    int32_t volume = 100;
    int32_t tempo = 100;
    int32_t balance = 50;
};

struct AnimationTimingView {
    int32_t frame = 0;  // frames count from 1
    AnimationSoundView sound;
    int32_t flashScope = 0;  // 0 none, 1 target, 2 screen
    int32_t flashRed = 31;
    int32_t flashGreen = 31;
    int32_t flashBlue = 31;
    int32_t flashStrength = 31;
    int32_t shake = 0;  // 0 none, 1 target, 2 screen
};

struct AnimationView {
    std::string image;
    bool large = false;  // 128-pixel cells from "Battle2" instead of 96 from "Battle"
    std::vector<AnimationTimingView> timings;
    std::vector<std::vector<AnimationCellView>> frames;
    int32_t FrameCount() const { return int32_t(frames.size()); }
};
