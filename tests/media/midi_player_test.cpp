// The MIDI player against a recording output and a clock the test steps by
// hand: the staged start, timing, looping, the controller rewrites, the
// merge, and the corpus files' notes and ticks.

#include <chrono>

#include "media/audio/audio_errors.h"
#include "media/audio/midi_player.h"
#include "audio_test_support.h"

using namespace audio_test;

namespace {

// Builds a MIDI file from tracks of raw event bytes (delta times included).
std::vector<uint8_t> MidiFile(int division, const std::vector<std::vector<uint8_t>>& tracks) {
    std::vector<uint8_t> f = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, uint8_t(tracks.size()),
                              uint8_t(division >> 8), uint8_t(division)};
    for (const auto& t : tracks) {
        f.insert(f.end(), {'M', 'T', 'r', 'k'});
        uint32_t n = uint32_t(t.size());
        f.insert(f.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
        f.insert(f.end(), t.begin(), t.end());
    }
    return f;
}

// A variable-length delta time.
std::vector<uint8_t> Delta(uint32_t v) {
    std::vector<uint8_t> out;
    out.push_back(uint8_t(v & 0x7F));
    while (v >>= 7) out.insert(out.begin(), uint8_t(0x80 | (v & 0x7F)));
    return out;
}

std::vector<uint8_t> Cat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

const std::vector<uint8_t> kEnd = {0x00, 0xFF, 0x2F, 0x00};

struct Fixture {
    std::shared_ptr<RecordingMidiOut::Log> log = std::make_shared<RecordingMidiOut::Log>();
    TMidiPlayer player{std::make_unique<RecordingMidiOut>(log)};

    // Steps at which a short message matching (status, data1) was sent.
    std::vector<SentMessage> Find(uint32_t status, int data1 = -1) const {
        std::vector<SentMessage> out;
        for (const auto& m : log->sent)
            if (m.message && (m.message & 0xFF) == status && (data1 < 0 || int((m.message >> 8) & 0xFF) == data1))
                out.push_back(m);
        return out;
    }
};

uint32_t Cc(int channel, int number, int value) { return uint32_t(0xB0 | channel) | (number << 8) | (value << 16); }

}  // namespace

TEST(MidiPlayer, StagedStartAndFirstNoteTiming) {
    Fixture f;
    // One note at tick 960, division 480, default tempo.
    f.player.LoadBytes(MidiFile(480, {Cat({Delta(960), {0x90, 60, 100}, Delta(480), {0x80, 60, 0}, kEnd})}));
    EXPECT_EQ(f.Find(0xB0, 121).size(), 1u);  // reset all controllers, channel 0 (and 15 more)
    EXPECT_EQ(f.log->sent.size(), 16u);
    f.log->sent.clear();
    Tick(*f.log, 5);
    const uint64_t t0 = f.log->steps;
    f.player.Play();
    EXPECT_EQ(f.player.CurrentTick(), 720u);  // half a beat before the first note
    Tick(*f.log, 600);

    ASSERT_FALSE(f.log->sent.empty());
    const SentMessage& reset = f.log->sent.front();
    EXPECT_EQ(reset.message, 0u);
    EXPECT_EQ(reset.sysex, (std::vector<uint8_t>{0x7E, 0x7F, 0x09, 0x01}));  // framing stripped
    EXPECT_EQ(reset.time, t0 + 50);
    auto rpn = f.Find(0xB0, 101);
    ASSERT_FALSE(rpn.empty());
    EXPECT_EQ(rpn.front().time, t0 + 100);
    auto range = f.Find(0xB0, 6);
    ASSERT_FALSE(range.empty());
    EXPECT_EQ((range.front().message >> 16) & 0x7F, 2u);  // two semitones
    auto volumes = f.Find(0xB5, 7);
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes.front().time, t0 + 120);
    EXPECT_EQ((volumes.front().message >> 16), 100u);
    auto pans = f.Find(0xB9, 10);
    ASSERT_FALSE(pans.empty());
    EXPECT_EQ(pans.front().time, t0 + 130);
    EXPECT_EQ((pans.front().message >> 16), 64u);
    // The clock starts after 140 ms; 240 ticks at 0.96 ticks/ms take 250 ms.
    auto notes = f.Find(0x90);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes.front().time, t0 + 140 + 250);
    EXPECT_TRUE(f.player.Playing());
}

TEST(MidiPlayer, LoopsAtTheMarkerAndRestsWhenItIsLast) {
    Fixture f;
    // Note at 0, marker at 480, note at 960, end at 1440.
    auto track = Cat({{0x00, 0x90, 60, 100}, Delta(480), {0xB0, 111, 0}, {0x00, 0x90, 62, 100}, Delta(480),
                      {0x90, 64, 100}, Delta(480), {0xFF, 0x2F, 0x00}});
    f.player.LoadBytes(MidiFile(480, {track}));
    EXPECT_EQ(f.player.LoopTick(), 480u);
    EXPECT_EQ(f.player.LoopIndex(), 1u);
    EXPECT_EQ(f.player.LastTick(), 1440u);
    f.player.Play();
    Tick(*f.log, 140 + 1600);
    EXPECT_TRUE(f.player.Looped());
    EXPECT_TRUE(f.player.Playing());
    // Every pass after the first plays the notes from the marker on, never the first.
    EXPECT_EQ(f.Find(0x90, 60).size(), 1u);
    EXPECT_GE(f.Find(0x90, 62).size(), 2u);

    // A marker on the last tick: the sequence rests at its end.
    Fixture g;
    g.player.LoadBytes(MidiFile(480, {Cat({{0x00, 0x90, 60, 100}, Delta(480), {0xB0, 111, 0}, kEnd})}));
    g.player.Play();
    Tick(*g.log, 140 + 2000);
    EXPECT_TRUE(g.player.Looped());
    EXPECT_TRUE(g.player.Playing());
    EXPECT_EQ(g.Find(0x90, 60).size(), 1u);
    g.player.Stop();
    EXPECT_FALSE(g.player.Playing());
    EXPECT_FALSE(g.player.Looped());
    EXPECT_EQ(g.Find(0xB3, 123).size(), 1u);  // all notes off
    EXPECT_EQ(g.Find(0xB3, 64).size(), 1u);   // sustain off
}

TEST(MidiPlayer, VolumeBalanceTempoAndFades) {
    Fixture f;
    auto track = Cat({{0x00, 0xB2, 7, 127}, {0x00, 0xB2, 10, 64}, {0x00, 0x90, 60, 100}, Delta(4800), {0x80, 60, 0}, kEnd});
    f.player.LoadBytes(MidiFile(480, {track}));
    f.player.Play();
    f.player.SetVolume(50);  // before the volumes stage: only stored
    f.player.SetBalance(100);
    Tick(*f.log, 400);
    auto inStream = f.Find(0xB2, 7);
    ASSERT_FALSE(inStream.empty());
    EXPECT_EQ(inStream.back().message, Cc(2, 7, 63));  // 127*50 div 100, rounded down
    EXPECT_EQ(f.Find(0xB2, 10).back().message, Cc(2, 10, 127));  // 64 + 100 - 100 = 64 + 2*100-100 → clamped
    f.player.SetVolume(50);  // resent: rounded to nearest
    EXPECT_EQ(f.Find(0xB2, 7).back().message, Cc(2, 7, 64));

    f.player.SetTempo(200);
    EXPECT_EQ(f.player.QuarterMicros(), 250000);  // 62500·4
    f.player.SetTempo(10000);
    EXPECT_EQ(f.player.QuarterMicros(), 5000);
    f.player.SetTempo(1);
    EXPECT_EQ(f.player.QuarterMicros(), 48828 * 1024);
    f.player.SetTempo(0);  // clamps to 1
    EXPECT_EQ(f.player.QuarterMicros(), 48828 * 1024);

    f.player.FadeOut(1000);
    Tick(*f.log, 500);
    EXPECT_NEAR(f.player.FadeLevel(), 50, 10);
    Tick(*f.log, 600);
    EXPECT_EQ(f.player.FadeLevel(), 0);
    EXPECT_EQ(f.Find(0xB2, 7).back().message, Cc(2, 7, 0));
    f.player.FadeIn(0);
    EXPECT_EQ(f.player.FadeLevel(), 100);
}

TEST(MidiPlayer, MergeOrderAndDamagedTracks) {
    Fixture f;
    // Both tracks have events at tick 10: all of track 0's come first.
    f.player.LoadBytes(MidiFile(96, {Cat({{10, 0x90, 70, 1}, kEnd}), Cat({{10, 0x91, 50, 1}, kEnd})}));
    ASSERT_EQ(f.player.Events().size(), 4u);
    EXPECT_EQ(f.player.Events()[0].Message & 0xFF, 0x90u);
    EXPECT_EQ(f.player.Events()[1].Data, (std::vector<uint8_t>{0xFF, 0x2F}));
    EXPECT_EQ(f.player.Events()[2].Message & 0xFF, 0x91u);

    // A data byte before any status: the sequence is empty and silent.
    f.player.LoadBytes(MidiFile(96, {Cat({{0x00, 60, 100}, kEnd})}));
    EXPECT_TRUE(f.player.Events().empty());
    f.player.Play();
    EXPECT_FALSE(f.player.Playing());

    // A meta event longer than its track: empty, without allocating it.
    f.player.LoadBytes(MidiFile(96, {{0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F, 'x'}}));
    EXPECT_TRUE(f.player.Events().empty());

    // A tempo of zero would divide by zero in the step.
    f.player.LoadBytes(MidiFile(96, {Cat({{0x00, 0xFF, 0x51, 0x03, 0, 0, 0}, {0x00, 0x90, 60, 1}, Delta(96), {0x80, 60, 0}, kEnd})}));
    f.player.Play();
    EXPECT_EQ(f.player.QuarterMicros(), 1);
    Tick(*f.log, 400);
    EXPECT_TRUE(f.player.Looped());

    // Headers and track framing raise.
    EXPECT_THROW(f.player.LoadBytes(std::vector<uint8_t>{'M', 'T', 'h', 'd', 0, 0, 0, 7}), EInvalidMidiFile);
    auto noTrack = MidiFile(96, {Cat({{0x00, 0x90, 60, 1}, kEnd})});
    noTrack[11] = 2;  // claims two tracks
    EXPECT_THROW(f.player.LoadBytes(noTrack), EInvalidMidiFile);
}

TEST(MidiPlayer, CorpusNotesTicksLoopsAndTempos) {
    SKIP_WITHOUT_CORPUS();
    struct Case {
        const char* name;
        size_t notes;
        uint32_t lastTick;
        uint32_t loopTick;
        std::vector<uint32_t> tempos;
    } cases[] = {
        {"mid_f0_abc_tempo_change.mid", 25, 11546, 0, {454545, 750000}},
        {"mid_f1_abc_4voices_drums.mid", 47, 11545, 0, {428571, 600000}},
        {"mid_f1_loop_cc111_csvedit.mid", 47, 11545, 1920, {428571, 600000}},
        {"mid_f0_abc_cc111_pitchbend.mid", 24, 9623, 3840, {535714}},
        {"mid_f0_csv_sysex_pb_rs.mid", 106, 1548, 0, {600000, 400000}},
        {"mid_f0_csv_sysex_pb_norunning.mid", 106, 1548, 0, {600000, 400000}},
        {"mid_f1_csv_meta_4tempos.mid", 44, 15780, 0, {500000, 1000000, 300000, 666667}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.player.Load((AudioDir() / c.name).string());
        size_t notes = 0;
        std::vector<uint32_t> tempos;
        for (const auto& e : f.player.Events()) {
            if ((e.Message & 0xF0) == 0x90 && ((e.Message >> 16) & 0xFF) > 0) ++notes;
            if (e.Data.size() >= 2 && e.Data[0] == 0xFF && e.Data[1] == 0x51) tempos.push_back(e.Tempo);
        }
        EXPECT_EQ(notes, c.notes);
        EXPECT_EQ(f.player.LastTick(), c.lastTick);
        EXPECT_EQ(f.player.LoopTick(), c.loopTick);
        EXPECT_EQ(tempos, c.tempos);
        // Ticks never go backwards in the merged list.
        for (size_t i = 1; i < f.player.Events().size(); ++i)
            ASSERT_LE(f.player.Events()[i - 1].Tick, f.player.Events()[i].Tick);
    }
    // The system-exclusive message of the file reaches the output unframed.
    Fixture f;
    f.player.Load((AudioDir() / "mid_f0_csv_sysex_pb_rs.mid").string());
    f.player.Play();
    Tick(*f.log, 400);
    int gmOn = 0;
    for (const auto& m : f.log->sent)
        if (m.sysex == std::vector<uint8_t>{0x7E, 0x7F, 0x09, 0x01}) ++gmOn;
    EXPECT_EQ(gmOn, 2);  // the staged reset and the file's own
}

TEST(MidiPlayer, BrokenFilesFailQuickly) {
    SKIP_WITHOUT_CORPUS();
    for (const char* name : {"broken_mid_track_length_beyond_file.mid", "broken_mid_truncated.mid",
                             "broken_mid_header_says_9_tracks.mid", "broken_mid_empty.mid"}) {
        SCOPED_TRACE(name);
        Fixture f;
        auto start = std::chrono::steady_clock::now();
        EXPECT_THROW(f.player.Load((AudioDir() / name).string()), EInvalidMidiFile);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_TRUE(f.player.Events().empty());
    }
}

namespace {

std::vector<uint8_t> Hex(const char* hex) {
    std::vector<uint8_t> out;
    for (const char* p = hex; p[0] && p[1]; p += 2) out.push_back(uint8_t(std::stoi(std::string(p, 2), nullptr, 16)));
    return out;
}

// Loads the bytes (a refusal is fine), plays them and steps ten seconds of
// music; returns how long that took.
std::chrono::steady_clock::duration PlayTenSeconds(Fixture& f, const std::vector<uint8_t>& bytes) {
    const auto start = std::chrono::steady_clock::now();
    try {
        f.player.LoadBytes(bytes);
    } catch (const EInvalidMidiFile&) {
        return std::chrono::steady_clock::now() - start;
    }
    f.player.Play();
    Tick(*f.log, 10000);
    return std::chrono::steady_clock::now() - start;
}

}  // namespace

TEST(MidiPlayer, EveryStepFinishes) {
    // Songs whose loop stretch holds no time: every event on one tick.
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        uint32_t lastTick;
    } cases[] = {
        {"fuzz find: events on tick 4, trailing bytes",
         Hex("4d546864000000060001000100604d54726b0000001204991824007f2400a03c1000d02000ff0100604d54ff00"), 4},
        {"fuzz find: one meta and the track end on tick 93",
         Hex("4d546864000000060002000101e04d54726b0000001b5dffab13fc5ee3d2030070600000f78360ff51030f424000ff2f004d5400"),
         93},
        {"one tick, the track ending in a later delta",
         MidiFile(96, {Cat({{0x04, 0x90, 60, 100}, {0x00, 0x80, 60, 0}, Delta(96)})}), 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        EXPECT_LT(PlayTenSeconds(f, c.bytes), std::chrono::milliseconds(500));
        EXPECT_EQ(f.player.LastTick(), c.lastTick);
        // The sequence plays once and rests at its end.
        EXPECT_TRUE(f.player.Looped());
        EXPECT_TRUE(f.player.Playing());
    }
    // Notes on one tick sound once, not once a step.
    Fixture once;
    PlayTenSeconds(once, cases[2].bytes);
    EXPECT_EQ(once.Find(0x90, 60).size(), 1u);

    // The same tick with an end of track later: an ordinary loop, every 96
    // ticks (a beat, 500 ms at the default tempo).
    Fixture later;
    EXPECT_LT(PlayTenSeconds(later, MidiFile(96, {Cat({{0x00, 0x90, 60, 100}, {0x00, 0x80, 60, 0}, Delta(96), {0xFF, 0x2F, 0x00}})})),
              std::chrono::milliseconds(500));
    EXPECT_EQ(later.player.LastTick(), 96u);
    EXPECT_NEAR(double(later.Find(0x90, 60).size()), (10000 - 140) / 500.0, 2);

    // The marker as the very last event: rests there.
    Fixture marker;
    EXPECT_LT(PlayTenSeconds(marker, MidiFile(96, {Cat({{0x00, 0x90, 60, 100}, Delta(96), {0xB0, 111, 0}})})),
              std::chrono::milliseconds(500));
    EXPECT_EQ(marker.player.LoopTick(), 96u);
    EXPECT_TRUE(marker.player.Looped());
    EXPECT_EQ(marker.Find(0x90, 60).size(), 1u);

    // Delta times that add up past 32 bits stop at the largest tick instead
    // of wrapping to an earlier one.
    std::vector<uint8_t> track;
    for (int i = 0; i < 20; ++i) track = Cat({track, Delta(0x0FFFFFFF), {0x90, 60, 100}});
    Fixture huge;
    EXPECT_LT(PlayTenSeconds(huge, MidiFile(96, {track})), std::chrono::milliseconds(500));
    ASSERT_EQ(huge.player.Events().size(), 20u);
    for (size_t i = 1; i < huge.player.Events().size(); ++i)
        EXPECT_LE(huge.player.Events()[i - 1].Tick, huge.player.Events()[i].Tick);
    EXPECT_EQ(huge.player.LastTick(), UINT32_MAX);
}

TEST(MidiPlayer, TrackEndingInALoneDeltaKeepsTheSong) {
    Fixture f;
    // The second track ends with a delta time and no event after it.
    f.player.LoadBytes(MidiFile(96, {Cat({{0x00, 0x90, 60, 100}, Delta(96), {0x80, 60, 0}, kEnd}),
                                     Cat({{0x00, 0xC1, 5}, Delta(48)})}));
    ASSERT_EQ(f.player.Events().size(), 4u);
    EXPECT_EQ(f.player.LastTick(), 96u);  // the first track's end, not the lone delta's 48
    f.player.Play();
    Tick(*f.log, 400);
    EXPECT_FALSE(f.Find(0x90, 60).empty());
    EXPECT_FALSE(f.Find(0xC1).empty());

    // A track that is nothing but one delta time adds nothing.
    f.player.LoadBytes(MidiFile(96, {Cat({{0x00, 0x90, 60, 100}, kEnd}), {0x10}}));
    EXPECT_EQ(f.player.Events().size(), 2u);

    // A track cut inside an event still leaves the whole sequence empty.
    f.player.LoadBytes(MidiFile(96, {Cat({{0x00, 0x90, 60, 100}, kEnd}), {0x00, 0x91, 62}}));
    EXPECT_TRUE(f.player.Events().empty());
}
