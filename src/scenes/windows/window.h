#pragma once
// TLcfWindow: the base of every window: a framed box in the system skin
// with lines of text and a command cursor, opened and closed with a short
// animation. This holds what a plain command window needs; the common
// windows build on it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/sheet/sheet.h"

class TLcfSystemGraphic;

class TLcfWindow {
public:
    // Frames of the opening animation.
    static constexpr int kOpenFrames = 8;
    static constexpr int kLineHeight = 16;

    TLcfWindow();
    virtual ~TLcfWindow();

    // Places and sizes the window, clears its text and opens it (animated or
    // at once).
    void Setup(int32_t x, int32_t y, int32_t width, int32_t height, bool animated);
    // Closed and inactive at once, without animation.
    void CloseNow();
    // Text in colour 0-19 at (x, y) inside the window.
    void DrawText(int32_t x, int32_t y, const std::string& text, int32_t color);
    // Takes key input; the cursor is shown.
    void SetActive(bool active) { active_ = active; }
    bool Active() const { return active_; }
    void SetCursor(int index);
    int Cursor() const { return cursor_; }
    // Number of command lines the cursor moves over (the height's rows
    // unless set).
    void SetItemCount(int count) { itemCount_ = count; }
    // Opening animation and cursor movement, once a frame.
    virtual void Update();
    // Fully open (the animation is over).
    bool IsOpen() const { return visible_ && openStep_ >= kOpenFrames; }
    bool Visible() const { return visible_; }
    // Onto the screen board.
    virtual void Draw();

    int32_t X() const { return x_; }
    int32_t Y() const { return y_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

private:
    struct Line {
        int32_t x, y;
        std::string text;
        int32_t color;
    };
    int32_t x_ = 0, y_ = 0, width_ = 0, height_ = 0;
    bool visible_ = false;
    bool active_ = false;
    int openStep_ = 0;
    int cursor_ = 0;
    int itemCount_ = 0;
    int blink_ = 0;
    std::vector<Line> lines_;
    std::unique_ptr<TSorvoSheet> sheet_;
};

// The system skin and text renderer the windows draw with (start-up makes
// it over the screen board).
extern TLcfSystemGraphic* GameSystemGraphic;
