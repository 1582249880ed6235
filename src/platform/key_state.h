#pragma once
// Held and "went down" state of our keys, fed by a backend's key events.
//
// Several physical keys may map to one of our keys (left and right Shift,
// the two Enter keys): the key counts as held while any of them is down.
// The went-down flag is latched, so a key pressed and released between two
// questions still answers true once.

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
};

}  // namespace platform
