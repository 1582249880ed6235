#pragma once
// The software mixer: every sound the game makes goes through here into the
// one 44.1 kHz stereo device.
//
// A voice plays either samples held in memory (shared between the voices
// that duplicate one another) or a stream that is decoded as it plays (MIDI
// synthesiser, MP3, movie sound). Each voice has a volume in hundredths of a
// decibel (0 full, -10000 silent), a pan in hundredths of a decibel (negative
// attenuates the right channel, positive the left), a playback frequency of
// 100-100000 Hz reached by resampling, a play state with a loop flag, and a
// cursor that counts bytes of the PCM the samples came from.
//
// All methods may be called from the main thread while the device pulls
// samples on the audio thread: one mutex keeps them apart. Stream sources
// are read with that mutex held, on the audio thread.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace platform::audio {

constexpr int kMixRate = 44100;
constexpr int kSilence = -10000;
constexpr int kMinFrequency = 100;
constexpr int kMaxFrequency = 100000;

// Samples held in memory: interleaved signed 16-bit, one or two channels.
struct SampleData {
    std::vector<int16_t> samples;
    int channels = 1;
    int rate = 22050;
    // Block alignment of the PCM the samples stand for (1 for 8-bit mono):
    // cursors count in these bytes.
    int bytesPerFrame = 2;
    size_t Frames() const { return channels > 0 ? samples.size() / size_t(channels) : 0; }
};

// Sound decoded while it plays.
class StreamSource {
public:
    virtual ~StreamSource() = default;
    virtual int Channels() const = 0;  // 1 or 2
    virtual int Rate() const = 0;
    // Fills up to `frames` frames (interleaved); fewer means the stream has
    // ended. Runs on the audio thread with the mixer's lock held.
    virtual int Read(int16_t* out, int frames) = 0;
};

using VoiceId = int;

class Mixer {
public:
    Mixer();
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Opens the platform's audio device with Mix as its callback. False when
    // no device, not even a silent one, can be had.
    bool Open();
    void Close();
    bool IsOpen() const { return open_; }

    // A new voice, stopped, at full volume, centred, at the data's own rate.
    VoiceId AddVoice(std::shared_ptr<const SampleData> data);
    VoiceId AddStream(std::shared_ptr<StreamSource> source);
    void RemoveVoice(VoiceId id);
    bool HasVoice(VoiceId id) const;

    void Play(VoiceId id, bool loop);
    void Stop(VoiceId id);
    void SetCursor(VoiceId id, uint32_t bytes);
    void SetVolume(VoiceId id, int hundredthsDb);   // clamped to -10000..0
    void SetPan(VoiceId id, int hundredthsDb);      // clamped to -10000..10000
    void SetFrequency(VoiceId id, int hz);          // clamped to 100..100000

    bool IsPlaying(VoiceId id) const;
    uint32_t Cursor(VoiceId id) const;
    int Volume(VoiceId id) const;
    int Pan(VoiceId id) const;
    int Frequency(VoiceId id) const;
    bool Looping(VoiceId id) const;
    size_t VoiceCount() const;

    // Mixes `frames` stereo frames of every playing voice into out (the
    // device callback; tests and benchmarks call it directly).
    void Mix(int16_t* out, int frames);

private:
    struct Voice;
    Voice* Find(VoiceId id) const;
    void MixVoice(Voice& v, float* acc, int frames);
    void MixStream(Voice& v, float* acc, int frames);

    mutable std::recursive_mutex mutex_;
    std::unordered_map<VoiceId, std::unique_ptr<Voice>> voices_;
    VoiceId nextId_ = 1;
    bool open_ = false;
    std::vector<float> acc_;
};

// Gain factor of an attenuation in hundredths of a decibel: 10^(v/2000).
float GainOf(int hundredthsDb);

}  // namespace platform::audio
