#pragma once
// The SDL window: a 320x240 or 640x480 logical screen shown at its size in
// a window, or scaled by a whole factor and centred on the desktop in full
// screen. Pixels go up as streaming textures and are scaled without
// smoothing.

#include <SDL.h>

#include <string>

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

private:
    bool OpenWindow();
    void UpdateLayout();
    void Show(SDL_Texture*& texture, int& texW, int& texH, uint32_t format, const void* pixels, int srcWidth,
              int srcHeight, int pitchBytes, Rect dest);

    bool Fail(const char* what);

    bool videoAvailable_;
    std::string* lastError_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture565_ = nullptr;
    int texture565W_ = 0, texture565H_ = 0;
    SDL_Texture* textureXrgb_ = nullptr;
    int textureXrgbW_ = 0, textureXrgbH_ = 0;
    int width_ = 320, height_ = 240;
    bool fullScreen_ = false;
    std::string caption_;
    ScreenLayout layout_;
};

}  // namespace platform
