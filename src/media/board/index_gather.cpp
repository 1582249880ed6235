#include "media/board/index_gather.h"

void SlantRow(uint8_t* out, size_t n, const uint8_t* pixels, size_t, int64_t pitch, int64_t u0, int64_t v0, int64_t du,
              int64_t dv) {
    int64_t u = u0, v = v0;
    for (size_t k = 0; k < n; ++k, u += du, v += dv) out[k] = pixels[(v >> 16) * pitch + (u >> 16)];
}

void MappedRow(uint8_t* out, size_t n, const uint8_t* row, size_t, const int32_t* columns) {
    for (size_t k = 0; k < n; ++k) out[k] = row[columns[k]];
}
