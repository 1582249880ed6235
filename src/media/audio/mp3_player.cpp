#include "media/audio/mp3_player.h"

#include <algorithm>

#include "media/audio/audio_errors.h"
#include "media/audio/wave_player.h"

using platform::audio::kSilence;

TMP3Player::TMP3Player(platform::audio::Mixer& mixer) : mixer_(mixer) {
    if (!mixer_.IsOpen()) throw EMp3DirectShowError();
    timer_ = platform::Sys().StartMainThreadTimer(50, [this] { Service(); });
}

TMP3Player::~TMP3Player() {
    timer_.reset();
    Stop();
}

void TMP3Player::Play(const std::string& fileName) {
    Stop();
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadWholeFile(fileName);
    } catch (const EFOpenError&) {
        throw EMp3DirectShowError("VFW_E_NOT_FOUND");
    }
    std::string error;
    stream_ = platform::audio::Mp3Stream::Open(std::move(bytes), error);
    if (!stream_) throw EMp3DirectShowError("VFW_E_CANNOT_RENDER");
    voice_ = mixer_.AddStream(stream_);
    // A new graph starts centred at its own rate; the old fade state stays,
    // and volume and fade apply before the first sample plays.
    mixer_.SetPan(voice_, 0);
    mixer_.SetFrequency(voice_, stream_->Rate());
    Service();
    mixer_.Play(voice_, false);
    playing_ = true;
}

void TMP3Player::Stop() {
    if (voice_) mixer_.RemoveVoice(voice_);
    voice_ = 0;
    stream_.reset();
    playing_ = false;
}

bool TMP3Player::Looped() const { return stream_ && stream_->Completions() > 0; }

void TMP3Player::Service() {
    if (fadingIn_ || fadingOut_) {
        const uint64_t now = platform::Sys().NowMillis();
        int64_t amount = fadeDuration_ > 0 ? RoundDivide(int64_t(now - fadeStart_) * 100, fadeDuration_) : 100;
        if (amount > 100) amount = 100;
        if (fadingIn_) {
            fadeLevel_ = int(amount);
            if (fadeLevel_ >= 100) fadingIn_ = false;
        } else {
            // The fade-out stays marked when it reaches 0.
            fadeLevel_ = int(100 - amount);
        }
    }
    ApplyVolume();
}

void TMP3Player::ApplyVolume() {
    if (!voice_) return;
    const int product = volume_ * fadeLevel_;
    mixer_.SetVolume(voice_, product == 0 ? kSilence : -35 * (100 - product / 100));
}

void TMP3Player::FadeIn(int milliseconds) {
    if (fadingIn_) return;
    fadingIn_ = true;
    fadingOut_ = false;
    fadeLevel_ = 0;
    fadeDuration_ = milliseconds;
    fadeStart_ = platform::Sys().NowMillis();
    if (milliseconds <= 0) {
        fadeLevel_ = 100;
        fadingIn_ = false;
    }
    Service();
}

void TMP3Player::FadeOut(int milliseconds) {
    if (fadingOut_) return;
    fadingOut_ = true;
    fadingIn_ = false;
    fadeLevel_ = 100;
    fadeDuration_ = milliseconds;
    fadeStart_ = platform::Sys().NowMillis();
    if (milliseconds <= 0) fadeLevel_ = 0;
    Service();
}

void TMP3Player::SetVolume(int value) {
    volume_ = std::clamp(value, 0, 100);
    Service();
}

void TMP3Player::SetBalance(int value) {
    balance_ = std::clamp(value, 0, 100);
    if (voice_) mixer_.SetPan(voice_, (balance_ - 50) * 60);
}

void TMP3Player::SetTempo(int value) {
    tempoPercent_ = std::clamp(value, 1, 10000);
    if (voice_ && stream_)
        mixer_.SetFrequency(voice_, int(std::clamp<int64_t>(int64_t(stream_->Rate()) * tempoPercent_ / 100, 100, 100000)));
}

double TMP3Player::Position() const { return stream_ ? stream_->Position() : 0.0; }
