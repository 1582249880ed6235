#include "data/map/autotile_shapes.h"

#include <cstddef>

namespace {

// Corner bits c = b AND 15 only matter where no edge already covers that
// corner; the edges e = b div 16 are left 1, up 2, right 4, down 8.
constexpr uint8_t ShapeOfBits(int b) {
    int c = b & 15;
    switch (b >> 4) {
    case 0: return uint8_t(c);
    case 1: return uint8_t(16 + (c & 6) / 2);
    case 2: return uint8_t(20 + (c & 12) / 4);
    case 3: return uint8_t(34 + (c & 4) / 4);
    case 4: return uint8_t(24 + (c & 1) * 2 + (c & 8) / 8);
    case 5: return 32;
    case 6: return uint8_t(36 + (c & 8) / 8);
    case 7: return 42;
    case 8: return uint8_t(28 + (c & 3));
    case 9: return uint8_t(40 + (c & 2) / 2);
    case 10: return 33;
    case 11: return 43;
    case 12: return uint8_t(38 + (c & 1));
    case 13: return 44;
    case 14: return 45;
    default: return 46;
    }
}

constexpr std::array<uint8_t, 256> MakeShapeOf() {
    std::array<uint8_t, 256> table{};
    for (int b = 0; b < 256; ++b) table[size_t(b)] = ShapeOfBits(b);
    return table;
}

}  // namespace

const std::array<uint8_t, kAutoTileShapes> ShapeMask = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  25,
    27,  29,  31,  35,  39,  43,  47,  70,  78,  71,  79,  140, 141, 142, 143, 95,  175,
    59,  63,  103, 111, 206, 207, 157, 159, 127, 191, 223, 239, 255, 0,   0,   0,
};

const std::array<uint8_t, 256> ShapeOf = MakeShapeOf();
