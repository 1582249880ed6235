#pragma once
// Battle animations (database section 19): an image of cells, a list of
// frames made of cells, and timings that play sounds, flash and shake at
// given frames.

#include <cstdint>
#include <string>

#include "data/database/audio_reference.h"
#include "data/record/catalog.h"

// One cell of a frame; cells are drawn in list order.
class TLcfAnimationCellItem : public TCatalogItem {
public:
    explicit TLcfAnimationCellItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // (100 - transparency) x 255 div 100, kept within 0..255.
    int Opacity() const;

    uint8_t visible = 1;
    int32_t pattern = 0;  // cell picture in the image
    int32_t x = 0, y = 0; // centre, from the animation's anchor
    int32_t zoom = 100;
    int32_t red = 100, green = 100, blue = 100, saturation = 100;
    int32_t transparency = 0;  // percent
};

class TLcfAnimationCell : public TCatalogOf<TLcfAnimationCellItem> {};

// One frame; its id is the frame number.
class TLcfAnimationPatternItem : public TCatalogItem {
public:
    explicit TLcfAnimationPatternItem(int32_t id = 0) : TCatalogItem(id) {}
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override {
        TCatalogItem::Clear();
        cells.Clear();
    }

    TLcfAnimationCell cells;
};

class TLcfAnimationPattern : public TCatalogOf<TLcfAnimationPatternItem> {};

// What happens at one frame.
class TLcfAnimationTimingItem : public TCatalogItem {
public:
    enum Scope : uint8_t { kNone = 0, kTarget = 1, kScreen = 2 };

    explicit TLcfAnimationTimingItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;

    int32_t frame = 0;
    TLcfSound sound;
    uint8_t flashScope = kNone;
    int32_t flashRed = 31, flashGreen = 31, flashBlue = 31;  // 0..31
    int32_t flashStrength = 31;                              // 0..31
    int32_t shake = kNone;
};

class TLcfAnimationTiming : public TCatalogOf<TLcfAnimationTimingItem> {};

class TLcfAnimationItem : public TCatalogItem {
public:
    enum Position : uint8_t { kTop = 0, kCentre = 1, kBottom = 2 };
    static constexpr int kDefaultFrames = 20;

    explicit TLcfAnimationItem(int32_t id = 0) : TCatalogItem(id) { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // Name and image empty, no timings, 20 empty frames.
    void Clear() override;
    int FrameCount() const { return frames.Count(); }

    std::string image;  // "Battle", or "Battle2" for a large animation
    uint8_t large = 0;  // 128-pixel cells instead of 96
    TLcfAnimationTiming timings;
    uint8_t scope = 0;  // 0 on each target, 1 once at the screen's centre
    uint8_t position = kBottom;
    TLcfAnimationPattern frames;
};

class TLcfAnimation : public TCatalogOf<TLcfAnimationItem> {
public:
    TLcfAnimationItem* GetAnimation(int index) const { return GetStrict(index, 65309); }
    TLcfAnimationItem* FindAnimation(int32_t id) const { return FindStrict(id, 65309); }
};
