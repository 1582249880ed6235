// The software mixer: gain in hundredths of a decibel, pan, resampling,
// looping, cursors in the source's bytes, and streams.

#include <cmath>

#include "platform/audio/mixer.h"
#include "audio_test_support.h"

using namespace platform::audio;

namespace {

std::shared_ptr<SampleData> Constant(int16_t value, size_t frames, int channels, int rate, int bytesPerFrame = 2) {
    auto d = std::make_shared<SampleData>();
    d->samples.assign(frames * size_t(channels), value);
    d->channels = channels;
    d->rate = rate;
    d->bytesPerFrame = bytesPerFrame;
    return d;
}

std::vector<int16_t> Render(Mixer& m, int frames) {
    std::vector<int16_t> out(size_t(frames) * 2);
    m.Mix(out.data(), frames);
    return out;
}

class Counter : public StreamSource {
public:
    explicit Counter(int total) : total_(total) {}
    int Channels() const override { return 1; }
    int Rate() const override { return kMixRate; }
    int Read(int16_t* out, int frames) override {
        int n = std::min(frames, total_ - next_);
        for (int i = 0; i < n; ++i) out[i] = int16_t(next_++);
        return n;
    }

private:
    int total_;
    int next_ = 0;
};

}  // namespace

TEST(Mixer, GainPanAndSilence) {
    Mixer m;
    VoiceId v = m.AddVoice(Constant(10000, 44100, 1, kMixRate));
    EXPECT_FALSE(m.IsPlaying(v));
    EXPECT_EQ(Render(m, 4)[0], 0);  // a new voice is stopped
    m.Play(v, true);
    EXPECT_EQ(Render(m, 4)[0], 10000);
    m.SetVolume(v, -600);  // -6 dB ≈ half
    EXPECT_NEAR(Render(m, 4)[0], 5012, 2);
    m.SetVolume(v, kSilence);
    EXPECT_EQ(Render(m, 4)[0], 0);
    m.SetVolume(v, 0);
    m.SetPan(v, 3000);  // right: the left channel loses 30 dB
    auto out = Render(m, 4);
    EXPECT_NEAR(out[0], 316, 2);
    EXPECT_EQ(out[1], 10000);
    m.SetPan(v, -10000);
    out = Render(m, 4);
    EXPECT_EQ(out[0], 10000);
    EXPECT_EQ(out[1], 0);
    // Two voices add and clip.
    VoiceId w = m.AddVoice(Constant(30000, 100, 1, kMixRate));
    m.SetPan(v, 0);
    m.Play(w, false);
    EXPECT_EQ(Render(m, 4)[0], 32767);
}

TEST(Mixer, FrequencyCursorAndEnd) {
    Mixer m;
    // 8-bit stereo source: the cursor counts two bytes a frame.
    VoiceId v = m.AddVoice(Constant(1000, 22050, 2, 22050, 2));
    EXPECT_EQ(m.Frequency(v), 22050);
    m.Play(v, false);
    Render(m, 4410);  // 0.1 s of output reads 2205 frames at 22050 Hz
    EXPECT_EQ(m.Cursor(v), 2205u * 2);
    m.SetFrequency(v, 44100);
    Render(m, 4410);
    EXPECT_EQ(m.Cursor(v), (2205u + 4410u) * 2);
    m.SetFrequency(v, 50);  // below the range
    EXPECT_EQ(m.Frequency(v), kMinFrequency);
    m.SetFrequency(v, 44100);
    Render(m, 22050);  // past the end: stops, without looping
    EXPECT_FALSE(m.IsPlaying(v));
    // Looping wraps.
    m.SetCursor(v, 0);
    m.Play(v, true);
    Render(m, 30000);
    EXPECT_TRUE(m.IsPlaying(v));
    EXPECT_EQ(m.Cursor(v), (30000u - 22050u) * 2);
    m.RemoveVoice(v);
    EXPECT_FALSE(m.HasVoice(v));
    EXPECT_EQ(m.VoiceCount(), 0u);
}

TEST(Mixer, StreamsPlayUntilTheirSourceEnds) {
    Mixer m;
    auto counter = std::make_shared<Counter>(1000);
    VoiceId v = m.AddStream(counter);
    m.Play(v, false);
    auto out = Render(m, 600);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2 * 599], 599);  // one source frame per output frame, in order
    out = Render(m, 600);
    EXPECT_EQ(out[0], 600);
    EXPECT_EQ(out[2 * 399], 999);
    EXPECT_EQ(out[2 * 400], 0);
    EXPECT_FALSE(m.IsPlaying(v));
}
