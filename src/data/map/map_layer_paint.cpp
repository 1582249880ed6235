// Autotile painting: a painted cell takes the shape that its eight
// neighbours give it, and the neighbours are re-shaped towards it.
#include "data/errors.h"
#include "data/map/autotile_shapes.h"
#include "data/map/map_layer.h"
#include "data/tile_ids.h"

#include <cstddef>

namespace {

struct Neighbour {
    int dx, dy;
    uint8_t bit;     // the bit this neighbour sets in the cell's shape
    uint8_t facing;  // the neighbour's own bits that face the cell
};

constexpr Neighbour kNeighbours[8] = {
    {-1, -1, kNeighbourUpLeft, 4},  {0, -1, kNeighbourUp, 140},   {1, -1, kNeighbourUpRight, 8},
    {-1, 0, kNeighbourLeft, 70},    {1, 0, kNeighbourRight, 25},  {-1, 1, kNeighbourDownLeft, 2},
    {0, 1, kNeighbourDown, 35},     {1, 1, kNeighbourDownRight, 1},
};

constexpr int32_t kWaterChips = 3;
// Water and the animated tiles form one group that never draws edges
// against itself.
constexpr int32_t kWaterGroupChips = 6;
// The water kind whose shore is drawn against the other two kinds.
constexpr int32_t kDeepWaterChip = 2;

// The column of a neighbour's chip in the edge rules: 0 for none (outside
// the layer), 1..18 for the autotile chips, 19 for every other chip.
int32_t EdgeColumn(int32_t chip) { return chip < 0 ? 0 : chip < kChipLowerFirst ? chip + 1 : kChipLowerFirst + 1; }

}  // namespace

TLcfMapLayer::EdgeRules TLcfMapLayer::Rules() const {
    static_assert(std::tuple_size_v<decltype(EdgeRules::edge)> == kChipLowerFirst);
    int32_t matching[kChipLowerFirst];
    for (int32_t chip = 0; chip < kChipLowerFirst; ++chip) matching[chip] = MatchingAutoTile(chip);
    EdgeRules rules;
    for (int32_t own = 0; own < kChipLowerFirst; ++own) {
        auto& row = rules.edge[size_t(own)];
        row[0] = 0;  // outside draws no edge
        for (int32_t h = 0; h < kChipLowerFirst; ++h) {
            // Not against itself, nor against the chip that continues it,
            // nor within the water group.
            bool edge = h != own && matching[h] != own && !(h < kWaterGroupChips && own < kWaterGroupChips);
            row[size_t(h + 1)] = edge ? 0xFF : 0;
        }
        row[kChipLowerFirst + 1] = 0xFF;  // a plain chip is never an autotile's own
    }
    return rules;
}

void TLcfMapLayer::PaintCell(int32_t x, int32_t y) { PaintCellSkipping(x, y, 0, Rules()); }

void TLcfMapLayer::PaintCellSkipping(int32_t x, int32_t y, uint8_t skip, const EdgeRules& rules) {
    if (!Wrap(x, y)) return;
    if (x < 2 || y < 2 || x >= width_ - 2 || y >= height_ - 2) {
        ResolveInside(x, y, 0xFF, paintTile, rules);
        for (int i = 0; i < 8; ++i) {
            const Neighbour& n = kNeighbours[i];
            int32_t nx = x + n.dx, ny = y + n.dy;
            if ((skip >> i) & 1 || !Wrap(nx, ny)) continue;
            ResolveInside(nx, ny, n.facing, cells_[size_t(nx) + size_t(ny) * size_t(width_)], rules);
        }
        return;
    }
    // Away from the edge: the chips of the 5 x 5 cells that the nine
    // resolutions read, taken once and kept up to date as cells change.
    int16_t* centre = cells_.data() + size_t(x) + size_t(y) * size_t(width_);
    int32_t window[5][5];
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) window[r][c] = MapTileToChipIndex(centre[(c - 2) + (r - 2) * width_]);
    auto resolve = [&](int dx, int dy, uint8_t bits, int32_t tile) {
        int32_t chips[8];
        for (int i = 0; i < 8; ++i) chips[i] = window[2 + dy + kNeighbours[i].dy][2 + dx + kNeighbours[i].dx];
        int16_t* cell = centre + dx + dy * width_;
        int32_t result = ShapedTile(tile, bits, chips, rules);
        if (result != *cell) *cell = int16_t(result);
        window[2 + dy][2 + dx] = MapTileToChipIndex(*cell);
    };
    resolve(0, 0, 0xFF, paintTile);
    for (int i = 0; i < 8; ++i) {
        const Neighbour& n = kNeighbours[i];
        if (!((skip >> i) & 1)) resolve(n.dx, n.dy, n.facing, centre[n.dx + n.dy * width_]);
    }
}

void TLcfMapLayer::PaintInterior(size_t index, uint8_t skip, const EdgeRules& rules, int32_t* chips) {
    const ptrdiff_t w = width_;
    const ptrdiff_t offsets[8] = {-w - 1, -w, -w + 1, -1, 1, w - 1, w, w + 1};
    int16_t* centre = cells_.data() + index;
    int32_t* centreChip = chips + index;
    auto resolve = [&](ptrdiff_t at, uint8_t bits, int32_t tile) {
        int32_t around[8];
        for (int i = 0; i < 8; ++i) around[i] = centreChip[at + offsets[i]];
        int32_t result = ShapedTile(tile, bits, around, rules);
        if (result != centre[at]) centre[at] = int16_t(result);
    };
    resolve(0, 0xFF, paintTile);
    // Only the painted cell's chip changes: re-shaping keeps a cell's chip.
    *centreChip = MapTileToChipIndex(*centre);
    for (int i = 0; i < 8; ++i)
        if (!((skip >> i) & 1)) resolve(offsets[i], kNeighbours[i].facing, centre[offsets[i]]);
}

void TLcfMapLayer::PaintCells(const std::vector<int16_t>& tiles) {
    VARNOW_CHECK(tiles.size() == cells_.size());
    const EdgeRules rules = Rules();
    // Every cell's chip, read once: cells away from the edge are painted
    // from these, and the one cell whose chip changes updates its entry.
    std::vector<int32_t> chips(cells_.size());
    for (size_t i = 0; i < cells_.size(); ++i) chips[i] = MapTileToChipIndex(cells_[i]);
    // Resolving a cell keeps its chip, and neighbours see a cell only by
    // its chip; a cell painted later is resolved afresh then. So re-shaping
    // a neighbour that is still to be painted changes nothing that lasts,
    // and is skipped: the right neighbour and the three below.
    auto later = [&](int32_t x, int32_t y) {
        return x >= 0 && x < width_ && y < height_ && tiles[size_t(x) + size_t(y) * size_t(width_)] != 0;
    };
    for (int32_t y = 0; y < height_; ++y)
        for (int32_t x = 0; x < width_; ++x) {
            const size_t index = size_t(x) + size_t(y) * size_t(width_);
            int32_t tile = tiles[index];
            if (tile == 0) continue;
            uint8_t skip = 0;
            if (later(x + 1, y)) skip |= 1 << 4;
            if (later(x - 1, y + 1)) skip |= 1 << 5;
            if (later(x, y + 1)) skip |= 1 << 6;
            if (later(x + 1, y + 1)) skip |= 1 << 7;
            paintTile = tile;
            if (x < 2 || y < 2 || x >= width_ - 2 || y >= height_ - 2) {
                PaintCellSkipping(x, y, skip, rules);
                chips[index] = MapTileToChipIndex(cells_[index]);
            } else {
                PaintInterior(index, skip, rules, chips.data());
            }
        }
}

void TLcfMapLayer::ResolveTile(int32_t x, int32_t y, uint8_t bits, int32_t tile) {
    if (Wrap(x, y)) ResolveInside(x, y, bits, tile, Rules());
}

void TLcfMapLayer::ResolveEveryCell(int32_t tile) {
    const EdgeRules rules = Rules();
    // Cells away from the edge read their neighbours' chips from a copy
    // taken once and kept up to date: a resolved cell takes the chip of
    // `tile`.
    std::vector<int32_t> chips(cells_.size());
    for (size_t i = 0; i < cells_.size(); ++i) chips[i] = MapTileToChipIndex(cells_[i]);
    const ptrdiff_t w = width_;
    const ptrdiff_t offsets[8] = {-w - 1, -w, -w + 1, -1, 1, w - 1, w, w + 1};
    for (int32_t y = 0; y < height_; ++y)
        for (int32_t x = 0; x < width_; ++x) {
            const size_t index = size_t(x) + size_t(y) * size_t(width_);
            if (x == 0 || y == 0 || x == width_ - 1 || y == height_ - 1) {
                ResolveInside(x, y, 0xFF, tile, rules);
            } else {
                int32_t around[8];
                for (int i = 0; i < 8; ++i) around[i] = chips[size_t(ptrdiff_t(index) + offsets[i])];
                int32_t result = ShapedTile(tile, 0xFF, around, rules);
                if (result != cells_[index]) cells_[index] = int16_t(result);
            }
            chips[index] = MapTileToChipIndex(cells_[index]);
        }
}

void TLcfMapLayer::ResolveInside(int32_t x, int32_t y, uint8_t bits, int32_t tile, const EdgeRules& rules) {
    int32_t chips[8];
    // Cells away from the edge read their neighbours directly.
    const bool interior = x > 0 && y > 0 && x < width_ - 1 && y < height_ - 1;
    int16_t* cell = cells_.data() + size_t(x) + size_t(y) * size_t(width_);
    for (int i = 0; i < 8; ++i) {
        const Neighbour& n = kNeighbours[i];
        chips[i] = MapTileToChipIndex(interior ? cell[n.dx + n.dy * width_] : GetTile(x + n.dx, y + n.dy));
    }
    int32_t result = ShapedTile(tile, bits, chips, rules);
    if (result != *cell) *cell = int16_t(result);
}

int32_t TLcfMapLayer::ShapedTile(int32_t tile, uint8_t bits, const int32_t chips[8], const EdgeRules& rules) {
    // A negative tile names no chip and has no shape: it is written as it
    // stands.
    bool shaped = tile >= 0 && tile < kTileShapedEnd;
    if (shaped && tile % kAutoTileShapes == 49) tile -= 49;
    int32_t own = MapTileToChipIndex(tile);
    if (own < 0) return tile;
    int32_t result = MapChipIndexToTile(own);
    // A plain chip has neither shape nor shore.
    if (result >= kTileShapedEnd) return result;
    uint8_t oldBits = shaped ? ShapeMask[size_t(tile % kAutoTileShapes)] : 0;

    const auto& edge = rules.edge[size_t(own)];
    uint8_t computed = 0;
    for (int i = 0; i < 8; ++i) computed |= uint8_t(edge[size_t(EdgeColumn(chips[i]))] & kNeighbours[i].bit);
    uint8_t newBits = uint8_t((computed & bits) | (oldBits & ~bits));

    result += ShapeOf[newBits];
    if (own < kWaterChips) {
        // Shore corners: a neighbour "counts" towards a corner variant.
        bool counts[8];
        for (int i = 0; i < 8; ++i) {
            bool corner = kNeighbours[i].dx != 0 && kNeighbours[i].dy != 0;
            if (own == kDeepWaterChip)
                counts[i] = chips[i] < kDeepWaterChip;  // outside (-1) counts too
            else if (corner)
                counts[i] = (newBits & kNeighbours[i].bit) == 0;
            else
                counts[i] = chips[i] == kDeepWaterChip;
        }
        // Indexes: 0 up-left, 1 up, 2 up-right, 3 left, 4 right,
        // 5 down-left, 6 down, 7 down-right.
        int32_t c = 0;
        if (counts[0] && counts[1] && counts[3]) c += 1;
        if (counts[2] && counts[1] && counts[4]) c += 2;
        if (counts[5] && counts[6] && counts[3]) c += 4;
        if (counts[7] && counts[6] && counts[4]) c += 8;
        result += c * 50;
    }
    return result;
}
