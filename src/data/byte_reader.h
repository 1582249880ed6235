#pragma once
// One bounds-checked reader over bytes in memory. Every parser of untrusted
// data reads through it: any read past the end raises EReadError before
// anything is allocated or copied.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/errors.h"

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}
    ByteReader(const uint8_t* data, size_t size) : data_(data, size) {}

    size_t Position() const { return pos_; }
    size_t Size() const { return data_.size(); }
    size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }
    std::span<const uint8_t> Data() const { return data_; }

    // Moves to an absolute position; past the end is a read error.
    void Seek(size_t pos) {
        if (pos > data_.size()) throw EReadError();
        pos_ = pos;
    }
    void Skip(size_t n) {
        Require(n);
        pos_ += n;
    }

    uint8_t ReadU8() {
        Require(1);
        return data_[pos_++];
    }
    uint16_t ReadU16LE() {
        Require(2);
        uint16_t v = uint16_t(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    uint32_t ReadU32LE() {
        Require(4);
        uint32_t v = uint32_t(data_[pos_]) | (uint32_t(data_[pos_ + 1]) << 8) | (uint32_t(data_[pos_ + 2]) << 16) |
                     (uint32_t(data_[pos_ + 3]) << 24);
        pos_ += 4;
        return v;
    }
    uint16_t ReadU16BE() {
        Require(2);
        uint16_t v = uint16_t((data_[pos_] << 8) | data_[pos_ + 1]);
        pos_ += 2;
        return v;
    }
    uint32_t ReadU32BE() {
        Require(4);
        uint32_t v = (uint32_t(data_[pos_]) << 24) | (uint32_t(data_[pos_ + 1]) << 16) |
                     (uint32_t(data_[pos_ + 2]) << 8) | uint32_t(data_[pos_ + 3]);
        pos_ += 4;
        return v;
    }
    // Copies n bytes out; checks the length before allocating.
    void ReadBytes(void* out, size_t n) {
        Require(n);
        if (n) std::copy(data_.begin() + pos_, data_.begin() + pos_ + n, static_cast<uint8_t*>(out));
        pos_ += n;
    }
    std::vector<uint8_t> ReadVector(size_t n) {
        Require(n);
        std::vector<uint8_t> v(data_.begin() + pos_, data_.begin() + pos_ + n);
        pos_ += n;
        return v;
    }
    std::string ReadString(size_t n) {
        Require(n);
        std::string s(reinterpret_cast<const char*>(data_.data()) + pos_, n);
        pos_ += n;
        return s;
    }
    // A view of the next n bytes, consumed.
    std::span<const uint8_t> Take(size_t n) {
        Require(n);
        auto s = data_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    // A reader confined to the next n bytes, which are consumed here.
    ByteReader Sub(size_t n) { return ByteReader(Take(n)); }

private:
    void Require(size_t n) const {
        if (n > data_.size() - pos_) throw EReadError();
    }

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};
