#pragma once
// The SDL window: a 320x240 or 640x480 logical screen shown at its size in
// a window, or scaled by a whole factor and centred on the desktop in full
// screen, without smoothing.
//
// Two ways to show a frame. With a graphics accelerator, the frame goes up
// as a streaming texture and the accelerator scales it. Without one (a
// software GL such as llvmpipe, or no GL at all), a renderer would convert
// and stretch every frame on the processor through several buffers: there
// the frame is converted and scaled in one pass straight into the window's
// own pixels (on X11 a shared-memory image), and SDL only hands them over.
// VARNOW_PRESENT=texture or =window forces one way (for measuring).
//
// A frame identical to the one on screen is not shown again unless the
// window was exposed, resized or switched mode in between.

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/frame_scaler.h"

#include "platform/platform.h"
#include "platform/screen_layout.h"

namespace platform {

class SdlDisplay : public Display {
public:
    // Failures are described in *lastError (the platform's LastErrorText).
    SdlDisplay(bool videoAvailable, std::string* lastError) : videoAvailable_(videoAvailable), lastError_(lastError) {}
    ~SdlDisplay() override;

    bool SetMode(int logicalWidth, int logicalHeight, bool fullScreen) override;
    bool IsFullScreen() const override { return fullScreen_; }
    int LogicalWidth() const override { return width_; }
    int LogicalHeight() const override { return height_; }
    void Present(const uint16_t* pixels, int srcWidth, int srcHeight, int srcPitch, Rect dest) override;
    void PresentXrgb(const uint32_t* pixels, int srcWidth, int srcHeight, int srcPitch, Rect dest) override;
    void SetCaption(const std::string& utf8) override;
    void ShowCursor(bool show) override;
    bool WindowToLogical(int wx, int wy, int& lx, int& ly) const override;

    SDL_Window* Window() const { return window_; }
    // The window's contents were lost or moved (exposed, resized): the next
    // frame is shown even when it has not changed.
    void Invalidate() { lastFrame_.clear(); }
    // "texture" or "window": how frames are shown.
    const char* PresentPath() const { return useTexture_ ? "texture" : "window"; }

private:
    bool OpenWindow();
    bool CreateTextureRenderer();
    void UpdateLayout();
    // Remembers the frame; false when it is the one already on screen.
    bool FrameChanged(const void* pixels, int srcWidth, int srcHeight, int pitchBytes, int bytesPerPixel,
                      Rect dest);
    void Show(SDL_Texture*& texture, int& texW, int& texH, uint32_t format, const void* pixels, int srcWidth,
              int srcHeight, int pitchBytes, Rect dest);
    // The window-pixels way; false when the window has no usable surface.
    bool ShowInWindow(const void* pixels, int srcWidth, int srcHeight, int srcPitch, bool xrgb, Rect dest);

    bool Fail(const char* what);

    bool videoAvailable_;
    std::string* lastError_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture565_ = nullptr;
    int texture565W_ = 0, texture565H_ = 0;
    SDL_Texture* textureXrgb_ = nullptr;
    int textureXrgbW_ = 0, textureXrgbH_ = 0;
    bool useTexture_ = false;
    FrameScaler scaler_;
    // The window surface the borders were last cleared in, by size.
    int clearedW_ = -1, clearedH_ = -1;
    Rect clearedFor_{};
    // The frame on screen: its pixels, size and place.
    std::vector<uint8_t> lastFrame_;
    int lastW_ = 0, lastH_ = 0;
    Rect lastDest_{};
    int width_ = 320, height_ = 240;
    bool fullScreen_ = false;
    std::string caption_;
    ScreenLayout layout_;
};

}  // namespace platform
