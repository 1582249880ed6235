#include "data/map/map_tree.h"

#include "data/folders.h"
#include "data/record/var_int.h"
#include "data/bad_file_header.h"
#include "data/stderr_note.h"
#include "data/string_table.h"
#include "platform/file_io.h"

TLcfMapTree* GameMapTree = nullptr;

namespace {

constexpr uint64_t kMaxTreeFileBytes = uint64_t(64) << 20;

}  // namespace

void TLcfMapTree::Load() {
    auto found = FindGameFile(kMapTreeFileName);
    LoadFromFile(found ? *found : ExeDir + kMapTreeFileName);
}

void TLcfMapTree::LoadFromFile(const std::string& path) {
    // Temporary copies of maps are never made (TLcfBaseMapUnit), so the
    // entries already here leave nothing behind to delete.
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes, nullptr, kMaxTreeFileBytes))
        throw EFOpenError(FormatStr(kStrFileOpenError, path));
    NamingFileOnError(path, [&] { LoadFromBytes(bytes); });
}

void TLcfMapTree::LoadFromBytes(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    std::string magic;
    try {
        magic = ReadVarString(r);
    } catch (const EReadError&) {
        magic.clear();
    }
    if (magic != kMapTreeMagic) throw EBadFileHeader("a map tree", kMapTreeMagic);
    // The order refers to entries: it goes first, so that it never points
    // into a cleared list.
    order_.clear();
    LoadFromStream(r);
    // No space is reserved from the count: a file can claim any count, and
    // only the ids actually present take memory.
    size_t count = ReadVarLength(r);
    for (size_t i = 0; i < count; ++i) order_.push_back(FindMap(ReadVarInt(r)));
    activeMapId = ReadVarInt(r);
    startPosition.LoadFromStream(r);
}

void TLcfMapTree::SaveTree(ByteWriter& w) {
    WriteVarString(w, kMapTreeMagic);
    SaveToStream(w);
    WriteVarInt(w, int32_t(order_.size()));
    for (const TLcfMapTreeItem* item : order_) WriteVarInt(w, item->Id());
    WriteVarInt(w, activeMapId);
    startPosition.SaveToStream(w);
}
