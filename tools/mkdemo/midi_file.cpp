#include "midi_file.h"

#include <algorithm>
#include <stdexcept>

namespace mkdemo {

void PutVarLen(Bytes& out, uint32_t value) {
    uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(static_cast<uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

void MidiTrack::Add(uint32_t tick, int order, Bytes data) {
    events_.push_back(Event{tick, order, static_cast<uint32_t>(events_.size()), std::move(data)});
}

static uint8_t Clamp7(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 127)); }

void MidiTrack::Tempo(uint32_t tick, int beats_per_minute) {
    const uint32_t micros = 60000000u / static_cast<uint32_t>(std::max(1, beats_per_minute));
    Add(tick, 1, Bytes{0xFF, 0x51, 0x03, static_cast<uint8_t>(micros >> 16), static_cast<uint8_t>(micros >> 8),
                       static_cast<uint8_t>(micros)});
}

void MidiTrack::TimeSignature(uint32_t tick, int numerator, int denominator_power) {
    Add(tick, 1, Bytes{0xFF, 0x58, 0x04, static_cast<uint8_t>(numerator), static_cast<uint8_t>(denominator_power), 24, 8});
}

void MidiTrack::Program(uint32_t tick, int channel, int program) {
    Add(tick, 1, Bytes{static_cast<uint8_t>(0xC0 | (channel & 15)), Clamp7(program)});
}

void MidiTrack::Controller(uint32_t tick, int channel, int controller, int value) {
    Add(tick, 1, Bytes{static_cast<uint8_t>(0xB0 | (channel & 15)), Clamp7(controller), Clamp7(value)});
}

void MidiTrack::Note(uint32_t tick, int channel, int key, int velocity, uint32_t length) {
    const uint8_t ch = static_cast<uint8_t>(channel & 15);
    Add(tick, 2, Bytes{static_cast<uint8_t>(0x90 | ch), Clamp7(key), Clamp7(std::max(1, velocity))});
    Add(tick + length, 0, Bytes{static_cast<uint8_t>(0x80 | ch), Clamp7(key), 64});
}

Bytes MidiTrack::Serialize() const {
    std::vector<const Event*> sorted;
    sorted.reserve(events_.size());
    for (const Event& event : events_) sorted.push_back(&event);
    std::sort(sorted.begin(), sorted.end(), [](const Event* a, const Event* b) {
        if (a->tick != b->tick) return a->tick < b->tick;
        if (a->order != b->order) return a->order < b->order;
        return a->seq < b->seq;
    });

    Bytes body;
    // Track name first.
    body.push_back(0);
    body.push_back(0xFF);
    body.push_back(0x03);
    PutVarLen(body, static_cast<uint32_t>(name_.size()));
    body.insert(body.end(), name_.begin(), name_.end());

    uint32_t now = 0;
    for (const Event* event : sorted) {
        PutVarLen(body, event->tick - now);
        now = event->tick;
        body.insert(body.end(), event->data.begin(), event->data.end());
    }
    const uint32_t end = std::max(now, end_tick_);
    PutVarLen(body, end - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    Bytes chunk;
    PutTag(chunk, "MTrk");
    PutU32BE(chunk, static_cast<uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

MidiTrack& MidiSong::AddTrack(const std::string& name) {
    tracks_.emplace_back(name);
    return tracks_.back();
}

Bytes MidiSong::Serialize() const {
    if (tracks_.empty() || tracks_.size() > 0xFFFF) throw std::logic_error("MIDI song needs 1..65535 tracks");
    Bytes out;
    PutTag(out, "MThd");
    PutU32BE(out, 6);
    PutU16BE(out, 1);
    PutU16BE(out, static_cast<uint32_t>(tracks_.size()));
    PutU16BE(out, static_cast<uint32_t>(division_));
    for (const MidiTrack& track : tracks_) {
        const Bytes chunk = track.Serialize();
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

}  // namespace mkdemo
