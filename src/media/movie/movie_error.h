#pragma once
// The screen object's movie error: "DirectShow Error(%s)" (65301) with the
// failing code's name. (The MP3 player has a class of its own, mp3::
// EDirectShowError, with id 65307.)

#include <cstdint>
#include <string>

#include "data/errors.h"
#include "data/string_table.h"

class EDirectShowError : public Exception {
public:
    EDirectShowError(uint32_t code, const std::string& name) : Exception(FormatStr(65301, name)), code_(code) {}
    uint32_t Code() const { return code_; }

private:
    uint32_t code_;
};

// Media framework result codes our movie and MP3 playback report.
constexpr uint32_t kVfwNotFound = 0x80040216;        // VFW_E_NOT_FOUND
constexpr uint32_t kVfwCannotRender = 0x80040218;    // VFW_E_CANNOT_RENDER
constexpr uint32_t kVfwUnknownFileType = 0x80040240; // VFW_E_UNKNOWN_FILE_TYPE
