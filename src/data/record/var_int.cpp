#include "data/record/var_int.h"

int VarIntSize(int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    int n = 1;
    for (int k = 1; k <= 4; ++k)
        if (v >> (7 * k)) n = k + 1;
    return n;
}

void WriteVarInt(ByteWriter& w, int32_t value, bool counted) {
    uint32_t v = static_cast<uint32_t>(value);
    int n = VarIntSize(value);
    if (counted) w.WriteU8(uint8_t(n));
    for (int j = n - 1; j >= 1; --j) w.WriteU8(uint8_t(((v >> (7 * j)) & 0x7F) | 0x80));
    w.WriteU8(uint8_t(v & 0x7F));
}

void WriteVarString(ByteWriter& w, const std::string& s) {
    WriteVarInt(w, static_cast<int32_t>(s.size()));
    w.WriteRaw(s);
}
