#include "data/record/raw_record.h"

#include <algorithm>

#include "data/record/var_int.h"

void ReadRawChunks(ByteReader& r, std::vector<uint8_t>& out) {
    size_t start = r.Position();
    size_t end = start;
    for (;;) {
        if (ReadVarInt(r) == 0) break;
        // A length cut at the end of the data leaves no room for the
        // terminator, so the next read fails: the kept bytes are always a
        // well-formed record.
        size_t length = ReadVarLength(r);
        r.Skip(std::min(length, r.Remaining()));
        end = r.Position();
    }
    auto bytes = r.Data().subspan(start, end - start);
    out.assign(bytes.begin(), bytes.end());
}

void WriteRawChunks(ByteWriter& w, const std::vector<uint8_t>& chunks) {
    w.WriteBytes(chunks);
    WriteVarInt(w, 0);
}

void TLcfRawRecord::LoadFromStream(ByteReader& r) {
    Clear();
    ReadRawChunks(r, chunks);
}

void TLcfRawRecord::SaveToStream(ByteWriter& w) { WriteRawChunks(w, chunks); }

void TLcfRawItem::LoadFromStream(ByteReader& r) {
    Clear();
    ReadRawChunks(r, chunks);
}

void TLcfRawItem::SaveToStream(ByteWriter& w) { WriteRawChunks(w, chunks); }
