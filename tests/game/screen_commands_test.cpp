// Screen, picture and movie commands: how long each makes the script wait,
// the modes of flash and shake, erasing and showing the field, transition
// values that mean none, the pictures' parameter layouts, and the movie's
// handling of the music and the wave player.

#include <fstream>

#include "data/string_table.h"
#include "game/interpreter/command_table.h"
#include "game/picture/picture.h"
#include "game/screen/game_screen.h"
#include "game/walker/party.h"
#include "interpreter_fixture.h"
#include "media/screen/sorvo_draw.h"
#include "support/error_message.h"
#include "support/noise_png.h"

using namespace interp_test;
using lcf_builder::Script;
using testing_support::MessageOf;

namespace {

constexpr int32_t kErase = 11010, kShow = 11020, kTint = 11030, kFlash = 11040, kShake = 11050, kPan = 11060;
constexpr int32_t kShowPicture = 11110, kMovePicture = 11120, kErasePicture = 11130, kMapAnimation = 11210;
constexpr int32_t kPlayMusic = 11510, kMovie = 11560, kTransition = 10690;

// The field as the erase and show commands see it.
class ScreenField : public FakeParty {
public:
    void EraseFieldScreen(int32_t transition) override { log.push_back("erase " + std::to_string(transition)); }
    void ShowFieldScreen(int32_t transition) override { log.push_back("show " + std::to_string(transition)); }
    std::vector<std::string> log;
};

class Targets : public IMapAnimationTargets {
public:
    bool TargetExists(int32_t target) const override { return target == kParty || target == 7; }
    bool TargetScreenPosition(int32_t, int32_t& x, int32_t& y) const override {
        x = 160;
        y = 120;
        return true;
    }
    void FlashTarget(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
};

class ScreenCommandTest : public InterpreterTest {
protected:
    ScreenCommandTest() {
        GameScreen = &effects;
        GamePictures = &pictures;
        GameParty = &walker;
        GameMapAnimationTargets = &targets;
        GameInterpreterHooks.field = &field;
        draw = std::make_unique<TSorvoDraw>();
        GameDraw = draw.get();
    }
    ~ScreenCommandTest() override {
        GameDraw = nullptr;
        GameMapAnimationTargets = nullptr;
        GameParty = nullptr;
        GamePictures = nullptr;
        GameScreen = nullptr;
    }

    // Runs the first line of a script as event 7's and answers the wait it left.
    int32_t WaitAfter(int32_t code, std::initializer_list<int32_t> params, const std::string& text = "") {
        TLcfgRegularScripter r;
        r.Start(7, Script().Line(code, 0, text, params).Line(0).List());
        r.ExecuteCommand();
        return r.waitCounter;
    }
    void Do(int32_t code, std::initializer_list<int32_t> params, const std::string& text = "") {
        WaitAfter(code, params, text);
    }
    void Picture(const std::string& name) {
        std::filesystem::create_directories(folder / "Picture");
        testing_support::SaveNoisePng((folder / "Picture" / (name + ".png")).string(), 16, 16, 3);
    }

    TLcfgScreen effects;
    TLcfgPicture pictures;
    TLcfgParty walker;
    Targets targets;
    ScreenField field;
    std::unique_ptr<TSorvoDraw> draw;
};

TEST_F(ScreenCommandTest, NoneOfTheseCommandCodesIsUnhandled) {
    const std::vector<int32_t> unhandled = UnhandledCommandCodes();
    for (int32_t code : {1007,  1008,  1009,  10410, 10420, 10430, 10440, 10450, 10460, 10470, 10480,
                         10490, 10500, 10610, 10620, 10630, 10640, 10650, 10660, 10670, 10680, 10690,
                         11010, 11020, 11030, 11040, 11050, 11060, 11070, 11110, 11120, 11130, 11210,
                         11510, 11520, 11530, 11540, 11550, 11560}) {
        EXPECT_NE(CommandEntry(code).handler, nullptr) << code;
        EXPECT_EQ(std::count(unhandled.begin(), unhandled.end(), code), 0) << code;
    }
}

TEST_F(ScreenCommandTest, TimedEffectsWaitAtLeastOneFrameWhenAsked) {
    EXPECT_EQ(WaitAfter(kTint, {50, 60, 70, 80, 5, 1}), 30);
    EXPECT_EQ(effects.toneTarget, (std::array<int32_t, 4>{50, 60, 70, 80}));
    EXPECT_EQ(WaitAfter(kTint, {100, 100, 100, 100, 0, 1}), 1);
    EXPECT_EQ(effects.tone[0], 100.0);  // no frames: at once
    EXPECT_EQ(WaitAfter(kTint, {100, 100, 100, 100, 5, 0}), 0);
    // A negative duration is no duration, not a tone that never settles.
    EXPECT_EQ(WaitAfter(kTint, {0, 0, 0, 0, -5, 1}), 1);
    EXPECT_EQ(effects.toneFrames, 0);

    EXPECT_EQ(WaitAfter(kShake, {3, 4, 2, 1}), 12);  // four parameters: mode 0
    EXPECT_EQ(effects.shakeFrames, 12);
    EXPECT_EQ(WaitAfter(kShake, {3, 4, 0, 1, 0}), 1);
}

TEST_F(ScreenCommandTest, FlashAndShakeModes) {
    EXPECT_EQ(WaitAfter(kFlash, {31, 0, 0, 20, 2, 1}), 12);  // six parameters: once
    EXPECT_EQ(effects.flashMode, TLcfgScreen::kFlashOnce);
    EXPECT_EQ(WaitAfter(kFlash, {0, 31, 0, 20, 2, 1, 1}), 0);  // repeating never waits
    EXPECT_EQ(effects.flashMode, TLcfgScreen::kFlashRepeat);
    EXPECT_EQ(effects.flashGreen, 31);
    Do(kFlash, {0, 0, 31, 20, 2, 1, 7});  // unknown mode: nothing
    EXPECT_EQ(effects.flashBlue, 0);
    Do(kFlash, {0, 0, 0, 0, 0, 0, 2});
    EXPECT_EQ(effects.flashMode, TLcfgScreen::kFlashStopped);

    EXPECT_EQ(WaitAfter(kShake, {5, 6, 1, 1, 1}), 0);
    EXPECT_EQ(effects.shakeFrames, 65535);
    EXPECT_EQ(effects.shakeMode, 1);
    Do(kShake, {0, 0, 0, 0, 2});
    effects.Update();
    EXPECT_EQ(effects.shakeFrames, 0);
    EXPECT_EQ(effects.shakeX, 0);
}

TEST_F(ScreenCommandTest, WeatherOfAnUnknownKindChangesNothing) {
    Do(11070, {2, 5});
    EXPECT_EQ(effects.weatherKind, TLcfgScreen::kSnow);
    EXPECT_EQ(effects.weatherStrength, 2);
    Do(11070, {9, 1});
    Do(11070, {-1, 1});
    EXPECT_EQ(effects.weatherKind, TLcfgScreen::kSnow);
    EXPECT_EQ(effects.weatherStrength, 2);
}

TEST_F(ScreenCommandTest, PanAndMapAnimationWaitTheirRawCount) {
    Do(kPan, {0});
    EXPECT_EQ(walker.viewFollows, 0);
    Do(kPan, {1});
    EXPECT_EQ(walker.viewFollows, 1);
    // A pan back to where the view already is leaves nothing to wait.
    EXPECT_EQ(WaitAfter(kPan, {3, 0, 0, 4, 1}), 0);
    const int32_t frames = WaitAfter(kPan, {2, 1, 2, 4, 1});
    EXPECT_GT(frames, 1);
    EXPECT_EQ(frames, walker.PanFramesLeft());
    EXPECT_EQ(WaitAfter(kPan, {2, 1, 2, 4, 0}), 0);

    DbAnimation->SetCount(2);
    DbAnimation->Find(2)->frames.SetCount(0);
    EXPECT_EQ(WaitAfter(kMapAnimation, {1, 10001, 1, 0}), 2 * TLcfAnimationItem::kDefaultFrames);
    EXPECT_EQ(effects.animationTarget, 10001);
    EXPECT_EQ(WaitAfter(kMapAnimation, {2, 10005, 1, 1}), 0);  // no frames, no wait
    EXPECT_EQ(effects.animationTarget, 7);                     // the running event
    EXPECT_EQ(effects.animationWholeMap, 1);
    EXPECT_EQ(MessageOf([&] { Do(kMapAnimation, {1, 44, 0, 0}); }), LoadStr(65281));
}

TEST_F(ScreenCommandTest, EraseAndShowScreen) {
    DbSystem->transitions[kTransitionTeleportErase] = 3;
    DbSystem->transitions[kTransitionTeleportShow] = 19;
    Do(kErase, {-1});
    Do(kErase, {5});
    Do(kErase, {20});   // none
    Do(kErase, {300});  // none as well
    Do(kShow, {-1});
    Do(kShow, {0});
    EXPECT_EQ(field.log, (std::vector<std::string>{"erase 3", "erase 5", "show 19", "show 0"}));
    // An erased screen is not erased again.
    field.log.clear();
    draw->Board().Brightness = 0;
    Do(kErase, {1});
    EXPECT_TRUE(field.log.empty());
}

TEST_F(ScreenCommandTest, TransitionValuesOutsideTheTwentyTypesMeanNone) {
    DbSystem->transitions[kTransitionBattleStartErase] = 4;
    DbSystem->transitions[kTransitionBattleEndShow] = 33;  // a database value out of range
    EXPECT_EQ(system->Transition(kTransitionBattleEndShow), TLcfgSystem::kNoTransition);

    Do(kTransition, {2, -1});  // not truncated to 255, "the database's"
    EXPECT_EQ(system->Transition(kTransitionBattleStartErase), TLcfgSystem::kNoTransition);
    Do(kTransition, {2, 256});  // not truncated to 0
    EXPECT_EQ(system->Transition(kTransitionBattleStartErase), TLcfgSystem::kNoTransition);
    Do(kTransition, {2, 19});
    EXPECT_EQ(system->Transition(kTransitionBattleStartErase), 19);
    Do(kTransition, {2, 4});  // the database's own: the override goes
    DbSystem->transitions[kTransitionBattleStartErase] = 6;
    EXPECT_EQ(system->Transition(kTransitionBattleStartErase), 6);
    Do(kTransition, {6, 1});  // no seventh transition
    Do(kTransition, {-1, 1});

    // A save holding a byte between 20 and 254 reads as none.
    TLcfgSystem loaded(&audio, &screen);
    lcf_builder::LoadRecord(loaded, lcf_builder::Chunks().Data(111, {7}).Data(114, {44}).End());
    EXPECT_EQ(loaded.Transition(kTransitionBattleStartShow), TLcfgSystem::kNoTransition);
    EXPECT_EQ(loaded.Transition(kTransitionTeleportErase), 7);
}

TEST_F(ScreenCommandTest, ShowPictureTakesTheBottomTransparencyFromP14OnlyOnLongLines) {
    Picture("Sun");
    // x, y, bound, zoom, top 30, colour key, r, g, b, sat, effect, strength.
    Do(kShowPicture, {3, 0, 40, 50, 1, 150, 30, 1, 90, 80, 70, 60, 1, 5, 75}, "Sun");  // 15 parameters
    TLcfgPictureItem& p = pictures.ItemById(3);
    EXPECT_EQ(p.imageName, "Sun");
    EXPECT_EQ(p.currentX, 40);
    EXPECT_EQ(p.currentY, 50);
    EXPECT_EQ(p.boundToMap, 1);
    EXPECT_EQ(p.magnification, 150);
    EXPECT_EQ(p.topTransparency, 30);
    EXPECT_EQ(p.bottomTransparency, 30);
    EXPECT_EQ(p.usesTransparentColor, 1);
    EXPECT_EQ(p.red, 90);
    EXPECT_EQ(p.saturation, 60);
    EXPECT_EQ(p.effect, 1);
    EXPECT_EQ(p.effectStrength, 5);

    system->SetVariable(1, 200);
    system->SetVariable(2, 100);
    Do(kShowPicture, {3, 1, 1, 2, 0, 100, 30, 0, 100, 100, 100, 100, 0, 0, 75, 0}, "Sun");  // 16 parameters
    EXPECT_EQ(p.currentX, 200);
    EXPECT_EQ(p.currentY, 100);
    EXPECT_EQ(p.topTransparency, 30);
    EXPECT_EQ(p.bottomTransparency, 75);

    // Pictures outside 1-50 are passed over.
    Do(kShowPicture, {0, 0, 1, 1, 0, 100}, "Sun");
    Do(kShowPicture, {51, 0, 1, 1, 0, 100}, "Sun");
    Do(kErasePicture, {-4});
    Do(kMovePicture, {99});
    Do(kErasePicture, {3});
    EXPECT_EQ(p.imageName, "");
}

TEST_F(ScreenCommandTest, MovePictureTakesTheBottomTransparencyFromP16OnlyOnLongerLines) {
    Picture("Moon");
    Do(kShowPicture, {5, 0, 10, 10, 0, 100, 0, 0, 100, 100, 100, 100, 0, 0}, "Moon");
    TLcfgPictureItem& p = pictures.ItemById(5);
    // 16 parameters: both halves to 40 over 2 tenths, waiting.
    EXPECT_EQ(WaitAfter(kMovePicture, {5, 0, 90, 70, 0, 200, 40, 0, 50, 60, 70, 80, 0, 0, 2, 1}), 12);
    EXPECT_EQ(p.framesLeft, 12);
    EXPECT_EQ(p.targetX, 90);
    EXPECT_EQ(p.targetMagnification, 200);
    EXPECT_EQ(p.targetTopTransparency, 40);
    EXPECT_EQ(p.targetBottomTransparency, 40);
    EXPECT_EQ(p.targetRed, 50);
    EXPECT_EQ(p.targetSaturation, 80);
    // 17 parameters: the bottom half its own; no time still waits a frame.
    EXPECT_EQ(WaitAfter(kMovePicture, {5, 0, 90, 70, 0, 200, 40, 0, 50, 60, 70, 80, 0, 0, 0, 1, 65}), 1);
    EXPECT_EQ(p.targetTopTransparency, 40);
    EXPECT_EQ(p.targetBottomTransparency, 65);
    EXPECT_EQ(WaitAfter(kMovePicture, {5, 0, 90, 70, 0, 200, 40, 0, 50, 60, 70, 80, 0, 0, 3, 0}), 0);
}

class MovieCommandTest : public ScreenCommandTest {
protected:
    MovieCommandTest() {
        std::filesystem::create_directories(folder / "Movie");
        Touch(folder / "Movie" / "Intro.avi");
        std::ofstream(folder / "Music" / "Sea.wav", std::ios::binary) << "RIFF....WAVE";
    }
    // The log from the movie's start on.
    std::vector<std::string> LogFrom(size_t first) const {
        return std::vector<std::string>(audio.log.begin() + long(first), audio.log.end());
    }
};

TEST_F(MovieCommandTest, AMovieLeavesMidiMusicPlayingAndBringsTheSoundsBack) {
    Do(kPlayMusic, {0, 100, 100, 50}, "Town");
    system->PreloadSystemSounds();
    const int locks = audio.lockCalls;
    const size_t mark = audio.log.size();
    input->Pressed = 1;
    screen.duringMovie = [&] { input->PolledPressed = input->Pressed = 4; };
    Do(kMovie, {0, 10, 20, 160, 120}, "Intro");
    EXPECT_EQ(screen.movies, std::vector<std::string>{"Intro.avi 10 20 160 120"});
    // No fade and no restart: the tune plays on through the movie.
    EXPECT_EQ(LogFrom(mark), (std::vector<std::string>{"close wave", "open wave"}));
    EXPECT_EQ(audio.lockCalls, locks + 4);  // the four kept sounds, locked again
    EXPECT_EQ(audio.LockedSlots(), 4);
    EXPECT_EQ(input->Pressed, 0u);
}

TEST_F(MovieCommandTest, AMovieRestartsWaveMusicFromTheBeginning) {
    Do(kPlayMusic, {1500, 80, 100, 50}, "Sea");
    const size_t mark = audio.log.size();
    system->SetVariable(3, 40);
    system->SetVariable(4, 50);
    Do(kMovie, {1, 3, 4, 320, 240}, "Intro");
    EXPECT_EQ(screen.movies, std::vector<std::string>{"Intro.avi 40 50 320 240"});
    EXPECT_EQ(LogFrom(mark), (std::vector<std::string>{"fade 0", "close wave", "open wave", "play Sea 0"}));
    EXPECT_EQ(audio.volume, 80);
}

TEST_F(MovieCommandTest, AFailedMovieStillReopensTheWavePlayer) {
    Do(kPlayMusic, {0, 100, 100, 50}, "Town");
    const size_t mark = audio.log.size();
    EXPECT_FALSE(MessageOf([&] { Do(kMovie, {0, 0, 0, 320, 240}, "Missing"); }).empty());
    EXPECT_EQ(LogFrom(mark), (std::vector<std::string>{"close wave", "open wave"}));
    EXPECT_TRUE(screen.movies.empty());
}

}  // namespace
