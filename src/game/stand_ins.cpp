#include "game/stand_ins.h"

void TLcfgChunkStandIn::LoadFromStream(ByteReader& r) {
    auto rest = r.Take(r.Remaining());
    bytes.assign(rest.begin(), rest.end());
}

void TLcfgChunkStandIn::SaveToStream(ByteWriter& w) { w.WriteBytes(bytes.data(), bytes.size()); }
