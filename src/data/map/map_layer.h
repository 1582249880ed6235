#pragma once
// One tile layer of a map: width x height signed 16-bit tile ids, row by row
// (cell (x, y) at x + y x width), with the fill id that new cells receive
// (0 for the lower layer, 10000 for the upper) and the looping flags of the
// map's scroll type.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class TLcfMap;
class TLcfMapTree;
class TLcfEvent;

// The 18 generator tiles T0..T17 (see GenerateDungeon).
using TDungeonTiles = std::array<int16_t, 18>;

class TLcfMapLayer {
public:
    // The size a layer has after Reset.
    static constexpr int32_t kDefaultWidth = 20;
    static constexpr int32_t kDefaultHeight = 15;
    // The generator leaves smaller layers alone: below these sizes its
    // random points (x in 1..width-2, y in 2..height-2) would not fit.
    static constexpr int32_t kMinGeneratedWidth = 3;
    static constexpr int32_t kMinGeneratedHeight = 4;

    TLcfMapLayer(int16_t fillId, TLcfMap* owner);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int16_t FillId() const { return fillId_; }
    TLcfMap* Owner() const { return owner_; }

    // The cell at (x, y). Outside the layer, a looping axis wraps by repeated
    // addition or subtraction of its size; a cell still outside answers -1.
    int32_t GetTile(int32_t x, int32_t y) const;
    // Sets the cell when (x, y) lies inside; otherwise nothing (no wrapping).
    void SetTile(int32_t x, int32_t y, int32_t id);
    // A new w x h grid of the fill id, with the old cells that lie inside
    // both sizes kept at their (x, y). Sizes below 0 count as 0.
    void Resize(int32_t width, int32_t height);
    // Every cell becomes the fill id.
    void Fill();
    // Resize(20, 15), then Fill.
    void Reset();

    // The cells as the file stores them (little-endian 16-bit ids).
    int16_t* Cells() { return cells_.data(); }
    const std::vector<int16_t>& CellVector() const { return cells_; }
    int32_t CellBytes() const { return int32_t(cells_.size() * sizeof(int16_t)); }

    uint8_t loopHorizontally = 0;
    uint8_t loopVertically = 0;

    // The random map generator. mode 1 fills the upper layer with 2 x 2
    // objects (party y and x are -1); mode 0 makes the lower layer a cave or
    // dungeon whose passages join the events, the vehicles' start positions
    // on this map and the party. Settings come from the owning map; tiles
    // T0..T17 are the map's generator block. Layers smaller than
    // kMinGeneratedWidth x kMinGeneratedHeight are left as they are.
    void GenerateDungeon(int32_t mode, int32_t layoutKind, const TDungeonTiles& tiles, const TLcfMapTree* mapTree,
                         const TLcfEvent& events, int32_t partyY, int32_t partyX);

    // Autotile painting: sets (x, y) to the paint tile with its shape taken
    // from its neighbours, then re-shapes the eight neighbours towards it.
    void PaintCell(int32_t x, int32_t y);
    // Paints, in reading order, every cell whose entry in `tiles` (one per
    // cell) is not 0 with that tile; the same as PaintCell cell by cell.
    void PaintCells(const std::vector<int16_t>& tiles);
    // Recomputes the neighbour bits named by `bits` of the cell (x, y) for
    // `tile` and writes the shaped tile when it differs. Cells outside a
    // non-looping axis are left alone.
    void ResolveTile(int32_t x, int32_t y, uint8_t bits, int32_t tile);
    // ResolveTile(x, y, 0xFF, tile) for every cell in reading order.
    void ResolveEveryCell(int32_t tile);
    int32_t paintTile = 0;

private:
    // Which neighbour chips give an autotile cell an edge: edge[own][k] is
    // 0xFF (edge) or 0 for the cell's own chip 0..17 and k =
    // EdgeColumn(neighbour's chip). Taken
    // from the owner's chip set (chips that continue one another draw no
    // edge) once per paint or resolve call: the chip set does not change
    // during one.
    struct EdgeRules {
        std::array<std::array<uint8_t, 20>, 18> edge;
    };
    EdgeRules Rules() const;
    // The chip that continues autotile `chip` in the owner's chip-set image,
    // -1 when there is none (or no owner).
    int32_t MatchingAutoTile(int32_t chip) const;
    // Wraps (x, y) on looping axes; false when the cell stays outside.
    bool Wrap(int32_t& x, int32_t& y) const;
    // PaintCell without re-shaping the neighbours whose bit (in the order
    // up-left, up, up-right, left, right, down-left, down, down-right) is
    // set in `skip`.
    void PaintCellSkipping(int32_t x, int32_t y, uint8_t skip, const EdgeRules& rules);
    // ResolveTile of a cell known to lie inside.
    void ResolveInside(int32_t x, int32_t y, uint8_t bits, int32_t tile, const EdgeRules& rules);
    // PaintCellSkipping of a cell at least two cells from every edge, with
    // the chips of all cells at hand (and kept up to date) in `chips`.
    void PaintInterior(size_t index, uint8_t skip, const EdgeRules& rules, int32_t* chips);
    // The tile with the shape (and water corners) that its neighbours'
    // chips give it (up-left, up, up-right, left, right, down-left, down,
    // down-right), recomputing only `bits`.
    static int32_t ShapedTile(int32_t tile, uint8_t bits, const int32_t chips[8], const EdgeRules& rules);

    int32_t width_ = 0;
    int32_t height_ = 0;
    int16_t fillId_;
    TLcfMap* owner_;
    std::vector<int16_t> cells_;
};
