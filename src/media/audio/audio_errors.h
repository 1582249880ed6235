#pragma once
// Errors of the audio players. The front end turns every one of them into a
// false result; they reach the user only through a player used directly.
// The device and decoder errors (EDirectSoundError, EAcmError,
// EMp3DirectShowError) are the platform error classes.

#include <cstdint>
#include <string>

#include "data/errors.h"
#include "media/platform_errors.h"
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

// "Invalid wave file" (65306).
class EInvalidWaveFile : public Exception {
public:
    EInvalidWaveFile() : Exception(LoadStr(65306)) {}
};
