// Measures the screen object's frame pacing on the real platform backend:
// runs N idle frames at 60 per second (flipping a still picture each frame)
// and reports how far the frame intervals stray from 1/60 s and how much
// processor time an idle frame costs.
//
//   frame_pacing [frames] [noflip]   (SDL_VIDEODRIVER=dummy for no window)
//   frame_pacing show [fullscreen]   a test picture in the game's own loop
//                                    until the window closes (F4, Alt+Enter,
//                                    F5 and F12 work as in the game)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "media/screen/sorvo_draw.h"
#include "platform/sdl/sdl_platform.h"

namespace {

// A frame around the edge, a cross through the middle and colour bars, so
// that a screenshot shows where the whole picture landed.
std::vector<uint16_t> TestPicture() {
    std::vector<uint16_t> p(320 * 240, 0x0010);
    const uint16_t bars[] = {0xF800, 0x07E0, 0x001F, 0xFFE0, 0xF81F, 0x07FF, 0xFFFF, 0x8410};
    for (int y = 80; y < 160; ++y)
        for (int x = 0; x < 320; ++x) p[size_t(y * 320 + x)] = bars[x / 40];
    for (int i = 0; i < 320; ++i) p[size_t(i)] = p[size_t(239 * 320 + i)] = p[size_t(120 * 320 + i)] = 0xFFFF;
    for (int i = 0; i < 240; ++i) p[size_t(i * 320)] = p[size_t(i * 320 + 319)] = p[size_t(i * 320 + 160)] = 0xFFFF;
    return p;
}

int Show(bool fullScreen) {
    TSorvoDraw draw;
    draw.SetFrameRate(60);
    draw.SetMaxLag(20);
    draw.SetScreenZoom(true);
    draw.SetScreenMode(fullScreen ? smFullScreen : smWindow);
    draw.SetCaption("Frame pacing");
    draw.Initialize();
    std::vector<uint16_t> picture = TestPicture();
    int resets = 0;
    draw.OnMain = [&] {
        std::fprintf(stderr, "main entered (%d resets)\n", resets++);
        for (;;) {
            if (draw.GetLag() < draw.MaxLag() / 2) draw.Flip(picture.data(), 320);
            draw.WaitFrame();
        }
    };
    draw.OnModeChange = [&] {
        auto r = draw.Destination();
        std::fprintf(stderr, "mode %s, zoom %d, picture at (%d,%d) %dx%d\n",
                     draw.ScreenMode() == smWindow ? "window" : "full screen", int(draw.ScreenZoom()), r.x, r.y, r.w,
                     r.h);
    };
    return draw.Run();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "show") {
        platform::SetPlatform(platform::CreateSdlPlatform());
        return Show(argc > 2 && std::string(argv[2]) == "fullscreen");
    }
    int frames = argc > 1 ? std::atoi(argv[1]) : 600;
    if (frames < 2) frames = 2;
    bool flip = !(argc > 2 && std::string(argv[2]) == "noflip");
    platform::SetPlatform(platform::CreateSdlPlatform());
    auto& sys = platform::Sys();

    TSorvoDraw draw;
    draw.SetFrameRate(60);
    draw.SetMaxLag(20);
    draw.SetScreenZoom(true);
    draw.SetScreenMode(smWindow);
    draw.SetCaption("Frame pacing");
    draw.Initialize();

    std::vector<uint16_t> picture(320 * 240);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = uint16_t(i * 7);

    // Settle, then measure.
    for (int i = 0; i < 30; ++i) draw.WaitFrame();
    std::vector<uint64_t> times;
    times.reserve(size_t(frames) + 1);
    std::clock_t cpu0 = std::clock();
    uint64_t wall0 = sys.NowMicros();
    times.push_back(wall0);
    try {
        for (int i = 0; i < frames; ++i) {
            if (flip && draw.GetLag() < draw.MaxLag() / 2) draw.Flip(picture.data(), 320);
            draw.WaitFrame();
            times.push_back(sys.NowMicros());
        }
    } catch (const ESorvoDrawAbort&) {
        std::fprintf(stderr, "window closed\n");
    }
    std::clock_t cpu1 = std::clock();
    uint64_t wall1 = sys.NowMicros();

    const double ideal = 1000.0 / 60.0;
    double sum = 0, worst = 0, sumSigned = 0;
    for (size_t i = 1; i < times.size(); ++i) {
        double ms = double(times[i] - times[i - 1]) / 1000.0;
        double dev = std::fabs(ms - ideal);
        sum += dev;
        sumSigned += ms - ideal;
        worst = std::max(worst, dev);
    }
    size_t n = times.size() - 1;
    // Lateness against the ideal schedule from the first measured frame.
    std::vector<double> late;
    for (size_t i = 1; i < times.size(); ++i)
        late.push_back(double(times[i] - times[0]) / 1000.0 - double(i) * ideal);
    std::vector<double> sorted = late;
    std::sort(sorted.begin(), sorted.end());
    std::printf("release time against the ideal schedule: median %+.3f ms, 99th percentile %+.3f ms, worst %+.3f ms\n",
                sorted[sorted.size() / 2], sorted[sorted.size() * 99 / 100], sorted.back());
    double wallMs = double(wall1 - wall0) / 1000.0;
    double cpuMs = 1000.0 * double(cpu1 - cpu0) / CLOCKS_PER_SEC;
    std::printf("frames %zu, wall %.1f ms (%.3f ms per frame, ideal %.3f)\n", n, wallMs, wallMs / double(n), ideal);
    std::printf("interval deviation from 16.667 ms: mean %.3f ms, worst %.3f ms, mean signed %.4f ms\n",
                sum / double(n), worst, sumSigned / double(n));
    std::printf("cpu %.1f ms: %.3f ms per frame, %.2f %% of one core\n", cpuMs, cpuMs / double(n),
                100.0 * cpuMs / wallMs);
    return 0;
}
