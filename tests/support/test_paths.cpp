#include "support/test_paths.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace testing_support {

std::filesystem::path SharedTestData() {
    // The folder beside the checkout; a worktree one level deeper finds it
    // beside one of the folders above.
    std::filesystem::path configured(VARNOW_SHARED_TESTDATA);
    std::error_code ec;
    if (std::filesystem::is_directory(configured, ec)) return configured;
    for (auto dir = std::filesystem::path(VARNOW_SOURCE_DIR); dir.has_relative_path(); dir = dir.parent_path()) {
        auto candidate = dir.parent_path() / "shared" / "testdata";
        if (std::filesystem::is_directory(candidate, ec)) return candidate;
    }
    return configured;
}

bool HaveSharedTestData() { return std::filesystem::is_directory(SharedTestData()); }

TempDir::TempDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() / ("varnow-test-" + std::to_string(rd()));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace testing_support
