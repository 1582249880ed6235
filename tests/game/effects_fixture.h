#pragma once
// Shared set-up for the panorama, picture and screen tests: a temporary
// folder of images made in code, the graphics lookup pointed at it, and a
// fixed random source.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/random.h"
#include "graphics/graphics_files.h"
#include "media/image/png.h"
#include "support/test_paths.h"

namespace effects_test {

// An 8-bit image whose pixel (x, y) is 1 + (x + 7y) mod 255, never 0.
inline void SaveRampPng(const std::filesystem::path& path, int width, int height) {
    TSorvoPng png;
    png.SetFormat(width, height, 8);
    for (int i = 0; i < 256; ++i)
        png.Palette[size_t(i)] = PaletteEntry{uint8_t(i * 97), uint8_t(i * 57 + 80), uint8_t(i * 31 + 160), 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) png.Row(y)[x] = uint8_t(1 + (x + 7 * y) % 255);
    png.SaveToFile(path.string());
}

inline uint8_t RampAt(int x, int y) { return uint8_t(1 + (x + 7 * y) % 255); }

struct EffectsFixture : ::testing::Test {
    testing_support::TempDir dir;
    SeededRandom random{1234};
    EffectsFixture() {
        SetRandomSource(&random);
        SetGraphicsFileFinder([this](const std::string&, const std::string& name) {
            return name.empty() ? std::string() : (dir / (name + ".png")).string();
        });
    }
    ~EffectsFixture() override {
        SetGraphicsFileFinder(nullptr);
        SetRandomSource(nullptr);
    }
    void Image(const std::string& name, int width, int height) { SaveRampPng(dir / (name + ".png"), width, height); }
};

}  // namespace effects_test
