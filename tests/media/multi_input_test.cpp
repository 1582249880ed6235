// The logical buttons: presses, taps, repeat, direction, Alt, focus, the
// joystick and the mouse.
#include <vector>

#include "headless_fixture.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"

using platform::Event;
using platform::Key;

namespace {

class MultiInputTest : public HeadlessTest {
protected:
    // One frame: events arrive, then the frame loop latches them.
    void Frame(TMultiInput& input) {
        sys->SleepMicros(16'667);
        sys->PumpEvents();
        input.Update();
    }
};

TEST_F(MultiInputTest, AHeldButtonRepeatsAtPressThen23FramesLaterThenEveryFour) {
    TMultiInput input;
    sys->PressKey(Key::Down);
    std::vector<int> repeats;
    for (int frame = 0; frame < 40; ++frame) {
        Frame(input);
        if (input.IsRepeated(TMultiInput::kDown)) repeats.push_back(frame);
        EXPECT_EQ(input.IsPressed(TMultiInput::kDown), frame == 0);
        EXPECT_TRUE(input.IsHeld(TMultiInput::kDown));
    }
    EXPECT_EQ(repeats, (std::vector<int>{0, 23, 27, 31, 35, 39}));

    // Released, the counter stands still and nothing repeats.
    sys->ReleaseKey(Key::Down);
    for (int frame = 0; frame < 10; ++frame) {
        Frame(input);
        EXPECT_EQ(input.Repeated, 0u);
    }
    EXPECT_EQ(input.RepeatCounter, 41u);

    // Two buttons going down in one frame: the higher one repeats.
    sys->PressKey(Key::Up);
    sys->PressKey(Key::Z);
    Frame(input);
    EXPECT_EQ(input.RepeatButton, TMultiInput::kDecision);
    EXPECT_EQ(input.Repeated, TMultiInput::Bit(TMultiInput::kDecision));
}

TEST_F(MultiInputTest, ASecondKeyOfAHeldButtonIsNoNewPress) {
    TMultiInput input;
    sys->PressKey(Key::Z);
    for (int frame = 0; frame < 10; ++frame) Frame(input);
    EXPECT_EQ(input.RepeatCounter, 11u);
    // Enter serves the same button: held on, pressed twice more (held and tapped).
    sys->PressKey(Key::Enter);
    Frame(input);
    EXPECT_FALSE(input.IsPressed(TMultiInput::kDecision));
    EXPECT_FALSE(input.IsRepeated(TMultiInput::kDecision));
    EXPECT_EQ(input.RepeatCounter, 12u);  // kept counting, not restarted
    sys->ReleaseKey(Key::Enter);
    sys->TapKey(Key::Space);
    Frame(input);
    EXPECT_EQ(input.Pressed, 0u);
    // Let go of both, then press again: a new press.
    sys->ReleaseKey(Key::Z);
    Frame(input);
    sys->PressKey(Key::Enter);
    Frame(input);
    EXPECT_TRUE(input.IsPressed(TMultiInput::kDecision));
}

TEST_F(MultiInputTest, ATapWithinOneFrameShowsInPressedButNotInHeld) {
    TMultiInput input;
    sys->TapKey(Key::Space);
    Frame(input);
    EXPECT_TRUE(input.IsPressed(TMultiInput::kDecision));
    EXPECT_FALSE(input.IsHeld(TMultiInput::kDecision));
    Frame(input);
    EXPECT_EQ(input.Pressed, 0u);

    // Numeric pad 0 is both cancel and digit 0; pressed once, counted twice.
    sys->TapKey(Key::Kp0);
    Frame(input);
    EXPECT_EQ(input.Pressed, TMultiInput::Bit(TMultiInput::kCancel) | TMultiInput::Bit(TMultiInput::kDigit0));

    // A press sampled during the wait (the pump hook) survives to Update.
    sys->PressKey(Key::Num7);
    sys->PumpEvents();
    input.Sample();
    sys->ReleaseKey(Key::Num7);
    sys->PumpEvents();
    input.Sample();
    input.Update();
    EXPECT_EQ(input.Pressed, TMultiInput::Bit(TMultiInput::kDigit0 + 7));

    // Flush drops what went down before it.
    sys->TapKey(Key::X);
    sys->PumpEvents();
    input.Flush();
    EXPECT_EQ(input.Pressed, 0u);
}

TEST_F(MultiInputTest, DirectionFollowsTheAxisPressedLastAndOppositesCancel) {
    TMultiInput input;
    sys->PressKey(Key::Right);
    Frame(input);
    EXPECT_EQ(input.Direction, 6);
    sys->PressKey(Key::Down);
    for (int i = 0; i < 3; ++i) {  // and stays so while both are held
        Frame(input);
        EXPECT_EQ(input.Direction, 2);
    }
    sys->ReleaseKey(Key::Right);
    Frame(input);
    EXPECT_EQ(input.Direction, 2);
    sys->PressKey(Key::Right);
    Frame(input);
    EXPECT_EQ(input.Direction, 6);
    sys->PressKey(Key::Left);
    Frame(input);
    EXPECT_EQ(input.Direction, 2);  // left and right cancel out
    sys->ReleaseKey(Key::Down);
    Frame(input);
    EXPECT_EQ(input.Direction, 0);
    sys->ReleaseKey(Key::Right);
    Frame(input);
    EXPECT_EQ(input.Direction, 4);
    sys->ReleaseKey(Key::Left);
    sys->PressKey(Key::K);  // up, through a letter key of the map
    Frame(input);
    EXPECT_EQ(input.Direction, 8);
}

TEST_F(MultiInputTest, JoystickAxesWithADeadZoneAndItsButtonsFeedTheSameButtons) {
    sys->joystick.present = true;
    sys->joystick.axisCount = 2;
    sys->joystick.buttonCount = 6;
    TMultiInput input;
    ASSERT_FALSE(input.NoJoystick);
    // A quarter of the half range around the centre is dead.
    sys->joystick.axes[0] = -8192;
    Frame(input);
    EXPECT_EQ(input.Held, 0u);
    sys->joystick.axes[0] = -8193;
    Frame(input);
    EXPECT_EQ(input.Direction, 4);
    // The direction rule works on held buttons from any source.
    sys->joystick.axes[1] = 20000;
    Frame(input);
    EXPECT_EQ(input.Direction, 2);
    sys->joystick.axes[0] = 0;
    sys->joystick.axes[1] = -32768;
    Frame(input);
    EXPECT_EQ(input.Direction, 8);
    sys->joystick.axes[1] = 0;

    const TMultiInput::ButtonSet expected[6] = {
        TMultiInput::Bit(TMultiInput::kDecision), TMultiInput::Bit(TMultiInput::kCancel),
        TMultiInput::Bit(TMultiInput::kDecision), TMultiInput::Bit(TMultiInput::kShift),
        TMultiInput::Bit(TMultiInput::kShift),    TMultiInput::Bit(TMultiInput::kShift)};
    for (int b = 0; b < 6; ++b) {
        sys->joystick.buttons[b] = true;
        Frame(input);
        EXPECT_EQ(input.Held, expected[b]) << b;
        EXPECT_EQ(input.Pressed, expected[b]) << b;
        sys->joystick.buttons[b] = false;
        Frame(input);
    }
}

TEST_F(MultiInputTest, AltSilencesTheKeyMapButNotShiftCtrlAndMouse) {
    TMultiInput input;
    sys->PressKey(Key::Alt);
    sys->PressKey(Key::Enter);
    sys->PressKey(Key::Shift);
    sys->PressKey(Key::Ctrl);
    Event click;
    click.type = Event::Type::MouseDown;
    click.mouseButton = platform::MouseButton::Right;
    sys->QueueEvent(click);
    Frame(input);
    EXPECT_EQ(input.Held, TMultiInput::Bit(TMultiInput::kShift) | TMultiInput::Bit(TMultiInput::kCtrl) |
                              TMultiInput::Bit(TMultiInput::kMouseRight));
    // Alt+Enter's Enter does not surface as a decision once Alt is let go,
    // whichever of the two goes up first, also within one frame...
    sys->ReleaseKey(Key::Enter);
    sys->ReleaseKey(Key::Alt);
    Frame(input);
    EXPECT_FALSE(input.IsPressed(TMultiInput::kDecision));
    for (bool oneFrame : {false, true}) {
        sys->PressKey(Key::Alt);
        sys->PressKey(Key::Enter);
        if (!oneFrame) Frame(input);
        sys->ReleaseKey(Key::Alt);
        Frame(input);
        Frame(input);
        EXPECT_FALSE(input.IsHeld(TMultiInput::kDecision)) << oneFrame;
        EXPECT_FALSE(input.IsPressed(TMultiInput::kDecision)) << oneFrame;
        // ...and counts only once it has been released and pressed anew.
        sys->ReleaseKey(Key::Enter);
        Frame(input);
        EXPECT_FALSE(input.IsPressed(TMultiInput::kDecision)) << oneFrame;
        sys->PressKey(Key::Enter);
        Frame(input);
        EXPECT_TRUE(input.IsPressed(TMultiInput::kDecision)) << oneFrame;
        sys->ReleaseKey(Key::Enter);
        Frame(input);
    }
    // A key held before Alt went down is the player's: it counts again when
    // Alt goes up.
    sys->PressKey(Key::Z);
    Frame(input);
    sys->PressKey(Key::Alt);
    Frame(input);
    EXPECT_FALSE(input.IsHeld(TMultiInput::kDecision));
    sys->ReleaseKey(Key::Alt);
    Frame(input);
    EXPECT_TRUE(input.IsHeld(TMultiInput::kDecision));
}

TEST_F(MultiInputTest, AnInactiveApplicationReadsEveryStateEmpty) {
    TMultiInput input;
    sys->PressKey(Key::Left);
    Frame(input);
    EXPECT_EQ(input.Direction, 4);
    sys->active = false;
    sys->TapKey(Key::Z);
    Frame(input);
    EXPECT_EQ(input.Held, 0u);
    EXPECT_EQ(input.Pressed, 0u);
    EXPECT_EQ(input.Repeated, 0u);
    EXPECT_EQ(input.Direction, 0);
    // The tap made while inactive is gone for good.
    sys->active = true;
    Frame(input);
    EXPECT_FALSE(input.IsPressed(TMultiInput::kDecision));
    EXPECT_TRUE(input.IsPressed(TMultiInput::kLeft));  // held on return: a new press
}

TEST_F(MultiInputTest, AMouseClickBetweenTwoFramesIsSampledByTheFrameWait) {
    TSorvoDraw draw;
    draw.SetFrameRate(60);
    TMultiInput input;
    draw.OnPump = [&] { input.Sample(); };
    draw.WaitFrame();
    input.Update();
    // Down and up again 5 ms later, both inside the next frame's wait.
    Event down;
    down.type = Event::Type::MouseDown;
    Event up = down;
    up.type = Event::Type::MouseUp;
    sys->QueueEvent(down, sys->NowMicros() + 4'000);
    sys->QueueEvent(up, sys->NowMicros() + 9'000);
    draw.WaitFrame();
    input.Update();
    EXPECT_EQ(input.Pressed, TMultiInput::Bit(TMultiInput::kMouseLeft));
    EXPECT_EQ(input.Held, 0u);
}

}  // namespace
