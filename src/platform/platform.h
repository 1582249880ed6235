#pragma once
// The one interface between the game and the machine it runs on.
//
// Two backends implement it: sdl/ (a real window, keyboard, joystick and
// sound device) and headless/ (a virtual clock, scripted input, captured
// frames, recorded message boxes and a silent audio device, for tests).
// Nothing outside src/platform sees SDL or any OS header; everything the game
// needs from the machine goes through here.
//
// Everything here is called on the main thread unless it says otherwise.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Our own key codes, independent of any backend.
enum class Key : uint16_t {
    None = 0,
    Up, Down, Left, Right,
    Enter, Space, Escape, Backspace, Tab, Insert, Delete, Home, End, PageUp, PageDown,
    Shift, Ctrl, Alt,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    Num0, Num1, Num2, Num3, Num4, Num5, Num6, Num7, Num8, Num9,
    Kp0, Kp1, Kp2, Kp3, Kp4, Kp5, Kp6, Kp7, Kp8, Kp9,
    KpPlus, KpMinus, KpMultiply, KpDivide, KpPeriod, KpEnter,
    A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
    Minus, Equals, Comma, Period, Slash, Semicolon, Quote, LeftBracket, RightBracket, Backslash, Grave,
    Count
};

enum class MouseButton : uint8_t { Left = 0, Right = 1, Middle = 2 };

struct Event {
    enum class Type : uint8_t {
        Quit,          // the window was closed
        FocusGained,
        FocusLost,
        KeyDown,       // `repeat` marks the system's auto-repeat
        KeyUp,
        MouseDown,
        MouseUp,
        MouseMove,
        JoyButtonDown,
        JoyButtonUp,
        JoyAxis,
    };
    Type type = Type::Quit;
    Key key = Key::None;
    bool repeat = false;
    MouseButton mouseButton = MouseButton::Left;
    int x = 0, y = 0;          // mouse position in window pixels
    int joyIndex = 0;          // button or axis number
    int joyValue = 0;          // axis value, -32768..32767
};

struct JoystickState {
    bool present = false;
    int axisCount = 0;
    int buttonCount = 0;
    int axes[8] = {};          // -32768..32767
    bool buttons[32] = {};
};

// Where the 320x240 picture goes on the logical screen, which is either
// 320x240 or 640x480 (see Display).
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect&) const = default;
};

class Display {
public:
    virtual ~Display() = default;
    // Opens (or re-configures) the window. logicalWidth/Height is 320x240 or
    // 640x480. In a window the window has that size; in full screen the
    // logical screen is scaled into the desktop by a whole factor, centred,
    // with black borders.
    virtual bool SetMode(int logicalWidth, int logicalHeight, bool fullScreen) = 0;
    virtual bool IsFullScreen() const = 0;
    virtual int LogicalWidth() const = 0;
    virtual int LogicalHeight() const = 0;
    // Clears the logical screen to black, draws a 16-bit RGB565 image
    // (srcPitch in pixels) scaled into dest, and shows it.
    virtual void Present(const uint16_t* pixels, int srcWidth, int srcHeight, int srcPitch, Rect dest) = 0;
    // As Present, with 32-bit XRGB8888 pixels (movie frames).
    virtual void PresentXrgb(const uint32_t* pixels, int srcWidth, int srcHeight, int srcPitch, Rect dest) = 0;
    // The caption, given as UTF-8.
    virtual void SetCaption(const std::string& utf8) = 0;
    virtual void ShowCursor(bool show) = 0;
    // Maps a window pixel to a logical-screen pixel (mouse); false outside.
    virtual bool WindowToLogical(int wx, int wy, int& lx, int& ly) const = 0;
};

// A periodic timer; destroying the handle stops it (and waits for a running
// callback to finish).
class Timer {
public:
    virtual ~Timer() = default;
};

// The audio device: 44100 Hz, stereo, 16-bit. The mixing callback runs on the
// audio thread and fills `frames` stereo frames (2*frames samples).
using AudioCallback = std::function<void(int16_t* out, int frames)>;

class Platform {
public:
    virtual ~Platform() = default;

    // --- Clock -----------------------------------------------------------
    // Monotonic time in microseconds.
    virtual uint64_t NowMicros() = 0;
    uint64_t NowMillis() { return NowMicros() / 1000; }
    virtual void SleepMicros(uint64_t us) = 0;
    // Sleeps until the clock reads at least deadlineMicros, in one sleep.
    // Returns earlier when a call is posted to the main thread or a
    // main-thread timer falls due, so that they are not held up; the
    // caller pumps and sleeps again if it needs to.
    virtual void SleepUntilMicros(uint64_t deadlineMicros) = 0;

    // --- Display ---------------------------------------------------------
    virtual Display& GetDisplay() = 0;
    // Keeps the screen saver off while the game runs; restored on exit.
    virtual void InhibitScreenSaver(bool inhibit) = 0;

    // --- Events and input -----------------------------------------------
    // Takes every pending event from the system into the queue, runs
    // main-thread timers and posted calls whose time has come. Called from
    // every frame wait.
    virtual void PumpEvents() = 0;
    // Blocks until an event arrives or timeoutMs passes (inactive window).
    virtual void WaitEvent(int timeoutMs) = 0;
    // Takes the next queued event; false when none.
    virtual bool PollEvent(Event& event) = 0;
    // Is the key held now (as of the last pump)?
    virtual bool IsKeyHeld(Key key) = 0;
    // Did the key go down since the last time this was asked for it? A key
    // pressed and released between two pumps still answers true once.
    virtual bool TakeKeyWentDown(Key key) = 0;
    virtual bool IsMouseButtonHeld(MouseButton button) = 0;
    // Did the button go down since the last time this was asked for it? As
    // for keys: a click pressed and released between two pumps still
    // answers true once.
    virtual bool TakeMouseButtonWentDown(MouseButton button) = 0;
    virtual JoystickState GetJoystick() = 0;
    // Does the window have input focus? A window that never received a focus
    // event counts as active.
    virtual bool IsActive() = 0;

    // --- Timers and threads ---------------------------------------------
    // A periodic timer on a timer thread.
    virtual std::unique_ptr<Timer> StartPeriodicTimer(int intervalMs, std::function<void()> callback) = 0;
    // A periodic timer whose callback runs on the main thread, from PumpEvents.
    virtual std::unique_ptr<Timer> StartMainThreadTimer(int intervalMs, std::function<void()> callback) = 0;
    // From any thread: run fn on the main thread at its next pump.
    virtual void PostToMain(std::function<void()> fn) = 0;
    // From a non-main thread: run fn on the main thread and wait for it. On
    // the main thread it runs at once.
    virtual void SendToMain(std::function<void()> fn) = 0;

    // --- Message box ------------------------------------------------------
    // Shows a modal box (caption and text in UTF-8). The text always also
    // goes to stderr. Works with no display.
    virtual void ShowMessageBox(const std::string& caption, const std::string& text, bool isError) = 0;

    // --- Errors -----------------------------------------------------------
    // The backend's own description of its most recent failure (a call that
    // answered false), for the game's error messages; empty when it has none.
    virtual std::string LastErrorText() { return {}; }

    // --- Audio device -----------------------------------------------------
    // Opens the device and starts calling back. False only when no device,
    // not even a silent one, can be had.
    virtual bool OpenAudio(AudioCallback callback) = 0;
    virtual void CloseAudio() = 0;
    // Holds the audio callback off while the game changes what it reads.
    virtual void LockAudio() = 0;
    virtual void UnlockAudio() = 0;
};

// The one platform object. Set at start-up (or by a test) before anything
// uses it.
Platform& Sys();
void SetPlatform(std::unique_ptr<Platform> platform);
bool HasPlatform();

// RAII holder for LockAudio/UnlockAudio.
class AudioLock {
public:
    AudioLock() { Sys().LockAudio(); }
    ~AudioLock() { Sys().UnlockAudio(); }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;
};

}  // namespace platform
