#include "data/database/battle.h"

#include <cmath>

#include "data/clamp.h"
#include "data/database/database.h"

void TLcfBattleCMDItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&name, false); break;
    case 2: d.SetInteger(&kind, 0); break;
    }
}

void TLcfBattleCMDItem::Clear() {
    TCatalogItem::Clear();
    name.clear();
}

void TLcfBattle::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 2: d.SetInteger(&autoPlacement, 0); break;
    case 4:
    case 15: d.SetInteger(&defeatContinues, 0); break;
    case 6: d.SetInteger(&reserved6, 0); break;
    case 7: d.SetInteger(&layoutStyle, 0); break;
    case 9: d.SetBoolean(&reserved9, 1); break;
    case 10: d.SetList(&commands); break;
    case 16: d.SetInteger(&defeatCommonEvent, 1); break;
    case 20: d.SetInteger(&compactWindows, 0); break;
    case 24: d.SetBoolean(&translucentWindows, 0); break;
    case 25: d.SetBoolean(&defeatTeleport, 0); break;
    case 26: d.SetInteger(&teleportMap, 1); break;
    case 27: d.SetInteger(&teleportX, 0); break;
    case 28: d.SetInteger(&teleportY, 0); break;
    case 29: d.SetInteger(&teleportDirection, 0); break;
    }
}

void TLcfBattle::Clear() {
    TCatalogBaseItem::Clear();
    commands.SetCount(1);
}

namespace {

// Placement tables by member count n (row n, 1..8) and member index, in
// hundredths: the fractions are the decimal values as written (0.33, not a
// third), and integer hundredths keep the products exact.
constexpr int kA[9][8] = {
    {},
    {50},
    {0, 100},
    {0, 50, 100},
    {0, 33, 66, 100},
    {0, 25, 50, 75, 100},
    {0, 0, 50, 50, 100, 100},
    {0, 25, 33, 50, 66, 75, 100},
    {0, 0, 33, 33, 66, 66, 100, 100},
};
constexpr int kA2[9][8] = {
    {},
    {50},
    {0, 100},
    {0, 100, 50},
    {0, 75, 25, 100},
    {0, 50, 100, 25, 75},
    {0, 40, 80, 20, 60, 100},
    {0, 33, 66, 100, 25, 50, 100},
    {0, 28, 56, 84, 14, 42, 70, 98},
};
constexpr int kB[9][8] = {
    {},
    {50},
    {50, 50},
    {0, 50, 100},
    {0, 0, 100, 100},
    {0, 33, 50, 66, 100},
    {0, 0, 50, 50, 100, 100},
    {0, 25, 33, 50, 66, 75, 100},
    {0, 0, 33, 33, 66, 66, 100, 100},
};
// Pixels.
constexpr int kM[9][8] = {
    {},
    {0},
    {24, 0},
    {48, 48, 0},
    {48, 48, 0, 0},
    {56, 56, 56, 8, 8},
    {56, 56, 56, 8, 8, 0},
    {64, 64, 64, 64, 16, 16, 16},
    {64, 64, 64, 64, 16, 16, 16, 16},
};
constexpr int kR[8] = {-1, 1, -1, 1, -1, 1, -1, 1};
constexpr int kS[8] = {1, -1, 1, -1, 1, -1, 1, -1};

using Table = int[9][8];

// Member counts from files can be 0 or above 8; the tables cover 1..8.
int Row(int count) { return Clamp(count, 1, 8); }
// Indexes outside the row read 0.
int At(const Table& t, int count, int index) { return index >= 0 && index < 8 ? t[Row(count)][index] : 0; }
int At(const int (&t)[8], int index) { return index >= 0 && index < 8 ? t[index] : 0; }

struct Grid {
    int64_t top, depth, width;
};

Grid GridFor(int layout, int terrain) {
    if (terrain >= 1 && DbGround) {
        if (const TLcfGroundItem* g = DbGround->Find(terrain)) return {g->gridTop, g->gridDepth, g->gridWidth};
    }
    // No terrain (or one the database lacks): the fixed grid of the layout.
    return layout == 2 ? Grid{132, 196, 24000} : Grid{112, 392, 16000};
}

// trunc(120 x sin(depth / 1000) x T[n][i]).
int64_t Spread(const Grid& g, int hundredths) {
    double v = 120.0 * std::sin(static_cast<double>(g.depth) / 1000.0) * (hundredths / 100.0);
    return static_cast<int64_t>(std::trunc(v));
}

// trunc((1 - A[n][i]) x width / 1000), exactly.
int64_t Slant(const Grid& g, int count, int index) {
    return (100 - int64_t(At(kA, count, index))) * g.width / 100000;
}

}  // namespace

int TLcfBattle::HeroScreenX(int kind, int layout, int terrain, int count, int index, int offset) const {
    Grid g = GridFor(layout, terrain);
    int64_t slant = Slant(g, count, index);
    int64_t x;
    switch (kind) {
    case kStartBackAttack: x = slant + 48 - offset; break;
    case kStartSurround: x = At(kS, index) < 0 ? slant + 24 + offset : 296 - int64_t(offset) - slant; break;
    case kStartPincer: x = 172 - int64_t(offset); break;
    default: x = 296 - int64_t(offset) - slant; break;
    }
    return ClampToInt32(x);
}

int TLcfBattle::HeroScreenY(int kind, int layout, int terrain, int count, int index) const {
    Grid g = GridFor(layout, terrain);
    const Table& t = kind == kStartSurround ? kB : kA;
    return ClampToInt32(g.top + Spread(g, At(t, count, index)));
}

int TLcfBattle::MonsterScreenX(int kind, int layout, int terrain, int count, int index, int offset) const {
    Grid g = GridFor(layout, terrain);
    int64_t slant = Slant(g, count, index);
    int64_t m = At(kM, count, index);
    int64_t x;
    switch (kind) {
    case kStartBackAttack: x = 320 - (slant + m + offset); break;
    case kStartSurround: x = 160 + 16 * At(kR, index); break;
    case kStartPincer: x = At(kS, index) < 0 ? slant + 16 + offset : 320 - (slant + 16 + offset); break;
    default: x = slant + m + offset; break;
    }
    return ClampToInt32(x);
}

int TLcfBattle::MonsterScreenY(int kind, int layout, int terrain, int count, int index) const {
    Grid g = GridFor(layout, terrain);
    const Table& t = kind == kStartPincer && terrain >= 1 ? kB : kA2;
    return ClampToInt32(g.top + Spread(g, At(t, count, index)));
}

int TLcfBattle::MonsterFacing(int kind, int index) {
    switch (kind) {
    case kStartInitiative:
    case kStartBackAttack:
    case kStartSurround: return 1;
    case kStartPincer: return static_cast<int>((int64_t(index) + 1) & 1);
    default: return 0;
    }
}
