#include "output.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace mkdemo {

void OutputFolder::Write(const std::string& relative_path, const Bytes& bytes) {
    const std::filesystem::path path = root_ / relative_path;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (ec) throw std::runtime_error("cannot create the folder " + path.parent_path().string() + ": " + ec.message());
    // Write beside the target and rename, so an interrupted run never leaves
    // a half-written file that a later run would take as finished.
    const std::filesystem::path temp = path.string() + ".part";
    auto fail = [&](const char* what) {
        const std::string reason = std::strerror(errno);
        std::filesystem::remove(temp, ec);
        throw std::runtime_error(what + path.string() + ": " + reason);
    };
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        if (!file) fail("cannot create ");
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) fail("cannot write ");
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        throw std::runtime_error("cannot write " + path.string() + ": " + ec.message());
    }
    written_[relative_path] = bytes.size();
}

void OutputFolder::Write(const std::string& relative_path, const std::string& text) {
    Write(relative_path, Bytes(text.begin(), text.end()));
}

void OutputFolder::Adopt(const std::string& relative_path) {
    const std::filesystem::path path = root_ / relative_path;
    if (!std::filesystem::is_regular_file(path)) throw std::runtime_error("missing " + path.string());
    written_[relative_path] = static_cast<size_t>(std::filesystem::file_size(path));
}

void PutU16LE(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32LE(Bytes& out, uint32_t value) {
    PutU16LE(out, value & 0xFFFF);
    PutU16LE(out, value >> 16);
}

void PutU16BE(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void PutU32BE(Bytes& out, uint32_t value) {
    PutU16BE(out, value >> 16);
    PutU16BE(out, value & 0xFFFF);
}

void PutTag(Bytes& out, const char (&tag)[5]) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace mkdemo
