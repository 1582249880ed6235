#include "scenes/windows/window.h"

#include <algorithm>
#include <cmath>

#include "data/database/battle.h"
#include "data/database/database.h"
#include "game/system/game_system.h"
#include "graphics/system_graphic.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/system_sounds.h"

TLcfSystemGraphic* GameSystemGraphic = nullptr;

TLcfWindow::TLcfWindow()
    : window_(std::make_unique<TSorvoSheet>()),
      clean_(std::make_unique<TSorvoSheet>()),
      items_(std::make_unique<TSorvoSheet>()),
      background_(std::make_unique<TSorvoSheet>()) {
    window_->Transparent = true;
    items_->Transparent = true;
}
TLcfWindow::~TLcfWindow() = default;

void TLcfWindow::Setup(int32_t x, int32_t y, int32_t width, int32_t height, bool animated) {
    x_ = x;
    y_ = y;
    width_ = std::max<int32_t>(width, 1);
    height_ = std::max<int32_t>(height, 1);
    uint8_t scene = GameSystem ? GameSystem->scene : uint8_t(kSceneTitle);
    bool compact = scene == kSceneBattle && DbBattle && DbBattle->compactWindows == 1;
    rowHeight = compact ? 15 : 16;
    topMargin = compact ? 3 : 8;
    cursorHeight = compact ? 14 : 16;
    leftMargin = 8;
    columns = std::max(columns, 1);
    columnWidth = width_ / columns;
    itemWidth = columnWidth - 16;
    visibleRows_ = std::max(0, (height_ - 16) / rowHeight);
    itemCount_ = visibleRows_;
    cursor_ = topRow_ = scrollOffset_ = blink_ = frameCounter_ = 0;
    cursorVisible_ = active_ = false;
    textOrigin = 8;
    textSpacing = 16;
    noBackground = GameSystem && GameSystem->messageTransparent != 0;

    window_->SetSize(width_, height_);
    clean_->SetSize(width_, height_);
    background_->SetSize(width_, height_);
    items_->SetSize(width_, height_ + rowHeight);
    translucent_ = DbBattle && DbBattle->translucentWindows != 0 &&
                   (scene == kSceneField || scene == kSceneBattle);
    window_->Clear();
    items_->FillRect(items_->GetBoundsRect(), 0);
    if (GameSystemGraphic) {
        TLcfSystemGraphic& skin = *GameSystemGraphic;
        window_->Palette = skin.Skin().Palette;
        window_->UpdateColorTable();
        items_->Palette = skin.Skin().Palette;
        items_->UpdateColorTable();
        if (translucent_)
            skin.DrawWindowFrame(*window_, 0, 0, width_, height_);
        else
            skin.DrawWindowSkin(*window_, 0, 0, width_, height_);
        if (translucent_) {
            background_->Palette = skin.Skin().Palette;
            background_->UpdateColorTable();
            background_->Opacity = 160;
            skin.DrawWindowBackground(*background_, 0, 0, width_, height_);
        }
    }
    clean_->Palette = window_->Palette;
    clean_->UpdateColorTable();
    clean_->Draw(0, 0, *window_, window_->GetBoundsRect());
    openStep_ = animated ? 1 : kOpenSteps;
    if (closeStep_ == 1) closeStep_ = 0;
}

void TLcfWindow::SetupAndRefresh(int32_t x, int32_t y, int32_t width, int32_t height, bool animated) {
    Setup(x, y, width, height, animated);
    Refresh();
}

bool TLcfWindow::IsVisible() const { return window_->Width() > 0 && window_->Height() > 0; }

TRect TLcfWindow::GetCursorRect(int index) const {
    int32_t left = (index % columns) * columnWidth + leftMargin - 4;
    int32_t top = (index / columns - topRow_) * rowHeight + topMargin;
    return TRect(left, top, left + itemWidth + 8, top + cursorHeight);
}

TRect TLcfWindow::GetItemRect(int index) const {
    int32_t left = (index % columns) * columnWidth + leftMargin - 4;
    int ring = visibleRows_ + 1;
    int32_t top = ((index / columns) % ring) * rowHeight + topMargin;
    return TRect(left, top, left + itemWidth + 8, top + cursorHeight);
}

void TLcfWindow::DrawItem(int32_t, int32_t, int) {}

void TLcfWindow::ClearItemRect(int index) { items_->FillRect(GetItemRect(index), 0); }

void TLcfWindow::ScrollDown() {
    for (int c = 0; c < columns; ++c) {
        int n = (topRow_ + visibleRows_) * columns + c;
        ClearItemRect(n);
        TRect r = GetItemRect(n);
        if (n < itemCount_) DrawItem(r.Left + 4, r.Top, n);
    }
    ++topRow_;
    scrollOffset_ = -rowHeight;
}

void TLcfWindow::ScrollUp() {
    for (int c = 0; c < columns; ++c) {
        int n = (topRow_ - 1) * columns + c;
        if (n < 0) continue;
        ClearItemRect(n);
        TRect r = GetItemRect(n);
        if (n < itemCount_) DrawItem(r.Left + 4, r.Top, n);
    }
    --topRow_;
    scrollOffset_ = rowHeight;
}

void TLcfWindow::HandleCursorInput() {
    if (!GameInput) return;
    TMultiInput& in = *GameInput;
    if (columns > 1) {
        if (in.IsRepeated(TMultiInput::kDown) &&
            (cursor_ < itemCount_ - columns || columns * (topRow_ + visibleRows_) < itemCount_))
            cursor_ = std::min(itemCount_ - 1, cursor_ + columns);
        if (in.IsRepeated(TMultiInput::kUp) && cursor_ >= columns) cursor_ = std::max(0, cursor_ - columns);
        if (in.IsRepeated(TMultiInput::kRight)) cursor_ = std::min(itemCount_ - 1, cursor_ + 1);
        if (in.IsRepeated(TMultiInput::kLeft)) cursor_ = std::max(0, cursor_ - 1);
    } else if (customInput) {
        CustomInput();
        return;
    } else if (itemCount_ <= 0) {
        return;
    } else if (itemCount_ <= visibleRows_) {
        if (in.IsRepeated(TMultiInput::kDown)) cursor_ = (cursor_ + 1) % itemCount_;
        if (in.IsRepeated(TMultiInput::kUp)) cursor_ = (cursor_ + itemCount_ - 1) % itemCount_;
    } else {
        if (in.IsRepeated(TMultiInput::kDown)) cursor_ = std::min(itemCount_ - 1, cursor_ + 1);
        if (in.IsRepeated(TMultiInput::kUp)) cursor_ = std::max(0, cursor_ - 1);
    }
    if (cursor_ < 0) cursor_ = 0;
    if (cursor_ / columns < topRow_)
        ScrollUp();
    else if (cursor_ / columns >= topRow_ + visibleRows_)
        ScrollDown();
}

void TLcfWindow::ComposeScrolled() {
    if (!IsVisible()) return;
    window_->Draw(0, 0, *clean_, clean_->GetBoundsRect());
    int ring = visibleRows_ + 1;
    int32_t limit = visibleRows_ * rowHeight;
    // The offset is what is still to scroll: rows sit that far from their
    // resting place (below it after a scroll down, above it after a scroll
    // up), so the first frame shows the old list and the entering row then
    // slides in from its own edge. Rows in screen order from the one above
    // or below the top row, so the row scrolling in or out is part of the
    // picture.
    for (int k = -1; k <= visibleRows_; ++k) {
        int row = topRow_ + k;
        if (row < 0) continue;
        int32_t dest = k * rowHeight - scrollOffset_;  // relative to the top margin
        int32_t srcTop = (row % ring) * rowHeight + topMargin;
        int32_t from = std::max<int32_t>(dest, 0);
        int32_t to = std::min<int32_t>(dest + rowHeight, limit);
        if (from >= to) continue;
        TRect src(0, srcTop + (from - dest), width_, srcTop + (to - dest));
        window_->Draw(0, topMargin + from, *items_, src);
    }
}

void TLcfWindow::Refresh() {
    if (!IsVisible()) return;
    window_->Draw(0, 0, *clean_, clean_->GetBoundsRect());
    items_->FillRect(items_->GetBoundsRect(), 0);
    for (int k = 0; k < visibleRows_ * columns; ++k) {
        int n = topRow_ * columns + k;
        TRect r = GetItemRect(n);
        if (n < itemCount_) DrawItem(r.Left + 4, r.Top, n);
        DrawCursorCell(n, false);
    }
}

void TLcfWindow::DrawCursorCell(int index, bool withCursor) {
    if (!IsVisible() || index < 0) return;
    TRect cr = GetCursorRect(index);
    window_->Draw(cr.Left, cr.Top, *clean_, cr);
    if (cursorVisible_ && withCursor && GameSystemGraphic) {
        int32_t frame = active_ ? (blink_ / 10) % 2 : 1;
        GameSystemGraphic->DrawCursor(*window_, cr, frame);
    }
    TRect ir = GetItemRect(index);
    window_->Draw(cr.Left, cr.Top, *items_, ir);
}

void TLcfWindow::SetCursor(int index) {
    DrawCursorCell(cursor_, false);
    cursor_ = index >= itemCount_ ? itemCount_ - 1 : index;
    int oldTop = topRow_;
    if (cursor_ / columns < topRow_)
        topRow_ = std::max(0, cursor_ / columns);
    else if (cursor_ / columns >= topRow_ + visibleRows_)
        topRow_ = cursor_ / columns - visibleRows_ + 1;
    // The new cell gets its cursor from the blink.
    if (topRow_ != oldTop) Refresh();
}

void TLcfWindow::SetTopRow(int row) {
    topRow_ = std::max(row, 0);
    Refresh();
}

void TLcfWindow::SetCursorVisible(bool visible) {
    cursorVisible_ = visible;
    if (!visible) active_ = false;
    blink_ = 0;
    DrawCursorCell(cursor_, true);
}

void TLcfWindow::SetActive(bool active) {
    active_ = active;
    if (active) cursorVisible_ = true;
    blink_ = 0;
    DrawCursorCell(cursor_, true);
}

void TLcfWindow::CloseNow() {
    SetCursorVisible(false);
    openStep_ = 0;
    closeStep_ = 0;
    scrollOffset_ = 0;
    window_->FreePixels();
    clean_->FreePixels();
    items_->FreePixels();
    background_->FreePixels();
}

void TLcfWindow::Close() {
    if (!IsVisible()) return;
    Refresh();
    SetCursorVisible(false);
    openStep_ = 0;
    closeStep_ = 1;
}

void TLcfWindow::DrawText(int32_t x, int32_t y, const std::string& text, int32_t color, bool blitNow) {
    if (!IsVisible() || !GameSystemGraphic) return;
    GameSystemGraphic->DrawText(*items_, x, y, text, std::clamp<int32_t>(color, 0, 19));
    if (blitNow && topRow_ == 0) {
        TRect r = RectOfSize(x, y + 2, int32_t(6 * text.size() + 1), 13);
        window_->Draw(x, y + 2, *items_, r);
    }
}

void TLcfWindow::Update() {
    ++frameCounter_;
    if (closeStep_ >= 1 && closeStep_ <= 7) {
        ++closeStep_;
    } else if (openStep_ >= 1 && openStep_ <= 7) {
        ++openStep_;
    }
    if (closeStep_ >= 8) {
        closeStep_ = 0;
        if (openStep_ == 0) {
            CloseNow();
            return;
        }
    }
    if (!IsOpen() || !cursorVisible_) return;
    if (scrollOffset_ == 0) {
        if (active_) {
            int old = cursor_;
            HandleCursorInput();
            if (cursor_ != old) {
                PlaySystemSound(kSystemSoundCursor);
                DrawCursorCell(old, false);
                blink_ = 0;
            }
        }
        if (blink_ % 10 == 0 && scrollOffset_ == 0) DrawCursorCell(cursor_, true);
        ++blink_;
    } else {
        if (scrollOffset_ > 0)
            scrollOffset_ = std::max(0, scrollOffset_ - 4);
        else
            scrollOffset_ = std::min(0, scrollOffset_ + 4);
        if (scrollOffset_ == 0) {
            ComposeScrolled();
            blink_ = 0;
            DrawCursorCell(cursor_, false);
        }
    }
}

TRect TLcfWindow::DrawRect() const {
    double f;
    if (closeStep_ == 8 || (openStep_ < 1 && closeStep_ == 0))
        f = 0.5;
    else if (closeStep_ >= 1)
        f = closeStep_ / 7.0 * 0.5;
    else
        f = (1.0 - (openStep_ - 1) / 7.0) * 0.5;
    int32_t shrink = int32_t(std::trunc(height_ * f));
    return TRect(x_, y_ + shrink, x_ + width_, y_ + height_ - shrink);
}

void TLcfWindow::DrawBackground() {
    if (!IsVisible() || !GameDraw || noBackground || !translucent_) return;
    const TRect dest = DrawRect();
    if (dest.Bottom > dest.Top) GameDraw->Board().StretchDraw(dest, *background_, background_->GetBoundsRect());
}

void TLcfWindow::DrawContents() {
    if (!IsVisible() || !GameDraw) return;
    if (scrollOffset_ != 0) ComposeScrolled();
    const TRect dest = DrawRect();
    if (dest.Bottom > dest.Top) GameDraw->Board().StretchDraw(dest, *window_, window_->GetBoundsRect());
}

void TLcfWindow::DrawScrollArrows(int counter) {
    if (!IsVisible() || !GameSystemGraphic || (counter / 20) % 2 != 0) return;
    if (topRow_ > 0) GameSystemGraphic->DrawUpArrow(x_ + width_ / 2 - 8, y_);
    if ((topRow_ + visibleRows_) * columns < itemCount_)
        GameSystemGraphic->DrawDownArrow(x_ + width_ / 2 - 8, y_ + height_ - 8);
}

void TLcfWindow::Draw() {
    if (!IsVisible() || !GameDraw) return;
    DrawBackground();
    DrawContents();
    DrawScrollArrows(frameCounter_);
}
