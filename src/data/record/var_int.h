#pragma once
// Variable-length integers and strings of the record format.
//
// An integer is stored most significant 7-bit group first; bit 7 marks every
// byte but the last. Values are built unsigned and converted once, so bits
// shifted past bit 31 are simply lost, and every negative value takes five
// bytes when written. A string is its byte count followed by its bytes.

#include <cstdint>
#include <string>

#include "data/byte_reader.h"
#include "data/byte_writer.h"

inline int32_t ReadVarInt(ByteReader& r) {
    uint32_t value = 0;
    for (;;) {
        uint8_t b = r.ReadU8();
        value = (value << 7) | (b & 0x7Fu);
        if (!(b & 0x80)) break;
    }
    return static_cast<int32_t>(value);
}

// A length or count: a negative value cannot be one and is a read error.
inline size_t ReadVarLength(ByteReader& r) {
    int32_t n = ReadVarInt(r);
    if (n < 0) throw EReadError();
    return static_cast<size_t>(n);
}

// Length then bytes; the length is checked against the bytes left before
// anything is allocated.
inline std::string ReadVarString(ByteReader& r) { return r.ReadString(ReadVarLength(r)); }

// Number of bytes (1 to 5) the value takes.
int VarIntSize(int32_t value);
// Writes the value; `counted` puts its byte count in front as one byte, the
// form integer chunks use (the count is then also the chunk's length).
void WriteVarInt(ByteWriter& w, int32_t value, bool counted = false);
void WriteVarString(ByteWriter& w, const std::string& s);
