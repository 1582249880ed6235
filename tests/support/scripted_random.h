#pragma once
// A random source for battle tests: it answers the scripted numbers first
// (each clamped to the range asked for), then seeded ones, and records every
// range it was asked for, so a test can pin both the draws and their order.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <vector>

#include "data/random.h"

namespace testing_support {

class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(uint64_t seed) : seeded(seed) {}
    int32_t Next(int32_t n) override {
        ranges.push_back(n);
        if (!script.empty()) {
            const int32_t v = script.front();
            script.pop_front();
            return std::clamp(v, 0, n - 1);
        }
        return seeded.Next(n);
    }
    std::deque<int32_t> script;
    std::vector<int32_t> ranges;
    SeededRandom seeded;
};

}  // namespace testing_support
