#include "platform/code_page.h"

#include <iconv.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>

namespace platform {

namespace {

constexpr int kDefaultCodePage = 932;

std::string IconvName(int cp) {
    if (cp == 65001) return "UTF-8";
    if (cp == 20932) return "EUC-JP";
    return "CP" + std::to_string(cp);
}

// A code page number, from digits alone, "cpNNNN" or "windows-NNNN".
std::optional<int> CodePageNumber(const std::string& text) {
    std::string digits = text;
    for (const char* prefix : {"cp", "windows-"})
        if (digits.rfind(prefix, 0) == 0) digits = digits.substr(std::strlen(prefix));
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    int v = std::stoi(digits);
    if (v <= 0 || v > 65535) return std::nullopt;
    return v;
}

// Does iconv convert from this code page? (Unknown numbers would turn
// every byte above 0x7F into a replacement character.)
bool IconvKnows(int cp) {
    iconv_t cd = iconv_open("UTF-8", IconvName(cp).c_str());
    if (cd == iconv_t(-1)) return false;
    iconv_close(cd);
    return true;
}

// The value of VARNOW_CODEPAGE: a number iconv knows or one of the usual
// names, in any case. Anything else is warned about and means 932.
int ParseCodePage(const char* env) {
    if (!env || !*env) return kDefaultCodePage;
    static const std::pair<const char*, int> kNames[] = {
        {"utf-8", 65001}, {"utf8", 65001},    {"shift_jis", 932}, {"shift-jis", 932}, {"sjis", 932},
        {"gbk", 936},     {"gb2312", 936},    {"big5", 950},      {"euc-kr", 949},    {"uhc", 949},
        {"johab", 1361},  {"euc-jp", 20932},
    };
    std::string text = env;
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& [name, cp] : kNames)
        if (text == name) return cp;
    if (auto cp = CodePageNumber(text); cp && IconvKnows(*cp)) return *cp;
    std::fprintf(stderr,
                 "varnow: VARNOW_CODEPAGE=\"%s\" is no code page varnow knows (give a number such as 932 or "
                 "1252, or a name such as utf-8, shift_jis, gbk, big5, euc-kr, cp1251 or cp1252); using 932\n",
                 env);
    return kDefaultCodePage;
}

// 0 until the environment was first read; read on first use, so that a
// warning comes from the program that uses the code page.
std::atomic<int> g_codePage{0};


// Do these bytes convert, all of them, from a fresh state? The converter
// is left to be reset by the caller.
bool ConvertsWhole(iconv_t cd, char* in, size_t inLeft) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char scratch[256];
    while (inLeft > 0) {
        char* o = scratch;
        size_t oLeft = sizeof(scratch);
        if (iconv(cd, &in, &inLeft, &o, &oLeft) == size_t(-1) && errno != E2BIG) return false;
    }
    return true;
}

}  // namespace

int CodePage() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (g_codePage == 0) ReloadCodePage();
    });
    return g_codePage;
}

void ReloadCodePage() { g_codePage = ParseCodePage(std::getenv("VARNOW_CODEPAGE")); }

bool IsDoubleByteCodePage(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361;
}

bool IsLeadByte(int codePage, unsigned char c) {
    switch (codePage) {
        case 932:  // Shift-JIS
            return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        case 936:  // GBK
        case 949:  // Unified Hangul
        case 950:  // Big5
            return c >= 0x81 && c <= 0xFE;
        case 1361:  // Johab
            return (c >= 0x84 && c <= 0xD3) || (c >= 0xD8 && c <= 0xDE) || (c >= 0xE0 && c <= 0xF9);
        default:  // single-byte code pages (and UTF-8, which has no trail byte below 0x80)
            return false;
    }
}

bool IsLeadByte(unsigned char c) { return IsLeadByte(CodePage(), c); }

bool DecodeUtf8(const std::string& text, size_t& i, uint32_t& codePoint) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    int extra;
    uint32_t cp;
    if (c < 0x80) {
        codePoint = c;
        ++i;
        return true;
    } else if (c >= 0xC2 && c <= 0xDF) {
        extra = 1;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        extra = 2;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        extra = 3;
        cp = c & 0x07;
    } else {
        ++i;
        return false;
    }
    if (i + size_t(extra) >= text.size()) {
        ++i;
        return false;
    }
    for (int k = 1; k <= extra; ++k) {
        unsigned char t = static_cast<unsigned char>(text[i + size_t(k)]);
        if ((t & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        cp = (cp << 6) | (t & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return false;
    }
    codePoint = cp;
    i += size_t(extra) + 1;
    return true;
}

bool IsValidUtf8(const std::string& text) {
    uint32_t cp = 0;
    for (size_t i = 0; i < text.size();)
        if (!DecodeUtf8(text, i, cp)) return false;
    return true;
}

std::string ToUtf8(const std::string& text) {
    // Plain ASCII is the same in every code page we meet.
    bool ascii = true;
    for (char ch : text)
        if (static_cast<unsigned char>(ch) >= 0x80) ascii = false;
    if (ascii) return text;

    static std::mutex mutex;
    static iconv_t cd = iconv_t(-1);
    static int cdPage = 0;
    std::lock_guard lock(mutex);
    int cp = CodePage();
    if (cd == iconv_t(-1) || cdPage != cp) {
        if (cd != iconv_t(-1)) iconv_close(cd);
        cd = iconv_open("UTF-8", IconvName(cp).c_str());
        cdPage = cp;
    }
    std::string out;
    if (cd == iconv_t(-1)) {
        // An unknown code page: keep ASCII, mark the rest.
        for (char ch : text) out += static_cast<unsigned char>(ch) < 0x80 ? std::string(1, ch) : "\xEF\xBF\xBD";
        return out;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string input = text;
    char* in = input.data();
    size_t inLeft = input.size();
    out.reserve(text.size() * 3 / 2 + 8);
    char buffer[256];
    while (inLeft > 0) {
        char* o = buffer;
        size_t oLeft = sizeof(buffer);
        char* const before = in;
        size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer, size_t(o - buffer));
        if (r == size_t(-1)) {
            if (errno == E2BIG) continue;
            if (in == before) {
                // An invalid or cut-off sequence: one replacement character
                // for the byte, then go on after it.
                out += "\xEF\xBF\xBD";
                ++in;
                --inLeft;
            } else if (!ConvertsWhole(cd, before, size_t(in - before))) {
                // Some converters (code page 949) stop after the bytes they
                // refuse rather than at them: their replacement is due now.
                out += "\xEF\xBF\xBD";
            }
            // Otherwise it stopped at the refused bytes, which the next
            // round meets first.
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    char* o = buffer;
    size_t oLeft = sizeof(buffer);
    iconv(cd, nullptr, nullptr, &o, &oLeft);
    out.append(buffer, size_t(o - buffer));
    return out;
}

std::string MessageToUtf8(const std::string& text) { return IsValidUtf8(text) ? text : ToUtf8(text); }

}  // namespace platform
