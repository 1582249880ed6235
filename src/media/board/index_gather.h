#pragma once
// Gathering a row of sheet indices for the rotating and waving blits, which
// read the source along a slant or through a column map instead of straight
// along a row: the portable loops, used where the wide blits (wide_blit.h)
// are not.

#include <cstddef>
#include <cstdint>

// out[k] = pixels[(v >> 16) * pitch + (u >> 16)] for k in [0, n), where
// u = u0 + k * du and v = v0 + k * dv (16.16 fixed point). The caller has
// checked that both ends of the walk lie inside the sheet of `size` bytes
// and `pitch` bytes a row, which the straight walk then never leaves.
void SlantRow(uint8_t* out, size_t n, const uint8_t* pixels, size_t size, int64_t pitch, int64_t u0, int64_t v0,
              int64_t du, int64_t dv);

// out[k] = row[columns[k]] for k in [0, n). The columns never fall as k
// grows; the caller has checked columns[0] >= 0 and columns[n - 1] <
// `available`, the bytes readable from `row` on.
void MappedRow(uint8_t* out, size_t n, const uint8_t* row, size_t available, const int32_t* columns);
