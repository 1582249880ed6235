#include "game/panorama/panorama.h"

#include <algorithm>
#include <cmath>

#include "data/clamp.h"
#include "game/screen/round_even.h"
#include "graphics/graphics_files.h"
#include "media/board/board.h"
#include "media/sheet/sheet.h"

TLcfgPanorama* GamePanorama = nullptr;

namespace {
constexpr int32_t kMargin = 16;
}

TLcfgPanorama::TLcfgPanorama() : sheet_(std::make_unique<TSorvoSheet>()) {}
TLcfgPanorama::~TLcfgPanorama() = default;

void TLcfgPanorama::Clear() { x_ = y_ = width_ = height_ = 0; }

void TLcfgPanorama::Configure(const std::string& name, bool enabled, int32_t mapHeight, int32_t mapWidth,
                              int32_t vSpeed, int32_t hSpeed, bool follow, bool transparent, bool mapVLoop,
                              bool mapHLoop, bool vAutoScroll, bool hAutoScroll, bool vLoop, bool hLoop) {
    name_ = name;
    enabled_ = enabled;
    mapHeight_ = mapHeight;
    mapWidth_ = mapWidth;
    vSpeed_ = vSpeed;
    hSpeed_ = hSpeed;
    follow_ = follow;
    sheet_->Transparent = transparent;
    mapVLoop_ = mapVLoop;
    mapHLoop_ = mapHLoop;
    vAutoScroll_ = vAutoScroll;
    hAutoScroll_ = hAutoScroll;
    vLoop_ = vLoop;
    hLoop_ = hLoop;
}

void TLcfgPanorama::LoadImage() {
    if (!enabled_) {
        width_ = height_ = 0;
        sheet_->SetSize(0, 0);
        FollowMap();
        return;
    }
    LoadFrom("Panorama");
}

void TLcfgPanorama::LoadFrame(const std::string& name) {
    name_ = name;
    enabled_ = true;
    LoadFrom("Frame");
}

// The sheet is the image plus a 16-pixel margin on the right and at the
// bottom holding the image's wrap-around, so any 16x16 piece starting inside
// the image can be cut without wrapping. An image narrower or lower than 16
// pixels repeats as often as needed to fill the margin.
void TLcfgPanorama::LoadFrom(const std::string& folder) {
    if (name_.empty()) {
        width_ = height_ = 16;
        sheet_->SetSize(32, 32);
        sheet_->Clear();
        FollowMap();
        return;
    }
    TSorvoSheet image;
    image.AutoSize = true;
    try {
        image.LoadFromFile(FindGraphicsFile(folder, name_), true);
    } catch (...) {
        width_ = height_ = 0;
        sheet_->SetSize(0, 0);
        throw;
    }
    width_ = image.Width();
    height_ = image.Height();
    sheet_->SetSize(width_ + kMargin, height_ + kMargin);
    sheet_->Palette = image.Palette;
    sheet_->UpdateColorTable();
    if (width_ > 0 && height_ > 0) {
        for (int32_t y = 0; y < height_ + kMargin; ++y) {
            const uint8_t* src = image.ScanLine(y % height_);
            uint8_t* dst = sheet_->ScanLine(y);
            std::copy(src, src + width_, dst);
            for (int32_t x = width_; x < width_ + kMargin; ++x) dst[x] = src[x % width_];
        }
    }
    FollowMap();
}

void TLcfgPanorama::SetX(int64_t v) { x_ = width_ > 0 ? int32_t(FloorMod(v, int64_t(width_) * 32)) : 0; }
void TLcfgPanorama::SetY(int64_t v) { y_ = height_ > 0 ? int32_t(FloorMod(v, int64_t(height_) * 32)) : 0; }

namespace {
// 2^|s| as the original computes it: a power, truncated. Speeds beyond the
// editor's -8..8 are capped so the step stays within 32 bits.
int64_t AutoStep(int32_t s) {
    const int32_t e = int32_t(std::min<int64_t>(std::abs(int64_t(s)), 30));
    return int64_t(std::trunc(std::pow(2.0, e)));
}
}  // namespace

void TLcfgPanorama::AutoScroll() {
    if (hLoop_ && hAutoScroll_) {
        if (hSpeed_ < 0) SetX(int64_t(x_) + AutoStep(hSpeed_));
        else if (hSpeed_ > 0) SetX(int64_t(x_) - AutoStep(hSpeed_));
    }
    if (vLoop_ && vAutoScroll_) {
        if (vSpeed_ < 0) SetY(int64_t(y_) + AutoStep(vSpeed_));
        else if (vSpeed_ > 0) SetY(int64_t(y_) - AutoStep(vSpeed_));
    }
}

void TLcfgPanorama::ScrollRight(int32_t d) {
    if (hLoop_) SetX(int64_t(x_) + d);
    else FollowMap();
}
void TLcfgPanorama::ScrollLeft(int32_t d) {
    if (hLoop_) SetX(int64_t(x_) - d);
    else FollowMap();
}
void TLcfgPanorama::ScrollDown(int32_t d) {
    if (vLoop_) SetY(int64_t(y_) + d);
    else FollowMap();
}
void TLcfgPanorama::ScrollUp(int32_t d) {
    if (vLoop_) SetY(int64_t(y_) - d);
    else FollowMap();
}

void TLcfgPanorama::FollowMap() {
    if (!hLoop_ && !mapHLoop_) {
        const int64_t a = (int64_t(mapWidth_) - 20) * 16;
        const int64_t c = std::min<int64_t>(a, std::max<int64_t>(0, int64_t(width_) - 320));
        const int64_t view = ViewX ? ViewX() : 0;
        x_ = a != 0 && follow_ ? ClampToInt32(c * view * 2 / a) : 0;
    }
    if (!vLoop_ && !mapVLoop_) {
        const int64_t a = (int64_t(mapHeight_) - 15) * 16;
        const int64_t c = std::min<int64_t>(a, std::max<int64_t>(0, int64_t(height_) - 240));
        const int64_t view = ViewY ? ViewY() : 0;
        SetY(a != 0 && follow_ ? c * view * 2 / a : 0);
    }
}

void TLcfgPanorama::DrawTile(TSorvoBoard& board, int32_t sx, int32_t sy, int32_t shakeY, int32_t shakeX) {
    if (!enabled_ || width_ < 1 || height_ < 1) return;
    const int32_t srcX = int32_t(FloorMod(int64_t(x_) / 32 + width_ + sx - shakeX, width_));
    const int32_t srcY = int32_t(FloorMod(int64_t(y_) / 32 + height_ + sy - shakeY, height_));
    board.Draw(sx, sy, *sheet_, RectOfSize(srcX, srcY, 16, 16));
}
