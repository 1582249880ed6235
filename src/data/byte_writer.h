#pragma once
// The one small byte writer: appends to a growing buffer in memory. Every
// record, list and file that the program writes goes through it; files are
// then written in one piece from its bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class ByteWriter {
public:
    size_t Size() const { return bytes_.size(); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::span<const uint8_t> Data() const { return bytes_; }
    void Clear() { bytes_.clear(); }

    void WriteU8(uint8_t v) { bytes_.push_back(v); }
    void WriteU16LE(uint16_t v) {
        bytes_.push_back(uint8_t(v));
        bytes_.push_back(uint8_t(v >> 8));
    }
    void WriteU32LE(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(uint8_t(v >> (8 * i)));
    }
    void WriteBytes(const void* data, size_t n) {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + n);
    }
    void WriteBytes(std::span<const uint8_t> data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
    void WriteRaw(const std::string& s) { WriteBytes(s.data(), s.size()); }

    // Moves the bytes out, leaving the writer empty.
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};
