#include "game/stand_ins.h"

void TLcfgChunkStandIn::LoadFromStream(ByteReader& r) {
    auto rest = r.Take(r.Remaining());
    bytes.assign(rest.begin(), rest.end());
}

void TLcfgChunkStandIn::SaveToStream(ByteWriter& w) { w.WriteBytes(bytes.data(), bytes.size()); }

uint8_t& GameSceneNumber() {
    static uint8_t scene = 6;
    return scene;
}

int32_t& GameFrameCount() {
    static int32_t frames = 0;
    return frames;
}
