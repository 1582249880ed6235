// The audio front end on the headless platform: music chosen by content,
// the formulas that reach the mixer, sound slots and locks, and the flat
// operations' results.

#include <algorithm>
#include <cmath>

#include "media/audio/audio_cantrel.h"
#include "platform/audio/midi_out.h"
#include "platform/headless/headless_platform.h"
#include "audio_test_support.h"
#include "support/env_guard.h"

using namespace audio_test;
using platform::HeadlessPlatform;

namespace {

class AudioFront : public ::testing::Test {
protected:
    void SetUp() override {
        auto p = std::make_unique<HeadlessPlatform>();
        headless = p.get();
        platform::SetPlatform(std::move(p));
        ASSERT_EQ(CantrelInit(), -1);
        ASSERT_EQ(CantrelOpenWave(), -1);
    }
    void TearDown() override {
        CantrelDone();
        platform::SetPlatform(nullptr);
    }
    std::string File(const char* name) { return (AudioDir() / name).string(); }
    platform::audio::Mixer& Mixer() { return GameAudio->Mixer(); }
    HeadlessPlatform* headless = nullptr;
    testing_support::TempDir temp;
};

}  // namespace

TEST_F(AudioFront, WaveMusicVolumeTempoBalance) {
    SKIP_WITHOUT_CORPUS();
    ASSERT_EQ(CantrelPlayMusic(File("wav_pcm16_mono_22050.wav").c_str()), -1);
    TWaveBuffer& music = GameAudio->Wave()->Music();
    auto voice = music.Voice(0);
    EXPECT_TRUE(Mixer().IsPlaying(voice));
    EXPECT_TRUE(Mixer().Looping(voice));
    EXPECT_EQ(Mixer().Volume(voice), 0);
    EXPECT_EQ(Mixer().Volume(music.Voice(1)), platform::audio::kSilence);  // not yet played
    CantrelSetMusicVolume(1);
    EXPECT_EQ(Mixer().Volume(voice), -3465);
    CantrelSetMusicVolume(0);
    EXPECT_EQ(Mixer().Volume(voice), platform::audio::kSilence);
    CantrelSetMusicTempo(50);
    EXPECT_EQ(Mixer().Frequency(voice), 11025);
    CantrelSetMusicTempo(1);
    EXPECT_EQ(Mixer().Frequency(voice), 220);
    CantrelSetMusicBalance(0);
    EXPECT_EQ(Mixer().Pan(voice), -3000);
    EXPECT_EQ(CantrelMusicPlaying(), -1);
    EXPECT_EQ(CantrelMusicLooped(), 0);  // wave music never reports it
    // Position in whole seconds of the file's byte rate.
    CantrelSetMusicTempo(100);
    headless->RenderAudio(44100 * 6 / 5);  // 1.2 s into the 1.4 s file
    EXPECT_EQ(CantrelMusicPosition(), 1);
    headless->RenderAudio(44100 / 2);  // looped to 0.3 s
    EXPECT_EQ(CantrelMusicPosition(), 0);
    // Fade-out to silence keeps the voice running.
    CantrelSetMusicVolume(100);
    CantrelFadeOutMusic(1000);
    headless->Advance(1100'000);
    EXPECT_EQ(Mixer().Volume(voice), platform::audio::kSilence);
    EXPECT_TRUE(Mixer().IsPlaying(voice));
    CantrelStopMusic();
    EXPECT_EQ(CantrelMusicPlaying(), 0);
}

TEST_F(AudioFront, MusicIsChosenByContent) {
    SKIP_WITHOUT_CORPUS();
    // A wave named .mp3 plays as a wave.
    auto disguised = temp / "song.mp3";
    testing_support::WriteFile(disguised, std::string(std::istreambuf_iterator<char>(
        *std::make_unique<std::ifstream>(File("wav_pcm16_mono_22050.wav"), std::ios::binary)), {}));
    ASSERT_EQ(CantrelPlayMusic(disguised.string().c_str()), -1);
    EXPECT_TRUE(GameAudio->Wave()->Music().IsPlaying());
    EXPECT_FALSE(GameAudio->MP3()->Playing());
    // An MP3 with a capital extension plays as MP3, starting centred.
    auto loud = temp / "LOUD.MP3";
    auto bytes = ReadBytes(AudioDir() / "mp3_short_0.1s_stereo_44100.mp3");
    testing_support::WriteFile(loud, std::string(bytes.begin(), bytes.end()));
    ASSERT_EQ(CantrelPlayMusic(loud.string().c_str()), -1);
    EXPECT_FALSE(GameAudio->Wave()->Music().IsPlaying());
    ASSERT_TRUE(GameAudio->MP3()->Playing());
    auto voice = GameAudio->MP3()->Voice();
    CantrelSetMusicVolume(1);
    EXPECT_EQ(Mixer().Volume(voice), -3465);
    CantrelSetMusicBalance(100);
    EXPECT_EQ(Mixer().Pan(voice), 3000);
    CantrelSetMusicTempo(50);
    EXPECT_EQ(Mixer().Frequency(voice), 22050);
    headless->RenderAudio(44100);  // 1 s: the 0.1 s clip has looped
    EXPECT_EQ(CantrelMusicLooped(), -1);
    // Playing again resets pan and rate but keeps the fade state.
    CantrelFadeOutMusic(0);
    ASSERT_EQ(CantrelPlayMusic(loud.string().c_str()), -1);
    voice = GameAudio->MP3()->Voice();
    EXPECT_EQ(Mixer().Pan(voice), 0);
    EXPECT_EQ(Mixer().Frequency(voice), 44100);
    EXPECT_EQ(Mixer().Volume(voice), platform::audio::kSilence);
    EXPECT_EQ(CantrelMusicLooped(), 0);
    // Missing, short and unplayable files: false, and the music is stopped.
    EXPECT_EQ(CantrelPlayMusic((temp / "missing.wav").string().c_str()), 0);
    EXPECT_EQ(CantrelMusicPlaying(), 0);
    testing_support::WriteFile(temp / "short.wav", "RIF");
    EXPECT_EQ(CantrelPlayMusic((temp / "short.wav").string().c_str()), 0);
    EXPECT_EQ(CantrelPlayMusic(File("broken_mp3_random.mp3").c_str()), 0);  // no frame decodes
    EXPECT_FALSE(GameAudio->MP3()->Playing());
    EXPECT_EQ(CantrelPlayMusic(File("broken_wav_truncated_data.wav").c_str()), 0);
    EXPECT_EQ(CantrelMusicPlaying(), 0);
    EXPECT_EQ(CantrelPlayMusic(nullptr), 0);
}

TEST_F(AudioFront, MidiMusicThroughTheSynthesiser) {
    SKIP_WITHOUT_CORPUS();
    if (CantrelOpenMidi() != -1) GTEST_SKIP() << "no sound font at " << platform::audio::SoundFontPath();
    // The sound font loads in the background; meanwhile the synthesiser's
    // voice renders silence and the sequencer's clock runs, one step a
    // millisecond, as it does once the font is in.
    auto quiet = headless->RenderAudio(4410);
    EXPECT_GE(GameAudio->Midi()->Now(), 100u);
    EXPECT_LE(GameAudio->Midi()->Now(), 101u);
    EXPECT_TRUE(std::all_of(quiet.begin(), quiet.end(), [](int16_t s) { return s == 0; }));
    // The first music waits for the font and plays.
    ASSERT_EQ(CantrelPlayMusic(File("mid_f0_abc_tempo_change.mid").c_str()), -1);
    EXPECT_EQ(CantrelMusicPlaying(), -1);
    auto out = headless->RenderAudio(44100);  // one second: the staged start and the first notes
    EXPECT_GT(CantrelMusicPosition(), 0);     // ticks while MIDI plays
    double energy = 0;
    for (int16_t s : out) energy += double(s) * s;
    EXPECT_GT(energy, 0.0);
    CantrelStopMusic();
    EXPECT_EQ(CantrelMusicPlaying(), 0);
}

TEST_F(AudioFront, SoundFontThatDoesNotLoadLeavesNoMidiPlayer) {
    SKIP_WITHOUT_CORPUS();
    {
        EnvGuard none("VARNOW_SOUNDFONT", (temp / "none.sf2").string());
        EXPECT_EQ(CantrelOpenMidi(), 0);  // no file: known at once
        EXPECT_EQ(GameAudio->Midi(), nullptr);
    }
    testing_support::WriteFile(temp / "broken.sf2", "RIFF\x04\0\0\0sfbk not a sound font");
    EnvGuard broken("VARNOW_SOUNDFONT", (temp / "broken.sf2").string());
    // A file that fails to load is found out in the background: the
    // synthesiser's silent voice and the commands before the first music
    // are harmless, and that music then fails as without a synthesiser.
    EXPECT_EQ(CantrelOpenMidi(), -1);
    headless->RenderAudio(441);
    CantrelSetMusicVolume(50);
    CantrelStopMusic();
    EXPECT_EQ(CantrelMusicPlaying(), 0);
    EXPECT_EQ(CantrelPlayMusic(File("mid_f0_abc_tempo_change.mid").c_str()), 0);
    EXPECT_EQ(GameAudio->Midi(), nullptr);
    EXPECT_EQ(CantrelMusicPlaying(), 0);
    EXPECT_EQ(CantrelPlayMusic(File("wav_pcm16_mono_22050.wav").c_str()), -1);  // other music still plays
    auto out = headless->RenderAudio(441);
    EXPECT_EQ(out.size(), 882u);
}

TEST_F(AudioFront, ClosingWhileTheSoundFontLoads) {
    // The engine goes before the load is done: the load is waited for and
    // its synthesiser freed with the rest.
    CantrelOpenMidi();
    EXPECT_EQ(CantrelDone(), -1);
    EXPECT_EQ(CantrelInit(), -1);
    CantrelOpenMidi();
    headless->RenderAudio(100);
}

TEST_F(AudioFront, SoundSlotsReuseOverlapAndRoundRobin) {
    SKIP_WITHOUT_CORPUS();
    const std::string pluck = File("wav_pcm16_mono_22050.wav");
    for (int i = 0; i < 5; ++i) ASSERT_EQ(CantrelPlaySound(pluck.c_str(), 100, 100, 50), -1);
    TWaveBuffer& slot0 = GameAudio->Wave()->Sound(0);
    EXPECT_EQ(slot0.FileName(), ExpandFileName(pluck));
    EXPECT_EQ(slot0.CurrentVoice(), 1);  // the fifth play restarted voice 0
    EXPECT_FALSE(GameAudio->Wave()->Sound(1).Loaded());
    // Sixteen different sounds playing: a seventeenth takes the slot after LastSlot.
    std::vector<std::string> names;
    auto bytes = ReadBytes(AudioDir() / "wav_pcm8_mono_11025.wav");
    for (int i = 0; i < 17; ++i) {
        names.push_back((temp / ("s" + std::to_string(i) + ".wav")).string());
        testing_support::WriteFile(names.back(), std::string(bytes.begin(), bytes.end()));
    }
    for (int i = 1; i < 16; ++i) ASSERT_EQ(CantrelPlaySound(names[size_t(i)].c_str(), 100, 100, 50), -1);
    EXPECT_EQ(GameAudio->LastSlot(), 15);
    ASSERT_EQ(CantrelPlaySound(names[16].c_str(), 100, 100, 50), -1);
    EXPECT_EQ(GameAudio->LastSlot(), 0);
    EXPECT_EQ(slot0.FileName(), ExpandFileName(names[16]));
    // Sound tempo and volume reach the voice.
    ASSERT_EQ(CantrelPlaySound(names[16].c_str(), 1, 50, 100), -1);
    auto voice = slot0.Voice((slot0.CurrentVoice() + 3) % 4);
    EXPECT_EQ(Mixer().Volume(voice), -3465);
    EXPECT_EQ(Mixer().Frequency(voice), 5512);
    EXPECT_EQ(Mixer().Pan(voice), 3000);
    EXPECT_EQ(CantrelStopAllSounds(), -1);
    EXPECT_FALSE(slot0.IsPlaying());
    EXPECT_EQ(CantrelPlaySound((temp / "none.wav").string().c_str(), 100, 100, 50), 0);
}

TEST_F(AudioFront, LockedSoundsAndClosingTheWavePlayer) {
    SKIP_WITHOUT_CORPUS();
    const std::string a = File("wav_pcm8_mono_11025.wav");
    ASSERT_EQ(CantrelLockSound(a.c_str()), -1);
    EXPECT_TRUE(GameAudio->SlotLocked(0));
    ASSERT_EQ(CantrelLockSound(a.c_str()), -1);  // again: no second slot
    EXPECT_FALSE(GameAudio->SlotLocked(1));
    // A locked slot is found by name and skipped by the free-slot search.
    ASSERT_EQ(CantrelPlaySound(File("wav_pcm16_mono_22050.wav").c_str(), 100, 100, 50), -1);
    EXPECT_EQ(GameAudio->Wave()->Sound(1).FileName(), ExpandFileName(File("wav_pcm16_mono_22050.wav")));
    ASSERT_EQ(CantrelPlaySound(a.c_str(), 100, 100, 50), -1);
    EXPECT_TRUE(GameAudio->Wave()->Sound(0).IsPlaying());
    EXPECT_EQ(CantrelUnlockSound(a.c_str()), -1);
    EXPECT_FALSE(GameAudio->SlotLocked(0));
    EXPECT_EQ(CantrelUnlockSound("nothing"), -1);
    // Closing the wave player clears the locks; music and sounds then fail quietly.
    CantrelLockSound(a.c_str());
    EXPECT_EQ(CantrelCloseWave(), -1);
    EXPECT_FALSE(GameAudio->SlotLocked(0));
    EXPECT_EQ(CantrelPlaySound(a.c_str(), 100, 100, 50), 0);
    EXPECT_EQ(CantrelLockSound(a.c_str()), -1);
    EXPECT_EQ(CantrelStopAllSounds(), -1);
    EXPECT_EQ(CantrelOpenWave(), -1);
    EXPECT_EQ(GameAudio->Wave()->SoundCount(), 16);
}

TEST(AudioFrontLifecycle, EverythingIsFalseWithoutTheEngine) {
    EXPECT_EQ(CantrelDone(), 0);
    EXPECT_EQ(CantrelOpenWave(), 0);
    EXPECT_EQ(CantrelPlayMusic("x.mid"), 0);
    EXPECT_EQ(CantrelMusicPosition(), 0);
    EXPECT_EQ(CantrelStopAllSounds(), 0);
    // No sound device at all: the engine exists but has no players.
    auto p = std::make_unique<HeadlessPlatform>();
    p->audioAvailable = false;
    platform::SetPlatform(std::move(p));
    ASSERT_EQ(CantrelInit(), -1);
    EXPECT_EQ(CantrelInit(), 0);
    EXPECT_EQ(CantrelOpenWave(), 0);
    EXPECT_EQ(CantrelOpenMidi(), 0);
    EXPECT_EQ(GameAudio->MP3(), nullptr);
    EXPECT_EQ(CantrelPlaySound("a.wav", 100, 100, 50), 0);
    EXPECT_EQ(CantrelLockSound("a.wav"), -1);
    EXPECT_EQ(CantrelDone(), -1);
    platform::SetPlatform(nullptr);
}
