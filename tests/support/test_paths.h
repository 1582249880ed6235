#pragma once
// Where tests find things: the shared test data beside the checkout, and
// fresh temporary folders that are removed when the test ends.

#include <filesystem>
#include <string>

namespace testing_support {

// ../shared/testdata next to the checkout (may not exist).
std::filesystem::path SharedTestData();
bool HaveSharedTestData();

// A fresh empty folder under the system temp folder, deleted on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Writes bytes to a file, creating parent folders.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace testing_support
