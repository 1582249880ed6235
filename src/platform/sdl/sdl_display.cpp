#include "platform/sdl/sdl_display.h"

#include <cstdio>

namespace platform {

SdlDisplay::~SdlDisplay() {
    if (texture565_) SDL_DestroyTexture(texture565_);
    if (textureXrgb_) SDL_DestroyTexture(textureXrgb_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
}

bool SdlDisplay::Fail(const char* what) {
    *lastError_ = std::string(what) + ": " + SDL_GetError();
    std::fprintf(stderr, "varnow: %s\n", lastError_->c_str());
    return false;
}

namespace {

// The desktop's size, or the logical size when it can't be asked.
void DesktopSize(int logicalWidth, int logicalHeight, int& w, int& h) {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
        w = mode.w;
        h = mode.h;
    } else {
        w = logicalWidth;
        h = logicalHeight;
    }
}

}  // namespace

bool SdlDisplay::OpenWindow() {
    uint32_t flags = fullScreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
    // A full-screen window is made desktop-sized from the start: without a
    // window manager to enlarge it, it would keep the small size while the
    // renderer drew for the whole desktop, showing only its top-left corner.
    int w = width_, h = height_;
    if (fullScreen_) DesktopSize(width_, height_, w, h);
    window_ = SDL_CreateWindow(caption_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, flags);
    if (!window_) return Fail("cannot open a window");
    // Nearest-neighbour scaling: whole factors keep the pixels crisp.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        Fail("cannot draw in the window");
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        return false;
    }
    return true;
}

bool SdlDisplay::SetMode(int logicalWidth, int logicalHeight, bool fullScreen) {
    if (!videoAvailable_) {
        if (lastError_->compare(0, 10, "no display") != 0) *lastError_ = "no display";
        return false;
    }
    if (logicalWidth <= 0 || logicalHeight <= 0) return false;
    width_ = logicalWidth;
    height_ = logicalHeight;
    if (!window_) {
        fullScreen_ = fullScreen;
        if (!OpenWindow()) return false;
    } else {
        if (fullScreen != fullScreen_) {
            if (fullScreen) {
                int w = width_, h = height_;
                DesktopSize(width_, height_, w, h);
                SDL_SetWindowSize(window_, w, h);
            }
            if (SDL_SetWindowFullscreen(window_, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
                return Fail("cannot change the screen mode");
            fullScreen_ = fullScreen;
        }
        if (!fullScreen_) {
            SDL_SetWindowSize(window_, width_, height_);
            SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
    }
    SDL_ShowWindow(window_);
    UpdateLayout();
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
    return true;
}

void SdlDisplay::UpdateLayout() {
    int ow = width_, oh = height_;
    if (renderer_ && SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0) {
        ow = width_;
        oh = height_;
    }
    layout_ = ComputeScreenLayout(ow, oh, width_, height_);
}

void SdlDisplay::Show(SDL_Texture*& texture, int& texW, int& texH, uint32_t format, const void* pixels, int srcWidth,
                      int srcHeight, int pitchBytes, Rect dest) {
    if (!renderer_ || !pixels || srcWidth <= 0 || srcHeight <= 0) return;
    if (!texture || texW != srcWidth || texH != srcHeight) {
        if (texture) SDL_DestroyTexture(texture);
        texture = SDL_CreateTexture(renderer_, format, SDL_TEXTUREACCESS_STREAMING, srcWidth, srcHeight);
        texW = srcWidth;
        texH = srcHeight;
        if (!texture) {
            texW = texH = 0;
            return;
        }
    }
    SDL_UpdateTexture(texture, nullptr, pixels, pitchBytes);
    UpdateLayout();
    Rect out = layout_.ToOutput(dest);
    SDL_Rect dst{out.x, out.y, out.w, out.h};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture, nullptr, &dst);
    SDL_RenderPresent(renderer_);
}

void SdlDisplay::Present(const uint16_t* pixels, int srcWidth, int srcHeight, int srcPitch, Rect dest) {
    if (srcPitch < srcWidth) return;
    Show(texture565_, texture565W_, texture565H_, SDL_PIXELFORMAT_RGB565, pixels, srcWidth, srcHeight,
         srcPitch * int(sizeof(uint16_t)), dest);
}

void SdlDisplay::PresentXrgb(const uint32_t* pixels, int srcWidth, int srcHeight, int srcPitch, Rect dest) {
    if (srcPitch < srcWidth) return;
    Show(textureXrgb_, textureXrgbW_, textureXrgbH_, SDL_PIXELFORMAT_RGB888, pixels, srcWidth, srcHeight,
         srcPitch * int(sizeof(uint32_t)), dest);
}

void SdlDisplay::SetCaption(const std::string& utf8) {
    caption_ = utf8;
    if (window_) SDL_SetWindowTitle(window_, caption_.c_str());
}

void SdlDisplay::ShowCursor(bool show) {
    if (videoAvailable_) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool SdlDisplay::WindowToLogical(int wx, int wy, int& lx, int& ly) const {
    int ox = wx, oy = wy;
    if (window_ && renderer_) {
        // Window and output pixels differ on high-density displays.
        int ww = 0, wh = 0, ow = 0, oh = 0;
        SDL_GetWindowSize(window_, &ww, &wh);
        if (SDL_GetRendererOutputSize(renderer_, &ow, &oh) == 0 && ww > 0 && wh > 0) {
            ox = int(int64_t(wx) * ow / ww);
            oy = int(int64_t(wy) * oh / wh);
        }
    }
    return OutputToLogical(layout_, width_, height_, ox, oy, lx, ly);
}

}  // namespace platform
