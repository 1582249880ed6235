// startup_figures: starts the real program on a game folder with the real
// (SDL) platform and reports the time from entering main to the first
// presented frame and to the title being up, then closes. Run it under
// SDL_VIDEODRIVER=dummy for figures that do not depend on a display.
//
//   startup_figures GAME_FOLDER [WORDS...]     (use "TestPlay" to skip the logo)
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "game/system/game_system.h"
#include "media/screen/sorvo_draw.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"
#include "scenes/game_main.h"
#include "scenes/startup.h"
#include "scenes/title/title_scene.h"

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point g_start;
double g_firstPresentMs = 0, g_titleMs = 0;
// Where the time before the first frame goes: the display mode and the
// audio device.
double g_modeMs = 0, g_modeDoneMs = 0, g_audioMs = 0, g_audioDoneMs = 0;

double SinceStart() { return std::chrono::duration<double, std::milli>(Clock::now() - g_start).count(); }

// The real display, noting the first picture shown.
class TimingDisplay : public platform::Display {
public:
    explicit TimingDisplay(platform::Display& inner) : inner_(inner) {}
    bool SetMode(int w, int h, bool full) override {
        if (g_modeMs == 0) g_modeMs = SinceStart();
        bool ok = inner_.SetMode(w, h, full);
        if (g_modeDoneMs == 0) g_modeDoneMs = SinceStart();
        return ok;
    }
    bool IsFullScreen() const override { return inner_.IsFullScreen(); }
    int LogicalWidth() const override { return inner_.LogicalWidth(); }
    int LogicalHeight() const override { return inner_.LogicalHeight(); }
    void Present(const uint16_t* p, int w, int h, int pitch, platform::Rect d) override {
        inner_.Present(p, w, h, pitch, d);
        if (g_firstPresentMs == 0) g_firstPresentMs = SinceStart();
    }
    void PresentXrgb(const uint32_t* p, int w, int h, int pitch, platform::Rect d) override {
        inner_.PresentXrgb(p, w, h, pitch, d);
    }
    void SetCaption(const std::string& c) override { inner_.SetCaption(c); }
    void ShowCursor(bool s) override { inner_.ShowCursor(s); }
    bool WindowToLogical(int wx, int wy, int& lx, int& ly) const override {
        return inner_.WindowToLogical(wx, wy, lx, ly);
    }

private:
    platform::Display& inner_;
};

// The real platform; every pump checks whether the title is up and, once it
// is, closes the program.
class TimingPlatform : public platform::Platform {
public:
    explicit TimingPlatform(std::unique_ptr<platform::Platform> inner)
        : inner_(std::move(inner)), display_(inner_->GetDisplay()) {}
    uint64_t NowMicros() override { return inner_->NowMicros(); }
    void SleepMicros(uint64_t us) override { inner_->SleepMicros(us); }
    void SleepUntilMicros(uint64_t deadline) override { inner_->SleepUntilMicros(deadline); }
    platform::Display& GetDisplay() override { return display_; }
    void InhibitScreenSaver(bool i) override { inner_->InhibitScreenSaver(i); }
    void PumpEvents() override {
        inner_->PumpEvents();
        if (g_titleMs == 0 && TitleScene && TitleScene->Started() && GameSystem && GameSystem->scene == 6 &&
            TitleScene->Window().IsOpen()) {
            g_titleMs = SinceStart();
            if (GameDraw) GameDraw->Terminate();
        }
    }
    void WaitEvent(int ms) override { inner_->WaitEvent(ms); }
    bool PollEvent(platform::Event& e) override { return inner_->PollEvent(e); }
    bool IsKeyHeld(platform::Key k) override { return inner_->IsKeyHeld(k); }
    bool TakeKeyWentDown(platform::Key k) override { return inner_->TakeKeyWentDown(k); }
    bool IsMouseButtonHeld(platform::MouseButton b) override { return inner_->IsMouseButtonHeld(b); }
    bool TakeMouseButtonWentDown(platform::MouseButton b) override { return inner_->TakeMouseButtonWentDown(b); }
    platform::JoystickState GetJoystick() override { return inner_->GetJoystick(); }
    bool IsActive() override { return true; }
    std::unique_ptr<platform::Timer> StartPeriodicTimer(int ms, std::function<void()> cb) override {
        return inner_->StartPeriodicTimer(ms, std::move(cb));
    }
    std::unique_ptr<platform::Timer> StartMainThreadTimer(int ms, std::function<void()> cb) override {
        return inner_->StartMainThreadTimer(ms, std::move(cb));
    }
    void PostToMain(std::function<void()> fn) override { inner_->PostToMain(std::move(fn)); }
    void SendToMain(std::function<void()> fn) override { inner_->SendToMain(std::move(fn)); }
    void ShowMessageBox(const std::string& c, const std::string& t, bool e) override { inner_->ShowMessageBox(c, t, e); }
    std::string LastErrorText() override { return inner_->LastErrorText(); }
    bool OpenAudio(platform::AudioCallback cb) override {
        if (g_audioMs == 0) g_audioMs = SinceStart();
        bool ok = inner_->OpenAudio(std::move(cb));
        if (g_audioDoneMs == 0) g_audioDoneMs = SinceStart();
        return ok;
    }
    void CloseAudio() override { inner_->CloseAudio(); }
    void LockAudio() override { inner_->LockAudio(); }
    void UnlockAudio() override { inner_->UnlockAudio(); }

private:
    std::unique_ptr<platform::Platform> inner_;
    TimingDisplay display_;
};

}  // namespace

int main(int argc, char** argv) {
    g_start = Clock::now();
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_figures GAME_FOLDER [WORDS...]\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '/') folder += '/';
    std::vector<std::string> args{folder + "varnow"};
    for (int i = 2; i < argc; ++i) args.push_back(argv[i]);
    platform::SetPlatform(std::make_unique<TimingPlatform>(platform::CreateSdlPlatform()));
    int code = VarnowMain(args, folder);
    platform::SetPlatform(nullptr);
    std::printf("display mode %.1f-%.1f ms\naudio device %.1f-%.1f ms\n", g_modeMs, g_modeDoneMs, g_audioMs,
                g_audioDoneMs);
    std::printf("first presented frame %.1f ms\ntitle up %.1f ms\nexit %d\n", g_firstPresentMs, g_titleMs, code);
    return code;
}
