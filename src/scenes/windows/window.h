#pragma once
// TLcfWindow: the base of every in-game window: a skin frame with a list of
// items in one or more columns, a blinking cursor moved by the direction
// buttons, smooth one-row scrolling with blinking arrows, and a 7-frame
// opening and closing animation that squashes the window vertically.
//
// Four sheets: the composed window, a clean copy of the frame, the item
// sheet (visible rows + 1 rows used as a ring, so a scroll draws only the
// row coming into view) and the translucent background.

#include <cstdint>
#include <memory>
#include <string>

#include "media/rect.h"
#include "media/sheet/sheet.h"

class TLcfSystemGraphic;

class TLcfWindow {
public:
    static constexpr int kOpenSteps = 8;

    TLcfWindow();
    virtual ~TLcfWindow();
    TLcfWindow(const TLcfWindow&) = delete;
    TLcfWindow& operator=(const TLcfWindow&) = delete;

    // Places and sizes the window, draws its frame and opens it (in 7
    // frames when animated, else at once). Cancels a close just begun.
    virtual void Setup(int32_t x, int32_t y, int32_t width, int32_t height, bool animated);
    void SetupAndRefresh(int32_t x, int32_t y, int32_t width, int32_t height, bool animated);
    // Moves the window as it is (a window sliding in or out).
    void MoveTo(int32_t x, int32_t y) {
        x_ = x;
        y_ = y;
    }
    // Redraws the frame and every visible item.
    virtual void Refresh();
    // Invisible at once, sheets freed, until the next Setup.
    virtual void CloseNow();
    // Starts the closing animation.
    virtual void Close();
    // Animation, cursor input and blink, once a frame.
    virtual void Update();
    // Onto the screen board.
    virtual void Draw();
    // Text into the item sheet; with blitNow and the top row at 0 also
    // straight into the window sheet.
    void DrawText(int32_t x, int32_t y, const std::string& text, int32_t color, bool blitNow = true);

    virtual TRect GetCursorRect(int index) const;
    virtual TRect GetItemRect(int index) const;

    bool IsVisible() const;
    bool Visible() const { return IsVisible(); }
    bool IsOpen() const { return IsVisible() && closeStep_ == 0 && openStep_ == kOpenSteps; }
    bool IsClosing() const { return closeStep_ != 0; }
    void DrawCursorCell(int index, bool withCursor);
    void SetCursor(int index);
    int Cursor() const { return cursor_; }
    void SetTopRow(int row);
    int TopRow() const { return topRow_; }
    void SetCursorVisible(bool visible);
    bool CursorVisible() const { return cursorVisible_; }
    void SetActive(bool active);
    bool Active() const { return active_; }
    void SetItemCount(int count) { itemCount_ = count; }
    int ItemCount() const { return itemCount_; }
    int VisibleRows() const { return visibleRows_; }
    int ScrollOffset() const { return scrollOffset_; }
    int OpenStep() const { return openStep_; }
    int CloseStep() const { return closeStep_; }
    int FrameCounter() const { return frameCounter_; }

    int32_t X() const { return x_; }
    int32_t Y() const { return y_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

    TSorvoSheet& WindowSheet() { return *window_; }
    TSorvoSheet& CleanSheet() { return *clean_; }
    TSorvoSheet& ItemSheet() { return *items_; }

    // Layout, public so owners can adjust it after Setup as the game does.
    int columns = 1;
    int32_t columnWidth = 0;
    int32_t rowHeight = 16;
    int32_t leftMargin = 8;
    int32_t topMargin = 8;
    int32_t itemWidth = 0;
    int32_t cursorHeight = 16;
    int32_t textOrigin = 8;
    int32_t textSpacing = 16;
    bool noBackground = false;
    bool customInput = false;

protected:
    virtual void DrawItem(int32_t x, int32_t y, int index);
    virtual void ScrollDown();
    virtual void ScrollUp();
    virtual void HandleCursorInput();
    virtual void ComposeScrolled();
    virtual void CustomInput() {}
    // Draw in its three layers, for windows that put something between
    // them: the translucent background, the window with its items, and
    // the scroll arrows blinking by `counter`.
    void DrawBackground();
    void DrawContents();
    void DrawScrollArrows(int counter);

    int32_t x_ = 0, y_ = 0, width_ = 0, height_ = 0;
    int visibleRows_ = 0;
    int itemCount_ = 0;
    int cursor_ = 0;
    int topRow_ = 0;
    int scrollOffset_ = 0;
    bool cursorVisible_ = false;
    bool active_ = false;
    int blink_ = 0;
    int openStep_ = 0;
    int closeStep_ = 0;
    int frameCounter_ = 0;
    bool translucent_ = false;
    std::unique_ptr<TSorvoSheet> window_, clean_, items_, background_;

private:
    void ClearItemRect(int index);
    // Where the window stands on the screen, squashed while it opens or closes.
    TRect DrawRect() const;
};

// The system skin and text renderer the windows draw with (start-up makes
// it over the screen board).
extern TLcfSystemGraphic* GameSystemGraphic;
