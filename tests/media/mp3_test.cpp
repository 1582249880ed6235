// MP3 decoding against the corpus' reference decodes, and damaged files.

#include <chrono>
#include <cmath>

#include "platform/audio/mp3_stream.h"
#include "audio_test_support.h"

using namespace audio_test;

TEST(Mp3Decode, MatchesTheReferenceDecode) {
    SKIP_WITHOUT_CORPUS();
    struct Case {
        const char* name;
        int channels, rate;
    } cases[] = {
        {"mp3_cbr128_stereo_44100.mp3", 2, 44100},       {"mp3_vbr_mono_22050.mp3", 1, 22050},
        {"mp3_id3v2_cbr96_stereo_32000.mp3", 2, 32000},  {"mp3_notag_cbr64_mono_44100.mp3", 1, 44100},
        {"mp3_id3v1_cbr112_stereo_48000.mp3", 2, 48000}, {"mp3_short_0.1s_stereo_44100.mp3", 2, 44100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int16_t> pcm;
        int channels = 0, rate = 0;
        ASSERT_TRUE(platform::audio::DecodeMp3(ReadBytes(AudioDir() / c.name), pcm, channels, rate));
        EXPECT_EQ(channels, c.channels);
        EXPECT_EQ(rate, c.rate);
        auto expected = ReadS16(AudioDir() / (std::string(c.name) + ".ffmpeg.s16"));
        ASSERT_EQ(pcm.size(), expected.size());
        // Decoders differ only in rounding: at most a couple of steps.
        int worst = 0;
        for (size_t i = 0; i < pcm.size(); ++i) worst = std::max(worst, std::abs(pcm[i] - expected[i]));
        EXPECT_LE(worst, 2);
    }
}

TEST(Mp3Decode, DamagedFiles) {
    SKIP_WITHOUT_CORPUS();
    auto start = std::chrono::steady_clock::now();
    std::vector<int16_t> pcm;
    int channels = 0, rate = 0;
    // Cut mid-frame: what is there decodes.
    ASSERT_TRUE(platform::audio::DecodeMp3(ReadBytes(AudioDir() / "broken_mp3_truncated.mp3"), pcm, channels, rate));
    EXPECT_GT(pcm.size(), 44100u);
    std::string error;
    EXPECT_EQ(platform::audio::Mp3Stream::Open({}, error), nullptr);
    EXPECT_EQ(platform::audio::Mp3Stream::Open(std::vector<uint8_t>(5000, 0), error), nullptr);
    // A sync word followed by garbage: nothing decodes, so nothing would play.
    EXPECT_EQ(platform::audio::Mp3Stream::Open(ReadBytes(AudioDir() / "broken_mp3_random.mp3"), error), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(Mp3Decode, StreamLoopsAndCountsCompletions) {
    SKIP_WITHOUT_CORPUS();
    std::string error;
    auto s = platform::audio::Mp3Stream::Open(ReadBytes(AudioDir() / "mp3_short_0.1s_stereo_44100.mp3"), error);
    ASSERT_NE(s, nullptr);
    std::vector<int16_t> out(44100 * 2);
    EXPECT_EQ(s->Read(out.data(), 4000), 4000);
    EXPECT_EQ(s->Completions(), 0);
    EXPECT_EQ(s->Read(out.data(), 4410 * 3), 4410 * 3);  // gapless: 4410 frames a pass
    EXPECT_EQ(s->Completions(), 3);
    EXPECT_NEAR(s->Position(), (4000 + 4410 * 3 - 4410 * 3) / 44100.0, 0.001);
}
