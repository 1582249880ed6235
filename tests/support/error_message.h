#pragma once
// The message of the error a piece of code throws, for tests that check
// which error a bad input gets.

#include <functional>
#include <string>

#include "data/errors.h"

namespace testing_support {

// The message of the Exception `f` throws; empty when it throws none.
inline std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

}  // namespace testing_support
