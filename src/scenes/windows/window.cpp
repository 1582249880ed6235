#include "scenes/windows/window.h"

#include "graphics/system_graphic.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/system_sounds.h"

TLcfSystemGraphic* GameSystemGraphic = nullptr;

TLcfWindow::TLcfWindow() : sheet_(std::make_unique<TSorvoSheet>()) {}
TLcfWindow::~TLcfWindow() = default;

void TLcfWindow::Setup(int32_t x, int32_t y, int32_t width, int32_t height, bool animated) {
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
    lines_.clear();
    cursor_ = 0;
    itemCount_ = 0;
    active_ = false;
    visible_ = true;
    openStep_ = animated ? 0 : kOpenFrames;
}

void TLcfWindow::CloseNow() {
    visible_ = false;
    active_ = false;
    openStep_ = 0;
}

void TLcfWindow::DrawText(int32_t x, int32_t y, const std::string& text, int32_t color) {
    lines_.push_back({x, y, text, color});
}

void TLcfWindow::SetCursor(int index) { cursor_ = index; }

void TLcfWindow::Update() {
    if (!visible_) return;
    ++blink_;
    if (openStep_ < kOpenFrames) {
        ++openStep_;
        return;
    }
    if (!active_ || !GameInput) return;
    int count = itemCount_ > 0 ? itemCount_ : (height_ - 16) / kLineHeight;
    if (count <= 0) return;
    if (GameInput->IsRepeated(TMultiInput::kDown)) {
        cursor_ = (cursor_ + 1) % count;
        PlaySystemSound(kSystemSoundCursor);
    } else if (GameInput->IsRepeated(TMultiInput::kUp)) {
        cursor_ = (cursor_ + count - 1) % count;
        PlaySystemSound(kSystemSoundCursor);
    }
}

void TLcfWindow::Draw() {
    if (!visible_ || !GameSystemGraphic || width_ <= 0 || height_ <= 0 || !GameDraw) return;
    TLcfSystemGraphic& skin = *GameSystemGraphic;
    // While opening, the frame grows from the middle row outwards.
    int32_t shown = openStep_ >= kOpenFrames ? height_ : height_ * openStep_ / kOpenFrames;
    if (shown <= 0) return;
    TSorvoSheet& s = *sheet_;
    if (s.Width() != width_ || s.Height() != height_) s.SetSize(width_, height_);
    s.Clear();
    s.Palette = skin.Skin().Palette;
    s.UpdateColorTable();
    s.Transparent = true;
    skin.DrawWindowSkin(s, 0, 0, width_, shown);
    if (shown == height_) {
        if (active_) skin.DrawCursor(s, RectOfSize(4, 8 + cursor_ * kLineHeight, width_ - 8, kLineHeight), (blink_ / 8) % 2);
        for (const auto& l : lines_) skin.DrawText(s, l.x, l.y, l.text, l.color);
    }
    GameDraw->Board().Draw(x_, y_ + (height_ - shown) / 2, s, RectOfSize(0, 0, width_, shown));
}
