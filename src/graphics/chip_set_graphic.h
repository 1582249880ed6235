#pragma once
// Draws map tiles from the current chip set's 480x256 image: the three
// water autotiles with their animation and edges, the three animated tiles,
// the twelve terrain autotiles composed from 8x8 quarters, and the plain
// lower and upper tiles.
//
// Where every chip lies, and whether it is blank or solid, is worked out
// once per image so that drawing a cell needs no pixel tests.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "data/database/chip_set.h"
#include "media/board/board.h"
#include "media/sheet/sheet.h"

class TLcfChipSetGraphic {
public:
    TLcfChipSetGraphic();

    // Selects a chip set of the database (or none) and loads its image.
    void SetChipSet(const TLcfChipSetItem* chipSet);
    const TLcfChipSetItem* ChipSet() const { return chipSet_; }
    // Loads the image unless the name equals the one last asked for (even
    // when that load failed). Load errors propagate.
    void LoadImage(const std::string& name);
    const std::string& ImageName() const { return imageName_; }

    // Draws a tile's 16x16 picture scaled to size x size at (x, y). Fails a
    // check for a negative id, with no chip set selected, and for the plain
    // ids 5144..9999; ids that name no chip draw nothing.
    void DrawTile(TSorvoBoard& board, int32_t x, int32_t y, int32_t size, int32_t tileId, int32_t counter);
    // True when the lower-layer tile's chip hides everything under it.
    bool ChipFlag(int32_t tileId) const;
    // The terrain autotile that continues chip 0..17; -1 for any other chip.
    int32_t MatchingAutoTile(int32_t chip) const;
    // Transparency of index 0 (blank chips are then not drawn at all).
    void SetDrawMode(bool on) { sheet_->Transparent = on; }
    // Opacity 255 - 30 x level, for characters drawn as tiles.
    void SetOpacityLevel(int32_t level);

    TSorvoSheet& Sheet() { return *sheet_; }
    bool LowerBlank(int chip) const { return lowerBlank_[size_t(chip)]; }
    bool UpperBlank(int chip) const { return upperBlank_[size_t(chip)]; }

private:
    void ComputeChipFlags();

    const TLcfChipSetItem* chipSet_ = nullptr;
    std::string imageName_;
    std::unique_ptr<TSorvoSheet> sheet_;
    std::array<int32_t, 162> matching_{};
    std::array<bool, 162> lowerBlank_{};
    std::array<bool, 162> solid_{};
    std::array<bool, 144> upperBlank_{};
    std::array<bool, 144> upperSolid_{};
};
