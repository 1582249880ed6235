#include "media/input/multi_input.h"

#include <bit>

using platform::Key;
using platform::MouseButton;
using platform::Sys;

TMultiInput* GameInput = nullptr;

namespace {
constexpr int kAxisMin = -32768;
constexpr int kAxisMax = 32767;

constexpr size_t KeyIndex(Key k) { return size_t(k); }
}  // namespace

TMultiInput::TMultiInput() {
    auto set = [this](int button, std::initializer_list<Key> keys) {
        size_t slot = 0;
        for (Key k : keys) KeyMap[size_t(button)][slot++] = k;
    };
    set(kDown, {Key::Down, Key::Kp2, Key::J});
    set(kLeft, {Key::Left, Key::Kp4, Key::H});
    set(kRight, {Key::Right, Key::Kp6, Key::L});
    set(kUp, {Key::Up, Key::Kp8, Key::K});
    // Both Enter keys are one key to the system's keyboard layer.
    set(kDecision, {Key::Space, Key::Enter, Key::KpEnter, Key::Z});
    // Numeric pad 0 is both cancel and digit 0.
    set(kCancel, {Key::Escape, Key::Kp0, Key::Insert, Key::X, Key::C, Key::V, Key::B, Key::N});
    for (int n = 0; n < 10; ++n)
        set(kDigit0 + n, {Key(int(Key::Kp0) + n), Key(int(Key::Num0) + n)});
    set(kPlus, {Key::KpPlus});
    set(kMinus, {Key::KpMinus});
    set(kMultiply, {Key::KpMultiply});
    set(kDivide, {Key::KpDivide});
    set(kDecimalPoint, {Key::KpPeriod});

    // A dead zone of a quarter of the half range around the centre.
    platform::JoystickState joy = Sys().GetJoystick();
    NoJoystick = !joy.present;
    int centre = (kAxisMin + kAxisMax) >> 1;
    int dead = ((kAxisMax - kAxisMin) >> 1) * 25 / 100;
    XLow = YLow = centre - dead;
    XHigh = YHigh = centre + dead;
}

void TMultiInput::Clear() {
    PolledHeld = PolledPressed = 0;
    Held = Pressed = Repeated = 0;
}

void TMultiInput::Sample() {
    auto& sys = Sys();

    // Take every mapped key's "went down" mark exactly once, even when the
    // key serves two buttons, and also while the marks are thrown away
    // (Alt held, window inactive), so that they cannot surface later.
    std::array<bool, KeyIndex(Key::Count)> asked{};
    std::array<bool, KeyIndex(Key::Count)> wentDown{};
    auto take = [&](Key k) {
        if (k == Key::None || k >= Key::Count || asked[KeyIndex(k)]) return;
        asked[KeyIndex(k)] = true;
        wentDown[KeyIndex(k)] = sys.TakeKeyWentDown(k);
    };
    for (const auto& keys : KeyMap)
        for (Key k : keys) take(k);
    take(Key::Shift);
    take(Key::Ctrl);
    const bool leftClicked = sys.TakeMouseButtonWentDown(MouseButton::Left);
    const bool rightClicked = sys.TakeMouseButtonWentDown(MouseButton::Right);

    if (!sys.IsActive()) {
        Clear();
        return;
    }

    ButtonSet old = PolledHeld;
    ButtonSet now = 0;
    ButtonSet tapped = 0;

    if (!NoJoystick) {
        platform::JoystickState joy = sys.GetJoystick();
        if (joy.present) {
            if (joy.axisCount > 0) {
                if (joy.axes[0] < XLow) now |= Bit(kLeft);
                if (joy.axes[0] > XHigh) now |= Bit(kRight);
            }
            if (joy.axisCount > 1) {
                if (joy.axes[1] < YLow) now |= Bit(kUp);
                if (joy.axes[1] > YHigh) now |= Bit(kDown);
            }
            // Buttons 1-6 of the pad are the device's buttons 0-5.
            static constexpr int kPadButton[6] = {kDecision, kCancel, kDecision, kShift, kShift, kShift};
            for (int i = 0; i < 6 && i < joy.buttonCount; ++i)
                if (joy.buttons[i]) now |= Bit(kPadButton[i]);
        }
    }

    // The map is ignored while Alt is held: Alt+Enter is a screen command,
    // not a decision.
    if (!sys.IsKeyHeld(Key::Alt)) {
        for (int b = 0; b < kButtonCount; ++b)
            for (Key k : KeyMap[size_t(b)]) {
                if (k == Key::None || k >= Key::Count) continue;
                if (sys.IsKeyHeld(k)) now |= Bit(b);
                if (wentDown[KeyIndex(k)]) tapped |= Bit(b);
            }
    }

    if (sys.IsMouseButtonHeld(MouseButton::Left)) now |= Bit(kMouseLeft);
    if (sys.IsMouseButtonHeld(MouseButton::Right)) now |= Bit(kMouseRight);
    if (leftClicked) tapped |= Bit(kMouseLeft);
    if (rightClicked) tapped |= Bit(kMouseRight);
    if (sys.IsKeyHeld(Key::Shift)) now |= Bit(kShift);
    if (wentDown[KeyIndex(Key::Shift)]) tapped |= Bit(kShift);
    if (sys.IsKeyHeld(Key::Ctrl)) now |= Bit(kCtrl);
    if (wentDown[KeyIndex(Key::Ctrl)]) tapped |= Bit(kCtrl);

    // A button is new only when it was not held at the last sample: a second
    // key of a button already held (Z held, Enter pressed) is no new press.
    PolledHeld = now;
    PolledPressed |= (now | tapped) & ~old;
}

void TMultiInput::Update() {
    Sample();
    Held = PolledHeld;
    Pressed = PolledPressed;
    PolledPressed = 0;

    // Menu repeat: the highest button that went down repeats in its first
    // frame, 23 frames later, and then every RepeatInterval frames, while it
    // stays held. The counter stands still while it is released.
    if (Pressed != 0) {
        RepeatCounter = 1;
        RepeatButton = 31 - std::countl_zero(Pressed);
    }
    Repeated = 0;
    if (RepeatCounter > 0 && (Held & Bit(RepeatButton)) != 0) {
        uint32_t interval = RepeatInterval > 0 ? uint32_t(RepeatInterval) : 1;
        if (RepeatCounter == 1 || (RepeatCounter >= 6 * interval && RepeatCounter % interval == 0))
            Repeated = Bit(RepeatButton);
        ++RepeatCounter;
    }

    // One walking direction: opposite buttons cancel; with both axes held,
    // the axis that was held alone last gives way to the newer one.
    int dy = (IsHeld(kDown) ? 1 : 0) - (IsHeld(kUp) ? 1 : 0);
    int dx = (IsHeld(kRight) ? 1 : 0) - (IsHeld(kLeft) ? 1 : 0);
    if (dx != 0 && dy != 0) {
        if (LastAxis == 0)
            dy = 0;
        else
            dx = 0;
    } else if (dx != 0) {
        LastAxis = 1;
    } else if (dy != 0) {
        LastAxis = 0;
    }
    Direction = dy > 0 ? 2 : dx < 0 ? 4 : dx > 0 ? 6 : dy < 0 ? 8 : 0;
}

void TMultiInput::Flush() {
    Update();
    Update();
}
