#pragma once
// Text as the renderer draws it, in units: a double-byte character (lead
// and trail byte) and a "$" symbol pair are two bytes, everything else one.
// Cutting or shortening text by bytes goes through here so that no unit is
// ever split in half.

#include <cstddef>
#include <string>

// The byte length of the unit starting at `pos` (0 past the end).
size_t TextUnitLength(const std::string& text, size_t pos);
// The start of the unit that holds byte `pos` (pos itself past the end).
size_t TextUnitStart(const std::string& text, size_t pos);
// The longest head of `text` of at most `maxBytes` bytes that ends between
// units.
std::string CutToBytes(const std::string& text, size_t maxBytes);
