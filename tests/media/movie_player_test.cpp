// Movie playback on the headless platform: clips made by ffmpeg play to
// their end in the rectangle, with their sound in the mixer; the scale of
// the presentation places them; inactive windows pause them; keys still
// work; files that can't be rendered raise.

#include "media/movie/movie_player.h"
#include "media/platform_errors.h"
#include "platform/audio/mixer.h"
#include "platform/headless/headless_platform.h"
#include "audio_test_support.h"

using namespace audio_test;
using platform::HeadlessPlatform;

namespace {

class Movies : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(MovieDir())) GTEST_SKIP() << "no shared media corpus";
        auto p = std::make_unique<HeadlessPlatform>();
        headless = p.get();
        platform::SetPlatform(std::move(p));
        background.assign(320 * 240, 0x001F);  // blue
        host.background = [this](int& pitch) {
            pitch = 320;
            return background.data();
        };
        host.mixer = &mixer;
    }
    void TearDown() override { platform::SetPlatform(nullptr); }
    std::string File(const char* name) { return (MovieDir() / name).string(); }

    HeadlessPlatform* headless = nullptr;
    platform::audio::Mixer mixer;
    std::vector<uint16_t> background;
    MovieHost host;
};

bool IsBlue(uint16_t p) { return p == 0x001F; }

}  // namespace

TEST_F(Movies, ClipsPlayToTheirEndInTheRectangle) {
    struct Case {
        const char* name;
        uint64_t minPresents;
        double seconds;
    } cases[] = {
        {"avi_mpeg4_pcm16_320x240.avi", 25, 2.0},
        {"avi_mjpeg_pcm8_320x240.avi", 18, 2.0},
        {"avi_cinepak_msadpcm_320x240.avi", 20, 2.0},
        {"mpg_mpeg1_mp2_320x240.mpg", 40, 2.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const uint64_t before = headless->display().presentCount;
        const uint64_t start = headless->NowMicros();
        PlayMovieFile(File(c.name), 80, 60, 160, 120, host);
        const double took = double(headless->NowMicros() - start) / 1e6;
        EXPECT_GE(headless->display().presentCount - before, c.minPresents);
        EXPECT_NEAR(took, c.seconds, 0.2);
        const auto& f = headless->display().frames.back();
        ASSERT_EQ(f.width, 320);
        EXPECT_TRUE(IsBlue(f.pixels[10 * 320 + 10]));        // outside: the game's picture
        EXPECT_FALSE(IsBlue(f.pixels[120 * 320 + 160]));     // inside: the movie
        EXPECT_EQ(mixer.VoiceCount(), 0u);                   // its sound is gone with it
    }
}

TEST_F(Movies, PlacedByThePresentationScaleWithSound) {
    headless->display().SetMode(640, 480, false);
    host.place = [](platform::Rect r) { return platform::Rect{2 * r.x, 2 * r.y, 2 * r.w, 2 * r.h}; };
    int64_t energy = 0;
    host.processMessages = [&] {
        platform::Sys().PumpEvents();
        if (mixer.VoiceCount() == 1) {
            // Pull the sound as a device would.
            std::vector<int16_t> out(441 * 2);
            mixer.Mix(out.data(), 441);
            for (int16_t s : out) energy += std::abs(s);
        }
    };
    PlayMovieFile(File("avi_mpeg4_pcm16_320x240.avi"), 0, 0, 160, 120, host);
    const auto& f = headless->display().frames.back();
    ASSERT_EQ(f.width, 640);
    EXPECT_FALSE(IsBlue(f.pixels[200 * 640 + 300]));  // inside the doubled rectangle
    EXPECT_TRUE(IsBlue(f.pixels[300 * 640 + 400]));   // outside it
    EXPECT_GT(energy, 0);
}

TEST_F(Movies, InactiveWindowPausesAndKeysStillWork) {
    platform::Event lost, gained;
    lost.type = platform::Event::Type::FocusLost;
    gained.type = platform::Event::Type::FocusGained;
    headless->QueueEvent(lost, headless->NowMicros() + 500'000);
    headless->QueueEvent(gained, headless->NowMicros() + 3'500'000);
    uint64_t start = headless->NowMicros();
    PlayMovieFile(File("avi_mjpeg_pcm8_320x240.avi"), 0, 0, 320, 240, host);
    EXPECT_NEAR(double(headless->NowMicros() - start) / 1e6, 5.0, 0.3);
    EXPECT_FALSE(headless->display().CursorShown());

    headless->PressKey(platform::Key::F12, headless->NowMicros() + 300'000);
    EXPECT_THROW(PlayMovieFile(File("avi_mjpeg_pcm8_320x240.avi"), 0, 0, 320, 240, host), ESorvoDrawReset);
    EXPECT_EQ(mixer.VoiceCount(), 0u);
    headless->RequestQuit(headless->NowMicros() + 300'000);
    EXPECT_THROW(PlayMovieFile(File("avi_mjpeg_pcm8_320x240.avi"), 0, 0, 320, 240, host), ESorvoDrawAbort);
}

TEST_F(Movies, DamagedAndUnplayableFiles) {
    // Truncated files play what they hold, then end.
    for (const char* name : {"broken_avi_truncated.avi", "broken_mpg_truncated.mpg"}) {
        SCOPED_TRACE(name);
        uint64_t start = headless->NowMicros();
        PlayMovieFile(File(name), 0, 0, 320, 240, host);
        EXPECT_LT(double(headless->NowMicros() - start) / 1e6, 1.5);
    }
    testing_support::TempDir temp;
    testing_support::WriteFile(temp / "junk.avi", std::string(4000, 'x'));
    EXPECT_THROW(PlayMovieFile((temp / "junk.avi").string(), 0, 0, 320, 240, host), EDirectShowError);
    EXPECT_THROW(PlayMovieFile((temp / "missing.avi").string(), 0, 0, 320, 240, host), EDirectShowError);
}

#include "media/screen/sorvo_draw.h"

TEST_F(Movies, TheScreenObjectPlaysThemOverItsPicture) {
    TSorvoDraw draw;
    draw.SetScreenMode(smWindow);
    draw.SetScreenZoom(true);
    draw.ScreenSource = [this](int& pitch) {
        pitch = 320;
        return background.data();
    };
    draw.Initialize();
    const uint64_t before = headless->display().presentCount;
    draw.PlayMovie(File("avi_cinepak_msadpcm_320x240.avi"), 160, 0, 160, 120);
    EXPECT_GE(headless->display().presentCount - before, 20u);
    const auto& f = headless->display().frames.back();
    ASSERT_EQ(f.width, 640);
    EXPECT_TRUE(IsBlue(f.pixels[400 * 640 + 100]));
    EXPECT_FALSE(IsBlue(f.pixels[100 * 640 + 500]));  // the top-right quarter, doubled
    EXPECT_THROW(draw.PlayMovie(File("../audio/broken_mid_empty.mid"), 0, 0, 320, 240), EDirectShowError);
}
