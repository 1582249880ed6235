#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <iterator>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/code_page.h"
#include "platform/key_state.h"
#include "platform/main_thread_queue.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/thread_timer.h"

namespace platform {

namespace {

// Events nobody takes are dropped beyond this many, oldest first.
constexpr size_t kEventQueueLimit = 1024;

// Xlib ends the process with exit() when the connection to the X server
// breaks (the server died, the session ended). exit() would run the static
// destructors, which tear SDL down on the dead connection and can wait for
// ever or crash. The program ends here instead, at once: a save being
// written is a temporary file renamed only when complete, so the old save
// stays whole.
int OnDisplayLost(void*) {
    static const char message[] = "varnow: the connection to the display was lost\n";
    ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    _exit(1);
}

// Installs that handler in the X library SDL loaded, when SDL drives X11.
// Looked up at run time: the program does not link the X library itself.
void EndOnDisplayLoss() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return;
    // A write to the dead server's socket would otherwise end the program by
    // SIGPIPE before the X library sees the error and calls the handler.
    std::signal(SIGPIPE, SIG_IGN);
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!x11) return;
    using Handler = int (*)(void*);
    using SetHandler = Handler (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(x11, "XSetIOErrorHandler"))) set(&OnDisplayLost);
    dlclose(x11);
}

bool IsHeadlessVideoDriver(const char* name) {
    return name && (std::strcmp(name, "dummy") == 0 || std::strcmp(name, "offscreen") == 0);
}

// Did the user name a video driver? Only then is one that shows nothing
// taken: SDL falls back to such a driver when no display can be reached,
// and the game would then play unseen for ever.
bool VideoDriverChosen() {
    const char* name = std::getenv("SDL_VIDEODRIVER");
    return name && *name;
}

// The end signals while a message box is open. SDL shows the box in a child
// process it forks (in this one when it cannot), and its own handlers only
// queue a quit event that nobody reads until the box is clicked away: a
// player's Ctrl+C or a session's SIGTERM would wait for ever. Here the
// signal ends the box's process, the box returns, and the program goes on to
// end with the error's status. With no such process (the box is shown in
// this one) it ends the program at once with status 1, the status every
// box leads to. Only async-signal-safe calls.
constexpr int kBoxSignals[] = {SIGTERM, SIGINT, SIGHUP};
pid_t g_boxOwner = 0;
char g_boxChildren[64];  // /proc/self/task/<thread that opens the box>/children

void EndBoxOnSignal(int) {
    if (getpid() != g_boxOwner) _exit(1);  // in the box's own process
    bool ended = false;
    int fd = open(g_boxChildren, O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char text[256];
        ssize_t n = read(fd, text, sizeof text - 1);
        close(fd);
        pid_t pid = 0;
        for (ssize_t i = 0; i <= n; ++i) {
            if (i < n && text[i] >= '0' && text[i] <= '9') {
                pid = pid * 10 + (text[i] - '0');
            } else if (pid > 0) {
                ended = kill(pid, SIGKILL) == 0 || ended;
                pid = 0;
            }
        }
    }
    if (!ended) _exit(1);
}

// Holds the handler above for the time the box is open.
class BoxSignals {
public:
    BoxSignals() {
        g_boxOwner = getpid();
        std::snprintf(g_boxChildren, sizeof g_boxChildren, "/proc/self/task/%ld/children", long(gettid()));
        struct sigaction action {};
        action.sa_handler = &EndBoxOnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (size_t i = 0; i < std::size(kBoxSignals); ++i) sigaction(kBoxSignals[i], &action, &saved_[i]);
    }
    ~BoxSignals() {
        for (size_t i = 0; i < std::size(kBoxSignals); ++i) sigaction(kBoxSignals[i], &saved_[i], nullptr);
    }
    BoxSignals(const BoxSignals&) = delete;
    BoxSignals& operator=(const BoxSignals&) = delete;

private:
    struct sigaction saved_[std::size(kBoxSignals)] {};
};

class SdlPlatform : public Platform {
public:
    SdlPlatform();
    ~SdlPlatform() override;

    uint64_t NowMicros() override;
    void SleepMicros(uint64_t us) override;
    void SleepUntilMicros(uint64_t deadlineMicros) override;
    Display& GetDisplay() override { return *display_; }
    void InhibitScreenSaver(bool inhibit) override;
    void PumpEvents() override;
    void WaitEvent(int timeoutMs) override;
    bool PollEvent(Event& event) override;
    bool IsKeyHeld(Key key) override { return keys_.IsHeld(key); }
    bool TakeKeyWentDown(Key key) override { return keys_.TakeWentDown(key); }
    bool IsMouseButtonHeld(MouseButton button) override { return mouseHeld_[size_t(button) % 3]; }
    bool TakeMouseButtonWentDown(MouseButton button) override {
        return std::exchange(mouseClicked_[size_t(button) % 3], false);
    }
    JoystickState GetJoystick() override;
    bool IsActive() override { return active_; }
    std::unique_ptr<Timer> StartPeriodicTimer(int intervalMs, std::function<void()> callback) override;
    std::unique_ptr<Timer> StartMainThreadTimer(int intervalMs, std::function<void()> callback) override;
    void PostToMain(std::function<void()> fn) override { mainQueue_->Post(std::move(fn)); }
    void SendToMain(std::function<void()> fn) override { mainQueue_->Send(std::move(fn)); }
    void ShowMessageBox(const std::string& caption, const std::string& text, bool isError) override;
    std::string LastErrorText() override { return lastError_; }
    bool OpenAudio(AudioCallback callback) override;
    void CloseAudio() override;
    void LockAudio() override { audioMutex_.lock(); }
    void UnlockAudio() override { audioMutex_.unlock(); }

private:
    void Translate(const SDL_Event& e);
    void Queue(const Event& e);
    void OpenJoystick(int deviceIndex);
    void CloseJoystick();
    SDL_AudioDeviceID OpenAudioDevice();
    static void AudioThunk(void* self, Uint8* stream, int len);

    std::string lastError_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    bool videoAvailable_ = false;
    bool joystickAvailable_ = false;
    uint32_t wakeEvent_ = 0;
    std::unique_ptr<SdlDisplay> display_;
    std::unique_ptr<MainThreadQueue> mainQueue_;
    std::deque<Event> events_;
    KeyState keys_;
    bool mouseHeld_[3] = {};
    bool mouseClicked_[3] = {};  // went down since last asked
    // A window that never got a focus event counts as active (some drivers
    // never send one).
    std::atomic<bool> active_{true};
    bool screenSaverInhibited_ = false;
    SDL_Joystick* joystick_ = nullptr;

    // Audio: our own lock serialises the game's changes with the callback
    // whether or not a device is open.
    std::recursive_mutex audioMutex_;
    AudioCallback audioCallback_;
    SDL_AudioDeviceID audioDevice_ = 0;
    enum class AudioDriver { None, Default, Dummy } audioDriver_ = AudioDriver::None;
};

SdlPlatform::SdlPlatform() {
    // The game decides when the screen saver is off (InhibitScreenSaver).
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0)
        std::fprintf(stderr, "varnow: SDL events unavailable: %s\n", SDL_GetError());
    videoAvailable_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (videoAvailable_ && !VideoDriverChosen() && IsHeadlessVideoDriver(SDL_GetCurrentVideoDriver())) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoAvailable_ = false;
        SDL_SetError("DISPLAY (or WAYLAND_DISPLAY) is not set or names no running display; Varnow needs a "
                     "graphical session");
    }
    if (!videoAvailable_) {
        lastError_ = std::string("no display: ") + SDL_GetError();
        std::fprintf(stderr, "varnow: %s\n", lastError_.c_str());
    }
    // The game reads keys, never text: no input-method window over the game.
    if (videoAvailable_) SDL_StopTextInput();
    if (videoAvailable_) EndOnDisplayLoss();
    joystickAvailable_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    wakeEvent_ = SDL_RegisterEvents(1);
    display_ = std::make_unique<SdlDisplay>(videoAvailable_, &lastError_);
    mainQueue_ = std::make_unique<MainThreadQueue>([this] {
        if (wakeEvent_ == uint32_t(-1)) return;
        SDL_Event e{};
        e.type = wakeEvent_;
        SDL_PushEvent(&e);
    });
    if (joystickAvailable_ && SDL_NumJoysticks() > 0) OpenJoystick(0);
}

SdlPlatform::~SdlPlatform() {
    CloseAudio();
    if (audioDriver_ == AudioDriver::Dummy) SDL_AudioQuit();
    mainQueue_.reset();
    CloseJoystick();
    display_.reset();
    if (screenSaverInhibited_) SDL_EnableScreenSaver();
    SDL_Quit();
}

uint64_t SdlPlatform::NowMicros() {
    return uint64_t(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_).count());
}

void SdlPlatform::SleepMicros(uint64_t us) { std::this_thread::sleep_for(std::chrono::microseconds(us)); }

void SdlPlatform::SleepUntilMicros(uint64_t deadlineMicros) {
    uint64_t now = NowMicros();
    int64_t untilTimer = mainQueue_->MicrosUntilNextTimer(now);
    if (untilTimer >= 0 && now + uint64_t(untilTimer) < deadlineMicros) deadlineMicros = now + uint64_t(untilTimer);
    if (deadlineMicros <= now) return;
    // Window events that arrive meanwhile wait for the pump after the sleep
    // (at most a frame); calls from other threads end the sleep at once.
    mainQueue_->WaitForCalls(start_ + std::chrono::microseconds(deadlineMicros));
}

void SdlPlatform::InhibitScreenSaver(bool inhibit) {
    if (!videoAvailable_ || inhibit == screenSaverInhibited_) return;
    if (inhibit)
        SDL_DisableScreenSaver();
    else
        SDL_EnableScreenSaver();
    screenSaverInhibited_ = inhibit;
}

void SdlPlatform::Queue(const Event& e) {
    // Consecutive mouse moves collapse into the newest.
    if (e.type == Event::Type::MouseMove && !events_.empty() && events_.back().type == Event::Type::MouseMove) {
        events_.back() = e;
        return;
    }
    events_.push_back(e);
    while (events_.size() > kEventQueueLimit) events_.pop_front();
}

void SdlPlatform::Translate(const SDL_Event& sdl) {
    Event e;
    switch (sdl.type) {
        case SDL_QUIT:
            e.type = Event::Type::Quit;
            Queue(e);
            break;
        case SDL_WINDOWEVENT:
            if (sdl.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                active_ = true;
                e.type = Event::Type::FocusGained;
                Queue(e);
            } else if (sdl.window.event == SDL_WINDOWEVENT_EXPOSED ||
                       sdl.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                       sdl.window.event == SDL_WINDOWEVENT_RESTORED || sdl.window.event == SDL_WINDOWEVENT_SHOWN) {
                display_->Invalidate();
            } else if (sdl.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                active_ = false;
                keys_.ReleaseAll();
                mouseHeld_[0] = mouseHeld_[1] = mouseHeld_[2] = false;
                mouseClicked_[0] = mouseClicked_[1] = mouseClicked_[2] = false;
                e.type = Event::Type::FocusLost;
                Queue(e);
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            Key key = KeyFromSdlScancode(sdl.key.keysym.scancode);
            if (key == Key::None) break;
            bool down = sdl.type == SDL_KEYDOWN;
            if (down && !sdl.key.repeat) keys_.Press(key);
            if (!down) keys_.Release(key);
            e.type = down ? Event::Type::KeyDown : Event::Type::KeyUp;
            e.key = key;
            e.repeat = sdl.key.repeat != 0;
            Queue(e);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            MouseButton button;
            if (sdl.button.button == SDL_BUTTON_LEFT)
                button = MouseButton::Left;
            else if (sdl.button.button == SDL_BUTTON_RIGHT)
                button = MouseButton::Right;
            else if (sdl.button.button == SDL_BUTTON_MIDDLE)
                button = MouseButton::Middle;
            else
                break;
            bool down = sdl.type == SDL_MOUSEBUTTONDOWN;
            mouseHeld_[size_t(button)] = down;
            if (down) mouseClicked_[size_t(button)] = true;
            e.type = down ? Event::Type::MouseDown : Event::Type::MouseUp;
            e.mouseButton = button;
            e.x = sdl.button.x;
            e.y = sdl.button.y;
            Queue(e);
            break;
        }
        case SDL_MOUSEMOTION:
            e.type = Event::Type::MouseMove;
            e.x = sdl.motion.x;
            e.y = sdl.motion.y;
            Queue(e);
            break;
        case SDL_JOYDEVICEADDED:
            if (!joystick_) OpenJoystick(sdl.jdevice.which);
            break;
        case SDL_JOYDEVICEREMOVED:
            if (joystick_ && sdl.jdevice.which == SDL_JoystickInstanceID(joystick_)) {
                CloseJoystick();
                if (SDL_NumJoysticks() > 0) OpenJoystick(0);
            }
            break;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (!joystick_ || sdl.jbutton.which != SDL_JoystickInstanceID(joystick_)) break;
            e.type = sdl.type == SDL_JOYBUTTONDOWN ? Event::Type::JoyButtonDown : Event::Type::JoyButtonUp;
            e.joyIndex = sdl.jbutton.button;
            Queue(e);
            break;
        case SDL_JOYAXISMOTION:
            if (!joystick_ || sdl.jaxis.which != SDL_JoystickInstanceID(joystick_)) break;
            e.type = Event::Type::JoyAxis;
            e.joyIndex = sdl.jaxis.axis;
            e.joyValue = sdl.jaxis.value;
            Queue(e);
            break;
        default:
            break;  // our wake-up event and everything we do not use
    }
}

void SdlPlatform::PumpEvents() {
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl)) Translate(sdl);
    mainQueue_->RunDue(NowMicros());
}

void SdlPlatform::WaitEvent(int timeoutMs) {
    const uint64_t deadline = NowMicros() + uint64_t(timeoutMs > 0 ? timeoutMs : 0) * 1000;
    for (;;) {
        uint64_t now = NowMicros();
        uint64_t limit = deadline;
        int64_t untilTimer = mainQueue_->MicrosUntilNextTimer(now);
        if (untilTimer >= 0 && now + uint64_t(untilTimer) < limit) limit = now + uint64_t(untilTimer);
        if (limit <= now) break;
        SDL_Event sdl;
        if (SDL_WaitEventTimeout(&sdl, int((limit - now + 999) / 1000))) {
            Translate(sdl);  // an event, or the wake-up of a posted call
            break;
        }
    }
    PumpEvents();
}

bool SdlPlatform::PollEvent(Event& event) {
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

void SdlPlatform::OpenJoystick(int deviceIndex) {
    if (!joystickAvailable_) return;
    joystick_ = SDL_JoystickOpen(deviceIndex);
}

void SdlPlatform::CloseJoystick() {
    if (joystick_) SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
}

JoystickState SdlPlatform::GetJoystick() {
    JoystickState s;
    if (!joystick_ || !SDL_JoystickGetAttached(joystick_)) return s;
    s.present = true;
    s.axisCount = std::min(SDL_JoystickNumAxes(joystick_), int(std::size(s.axes)));
    s.buttonCount = std::min(SDL_JoystickNumButtons(joystick_), int(std::size(s.buttons)));
    if (s.axisCount < 0) s.axisCount = 0;
    if (s.buttonCount < 0) s.buttonCount = 0;
    for (int i = 0; i < s.axisCount; ++i) s.axes[i] = SDL_JoystickGetAxis(joystick_, i);
    for (int i = 0; i < s.buttonCount; ++i) s.buttons[i] = SDL_JoystickGetButton(joystick_, i) != 0;
    return s;
}

std::unique_ptr<Timer> SdlPlatform::StartPeriodicTimer(int intervalMs, std::function<void()> callback) {
    return StartThreadTimer(intervalMs, std::move(callback), mainQueue_.get());
}

std::unique_ptr<Timer> SdlPlatform::StartMainThreadTimer(int intervalMs, std::function<void()> callback) {
    return mainQueue_->StartTimer(intervalMs, std::move(callback), NowMicros());
}

void SdlPlatform::ShowMessageBox(const std::string& captionIn, const std::string& textIn, bool isError) {
    // Messages may carry game text (names, titles) still in the game's code
    // page; valid UTF-8 passes unchanged.
    const std::string caption = MessageToUtf8(captionIn), text = MessageToUtf8(textIn);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    // With a dummy video driver there is nobody to click the box away (and
    // SDL would still reach for an X display if one is set).
    const char* driver = videoAvailable_ ? SDL_GetCurrentVideoDriver() : std::getenv("SDL_VIDEODRIVER");
    if (IsHeadlessVideoDriver(driver)) return;
    BoxSignals endOnSignal;
    uint32_t flags = isError ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    // No parent: the box is centred on the screen, where it is always seen,
    // even when the game window sits at a stale place after leaving full
    // screen.
    SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr);
}

void SdlPlatform::AudioThunk(void* self, Uint8* stream, int len) {
    auto* p = static_cast<SdlPlatform*>(self);
    std::lock_guard lock(p->audioMutex_);
    int frames = len / int(2 * sizeof(int16_t));
    if (!p->audioCallback_ || frames <= 0) {
        std::memset(stream, 0, size_t(len));
        return;
    }
    try {
        p->audioCallback_(reinterpret_cast<int16_t*>(stream), frames);
    } catch (...) {
        // An error while mixing (a damaged sound, say) must not end the
        // process on the audio thread: the device goes silent and the error
        // is raised again on the main thread, where the game reports it.
        std::memset(stream, 0, size_t(len));
        p->audioCallback_ = nullptr;
        p->mainQueue_->Post([e = std::current_exception()] { std::rethrow_exception(e); });
    }
}

SDL_AudioDeviceID SdlPlatform::OpenAudioDevice() {
    SDL_AudioSpec want{}, have{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &SdlPlatform::AudioThunk;
    want.userdata = this;
    // No changes allowed: SDL converts to whatever the device takes.
    return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
}

bool SdlPlatform::OpenAudio(AudioCallback callback) {
    CloseAudio();
    {
        std::lock_guard lock(audioMutex_);
        audioCallback_ = std::move(callback);
    }
    if (audioDriver_ == AudioDriver::None && SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
        audioDriver_ = AudioDriver::Default;
    if (audioDriver_ != AudioDriver::None) audioDevice_ = OpenAudioDevice();
    if (!audioDevice_ && audioDriver_ != AudioDriver::Dummy) {
        // No sound card: the silent driver still calls back in real time,
        // so music keeps its place and the game runs the same.
        lastError_ = std::string("no audio device: ") + SDL_GetError();
        std::fprintf(stderr, "varnow: %s; playing silently\n", lastError_.c_str());
        if (audioDriver_ == AudioDriver::Default) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioDriver_ = SDL_AudioInit("dummy") == 0 ? AudioDriver::Dummy : AudioDriver::None;
        if (audioDriver_ == AudioDriver::Dummy) audioDevice_ = OpenAudioDevice();
    }
    if (!audioDevice_) {
        lastError_ = std::string("no audio device: ") + SDL_GetError();
        std::lock_guard lock(audioMutex_);
        audioCallback_ = nullptr;
        return false;
    }
    SDL_PauseAudioDevice(audioDevice_, 0);
    return true;
}

void SdlPlatform::CloseAudio() {
    if (audioDevice_) SDL_CloseAudioDevice(audioDevice_);
    audioDevice_ = 0;
    std::lock_guard lock(audioMutex_);
    audioCallback_ = nullptr;
}

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform() { return std::make_unique<SdlPlatform>(); }

}  // namespace platform
