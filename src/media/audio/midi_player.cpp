#include "media/audio/midi_player.h"

#include <algorithm>
#include <cstring>
#include <queue>

#include "data/byte_reader.h"
#include "media/audio/audio_errors.h"
#include "media/audio/wave_player.h"

namespace {

// The General MIDI System On message, sent at the start of every play.
const uint8_t kGmSystemOn[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};

uint32_t Controller(int channel, int number, int value) {
    return uint32_t(0xB0 | channel) | (uint32_t(number) << 8) | (uint32_t(value & 0x7F) << 16);
}

// Thrown inside the merge; the merge turns it into an empty sequence.
struct MergeError {};

}  // namespace

struct TMidiPlayer::Track {
    ByteReader data;
    uint8_t runningStatus = 0;
    uint32_t nextTick = 0;

    uint8_t Byte() {
        if (data.AtEnd()) throw MergeError{};
        return data.ReadU8();
    }
    // A variable-length number: 7 bits a byte, most significant first, at
    // most four bytes.
    uint32_t Number() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b = Byte();
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80)) return v;
        }
        throw MergeError{};
    }
};

TMidiPlayer::TMidiPlayer(std::unique_ptr<platform::audio::MidiOut> out) : out_(std::move(out)) {
    if (!out_) throw EMidiError("no MIDI output");
    channelVolume_.fill(100);
    channelPan_.fill(64);
    out_->SetClock([this] { Step(); });
}

TMidiPlayer::~TMidiPlayer() {
    // The clock first, outside our lock: the clock holds its own lock while
    // it calls Step, which takes ours.
    out_->SetClock(nullptr);
    std::lock_guard lock(mutex_);
    StopLocked();
    out_->Reset();
}

bool TMidiPlayer::Playing() const {
    std::lock_guard lock(mutex_);
    return playing_;
}

bool TMidiPlayer::Looped() const {
    std::lock_guard lock(mutex_);
    return looped_;
}

uint32_t TMidiPlayer::CurrentTick() const {
    std::lock_guard lock(mutex_);
    return currentTick_;
}

void TMidiPlayer::ClearLocked() {
    events_.clear();
    sysEx_.clear();
    lastTick_ = loopTick_ = 0;
    loopIndex_ = 0;
}

void TMidiPlayer::Load(const std::string& fileName) {
    std::vector<uint8_t> bytes = ReadWholeFile(fileName);
    LoadBytes(bytes);
    std::lock_guard lock(mutex_);
    fileName_ = fileName;
}

void TMidiPlayer::LoadBytes(std::span<const uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    StopLocked();
    ClearLocked();
    fileName_.clear();

    std::vector<Track> tracks;
    try {
        ByteReader r(bytes);
        char id[4];
        r.ReadBytes(id, 4);
        if (std::memcmp(id, "MThd", 4) != 0 || r.ReadU32BE() != 6) throw EInvalidMidiFile();
        r.ReadU16BE();  // format: the merge treats every file alike
        const int trackCount = r.ReadU16BE();
        division_ = r.ReadU16BE();
        stepMicros_ = int64_t(division_) * periodMicros_;
        // Each track needs at least its 8-byte header: a count the file can't
        // hold fails below before anything large is allocated.
        tracks.reserve(size_t(std::min<size_t>(size_t(trackCount), r.Remaining() / 8)));
        for (int t = 0; t < trackCount; ++t) {
            r.ReadBytes(id, 4);
            if (std::memcmp(id, "MTrk", 4) != 0) throw EInvalidMidiFile();
            uint32_t length = r.ReadU32BE();
            Track track{r.Sub(length)};
            try {
                track.nextTick = track.Number();
            } catch (const MergeError&) {
                throw EInvalidMidiFile();
            }
            tracks.push_back(std::move(track));
        }
    } catch (const EReadError&) {
        throw EInvalidMidiFile();
    }

    sysEx_.emplace_back(std::begin(kGmSystemOn), std::end(kGmSystemOn));
    for (int c = 0; c < 16; ++c) ShortMessage(Controller(c, 121, 0));
    Merge(tracks);
}

void TMidiPlayer::Merge(std::vector<Track>& tracks) {
    // The track with the smallest next tick goes first; a tie goes to the
    // lower-numbered track.
    using Entry = std::pair<uint32_t, size_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    for (size_t t = 0; t < tracks.size(); ++t)
        if (!tracks[t].data.AtEnd()) queue.push({tracks[t].nextTick, t});
    try {
        while (!queue.empty()) {
            const size_t t = queue.top().second;
            queue.pop();
            Track& tr = tracks[t];
            TMidiEvent e;
            e.Tick = tr.nextTick;
            uint8_t status = tr.Byte();
            if (status == 0xFF) {
                uint8_t type = tr.Byte();
                uint32_t length = tr.Number();
                if (length > tr.data.Remaining()) throw MergeError{};
                e.Data.reserve(length + 2);
                e.Data.push_back(0xFF);
                e.Data.push_back(type);
                auto body = tr.data.Take(length);
                e.Data.insert(e.Data.end(), body.begin(), body.end());
                if (type == 0x51) {
                    if (length != 3) throw MergeError{};
                    e.Tempo = (uint32_t(body[0]) << 16) | (uint32_t(body[1]) << 8) | body[2];
                }
            } else if (status >= 0xF0) {
                uint32_t length = tr.Number();
                if (length > tr.data.Remaining()) throw MergeError{};
                e.Data.reserve(length + 1);
                e.Data.push_back(status);
                auto body = tr.data.Take(length);
                e.Data.insert(e.Data.end(), body.begin(), body.end());
            } else {
                uint8_t first;
                if (status & 0x80) {
                    tr.runningStatus = status;
                    first = tr.Byte();
                } else {
                    if (tr.runningStatus == 0) throw MergeError{};
                    first = status;
                    status = tr.runningStatus;
                }
                uint8_t second = 0;
                if (status < 0xC0 || status > 0xDF) second = tr.Byte();
                e.Message = uint32_t(status) | (uint32_t(first) << 8) | (uint32_t(second) << 16);
            }
            // A track goes on while it has bytes; a delta time that ends it
            // (some editors write one) leads to no event and is dropped.
            // Ticks stop at the largest value rather than wrap, so the
            // merged list stays in time order.
            if (!tr.data.AtEnd()) {
                tr.nextTick = uint32_t(std::min<uint64_t>(uint64_t(tr.nextTick) + tr.Number(), UINT32_MAX));
                if (!tr.data.AtEnd()) queue.push({tr.nextTick, t});
            }
            if (events_.size() >= kMaxEvents) throw MergeError{};
            if (!e.Data.empty() && e.Data[0] == 0xF0) {
                e.SysExIndex = int(sysEx_.size());
                sysEx_.push_back(e.Data);
            }
            const bool marker = (e.Message & 0xF0) == 0xB0 && ((e.Message >> 8) & 0xFF) == 111;
            events_.push_back(std::move(e));
            if (marker) {
                loopTick_ = events_.back().Tick;
                size_t i = events_.size() - 1;
                while (i > 0 && events_[i - 1].Tick >= loopTick_) --i;
                loopIndex_ = i;
            }
        }
        if (events_.empty()) throw MergeError{};
        // The song ends at its last kept event, whatever delta times the
        // tracks ended with.
        lastTick_ = events_.back().Tick;
    } catch (const MergeError&) {
        // A damaged track leaves a silent, empty sequence rather than an error.
        ClearLocked();
    } catch (const EReadError&) {
        ClearLocked();
    }
}

void TMidiPlayer::ComputeQuarterMicros() {
    const int64_t value = tempoMicros_ * 100 / tempoPercent_;
    // The step divides by q·d with q below 65536.
    int best = 0;
    int64_t bestRemainder = 0;
    for (int d = 1; d <= 128; ++d) {
        if (value / d >= 65536) continue;
        int64_t remainder = value % d;
        if (best == 0 || remainder < bestRemainder) {
            best = d;
            bestRemainder = remainder;
        }
    }
    const int64_t d = best ? best : 1024;
    quarterMicros_ = (value / d) * d;
    // A zero tempo (or a tiny one at a high percentage) would divide by zero.
    if (quarterMicros_ < 1) quarterMicros_ = 1;
}

void TMidiPlayer::Play() {
    std::lock_guard lock(mutex_);
    StopLocked();
    if (events_.empty()) return;
    nextIndex_ = 0;
    currentTick_ = 0;
    tickCarry_ = 0;
    balance_ = 50;
    volume_ = 100;
    tempoPercent_ = 100;
    fadingIn_ = fadingOut_ = false;
    fadeDuration_ = 0;
    fadeLevel_ = 100;
    resetSent_ = bendSent_ = volumesSent_ = pansSent_ = false;
    tempoMicros_ = 500000;
    for (const auto& e : events_)
        if (e.Data.size() >= 2 && e.Data[0] == 0xFF && e.Data[1] == 0x51) {
            tempoMicros_ = e.Tempo;
            break;
        }
    ComputeQuarterMicros();
    // Skip leading silence: start half a beat before the first note, marker
    // or system-exclusive message, computed in 16 bits (exact below tick 32768).
    for (const auto& e : events_) {
        const uint8_t kind = uint8_t(e.Message & 0xF0);
        const bool note = kind == 0x90;
        const bool marker = kind == 0xB0 && ((e.Message >> 8) & 0xFF) == 111;
        if (note || marker || e.SysExIndex >= 0) {
            int16_t s = int16_t(uint16_t(uint16_t(e.Tick) - uint16_t(division_ / 2)));
            currentTick_ = uint32_t(std::max<int>(0, s));
            break;
        }
    }
    channelVolume_.fill(100);
    channelPan_.fill(64);
    playing_ = true;
    looped_ = false;
    startTime_ = now_;
}

void TMidiPlayer::StopLocked() {
    if (!playing_) return;
    playing_ = looped_ = false;
    for (int c = 0; c < 16; ++c) {
        ShortMessage(Controller(c, 64, 0));
        ShortMessage(Controller(c, 123, 0));
    }
}

void TMidiPlayer::Stop() {
    std::lock_guard lock(mutex_);
    StopLocked();
}

void TMidiPlayer::SendSysEx(size_t index) {
    if (index >= sysEx_.size()) return;
    const auto& m = sysEx_[index];
    // The output takes the message without its framing bytes.
    size_t begin = !m.empty() && m[0] == 0xF0 ? 1 : 0;
    size_t end = m.size();
    if (end > begin && m[end - 1] == 0xF7) --end;
    out_->SysEx(m.data() + begin, end - begin);
    if (index == 0) {
        resetSent_ = true;
        startTime_ = now_ - 50;
    }
}

void TMidiPlayer::SendVolumes() {
    const uint64_t now = now_;
    if (fadeDuration_ > 0 && (fadingIn_ || fadingOut_)) {
        int64_t amount = RoundDivide(int64_t(now - fadeStart_) * 100, fadeDuration_);
        if (fadingIn_) {
            fadeLevel_ = int(std::min<int64_t>(100, fadeBase_ + amount));
            if (fadeLevel_ >= 100) fadingIn_ = false;
        } else {
            fadeLevel_ = int(std::max<int64_t>(0, fadeBase_ - amount));
            if (fadeLevel_ <= 0) fadingOut_ = false;
        }
    }
    for (int c = 0; c < 16; ++c) {
        int64_t v = RoundDivide(int64_t(channelVolume_[size_t(c)]) * volume_, 100);
        v = RoundDivide(v * fadeLevel_, 100);
        ShortMessage(Controller(c, 7, int(std::clamp<int64_t>(v, 0, 127))));
    }
    lastVolumeSend_ = now;
}

void TMidiPlayer::SendPans() {
    for (int c = 0; c < 16; ++c)
        ShortMessage(Controller(c, 10, std::clamp(channelPan_[size_t(c)] + 2 * balance_ - 100, 0, 127)));
}

void TMidiPlayer::Step() {
    std::lock_guard lock(mutex_);
    ++now_;
    if (!playing_) return;

    // Staged start, one stage per step.
    if (!resetSent_) {
        if (now_ - startTime_ >= 50) SendSysEx(0);
        return;
    }
    const uint64_t elapsed = now_ - startTime_;
    if (!bendSent_) {
        if (elapsed >= 100) {
            for (int c = 0; c < 16; ++c) {
                ShortMessage(Controller(c, 101, 0));
                ShortMessage(Controller(c, 100, 0));
                ShortMessage(Controller(c, 6, 2));
                ShortMessage(Controller(c, 38, 0));
            }
            bendSent_ = true;
        }
        return;
    }
    if (!volumesSent_) {
        if (elapsed >= 120) {
            SendVolumes();
            volumesSent_ = true;
        }
        return;
    }
    if (!pansSent_) {
        if (elapsed >= 130) {
            SendPans();
            pansSent_ = true;
        }
        return;
    }
    if (elapsed <= 140) return;

    // Advance the clock by one period.
    const int64_t x = stepMicros_ + tickCarry_;
    const int64_t q = int64_t(uint16_t(x / quarterMicros_));
    currentTick_ = uint32_t(std::min<uint64_t>(uint64_t(currentTick_) + uint64_t(q), UINT32_MAX));
    tickCarry_ = x - q * quarterMicros_;

    if ((fadingIn_ || fadingOut_) && now_ - lastVolumeSend_ >= 100) SendVolumes();

    // The sequence goes back to its loop point at most once a step, so a step
    // takes each event at most twice and always returns, whatever the file.
    bool wentBack = false;
    for (;;) {
        while (nextIndex_ < events_.size() && events_[nextIndex_].Tick <= currentTick_) {
            const TMidiEvent& e = events_[nextIndex_++];
            if (e.Message != 0) {
                uint32_t m = e.Message;
                const int channel = int(m & 0x0F);
                if ((m & 0xF0) == 0xB0) {
                    const int number = int((m >> 8) & 0xFF);
                    const int value = int((m >> 16) & 0xFF);
                    if (number == 7) {
                        channelVolume_[size_t(channel)] = value;
                        int v = std::clamp((value * volume_ / 100) * fadeLevel_ / 100, 0, 127);
                        m = Controller(channel, 7, v);
                    } else if (number == 10) {
                        channelPan_[size_t(channel)] = value;
                        m = Controller(channel, 10, std::clamp(value + 2 * balance_ - 100, 0, 127));
                    }
                }
                ShortMessage(m);
            } else if (e.SysExIndex >= 0) {
                SendSysEx(size_t(e.SysExIndex));
                return;  // at most one system-exclusive message a step
            } else if (e.Data.size() >= 2 && e.Data[0] == 0xFF && e.Data[1] == 0x51) {
                tempoMicros_ = e.Tempo;
                ComputeQuarterMicros();
            }
        }
        if (nextIndex_ < events_.size()) return;
        looped_ = true;
        // Rest at the end when the marker sits on the last tick, and when the
        // stretch from the loop point to the end holds no time (every event
        // on one tick): going back would replay the same instant for ever.
        if (loopTick_ >= lastTick_ || events_[loopIndex_].Tick >= lastTick_ || wentBack) return;
        nextIndex_ = loopIndex_;
        currentTick_ = events_[loopIndex_].Tick;
        tickCarry_ = 0;
        wentBack = true;
    }
}

void TMidiPlayer::FadeIn(int milliseconds) {
    std::lock_guard lock(mutex_);
    fadingIn_ = true;
    fadingOut_ = false;
    fadeBase_ = 0;
    fadeLevel_ = 0;
    fadeDuration_ = milliseconds;
    fadeStart_ = now_;
    if (milliseconds <= 0) {
        fadeLevel_ = 100;
        fadingIn_ = false;
    }
    if (volumesSent_) SendVolumes();
}

void TMidiPlayer::FadeOut(int milliseconds) {
    std::lock_guard lock(mutex_);
    fadingOut_ = true;
    fadingIn_ = false;
    fadeBase_ = fadeLevel_;
    fadeDuration_ = milliseconds;
    fadeStart_ = now_;
    if (milliseconds <= 0) {
        fadeLevel_ = 0;
        fadingOut_ = false;
    }
    if (volumesSent_) SendVolumes();
}

void TMidiPlayer::SetVolume(int value) {
    std::lock_guard lock(mutex_);
    volume_ = std::clamp(value, 0, 100);
    if (volumesSent_) SendVolumes();
}

void TMidiPlayer::SetBalance(int value) {
    std::lock_guard lock(mutex_);
    balance_ = std::clamp(value, 0, 100);
    if (pansSent_) SendPans();
}

void TMidiPlayer::SetTempo(int value) {
    std::lock_guard lock(mutex_);
    tempoPercent_ = std::clamp(value, 1, 10000);
    ComputeQuarterMicros();
}
