// Wave files against the corpus: PCM as it stands, MS ADPCM against the
// reference decode whose predictor rounds toward zero, damaged files refused.

#include "media/audio/audio_errors.h"
#include "media/audio/wave_file.h"
#include "audio_test_support.h"

using namespace audio_test;

namespace {

WaveData Read(const std::string& name) { return ReadWaveFile(ReadBytes(AudioDir() / name)); }

}  // namespace

TEST(WaveFile, PcmFilesOfTheCorpus) {
    SKIP_WITHOUT_CORPUS();
    struct Case {
        const char* name;
        int channels, rate;
        size_t frames;
        int bytesPerFrame;
        uint32_t bytesPerSecond;
    } cases[] = {
        {"wav_pcm8_mono_11025.wav", 1, 11025, 15431, 1, 11025},
        {"wav_pcm16_mono_22050.wav", 1, 22050, 30868, 2, 44100},
        {"wav_pcm16_stereo_44100.wav", 2, 44100, 61740, 4, 176400},
        {"wav_pcm16_list_info_22050.wav", 1, 22050, 30868, 2, 44100},
        {"wav_pcm16_bext_list_11025.wav", 1, 11025, 15435, 2, 22050},
        {"wav_pcm16_odd_disp_chunk_22050.wav", 1, 22050, 30868, 2, 44100},
        {"wav_pcm8_odd_data_then_levl_11025.wav", 1, 11025, 15431, 1, 11025},
        {"wav_pcm16_streamed_sizes_ffffffff.wav", 1, 22050, 30868, 2, 44100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WaveData w = Read(c.name);
        EXPECT_EQ(w.pcm->channels, c.channels);
        EXPECT_EQ(w.rate, c.rate);
        EXPECT_EQ(w.pcm->Frames(), c.frames);
        EXPECT_EQ(w.pcm->bytesPerFrame, c.bytesPerFrame);
        EXPECT_EQ(w.bytesPerSecond, c.bytesPerSecond);
    }
    // The same samples whatever chunks surround them.
    auto plain = Read("wav_pcm16_mono_22050.wav").pcm->samples;
    EXPECT_EQ(Read("wav_pcm16_odd_disp_chunk_22050.wav").pcm->samples, plain);
    EXPECT_EQ(Read("wav_pcm16_list_info_22050.wav").pcm->samples, plain);
    // 8-bit samples are unsigned around 128.
    auto raw = ReadBytes(AudioDir() / "wav_pcm8_mono_11025.wav");
    auto eight = Read("wav_pcm8_mono_11025.wav").pcm->samples;
    EXPECT_EQ(eight[100], int16_t((int(raw[36 + 8 + 100]) - 128) * 256));
}

TEST(WaveFile, MsAdpcmMatchesTheReferenceThatDivides) {
    SKIP_WITHOUT_CORPUS();
    for (const char* name : {"wav_msadpcm_mono_22050.wav", "wav_msadpcm_stereo_22050.wav",
                             "wav_msadpcm_stereo_44100.wav", "wav_msadpcm_mono_11025_ffmpeg_bs256.wav"}) {
        SCOPED_TRACE(name);
        WaveData w = Read(name);
        auto expected = ReadS16(AudioDir() / (std::string(name) + ".ffmpeg.s16"));
        ASSERT_EQ(w.pcm->samples.size(), expected.size());
        size_t differing = 0;
        for (size_t i = 0; i < expected.size(); ++i) differing += w.pcm->samples[i] != expected[i];
        EXPECT_EQ(differing, 0u);
        EXPECT_EQ(w.pcm->bytesPerFrame, 2 * w.pcm->channels);
        EXPECT_EQ(w.bytesPerSecond, uint32_t(w.rate * 2 * w.pcm->channels));
    }
}

TEST(WaveFile, RefusesWhatItCannotPlay) {
    SKIP_WITHOUT_CORPUS();
    for (const char* name : {"wav_imaadpcm_mono_22050.wav", "wav_imaadpcm_stereo_44100.wav",
                             "broken_riff_avi_not_wave.wav", "broken_wav_truncated_data.wav",
                             "broken_wav_truncated_msadpcm.wav", "broken_wav_header_only.wav", "broken_wav_empty.wav"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(Read(name), EInvalidWaveFile);
    }
}

namespace {
std::vector<uint8_t> MakeWave(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t align, uint16_t bits,
                              std::vector<uint8_t> data, std::vector<uint8_t> extraFmt = {}) {
    std::vector<uint8_t> f;
    auto u16 = [&](uint32_t v) { f.push_back(uint8_t(v)); f.push_back(uint8_t(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    auto id = [&](const char* s) { for (int i = 0; i < 4; ++i) f.push_back(uint8_t(s[i])); };
    id("RIFF");
    u32(0);
    id("WAVE");
    id("fmt ");
    u32(uint32_t(16 + extraFmt.size()));
    u16(tag); u16(channels); u32(rate); u32(rate * align); u16(align); u16(bits);
    for (uint8_t b : extraFmt) f.push_back(b);
    id("data");
    u32(uint32_t(data.size()));
    for (uint8_t b : data) f.push_back(b);
    return f;
}
}  // namespace

TEST(WaveFile, ValidatesTheFormatBeforeDecoding) {
    EXPECT_THROW(ReadWaveFile(MakeWave(1, 0, 22050, 2, 16, {0, 0})), EInvalidWaveFile);   // no channels
    EXPECT_THROW(ReadWaveFile(MakeWave(1, 1, 0, 2, 16, {0, 0})), EInvalidWaveFile);       // no rate
    EXPECT_THROW(ReadWaveFile(MakeWave(1, 1, 22050, 3, 16, {0, 0})), EInvalidWaveFile);   // wrong alignment
    EXPECT_THROW(ReadWaveFile(MakeWave(1, 1, 22050, 3, 24, {0, 0, 0})), EInvalidWaveFile);
    EXPECT_THROW(ReadWaveFile(MakeWave(3, 1, 22050, 4, 32, {0, 0, 0, 0})), EInvalidWaveFile);  // IEEE float
    // MS ADPCM with a block predictor beyond its coefficient table.
    std::vector<uint8_t> extra = {32, 0, 4, 0, 1, 0, 0, 1, 0, 0};  // cbSize, 4 samples/block, 1 pair 256/0
    std::vector<uint8_t> block = {1, 16, 0, 0, 0, 0, 0, 0x12};
    EXPECT_THROW(ReadWaveFile(MakeWave(2, 1, 22050, 8, 4, block, extra)), EInvalidWaveFile);
    block[0] = 0;
    WaveData w = ReadWaveFile(MakeWave(2, 1, 22050, 8, 4, block, extra));
    EXPECT_EQ(w.pcm->samples.size(), 4u);
    // A cut wave of reasonable header keeps its rate even with a wrong
    // average byte rate, which only measures the position.
    auto odd = MakeWave(1, 1, 22050, 2, 16, {1, 0, 2, 0});
    odd[28] = 7;  // low byte of the average bytes per second, 44100 = 0xAC44
    EXPECT_EQ(ReadWaveFile(odd).bytesPerSecond, 0xAC07u);
}
