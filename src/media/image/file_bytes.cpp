#include "media/image/file_bytes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "data/errors.h"
#include "data/string_table.h"

namespace {
constexpr std::streamoff kMaxFileBytes = std::streamoff(256) << 20;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EFOpenError(FormatStr(kStrFileOpenError, path));
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0) throw EFOpenError(FormatStr(kStrFileOpenError, path));
    if (size > kMaxFileBytes) throw EReadError();
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) throw EReadError();
    return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) throw Exception(FormatStr(kStrWriteError, path));
        if (!bytes.empty()) out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(temp.c_str());
            throw Exception(FormatStr(kStrWriteError, path));
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::remove(temp.c_str());
        throw Exception(FormatStr(kStrWriteError, path));
    }
}
