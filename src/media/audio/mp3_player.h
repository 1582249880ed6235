#pragma once
// The MP3 player: MP3 music decoded as it plays into one mixer voice,
// starting again from the beginning each time it completes, with volume,
// balance, tempo (playback rate by resampling) and fades. A 50 ms
// main-thread timer advances the fades.

#include <memory>
#include <string>

#include "platform/audio/mixer.h"
#include "platform/audio/mp3_stream.h"
#include "platform/platform.h"

class TMP3Player {
public:
    // Raises EMp3DirectShowError when the mixer has no device.
    explicit TMP3Player(platform::audio::Mixer& mixer);
    ~TMP3Player();
    TMP3Player(const TMP3Player&) = delete;
    TMP3Player& operator=(const TMP3Player&) = delete;

    // Raises EMp3DirectShowError when the file holds no playable MP3.
    void Play(const std::string& fileName);
    void Stop();
    void FadeIn(int milliseconds);
    void FadeOut(int milliseconds);
    void SetVolume(int value);
    void SetBalance(int value);
    void SetTempo(int value);
    double Position() const;
    void Service();

    bool Playing() const { return playing_; }
    bool Looped() const;
    int FadeLevel() const { return fadeLevel_; }
    platform::audio::VoiceId Voice() const { return voice_; }

private:
    void ApplyVolume();

    platform::audio::Mixer& mixer_;
    std::shared_ptr<platform::audio::Mp3Stream> stream_;
    platform::audio::VoiceId voice_ = 0;
    bool playing_ = false;
    int balance_ = 50, volume_ = 100, tempoPercent_ = 100;
    bool fadingIn_ = false, fadingOut_ = false;
    int fadeDuration_ = 0, fadeLevel_ = 100;
    uint64_t fadeStart_ = 0;
    std::unique_ptr<platform::Timer> timer_;
};
