#pragma once
// The ANSI code page of game text. Text stays bytes everywhere in the game;
// it is converted to UTF-8 only where it leaves the program: names on disk,
// the window caption and printed messages.
//
// The code page comes from the environment variable VARNOW_CODEPAGE: a
// Windows code page number that iconv converts ("1252", "cp1252",
// "windows-1252") or a usual name ("utf-8", "shift_jis", "gbk", "big5",
// "euc-kr", ...), in any case. Unset it is 932; anything else is 932 with
// a warning on stderr.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

int CodePage();
// Re-reads VARNOW_CODEPAGE (tests change it).
void ReloadCodePage();

// The code pages whose lead bytes start two-byte characters: 932 (Japanese),
// 936 (Simplified Chinese), 949 and 1361 (Korean), 950 (Traditional
// Chinese). Every other code page is single-byte.
bool IsDoubleByteCodePage(int codePage);
// Is this byte the first of a double-byte character in the code page?
bool IsLeadByte(int codePage, unsigned char c);
// The same in the game's code page.
bool IsLeadByte(unsigned char c);

// Game text to UTF-8. Bytes that do not convert become U+FFFD.
std::string ToUtf8(const std::string& text);

// Text that may be UTF-8 already (our own messages, names from disk) or game
// bytes: valid UTF-8 is kept, anything else is converted from the code page.
std::string MessageToUtf8(const std::string& text);
bool IsValidUtf8(const std::string& text);
// One character of UTF-8 at byte `i`: its code point, `i` moved past it.
// False, with `i` moved one byte on, where no whole, shortest sequence of
// a valid code point starts.
bool DecodeUtf8(const std::string& text, size_t& i, uint32_t& codePoint);

}  // namespace platform
