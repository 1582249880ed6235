#pragma once
// Whole-file reads and writes for the image code, on the platform layer's
// file service, raising the program's exceptions.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The whole file. A file that cannot be opened, or is larger than any
// image we take (256 MiB), raises EFOpenError naming it.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// Writes the file atomically (a temporary file renamed over the target).
// Failure raises an Exception naming the file.
void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes);
