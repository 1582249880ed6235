#include <fluidsynth.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/audio/midi_out.h"
#include "platform/audio/mixer.h"

namespace platform::audio {

namespace {

const char* const kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

// Owns one FluidSynth instance and renders it as a mixer stream, calling the
// clock between 1 ms slices.
class FluidStream : public StreamSource {
public:
    FluidStream(fluid_settings_t* settings, fluid_synth_t* synth) : settings_(settings), synth_(synth) {}
    ~FluidStream() override {
        delete_fluid_synth(synth_);
        delete_fluid_settings(settings_);
    }
    int Channels() const override { return 2; }
    int Rate() const override { return kMixRate; }

    int Read(int16_t* out, int frames) override {
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
            fluid_synth_write_s16(synth_, n, out, 2 * done, 2, out, 2 * done + 1, 2);
            done += n;
            framesToTick_ -= n;
        }
        return frames;
    }

    void SetClock(std::function<void()> fn) {
        std::lock_guard lock(clockMutex_);
        clock_ = std::move(fn);
    }
    fluid_synth_t* Synth() const { return synth_; }

private:
    fluid_settings_t* settings_;
    fluid_synth_t* synth_;
    std::mutex clockMutex_;
    std::function<void()> clock_;
    int framesToTick_ = 0;
    int msInSecond_ = 0;
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

// Builds a synthesiser with the sound font loaded, or nothing.
std::shared_ptr<FluidStream> MakeSynth() {
    static std::once_flag quiet;
    std::call_once(quiet, [] {
        // FluidSynth's own chatter would only clutter the game's stderr.
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
    std::string font = SoundFontPath();
    std::error_code ec;
    if (font.empty() || !std::filesystem::is_regular_file(font, ec)) return nullptr;
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return nullptr;
    fluid_settings_setnum(settings, "synth.sample-rate", double(kMixRate));
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (!synth) {
        delete_fluid_settings(settings);
        return nullptr;
    }
    auto stream = std::make_shared<FluidStream>(settings, synth);
    if (fluid_synth_sfload(synth, font.c_str(), 1) == FLUID_FAILED) return nullptr;
    return stream;
}

class SynthMidiOut : public MidiOut {
public:
    SynthMidiOut(Mixer& mixer, std::shared_ptr<FluidStream> stream) : mixer_(mixer), stream_(std::move(stream)) {
        voice_ = mixer_.AddStream(stream_);
        mixer_.Play(voice_, false);
    }
    ~SynthMidiOut() override {
        stream_->SetClock(nullptr);
        mixer_.RemoveVoice(voice_);
    }
    void ShortMessage(uint32_t message) override { SendShort(stream_->Synth(), message); }
    void SysEx(const uint8_t* data, size_t size) override { SendSysEx(stream_->Synth(), data, size); }
    void Reset() override { fluid_synth_system_reset(stream_->Synth()); }
    void SetClock(std::function<void()> fn) override { stream_->SetClock(std::move(fn)); }

private:
    Mixer& mixer_;
    std::shared_ptr<FluidStream> stream_;
    VoiceId voice_ = 0;
};

class FluidRenderer : public SynthRenderer, public MidiOut {
public:
    explicit FluidRenderer(std::shared_ptr<FluidStream> stream) : stream_(std::move(stream)) {}
    MidiOut& Out() override { return *this; }
    void Render(int16_t* out, int frames) override { stream_->Read(out, frames); }
    void ShortMessage(uint32_t message) override { SendShort(stream_->Synth(), message); }
    void SysEx(const uint8_t* data, size_t size) override { SendSysEx(stream_->Synth(), data, size); }
    void Reset() override { fluid_synth_system_reset(stream_->Synth()); }
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
    auto stream = MakeSynth();
    if (!stream) return nullptr;
    return std::make_unique<SynthMidiOut>(mixer, std::move(stream));
}

std::unique_ptr<SynthRenderer> CreateSynthRenderer() {
    auto stream = MakeSynth();
    if (!stream) return nullptr;
    return std::make_unique<FluidRenderer>(std::move(stream));
}

}  // namespace platform::audio
