#pragma once
// A whole file read back, for tests that compare what was written.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testing_support {

// The file's bytes (empty when it cannot be read).
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace testing_support
