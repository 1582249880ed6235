#pragma once
// A tiny deterministic generator for the tool's textures and noise, so the
// same bytes come out on every run and every machine.

#include <cstdint>

namespace mkdemo {

class ToolRandom {
public:
    explicit ToolRandom(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t Next() {
        // xorshift32
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // 0 .. n-1
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n)); }
    // -1.0 .. 1.0
    double Signed() { return static_cast<double>(Next() & 0xFFFFFF) / 8388607.5 - 1.0; }

private:
    uint32_t state_;
};

}  // namespace mkdemo
