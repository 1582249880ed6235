#pragma once
// The program's string table: message ids with their texts.
//
// Ids 65248-65311 and 65326-65327 are the game's own messages. Ids from 1 up
// to 99 are ours, for errors the platform and class library would have
// raised (read error, invalid bitmap and so on).

#include <string>

// Our own ids for texts that have no id of the game's.
enum : int {
    kStrReadError = 1,
    kStrInvalidBitmap = 2,
    kStrInvalidImageFormat = 3,
    kStrNoTimers = 4,
    kStrOutOfMemory = 5,
    kStrFileOpenError = 6,     // "Cannot open file \"%s\"..."
    kStrWriteError = 7,
    kStrBitmapEmpty = 8,
    kStrBitmapShort = 9,
    kStrFontMissing = 10,      // "%s" names the file and package
    kStrNoGameHere = 11,
    kStrBadMapSize = 12,       // "%s" is "width x height"
    kStrInvalidMidiFile = 71,  // "Invalid MIDI File"
    kStrMidiError = 72,        // "MIDI Error(%s)"
};

// Text for an id; an unknown id gives an empty string.
const std::string& LoadStr(int id);

// Text for an id with every "%s" replaced, in order, by the given arguments
// (a "%s" without an argument is left as it stands).
std::string FormatStr(int id, const std::string& a);
std::string FormatStr(int id, const std::string& a, const std::string& b);
