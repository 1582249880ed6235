#pragma once
// Where battlers stand. Positions come from game files (a hero's battle
// place, a troop member's place, the battle layout's grid) and may be any
// 32-bit value; they are worked out in 64 bits and stored within a range
// far beyond the screen, so that the offsets added later (rows, shakes,
// poses, depths, pop-ups) can never overflow.
#include <cstdint>

#include "data/clamp.h"

inline constexpr int64_t kBattlePositionLimit = int64_t(1) << 24;

constexpr int32_t ClampBattlePosition(int64_t v) {
    return int32_t(Clamp<int64_t>(v, -kBattlePositionLimit, kBattlePositionLimit));
}
