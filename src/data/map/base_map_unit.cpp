#include "data/map/base_map_unit.h"

#include <cstdio>
#include <vector>

#include "data/folders.h"
#include "data/record/var_int.h"
#include "data/bad_file_header.h"
#include "data/stderr_note.h"
#include "data/string_table.h"
#include "platform/file_io.h"

namespace {

// No map comes near this (the largest map's layers take 16 MB).
constexpr uint64_t kMaxMapFileBytes = uint64_t(64) << 20;

}  // namespace

std::string MapFileName(int32_t id) {
    char name[32];
    std::snprintf(name, sizeof name, "Map%.4d.lmu", int(id));
    return name;
}

void TLcfBaseMapUnit::LoadById(int32_t id) {
    std::string name = MapFileName(id);
    auto found = FindGameFile(name);
    LoadFromFile(found ? *found : ExeDir + name);
    SetId(id);
}

void TLcfBaseMapUnit::LoadFromFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes, nullptr, kMaxMapFileBytes)) {
        Clear();
        throw EFOpenError(FormatStr(kStrFileOpenError, path));
    }
    NamingFileOnError(path, [&] { LoadFromBytes(bytes); });
}

void TLcfBaseMapUnit::LoadFromBytes(std::span<const uint8_t> bytes) {
    Clear();
    ByteReader r(bytes);
    std::string magic;
    try {
        magic = ReadVarString(r);
    } catch (const EReadError&) {
        magic.clear();
    }
    if (magic != kMapFileMagic) throw EBadFileHeader("a map file", kMapFileMagic);
    ReadFields(r);
}

void TLcfBaseMapUnit::SaveToFile(const std::string& path) {
    ByteWriter w;
    WriteVarString(w, kMapFileMagic);
    WriteFields(w);
    std::string error;
    if (!platform::WriteFileAtomic(path, w.Bytes().data(), w.Size(), &error)) {
        NoteOnStderr(error);
        throw Exception(FormatStr(kStrWriteError, path));
    }
}

void TLcfBaseMapUnit::DeleteTempCopy(int32_t id) { SetId(id); }
