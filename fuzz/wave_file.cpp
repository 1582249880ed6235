// Fuzzes the wave reader (RIFF chunks, PCM, MS ADPCM): any bytes decode or
// raise "Invalid wave file", and what decodes is whole frames.
#include <cstdint>
#include <cstdlib>

#include "media/audio/audio_errors.h"
#include "media/audio/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        WaveData w = ReadWaveFile(std::span<const uint8_t>(data, size));
        if (!w.pcm || w.pcm->samples.size() % size_t(w.pcm->channels) != 0) abort();
    } catch (const EInvalidWaveFile&) {
    }
    return 0;
}
