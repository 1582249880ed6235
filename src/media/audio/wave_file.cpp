#include "media/audio/wave_file.h"

#include <algorithm>
#include <cstring>

#include "data/byte_reader.h"
#include "media/audio/audio_errors.h"

namespace {

constexpr int kAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};

bool IsChunkIdByte(uint8_t b) { return b >= 0x20 && b <= 0x7E; }

// Moves the reader to the body of the next chunk called `id`, skipping
// others by their lengths, and returns the chunk's declared length. RIFF pads
// an odd-sized chunk with one byte that its length does not count; some
// writers leave it out, so after an odd chunk the next id is taken from
// whichever of the two offsets holds one.
uint32_t FindChunk(ByteReader& r, const char* id) {
    for (;;) {
        if (r.Remaining() < 8) throw EInvalidWaveFile();
        char name[4];
        r.ReadBytes(name, 4);
        uint32_t size = r.ReadU32LE();
        if (std::memcmp(name, id, 4) == 0) return size;
        if (size > r.Remaining()) throw EInvalidWaveFile();
        r.Skip(size);
        if ((size & 1) && r.Remaining() >= 5) {
            auto next = r.Data().subspan(r.Position(), 4);
            bool plain = std::all_of(next.begin(), next.end(), IsChunkIdByte);
            if (!plain) r.Skip(1);
        }
    }
}

int16_t Clamp16(int64_t v) { return int16_t(std::clamp<int64_t>(v, -32768, 32767)); }

}  // namespace

std::vector<int16_t> DecodeMsAdpcm(std::span<const uint8_t> data, const MsAdpcmFormat& f) {
    const int ch = f.channels;
    const size_t headerBytes = size_t(7 * ch);
    std::vector<int16_t> out;
    if (ch < 1 || ch > 2 || f.blockAlign < int(headerBytes)) throw EInvalidWaveFile();
    const size_t blocks = (data.size() + size_t(f.blockAlign) - 1) / size_t(f.blockAlign);
    out.reserve(blocks * size_t(f.samplesPerBlock) * size_t(ch));
    for (size_t offset = 0; offset < data.size(); offset += size_t(f.blockAlign)) {
        size_t blockSize = std::min(size_t(f.blockAlign), data.size() - offset);
        if (blockSize < headerBytes) break;  // not even a header: nothing to decode
        ByteReader r(data.subspan(offset, blockSize));
        int coefIndex[2] = {0, 0};
        int64_t delta[2] = {0, 0}, s1[2] = {0, 0}, s2[2] = {0, 0};
        for (int c = 0; c < ch; ++c) {
            coefIndex[c] = r.ReadU8();
            if (coefIndex[c] >= int(f.coef1.size())) throw EInvalidWaveFile();
        }
        for (int c = 0; c < ch; ++c) delta[c] = int16_t(r.ReadU16LE());
        for (int c = 0; c < ch; ++c) s1[c] = int16_t(r.ReadU16LE());
        for (int c = 0; c < ch; ++c) s2[c] = int16_t(r.ReadU16LE());
        // The header's two samples come first, the older one first.
        for (int c = 0; c < ch; ++c) out.push_back(int16_t(s2[c]));
        for (int c = 0; c < ch; ++c) out.push_back(int16_t(s1[c]));
        // Nibbles, high first; in stereo they alternate left, right.
        int64_t nibblesLeft = int64_t(f.samplesPerBlock - 2) * ch;
        int c = 0;
        while (nibblesLeft > 0 && !r.AtEnd()) {
            uint8_t byte = r.ReadU8();
            for (int half = 0; half < 2 && nibblesLeft > 0; ++half, --nibblesLeft) {
                int nibble = half == 0 ? byte >> 4 : byte & 0x0F;
                int64_t predictor = (s1[c] * f.coef1[size_t(coefIndex[c])] + s2[c] * f.coef2[size_t(coefIndex[c])]) / 256;
                predictor += int64_t(nibble >= 8 ? nibble - 16 : nibble) * delta[c];
                s2[c] = s1[c];
                s1[c] = Clamp16(predictor);
                out.push_back(int16_t(s1[c]));
                delta[c] = (int64_t(kAdaptation[nibble]) * delta[c]) >> 8;
                if (delta[c] < 16) delta[c] = 16;
                if (delta[c] > (1 << 24)) delta[c] = 1 << 24;  // hostile headers can't overflow it
                c = (c + 1) % ch;
            }
        }
        // A cut stereo block can end between the two channels.
        if (out.size() % size_t(ch)) out.pop_back();
    }
    return out;
}

WaveData ReadWaveFile(std::span<const uint8_t> bytes) {
    try {
        ByteReader r(bytes);
        char riff[4], wave[4];
        r.ReadBytes(riff, 4);
        r.ReadU32LE();
        r.ReadBytes(wave, 4);
        if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(wave, "WAVE", 4) != 0) throw EInvalidWaveFile();

        uint32_t fmtSize = FindChunk(r, "fmt ");
        if (fmtSize < 16 || fmtSize > r.Remaining()) throw EInvalidWaveFile();
        ByteReader fmt = r.Sub(fmtSize);
        if ((fmtSize & 1) && !r.AtEnd() && !IsChunkIdByte(r.Data()[r.Position()])) r.Skip(1);
        const uint16_t tag = fmt.ReadU16LE();
        const int channels = fmt.ReadU16LE();
        const uint32_t rate = fmt.ReadU32LE();
        const uint32_t avgBytes = fmt.ReadU32LE();
        const int blockAlign = fmt.ReadU16LE();
        const int bits = fmt.ReadU16LE();
        if (tag != 1 && tag != 2) throw EInvalidWaveFile();
        // What decoding and the mixer need; the average byte rate is kept as
        // the file gives it (it only measures the position).
        if (channels < 1 || channels > 2 || rate < 1 || rate > 1000000) throw EInvalidWaveFile();

        uint32_t dataSize = FindChunk(r, "data");
        if (dataSize == 0xFFFFFFFFu) {
            // A writer that streamed the file never came back to fill in the
            // size: the data runs to the end of the file.
            dataSize = uint32_t(std::min<size_t>(r.Remaining(), 0xFFFFFFFEu));
        }
        auto data = r.Take(dataSize);

        WaveData result;
        auto pcm = std::make_shared<platform::audio::SampleData>();
        pcm->channels = channels;
        pcm->rate = int(rate);
        if (tag == 1) {
            if ((bits != 8 && bits != 16) || blockAlign != channels * bits / 8) throw EInvalidWaveFile();
            const size_t frames = data.size() / size_t(blockAlign);
            pcm->samples.resize(frames * size_t(channels));
            if (bits == 8) {
                for (size_t i = 0; i < pcm->samples.size(); ++i) pcm->samples[i] = int16_t((int(data[i]) - 128) << 8);
            } else {
                for (size_t i = 0; i < pcm->samples.size(); ++i)
                    pcm->samples[i] = int16_t(data[2 * i] | (data[2 * i + 1] << 8));
            }
            pcm->bytesPerFrame = blockAlign;
            result.bytesPerSecond = avgBytes;
        } else {
            // MS ADPCM: cbSize, samples per block, the coefficient table.
            if (bits != 4 || blockAlign < 7 * channels || fmtSize < 22) throw EInvalidWaveFile();
            fmt.ReadU16LE();  // cbSize
            MsAdpcmFormat f;
            f.channels = channels;
            f.blockAlign = blockAlign;
            f.samplesPerBlock = fmt.ReadU16LE();
            const int maxSamples = (blockAlign - 7 * channels) * 2 / channels + 2;
            if (f.samplesPerBlock < 2 || f.samplesPerBlock > maxSamples) throw EInvalidWaveFile();
            const int numCoef = fmt.ReadU16LE();
            if (numCoef < 1 || size_t(numCoef) * 4 > fmt.Remaining()) throw EInvalidWaveFile();
            for (int i = 0; i < numCoef; ++i) {
                f.coef1.push_back(int16_t(fmt.ReadU16LE()));
                f.coef2.push_back(int16_t(fmt.ReadU16LE()));
            }
            pcm->samples = DecodeMsAdpcm(data, f);
            pcm->bytesPerFrame = 2 * channels;
            result.bytesPerSecond = rate * uint32_t(2 * channels);
        }
        result.rate = int(rate);
        result.pcm = std::move(pcm);
        return result;
    } catch (const EReadError&) {
        throw EInvalidWaveFile();
    }
}
