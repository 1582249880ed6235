#include "wave_file.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace mkdemo {
namespace {

constexpr int kCoefficients[7][2] = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
constexpr int kAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};

Bytes RiffWrap(const Bytes& chunks) {
    Bytes out;
    PutTag(out, "RIFF");
    PutU32LE(out, static_cast<uint32_t>(chunks.size() + 4));
    PutTag(out, "WAVE");
    out.insert(out.end(), chunks.begin(), chunks.end());
    return out;
}

void PutChunk(Bytes& out, const char (&tag)[5], const Bytes& body) {
    PutTag(out, tag);
    PutU32LE(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);  // chunks are word-aligned
}

int16_t Clamp16(int value) {
    return static_cast<int16_t>(std::clamp(value, static_cast<int>(std::numeric_limits<int16_t>::min()),
                                           static_cast<int>(std::numeric_limits<int16_t>::max())));
}

// Encoder state of one block.
struct AdpcmState {
    int sample1;
    int sample2;
    int delta;
    int predictor;
};

// Encodes one sample, updating the state; returns the 4-bit code.
int EncodeSample(AdpcmState& state, int sample) {
    const int* coef = kCoefficients[state.predictor];
    const int predicted = (state.sample1 * coef[0] + state.sample2 * coef[1]) / 256;
    const int error = sample - predicted;
    // Round the error to the nearest step.
    int code = (error >= 0 ? error + state.delta / 2 : error - state.delta / 2) / state.delta;
    code = std::clamp(code, -8, 7);
    const int decoded = Clamp16(predicted + code * state.delta);
    state.sample2 = state.sample1;
    state.sample1 = decoded;
    state.delta = std::max(16, kAdaptation[code & 15] * state.delta / 256);
    return code & 15;
}

// Encodes one block of samples (count = samples per block) with a given
// predictor; returns the block bytes and adds the squared error to `cost`.
Bytes EncodeBlock(const int16_t* samples, int count, int predictor, double* cost) {
    AdpcmState state{samples[1], samples[0], 16, predictor};
    // A starting step near the first differences avoids a long ramp-up.
    int first_step = 0;
    for (int i = 2; i < std::min(count, 10); ++i) first_step += std::abs(samples[i] - samples[i - 1]);
    state.delta = std::max(16, first_step / 8);
    Bytes block;
    block.push_back(static_cast<uint8_t>(predictor));
    PutU16LE(block, static_cast<uint16_t>(state.delta));
    PutU16LE(block, static_cast<uint16_t>(static_cast<int16_t>(state.sample1)));
    PutU16LE(block, static_cast<uint16_t>(static_cast<int16_t>(state.sample2)));
    double error = 0;
    for (int i = 2; i < count; i += 2) {
        const int high = EncodeSample(state, samples[i]);
        error += static_cast<double>(state.sample1 - samples[i]) * (state.sample1 - samples[i]);
        int low = 0;
        if (i + 1 < count) {
            low = EncodeSample(state, samples[i + 1]);
            error += static_cast<double>(state.sample1 - samples[i + 1]) * (state.sample1 - samples[i + 1]);
        }
        block.push_back(static_cast<uint8_t>((high << 4) | low));
    }
    *cost = error;
    return block;
}

}  // namespace

Bytes EncodePcmWave(const std::vector<int16_t>& samples, int sample_rate) {
    Bytes format;
    PutU16LE(format, 1);                                          // PCM
    PutU16LE(format, 1);                                          // mono
    PutU32LE(format, static_cast<uint32_t>(sample_rate));
    PutU32LE(format, static_cast<uint32_t>(sample_rate) * 2);     // bytes per second
    PutU16LE(format, 2);                                          // block align
    PutU16LE(format, 16);                                         // bits per sample
    Bytes data;
    data.reserve(samples.size() * 2);
    for (int16_t sample : samples) PutU16LE(data, static_cast<uint16_t>(sample));
    Bytes chunks;
    PutChunk(chunks, "fmt ", format);
    PutChunk(chunks, "data", data);
    return RiffWrap(chunks);
}

Bytes EncodeAdpcmWave(const std::vector<int16_t>& samples, int sample_rate, int block_align) {
    // Header of 7 bytes holds two samples; every further byte two more.
    const int per_block = (block_align - 7) * 2 + 2;
    Bytes data;
    for (size_t start = 0; start < samples.size(); start += static_cast<size_t>(per_block)) {
        std::vector<int16_t> chunk(static_cast<size_t>(per_block), 0);
        std::copy_n(samples.begin() + static_cast<std::ptrdiff_t>(start),
                    std::min<size_t>(static_cast<size_t>(per_block), samples.size() - start), chunk.begin());
        // Pick the predictor that follows this block best.
        Bytes best;
        double best_cost = 0;
        for (int predictor = 0; predictor < 7; ++predictor) {
            double cost = 0;
            Bytes block = EncodeBlock(chunk.data(), per_block, predictor, &cost);
            if (best.empty() || cost < best_cost) {
                best = std::move(block);
                best_cost = cost;
            }
        }
        data.insert(data.end(), best.begin(), best.end());
    }

    Bytes format;
    PutU16LE(format, 2);  // MS ADPCM
    PutU16LE(format, 1);
    PutU32LE(format, static_cast<uint32_t>(sample_rate));
    // Average bytes per second as the usual encoders state it.
    PutU32LE(format, static_cast<uint32_t>(static_cast<uint64_t>(sample_rate) * block_align / per_block));
    PutU16LE(format, static_cast<uint32_t>(block_align));
    PutU16LE(format, 4);
    PutU16LE(format, 32);  // extra bytes that follow
    PutU16LE(format, static_cast<uint32_t>(per_block));
    PutU16LE(format, 7);
    for (const auto& pair : kCoefficients) {
        PutU16LE(format, static_cast<uint16_t>(static_cast<int16_t>(pair[0])));
        PutU16LE(format, static_cast<uint16_t>(static_cast<int16_t>(pair[1])));
    }
    Bytes fact;
    PutU32LE(fact, static_cast<uint32_t>(samples.size()));
    Bytes chunks;
    PutChunk(chunks, "fmt ", format);
    PutChunk(chunks, "fact", fact);
    PutChunk(chunks, "data", data);
    return RiffWrap(chunks);
}

std::vector<int16_t> DecodeAdpcmBlocks(const uint8_t* data, size_t size, int block_align) {
    std::vector<int16_t> out;
    for (size_t start = 0; start + static_cast<size_t>(block_align) <= size; start += static_cast<size_t>(block_align)) {
        const uint8_t* block = data + start;
        const int predictor = std::min<int>(block[0], 6);
        int delta = static_cast<int16_t>(block[1] | (block[2] << 8));
        int sample1 = static_cast<int16_t>(block[3] | (block[4] << 8));
        int sample2 = static_cast<int16_t>(block[5] | (block[6] << 8));
        out.push_back(static_cast<int16_t>(sample2));
        out.push_back(static_cast<int16_t>(sample1));
        for (int i = 7; i < block_align; ++i) {
            for (int nibble : {block[i] >> 4, block[i] & 15}) {
                const int code = nibble >= 8 ? nibble - 16 : nibble;
                const int predicted =
                    (sample1 * kCoefficients[predictor][0] + sample2 * kCoefficients[predictor][1]) / 256;
                const int decoded = Clamp16(predicted + code * delta);
                sample2 = sample1;
                sample1 = decoded;
                out.push_back(static_cast<int16_t>(decoded));
                delta = std::max(16, kAdaptation[nibble] * delta / 256);
            }
        }
    }
    return out;
}

}  // namespace mkdemo
