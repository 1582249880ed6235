#pragma once
// The wave player: one music buffer and a list of sound slots, each a
// TWaveBuffer holding one wave file in four mixer voices that share its
// samples, so a sound can overlap itself. Volume, balance, tempo and fades
// are kept per voice; a 50 ms main-thread timer advances the fades.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/mixer.h"
#include "platform/platform.h"

class TWavePlayer;

class TWaveBuffer {
public:
    static constexpr int kVoices = 4;

    explicit TWaveBuffer(TWavePlayer& owner);
    ~TWaveBuffer();
    TWaveBuffer(const TWaveBuffer&) = delete;
    TWaveBuffer& operator=(const TWaveBuffer&) = delete;

    // Raises EInvalidWaveFile (or EFOpenError when it can't be read).
    void Load(const std::string& fileName);
    void Unload();
    void Play(int volume, int tempo, int balance, bool loop);
    void Stop();
    void FadeIn(int milliseconds);
    void FadeOut(int milliseconds);
    // voice −1: all four.
    void SetVolume(int voice, int value);
    void SetTempo(int voice, int value);
    void SetBalance(int voice, int value);
    bool IsPlaying() const;
    double Position() const;  // seconds
    void Service();

    const std::string& FileName() const { return fileName_; }
    bool Loaded() const { return voices_[0] != 0; }
    int CurrentVoice() const { return currentVoice_; }
    platform::audio::VoiceId Voice(int index) const { return voices_[size_t(index & 3)]; }
    int OriginalRate() const { return originalRate_; }
    uint32_t BytesPerSecond() const { return bytesPerSecond_; }

private:
    struct VoiceState {
        int balance = 50, volume = 100, tempo = 100;
        bool fadingIn = false, fadingOut = false;
        int fadeDuration = 0;
        int fadeLevel = 0;  // a new voice stays silent until Play
        uint64_t fadeStart = 0;
    };
    void ApplyVolume(int voice);
    void ApplyBalance(int voice);
    void ApplyTempo(int voice);

    TWavePlayer& owner_;
    std::array<platform::audio::VoiceId, kVoices> voices_{};
    std::array<VoiceState, kVoices> state_{};
    std::string fileName_;
    int currentVoice_ = 0;
    int originalRate_ = 0;
    uint32_t bytesPerSecond_ = 0;
};

class TWavePlayer {
public:
    // Raises EDirectSoundError ("Unable to use DirectSound") when the mixer
    // has no device.
    explicit TWavePlayer(platform::audio::Mixer& mixer);
    ~TWavePlayer();

    void SetSoundCount(int n);
    int SoundCount() const { return int(sounds_.size()); }
    TWaveBuffer& Sound(int index) { return *sounds_.at(size_t(index)); }
    TWaveBuffer& Music() { return *music_; }
    platform::audio::Mixer& Mixer() { return mixer_; }
    void Service();

private:
    platform::audio::Mixer& mixer_;
    std::unique_ptr<TWaveBuffer> music_;
    std::vector<std::unique_ptr<TWaveBuffer>> sounds_;
    std::unique_ptr<platform::Timer> timer_;
};

// Reads a whole file; raises EFOpenError when it can't.
std::vector<uint8_t> ReadWholeFile(const std::string& fileName);

// round(a / b) for a >= 0, b > 0, ties to even.
int64_t RoundDivide(int64_t a, int64_t b);
