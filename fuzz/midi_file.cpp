// Fuzzes the MIDI file reader and the sequencer: any bytes load or raise
// "Invalid MIDI File", and what loads plays for ten seconds of steps
// without hanging, with the tempo and volume controls moving.
#include <cstdint>
#include <cstdlib>

#include "media/audio/audio_errors.h"
#include "media/audio/midi_player.h"

namespace {
class NullOut : public platform::audio::MidiOut {
public:
    void ShortMessage(uint32_t) override {}
    void SysEx(const uint8_t*, size_t) override {}
    void Reset() override {}
    void SetClock(std::function<void()>) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMidiPlayer player(std::make_unique<NullOut>());
    try {
        player.LoadBytes(std::span<const uint8_t>(data, size));
    } catch (const EInvalidMidiFile&) {
        return 0;
    }
    player.Play();
    player.SetTempo(size > 0 ? data[0] * 40 : 100);
    player.FadeIn(300);
    for (int ms = 0; ms < 10000; ++ms) player.Step();
    return 0;
}
