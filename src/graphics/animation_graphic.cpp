#include "graphics/animation_graphic.h"

#include <algorithm>
#include <cmath>

#include "data/asset_lookup.h"
#include "data/clamp.h"
#include "media/audio/audio_cantrel.h"
#include "graphics/graphics_files.h"

namespace {

// The game's own player: the sound file through the audio front end. A
// sound that is not there is not played (the front end never raises).
void PlayThroughAudio(const TLcfSound& sound) {
    std::optional<std::string> path = FindAssetFile(sound.name, "Sound", kSoundExtensions);
    if (path && !path->empty()) CantrelPlaySound(path->c_str(), sound.volume, sound.tempo, sound.balance);
}

TLcfAnimationGraphic::SoundPlayer& Player() {
    static TLcfAnimationGraphic::SoundPlayer player = PlayThroughAudio;
    return player;
}

constexpr int32_t CellSize(bool large) { return large ? 128 : 96; }

std::unique_ptr<TSorvoSheet> MakeSheet() {
    auto sheet = std::make_unique<TSorvoSheet>();
    sheet->Transparent = true;
    sheet->AutoSize = true;
    return sheet;
}

template <typename T>
T Lookup(const std::vector<T>& table, int32_t index) {
    return index >= 0 && size_t(index) < table.size() ? table[size_t(index)] : T{};
}

}  // namespace

void TLcfAnimationGraphic::SetSoundPlayer(SoundPlayer player) { Player() = player ? std::move(player) : PlayThroughAudio; }

TLcfAnimationGraphic::TLcfAnimationGraphic() : sheet_(MakeSheet()), mirroredSheet_(MakeSheet()) {}

void TLcfAnimationGraphic::Clear() {
    imageName_.clear();
    imageLarge_ = false;
    imageLoaded_ = false;
    mirrored_ = 0;
    sheet_->Clear();
    mirroredSheet_->Clear();
}

void TLcfAnimationGraphic::SetAnimation(const TLcfAnimationItem* animation, int32_t mirrored, bool timingsOff) {
    animation_ = animation;
    mirrored_ = mirrored;
    // Tables first, so they match the animation even when its image fails.
    BuildTables(timingsOff);
    if (animation_) LoadImage(animation_->image, animation_->large != 0);
}

// The image is cached by its name and cell size together: the folder
// depends on the size.
void TLcfAnimationGraphic::LoadImage(const std::string& name, bool large) {
    if (imageLoaded_ && name == imageName_ && large == imageLarge_) return;
    imageName_ = name;
    imageLarge_ = large;
    imageLoaded_ = true;
    sheet_->Clear();
    mirroredSheet_->Clear();
    std::string path = FindGraphicsFile(large ? "Battle2" : "Battle", name);
    sheet_->LoadFromFile(path, true);
    mirroredSheet_->LoadFromFile(path, true);

    // Every cell mirrored in place: the five column blocks change places,
    // then the whole sheet is flipped.
    const int32_t size = CellSize(large);
    sheet_->Transparent = false;
    for (int32_t i = 0; i < 5; ++i)
        mirroredSheet_->Draw(size * i, 0, *sheet_, RectOfSize(size * (4 - i), 0, size, sheet_->Height()));
    sheet_->Transparent = true;
    mirroredSheet_->MirrorHorizontal();
}

void TLcfAnimationGraphic::BuildTables(bool timingsOff) {
    size_t n = animation_ ? size_t(animation_->FrameCount()) + 10 : 0;
    targetFlash_.assign(n, AnimationFlash{});
    screenFlash_.assign(n, AnimationFlash{});
    shake_.assign(n, 0);
    if (!animation_ || timingsOff) return;
    for (int i = 0; i < animation_->timings.Count(); ++i) {
        const TLcfAnimationTimingItem& t = *animation_->timings.Items(i);
        const int64_t f = t.frame;
        for (int64_t j = f - 1; j <= f + 4; ++j) {
            if (j < 0 || j >= int64_t(n)) continue;
            int64_t strength = Clamp<int64_t>(int64_t(t.flashStrength) * (f - j + 6) / 6, 0, 31);
            AnimationFlash flash{t.flashRed, t.flashGreen, t.flashBlue, int32_t(strength)};
            if (t.flashScope == 1) targetFlash_[size_t(j)] = flash;
            else if (t.flashScope == 2) screenFlash_[size_t(j)] = flash;
            shake_[size_t(j)] = t.shake;
        }
    }
}

void TLcfAnimationGraphic::DrawCells(TSorvoBoard& board, int32_t x, int32_t y, int32_t frameIndex, bool large) {
    if (!animation_ || frameIndex < 0 || frameIndex >= animation_->FrameCount()) return;
    TSorvoSheet& sheet = mirrored_ ? *mirroredSheet_ : *sheet_;
    const int32_t size = CellSize(large);
    const AnimationFlash flash = TargetFlash(frameIndex);
    const TLcfAnimationCell& cells = animation_->frames.Items(frameIndex)->cells;
    for (int i = 0; i < cells.Count(); ++i) {
        const TLcfAnimationCellItem& cell = *cells.Items(i);
        if (!cell.visible || cell.pattern < 0) continue;
        int64_t cx = mirrored_ ? int64_t(x) - cell.x : int64_t(x) + cell.x;
        int64_t cy = int64_t(y) + cell.y;
        TRect source = RectOfSize((cell.pattern % 5) * size, ClampToInt32(int64_t(cell.pattern / 5) * size), size, size);
        sheet.ColorControl2.SetFlash(flash.red, flash.green, flash.blue, flash.strength, true);
        sheet.ColorControl1.SetTone(cell.red, cell.green, cell.blue, cell.saturation, true);
        sheet.Opacity = cell.Opacity();
        board.ZoomDraw(ClampToInt32(cx), ClampToInt32(cy), sheet, source, size / 2, size / 2, cell.zoom / 100.0);
    }
}

void TLcfAnimationGraphic::DrawFrame(TSorvoBoard& board, int32_t x, int32_t y, int32_t frameIndex, bool large) {
    DrawCells(board, x, y, frameIndex, large);
}

void TLcfAnimationGraphic::DrawFrameToned(TSorvoBoard& board, int32_t x, int32_t y, int32_t frameIndex, bool large,
                                          int32_t red, int32_t green, int32_t blue, double strength) {
    TSorvoSheet& sheet = mirrored_ ? *mirroredSheet_ : *sheet_;
    double rounded = std::nearbyint(std::isfinite(strength) ? std::clamp(strength, -1e6, 1e6) : 0.0);
    sheet.ColorControl1.SetFlash(red, green, blue, int32_t(rounded), true);
    DrawCells(board, x, y, frameIndex, large);
}

void TLcfAnimationGraphic::PlayTimingSounds(int32_t frameIndex) const {
    if (animation_) PlayTimingSoundsOf(*animation_, frameIndex);
}

void TLcfAnimationGraphic::PlayTimingSoundsOf(const TLcfAnimationItem& animation, int32_t frameIndex) {
    if (!Player()) return;
    for (int i = 0; i < animation.timings.Count(); ++i) {
        const TLcfAnimationTimingItem& t = *animation.timings.Items(i);
        if (int64_t(t.frame) == int64_t(frameIndex) + 1 && !t.sound.IsOff()) Player()(t.sound);
    }
}

AnimationFlash TLcfAnimationGraphic::TargetFlash(int32_t frameIndex) const { return Lookup(targetFlash_, frameIndex); }

AnimationFlash TLcfAnimationGraphic::ScreenFlash(int32_t frameIndex) const { return Lookup(screenFlash_, frameIndex); }

int32_t TLcfAnimationGraphic::FrameShake(int32_t frameIndex) const { return Lookup(shake_, frameIndex); }

int32_t TLcfAnimationGraphic::FlashFrameCount() const {
    const int count = animation_ ? animation_->timings.Count() : 0;
    if (count == 0) return 0;
    return std::max(0, std::min(20, animation_->timings.Items(count - 1)->frame));
}
