#pragma once
// RIFF wave files: PCM (8 or 16 bits) as it stands, MS ADPCM decoded to
// 16-bit PCM once at load time. Anything else is "Invalid wave file".

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/audio/mixer.h"

struct WaveData {
    // 16-bit samples for the mixer; their bytesPerFrame is the block
    // alignment of the PCM format the voices stand for.
    std::shared_ptr<platform::audio::SampleData> pcm;
    int rate = 0;                  // samples per second of that PCM format
    uint32_t bytesPerSecond = 0;   // its average bytes per second (the file's own for PCM)
};

// Parses and decodes a whole wave file; raises EInvalidWaveFile.
WaveData ReadWaveFile(std::span<const uint8_t> bytes);

// The MS ADPCM coefficient pairs of a file's format chunk.
struct MsAdpcmFormat {
    int channels = 1;
    int blockAlign = 0;
    int samplesPerBlock = 0;
    std::vector<int16_t> coef1, coef2;
};

// Decodes MS ADPCM blocks to interleaved 16-bit samples. The predictor
// (s1*c1 + s2*c2)/256 rounds toward zero (a division, not a shift). A last
// partial block is decoded as far as its bytes go. Raises EInvalidWaveFile
// on a block whose predictor index has no coefficient pair.
std::vector<int16_t> DecodeMsAdpcm(std::span<const uint8_t> data, const MsAdpcmFormat& format);
