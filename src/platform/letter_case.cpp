#include "platform/letter_case.h"

#include <array>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/code_page.h"

namespace platform {

namespace {

void EncodeUtf8(uint32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// The code point of text that is exactly one character, else 0.
uint32_t SingleCodePoint(const std::string& utf8) {
    size_t i = 0;
    uint32_t cp = 0;
    if (utf8.empty() || !DecodeUtf8(utf8, i, cp) || i != utf8.size() || cp == 0xFFFD) return 0;
    return cp;
}

// How the letters of one code page fold: single bytes and double-byte
// characters (lead byte << 8 | trail byte) that have a lower-case form in
// the same code page.
struct FoldTable {
    std::array<uint8_t, 256> bytes{};
    std::unordered_map<uint16_t, uint16_t> pairs;
};

FoldTable BuildFoldTable(int codePage) {
    FoldTable table;
    for (int b = 0; b < 256; ++b) table.bytes[size_t(b)] = uint8_t(b);
    // Every character of the code page by its code point, then each one
    // whose lower-case form is also in the code page points at it.
    std::map<uint32_t, uint16_t> byCodePoint;
    std::vector<std::pair<uint16_t, uint32_t>> characters;
    auto add = [&](uint16_t code, const std::string& bytes) {
        const uint32_t cp = SingleCodePoint(ToUtf8(bytes));
        if (cp == 0) return;
        byCodePoint.emplace(cp, code);
        characters.emplace_back(code, cp);
    };
    for (int b = 0x41; b < 0x100; ++b) {
        if (!IsLeadByte(codePage, uint8_t(b))) {
            add(uint16_t(b), std::string(1, char(b)));
            continue;
        }
        for (int t = 0x30; t < 0xFF; ++t) add(uint16_t(b << 8 | t), std::string{char(b), char(t)});
    }
    for (const auto& [code, cp] : characters) {
        const uint32_t lower = LowerLetter(cp);
        if (lower == cp) continue;
        auto it = byCodePoint.find(lower);
        // Folding never changes a name's length: both forms one byte or
        // both two.
        if (it == byCodePoint.end() || (code < 0x100) != (it->second < 0x100)) continue;
        if (code < 0x100) table.bytes[code] = uint8_t(it->second);
        else table.pairs[code] = it->second;
    }
    return table;
}

const FoldTable& FoldTableFor(int codePage) {
    static std::mutex mutex;
    static std::map<int, FoldTable> tables;
    std::lock_guard lock(mutex);
    auto it = tables.find(codePage);
    if (it == tables.end()) it = tables.emplace(codePage, BuildFoldTable(codePage)).first;
    return it->second;
}

}  // namespace

uint32_t LowerLetter(uint32_t cp) {
    if (cp < 0x80) return cp >= 'A' && cp <= 'Z' ? cp + 0x20 : cp;
    if (cp < 0x100) return cp >= 0xC0 && cp <= 0xDE && cp != 0xD7 ? cp + 0x20 : cp;
    if (cp < 0x180) {
        // Latin Extended-A: pairs of capital and small, on even or on odd
        // code points by block, with a few letters that have no pair.
        if (cp == 0x130) return 'i';
        if (cp == 0x178) return 0xFF;
        if ((cp <= 0x137 && cp != 0x131) || (cp >= 0x14A && cp <= 0x177)) return cp % 2 == 0 ? cp + 1 : cp;
        if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) return cp % 2 == 1 ? cp + 1 : cp;
        return cp;
    }
    if (cp == 0x1A0 || cp == 0x1AF) return cp + 1;  // Vietnamese O and U with horn
    if (cp >= 0x370 && cp < 0x400) {
        if (cp == 0x386) return 0x3AC;
        if (cp >= 0x388 && cp <= 0x38A) return cp + 0x25;
        if (cp == 0x38C) return 0x3CC;
        if (cp == 0x38E || cp == 0x38F) return cp + 0x3F;
        if (cp >= 0x391 && cp <= 0x3AB && cp != 0x3A2) return cp + 0x20;
        if (cp == 0x3C2) return 0x3C3;  // final sigma is sigma
        return cp;
    }
    if (cp >= 0x400 && cp < 0x500) {
        if (cp < 0x410) return cp + 0x50;
        if (cp < 0x430) return cp + 0x20;
        if ((cp >= 0x460 && cp <= 0x481) || (cp >= 0x48A && cp <= 0x4BF)) return cp % 2 == 0 ? cp + 1 : cp;
        return cp;
    }
    if (cp >= 0xFF21 && cp <= 0xFF3A) return cp + 0x20;  // full-width Latin
    return cp;
}

std::string FoldUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        uint32_t cp = 0;
        if (DecodeUtf8(text, i, cp)) EncodeUtf8(LowerLetter(cp), out);
        else out.append(text, start, i - start);
    }
    return out;
}

std::string FoldCodePage(const std::string& text) {
    const int codePage = CodePage();
    std::string out = text;
    // Plain ASCII needs no table (and has no trail bytes).
    bool ascii = true;
    for (char ch : out) ascii &= static_cast<unsigned char>(ch) < 0x80;
    if (ascii) {
        for (char& ch : out)
            if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
        return out;
    }
    const FoldTable& table = FoldTableFor(codePage);
    for (size_t i = 0; i < out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(codePage, c) && i + 1 < out.size()) {
            const uint16_t code = uint16_t(c << 8 | static_cast<unsigned char>(out[i + 1]));
            if (auto it = table.pairs.find(code); it != table.pairs.end()) {
                out[i] = char(it->second >> 8);
                out[i + 1] = char(it->second & 0xFF);
            }
            ++i;
            continue;
        }
        out[i] = char(table.bytes[c]);
    }
    return out;
}

}  // namespace platform
