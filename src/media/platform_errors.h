#pragma once
// Errors of the display, movie and sound layers.
//
// Each message is the string-table text with the failing operation's name in
// place of %s. The name is the platform backend's own description of what
// went wrong; when the backend has none, the generic "Unspecified error"
// stands in, the same text for every such failure.

#include <string>

#include "data/errors.h"

// The backend's description of its latest failure, or "Unspecified error".
std::string PlatformErrorName();

// Base of the four: keeps the failure's name apart from the message.
class EPlatformError : public Exception {
public:
    EPlatformError(int messageId, const std::string& name);
    const std::string& Name() const { return name_; }

private:
    std::string name_;
};

// The screen could not be opened or changed: "DirectDraw Error(%s)".
class EDirectDrawError : public EPlatformError {
public:
    explicit EDirectDrawError(const std::string& name = PlatformErrorName());
};

// A movie could not be played: "DirectShow Error(%s)".
class EDirectShowError : public EPlatformError {
public:
    explicit EDirectShowError(const std::string& name = PlatformErrorName());
    // No media framework at all: "Unable to use DirectShow".
    static EDirectShowError Unavailable();

protected:
    EDirectShowError(int messageId, const std::string& name);
};

// The MP3 player's own failure, with its own message id; a kind of
// EDirectShowError so that one handler catches both.
class EMp3DirectShowError : public EDirectShowError {
public:
    explicit EMp3DirectShowError(const std::string& name = PlatformErrorName());
};

// The sound device failed: "DirectSound Error(%s)".
class EDirectSoundError : public EPlatformError {
public:
    explicit EDirectSoundError(const std::string& name = PlatformErrorName());
    // No sound device at all: "Unable to use DirectSound".
    static EDirectSoundError Unavailable();

private:
    EDirectSoundError(int messageId, const std::string& name);
};

// A compressed wave could not be decoded: "ACM Error(%s)".
class EAcmError : public EPlatformError {
public:
    explicit EAcmError(const std::string& name = PlatformErrorName());
};
