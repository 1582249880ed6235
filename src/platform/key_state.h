#pragma once
// Held and "went down" state of our keys, fed by a backend's key events.
//
// Several physical keys may map to one of our keys (left and right Shift,
// the two Enter keys): the key counts as held while any of them is down.
// The went-down flag is latched, so a key pressed and released between two
// questions still answers true once.
//
// A key that goes down while Alt is held is part of a system command
// (Alt+Enter toggles full screen): it counts neither as held nor as gone
// down until it has been released, so letting go of Alt first does not turn
// it into game input. The modifiers themselves are exempt. The backend feeds
// events in their order, so this holds however they fall between two pumps.

#include <array>
#include <cstdint>

#include "platform/platform.h"

namespace platform {

class KeyState {
public:
    // A physical key went down (auto-repeat is not a new press).
    void Press(Key key);
    void Release(Key key);
    // Focus loss: nothing is held any more; latched presses stay.
    void ReleaseAll();
    bool IsHeld(Key key) const;
    bool TakeWentDown(Key key);

private:
    static bool Valid(Key key) { return key != Key::None && key < Key::Count; }
    std::array<uint8_t, size_t(Key::Count)> downCount_{};
    std::array<bool, size_t(Key::Count)> wentDown_{};
    std::array<bool, size_t(Key::Count)> withAlt_{};  // went down with Alt held, not yet up
};

}  // namespace platform
