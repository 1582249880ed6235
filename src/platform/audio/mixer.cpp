#include "platform/audio/mixer.h"

#include <algorithm>
#include <cmath>

#include "platform/platform.h"

namespace platform::audio {

struct Mixer::Voice {
    std::shared_ptr<const SampleData> data;  // samples in memory, or
    std::shared_ptr<StreamSource> stream;    // a stream
    bool playing = false;
    bool loop = false;
    int volume = 0;
    int pan = 0;
    int frequency = 22050;
    uint64_t pos = 0;  // frames, 32.32 fixed point
    // Streams: decoded frames not yet consumed; pos counts from bufStart.
    std::vector<int16_t> buffer;
    size_t buffered = 0;  // frames in buffer
    bool streamEnded = false;
};

float GainOf(int hundredthsDb) {
    if (hundredthsDb <= kSilence) return 0.0f;
    if (hundredthsDb >= 0) return 1.0f;
    return std::pow(10.0f, float(hundredthsDb) / 2000.0f);
}

Mixer::Mixer() = default;

Mixer::~Mixer() { Close(); }

bool Mixer::Open() {
    if (open_) return true;
    if (!HasPlatform()) return false;
    open_ = Sys().OpenAudio([this](int16_t* out, int frames) { Mix(out, frames); });
    return open_;
}

void Mixer::Close() {
    if (!open_) return;
    open_ = false;
    if (HasPlatform()) Sys().CloseAudio();
}

Mixer::Voice* Mixer::Find(VoiceId id) const {
    auto it = voices_.find(id);
    return it == voices_.end() ? nullptr : it->second.get();
}

VoiceId Mixer::AddVoice(std::shared_ptr<const SampleData> data) {
    std::lock_guard lock(mutex_);
    auto v = std::make_unique<Voice>();
    v->frequency = std::clamp(data ? data->rate : kMixRate, kMinFrequency, kMaxFrequency);
    v->data = std::move(data);
    VoiceId id = nextId_++;
    voices_[id] = std::move(v);
    return id;
}

VoiceId Mixer::AddStream(std::shared_ptr<StreamSource> source) {
    std::lock_guard lock(mutex_);
    auto v = std::make_unique<Voice>();
    v->frequency = std::clamp(source ? source->Rate() : kMixRate, kMinFrequency, kMaxFrequency);
    v->stream = std::move(source);
    VoiceId id = nextId_++;
    voices_[id] = std::move(v);
    return id;
}

void Mixer::RemoveVoice(VoiceId id) {
    std::unique_ptr<Voice> doomed;
    {
        std::lock_guard lock(mutex_);
        auto it = voices_.find(id);
        if (it == voices_.end()) return;
        doomed = std::move(it->second);
        voices_.erase(it);
    }
    // The voice (and perhaps the last reference to its stream) goes here,
    // outside the lock.
}

bool Mixer::HasVoice(VoiceId id) const {
    std::lock_guard lock(mutex_);
    return Find(id) != nullptr;
}

void Mixer::Play(VoiceId id, bool loop) {
    std::lock_guard lock(mutex_);
    if (Voice* v = Find(id)) {
        v->playing = true;
        v->loop = loop;
        v->streamEnded = false;
    }
}

void Mixer::Stop(VoiceId id) {
    std::lock_guard lock(mutex_);
    if (Voice* v = Find(id)) v->playing = false;
}

void Mixer::SetCursor(VoiceId id, uint32_t bytes) {
    std::lock_guard lock(mutex_);
    Voice* v = Find(id);
    if (!v || !v->data) return;
    uint64_t frame = bytes / uint32_t(std::max(1, v->data->bytesPerFrame));
    if (frame > v->data->Frames()) frame = v->data->Frames();
    v->pos = frame << 32;
}

void Mixer::SetVolume(VoiceId id, int hundredthsDb) {
    std::lock_guard lock(mutex_);
    if (Voice* v = Find(id)) v->volume = std::clamp(hundredthsDb, kSilence, 0);
}

void Mixer::SetPan(VoiceId id, int hundredthsDb) {
    std::lock_guard lock(mutex_);
    if (Voice* v = Find(id)) v->pan = std::clamp(hundredthsDb, -10000, 10000);
}

void Mixer::SetFrequency(VoiceId id, int hz) {
    std::lock_guard lock(mutex_);
    if (Voice* v = Find(id)) v->frequency = std::clamp(hz, kMinFrequency, kMaxFrequency);
}

bool Mixer::IsPlaying(VoiceId id) const {
    std::lock_guard lock(mutex_);
    Voice* v = Find(id);
    return v && v->playing;
}

uint32_t Mixer::Cursor(VoiceId id) const {
    std::lock_guard lock(mutex_);
    Voice* v = Find(id);
    if (!v || !v->data) return 0;
    return uint32_t((v->pos >> 32) * uint64_t(std::max(1, v->data->bytesPerFrame)));
}

int Mixer::Volume(VoiceId id) const {
    std::lock_guard lock(mutex_);
    Voice* v = Find(id);
    return v ? v->volume : kSilence;
}

int Mixer::Pan(VoiceId id) const {
    std::lock_guard lock(mutex_);
    Voice* v = Find(id);
    return v ? v->pan : 0;
}

int Mixer::Frequency(VoiceId id) const {
    std::lock_guard lock(mutex_);
    Voice* v = Find(id);
    return v ? v->frequency : 0;
}

bool Mixer::Looping(VoiceId id) const {
    std::lock_guard lock(mutex_);
    Voice* v = Find(id);
    return v && v->loop;
}

size_t Mixer::VoiceCount() const {
    std::lock_guard lock(mutex_);
    return voices_.size();
}

void Mixer::Mix(int16_t* out, int frames) {
    if (frames <= 0) return;
    std::lock_guard lock(mutex_);
    acc_.assign(size_t(frames) * 2, 0.0f);
    for (auto& [id, v] : voices_) {
        if (!v->playing) continue;
        if (v->stream)
            MixStream(*v, acc_.data(), frames);
        else if (v->data)
            MixVoice(*v, acc_.data(), frames);
    }
    for (size_t i = 0; i < acc_.size(); ++i) {
        float s = acc_[i];
        out[i] = int16_t(s >= 32767.0f ? 32767 : s <= -32768.0f ? -32768 : std::lrintf(s));
    }
}

namespace {

// Left and right gains of a voice.
void Gains(int volume, int pan, float& left, float& right) {
    float g = GainOf(volume);
    left = right = g;
    if (pan > 0) left *= GainOf(-pan);
    if (pan < 0) right *= GainOf(pan);
}

}  // namespace

void Mixer::MixVoice(Voice& v, float* acc, int frames) {
    const SampleData& d = *v.data;
    const uint64_t count = d.Frames();
    if (count == 0 || (d.channels != 1 && d.channels != 2)) {
        v.playing = false;
        return;
    }
    float gl, gr;
    Gains(v.volume, v.pan, gl, gr);
    const bool silent = gl == 0.0f && gr == 0.0f;
    const uint64_t step = (uint64_t(v.frequency) << 32) / kMixRate;
    const int16_t* s = d.samples.data();
    const int ch = d.channels;
    for (int i = 0; i < frames; ++i) {
        uint64_t index = v.pos >> 32;
        if (index >= count) {
            if (!v.loop) {
                v.playing = false;
                v.pos = 0;
                return;
            }
            v.pos -= count << 32;
            index = v.pos >> 32;
        }
        if (!silent) {
            const float frac = float(v.pos & 0xFFFFFFFFu) * (1.0f / 4294967296.0f);
            uint64_t next = index + 1;
            if (next >= count) next = v.loop ? 0 : index;
            if (ch == 1) {
                float a = s[index], b = s[next];
                float x = a + (b - a) * frac;
                acc[2 * i] += x * gl;
                acc[2 * i + 1] += x * gr;
            } else {
                float al = s[2 * index], bl = s[2 * next];
                float ar = s[2 * index + 1], br = s[2 * next + 1];
                acc[2 * i] += (al + (bl - al) * frac) * gl;
                acc[2 * i + 1] += (ar + (br - ar) * frac) * gr;
            }
        }
        v.pos += step;
    }
}

void Mixer::MixStream(Voice& v, float* acc, int frames) {
    StreamSource& src = *v.stream;
    const int ch = src.Channels();
    if (ch != 1 && ch != 2) {
        v.playing = false;
        return;
    }
    const uint64_t step = (uint64_t(v.frequency) << 32) / kMixRate;
    // Frames this slice reads: up to the one after the last position.
    const size_t need = size_t((v.pos + step * uint64_t(frames)) >> 32) + 2;
    // Drop what has been consumed, then decode until enough is buffered.
    size_t consumed = std::min<size_t>(size_t(v.pos >> 32), v.buffered);
    if (consumed > 0) {
        std::copy(v.buffer.begin() + ptrdiff_t(consumed * ch), v.buffer.begin() + ptrdiff_t(v.buffered * ch),
                  v.buffer.begin());
        v.buffered -= consumed;
        v.pos -= uint64_t(consumed) << 32;
    }
    const size_t want = need;  // relative to the new buffer start
    if (v.buffer.size() < want * size_t(ch)) v.buffer.resize(want * size_t(ch));
    while (!v.streamEnded && v.buffered < want) {
        const int request = int(want - v.buffered);
        int got = src.Read(v.buffer.data() + v.buffered * size_t(ch), request);
        got = std::clamp(got, 0, request);
        v.buffered += size_t(got);
        if (got < request) v.streamEnded = true;
    }
    float gl, gr;
    Gains(v.volume, v.pan, gl, gr);
    const int16_t* s = v.buffer.data();
    for (int i = 0; i < frames; ++i) {
        size_t index = size_t(v.pos >> 32);
        if (index >= v.buffered) {
            v.playing = false;
            return;
        }
        size_t next = index + 1 < v.buffered ? index + 1 : index;
        const float frac = float(v.pos & 0xFFFFFFFFu) * (1.0f / 4294967296.0f);
        if (ch == 1) {
            float a = s[index], b = s[next];
            float x = a + (b - a) * frac;
            acc[2 * i] += x * gl;
            acc[2 * i + 1] += x * gr;
        } else {
            float al = s[2 * index], bl = s[2 * next];
            float ar = s[2 * index + 1], br = s[2 * next + 1];
            acc[2 * i] += (al + (bl - al) * frac) * gl;
            acc[2 * i + 1] += (ar + (br - ar) * frac) * gr;
        }
        v.pos += step;
    }
}

}  // namespace platform::audio
