#pragma once
// A small standard-MIDI-file writer (format 1), enough for the demo's tunes:
// tempo, programs, controllers and notes on absolute ticks. The game only
// reads MIDI files, so this writer belongs to the tool.

#include <cstdint>
#include <string>
#include <deque>
#include <vector>

#include "output.h"

namespace mkdemo {

class MidiTrack {
public:
    explicit MidiTrack(std::string name) : name_(std::move(name)) {}

    void Tempo(uint32_t tick, int beats_per_minute);
    void TimeSignature(uint32_t tick, int numerator, int denominator_power);
    void Program(uint32_t tick, int channel, int program);
    void Controller(uint32_t tick, int channel, int controller, int value);
    // A note-on at `tick` and its note-off `length` ticks later.
    void Note(uint32_t tick, int channel, int key, int velocity, uint32_t length);
    // The controller-111 mark the player loops back to.
    void LoopPoint(uint32_t tick) { Controller(tick, 0, 111, 0); }
    // Where the track ends (its end-of-track meta event); by default just
    // after the last event.
    void EndAt(uint32_t tick) { end_tick_ = tick; }

    // The track's chunk: "MTrk", length, events with delta times.
    Bytes Serialize() const;

private:
    struct Event {
        uint32_t tick;
        int order;      // at one tick: note-offs, then settings, then note-ons
        uint32_t seq;   // insertion order breaks remaining ties
        Bytes data;     // status byte and data, or a whole meta event
    };
    void Add(uint32_t tick, int order, Bytes data);

    std::string name_;
    std::vector<Event> events_;
    uint32_t end_tick_ = 0;
};

class MidiSong {
public:
    explicit MidiSong(int division = 480) : division_(division) {}
    int division() const { return division_; }
    MidiTrack& AddTrack(const std::string& name);
    Bytes Serialize() const;  // "MThd" + tracks

private:
    int division_;
    std::deque<MidiTrack> tracks_;  // stable references for AddTrack
};

// Writes a MIDI variable-length quantity (7 bits a byte, most significant
// group first).
void PutVarLen(Bytes& out, uint32_t value);

}  // namespace mkdemo
