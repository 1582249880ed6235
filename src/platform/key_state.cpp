#include "platform/key_state.h"

namespace platform {

namespace {
bool IsModifier(Key key) { return key == Key::Alt || key == Key::Shift || key == Key::Ctrl; }
}  // namespace

void KeyState::Press(Key key) {
    if (!Valid(key)) return;
    if (!IsModifier(key) && IsHeld(Key::Alt)) withAlt_[size_t(key)] = true;
    auto& count = downCount_[size_t(key)];
    if (count < 255) ++count;
    if (!withAlt_[size_t(key)]) wentDown_[size_t(key)] = true;
}

void KeyState::Release(Key key) {
    if (!Valid(key)) return;
    auto& count = downCount_[size_t(key)];
    if (count > 0) --count;
    if (count == 0) withAlt_[size_t(key)] = false;
}

void KeyState::ReleaseAll() {
    downCount_.fill(0);
    withAlt_.fill(false);
}

bool KeyState::IsHeld(Key key) const {
    return Valid(key) && downCount_[size_t(key)] > 0 && !withAlt_[size_t(key)];
}

bool KeyState::TakeWentDown(Key key) {
    if (!Valid(key)) return false;
    bool was = wentDown_[size_t(key)];
    wentDown_[size_t(key)] = false;
    return was;
}

}  // namespace platform
