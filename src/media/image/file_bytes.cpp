#include "media/image/file_bytes.h"

#include "data/errors.h"
#include "data/stderr_note.h"
#include "data/string_table.h"
#include "platform/file_io.h"

namespace {
// No image we take comes near this; larger files are refused unread.
constexpr uint64_t kMaxImageFileBytes = uint64_t(256) << 20;
}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes, nullptr, kMaxImageFileBytes))
        throw EFOpenError(FormatStr(kStrFileOpenError, path));
    return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
    std::string error;
    if (!platform::WriteFileAtomic(path, bytes.data(), bytes.size(), &error)) {
        NoteOnStderr(error);
        throw Exception(FormatStr(kStrWriteError, path));
    }
}
