#include "platform/headless/headless_platform.h"

#include <utility>

#include <cstdio>

namespace platform {

bool HeadlessDisplay::SetMode(int w, int h, bool fullScreen) {
    if (acceptMode && !acceptMode(w, h, fullScreen)) return false;
    width_ = w;
    height_ = h;
    fullScreen_ = fullScreen;
    ++modeChanges_;
    return true;
}

void HeadlessDisplay::Present(const uint16_t* pixels, int srcWidth, int srcHeight, int srcPitch, Rect dest) {
    // No frame kept and no one to hand it to: only counted (fuzz targets
    // run thousands of frames a second).
    if (frameLimit == 0 && !onPresent) {
        ++presentCount;
        frames.clear();
        return;
    }
    CapturedFrame f;
    f.width = srcWidth;
    f.height = srcHeight;
    f.dest = dest;
    f.timeMicros = clock ? clock() : 0;
    f.pixels.resize(size_t(srcWidth) * size_t(srcHeight));
    for (int y = 0; y < srcHeight; ++y)
        std::copy(pixels + size_t(y) * size_t(srcPitch), pixels + size_t(y) * size_t(srcPitch) + srcWidth,
                  f.pixels.begin() + size_t(y) * size_t(srcWidth));
    ++presentCount;
    if (onPresent) onPresent(f);
    frames.push_back(std::move(f));
    while (frames.size() > frameLimit) frames.pop_front();
}

void HeadlessDisplay::PresentXrgb(const uint32_t* pixels, int srcWidth, int srcHeight, int srcPitch, Rect dest) {
    std::vector<uint16_t> converted(size_t(srcWidth) * size_t(srcHeight));
    for (int y = 0; y < srcHeight; ++y)
        for (int x = 0; x < srcWidth; ++x) {
            uint32_t p = pixels[size_t(y) * size_t(srcPitch) + size_t(x)];
            converted[size_t(y) * size_t(srcWidth) + size_t(x)] =
                uint16_t(((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x001F));
        }
    Present(converted.data(), srcWidth, srcHeight, srcWidth, dest);
}

bool HeadlessDisplay::WindowToLogical(int wx, int wy, int& lx, int& ly) const {
    if (wx < 0 || wy < 0 || wx >= width_ || wy >= height_) return false;
    lx = wx;
    ly = wy;
    return true;
}

class HeadlessPlatform::HeadlessTimer : public Timer {
public:
    HeadlessTimer(HeadlessPlatform* owner, int id) : owner_(owner), id_(id) {}
    ~HeadlessTimer() override { owner_->RemoveTimer(id_); }

private:
    HeadlessPlatform* owner_;
    int id_;
};

HeadlessPlatform::HeadlessPlatform() {
    display_.clock = [this] { return now_; };
}

HeadlessPlatform::~HeadlessPlatform() = default;

uint64_t HeadlessPlatform::NowMicros() { return now_; }

void HeadlessPlatform::SleepMicros(uint64_t us) {
    ++sleepCount;
    Advance(us);
}

void HeadlessPlatform::SleepUntilMicros(uint64_t deadlineMicros) {
    ++sleepCount;
    if (deadlineMicros > now_) Advance(deadlineMicros - now_);
}

void HeadlessPlatform::Advance(uint64_t us) {
    uint64_t target = now_ + us;
    // Step through timer due times in order so callbacks see the right clock.
    for (;;) {
        uint64_t next = target;
        for (auto& [id, t] : timers_)
            if (t.due < next) next = t.due;
        now_ = next;
        FireDueTimers();
        if (now_ >= target) break;
    }
}

void HeadlessPlatform::FireDueTimers() {
    // Timers may add or remove timers; collect ids first.
    std::vector<int> due;
    for (auto& [id, t] : timers_)
        if (t.due <= now_) due.push_back(id);
    for (int id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) continue;
        it->second.due += it->second.intervalUs;
        auto callback = it->second.callback;
        callback();
    }
}

void HeadlessPlatform::RemoveTimer(int id) { timers_.erase(id); }

std::unique_ptr<Timer> HeadlessPlatform::StartPeriodicTimer(int intervalMs, std::function<void()> callback) {
    int id = nextTimerId_++;
    uint64_t interval = uint64_t(intervalMs > 0 ? intervalMs : 1) * 1000;
    timers_[id] = TimerEntry{id, interval, now_ + interval, std::move(callback)};
    return std::make_unique<HeadlessTimer>(this, id);
}

std::unique_ptr<Timer> HeadlessPlatform::StartMainThreadTimer(int intervalMs, std::function<void()> callback) {
    // With a virtual clock there is only one thread: both kinds fire as the
    // clock passes their due time.
    return StartPeriodicTimer(intervalMs, std::move(callback));
}

void HeadlessPlatform::PostToMain(std::function<void()> fn) { posted_.push_back(std::move(fn)); }

void HeadlessPlatform::SendToMain(std::function<void()> fn) { fn(); }

void HeadlessPlatform::QueueEvent(const Event& e, uint64_t atMicros) {
    scheduled_.emplace(atMicros ? atMicros : now_, e);
}

void HeadlessPlatform::PressKey(Key key, uint64_t atMicros) {
    Event e;
    e.type = Event::Type::KeyDown;
    e.key = key;
    QueueEvent(e, atMicros);
}

void HeadlessPlatform::ReleaseKey(Key key, uint64_t atMicros) {
    Event e;
    e.type = Event::Type::KeyUp;
    e.key = key;
    QueueEvent(e, atMicros);
}

void HeadlessPlatform::TapKey(Key key) {
    PressKey(key);
    ReleaseKey(key);
}

void HeadlessPlatform::RequestQuit(uint64_t atMicros) {
    Event e;
    e.type = Event::Type::Quit;
    QueueEvent(e, atMicros);
}

void HeadlessPlatform::PumpEvents() {
    ++pumpCount;
    if (onPump) onPump();
    FireDueTimers();
    while (!scheduled_.empty() && scheduled_.begin()->first <= now_) {
        Event e = scheduled_.begin()->second;
        scheduled_.erase(scheduled_.begin());
        switch (e.type) {
            case Event::Type::KeyDown:
                if (!e.repeat) keys_.Press(e.key);
                break;
            case Event::Type::KeyUp:
                keys_.Release(e.key);
                break;
            case Event::Type::MouseDown:
                mouseHeld_[size_t(e.mouseButton) % 3] = true;
                mouseClicked_[size_t(e.mouseButton) % 3] = true;
                break;
            case Event::Type::MouseUp:
                mouseHeld_[size_t(e.mouseButton) % 3] = false;
                break;
            case Event::Type::FocusGained:
                active = true;
                break;
            case Event::Type::FocusLost:
                active = false;
                break;
            default:
                break;
        }
        queue_.push_back(e);
    }
    while (!posted_.empty()) {
        auto fn = std::move(posted_.front());
        posted_.pop_front();
        fn();
    }
}

void HeadlessPlatform::WaitEvent(int timeoutMs) {
    // Jump to the next scheduled event, or the timeout, whichever is first.
    uint64_t limit = now_ + uint64_t(timeoutMs > 0 ? timeoutMs : 0) * 1000;
    if (!scheduled_.empty() && scheduled_.begin()->first < limit)
        limit = scheduled_.begin()->first > now_ ? scheduled_.begin()->first : now_;
    if (limit > now_) Advance(limit - now_);
    PumpEvents();
}

bool HeadlessPlatform::PollEvent(Event& event) {
    if (queue_.empty()) return false;
    event = queue_.front();
    queue_.pop_front();
    return true;
}

bool HeadlessPlatform::IsKeyHeld(Key key) { return keys_.IsHeld(key); }

bool HeadlessPlatform::TakeKeyWentDown(Key key) { return keys_.TakeWentDown(key); }

bool HeadlessPlatform::IsMouseButtonHeld(MouseButton button) { return mouseHeld_[size_t(button) % 3]; }

bool HeadlessPlatform::TakeMouseButtonWentDown(MouseButton button) {
    return std::exchange(mouseClicked_[size_t(button) % 3], false);
}

void HeadlessPlatform::ShowMessageBox(const std::string& caption, const std::string& text, bool isError) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    messageBoxes.push_back({caption, text, isError});
}

bool HeadlessPlatform::OpenAudio(AudioCallback callback) {
    if (!audioAvailable) return false;
    std::lock_guard lock(audioMutex_);
    audioCallback_ = std::move(callback);
    ++audioOpenCount;
    return true;
}

void HeadlessPlatform::CloseAudio() {
    std::lock_guard lock(audioMutex_);
    audioCallback_ = nullptr;
}

std::vector<int16_t> HeadlessPlatform::RenderAudio(int frames) {
    std::vector<int16_t> out(size_t(frames > 0 ? frames : 0) * 2, 0);
    std::lock_guard lock(audioMutex_);
    if (audioCallback_ && frames > 0) audioCallback_(out.data(), frames);
    return out;
}

}  // namespace platform
