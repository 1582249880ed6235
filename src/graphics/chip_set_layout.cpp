#include "graphics/chip_set_layout.h"

#include "data/errors.h"

namespace {

struct Quad {
    uint8_t c[8];  // column, row of top-left, top-right, bottom-left, bottom-right
};

constexpr ChipCell kBaseCells[18] = {
    {0, 0}, {0, 0}, {0, 0}, {6, 8},  {8, 8},   {10, 8},  {0, 16},  {6, 16},  {0, 24},
    {6, 24}, {12, 0}, {18, 0}, {12, 8}, {18, 8}, {12, 16}, {18, 16}, {12, 24}, {18, 24},
};

constexpr Quad kWater[50] = {
    {{0, 8, 1, 8, 0, 9, 1, 9}}, {{0, 6, 1, 8, 0, 9, 1, 9}}, {{0, 8, 1, 6, 0, 9, 1, 9}}, {{0, 6, 1, 6, 0, 9, 1, 9}},
    {{0, 8, 1, 8, 0, 9, 1, 7}}, {{0, 6, 1, 8, 0, 9, 1, 7}}, {{0, 8, 1, 6, 0, 9, 1, 7}}, {{0, 6, 1, 6, 0, 9, 1, 7}},
    {{0, 8, 1, 8, 0, 7, 1, 9}}, {{0, 6, 1, 8, 0, 7, 1, 9}}, {{0, 8, 1, 6, 0, 7, 1, 9}}, {{0, 6, 1, 6, 0, 7, 1, 9}},
    {{0, 8, 1, 8, 0, 7, 1, 7}}, {{0, 6, 1, 8, 0, 7, 1, 7}}, {{0, 8, 1, 6, 0, 7, 1, 7}}, {{0, 6, 1, 6, 0, 7, 1, 7}},
    {{0, 2, 1, 8, 0, 3, 1, 9}}, {{0, 2, 1, 6, 0, 3, 1, 9}}, {{0, 2, 1, 8, 0, 3, 1, 7}}, {{0, 2, 1, 6, 0, 3, 1, 7}},
    {{0, 4, 1, 4, 0, 9, 1, 9}}, {{0, 4, 1, 4, 0, 9, 1, 7}}, {{0, 4, 1, 4, 0, 7, 1, 9}}, {{0, 4, 1, 4, 0, 7, 1, 7}},
    {{0, 8, 1, 2, 0, 9, 1, 3}}, {{0, 8, 1, 2, 0, 7, 1, 3}}, {{0, 6, 1, 2, 0, 9, 1, 3}}, {{0, 6, 1, 2, 0, 7, 1, 3}},
    {{0, 8, 1, 8, 0, 5, 1, 5}}, {{0, 6, 1, 8, 0, 5, 1, 5}}, {{0, 8, 1, 6, 0, 5, 1, 5}}, {{0, 6, 1, 6, 0, 5, 1, 5}},
    {{0, 2, 1, 2, 0, 3, 1, 3}}, {{0, 4, 1, 4, 0, 5, 1, 5}}, {{0, 0, 1, 4, 0, 3, 1, 9}}, {{0, 0, 1, 4, 0, 3, 1, 7}},
    {{0, 4, 1, 0, 0, 9, 1, 3}}, {{0, 4, 1, 0, 0, 7, 1, 3}}, {{0, 8, 1, 2, 0, 5, 1, 1}}, {{0, 6, 1, 2, 0, 5, 1, 1}},
    {{0, 2, 1, 8, 0, 1, 1, 5}}, {{0, 2, 1, 6, 0, 1, 1, 5}}, {{0, 0, 1, 0, 0, 3, 1, 3}}, {{0, 0, 1, 4, 0, 1, 1, 5}},
    {{0, 2, 1, 2, 0, 1, 1, 1}}, {{0, 4, 1, 0, 0, 5, 1, 1}}, {{0, 0, 1, 0, 0, 1, 1, 1}}, {{0, 8, 1, 8, 0, 9, 1, 9}},
    {{0, 8, 1, 8, 0, 9, 1, 9}}, {{0, 0, 1, 0, 0, 1, 1, 1}},
};

constexpr Quad kTerrain[50] = {
    {{2, 4, 3, 4, 2, 5, 3, 5}}, {{4, 0, 3, 4, 2, 5, 3, 5}}, {{2, 4, 5, 0, 2, 5, 3, 5}}, {{4, 0, 5, 0, 2, 5, 3, 5}},
    {{2, 4, 3, 4, 2, 5, 5, 1}}, {{4, 0, 3, 4, 2, 5, 5, 1}}, {{2, 4, 5, 0, 2, 5, 5, 1}}, {{4, 0, 5, 0, 2, 5, 5, 1}},
    {{2, 4, 3, 4, 4, 1, 3, 5}}, {{4, 0, 3, 4, 4, 1, 3, 5}}, {{2, 4, 5, 0, 4, 1, 3, 5}}, {{4, 0, 5, 0, 4, 1, 3, 5}},
    {{2, 4, 3, 4, 4, 1, 5, 1}}, {{4, 0, 3, 4, 4, 1, 5, 1}}, {{2, 4, 5, 0, 4, 1, 5, 1}}, {{4, 0, 5, 0, 4, 1, 5, 1}},
    {{0, 4, 1, 4, 0, 5, 1, 5}}, {{0, 4, 5, 0, 0, 5, 1, 5}}, {{0, 4, 1, 4, 0, 5, 5, 1}}, {{0, 4, 5, 0, 0, 5, 5, 1}},
    {{2, 2, 3, 2, 2, 3, 3, 3}}, {{2, 2, 3, 2, 2, 3, 5, 1}}, {{2, 2, 3, 2, 4, 1, 3, 3}}, {{2, 2, 3, 2, 4, 1, 5, 1}},
    {{4, 4, 5, 4, 4, 5, 5, 5}}, {{4, 4, 5, 4, 4, 1, 5, 5}}, {{4, 0, 5, 4, 4, 5, 5, 5}}, {{4, 0, 5, 4, 4, 1, 5, 5}},
    {{2, 6, 3, 6, 2, 7, 3, 7}}, {{4, 0, 3, 6, 2, 7, 3, 7}}, {{2, 6, 5, 0, 2, 7, 3, 7}}, {{4, 0, 5, 0, 2, 7, 3, 7}},
    {{0, 4, 5, 4, 0, 5, 5, 5}}, {{2, 2, 3, 2, 2, 7, 3, 7}}, {{0, 2, 1, 2, 0, 3, 1, 3}}, {{0, 2, 1, 2, 0, 3, 5, 1}},
    {{4, 2, 5, 2, 4, 3, 5, 3}}, {{4, 2, 5, 2, 4, 1, 5, 3}}, {{4, 6, 5, 6, 4, 7, 5, 7}}, {{4, 0, 5, 6, 4, 7, 5, 7}},
    {{0, 6, 1, 6, 0, 7, 1, 7}}, {{0, 6, 5, 0, 0, 7, 1, 7}}, {{0, 2, 5, 2, 0, 3, 5, 3}}, {{0, 2, 1, 2, 0, 7, 1, 7}},
    {{0, 6, 5, 6, 0, 7, 5, 7}}, {{4, 2, 5, 2, 4, 7, 5, 7}}, {{0, 2, 5, 2, 0, 7, 5, 7}}, {{2, 4, 3, 4, 2, 5, 3, 5}},
    {{2, 4, 3, 4, 2, 5, 3, 5}}, {{0, 0, 1, 0, 0, 1, 1, 1}},
};

AutoTileShape ToShape(const Quad& q) {
    AutoTileShape s;
    for (int i = 0; i < 4; ++i) s.quarter[i] = ChipCell{q.c[2 * i], q.c[2 * i + 1]};
    return s;
}

int64_t FloorMod(int64_t a, int64_t m) { return ((a % m) + m) % m; }

AutoTileShape Offset(AutoTileShape s, ChipCell base) {
    for (ChipCell& q : s.quarter) {
        q.column += base.column;
        q.row += base.row;
    }
    return s;
}

// Four quarters that form one 16x16 square of the image become one cell.
void MergeIfContiguous(TilePieces& p) {
    const ChipCell* q = p.quarters.quarter;
    if (q[1] == ChipCell{q[0].column + 1, q[0].row} && q[2] == ChipCell{q[0].column, q[0].row + 1} &&
        q[3] == ChipCell{q[0].column + 1, q[0].row + 1}) {
        p.kind = TilePieces::Kind::Cell;
        p.cell = q[0];
    }
}

}  // namespace

ChipCell AutoChipBaseCell(int chip) {
    VARNOW_CHECK(chip >= 0 && chip < 18);
    return kBaseCells[chip];
}

ChipCell LowerChipCell(int chip) {
    VARNOW_CHECK(chip >= 0 && chip < kLowerChipCount);
    if (chip < 18) return kBaseCells[chip];
    int k = chip - 18;
    return ChipCell{k / 96 * 12 + (chip % 6) * 2 + 24, (k % 96) / 6 * 2};
}

ChipCell UpperChipCell(int chip) {
    VARNOW_CHECK(chip >= 0 && chip < kUpperChipCount);
    return ChipCell{(chip + 48) / 96 * 12 + (chip % 6) * 2 + 36, ((chip + 48) % 96) / 6 * 2};
}

AutoTileShape WaterShape(int kind, int shape) {
    VARNOW_CHECK(kind >= 0 && kind < 3 && shape >= 0 && shape < 50);
    if (kind == 2 && shape == 49) return WaterEdgeQuarters(2);
    AutoTileShape s = ToShape(kWater[shape]);
    for (ChipCell& q : s.quarter) {
        if (kind == 1 && q.row < 8) q.column += 6;
        if (kind == 2 && (q.row == 8 || q.row == 9)) q.row += 6;
    }
    return s;
}

AutoTileShape WaterEdgeQuarters(int kind) {
    if (kind == 2) return AutoTileShape{{{0, 12}, {1, 12}, {0, 13}, {1, 13}}};
    return AutoTileShape{{{0, 10}, {1, 10}, {0, 11}, {1, 11}}};
}

AutoTileShape TerrainShape(int shape) {
    VARNOW_CHECK(shape >= 0 && shape < 50);
    return ToShape(kTerrain[shape]);
}

int WaterFrame(int64_t counter, int32_t animationType, int32_t animationSpeed) {
    int64_t b = FloorMod(counter, int64_t(12) * 24) / (animationSpeed != 0 ? 12 : 24);
    static constexpr int kFourStep[4] = {0, 1, 2, 1};
    return animationType != 0 ? int(b % 3) : kFourStep[b % 4];
}

TilePieces PlanTile(int32_t tileId, int64_t counter, int32_t waterAnimationType, int32_t waterAnimationSpeed) {
    VARNOW_CHECK(tileId >= 0);
    TilePieces p;
    if (tileId < 3000) {
        int kind = tileId / 1000;
        int edges = (tileId % 1000) / 50;
        AutoTileShape s = WaterShape(kind, tileId % 50);
        AutoTileShape edge = WaterEdgeQuarters(kind);
        for (int i = 0; i < 4; ++i)
            if (edges & (1 << i)) s.quarter[i] = edge.quarter[i];
        int frame = WaterFrame(counter, waterAnimationType, waterAnimationSpeed);
        for (ChipCell& q : s.quarter) q.column += 2 * frame;
        p.kind = TilePieces::Kind::Quarters;
        p.composed = true;
        p.chipIndex = kind;
        p.quarters = Offset(s, kBaseCells[0]);
        MergeIfContiguous(p);
        return p;
    }
    if (tileId < 4000) {
        int chip = (tileId - 3000) / 50 + 3;
        if (chip > 5) return p;
        p.kind = TilePieces::Kind::Cell;
        p.chipIndex = chip;
        p.cell = kBaseCells[chip];
        p.cell.row += 2 * int(FloorMod(counter, 24) / 6);
        return p;
    }
    if (tileId < 5000) {
        int chip = (tileId - 4000) / 50 + 6;
        if (chip > 17) return p;
        p.kind = TilePieces::Kind::Quarters;
        p.composed = true;
        p.chipIndex = chip;
        p.quarters = Offset(TerrainShape(tileId % 50), kBaseCells[chip]);
        MergeIfContiguous(p);
        return p;
    }
    if (tileId < 10000) {
        int chip = tileId - 5000 + 18;
        VARNOW_CHECK(chip < kLowerChipCount);
        p.kind = TilePieces::Kind::Cell;
        p.chip = TilePieces::Chip::Lower;
        p.chipIndex = chip;
        p.cell = LowerChipCell(chip);
        return p;
    }
    if (tileId < 20000) {
        int chip = tileId - 10000 > kUpperChipCount - 1 ? kUpperChipCount - 1 : tileId - 10000;
        p.kind = TilePieces::Kind::Cell;
        p.chip = TilePieces::Chip::Upper;
        p.chipIndex = chip;
        p.cell = UpperChipCell(chip);
        return p;
    }
    return p;
}

int ChipIndexForFlag(int32_t tileId) {
    if (tileId < 0 || tileId >= 100000) return -1;
    if (tileId < 3000) return tileId / 1000;
    if (tileId < 4000) return tileId < 3150 ? (tileId - 3000) / 50 + 3 : -1;
    if (tileId < 5000) return tileId < 4600 ? (tileId - 4000) / 50 + 6 : -1;
    int chip = tileId - 5000 + 18;
    VARNOW_CHECK(chip < kLowerChipCount);
    return chip;
}
