// CPU time of the software mixer per second of audio, as a share of real
// time: 16 wave voices at assorted rates, a MIDI song through the
// synthesiser and one MP3, together and each part alone. The synthesiser's
// own cost is reported apart (its rendering without the mixer around it).
//
// Each iteration renders one second of 44.1 kHz stereo in 1024-frame slices,
// as the device callback does, so the time per iteration is the share of one
// core: 10 ms per iteration is 1 %.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "data/errors.h"
#include "media/audio/midi_player.h"
#include "platform/audio/midi_out.h"
#include "platform/audio/mixer.h"
#include "platform/audio/mp3_stream.h"

using namespace platform::audio;

namespace {

// The shared media corpus beside the checkout (or beside a folder above
// it); VARNOW_BENCH_MEDIA names another folder holding the files. A path
// that does not exist when the file is missing.
std::filesystem::path Corpus(const char* name) {
    if (const char* folder = std::getenv("VARNOW_BENCH_MEDIA"); folder && *folder)
        return std::filesystem::path(folder) / name;
    const auto here = std::filesystem::path(__FILE__).parent_path();
    for (auto dir = here; dir.has_relative_path(); dir = dir.parent_path()) {
        auto p = dir / "shared" / "testdata" / "media" / "audio" / name;
        if (std::filesystem::exists(p)) return p;
    }
    return here / name;
}

// The corpus file, or none after telling the benchmark which file is
// missing (the benchmark is then skipped and the others run).
std::optional<std::filesystem::path> NeedCorpus(benchmark::State& state, const char* name) {
    auto p = Corpus(name);
    std::error_code ec;
    if (std::filesystem::is_regular_file(p, ec)) return p;
    state.SkipWithError(("missing shared media file " + p.string()).c_str());
    return std::nullopt;
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::shared_ptr<SampleData> Tone(int rate, int channels, double hz) {
    auto d = std::make_shared<SampleData>();
    d->rate = rate;
    d->channels = channels;
    d->bytesPerFrame = 2 * channels;
    for (int i = 0; i < rate * 2; ++i)
        for (int c = 0; c < channels; ++c) d->samples.push_back(int16_t(8000 * std::sin(2 * M_PI * hz * i / rate)));
    return d;
}

// 16 looping wave voices at assorted rates, volumes, pans and tempos.
void AddWaves(Mixer& m) {
    const int rates[] = {11025, 22050, 44100, 32000};
    for (int i = 0; i < 16; ++i) {
        VoiceId v = m.AddVoice(Tone(rates[i % 4], 1 + i % 2, 220.0 + 30 * i));
        m.SetVolume(v, -100 * i);
        m.SetPan(v, (i - 8) * 300);
        m.SetFrequency(v, rates[i % 4] * (50 + 10 * i) / 100);
        m.Play(v, true);
    }
}

// The synthesiser as the mixer's stream, playing a song through the player.
class SynthStream : public StreamSource {
public:
    explicit SynthStream(std::unique_ptr<SynthRenderer> r) : r_(std::move(r)) {}
    int Channels() const override { return 2; }
    int Rate() const override { return kMixRate; }
    int Read(int16_t* out, int frames) override {
        r_->Render(out, frames);
        return frames;
    }
    SynthRenderer& Renderer() { return *r_; }

private:
    std::unique_ptr<SynthRenderer> r_;
};

// A MidiOut that forwards to the renderer and lends it its clock.
class Forward : public MidiOut {
public:
    explicit Forward(MidiOut& to) : to_(to) {}
    void ShortMessage(uint32_t m) override { to_.ShortMessage(m); }
    void SysEx(const uint8_t* d, size_t n) override { to_.SysEx(d, n); }
    void Reset() override { to_.Reset(); }
    void SetClock(std::function<void()> fn) override { to_.SetClock(std::move(fn)); }

private:
    MidiOut& to_;
};

struct Song {
    std::shared_ptr<SynthStream> stream;
    std::unique_ptr<TMidiPlayer> player;
};

Song StartSong(benchmark::State& state) {
    Song s;
    auto song = NeedCorpus(state, "mid_f1_abc_4voices_drums.mid");
    if (!song) return s;
    auto renderer = CreateSynthRenderer();
    if (!renderer) {
        state.SkipWithError("no sound font");
        return s;
    }
    s.stream = std::make_shared<SynthStream>(std::move(renderer));
    s.player = std::make_unique<TMidiPlayer>(std::make_unique<Forward>(s.stream->Renderer().Out()));
    try {
        s.player->Load(song->string());
    } catch (const Exception& e) {
        state.SkipWithError(("unreadable song " + song->string() + ": " + e.what()).c_str());
        s.player.reset();  // before the renderer it plays into
        s.stream.reset();
        return s;
    }
    s.player->Play();
    return s;
}

void RenderSecond(Mixer& m, std::vector<int16_t>& out) {
    for (int done = 0; done < kMixRate; done += 1024) m.Mix(out.data(), std::min(1024, kMixRate - done));
}

}  // namespace

static void BM_Waves16(benchmark::State& state) {
    Mixer m;
    AddWaves(m);
    std::vector<int16_t> out(2048);
    for (auto _ : state) RenderSecond(m, out);
}
BENCHMARK(BM_Waves16)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_MidiSynthAlone(benchmark::State& state) {
    Song song = StartSong(state);
    if (!song.stream) return;
    std::vector<int16_t> out(2048);
    for (auto _ : state)
        for (int done = 0; done < kMixRate; done += 1024) song.stream->Read(out.data(), std::min(1024, kMixRate - done));
}
BENCHMARK(BM_MidiSynthAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_Mp3Alone(benchmark::State& state) {
    auto file = NeedCorpus(state, "mp3_cbr128_stereo_44100.mp3");
    if (!file) return;
    std::string error;
    auto mp3 = Mp3Stream::Open(ReadBytes(*file), error);
    if (!mp3) {
        state.SkipWithError(("unreadable MP3 " + file->string() + ": " + error).c_str());
        return;
    }
    Mixer m;
    VoiceId v = m.AddStream(mp3);
    m.Play(v, false);
    std::vector<int16_t> out(2048);
    for (auto _ : state) RenderSecond(m, out);
}
BENCHMARK(BM_Mp3Alone)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_Everything(benchmark::State& state) {
    Song song = StartSong(state);
    if (!song.stream) return;
    auto file = NeedCorpus(state, "mp3_cbr128_stereo_44100.mp3");
    if (!file) return;
    std::string error;
    auto mp3 = Mp3Stream::Open(ReadBytes(*file), error);
    Mixer m;
    AddWaves(m);
    m.Play(m.AddStream(song.stream), false);
    if (mp3) m.Play(m.AddStream(mp3), false);
    std::vector<int16_t> out(2048);
    for (auto _ : state) RenderSecond(m, out);
}
BENCHMARK(BM_Everything)->Unit(benchmark::kMillisecond)->UseRealTime();
