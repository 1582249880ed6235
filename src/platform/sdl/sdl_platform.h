#pragma once
// The real backend: an SDL window, keyboard, mouse, joystick 0 and sound
// device. With no display the platform still works for message boxes
// (stderr) and audio; only Display::SetMode fails.

#include <memory>

#include "platform/platform.h"

namespace platform {

std::unique_ptr<Platform> CreateSdlPlatform();

}  // namespace platform
