#pragma once
// The headless backend: everything a test needs to run any scene without a
// window, a sound card or real time.
//
// - The clock is virtual: it moves only when the game sleeps or a test
//   advances it, and timers fire as it passes their due times.
// - Input is scripted: tests press and release keys now or at a given time.
// - Every presented frame is captured (the newest `frameLimit` are kept).
// - Message boxes are recorded; the audio device is silent and records what
//   it was asked; a test pulls samples through RenderAudio.

#include <array>
#include <deque>
#include <map>
#include <mutex>

#include "platform/key_state.h"
#include "platform/platform.h"

namespace platform {

struct CapturedFrame {
    int width = 0, height = 0;
    Rect dest;
    std::vector<uint16_t> pixels;  // RGB565, width*height, no padding
    uint64_t timeMicros = 0;
};

struct RecordedMessageBox {
    std::string caption, text;
    bool isError = false;
};

class HeadlessDisplay : public Display {
public:
    bool SetMode(int w, int h, bool fullScreen) override;
    bool IsFullScreen() const override { return fullScreen_; }
    int LogicalWidth() const override { return width_; }
    int LogicalHeight() const override { return height_; }
    void Present(const uint16_t* pixels, int srcWidth, int srcHeight, int srcPitch, Rect dest) override;
    void PresentXrgb(const uint32_t* pixels, int srcWidth, int srcHeight, int srcPitch, Rect dest) override;
    void SetCaption(const std::string& utf8) override { caption_ = utf8; }
    void ShowCursor(bool show) override { cursorShown_ = show; }
    bool WindowToLogical(int wx, int wy, int& lx, int& ly) const override;

    const std::string& Caption() const { return caption_; }
    bool CursorShown() const { return cursorShown_; }
    int ModeChanges() const { return modeChanges_; }

    std::deque<CapturedFrame> frames;
    size_t frameLimit = 64;
    uint64_t presentCount = 0;
    std::function<uint64_t()> clock;  // stamps captured frames
    std::function<void(const CapturedFrame&)> onPresent;
    // When set, SetMode fails (and changes nothing) for every mode it
    // refuses: lets a test play a display without some mode.
    std::function<bool(int w, int h, bool fullScreen)> acceptMode;

private:
    int width_ = 320, height_ = 240;
    bool fullScreen_ = false;
    bool cursorShown_ = true;
    int modeChanges_ = 0;
    std::string caption_;
};

class HeadlessPlatform : public Platform {
public:
    HeadlessPlatform();
    ~HeadlessPlatform() override;

    uint64_t NowMicros() override;
    void SleepMicros(uint64_t us) override;
    void SleepUntilMicros(uint64_t deadlineMicros) override;
    Display& GetDisplay() override { return display_; }
    void InhibitScreenSaver(bool inhibit) override { screenSaverInhibited = inhibit; }
    void PumpEvents() override;
    void WaitEvent(int timeoutMs) override;
    bool PollEvent(Event& event) override;
    bool IsKeyHeld(Key key) override;
    bool TakeKeyWentDown(Key key) override;
    bool IsMouseButtonHeld(MouseButton button) override;
    bool TakeMouseButtonWentDown(MouseButton button) override;
    JoystickState GetJoystick() override { return joystick; }
    bool IsActive() override { return active; }
    std::unique_ptr<Timer> StartPeriodicTimer(int intervalMs, std::function<void()> callback) override;
    std::unique_ptr<Timer> StartMainThreadTimer(int intervalMs, std::function<void()> callback) override;
    void PostToMain(std::function<void()> fn) override;
    void SendToMain(std::function<void()> fn) override;
    void ShowMessageBox(const std::string& caption, const std::string& text, bool isError) override;
    std::string LastErrorText() override { return lastErrorText; }
    bool OpenAudio(AudioCallback callback) override;
    void CloseAudio() override;
    void LockAudio() override { audioMutex_.lock(); }
    void UnlockAudio() override { audioMutex_.unlock(); }

    // --- Test controls ----------------------------------------------------
    HeadlessDisplay& display() { return display_; }
    // Moves the virtual clock forward, firing timers on the way.
    void Advance(uint64_t us);
    // Queues an event to be delivered by the first pump at or after `atMicros`
    // (now when omitted).
    void QueueEvent(const Event& e, uint64_t atMicros = 0);
    void PressKey(Key key, uint64_t atMicros = 0);
    void ReleaseKey(Key key, uint64_t atMicros = 0);
    // Press now and release at once: a tap between two pumps.
    void TapKey(Key key);
    void RequestQuit(uint64_t atMicros = 0);
    // Pulls `frames` stereo frames through the audio callback (silence when
    // the device is closed).
    std::vector<int16_t> RenderAudio(int frames);
    bool AudioOpen() const { return static_cast<bool>(audioCallback_); }
    // Called at the start of every pump, before events are delivered: lets a
    // harness feed input frame by frame.
    std::function<void()> onPump;

    std::vector<RecordedMessageBox> messageBoxes;
    std::string lastErrorText;    // what LastErrorText answers
    JoystickState joystick;
    bool active = true;
    bool audioAvailable = true;   // false: OpenAudio fails
    bool screenSaverInhibited = false;
    int audioOpenCount = 0;
    uint64_t pumpCount = 0;
    uint64_t sleepCount = 0;      // calls of SleepMicros and SleepUntilMicros

private:
    struct TimerEntry {
        int id;
        uint64_t intervalUs;
        uint64_t due;
        std::function<void()> callback;
    };
    class HeadlessTimer;
    void RemoveTimer(int id);
    void FireDueTimers();

    HeadlessDisplay display_;
    uint64_t now_ = 1'000'000;  // start at 1 s so "0" never means "now"
    std::multimap<uint64_t, Event> scheduled_;
    std::deque<Event> queue_;
    KeyState keys_;
    bool mouseHeld_[3] = {};
    bool mouseClicked_[3] = {};  // went down since last asked
    std::map<int, TimerEntry> timers_;
    int nextTimerId_ = 1;
    std::deque<std::function<void()>> posted_;
    AudioCallback audioCallback_;
    std::recursive_mutex audioMutex_;
};

}  // namespace platform
