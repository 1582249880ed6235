#pragma once
// A fresh headless platform for each test, installed as platform::Sys().

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"

class HeadlessTest : public ::testing::Test {
protected:
    HeadlessTest() {
        auto p = std::make_unique<platform::HeadlessPlatform>();
        sys = p.get();
        platform::SetPlatform(std::move(p));
    }
    ~HeadlessTest() override { platform::SetPlatform(nullptr); }

    platform::HeadlessPlatform* sys;
};
