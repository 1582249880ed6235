#pragma once
// Letters without regard to case, as the file system games were made on
// compares names: not only ASCII but every letter of the code pages games
// are written in (accented Latin, Greek, Cyrillic, full-width Latin). The
// table is our own, so the result needs no installed locale.

#include <cstdint>
#include <string>

namespace platform {

// The lower-case form of a letter of Latin (with Latin-1, Latin
// Extended-A and the Vietnamese horned letters), Greek, Cyrillic or
// full-width Latin; final sigma folds to sigma. Anything else as it is.
uint32_t LowerLetter(uint32_t codePoint);

// UTF-8 text with every letter lower-cased; bytes that are not UTF-8 are
// kept as they are.
std::string FoldUtf8(const std::string& text);

// Text in the game's code page with every letter lower-cased, staying in
// the code page; the trail bytes of double-byte characters are never taken
// for letters of their own.
std::string FoldCodePage(const std::string& text);

}  // namespace platform
