#pragma once
// Ini files as games write them: "[Section]" lines and "Key=Value" lines.
// Sections and keys match without regard to ASCII case; values are trimmed
// of spaces and tabs and of one pair of enclosing quotes. Lines starting
// with ';' are comments. Where a section or key appears twice, the first
// one counts. Text stays in the game's code page.

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class IniFile {
public:
    IniFile() = default;
    // Parses text (any line endings).
    explicit IniFile(const std::string& text);
    // Reads a file; a missing or unreadable file reads as empty.
    static IniFile Load(const std::string& path);

    bool HasValue(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // A decimal number (optional sign) or a hexadecimal one ("$1F", "0x1F");
    // anything else, or a number out of range, gives the default.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;

    // Sets a value, adding the section or key when missing.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // The file's text, sections and keys in their order.
    std::string ToText() const;

private:
    struct Entry {
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const Entry* Find(const std::string& section, const std::string& key) const;
    std::vector<Section> sections_;
};

}  // namespace platform
