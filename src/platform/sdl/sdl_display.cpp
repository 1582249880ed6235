#include "platform/sdl/sdl_display.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

namespace {

// Does the renderer draw on a graphics accelerator? A GL renderer may be a
// software rasteriser, which is slower than plain pixel copies.
bool IsHardwareRenderer(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !(info.flags & SDL_RENDERER_ACCELERATED)) return false;
    if (std::strncmp(info.name, "opengl", 6) != 0) return true;
    using GetString = const unsigned char* (*)(unsigned int);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (!getString) return false;
    constexpr unsigned int kGlRenderer = 0x1F01;
    const char* name = reinterpret_cast<const char*>(getString(kGlRenderer));
    if (!name) return false;
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "Software"})
        if (std::strstr(name, software)) return false;
    return true;
}

}  // namespace

bool SdlDisplay::CreateTextureRenderer() {
    const char* forced = std::getenv("VARNOW_PRESENT");
    bool forceTexture = forced && std::strcmp(forced, "texture") == 0;
    bool forceWindow = forced && std::strcmp(forced, "window") == 0;
    if (forceWindow) return false;
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (renderer_ && (forceTexture || IsHardwareRenderer(renderer_))) return true;
    if (renderer_) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
    if (forceTexture) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    return renderer_ != nullptr;
}

bool SdlDisplay::OpenWindow() {
    // A full-screen window is made desktop-sized from the start: without a
    // window manager to enlarge it, it would keep the small size while the
    // renderer drew for the whole desktop, showing only its top-left corner.
    int w = width_, h = height_;
    if (fullScreen_) DesktopSize(width_, height_, w, h);
    auto create = [&] {
        uint32_t flags = fullScreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
        window_ = SDL_CreateWindow(caption_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, flags);
        return window_ != nullptr;
    };
    if (!create()) return Fail("cannot open a window");
    // Nearest-neighbour scaling: whole factors keep the pixels crisp.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    useTexture_ = CreateTextureRenderer();
    if (useTexture_) return true;
    // The window's own pixels, not a texture SDL would put behind them.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_OPENGL) {
        // Trying the GL renderer turned the window into a GL one: start over.
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        if (!create()) return Fail("cannot open a window");
    }
    if (!SDL_GetWindowSurface(window_)) {
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
    Invalidate();
    if (useTexture_) {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderPresent(renderer_);
    } else if (SDL_Surface* surface = SDL_GetWindowSurface(window_)) {
        SDL_FillRect(surface, nullptr, 0);
        SDL_UpdateWindowSurface(window_);
        clearedW_ = clearedH_ = -1;
    }
    return true;
}

void SdlDisplay::UpdateLayout() {
    int ow = width_, oh = height_;
    if (renderer_) {
        if (SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0) {
            ow = width_;
            oh = height_;
        }
    } else if (window_) {
        SDL_GetWindowSizeInPixels(window_, &ow, &oh);
    }
    layout_ = ComputeScreenLayout(ow, oh, width_, height_);
}

bool SdlDisplay::FrameChanged(const void* pixels, int srcWidth, int srcHeight, int pitchBytes, int bytesPerPixel,
                              Rect dest) {
    const size_t rowBytes = size_t(srcWidth) * size_t(bytesPerPixel);
    const size_t total = rowBytes * size_t(srcHeight);
    const auto* src = static_cast<const uint8_t*>(pixels);
    bool same = lastFrame_.size() == total && lastW_ == srcWidth && lastH_ == srcHeight && lastDest_ == dest;
    for (int y = 0; same && y < srcHeight; ++y)
        same = std::memcmp(lastFrame_.data() + size_t(y) * rowBytes, src + ptrdiff_t(y) * pitchBytes, rowBytes) == 0;
    if (same) return false;
    lastFrame_.resize(total);
    for (int y = 0; y < srcHeight; ++y)
        std::memcpy(lastFrame_.data() + size_t(y) * rowBytes, src + ptrdiff_t(y) * pitchBytes, rowBytes);
    lastW_ = srcWidth;
    lastH_ = srcHeight;
    lastDest_ = dest;
    return true;
}

bool SdlDisplay::ShowInWindow(const void* pixels, int srcWidth, int srcHeight, int srcPitch, bool xrgb, Rect dest) {
    SDL_Surface* surface = window_ ? SDL_GetWindowSurface(window_) : nullptr;
    if (!surface) return false;
    PixelTarget target;
    target.width = surface->w;
    target.height = surface->h;
    target.pitchBytes = surface->pitch;
    target.format.bytesPerPixel = surface->format->BytesPerPixel;
    target.format.red = surface->format->Rmask;
    target.format.green = surface->format->Gmask;
    target.format.blue = surface->format->Bmask;
    if (!FrameScaler::Supports(target.format)) return false;
    UpdateLayout();
    Rect out = layout_.ToOutput(dest);
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    target.pixels = surface->pixels;
    // Black around the picture, drawn again only when the picture moved or
    // the window changed size.
    bool cleared = clearedW_ != surface->w || clearedH_ != surface->h || !(clearedFor_ == out);
    if (cleared) {
        FrameScaler::Clear(target, Rect{0, 0, surface->w, surface->h});
        clearedW_ = surface->w;
        clearedH_ = surface->h;
        clearedFor_ = out;
    }
    if (xrgb)
        scaler_.DrawXrgb(target, static_cast<const uint32_t*>(pixels), srcWidth, srcHeight, srcPitch, out);
    else
        scaler_.Draw565(target, static_cast<const uint16_t*>(pixels), srcWidth, srcHeight, srcPitch, out);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (cleared) {
        SDL_UpdateWindowSurface(window_);
    } else {
        SDL_Rect r{out.x, out.y, out.w, out.h};
        if (SDL_IntersectRect(&r, &r, &r) == SDL_TRUE) SDL_UpdateWindowSurfaceRects(window_, &r, 1);
    }
    return true;
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
    if (!pixels || srcWidth <= 0 || srcHeight <= 0 || srcPitch < srcWidth) return;
    if (!FrameChanged(pixels, srcWidth, srcHeight, srcPitch * int(sizeof(uint16_t)), int(sizeof(uint16_t)), dest))
        return;
    if (!useTexture_) {
        if (!ShowInWindow(pixels, srcWidth, srcHeight, srcPitch, false, dest)) Invalidate();
        return;
    }
    Show(texture565_, texture565W_, texture565H_, SDL_PIXELFORMAT_RGB565, pixels, srcWidth, srcHeight,
         srcPitch * int(sizeof(uint16_t)), dest);
}

void SdlDisplay::PresentXrgb(const uint32_t* pixels, int srcWidth, int srcHeight, int srcPitch, Rect dest) {
    if (!pixels || srcWidth <= 0 || srcHeight <= 0 || srcPitch < srcWidth) return;
    if (!FrameChanged(pixels, srcWidth, srcHeight, srcPitch * int(sizeof(uint32_t)), int(sizeof(uint32_t)), dest))
        return;
    if (!useTexture_) {
        if (!ShowInWindow(pixels, srcWidth, srcHeight, srcPitch, true, dest)) Invalidate();
        return;
    }
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
    if (window_) {
        // Window and output pixels differ on high-density displays.
        int ww = 0, wh = 0, ow = 0, oh = 0;
        SDL_GetWindowSize(window_, &ww, &wh);
        bool known = renderer_ ? SDL_GetRendererOutputSize(renderer_, &ow, &oh) == 0
                               : (SDL_GetWindowSizeInPixels(window_, &ow, &oh), ow > 0 && oh > 0);
        if (known && ww > 0 && wh > 0) {
            ox = int(int64_t(wx) * ow / ww);
            oy = int(int64_t(wy) * oh / wh);
        }
    }
    return OutputToLogical(layout_, width_, height_, ox, oy, lx, ly);
}

}  // namespace platform
