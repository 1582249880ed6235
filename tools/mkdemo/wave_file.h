#pragma once
// RIFF wave files: 16-bit PCM, and MS ADPCM through a small encoder of our
// own (the game decodes it at load time).

#include <cstdint>
#include <vector>

#include "output.h"

namespace mkdemo {

// Mono 16-bit PCM wave.
Bytes EncodePcmWave(const std::vector<int16_t>& samples, int sample_rate);

// Mono MS ADPCM wave ("fmt " with the seven standard coefficient pairs,
// a "fact" chunk with the true sample count). Blocks are `block_align`
// bytes; the last block is padded with silence.
Bytes EncodeAdpcmWave(const std::vector<int16_t>& samples, int sample_rate, int block_align = 256);

// Decodes the mono MS ADPCM blocks of `data` the standard way; used by the
// tests to check the encoder against the original samples.
std::vector<int16_t> DecodeAdpcmBlocks(const uint8_t* data, size_t size, int block_align);

}  // namespace mkdemo
