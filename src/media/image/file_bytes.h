#pragma once
// Whole-file reads and writes for the image code. Kept in one small place so
// they can move onto the platform layer's file service unchanged.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The whole file. A file that cannot be opened raises EFOpenError naming
// it; one larger than any image we take (256 MiB) raises EReadError.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// Writes the bytes to a temporary file beside the target and renames it over
// the target, so a failed write never leaves half a file. Failure raises an
// Exception naming the file.
void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes);
