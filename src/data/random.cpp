#include "data/random.h"

#include <chrono>

namespace {
SeededRandom& DefaultSource() {
    static SeededRandom source(0x5eed);
    return source;
}
RandomSource* g_source = nullptr;
}  // namespace

int32_t SeededRandom::Next(int32_t n) {
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    // Multiply-shift keeps the result unbiased enough and never divides.
    return int32_t((uint64_t(uint32_t(z)) * uint64_t(n)) >> 32);
}

int32_t Random(int32_t n) {
    if (n <= 0) return 0;
    RandomSource& source = g_source ? *g_source : DefaultSource();
    return source.Next(n);
}

void Randomize() {
    DefaultSource().Seed(uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                         uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
}

void SeedRandom(uint64_t seed) { DefaultSource().Seed(seed); }

void SetRandomSource(RandomSource* source) { g_source = source; }
