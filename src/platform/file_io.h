#pragma once
// Whole files in and out of memory. Every loader reads its file whole and
// parses the bytes with the bounds-checked reader; every writer of a file
// the player cares about (saves, settings) writes atomically: a temporary
// file in the same folder, flushed to disk, then renamed over the old one,
// so a crash or a full disk never leaves a half-written file behind.

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Files larger than this are refused rather than loaded.
constexpr uint64_t kMaxFileBytes = uint64_t(512) << 20;

// Reads the whole file. False (with a reason in *error when given) when it
// cannot be opened or read, or is larger than maxBytes.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string* error = nullptr,
                   uint64_t maxBytes = kMaxFileBytes);

// The first n bytes (fewer when the file is shorter); false when it cannot
// be opened.
bool ReadFilePrefix(const std::string& path, size_t n, std::vector<uint8_t>& out);

// Writes the file atomically (see above). The old file, if any, is left as
// it was when anything fails.
bool WriteFileAtomic(const std::string& path, const void* data, size_t size, std::string* error = nullptr);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Can we create files in the folder?
bool IsFolderWritable(const std::string& path);
// Creates the folder and its missing parents.
bool CreateFolders(const std::string& path);
bool DeleteFile(const std::string& path);

}  // namespace platform
