#include "platform/key_state.h"

namespace platform {

void KeyState::Press(Key key) {
    if (!Valid(key)) return;
    auto& count = downCount_[size_t(key)];
    if (count < 255) ++count;
    wentDown_[size_t(key)] = true;
}

void KeyState::Release(Key key) {
    if (!Valid(key)) return;
    auto& count = downCount_[size_t(key)];
    if (count > 0) --count;
}

void KeyState::ReleaseAll() { downCount_.fill(0); }

bool KeyState::IsHeld(Key key) const { return Valid(key) && downCount_[size_t(key)] > 0; }

bool KeyState::TakeWentDown(Key key) {
    if (!Valid(key)) return false;
    bool was = wentDown_[size_t(key)];
    wentDown_[size_t(key)] = false;
    return was;
}

}  // namespace platform
