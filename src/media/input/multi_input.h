#pragma once
// TMultiInput: the keyboard, the first joystick and the two mouse buttons as
// 25 logical buttons.
//
// Sample() reads the devices and gathers every button that went down since
// the last Update; the screen object's event pump calls it (OnPump), and
// Update calls it once more, so that a key tapped and released within one
// frame still shows in Pressed. Update latches the frame's sets once per
// frame and derives the menu repeat and the walking direction from them.
// Everything runs on the main thread, so nothing here needs a lock.

#include <array>
#include <cstdint>

#include "platform/platform.h"

class TMultiInput {
public:
    // Button numbers (bits of a ButtonSet).
    enum Button : int {
        kDown = 0,
        kLeft = 1,
        kRight = 2,
        kUp = 3,
        kDecision = 4,
        kCancel = 5,
        kMouseLeft = 6,
        kMouseRight = 7,
        kShift = 8,
        kCtrl = 9,
        kDigit0 = 10,  // 10..19: digits 0..9
        kPlus = 20,
        kMinus = 21,
        kMultiply = 22,
        kDivide = 23,
        kDecimalPoint = 24,
    };
    static constexpr int kButtonCount = 25;
    static constexpr int kKeysPerButton = 8;
    using ButtonSet = uint32_t;
    static constexpr ButtonSet Bit(int button) { return ButtonSet(1) << button; }

    // Sets the default key map and calibrates joystick 0.
    TMultiInput();

    // Reads the devices now (see above).
    void Sample();
    // Latches this frame's sets; once per frame.
    void Update();
    // Update twice: presses made before the call do not count.
    void Flush();
    // Forgets the repeating button: a button still held repeats again only
    // after it is pressed anew.
    void ResetRepeat() {
        RepeatButton = 0;
        RepeatCounter = 0;
        Repeated = 0;
    }

    bool IsHeld(int button) const { return (Held & Bit(button)) != 0; }
    bool IsPressed(int button) const { return (Pressed & Bit(button)) != 0; }
    bool IsRepeated(int button) const { return (Repeated & Bit(button)) != 0; }

    // --- Settings ---------------------------------------------------------
    // Frames between repeats of a held button.
    int RepeatInterval = 4;
    // Up to 8 keys per button (Key::None = empty slot). Buttons 6-9 are read
    // directly, not through the map.
    std::array<std::array<platform::Key, kKeysPerButton>, kButtonCount> KeyMap{};

    // --- This frame's state, latched by Update ------------------------------
    ButtonSet Held = 0;
    ButtonSet Pressed = 0;
    ButtonSet Repeated = 0;
    // 0 none, 2 down, 4 left, 6 right, 8 up.
    int Direction = 0;

    // --- Inner state, open for tests ------------------------------------------
    ButtonSet PolledHeld = 0;
    ButtonSet PolledPressed = 0;  // went down since the last Update
    int RepeatButton = 0;
    uint32_t RepeatCounter = 0;
    int LastAxis = 0;  // 0: vertical was alone last, 1: horizontal
    bool NoJoystick = true;
    // Axis limits of joystick 0: outside [low, high] counts as pressed.
    int XLow = 0, XHigh = 0, YLow = 0, YHigh = 0;

private:
    void Clear();
};

// The input object of the running game (start-up creates it).
extern TMultiInput* GameInput;
