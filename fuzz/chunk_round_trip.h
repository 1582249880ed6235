#pragma once
// Moves one save chunk's record to bytes and back, for the fuzz targets that
// check a chunk writes, reads back and writes again unchanged.
#include <cstdint>
#include <vector>

#include "data/byte_reader.h"
#include "data/byte_writer.h"

namespace fuzz_support {

template <class T>
std::vector<uint8_t> Save(T& t) {
    ByteWriter w;
    t.SaveToStream(w);
    return w.Take();
}

template <class T>
void Load(T& t, const std::vector<uint8_t>& bytes) {
    ByteReader r(bytes.data(), bytes.size());
    t.LoadFromStream(r);
}

}  // namespace fuzz_support
