#include "platform/ini_file.h"

#include <sstream>

#include "platform/file_io.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

IniFile::IniFile(const std::string& text) {
    Section* current = nullptr;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::string t = Trim(line);
        if (t.empty() || t[0] == ';') continue;
        if (t[0] == '[') {
            size_t close = t.find(']');
            std::string name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            current = nullptr;
            for (auto& s : sections_)
                if (SameText(s.name, name)) current = &s;
            if (!current) {
                sections_.push_back(Section{name, {}});
                current = &sections_.back();
            }
            continue;
        }
        size_t eq = t.find('=');
        if (!current || eq == std::string::npos) continue;
        std::string key = Trim(t.substr(0, eq));
        std::string value = Trim(t.substr(eq + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        bool known = false;
        for (auto& e : current->entries)
            if (SameText(e.key, key)) known = true;
        if (!known) current->entries.push_back(Entry{key, value});
    }
}

IniFile IniFile::Load(const std::string& path) {
    std::vector<uint8_t> bytes;
    // Ini files are small; a huge one is not an ini file.
    if (!ReadWholeFile(path, bytes, nullptr, 1 << 20)) return IniFile();
    return IniFile(std::string(bytes.begin(), bytes.end()));
}

const IniFile::Entry* IniFile::Find(const std::string& section, const std::string& key) const {
    for (auto& s : sections_) {
        if (!SameText(s.name, section)) continue;
        for (auto& e : s.entries)
            if (SameText(e.key, key)) return &e;
        return nullptr;
    }
    return nullptr;
}

bool IniFile::HasValue(const std::string& section, const std::string& key) const {
    return Find(section, key) != nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    const Entry* e = Find(section, key);
    return e ? e->value : def;
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
    const Entry* e = Find(section, key);
    if (!e || e->value.empty()) return def;
    const std::string& v = e->value;
    size_t i = 0;
    bool negative = false;
    if (v[i] == '-' || v[i] == '+') negative = v[i++] == '-';
    int base = 10;
    if (i < v.size() && v[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < v.size() && v[i] == '0' && (v[i + 1] == 'x' || v[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= v.size()) return def;
    int64_t n = 0;
    for (; i < v.size(); ++i) {
        char c = v[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return def;
        n = n * base + d;
        if (n > int64_t(UINT32_MAX)) return def;
    }
    if (negative) n = -n;
    // Hexadecimal reads as 32 bits, as the old class library did ($FFFFFFFF = -1).
    if (base == 16 && n > INT32_MAX) n -= int64_t(1) << 32;
    if (n < INT32_MIN || n > INT32_MAX) return def;
    return int32_t(n);
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    Section* target = nullptr;
    for (auto& s : sections_)
        if (SameText(s.name, section)) target = &s;
    if (!target) {
        sections_.push_back(Section{section, {}});
        target = &sections_.back();
    }
    for (auto& e : target->entries)
        if (SameText(e.key, key)) {
            e.value = value;
            return;
        }
    target->entries.push_back(Entry{key, value});
}

std::string IniFile::ToText() const {
    std::string out;
    for (auto& s : sections_) {
        out += "[" + s.name + "]\n";
        for (auto& e : s.entries) out += e.key + "=" + e.value + "\n";
        out += "\n";
    }
    return out;
}

}  // namespace platform
