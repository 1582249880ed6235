#pragma once
// The one shared random generator. `Random(n)` answers 0..n-1, and 0 for
// n <= 0. Tests replace the source to script the numbers drawn.

#include <cstdint>
#include <memory>

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // 0..n-1 for n >= 1.
    virtual int32_t Next(int32_t n) = 0;
};

// The default source: a seedable 64-bit generator (splitmix64).
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(uint64_t seed = 0) : state_(seed) {}
    void Seed(uint64_t seed) { state_ = seed; }
    int32_t Next(int32_t n) override;

private:
    uint64_t state_;
};

int32_t Random(int32_t n);
// Seeds the default source from the clock (start-up's "random seed").
void Randomize();
void SeedRandom(uint64_t seed);
// Replaces the shared source; nullptr restores the default. The caller keeps
// ownership and must keep the source alive while it is installed.
void SetRandomSource(RandomSource* source);
