#include "media/movie/movie_player.h"

#include <algorithm>
#include <vector>

#include "data/errors.h"
#include "media/platform_errors.h"
#include "platform/audio/mixer.h"
#include "platform/audio/movie_decoder.h"

namespace {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;

void DefaultPump() {
    auto& sys = platform::Sys();
    sys.PumpEvents();
    platform::Event e;
    while (sys.PollEvent(e)) {
        if (e.type == platform::Event::Type::Quit) throw ESorvoDrawAbort{};
        if (e.type == platform::Event::Type::KeyDown && e.key == platform::Key::F12 && !e.repeat)
            throw ESorvoDrawReset{};
    }
}

// Draws the screen picture and the movie frame onto the logical screen and
// shows it.
class Compositor {
public:
    explicit Compositor(const MovieHost& host) : host_(host) {}

    platform::Rect Place(platform::Rect r) const { return host_.place ? host_.place(r) : r; }

    void Show(const std::vector<uint32_t>& frame, int frameW, int frameH, platform::Rect movie) {
        if (frame.size() < size_t(std::max(0, frameW)) * size_t(std::max(0, frameH))) return;
        auto& display = platform::Sys().GetDisplay();
        const int lw = std::max(1, display.LogicalWidth()), lh = std::max(1, display.LogicalHeight());
        canvas_.assign(size_t(lw) * size_t(lh), 0);
        // The game's picture, scaled into its destination.
        int pitch = kScreenWidth;
        const uint16_t* bg = host_.background ? host_.background(pitch) : nullptr;
        if (bg) {
            platform::Rect d = Place({0, 0, kScreenWidth, kScreenHeight});
            for (int y = std::max(0, d.y); y < std::min(lh, d.y + d.h); ++y) {
                int sy = (y - d.y) * kScreenHeight / std::max(1, d.h);
                for (int x = std::max(0, d.x); x < std::min(lw, d.x + d.w); ++x) {
                    int sx = (x - d.x) * kScreenWidth / std::max(1, d.w);
                    uint16_t p = bg[size_t(sy) * size_t(pitch) + size_t(sx)];
                    uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
                    canvas_[size_t(y) * size_t(lw) + size_t(x)] =
                        ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
                }
            }
        }
        // The movie, already at its placed size.
        for (int y = 0; y < std::min(frameH, movie.h); ++y) {
            int ty = movie.y + y;
            if (ty < 0 || ty >= lh) continue;
            for (int x = 0; x < std::min(frameW, movie.w); ++x) {
                int tx = movie.x + x;
                if (tx < 0 || tx >= lw) continue;
                canvas_[size_t(ty) * size_t(lw) + size_t(tx)] = frame[size_t(y) * size_t(frameW) + size_t(x)];
            }
        }
        display.PresentXrgb(canvas_.data(), lw, lh, lw, {0, 0, lw, lh});
    }

private:
    const MovieHost& host_;
    std::vector<uint32_t> canvas_;
};

// Takes the movie's voice out of the mixer and hides the cursor again,
// however playback ends.
struct PlaybackGuard {
    platform::audio::Mixer* mixer = nullptr;
    platform::audio::VoiceId voice = 0;
    ~PlaybackGuard() {
        if (mixer && voice) mixer->RemoveVoice(voice);
        platform::Sys().GetDisplay().ShowCursor(false);
    }
};

}  // namespace

void PlayMovieFile(const std::string& fileName, int x, int y, int width, int height, const MovieHost& host) {
    std::string error;
    auto decoder = platform::audio::MovieDecoder::Open(fileName, error);
    if (!decoder) throw EDirectShowError(error);
    auto& sys = platform::Sys();
    const auto pump = host.processMessages ? host.processMessages : std::function<void()>(DefaultPump);
    Compositor compositor(host);

    platform::Rect movie = compositor.Place({x, y, std::max(1, width), std::max(1, height)});
    decoder->SetOutputSize(movie.w, movie.h);
    std::vector<uint32_t> current, pending;
    double pendingAt = 0;
    bool havePending = decoder->NextFrame(pending, pendingAt);
    // Each frame keeps the size it was scaled to.
    int pendingW = decoder->OutputWidth(), pendingH = decoder->OutputHeight();
    if (!havePending && !decoder->HasAudio()) throw EDirectShowError("VFW_E_CANNOT_RENDER");
    if (!decoder->HasVideo()) decoder->ReadToEnd();
    int currentW = 0, currentH = 0;
    double lastFrameAt = 0;

    PlaybackGuard guard;
    if (host.mixer && decoder->HasAudio()) {
        guard.mixer = host.mixer;
        guard.voice = host.mixer->AddStream(decoder->Sound());
        host.mixer->Play(guard.voice, false);
    }
    sys.GetDisplay().ShowCursor(false);

    uint64_t start = sys.NowMicros();
    for (;;) {
        pump();
        if (!sys.IsActive()) {
            // Paused while the window is in the background.
            const uint64_t pausedAt = sys.NowMicros();
            if (guard.voice) guard.mixer->Stop(guard.voice);
            sys.GetDisplay().ShowCursor(true);
            while (!sys.IsActive()) {
                sys.WaitEvent(100);
                pump();
            }
            sys.GetDisplay().ShowCursor(false);
            if (guard.voice) guard.mixer->Play(guard.voice, false);
            start += sys.NowMicros() - pausedAt;
        }
        // Follow a change of the presentation's scale.
        platform::Rect placed = compositor.Place({x, y, std::max(1, width), std::max(1, height)});
        if (placed.w != movie.w || placed.h != movie.h) decoder->SetOutputSize(placed.w, placed.h);
        movie = placed;

        const double t = double(sys.NowMicros() - start) / 1e6;
        bool show = false;
        while (havePending && pendingAt <= t) {
            std::swap(current, pending);
            currentW = pendingW;
            currentH = pendingH;
            lastFrameAt = pendingAt;
            show = true;
            havePending = decoder->NextFrame(pending, pendingAt);
            pendingW = decoder->OutputWidth();
            pendingH = decoder->OutputHeight();
        }
        if (show) compositor.Show(current, currentW, currentH, movie);
        const double videoEnd = decoder->HasVideo() ? lastFrameAt + 0.04 : 0.0;
        if (!havePending && t >= std::max(videoEnd, decoder->SoundSeconds())) break;
        // Sleep until the next frame is due, in short steps so events stay lively.
        double wait = havePending ? pendingAt - t : 0.01;
        sys.SleepMicros(uint64_t(std::clamp(wait, 0.001, 0.01) * 1e6));
    }
}
