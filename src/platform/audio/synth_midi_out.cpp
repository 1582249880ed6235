#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <mutex>
#include <optional>
#include <system_error>

#include "platform/audio/midi_out.h"
#include "platform/audio/mixer.h"

namespace platform::audio {

namespace {

const char* const kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

// One FluidSynth instance with its settings; null members when none.
struct FluidSynth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    FluidSynth() = default;
    FluidSynth(fluid_settings_t* s, fluid_synth_t* y) : settings(s), synth(y) {}
    FluidSynth(FluidSynth&& o) noexcept : settings(o.settings), synth(o.synth) { o.settings = nullptr, o.synth = nullptr; }
    FluidSynth& operator=(FluidSynth&&) = delete;
    ~FluidSynth() {
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
};

// Renders one FluidSynth instance as a mixer stream, calling the clock
// between 1 ms slices. The synthesiser may arrive after the stream joined
// the mixer: until then the stream renders silence, its clock running.
class FluidStream : public StreamSource {
public:
    FluidStream() = default;
    explicit FluidStream(FluidSynth synth) { Attach(std::move(synth)); }
    int Channels() const override { return 2; }
    int Rate() const override { return kMixRate; }

    int Read(int16_t* out, int frames) override {
        fluid_synth_t* synth = synth_.load(std::memory_order_acquire);
        int done = 0;
        while (done < frames) {
            if (framesToTick_ == 0) {
                {
                    std::lock_guard lock(clockMutex_);
                    if (clock_) clock_();
                }
                // 44.1 frames per millisecond: 44 or 45, exact over each second.
                int k = msInSecond_;
                framesToTick_ = (k + 1) * kMixRate / 1000 - k * kMixRate / 1000;
                msInSecond_ = (k + 1) % 1000;
            }
            int n = std::min(frames - done, framesToTick_);
            if (woken_.exchange(false, std::memory_order_acq_rel)) waking_ = true;
            if (synth) {
                Render(synth, out + 2 * done, n);
            } else {
                std::fill(out + 2 * done, out + 2 * (done + n), int16_t(0));
            }
            done += n;
            framesToTick_ -= n;
        }
        return frames;
    }

    // Every message may make sound: the synthesiser renders again.
    void Wake() { woken_.store(true, std::memory_order_release); }

    void SetClock(std::function<void()> fn) {
        std::lock_guard lock(clockMutex_);
        clock_ = std::move(fn);
    }
    // Takes the synthesiser over; called once, before any message reaches it.
    void Attach(FluidSynth synth) {
        owned_.emplace(std::move(synth));
        synth_.store(owned_->synth, std::memory_order_release);
    }
    fluid_synth_t* Synth() const { return synth_.load(std::memory_order_acquire); }

private:
    // With no voice left and the reverb and chorus tails faded into the
    // dither (one step either side of zero), the synthesiser only renders
    // noise at -90 dB, yet its effects cost as much as music. After a
    // quarter of a second of that it is skipped, and the stream is silent
    // until a message reaches the synthesiser again.
    //
    // The synthesiser renders in blocks and a message takes effect at the
    // start of the next block, so it sleeps and wakes only on the block grid
    // it would have kept awake: the notes after a pause start on the very
    // samples they would have started on.
    static constexpr int kIdleAfterFrames = kMixRate / 4;
    static constexpr int kBlock = 64;  // FluidSynth's block (FLUID_BUFSIZE)

    void Render(fluid_synth_t* synth, int16_t* out, int frames) {
        while (frames > 0) {
            int n = frames;
            if (idle_) {
                // Silence up to the grid once woken, then render again.
                if (waking_ && gridPhase_ == 0) {
                    idle_ = waking_ = false;
                    quietFrames_ = 0;
                    continue;
                }
                if (waking_) n = std::min(n, kBlock - gridPhase_);
                std::fill(out, out + 2 * n, int16_t(0));
            } else {
                if (waking_) {
                    quietFrames_ = 0;
                    waking_ = false;
                }
                // Going idle waits for the end of the block under way.
                if (quietFrames_ >= kIdleAfterFrames) {
                    if (gridPhase_ == 0) {
                        idle_ = true;
                        continue;
                    }
                    n = std::min(n, kBlock - gridPhase_);
                }
                fluid_synth_write_s16(synth, n, out, 0, 2, out, 1, 2);
                const bool quiet = fluid_synth_get_active_voice_count(synth) == 0 &&
                                   std::all_of(out, out + 2 * n, [](int16_t v) { return v >= -1 && v <= 1; });
                quietFrames_ = quiet ? std::min(quietFrames_ + n, kIdleAfterFrames) : 0;
            }
            gridPhase_ = (gridPhase_ + n) % kBlock;
            out += 2 * n;
            frames -= n;
        }
    }

    std::optional<FluidSynth> owned_;
    std::atomic<fluid_synth_t*> synth_{nullptr};
    std::mutex clockMutex_;
    std::function<void()> clock_;
    int framesToTick_ = 0;
    int msInSecond_ = 0;
    // Audio thread only: frames since the sound died, whether rendering is
    // skipped, a message seen while it was, and the place in the block grid.
    int quietFrames_ = 0;
    bool idle_ = false;
    bool waking_ = false;
    int gridPhase_ = 0;
    std::atomic<bool> woken_{false};
};

void SendShort(fluid_synth_t* synth, uint32_t message) {
    const int status = int(message & 0xFF);
    const int channel = status & 0x0F;
    const int d1 = int((message >> 8) & 0x7F);
    const int d2 = int((message >> 16) & 0x7F);
    switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(synth, channel, d1); break;
        case 0x90: fluid_synth_noteon(synth, channel, d1, d2); break;
        case 0xA0: fluid_synth_key_pressure(synth, channel, d1, d2); break;
        case 0xB0: fluid_synth_cc(synth, channel, d1, d2); break;
        case 0xC0: fluid_synth_program_change(synth, channel, d1); break;
        case 0xD0: fluid_synth_channel_pressure(synth, channel, d1); break;
        case 0xE0: fluid_synth_pitch_bend(synth, channel, d1 | (d2 << 7)); break;
        default: break;  // system messages: nothing for a synthesiser here
    }
}

void SendSysEx(fluid_synth_t* synth, const uint8_t* data, size_t size) {
    if (size == 0 || size > 65536) return;
    fluid_synth_sysex(synth, reinterpret_cast<const char*>(data), int(size), nullptr, nullptr, nullptr, 0);
}

// The sound font, when it names a regular file.
bool SoundFontPresent(const std::string& font) {
    std::error_code ec;
    return !font.empty() && std::filesystem::is_regular_file(font, ec);
}

// Builds a synthesiser with the sound font loaded, or nothing. Touches no
// state but its own, so it may run on any thread.
FluidSynth MakeSynth(const std::string& font) {
    static std::once_flag quiet;
    std::call_once(quiet, [] {
        // FluidSynth's own chatter would only clutter the game's stderr.
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
    if (!SoundFontPresent(font)) return {};
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return {};
    fluid_settings_setnum(settings, "synth.sample-rate", double(kMixRate));
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (!synth) {
        delete_fluid_settings(settings);
        return {};
    }
    FluidSynth made(settings, synth);
    if (fluid_synth_sfload(synth, font.c_str(), 1) == FLUID_FAILED) return {};
    return made;
}

// The synthesiser playing through the mixer. Its voice joins the mixer at
// once, so the sequencer's clock runs from the start as it would with the
// synthesiser ready; the sound font loads meanwhile on a background thread
// (it takes the better part of a quarter second, and music starts later
// than the first frame). Anything that reaches the synthesiser waits for
// the load first.
class SynthMidiOut : public MidiOut {
public:
    SynthMidiOut(Mixer& mixer, const std::string& font) : mixer_(mixer), stream_(std::make_shared<FluidStream>()) {
        try {
            load_ = std::async(std::launch::async, MakeSynth, font);
        } catch (const std::system_error&) {
            // No thread to be had: load here and now.
            stream_->Attach(MakeSynth(font));
        }
        voice_ = mixer_.AddStream(stream_);
        mixer_.Play(voice_, false);
    }
    ~SynthMidiOut() override {
        stream_->SetClock(nullptr);
        mixer_.RemoveVoice(voice_);
        // A load still running finishes before its stream goes.
        std::lock_guard lock(loadMutex_);
        if (load_.valid()) load_.wait();
    }
    bool WaitUntilReady() override {
        Join();
        return stream_->Synth() != nullptr;
    }
    void ShortMessage(uint32_t message) override {
        if (fluid_synth_t* synth = Ready()) SendShort(synth, message);
        stream_->Wake();
    }
    void SysEx(const uint8_t* data, size_t size) override {
        if (fluid_synth_t* synth = Ready()) SendSysEx(synth, data, size);
        stream_->Wake();
    }
    void Reset() override {
        if (fluid_synth_t* synth = Ready()) fluid_synth_system_reset(synth);
        stream_->Wake();
    }
    void SetClock(std::function<void()> fn) override { stream_->SetClock(std::move(fn)); }

private:
    // Waits for the load and hands its synthesiser to the stream; an error
    // of the load is raised here, once.
    void Join() {
        std::lock_guard lock(loadMutex_);
        if (!load_.valid()) return;
        auto load = std::move(load_);
        stream_->Attach(load.get());
    }
    // The synthesiser once loaded, or null. Messages may come on the audio
    // thread (the sequencer's clock), where an error has nowhere to go: the
    // synthesiser then stays silent, as it does without a sound font.
    fluid_synth_t* Ready() {
        try {
            Join();
        } catch (const std::exception&) {
        }
        return stream_->Synth();
    }

    Mixer& mixer_;
    std::shared_ptr<FluidStream> stream_;
    std::mutex loadMutex_;
    std::future<FluidSynth> load_;
    VoiceId voice_ = 0;
};

class FluidRenderer : public SynthRenderer, public MidiOut {
public:
    explicit FluidRenderer(std::shared_ptr<FluidStream> stream) : stream_(std::move(stream)) {}
    MidiOut& Out() override { return *this; }
    void Render(int16_t* out, int frames) override { stream_->Read(out, frames); }
    void ShortMessage(uint32_t message) override {
        SendShort(stream_->Synth(), message);
        stream_->Wake();
    }
    void SysEx(const uint8_t* data, size_t size) override {
        SendSysEx(stream_->Synth(), data, size);
        stream_->Wake();
    }
    void Reset() override {
        fluid_synth_system_reset(stream_->Synth());
        stream_->Wake();
    }
    void SetClock(std::function<void()> fn) override { stream_->SetClock(std::move(fn)); }

private:
    std::shared_ptr<FluidStream> stream_;
};

}  // namespace

std::string SoundFontPath() {
    const char* env = std::getenv("VARNOW_SOUNDFONT");
    if (env && *env) return env;
    return kDefaultSoundFont;
}

std::unique_ptr<MidiOut> CreateSynthMidiOut(Mixer& mixer) {
    if (!mixer.IsOpen()) return nullptr;
    std::string font = SoundFontPath();
    if (!SoundFontPresent(font)) return nullptr;
    return std::make_unique<SynthMidiOut>(mixer, font);
}

std::unique_ptr<SynthRenderer> CreateSynthRenderer() {
    FluidSynth synth = MakeSynth(SoundFontPath());
    if (!synth.synth) return nullptr;
    return std::make_unique<FluidRenderer>(std::make_shared<FluidStream>(std::move(synth)));
}

}  // namespace platform::audio
