#pragma once
// MIDI output: where the sequencer sends its messages.
//
// The synthesiser behind it renders into the mixer and keeps the sequencer's
// clock: it calls the clock function once for every millisecond of music it
// renders, between rendered slices, so note timing is exact to the sample.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform::audio {

class Mixer;

class MidiOut {
public:
    virtual ~MidiOut() = default;
    // A packed short message: status in bits 0-7, first data byte in bits
    // 8-15, second in bits 16-23.
    virtual void ShortMessage(uint32_t message) = 0;
    // A system-exclusive message without its F0 and F7 framing bytes.
    virtual void SysEx(const uint8_t* data, size_t size) = 0;
    // Puts the synthesiser back to its power-on state, all sound off.
    virtual void Reset() = 0;
    // Called once per millisecond of music (on the audio thread for a real
    // synthesiser); empty stops it. Never call this while holding a lock the
    // clock function takes.
    virtual void SetClock(std::function<void()> everyMillisecond) = 0;
    // Waits until the synthesiser can sound. False when it never will (its
    // sound font did not load): messages are then dropped. May raise the
    // error that stopped the set-up, once.
    virtual bool WaitUntilReady() { return true; }
};

// The sound font: VARNOW_SOUNDFONT when set, else Debian's General MIDI font.
std::string SoundFontPath();

// A General MIDI synthesiser playing through the mixer, or null when the
// mixer has no device or there is no sound font file. The sound font loads
// on a background thread: WaitUntilReady waits for it, and every message
// does.
std::unique_ptr<MidiOut> CreateSynthMidiOut(Mixer& mixer);

// The synthesiser alone, rendering into interleaved stereo 44.1 kHz frames
// (for the benchmark, which measures its share of the mixer's work).
class SynthRenderer {
public:
    virtual ~SynthRenderer() = default;
    virtual MidiOut& Out() = 0;
    virtual void Render(int16_t* out, int frames) = 0;
};
std::unique_ptr<SynthRenderer> CreateSynthRenderer();

}  // namespace platform::audio
