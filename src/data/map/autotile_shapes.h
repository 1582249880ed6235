#pragma once
// Autotile shapes and the neighbour bits they stand for.
//
// Neighbour bits of a cell: down 128, right 64, up 32, left 16, down-left 8,
// down-right 4, up-right 2, up-left 1. A bit is set where the neighbour is
// of another kind, so the shape draws an edge or corner there. Shapes are
// 0..49 within an autotile block; 47..49 stand for no bits.

#include <array>
#include <cstddef>
#include <cstdint>

enum : uint8_t {
    kNeighbourUpLeft = 1,
    kNeighbourUpRight = 2,
    kNeighbourDownRight = 4,
    kNeighbourDownLeft = 8,
    kNeighbourLeft = 16,
    kNeighbourUp = 32,
    kNeighbourRight = 64,
    kNeighbourDown = 128,
};

inline constexpr int kAutoTileShapes = 50;

// Shape -> the neighbour bits it stands for.
extern const std::array<uint8_t, kAutoTileShapes> ShapeMask;
// Neighbour bits -> shape.
extern const std::array<uint8_t, 256> ShapeOf;
