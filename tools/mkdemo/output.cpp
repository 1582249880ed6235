#include "output.h"

#include <fstream>
#include <stdexcept>

namespace mkdemo {

void OutputFolder::Write(const std::string& relative_path, const Bytes& bytes) {
    const std::filesystem::path path = root_ / relative_path;
    std::filesystem::create_directories(path.parent_path());
    // Write beside the target and rename, so an interrupted run never leaves
    // a half-written file that a later run would take as finished.
    const std::filesystem::path temp = path.string() + ".part";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        if (!file) throw std::runtime_error("cannot create " + temp.string());
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!file) throw std::runtime_error("cannot write " + temp.string());
    }
    std::filesystem::rename(temp, path);
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
