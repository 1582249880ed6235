#include "scenes/windows/text_units.h"

#include "platform/code_page.h"

namespace {

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

size_t TextUnitLength(const std::string& text, size_t pos) {
    if (pos >= text.size()) return 0;
    const unsigned char b = static_cast<unsigned char>(text[pos]);
    if (pos + 1 >= text.size()) return 1;
    const unsigned char next = static_cast<unsigned char>(text[pos + 1]);
    if (b == '$') return IsAsciiLetter(next) || next == '$' ? 2 : 1;
    return platform::IsLeadByte(b) ? 2 : 1;
}

size_t TextUnitStart(const std::string& text, size_t pos) {
    if (pos >= text.size()) return pos;
    size_t at = 0;
    while (at < text.size()) {
        const size_t length = TextUnitLength(text, at);
        if (pos < at + length) return at;
        at += length;
    }
    return pos;
}

std::string CutToBytes(const std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    return text.substr(0, TextUnitStart(text, maxBytes));
}
