#include "media/platform_errors.h"

#include "data/string_table.h"
#include "platform/platform.h"

namespace {
enum : int {
    kStrDirectDrawError = 65299,
    kStrNoDirectShow = 65300,
    kStrDirectShowError = 65301,
    kStrNoDirectSound = 65303,
    kStrDirectSoundError = 65304,
    kStrAcmError = 65305,
    kStrMp3DirectShowError = 65307,
};

// The text a message shows when nothing better is known.
const char* const kUnspecifiedError = "Unspecified error";
}  // namespace

std::string PlatformErrorName() {
    std::string text;
    if (platform::HasPlatform()) text = platform::Sys().LastErrorText();
    return text.empty() ? std::string(kUnspecifiedError) : text;
}

EPlatformError::EPlatformError(int messageId, const std::string& name)
    : Exception(FormatStr(messageId, name)), name_(name) {}

EDirectDrawError::EDirectDrawError(const std::string& name) : EPlatformError(kStrDirectDrawError, name) {}

EDirectShowError::EDirectShowError(const std::string& name) : EPlatformError(kStrDirectShowError, name) {}
EDirectShowError::EDirectShowError(int messageId, const std::string& name) : EPlatformError(messageId, name) {}
EDirectShowError EDirectShowError::Unavailable() { return EDirectShowError(kStrNoDirectShow, PlatformErrorName()); }

EMp3DirectShowError::EMp3DirectShowError(const std::string& name)
    : EDirectShowError(kStrMp3DirectShowError, name) {}

EDirectSoundError::EDirectSoundError(const std::string& name) : EPlatformError(kStrDirectSoundError, name) {}
EDirectSoundError::EDirectSoundError(int messageId, const std::string& name) : EPlatformError(messageId, name) {}
EDirectSoundError EDirectSoundError::Unavailable() {
    return EDirectSoundError(kStrNoDirectSound, PlatformErrorName());
}

EAcmError::EAcmError(const std::string& name) : EPlatformError(kStrAcmError, name) {}
