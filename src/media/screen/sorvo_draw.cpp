#include "media/screen/sorvo_draw.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "data/errors.h"
#include "data/string_table.h"
#include "media/platform_errors.h"

using platform::Event;
using platform::Key;
using platform::Sys;

TSorvoDraw* GameDraw = nullptr;

namespace {
// Every frame wait rests at least this long, so that a game that is late
// still leaves the processor to others once a frame.
constexpr uint64_t kFrameRestMicros = 1000;
// While the window is inactive the wait blocks for events this long at a time.
constexpr int kInactiveWaitMs = 100;
}  // namespace

TSorvoDraw::TSorvoDraw() : startMicros_(Sys().NowMicros()) {
    board_.SetSize(kScreenWidth, kScreenHeight);
    ScreenSource = [this](int& pitch) {
        pitch = board_.Pitch();
        return static_cast<const uint16_t*>(board_.Bits());
    };
}

TSorvoDraw::~TSorvoDraw() {
    Close();
    if (GameDraw == this) GameDraw = nullptr;
}

void TSorvoDraw::SetFrameRate(int value) {
    if (value <= 0) return;
    frameRate_ = value;
    interval_ = 1000.0 / value;
}

void TSorvoDraw::SetMaxLag(int value) { maxLag_ = value < 2 ? 1 : value; }

void TSorvoDraw::SetScreenMode(TScreenMode mode) {
    if (mode == screenMode_) return;
    screenMode_ = mode;
    if (!initialized_ || closed_) return;
    ApplyDisplayMode();
    ResetFrameTimer();
}

void TSorvoDraw::SetScreenZoom(bool zoom) {
    screenZoom_ = zoom;
    if (!initialized_ || closed_) return;
    if (screenMode_ == smWindow) {
        ApplyDisplayMode();  // the window takes the new size
    } else {
        // Full screen keeps its logical screen; only the destination moves.
        UpdateDestination();
        if (OnModeChange) OnModeChange();
    }
    ResetFrameTimer();
}

void TSorvoDraw::SetLowResolution(bool low) {
    lowResolution_ = low;
    if (initialized_ && !closed_ && screenMode_ == smFullScreen) ApplyDisplayMode();
}

void TSorvoDraw::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (initialized_) Sys().GetDisplay().SetCaption(caption_);
}

void TSorvoDraw::Initialize() {
    if (initialized_) return;
    auto& sys = Sys();
    ApplyDisplayMode();
    initialized_ = true;
    sys.GetDisplay().SetCaption(caption_);
    sys.InhibitScreenSaver(true);
    sys.GetDisplay().ShowCursor(false);
}

void TSorvoDraw::ApplyDisplayMode() {
    auto& display = Sys().GetDisplay();
    if (screenMode_ == smFullScreen) {
        if (lowResolution_ && !display.SetMode(kScreenWidth, kScreenHeight, true)) lowResolution_ = false;
        // A machine that cannot go full screen at all keeps playing in a
        // window rather than ending the game.
        if (!lowResolution_ && !display.SetMode(2 * kScreenWidth, 2 * kScreenHeight, true)) screenMode_ = smWindow;
    }
    if (screenMode_ == smWindow) {
        int scale = screenZoom_ ? 2 : 1;
        if (!display.SetMode(scale * kScreenWidth, scale * kScreenHeight, false)) throw EDirectDrawError();
    }
    UpdateDestination();
    if (OnModeChange) OnModeChange();
}

void TSorvoDraw::UpdateDestination() {
    if (screenMode_ == smFullScreen && lowResolution_)
        dest_ = {0, 0, kScreenWidth, kScreenHeight};
    else if (screenZoom_)
        dest_ = {0, 0, 2 * kScreenWidth, 2 * kScreenHeight};
    else if (screenMode_ == smFullScreen)
        dest_ = {kScreenWidth / 2, kScreenHeight / 2, kScreenWidth, kScreenHeight};
    else
        dest_ = {0, 0, kScreenWidth, kScreenHeight};
}

platform::Rect TSorvoDraw::ScreenToDestination(platform::Rect r) const {
    int scale = dest_.w == 2 * kScreenWidth ? 2 : 1;
    return {dest_.x + scale * r.x, dest_.y + scale * r.y, scale * r.w, scale * r.h};
}

void TSorvoDraw::Flip() {
    if (!ScreenSource) return;
    int pitch = kScreenWidth;
    const uint16_t* pixels = ScreenSource(pitch);
    Flip(pixels, pitch);
}

void TSorvoDraw::Flip(const uint16_t* pixels, int pitch) {
    if (!initialized_ || closed_ || !pixels || pitch < kScreenWidth) return;
    Sys().GetDisplay().Present(pixels, kScreenWidth, kScreenHeight, pitch, dest_);
}

double TSorvoDraw::ElapsedExact() { return double(Sys().NowMicros() - startMicros_) / 1000.0; }

int64_t TSorvoDraw::Elapsed() { return int64_t((Sys().NowMicros() - startMicros_) / 1000); }

int TSorvoDraw::GetLag() {
    // nearbyint rounds in the default mode: to nearest, ties to even.
    double frames = (ElapsedExact() - frameBase_ - frameCount_ * interval_) / interval_;
    return int(std::clamp(std::nearbyint(frames), -1e9, 1e9));
}

void TSorvoDraw::ResetFrameTimer() {
    // The restart takes effect at the next frame tick, as a display's
    // vertical blank would have it: a frame that is not yet due keeps its
    // time, so a game that restarts the clock every frame (music played each
    // frame) still runs one frame an interval. A schedule that is behind
    // restarts from now.
    const double now = ElapsedExact();
    frameBase_ = std::clamp(frameBase_ + frameCount_ * interval_, now, now + interval_);
    frameCount_ = 0;
}

void TSorvoDraw::Restart() { throw ESorvoDrawReset{}; }

void TSorvoDraw::ProcessMessages() {
    auto& sys = Sys();
    sys.PumpEvents();
    Event event;
    while (sys.PollEvent(event)) HandleEvent(event);
    if (OnPump) OnPump();
    if (terminated_) throw ESorvoDrawAbort{};
}

void TSorvoDraw::HandleEvent(const Event& event) {
    auto& sys = Sys();
    switch (event.type) {
        case Event::Type::Quit:
            terminated_ = true;
            break;
        case Event::Type::FocusGained:
            if (initialized_) sys.GetDisplay().ShowCursor(false);
            break;
        case Event::Type::FocusLost:
            if (initialized_) sys.GetDisplay().ShowCursor(true);
            break;
        case Event::Type::KeyDown: {
            // Screen commands act only while the game runs. The system's key
            // repeat is ignored: holding F4 must not flicker between modes.
            if (!insideMain_ || event.repeat) break;
            bool alt = sys.IsKeyHeld(Key::Alt);
            bool enter = event.key == Key::Enter || event.key == Key::KpEnter;
            if ((event.key == Key::F4 && !alt) || (enter && alt))
                SetScreenMode(screenMode_ == smWindow ? smFullScreen : smWindow);
            else if (event.key == Key::F5)
                SetScreenZoom(!screenZoom_);
            else if (event.key == Key::F12)
                Restart();
            break;
        }
        default:
            break;
    }
}

uint64_t TSorvoDraw::DueMicros() const {
    // The first whole microsecond at which the clock, read as ElapsedExact
    // reads it, lies past the due time. The product alone can round to a
    // microsecond that still reads as "not yet", and a sleep to it would
    // end at once, again and again.
    double due = frameBase_ + frameCount_ * interval_;
    uint64_t elapsed = uint64_t(std::max(0.0, std::floor(due * 1000.0)));
    while (double(elapsed) / 1000.0 <= due) ++elapsed;
    return startMicros_ + elapsed;
}

void TSorvoDraw::WaitUntilScheduled() {
    auto& sys = Sys();
    // Pump at least once; go on until the clock has passed the time of the
    // current frame. Each pass sleeps once, to the due time; the due time is
    // read afresh on every pass because a key command may restart the
    // schedule, and a sleep ended early by a call from another thread only
    // pumps and sleeps again.
    for (;;) {
        ProcessMessages();
        double now = ElapsedExact();
        double due = frameBase_ + frameCount_ * interval_;
        if (!(due >= now)) return;
        sys.SleepUntilMicros(DueMicros());
    }
}

void TSorvoDraw::WaitFrame() {
    auto& sys = Sys();
    for (;;) {
        // The rest of a millisecond comes first. When the due time lies
        // further ahead, the rest is part of the one sleep to it: the lag
        // check below cannot fire then (the clock is behind the schedule),
        // so sleeping apart would only wake the thread once more.
        uint64_t restEnd = sys.NowMicros() + kFrameRestMicros;
        bool restSeparately = DueMicros() <= restEnd;
        if (restSeparately) sys.SleepMicros(kFrameRestMicros);
        if (GetLag() > maxLag_) ResetFrameTimer();
        double t0 = restSeparately ? ElapsedExact() : double(restEnd - startMicros_) / 1000.0;
        WaitUntilScheduled();
        // The schedule is re-based every second, so the rounding of the
        // interval never accumulates.
        if (++frameCount_ >= frameRate_) {
            frameBase_ += 1000.0;
            frameCount_ = 0;
        }
        // A wait longer than two frames (the process was stopped, the
        // machine slept): start afresh instead of racing to catch up.
        if (ElapsedExact() > t0 + 2 * interval_) ResetFrameTimer();
        if (sys.IsActive()) return;
        // The game stands still while its window is inactive.
        sys.WaitEvent(kInactiveWaitMs);
        ResetFrameTimer();
    }
}

int TSorvoDraw::Run() {
    for (;;) {
        try {
            insideMain_ = true;
            if (OnMain) OnMain();
            WaitFrame();
            insideMain_ = false;
        } catch (const ESorvoDrawReset&) {
            // The next pass enters the main handler afresh.
            insideMain_ = false;
        } catch (const ESorvoDrawAbort&) {
            insideMain_ = false;
            return 0;
        } catch (const std::bad_alloc&) {
            insideMain_ = false;
            ShowFatalError(LoadStr(kStrOutOfMemory));
            return 1;
        } catch (const std::exception& e) {
            insideMain_ = false;
            ShowFatalError(e.what());
            return 1;
        }
    }
}

void TSorvoDraw::ShowFatalError(const std::string& message) {
    // A box behind a full-screen picture could not be seen.
    if (screenMode_ == smFullScreen && initialized_ && !closed_) {
        try {
            SetScreenMode(smWindow);
        } catch (const std::exception&) {
            // The message still goes out (the platform also writes it to stderr).
        }
    }
    if (initialized_) Sys().GetDisplay().ShowCursor(true);
    Sys().ShowMessageBox(caption_, message, true);
}

void TSorvoDraw::Close() {
    if (closed_) return;
    closed_ = true;
    if (initialized_ && platform::HasPlatform()) {
        Sys().InhibitScreenSaver(false);
        Sys().GetDisplay().ShowCursor(true);
    }
}
