#pragma once
// Where the generator puts its files: every writer hands finished bytes to
// one sink, which writes them below the game folder. Tests use the same
// sink to see which files a run produced.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace mkdemo {

using Bytes = std::vector<uint8_t>;

class OutputFolder {
public:
    explicit OutputFolder(std::filesystem::path root) : root_(std::move(root)) {}

    // Writes `bytes` to root/relative_path, creating folders. Throws
    // std::runtime_error when the file cannot be written.
    void Write(const std::string& relative_path, const Bytes& bytes);
    void Write(const std::string& relative_path, const std::string& text);

    // Records a file that a library writer has already written below the
    // root (the map files write themselves).
    void Adopt(const std::string& relative_path);

    const std::filesystem::path& root() const { return root_; }
    // Relative paths written so far, in sorted order.
    const std::map<std::string, size_t>& written() const { return written_; }

private:
    std::filesystem::path root_;
    std::map<std::string, size_t> written_;
};

// Little helpers for building binary files by hand (for the tool's own
// formats: MIDI and RIFF wave).
void PutU16LE(Bytes& out, uint32_t value);
void PutU32LE(Bytes& out, uint32_t value);
void PutU16BE(Bytes& out, uint32_t value);
void PutU32BE(Bytes& out, uint32_t value);
void PutTag(Bytes& out, const char (&tag)[5]);

}  // namespace mkdemo
