#pragma once
// Errors of the audio players. The front end turns every one of them into a
// false result; they reach the user only through a player used directly.

#include <cstdint>
#include <string>

#include "data/errors.h"
#include "data/string_table.h"

// The MIDI output could not be had (no synthesiser or sound font).
class EMidiError : public Exception {
public:
    explicit EMidiError(const std::string& reason) : Exception(FormatStr(kStrMidiError, reason)) {}
};

// "Invalid MIDI File": a header or track that is not what it should be.
class EInvalidMidiFile : public Exception {
public:
    EInvalidMidiFile() : Exception(LoadStr(kStrInvalidMidiFile)) {}
};

// The sound device: "Unable to use DirectSound" (65303) when there is none,
// else "DirectSound Error(%s)" (65304) with the failing code's name.
class EDirectSoundError : public Exception {
public:
    EDirectSoundError() : Exception(LoadStr(65303)), code_(0) {}
    EDirectSoundError(uint32_t code, const std::string& name) : Exception(FormatStr(65304, name)), code_(code) {}
    uint32_t Code() const { return code_; }

private:
    uint32_t code_;
};

// Conversion of compressed wave data: "ACM Error(%s)" (65305).
class EAcmError : public Exception {
public:
    EAcmError(uint32_t code, const std::string& name) : Exception(FormatStr(65305, name)), code_(code) {}
    uint32_t Code() const { return code_; }

private:
    uint32_t code_;
};

// "Invalid wave file" (65306).
class EInvalidWaveFile : public Exception {
public:
    EInvalidWaveFile() : Exception(LoadStr(65306)) {}
};

namespace mp3 {
// The MP3 player's own error, apart from the screen object's class of the
// same name: "DirectShow Error(%s)" (65307) with the failing code's name.
class EDirectShowError : public Exception {
public:
    EDirectShowError(uint32_t code, const std::string& name) : Exception(FormatStr(65307, name)), code_(code) {}
    uint32_t Code() const { return code_; }

private:
    uint32_t code_;
};
}  // namespace mp3
