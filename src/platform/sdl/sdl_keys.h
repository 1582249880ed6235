#pragma once
// Our key codes from SDL's scancodes (physical key positions, so the key map
// stays where it is on any keyboard layout).

#include "platform/platform.h"

namespace platform {

// Key::None for a scancode we do not use.
Key KeyFromSdlScancode(int scancode);

}  // namespace platform
