#include "media/audio/wave_player.h"

#include <algorithm>
#include <fstream>

#include "data/string_table.h"
#include "media/audio/audio_errors.h"
#include "media/audio/wave_file.h"

using platform::audio::kSilence;

std::vector<uint8_t> ReadWholeFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EFOpenError(FormatStr(kStrFileOpenError, fileName));
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0) throw EFOpenError(FormatStr(kStrFileOpenError, fileName));
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
        throw EFOpenError(FormatStr(kStrFileOpenError, fileName));
    return bytes;
}

int64_t RoundDivide(int64_t a, int64_t b) {
    int64_t q = a / b, r = a % b;
    if (2 * r > b || (2 * r == b && (q & 1))) ++q;
    return q;
}

// --- TWaveBuffer ---------------------------------------------------------

TWaveBuffer::TWaveBuffer(TWavePlayer& owner) : owner_(owner) {}

TWaveBuffer::~TWaveBuffer() { Unload(); }

void TWaveBuffer::Unload() {
    for (auto& id : voices_) {
        if (id) owner_.Mixer().RemoveVoice(id);
        id = 0;
    }
    fileName_.clear();
}

void TWaveBuffer::Load(const std::string& fileName) {
    Unload();
    WaveData wave = ReadWaveFile(ReadWholeFile(fileName));
    // Four voices over one copy of the samples; each starts silent, centred,
    // at the file's own rate.
    for (int i = 0; i < kVoices; ++i) {
        voices_[size_t(i)] = owner_.Mixer().AddVoice(wave.pcm);
        state_[size_t(i)] = VoiceState{};
    }
    originalRate_ = wave.rate;
    bytesPerSecond_ = wave.bytesPerSecond;
    fileName_ = fileName;
    currentVoice_ = 0;
    for (int i = 0; i < kVoices; ++i) {
        ApplyVolume(i);
        ApplyBalance(i);
        ApplyTempo(i);
    }
}

void TWaveBuffer::ApplyVolume(int voice) {
    const VoiceState& s = state_[size_t(voice)];
    const int product = s.volume * s.fadeLevel;
    const int attenuation = product == 0 ? kSilence : (product / 100) * 35 - 3500;
    owner_.Mixer().SetVolume(voices_[size_t(voice)], attenuation);
}

void TWaveBuffer::ApplyBalance(int voice) {
    owner_.Mixer().SetPan(voices_[size_t(voice)], state_[size_t(voice)].balance * 60 - 3000);
}

void TWaveBuffer::ApplyTempo(int voice) {
    int64_t hz = int64_t(state_[size_t(voice)].tempo) * originalRate_ / 100;
    owner_.Mixer().SetFrequency(voices_[size_t(voice)], int(std::clamp<int64_t>(hz, 100, 100000)));
}

void TWaveBuffer::Play(int volume, int tempo, int balance, bool loop) {
    if (!Loaded()) return;
    const int v = currentVoice_;
    VoiceState& s = state_[size_t(v)];
    s.fadingIn = s.fadingOut = false;
    s.fadeLevel = 100;
    SetVolume(v, volume);
    SetTempo(v, tempo);
    SetBalance(v, balance);
    auto& mixer = owner_.Mixer();
    mixer.Stop(voices_[size_t(v)]);
    mixer.SetCursor(voices_[size_t(v)], 0);
    mixer.Play(voices_[size_t(v)], loop);
    currentVoice_ = (currentVoice_ + 1) % kVoices;
}

void TWaveBuffer::Stop() {
    for (auto id : voices_)
        if (id) owner_.Mixer().Stop(id);
}

void TWaveBuffer::FadeIn(int milliseconds) {
    if (state_[0].fadingIn) return;
    const uint64_t now = platform::Sys().NowMillis();
    for (auto& s : state_) {
        s.fadingIn = true;
        s.fadingOut = false;
        s.fadeDuration = milliseconds;
        s.fadeLevel = 0;
        s.fadeStart = now;
        if (milliseconds <= 0) s.fadeLevel = 100;
    }
    Service();
}

void TWaveBuffer::FadeOut(int milliseconds) {
    if (state_[0].fadingOut) return;
    const uint64_t now = platform::Sys().NowMillis();
    for (auto& s : state_) {
        s.fadingOut = true;
        s.fadingIn = false;
        s.fadeDuration = milliseconds;
        s.fadeLevel = 100;
        s.fadeStart = now;
        if (milliseconds <= 0) s.fadeLevel = 0;
    }
    Service();
}

void TWaveBuffer::SetVolume(int voice, int value) {
    value = std::clamp(value, 0, 100);
    for (int i = 0; i < kVoices; ++i) {
        if (voice != -1 && voice != i) continue;
        state_[size_t(i)].volume = value;
        if (voices_[size_t(i)]) ApplyVolume(i);
    }
}

void TWaveBuffer::SetTempo(int voice, int value) {
    value = std::clamp(value, 1, 10000);
    for (int i = 0; i < kVoices; ++i) {
        if (voice != -1 && voice != i) continue;
        state_[size_t(i)].tempo = value;
        if (voices_[size_t(i)]) ApplyTempo(i);
    }
}

void TWaveBuffer::SetBalance(int voice, int value) {
    value = std::clamp(value, 0, 100);
    for (int i = 0; i < kVoices; ++i) {
        if (voice != -1 && voice != i) continue;
        state_[size_t(i)].balance = value;
        if (voices_[size_t(i)]) ApplyBalance(i);
    }
}

bool TWaveBuffer::IsPlaying() const {
    for (auto id : voices_)
        if (id && owner_.Mixer().IsPlaying(id)) return true;
    return false;
}

double TWaveBuffer::Position() const {
    for (auto id : voices_)
        if (id && owner_.Mixer().IsPlaying(id))
            return bytesPerSecond_ ? double(owner_.Mixer().Cursor(id)) / double(bytesPerSecond_) : 0.0;
    return 0.0;
}

void TWaveBuffer::Service() {
    if (!Loaded()) return;
    const uint64_t now = platform::Sys().NowMillis();
    for (int i = 0; i < kVoices; ++i) {
        VoiceState& s = state_[size_t(i)];
        if ((s.fadingIn || s.fadingOut) && s.fadeDuration > 0) {
            int64_t amount = RoundDivide(int64_t(now - s.fadeStart) * 100, s.fadeDuration);
            if (amount > 100) amount = 100;
            s.fadeLevel = int(s.fadingIn ? amount : 100 - amount);
        }
        ApplyVolume(i);
    }
}

// --- TWavePlayer ---------------------------------------------------------

TWavePlayer::TWavePlayer(platform::audio::Mixer& mixer) : mixer_(mixer) {
    if (!mixer_.IsOpen()) throw EDirectSoundError::Unavailable();
    music_ = std::make_unique<TWaveBuffer>(*this);
    timer_ = platform::Sys().StartMainThreadTimer(50, [this] { Service(); });
}

TWavePlayer::~TWavePlayer() {
    timer_.reset();
    music_.reset();
    sounds_.clear();
}

void TWavePlayer::SetSoundCount(int n) {
    if (n < 0) n = 0;
    while (int(sounds_.size()) < n) sounds_.push_back(std::make_unique<TWaveBuffer>(*this));
    while (int(sounds_.size()) > n) sounds_.pop_back();
}

void TWavePlayer::Service() {
    music_->Service();
    for (auto& s : sounds_) s->Service();
}
